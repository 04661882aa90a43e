#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tavlix {

// A solution template turned once into a flat program over its four number slots, so
// the search evaluates an ordering without writing, rewriting and parsing text. It
// computes exactly what the parsed text computes, operation for operation.
class CompiledTemplate {
public:
    explicit CompiledTemplate(std::string_view templ);

    // False when the ordering divides by zero; value is then meaningless.
    bool Evaluate(const std::array<unsigned, 4>& numbers, double& value) const;

private:
    static constexpr std::size_t kMaxSteps = 32;

    enum class Op : std::uint8_t {
        Slot, Constant, Add, Subtract, Multiply, Divide, Power,
        PowerOfSlots,  // slot ^ slot, from a table
        RootOfSlots,   // slot ^ (1 / slot), from a table
    };
    struct Step {
        Op op;
        std::uint8_t left;   // step index, or slot for Slot and the *OfSlots ops
        std::uint8_t right;  // step index, or slot for the *OfSlots ops
        double constant;
    };

    std::vector<Step> m_steps;
};

}  // namespace tavlix
