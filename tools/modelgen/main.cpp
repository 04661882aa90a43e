// Writes the engine's model table source to standard output; statistics and any
// model left out go to standard error.
#include <iostream>

#include "ModelTableBuilder.h"

int main()
{
    const auto table = tavlix::modelgen::BuildModelTable();
    std::cout << tavlix::modelgen::WriteModelTableSource(table);
    std::cerr << table.withoutPower.size() << " models without power, " << table.withPower.size()
              << " with power, " << table.further.size() << " further canonical shapes\n";
    for (const auto& model : table.unsound)
        std::cerr << "left out (simplification changes it): " << model << '\n';
    return 0;
}
