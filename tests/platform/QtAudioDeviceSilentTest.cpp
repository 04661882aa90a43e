#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

#include "NullSinkServer.h"
#include "SoundFileWriter.h"
#include "TestSoundFiles.h"
#include "platform/qt/QtAudioDevice.h"

using tavlix::QtAudioDevice;
using tavlix::SequenceEnd;

// A machine without a sound server, the server address leading nowhere: every call
// returns at once and nothing claims to have played, until a server starts there, or
// another one after it.
class QtAudioDeviceSilentTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    std::filesystem::path Write(const QString& name, const std::vector<std::uint8_t>& bytes)
    {
        return tavlix::testsound::WriteSoundFile(m_root.filePath(name), bytes);
    }

private slots:
    void withoutASoundServerNothingWaitsOrPlaysUntilOneStarts()
    {
        QVERIFY(m_root.isValid());
        QVERIFY(tavlix::testsound::NullSinkServer::PointAt(m_root.path()));
        const auto track = Write(QStringLiteral("tune.mid"), tavlix::testsound::Tune(2));
        const auto tone = Write(QStringLiteral("tone.wav"), tavlix::testsound::Tone(300));
        std::vector<SequenceEnd> notices;
        QElapsedTimer timer;
        timer.start();
        QtAudioDevice device;
        device.SetSequenceNoticeHandler([&](SequenceEnd end) { notices.push_back(end); });
        QVERIFY(device.OpenSequence(track) && device.PlaySequenceFromStart());
        device.PlayWave(tone, true);
        QVERIFY(device.StopSequence() && device.ResumeSequence());
        QCOMPARE_LT(timer.elapsed(), 2000);

        QTest::qWait(2500);  // past the end of the tune
        QVERIFY(!device.IsSequencePlaying() && !device.IsWavePlaying());
        QCOMPARE(device.SequencePosition(), 0);
        QVERIFY(notices.empty());

        // A server starts, goes away, and another comes in its place.
        for (int server = 0; server < 2; ++server) {
            tavlix::testsound::NullSinkServer sound;
            QVERIFY2(sound.Start(m_root.path()), "pulseaudio does not answer");
            device.PlayWave(tone, true);
            QTRY_VERIFY_WITH_TIMEOUT(device.WavePosition() >= 500, 10000);
        }
        QVERIFY(device.OpenSequence(track) && device.PlaySequenceFromStart());
        QVERIFY(!device.IsSequencePlaying());
    }
};

QTEST_GUILESS_MAIN(QtAudioDeviceSilentTest)
#include "QtAudioDeviceSilentTest.moc"
