#include "engine/ModelTable.h"

#include <algorithm>

namespace tavlix {

const ModelRow* FindModel(std::string_view model)
{
    const auto rows =
        model.find('^') == std::string_view::npos ? ModelsWithoutPower() : ModelsWithPower();
    const auto it = std::lower_bound(rows.begin(), rows.end(), model,
                                     [](const ModelRow& row, std::string_view m) { return row.model < m; });
    return it != rows.end() && it->model == model ? &*it : nullptr;
}

}  // namespace tavlix
