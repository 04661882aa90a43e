#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <sys/prctl.h>

#include <csignal>

namespace tavlix::testsound {

// A PulseAudio server of the caller's own, whose only sink, "tavlix_null", discards what
// it plays but lets it be recorded from "tavlix_null.monitor".
class NullSinkServer {
public:
    NullSinkServer() = default;
    NullSinkServer(const NullSinkServer&) = delete;
    NullSinkServer& operator=(const NullSinkServer&) = delete;

    ~NullSinkServer()
    {
        m_server.kill();  // a null sink has nothing to keep
        m_server.waitForFinished(5000);
    }

    // Points this process at the server's place under root, where no server runs yet,
    // and ALSA at the given configuration: by default one without any device, so that no
    // sound reaches a card of the machine.
    static bool PointAt(const QString& root, const QByteArray& alsaConfiguration = {})
    {
        const QString home = root + QStringLiteral("/home");
        const QString runtime = root + QStringLiteral("/run");
        const QString alsa = root + QStringLiteral("/asound.conf");
        if (!QDir().mkpath(home) || !QDir().mkpath(runtime)
            || !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
        QFile configuration(alsa);
        if (!configuration.open(QIODevice::WriteOnly) || configuration.write(alsaConfiguration) != alsaConfiguration.size())
            return false;
        qputenv("ALSA_CONFIG_PATH", alsa.toUtf8());
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        qputenv("PULSE_SERVER", "unix:" + Socket(root).toUtf8());
        return true;
    }

    // Starts the server there; false when it does not answer.
    bool Start(const QString& root)
    {
        if (!PointAt(root))
            return false;
        const QString socket = Socket(root);

        // The server ends with this process, even when it crashes.
        m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(QStringLiteral("pulseaudio"),
                       QStringLiteral("-n --daemonize=no --exit-idle-time=-1 --disable-shm --use-pid-file=no "
                                      "--log-level=error")
                               .split(u' ')
                           << QStringLiteral("--load=module-null-sink sink_name=tavlix_null")
                           << QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket);
        if (!m_server.waitForStarted(5000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 15000) {
            QProcess info;
            info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
            if (info.waitForFinished(2000) && info.exitCode() == 0)
                return true;
            QThread::msleep(100);
        }
        return false;
    }

private:
    static QString Socket(const QString& root) { return root + QStringLiteral("/run/pulse.sock"); }

    QProcess m_server;
};

}  // namespace tavlix::testsound
