#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavlix {

// The text without any of the characters at either end.
std::string_view TrimCharacters(std::string_view text, std::string_view characters);
// The text without blanks, tabs, CR and LF at either end.
std::string_view TrimBlanksAndLineEnds(std::string_view text);

// Replaces every occurrence of from (not empty) by to; returns how many there were.
std::size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to);

// The lines of a multi-line text split at CR LF: an empty text has no lines, and a
// final CR LF adds no empty last line.
std::vector<std::string> GetSAFromMLString(std::string_view text);

// Each CR LF becomes a LF, for output on this platform.
std::string ToPlatformLineEnds(std::string_view text);

// Each line end (LF or CR LF) becomes CR LF, as a text box holds it.
std::string ToCrLf(std::string_view text);

// Removes every CR and LF at the end.
std::string TrimTrailingLineEnds(std::string text);

// The length of a text as the interface code pages count it: one byte per ASCII
// character, two per other character.
std::size_t CodePageLength(std::string_view utf8);

// The prefix of at most maxBytes bytes that does not cut a UTF-8 character.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

}  // namespace tavlix
