#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace tavlix {

// One expression shape the solution search tries, with placeholders n1..n4 from left
// to right, and the normalisation type that folds its commutative writings.
struct SolutionTemplate {
    std::string_view text;
    int type;
};

// Standard templates (+ - * /), in the order the search tries them and lists hits.
std::span<const SolutionTemplate> StandardTemplates();
// Templates with "^" or "^^", tried after the standard ones under the Advanced rule.
std::span<const SolutionTemplate> AdvancedTemplates();

// The product check ("a*b*c*d") stands after this many standard templates.
inline constexpr std::size_t kTemplatesBeforeProductCheck = 44;

}  // namespace tavlix
