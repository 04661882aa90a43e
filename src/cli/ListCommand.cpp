#include <filesystem>
#include <ostream>

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/JsonOutput.h"
#include "cli/SharedOptions.h"
#include "completelist/CompleteList.h"
#include "completelist/CompleteListGenerator.h"
#include "common/TextUtilities.h"
#include "i18n/StringIds.h"
#include "platform/System.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
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
    "               after tabs; json: an array of {question, number, solutions,\n"
    "               needs} (needs as tavlix-cli techniques --json gives them);\n"
    "               html: the page the program writes, from the template in doc/\n"
    "               beside tavlix-cli (exit code 1 when it is missing)\n";

enum class ListFormat { Text, Json, Html };

class ListCommand final : public Command {
public:
    const char* Help() const override { return kHelp; }

    void DeclareOptions(CommandLine& line) override
    {
        static const Choices<ListFormat> kFormats = {
            {"html", ListFormat::Html}, {"text", ListFormat::Text}, {"json", ListFormat::Json}};
        DeclareRuleAndRange(line, m_game);
        DeclareKinds(line, m_kinds);
        DeclareLanguage(line, m_lcid);
        line.Choice("--format", kFormats, m_format);
    }

    OperandCount Operands() const override { return {0, 0}; }

    int Run(const std::vector<std::string>&, const Streams& io) override
    {
        const LanguageState language = LanguageFor(m_lcid);
        std::optional<std::string> page;
        if (m_format == ListFormat::Html) {
            const std::filesystem::path path = CompleteListTemplatePath(GetProgramPath(2), m_lcid);
            page = ReadCompleteListTemplate(path);
            if (!page) {
                io.err << ToPlatformLineEnds(language.GetLocalizedString(IDS_DIALOG_CL_TEMPLATE_LOST, path.string()))
                       << '\n';
                return kNegative;
            }
        }
        CompleteListGenerator list({!m_game.advanced, m_game.maximum == 13, m_kinds.first, m_kinds.second});
        list.Run();
        if (page)
            io.out << list.FillTemplate(std::move(*page), language);
        else if (m_format == ListFormat::Json)
            WriteJson(list, io.out);
        else
            WriteText(list, language, io.out);
        return kOk;
    }

private:
    void WriteJson(const CompleteListGenerator& list, std::ostream& out) const
    {
        JsonArrayLines entries(out);
        for (const ListedConfiguration& entry : list.Listed()) {
            NumberArray question;
            CBMUtilities::GetQuestionFromString(entry.question, question, m_game.maximum);
            entries.Add({{"question", entry.question},
                         {"number", entry.number},
                         {"solutions", entry.solutions},
                         {"needs", NeedsJson(FindQuestionNeeds(question, m_game.EngineRules()))}});
        }
        entries.End();
        out << '\n';
    }

    // A line a question: its heading, then each numbered solution after a tab.
    static void WriteText(const CompleteListGenerator& list, const LanguageState& language, std::ostream& out)
    {
        for (const ListedConfiguration& entry : list.Listed()) {
            out << CompleteListGenerator::HeadingText(language, entry);
            for (std::size_t i = 0; i < entry.solutions.size(); ++i)
                out << '\t' << CompleteListGenerator::SolutionText(language, i + 1, entry.solutions[i]);
            out << '\n';
        }
    }

    RuleAndRange m_game;
    ListedKinds m_kinds{true, true};
    std::uint32_t m_lcid = kLcidEnglish;
    ListFormat m_format = ListFormat::Text;
};

}  // namespace

std::unique_ptr<Command> MakeListCommand()
{
    return std::make_unique<ListCommand>();
}

}  // namespace tavlix::cli
