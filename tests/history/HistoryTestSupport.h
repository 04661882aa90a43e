#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "history/AnswerRecord.h"

namespace tavlix::testing {

namespace fs = std::filesystem;

// A folder of its own for one test, removed with everything in it afterwards.
class HistoryScratch {
public:
    HistoryScratch()
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "-" + test->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_path = fs::path(::testing::TempDir()) / ("tavlix-history-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    HistoryScratch(const HistoryScratch&) = delete;
    HistoryScratch& operator=(const HistoryScratch&) = delete;
    ~HistoryScratch()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

inline std::string FileBytes(const fs::path& file)
{
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

constexpr std::int64_t kDay = 86400;
// 2026-12-08 00:00:00 UTC, a Tuesday.
constexpr std::int64_t kDec8 = 1796688000;

// A correct, unaided, quick answer in free mode unless the caller changes it.
inline AnswerRecord Answer(std::int64_t at, std::string question, AnswerVerdict verdict = AnswerVerdict::Correct,
                           std::int64_t milliseconds = 10'000, bool hint = false)
{
    AnswerRecord r;
    r.answeredAt = at;
    r.question = std::move(question);
    r.verdict = verdict;
    r.millisecondsTaken = milliseconds;
    r.hintUsed = hint;
    return r;
}

}  // namespace tavlix::testing
