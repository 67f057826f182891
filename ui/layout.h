#pragma once

#include <QColor>
#include <optional>
#include <span>

#include "game/form.h"

namespace tavola {

// Positions and sizes are kept in twips, as the layout was drawn; 15 twips
// make one logical pixel.
constexpr int twips(int value) { return value / 15; }

// The client area that shows the whole layout, the window's size at start.
inline constexpr int kClientWidth = 1006;  // wide enough for the picture box on the right
inline constexpr int kClientHeight = 554;

enum class Kind { label, textBox, pictureButton, plainButton, pictureBox, image };

struct LayoutFace {
    const char* family = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
    bool italic = false;
};

enum class Pointer { inherit, arrow, icon };

// One row per control: everything the window needs to build it.
struct ControlEntry {
    const char* name;                    // also the widget's objectName
    Kind kind;
    int left, top, width, height;        // twips
    std::optional<Control> control = {}; // for the controls the game logic addresses
    const char* caption = "";
    int tabIndex = -1;                   // -1: takes no focus
    LayoutFace font = {};
    QColor text = {};                    // invalid: the standard colour
    QColor back = {};                    // invalid: transparent (labels) or standard
    bool border = false;
    Qt::Alignment align = Qt::AlignLeft;
    bool autoSize = false;
    bool enabled = true;
    const char* tooltip = nullptr;
    // For screen readers. Labels that show values keep their text as their
    // name, so the value itself is read.
    const char* accessibleName = nullptr;
    const char* description = nullptr;
    Pointer pointer = Pointer::inherit;  // over the control whatever its state
};

// The window's controls as the layout was drawn, front to back: the controls
// that are windows of their own first, then the labels and the image. Earlier
// rows cover later ones where they overlap.
std::span<const ControlEntry> layoutRows();

}  // namespace tavola
