#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

#include "TestSoundFiles.h"
#include "platform/qt/QtAudioDevice.h"

using tavlix::QtAudioDevice;
using tavlix::SequenceEnd;

// A machine without a sound server, the server address leading nowhere: every call
// returns at once and nothing claims to have played.
class QtAudioDeviceSilentTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    std::filesystem::path Write(const QString& name, const std::vector<std::uint8_t>& bytes)
    {
        QFile out(m_root.filePath(name));
        if (out.open(QIODevice::WriteOnly))
            out.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return QFile::encodeName(out.fileName()).toStdString();
    }

private slots:
    void withoutASoundServerNothingWaitsOrPlays()
    {
        QVERIFY(m_root.isValid());
        qputenv("HOME", m_root.path().toUtf8());
        qputenv("XDG_RUNTIME_DIR", m_root.path().toUtf8());
        qputenv("PULSE_SERVER", "unix:" + m_root.filePath(QStringLiteral("no-server")).toUtf8());
        const auto track = Write(QStringLiteral("tune.mid"), tavlix::testsound::Tune(2));
        std::vector<SequenceEnd> notices;
        QElapsedTimer timer;
        timer.start();
        {
            QtAudioDevice device;
            device.SetSequenceNoticeHandler([&](SequenceEnd end) { notices.push_back(end); });
            QVERIFY(device.OpenSequence(track) && device.PlaySequenceFromStart());
            device.PlayWave(Write(QStringLiteral("tone.wav"), tavlix::testsound::Tone(300)), true);
            QVERIFY(device.StopSequence() && device.ResumeSequence());
            QCOMPARE_LT(timer.elapsed(), 2000);

            QTest::qWait(2500);  // past the end of the tune
            QVERIFY(!device.IsSequencePlaying() && !device.IsWavePlaying());
            QCOMPARE(device.SequencePosition(), 0);
            timer.restart();
            device.PurgeWave();
            device.CloseAll();
            QVERIFY(device.OpenSequence(track) && device.PlaySequenceFromStart());
            QTest::qWait(100);
        }
        QCOMPARE_LT(timer.elapsed(), 2000);
        QVERIFY(notices.empty());
    }
};

QTEST_GUILESS_MAIN(QtAudioDeviceSilentTest)
#include "QtAudioDeviceSilentTest.moc"
