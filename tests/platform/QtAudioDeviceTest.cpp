#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/prctl.h>

#include <csignal>
#include <vector>

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
    QProcess m_server;
    std::unique_ptr<QtAudioDevice> m_device;
    std::vector<SequenceEnd> m_notices;

    QString File(const QString& name) const { return m_root.filePath(name); }

    static QString Shipped(const QString& file) { return QStringLiteral(TAVLIX_DATA_DIR "/") + file; }

    bool OpenAndPlay(const QString& file)
    {
        return m_device->OpenSequence(Path(file)) && m_device->PlaySequenceFromStart();
    }

    // The loudest sample on the sink over the next milliseconds, or as soon as one is
    // louder than enough.
    int Peak(int milliseconds, int enough)
    {
        QProcess rec;
        rec.start(QStringLiteral("parec"), {QStringLiteral("--device=tavlix_null.monitor"), QStringLiteral("--raw"),
                                            QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                                            QStringLiteral("--rate=8000")});
        if (!rec.waitForStarted(5000))
            return -1;
        int peak = 0;
        QByteArray raw;
        (void)QTest::qWaitFor(
            [&] {
                raw += rec.readAllStandardOutput();
                const qsizetype whole = raw.size() / 2 * 2;
                for (qsizetype i = 0; i < whole; i += 2) {
                    const auto sample = std::int16_t(std::uint8_t(raw[i]) | std::uint8_t(raw[i + 1]) << 8);
                    peak = std::max(peak, std::abs(int(sample)));
                }
                raw.remove(0, whole);
                return peak > enough;
            },
            milliseconds);
        rec.kill();
        rec.waitForFinished(5000);
        return peak;
    }

    // Sound comes out of the server a moment after the player starts, later on a busy
    // machine.
    bool Audible() { return Peak(5000, 200) > 200; }
    bool Silent() { return Peak(1000, 50) <= 50; }

    bool WaitForPosition(qint64 (QtAudioDevice::*position)() const, qint64 atLeast, int timeout = 10000)
    {
        return QTest::qWaitFor([&] { return ((*m_device).*position)() >= atLeast; }, timeout);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        const QString home = File(QStringLiteral("home"));
        const QString runtime = File(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(runtime));
        QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString socket = runtime + QStringLiteral("/pulse.sock");
        // Set before the first player exists: Qt connects to the sound server once.
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        qputenv("PULSE_SERVER", "unix:" + socket.toUtf8());

        // The server ends with this process, even when the test crashes.
        m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(QStringLiteral("pulseaudio"),
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                        QStringLiteral("--disable-shm"), QStringLiteral("--use-pid-file=no"),
                        QStringLiteral("--log-level=error"),
                        QStringLiteral("--load=module-null-sink sink_name=tavlix_null"),
                        QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        QVERIFY2(m_server.waitForStarted(5000), "pulseaudio does not start");
        const bool ready = QTest::qWaitFor(
            [&] {
                QProcess info;
                info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
                return info.waitForFinished(2000) && info.exitCode() == 0;
            },
            15000);
        QVERIFY2(ready, "pulseaudio does not answer");

        Write(File(QStringLiteral("short.mid")), tavlix::testsound::Tune(4));
        Write(File(QStringLiteral("long.mid")), tavlix::testsound::Tune(20));
        Write(File(QStringLiteral("short.wav")), tavlix::testsound::Tone(300));
        Write(File(QStringLiteral("long.wav")), tavlix::testsound::Tone(5000));
        Write(File(QStringLiteral("empty.wav")), tavlix::testsound::Tone(0));
        Write(File(QStringLiteral("noise.mid")), tavlix::testsound::Noise(3000, 1));
        Write(File(QStringLiteral("noise.wav")), tavlix::testsound::Noise(3000, 2));
        // Right headers over random bytes: the worst a damaged download gives.
        Write(File(QStringLiteral("garbage-track.mid")), tavlix::testsound::MidiFile(tavlix::testsound::Noise(3000, 3)));
        std::vector<std::uint8_t> garbageWave = tavlix::testsound::Tone(5000);
        const std::vector<std::uint8_t> noise = tavlix::testsound::Noise(garbageWave.size() - 12, 4);
        std::copy(noise.begin(), noise.end(), garbageWave.begin() + 12);
        Write(File(QStringLiteral("garbage.wav")), garbageWave);
    }

    void cleanupTestCase()
    {
        m_device.reset();
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }

    void init()
    {
        m_notices.clear();
        m_device = std::make_unique<QtAudioDevice>();
        m_device->SetSequenceNoticeHandler([this](SequenceEnd end) { m_notices.push_back(end); });
    }

    void cleanup() { m_device.reset(); }

    void midiTrackSoundsAndItsPositionAdvances()
    {
        const QString track = Shipped(QStringLiteral("music/general.mid"));
        QVERIFY(OpenAndPlay(track));
        QVERIFY(WaitForPosition(&QtAudioDevice::SequencePosition, 500));
        QVERIFY(m_device->IsSequencePlaying());
        QVERIFY(Audible());
        QVERIFY(m_notices.empty());
    }

    void shortTrackEndsWithOneSuccessfulNoticeAndPlaysAgain()
    {
        QVERIFY(OpenAndPlay(File(QStringLiteral("short.mid"))));
        QTRY_COMPARE_WITH_TIMEOUT(m_notices.size(), std::size_t(1), 10000);
        QCOMPARE(m_notices[0], SequenceEnd::Successful);
        QVERIFY(!m_device->IsSequencePlaying());

        // What the music player does to loop a track: play it again from the notice.
        QVERIFY(m_device->PlaySequenceFromStart());
        QVERIFY(WaitForPosition(&QtAudioDevice::SequencePosition, 300));
        QVERIFY(Audible());
        QTRY_COMPARE_WITH_TIMEOUT(m_notices.size(), std::size_t(2), 10000);
        QCOMPARE(m_notices[1], SequenceEnd::Successful);
        QTest::qWait(500);
        QCOMPARE(m_notices.size(), std::size_t(2));
    }

    void pauseThenResumeGoesOnFromWhereItStopped()
    {
        QVERIFY(OpenAndPlay(File(QStringLiteral("long.mid"))));
        QVERIFY(WaitForPosition(&QtAudioDevice::SequencePosition, 1500));
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
        QVERIFY(m_notices.empty());
    }

    void closeAllDuringPlayAbortsAndNeverSucceeds()
    {
        QVERIFY(OpenAndPlay(File(QStringLiteral("short.mid"))));
        QVERIFY(WaitForPosition(&QtAudioDevice::SequencePosition, 300));
        m_device->CloseAll();
        QVERIFY(m_notices.empty());  // delivered later, from the event loop
        QTest::qWait(2500);          // past the end the track would have reached
        QCOMPARE(m_notices, std::vector<SequenceEnd>{SequenceEnd::Aborted});
        QVERIFY(!m_device->IsSequencePlaying());
        QVERIFY(!m_device->PlaySequenceFromStart());
    }

    void pausedPlayClosedIsAborted()
    {
        QVERIFY(OpenAndPlay(File(QStringLiteral("long.mid"))));
        QVERIFY(WaitForPosition(&QtAudioDevice::SequencePosition, 300));
        QVERIFY(m_device->StopSequence());
        QVERIFY(m_device->PlaySequenceFromStart());
        QVERIFY(m_device->StopSequence());
        m_device->CloseAll();
        QVERIFY(m_notices.empty());  // never from inside a call
        QTRY_COMPARE(m_notices, (std::vector<SequenceEnd>{SequenceEnd::Superseded, SequenceEnd::Aborted}));
    }

    void waveformSoundsAndANewOneReplacesIt()
    {
        const QString effect = Shipped(QStringLiteral("sounds/correct.wav"));
        m_device->PlayWave(Path(effect), true);
        QVERIFY(WaitForPosition(&QtAudioDevice::WavePosition, 100));
        QVERIFY(Audible());

        m_device->PlayWave(Path(File(QStringLiteral("short.wav"))), false);
        QTRY_VERIFY_WITH_TIMEOUT(!m_device->IsWavePlaying(), 5000);
        QVERIFY(Silent());
        QVERIFY(m_notices.empty());  // waveforms send no notice
    }

    void loopingWaveformGoesOnUntilPurged()
    {
        m_device->PlayWave(Path(File(QStringLiteral("short.wav"))), true);
        QTest::qWait(2500);
        QVERIFY(m_device->IsWavePlaying());
        QVERIFY(Audible());
        m_device->PurgeWave();
        QVERIFY(!m_device->IsWavePlaying());
        QVERIFY(Silent());

        // Nothing to loop: the player ends rather than start round after round.
        m_device->PlayWave(Path(File(QStringLiteral("empty.wav"))), true);
        QTRY_VERIFY_WITH_TIMEOUT(!m_device->IsWavePlaying(), 5000);
    }

    void brokenFilesPlayNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("missing") << QStringLiteral("missing");
        QTest::newRow("random bytes") << QStringLiteral("noise");
        QTest::newRow("a folder") << QStringLiteral("home");
        QTest::newRow("random bytes behind the header") << QStringLiteral("garbage-track");
    }

    void brokenFilesPlayNothing()
    {
        QFETCH(QString, file);
        const auto midi = Path(File(file + QStringLiteral(".mid")));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!m_device->OpenSequence(midi));
        QVERIFY(!m_device->PlaySequenceFromStart());
        QVERIFY(!m_device->ResumeSequence());
        m_device->PlayWave(Path(File(file + QStringLiteral(".wav"))), false);
        QCOMPARE_LT(timer.elapsed(), 1000);
        QVERIFY(Silent());
        QVERIFY(!m_device->IsSequencePlaying());
        QVERIFY(m_notices.empty());
    }

    void damagedWaveBehindAGoodHeaderPlaysNothing()
    {
        m_device->PlayWave(Path(File(QStringLiteral("garbage.wav"))), false);
        QTRY_VERIFY_WITH_TIMEOUT(!m_device->IsWavePlaying(), 5000);
        QVERIFY(Silent());
        // The player is still of use.
        m_device->PlayWave(Path(File(QStringLiteral("long.wav"))), false);
        QVERIFY(WaitForPosition(&QtAudioDevice::WavePosition, 300));
    }
};

QTEST_GUILESS_MAIN(QtAudioDeviceTest)
#include "QtAudioDeviceTest.moc"
