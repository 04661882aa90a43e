#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "NullSinkServer.h"
#include "SoundFileWriter.h"
#include "TestSoundFiles.h"
#include "platform/qt/QtAudioDevice.h"

Q_DECLARE_METATYPE(tavlix::testsound::WaveLayout)

using tavlix::QtAudioDevice;
using tavlix::SequenceEnd;

namespace {

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

    // What the sink plays over the next milliseconds, at 8000 samples a second, or until
    // enough says so. What was recorded before the call is dropped.
    std::vector<std::int16_t> Record(int milliseconds, const std::function<bool(const std::vector<std::int16_t>&)>& enough = {})
    {
        m_recorder.waitForReadyRead(0);
        m_recorder.readAllStandardOutput();
        std::vector<std::int16_t> samples;
        QByteArray raw;
        (void)QTest::qWaitFor(
            [&] {
                raw += m_recorder.readAllStandardOutput();
                const qsizetype whole = raw.size() / 2 * 2;
                for (qsizetype i = 0; i < whole; i += 2)
                    samples.push_back(std::int16_t(std::uint8_t(raw[i]) | std::uint8_t(raw[i + 1]) << 8));
                raw.remove(0, whole);
                return enough && enough(samples);
            },
            milliseconds);
        return samples;
    }

    static int Loudest(std::span<const std::int16_t> samples)
    {
        int peak = 0;
        for (const std::int16_t sample : samples)
            peak = std::max(peak, std::abs(int(sample)));
        return peak;
    }

    int Peak(int milliseconds, int enough)
    {
        return Loudest(Record(milliseconds, [&](const auto& samples) { return Loudest(samples) > enough; }));
    }

    // Follows a recording as it grows: where the last loud sample was, and how long it
    // has been quiet since.
    struct Quiet {
        std::size_t scanned = 0;
        std::size_t run = 0;
        std::optional<std::size_t> firstLoud;

        std::size_t Follow(const std::vector<std::int16_t>& samples, int threshold)
        {
            for (; scanned < samples.size(); ++scanned) {
                if (std::abs(int(samples[scanned])) <= threshold) {
                    ++run;
                    continue;
                }
                run = 0;
                if (!firstLoud)
                    firstLoud = scanned;
            }
            return run;
        }
    };

    // Sound comes out of the server a moment after the player starts, later on a busy
    // machine.
    bool Audible() { return Peak(5000, 200) > 200; }
    // Once what the server held has played out: 0.7 s without a sound, which a busy
    // machine reaches later, and a sound that goes on never reaches.
    bool Silent()
    {
        constexpr std::size_t kQuietSamples = 8000 * 7 / 10;
        Quiet quiet;
        (void)Record(5000, [&](const auto& samples) { return quiet.Follow(samples, 50) >= kQuietSamples; });
        return quiet.run >= kQuietSamples;
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
        // Recording, not only started.
        QVERIFY(m_recorder.waitForStarted(5000) && m_recorder.waitForReadyRead(5000));

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
            tavlix::testsound::WriteSoundFile(File(QLatin1String(name)), bytes);
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

    // Every layout of the format sounds as long and as high as it was written, whether
    // decoded before it plays or, over five seconds, read while it plays.
    void waveformsOfEveryLayoutSoundAsWritten_data()
    {
        QTest::addColumn<int>("milliseconds");
        QTest::addColumn<tavlix::testsound::WaveLayout>("layout");
        QTest::newRow("16-bit mono at 22050 Hz, as the effects") << 1000 << tavlix::testsound::WaveLayout{22050, 1, 16};
        QTest::newRow("8-bit stereo at 11025 Hz") << 1000 << tavlix::testsound::WaveLayout{11025, 2, 8};
        QTest::newRow("24-bit mono at 44100 Hz") << 1000 << tavlix::testsound::WaveLayout{44100, 1, 24};
        QTest::newRow("float stereo at 48000 Hz") << 1000 << tavlix::testsound::WaveLayout{48000, 2, 32};
        QTest::newRow("16-bit mono at 8000 Hz, long") << 5500 << tavlix::testsound::WaveLayout{8000, 1, 16};
    }

    void waveformsOfEveryLayoutSoundAsWritten()
    {
        QFETCH(int, milliseconds);
        QFETCH(tavlix::testsound::WaveLayout, layout);
        tavlix::testsound::WriteSoundFile(File(QStringLiteral("layout.wav")), tavlix::testsound::Tone(milliseconds, layout));
        m_device->PlayWave(Path(File(QStringLiteral("layout.wav"))), false);
        // From whenever the sound starts until a second of quiet after it.
        Quiet quiet;
        const std::vector<std::int16_t> heard = Record(milliseconds + 10000, [&](const auto& samples) {
            return quiet.Follow(samples, 50) >= 8000 && quiet.firstLoud;
        });
        QVERIFY(quiet.firstLoud);
        // Loud stretches of 10 ms give the length, the sign changes in them the pitch; a
        // busy machine may drop a stretch, a misread format is far off.
        constexpr std::size_t kStretch = 80;
        int loud = 0;
        int signChanges = 0;
        for (std::size_t at = kStretch; at + kStretch <= heard.size(); at += kStretch) {
            if (Loudest(std::span(heard).subspan(at, kStretch)) < 1000)
                continue;
            ++loud;
            for (std::size_t i = at; i < at + kStretch; ++i)
                signChanges += (heard[i - 1] < 0) != (heard[i] < 0);
        }
        QCOMPARE_LE(std::abs(loud * 10 - milliseconds), milliseconds / 4);
        QCOMPARE_LE(std::abs(signChanges * 100 / (2 * std::max(loud, 1)) - 440), 44);
    }

    // A waveform track too long to be kept is read while it plays, and loops as well.
    void longWaveformTrackLoops()
    {
        tavlix::testsound::WriteSoundFile(File(QStringLiteral("track.wav")), tavlix::testsound::Tone(5500, {8000, 1, 16}));
        m_device->PlayWave(Path(File(QStringLiteral("track.wav"))), true);
        QVERIFY(WaitForPosition(&QtAudioDevice::WavePosition, 6500));
        QVERIFY(m_device->IsWavePlaying());
        QVERIFY(Audible());
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
