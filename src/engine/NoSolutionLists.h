#pragma once

#include <string_view>

namespace tavlix {

inline constexpr std::string_view kNoSolutionListEnd = "0 0 0 0";

// The questions of 1..maximum (10 or 13) that have no solution under the rule, sorted
// texts in enumeration order, ended by kNoSolutionListEnd.
const char* const* NoSolutionList(bool standardOnly, unsigned maximum);

}  // namespace tavlix
