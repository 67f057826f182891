#pragma once

#include <optional>

namespace tavola {

// Answers --help and --version, and refuses anything else the game does not
// take, before any display is opened: in a terminal with none they still
// answer. Qt's own options (-platform, -display, -style, ...) pass on to
// QApplication. Returns the exit status when the program is to end there.
std::optional<int> answerCommandLine(int argc, char* argv[]);

}  // namespace tavola
