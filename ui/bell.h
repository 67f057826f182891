#pragma once

namespace tavola {

// One system sound: the window system's bell, and the desktop sound theme's
// bell through libcanberra when that library is installed (the X bell is
// silent on many desktops). Never blocks and never fails loudly.
void ringBell();

}  // namespace tavola
