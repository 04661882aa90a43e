#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/InMemoryProfileStore.h"
#include "../i18n/TestLanguage.h"
#include "../media/FakeAudioDevice.h"
#include "../platform/FakeShell.h"
#include "controls/CBMMessageBox.h"
#include "i18n/LanguageState.h"

// Widget tests run without a display unless one is asked for.
#define TAVLIX_QTEST_MAIN(TestClass)                                   \
    int main(int argc, char** argv)                                    \
    {                                                                  \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))            \
            qputenv("QT_QPA_PLATFORM", "offscreen");                   \
        QApplication app(argc, argv);                                  \
        TestClass test;                                                \
        return QTest::qExec(&test, argc, argv);                        \
    }

namespace tavlix::testing {


// What a modal message box showed, and how it was answered.
struct SeenBox {
    QString text;
    QString caption;
    bool shown = false;
};

// Hands the next modal dialog that `wanted` accepts (any, without it) to `use` once it
// is open, then closes it if `use` left it open, so that a failed check inside cannot
// leave the test waiting on it. The wait gives up after about three seconds, or when
// `owner` goes, so a dialog that never came cannot leak into the next test.
inline void OnNextDialog(QObject* owner, std::function<void(QDialog*)> use,
                         std::function<bool(QDialog*)> wanted = {}, int attemptsLeft = 300)
{
    QTimer::singleShot(10, owner, [owner, use = std::move(use), wanted = std::move(wanted), attemptsLeft]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || (wanted && !wanted(dialog))) {
            if (attemptsLeft > 0)
                OnNextDialog(owner, std::move(use), std::move(wanted), attemptsLeft - 1);
            return;
        }
        use(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

// Answers the next message box when it opens, by clicking the button with that
// object name ("leftButton", "middleButton", "rightButton"), or by a key.
inline void AnswerNextBox(SeenBox& seen, const QString& button, std::function<void(CBMMessageBox*)> inspect = {})
{
    OnNextDialog(
        qApp,
        [&seen, button, inspect = std::move(inspect)](QDialog* dialog) {
            auto* box = static_cast<CBMMessageBox*>(dialog);
            seen.shown = true;
            seen.text = box->findChild<QPlainTextEdit*>(QStringLiteral("messageText"))->toPlainText();
            seen.caption = box->windowTitle();
            if (inspect)
                inspect(box);
            if (button == QLatin1String("Escape"))
                QTest::keyClick(box, Qt::Key_Escape);
            else if (auto* b = box->findChild<QAbstractButton*>(button))
                b->click();
            if (box->isVisible())  // a refused Esc: close it the way the test allows
                box->done(IDCANCEL);
        },
        [](QDialog* dialog) { return qobject_cast<CBMMessageBox*>(dialog) != nullptr; });
}

}  // namespace tavlix::testing
