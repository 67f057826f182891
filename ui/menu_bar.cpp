#include "ui/menu_bar.h"

#include <QMenu>
#include <QMenuBar>
#include <string_view>
#include <vector>

#include "game/layout.h"

namespace tavola {

GameMenus buildMenuBar(QMenuBar* bar)
{
    GameMenus menus;
    // The open submenu at each depth: a row goes into the one above it.
    std::vector<QMenu*> parents;
    for (const MenuEntry& row : menuRows()) {
        const QString caption = QString::fromUtf8(row.caption);
        parents.resize(std::size_t(row.depth));
        QObject* item = nullptr;
        if (!row.opensSubmenu)
            item = parents.back()->addAction(caption);
        else {
            QMenu* menu = row.depth == 0 ? bar->addMenu(caption) : parents.back()->addMenu(caption);
            parents.push_back(menu);
            item = menu;
            // Kept as built: the last game's menus may linger a moment beside these.
            if (row.depth == 0)
                menus.info = menu;
            else if (std::string_view(row.name) == "Next")
                menus.next = menu;
        }
        item->setObjectName(QString::fromLatin1(row.name));
    }
    return menus;
}

}  // namespace tavola
