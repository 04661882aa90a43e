// Whole-range properties of the search, the checker and the normal answers: every
// question of 1..10 and 1..13 under both rules.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "../i18n/TestLanguage.h"
#include "engine/CBMUtilities.h"
#include "engine/RepeatExplanation.h"
#include "engine/Techniques.h"

namespace tavlix {
namespace {

struct Range {
    bool standardOnly;
    unsigned maximum;
};

std::string RangeName(const ::testing::TestParamInfo<Range>& info)
{
    return std::string(info.param.standardOnly ? "Standard" : "Advanced") + "To" +
           std::to_string(info.param.maximum);
}

// A solution line read back into a tree, so that it can be written differently.
struct Node {
    char op = 0;  // 0: a number; 'r' stands for the root "^^"
    std::string number;
    std::shared_ptr<Node> left, right;
};
using NodePtr = std::shared_ptr<Node>;

class LineReader {
public:
    explicit LineReader(std::string text) : m_text(std::move(text)) {}
    NodePtr Read() { return Sum(); }

private:
    bool At(char c) const { return m_pos < m_text.size() && m_text[m_pos] == c; }
    NodePtr Make(char op, NodePtr l, NodePtr r)
    {
        auto n = std::make_shared<Node>();
        n->op = op;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }
    NodePtr Sum()
    {
        NodePtr n = Product();
        while (At('+') || At('-')) {
            const char op = m_text[m_pos++];
            n = Make(op, n, Product());
        }
        return n;
    }
    NodePtr Product()
    {
        NodePtr n = Power();
        while (At('*') || At('/')) {
            const char op = m_text[m_pos++];
            n = Make(op, n, Power());
        }
        return n;
    }
    NodePtr Power()
    {
        NodePtr n = Primary();
        while (At('^')) {
            ++m_pos;
            const char op = At('^') ? (++m_pos, 'r') : '^';
            n = Make(op, n, Primary());
        }
        return n;
    }
    NodePtr Primary()
    {
        if (At('(')) {
            ++m_pos;
            NodePtr n = Sum();
            ++m_pos;  // ')'
            return n;
        }
        auto n = std::make_shared<Node>();
        while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
            n->number += m_text[m_pos++];
        return n;
    }

    std::string m_text;
    std::size_t m_pos = 0;
};

int Level(const NodePtr& n)
{
    switch (n->op) {
    case 0: return 4;
    case '+': case '-': return 1;
    case '*': case '/': return 2;
    default: return 3;
    }
}

// Writes a tree with the parentheses it needs, and extra ones around `wrapped`.
std::string Write(const NodePtr& n, const Node* wrapped)
{
    std::string text;
    if (n->op == 0) {
        text = n->number;
    } else {
        std::string l = Write(n->left, wrapped);
        std::string r = Write(n->right, wrapped);
        if (Level(n->left) < Level(n) && n->left.get() != wrapped)
            l = "(" + l + ")";
        if (Level(n->right) <= Level(n) && n->right.get() != wrapped)
            r = "(" + r + ")";
        text = l + (n->op == 'r' ? std::string("^^") : std::string(1, n->op)) + r;
    }
    return n.get() == wrapped ? "(" + text + ")" : text;
}

void CollectNodes(const NodePtr& n, std::vector<NodePtr>& out)
{
    out.push_back(n);
    if (n->op) {
        CollectNodes(n->left, out);
        CollectNodes(n->right, out);
    }
}

// The solution with the operands of one + or * swapped, or with parentheses added
// around one sub-expression (the whole line included).
std::vector<std::string> Rewritings(const std::string& solution)
{
    const NodePtr root = LineReader(solution).Read();
    std::vector<NodePtr> nodes;
    CollectNodes(root, nodes);
    std::vector<std::string> out;
    for (const NodePtr& n : nodes) {
        out.push_back(Write(root, n.get()));
        if (n->op == '+' || n->op == '*') {
            std::swap(n->left, n->right);
            out.push_back(Write(root, nullptr));
            std::swap(n->left, n->right);
        }
    }
    return out;
}

std::string NormalAnswer(const std::string& line)
{
    NumberArray numbers;
    std::string subNormal;
    return CBMUtilities::GetNormalAnswer(numbers, subNormal, line);
}

class SweepTest : public ::testing::TestWithParam<Range> {
protected:
    void SetUp() override { CBMUtilities::SetCurrentMaximum(GetParam().maximum); }
    void TearDown() override { CBMUtilities::SetCurrentMaximum(13); }

