#include <QApplication>

#include "ui/application.h"
#include "ui/qt_services.h"
#include "ui/tavola_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tavola::configureApplication();
    tavola::QtServices services;
    tavola::TavolaWindow window(services);
    services.setParentWindow(&window);
    window.start();
    return QApplication::exec();
}
