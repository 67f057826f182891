#pragma once

#include <QColor>
#include <QFont>
#include <QMap>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "game/form.h"

namespace tavola {

// Positions and sizes are kept in twips, as the layout was drawn; 15 twips
// make one logical pixel.
constexpr int twips(int value) { return value / 15; }

// The client area that shows the whole layout, the window's size at start.
inline constexpr int kClientWidth = 1006;  // wide enough for the picture box on the right
inline constexpr int kClientHeight = 554;

// The controls of the window, built afresh on every load. Keys are the
// controls' names, which are also their objectName.
struct Controls {
    QWidget* surface = nullptr;
    QMap<QString, QWidget*> byName;
    template <typename T>
    T* get(const QString& name) const
    {
        return qobject_cast<T*>(byName.value(name));
    }
};

// Builds every control on a new surface, with its captions, fonts, colours,
// pictures, tooltips, layering and tab order as at program start.
Controls buildControls();

// The objectName of a control the game logic addresses.
const char* controlName(Control control);

// Labels that size to their text keep their left and top and take the size
// of their caption.
bool sizesToText(const QWidget* widget);

// Writes a label's caption (resizing a label that sizes to its text) or the
// answer box's text.
void setControlText(QWidget* widget, const QString& caption);

}  // namespace tavola
