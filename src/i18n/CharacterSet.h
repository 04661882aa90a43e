#pragma once

namespace tavlix {

// The interface's character set, recorded as the font character set of its language.
// It selects which look-alike characters typed input may use (full-width digits,
// Chinese punctuation); all text is UTF-8 whatever the value.
enum class CharacterSet : int {
    English = 0,
    SimplifiedChinese = 134,   // GB2312 rules
    TraditionalChinese = 136,  // Big5 rules
};

}  // namespace tavlix
