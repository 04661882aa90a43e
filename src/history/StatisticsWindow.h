#pragma once

#include <QDialog>
#include <QString>

#include <ctime>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "history/AnswerRecord.h"
#include "history/Statistics.h"

class QChartView;
class QComboBox;
class QLabel;
class QLayout;
class QPushButton;
class QTableWidget;

namespace tavlix {

class HistoryStore;
class LanguageState;
class TechniqueFiguresView;

// F1 in the Statistics window opens this help topic.
constexpr int kStatisticsHelpTopic = 30;

// What the Statistics window takes from the program.
struct StatisticsContext {
    const LanguageState& language;
    std::time_t now = 0;  // the program's clock when the window opens
    std::function<void(int topic)> openHelpTopic;
    // Save-file picker: start path, title, filter; the chosen path or nothing.
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> pickSaveFile;
    // Puts a question into the main window's boxes with its rule and J/Q/K. Empty while
    // a training runs: its question must not be replaced, and the window says so.
    std::function<void(const std::string& question, bool standardRule, bool jqk)> openQuestion;
};

// The periods the window can show, counted in local days up to today.
enum class StatisticsPeriod { Last30Days = 0, Last90Days = 1, LastYear = 2, All = 3 };

// Tools > Statistics: the player's answers over a period as figures, a chart of
// accuracy and median time per day, a chart of answers per rule and level, and the
// hardest questions, of which a double click opens one in the main window. "Export
// CSV..." writes the answers of the period to a file.
class StatisticsWindow : public QDialog {
    Q_OBJECT

public:
    // The records are the whole history, in any order.
    StatisticsWindow(StatisticsContext context, std::vector<AnswerRecord> records, QWidget* parent = nullptr);
    ~StatisticsWindow() override;

    void ShowPeriod(StatisticsPeriod period);
    StatisticsPeriod Period() const { return m_period; }
    const HistoryStatistics& Figures() const { return m_figures; }
    // The answers of the shown period, oldest first.
    std::span<const AnswerRecord> PeriodRecords() const;

private:
    QLayout* BuildFigures();
    QTableWidget* BuildHardestTable();
    QLayout* BuildButtons();
    void BuildDayChart();
    void BuildLevelChart();
    void FillFigures();
    void FillHardest();
    void OnOpenQuestion(int row);
    void OnExport();
    // Writes the text to the file as a whole or not at all; the reason of a failure in
    // `error`.
    static bool WriteWhole(const QString& file, const std::string& text, QString& error);
    QString Text(int id, const std::string& first = {}, const std::string& second = {}) const;

    StatisticsContext m_context;
    std::vector<AnswerRecord> m_records;  // sorted by time
    int m_utcOffset = 0;
    int m_streakDays = 0;  // over the whole history, whatever the period
    StatisticsPeriod m_period = StatisticsPeriod::Last30Days;
    HistoryStatistics m_figures;

    QComboBox* m_periodBox;
    QLabel* m_answers;
    QLabel* m_correct;
    QLabel* m_medianTime;
    QLabel* m_hints;
    QLabel* m_days;
    QLabel* m_streak;
    QChartView* m_dayChart;
    QChartView* m_levelChart;
    QTableWidget* m_hardest;
    QLabel* m_hardestNote;
    TechniqueFiguresView* m_techniques;
    QPushButton* m_export;
};

// Tools > Statistics: the whole history in the window, or why it cannot be shown (no
// history, or it could not be read; what could be read is still shown).
void ShowStatistics(StatisticsContext context, HistoryStore* history, QWidget* parent);

}  // namespace tavlix
