#include "cli/Cli.h"

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <ostream>

#include "engine/CBMUtilities.h"

namespace tavlix::cli {

namespace {

constexpr const char* kInvalidQuestion =
    "The question is not valid! A valid question is comprised of 4 positive integers "
    "ranging between 1-%1.";

constexpr const char* kMainHelp =
    "Usage: tavlix-cli COMMAND [OPTIONS] ...\n"
    "\n"
    "Commands:\n"
    "  solve    list the solutions of a question, or of every question (--all)\n"
    "  valid    tell whether a line is a correct answer to a question\n"
    "  normal   print the normal and the sub-normal answer of a correct line\n"
    "\n"
    "Run 'tavlix-cli COMMAND --help' for the options of a command.\n";

constexpr const char* kSolveHelp =
    "Usage: tavlix-cli solve [--advanced] [--max 10|13] [--json] A B C D\n"
    "       tavlix-cli solve --all [--advanced] [--max 10|13] [--json]\n"
    "\n"
    "Lists every solution of the question, one per line, in the program's order.\n"
    "With --all, prints every question of the range: the question, a tab, the number\n"
    "of solutions, then each solution after a tab.\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (J, Q, K enabled; default) or 10\n"
    "  --json       write the same data as JSON\n";

constexpr const char* kValidHelp =
    "Usage: tavlix-cli valid [--advanced] [--max 10|13] A B C D LINE\n"
    "\n"
    "Prints \"correct\" when LINE is a correct answer to the question, else \"incorrect\".\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (default) or 10\n";

constexpr const char* kNormalHelp =
    "Usage: tavlix-cli normal [--advanced] A B C D LINE\n"
    "\n"
    "For a correct LINE, prints its normal answer and then its sub-normal answer: two\n"
    "answers are repetitive when their normal answers match, and the same when their\n"
    "sub-normal answers match too. An incorrect LINE prints \"incorrect\" (exit code 1).\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n";

struct Options {
    bool advanced = false;
    bool all = false;
    bool json = false;
    unsigned maximum = 13;
    std::vector<std::string> operands;
};

struct Command {
    const char* help;
    bool takesMax;
    bool takesAllAndJson;
    std::function<int(const Options&, std::ostream&, std::ostream&)> run;
};

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonList(const StringArray& items)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? "," : "") + JsonString(items[i]);
    return out + "]";
}

std::string RuleName(const Options& o) { return o.advanced ? "advanced" : "standard"; }

// Reads the question from the first four operands, or reports it the way the program does.
std::optional<NumberArray> ReadQuestion(const Options& o, std::ostream& err)
{
    std::string text;
    for (std::size_t i = 0; i < 4; ++i)
        text += (i ? " " : "") + o.operands[i];
    NumberArray question;
    CBMUtilities::SetCurrentMaximum(o.maximum);
    if (CBMUtilities::GetQuestionFromString(text, question, false))
        return question;
    std::string message = kInvalidQuestion;
    message.replace(message.find("%1"), 2, std::to_string(o.maximum));
    err << message << '\n';
    return std::nullopt;
}

int Solve(const Options& o, std::ostream& out, std::ostream& err)
{
    CBMUtilities::SetCurrentMaximum(o.maximum);
    if (!o.all) {
        const auto question = ReadQuestion(o, err);
        if (!question)
            return kUsage;
        StringArray solutions;
        CBMUtilities::GetSolutions(*question, solutions, !o.advanced);
        if (o.json) {
            out << "{\"question\":" << JsonString(o.operands[0] + " " + o.operands[1] + " " +
                                                  o.operands[2] + " " + o.operands[3])
                << ",\"rule\":\"" << RuleName(o) << "\",\"maximum\":" << o.maximum
                << ",\"solutions\":" << JsonList(solutions) << "}\n";
        } else {
            for (const std::string& s : solutions)
                out << s << '\n';
        }
        return kOk;
    }

    if (o.json)
        out << "{\"rule\":\"" << RuleName(o) << "\",\"maximum\":" << o.maximum
            << ",\"questions\":[";
    bool first = true;
    for (const std::string& text : CBMUtilities::EnumerateQuestions(o.maximum)) {
        NumberArray question;
        CBMUtilities::GetQuestionFromString(text, question, false);
        StringArray solutions;
        CBMUtilities::GetSolutions(question, solutions, !o.advanced);
        if (o.json) {
            out << (first ? "" : ",") << "\n{\"question\":" << JsonString(text)
                << ",\"solutions\":" << JsonList(solutions) << "}";
        } else {
            out << text << '\t' << solutions.size();
            for (const std::string& s : solutions)
                out << '\t' << s;
            out << '\n';
        }
        first = false;
    }
    if (o.json)
        out << "\n]}\n";
    return kOk;
}

