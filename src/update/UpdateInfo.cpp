#include "update/UpdateInfo.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "common/TextUtilities.h"
#include "settings/PathText.h"

namespace tavlix {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The value skips the key and the one character after it, then blanks and "=".
std::string ValueAfter(std::string_view line, std::string_view key)
{
    const std::size_t start = key.size() + 1;
    if (line.size() <= start)
        return {};
    const std::string_view rest = line.substr(start);
    const std::size_t first = rest.find_first_not_of(" \t=");
    return first == std::string_view::npos ? std::string() : std::string(rest.substr(first));
}

bool IsDecimal(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::vector<std::string_view> SplitAtDashes(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (std::size_t dash = text.find('-'); dash != std::string_view::npos; dash = text.find('-')) {
        parts.push_back(text.substr(0, dash));
        text.remove_prefix(dash + 1);
    }
    parts.push_back(text);
    return parts;
}

}  // namespace

UpdateInfo ParseUpdateInfo(std::string_view text)
{
    UpdateInfo info;
    const struct {
        std::string_view key;
        std::string UpdateInfo::*field;
    } kKeys[] = {
        {"Version", &UpdateInfo::version},
        {"Build", &UpdateInfo::build},
        {"URL", &UpdateInfo::url},
        {"SHA256", &UpdateInfo::sha256},
    };
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        // Editors put a byte-order mark at the start of a file, and joined files have one
        // at the start of a line.
        if (line.starts_with(kByteOrderMark))
            line.remove_prefix(kByteOrderMark.size());
        line = TrimBlanksAndLineEnds(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        for (const auto& [key, field] : kKeys)
            if (StartsWithIgnoringCase(line, key)) {
                info.*field = ValueAfter(line, key);
                break;
            }
    }
    return info;
}

std::optional<std::chrono::year_month_day> ParseBuildDate(std::string_view text)
{
    std::string compact(text);
    std::erase_if(compact, [](char c) { return c == ' ' || c == '\t'; });
    ReplaceAll(compact, "--", "-");
    const std::vector<std::string_view> parts = SplitAtDashes(compact);
    if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), IsDecimal))
        return std::nullopt;
    const std::string_view year = parts[0], month = parts[1], day = parts[2];
    if ((year.size() != 4 && year.size() != 2) || month.size() > 2 || day.size() > 2)
        return std::nullopt;
    const int fullYear = std::stoi(std::string(year)) + (year.size() == 2 ? 2000 : 0);
    const std::chrono::year_month_day date{std::chrono::year(fullYear),
                                           std::chrono::month(unsigned(std::stoi(std::string(month)))),
                                           std::chrono::day(unsigned(std::stoi(std::string(day))))};
    if (!date.ok())
        return std::nullopt;
    return date;
}

std::string FormatBuildDate(std::chrono::year_month_day date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d-%02u-%02u", int(date.year()), unsigned(date.month()), unsigned(date.day()));
    return text;
}

std::string FormatDayText(std::chrono::year_month_day date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d-%u-%u", int(date.year()), unsigned(date.month()), unsigned(date.day()));
    return text;
}

}  // namespace tavlix
