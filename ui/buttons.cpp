#include "ui/buttons.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace tavola {

void PushButton::keyPressEvent(QKeyEvent* event)
{
    // The keypad's Enter comes with the keypad modifier.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        event->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

PictureButton::PictureButton(const QString& caption, const QColor& back, Picture picture, Picture pressed,
                             Picture disabled, QWidget* parent)
    : PushButton(caption, parent), m_back(back), m_picture(picture), m_pressed(pressed), m_disabled(disabled)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Button, back);
    setPalette(colours);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool sunken = isDown();
    const QBrush face(m_back);
    qDrawWinButton(&painter, rect(), palette(), sunken, &face);

    Picture* picture = &m_picture;
    if (!isEnabled() && !m_disabled.isNull())
        picture = &m_disabled;
    else if (sunken && !m_pressed.isNull())
        picture = &m_pressed;

    const int shift = sunken ? 1 : 0;
    const QFontMetrics metrics(font());
    const int contentHeight = 32 + 4 + metrics.height();
    const int top = (height() - contentHeight) / 2 + shift;
    painter.drawPixmap(QRect((width() - 32) / 2 + shift, top, 32, 32), picture->at(devicePixelRatioF()));

    const QRect textRect(shift, top + 36, width(), metrics.height());
    style()->drawItemText(&painter, textRect, Qt::AlignHCenter | Qt::TextShowMnemonic, palette(), isEnabled(), text(),
                          QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace tavola
