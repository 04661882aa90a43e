#pragma once

#include <cstdint>

#include "i18n/LanguageState.h"
#include "platform/InMemoryProfileStore.h"

namespace tavlix::testing {

// The interface language a user chose, as the program starts it.
inline LanguageState MakeLanguage(std::uint32_t lcid = kLcidEnglish, Edition edition = Edition::Standard)
{
    InMemoryProfileStore store;
    store.WriteInt("Shell", "LCID", lcid);
    LanguageState language;
    language.InitLanguage(edition, store, kLcidEnglish);
    return language;
}

}  // namespace tavlix::testing
