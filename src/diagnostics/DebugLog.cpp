#include "diagnostics/DebugLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <string>

#include "common/TextUtilities.h"

namespace tavlix {

namespace {

constexpr std::size_t kMaxTag = 50;
constexpr std::size_t kMaxTagAndMessage = 370;
constexpr std::size_t kMaxLine = 399;

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

// The file lies in a folder every user can write to: another user may have put a
// link or a file of their own there. Only a regular file of ours with one name is
// written; a link is never followed.
int OpenOwnRegularFile(const std::filesystem::path& file, int extraFlags)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | extraFlags, 0600);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
        info.st_nlink != 1) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::uintmax_t SizeOf(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? std::uintmax_t(info.st_size) : 0;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written <= 0)
            return false;
        data.remove_prefix(std::size_t(written));
    }
    return true;
}

}  // namespace

DebugLog::DebugLog(std::filesystem::path file, bool enabled, const Clock& clock)
    : m_file(std::move(file)), m_enabled(enabled), m_clock(clock)
{
}

bool DebugLog::Write(std::string_view tag, std::string_view message) const
{
    if (!m_enabled)
        return false;

    tag = Utf8Prefix(tag, kMaxTag);
    message = Utf8Prefix(message, kMaxTagAndMessage - tag.size());

    std::string line;
    if (EqualsIgnoringCase(message, "_DEBUG_BLANK")) {
        line.clear();
    } else if (EqualsIgnoringCase(message, "_PROGRAM_START")) {
        line = "***** Program Start *****";
    } else if (EqualsIgnoringCase(message, "_PROGRAM_END")) {
        line = "***** Program End *****";
    } else {
        const std::time_t now = m_clock.Now();
        std::tm local {};
        localtime_r(&now, &local);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
        line = std::string(stamp) + "\t" + std::string(tag) + "\t" + std::string(message);
    }
    line = std::string(Utf8Prefix(line, kMaxLine)) + "\n";

    int fd = OpenOwnRegularFile(m_file, 0);
    if (fd < 0)
        return false;
    if (SizeOf(fd) > kMaxFileSize) {
        // Start afresh: the old trace is dropped, not rewritten in place.
        ::close(fd);
        if (::unlink(m_file.c_str()) != 0)
            return false;
        fd = OpenOwnRegularFile(m_file, O_EXCL);
        if (fd < 0)
            return false;
    }
    const bool ok = WriteAll(fd, line);
    return ::close(fd) == 0 && ok;
}

bool DebugLog::IsDebugInfoEnabled(const std::filesystem::path& programDirectory)
{
    std::error_code ignored;
    return std::filesystem::exists(programDirectory / "config" / "tavlix_debug_info", ignored);
}

std::filesystem::path DebugLog::DefaultFile()
{
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error)
        temp = "/tmp";
    return temp / "c2debug.log";
}

}  // namespace tavlix
