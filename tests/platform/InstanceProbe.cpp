// A stand-in for a second copy of the program, for the instance channel's tests:
//   serve NAME TITLE   become the primary instance; print "primary" or "secondary",
//                      then each request received ("front", "close W L"); a close
//                      request 1 2 ends the process with exit code 12
//   front NAME | title NAME | close NAME W L | count NAME ACTION
//                      one request to the primary; prints its answer
#include <QCoreApplication>
#include <QTextStream>

#include "platform/qt/InstanceChannel.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    if (args.size() < 3)
        return 2;
    tavlix::InstanceChannel channel(args[2]);
    const QString command = args[1];
    if (command == QLatin1String("serve")) {
        if (!channel.TryBecomePrimary()) {
            out << "secondary" << Qt::endl;
            return 1;
        }
        const QString title = args.value(3);
        channel.SetTitleProvider([title] { return title; });
        QObject::connect(&channel, &tavlix::InstanceChannel::frontRequested, [&out] { out << "front" << Qt::endl; });
        QObject::connect(&channel, &tavlix::InstanceChannel::closeRequested, [&out](int w, int l) {
            out << "close " << w << ' ' << l << Qt::endl;
            if (w == 1 && l == 2)
                QCoreApplication::exit(12);
        });
        out << "primary" << Qt::endl;
        return app.exec();
    }
    if (command == QLatin1String("front"))
        out << (channel.RequestFront() ? "sent" : "nobody") << Qt::endl;
    else if (command == QLatin1String("title"))
        out << channel.QueryTitle().value_or(QStringLiteral("<none>")) << Qt::endl;
    else if (command == QLatin1String("close") && args.size() == 5)
        out << (channel.RequestClose(args[3].toInt(), args[4].toInt()) ? "sent" : "nobody") << Qt::endl;
    else if (command == QLatin1String("count") && args.size() == 4)
        out << channel.EnumerateInstances(args[3].toInt()) << Qt::endl;
    else
        return 2;
    return 0;
}
