#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace tavlix {

bool QtShell::Open(const std::string& address)
{
    const QString text = QString::fromStdString(address);
    const QUrl url = QUrl::fromUserInput(text);
    if (QDesktopServices::openUrl(url))
        return true;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
}

}  // namespace tavlix
