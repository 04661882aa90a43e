#include "cli/JsonOutput.h"

#include <ostream>

namespace tavlix::cli {

std::string JsonText(const Json& value)
{
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json NeedsJson(const QuestionNeeds& needs)
{
    if (!needs.solvable)
        return nullptr;
    Json names = Json::array();
    for (const Technique technique : kAllTechniques)
        if (needs.needs.Has(technique))
            names.push_back(TechniqueName(technique));
    return names;
}

std::string RuleName(const RuleAndRange& game) { return game.advanced ? "advanced" : "standard"; }

void WriteEveryQuestion(std::ostream& out, const RuleAndRange& game,
                        const std::function<Json(const std::string& question)>& element)
{
    out << "{\"rule\":" << JsonText(RuleName(game)) << ",\"maximum\":" << game.maximum << ",\"questions\":";
    JsonArrayLines questions(out);
    for (const std::string& text : CBMUtilities::EnumerateQuestions(game.maximum))
        questions.Add(element(text));
    questions.End();
    out << "}\n";
}

JsonArrayLines::JsonArrayLines(std::ostream& out) : m_out(out)
{
    m_out << '[';
}

void JsonArrayLines::Add(const Json& element)
{
    m_out << (m_empty ? "\n" : ",\n") << JsonText(element);
    m_empty = false;
}

void JsonArrayLines::End()
{
    m_out << "\n]";
}

}  // namespace tavlix::cli
