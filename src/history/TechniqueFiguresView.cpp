#include "history/TechniqueFiguresView.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "common/TextUtilities.h"
#include "controls/DialogSupport.h"
#include "engine/TechniqueTexts.h"
#include "history/TechniqueStatistics.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

enum TechniqueColumn { kTechnique, kAnswers, kCorrect, kMedianTime, kColumnCount };

QString Number(double value, int decimals) { return QString::number(value, 'f', decimals); }

}  // namespace

TechniqueFiguresView::TechniqueFiguresView(const LanguageState& language, QWidget* parent)
    : QWidget(parent), m_language(language), m_note(new QLabel(this)), m_table(new QTableWidget(this))
{
    m_note->setObjectName(QStringLiteral("techniqueNote"));
    m_note->setText(LocalizedText(language, IDS_STATISTICS_TECHNIQUES));
    m_table->setObjectName(QStringLiteral("techniqueTable"));
    m_table->setColumnCount(kColumnCount);
    QStringList headers;
    for (const std::string& header : GetSAFromMLString(language.GetLocalizedString(IDS_STATISTICS_TECHNIQUE_COLUMNS)))
        headers << QString::fromStdString(header);
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setMinimumHeight(180);
    // Tab leaves the table for the window's buttons; screen readers name it by its note.
    m_table->setTabKeyNavigation(false);
    m_table->setAccessibleName(m_note->text());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_note);
    layout->addWidget(m_table);
}

// A technique without answers shows dashes rather than a share of nothing.
void TechniqueFiguresView::ShowFigures(std::span<const AnswerRecord> records)
{
    const std::vector<TechniqueFigures> figures = ComputeTechniqueFigures(records);
    m_table->clearContents();
    m_table->setRowCount(int(figures.size()));
    for (std::size_t row = 0; row < figures.size(); ++row) {
        const TechniqueFigures& f = figures[row];
        const std::string name = f.technique ? TechniqueTitle(*f.technique, m_language)
                                             : m_language.GetLocalizedString(IDS_TECHNIQUE_PLAIN_NAME);
        const auto figure = [&](int id, double value, int decimals) {
            return f.answers > 0 ? LocalizedText(m_language, id, Number(value, decimals).toStdString())
                                 : QStringLiteral("-");
        };
        const QString cells[kColumnCount] = {
            QString::fromStdString(name), QString::number(f.answers),
            figure(IDS_STATISTICS_PERCENT, 100.0 * f.correct / std::max(f.answers, 1), 0),
            figure(IDS_STATISTICS_SECONDS, f.medianMilliseconds / 1000.0, 1)};
        for (int column = 0; column < kColumnCount; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column != kTechnique)
                item->setTextAlignment(Qt::AlignCenter);
            m_table->setItem(int(row), column, item);
        }
    }
}

}  // namespace tavlix
