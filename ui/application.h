#pragma once

namespace tavola {

// Sets up the running application as the game needs it: Italian numbers
// and dates, and the nearest free faces for the fonts the layout asks for.
// Call once, after QApplication.
void configureApplication();

// Qt's own texts (the buttons of its boxes, a text box's menu) in Italian
// whatever the system's language. Loaded when first needed: the window's
// first frame has none of them.
void useItalianQtTexts();

// Wayland's shells never tell a window that it is minimised, and the
// minimised window shows the time in its title: where XWayland is there too,
// prefer it, with native Wayland as the fallback. A choice the user made
// stays. Call before QApplication.
void preferXWayland();

// Sets up the application, opens the game window and runs it until the
// program ends; returns the exit code.
int runGame();

}  // namespace tavola
