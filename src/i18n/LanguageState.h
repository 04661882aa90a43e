#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/CharacterSet.h"
#include "i18n/Edition.h"
#include "i18n/StringTable.h"

namespace tavlix {


inline constexpr std::uint32_t kLcidEnglish = 1033;
inline constexpr std::uint32_t kLcidSimplifiedChinese = 2052;
inline constexpr std::uint32_t kLcidTraditionalChinese = 1028;

// The interface language: which column of the string table the program shows, the
// font character set that goes with it, and the language list of the Standard edition.
class LanguageState {
public:
    explicit LanguageState(int stringCount = GetStringCount());

    // Picks the start language: always Simplified Chinese in that edition; otherwise
    // chosenLcid (the stored choice, else the user's own language), English unless it
    // is one of the two Chinese ones.
    void InitLanguage(Edition edition, std::uint32_t chosenLcid);
    // Switches to the language with this display name. True when the language changed,
    // and the caller keeps Lcid() as the choice; an unknown name changes nothing.
    bool SetLanguage(std::string_view languageName);

    std::string GetLocalizedString(int id, std::string_view first = {},
                                   std::string_view second = {}, std::string_view third = {},
                                   int column = kCurrentLanguage) const;

    std::uint32_t Lcid() const { return m_lcid; }
    int FontCharSet() const { return m_fontCharSet; }
    // The input rules that go with the font character set.
    CharacterSet InputCharacterSet() const;
    const std::vector<std::string>& LanguageNames() const { return m_languageNames; }
    const std::vector<std::string>& LanguageIds() const { return m_languageIds; }
    const std::string& ProductName() const { return m_productName; }
    const std::string& CompanyName() const { return m_companyName; }
    int StringCount() const { return m_stringCount; }

private:
    void UseLcid(std::uint32_t lcid);

    int m_stringCount;
    std::uint32_t m_lcid = kLcidEnglish;
    int m_fontCharSet = 0;
    std::vector<std::string> m_languageNames;
    std::vector<std::string> m_languageIds;
    std::string m_productName;
    std::string m_companyName;
};

// Texts the windows use often, kept in the current language: the message box labels,
// the folder browser title, the file error texts of the path checks, the attribute
// names, yes and no, and a few tool tips. Reloaded whenever the language changes.
class CachedStrings {
public:
    void Reload(const LanguageState& language);
    // The cached text of an id; an id that is not cached gives the empty text.
    const std::string& Get(int id) const;
    // Line i of the attributes row: 0 the header word, 1..5 the attribute names.
    const std::string& Attribute(std::size_t i) const;
    bool IsLoaded() const { return !m_texts.empty(); }

private:
    std::map<int, std::string> m_texts;
    std::vector<std::string> m_attributes;
};

}  // namespace tavlix
