#include "ui/answer_box.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QHash>
#include <algorithm>

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
    // An on-screen keyboard or an input method offers figures and the minus.
    setInputMethodHints(Qt::ImhFormattedNumbersOnly | Qt::ImhNoPredictiveText);
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

// The character as the key handler leaves it: 0 when it is discarded or
// has done its work (Enter scores).
std::int16_t AnswerBox::filter(int code)
{
    // Anything outside the 8-bit range is no character the filter lets in.
    std::int16_t keyAscii = code > 255 ? std::int16_t{0} : static_cast<std::int16_t>(code);
    m_handler(keyAscii);
    return keyAscii == 13 ? std::int16_t{0} : keyAscii;
}

void AnswerBox::keyPressEvent(QKeyEvent* event)
{
    const int code = characterCode(*event);
    if (code < 0 || !m_handler) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    const std::int16_t kept = filter(code);
    if (kept == 8 && event->key() != Qt::Key_Backspace)
        backspace();  // Ctrl+H: Qt binds no erasing to it
    else if (kept != 0)
        QLineEdit::keyPressEvent(event);
}

// Text composed by an input method, an on-screen keyboard or a compose key
// goes through the key handler a character at a time, as if typed; what is
// still being composed is not shown.
void AnswerBox::inputMethodEvent(QInputMethodEvent* event)
{
    event->accept();
    if (!m_handler)
        return;
    for (const char32_t character : event->commitString().toUcs4()) {
        const std::int16_t kept = filter(int(std::min<char32_t>(character, 256)));
        if (kept == 8)
            backspace();
        else if (kept != 0)
            insert(QString(QChar(kept)));
    }
}

void AnswerBox::contextMenuEvent(QContextMenuEvent* event)
{
    useItalianQtTexts();
    QLineEdit::contextMenuEvent(event);
}

}  // namespace tavola
