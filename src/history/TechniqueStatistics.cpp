#include "history/TechniqueStatistics.h"

#include "history/HistoryTime.h"

namespace tavlix {

namespace {

QuestionNeeds NeedsOf(const AnswerRecord& record)
{
    NumberArray question;
    if (!CBMUtilities::GetQuestionFromString(record.question, question, kLargestNumber))
        return {};
    return LookUpQuestionNeeds(question, Rules::Of(record.standardRule, true));
}

}  // namespace

std::vector<TechniqueFigures> ComputeTechniqueFigures(std::span<const AnswerRecord> records)
{
    const std::size_t plain = kAllTechniques.size();  // the last entry
    std::vector<TechniqueFigures> figures(plain + 1);
    for (std::size_t i = 0; i < plain; ++i)
        figures[i].technique = kAllTechniques[i];
    std::vector<std::vector<std::int64_t>> times(figures.size());
    const auto count = [&](std::size_t entry, const AnswerRecord& record) {
        ++figures[entry].answers;
        figures[entry].correct += record.verdict == AnswerVerdict::Correct ? 1 : 0;
        times[entry].push_back(record.millisecondsTaken);
    };
    for (const AnswerRecord& record : records) {
        const QuestionNeeds needs = NeedsOf(record);
        if (needs.IsPlain())
            count(plain, record);
        for (const Technique technique : kAllTechniques)
            if (needs.needs.Has(technique))
                count(std::size_t(technique), record);
    }
    for (std::size_t i = 0; i < figures.size(); ++i)
        figures[i].medianMilliseconds = history_time::Median(std::move(times[i]));
    return figures;
}

std::optional<Technique> WeakestTechnique(std::span<const AnswerRecord> records)
{
    std::optional<Technique> weakest;
    double lowest = 2.0;  // above any share
    for (const TechniqueFigures& f : ComputeTechniqueFigures(records)) {
        if (!f.technique || f.answers < kAnswersToJudgeATechnique)
            continue;
        const double share = double(f.correct) / f.answers;
        if (share < lowest) {
            lowest = share;
            weakest = f.technique;
        }
    }
    return weakest;
}

}  // namespace tavlix
