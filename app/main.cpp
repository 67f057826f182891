#include <QApplication>

#include "ui/application.h"

// Wayland's shells never tell a window that it is minimised, and the
// minimised window shows the time in its title: where XWayland is there too,
// prefer it, with native Wayland as the fallback. A choice the user made
// stays.
static void preferXWayland()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

int main(int argc, char* argv[])
{
    preferXWayland();
    QApplication app(argc, argv);
    return tavola::runGame();
}
