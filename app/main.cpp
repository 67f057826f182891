#include <QApplication>

#include "ui/application.h"

int main(int argc, char* argv[])
{
    tavola::preferXWayland();
    QApplication app(argc, argv);
    return tavola::runGame();
}
