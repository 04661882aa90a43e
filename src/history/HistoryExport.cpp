#include "history/HistoryExport.h"

#include "history/HistoryTime.h"

namespace tavlix {

namespace {

constexpr const char* kModeNames[] = {"free", "training", "training_game", "world_cup"};
constexpr const char* kVerdictNames[] = {"correct", "incorrect", "rejected"};

template <std::size_t N>
const char* NameOf(const char* const (&names)[N], int value)
{
    return value >= 0 && static_cast<std::size_t>(value) < N ? names[value] : "";
}

// A field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line break,
// with each quote doubled.
void AppendField(std::string& out, const std::string& field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string HistoryToCsv(std::span<const AnswerRecord> records)
{
    std::string out = "answered_at,question,rule,jqk,mode,level,milliseconds,verdict,hint\r\n";
    for (const AnswerRecord& r : records) {
        out += history_time::IsoUtcText(r.answeredAt);
        out += ',';
        AppendField(out, r.question);
        out += r.standardRule ? ",standard," : ",nonstandard,";
        out += r.jqk ? "1," : "0,";
        out += NameOf(kModeNames, static_cast<int>(r.mode));
        out += ',' + std::to_string(r.level) + ',' + std::to_string(r.millisecondsTaken) + ',';
        out += NameOf(kVerdictNames, static_cast<int>(r.verdict));
        out += r.hintUsed ? ",1\r\n" : ",0\r\n";
    }
    return out;
}

}  // namespace tavlix
