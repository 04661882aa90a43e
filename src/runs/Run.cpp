#include "runs/Run.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "common/TextUtilities.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "runs/RankingTable.h"

namespace tavlix {

namespace {

// Fills "#1", "#2", ... of a table text, in order.
std::string FillMarks(std::string text, const std::vector<std::string>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        ReplaceAll(text, "#" + std::to_string(i + 1), values[i]);
    return text;
}

}  // namespace

std::string ModeName(RunMode mode, const LanguageState& language)
{
    switch (mode) {
    case RunMode::Training: return language.GetLocalizedString(IDS_TIP_TRAINING);
    case RunMode::TrainingGame: return language.GetLocalizedString(IDS_TIP_TRAINING_GAME);
    case RunMode::WorldCup: return language.GetLocalizedString(IDS_TIP_WORLD_CUP);
    case RunMode::Free: break;
    }
    return {};
}

void Run::Start(RunSetup setup)
{
    m_setup = std::move(setup);
    const std::size_t count = m_setup.questions.size();
    m_nIndex = 0;
    m_uaAStatus.assign(count, 0);
    m_answerBoxFlags.assign(count, 0);
    m_savedAnswers.assign(count, {});
    m_answeredCount = 0;
}

void Run::Reset() { *this = Run(); }

void Run::FollowRules(bool standardRule, bool jqkEnabled)
{
    m_setup.standardRule = standardRule;
    m_setup.jqkEnabled = jqkEnabled;
}

void Run::RecordSubmission(bool usedAnswerBox, std::string answer, bool repeated)
{
    m_answerBoxFlags[m_nIndex] = usedAnswerBox ? 1 : 0;
    m_savedAnswers[m_nIndex] = std::move(answer);
    if (!repeated)
        ++m_answeredCount;
}

std::size_t Run::Score() const { return std::size_t(std::count(m_uaAStatus.begin(), m_uaAStatus.end(), 1u)); }

bool Run::IsTimeUp(std::time_t now) const
{
    return m_setup.timeLimitSeconds > 0 && now > m_startTime + m_setup.timeLimitSeconds;
}

std::optional<std::string> Run::RemainingText(std::time_t now) const
{
    if (m_setup.timeLimitSeconds <= 0)
        return std::nullopt;
    const long long remaining = std::max(0LL, m_setup.timeLimitSeconds - (long long)(now - m_startTime));
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%02lld:%02lld:%02lld", remaining / 3600, remaining / 60 % 60,
                  remaining % 60);
    return std::string(text.data());
}

long long Run::SecondsUsed(std::time_t now) const
{
    const long long used = std::max(0LL, (long long)(now - m_startTime));
    return m_setup.timeLimitSeconds > 0 ? std::min(used, (long long)m_setup.timeLimitSeconds) : used;
}

std::string Run::TimeUsedText(const LanguageState& language, std::time_t now) const
{
    const long long used = SecondsUsed(now);
    if (used < 3600)
        return language.GetLocalizedString(IDS_DIALOG_RANK_NORMAL_TIME, std::to_string(used / 60),
                                           std::to_string(used % 60));
    return language.GetLocalizedString(IDS_DIALOG_MAIN_H_M_S, std::to_string(used / 3600),
                                       std::to_string(used / 60 % 60), std::to_string(used % 60));
}

std::string Run::LevelName(const LanguageState& language) const
{
    return GameLevelName(m_setup.standardRule, m_setup.jqkEnabled, language);
}

std::string Run::RuleText(const LanguageState& language) const
{
    return language.GetLocalizedString(m_setup.standardRule ? IDS_TIP_STANDARD : IDS_TIP_ADVANCED);
}

std::string Run::ValueRangeText() const { return m_setup.jqkEnabled ? "1-13" : "1-10"; }

std::string Run::DifficultyName(const LanguageState& language) const
{
    const std::vector<std::string> names =
        GetSAFromMLString(language.GetLocalizedString(IDS_DIALOG_TRAINING_DIFFICULTY_LEVEL_LIST));
    const std::size_t line = std::size_t(std::clamp(m_setup.level, 1, 4) - 1);
    return line < names.size() ? names[line] : std::string();
}

