#include "history/StatisticsWindow.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <set>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "history/HistoryExport.h"
#include "history/HistoryStore.h"
#include "history/TechniqueFiguresView.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;
constexpr int kPeriodDays[] = {30, 90, 365, 0};  // by StatisticsPeriod; 0 keeps every day

enum HardestColumn { kQuestion, kRule, kRange, kAnswers, kCorrect, kMedianTime, kHints, kColumnCount };

// The lines of a list text of the table ("a\r\nb\r\nc").
QStringList ListItems(const LanguageState& language, int id)
{
    return QString::fromStdString(language.GetLocalizedString(id)).split(QStringLiteral("\r\n"));
}

std::string Number(double value, int decimals) { return QString::number(value, 'f', decimals).toStdString(); }

// The first second of the local day `daysBack` days before the one holding `now`.
std::int64_t LocalDayStart(std::int64_t now, int utcOffset, int daysBack)
{
    const std::int64_t local = now + utcOffset;
    const std::int64_t midnight = local - ((local % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
    return midnight - utcOffset - std::int64_t(daysBack) * kSecondsPerDay;
}

// The step between the ticks of a count axis from 0 to `most`: 1, 2 or 5 times a power of
// ten, the smallest that needs no more than eight steps.
int CountStep(int most)
{
    for (int power = 1;; power *= 10)
        for (const int factor : {1, 2, 5})
            if ((most + factor * power - 1) / (factor * power) <= 8)
                return factor * power;
}

// An axis of whole counts from 0 to at least `most`, so that no label repeats or shows a
// fraction.
void SetCountRange(QValueAxis& axis, int most)
{
    const int step = CountStep(most);
    axis.setRange(0, (most + step - 1) / step * step);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0);
    axis.setTickInterval(step);
    axis.setMinorTickCount(0);
    axis.setLabelFormat(QStringLiteral("%d"));
}

QChartView* MakeChartView(const char* name, QWidget* parent)
{
    auto* view = new QChartView(parent);
    view->setObjectName(QLatin1String(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(420, 280);
    return view;
}

}  // namespace

StatisticsWindow::StatisticsWindow(StatisticsContext context, std::vector<AnswerRecord> records, QWidget* parent)
    : QDialog(parent),
      m_context(std::move(context)),
      m_records(std::move(records)),
      m_periodBox(new QComboBox(this)),
      m_answers(new QLabel(this)),
      m_correct(new QLabel(this)),
      m_medianTime(new QLabel(this)),
      m_hints(new QLabel(this)),
      m_days(new QLabel(this)),
      m_streak(new QLabel(this)),
      m_dayChart(MakeChartView("dayChart", this)),
      m_levelChart(MakeChartView("levelChart", this)),
      m_hardest(new QTableWidget(this)),
      m_hardestNote(new QLabel(this)),
      m_techniques(new TechniqueFiguresView(m_context.language, this)),
      m_export(new QPushButton(this))
{
    setObjectName(QStringLiteral("statisticsWindow"));
    setWindowTitle(Text(IDS_STATISTICS_CAPTION));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    if (!std::is_sorted(m_records.begin(), m_records.end(),
                        [](const AnswerRecord& a, const AnswerRecord& b) { return a.answeredAt < b.answeredAt; }))
        std::stable_sort(m_records.begin(), m_records.end(),
                         [](const AnswerRecord& a, const AnswerRecord& b) { return a.answeredAt < b.answeredAt; });
    m_utcOffset = QDateTime::fromSecsSinceEpoch(m_context.now).offsetFromUtc();
    // The streak reaches back as far as the player kept it, beyond any period shown.
    m_streakDays = ComputeStatistics(m_records, m_context.now, m_utcOffset, 0).streakDays;

    auto* charts = new QHBoxLayout;
    charts->addWidget(m_dayChart, 3);
    charts->addWidget(m_levelChart, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildFigures());
    layout->addLayout(charts, 1);
    layout->addWidget(m_hardestNote);
    layout->addWidget(BuildHardestTable());
    layout->addWidget(m_techniques);
    layout->addLayout(BuildButtons());
    resize(980, 720);

    ShowPeriod(StatisticsPeriod::Last30Days);
    connect(m_periodBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { ShowPeriod(StatisticsPeriod(index)); });
    InstallHelpKey(this, m_context.openHelpTopic, kStatisticsHelpTopic);
}

// The period chooser, then the six figures in two rows.
QLayout* StatisticsWindow::BuildFigures()
{
    m_periodBox->setObjectName(QStringLiteral("periodBox"));
    m_periodBox->addItems(ListItems(m_context.language, IDS_STATISTICS_PERIOD_LIST));
    auto* periodLabel = new QLabel(Text(IDS_STATISTICS_PERIOD_P), this);
    periodLabel->setBuddy(m_periodBox);
    const std::pair<QLabel*, const char*> figures[] = {
        {m_answers, "answersFigure"}, {m_correct, "correctFigure"}, {m_medianTime, "medianTimeFigure"},
        {m_hints, "hintsFigure"},     {m_days, "daysFigure"},       {m_streak, "streakFigure"}};
    auto* figureGrid = new QGridLayout;
    figureGrid->setHorizontalSpacing(24);
    for (int i = 0; i < 6; ++i) {
        QLabel* label = figures[i].first;
        label->setObjectName(QLatin1String(figures[i].second));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figureGrid->addWidget(label, i % 2, i / 2);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(periodLabel);
    top->addWidget(m_periodBox);
    top->addSpacing(16);
    top->addLayout(figureGrid, 1);
    return top;
}

QTableWidget* StatisticsWindow::BuildHardestTable()
{
    m_hardest->setObjectName(QStringLiteral("hardestTable"));
    m_hardest->setColumnCount(kColumnCount);
    m_hardest->setHorizontalHeaderLabels(ListItems(m_context.language, IDS_STATISTICS_COLUMNS));
    m_hardest->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_hardest->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_hardest->setSelectionMode(QAbstractItemView::SingleSelection);
    m_hardest->verticalHeader()->hide();
    m_hardest->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_hardest->setMinimumHeight(180);
    // A double click or Enter on a row opens its question.
    connect(m_hardest, &QTableWidget::cellActivated, this, [this](int row, int) { OnOpenQuestion(row); });
    m_hardestNote->setObjectName(QStringLiteral("hardestNote"));
    // Tab leaves the table for the buttons; the arrow keys move in it.
    m_hardest->setTabKeyNavigation(false);
    m_hardest->setAccessibleName(Text(IDS_STATISTICS_HARDEST));
    return m_hardest;
}

// Export on the left, Close on the right.
QLayout* StatisticsWindow::BuildButtons()
{
    m_export->setObjectName(QStringLiteral("exportButton"));
    m_export->setText(Text(IDS_STATISTICS_EXPORT_E));
    m_export->setAutoDefault(false);
    connect(m_export, &QPushButton::clicked, this, &StatisticsWindow::OnExport);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setText(Text(IDS_STATISTICS_CLOSE));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_export);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    return bottom;
}

StatisticsWindow::~StatisticsWindow() = default;

QString StatisticsWindow::Text(int id, const std::string& first, const std::string& second) const
{
    return ToQString(m_context.language.GetLocalizedString(id, first, second));
}

std::span<const AnswerRecord> StatisticsWindow::PeriodRecords() const
{
    const int days = kPeriodDays[int(m_period)];
    if (days == 0)
        return m_records;
    const std::int64_t from = LocalDayStart(m_context.now, m_utcOffset, days - 1);
    const auto first = std::partition_point(m_records.begin(), m_records.end(),
                                            [from](const AnswerRecord& r) { return r.answeredAt < from; });
    return {first, m_records.end()};
}

void StatisticsWindow::ShowPeriod(StatisticsPeriod period)
{
    m_period = period;
    if (m_periodBox->currentIndex() != int(period))
        m_periodBox->setCurrentIndex(int(period));
    m_figures = ComputeStatistics(PeriodRecords(), m_context.now, m_utcOffset);
    FillFigures();
    BuildDayChart();
    BuildLevelChart();
    FillHardest();
    m_techniques->ShowFigures(PeriodRecords());
    m_export->setEnabled(m_figures.totalAnswers > 0);
}

void StatisticsWindow::FillFigures()
{
    const HistoryStatistics& f = m_figures;
    const std::string percent =
        f.totalAnswers > 0
            ? m_context.language.GetLocalizedString(IDS_STATISTICS_PERCENT, Number(100.0 * f.totalCorrect / f.totalAnswers, 1))
            : std::string("-");
    m_answers->setText(Text(IDS_STATISTICS_ANSWERS, std::to_string(f.totalAnswers)));
    m_correct->setText(Text(IDS_STATISTICS_CORRECT, std::to_string(f.totalCorrect), percent));
    m_medianTime->setText(Text(IDS_STATISTICS_MEDIAN_TIME,
                               m_context.language.GetLocalizedString(IDS_STATISTICS_SECONDS,
                                                                     Number(f.medianMilliseconds / 1000.0, 1))));
    m_hints->setText(Text(IDS_STATISTICS_HINTS, std::to_string(f.totalHints)));
    m_days->setText(Text(IDS_STATISTICS_DAYS, std::to_string(f.days.size())));
    m_streak->setText(Text(m_streakDays == 1 ? IDS_STATISTICS_STREAK_ONE_DAY : IDS_STATISTICS_STREAK,
                           std::to_string(m_streakDays)));
}

void StatisticsWindow::BuildDayChart()
{
    auto* chart = new QChart;
    chart->setTitle(Text(IDS_STATISTICS_DAY_CHART));
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* accuracy = new QLineSeries;
    accuracy->setObjectName(QStringLiteral("accuracySeries"));
    accuracy->setName(Text(IDS_STATISTICS_ACCURACY_SERIES));
    auto* medianTime = new QLineSeries;
    medianTime->setObjectName(QStringLiteral("medianTimeSeries"));
    medianTime->setName(Text(IDS_STATISTICS_TIME_SERIES));
    double slowest = 0;
    qint64 firstDay = 0;
    qint64 lastDay = 0;
    for (const DayFigures& day : m_figures.days) {
        const qint64 at = QDate::fromString(QString::fromStdString(day.day), Qt::ISODate).startOfDay().toMSecsSinceEpoch();
        if (firstDay == 0)
            firstDay = at;
        lastDay = at;
        accuracy->append(double(at), day.answers > 0 ? 100.0 * day.correct / day.answers : 0.0);
        const double seconds = day.medianMilliseconds / 1000.0;
        medianTime->append(double(at), seconds);
        slowest = std::max(slowest, seconds);
    }
    // A few days read better as points than as a bare line.
    const bool fewDays = m_figures.days.size() < 40;
    accuracy->setPointsVisible(fewDays);
    medianTime->setPointsVisible(fewDays);
    chart->addSeries(accuracy);
    chart->addSeries(medianTime);

    auto* time = new QDateTimeAxis;
    const qint64 day = kSecondsPerDay * 1000;
    if (firstDay == 0)
        firstDay = lastDay = QDateTime::fromSecsSinceEpoch(m_context.now).date().startOfDay().toMSecsSinceEpoch();
    // Days of more than one year need the year to tell them apart.
    const bool oneYear = QDateTime::fromMSecsSinceEpoch(firstDay).date().year() ==
                         QDateTime::fromMSecsSinceEpoch(lastDay).date().year();
    time->setFormat(oneYear ? QStringLiteral("MM-dd") : QStringLiteral("yyyy-MM-dd"));
    time->setRange(QDateTime::fromMSecsSinceEpoch(firstDay - (firstDay == lastDay ? day : 0)),
                   QDateTime::fromMSecsSinceEpoch(lastDay + (firstDay == lastDay ? day : 0)));
    chart->addAxis(time, Qt::AlignBottom);
    auto* percentAxis = new QValueAxis;
    percentAxis->setRange(0, 100);
    percentAxis->setLabelFormat(QStringLiteral("%d"));
    percentAxis->setTitleText(accuracy->name());
    chart->addAxis(percentAxis, Qt::AlignLeft);
    auto* secondsAxis = new QValueAxis;
    secondsAxis->setRange(0, slowest > 0 ? slowest * 1.1 : 10);
    secondsAxis->applyNiceNumbers();
    secondsAxis->setTitleText(medianTime->name());
    chart->addAxis(secondsAxis, Qt::AlignRight);
    for (QLineSeries* series : {accuracy, medianTime})
        series->attachAxis(time);
    accuracy->attachAxis(percentAxis);
    medianTime->attachAxis(secondsAxis);

    QChart* old = m_dayChart->chart();
    m_dayChart->setChart(chart);
    delete old;
}

void StatisticsWindow::BuildLevelChart()
{
    auto* chart = new QChart;
    chart->setTitle(Text(IDS_STATISTICS_LEVEL_CHART));
    chart->legend()->setAlignment(Qt::AlignBottom);
    std::set<int> levels = {1, 2, 3, 4};
    for (const auto& [key, count] : m_figures.answersByRuleAndLevel)
        levels.insert(key.second);
    auto* standard = new QBarSet(Text(IDS_BMT_STANDARD_RULE));
    auto* advanced = new QBarSet(Text(IDS_BMT_ADVANCED_RULE));
    QStringList categories;
    int most = 0;
    for (const int level : levels) {
        categories << Text(IDS_STATISTICS_LEVEL, std::to_string(level));
        for (auto [set, rule] : {std::pair{standard, true}, std::pair{advanced, false}}) {
            const auto it = m_figures.answersByRuleAndLevel.find({rule, level});
            const int count = it != m_figures.answersByRuleAndLevel.end() ? it->second : 0;
            set->append(count);
            most = std::max(most, count);
        }
    }
    auto* series = new QBarSeries;
    series->setObjectName(QStringLiteral("levelSeries"));
    series->append(standard);
    series->append(advanced);
    chart->addSeries(series);
    auto* levelAxis = new QBarCategoryAxis;
    levelAxis->append(categories);
    chart->addAxis(levelAxis, Qt::AlignBottom);
    series->attachAxis(levelAxis);
    auto* countAxis = new QValueAxis;
    SetCountRange(*countAxis, most > 0 ? most : 10);
    chart->addAxis(countAxis, Qt::AlignLeft);
    series->attachAxis(countAxis);

    QChart* old = m_levelChart->chart();
    m_levelChart->setChart(chart);
    delete old;
}

void StatisticsWindow::FillHardest()
{
    const auto& hardest = m_figures.hardest;
    m_hardest->clearContents();
    m_hardest->setRowCount(int(hardest.size()));
    for (std::size_t i = 0; i < hardest.size(); ++i) {
        const QuestionFigures& q = hardest[i];
        const std::string percent = m_context.language.GetLocalizedString(
            IDS_STATISTICS_PERCENT, Number(q.answers > 0 ? 100.0 * q.correct / q.answers : 0.0, 0));
        const QString cells[kColumnCount] = {
            QString::fromStdString(q.question),
            Text(q.standardRule ? IDS_BMT_STANDARD_RULE : IDS_BMT_ADVANCED_RULE),
            QString::fromLatin1(q.jqk ? "1-13" : "1-10"),  // as a run states its value range
            QString::number(q.answers),
            QString::fromStdString(percent),
            Text(IDS_STATISTICS_SECONDS, Number(q.medianMilliseconds / 1000.0, 1)),
            QString::number(q.hints)};
        for (int column = 0; column < kColumnCount; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column >= kAnswers)
                item->setTextAlignment(Qt::AlignCenter);
            m_hardest->setItem(int(i), column, item);
        }
    }
    m_hardestNote->setText(Text(hardest.empty() ? IDS_STATISTICS_NO_ANSWERS : IDS_STATISTICS_HARDEST));
}

void StatisticsWindow::OnOpenQuestion(int row)
{
    if (row < 0 || std::size_t(row) >= m_figures.hardest.size())
        return;
    if (!m_context.openQuestion) {
        ShowNotice(Text(IDS_STATISTICS_OPEN_OUTSIDE_TRAINING), this, MB_ICONASTERISK);
        return;
    }
    const QuestionFigures& q = m_figures.hardest[std::size_t(row)];
    m_context.openQuestion(q.question, q.standardRule, q.jqk);
    // The player goes on in the main window, with the question in front of them.
    accept();
}

void StatisticsWindow::OnExport()
{
    if (!m_context.pickSaveFile)
        return;
    const QString start = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                              .filePath(QStringLiteral("tavlix-answers.csv"));
    QString chosen = m_context.pickSaveFile(this, start, windowTitle(),
                                            QtFileFilter(m_context.language.GetLocalizedString(IDS_STATISTICS_FILE_TYPE_CSV)));
    if (chosen.isEmpty())
        return;
    if (!chosen.right(6).contains(QLatin1Char('.')))
        chosen += QStringLiteral(".csv");
    QString reason;
    if (!WriteWhole(chosen, HistoryToCsv(PeriodRecords()), reason))
        ShowNotice(Text(IDS_STATISTICS_EXPORT_FAILED, QDir::toNativeSeparators(chosen).toStdString(), reason.toStdString()),
                   this);
}

bool StatisticsWindow::WriteWhole(const QString& file, const std::string& text, QString& error)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        error = out.errorString();
        return false;
    }
    if (out.write(text.data(), qint64(text.size())) != qint64(text.size())) {
        error = out.errorString();
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        error = out.errorString();
        return false;
    }
    return true;
}

void ShowStatistics(StatisticsContext context, HistoryStore* history, QWidget* parent)
{
    const LanguageState& language = context.language;
    if (!history) {
        ShowNotice(LocalizedText(language, IDS_STATISTICS_NO_HISTORY), parent, MB_ICONASTERISK);
        return;
    }
    std::string error;
    std::vector<AnswerRecord> records = history->LoadAll(error);
    if (!error.empty()) {
        ShowNotice(LocalizedText(language, IDS_STATISTICS_LOAD_FAILED, error), parent);
        if (records.empty())
            return;
    }
    StatisticsWindow window(std::move(context), std::move(records), parent);
    window.exec();
}

}  // namespace tavlix
