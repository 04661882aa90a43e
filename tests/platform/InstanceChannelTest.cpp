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

    QTemporaryDir m_otherRuntime;  // another session of the same user
    std::unique_ptr<QProcess> m_otherPrimary;

    // The probe in the test's runtime folder, or in the one given.
    static void StartProbe(QProcess& probe, const QStringList& args, const QString& runtime)
    {
        if (!runtime.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
            probe.setProcessEnvironment(environment);
        }
        probe.start(QStringLiteral(TAVLIX_INSTANCE_PROBE), args);
    }

    QString Probe(const QStringList& args, const QString& runtime = {})
    {
        QProcess probe;
        StartProbe(probe, args, runtime);
        if (!probe.waitForFinished(10000))
            return QStringLiteral("<hung>");
        return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
    }

    void StartPrimary(std::unique_ptr<QProcess>& primary, const QString& title, const QString& runtime = {})
    {
        primary = std::make_unique<QProcess>();
        StartProbe(*primary, {QStringLiteral("serve"), m_name, title}, runtime);
        QVERIFY(primary->waitForReadyRead(10000));
        QCOMPARE(primary->readLine().trimmed(), QByteArray("primary"));
    }
    void StartPrimary(const QString& title) { StartPrimary(m_primary, title); }

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
        for (auto* primary : {m_primary.get(), m_otherPrimary.get()}) {
            if (primary && primary->state() != QProcess::NotRunning) {
                primary->kill();
                primary->waitForFinished();
            }
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

    // Each session of the user has its own primary, and a start meets its own session's.
    void twoSessionsKeepTheirOwnInstances()
    {
        StartPrimary(QStringLiteral("Tavlix - World Cup (Hero Level) 3/40"));
        StartPrimary(m_otherPrimary, QStringLiteral("Tavlix"), m_otherRuntime.path());
        QCOMPARE(Probe({QStringLiteral("title"), m_name}), QStringLiteral("Tavlix - World Cup (Hero Level) 3/40"));
        QCOMPARE(Probe({QStringLiteral("title"), m_name}, m_otherRuntime.path()), QStringLiteral("Tavlix"));
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
