#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/CBMUtilities.h"
#include "engine/Techniques.h"
#include "history/ReviewSchedule.h"
#include "runs/TechniqueChoice.h"

namespace tavlix {

class Clock;
class Collection;
class LanguageState;
class Profile;
class RandomSource;

using Configuration = std::array<unsigned, 4>;  // four numbers, non-decreasing

// One training plan, as each of the two practice modes keeps it in its own settings
// section ("Training" or "Training Game").
struct TrainingPlan {
    bool training = true;  // Training, else Training Game; not stored
    bool standardRule = true;
    bool jqkEnabled = false;
    int difficultyLevel = 1;  // 1 Beginner .. 4 Ultimate
    bool fullSet = true;      // else the questions of the chosen collections
    // The questions due for review instead of either; fullSet keeps its own choice
    // beside it, so that a plan left on the review set still reads as before.
    bool reviewSet = false;
    bool useTroubleMakers = true;
    bool useMyFavorites = true;
    bool withSolution = true;
    bool withoutSolution = true;
    bool fullRange = true;
    bool startBounded = false;
    bool endBounded = false;
    Configuration start{1, 1, 1, 1};
    Configuration end{10, 10, 10, 10};
    bool random = true;
    bool ascending = true;
    bool timeLimitOn = true;  // Training Game only
    int questionCount = 40;
    int minutes = 40;
    // Applied on top of the set: which of its questions to keep by what they need
    // (kAnyTechnique, a TechniqueChoiceOf, kPlainTechnique or kWeakestTechnique).
    int technique = kAnyTechnique;

    unsigned Maximum() const { return LargestNumber(jqkEnabled); }
    // The run's time limit in seconds: minutes * 60 for a Training Game with its limit
    // on, -1 (none) otherwise.
    int TimeLimitSeconds() const;
    // The range the plan really covers: the start only when "Within certain selection"
    // and the start bound are both chosen, else 1 1 1 1; the end likewise, else max.
    Configuration EffectiveStart() const;
    Configuration EffectiveEnd() const;

    bool operator==(const TrainingPlan&) const = default;
};

// What the dialog accepts on OK; the settings keep any count from 1.
inline constexpr int kMinQuestionCount = 5;
inline constexpr int kMaxQuestionCount = 500;
inline constexpr int kMinMinutes = 1;
inline constexpr int kMaxMinutes = 900;

// A number typed into the count or minutes field: digits, with blanks around them;
// nothing for any other text. Numbers too long for the settings saturate.
std::optional<int> ReadTypedNumber(std::string_view text);
// What OK says about a typed number: "Please enter an integer between %1 and %2." for
// one outside low..high, "Please enter a positive integer." for text that is no whole
// number, empty when it is accepted.
std::string TypedNumberPrompt(std::string_view text, int low, int high, const LanguageState& language);

// The plan of a mode from the settings, every loaded value checked; missing values
// take their defaults.
TrainingPlan LoadTrainingPlan(const Profile& profile, bool training);
// Writes every field back, with the range cleaned up as the dialog leaves it.
void StoreTrainingPlan(Profile& profile, const TrainingPlan& plan);

// The questions the plan can take, in ascending order ("a b c d"), before the count
// limit; its size is the available count. The review set takes the questions of
// dueForReview answered under the plan's rule and J/Q/K setting that lie in its range.
// The technique choice keeps those that need the technique; weakestTechnique is the
// player's weakest one, when known.
StringArray BuildCandidates(const TrainingPlan& plan, const Collection& troubleMakers,
                            const Collection& myFavorites, std::span<const ReviewItem> dueForReview = {},
                            std::optional<Technique> weakestTechnique = std::nullopt);

// The run's questions from the candidates: at most questionCount of them, picked and
// ordered as the plan says. Random picking and ordering first seed random with the
// clock's time in seconds, so one second always gives one list. Fewer candidates than
// wanted give them all; the caller tells the player.
StringArray ChooseQuestions(StringArray candidates, const TrainingPlan& plan, RandomSource& random,
                            const Clock& clock);

// ---- The dialog's eight number lists (Start 1..4, End 1..4) -------------------------

struct RangeValues {
    Configuration start;
    Configuration end;
    bool operator==(const RangeValues&) const = default;
};

// The lists after a change: nothing when they stay as they are, else the values to
// show after refilling them. listTexts are the lists' texts, the four start lists
// first; the plan gives max, the range choice and the two bound checks. rebuild: the
// change calls for fresh lists even when the values are in order.
std::optional<RangeValues> NormalizeRangeLists(const TrainingPlan& plan,
                                               const std::array<std::string, 8>& listTexts,
                                               bool rebuild);

// The smallest number list `index` (0..7, the start lists first) offers: each list
// starts at the value of the one it follows (End 1 follows Start 1).
unsigned RangeListLowerBound(const RangeValues& values, std::size_t index);

}  // namespace tavlix
