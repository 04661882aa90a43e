#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/Clock.h"

namespace tavlix {

// The support trace: when switched on, selected routines append one line per step, so
// that the last line written locates a crash or a hang. Every line opens, appends and
// closes the file. Off, a call costs one flag test.
class DebugLog {
public:
    static constexpr std::uintmax_t kMaxFileSize = 10'000'000;

    DebugLog(std::filesystem::path file, bool enabled, const Clock& clock);

    // Appends "time<TAB>tag<TAB>message", or the line of a reserved message
    // ("_PROGRAM_START", "_PROGRAM_END", "_DEBUG_BLANK", in any case). False when the
    // trace is off or the file cannot be written safely.
    bool Write(std::string_view tag, std::string_view message) const;
    bool IsEnabled() const { return m_enabled; }

    // The switch: "config/tavlix_debug_info" under the program directory exists.
    static bool IsDebugInfoEnabled(const std::filesystem::path& programDirectory);
    // "c2debug.log" in the temporary directory.
    static std::filesystem::path DefaultFile();

private:
    std::filesystem::path m_file;
    bool m_enabled;
    const Clock& m_clock;
};

}  // namespace tavlix
