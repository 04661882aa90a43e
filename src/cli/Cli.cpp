#include "cli/Cli.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include "collections/Collection.h"
#include "completelist/CompleteListGenerator.h"
#include "engine/AnswerChecker.h"
#include "engine/CBMUtilities.h"
#include "engine/Hint.h"
#include "history/SqliteHistoryStore.h"
#include "history/Statistics.h"
#include "platform/Clock.h"
#include "platform/InMemoryProfileStore.h"
#include "platform/Random.h"
#include "platform/System.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"
#include "runs/TrainingPlan.h"

namespace tavlix::cli {

namespace {

constexpr const char* kMainHelp =
    "Usage: tavlix-cli COMMAND [OPTIONS] ...\n"
    "\n"
    "Commands:\n"
    "  solve    list the solutions of a question, or of every question (--all)\n"
    "  valid    tell whether a line is a correct answer to a question\n"
    "  normal   print the normal and the sub-normal answer of a correct line\n"
    "  check    judge typed answers the way the program does and print its comment\n"
    "  solutions  print the list of all solutions as the program shows it\n"
    "  list     the complete list of all solutions of a level, as text, JSON or its web page\n"
    "  questions  the questions a training plan gives, in the order of the run\n"
    "  hint     a hint to a question: how many solutions, how one starts, then all of it\n"
    "  stats    the figures of a history of answers: per day, hardest questions, streak\n"
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

constexpr const char* kCheckHelp =
    "Usage: tavlix-cli check [--advanced] [--max 10|13] [--level 1-4]\n"
    "                        [--mode free|training|training-game|world-cup]\n"
    "                        [--status 0|1|2] [--no-solution] [--lang en|zh-CN|zh-TW]\n"
    "                        A B C D [FILE]\n"
    "\n"
    "Reads the answers, one per line, from FILE or standard input and judges them as a\n"
    "submission of one question would be judged. Prints the comment, then a last line\n"
    "\"outcome: N status: S\" (outcome 0 nothing judged, 1 correct, 2 wrong, 3 rejected;\n"
    "the question's status in the run: 0 not answered, 1 correct, 2 incorrect).\n"
    "\n"
    "  --advanced     allow power (^) and root (^^) as well as + - * /\n"
    "  --max N        the largest number: 13 (default) or 10\n"
    "  --level L      1 Beginner (default), 2 Intermediate, 3 Advanced, 4 Ultimate\n"
    "  --mode M       free (default), training, training-game or world-cup\n"
    "  --status S     the question's status before the submission (default 0)\n"
    "  --no-solution  claim that the question has no solution\n"
    "  --lang L       the interface language: en (default), zh-CN or zh-TW\n";

constexpr const char* kSolutionsHelp =
    "Usage: tavlix-cli solutions [--advanced] [--max 10|13] [--lang en|zh-CN|zh-TW] A B C D\n"
    "\n"
    "Prints the list of all solutions as the program shows it (\"A1: ...\").\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (default) or 10\n"
    "  --lang L     the interface language: en (default), zh-CN or zh-TW\n";

constexpr const char* kListHelp =
    "Usage: tavlix-cli list [--advanced] [--max 10|13] [--kind all|solvable|unsolvable]\n"
    "                       [--lang en|zh-CN|zh-TW] [--format html|text|json]\n"
    "\n"
    "Solves every configuration of the level and lists the questions with their\n"
    "solutions. A question's running number counts all configurations when both kinds\n"
    "are listed, else only those of the listed kind.\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (default) or 10\n"
    "  --kind K     all configurations (default), the solvable or the unsolvable ones\n"
    "  --lang L     the language of the texts: en (default), zh-CN or zh-TW\n"
    "  --format F   text (default): one question a line, then its numbered solutions\n"
    "               after tabs; json: an array of {question, number, solutions};\n"
    "               html: the page the program writes, from the template in doc/\n"
    "               beside tavlix-cli (exit code 1 when it is missing)\n";

constexpr const char* kQuestionsHelp =
    "Usage: tavlix-cli questions [--advanced] [--max 10|13] [--from A B C D] [--to A B C D]\n"
    "                            [--kind all|solvable|unsolvable]\n"
    "                            [--order random|ascending|descending] [--count N]\n"
    "                            [--seed S] [--available]\n"
    "\n"
    "Prints the questions that a training plan over the full set gives, one per line,\n"
    "in the order a Training or a Training Game puts them.\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (default) or 10\n"
    "  --from A B C D  the first configuration of the range (default 1 1 1 1)\n"
    "  --to A B C D    the last configuration of the range (default: the largest\n"
    "                  number four times); a configuration's numbers never decrease\n"
    "  --kind K     all configurations (default), the solvable or the unsolvable ones\n"
    "  --order O    random (default), ascending or descending\n"
    "  --count N    how many questions, 1 to 500 (default 40)\n"
    "  --seed S     random order only: the time in seconds the picking starts from\n"
    "               (default: now); one seed always gives one list\n"
    "  --available  print only the number of questions available\n";

constexpr const char* kHintHelp =
    "Usage: tavlix-cli hint [--advanced] [--max 10|13] [--step 1|2|3] [--lang en|zh-CN|zh-TW]\n"
    "                       A B C D [FILE]\n"
    "\n"
    "Prints the hint of one step as the program gives it: 1 how many really different\n"
    "solutions the question has, 2 the operation to start one with that the answers\n"
    "already given do not give, 3 that whole solution. The answers given so far are read,\n"
    "one per line, from FILE or standard input; an answer that is the same as or similar\n"
    "to a solution gives it. Without a solution, or with every one given, every step says\n"
    "so.\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (default) or 10\n"
    "  --step S     the step: 1 (default), 2 or 3\n"
    "  --lang L     the interface language: en (default), zh-CN or zh-TW\n";

constexpr const char* kStatsHelp =
    "Usage: tavlix-cli stats --file PATH [--json] [--now SECONDS]\n"
    "\n"
    "Prints the figures the Statistics window shows, from a history file of answers:\n"
    "totals, each local day, answers by rule and level, the streak of days and the\n"
    "hardest questions. The program keeps the file as history.sqlite3 in the user data\n"
    "directory chosen in its Options; that choice lives in the program's settings, so\n"
    "give the file's path with --file. A file of an older version is brought up to\n"
    "date, as the program would; a file of a newer version, or no history file at all,\n"
    "is refused and left alone (exit code 2). Days are those of the local time zone\n"
    "(TZ).\n"
    "\n"
    "  --file PATH    the history file (required)\n"
    "  --json         write the same figures as JSON\n"
    "  --now SECONDS  the time the streak counts up to, in seconds since 1970 (default:\n"
    "                 now)\n";

enum class ListFormat { Text, Json, Html };
enum class PlanOrder { Random, Ascending, Descending };

struct Options {
    bool advanced = false;
    bool all = false;
    bool json = false;
    unsigned maximum = 13;
    int level = 1;
    RunMode mode = RunMode::Free;
    unsigned status = 0;
    bool noSolution = false;
    std::uint32_t lcid = kLcidEnglish;
    std::pair<bool, bool> listedKinds{true, true};  // with solutions, without solution
    ListFormat format = ListFormat::Text;
    std::vector<std::string> from;  // --from and --to: four numbers each, or none
    std::vector<std::string> to;
    PlanOrder order = PlanOrder::Random;
    int count = 40;
    std::optional<std::uint32_t> seed;
    bool availableOnly = false;
    int step = 1;  // hint
    std::string file;                // stats
    std::optional<std::int64_t> now;  // stats
    std::vector<std::string> operands;
};

// Which options a command takes.
enum OptionSet : unsigned {
    kMax = 1, kAllAndJson = 2, kRun = 4, kLanguage = 8, kList = 16, kPlan = 32, kHintStep = 64, kStats = 128,
};

struct Command {
    const char* help;
    unsigned options;           // OptionSet bits
    std::size_t minOperands;
    std::size_t maxOperands;
    std::function<int(const Options&, std::istream&, std::ostream&, std::ostream&)> run;
};

LanguageState LanguageFor(const Options& o)
{
    InMemoryProfileStore store;
    store.WriteInt("Shell", "LCID", o.lcid);
    LanguageState language;
    language.InitLanguage(Edition::Standard, store, kLcidEnglish);
    return language;
}

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
        out.append(i ? "," : "").append(JsonString(items[i]));
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
    err << LookUpString(IDS_DIALOG_MAIN_PROMPT_INVALID_QUESTION, kEnglish, std::to_string(o.maximum),
                        {}, {}, GetStringCount())
        << '\n';
    return std::nullopt;
}

int Solve(const Options& o, std::istream&, std::ostream& out, std::ostream& err)
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

int Valid(const Options& o, std::istream&, std::ostream& out, std::ostream& err)
{
    const auto input = ReadQuestionAndLine(o, err);
    if (!input)
        return kUsage;
    out << (CBMUtilities::CheckValidSolution(input->first, input->second) ? "correct" : "incorrect")
        << '\n';
    return kOk;
}

int Normal(const Options& o, std::istream&, std::ostream& out, std::ostream& err)
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

AnswerInput InputFor(const Options& o)
{
    AnswerInput input;
    for (std::size_t i = 0; i < 4; ++i)
        input.questionBoxes[i] = o.operands[i];
    input.standardRule = !o.advanced;
    input.jqkEnabled = o.maximum == 13;
    input.level = o.level;
    input.mode = o.mode;
    input.noSolutionChecked = o.noSolution;
    return input;
}

// The answer lines after the question: from the file named fifth, else from in.
std::optional<std::string> ReadAnswerLines(const char* command, const Options& o, std::istream& in,
                                           std::ostream& err)
{
    if (o.operands.size() < 5)
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::ifstream file(o.operands[4], std::ios::binary);
    std::ostringstream content;
    if (!file || !(content << file.rdbuf())) {
        err << "tavlix-cli " << command << ": cannot read '" << o.operands[4] << "'\n";
        return std::nullopt;
    }
    return content.str();
}

int Check(const Options& o, std::istream& in, std::ostream& out, std::ostream& err)
{
    const auto text = ReadAnswerLines("check", o, in, err);
    if (!text)
        return kUsage;
    AnswerInput input = InputFor(o);
    input.answerText = ToCrLf(*text);
    const LanguageState language = LanguageFor(o);
    AnswerChecker checker(language);
    std::vector<unsigned> statuses = {o.status};
    const std::string comment = checker.GetComments(input, true, RunStatus{&statuses, 0});
    if (!comment.empty())
        out << ToPlatformLineEnds(comment) << '\n';
    out << "outcome: " << static_cast<int>(checker.LastOutcome()) << " status: " << statuses[0] << '\n';
    return kOk;
}

int Solutions(const Options& o, std::istream&, std::ostream& out, std::ostream&)
{
    const LanguageState language = LanguageFor(o);
    out << ToPlatformLineEnds(AnswerChecker(language).GetAllSolutionsText(InputFor(o))) << '\n';
    return kOk;
}

int List(const Options& o, std::istream&, std::ostream& out, std::ostream& err)
{
    const LanguageState language = LanguageFor(o);
    std::optional<std::string> page;
    if (o.format == ListFormat::Html) {
        const std::filesystem::path path = CompleteListTemplatePath(GetProgramPath(2), o.lcid);
        page = ReadCompleteListTemplate(path);
        if (!page) {
            err << ToPlatformLineEnds(language.GetLocalizedString(IDS_DIALOG_CL_TEMPLATE_LOST, path.string())) << '\n';
            return kNegative;
        }
    }
    CompleteListGenerator list({!o.advanced, o.maximum == 13, o.listedKinds.first, o.listedKinds.second});
    list.Run();
    if (page) {
        out << list.FillTemplate(std::move(*page), language);
        return kOk;
    }
    if (o.format == ListFormat::Json) {
        const char* separator = "";
        out << "[";
        for (const ListedConfiguration& entry : list.Listed()) {
            out << separator << "\n{\"question\":" << JsonString(entry.question) << ",\"number\":" << entry.number
                << ",\"solutions\":" << JsonList(entry.solutions) << "}";
            separator = ",";
        }
        out << "\n]\n";
        return kOk;
    }
    for (const ListedConfiguration& entry : list.Listed()) {
        out << CompleteListGenerator::HeadingText(language, entry);
        for (std::size_t i = 0; i < entry.solutions.size(); ++i)
            out << '\t' << CompleteListGenerator::SolutionText(language, i + 1, entry.solutions[i]);
        out << '\n';
    }
    return kOk;
}

// A configuration from the command line: four numbers of 1..maximum, none below the
// one before it.
std::optional<Configuration> ReadConfiguration(const std::vector<std::string>& numbers, unsigned maximum)
{
    Configuration configuration{};
    for (std::size_t i = 0; i < configuration.size(); ++i) {
        const std::optional<int> n = ReadTypedNumber(numbers[i]);
        if (!n || std::to_string(*n) != numbers[i] || *n < 1 || unsigned(*n) > maximum)
            return std::nullopt;
        configuration[i] = unsigned(*n);
    }
    if (!std::ranges::is_sorted(configuration))
        return std::nullopt;
    return configuration;
}

std::string Joined(const std::vector<std::string>& numbers)
{
    std::string text;
    for (const std::string& n : numbers)
        text += (text.empty() ? "" : " ") + n;
    return text;
}

// The plan of the command line, or nothing with the reason told on err.
std::optional<TrainingPlan> PlanFor(const Options& o, std::ostream& err)
{
    TrainingPlan plan;
    plan.standardRule = !o.advanced;
    plan.jqkEnabled = o.maximum == 13;
    std::tie(plan.withSolution, plan.withoutSolution) = o.listedKinds;
    plan.random = o.order == PlanOrder::Random;
    plan.ascending = o.order != PlanOrder::Descending;
    plan.questionCount = o.count;
    const auto bound = [&](const char* option, const std::vector<std::string>& numbers, Configuration& into,
                           bool& bounded) {
        if (numbers.empty())
            return true;
        const std::optional<Configuration> configuration = ReadConfiguration(numbers, o.maximum);
        if (!configuration) {
            err << "tavlix-cli questions: " << option << " " << Joined(numbers) << " is not a configuration of 1.."
                << o.maximum << " (four numbers, none below the one before it)\n";
            return false;
        }
        into = *configuration;
        bounded = true;
        plan.fullRange = false;
        return true;
    };
    if (!bound("--from", o.from, plan.start, plan.startBounded) || !bound("--to", o.to, plan.end, plan.endBounded))
        return std::nullopt;
    if (plan.EffectiveStart() > plan.EffectiveEnd()) {
        err << "tavlix-cli questions: --from " << Joined(o.from) << " comes after --to " << Joined(o.to) << "\n";
        return std::nullopt;
    }
    if (o.seed && !plan.random) {
        err << "tavlix-cli questions: --seed applies to --order random only\n";
        return std::nullopt;
    }
    return plan;
}

int Questions(const Options& o, std::istream&, std::ostream& out, std::ostream& err)
{
    const std::optional<TrainingPlan> plan = PlanFor(o, err);
    if (!plan)
        return kUsage;
    StringArray candidates = BuildCandidates(*plan, Collection(false), Collection(true));
    if (o.availableOnly) {
        out << candidates.size() << '\n';
        return kOk;
    }
    StandardRandom random;
    const FixedClock seeded(o.seed.value_or(0));
    const SystemClock now;
    const Clock& clock = o.seed ? static_cast<const Clock&>(seeded) : now;
    for (const std::string& question : ChooseQuestions(std::move(candidates), *plan, random, clock))
        out << question << '\n';
    return kOk;
}

int HintCommand(const Options& o, std::istream& in, std::ostream& out, std::ostream& err)
{
    if (!ReadQuestion(o, err))
        return kUsage;
    const auto text = ReadAnswerLines("hint", o, in, err);
    if (!text)
        return kUsage;
    AnswerInput input = InputFor(o);
    input.answerText = ToCrLf(*text);
    const LanguageState language = LanguageFor(o);
    const HintGuide guide(language);
    out << ToPlatformLineEnds(guide.HintText(input, guide.GetHint(input, o.step))) << '\n';
    return kOk;
}

// Seconds as the figures show them: "8.2 s".
std::string SecondsText(std::int64_t milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(milliseconds) / 1000.0);
    return text;
}

