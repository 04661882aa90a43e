#include "i18n/StringTable.h"

#include <algorithm>
#include <cctype>

#include "common/TextUtilities.h"

namespace tavlix {

namespace {

const char* TextOf(const LocalizedStringRecord& row, int column)
{
    switch (column) {
    case kEnglish: return row.text_en;
    case kSimplifiedChinese: return row.text_chs;
    default: return row.text_cht;
    }
}

}  // namespace

int GetStringCount()
{
    const auto rows = StringTableRows();
    const auto terminator = std::find_if(rows.begin(), rows.end(),
                                         [](const LocalizedStringRecord& r) { return r.id == 0; });
    return static_cast<int>(terminator - rows.begin()) + (terminator != rows.end() ? 1 : 0);
}

std::string LookUpString(int id, int column, std::string_view first, std::string_view second,
                         std::string_view third, int stringCount)
{
    const auto rows = StringTableRows().first(
        std::min<std::size_t>(std::size_t(std::max(stringCount, 0)), StringTableRows().size()));
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [id](const LocalizedStringRecord& r) { return r.id == id; });
    if (row == rows.end())
        return {};

    std::string text = TextOf(*row, column);
    if (ReplaceAll(text, "%1", first) > 0 && ReplaceAll(text, "%2", second) > 0)
        ReplaceAll(text, "%3", third);
    return text;
}

std::uint32_t ParseHexNumber(std::string_view text)
{
    std::string digits(TrimBlanksAndLineEnds(text));
    std::transform(digits.begin(), digits.end(), digits.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    if (digits.starts_with("0X"))
        digits.erase(0, 2);
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](unsigned char c) { return std::isxdigit(c) != 0; }))
        return 0;
    return static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
}

}  // namespace tavlix
