#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <limits>
#include <ostream>
#include <span>

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/JsonOutput.h"
#include "history/ReviewSchedule.h"
#include "history/SqliteHistoryStore.h"
#include "history/Statistics.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli stats --file PATH [--json] [--now SECONDS]\n"
    "\n"
    "Prints the figures the Statistics window shows, from a history file of answers:\n"
    "totals, each local day, answers by rule and level, the streak of days and the\n"
    "hardest questions. The program keeps the file as history.sqlite3 in the user data\n"
    "directory chosen in its Options; that choice lives in the program's settings, so\n"
    "give the file's path with --file. A file of an older version is brought up to\n"
    "date, as the program would; a file of a newer version, or no history file at all,\n"
    "is refused and left alone (exit code 2). Days are those of the local time zone\n"
    "(TZ). The JSON also lists the questions due for review at that time (\"due\":\n"
    "question, rule, J/Q/K and when each fell due, in seconds since 1970), most\n"
    "overdue first.\n"
    "\n"
    "  --file PATH    the history file (required)\n"
    "  --json         write the same figures as JSON\n"
    "  --now SECONDS  the time the streak and the review count up to, in seconds since\n"
    "                 1970 (default: now)\n";

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

// The text of object with one more member whose value is written as given. nlohmann writes
// a number in its shortest form (4.0, 6.5); a cost keeps its three decimals (4.000, 6.500).
std::string WithMemberText(const Json& object, const std::string& name, const std::string& valueText)
{
    std::string text = JsonText(object);
    text.pop_back();  // the closing brace
    return text + "," + JsonText(name) + ":" + valueText + "}";
}

std::string HardestJson(const QuestionFigures& q)
{
    const Json figures = {{"question", q.question}, {"standardRule", q.standardRule},
                          {"jqk", q.jqk},           {"answers", q.answers},
                          {"correct", q.correct},   {"medianMilliseconds", q.medianMilliseconds},
                          {"hints", q.hints}};
    return WithMemberText(figures, "cost", CostText(q.cost));
}

void WriteStatisticsJson(const HistoryStatistics& s, std::span<const ReviewItem> due, std::ostream& out)
{
    Json days = Json::array();
    for (const DayFigures& d : s.days)
        days.push_back(Json{{"day", d.day}, {"answers", d.answers}, {"correct", d.correct},
                            {"medianMilliseconds", d.medianMilliseconds}, {"hints", d.hints}});
    Json byRuleAndLevel = Json::array();
    for (const auto& [key, answers] : s.answersByRuleAndLevel)
        byRuleAndLevel.push_back(Json{{"standardRule", key.first}, {"level", key.second}, {"answers", answers}});
    Json dueItems = Json::array();
    for (const ReviewItem& item : due)
        dueItems.push_back(Json{{"question", item.question}, {"standardRule", item.standardRule}, {"jqk", item.jqk},
                                {"dueAt", item.dueAt}});
    std::string hardest;
    for (const QuestionFigures& q : s.hardest)
        hardest += (hardest.empty() ? "" : ",") + HardestJson(q);
    const Json figures = {{"totalAnswers", s.totalAnswers}, {"totalCorrect", s.totalCorrect},
                          {"medianMilliseconds", s.medianMilliseconds}, {"totalHints", s.totalHints},
                          {"streakDays", s.streakDays}, {"days", days}, {"answersByRuleAndLevel", byRuleAndLevel},
                          {"due", dueItems}};
    out << WithMemberText(figures, "hardest", "[" + hardest + "]") << '\n';
}

// The local time zone's offset from UTC at that moment, in seconds (east positive).
int UtcOffsetAt(std::int64_t t)
{
    const std::time_t moment = static_cast<std::time_t>(t);
    std::tm local{};
    return localtime_r(&moment, &local) ? static_cast<int>(local.tm_gmtoff) : 0;
}

class StatsCommand final : public Command {
public:
    const char* Help() const override { return kHelp; }

    void DeclareOptions(CommandLine& line) override
    {
        line.Value("--file", "--file takes the path of a history file", [this](const std::string& path) {
            m_file = path;
            return !path.empty();
        });
        line.Flag("--json", m_json);
        line.Number("--now", 0, std::numeric_limits<std::int64_t>::max(), m_now, "the seconds since 1970");
    }

    OperandCount Operands() const override { return {0, 0}; }

    int Run(const std::vector<std::string>&, const Streams& io) override
    {
        if (m_file.empty()) {
            io.err << "tavlix-cli stats: --file is required\n\n" << kHelp;
            return kUsage;
        }
        const std::optional<std::vector<AnswerRecord>> records = ReadHistory(io.err);
        if (!records)
            return kUsage;
        const std::int64_t now = m_now.value_or(static_cast<std::int64_t>(std::time(nullptr)));
        const HistoryStatistics s = ComputeStatistics(*records, now, UtcOffsetAt(now));
        if (m_json)
            WriteStatisticsJson(s, DueForReview(*records, now), io.out);
        else
            WriteStatisticsText(s, io.out);
        return kOk;
    }

private:
    // The answers of the history file, or nothing with the reason told on err. A file of an
    // older version is brought up to date; any other file is left as it is.
    std::optional<std::vector<AnswerRecord>> ReadHistory(std::ostream& err) const
    {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(m_file, ec)) {
            err << "tavlix-cli stats: no history file at '" << m_file << "'\n";
            return std::nullopt;
        }
        std::string error;
        const std::unique_ptr<SqliteHistoryStore> store = SqliteHistoryStore::Open(m_file, error);
        std::vector<AnswerRecord> records;
        if (store)
            records = store->LoadAll(error);
        if (!error.empty()) {
            err << "tavlix-cli stats: cannot read '" << m_file << "': " << error << "\n";
            return std::nullopt;
        }
        return records;
    }

    std::string m_file;
    bool m_json = false;
    std::optional<std::int64_t> m_now;  // seconds since 1970; now when not given
};

}  // namespace

std::unique_ptr<Command> MakeStatsCommand()
{
    return std::make_unique<StatsCommand>();
}

}  // namespace tavlix::cli
