#include "ui/surface.h"

#include <QMouseEvent>
#include <QPainter>

namespace tavola {

namespace {

// Qt's own light colours: black text on light grey, white boxes, a blue
// selection, grey text where disabled.
QPalette lightPalette()
{
    const QColor face(0xef, 0xef, 0xef), greyed(0xbe, 0xbe, 0xbe);
    QPalette palette(Qt::black, face, Qt::white, QColor(0x9f, 0x9f, 0x9f), QColor(0xb8, 0xb8, 0xb8), Qt::black,
                     Qt::white, Qt::white, face);
    palette.setColor(QPalette::Midlight, QColor(0xca, 0xca, 0xca));
    palette.setColor(QPalette::Shadow, QColor(0x76, 0x76, 0x76));
    palette.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 0x80));
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text, QPalette::Dark})
        palette.setColor(QPalette::Disabled, role, greyed);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x91, 0x91, 0x91));
    return palette;
}

}  // namespace

Surface::Surface(const QSize& preferred, QWidget* parent) : QWidget(parent), m_preferred(preferred)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setPalette(lightPalette());
    m_back = palette().color(QPalette::Window);
}

void Surface::setBackColor(const QColor& color)
{
    if (color == m_back)
        return;
    m_back = color;
    update();
}

// Every change of scale ends in a repaint, whichever way the platform tells it.
void Surface::paintEvent(QPaintEvent* event)
{
    if (const qreal ratio = devicePixelRatioF(); ratio != m_ratio) {
        if (m_ratio != 0)  // not the first paint
            emit pixelRatioChanged(ratio);
        m_ratio = ratio;
    }
    QPainter(this).fillRect(event->rect(), m_back);
}

void Surface::setOwnPointer(const QCursor& pointer)
{
    if (!m_lender) {
        setCursor(pointer);
        return;
    }
    m_own = pointer;
    setCursor(m_lender->cursor());
}

void Surface::shieldClicks(QWidget* control)
{
    m_shielded.insert(control);
    control->installEventFilter(this);
}

void Surface::keepPointerWhenDisabled(QWidget* control)
{
    m_lenders.insert(control, control);
    control->installEventFilter(this);
}

bool Surface::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (m_shielded.contains(watched))
            return true;
        break;
    case QEvent::Enter:
        if (QWidget* control = m_lenders.value(watched); control && !control->isEnabled()) {
            if (!m_lender)
                m_own = cursor();
            m_lender = control;
            setCursor(control->cursor());
        }
        break;
    case QEvent::Leave:
        if (m_lender && watched == m_lender) {
            m_lender = nullptr;
            setCursor(m_own);
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void Surface::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void Surface::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

}  // namespace tavola
