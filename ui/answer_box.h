#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>

class QAccessibleEvent;

namespace tavola {

// The answer box: every typed character, and every character an input
// method commits, goes to the key handler first, which may discard it (by
// setting the code to 0). Keys that type nothing (cursor keys, Delete, Home,
// End) keep their usual editing work.
class AnswerBox : public QLineEdit {
    Q_OBJECT
public:
    using KeyHandler = std::function<void(std::int16_t&)>;
    explicit AnswerBox(QWidget* parent = nullptr);
    ~AnswerBox() override;
    void setKeyHandler(KeyHandler handler) { m_handler = std::move(handler); }

    // Sets the text as the program's own writing, not the pupil's.
    void writeText(const QString& text);

    // The character code a key event types, or -1 for a key that types nothing.
    static int characterCode(const QKeyEvent& event);

    // A screen reader takes a caret move in a text box for the focus arriving
    // there, silently, and then no longer reads the box when the focus really
    // comes. Caret and selection moves of an answer box without the focus, or
    // from the program's own writing, are no news.
    static bool isStrayCaretEvent(const QAccessibleEvent& event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::int16_t filter(int code);

    KeyHandler m_handler;
    bool m_writing = false;
};

}  // namespace tavola
