#include "cli/SharedOptions.h"


namespace tavlix::cli {

void DeclareRule(CommandLine& line, bool& advanced)
{
    line.Flag("--advanced", advanced);
}

void DeclareRuleAndRange(CommandLine& line, RuleAndRange& game)
{
    static const Choices<unsigned> kMaxima = {{"10", 10}, {"13", 13}};
    DeclareRule(line, game.advanced);
    line.Choice("--max", kMaxima, game.maximum);
}

void DeclareLanguage(CommandLine& line, std::uint32_t& lcid)
{
    static const Choices<std::uint32_t> kLanguages = {
        {"en", kLcidEnglish}, {"zh-CN", kLcidSimplifiedChinese}, {"zh-TW", kLcidTraditionalChinese}};
    line.Choice("--lang", kLanguages, lcid);
}

void DeclareKinds(CommandLine& line, ListedKinds& kinds)
{
    static const Choices<ListedKinds> kKinds = {
        {"all", {true, true}}, {"solvable", {true, false}}, {"unsolvable", {false, true}}};
    line.Choice("--kind", kKinds, kinds);
}

LanguageState LanguageFor(std::uint32_t lcid)
{
    LanguageState language;
    language.InitLanguage(Edition::Standard, lcid);
    return language;
}

}  // namespace tavlix::cli