std::string CostText(double cost)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", cost);
    return text;
}

void WriteStatisticsText(const HistoryStatistics& s, std::ostream& out)
{
    const int percent = s.totalAnswers ? static_cast<int>(100.0 * s.totalCorrect / s.totalAnswers + 0.5) : 0;
    out << "Answers: " << s.totalAnswers << "\nCorrect: " << s.totalCorrect << " (" << percent << "%)\n"
        << "Median time: " << SecondsText(s.medianMilliseconds) << "\nAfter a hint: " << s.totalHints << "\n"
        << "Days practised: " << s.days.size() << "\nStreak: " << s.streakDays << " days\n\nPer day:\n";
    for (const DayFigures& d : s.days)
        out << "  " << d.day << "  answers " << d.answers << "  correct " << d.correct << "  median "
            << SecondsText(d.medianMilliseconds) << "  hints " << d.hints << "\n";
    out << "\nBy rule and level:\n";
    for (const auto& [key, answers] : s.answersByRuleAndLevel)
        out << "  " << (key.first ? "standard" : "advanced") << " level " << key.second << ": " << answers << "\n";
    out << "\nHardest questions:\n";
    for (const QuestionFigures& q : s.hardest)
        out << "  " << q.question << "  " << (q.standardRule ? "standard" : "advanced") << "  "
            << (q.jqk ? "1-13" : "1-10") << "  answers " << q.answers << "  correct " << q.correct << "  median "
            << SecondsText(q.medianMilliseconds) << "  hints " << q.hints << "  cost " << CostText(q.cost) << "\n";
}

