#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <variant>

namespace tavlix {

class Profile;

// The settings roots a value can live under. The table only records which one; the
// caller reads and writes through the Profile over that root.
enum class SettingStore {
    User,     // this user's "<edition>/<version>": nearly everything
    Edition,  // this user's "<edition>", shared by every version of the edition
    Machine,  // "<edition>/<version>" for every user of the machine
};

// Where a value lives. "%1" and "%2" in a section or name stand for parts known only at
// run time; every read and write of such an entry passes them, in that order.
struct SettingName {
    std::string_view section;
    std::string_view name;
    SettingStore store = SettingStore::User;
};

// What "%1" and "%2" of a patterned entry stand for.
struct SettingParts {
    std::string_view first = {};
    std::string_view second = {};
};

// The default of a value that only the caller knows (the user's own language, a
// collection's name, a folder): its read takes the default as an argument.
struct CallerDefault {};
inline constexpr CallerDefault kCallerDefault;

// How a stored value reads as yes or no. Yes is written as 1, no as 0 (as texts for
// TextOneIsTrue).
enum class FlagRule {
    NonZeroIsTrue,  // a number; anything but 0 is yes
    OnlyOneIsTrue,  // a number; only 1 is yes
    TextOneIsTrue,  // a text; only "1" is yes
};

struct FlagSetting {
    SettingName key;
    bool defaultValue;
    FlagRule rule;
};

inline constexpr std::uint32_t kAnyNumber = std::numeric_limits<std::uint32_t>::max();

template <class Default>
struct NumberSettingOf {
    SettingName key;
    Default defaultValue;
    // A stored number outside lowest..highest reads as the default.
    std::uint32_t lowest = 0;
    std::uint32_t highest = kAnyNumber;
    // Where the value is read from when key's section holds none. The helpers cannot
    // tell a missing number from a stored 0xFFFFFFFF, so that one is passed over too.
    std::string_view fallbackSection = {};
};
using NumberSetting = NumberSettingOf<std::uint32_t>;
using CallerDefaultNumberSetting = NumberSettingOf<CallerDefault>;

enum class TextLength {
    // At most 511 characters, as the registry helpers keep them: a longer stored text
    // reads as the default, and a longer one is not written.
    HelperLimit,
    // Any length, read and written past the helpers, exactly as stored.
    Whole,
};

template <class Default>
struct TextSettingOf {
    SettingName key;
    Default defaultValue;
    TextLength length = TextLength::HelperLimit;
};
using TextSetting = TextSettingOf<std::string_view>;
using CallerDefaultTextSetting = TextSettingOf<CallerDefault>;

// Every value the program keeps in the settings, each once, with its default and how it
// reads. Nothing outside this folder spells a section, a value name or a default.
namespace setting {

// The main window: the rule and J/Q/K of the last game, the enlarged layout, and the
// release notes of a version ("%1": the version text), shown once.
inline constexpr FlagSetting kGameStandardRule{{"Game", "Standard"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kGameJqk{{"Game", "JQK"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kEnlargedUi{{"UI", "Enlarged"}, false, FlagRule::OnlyOneIsTrue};
inline constexpr FlagSetting kReleaseNoteShown{{"App", "Release Note %1"}, false, FlagRule::TextOneIsTrue};

// The interface language as a Windows LCID; by default the user's own language.
inline constexpr CallerDefaultNumberSetting kLanguageLcid{{"Shell", "LCID"}, kCallerDefault};
// "1" once the program has started on this machine; by default the installation's mark.
inline constexpr CallerDefaultTextSetting kFirstRun{
    {"App", "First Run", SettingStore::Machine}, kCallerDefault, TextLength::Whole};
// The unnamed value of the edition's "User Data Directory".
inline constexpr TextSetting kUserDataDirectory{
    {"User Data Directory", "", SettingStore::Edition}, "", TextLength::Whole};

// The window's background. The display mode was once kept under "Background", which
// the registry does not tell from "BackGround"; it is still taken over from there. The
// image file defaults to the image shipped with the program.
inline constexpr FlagSetting kBackgroundImageOn{{"BackGround", "EnableImage"}, true, FlagRule::NonZeroIsTrue};
inline constexpr NumberSetting kBackgroundDisplayMode{
    {"BackGround", "DisplayMode"}, 2, 0, kAnyNumber, "Background"};
inline constexpr NumberSetting kBackgroundColor{{"BackGround", "BkColor"}, 0xC080FF};  // 0x00BBGGRR
inline constexpr CallerDefaultTextSetting kBackgroundImageFile{{"BackGround", "FileName"}, kCallerDefault};
inline constexpr TextSetting kBackgroundLastImagePath{{"BackGround", "LastImagePath"}, ""};
inline constexpr FlagSetting kBackgroundPromptDrag{{"BackGround", "PromptDrag"}, true, FlagRule::NonZeroIsTrue};

inline constexpr TextSetting kLastMusicDirectory{{"Music\\File", "Last Music Directory"}, ""};

// The collection window, and the text export of a collection ("%1": its name); the
// title defaults to the collection's name, the path to a file in the user data folder.
inline constexpr FlagSetting kCollectionShowSolutions{{"FM", "Show Solution"}, false, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kCollectionAdvanced{{"FM", "Enable Power and Root"}, false, FlagRule::NonZeroIsTrue};
inline constexpr CallerDefaultTextSetting kExportTitle{{"File", "Last Saved Title - %1"}, kCallerDefault};
inline constexpr TextSetting kExportFolder{{"File", "Last Saved Folder - %1"}, ""};
inline constexpr CallerDefaultTextSetting kExportPath{{"File", "Last Saved Path - %1"}, kCallerDefault};
inline constexpr FlagSetting kExportNotes{{"File", "Last Saved Note - %1"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kExportAnswers{{"File", "Last Saved Answer - %1"}, true, FlagRule::NonZeroIsTrue};

inline constexpr FlagSetting kCompleteListStandardRule{{"CL", "Standard"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kCompleteListJqk{{"CL", "JQK"}, false, FlagRule::OnlyOneIsTrue};
inline constexpr FlagSetting kCompleteListWithSolutions{{"CL", "Have Solution"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kCompleteListWithoutSolution{{"CL", "No Solution"}, true, FlagRule::NonZeroIsTrue};

inline constexpr FlagSetting kWorldCupStandardRule{{"WC", "Standard"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kWorldCupJqk{{"WC", "JQK"}, false, FlagRule::OnlyOneIsTrue};

// The world rankings: a section per table ("%1": RankingLevelCode), its places
// numbered from 1 ("%2"); an empty place holds "" and 0.
inline constexpr TextSetting kRankingLastName{{"Rank", "Last Name"}, ""};
inline constexpr TextSetting kRankingName{{"Rank\\%1", "Name%2"}, ""};
inline constexpr NumberSetting kRankingScore{{"Rank\\%1", "Score%2"}, 0};

// Dates as FormatDayText writes them.
inline constexpr TextSetting kUpdateLastTry{{"AutoDetect", "Last Try"}, ""};
inline constexpr TextSetting kUpdateLastDenial{{"AutoDetect", "Last Deny"}, ""};

// The training plans, one section each ("%1": TrainingPlanSection); the range numbers
// are numbered from 1 ("%2"). The range's end defaults to the level's highest number and
// the minutes to the question count; the plan checks the range as a whole.
inline constexpr FlagSetting kPlanStandardRule{{"%1", "Standard"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kPlanJqk{{"%1", "JQK"}, false, FlagRule::OnlyOneIsTrue};
inline constexpr NumberSetting kPlanDifficulty{{"%1", "Difficulty Level"}, 1, 1, 4};
inline constexpr FlagSetting kPlanFullSet{{"%1", "Full Set"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kPlanReviewSet{{"%1", "Review Set"}, false, FlagRule::OnlyOneIsTrue};
inline constexpr FlagSetting kPlanTroubleMakers{{"%1", "Trouble Makers"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kPlanMyFavorites{{"%1", "My Favorites"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kPlanWithSolution{{"%1", "Have Solution"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kPlanWithoutSolution{{"%1", "No Solution"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kPlanFullRange{{"%1", "Full Range"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kPlanStartBounded{{"%1", "Data Range Start"}, false, FlagRule::OnlyOneIsTrue};
inline constexpr FlagSetting kPlanEndBounded{{"%1", "Data Range End"}, false, FlagRule::OnlyOneIsTrue};
inline constexpr NumberSetting kPlanRangeStart{{"%1", "Start %2"}, 1};
inline constexpr CallerDefaultNumberSetting kPlanRangeEnd{{"%1", "End %2"}, kCallerDefault};
inline constexpr FlagSetting kPlanRandom{{"%1", "Randomly"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kPlanAscending{{"%1", "Ascending"}, true, FlagRule::NonZeroIsTrue};
inline constexpr FlagSetting kPlanTimeLimitOn{{"%1", "Time"}, true, FlagRule::NonZeroIsTrue};
inline constexpr NumberSetting kPlanQuestionCount{{"%1", "Question Count"}, 40, 1, 500};
inline constexpr CallerDefaultNumberSetting kPlanMinutes{{"%1", "Minutes"}, kCallerDefault, 1, 900};
// Which questions of the set the plan keeps by what they need: 0 any, 1 to 8 those that
// need one technique, 9 the plain ones, 10 those that need the player's weakest.
inline constexpr NumberSetting kPlanTechnique{{"%1", "Technique"}, 0, 0, 10};

using AnySetting = std::variant<const FlagSetting*, const NumberSetting*, const CallerDefaultNumberSetting*,
                                const TextSetting*, const CallerDefaultTextSetting*>;

// Every entry above, for the checks that walk the whole table.
inline constexpr AnySetting kAll[] = {
    &kGameStandardRule, &kGameJqk, &kEnlargedUi, &kReleaseNoteShown, &kLanguageLcid, &kFirstRun,
    &kUserDataDirectory, &kBackgroundImageOn, &kBackgroundDisplayMode, &kBackgroundColor,
    &kBackgroundImageFile, &kBackgroundLastImagePath, &kBackgroundPromptDrag, &kLastMusicDirectory,
    &kCollectionShowSolutions, &kCollectionAdvanced, &kExportTitle, &kExportFolder, &kExportPath,
    &kExportNotes, &kExportAnswers, &kCompleteListStandardRule, &kCompleteListJqk,
    &kCompleteListWithSolutions, &kCompleteListWithoutSolution, &kWorldCupStandardRule, &kWorldCupJqk,
    &kRankingLastName, &kRankingName, &kRankingScore, &kUpdateLastTry, &kUpdateLastDenial,
    &kPlanStandardRule, &kPlanJqk, &kPlanDifficulty, &kPlanFullSet, &kPlanReviewSet, &kPlanTroubleMakers,
    &kPlanMyFavorites, &kPlanWithSolution, &kPlanWithoutSolution, &kPlanFullRange, &kPlanStartBounded,
    &kPlanEndBounded, &kPlanRangeStart, &kPlanRangeEnd, &kPlanRandom, &kPlanAscending, &kPlanTimeLimitOn,
    &kPlanQuestionCount, &kPlanMinutes, &kPlanTechnique,
};

}  // namespace setting

// The parts of the patterned sections: "Training" or "Training Game"; and a ranking's
// table, "AMA_SS" (amateurs, Standard rule, no J/Q/K) to "PRO_AJ" (professionals,
// Advanced rule, J/Q/K).
std::string_view TrainingPlanSection(bool training);
std::string RankingLevelCode(bool professional, bool standardRule, bool jqkEnabled);
// The pattern with "%1" and "%2" replaced by the parts.
std::string FillSettingPattern(std::string_view pattern, const SettingParts& parts = {});

// Reads give the entry's default for a value that is missing or unreadable, or that
// its read rule refuses; entries with kCallerDefault take the default as an argument.
// Writes return false when the store refuses the value.
bool ReadSetting(const Profile& profile, const FlagSetting& setting, const SettingParts& parts = {});
std::uint32_t ReadSetting(const Profile& profile, const NumberSetting& setting, const SettingParts& parts = {});
std::uint32_t ReadSetting(const Profile& profile, const CallerDefaultNumberSetting& setting,
                          std::uint32_t defaultValue, const SettingParts& parts = {});
std::string ReadSetting(const Profile& profile, const TextSetting& setting, const SettingParts& parts = {});
std::string ReadSetting(const Profile& profile, const CallerDefaultTextSetting& setting,
                        std::string_view defaultValue, const SettingParts& parts = {});

bool WriteSetting(Profile& profile, const FlagSetting& setting, bool value, const SettingParts& parts = {});
bool WriteSetting(Profile& profile, const NumberSetting& setting, std::uint32_t value, const SettingParts& parts = {});
bool WriteSetting(Profile& profile, const CallerDefaultNumberSetting& setting, std::uint32_t value,
                  const SettingParts& parts = {});
bool WriteSetting(Profile& profile, const TextSetting& setting, std::string_view value, const SettingParts& parts = {});
bool WriteSetting(Profile& profile, const CallerDefaultTextSetting& setting, std::string_view value,
                  const SettingParts& parts = {});

}  // namespace tavlix
