#pragma once

#include <QDialog>

#include <cstddef>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace tavlix {

class Collection;
struct CollectionContext;

// One item of a collection, or the stand-alone Instant Solutions tool: the question,
// the note, the rule, and the solutions of what is typed, as it is typed.
class CollectionItemDlg : public QDialog {
    Q_OBJECT

public:
    // collection null: Instant Solutions, whose OK only closes.
    CollectionItemDlg(const Collection* collection, std::size_t editedIndex,
                      const CollectionContext& context, bool advanced, QWidget* parent = nullptr);

    void SetItem(const QString& question, const QString& note);
    QString StoredQuestion() const { return m_stored; }
    QString Note() const;
    bool Advanced() const;

private:
    void RefreshSolutions();
    void OnOk();

    const Collection* m_collection;
    std::size_t m_editedIndex;
    const CollectionContext& m_context;
    QLineEdit* m_question;
    QLineEdit* m_note;
    QCheckBox* m_advanced;
    QPlainTextEdit* m_solutions;
    QString m_stored;
};

}  // namespace tavlix
