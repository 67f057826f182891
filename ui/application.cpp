#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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

    // The layout asks for the classic Windows faces; these are their nearest
    // metric-compatible free faces.
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"});
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "Tinos"});
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

int runGame()
{
    configureApplication();
    QtServices services;
    TavolaWindow window(services);
    services.setParentWindow(&window);
    window.start();
    return QApplication::exec();
}

}  // namespace tavola