void WriteStatisticsJson(const HistoryStatistics& s, std::ostream& out)
{
    out << "{\"totalAnswers\":" << s.totalAnswers << ",\"totalCorrect\":" << s.totalCorrect
        << ",\"medianMilliseconds\":" << s.medianMilliseconds << ",\"totalHints\":" << s.totalHints
        << ",\"streakDays\":" << s.streakDays << ",\"days\":[";
    for (std::size_t i = 0; i < s.days.size(); ++i) {
        const DayFigures& d = s.days[i];
        out << (i ? "," : "") << "{\"day\":" << JsonString(d.day) << ",\"answers\":" << d.answers
            << ",\"correct\":" << d.correct << ",\"medianMilliseconds\":" << d.medianMilliseconds
            << ",\"hints\":" << d.hints << "}";
    }
    out << "],\"answersByRuleAndLevel\":[";
    bool first = true;
    for (const auto& [key, answers] : s.answersByRuleAndLevel) {
        out << (first ? "" : ",") << "{\"standardRule\":" << (key.first ? "true" : "false")
            << ",\"level\":" << key.second << ",\"answers\":" << answers << "}";
        first = false;
    }
    out << "],\"hardest\":[";
    for (std::size_t i = 0; i < s.hardest.size(); ++i) {
        const QuestionFigures& q = s.hardest[i];
        out << (i ? "," : "") << "{\"question\":" << JsonString(q.question)
            << ",\"standardRule\":" << (q.standardRule ? "true" : "false") << ",\"jqk\":" << (q.jqk ? "true" : "false")
            << ",\"answers\":" << q.answers << ",\"correct\":" << q.correct
            << ",\"medianMilliseconds\":" << q.medianMilliseconds << ",\"hints\":" << q.hints
            << ",\"cost\":" << CostText(q.cost) << "}";
    }
    out << "]}\n";
}

