#include "runs/RankingTable.h"

#include <algorithm>
#include <utility>

#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/Profile.h"
#include "settings/SettingsTable.h"

namespace tavlix {

namespace {

// At most `count` UTF-8 characters of the text, none of them cut.
std::string_view CharacterPrefix(std::string_view text, std::size_t count)
{
    std::size_t end = 0;
    for (std::size_t seen = 0; end < text.size(); ++end) {
        const bool startsCharacter = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
        if (startsCharacter && seen++ == count)
            break;
    }
    return text.substr(0, end);
}

}  // namespace

RankingTable::RankingTable(RankingKind kind, bool standardRule, bool jqkEnabled)
    : m_kind(kind), m_standardRule(standardRule), m_jqkEnabled(jqkEnabled)
{
}

RankingTable RankingTable::Load(const Profile& profile, RankingKind kind, bool standardRule, bool jqkEnabled)
{
    RankingTable table(kind, standardRule, jqkEnabled);
    const std::string level = table.LevelCode();
    for (std::size_t place = 1; place <= kPlaces; ++place) {
        const std::string number = std::to_string(place);
        const std::uint32_t value = ReadSetting(profile, setting::kRankingScore, {level, number});
        if (table.IsValidValue(value))
            table.m_entries.push_back({ReadSetting(profile, setting::kRankingName, {level, number}), value});
    }
    std::vector<RankingEntry>& entries = table.m_entries;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        for (std::size_t j = i + 1; j < entries.size(); ++j)
            if (table.IsBetter(entries[j].value, entries[i].value))
                std::swap(entries[i], entries[j]);
    return table;
}

std::string RankingTable::LevelCode() const
{
    return RankingLevelCode(m_kind == RankingKind::Professional, m_standardRule, m_jqkEnabled);
}

std::string RankingTable::SectionName() const
{
    return FillSettingPattern(setting::kRankingScore.key.section, {LevelCode()});
}

bool RankingTable::IsValidValue(std::uint32_t value) const
{
    if (m_kind == RankingKind::Amateur)
        return value >= kLowestAmateurScore && value <= kHighestAmateurScore;
    return value >= kFastestSeconds && value <= kSlowestSeconds;
}

bool RankingTable::IsBetter(std::uint32_t value, std::uint32_t than) const
{
    return m_kind == RankingKind::Amateur ? value > than : value < than;
}

bool RankingTable::Qualifies(std::uint32_t value) const
{
    return IsValidValue(value) && (m_entries.size() < kPlaces || IsBetter(value, m_entries.back().value));
}

bool RankingTable::Add(Profile& profile, std::string name, std::uint32_t value)
{
    if (!IsValidValue(value))
        return false;
    std::size_t place = m_entries.size();
    while (place > 0 && !IsBetter(m_entries[place - 1].value, value))
        --place;
    name.resize(CharacterPrefix(name, Profile::kMaxStringLength).size());
    m_entries.insert(m_entries.begin() + std::ptrdiff_t(place), {std::move(name), value});
    if (m_entries.size() > kPlaces)
        m_entries.pop_back();
    Store(profile);
    return true;
}

void RankingTable::Store(Profile& profile) const
{
    const std::string level = LevelCode();
    for (std::size_t place = 1; place <= kPlaces; ++place) {
        const std::string number = std::to_string(place);
        const bool held = place <= m_entries.size();
        WriteSetting(profile, setting::kRankingName, held ? m_entries[place - 1].name : "", {level, number});
        WriteSetting(profile, setting::kRankingScore, held ? m_entries[place - 1].value : 0, {level, number});
    }
}

std::vector<std::size_t> RankingTable::PlaceNumbers() const
{
    std::vector<std::size_t> numbers;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const bool tied = i > 0 && m_entries[i].value == m_entries[i - 1].value;
        numbers.push_back(tied ? numbers.back() : i + 1);
    }
    return numbers;
}

std::string RankingTable::ValueText(std::uint32_t value, const LanguageState& language) const
{
    return m_kind == RankingKind::Amateur ? std::to_string(value) : RankingTimeText(value, language);
}

std::array<RankingRow, RankingTable::kPlaces> RankingTable::Rows(const LanguageState& language) const
{
    const std::vector<std::size_t> numbers = PlaceNumbers();
    const std::string blank = language.GetLocalizedString(IDS_DIALOG_RANK_BLANK);
    std::array<RankingRow, kPlaces> rows;
    for (std::size_t i = 0; i < kPlaces; ++i) {
        const bool held = i < m_entries.size();
        rows[i].number = language.GetLocalizedString(IDS_DIALOG_RANK_NUMBER_X, std::to_string(held ? numbers[i] : i + 1));
        rows[i].name = held ? m_entries[i].name : blank;
        rows[i].value = held ? ValueText(m_entries[i].value, language) : blank;
    }
    return rows;
}

std::string RankingTable::Caption(const LanguageState& language) const
{
    const int id = m_kind == RankingKind::Amateur ? IDS_DIALOG_WC_A_RANK_WITH_LEVEL : IDS_DIALOG_WC_P_RANK_WITH_LEVEL;
    return language.GetLocalizedString(id, GameLevelName(m_standardRule, m_jqkEnabled, language));
}

std::string GameLevelName(bool standardRule, bool jqkEnabled, const LanguageState& language)
{
    if (standardRule)
        return language.GetLocalizedString(jqkEnabled ? IDS_BMT_HERO : IDS_BMT_STANDARD);
    return language.GetLocalizedString(jqkEnabled ? IDS_BMT_HOLY_WAR : IDS_BMT_WIZARD);
}

std::string RankingTimeText(std::uint32_t seconds, const LanguageState& language)
{
    return language.GetLocalizedString(IDS_DIALOG_RANK_NORMAL_TIME, std::to_string(seconds / 60),
                                       std::to_string(seconds % 60));
}

std::string RankingTitle(RankingKind kind, const LanguageState& language)
{
    return language.GetLocalizedString(kind == RankingKind::Amateur ? IDS_DIALOG_WC_A_RANK : IDS_DIALOG_WC_P_RANK);
}

std::string RankingNamePrompt(RankingKind kind, const LanguageState& language)
{
    return language.GetLocalizedString(IDS_DIALOG_RANK_PROMPT_ENTER_NAME, RankingTitle(kind, language));
}

std::string LoadLastRankingName(const Profile& profile)
{
    return ReadSetting(profile, setting::kRankingLastName);
}

void StoreLastRankingName(Profile& profile, std::string_view name)
{
    WriteSetting(profile, setting::kRankingLastName, CharacterPrefix(name, Profile::kMaxStringLength));
}

std::optional<RankingOffer> DecideWorldCupRanking(const Profile& profile, std::size_t score,
                                                  std::int64_t secondsUsed, bool standardRule,
                                                  bool jqkEnabled)
{
    RankingKind kind = RankingKind::Amateur;
    std::uint32_t value = std::uint32_t(score);
    if (score == kWorldCupQuestions) {
        kind = RankingKind::Professional;
        value = std::uint32_t(std::clamp<std::int64_t>(secondsUsed, 0, kWorldCupSeconds));
    } else if (score < RankingTable::kLowestAmateurScore || score > RankingTable::kHighestAmateurScore) {
        return std::nullopt;
    }
    RankingTable table = RankingTable::Load(profile, kind, standardRule, jqkEnabled);
    if (!table.Qualifies(value))
        return std::nullopt;
    return RankingOffer{std::move(table), value};
}

}  // namespace tavlix