    template <typename Check>
    void ForEveryQuestion(Check&& check)
    {
        for (const std::string& text : CBMUtilities::EnumerateQuestions(GetParam().maximum)) {
            NumberArray q;
            ASSERT_TRUE(CBMUtilities::GetQuestionFromString(text, q, false)) << text;
            StringArray solutions;
            ASSERT_TRUE(CBMUtilities::GetSolutions(q, solutions, GetParam().standardOnly));
            check(text, q, solutions);
        }
    }
};

TEST_P(SweepTest, FastSearchAgreesWithTheReference)
{
    ForEveryQuestion([&](const std::string& text, const NumberArray& q, const StringArray& fast) {
        StringArray reference;
        CBMUtilities::GetSolutionsReference(q, reference, GetParam().standardOnly);
        EXPECT_EQ(fast, reference) << text;
    });
}

TEST_P(SweepTest, EmptyExactlyForTheBuiltInNoSolutionList)
{
    StringArray builtIn;
    CBMUtilities::LoadNoSolutionList(GetParam().standardOnly, GetParam().maximum == 13, builtIn);
    StringArray found;
    ForEveryQuestion([&](const std::string& text, const NumberArray&, const StringArray& solutions) {
        if (solutions.empty())
            found.push_back(text);
    });
    EXPECT_EQ(found, builtIn);
}

TEST_P(SweepTest, EverySolutionIsCorrectAndIrrelevantToTheOthers)
{
    ForEveryQuestion([&](const std::string& text, const NumberArray& q, const StringArray& solutions) {
        std::map<std::string, std::string> byNormal;
        for (const std::string& s : solutions) {
            EXPECT_TRUE(CBMUtilities::CheckValidSolution(q, s)) << text << ": " << s;
            const std::string normal = NormalAnswer(s);
            EXPECT_FALSE(normal.empty()) << s;
            const auto [it, fresh] = byNormal.emplace(normal, s);
            EXPECT_TRUE(fresh) << text << ": " << s << " repeats " << it->second;
        }
    });
}

TEST_P(SweepTest, CommutedAndParenthesisedWritingsHaveTheSameNormalAnswer)
{
    ForEveryQuestion([&](const std::string& text, const NumberArray& q, const StringArray& solutions) {
        for (const std::string& s : solutions) {
            const std::string normal = NormalAnswer(s);
            for (const std::string& w : Rewritings(s)) {
                EXPECT_TRUE(CBMUtilities::CheckValidSolution(q, w)) << text << ": " << w;
                EXPECT_EQ(NormalAnswer(w), normal) << text << ": " << w << " rewrites " << s;
            }
        }
    });
}

// Every expression making 24 uses what the question needs, so every listed solution shows
// it: a need that a solution does not show is a fault of the search for needs or of the
// solution search. And the two searches agree on which questions have a solution.
TEST_P(SweepTest, EveryListedSolutionUsesEveryNeededTechnique)
{
    const Rules rules{GetParam().standardOnly, GetParam().maximum};
    ForEveryQuestion([&](const std::string& text, const NumberArray& q, const StringArray& solutions) {
        const QuestionNeeds needs = FindQuestionNeeds(q, rules);
        EXPECT_EQ(needs.solvable, !solutions.empty()) << text;
        EXPECT_EQ(LookUpQuestionNeeds(q, rules), needs) << text;
        for (const std::string& s : solutions) {
            const std::optional<TechniqueSet> uses = TechniquesOf(s, rules);
            EXPECT_TRUE(uses && uses->Covers(needs.needs)) << text << ": " << s;
        }
    });
}

// Each solution typed first, then its commuted and parenthesised writings: the checker
// lists every writing as repeating the first line, and why says they come to its normal
// answer, the same or similar as the checker judged.
TEST_P(SweepTest, WhyShowsTheNormalAnswerOfEveryRepetitivePair)
{
    const LanguageState language = testing::MakeLanguage();
    const AnswerChecker checker(language);
    const Rules rules{GetParam().standardOnly, GetParam().maximum};
    ForEveryQuestion([&](const std::string& text, const NumberArray& q, const StringArray& solutions) {
        AnswerInput input;
        for (std::size_t i = 0; i < 4; ++i)
            input.questionBoxes[i] = std::to_string(q[i]);
        input.standardRule = rules.standardOnly;
        input.jqkEnabled = rules.maximum == 13;
        for (const std::string& s : solutions) {
            const std::vector<std::string> writings = Rewritings(s);
            input.answerText = s;
            for (const std::string& w : writings)
                input.answerText += "\r\n" + w;
            const auto repeated = checker.RepeatedLines(input);
            EXPECT_EQ(repeated.size(), writings.size()) << text << ": " << s;
            const std::string normal = NormalAnswer(s);
            for (const AnswerChecker::RepeatedLine& r : repeated) {
                const LineComparison why = CompareLines(q, {r.earlierText, r.text}, rules);
                EXPECT_EQ(r.earlierLine, 0u) << r.text;
                EXPECT_EQ(why.verdict, r.same ? LineComparison::Verdict::Same : LineComparison::Verdict::Similar) << r.text;
                EXPECT_TRUE(why.normalAnswers[0] == normal && why.normalAnswers[1] == normal) << text << ": " << r.text;
            }
        }
    });
}

INSTANTIATE_TEST_SUITE_P(AllRanges, SweepTest,
                         ::testing::Values(Range{true, 10}, Range{true, 13}, Range{false, 10},
                                           Range{false, 13}),
                         RangeName);

}  // namespace
}  // namespace tavlix
