#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tavlix {

// One row of the localized string table. Texts are UTF-8; line breaks are CR LF.
struct LocalizedStringRecord {
    std::int32_t id;
    std::int32_t reserved;  // always 0
    const char* name;
    const char* category;   // "BMT", "Dialog", "Error", "Menu", "Message", "Tip" or "Info"
    const char* text_en;
    const char* text_chs;
    const char* text_cht;
};

// Which text of a row to read.
enum StringColumn : int {
    kCurrentLanguage = 0,
    kEnglish = 1,
    kSimplifiedChinese = 2,
    kTraditionalChinese = 3,
};

// The whole table: three header rows, the strings grouped by category, a terminator
// row (id 0, "*" everywhere).
std::span<const LocalizedStringRecord> StringTableRows();

// The rows in use: up to and including the first row whose id is 0.
int GetStringCount();

// The text of the row with the id in the column (1..3), with "%1", then "%2", then
// "%3" replaced by the arguments; a later placeholder is only looked at when the one
// before it was there. An unknown id gives the empty text.
std::string LookUpString(int id, int column, std::string_view first, std::string_view second,
                         std::string_view third, int stringCount);

// The value of a hexadecimal text ("0x0804", "0804"), or 0 when it is not one.
std::uint32_t ParseHexNumber(std::string_view text);

// The font character set of a Windows locale identifier; 0 when the locale is unknown.
int GetFontCharSet(std::uint32_t lcid);

}  // namespace tavlix
