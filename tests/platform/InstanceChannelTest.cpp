#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/qt/InstanceChannel.h"

// Two real processes: a primary instance served by the probe, and requests from this
// test process or a second probe.
class InstanceChannelTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime;
    QString m_name;
    std::unique_ptr<QProcess> m_primary;

    QString Probe(const QStringList& args)
    {
        QProcess probe;
        probe.start(QStringLiteral(TAVLIX_INSTANCE_PROBE), args);
        if (!probe.waitForFinished(10000))
            return QStringLiteral("<hung>");
        return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
    }

    void StartPrimary(const QString& title)
    {
        m_primary = std::make_unique<QProcess>();
        m_primary->start(QStringLiteral(TAVLIX_INSTANCE_PROBE), {QStringLiteral("serve"), m_name, title});
        QVERIFY(m_primary->waitForReadyRead(10000));
        QCOMPARE(m_primary->readLine().trimmed(), QByteArray("primary"));
    }

    QByteArray NextLine()
    {
        if (!m_primary->canReadLine())
            m_primary->waitForReadyRead(5000);
        return m_primary->readLine().trimmed();
    }

private slots:
    void initTestCase()
    {
        // Lock and socket live in a runtime folder of the test's own.
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        QVERIFY(QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void init()
    {
        static int n = 0;
        m_name = QStringLiteral("TavlixChannelTest%1-%2").arg(QCoreApplication::applicationPid()).arg(++n);
    }

    void cleanup()
    {
        if (m_primary && m_primary->state() != QProcess::NotRunning) {
            m_primary->kill();
            m_primary->waitForFinished();
        }
    }

    void secondStartFindsTheFirstAndBringsItForward()
    {
        StartPrimary(QStringLiteral("Tavlix"));
        QCOMPARE(Probe({QStringLiteral("serve"), m_name, QString()}), QStringLiteral("secondary"));
        QCOMPARE(Probe({QStringLiteral("front"), m_name}), QStringLiteral("sent"));
        QCOMPARE(NextLine(), QByteArray("front"));
    }

    void titleTellsAWorldCupElsewhere()
    {
        StartPrimary(QStringLiteral("Tavlix - World Cup (Hero Level) 3/40"));
        QCOMPARE(Probe({QStringLiteral("title"), m_name}), QStringLiteral("Tavlix - World Cup (Hero Level) 3/40"));
    }

    void closeRequestEndsThePrimaryOnlyWithItsValues()
    {
        StartPrimary(QStringLiteral("Tavlix"));
        QCOMPARE(Probe({QStringLiteral("close"), m_name, QStringLiteral("1"), QStringLiteral("3")}), QStringLiteral("sent"));
        QCOMPARE(NextLine(), QByteArray("close 1 3"));
        QVERIFY(m_primary->state() == QProcess::Running);
        QCOMPARE(Probe({QStringLiteral("count"), m_name, QStringLiteral("1")}), QStringLiteral("2"));
        QVERIFY(m_primary->waitForFinished(5000));
        QCOMPARE(m_primary->exitCode(), 12);
    }

    void aloneWhenNobodyRuns()
    {
        QCOMPARE(Probe({QStringLiteral("title"), m_name}), QStringLiteral("<none>"));
        QCOMPARE(Probe({QStringLiteral("front"), m_name}), QStringLiteral("nobody"));
        QCOMPARE(Probe({QStringLiteral("count"), m_name, QStringLiteral("0")}), QStringLiteral("1"));
        tavlix::InstanceChannel own(m_name);
        QVERIFY(own.TryBecomePrimary());
        QCOMPARE(own.EnumerateInstances(1), 1);
    }

    // Even when its lock file has gone, a live primary keeps its socket and its place.
    void aLivePrimaryKeepsItsSocket()
    {
        StartPrimary(QStringLiteral("Tavlix"));
        for (const QString& lock : QDir(m_runtime.path()).entryList({QStringLiteral("*.lock")}, QDir::Files))
            QVERIFY(QFile::remove(QDir(m_runtime.path()).filePath(lock)));
        QCOMPARE(Probe({QStringLiteral("serve"), m_name, QString()}), QStringLiteral("secondary"));
        QCOMPARE(Probe({QStringLiteral("title"), m_name}), QStringLiteral("Tavlix"));
    }

    void aCrashedPrimaryDoesNotBlockTheNextStart()
    {
        StartPrimary(QStringLiteral("Tavlix"));
        m_primary->kill();
        m_primary->waitForFinished();
        StartPrimary(QStringLiteral("Tavlix again"));
        QCOMPARE(Probe({QStringLiteral("title"), m_name}), QStringLiteral("Tavlix again"));
    }
};

QTEST_GUILESS_MAIN(InstanceChannelTest)
#include "InstanceChannelTest.moc"
