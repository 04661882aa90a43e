#pragma once

#include <cstdint>
#include <utility>

#include "cli/CommandLine.h"
#include "engine/Rules.h"
#include "i18n/LanguageState.h"

namespace tavlix::cli {

// The rule and the largest number of the questions, which most commands take.
struct RuleAndRange {
    bool advanced = false;  // the Advanced rule (also ^ and ^^), else the Standard rule
    unsigned maximum = kLargestNumber;  // 13 with J, Q and K, else 10

    Rules EngineRules() const { return {!advanced, maximum}; }
};

// Which configurations a list holds: first those with a solution, second those without.
using ListedKinds = std::pair<bool, bool>;

// --advanced
void DeclareRule(CommandLine& line, bool& advanced);
// --advanced and --max 10|13
void DeclareRuleAndRange(CommandLine& line, RuleAndRange& game);
// --lang en|zh-CN|zh-TW, kept as the language's LCID
void DeclareLanguage(CommandLine& line, std::uint32_t& lcid);
// --kind all|solvable|unsolvable
void DeclareKinds(CommandLine& line, ListedKinds& kinds);

// The language state of the Standard edition set to the language of lcid.
LanguageState LanguageFor(std::uint32_t lcid);

}  // namespace tavlix::cli
