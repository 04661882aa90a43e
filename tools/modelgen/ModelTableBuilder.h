#pragma once

#include <array>
#include <string>
#include <vector>

namespace tavlix::modelgen {

struct Row {
    std::string model;
    std::string canonical;
    std::array<int, 4> numbers;  // canonical nk takes the model's number numbers[k]
};

struct Shape {
    std::string model;
    int sortType;
};

struct ModelTable {
    std::vector<Row> withoutPower;  // sorted by model
    std::vector<Row> withPower;     // sorted by model
    std::vector<Shape> further;     // sorted by model
    // Model texts whose parenthesis simplification changed what they compute; they
    // are left out of the table.
    std::vector<std::string> unsound;
};

// Every model an accepted answer can reach: all shapes over n1..n4 with + - * / (and,
// for the second half, ^ and ^^), with and without redundant parentheses, after the
// parenthesis simplification; each mapped to the first template (in search order),
// then the sum or product shape, then the simplest further shape, that computes the
// same once sums and products are flattened and their terms ordered.
ModelTable BuildModelTable();

// The table as the C++ source the engine compiles.
std::string WriteModelTableSource(const ModelTable& table);

}  // namespace tavlix::modelgen
