#pragma once

#include <QDialog>
#include <QFutureWatcher>

#include <filesystem>
#include <functional>
#include <string>

#include "completelist/CompleteList.h"

class QCheckBox;
class QGroupBox;
class QProgressBar;
class QRadioButton;

namespace tavlix {

class Clock;
class LanguageState;
class PictureButton;
class Profile;
class UserDataDirectory;

// What the complete list takes from the program.
struct CompleteListContext {
    const LanguageState& language;
    Profile& profile;
    const UserDataDirectory& writer;  // writes the page
    const Clock& clock;               // ages the pages made earlier
    std::filesystem::path programDirectory;  // the templates lie in its doc/ folder
    std::filesystem::path pageFolder;        // where the pages go
    // The main window takes the dialog's level before the list is made, and keeps it.
    std::function<void(bool standardRule, bool jqkEnabled)> applyLevel;
    // Shows a page in the web browser (and tells the user when that fails).
    std::function<void(const std::string& page)> openPage;
    std::function<void(int topic)> openHelpTopic;
};

// Tools > Complete List of All Solutions: the level and the kinds of configurations to
// list, then the page, made from the template of the interface language and shown in the
// browser. The configurations are solved on a worker thread, so the window answers
// the user all along, and Cancel stops the list between two configurations; a
// cancelled list writes nothing.
class CompleteListDlg : public QDialog {
    Q_OBJECT

public:
    explicit CompleteListDlg(CompleteListContext context, QWidget* parent = nullptr);
    ~CompleteListDlg() override;

    // Stops a list in the making and keeps the options for the next time.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CompleteListOptions ReadOptions() const;
    void ShowOptions(const CompleteListOptions& options);
    void OnKindClicked(ListedKind kind);
    void OnStart();
    void StartGenerating(std::string pageTemplate);
    void ShowProgress(int value);
    void Finish();
    // Cancels a list in the making and waits for the worker to stop: at most one
    // configuration, or the filling of the page.
    void StopGenerating();
    void ShowPage(const std::filesystem::path& page);
    // Where the page of the chosen options and the interface language goes.
    std::filesystem::path PagePath() const;
    QString Text(int id, const std::string& first = {}) const;

    CompleteListContext m_context;
    QRadioButton* m_standard;
    QRadioButton* m_advanced;
    QCheckBox* m_jqk;
    QCheckBox* m_withSolutions;
    QCheckBox* m_withoutSolution;
    PictureButton* m_start;
    PictureButton* m_cancel;
    QProgressBar* m_progress;
    QFutureWatcher<std::string>* m_generation;  // the page in the making
    bool m_running = false;  // a list is in the making and has not been cancelled
};

}  // namespace tavlix
