#pragma once

namespace tavola {

enum class BellSound { SoundTheme, WindowSystem };

// One system sound: the desktop sound theme's bell through libcanberra when
// that library is installed and can play it, otherwise the window system's
// bell. Never blocks and never fails loudly: a bell that cannot sound stays
// silent, in the terminal too. Returns which of the two was asked to sound.
BellSound ringBell();

}  // namespace tavola
