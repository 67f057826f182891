#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QProxyStyle>
#include <QTranslator>

#include "ui/qt_services.h"
#include "ui/tavola_window.h"

// The pictures live in a static library: register them explicitly.
static void registerArt() { Q_INIT_RESOURCE(art); }

namespace tavola {

namespace {

// The desktop's style, except for the chevron of the menu bar's overflow
// button, which we draw: the stock one is a picture file, and reading it
// loads every image-format plugin before the window is first on screen.
class TavolaStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        if (which != SP_ToolBarHorizontalExtensionButton)
            return QProxyStyle::standardIcon(which, option, widget);
        const qreal ratio = widget ? widget->devicePixelRatioF() : qApp->devicePixelRatio();
        QPixmap chevron(QSize(12, 12) * ratio);
        chevron.setDevicePixelRatio(ratio);
        chevron.fill(Qt::transparent);
        QPainter painter(&chevron);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QApplication::palette().color(QPalette::ButtonText), 1.5));
        for (const qreal left : {2.5, 6.5})
            painter.drawPolyline(QPolygonF({{left, 3}, {left + 3, 6}, {left, 9}}));
        return QIcon(chevron);
    }
};

}  // namespace

void configureApplication()
{
    registerArt();
    QApplication::setStyle(new TavolaStyle);
    QApplication::setApplicationName("Tavola");
    QApplication::setDesktopFileName("tavola");

    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    auto* qtItalian = new QTranslator(qApp);
    if (qtItalian->load("qtbase_it", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtItalian);

    // The layout asks for the classic Windows faces; these are their nearest
    // metric-compatible free faces.
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"});
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "Tinos"});
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
