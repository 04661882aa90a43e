// Feeds arbitrary typed text to every engine entry point that reads user input.
//
// Input layout: byte 0 picks the options (bits 0-1 the character set, 3 meaning
// English again; bit 2 the Standard rule; bit 3 the maximum 13 instead of 10; bits 4-5
// the difficulty level; bits 6-7 the run mode), bytes 1-4 a question (each byte modulo
// the maximum, plus 1), the rest is the text; the whole text is also judged as an
// answer box.
//
// Any answer the engine accepts must also have a normal answer and evaluate to 24;
// a violation traps so that the fuzzer keeps the input.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/AnswerChecker.h"
#include "engine/CBMUtilities.h"
#include "engine/Hint.h"
#include "i18n/LanguageState.h"

using tavlix::CBMUtilities;
using tavlix::CharacterSet;
using tavlix::InputMode;
using tavlix::NumberArray;
using tavlix::StringArray;

namespace {

constexpr std::size_t kPrefixSize = 5;

CharacterSet CharsetFrom(std::uint8_t options)
{
    switch (options & 3) {
    case 1: return CharacterSet::SimplifiedChinese;
    case 2: return CharacterSet::TraditionalChinese;
    default: return CharacterSet::English;
    }
}

// Loading a list costs more than most inputs, so each is built once.
const StringArray& NoSolutionList(bool standardOnly, bool thirteen)
{
    static const std::array<StringArray, 4> lists = [] {
        std::array<StringArray, 4> loaded;
        for (int i = 0; i < 4; ++i)
            CBMUtilities::LoadNoSolutionList((i & 1) != 0, (i & 2) != 0, loaded[std::size_t(i)]);
        return loaded;
    }();
    return lists[(standardOnly ? 1 : 0) + (thirteen ? 2 : 0)];
}

void CheckAnswer(const NumberArray& question, const std::string& answer, const tavlix::Rules& rules)
{
    if (!CBMUtilities::CheckValidSolution(question, answer, rules))
        return;
    NumberArray numbers;
    std::string sub;
    if (CBMUtilities::GetNormalAnswer(numbers, sub, answer, rules.maximum).empty() ||
        !CBMUtilities::EqualsTwentyFour(answer, rules))
        __builtin_trap();
}

// One interface language per character set, set up once.
const tavlix::LanguageState& LanguageOf(CharacterSet charset)
{
    static const std::array<tavlix::LanguageState, 3> languages = [] {
        std::array<tavlix::LanguageState, 3> states;
        const std::uint32_t lcids[] = {tavlix::kLcidEnglish, tavlix::kLcidSimplifiedChinese,
                                       tavlix::kLcidTraditionalChinese};
        for (std::size_t i = 0; i < 3; ++i) {
            states[i].InitLanguage(tavlix::Edition::Standard, lcids[i]);
        }
        return states;
    }();
    switch (charset) {
    case CharacterSet::SimplifiedChinese: return languages[1];
    case CharacterSet::TraditionalChinese: return languages[2];
    default: return languages[0];
    }
}

// Judges the whole text as the answer box of a submission in the mode the options pick.
void JudgeAnswerBox(std::uint8_t options, const NumberArray& question, const std::string& text)
{
    static constexpr tavlix::RunMode kModes[] = {tavlix::RunMode::Free, tavlix::RunMode::Training,
                                                 tavlix::RunMode::TrainingGame,
                                                 tavlix::RunMode::WorldCup};
    tavlix::AnswerInput input;
    for (std::size_t i = 0; i < 4; ++i)
        input.questionBoxes[i] = std::to_string(question[i]);
    input.standardRule = (options & 4) != 0;
    input.jqkEnabled = (options & 8) != 0;
    input.level = 1 + ((options >> 4) & 3);
    input.mode = kModes[(options >> 6) & 3];
    input.answerText = text;
    tavlix::AnswerChecker checker(LanguageOf(CharsetFrom(options)));
    std::vector<unsigned> statuses = {0};
    checker.GetComments(input, true, tavlix::RunStatus{&statuses, 0});
    if (statuses[0] > 2)
        __builtin_trap();

    // The hints over the same box: a solution hinted at always has its first operation.
    const tavlix::HintGuide guide(LanguageOf(CharsetFrom(options)));
    for (int step = 1; step <= tavlix::kLastHintStep; ++step) {
        const tavlix::Hint hint = guide.GetHint(input, step);
        if (hint.kind == tavlix::HintKind::FirstOperation && !tavlix::FirstOperation(hint.solution))
            __builtin_trap();
        guide.HintText(input, hint);
    }
}

// The question formed by the numbers of an answer line, so that a correct answer is
// accepted whatever the prefix says.
bool QuestionOfAnswer(std::string answer, NumberArray& question, unsigned maximum)
{
    CBMUtilities::StripOperators(answer);
    return CBMUtilities::GetQuestionFromString(answer, question, maximum);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kPrefixSize)
        return 0;
    const CharacterSet charset = CharsetFrom(data[0]);
    const bool standardOnly = (data[0] & 4) != 0;
    const bool thirteen = (data[0] & 8) != 0;
    const tavlix::Rules rules = tavlix::Rules::Of(standardOnly, thirteen);
    const unsigned maximum = rules.maximum;

    NumberArray fromBytes(4);
    for (std::size_t i = 0; i < 4; ++i)
        fromBytes[i] = 1 + data[1 + i] % maximum;
    const std::string text(reinterpret_cast<const char*>(data + kPrefixSize), size - kPrefixSize);

    // Question input.
    NumberArray question;
    CBMUtilities::GetQuestionFromString(text, question, tavlix::kLargestNumber, charset);
    StringArray solutions;
    if (CBMUtilities::GetQuestionFromString(text, question, maximum, charset))
        CBMUtilities::GetSolutions(question, solutions, rules);
    const std::string questionBox =
        CBMUtilities::GetNormalizedUserInput(text, InputMode::QuestionNumber, charset);
    const std::string questionLine =
        CBMUtilities::GetNormalizedUserInput(text, InputMode::QuestionLine, charset);
    const StringArray& list = NoSolutionList(standardOnly, thirteen);
    CBMUtilities::IsQuestionInList(text, list);
    CBMUtilities::IsQuestionInList(questionLine, list);
    CBMUtilities::CompareQuestionText(text, questionLine);
    CBMUtilities::CompareQuestionText(questionBox, text);

    CBMUtilities::GetSolutions(fromBytes, solutions, rules);
    for (const std::string& solution : solutions)
        CheckAnswer(fromBytes, solution, rules);

    // Answer input.
    const std::string answer =
        CBMUtilities::GetNormalizedUserInput(text, InputMode::AnswerLine, charset);
    CBMUtilities::EvaluateExpression(text, rules);
    tavlix::FirstOperation(text);
    if (CBMUtilities::EqualsTwentyFour(answer, rules) !=
        CBMUtilities::IsTwentyFour(CBMUtilities::EvaluateExpression(answer, rules)))
        __builtin_trap();
    for (const bool powerAllowed : {true, false}) {
        std::string converted = answer;
        CBMUtilities::ConvertRootNotation(converted, powerAllowed);
    }
    {
        NumberArray numbers;
        std::string sub;
        CBMUtilities::GetNormalAnswer(numbers, sub, text, maximum);
    }
    CheckAnswer(fromBytes, answer, rules);
    if (QuestionOfAnswer(answer, question, maximum))
        CheckAnswer(question, answer, rules);
    JudgeAnswerBox(data[0], fromBytes, text);
    return 0;
}
