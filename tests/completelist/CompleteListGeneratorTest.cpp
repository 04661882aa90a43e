#include <gtest/gtest.h>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../i18n/TestLanguage.h"
#include "completelist/CompleteList.h"
#include "completelist/CompleteListGenerator.h"
#include "engine/CBMUtilities.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {
namespace {

constexpr const char* kHeadingStart =
    "<p style=\"word-spacing: 0; line-height: 100%%; text-indent: 0; margin: 0\" align=\"left\"><font size=\"2\"><b>";
constexpr const char* kHeadingEnd = "</b></font></p>\r\n";
constexpr const char* kLineStart =
    "<p style=\"word-spacing: 0; line-height: 100%%; text-indent: 0; margin: 0\" align=\"left\">";
constexpr const char* kLineEnd = "</p>\r\n";
constexpr const char* kNbsp = "\xC2\xA0";

LanguageState Language(std::uint32_t lcid) { return testing::MakeLanguage(lcid); }

// The engine's own answer for every configuration of a level, in enumeration order.
struct Solved {
    std::string question;
    StringArray solutions;
};
std::vector<Solved> SolveLevel(bool standardRule, unsigned maximum)
{
    std::vector<Solved> all;
    for (const std::string& text : CBMUtilities::EnumerateQuestions(maximum)) {
        NumberArray q;
        CBMUtilities::GetQuestionFromString(text, q, true);
        Solved s{text, {}};
        CBMUtilities::GetSolutions(q, s.solutions, standardRule);
        all.push_back(std::move(s));
    }
    return all;
}

std::size_t CountSolvable(const std::vector<Solved>& all)
{
    return std::size_t(std::count_if(all.begin(), all.end(), [](const Solved& s) { return !s.solutions.empty(); }));
}

CompleteListGenerator Generated(const CompleteListOptions& options)
{
    CompleteListGenerator list(options);
    list.Run();
    return list;
}

// The heading numbers of the three choices. The configurations with solutions are counted
// on the page whether they are listed or not.
TEST(CompleteListGeneratorTest, HeadingsCountAllConfigurationsOrOnlyTheListedKind)
{
    const LanguageState english = Language(kLcidEnglish);
    const std::size_t solvable = CountSolvable(SolveLevel(true, 10));
    const auto heading = [&english](const CompleteListGenerator& list, std::size_t i) {
        return CompleteListGenerator::HeadingText(english, list.Listed().at(i));
    };
    const CompleteListGenerator both = Generated({true, false, true, true});
    EXPECT_EQ(heading(both, 0), "Q1: 1 1 1 1");
    EXPECT_EQ(heading(both, 714), "Q715: 10 10 10 10");

    const CompleteListGenerator unsolvable = Generated({true, false, false, true});
    EXPECT_EQ(heading(unsolvable, 0), "Q1: 1 1 1 1");
    EXPECT_EQ(heading(unsolvable, 7), "Q8: 1 1 1 9") << "1 1 1 8 has a solution";
    EXPECT_EQ(unsolvable.Listed().size(), 715 - solvable);
    EXPECT_EQ(unsolvable.FillTemplate("%HS_COUNT% %HS_LS%, %NS_COUNT% %NS_LS%", english),
              std::to_string(solvable) + " not listed, " + std::to_string(715 - solvable) + " listed");

    const CompleteListGenerator solvableOnly = Generated({true, false, true, false});
    EXPECT_EQ(heading(solvableOnly, 0), "Q1: 1 1 1 8");
    EXPECT_EQ(CompleteListGenerator::HeadingText(Language(kLcidSimplifiedChinese), solvableOnly.Listed()[1]),
              "题2: 1 1 2 6");
}

TEST(CompleteListGeneratorTest, ParagraphsAsTheyStandWithTheDoubledPercentSign)
{
    const CompleteListGenerator list = Generated({true, false, true, true});
    const std::string paragraphs = list.GrandList(Language(kLcidEnglish));
    const std::string blank = std::string(kLineStart) + " &nbsp; " + kLineEnd;
    const std::string question = "<div class=\"q\">\r\n";
    const std::string end = "</div>\r\n";
    EXPECT_TRUE(paragraphs.starts_with("<div class=\"part\">\r\n" + question + kHeadingStart + "Q1: 1 1 1 1" +
                                       kHeadingEnd + blank + end + question + kHeadingStart + "Q2: 1 1 1 2" +
                                       kHeadingEnd + blank + end));
    EXPECT_NE(paragraphs.find(question + kHeadingStart + "Q8: 1 1 1 8" + kHeadingEnd + kLineStart + "A1: 8*(1+1+1)" +
                              kLineEnd + blank + end + question + kHeadingStart + "Q9: 1 1 1 9"),
              std::string::npos);
    EXPECT_TRUE(paragraphs.ends_with(end + end));
    EXPECT_NE(list.GrandList(Language(kLcidTraditionalChinese)).find("<b>題8: 1 1 1 8</b>"), std::string::npos);
}

// Each placeholder is looked for in the text the earlier ones left, so a chain of them
// comes out differently for any other order.
TEST(CompleteListGeneratorTest, PlaceholdersAreReplacedInTheirOrderAndTheListLast)
{
    const CompleteListGenerator wizard = Generated({false, false, true, true});
    const std::string solvable = std::to_string(wizard.WithSolutionsCount());
    const std::string unsolvable = std::to_string(wizard.WithoutSolutionCount());
    EXPECT_EQ(wizard.FillTemplate("%RULENAME%THE_STORY%RULE_SA%RULE_JQK%Q_COUNT%HS_LS%HS_COUNT%NS_LS%NS_COUNT%"
                                  "GRANDLIST%",
                                  Language(kLcidEnglish)),
              "WizardTHE_STORYAdvanced Rule (Addition, Subtraction, Multiplication, Division, Power and Root)"
              "RULE_JQK715HS_LS" + solvable + "NS_LS" + unsolvable + "GRANDLIST%");

    const CompleteListGenerator hero = Generated({true, true, true, false});
    EXPECT_EQ(hero.FillTemplate("%THE_STORY%|%RULE_JQK%|%HS_LS%|%NS_LS%|%THE_STORY%", Language(kLcidSimplifiedChinese)),
              "英雄的故事|启用 J(11)、Q(12)、K(13) - 是|已列出|未列出|英雄的故事");
}

// ---- The pages of the shipped templates, read by a real HTML parser ----------------

struct DocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentDeleter>;

struct ParsedPage {
    Document document;
    std::vector<std::string> problems;
};

void CollectProblem(void* problems, xmlError* error)
{
    static_cast<std::vector<std::string>*>(problems)->push_back(
        "line " + std::to_string(error->line) + ": " + (error->message ? error->message : "?"));
}

ParsedPage Parse(const std::string& page)
{
    ParsedPage parsed;
    xmlSetStructuredErrorFunc(&parsed.problems, CollectProblem);
    parsed.document.reset(htmlReadMemory(page.data(), int(page.size()), "page.htm", nullptr,
                                         HTML_PARSE_NONET | HTML_PARSE_PEDANTIC));
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    return parsed;
}

// The text libxml2 hands over, which is ours to free.
std::string Take(xmlChar* value)
{
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

std::string Attribute(xmlNode* node, const char* name)
{
    return Take(xmlGetProp(node, reinterpret_cast<const xmlChar*>(name)));
}

std::string Content(xmlNode* node) { return Take(xmlNodeGetContent(node)); }

bool IsElement(xmlNode* node, const char* name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// The first element of that name (and class, when given) in document order.
xmlNode* FindElement(xmlNode* node, const char* name, const char* className = nullptr)
{
    for (; node; node = node->next) {
        if (IsElement(node, name) && (!className || Attribute(node, "class") == className))
            return node;
        if (xmlNode* found = FindElement(node->children, name, className))
            return found;
    }
    return nullptr;
}

// What the list on the page must read, paragraph by paragraph, from the engine's lists.
std::vector<std::string> ExpectedParagraphs(const std::vector<Solved>& engine, const CompleteListOptions& options,
                                            const LanguageState& language)
{
    const std::string q = language.GetLocalizedString(IDS_BMT_Q);
    const std::string a = language.GetLocalizedString(IDS_BMT_A);
    const bool both = options.withSolutions && options.withoutSolution;
    std::vector<std::string> paragraphs;
    std::size_t running = 0, solvable = 0, unsolvable = 0;
    for (const Solved& s : engine) {
        ++running;
        const bool hasSolution = !s.solutions.empty();
        const std::size_t inKind = hasSolution ? ++solvable : ++unsolvable;
        if (!(hasSolution ? options.withSolutions : options.withoutSolution))
            continue;
        paragraphs.push_back(q + std::to_string(both ? running : inKind) + ": " + s.question);
        for (std::size_t i = 0; i < s.solutions.size(); ++i)
            paragraphs.push_back(a + std::to_string(i + 1) + ": " + s.solutions[i]);
        paragraphs.push_back(std::string(" ") + kNbsp + " ");
    }
    return paragraphs;
}

struct PageCase {
    const char* name;
    CompleteListOptions options;
};

void PrintTo(const PageCase& page, std::ostream* out) { *out << page.name; }

class CompleteListPageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(CompleteListPageTest, EveryLanguageParsesCleanlyAndHoldsTheEnginesListsInOrder)
{
    const CompleteListOptions options = GetParam().options;
    const CompleteListGenerator list = Generated(options);
    const std::vector<Solved> engine = SolveLevel(options.standardRule, options.GetRules().maximum);
    for (const std::uint32_t lcid : {kLcidEnglish, kLcidSimplifiedChinese, kLcidTraditionalChinese}) {
        SCOPED_TRACE(lcid);
        const LanguageState language = Language(lcid);
        const auto pageTemplate = ReadCompleteListTemplate(CompleteListTemplatePath(TAVLIX_DATA_DIR, lcid));
        ASSERT_TRUE(pageTemplate);
        const std::string page = list.FillTemplate(*pageTemplate, language);
        for (const char* placeholder : {"%RULENAME%", "%THE_STORY%", "%RULE_SA%", "%RULE_JQK%", "%Q_COUNT%",
                                        "%HS_LS%", "%HS_COUNT%", "%NS_LS%", "%NS_COUNT%", "%GRANDLIST%"}) {
            EXPECT_NE(pageTemplate->find(placeholder), std::string::npos) << placeholder << " is in the template";
            EXPECT_EQ(page.find(placeholder), std::string::npos) << placeholder << " is replaced";
        }

        const ParsedPage parsed = Parse(page);
        ASSERT_TRUE(parsed.document);
        EXPECT_EQ(parsed.problems, std::vector<std::string>{});
        xmlNode* root = xmlDocGetRootElement(parsed.document.get());
        xmlNode* meta = FindElement(root, "meta");
        ASSERT_TRUE(meta);
        EXPECT_EQ(Attribute(meta, "content"), "text/html; charset=utf-8");
        xmlNode* title = FindElement(root, "title");
        ASSERT_TRUE(title);
        EXPECT_NE(Content(title).find(language.GetLocalizedString(LevelNameId(options.standardRule, options.jqkEnabled))),
                  std::string::npos);

        xmlNode* listed = FindElement(root, "div", "list");
        ASSERT_TRUE(listed);
        // Parts of questions, each question a block that opens with its heading.
        std::vector<std::string> paragraphs;
        std::size_t blocks = 0;
        for (xmlNode* part = listed->children; part; part = part->next) {
            for (xmlNode* block = IsElement(part, "div") ? part->children : nullptr; block; block = block->next) {
                if (!IsElement(block, "div"))
                    continue;
                ++blocks;
                EXPECT_EQ(Attribute(block, "class"), "q");
                EXPECT_TRUE(FindElement(FindElement(block->children, "p")->children, "b"));
                for (xmlNode* p = block->children; p; p = p->next)
                    if (IsElement(p, "p"))
                        paragraphs.push_back(Content(p));
            }
        }
        EXPECT_EQ(blocks, list.Listed().size());
        EXPECT_EQ(paragraphs, ExpectedParagraphs(engine, options, language));
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllLevelsAndKinds, CompleteListPageTest,
    ::testing::Values(PageCase{"Standard_BothKinds", {true, false, true, true}},
                      PageCase{"Standard_WithSolutions", {true, false, true, false}},
                      PageCase{"Standard_WithoutSolution", {true, false, false, true}},
                      PageCase{"Hero_BothKinds", {true, true, true, true}},
                      PageCase{"Hero_WithSolutions", {true, true, true, false}},
                      PageCase{"Hero_WithoutSolution", {true, true, false, true}},
                      PageCase{"Wizard_BothKinds", {false, false, true, true}},
                      PageCase{"Wizard_WithSolutions", {false, false, true, false}},
                      PageCase{"Wizard_WithoutSolution", {false, false, false, true}},
                      PageCase{"HolyWar_BothKinds", {false, true, true, true}},
                      PageCase{"HolyWar_WithSolutions", {false, true, true, false}},
                      PageCase{"HolyWar_WithoutSolution", {false, true, false, true}}),
    [](const ::testing::TestParamInfo<PageCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tavlix
