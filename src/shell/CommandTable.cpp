#include "shell/CommandTable.h"

#include <algorithm>

#include "engine/CBMUtilities.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

std::string NormalizedBox(const std::string& box, CharacterSet charset)
{
    return std::string(TrimBlanksAndLineEnds(
        CBMUtilities::GetNormalizedUserInput(box, InputMode::QuestionNumber, charset)));
}

bool IsPlainNumber(const std::string& text)
{
    return !text.empty() && text.size() <= 9 && (text == "0" || text[0] != '0') &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool ClampQuestionBoxes(std::array<std::string, 4>& boxes, unsigned maximum, CharacterSet charset)
{
    std::array<std::string, 4> normalized;
    for (std::size_t i = 0; i < 4; ++i)
        normalized[i] = NormalizedBox(boxes[i], charset);
    if (std::all_of(normalized.begin(), normalized.end(), [](const std::string& t) { return t.empty(); }))
        return false;
    bool changed = false;
    for (std::size_t i = 0; i < 4; ++i) {
        std::string replacement = boxes[i];
        if (!IsPlainNumber(normalized[i]))
            replacement.clear();
        else if (std::stoul(normalized[i]) > maximum)
            replacement = std::to_string(maximum);
        changed |= replacement != boxes[i];
        boxes[i] = replacement;
    }
    return changed;
}

std::string QuestionTextOfBoxes(const std::array<std::string, 4>& boxes, CharacterSet charset)
{
    return NormalizedBox(boxes[0], charset) + " " + NormalizedBox(boxes[1], charset) + " " +
           NormalizedBox(boxes[2], charset) + " " + NormalizedBox(boxes[3], charset);
}

bool IsCommandEnabled(int id, const CommandContext& c)
{
    const bool game = IsScoredRun(c.mode);
    switch (id) {
    case ID_STANDARD_RULE:
    case ID_ADVANCED_RULE:
    case ID_ENABLE_JQK:
    case ID_TROUBLE_MAKERS:
    case ID_MY_FAVORITES:
    case ID_INSTANT_SOLUTIONS:
    case ID_COMPLETE_LIST:
    case ID_STATISTICS:  // a game's clock runs on behind the window
        return !game;
    case ID_TRAINING: return c.mode == RunMode::Free || c.mode == RunMode::Training;
    case ID_TRAINING_GAME: return c.mode == RunMode::Free || c.mode == RunMode::TrainingGame;
    case ID_WORLD_CUP: return c.mode == RunMode::Free || c.mode == RunMode::WorldCup;
    case ID_CHECK_SOLUTION:
    case ID_CHECK_SOLUTION_BUTTON: return c.questionValid && !game;
    // A hint is for practice: never where a score counts.
    case ID_HINT: return c.questionValid && (c.mode == RunMode::Free || c.mode == RunMode::Training);
    case ID_SAVE_TO_TROUBLE_MAKERS: return !c.inTroubleMakers;
    case ID_SAVE_TO_MY_FAVORITES: return !c.inMyFavorites;
    case ID_LANGUAGE_ENGLISH:
    case ID_LANGUAGE_SIMPLIFIED:
    case ID_LANGUAGE_TRADITIONAL: return c.edition == Edition::Standard;
    case ID_PREVIOUS: return c.mode != RunMode::Free && c.canGoPrevious;
    case ID_NEXT: return c.mode != RunMode::Free && c.canGoNext;
    case ID_SUBMIT: return c.canSubmit;
    case ID_DONE: return game;
    default: return true;  // exit, background, layout, music, options, help, about
    }
}

bool IsCommandChecked(int id, const CommandContext& c)
{
    switch (id) {
    case ID_STANDARD_RULE: return c.standardRule;
    case ID_ADVANCED_RULE: return !c.standardRule;
    case ID_ENABLE_JQK: return c.jqkEnabled;
    case ID_ENLARGED_UI: return c.enlarged;
    case ID_MUSIC_ON: return c.musicOn;
    case ID_LANGUAGE_ENGLISH: return c.lcid == kLcidEnglish;
    case ID_LANGUAGE_SIMPLIFIED: return c.lcid == kLcidSimplifiedChinese;
    case ID_LANGUAGE_TRADITIONAL: return c.lcid == kLcidTraditionalChinese;
    default: return false;
    }
}

std::vector<std::pair<Popup, std::string>> MenuBar(const LanguageState& language)
{
    return {{Popup::Game, language.GetLocalizedString(IDS_MENU_GAME_G)},
            {Popup::UI, language.GetLocalizedString(IDS_MENU_UI_U)},
            {Popup::Music, language.GetLocalizedString(IDS_MENU_MUSIC_M)},
            {Popup::Tools, language.GetLocalizedString(IDS_MENU_TOOLS_T)},
            {Popup::Help, language.GetLocalizedString(IDS_MENU_HELP_H)}};
}

std::vector<MenuEntry> PopupEntries(Popup popup, const CommandContext& c,
                                    const LanguageState& language, const std::string& appTitle)
{
    const auto entry = [&](int textId, int id) {
        return MenuEntry{language.GetLocalizedString(textId, appTitle), id,
                         !IsCommandEnabled(id, c), IsCommandChecked(id, c)};
    };
    const MenuEntry separator;
    switch (popup) {
    case Popup::Game:
        return {entry(IDS_MENU_GAME_STANDARD_RULE_S, ID_STANDARD_RULE),
                entry(IDS_MENU_GAME_ADVANCED_RULE_A, ID_ADVANCED_RULE),
                entry(IDS_MENU_GAME_ENABLE_JQK_J, ID_ENABLE_JQK),
                separator,
                entry(c.mode == RunMode::Training ? IDS_MENU_GAME_STOP_TRAINING_R
                                                  : IDS_MENU_GAME_TRAINING_R,
                      ID_TRAINING),
                entry(c.mode == RunMode::TrainingGame ? IDS_MENU_GAME_STOP_TRAINING_GAME_G
                                                      : IDS_MENU_GAME_TRAINING_GAME_G,
                      ID_TRAINING_GAME),
                entry(c.mode == RunMode::WorldCup ? IDS_MENU_GAME_EXIT_WORLD_CUP_W
                                                  : IDS_MENU_GAME_WORLD_CUP_W,
                      ID_WORLD_CUP),
                separator,
                entry(IDS_MENU_GAME_CHECK_SOLUTION_C, ID_CHECK_SOLUTION),
                entry(IDS_MENU_GAME_HINT_H, ID_HINT),
                separator,
                entry(IDS_MENU_GAME_SAVE_TO_TROUBLE_MAKERS_T, ID_SAVE_TO_TROUBLE_MAKERS),
                entry(IDS_MENU_GAME_SAVE_TO_MY_FAVORITES_M, ID_SAVE_TO_MY_FAVORITES),
                separator,
                entry(IDS_MENU_GAME_EXIT_X, ID_EXIT_MENU)};
    case Popup::UI: {
        std::vector<MenuEntry> entries = {entry(IDS_MENU_UI_BACKGROUND_B, ID_BACKGROUND), separator,
                                          entry(IDS_MENU_UI_ENLARGED_E, ID_ENLARGED_UI)};
        if (c.edition == Edition::Standard) {
            entries.push_back(separator);
            const int ids[] = {ID_LANGUAGE_ENGLISH, ID_LANGUAGE_SIMPLIFIED, ID_LANGUAGE_TRADITIONAL};
            for (int column = kEnglish; column <= kTraditionalChinese; ++column) {
                // Each language is named in its own script, with a mnemonic.
                MenuEntry languageEntry = entry(Shell_Language, ids[column - kEnglish]);
                languageEntry.text =
                    "&" + language.GetLocalizedString(Shell_Language, {}, {}, {}, column);
                entries.push_back(languageEntry);
            }
        }
        return entries;
    }
    case Popup::Music:
        return {entry(IDS_MENU_MUSIC_BACKGROUND_MUSIC_B, ID_BACKGROUND_MUSIC),
                entry(IDS_MENU_MUSIC_ON_O, ID_MUSIC_ON)};
    case Popup::Tools:
        return {entry(IDS_MENU_TOOLS_TROUBLE_MAKERS_T, ID_TROUBLE_MAKERS),
                entry(IDS_MENU_TOOLS_MY_FAVORITES_M, ID_MY_FAVORITES),
                separator,
                entry(IDS_MENU_TOOLS_INSTANT_SOLUTIONS_I, ID_INSTANT_SOLUTIONS),
                separator,
                entry(IDS_MENU_TOOLS_COMPLETE_LIST_C, ID_COMPLETE_LIST),
                entry(IDS_MENU_TOOLS_STATISTICS_S, ID_STATISTICS),
                separator,
                entry(IDS_MENU_TOOLS_OPTIONS_O, ID_OPTIONS)};
    case Popup::Help:
        return {entry(IDS_MENU_HELP_H_F1, ID_HELP), separator, entry(IDS_MENU_HELP_ABOUT_A, ID_ABOUT)};
    }
    return {};
}

}  // namespace tavlix
