#include "ui/widgets.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResource>
#include <QtEndian>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

#include "ui/application.h"

namespace tavola {

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent)
{
    // Characters arrive only as key events, through the filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

int AnswerBox::characterCode(const QKeyEvent& event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    if (key == Qt::Key_Backspace)
        return 8;
    if (key == Qt::Key_Escape)
        return 27;
    if (key == Qt::Key_Delete)
        return -1;
    // Alt combinations type nothing: they are access keys.
    if (mods & Qt::AltModifier)
        return 0;
    if ((mods & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    const QString text = event.text();
    if (text.isEmpty())
        return -1;
    if (text.size() != 1)
        return 0;
    return text.at(0).unicode();
}

void AnswerBox::keyPressEvent(QKeyEvent* event)
{
    const int code = characterCode(*event);
    if (code < 0 || !m_handler) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Anything outside the 8-bit range is no character the filter lets in.
    std::int16_t keyAscii = code > 255 ? std::int16_t{0} : static_cast<std::int16_t>(code);
    m_handler(keyAscii);
    event->accept();
    if (keyAscii == 0 || keyAscii == 13)
        return;
    QLineEdit::keyPressEvent(event);
}

void AnswerBox::contextMenuEvent(QContextMenuEvent* event)
{
    useItalianQtTexts();
    QLineEdit::contextMenuEvent(event);
}

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

QPixmap picture(const char* name, qreal ratio)
{
    const bool twice = ratio > 1;
    const QByteArray file = QResource(QStringLiteral(":/art/%1%2.argb").arg(QLatin1String(name), twice ? "@2x" : ""))
                                .uncompressedData();
    quint32 size[2] = {};
    if (file.size() >= 8)
        qFromLittleEndian<quint32>(file.constData(), 2, size);
    if (size[0] == 0 || size[0] > 4096 || size[1] > 4096 || file.size() != 8 + qsizetype(size[0]) * size[1] * 4)
        return {};
    QImage image{int(size[0]), int(size[1]), QImage::Format_ARGB32_Premultiplied};
    qFromLittleEndian<quint32>(file.constData() + 8, qsizetype(size[0]) * size[1], image.bits());
    const QSize wanted = (QSizeF(image.size()) / (twice ? 2 : 1) * ratio).toSize();
    if (image.size() != wanted)
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

const QPixmap& Picture::at(qreal ratio)
{
    if (m_name && (m_pixmap.isNull() || m_pixmap.devicePixelRatio() != ratio))
        m_pixmap = picture(m_name, ratio);
    return m_pixmap;
}

PictureButton::PictureButton(const QString& caption, const QColor& back, Picture picture, Picture pressed,
                             Picture disabled, QWidget* parent)
    : PushButton(caption, parent), m_back(back), m_picture(picture), m_pressed(pressed), m_disabled(disabled)
{
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

PictureView::PictureView(const char* picture, QWidget* parent) : QFrame(parent), m_picture(picture) {}

void PictureView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.setClipRect(inside);
    painter.drawPixmap(inside.topLeft(), m_picture.at(devicePixelRatioF()));
}

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

void Surface::keepPointerWhenDisabled(QWidget* control) { control->installEventFilter(this); }

bool Surface::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    if (control && event->type() == QEvent::Enter && !control->isEnabled()) {
        if (!m_lender)
            m_own = cursor();
        m_lender = control;
        setCursor(control->cursor());
    } else if (event->type() == QEvent::Leave && control == m_lender) {
        m_lender = nullptr;
        setCursor(m_own);
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

namespace {

QAccessibleInterface* pictureAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("tavola::PictureView") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

// The box the program is writing into, if any.
QLineEdit* g_writtenBox = nullptr;

// A screen reader takes a caret move in a text box for the focus arriving
// there, silently, and then no longer reads the box when the focus really
// comes. Caret and selection moves of a box without the focus, or from the
// program's own writing, are no news.
void withoutStrayCaretMoves(QAccessibleEvent* event)
{
    const auto type = event->type();
    auto* box = qobject_cast<QLineEdit*>(event->object());
    if (box && (box == g_writtenBox || !box->hasFocus()) &&
        (type == QAccessible::TextCaretMoved || type == QAccessible::TextSelectionChanged))
        return;
    // Hand everything else on along Qt's own way.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(withoutStrayCaretMoves);
}

}  // namespace

void writeText(QLineEdit* box, const QString& text)
{
    g_writtenBox = box;
    box->setText(text);
    g_writtenBox = nullptr;
}

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(pictureAccessible);
        QAccessible::installUpdateHandler(withoutStrayCaretMoves);
        return true;
    }();
    (void)installed;
}

bool ClickSink::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

}  // namespace tavola
