// What Tavola's fonts alone cost at start-up: a bare main window of Tavola's
// size whose labels show the texts of Tavola's first frame in the layout's
// faces and sizes (ui/layout.cpp), through the same substitutions of the
// classic Windows faces (ui/fonts.cpp). Nothing else of Tavola: no
// pictures, menu bar, translations or game logic.
//   --first-frame  ends once the first operand is on screen
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

#include "bench/first_frame.h"

namespace {

struct Text {
    const char* name;
    int left, top, width, height;  // twips, as in the layout
    const char* family;
    double points;
    bool bold, italic, sizesToText;
    const char* text;
};

// Kept in step with the layout's fonts by hand; an empty text still asks for
// its face where the layout sizes the label to its text.
const Text kTexts[] = {
    {"Label7", 5160, -120, 615, 1575, "Arial", 72, true, false, false, ")"},
    {"Label5", 3120, -120, 495, 1575, "Arial", 72, true, false, false, "("},
    {"lblNum1", 840, 240, 345, 1185, "Arial", 48, true, false, true, "-8"},
    {"lblNum2", 4200, 240, 345, 1185, "Arial", 48, true, false, true, "13"},
    {"Label4", 6240, 360, 615, 975, "Arial", 48, true, false, false, "="},
    {"Label2", 2160, 360, 615, 975, "Arial", 48, false, false, false, "-"},
    {"Label6", 240, 3360, 2565, 495, "MS Sans Serif", 18, false, false, true, "Risposte esatte"},
    {"Label1", 3840, 3360, 2520, 495, "MS Sans Serif", 18, false, false, true, "Risposte errate"},
    {"Label3", 7440, 3360, 2340, 495, "MS Sans Serif", 18, false, false, true, "Risposte totali"},
    {"lblScore", 1080, 4080, 555, 885, "Times New Roman", 36, true, false, true, "0"},
    {"lblScore1", 4830, 4080, 540, 885, "Times New Roman", 36, true, false, true, "0"},
    {"lblScore2", 8310, 4080, 555, 885, "Times New Roman", 36, true, false, true, "0"},
    {"lblTime", 8400, 1800, 90, 300, "MS Sans Serif", 12, true, false, true, ""},
    {"lblMessage", 1680, 2040, 6615, 615, "MS Sans Serif", 24, true, true, false, ""},
    {"cmdNext", 4320, 6120, 1815, 1095, "MS Sans Serif", 8.25, true, false, false, "Nuovo calcolo"},
    {"cmdExit", 9600, 4080, 1575, 1095, "MS Sans Serif", 8.25, true, false, false, "Exit"},
    {"Command1", 4800, 6360, 855, 615, "MS Sans Serif", 8.25, false, false, false, "Command1"},
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--first-frame") == 0)
        app.installEventFilter(new tavola::bench::ExitAtFirstFrame("lblNum1", &app));
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"});
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "Tinos"});

    QMainWindow window;
    window.setWindowTitle("Vorlando fonts");
    auto* surface = new QWidget;
    for (const Text& entry : kTexts) {
        auto* label = new QLabel(QString::fromUtf8(entry.text), surface);
        label->setObjectName(entry.name);
        QFont font(QString::fromLatin1(entry.family));
        font.setPointSizeF(entry.points);
        font.setBold(entry.bold);
        font.setItalic(entry.italic);
        label->setFont(font);
        label->setGeometry(entry.left / 15, entry.top / 15, entry.width / 15, entry.height / 15);
        if (entry.sizesToText)
            label->adjustSize();
    }
    window.setCentralWidget(surface);
    window.resize(1006, 554);
    window.show();
    return QApplication::exec();
}
