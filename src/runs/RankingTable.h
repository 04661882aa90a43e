#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlix {

class LanguageState;
class Profile;

// Every World Cup: 40 questions in 40 minutes.
inline constexpr std::size_t kWorldCupQuestions = 40;
inline constexpr std::uint32_t kWorldCupSeconds = 2400;

// Amateurs are ranked by their score (correct answers of 24 to 39), professionals, who
// answered all 40 questions, by the seconds they needed.
enum class RankingKind { Amateur, Professional };

struct RankingEntry {
    std::string name;
    std::uint32_t value = 0;  // the score of an amateur, the seconds of a professional
    bool operator==(const RankingEntry&) const = default;
};

// One row of a shown table: "Number %1:", the name and the value, or "(N/A)" twice for a
// place nobody holds.
struct RankingRow {
    std::string number;
    std::string name;
    std::string value;
    bool operator==(const RankingRow&) const = default;
};

// One of the eight world rankings: the six best World Cup results of one kind at one
// level, kept in the settings section "Rank\<code>" as "Name1".."Name6" and
// "Score1".."Score6". Entries are kept best first; an entry never holds a value outside
// the kind's range, whatever the settings hold.
class RankingTable {
public:
    static constexpr std::size_t kPlaces = 6;
    static constexpr std::uint32_t kLowestAmateurScore = 24;
    static constexpr std::uint32_t kHighestAmateurScore = kWorldCupQuestions - 1;
    static constexpr std::uint32_t kFastestSeconds = 10;
    static constexpr std::uint32_t kSlowestSeconds = kWorldCupSeconds;

    // An empty table; Load fills it from the settings.
    RankingTable(RankingKind kind, bool standardRule, bool jqkEnabled);

    // The places whose value is in range, best first. The exchange sort swaps only for a
    // strictly better entry, so a table as Add writes it keeps its order.
    static RankingTable Load(const Profile& profile, RankingKind kind, bool standardRule, bool jqkEnabled);

    RankingKind Kind() const { return m_kind; }
    const std::vector<RankingEntry>& Entries() const { return m_entries; }

    // "Rank\AMA_SS" for the amateurs of the Standard level, ... "Rank\PRO_AJ" for the
    // professionals of the Holy War level.
    std::string SectionName() const;

    // Whether the table can hold the value at all: 24 to 39 points, 10 to 2400 seconds.
    bool IsValidValue(std::uint32_t value) const;
    // Whether a new result enters: a valid value, and a free place or a 6th entry that
    // it beats (a tie stays out).
    bool Qualifies(std::uint32_t value) const;
    // Puts the result above the entries it beats and above equal ones, lets a seventh
    // entry fall off, and writes all six places. A name is cut to the 511 characters the
    // settings hold. False, and nothing changed, for a value the table cannot hold.
    bool Add(Profile& profile, std::string name, std::uint32_t value);

    // Competition numbering: an entry equal to the one before it shares its number
    // (1, 2, 2, 4 ...).
    std::vector<std::size_t> PlaceNumbers() const;
    // The six rows as the ranking window shows them.
    std::array<RankingRow, kPlaces> Rows(const LanguageState& language) const;
    // "World Ranking for Amateurs - %1 Level" or "... for Professional Players ...".
    std::string Caption(const LanguageState& language) const;

private:
    bool IsBetter(std::uint32_t value, std::uint32_t than) const;
    // The part of the section name that tells the eight tables apart.
    std::string LevelCode() const;
    std::string ValueText(std::uint32_t value, const LanguageState& language) const;
    void Store(Profile& profile) const;

    RankingKind m_kind;
    bool m_standardRule;
    bool m_jqkEnabled;
    std::vector<RankingEntry> m_entries;
};

// "Standard", "Hero", "Wizard" or "Holy War".
std::string GameLevelName(bool standardRule, bool jqkEnabled, const LanguageState& language);
// A professional time as "%1 min %2 sec": whole minutes and the seconds left over.
std::string RankingTimeText(std::uint32_t seconds, const LanguageState& language);
// "World Ranking on 24 Calculation for Amateurs" or "... for Professional Players".
std::string RankingTitle(RankingKind kind, const LanguageState& language);
// The congratulation of the name dialog, with the ranking's title.
std::string RankingNamePrompt(RankingKind kind, const LanguageState& language);

// The name typed last into the name dialog ("Last Name" of "Rank").
std::string LoadLastRankingName(const Profile& profile);
void StoreLastRankingName(Profile& profile, std::string_view name);

// What a finished World Cup offers: the table of its level that the result enters, and
// the value to enter.
struct RankingOffer {
    RankingTable table;
    std::uint32_t value;
};

// The ranking decision at the end of a World Cup: 24 to 39 correct answers try the
// amateur table with the score, all 40 the professional table with the seconds used
// (capped at the game's limit); fewer than 24 never rank. Nothing when the result does not
// enter its table.
std::optional<RankingOffer> DecideWorldCupRanking(const Profile& profile, std::size_t score,
                                                  std::int64_t secondsUsed, bool standardRule,
                                                  bool jqkEnabled);

}  // namespace tavlix
