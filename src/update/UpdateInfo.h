#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavlix {

// What the vendor's update-info file says about the newest build. Every field holds the
// text as written (trimmed); empty when the file does not name it.
struct UpdateInfo {
    std::string version;
    std::string build;
    std::string url;
    std::string sha256;  // hex digits of the installer's SHA-256 sum
};

// A larger info file is not ours: it is refused before it is read to the end.
inline constexpr std::size_t kMaxUpdateInfoSize = 64 * 1024;

// Reads "Version", "Build", "URL" and "SHA256" lines ("key = value", the key compared
// without regard to case); lines starting with ";" are comments, other lines are
// ignored, and a key given twice takes the later line. Lines end with LF or CR LF; a
// UTF-8 byte-order mark at the start of a line is dropped.
UpdateInfo ParseUpdateInfo(std::string_view text);

// A build date "year-month-day": blanks are ignored and "--" counts as "-"; the year has
// four digits or two (then of this century), month and day one or two. Nothing for a
// text that is not such a date or no day of the calendar.
std::optional<std::chrono::year_month_day> ParseBuildDate(std::string_view text);

// "2012-03-07": the build as the prompt shows it.
std::string FormatBuildDate(std::chrono::year_month_day date);
// "2012-3-7": a day as the settings keep it.
std::string FormatDayText(std::chrono::year_month_day date);

}  // namespace tavlix
