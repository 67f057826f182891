// Tavola's start-up exactly as app/main.cpp does it, ending once the first
// problem is on screen (the first operand's label painted with its number).
#include <QApplication>

#include "bench/first_frame.h"
#include "ui/application.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.installEventFilter(new tavola::bench::ExitAtFirstFrame("lblNum1", &app));
    return tavola::runGame();
}
