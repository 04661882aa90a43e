#include "settings/PathText.h"

#include <algorithm>

#include "common/TextUtilities.h"

namespace tavlix {

namespace {

// ASCII only, whatever locale the process runs in: bytes of UTF-8 sequences stay as
// they are.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

}  // namespace

std::string NormalizeTypedPath(std::string_view text)
{
    std::string path(TrimBlanksAndLineEnds(text));
    std::replace(path.begin(), path.end(), '\\', '/');
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return AsciiLower(x) == AsciiLower(y);
    });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace tavlix
