#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <vector>

#include "NullSinkServer.h"
#include "SoundFileWriter.h"
#include "TestSoundFiles.h"
#include "platform/qt/QtAudioDevice.h"

using tavlix::QtAudioDevice;
using tavlix::SequenceEnd;

// A machine with a sound card and no sound server: the sound goes to ALSA's default
// device, here one that writes what it plays to a file.
class QtAudioDeviceAlsaTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    std::filesystem::path Write(const QString& name, const std::vector<std::uint8_t>& bytes)
    {
        return tavlix::testsound::WriteSoundFile(m_root.filePath(name), bytes);
    }

    // The lengths in 10 ms of each loud stretch of the card's 16-bit stereo at 22050 Hz.
    static std::vector<int> LoudStretches(const QByteArray& played)
    {
        constexpr qsizetype kFramesPer10Ms = 220;
        std::vector<int> stretches;
        bool wasLoud = false;
        for (qsizetype frame = 0; frame + kFramesPer10Ms <= played.size() / 4; frame += kFramesPer10Ms) {
            bool loud = false;
            for (qsizetype i = 0; i < 2 * kFramesPer10Ms && !loud; ++i) {
                std::int16_t sample;
                std::memcpy(&sample, played.constData() + frame * 4 + i * 2, 2);
                loud = std::abs(int(sample)) > 300;
            }
            if (loud && !wasLoud)
                stretches.push_back(0);
            if (loud)
                ++stretches.back();
            wasLoud = loud;
        }
        return stretches;
    }

private slots:
    void withoutAServerTheCardPlaysWaveformsAndTracks()
    {
        QVERIFY(m_root.isValid());
        const QString played = m_root.filePath(QStringLiteral("played.raw"));
        QVERIFY(tavlix::testsound::NullSinkServer::PointAt(
            m_root.path(), "pcm.discard { type null }\n"
                           "pcm.!default { type file slave.pcm \"discard\" format \"raw\" file \""
                               + QFile::encodeName(played) + "\" }\n"));
        auto device = std::make_unique<QtAudioDevice>();
        std::vector<SequenceEnd> notices;
        device->SetSequenceNoticeHandler([&](SequenceEnd end) { notices.push_back(end); });

        device->PlayWave(Write(QStringLiteral("tone.wav"), tavlix::testsound::Tone(300)), false);
        QVERIFY(device->IsWavePlaying());
        QTRY_VERIFY_WITH_TIMEOUT(!device->IsWavePlaying(), 10000);
        QVERIFY(device->OpenSequence(Write(QStringLiteral("tune.mid"), tavlix::testsound::Tune(2)))
                && device->PlaySequenceFromStart());
        QTRY_COMPARE_WITH_TIMEOUT(notices, std::vector<SequenceEnd>{SequenceEnd::Successful}, 10000);

        device.reset();  // the card's file is whole once the device is closed
        QFile card(played);
        QVERIFY(card.open(QIODevice::ReadOnly));
        const std::vector<int> stretches = LoudStretches(card.readAll());
        // The tone as long as it was written, then the tune.
        QCOMPARE_GE(stretches.size(), std::size_t(2));
        QCOMPARE_LE(std::abs(stretches.front() - 30), 3);
    }
};

QTEST_GUILESS_MAIN(QtAudioDeviceAlsaTest)
#include "QtAudioDeviceAlsaTest.moc"
