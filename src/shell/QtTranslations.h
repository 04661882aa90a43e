#pragma once

#include <cstdint>

namespace tavlix {

// Puts Qt's own texts (its file and colour dialogs, the context menus of text boxes) into
// the interface language, from the translations installed with Qt, and tells every
// window of the program that the language changed (a QEvent::LanguageChange), so that
// windows which stay open through a switch, like the help window, follow it.
void FollowInterfaceLanguage(std::uint32_t lcid);

}  // namespace tavlix
