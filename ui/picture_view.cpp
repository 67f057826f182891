#include "ui/picture_view.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace tavola {

PictureView::PictureView(const char* picture, QWidget* parent) : QFrame(parent), m_picture(picture) {}

void PictureView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.setClipRect(inside);
    painter.drawPixmap(inside.topLeft(), m_picture.at(devicePixelRatioF()));
}

void PictureView::installAccessibleRole()
{
    // Qt's accessibility factories are chosen by class name.
    QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
        if (className != QLatin1String(staticMetaObject.className()) || !object || !object->isWidgetType())
            return nullptr;
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    });
}

}  // namespace tavola
