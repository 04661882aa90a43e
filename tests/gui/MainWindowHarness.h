#pragma once

#include <QAccessible>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>

#include "GuiTestSupport.h"
#include "controls/PictureButton.h"
#include "platform/Random.h"
#include "settings/Profile.h"
#include "settings/UserDataDirectory.h"
#include "shell/MainWindow.h"

namespace tavlix::testing {

// One popup entry as the user sees it; a separator reads "-".
struct MenuItem {
    QString text;
    bool enabled = false;
    bool checked = false;
    bool operator==(const MenuItem&) const = default;
};

inline char* toString(const MenuItem& item)
{
    return QTest::toString(QStringLiteral("%1 (%2, %3)")
                               .arg(item.text, item.enabled ? QLatin1String("enabled") : QLatin1String("grayed"),
                                    item.checked ? QLatin1String("checked") : QLatin1String("unchecked")));
}

// The main window over fakes of everything it uses (settings, media, clock, help,
// shell), with the steps a player takes on it: typing, clicking, the menus.
class MainWindowHarness {
protected:
    // Fresh settings, language, fakes and user data directory; false when the user data
    // directory could not be set up.
    [[nodiscard]] bool ResetHarness()
    {
        m_store = InMemoryProfileStore();
        m_profile = std::make_unique<Profile>(m_store);
        m_language = MakeLanguage();
        m_cache.Reload(m_language);
        SetMessageBoxContext({&m_language, &m_cache, {}});
        m_audio = FakeAudioDevice();
        WriteMusicSettings("");
        m_helpTopics.clear();
        m_userData = std::make_unique<UserDataDirectory>(m_editionStore, m_language, "/nonexistent-program",
                                                         m_dir.path().toStdString(), true);
        std::string error;
        return m_userData->SetUserDataDirectory((m_dir.path() + QStringLiteral("/data")).toStdString(), true, error);
    }

