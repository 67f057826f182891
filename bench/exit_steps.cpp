// Tavola as app/main.cpp starts it, played by a script of a few steps: an
// answer, minimise, restore, the end-time box opened and cancelled, then the
// exit button, after which the program ends as it always does. Used by
// bench/exit_loop.sh to end the program many times on a real compositor.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "ui/application.h"

namespace {

QWidget* named(const char* name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (QWidget* found = top->objectName() == QLatin1String(name) ? top : top->findChild<QWidget*>(name))
            return found;
    return nullptr;
}

void key(QWidget* widget, int code, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text), release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

void click(QWidget* widget, QPoint at)
{
    const QPointF global = widget->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, {}, {});
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

// Starts the script once the window is first shown.
class Script : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_started || event->type() != QEvent::Show || watched->objectName() != QLatin1String("TavolaWindow"))
            return false;
        m_started = true;
        auto* window = static_cast<QWidget*>(watched);
        QTimer::singleShot(300, [] {
            key(named("txtAnswer"), Qt::Key_7, "7");
            key(named("txtAnswer"), Qt::Key_Return, "\r");
        });
        QTimer::singleShot(500, window, [window] { window->showMinimized(); });
        QTimer::singleShot(800, window, [window] { window->showNormal(); });
        QTimer::singleShot(1000, [] { click(named("Tavola"), QPoint(600, 520)); });
        QTimer::singleShot(1400, [] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                std::fprintf(stderr, "exit_steps: the end-time box was open\n");
                box->close();
            }
        });
        // Pressed while a frame is on its way, as a pupil's Alt+X right after
        // a key may be: the compositor's answer to it then comes at exit.
        QTimer::singleShot(1600, [window] {
            std::fprintf(stderr, "exit_steps: pressing the exit button\n");
            window->update();
            auto* exit = static_cast<QAbstractButton*>(named("cmdExit"));
            exit->setDown(true);
            exit->repaint();
            exit->click();
        });
        return false;
    }

private:
    bool m_started = false;
};

}  // namespace

int main(int argc, char* argv[])
{
    tavola::preferXWayland();
    QApplication app(argc, argv);
    app.installEventFilter(new Script(&app));
    return tavola::runGame();
}
