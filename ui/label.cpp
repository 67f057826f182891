#include "ui/label.h"

namespace tavola {

Label::Label(const QString& caption, bool sizesToText, QWidget* parent)
    : QLabel(caption, parent), m_sizesToText(sizesToText)
{
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
}

void Label::setCaption(const QString& caption)
{
    const QString old = text();
    setText(caption);
    // Measuring the label anew costs several times more than measuring the
    // two texts, and a clock or a counter mostly keeps its width.
    const QFontMetrics metrics = fontMetrics();
    if (m_sizesToText && metrics.horizontalAdvance(caption) != metrics.horizontalAdvance(old))
        adjustSize();
}

}  // namespace tavola
