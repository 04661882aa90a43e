#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/AnswerChecker.h"
#include "i18n/CharacterSet.h"
#include "i18n/Edition.h"

namespace tavlix {

class LanguageState;

// Command ids of the main window: menu entries, toolbar and dialog buttons.
enum CommandId : int {
    ID_STANDARD_RULE = 32773,
    ID_ADVANCED_RULE = 32774,
    ID_ENABLE_JQK = 32798,
    ID_TRAINING = 32799,
    ID_TRAINING_GAME = 32802,
    ID_WORLD_CUP = 1080,
    ID_CHECK_SOLUTION = 32785,
    ID_CHECK_SOLUTION_BUTTON = 1064,
    ID_HINT = 32817,
    ID_SAVE_TO_TROUBLE_MAKERS = 32777,
    ID_SAVE_TO_MY_FAVORITES = 32778,
    ID_EXIT_MENU = 57665,
    ID_BACKGROUND = 32807,
    ID_ENLARGED_UI = 32809,
    ID_LANGUAGE_ENGLISH = 32781,
    ID_LANGUAGE_SIMPLIFIED = 32782,
    ID_LANGUAGE_TRADITIONAL = 32783,
    ID_BACKGROUND_MUSIC = 32811,
    ID_MUSIC_ON = 32812,
    ID_TROUBLE_MAKERS = 32801,
    ID_MY_FAVORITES = 32780,
    ID_INSTANT_SOLUTIONS = 32814,
    ID_STATISTICS = 32820,
    ID_COMPLETE_LIST = 32784,
    ID_OPTIONS = 32813,
    ID_HELP = 32800,
    ID_ABOUT = 32772,
    ID_PREVIOUS = 1065,
    ID_NEXT = 1063,
    ID_SUBMIT = 1087,
    ID_DONE = 1192,
    ID_EXIT = 1061,
};

// What the availability of commands depends on.
struct CommandContext {
    RunMode mode = RunMode::Free;
    bool standardRule = true;
    bool jqkEnabled = true;
    bool enlarged = false;
    bool musicOn = false;
    bool questionValid = false;
    bool inTroubleMakers = true;  // an unreadable question counts as present
    bool inMyFavorites = true;
    bool canSubmit = false;       // CanCheckResult holds and, in games, no status yet
    bool canGoPrevious = false;
    bool canGoNext = false;
    Edition edition = Edition::SimplifiedChinese;
    std::uint32_t lcid = 0;
};

bool IsCommandEnabled(int id, const CommandContext& c);
bool IsCommandChecked(int id, const CommandContext& c);

// The J/Q/K switch on the four question boxes: a number above the new maximum becomes
// the maximum, a text that is not exactly a number is emptied; nothing changes when all
// four boxes are empty. Returns whether any box changed.
bool ClampQuestionBoxes(std::array<std::string, 4>& boxes, unsigned maximum, CharacterSet charset);

// The question text "a b c d" of the four boxes, as typed (normalised and trimmed).
std::string QuestionTextOfBoxes(const std::array<std::string, 4>& boxes, CharacterSet charset);

// One entry of a menu popup; a separator has id 0.
struct MenuEntry {
    std::string text;
    int id = 0;
    bool grayed = false;
    bool checked = false;
    bool IsSeparator() const { return id == 0; }
};

enum class Popup { Game, UI, Music, Tools, Help };

// The popups of the menu bar, in order, with their titles.
std::vector<std::pair<Popup, std::string>> MenuBar(const LanguageState& language);
// A popup's entries in the current language and state.
std::vector<MenuEntry> PopupEntries(Popup popup, const CommandContext& c,
                                    const LanguageState& language, const std::string& appTitle);

}  // namespace tavlix
