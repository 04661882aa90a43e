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

// The answers of the message boxes as the English table labels them.
inline const QString kOk = QStringLiteral("OK");
inline const QString kCancel = QStringLiteral("Cancel");
inline const QString kYes = QStringLiteral("&Yes");
inline const QString kNo = QStringLiteral("&No");

// Answers the next message box when it opens, with a mouse click on the shown button of
// that label (kOk, kNo, ...) or with Esc ("Escape"). A box without such a button, or one
// that stays open, fails the test and is closed with a code no button gives.
inline void AnswerNextBox(SeenBox& seen, const QString& answer, std::function<void(CBMMessageBox*)> inspect = {})
{
    OnNextDialog(
        qApp,
        [&seen, answer, inspect = std::move(inspect)](QDialog* dialog) {
            auto* box = static_cast<CBMMessageBox*>(dialog);
            seen.shown = true;
            seen.text = box->findChild<QPlainTextEdit*>(QStringLiteral("messageText"))->toPlainText();
            seen.caption = box->windowTitle();
            if (inspect)
                inspect(box);
            if (answer == QLatin1String("Escape")) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                QAbstractButton* button = nullptr;
                for (const char* name : {"leftButton", "middleButton", "rightButton"}) {
                    auto* b = box->findChild<QAbstractButton*>(QLatin1String(name));
                    if (b->isVisible() && b->text() == answer)
                        button = b;
                }
                if (button)
                    QTest::mouseClick(button, Qt::LeftButton);
                else
                    QTest::qFail(qPrintable(QStringLiteral("no button %1 in the box \"%2\"").arg(answer, seen.text)),
                                 __FILE__, __LINE__);
            }
            if (box->isVisible()) {
                if (!QTest::currentTestFailed())
                    QTest::qFail("the message box stayed open", __FILE__, __LINE__);
                box->done(0);
            }
        },
        [](QDialog* dialog) { return qobject_cast<CBMMessageBox*>(dialog) != nullptr; });
}

}  // namespace tavlix::testing
