#include "cli/QuestionOperands.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "i18n/StringIds.h"
#include "i18n/StringTable.h"

namespace tavlix::cli {

std::optional<NumberArray> ReadQuestion(const std::vector<std::string>& operands, unsigned maximum,
                                        std::ostream& err)
{
    NumberArray question;
    if (CBMUtilities::GetQuestionFromString(QuestionText(operands), question, maximum))
        return question;
    err << LookUpString(IDS_DIALOG_MAIN_PROMPT_INVALID_QUESTION, kEnglish, std::to_string(maximum), {}, {},
                        GetStringCount())
        << '\n';
    return std::nullopt;
}

std::string QuestionText(const std::vector<std::string>& operands)
{
    return operands[0] + " " + operands[1] + " " + operands[2] + " " + operands[3];
}

std::optional<std::pair<NumberArray, std::string>> ReadQuestionAndLine(const std::vector<std::string>& operands,
                                                                       const RuleAndRange& game, std::ostream& err)
{
    const std::optional<NumberArray> question = ReadQuestion(operands, game.maximum, err);
    if (!question)
        return std::nullopt;
    return std::pair{*question, CBMUtilities::GetNormalizedUserInput(operands[4], InputMode::AnswerLine,
                                                                     CharacterSet::English)};
}

AnswerInput InputFor(const std::vector<std::string>& operands, const RuleAndRange& game)
{
    AnswerInput input;
    for (std::size_t i = 0; i < input.questionBoxes.size(); ++i)
        input.questionBoxes[i] = operands[i];
    input.standardRule = !game.advanced;
    input.jqkEnabled = game.maximum == 13;
    return input;
}

std::optional<std::string> ReadAnswerLines(const char* command, const std::vector<std::string>& operands,
                                           std::istream& in, std::ostream& err)
{
    if (operands.size() < 5)
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::ifstream file(operands[4], std::ios::binary);
    std::ostringstream content;
    if (!file || !(content << file.rdbuf())) {
        err << "tavlix-cli " << command << ": cannot read '" << operands[4] << "'\n";
        return std::nullopt;
    }
    return content.str();
}

}  // namespace tavlix::cli