std::string Run::DifficultyNote(const LanguageState& language) const
{
    static constexpr int kNotes[] = {IDS_DIALOG_MAIN_RULE_DL_NOTE_BEGINNER, IDS_DIALOG_MAIN_RULE_DL_NOTE_INTERMEDIATE,
                                     IDS_DIALOG_MAIN_RULE_DL_NOTE_ADVANCED};
    const int id = m_setup.level >= 1 && m_setup.level <= 3 ? kNotes[m_setup.level - 1]
                                                            : IDS_DIALOG_MAIN_RULE_DL_NOTE_ULTIMATE;
    return language.GetLocalizedString(id, DifficultyName(language));
}

std::string Run::RunNameInText(const LanguageState& language) const
{
    switch (m_setup.mode) {
    case RunMode::Training: return language.GetLocalizedString(IDS_BMT_TRAINING_LOWER);
    case RunMode::TrainingGame: return language.GetLocalizedString(IDS_BMT_TRAINING_GAME_LOWER);
    case RunMode::WorldCup: return language.GetLocalizedString(IDS_TIP_WORLD_CUP);
    case RunMode::Free: break;
    }
    return {};
}

std::string Run::Caption(const LanguageState& language) const
{
    const std::string& title = language.ProductName();
    if (!IsActive())
        return title;
    const std::string levelText = language.GetLocalizedString(IDS_BMT_X_LEVEL, LevelName(language));
    const std::string position = std::to_string(m_nIndex + 1) + "/" + std::to_string(QuestionCount());
    if (m_setup.mode == RunMode::WorldCup)
        return title + " - " + ModeName(m_setup.mode, language) + " (" + levelText + ") " + position;
    return title + " - " + ModeName(m_setup.mode, language) + " (" + levelText + " - " + DifficultyName(language) +
           ") " + position;
}

std::string Run::StatusLine(const LanguageState& language) const
{
    if (!IsActive())
        return {};
    const auto correct = std::count(m_uaAStatus.begin(), m_uaAStatus.end(), 1u);
    const auto open = std::count(m_uaAStatus.begin(), m_uaAStatus.end(), 0u);
    const auto incorrect = std::ptrdiff_t(m_uaAStatus.size()) - correct - open;
    return language.GetLocalizedString(IDS_BMT_STATUS, std::to_string(correct), std::to_string(incorrect),
                                       std::to_string(open));
}

std::string Run::Report(const LanguageState& language, std::time_t now) const
{
    const int id = m_setup.mode == RunMode::WorldCup ? IDS_DIALOG_MAIN_REPORT_WORLD_CUP
                                                     : IDS_DIALOG_MAIN_REPORT_TRAINING_GAME;
    return FillMarks(language.GetLocalizedString(id),
                     {LevelName(language), RuleText(language), ValueRangeText(),
                      std::to_string(Score()) + "/" + std::to_string(QuestionCount()), TimeUsedText(language, now)});
}

std::string Run::RunNote(const LanguageState& language) const
{
    const std::string count = std::to_string(QuestionCount());
    const std::string rule = RuleText(language);
    const std::string range = ValueRangeText();
    const std::string difficulty = DifficultyName(language);
    const std::string note = DifficultyNote(language);
    const auto twoParts = [&](int first, int second) {
        return "\t\t\t" + language.GetLocalizedString(first) + "\r\n\r\n" + language.GetLocalizedString(second);
    };
    switch (m_setup.mode) {
    case RunMode::Training:
        return FillMarks(twoParts(IDS_DIALOG_MAIN_RULE_TRAINING1, IDS_DIALOG_MAIN_RULE_TRAINING2),
                         {count, rule, range, difficulty, note});
    case RunMode::TrainingGame: {
        const std::string limit =
            m_setup.timeLimitSeconds == -1
                ? language.GetLocalizedString(IDS_BMT_NONE)
                : language.GetLocalizedString(IDS_DIALOG_MAIN_X_MINUTES, std::to_string(m_setup.timeLimitSeconds / 60));
        return FillMarks("\t\t\t" + language.GetLocalizedString(IDS_DIALOG_MAIN_RULE_TRAINING_GAME),
                         {count, rule, range, difficulty, limit, note});
    }
    case RunMode::WorldCup:
        return FillMarks(twoParts(IDS_DIALOG_MAIN_RULE_WORLD_CUP1, IDS_DIALOG_MAIN_RULE_WORLD_CUP2),
                         {language.GetLocalizedString(IDS_BMT_X_LEVEL, LevelName(language)), rule, range,
                          difficulty, note});
    case RunMode::Free: break;
    }
    return {};
}

}  // namespace tavlix
