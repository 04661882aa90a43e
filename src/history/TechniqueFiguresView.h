#pragma once

#include <QWidget>

#include <span>

#include "history/AnswerRecord.h"

class QLabel;
class QTableWidget;

namespace tavlix {

class LanguageState;

// The Statistics window's figures per technique: for each technique, and for the plain
// questions, the answers to the questions that need it, the share correct and the median
// time. Object names: techniqueNote, techniqueTable.
class TechniqueFiguresView : public QWidget {
    Q_OBJECT

public:
    TechniqueFiguresView(const LanguageState& language, QWidget* parent = nullptr);

    // The figures of these answers.
    void ShowFigures(std::span<const AnswerRecord> records);

private:
    const LanguageState& m_language;
    QLabel* m_note;
    QTableWidget* m_table;
};

}  // namespace tavlix