// The local time zone's offset from UTC at that moment, in seconds (east positive).
int UtcOffsetAt(std::int64_t t)
{
    const std::time_t moment = static_cast<std::time_t>(t);
    std::tm local{};
    return localtime_r(&moment, &local) ? static_cast<int>(local.tm_gmtoff) : 0;
}

int Stats(const Options& o, std::istream&, std::ostream& out, std::ostream& err)
{
    if (o.file.empty()) {
        err << "tavlix-cli stats: --file is required\n\n" << kStatsHelp;
        return kUsage;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(o.file, ec)) {
        err << "tavlix-cli stats: no history file at '" << o.file << "'\n";
        return kUsage;
    }
    std::string error;
    const std::unique_ptr<SqliteHistoryStore> store = SqliteHistoryStore::Open(o.file, error);
    std::vector<AnswerRecord> records;
    if (store)
        records = store->LoadAll(error);
    if (!error.empty()) {
        err << "tavlix-cli stats: cannot read '" << o.file << "': " << error << "\n";
        return kUsage;
    }
    const std::int64_t now = o.now.value_or(static_cast<std::int64_t>(std::time(nullptr)));
    const HistoryStatistics s = ComputeStatistics(records, now, UtcOffsetAt(now));
    if (o.json)
        WriteStatisticsJson(s, out);
    else
        WriteStatisticsText(s, out);
    return kOk;
}

