#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;

namespace tavlix {

class Collection;
struct CollectionContext;

// Writes a collection as a text file: title, path, and whether notes and answers go in.
class TextExportDlg : public QDialog {
    Q_OBJECT

public:
    TextExportDlg(const Collection& collection, const CollectionContext& context, QWidget* parent = nullptr);

private:
    void Browse();
    void OnOk();

    const Collection& m_collection;
    const CollectionContext& m_context;
    QLineEdit* m_title;
    QLineEdit* m_path;
    QCheckBox* m_questions;
    QCheckBox* m_notes;
    QCheckBox* m_answers;
    QString m_folder;
};

}  // namespace tavlix
