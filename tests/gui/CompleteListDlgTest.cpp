#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MainWindowHarness.h"
#include "../platform/WriteProtectedFolder.h"
#include "completelist/CompleteList.h"
#include "completelist/CompleteListGenerator.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& file)
{
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

void WriteFile(const fs::path& file, const std::string& text, std::time_t lastWrite)
{
    std::ofstream(file, std::ios::binary) << text;
    fs::last_write_time(file, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(lastWrite)));
}

// The page the program must write for these options, in English.
std::string ExpectedPage(const CompleteListOptions& options, const LanguageState& language)
{
    CompleteListGenerator list(options);
    list.Run();
    return list.FillTemplate(*ReadCompleteListTemplate(CompleteListTemplatePath(TAVLIX_DATA_DIR, kLcidEnglish)),
                             language);
}

template <typename T = QWidget>
T* Child(QWidget* dialog, const char* name)
{
    return dialog->findChild<T*>(QLatin1String(name));
}

// A click where the player aims: check boxes and radio buttons answer only on their box
// and label, not on the whole width the layout gives them.
void Click(QWidget* dialog, const char* name)
{
    QWidget* button = Child(dialog, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Go!, then the wait until the page is written or the dialog closed otherwise.
void StartAndWait(QDialog* dialog)
{
    Click(dialog, "startButton");
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 30000);
}

}  // namespace

class CompleteListDlgTest : public QObject, public MainWindowHarness {
    Q_OBJECT

    QTemporaryDir m_place;

    // The main window with the templates of m_programDirectory, writing to m_pages.
    void OpenWindow()
    {
        m_window = MakeWindow();
        QVERIFY(m_window->isVisible());
    }

    // Opens the dialog as the player does, from the Tools menu or with the toolbar button,
    // and hands it to `use`; a dialog that `use` leaves open is cancelled.
    void WithDialog(std::function<void(QDialog*)> use, bool fromToolbar = false)
    {
        bool seen = false;
        OnNextDialog(
            this,
            [&seen, use = std::move(use)](QDialog* dialog) {
                seen = true;
                QVERIFY(QTest::qWaitForWindowExposed(dialog));
                use(dialog);
            },
            [](QDialog* dialog) { return dialog->objectName() == QLatin1String("completeListDlg"); });
        if (fromToolbar)
            ClickToolbar("toolbar32784");
        else
            QVERIFY(ClickMenuEntry(QStringLiteral("&Tools"),
                                   QStringLiteral("&Complete List of All Solutions for Calculating 24...")));
        QVERIFY(seen);
    }