const std::map<std::string, Command>& Commands()
{
    static const std::map<std::string, Command> commands = {
        {"solve", {kSolveHelp, kMax | kAllAndJson, 4, 4, Solve}},
        {"valid", {kValidHelp, kMax, 5, 5, Valid}},
        {"normal", {kNormalHelp, 0, 5, 5, Normal}},
        {"check", {kCheckHelp, kMax | kRun | kLanguage, 4, 5, Check}},
        {"solutions", {kSolutionsHelp, kMax | kLanguage, 4, 4, Solutions}},
        {"list", {kListHelp, kMax | kLanguage | kList, 0, 0, List}},
        {"questions", {kQuestionsHelp, kMax | kPlan, 0, 0, Questions}},
        {"hint", {kHintHelp, kMax | kLanguage | kHintStep, 4, 5, HintCommand}},
        {"stats", {kStatsHelp, kStats, 0, 0, Stats}},
    };
    return commands;
}

// The value after an option, when it is one of the allowed ones.
template <typename T>
bool ReadChoice(const std::vector<std::string>& args, std::size_t& i,
                const std::map<std::string, T>& choices, T& value)
{
    if (i + 1 >= args.size() || !choices.count(args[i + 1]))
        return false;
    value = choices.at(args[++i]);
    return true;
}

