#include "ui/controls.h"

#include <QCursor>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "ui/accessibility.h"
#include "ui/fonts.h"
#include "game/layout.h"

namespace tavola {

namespace {

// The window's own pointer: our drawing, with the fingertip as hotspot.
QCursor surfaceCursor(qreal ratio) { return QCursor(picture("pointer", ratio), 2, 2); }

// A small square within a square, as the pointer over the new-problem button
// and the verdict.
QCursor iconCursor(qreal ratio)
{
    QPixmap pixmap(QSize(32, 32) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRect(6, 6, 20, 20);
    painter.fillRect(12, 12, 8, 8, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(6, 6, 20, 20);
    painter.fillRect(13, 13, 6, 6, Qt::black);
    return QCursor(pixmap, 16, 16);
}

QColor qtColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

Label* createLabel(const ControlEntry& entry, QWidget* surface)
{
    auto* label = new Label(QString::fromUtf8(entry.caption), entry.autoSize, surface);
    label->setAlignment((entry.align == Align::center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    if (entry.border)
        label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setColour(label, QPalette::WindowText,
              entry.text ? qtColor(*entry.text) : label->palette().color(QPalette::ButtonText));
    if (entry.back) {
        setColour(label, QPalette::Window, qtColor(*entry.back));
        label->setAutoFillBackground(true);
    }
    return label;
}

PictureView* createPictureBox(const ControlEntry& entry, QWidget* surface)
{
    auto* box = new PictureView(entry.pictures.normal, surface);
    box->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setColour(box, QPalette::Window, qtColor(entry.back.value_or(Rgb{255, 0, 255})));
    box->setAutoFillBackground(true);
    return box;
}

// The widget of one row, kept in its typed place in `controls`.
QWidget* createControl(const ControlEntry& entry, Controls& controls)
{
    Surface* surface = controls.surface;
    switch (entry.kind) {
    case Kind::label: {
        Label* label = createLabel(entry, surface);
        if (entry.control)
            controls.labels[std::size_t(*entry.control)] = label;
        return label;
    }
    case Kind::textBox:
        controls.txtAnswer = new AnswerBox(surface);
        controls.txtAnswer->setMaxLength(entry.maxLength);
        setColour(controls.txtAnswer, QPalette::Base, qtColor(entry.back.value_or(Rgb{255, 255, 255})));
        return controls.txtAnswer;
    case Kind::pictureButton: {
        const Pictures& faces = entry.pictures;
        auto* button = new PictureButton(entry.caption, qtColor(entry.back.value_or(Rgb{192, 192, 192})),
                                         Picture(faces.normal), Picture(faces.pressed), Picture(faces.disabled),
                                         surface);
        (entry.control == Control::cmdNext ? controls.cmdNext : controls.cmdExit) = button;
        return button;
    }
    case Kind::plainButton: return new PushButton(QString::fromUtf8(entry.caption), surface);
    case Kind::pictureBox: return createPictureBox(entry, surface);
    case Kind::image: return new PictureView(entry.pictures.normal, surface);
    }
    return nullptr;
}

// What every kind of control takes from its row.
void applyEntry(const ControlEntry& entry, QWidget* widget, Surface* surface, qreal ratio)
{
    widget->setObjectName(QString::fromLatin1(entry.name));
    widget->setGeometry(twips(entry.left), twips(entry.top), twips(entry.width), twips(entry.height));
    const bool picture = entry.kind == Kind::pictureBox || entry.kind == Kind::image;
    if (!picture)
        widget->setFont(layoutFont(entry.font));
    // Labels and pictures are no part of the bare surface that answers a click.
    if (entry.kind == Kind::label || picture)
        surface->shieldClicks(widget);
    widget->setEnabled(entry.enabled);
    if (entry.tooltip)
        widget->setToolTip(QString::fromUtf8(entry.tooltip));
    if (entry.accessibleName)
        widget->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    if (entry.description)
        widget->setAccessibleDescription(QString::fromUtf8(entry.description));
    if (entry.pointer == Pointer::arrow)
        widget->setCursor(Qt::ArrowCursor);
    else if (entry.pointer == Pointer::icon)
        widget->setCursor(iconCursor(ratio));
    if (entry.pointer != Pointer::inherit)
        surface->keepPointerWhenDisabled(widget);
    if (entry.autoSize)
        widget->adjustSize();
}

}  // namespace

QWidget* Controls::widget(Control control) const
{
    switch (control) {
    case Control::txtAnswer: return txtAnswer;
    case Control::cmdNext: return cmdNext;
    case Control::cmdExit: return cmdExit;
    default: return label(control);
    }
}

Controls buildControls()
{
    installAccessibility();
    Controls controls;
    controls.surface = new Surface(QSize(kClientWidth, kClientHeight));
    controls.surface->setObjectName("Tavola");
    controls.surface->setFont(layoutFont(LayoutFace{}));
    const qreal ratio = controls.surface->devicePixelRatioF();
    controls.surface->setCursor(surfaceCursor(ratio));

    const std::span<const ControlEntry> rows = layoutRows();
    controls.all.resize(qsizetype(rows.size()));
    // Built from the back forwards, so that each new control covers the ones before.
    for (std::size_t i = rows.size(); i-- > 0;) {
        QWidget* widget = createControl(rows[i], controls);
        applyEntry(rows[i], widget, controls.surface, ratio);
        controls.all[qsizetype(i)] = widget;
    }

    // Tab order by tab index; disabled controls are skipped by Qt itself.
    std::vector<std::size_t> focusable;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].tabIndex >= 0)
            focusable.push_back(i);
    std::sort(focusable.begin(), focusable.end(),
              [&rows](std::size_t a, std::size_t b) { return rows[a].tabIndex < rows[b].tabIndex; });
    for (std::size_t i = 0; i + 1 < focusable.size(); ++i)
        QWidget::setTabOrder(controls.all[qsizetype(focusable[i])], controls.all[qsizetype(focusable[i + 1])]);

    // The pointers are pictures too: drawn anew at a new scale.
    QList<QWidget*> iconPointers;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].pointer == Pointer::icon)
            iconPointers << controls.all[qsizetype(i)];
    Surface* surface = controls.surface;
    QObject::connect(surface, &Surface::pixelRatioChanged, surface, [surface, iconPointers](qreal newRatio) {
        for (QWidget* widget : iconPointers)
            widget->setCursor(iconCursor(newRatio));
        surface->setOwnPointer(surfaceCursor(newRatio));
    });
    return controls;
}

}  // namespace tavola
