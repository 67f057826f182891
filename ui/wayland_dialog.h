#pragma once

class QWindow;

namespace tavola {

// On a Wayland desktop of GNOME (mutter), asks the compositor to treat a box
// as a modal dialog of its parent, which it then centres over the parent (or
// attaches to it). Qt tells it only the parent, and mutter places a plain
// child window like any other. Call after the box is shown and before the
// event loop draws it. Elsewhere it does nothing.
void markAsModalDialog(QWindow* box);

}  // namespace tavola
