#include "shell/CommandBindings.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

CommandBindings::CommandBindings(QMenuBar* menuBar, const LanguageState& language, Hooks hooks, QWidget* window)
    : QObject(window), m_language(language), m_hooks(std::move(hooks))
{
    for (const Popup popup : {Popup::Game, Popup::UI, Popup::Music, Popup::Tools, Popup::Help}) {
        auto* menu = new QMenu(window);
        menu->setObjectName(QStringLiteral("popup%1").arg(int(popup)));
        menu->setToolTipsVisible(true);  // only entries given a tip of their own show one
        // Entries follow the language and the state of the moment they open.
        connect(menu, &QMenu::aboutToShow, this, [this, menu, popup] { Fill(menu, popup); });
        menuBar->addMenu(menu);
        m_popups[popup] = menu;
    }
    AddAccelerator(QKeySequence(Qt::CTRL | Qt::Key_D), ID_DONE, window);
    AddAccelerator(QKeySequence(Qt::CTRL | Qt::Key_S), ID_CHECK_SOLUTION, window);
    AddAccelerator(QKeySequence(Qt::CTRL | Qt::Key_H), ID_HINT, window);
    AddAccelerator(QKeySequence(Qt::CTRL | Qt::Key_Left), ID_PREVIOUS, window);
    AddAccelerator(QKeySequence(Qt::CTRL | Qt::Key_Right), ID_NEXT, window);
    AddAccelerator(QKeySequence(Qt::CTRL | Qt::Key_Return), ID_SUBMIT, window);
    AddAccelerator(QKeySequence(Qt::CTRL | Qt::Key_Enter), ID_SUBMIT, window);
    AddAccelerator(QKeySequence(Qt::Key_F1), ID_HELP, window);
}

void CommandBindings::AddAccelerator(const QKeySequence& keys, int id, QWidget* window)
{
    m_accelerators.push_back(keys);
    auto* shortcut = new QShortcut(keys, window);
    connect(shortcut, &QShortcut::activated, this, [this, id] {
        if (IsCommandEnabled(id, m_hooks.context()))
            m_hooks.run(id);
    });
}

void CommandBindings::PutBefore(const std::vector<QWidget*>& boxes)
{
    for (QWidget* box : boxes)
        box->installEventFilter(this);
}

bool CommandBindings::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed((key->modifiers() & ~Qt::KeypadModifier) | key->key());
        if (std::find(m_accelerators.begin(), m_accelerators.end(), pressed) != m_accelerators.end())
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void CommandBindings::Retranslate()
{
    for (const auto& [popup, title] : MenuBar(m_language))
        m_popups[popup]->setTitle(ToQString(title));
}

void CommandBindings::Fill(QMenu* menu, Popup popup)
{
    menu->clear();
    for (const MenuEntry& e : PopupEntries(popup, m_hooks.context(), m_language, m_language.ProductName())) {
        if (e.IsSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(ToQString(e.text));
        action->setData(e.id);
        action->setEnabled(!e.grayed);
        action->setCheckable(e.checked);
        action->setChecked(e.checked);
        if (e.id == ID_HINT)
            action->setToolTip(LocalizedText(m_language, IDS_TIP_HINT));
        connect(action, &QAction::triggered, this, [this, id = e.id] { m_hooks.run(id); });
    }
}

}  // namespace tavlix
