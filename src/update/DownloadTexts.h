#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tavlix {

class LanguageState;

// A byte count as the download window shows it: "1000 Bytes", "1.50 KB", "20.0 KB",
// "2.00 MB": three significant digits from 1 KB on, truncated.
std::string SizeText(std::uint64_t bytes, std::string_view bytesWord);

// "12.5 KB/Sec" for the bytes received in the whole seconds since the start; nothing
// before the first second has passed.
std::optional<std::string> SpeedText(const LanguageState& language, std::uint64_t bytes, std::time_t seconds);

// "45%" of the total; empty while the total is unknown.
std::string PercentText(std::uint64_t received, std::optional<std::uint64_t> total);

// "Downloading... 1.50 KB/2.00 MB", or only the bytes received while the total is
// unknown.
std::string ProgressStatusText(const LanguageState& language, std::uint64_t received,
                               std::optional<std::uint64_t> total);

}  // namespace tavlix