// Searches the question so that the line is judged under the chosen rule.
std::optional<std::pair<NumberArray, std::string>> ReadQuestionAndLine(const Options& o,
                                                                       std::ostream& err)
{
    const auto question = ReadQuestion(o, err);
    if (!question)
        return std::nullopt;
    StringArray solutions;
    CBMUtilities::GetSolutions(*question, solutions, !o.advanced);
    return std::pair{*question, CBMUtilities::GetNormalizedUserInput(
                                    o.operands[4], InputMode::AnswerLine, CharacterSet::English)};
}

int Valid(const Options& o, std::ostream& out, std::ostream& err)
{
    const auto input = ReadQuestionAndLine(o, err);
    if (!input)
        return kUsage;
    out << (CBMUtilities::CheckValidSolution(input->first, input->second) ? "correct" : "incorrect")
        << '\n';
    return kOk;
}

int Normal(const Options& o, std::ostream& out, std::ostream& err)
{
    const auto input = ReadQuestionAndLine(o, err);
    if (!input)
        return kUsage;
    if (!CBMUtilities::CheckValidSolution(input->first, input->second)) {
        out << "incorrect\n";
        return kNegative;
    }
    NumberArray numbers;
    std::string subNormal;
    const std::string normal = CBMUtilities::GetNormalAnswer(numbers, subNormal, input->second);
    out << normal << '\n' << subNormal << '\n';
    return kOk;
}

const std::map<std::string, Command>& Commands()
{
    static const std::map<std::string, Command> commands = {
        {"solve", {kSolveHelp, true, true, Solve}},
        {"valid", {kValidHelp, true, false, Valid}},
        {"normal", {kNormalHelp, false, false, Normal}},
    };
    return commands;
}

// The options of a command line, or nothing with the reason in error.
std::optional<Options> ParseOptions(const std::string& name, const Command& command,
                                    const std::vector<std::string>& args, std::string& error)
{
    Options o;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--advanced") {
            o.advanced = true;
        } else if (a == "--max" && command.takesMax) {
            if (i + 1 >= args.size() || (args[i + 1] != "10" && args[i + 1] != "13")) {
                error = "--max takes 10 or 13";
                return std::nullopt;
            }
            o.maximum = args[++i] == "10" ? 10 : 13;
        } else if ((a == "--all" || a == "--json") && command.takesAllAndJson) {
            (a == "--all" ? o.all : o.json) = true;
        } else if (a.starts_with("--")) {
            error = "unknown option '" + a + "' for " + name;
            return std::nullopt;
        } else {
            o.operands.push_back(a);
        }
    }
    const std::size_t wanted = o.all ? 0 : name == "solve" ? 4 : 5;
    if (o.operands.size() != wanted) {
        error = name + " takes " + std::to_string(wanted) + " arguments, " +
                std::to_string(o.operands.size()) + " given";
        return std::nullopt;
    }
    return o;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        (args.empty() ? err : out) << kMainHelp;
        return args.empty() ? kUsage : kOk;
    }
    const auto it = Commands().find(args[0]);
    if (it == Commands().end()) {
        err << "tavlix-cli: unknown command '" << args[0] << "'\n" << kMainHelp;
        return kUsage;
    }
    const Command& command = it->second;
    for (std::size_t i = 1; i < args.size(); ++i)
        if (args[i] == "--help" || args[i] == "-h") {
            out << command.help;
            return kOk;
        }
    std::string error;
    const std::optional<Options> options = ParseOptions(args[0], command, args, error);
    if (!options) {
        err << "tavlix-cli " << args[0] << ": " << error << "\n\n" << command.help;
        return kUsage;
    }
    return command.run(*options, out, err);
}

}  // namespace tavlix::cli
