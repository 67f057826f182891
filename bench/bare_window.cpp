// The yardstick: a Qt main window of Tavola's size with one label.
//   --first-frame  ends once that label is on screen
//   --clock        the label shows the time of day, set every 500 ms, as an
//                  idle baseline for a window with a running clock
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTime>
#include <QTimer>
#include <cstring>

#include "bench/first_frame.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool clock = argc > 1 && std::strcmp(argv[1], "--clock") == 0;
    if (argc > 1 && std::strcmp(argv[1], "--first-frame") == 0)
        app.installEventFilter(new tavola::bench::ExitAtFirstFrame("label", &app));
    QMainWindow window;
    window.setWindowTitle(clock ? "Vorlando clock" : "Vorlando bare");
    auto* label = new QLabel("-8");
    label->setObjectName("label");
    window.setCentralWidget(label);
    window.resize(1006, 554);
    QTimer timer;
    if (clock) {
        QObject::connect(&timer, &QTimer::timeout, label,
                         [label] { label->setText(QTime::currentTime().toString("hh:mm:ss")); });
        timer.start(500);
    }
    window.show();
    return QApplication::exec();
}
