#include <algorithm>
#include <iterator>

#include "engine/CBMUtilities.h"

namespace tavlix {

namespace {

struct Replacement {
    char32_t from;
    char to;  // '\0': the character is removed
};

// Look-alike characters that a Chinese input method produces for the answer notation.
constexpr Replacement kSimplifiedAnswer[] = {
    {U'\u2013', '-'}, {U'\u2010', '-'}, {U'\uFE63', '-'}, {U'\u2014', '-'}, {U'\uFF0D', '-'},
    {U'\u2573', '*'}, {U'\uFE61', '*'}, {U'\u00D7', '*'}, {U'\uFF0A', '*'}, {U'\uFF38', '*'},
    {U'\uFF58', '*'}, {U'\u03A7', '*'}, {U'\u03C7', '*'}, {U'\u0425', '*'},
    {U'\uFE62', '+'}, {U'\uFF0B', '+'},
    {U'\u00F7', '/'}, {U'\uFF0F', '/'},
    {U'\u2227', '^'}, {U'\uFF3E', '^'},
    {U'\uFE59', '('}, {U'\uFE5B', '('}, {U'\uFE5D', '('}, {U'\u3014', '('}, {U'\uFF08', '('},
    {U'\uFE5A', ')'}, {U'\uFE5C', ')'}, {U'\uFE5E', ')'}, {U'\u3015', ')'}, {U'\uFF09', ')'},
};

constexpr Replacement kTraditionalAnswer[] = {
    {U'\uFF08', '('}, {U'\uFF5B', '('}, {U'\u3014', '('}, {U'\u3008', '('}, {U'\uFE59', '('},
    {U'\uFE5D', '('},
    {U'\uFF09', ')'}, {U'\uFF5D', ')'}, {U'\u3015', ')'}, {U'\u3009', ')'}, {U'\uFE5A', ')'},
    {U'\uFE5E', ')'},
    {U'\u2013', '-'}, {U'\u2014', '-'}, {U'\u2574', '-'}, {U'\uFF0D', '-'}, {U'\uFE63', '-'},
    {U'\u2500', '-'},
    {U'\uFF0A', '*'}, {U'\uFE61', '*'}, {U'\u00D7', '*'}, {U'\u2573', '*'}, {U'\uFF38', '*'},
    {U'\uFF58', '*'}, {U'\u03A7', '*'}, {U'\u03C7', '*'},
    {U'\uFF0B', '+'}, {U'\uFE62', '+'},
    {U'\u00F7', '/'}, {U'\uFF0F', '/'}, {U'\u2215', '/'}, {U'\u2571', '/'},
};

constexpr Replacement kChineseSeparators[] = {{U'\uFF0C', ' '}, {U'\uFF1B', ' '}};

// Decodes one UTF-8 character at text[i]; a byte that does not start a well-formed
// sequence is returned on its own with length 1 and never matches a replacement.
char32_t DecodeAt(std::string_view text, std::size_t i, std::size_t& length)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    length = 1;
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80)
        return lead;
    if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; }
    else return 0xFFFFFFFF;
    if (i + static_cast<std::size_t>(extra) >= text.size())
        return 0xFFFFFFFF;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80)
            return 0xFFFFFFFF;
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra])  // an overlong form is no character
        return 0xFFFFFFFF;
    length = static_cast<std::size_t>(extra) + 1;
    return cp;
}

bool IsChinese(CharacterSet charset) { return charset != CharacterSet::English; }

// The replacement for one character, or false when it stays as it is.
bool Replace(char32_t cp, InputMode mode, CharacterSet charset, char& to)
{
    if (cp == U'\t') {
        to = ' ';
        return true;
    }
    if (IsChinese(charset)) {
        if (cp == U'\u3000') {
            to = charset == CharacterSet::SimplifiedChinese ? ' ' : '\0';
            return true;
        }
        if (cp >= U'\uFF10' && cp <= U'\uFF19') {
            to = static_cast<char>('0' + (cp - U'\uFF10'));
            return true;
        }
    }
    const auto lookUp = [&](const auto& table) {
        const auto* hit = std::find_if(std::begin(table), std::end(table),
                                       [&](const Replacement& r) { return r.from == cp; });
        if (hit == std::end(table))
            return false;
        to = hit->to;
        return true;
    };
    switch (mode) {
    case InputMode::QuestionNumber:
        return false;
    case InputMode::QuestionLine:
        if (cp == U',' || cp == U';') {
            to = ' ';
            return true;
        }
        return IsChinese(charset) && lookUp(kChineseSeparators);
    case InputMode::AnswerLine:
        if (cp == U'x' || cp == U'X') {
            to = '*';
            return true;
        }
        if (charset == CharacterSet::SimplifiedChinese)
            return lookUp(kSimplifiedAnswer);
        if (charset == CharacterSet::TraditionalChinese)
            return lookUp(kTraditionalAnswer);
        return false;
    }
    return false;
}

}  // namespace

std::string CBMUtilities::GetNormalizedUserInput(std::string_view text, InputMode mode,
                                                 CharacterSet charset)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        const char32_t cp = DecodeAt(text, i, length);
        char to = '\0';
        if (Replace(cp, mode, charset, to)) {
            if (to != '\0')
                out.push_back(to);
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    if (mode == InputMode::QuestionNumber)
        out.erase(std::remove(out.begin(), out.end(), ' '), out.end());
    return out;
}

}  // namespace tavlix
