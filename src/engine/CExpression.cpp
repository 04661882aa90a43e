#include "engine/CExpression.h"

#include <charconv>
#include <cmath>
#include <istream>
#include <limits>
#include <ostream>
#include <string_view>

namespace tavlix {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int CExpression::SetExpression(std::string text, Notation notation)
{
    m_expression = std::move(text);
    m_notation = notation;
    m_nodes.clear();
    m_root = -1;
    m_pos = 0;

    int node = -1;
    if (ParseSum(node, 0) && m_pos == m_expression.size()) {
        m_root = node;
        return -1;
    }
    m_nodes.clear();
    return static_cast<int>(m_pos);
}

int CExpression::GetValue(double& out) const
{
    if (m_root < 0)
        return -1;

    int error = NoError;
    std::vector<double> values(m_nodes.size());
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        const Node& n = m_nodes[i];
        if (n.kind == Kind::Number) {
            values[i] = n.value;
            continue;
        }
        const double a = values[static_cast<std::size_t>(n.left)];
        const double b = values[static_cast<std::size_t>(n.right)];
        switch (n.kind) {
        case Kind::Add: values[i] = a + b; break;
        case Kind::Subtract: values[i] = a - b; break;
        case Kind::Multiply: values[i] = a * b; break;
        case Kind::Divide:
            if (b < 0.0 || b > 0.0) {
                values[i] = a / b;
            } else {
                // Zero or not a number: flagged, and a value nobody uses.
                error = DivisionByZero;
                values[i] = a * -1000.0;
            }
            break;
        case Kind::Power: values[i] = std::pow(a, b); break;
        case Kind::Root:
            // As its rewrite a^(1/b) computes it, index zero included.
            if (b < 0.0 || b > 0.0) {
                values[i] = std::pow(a, 1.0 / b);
            } else {
                error = DivisionByZero;
                values[i] = std::pow(a, -1000.0);
            }
            break;
        case Kind::Number: break;
        }
    }
    out = values[static_cast<std::size_t>(m_root)];
    return error;
}

void CExpression::Store(std::ostream& out) const
{
    out << m_expression.size() << '\n' << m_expression;
}

bool CExpression::Load(std::istream& in)
{
    std::size_t length = 0;
    if (!(in >> length) || in.get() != '\n')
        return false;
    std::string text(length, '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(length)))
        return false;
    SetExpression(std::move(text));
    return true;
}

int CExpression::AddNode(Kind kind, double value, int left, int right)
{
    m_nodes.push_back(Node{kind, value, left, right, 0, 0});
    return static_cast<int>(m_nodes.size()) - 1;
}

void CExpression::SkipBlanks()
{
    while (m_pos < m_expression.size() && m_expression[m_pos] == ' ')
        ++m_pos;
}

bool CExpression::ParseSum(int& node, int depth)
{
    if (depth > kMaxNesting)
        return false;
    if (!ParseProduct(node, depth))
        return false;
    while (m_pos < m_expression.size()) {
        const char op = m_expression[m_pos];
        if (op != '+' && op != '-')
            break;
        ++m_pos;
        int right = -1;
        if (!ParseProduct(right, depth))
            return false;
        node = AddNode(op == '+' ? Kind::Add : Kind::Subtract, 0.0, node, right);
    }
    return true;
}

bool CExpression::ParseProduct(int& node, int depth)
{
    if (!ParsePower(node, depth))
        return false;
    while (m_pos < m_expression.size()) {
        const char op = m_expression[m_pos];
        if (op != '*' && op != '/')
            break;
        ++m_pos;
        int right = -1;
        if (!ParsePower(right, depth))
            return false;
        node = AddNode(op == '*' ? Kind::Multiply : Kind::Divide, 0.0, node, right);
    }
    return true;
}

bool CExpression::ParsePower(int& node, int depth)
{
    if (!ParsePrimary(node, depth))
        return false;
    while (m_pos < m_expression.size() && m_expression[m_pos] == '^') {
        const bool root = m_notation == Notation::WithRoots &&
                          std::string_view(m_expression).substr(m_pos, 2) == "^^";
        m_pos += root ? 2 : 1;
        int right = -1;
        if (!ParsePrimary(right, depth))
            return false;
        node = AddNode(root ? Kind::Root : Kind::Power, 0.0, node, right);
    }
    return true;
}

bool CExpression::ParsePrimary(int& node, int depth)
{
    SkipBlanks();
    if (m_pos >= m_expression.size())
        return false;

    const char c = m_expression[m_pos];
    if (c == '-') {
        // The minus covers a whole sum: -3+4 is -(3+4).
        ++m_pos;
        int operand = -1;
        if (!ParseSum(operand, depth + 1))
            return false;
        const int minusOne = AddNode(Kind::Number, -1.0, -1, -1);
        node = AddNode(Kind::Multiply, 0.0, minusOne, operand);
        return true;
    }
    if (c == '(') {
        ++m_pos;
        if (!ParseSum(node, depth + 1))
            return false;
        if (m_pos >= m_expression.size() || m_expression[m_pos] != ')')
            return false;
        ++m_pos;
        return true;
    }
    if (IsDigit(c))
        return ParseNumber(node);
    return false;
}

bool CExpression::ParseNumber(int& node)
{
    const std::size_t start = m_pos;
    while (m_pos < m_expression.size() &&
           (IsDigit(m_expression[m_pos]) || m_expression[m_pos] == '.'))
        ++m_pos;

    // The run is read as far as it is a decimal number ("1.2.3" reads 1.2), in the
    // C locale whatever the process locale is.
    const char* first = m_expression.data() + start;
    const char* last = m_expression.data() + m_pos;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // Too many digits: huge when the whole part has a non-zero digit, else tiny.
        const std::string_view run(first, static_cast<std::size_t>(last - first));
        const std::string_view whole = run.substr(0, run.find('.'));
        const bool huge = whole.find_first_of("123456789") != std::string_view::npos;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    (void)end;

    node = AddNode(Kind::Number, value, -1, -1);
    m_nodes.back().textStart = start;
    m_nodes.back().textLength = m_pos - start;
    SkipBlanks();
    return true;
}

}  // namespace tavlix
