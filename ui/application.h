#pragma once

namespace tavola {

// Sets up the running application as the game needs it: Italian texts in
// Qt's own dialogs whatever the system's language, and the nearest free
// faces for the fonts the layout asks for. Call once, after QApplication.
void configureApplication();

// Sets up the application, opens the game window and runs it until the
// program ends; returns the exit code.
int runGame();

}  // namespace tavola