// The whole number after an option, when it lies in low..high.
template <typename T>
bool ReadNumber(const std::vector<std::string>& args, std::size_t& i, unsigned long long low,
                unsigned long long high, T& value)
{
    if (i + 1 >= args.size())
        return false;
    const std::string& text = args[i + 1];
    unsigned long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < low || number > high)
        return false;
    value = T(number);
    ++i;
    return true;
}

// The four numbers after --from or --to; they are checked once --max is known.
bool ReadConfigurationTexts(const std::vector<std::string>& args, std::size_t& i, std::vector<std::string>& numbers)
{
    if (i + 4 >= args.size())
        return false;
    numbers.assign(args.begin() + std::ptrdiff_t(i) + 1, args.begin() + std::ptrdiff_t(i) + 5);
    i += 4;
    return true;
}

// The options of a command line, or nothing with the reason in error.
std::optional<Options> ParseOptions(const std::string& name, const Command& command,
                                    const std::vector<std::string>& args, std::string& error)
{
    static const std::map<std::string, unsigned> kMaxima = {{"10", 10}, {"13", 13}};
    static const std::map<std::string, int> kLevels = {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}};
    static const std::map<std::string, RunMode> kModes = {
        {"free", RunMode::Free}, {"training", RunMode::Training},
        {"training-game", RunMode::TrainingGame}, {"world-cup", RunMode::WorldCup}};
    static const std::map<std::string, unsigned> kStatuses = {{"0", 0}, {"1", 1}, {"2", 2}};
    static const std::map<std::string, int> kHintSteps = {{"1", 1}, {"2", 2}, {"3", 3}};
    static const std::map<std::string, std::uint32_t> kLanguages = {
        {"en", kLcidEnglish}, {"zh-CN", kLcidSimplifiedChinese}, {"zh-TW", kLcidTraditionalChinese}};
    static const std::map<std::string, std::pair<bool, bool>> kKinds = {
        {"all", {true, true}}, {"solvable", {true, false}}, {"unsolvable", {false, true}}};
    static const std::map<std::string, ListFormat> kFormats = {
        {"html", ListFormat::Html}, {"text", ListFormat::Text}, {"json", ListFormat::Json}};
    static const std::map<std::string, PlanOrder> kOrders = {
        {"random", PlanOrder::Random}, {"ascending", PlanOrder::Ascending}, {"descending", PlanOrder::Descending}};

    Options o;
    const auto bad = [&](const std::string& message) {
        error = message;
        return std::nullopt;
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto takes = [&](unsigned set) { return (command.options & set) != 0; };
        if (a == "--advanced") {
            o.advanced = true;
        } else if (a == "--max" && takes(kMax)) {
            if (!ReadChoice(args, i, kMaxima, o.maximum))
                return bad("--max takes 10 or 13");
        } else if (a == "--json" && takes(kStats)) {
            o.json = true;
        } else if (a == "--file" && takes(kStats)) {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return bad("--file takes the path of a history file");
            o.file = args[++i];
        } else if (a == "--now" && takes(kStats)) {
            std::int64_t now = 0;
            if (!ReadNumber(args, i, 0, std::numeric_limits<std::int64_t>::max(), now))
                return bad("--now takes the seconds since 1970");
            o.now = now;
        } else if ((a == "--all" || a == "--json") && takes(kAllAndJson)) {
            (a == "--all" ? o.all : o.json) = true;
        } else if (a == "--level" && takes(kRun)) {
            if (!ReadChoice(args, i, kLevels, o.level))
                return bad("--level takes 1, 2, 3 or 4");
        } else if (a == "--mode" && takes(kRun)) {
            if (!ReadChoice(args, i, kModes, o.mode))
                return bad("--mode takes free, training, training-game or world-cup");
        } else if (a == "--status" && takes(kRun)) {
            if (!ReadChoice(args, i, kStatuses, o.status))
                return bad("--status takes 0, 1 or 2");
        } else if (a == "--no-solution" && takes(kRun)) {
            o.noSolution = true;
        } else if (a == "--lang" && takes(kLanguage)) {
            if (!ReadChoice(args, i, kLanguages, o.lcid))
                return bad("--lang takes en, zh-CN or zh-TW");
        } else if (a == "--kind" && takes(kList | kPlan)) {
            if (!ReadChoice(args, i, kKinds, o.listedKinds))
                return bad("--kind takes all, solvable or unsolvable");
        } else if (a == "--format" && takes(kList)) {
            if (!ReadChoice(args, i, kFormats, o.format))
                return bad("--format takes html, text or json");
        } else if ((a == "--from" || a == "--to") && takes(kPlan)) {
            if (!ReadConfigurationTexts(args, i, a == "--from" ? o.from : o.to))
                return bad(a + " takes four numbers");
        } else if (a == "--order" && takes(kPlan)) {
            if (!ReadChoice(args, i, kOrders, o.order))
                return bad("--order takes random, ascending or descending");
        } else if (a == "--count" && takes(kPlan)) {
            if (!ReadNumber(args, i, 1, kMaxQuestionCount, o.count))
                return bad("--count takes a whole number from 1 to " + std::to_string(kMaxQuestionCount));
        } else if (a == "--seed" && takes(kPlan)) {
            std::uint32_t seed = 0;
            if (!ReadNumber(args, i, 0, UINT32_MAX, seed))
                return bad("--seed takes a whole number from 0 to " + std::to_string(UINT32_MAX));
            o.seed = seed;
        } else if (a == "--available" && takes(kPlan)) {
            o.availableOnly = true;
        } else if (a == "--step" && takes(kHintStep)) {
            if (!ReadChoice(args, i, kHintSteps, o.step))
                return bad("--step takes 1, 2 or 3");
        } else if (a.starts_with("--")) {
            return bad("unknown option '" + a + "' for " + name);
        } else {
            o.operands.push_back(a);
        }
    }
    const std::size_t least = o.all ? 0 : command.minOperands;
    const std::size_t most = o.all ? 0 : command.maxOperands;
    if (o.operands.size() < least || o.operands.size() > most)
        return bad(name + " takes " + std::to_string(least) +
                   (most > least ? " or " + std::to_string(most) : std::string()) +
                   " arguments, " + std::to_string(o.operands.size()) + " given");
    return o;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err)
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
    return command.run(*options, in, out, err);
}

}  // namespace tavlix::cli
