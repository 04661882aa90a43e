#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace tavlix {

class Collection;
class LanguageState;
class Profile;
class UserDataDirectory;

// What the collection windows share: the language, the settings, where the collections
// live and how the user's help and folder choices are reached.
struct CollectionContext {
    const LanguageState& language;
    Profile& profile;
    UserDataDirectory& userData;
    std::function<void(int topic)> openHelpTopic;
    // Save-file picker: start path, title, filter; the chosen path or nothing.
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> pickSaveFile;
};

// Saves a collection to its file in the user data directory, showing the reason when
// that fails; true when it was written.
bool SaveCollection(Collection& collection, const CollectionContext& context, QWidget* parent);

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

// The list window of one collection.
class CollectionDlg : public QDialog {
    Q_OBJECT

public:
    CollectionDlg(Collection& collection, const CollectionContext& context, QWidget* parent = nullptr);
    ~CollectionDlg() override;

    bool Changed() const { return m_bChanged; }

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
    bool m_bChanged = false;
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

// Writes a collection as a text file: title, path, and whether notes and answers go in.
class TextExportDlg : public QDialog {
    Q_OBJECT

public:
    TextExportDlg(const Collection& collection, const CollectionContext& context, QWidget* parent = nullptr);

private:
    void Browse();
    void OnOk();
    std::string Key(const char* what) const;

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
