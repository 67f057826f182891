#include <QApplication>

#include "app/command_line.h"
#include "ui/application.h"

int main(int argc, char* argv[])
{
    if (const auto status = tavola::answerCommandLine(argc, argv))
        return *status;
    tavola::preferXWayland();
    QApplication app(argc, argv);
    return tavola::runGame();
}
