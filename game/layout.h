#pragma once

#include <cstdint>
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

struct Rgb {
    std::uint8_t red, green, blue;
};

enum class Align { left, center };

enum class Kind { label, textBox, pictureButton, plainButton, pictureBox, image };

struct LayoutFace {
    const char* family = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
    bool italic = false;
};

enum class Pointer { inherit, arrow, icon };

// The pictures of the window, drawn in SVG (ui/art).
struct Pictures {
    const char* normal = nullptr;
    const char* pressed = nullptr;
    const char* disabled = nullptr;
};

// One row per control: everything the window needs to build it.
struct ControlEntry {
    const char* name;                    // also the widget's objectName
    Kind kind;
    int left, top, width, height;        // twips
    std::optional<Control> control = {}; // for the controls the game logic addresses
    const char* caption = "";
    int tabIndex = -1;                   // -1: takes no focus
    LayoutFace font = {};
    std::optional<Rgb> text = {};        // none: the standard colour
    std::optional<Rgb> back = {};        // none: transparent (labels) or standard
    bool border = false;
    Align align = Align::left;
    bool autoSize = false;
    bool enabled = true;
    int maxLength = 0;                   // text boxes: characters it holds, 0 for any
    const char* tooltip = nullptr;
    // For screen readers. Labels that show values keep their text as their
    // name, so the value itself is read.
    const char* accessibleName = nullptr;
    const char* description = nullptr;
    Pointer pointer = Pointer::inherit;  // over the control whatever its state
    Pictures pictures = {};
};

// The window's controls as the layout was drawn, front to back: the controls
// that are windows of their own first, then the labels and the image. Earlier
// rows cover later ones where they overlap.
std::span<const ControlEntry> layoutRows();

// The row of a control the game logic addresses.
const ControlEntry& layoutRow(Control control);

// The menu bar, parents before their children.
struct MenuEntry {
    const char* name;
    const char* caption;
    int depth;  // 0: the title on the bar
    bool opensSubmenu;
};
std::span<const MenuEntry> menuRows();

}  // namespace tavola
