#pragma once

#include <QGuiApplication>
#include <QLabel>
#include <QObject>
#include <QPaintEvent>
#include <QTimer>
#include <unistd.h>

namespace tavola::bench {

// Ends the program once the named label has been painted showing a text and
// the X server holds the frame, so that the time from exec to exit is the
// time to the first useful frame. The program's shutdown is left out of the
// measure on purpose (_exit), for both programs alike.
class ExitAtFirstFrame : public QObject {
public:
    explicit ExitAtFirstFrame(const char* labelName, QObject* parent = nullptr) : QObject(parent), m_name(labelName) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->objectName() == QLatin1String(m_name)) {
            const auto* label = qobject_cast<QLabel*>(watched);
            if (label && !label->text().isEmpty()) {
                m_seen = true;
                // The frame is flushed when the paint in progress returns to the loop.
                QTimer::singleShot(0, [] {
                    QGuiApplication::sync();
                    ::_exit(0);
                });
            }
        }
        return false;
    }

private:
    const char* m_name;
    bool m_seen = false;
};

}  // namespace tavola::bench
