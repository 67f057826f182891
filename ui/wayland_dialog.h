#pragma once

class QWindow;
struct wl_proxy;

namespace tavola {

// On a Wayland desktop of GNOME (mutter), tells the compositor that a box is
// a modal dialog of its parent, which it then centres over the parent (or
// attaches to it), for as long as the mark lives. Qt tells it only the
// parent, and mutter places a plain child window like any other. Make it
// after the box is shown and before the event loop draws it. Elsewhere it
// does nothing.
class ModalDialogMark {
public:
    explicit ModalDialogMark(QWindow* box);
    ~ModalDialogMark();
    ModalDialogMark(const ModalDialogMark&) = delete;
    ModalDialogMark& operator=(const ModalDialogMark&) = delete;

private:
    wl_proxy* m_mark = nullptr;
};

}  // namespace tavola
