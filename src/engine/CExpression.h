#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace tavlix {

// Parses and evaluates one line of 24 notation (after the root rewrite): sums,
// products, left-associative powers, parentheses, and a unary minus that covers the
// rest of the enclosing sum. Bad input never throws: it is a parse position or an
// error code.
class CExpression {
public:
    enum class Kind { Number, Add, Subtract, Multiply, Divide, Power };

    // A tree node; children always sit before their parent in nodes(), so the tree
    // can be walked bottom-up without recursion.
    struct Node {
        Kind kind = Kind::Number;
        double value = 0.0;  // Number only
        int left = -1;
        int right = -1;
    };

    enum ErrorCode { NoError = 0, DivisionByZero = 1 };

    // Deeper nesting (parentheses and unary minus signs) than this is a parse error:
    // no answer needs it, and it keeps the parser's recursion bounded.
    static constexpr int kMaxNesting = 200;

    // Returns -1 when the whole text parsed, else the index where parsing stopped.
    int SetExpression(std::string text);
    // Returns -1 without a tree, else the error code of the evaluation.
    int GetValue(double& out) const;

    const std::string& GetExpression() const { return m_expression; }
    const std::vector<Node>& nodes() const { return m_nodes; }
    int root() const { return m_root; }

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
    std::size_t m_pos = 0;
    std::vector<Node> m_nodes;
    int m_root = -1;
};

}  // namespace tavlix
