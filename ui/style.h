#pragma once

#include <QProxyStyle>

namespace tavola {

// The desktop's style, with two things of its own.
// - The menu bar's overflow button shows a chevron drawn here: the stock one
//   is a picture file, and reading it loads every image-format plugin before
//   the window is first on screen.
// - The answer box's frame is drawn once per size and state and then copied:
//   the caret's blink repaints it twice a second, and drawing the rounded,
//   smoothed frame anew cost ten times the copy.
class TavolaStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

}  // namespace tavola
