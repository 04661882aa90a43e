#include "update/DownloadTexts.h"

#include <cstdio>

#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

// value / 10^decimals, with the point put in before the last digits.
std::string WithDecimals(std::uint64_t value, int decimals)
{
    std::string digits = std::to_string(value);
    if (decimals > 0)
        digits.insert(digits.size() - std::size_t(decimals), ".");
    return digits;
}

// Two decimals below ten units, one below a hundred, none above.
std::string ScaledText(std::uint64_t bytes, std::uint64_t unit, const char* unitName)
{
    if (bytes < 10 * unit)
        return WithDecimals(bytes * 100 / unit, 2) + " " + unitName;
    if (bytes < 100 * unit)
        return WithDecimals(bytes * 10 / unit, 1) + " " + unitName;
    return WithDecimals(bytes / unit, 0) + " " + unitName;
}

}  // namespace

std::string SizeText(std::uint64_t bytes, std::string_view bytesWord)
{
    constexpr std::uint64_t kKilo = 1024, kMega = 1024 * 1024;
    if (bytes < kKilo)
        return std::to_string(bytes) + " " + std::string(bytesWord);
    if (bytes < kMega)
        return ScaledText(bytes, kKilo, "KB");
    return ScaledText(bytes, kMega, "MB");
}

std::optional<std::string> SpeedText(const LanguageState& language, std::uint64_t bytes, std::time_t seconds)
{
    if (seconds <= 0)
        return std::nullopt;
    char speed[32];
    std::snprintf(speed, sizeof speed, "%0.1f", double(bytes) / 1024.0 / double(seconds));
    return language.GetLocalizedString(IDS_DIALOG_LVUD_KB_SEC, speed);
}

std::string PercentText(std::uint64_t received, std::optional<std::uint64_t> total)
{
    if (!total)
        return {};
    if (*total == 0)
        return "100%";
    return std::to_string(received * 100 / *total) + "%";
}

std::string ProgressStatusText(const LanguageState& language, std::uint64_t received,
                               std::optional<std::uint64_t> total)
{
    const std::string bytesWord = language.GetLocalizedString(IDS_DIALOG_LVUD_FILE_SIZE_BYTES);
    std::string text = language.GetLocalizedString(IDS_DIALOG_LVUD_DOWNLOADING) + " " + SizeText(received, bytesWord);
    if (total)
        text += "/" + SizeText(*total, bytesWord);
    return text;
}

}  // namespace tavlix
