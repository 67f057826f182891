#pragma once

#include <QFont>

#include "game/layout.h"

namespace tavola {

// The classic Windows faces the layout asks for map to their nearest
// metric-compatible free faces. Call once, after QApplication.
void substituteFreeFaces();

// The font of a layout row, in the face that is installed.
QFont layoutFont(const LayoutFace& face);

}  // namespace tavola
