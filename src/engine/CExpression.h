#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace tavlix {

// Parses and evaluates one line of 24 notation: sums, products, left-associative
// powers, parentheses, and a unary minus that covers the rest of the enclosing sum.
// The one grammar of the program: the evaluation reads lines after the root rewrite,
// the hint reads the engine's solutions with their roots as written. Bad input never
// throws: it is a parse position or an error code.
class CExpression {
public:
    enum class Kind { Number, Add, Subtract, Multiply, Divide, Power, Root };

    // How "^^" reads. Evaluation rewrites every root into a power before it parses,
    // so there "^^" is an error; WithRoots reads it as an operator of the rank of "^"
    // (the root of the left operand with the right one as index).
    enum class Notation { PowersOnly, WithRoots };

    // A tree node; children always sit before their parent in nodes(), so the tree
    // can be walked bottom-up without recursion, and the operations stand in the
    // order they are worked out.
    struct Node {
        Kind kind = Kind::Number;
        double value = 0.0;  // Number only
        int left = -1;
        int right = -1;
        // Number only: where its digits stand in GetExpression(); none (length 0) for
        // the -1 of a unary minus.
        std::size_t textStart = 0;
        std::size_t textLength = 0;
    };

    enum ErrorCode { NoError = 0, DivisionByZero = 1 };

    // Deeper nesting (parentheses and unary minus signs) than this is a parse error:
    // no answer needs it, and it keeps the parser's recursion bounded.
    static constexpr int kMaxNesting = 200;

    // Returns -1 when the whole text parsed, else the index where parsing stopped.
    int SetExpression(std::string text, Notation notation = Notation::PowersOnly);
    // Returns -1 without a tree, else the error code of the evaluation.
    int GetValue(double& out) const;

    const std::string& GetExpression() const { return m_expression; }
    const std::vector<Node>& nodes() const { return m_nodes; }
    int root() const { return m_root; }
    // A Number node's digits as written.
    std::string_view NumberText(const Node& node) const
    {
        return std::string_view(m_expression).substr(node.textStart, node.textLength);
    }

    // Stored form: the text's length, a newline, then the text. Loading parses again.
    void Store(std::ostream& out) const;
    bool Load(std::istream& in);

private:
    bool ParseSum(int& node, int depth);
    bool ParseProduct(int& node, int depth);
    bool ParsePower(int& node, int depth);
    bool ParsePrimary(int& node, int depth);
    bool ParseNumber(int& node);
    void SkipBlanks();
    int AddNode(Kind kind, double value, int left, int right);

    std::string m_expression;
    Notation m_notation = Notation::PowersOnly;
    std::size_t m_pos = 0;
    std::vector<Node> m_nodes;
    int m_root = -1;
};

}  // namespace tavlix
