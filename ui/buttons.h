#pragma once

#include <QPushButton>

#include "ui/picture.h"

namespace tavola {

// A push button that either Enter key presses as well as Space, so the drill
// can be played as type, Enter, Enter.
class PushButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A button drawn in its own colour, with a picture above the caption and
// faces of its own for the pressed and the disabled state.
class PictureButton : public PushButton {
    Q_OBJECT
public:
    PictureButton(const QString& caption, const QColor& back, Picture picture, Picture pressed = Picture(),
                  Picture disabled = Picture(), QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_back;
    Picture m_picture, m_pressed, m_disabled;
};

}  // namespace tavola
