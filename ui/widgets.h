#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QPixmap>
#include <QWidget>
#include <functional>

namespace tavola {

// The answer box: every typed character goes to the key handler first, which
// may discard it (by setting the code to 0). Keys that type nothing (cursor
// keys, Delete, Home, End) keep their usual editing work.
class AnswerBox : public QLineEdit {
    Q_OBJECT
public:
    using KeyHandler = std::function<void(std::int16_t&)>;
    explicit AnswerBox(QWidget* parent = nullptr);
    void setKeyHandler(KeyHandler handler) { m_handler = std::move(handler); }

    // The character code a key event types, or -1 for a key that types nothing.
    static int characterCode(const QKeyEvent& event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    KeyHandler m_handler;
};

// Screen readers read the pictures as images by their names, and hear no
// caret moves from a text box that has not got the focus.
void installAccessibility();

// Sets a text box's text as the program's own writing, not the pupil's.
void writeText(QLineEdit* box, const QString& text);

// A push button that either Enter key presses as well as Space, so the drill
// can be played as type, Enter, Enter.
class PushButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// One of our pictures, as drawn at build time, at `ratio` device pixels per
// logical pixel (scaled smoothly where the ratio is neither one nor two). An
// unknown name gives an empty pixmap.
QPixmap picture(const char* name, qreal ratio);

// A picture kept at the device pixel ratio of the screen it was last shown on.
class Picture {
public:
    explicit Picture(const char* name = nullptr) : m_name(name) {}
    bool isNull() const { return !m_name; }
    const QPixmap& at(qreal ratio);

private:
    const char* m_name;
    QPixmap m_pixmap;
};

// A button drawn in its own colour, with a picture above the caption and
// faces of its own for the pressed and the disabled state.
class PictureButton : public PushButton {
    Q_OBJECT
public:
    PictureButton(const QString& caption, const QColor& back, Picture picture, Picture pressed, Picture disabled,
                  QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_back;
    Picture m_picture, m_pressed, m_disabled;
};

// A picture drawn at its natural size from the top-left corner, clipped by
// the widget (with an optional sunken frame).
class PictureView : public QFrame {
    Q_OBJECT
public:
    explicit PictureView(const char* picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Picture m_picture;
};

// The window's own surface, the whole client area at any size. It reports a
// click (press and release on it).
class Surface : public QWidget {
    Q_OBJECT
public:
    explicit Surface(const QSize& preferred, QWidget* parent = nullptr);
    QSize sizeHint() const override { return m_preferred; }

    // The tint behind the controls. It is painted here, not set in the
    // palette: a palette change reaches every control and gives each a new
    // cache key, and the style's pixmap cache then fills with stale copies of
    // their faces, a few more with every problem.
    void setBackColor(const QColor& color);

    // Qt shows the surface's pointer over a disabled control; for this one
    // the surface shows the control's own pointer instead.
    void keepPointerWhenDisabled(QWidget* control);

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QSize m_preferred;
    QColor m_back;
    QCursor m_own;
    bool m_pressed = false;
    QWidget* m_lender = nullptr;  // the disabled control whose pointer is shown
};

// Eats mouse clicks, so that a click on a label or a picture is no click on
// the surface behind it.
class ClickSink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tavola
