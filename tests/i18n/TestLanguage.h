#pragma once

#include <cstdint>

#include "i18n/LanguageState.h"

namespace tavlix::testing {

// The interface language a user chose, as the program starts it.
inline LanguageState MakeLanguage(std::uint32_t lcid = kLcidEnglish, Edition edition = Edition::Standard)
{
    LanguageState language;
    language.InitLanguage(edition, lcid);
    return language;
}

}  // namespace tavlix::testing
