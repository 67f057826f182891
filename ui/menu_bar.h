#pragma once

class QMenu;
class QMenuBar;

namespace tavola {

// The menus the window acts on: the one title on the menu bar and, in its
// drop-down, "nuovo", whose submenu asks for a new game as it opens.
struct GameMenus {
    QMenu* info = nullptr;
    QMenu* next = nullptr;
};

// Fills the menu bar with the game's entries.
GameMenus buildMenuBar(QMenuBar* bar);

}  // namespace tavola
