#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

#include "platform/InMemoryProfileStore.h"
#include "platform/Media.h"
#include "platform/Shell.h"
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

class FakeShell : public Shell {
public:
    bool Open(const std::string& address) override
    {
        opened.push_back(address);
        return true;
    }
    std::vector<std::string> opened;
};

class FakeMedia : public Media {
public:
    void PlaySound(Sound sound) override { sounds.push_back(sound); }
    void StartMusicFor(Mode mode) override { music.push_back(mode); }
    bool IsMusicOn() const override { return on; }
    void SetMusicOn(bool value) override { on = value; }
    std::vector<Sound> sounds;
    std::vector<Mode> music;
    bool on = true;
};

inline LanguageState MakeLanguage(std::uint32_t lcid = kLcidEnglish)
{
    InMemoryProfileStore store;
    store.WriteInt("Shell", "LCID", lcid);
    LanguageState language;
    language.InitLanguage(Edition::Standard, store, kLcidEnglish);
    return language;
}

// What a modal message box showed, and how it was answered.
struct SeenBox {
    QString text;
    QString caption;
    bool shown = false;
};

// Answers the next message box when it opens, by clicking the button with that
// object name ("leftButton", "middleButton", "rightButton"), or by a key.
inline void AnswerNextBox(SeenBox& seen, const QString& button, std::function<void(CBMMessageBox*)> inspect = {})
{
    QTimer::singleShot(0, [&seen, button, inspect] {
        auto* box = qobject_cast<CBMMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextBox(seen, button, inspect);
            return;
        }
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
    });
}

}  // namespace tavlix::testing
