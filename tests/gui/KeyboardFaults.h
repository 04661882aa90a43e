#pragma once

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <set>

#include "controls/HyperlinkLabel.h"

namespace tavlix::testing {

// What a player operates: buttons, boxes, lists, the link. The arrows beside number boxes
// are left out, as Up and Down in the boxes do their work; so are scroll bars.
inline bool IsControl(const QWidget* w)
{
    const auto* arrow = qobject_cast<const QToolButton*>(w);
    if (qobject_cast<const QScrollBar*>(w) || (arrow && arrow->arrowType() != Qt::NoArrow))
        return false;
    // The parts of a combined control count with it.
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
            qobject_cast<const QAbstractItemView*>(p))
            return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const HyperlinkLabel*>(w);
}

inline QString Describe(const QWidget* w)
{
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(w->metaObject()->className()), w->objectName());
}

// The controls a screen reader would find nameless, and the enabled ones that Tab never
// reaches (a radio button counts as reached with its group, whose others the arrow keys
// choose), in the window on top. Tab is pressed through the window system, as a
// player's key arrives.
inline QString KeyboardFaults(QWidget* window)
{
    QStringList faults;
    std::set<const QWidget*> reached;
    if (!QTest::qWaitForWindowActive(window))
        return QStringLiteral("the window never became active");
    for (int press = 0; press < 120; ++press) {
        if (QWidget* focus = window->focusWidget())
            reached.insert(focus);
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    }
    // Radio buttons of one choice: one button group, or one parent without a group.
    const auto sameChoice = [](const QWidget* a, const QWidget* b) {
        const auto* first = qobject_cast<const QRadioButton*>(a);
        const auto* second = qobject_cast<const QRadioButton*>(b);
        if (!first || !second)
            return false;
        return first->group() ? first->group() == second->group()
                              : !second->group() && first->parentWidget() == second->parentWidget();
    };
    const auto isReached = [&](const QWidget* w) {
        return std::any_of(reached.begin(), reached.end(),
                           [&](const QWidget* r) { return r == w || sameChoice(r, w); });
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || !IsControl(w))
            continue;
        if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).trimmed().isEmpty())
            faults << QStringLiteral("no name: ") + Describe(w);
        if (w->isEnabled() && !isReached(w))
            faults << QStringLiteral("not reached by Tab: ") + Describe(w);
    }
    return faults.join(QStringLiteral("; "));
}

}  // namespace tavlix::testing
