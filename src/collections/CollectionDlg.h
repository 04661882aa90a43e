#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace tavlix {

class Collection;
struct CollectionContext;

// The list window of one collection.
class CollectionDlg : public QDialog {
    Q_OBJECT

public:
    CollectionDlg(Collection& collection, const CollectionContext& context, QWidget* parent = nullptr);
    ~CollectionDlg() override;

    bool Changed() const { return m_changed; }

private:
    void Fill(const std::string& selectQuestion, int selectRow = -1);
    void RefreshSelection();
    void ApplyWidth();
    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnExport();
    int SelectedRow() const;
    QString Text(int id, const std::string& first = {}) const;

    Collection& m_collection;
    const CollectionContext& m_context;
    bool m_changed = false;
    QTreeWidget* m_list;
    QPlainTextEdit* m_details;
    QPlainTextEdit* m_solutions;
    QCheckBox* m_showSolutions;
    QCheckBox* m_advanced;
    QPushButton* m_add;
    QPushButton* m_delete;
    QPushButton* m_modify;
    QPushButton* m_export;
};

}  // namespace tavlix
