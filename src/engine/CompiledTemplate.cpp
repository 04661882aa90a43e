#include "engine/CompiledTemplate.h"

#include <cassert>
#include <cmath>

#include "engine/CBMUtilities.h"
#include "engine/CExpression.h"

namespace tavlix {

namespace {

// Stand-ins for n1..n4 while compiling: distinct, and never 1, so every root turns
// into the general "^(1/n)" form and no stand-in is mistaken for the rewrite's 1.
constexpr unsigned kStandIns[4] = {2, 3, 5, 7};

constexpr unsigned kLargest = 13;

// pow over the numbers a question can hold, computed once with the same calls the
// evaluator makes.
struct PowerTables {
    double power[kLargest + 1][kLargest + 1];
    double root[kLargest + 1][kLargest + 1];
    PowerTables()
    {
        for (unsigned a = 0; a <= kLargest; ++a)
            for (unsigned b = 0; b <= kLargest; ++b) {
                power[a][b] = std::pow(double(a), double(b));
                root[a][b] = b == 0 ? 0.0 : std::pow(double(a), 1.0 / double(b));
            }
    }
};

const PowerTables& Tables()
{
    static const PowerTables tables;
    return tables;
}

int SlotOf(double standIn)
{
    for (int k = 0; k < 4; ++k)
        if (standIn == double(kStandIns[k]))
            return k;
    return -1;
}

}  // namespace

CompiledTemplate::CompiledTemplate(std::string_view templ)
{
    std::string text = CBMUtilities::FillTemplate(
        templ, NumberArray(std::begin(kStandIns), std::end(kStandIns)));
    [[maybe_unused]] const int rewritten = CBMUtilities::ConvertRootNotation(text, true);
    CExpression expression;
    [[maybe_unused]] const int parsed = expression.SetExpression(text);
    assert(rewritten == 1 && parsed == -1);

    const auto& nodes = expression.nodes();
    const auto isSlot = [&](int i) {
        return nodes[std::size_t(i)].kind == CExpression::Kind::Number &&
               SlotOf(nodes[std::size_t(i)].value) >= 0;
    };
    const auto slot = [&](int i) { return std::uint8_t(SlotOf(nodes[std::size_t(i)].value)); };
    // The rewrite writes a root of n as ^(1/n).
    const auto isInverseSlot = [&](int i) {
        const auto& n = nodes[std::size_t(i)];
        return n.kind == CExpression::Kind::Divide &&
               nodes[std::size_t(n.left)].kind == CExpression::Kind::Number &&
               nodes[std::size_t(n.left)].value == 1.0 && isSlot(n.right);
    };

    for (const auto& node : nodes) {
        Step step{Op::Constant, 0, 0, 0.0};
        switch (node.kind) {
        case CExpression::Kind::Number:
            if (SlotOf(node.value) >= 0)
                step = {Op::Slot, std::uint8_t(SlotOf(node.value)), 0, 0.0};
            else
                step.constant = node.value;
            break;
        case CExpression::Kind::Add: step = {Op::Add, 0, 0, 0.0}; break;
        case CExpression::Kind::Subtract: step = {Op::Subtract, 0, 0, 0.0}; break;
        case CExpression::Kind::Multiply: step = {Op::Multiply, 0, 0, 0.0}; break;
        case CExpression::Kind::Divide: step = {Op::Divide, 0, 0, 0.0}; break;
        case CExpression::Kind::Power:
            if (isSlot(node.left) && isSlot(node.right))
                step = {Op::PowerOfSlots, slot(node.left), slot(node.right), 0.0};
            else if (isSlot(node.left) && isInverseSlot(node.right))
                step = {Op::RootOfSlots, slot(node.left),
                        slot(nodes[std::size_t(node.right)].right), 0.0};
            else
                step = {Op::Power, 0, 0, 0.0};
            break;
        case CExpression::Kind::Root:
            assert(!"parsed as powers only: the rewrite turned every root into a power");
            break;
        }
        if (step.op >= Op::Add && step.op <= Op::Power) {
            step.left = std::uint8_t(node.left);
            step.right = std::uint8_t(node.right);
        }
        m_steps.push_back(step);
    }
    assert(m_steps.size() <= kMaxSteps);
}

bool CompiledTemplate::Evaluate(const std::array<unsigned, 4>& numbers, double& value) const
{
    const PowerTables& tables = Tables();
    double values[kMaxSteps];
    bool ok = true;
    for (std::size_t i = 0; i < m_steps.size(); ++i) {
        const Step& s = m_steps[i];
        switch (s.op) {
        case Op::Slot: values[i] = numbers[s.left]; break;
        case Op::Constant: values[i] = s.constant; break;
        case Op::Add: values[i] = values[s.left] + values[s.right]; break;
        case Op::Subtract: values[i] = values[s.left] - values[s.right]; break;
        case Op::Multiply: values[i] = values[s.left] * values[s.right]; break;
        case Op::Divide: {
            const double divisor = values[s.right];
            ok = ok && (divisor < 0.0 || divisor > 0.0);
            values[i] = values[s.left] / divisor;
            break;
        }
        case Op::Power: values[i] = std::pow(values[s.left], values[s.right]); break;
        case Op::PowerOfSlots: values[i] = tables.power[numbers[s.left]][numbers[s.right]]; break;
        case Op::RootOfSlots: values[i] = tables.root[numbers[s.left]][numbers[s.right]]; break;
        }
    }
    value = values[m_steps.size() - 1];
    return ok;
}

}  // namespace tavlix
