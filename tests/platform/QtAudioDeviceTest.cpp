#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

#include "NullSinkServer.h"
#include "TestSoundFiles.h"
#include "platform/qt/QtAudioDevice.h"

using tavlix::QtAudioDevice;
using tavlix::SequenceEnd;

namespace {

void Write(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

std::filesystem::path Path(const QString& file) { return QFile::encodeName(file).toStdString(); }

}  // namespace

// Real sound: a PulseAudio server of the test's own, whose only sink discards what it
// plays but lets it be recorded back.
class QtAudioDeviceTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    tavlix::testsound::NullSinkServer m_server;
    // Records the sink all along: a sink that is listened to renders in short blocks, so
    // that what it plays reaches the recording at once.
    QProcess m_recorder;
    std::unique_ptr<QtAudioDevice> m_device;
    std::vector<SequenceEnd> m_notices;

    QString File(const QString& name) const { return m_root.filePath(name); }

    static QString Shipped(const QString& file) { return QStringLiteral(TAVLIX_DATA_DIR "/") + file; }

    bool OpenAndPlay(const QString& file)
    {
        return m_device->OpenSequence(Path(file)) && m_device->PlaySequenceFromStart();
    }

    // The loudest sample on the sink over the next milliseconds, or as soon as one is
    // louder than enough. What was recorded before the call is dropped.
    int Peak(int milliseconds, int enough)
    {
        m_recorder.waitForReadyRead(0);
        m_recorder.readAllStandardOutput();
        int peak = 0;
        QByteArray raw;
        (void)QTest::qWaitFor(
            [&] {
                raw += m_recorder.readAllStandardOutput();
                const qsizetype whole = raw.size() / 2 * 2;
                for (qsizetype i = 0; i < whole; i += 2) {
                    const auto sample = std::int16_t(std::uint8_t(raw[i]) | std::uint8_t(raw[i + 1]) << 8);
                    peak = std::max(peak, std::abs(int(sample)));
                }
                raw.remove(0, whole);
                return peak > enough;
            },
            milliseconds);
        return peak;
    }

    // Sound comes out of the server a moment after the player starts, later on a busy
    // machine.
    bool Audible() { return Peak(5000, 200) > 200; }
    // Once what the server held has played out.
    bool Silent()
    {
        QTest::qWait(150);
        return Peak(1000, 50) <= 50;
    }

