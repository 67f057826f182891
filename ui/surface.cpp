#include "ui/surface.h"

#include <QMouseEvent>
#include <QPainter>

namespace tavola {

Surface::Surface(const QSize& preferred, QWidget* parent)
    : QWidget(parent), m_preferred(preferred), m_back(palette().color(QPalette::Window))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Surface::setBackColor(const QColor& color)
{
    if (color == m_back)
        return;
    m_back = color;
    update();
}

void Surface::paintEvent(QPaintEvent* event) { QPainter(this).fillRect(event->rect(), m_back); }

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
