#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyleOptionButton>

#include <map>

#include "GuiTestSupport.h"
#include "i18n/StringIds.h"

using namespace tavlix;
using namespace tavlix::testing;

class MessageBoxTest : public QObject {
    Q_OBJECT

    LanguageState m_language = MakeLanguage();
    CachedStrings m_cache;
    std::vector<int> m_helpTopics;

    // Opens a box, lets check look at it while it shows, then presses a button (by object
    // name, with the mouse) or keys ("key:Return", "key:Tab,Space": through the window, to
    // the control with the focus), or closes it. The box closes whatever check found, so
    // a failed check cannot leave it open; -99 when the press did not close it.
    int Run(unsigned type, const QString& press, std::function<void(CBMMessageBox&)> check = {},
            const QString& details = {}, bool detailsEnabled = false)
    {
        CBMMessageBox box;
        box.m_message = QStringLiteral("Message");
        box.m_style = type;
        box.m_detailsText = details;
        box.m_detailsEnabled = detailsEnabled;
        WhileOpen(box, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&box));
            if (check)
                check(box);
            Press(box, press);
        });
        const int result = box.exec();
        return box.result() == -99 ? -99 : result;
    }

    static void WhileOpen(CBMMessageBox& box, std::function<void()> use)
    {
        QTimer::singleShot(0, &box, [&box, use = std::move(use)] {
            const auto closeIfOpen = qScopeGuard([&box] {
                if (box.isVisible())
                    box.done(-99);
            });
            use();
        });
    }

    static void Press(CBMMessageBox& box, const QString& press)
    {
        static const std::map<QString, Qt::Key> kKeys = {
            {"Return", Qt::Key_Return}, {"Space", Qt::Key_Space}, {"Escape", Qt::Key_Escape}, {"Tab", Qt::Key_Tab}};
        if (press.startsWith(QLatin1String("key:"))) {
            for (const QString& key : press.mid(4).split(QLatin1Char(',')))
                QTest::keyClick(box.windowHandle(), kKeys.at(key));
        } else if (press == QLatin1String("close")) {
            box.close();
        } else {
            auto* button = box.findChild<QPushButton*>(press);
            QVERIFY2(button && button->isVisible(), qPrintable(press));
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }

private slots:
    void initTestCase()
    {
        m_cache.Reload(m_language);
        SetMessageBoxContext({&m_language, &m_cache, [this](int topic) { m_helpTopics.push_back(topic); }});
    }

    void buttonSets_data()
    {
        QTest::addColumn<unsigned>("type");
        QTest::addColumn<QStringList>("labels");  // left, middle, right ("" hidden)
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("ok") << unsigned(MB_OK) << QStringList{"", "", "OK"} << QList<int>{0, 0, IDOK};
        QTest::newRow("ok-cancel") << unsigned(MB_OKCANCEL) << QStringList{"", "OK", "Cancel"}
                                   << QList<int>{0, IDOK, IDCANCEL};
        QTest::newRow("abort-retry-ignore") << unsigned(MB_ABORTRETRYIGNORE)
                                            << QStringList{"&Abort", "&Retry", "&Ignore"}
                                            << QList<int>{IDABORT, IDRETRY, IDIGNORE};
        QTest::newRow("yes-no-cancel") << unsigned(MB_YESNOCANCEL) << QStringList{"&Yes", "&No", "Cancel"}
                                       << QList<int>{IDYES, IDNO, IDCANCEL};
        QTest::newRow("yes-no") << unsigned(MB_YESNO) << QStringList{"", "&Yes", "&No"}
                                << QList<int>{0, IDYES, IDNO};
        QTest::newRow("retry-cancel") << unsigned(MB_RETRYCANCEL) << QStringList{"", "&Retry", "Cancel"}
                                      << QList<int>{0, IDRETRY, IDCANCEL};
    }

    void buttonSets()
    {
        QFETCH(unsigned, type);
        QFETCH(QStringList, labels);
        QFETCH(QList<int>, codes);
        const char* names[] = {"leftButton", "middleButton", "rightButton"};
        const int first = labels[0].isEmpty() ? (labels[1].isEmpty() ? 2 : 1) : 0;
        for (int i = 0; i < 3; ++i) {
            if (labels[i].isEmpty())
                continue;
            const int result = Run(type, QLatin1String(names[i]), [&](CBMMessageBox& box) {
                for (int k = 0; k < 3; ++k) {
                    auto* b = box.findChild<QPushButton*>(QLatin1String(names[k]));
                    QCOMPARE(b->isVisible(), !labels[k].isEmpty());
                    if (!labels[k].isEmpty())
                        QCOMPARE(b->text(), labels[k]);
                }
            });
            QCOMPARE(result, codes[i]);
        }
        // The first button is the default: it has the focus, shows it from the start, and
        // Enter and Space answer it. Tab moves on, and Enter answers the button it reaches.
        Run(type, "key:Return", [&](CBMMessageBox& box) {
            auto* button = box.findChild<QPushButton*>(QLatin1String(names[first]));
            QVERIFY(button->isDefault());
            QVERIFY(button->hasFocus());
            QStyleOptionButton look;
            look.initFrom(button);
            QVERIFY2(look.state & QStyle::State_KeyboardFocusChange, "the focus frame shows");
        });
        QCOMPARE(Run(type, "key:Return"), codes[first]);
        QCOMPARE(Run(type, "key:Space"), codes[first]);
        if (first < 2)
            QCOMPARE(Run(type, "key:Tab,Return"), codes[first + 1]);
    }

    void escapeAndCloseRules()
    {
        QCOMPARE(Run(MB_OK, "key:Escape"), int(IDOK));
        QCOMPARE(Run(MB_OKCANCEL, "key:Escape"), int(IDCANCEL));
        QCOMPARE(Run(MB_YESNOCANCEL, "close"), int(IDCANCEL));
        QCOMPARE(Run(MB_RETRYCANCEL, "key:Escape"), int(IDCANCEL));
        // Yes/No and Abort/Retry/Ignore need an answer.
        QCOMPARE(Run(MB_YESNO, "key:Escape"), -99);
        QCOMPARE(Run(MB_YESNO, "close"), -99);
        QCOMPARE(Run(MB_ABORTRETRYIGNORE, "key:Escape"), -99);
    }

    // The default bits choose the button that Enter and Space answer.
    void defaultButtonBits()
    {
        const std::pair<unsigned, int> cases[] = {
            {MB_OK | MB_DEFBUTTON2, IDOK},       {MB_YESNOCANCEL, IDYES},
            {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO}, {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
            {MB_YESNO | MB_DEFBUTTON2, IDNO},     {MB_OKCANCEL | MB_DEFBUTTON3, IDOK},
            {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
        };
        for (const auto& [type, code] : cases) {
            QCOMPARE(Run(type, "key:Return"), code);
            QCOMPARE(Run(type, "key:Space"), code);
        }
    }

    void captionIconAndCheckBox()
    {
        CBMMessageBox box;
        box.m_message = QStringLiteral("Text");
        box.m_style = MB_OK | MB_ICONQUESTION;
        box.m_showCheckBox = true;
        box.m_checkBoxChecked = true;
        WhileOpen(box, [&] {
            QCOMPARE(box.windowTitle(), QStringLiteral("Tavlix"));
            QVERIFY(box.findChild<QLabel*>(QStringLiteral("icon"))->isVisible());
            auto* check = box.findChild<QCheckBox*>(QStringLiteral("checkBox"));
            QVERIFY(check->isVisible());
            QCOMPARE(check->text(), QStringLiteral("&Show this message next time"));
            QVERIFY(check->isChecked());
            check->click();
            box.findChild<QPushButton*>(QStringLiteral("rightButton"))->click();
        });
        box.exec();
        QVERIFY(!box.m_checkBoxChecked);

        CBMMessageBox plain;
        plain.m_caption = QStringLiteral("Own caption");
        WhileOpen(plain, [&] {
            QCOMPARE(plain.windowTitle(), QStringLiteral("Own caption"));
            QVERIFY(!plain.findChild<QLabel*>(QStringLiteral("icon"))->isVisible());
            QVERIFY(!plain.findChild<QCheckBox*>(QStringLiteral("checkBox"))->isVisible());
            plain.findChild<QPushButton*>(QStringLiteral("rightButton"))->click();
        });
        plain.exec();
    }

    void detailsToggleAndHelpKey()
    {
        Run(MB_OK, "rightButton", [](CBMMessageBox& box) {
            auto* button = box.findChild<QPushButton*>(QStringLiteral("detailsButton"));
            auto* details = box.findChild<QPlainTextEdit*>(QStringLiteral("detailsText"));
            QVERIFY(button->isEnabled());
            QCOMPARE(button->text(), QStringLiteral("&Details >>"));
            QVERIFY(!details->isVisible());
            const int collapsed = box.height();
            button->click();
            QVERIFY(box.IsExpanded());
            QVERIFY(details->isVisible());
            QCOMPARE(details->toPlainText(), QStringLiteral("More"));
            QCOMPARE(button->text(), QStringLiteral("<< &Details"));
            QVERIFY(box.height() > collapsed);
            button->click();
            QVERIFY(!box.IsExpanded());
        }, QStringLiteral("More"), true);

        Run(MB_OK, "rightButton", [](CBMMessageBox& box) {
            QVERIFY(!box.findChild<QPushButton*>(QStringLiteral("detailsButton"))->isEnabled());
        }, QStringLiteral("More"), false);

        m_helpTopics.clear();
        Run(MB_OK, "rightButton", [](CBMMessageBox& box) {
            auto* button = box.findChild<QPushButton*>(QStringLiteral("detailsButton"));
            QCOMPARE(button->text(), QStringLiteral("&Details"));
            button->click();
            QVERIFY2(box.isVisible(), "the help opens beside the box");
            QVERIFY(!box.IsExpanded());
        }, QLatin1String(CBMMessageBox::kIrrelevantHelpKey), true);
        QCOMPARE(m_helpTopics, std::vector<int>{22});
    }

    void textAreaGrowsWithinLimits()
    {
        const auto heightFor = [this](const QString& text) {
            int height = 0;
            CBMMessageBox box;
            box.m_message = text;
            WhileOpen(box, [&] {
                height = box.findChild<QPlainTextEdit*>(QStringLiteral("messageText"))->height();
                box.findChild<QPushButton*>(QStringLiteral("rightButton"))->click();
            });
            box.exec();
            return height;
        };
        const int small = heightFor(QStringLiteral("Short"));
        const int tall = heightFor(QStringLiteral("line\n").repeated(40));
        const int huge = heightFor(QStringLiteral("line\n").repeated(30000));
        QVERIFY(small >= 85);
        QVERIFY(tall > small);
        QVERIFY(huge <= 120 + 444);
    }

    void labelsFollowTheLanguage()
    {
        LanguageState chinese = MakeLanguage(kLcidSimplifiedChinese);
        CachedStrings cache;
        cache.Reload(chinese);
        SetMessageBoxContext({&chinese, &cache, {}});
        Run(MB_YESNO, "middleButton", [](CBMMessageBox& box) {
            QCOMPARE(box.findChild<QPushButton*>(QStringLiteral("middleButton"))->text(), QStringLiteral("是(&Y)"));
            QCOMPARE(box.windowTitle(), QStringLiteral("Tavlix"));
        });
        SetMessageBoxContext({&m_language, &m_cache, [this](int topic) { m_helpTopics.push_back(topic); }});
    }
};

TAVLIX_QTEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