    bool WaitForPosition(qint64 (QtAudioDevice::*position)() const, qint64 atLeast, int timeout = 10000)
    {
        return QTest::qWaitFor([&] { return ((*m_device).*position)() >= atLeast; }, timeout);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QVERIFY2(m_server.Start(m_root.path()), "pulseaudio does not answer");
        m_recorder.start(QStringLiteral("parec"), QStringLiteral("--device=tavlix_null.monitor --raw --format=s16le "
                                                                 "--channels=1 --rate=8000 --latency-msec=10")
                                                      .split(u' '));
        QVERIFY(m_recorder.waitForStarted(5000));

        using namespace tavlix::testsound;
        // Right headers over random bytes: the worst a damaged download gives.
        std::vector<std::uint8_t> garbageWave = Tone(5000);
        const std::vector<std::uint8_t> noise = Noise(garbageWave.size() - 12, 4);
        std::copy(noise.begin(), noise.end(), garbageWave.begin() + 12);
        const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
            {"short.mid", Tune(4)},        {"empty.mid", MidiFile({0x00, 0xFF, 0x2F, 0x00})},        {"short.wav", Tone(300)},       {"long.wav", Tone(5000)},
            {"empty.wav", Tone(0)},        {"noise.mid", Noise(3000, 1)},  {"noise.wav", Noise(3000, 2)},
            {"garbage.mid", MidiFile(Noise(3000, 3))},                     {"garbage.wav", garbageWave}};
        for (const auto& [name, bytes] : files)
            Write(File(QLatin1String(name)), bytes);
    }

    void cleanupTestCase()
    {
        m_device.reset();
        m_recorder.kill();
        m_recorder.waitForFinished(5000);
    }

    void init()
    {
        m_notices.clear();
        m_device = std::make_unique<QtAudioDevice>();
        m_device->SetSequenceNoticeHandler([this](SequenceEnd end) { m_notices.push_back(end); });
    }

    void cleanup() { m_device.reset(); }

    // Played to the end twice, as the music player loops a track from the notice, then
    // closed while playing: two successful ends and an aborted one, even past the end the
    // track would have reached.
    void shortTrackEndsWithOneSuccessfulNoticeAndPlaysAgain()
    {
        QVERIFY(OpenAndPlay(File(QStringLiteral("short.mid"))));
        QTRY_COMPARE_WITH_TIMEOUT(m_notices, std::vector<SequenceEnd>{SequenceEnd::Successful}, 10000);
        QVERIFY(!m_device->IsSequencePlaying());
        QVERIFY(m_device->PlaySequenceFromStart());
        QVERIFY(WaitForPosition(&QtAudioDevice::SequencePosition, 300));
        QVERIFY(Audible());
        QTRY_COMPARE_WITH_TIMEOUT(m_notices.size(), std::size_t(2), 10000);

        QVERIFY(m_device->PlaySequenceFromStart());
        QVERIFY(WaitForPosition(&QtAudioDevice::SequencePosition, 300));
        m_device->CloseAll();
        QTest::qWait(2500);
        QCOMPARE(m_notices, (std::vector<SequenceEnd>{SequenceEnd::Successful, SequenceEnd::Successful,
                                                      SequenceEnd::Aborted}));
        QVERIFY(!m_device->IsSequencePlaying());
        QVERIFY(!m_device->PlaySequenceFromStart());
    }

    // A track with no notes ends at once; started again at each end, as the music player
    // loops it, it ends no more than once a second.
    void emptyTrackLoopsNoFasterThanOnceASecond()
    {
        m_device->SetSequenceNoticeHandler([this](SequenceEnd end) {
            m_notices.push_back(end);
            m_device->PlaySequenceFromStart();
        });
        QVERIFY(OpenAndPlay(File(QStringLiteral("empty.mid"))));
        QTest::qWait(2500);
        QCOMPARE_GE(m_notices.size(), std::size_t(1));
        QCOMPARE_LE(m_notices.size(), std::size_t(3));
        QVERIFY(std::all_of(m_notices.begin(), m_notices.end(), [](SequenceEnd end) { return end == SequenceEnd::Successful; }));
    }

    // A shipped track sounds; paused, then closed after a fresh start, it ends as a
    // superseded and an aborted play, both told later from the event loop, never from
    // inside a call.
    void shippedTrackPausesAndResumesWhereItStopped()
    {
        QVERIFY(OpenAndPlay(Shipped(QStringLiteral("music/general.mid"))));
        QVERIFY(WaitForPosition(&QtAudioDevice::SequencePosition, 1500));
        QVERIFY(m_device->IsSequencePlaying());
        QVERIFY(m_device->StopSequence());
        QTRY_VERIFY(!m_device->IsSequencePlaying());
        const qint64 paused = m_device->SequencePosition();
        QVERIFY(Silent());
        QCOMPARE_LT(m_device->SequencePosition(), paused + 100);
        QVERIFY(m_device->ResumeSequence());
        QTest::qWait(200);
        QCOMPARE_GE(m_device->SequencePosition(), paused - 100);
        QVERIFY(WaitForPosition(&QtAudioDevice::SequencePosition, paused + 1000));
        QVERIFY(Audible());
        QVERIFY(m_device->StopSequence());
        QVERIFY(m_device->PlaySequenceFromStart());
        QVERIFY(m_device->StopSequence());
        m_device->CloseAll();
        QVERIFY(m_notices.empty());
        QTRY_COMPARE(m_notices, (std::vector<SequenceEnd>{SequenceEnd::Superseded, SequenceEnd::Aborted}));
    }

    // A new waveform replaces a looping one; a looping one goes on until purged, unless
    // there is nothing to loop.
    void waveformsReplaceEachOtherAndLoopUntilPurged()
    {
        m_device->PlayWave(Path(Shipped(QStringLiteral("sounds/correct.wav"))), true);
        QVERIFY(WaitForPosition(&QtAudioDevice::WavePosition, 100));
        QVERIFY(Audible());
        m_device->PlayWave(Path(File(QStringLiteral("short.wav"))), false);
        QTRY_VERIFY_WITH_TIMEOUT(!m_device->IsWavePlaying(), 5000);
        QVERIFY(Silent());

        m_device->PlayWave(Path(File(QStringLiteral("short.wav"))), true);
        QTest::qWait(2500);
        QVERIFY(m_device->IsWavePlaying());
        QVERIFY(Audible());
        m_device->PurgeWave();
        QVERIFY(!m_device->IsWavePlaying());
        QVERIFY(Silent());
        m_device->PlayWave(Path(File(QStringLiteral("empty.wav"))), true);
        QTRY_VERIFY_WITH_TIMEOUT(!m_device->IsWavePlaying(), 5000);
        QVERIFY(m_notices.empty());  // waveforms send no notice
    }

    // Each file as a track and as a waveform: nothing sounds, nothing waits, and the
    // player is still of use afterwards.
    void brokenFilesPlayNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("missing") << QStringLiteral("missing");
        QTest::newRow("random bytes") << QStringLiteral("noise");
        QTest::newRow("a folder") << QStringLiteral("home");
        QTest::newRow("random bytes behind the header") << QStringLiteral("garbage");
    }

    void brokenFilesPlayNothing()
    {
        QFETCH(QString, file);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!m_device->OpenSequence(Path(File(file + QStringLiteral(".mid")))));
        QVERIFY(!m_device->PlaySequenceFromStart());
        QVERIFY(!m_device->ResumeSequence());
        m_device->PlayWave(Path(File(file + QStringLiteral(".wav"))), false);
        QCOMPARE_LT(timer.elapsed(), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_device->IsWavePlaying(), 5000);
        QVERIFY(Silent());
        QVERIFY(!m_device->IsSequencePlaying());
        QVERIFY(m_notices.empty());
        m_device->PlayWave(Path(File(QStringLiteral("long.wav"))), false);
        QVERIFY(WaitForPosition(&QtAudioDevice::WavePosition, 300));
    }
};

QTEST_GUILESS_MAIN(QtAudioDeviceTest)
#include "QtAudioDeviceTest.moc"
