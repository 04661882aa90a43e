#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavlix {

class Collection;
struct CollectionContext;

// "Save to ..." of the main window: the question (pre-filled) and a note; the status
// line says why OK is not possible.
class SaveToDlg : public QDialog {
    Q_OBJECT

public:
    SaveToDlg(Collection& collection, const CollectionContext& context, const QString& question,
              const QString& note, QWidget* parent = nullptr);

private:
    void Refresh();
    void OnOk();

    Collection& m_collection;
    const CollectionContext& m_context;
    QLineEdit* m_question;
    QLineEdit* m_note;
    QLabel* m_status;
    QPushButton* m_ok;
};

}  // namespace tavlix
