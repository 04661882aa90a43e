#pragma once

#include <QKeySequence>
#include <QObject>

#include <functional>
#include <map>
#include <vector>

#include "shell/CommandTable.h"

class QMenu;
class QMenuBar;
class QWidget;

namespace tavlix {

class LanguageState;

// The ways to the main window's commands besides its buttons: the popups of the menu
// bar, filled from the command table each time one opens, and the accelerator keys,
// which an enabled command takes before the edit keys of the window's boxes (Ctrl+Right
// is Next, not the next word).
class CommandBindings : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        std::function<CommandContext()> context;  // what the commands' state is now
        std::function<void(int id)> run;          // runs a command
    };

    CommandBindings(QMenuBar* menuBar, const LanguageState& language, Hooks hooks, QWidget* window);

    // The popups' titles in the interface language.
    void Retranslate();
    // The accelerators come before the keys of these edit boxes.
    void PutBefore(const std::vector<QWidget*>& boxes);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill(QMenu* menu, Popup popup);
    void AddAccelerator(const QKeySequence& keys, int id, QWidget* window);

    const LanguageState& m_language;
    Hooks m_hooks;
    std::map<Popup, QMenu*> m_popups;
    std::vector<QKeySequence> m_accelerators;
};

}  // namespace tavlix
