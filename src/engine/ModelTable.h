#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tavlix {

// One recognised model: the canonical model of the same calculation, and for each
// placeholder n1..n4 of the canonical model the 0-based position of the number it
// takes among the recognised model's numbers.
struct ModelRow {
    std::string_view model;
    std::string_view canonical;
    std::array<std::uint8_t, 4> numbers;
};

// A canonical model that is no search template, with the normalisation type that
// orders its commutative numbers.
struct CanonicalShape {
    std::string_view model;
    int sortType;
};

// The two halves of the model table, each sorted by model text.
std::span<const ModelRow> ModelsWithoutPower();
std::span<const ModelRow> ModelsWithPower();
// Canonical shapes beyond the templates, sorted by model text.
std::span<const CanonicalShape> FurtherCanonicalModels();

// The row of a model (looked up in the half its "^" chooses), or null.
const ModelRow* FindModel(std::string_view model);

}  // namespace tavlix
