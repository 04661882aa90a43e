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

// What a typed text is about to be read as.
enum class InputMode : int {
    QuestionNumber = 0,  // one question box: blanks are dropped
    QuestionLine = 1,    // a whole question: commas and semicolons separate numbers
    AnswerLine = 2,      // an answer: look-alike operators and parentheses become ASCII
};

}  // namespace tavlix
