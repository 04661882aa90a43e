#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

#include "shell/CTavlixApp.h"

int main(int argc, char** argv)
{
    // Without a display there is no window to show: say how to get one.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "Tavlix needs a graphical display, and none was found (DISPLAY is not set).\n"
                     "On a machine without one, start it under a virtual display:\n"
                     "    xvfb-run -a %s\n",
                     argc > 0 ? argv[0] : "tavlix");
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brelmor"));
    QApplication::setApplicationName(QStringLiteral("Tavlix"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tavlix.svg")));
    // The name of the installed menu entry, by which a Wayland desktop finds the
    // window's icon and launcher.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.brelmor.Tavlix"));
    tavlix::CTavlixApp app(tavlix::DesktopEnvironment(tavlix::kBuildEdition));
    return app.InitApplication();
}
