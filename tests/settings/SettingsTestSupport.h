#pragma once

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "../i18n/TestLanguage.h"
#include "platform/InMemoryProfileStore.h"
#include "i18n/LanguageState.h"

namespace tavlix::testing {

namespace fs = std::filesystem;

// A folder of its own for one test, removed with everything in it afterwards.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "-" + test->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_path = fs::path(::testing::TempDir()) /
                 ("tavlix-settings-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

inline std::string ReadBytes(const fs::path& file)
{
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

inline void WriteBytes(const fs::path& file, std::string_view bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::set<std::string> FolderNames(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

inline bool IsRoot() { return ::geteuid() == 0; }

// While it lives, no file of this process may grow beyond `bytes`: a write past the
// limit fails with EFBIG, as on a full disk, even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved {};
    void (*m_handler)(int) = SIG_DFL;
};

}  // namespace tavlix::testing
