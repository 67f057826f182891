#include "ui/style.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOption>
#include <QWidget>

namespace tavola {

QIcon TavolaStyle::standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const
{
    if (which != SP_ToolBarHorizontalExtensionButton)
        return QProxyStyle::standardIcon(which, option, widget);
    const qreal ratio = widget ? widget->devicePixelRatioF() : qApp->devicePixelRatio();
    QPixmap chevron(QSize(12, 12) * ratio);
    chevron.setDevicePixelRatio(ratio);
    chevron.fill(Qt::transparent);
    QPainter painter(&chevron);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QApplication::palette().color(QPalette::ButtonText), 1.5));
    for (const qreal left : {2.5, 6.5})
        painter.drawPolyline(QPolygonF({{left, 3}, {left + 3, 6}, {left, 9}}));
    return QIcon(chevron);
}

void TavolaStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element != PE_PanelLineEdit || !frame || option->rect.isEmpty()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    // Everything the frame's look depends on. The entries are few (a size,
    // with and without the focus) and live in Qt's bounded pixmap cache.
    const QString key = QStringLiteral("tavola-panel-%1x%2-%3-%4-%5-%6")
                            .arg(option->rect.width())
                            .arg(option->rect.height())
                            .arg(uint(option->state))
                            .arg(option->palette.cacheKey())
                            .arg(frame->lineWidth)
                            .arg(ratio);
    QPixmap panel;
    if (!QPixmapCache::find(key, &panel)) {
        panel = QPixmap(option->rect.size() * ratio);
        panel.setDevicePixelRatio(ratio);
        panel.fill(Qt::transparent);
        QStyleOptionFrame atOrigin(*frame);
        atOrigin.rect.moveTo(0, 0);
        QPainter onPanel(&panel);
        QProxyStyle::drawPrimitive(element, &atOrigin, &onPanel, widget);
        onPanel.end();
        QPixmapCache::insert(key, panel);
    }
    painter->drawPixmap(option->rect.topLeft(), panel);
}

}  // namespace tavola
