// The music of the main window as the player meets it: the track follows free play and
// runs, Music On pauses and resumes it, and a dropped sound file becomes the track. The
// Background Music entry is driven in the dialog's own test.
#include <QMimeData>

#include <fstream>

#include "MainWindowHarness.h"
#include "media/MusicPlayer.h"

namespace tavlix::testing {

class MainWindowMusicTest : public QObject, public MainWindowHarness {
    Q_OBJECT

    std::string Track(const char* name) const { return (MusicFilesOfTest().dataDirectory / name).string(); }

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        for (const char* name : {"general.mid", "training.mid"})
            std::ofstream(MusicFilesOfTest().dataDirectory / name) << "MThd";
        WriteMusicSettings("General Background Music Path = %%root_path%%\\general.mid\n"
                           "Training Music Path = %%root_path%%\\training.mid\n");
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    void trackFollowsFreePlayAndRuns()
    {
        QCOMPARE(m_audio.openSequence.string(), Track("general.mid"));
        QVERIFY(m_audio.sequencePlaying);
        StorePlan("Training");
        StartFromToolbar(ID_TRAINING);
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::Training);
        QCOMPARE(m_audio.openSequence.string(), Track("training.mid"));

        SeenBox leave;
        AnswerNextBox(leave, kYes);  // Yes
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QTRY_VERIFY(leave.shown);
        QCOMPARE(m_audio.openSequence.string(), Track("general.mid"));
        QCOMPARE(m_audio.calls.back(), std::string("play from 0"));
    }

    void musicOnPausesAndResumesWhereTheTrackWas()
    {
        m_audio.Advance(42);
        QVERIFY(Entry(QStringLiteral("&Music"), QStringLiteral("Music &On")).checked);
        QVERIFY(ClickMenuEntry(QStringLiteral("&Music"), QStringLiteral("Music &On")));
        QVERIFY(!m_audio.sequencePlaying);
        QVERIFY(!Entry(QStringLiteral("&Music"), QStringLiteral("Music &On")).checked);
        QCOMPARE(LoadMusicSettings(MusicFilesOfTest(), false).musicOn, false);

        QVERIFY(ClickMenuEntry(QStringLiteral("&Music"), QStringLiteral("Music &On")));
        QVERIFY(m_audio.sequencePlaying);
        QCOMPARE(m_audio.position, 42);
        QCOMPARE(m_audio.calls.back(), std::string("resume"));
        QCOMPARE(LoadMusicSettings(MusicFilesOfTest(), false).musicOn, true);
    }

    void droppedSoundFileBecomesTheTrack()
    {
        const std::filesystem::path dropped = MusicFilesOfTest().dataDirectory / "Dropped Song.WAV";
        std::ofstream(dropped) << "RIFF";
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped.string()))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &drop);
        QCOMPARE(m_audio.calls.back(), "wave loop " + dropped.string());
        QCOMPARE(LoadMusicSettings(MusicFilesOfTest(), false).Track(MusicRow::General).path, dropped.string());
    }
};

}  // namespace tavlix::testing

TAVLIX_QTEST_MAIN(tavlix::testing::MainWindowMusicTest)
#include "MainWindowMusicTest.moc"
