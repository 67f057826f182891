#include "ui/answer_box.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QHash>

#include "ui/application.h"

namespace tavola {

namespace {

// The boxes alive, so that an accessibility event can be told to come from
// one: the old game's box lives on a moment beside the new one's.
QHash<const QObject*, const AnswerBox*>& liveBoxes()
{
    static QHash<const QObject*, const AnswerBox*> boxes;
    return boxes;
}

}  // namespace

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent)
{
    // Characters arrive only as key events, through the filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    liveBoxes().insert(this, this);
}

AnswerBox::~AnswerBox() { liveBoxes().remove(this); }

void AnswerBox::writeText(const QString& text)
{
    m_writing = true;
    setText(text);
    m_writing = false;
}

bool AnswerBox::isStrayCaretEvent(const QAccessibleEvent& event)
{
    const auto type = event.type();
    if (type != QAccessible::TextCaretMoved && type != QAccessible::TextSelectionChanged)
        return false;
    const AnswerBox* box = liveBoxes().value(event.object());
    return box && (box->m_writing || !box->hasFocus());
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

}  // namespace tavola
