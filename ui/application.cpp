#include "ui/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QWindow>
#include <QTranslator>

#include "ui/fonts.h"
#include "ui/qt_services.h"
#include "ui/style.h"
#include "ui/tavola_window.h"

// The pictures live in a static library: register them explicitly.
static void registerArt() { Q_INIT_RESOURCE(art); }

namespace tavola {

void configureApplication()
{
    registerArt();
    QApplication::setStyle(new TavolaStyle);
    QApplication::setApplicationName("Tavola");
    QApplication::setDesktopFileName("tavola");

    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    substituteFreeFaces();
}

void useItalianQtTexts()
{
    static const bool loaded = [] {
        auto* qtItalian = new QTranslator(qApp);
        return qtItalian->load("qtbase_it", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
               QApplication::installTranslator(qtItalian);
    }();
    (void)loaded;
}

void preferXWayland()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

int runGame()
{
    configureApplication();
    QtServices services;
    TavolaWindow window(services);
    services.setParentWindow(&window);
    window.start();
    const int status = QApplication::exec();
    // No window may outlive the event loop: on Wayland, Qt's event thread
    // still posts a window's frame callbacks, and one posted while the
    // application is torn down crashes it. Without native windows there are
    // none left to come; the ones already posted are handled here.
    window.hide();
    for (QWindow* native : QGuiApplication::allWindows())
        native->destroy();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    return status;
}

}  // namespace tavola
