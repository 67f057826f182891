// The module's entry points: page.js calls one at a time, and never while a
// box of the game is open (events then reach the box's wait instead).
#include <emscripten/emscripten.h>

#include "game/tavola.h"
#include "web/page_form.h"

namespace {

using namespace tavola;

Tavola& window();

void onBoxEvent(PageEvent event)
{
    if (event == PageEvent::tick)
        window().Timer1_Timer();
    else
        window().Form_Resize();
}

Tavola& window()
{
    static PageForm form;
    static PageServices services(onBoxEvent);
    static Tavola tavola(form, services);
    return tavola;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void tv_start() { window().start(); }

// A character for the answer box, as the key handler leaves it: 0 when it is
// discarded, 13 when Enter has scored.
EMSCRIPTEN_KEEPALIVE int tv_keyPress(int code)
{
    auto keyAscii = static_cast<std::int16_t>(code < 0 || code > 255 ? 0 : code);
    window().txtAnswer_KeyPress(keyAscii);
    return keyAscii;
}

EMSCRIPTEN_KEEPALIVE void tv_next() { window().cmdNext_Click(); }
EMSCRIPTEN_KEEPALIVE void tv_exit() { window().cmdExit_Click(); }
EMSCRIPTEN_KEEPALIVE void tv_newGame() { window().Next_Click(); }
EMSCRIPTEN_KEEPALIVE void tv_surfaceClick() { window().Form_Click(); }
EMSCRIPTEN_KEEPALIVE void tv_tick() { window().Timer1_Timer(); }
EMSCRIPTEN_KEEPALIVE void tv_resize() { window().Form_Resize(); }

}