    InMemoryProfileStore m_store;
    FixedClock m_clock{1'700'000'000};
    StandardRandom m_random;
    std::unique_ptr<Profile> m_profile;
    LanguageState m_language;
    CachedStrings m_cache;
    FakeAudioDevice m_audio;
    std::vector<int> m_helpTopics;
    std::function<int(int action)> m_instances;  // the other running copies; none when empty
    std::filesystem::path m_programDirectory;       // where the templates of the complete list are
    std::filesystem::path m_pages;                  // where its pages go
    HistoryStore* m_history = nullptr;              // the player's answers; none when null
    DebugLog* m_log = nullptr;                      // the support trace; none when null
    // The save-file dialog: start path, title, filter; the path the player chose.
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> m_pickSaveFile;
    // The open-file dialog (start path, title, filter; the file chosen) and the colour
    // dialog (the current colour; the one chosen, invalid for Cancel).
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> m_pickOpenFile;
    std::function<QColor(QWidget*, const QColor&)> m_pickColor;
    std::vector<std::string> m_addresses;
    QTemporaryDir m_dir;
    InMemoryProfileStore m_editionStore;
    std::unique_ptr<UserDataDirectory> m_userData;
    std::unique_ptr<MainWindow> m_window;

    std::unique_ptr<MainWindow> MakeWindow(Edition edition = Edition::Standard)
    {
        MainWindowServices services{
            .language = m_language,
            .cache = m_cache,
            .profile = *m_profile,
            .audio = m_audio,
            .clock = m_clock,
            .random = m_random,
            .edition = edition,
            .versionText = "1.5",
            .makerHomePage = "https://www.brelmor.com/",
            .productHomePage = "https://www.brelmor.com/tavlix/index.html",
            .log = m_log,
            .openHelpTopic = [this](int topic) { m_helpTopics.push_back(topic); },
            .openAddress = [this](const std::string& a) { m_addresses.push_back(a); },
            .startUpdateCheck = [] {},
            .showOptions = [] {},
            .enumerateInstances = [this](int action) { return m_instances ? m_instances(action) : 1; },
            .userData = m_userData.get(),
            .setUpUserDataDirectory = [] { return true; },
            .pickSaveFile = m_pickSaveFile,
            .pickOpenFile = m_pickOpenFile,
            .pickColor = m_pickColor,
            .programDirectory = m_programDirectory,
            .completeListFolder = m_pages,
            .history = m_history,
            .runTickMilliseconds = 10,
            .musicFiles = MusicFilesOfTest(),
            .openWithRegisteredPlayer = [this](const std::filesystem::path& file) {
                m_addresses.push_back(file.string());
            },
            .musicTickMilliseconds = 10,
        };
        auto window = std::make_unique<MainWindow>(std::move(services));
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
        return window;
    }

    MusicFiles MusicFilesOfTest() const
    {
        const std::filesystem::path root = m_dir.path().toStdString();
        return {.musicFile = root / "config" / "music.ini",
                .defaultMusicFile = root / "config" / "defaultmusic.ini",
                .dataDirectory = root};
    }

    // A music settings file whose effects are named after their events, under the
    // token, and whose [Music] section holds musicLines.
    void WriteMusicSettings(const std::string& musicLines)
    {
        const MusicFiles files = MusicFilesOfTest();
        std::filesystem::create_directories(files.musicFile.parent_path());
        std::ofstream(files.musicFile, std::ios::binary | std::ios::trunc)
            << "[Music]\n" << musicLines << "\n[Sound]\nGo Next = %%root_path%%\\sounds\\next.wav\n"
            << "Go Previous = %%root_path%%\\sounds\\previous.wav\nCorrect = %%root_path%%\\sounds\\correct.wav\n"
            << "Incorrect = %%root_path%%\\sounds\\incorrect.wav\nAbnormal = %%root_path%%\\sounds\\abnormal.wav\n"
            << "TimeUp = %%root_path%%\\sounds\\timeup.wav\n";
    }

    // The effects played so far, by name ("correct", "next", ...).
    std::vector<std::string> PlayedEffects() const
    {
        std::vector<std::string> names;
        const std::string prefix = "wave " + (MusicFilesOfTest().dataDirectory / "sounds").string() + "/";
        for (const std::string& call : m_audio.calls) {
            if (call.starts_with(prefix) && call.ends_with(".wav"))
                names.push_back(call.substr(prefix.size(), call.size() - prefix.size() - 4));
        }
        return names;
    }

    // A plan kept from an earlier start: the solvable questions from 3 3 8 8 upwards, in
    // order, under the Standard rule with numbers up to 10.
    void StorePlan(const char* section, int count = 5, int minutes = 0)
    {
        const std::pair<const char*, std::uint32_t> values[] = {
            {"Standard", 1},         {"JQK", 0},       {"Difficulty Level", 1}, {"Full Set", 1},
            {"Have Solution", 1},    {"No Solution", 0}, {"Full Range", 0},     {"Data Range Start", 1},
            {"Data Range End", 0},   {"Start 1", 3},    {"Start 2", 3},          {"Start 3", 8},
            {"Start 4", 8},          {"Randomly", 0},   {"Ascending", 1},        {"Question Count", std::uint32_t(count)},
            {"Time", minutes > 0 ? 1u : 0u}, {"Minutes", std::uint32_t(minutes > 0 ? minutes : 1)},
        };
        for (const auto& [name, value] : values)
            m_store.WriteInt(section, name, value);
    }

    // Keys go to the main window again once a dialog has closed, as the window system
    // does it on a desktop.
    void BackToWindow()
    {
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("the main window did not become active again");
    }

    // Starts a run from the toolbar button of its command: OK in the plan dialog, then the
    // rules note is read and closed. The note's text is returned.
    QString StartFromToolbar(int command)
    {
        OnNextDialog(m_window.get(), [](QDialog* plan) {
            plan->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        SeenBox note;
        AnswerNextBox(note, kOk);
        QTest::mouseClick(m_window->findChild<QWidget*>(QStringLiteral("toolbar%1").arg(command)), Qt::LeftButton);
        BackToWindow();
        return note.text;
    }

    template <typename T = QWidget>
    T* Find(const char* name) const
    {
        return m_window->findChild<T*>(QLatin1String(name));
    }

    void TypeQuestion(const std::array<const char*, 4>& numbers)
    {
        for (std::size_t i = 0; i < 4; ++i) {
            auto* box = Find<QLineEdit>(QStringLiteral("questionBox%1").arg(i).toLatin1().constData());
            box->clear();
            QTest::keyClicks(box, QLatin1String(numbers[i]));
        }
    }

    void TypeAnswers(const QString& lines)
    {
        auto* answer = Find<QPlainTextEdit>("answerBox");
        answer->clear();
        const QStringList list = lines.split(QLatin1Char('\n'));
        for (int i = 0; i < list.size(); ++i) {
            if (i > 0)
                QTest::keyClick(answer, Qt::Key_Return);
            QTest::keyClicks(answer, list[i]);
        }
    }

    // The verdict picture as the player sees it, "correct" or "wrong" ("" when none
    // shows), checked against what a screen reader says of it.
    QString VerdictShown() const
    {
        auto* picture = Find<QLabel>("resultPicture");
        if (!picture->isVisible())
            return {};
        const QString spoken = QAccessible::queryAccessibleInterface(picture)->text(QAccessible::Name);
        for (const auto& [verdict, said] : {std::pair{"correct", "Correct"}, std::pair{"wrong", "Incorrect"}}) {
            const QImage drawn = QIcon(QStringLiteral(":/icons/result-%1.svg").arg(QLatin1String(verdict)))
                                     .pixmap(picture->size())
                                     .toImage();
            if (picture->pixmap().toImage() == drawn)
                return spoken == QLatin1String(said) ? QLatin1String(verdict) : QStringLiteral("unnamed ") + verdict;
        }
        return QStringLiteral("unknown picture");
    }

    QString Pane() const { return Find<QPlainTextEdit>("commentsPane")->toPlainText(); }

    void ClickSubmit() { QTest::mouseClick(Find<QPushButton>("submitButton"), Qt::LeftButton); }

    // Ctrl with Return of the main keyboard or Enter of the keypad, in the answer box.
    void SubmitWithKeys(Qt::Key key = Qt::Key_Return)
    {
        const Qt::KeyboardModifiers modifiers =
            key == Qt::Key_Enter ? Qt::ControlModifier | Qt::KeypadModifier : Qt::ControlModifier;
        QTest::keyClick(Find<QPlainTextEdit>("answerBox"), key, modifiers);
    }

    void ClickToolbar(const char* name) { QTest::mouseClick(Find<PictureButton>(name), Qt::LeftButton); }

    // Opens a popup of the menu bar as a user does, by clicking its title. Null when
    // no popup has that title or it did not open.
    QMenu* OpenMenu(const QString& title) const
    {
        auto* bar = m_window->findChild<QMenuBar*>();
        for (QAction* popup : bar->actions()) {
            if (popup->text() != title)
                continue;
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(popup).center());
            return popup->menu()->isVisible() ? popup->menu() : nullptr;
        }
        return nullptr;
    }

    // The popup's entries as the user sees them when it opens.
    std::vector<MenuItem> Entries(const QString& title) const
    {
        std::vector<MenuItem> entries;
        QMenu* menu = OpenMenu(title);
        if (!menu)
            return entries;
        for (QAction* a : menu->actions())
            entries.push_back({a->isSeparator() ? QStringLiteral("-") : a->text(), a->isEnabled(), a->isChecked()});
        QTest::keyClick(menu, Qt::Key_Escape);
        return entries;
    }

    // The entry with that text; one without text when the popup has none.
    MenuItem Entry(const QString& title, const QString& text) const
    {
        for (const MenuItem& item : Entries(title))
            if (item.text == text)
                return item;
        return {};
    }

    // Clicks an entry of a popup of the menu bar; false when the user could not,
    // because it is missing or grayed.
    bool ClickMenuEntry(const QString& title, const QString& text) const
    {
        QMenu* menu = OpenMenu(title);
        if (!menu)
            return false;
        for (QAction* a : menu->actions()) {
            if (a->text() == text && a->isEnabled()) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                return !menu->isVisible();
            }
        }
        QTest::keyClick(menu, Qt::Key_Escape);
        return false;
    }
};

}  // namespace tavlix::testing