    fs::path Page(const char* name) const { return m_pages / name; }

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        m_addresses.clear();
        m_programDirectory = TAVLIX_DATA_DIR;
        m_pages = fs::path(m_place.path().toStdString()) / "program" / "cl";
        fs::remove_all(m_pages.parent_path());
        fs::create_directories(m_pages.parent_path());
        OpenWindow();
    }

    void cleanup() { m_window.reset(); }

    // A plain file stands where the pages go: it gives way to their folder.
    void thePageOfTheChosenLevelIsWrittenAndShown()
    {
        WriteFile(m_pages, "not a folder", m_clock.now);
        WithDialog([](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Complete List of All Solutions - Standard Level"));
            QCOMPARE(Child<QGroupBox>(dialog, "rulesGroup")->title(), QStringLiteral("Select Rules"));
            QCOMPARE(Child<QRadioButton>(dialog, "advancedRadio")->text(),
                     QStringLiteral("&Advanced rule (addition, subtraction, multiplication, division, power and root)"));
            QCOMPARE(Child(dialog, "startButton")->toolTip(), QStringLiteral("Go!"));
            auto* progress = Child<QProgressBar>(dialog, "progressBar");
            QVERIFY(!progress->isVisible());

            Click(dialog, "advancedRadio");
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Complete List of All Solutions - Wizard Level"));
            Click(dialog, "jqkCheck");
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Complete List of All Solutions - Holy War Level"));
            Click(dialog, "withSolutionsCheck");
            // The window goes on answering while the list is made, its choices locked.
            std::vector<int> steps;
            connect(progress, &QProgressBar::valueChanged, dialog, [&steps, dialog, progress](int value) {
                steps.push_back(value);
                QVERIFY(progress->isVisible());
                QVERIFY(!Child(dialog, "startButton")->isEnabled());
                QVERIFY(!Child(dialog, "rulesGroup")->isEnabled());
            });
            StartAndWait(dialog);
            QVERIFY(steps.size() > 2);
            QCOMPARE(steps.back(), 1000);
        });
        QCOMPARE(m_addresses, (std::vector<std::string>{Page("ejns.htm").string()}));
        QCOMPARE(ReadFile(Page("ejns.htm")), ExpectedPage({false, true, false, true}, m_language));
        // The main window plays the level of the list from now on.
        QVERIFY(!m_window->IsStandardRule());
        QVERIFY(m_window->IsJqkEnabled());
        QCOMPARE(m_store.ReadInt("CL", "Standard"), 0u);
        QCOMPARE(m_store.ReadInt("CL", "JQK"), 1u);
        QCOMPARE(m_store.ReadInt("CL", "Have Solution"), 0u);
        QCOMPARE(m_store.ReadInt("CL", "No Solution"), 1u);
    }

    void cancelDuringGenerationWritesNothing()
    {
        m_store.WriteInt("CL", "Standard", 0);
        m_store.WriteInt("CL", "JQK", 1);
        bool cancelled = false;
        WithDialog(
            [&cancelled](QDialog* dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Complete List of All Solutions - Holy War Level"));
                // Cancel as soon as the first configurations are done: the list stops there.
                auto* progress = Child<QProgressBar>(dialog, "progressBar");
                connect(progress, &QProgressBar::valueChanged, dialog, [&cancelled, dialog](int value) {
                    if (value > 0 && !cancelled) {
                        cancelled = true;
                        QVERIFY(value < 1000);
                        Click(dialog, "cancelButton");
                    }
                });
                StartAndWait(dialog);
                // Nothing more is solved while the closed dialog waits to be destroyed.
                const int stoppedAt = progress->value();
                QTest::qWait(200);
                QCOMPARE(progress->value(), stoppedAt);
            },
            true);
        QVERIFY(cancelled);
        QVERIFY(m_addresses.empty());
        QVERIFY(fs::is_empty(m_pages));
        QVERIFY(!m_window->IsStandardRule());
    }

    // The configurations are solved beside the window's thread: the list goes on while
    // that thread is held up, and the page comes out whole.
    void theListGoesOnWhileTheWindowIsBusy()
    {
        int heldAt = -1;
        int afterHold = -1;
        WithDialog([&heldAt, &afterHold](QDialog* dialog) {
            auto* progress = Child<QProgressBar>(dialog, "progressBar");
            connect(progress, &QProgressBar::valueChanged, dialog, [&heldAt, &afterHold, dialog](int value) {
                if (value == 0 || heldAt >= 0)
                    return;
                auto* generation = dialog->findChild<QFutureWatcherBase*>();
                QVERIFY(generation);
                heldAt = generation->progressValue();
                QDeadlineTimer deadline(10000);
                while (generation->progressValue() == heldAt && !deadline.hasExpired())
                    QThread::msleep(1);
                afterHold = generation->progressValue();
            });
            StartAndWait(dialog);
        });
        QVERIFY(afterHold > heldAt && heldAt >= 0);
        QCOMPARE(ReadFile(Page("esdhsns.htm")), ExpectedPage({true, false, true, true}, m_language));
    }

    void aRecentPageIsShownAnOlderOneOffered_data()
    {
        QTest::addColumn<int>("ageInDays");
        QTest::addColumn<QString>("answer");  // the button of the prompt, empty when none comes
        QTest::addColumn<bool>("madeAnew");
        QTest::newRow("3 days old: shown at once") << 3 << QString() << false;
        QTest::newRow("30 days old, No: shown") << 30 << kNo << false;
        QTest::newRow("30 days old, Yes: made anew") << 30 << kYes << true;
        QTest::newRow("100 days old: made anew at once") << 100 << QString() << true;
        QTest::newRow("dated in the future: made anew") << -2 << QString() << true;
    }

    void aRecentPageIsShownAnOlderOneOffered()
    {
        QFETCH(int, ageInDays);
        QFETCH(QString, answer);
        QFETCH(bool, madeAnew);
        fs::create_directories(m_pages);
        const fs::path page = Page("esdhsns.htm");
        WriteFile(page, "an earlier page", m_clock.now - ageInDays * 24 * 60 * 60);

        SeenBox prompt;
        // A prompt where none belongs is answered No, so that the row fails on its check at
        // once instead of waiting for a player; the watch ends with the row.
        QObject row;
        if (answer.isEmpty())
            OnNextDialog(
                &row,
                [&prompt](QDialog* box) {
                    prompt.shown = true;
                    box->findChild<QAbstractButton*>(QStringLiteral("rightButton"))->click();
                },
                [](QDialog* dialog) { return qobject_cast<CBMMessageBox*>(dialog) != nullptr; });
        else
            AnswerNextBox(prompt, answer);
        WithDialog(StartAndWait);
        QCOMPARE(prompt.shown, !answer.isEmpty());
        if (prompt.shown)
            QCOMPARE(prompt.text,
                     QStringLiteral("A file for the \"Complete List of All Solutions for Calculating 24\" under the "
                                    "same options as you selected just now was found. Will you recalculate and "
                                    "overwrite this file, or just show the file found?\n\nPress \"Yes\" to "
                                    "recalculate and overwrite this file, press \"No\" to cancel recalculation and "
                                    "show this file directly."));
        QCOMPARE(m_addresses, (std::vector<std::string>{page.string()}));
        QCOMPARE(ReadFile(page),
                 madeAnew ? ExpectedPage({true, false, true, true}, m_language) : std::string("an earlier page"));
    }

    void aMissingTemplateIsReportedAndNothingWritten()
    {
        m_programDirectory = m_pages.parent_path();
        OpenWindow();
        SeenBox notice;
        AnswerNextBox(notice, kOk);
        WithDialog(StartAndWait);
        QCOMPARE(notice.text, QStringLiteral("Template file \"%1/doc/english/grandlist.htm\" was not found. Please "
                                             "reinstall the program.")
                                  .arg(QString::fromStdString(m_programDirectory.string())));
        QVERIFY(m_addresses.empty());
        QVERIFY(fs::is_empty(m_pages));
    }

    // A folder where the page should be, then a folder of pages nobody may write to.
    void aPageThatCanNotBeWrittenIsReported()
    {
        const QString page = QString::fromStdString(Page("esdhsns.htm").string());
        fs::create_directories(Page("esdhsns.htm"));
        SeenBox notice;
        AnswerNextBox(notice, kOk);
        WithDialog(StartAndWait);
        QCOMPARE(notice.text, QStringLiteral("Path \"%1\" points to a directory, not a file.").arg(page));

        fs::remove(Page("esdhsns.htm"));
        const WriteProtectedFolder locked(m_pages);
        if (!locked.Holds())
            QSKIP("this file system cannot keep root from writing");
        SeenBox refused;
        AnswerNextBox(refused, kOk);
        WithDialog(StartAndWait);
        QCOMPARE(refused.text, QStringLiteral("Can't write file \"%1\". Please check if the disk is full, or the "
                                              "directory or disk is write-protected.").arg(page));
        QVERIFY(m_addresses.empty());
    }

    void oneKindStaysCheckedInTheInterfaceLanguage()
    {
        m_language = MakeLanguage(kLcidTraditionalChinese);
        m_store.WriteInt("CL", "JQK", 1);
        m_store.WriteInt("CL", "Have Solution", 0);
        WithDialog(
            [](QDialog* dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("所有解法的完整列表 - 英雄級"));
                auto* with = Child<QCheckBox>(dialog, "withSolutionsCheck");
                auto* without = Child<QCheckBox>(dialog, "withoutSolutionCheck");
                QCOMPARE(without->text(), QStringLiteral("無解的組合(&N)"));
                QVERIFY(!with->isChecked() && without->isChecked());
                Click(dialog, "withoutSolutionCheck");
                QVERIFY(with->isChecked() && !without->isChecked());
                Click(dialog, "withSolutionsCheck");
                QVERIFY(!with->isChecked() && without->isChecked());
                Click(dialog, "withSolutionsCheck");
                QVERIFY(with->isChecked() && without->isChecked());
                QTest::keyClick(dialog, Qt::Key_Escape);
            },
            true);
        QCOMPARE(m_store.ReadInt("CL", "Have Solution"), 1u);
        QCOMPARE(m_store.ReadInt("CL", "No Solution"), 1u);
        QVERIFY(m_addresses.empty());
    }
};

TAVLIX_QTEST_MAIN(CompleteListDlgTest)
#include "CompleteListDlgTest.moc"
