#pragma once

#include <string>
#include <string_view>

namespace tavlix {

// A path as the user typed or pasted it, in the form the program checks and stores:
// trimmed of blanks, tabs and line ends, the foreign separator "\" turned into "/", and
// trailing separators dropped (a lone "/" stays).
std::string NormalizeTypedPath(std::string_view text);

// Comparisons that ignore the case of ASCII letters, the way the program compares
// directory names that a user may have typed in another case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace tavlix
