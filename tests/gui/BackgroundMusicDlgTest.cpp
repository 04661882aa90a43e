#include <QCheckBox>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "MainWindowHarness.h"
#include "media/CBackgroundMusicDlg.h"
#include "media/MusicPlayer.h"

using namespace tavlix;
using namespace tavlix::testing;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& file)
{
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

void WriteAll(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// Training (a waveform) off, Training Game on a missing file, the Hero level under its
// "General" key, and an effect that OK must keep.
constexpr const char* kUserFile =
    "[Music]\r\nMusic On = true\r\n"
    "General Background Music Path = %%root_path%%\\music\\theme.mid\r\n"
    "Enable Training Music = false\r\nTraining Music Path = %%root_path%%\\sounds\\drum.wav\r\n"
    "General Training Game Music Path = %%root_path%%\\music\\missing.mid\r\n"
    "General WC Hero Music Path = %%root_path%%\\music\\theme.mid\r\n"
    "Enable WC Holy War Music = false\r\n\r\n"
    "[Sound]\r\nCorrect = %%root_path%%\\sounds\\drum.wav\r\n";
constexpr const char* kFactoryFile =
    "[Music]\r\nGeneral Background Music Path = %%root_path%%\\music\\factory.mid\r\n"
    "Enable Training Music = true\r\nTraining Music Path = \r\n";

}  // namespace

// The dialog over a player of its own, and once through the main window's Music menu,
// whose one-second timer ticks every 10 ms here.
class BackgroundMusicDlgTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

    std::vector<bool> m_timer;  // the player's countdown timer switched on (true) or off
    std::unique_ptr<MusicPlayer> m_player;
    std::vector<QString> m_pickerStarts;
    QString m_pickerFilter;
    QString m_picked;  // what the picker answers; empty: the user cancelled

    fs::path Data() const { return MusicFilesOfTest().dataDirectory; }
    static QString Native(const fs::path& path) { return QString::fromStdString(path.string()); }

    void MakePlayer(const MusicFiles& files)
    {
        m_player.reset();
        m_timer.clear();
        m_player = std::make_unique<MusicPlayer>(m_audio, files, m_language,
                                                 MusicPlayer::Hooks{[this](bool on) { m_timer.push_back(on); }, {}});
    }

    std::unique_ptr<CBackgroundMusicDlg> MakeDialog()
    {
        auto dialog = std::make_unique<CBackgroundMusicDlg>(*m_player, m_language, *m_profile, m_pickOpenFile,
                                                            [this](int topic) { m_helpTopics.push_back(topic); });
        dialog->show();
        return dialog;
    }

    template <typename T = QWidget>
    static T* Child(const QDialog& dialog, const QString& name)
    {
        T* child = dialog.findChild<T*>(name);
        if (!child)
            qFatal("no widget named %s", qPrintable(name));
        return child;
    }
    static bool Enabled(const QDialog& dialog, const char* name) { return Child(dialog, name)->isEnabled(); }
    static bool Checked(const QDialog& dialog, const char* name) { return Child<QCheckBox>(dialog, name)->isChecked(); }
    static QString Text(const QDialog& dialog, const char* name) { return Child<QLineEdit>(dialog, name)->text(); }
    static bool AllEnabled(const QDialog& dialog, std::initializer_list<const char*> names, bool enabled)
    {
        return std::all_of(names.begin(), names.end(),
                           [&](const char* name) { return Enabled(dialog, name) == enabled; });
    }

    // A check box is clicked on its box: a wide one ignores a click far right of its text.
    static void Click(const QDialog& dialog, const QString& name)
    {
        QWidget* widget = Child(dialog, name);
        const bool box = qobject_cast<QCheckBox*>(widget) != nullptr;
        QTest::mouseClick(widget, Qt::LeftButton, {}, box ? QPoint(6, widget->height() / 2) : widget->rect().center());
    }

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        for (const char* folder : {"config", "music", "sounds", "elsewhere", "blocked"})
            fs::remove_all(Data() / folder);
        WriteAll(MusicFilesOfTest().musicFile, kUserFile);
        WriteAll(MusicFilesOfTest().defaultMusicFile, kFactoryFile);
        WriteAll(Data() / "music" / "theme.mid", "MThd");
        WriteAll(Data() / "sounds" / "drum.wav", "RIFF");
        m_pickerStarts.clear();
        m_picked.clear();
        m_pickOpenFile = [this](QWidget*, const QString& start, const QString&, const QString& filter) {
            m_pickerStarts.push_back(start);
            m_pickerFilter = filter;
            return m_picked;
        };
        MakePlayer(MusicFilesOfTest());
    }

    void cleanup()
    {
        m_window.reset();
        m_player.reset();
    }

    void opensWithTheFileAndFollowsTheChecks()
    {
        auto dialog = MakeDialog();
        QCOMPARE(Child<QCheckBox>(*dialog, "wcHolyWarCheck")->text(), QStringLiteral("World Cup - H&oly War Level:"));
        QCOMPARE(Text(*dialog, "wcHeroEdit"), Native(Data() / "music" / "theme.mid"));
        QVERIFY(Checked(*dialog, "musicOnCheck") && Checked(*dialog, "wcWizardCheck"));
        QVERIFY(!Checked(*dialog, "trainingCheck") && !Checked(*dialog, "wcHolyWarCheck"));
        QVERIFY(Enabled(*dialog, "factoryButton"));
        QTest::keyClick(dialog.get(), Qt::Key_F1);
        QCOMPARE(m_helpTopics, std::vector<int>{kBackgroundMusicHelpTopic});

        // A row's edit, Browse and Test follow its check box; Music On rules them all.
        QVERIFY(AllEnabled(*dialog, {"generalEdit", "generalBrowse", "generalTest", "trainingCheck"}, true));
        QVERIFY(AllEnabled(*dialog, {"trainingEdit", "trainingBrowse", "trainingTest"}, false));
        QVERIFY(!dialog->SettingsChanged());
        Click(*dialog, "musicOnCheck");
        QVERIFY(dialog->SettingsChanged());
        QVERIFY(AllEnabled(*dialog, {"generalCheck", "generalEdit", "wcWizardTest"}, false));
        Click(*dialog, "musicOnCheck");
        Click(*dialog, "trainingCheck");
        Click(*dialog, "generalCheck");
        QVERIFY(AllEnabled(*dialog, {"trainingEdit", "trainingTest"}, true));
        QVERIFY(AllEnabled(*dialog, {"generalEdit", "generalBrowse"}, false));

        // Typing goes where the cursor is; the row is not rewritten under it.
        auto* edit = Child<QLineEdit>(*dialog, "trainingEdit");
        const QString before = edit->text();
        edit->setCursorPosition(3);
        QTest::keyClick(edit, Qt::Key_X);
        QCOMPARE(edit->text(), before.left(3) + QLatin1Char('x') + before.mid(3));
        QCOMPARE(edit->cursorPosition(), 4);

        fs::remove(MusicFilesOfTest().defaultMusicFile);
        MakePlayer(MusicFilesOfTest());
        QVERIFY(!Enabled(*MakeDialog(), "factoryButton"));
    }

    // Test plays the row for twenty seconds; Browse fills the row and remembers the folder.
    void testPlaysTheRowAndBrowseFillsIt()
    {
        auto dialog = MakeDialog();
        Click(*dialog, "trainingCheck");
        Click(*dialog, "trainingTest");
        QCOMPARE(m_audio.calls.back(), "wave " + (Data() / "sounds" / "drum.wav").string());  // not looped
        Click(*dialog, "generalTest");
        const std::vector<std::string> last(m_audio.calls.end() - 2, m_audio.calls.end());
        QCOMPARE(last, (std::vector<std::string>{"open " + (Data() / "music" / "theme.mid").string(), "play from 0"}));
        for (int tick = 1; tick < MusicPlayer::kPreviewSeconds; ++tick)
            m_player->OnCountdownTick();
        QVERIFY(m_player->IsPlaying() && m_timer.back());
        m_player->OnCountdownTick();
        QCOMPARE(m_audio.calls.back(), std::string("close all"));
        QVERIFY(!m_player->IsPlaying() && !m_timer.back());

        m_picked = Native(Data() / "elsewhere" / "song.wav");
        Click(*dialog, "generalBrowse");
        QCOMPARE(m_pickerStarts.back(), Native(Data() / "music"));
        QCOMPARE(m_pickerFilter, QStringLiteral("All Sound Files (*.mid *.midi *.rmi *.wav);;"
                                                "Standard MIDI (*.mid *.midi *.rmi);;Windows Waveform (*.wav)"));
        QCOMPARE(Text(*dialog, "generalEdit"), m_picked);
        QCOMPARE(m_profile->GetProfileString("Music\\File", "Last Music Directory", ""), (Data() / "elsewhere").string());
        // An empty row starts where the last choice was made; a cancelled pick changes nothing.
        m_picked.clear();
        Click(*dialog, "wcWizardBrowse");
        QCOMPARE(m_pickerStarts.back(), Native(Data() / "elsewhere"));
        QCOMPARE(Text(*dialog, "wcWizardEdit"), QString());
    }

    // Factory values and Cancel leave the file alone; OK writes it, keeping what the
    // dialog does not show.
    void cancelLeavesTheFileAndOkWritesIt()
    {
        const std::string before = ReadAll(MusicFilesOfTest().musicFile);
        auto dialog = MakeDialog();
        Click(*dialog, "factoryButton");
        QCOMPARE(Text(*dialog, "generalEdit"), Native(Data() / "music" / "factory.mid"));
        QCOMPARE(Text(*dialog, "wcHeroEdit"), QString());
        QVERIFY(Checked(*dialog, "trainingCheck") && Checked(*dialog, "wcHolyWarCheck"));
        QVERIFY(Enabled(*dialog, "trainingEdit"));
        Click(*dialog, "cancelButton");
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(ReadAll(MusicFilesOfTest().musicFile), before);

        dialog = MakeDialog();
        Click(*dialog, "trainingCheck");
        Click(*dialog, "wcHeroCheck");
        auto* edit = Child<QLineEdit>(*dialog, "generalEdit");
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("  ") + Native(Data() / "music" / "new.mid") + QStringLiteral("  "));
        Click(*dialog, "okButton");
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        const QString text = QString::fromStdString(ReadAll(MusicFilesOfTest().musicFile));
        for (const char* line : {"Enable Training Music = true\r\n", "Enable WC Hero Music = false\r\n",
                                 "General Background Music Path = %%root_path%%\\music\\new.mid\r\n",
                                 "General WC Hero Music Path = %%root_path%%\\music\\theme.mid\r\n",
                                 "Correct = %%root_path%%\\sounds\\drum.wav\r\n"})
            QVERIFY2(text.contains(QLatin1String(line)), line);
        QCOMPARE(m_player->Settings().Track(MusicRow::General).path, (Data() / "music" / "new.mid").string());
    }

    void unwritableFileKeepsTheDialogOpen()
    {
        MusicFiles files = MusicFilesOfTest();
        WriteAll(Data() / "blocked", "a file where a folder should be");
        files.musicFile = Data() / "blocked" / "music.ini";
        MakePlayer(files);
        auto dialog = MakeDialog();
        SeenBox seen;
        AnswerNextBox(seen, kOk);
        Click(*dialog, "okButton");
        QCOMPARE(seen.text, QStringLiteral("Can't write file \"%1\". Please check if there is file protection for its "
                                           "upper folder, or the file is being used by some other program.")
                                .arg(Native(files.musicFile)));
        QVERIFY(dialog->isVisible());
    }

    void theMusicMenuPreviewsAndSwitchesTheTrack()
    {
        m_window = MakeWindow();
        const fs::path second = Data() / "music" / "second.mid";
        WriteAll(second, "MThd");
        m_picked = Native(second);

        bool opened = false;
        OnNextDialog(
            m_window.get(),
            [&](QDialog* dialog) {
                opened = true;
                QCOMPARE(m_audio.calls.back(), std::string("stop"));  // the track waits
                Click(*dialog, "generalTest");
                QCOMPARE(m_audio.calls.back(), std::string("play from 0"));
                QTRY_VERIFY_WITH_TIMEOUT(!m_window->Music().IsPlaying(), 5000);
                QCOMPARE(m_audio.calls.back(), std::string("close all"));
                Click(*dialog, "generalBrowse");
                Click(*dialog, "okButton");
            },
            [](QDialog* dialog) { return dialog->objectName() == QLatin1String("backgroundMusicDlg"); });
        QVERIFY(ClickMenuEntry(QStringLiteral("&Music"), QStringLiteral("&Background Music...")));
        QVERIFY(opened);
        const std::vector<std::string> last(m_audio.calls.end() - 2, m_audio.calls.end());
        QCOMPARE(last, (std::vector<std::string>{"open " + second.string(), "play from 0"}));
    }
};

TAVLIX_QTEST_MAIN(BackgroundMusicDlgTest)
#include "BackgroundMusicDlgTest.moc"
