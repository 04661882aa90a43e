#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/SharedOptions.h"
#include "engine/Techniques.h"

namespace tavlix::cli {

// JSON with its members in the order they were added, as tavlix-cli has always written them.
using Json = nlohmann::ordered_json;

// The value on one line without spaces. Bytes that are not UTF-8 (a history file may hold
// any) become U+FFFD, so the output stays JSON.
std::string JsonText(const Json& value);

// What a question needs: the names of its techniques in their order (an empty array for a
// plain question), or null for a question without a solution.
Json NeedsJson(const QuestionNeeds& needs);

// "standard" or "advanced", as JSON names the rule.
std::string RuleName(const RuleAndRange& game);

// Every question of the range, as EnumerateQuestions writes it, each given to element:
// {"rule":..,"maximum":..,"questions":[ then an element a line, then ]}.
void WriteEveryQuestion(std::ostream& out, const RuleAndRange& game,
                        const std::function<Json(const std::string& question)>& element);

// A JSON array written one element a line: "[", each element on a line of its own, then "]"
// on its own line. Long lists are written while they are made, and a reader can take them
// line by line.
class JsonArrayLines {
public:
    explicit JsonArrayLines(std::ostream& out);
    void Add(const Json& element);
    void End();

private:
    std::ostream& m_out;
    bool m_empty = true;
};

}  // namespace tavlix::cli
