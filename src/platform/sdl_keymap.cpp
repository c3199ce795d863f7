// The virtual-key codes the window procedure expects, from SDL's key codes:
// letters 65-90, digits 48-57, and the named keys of the Win32 table.
#include <SDL_keycode.h>

#include "platform/sdl_keymap.h"

namespace platform {

uint32_t virtual_key_for_sdl_keycode(int32_t keycode) {
    if (keycode >= SDLK_a && keycode <= SDLK_z) return 'A' + static_cast<uint32_t>(keycode - SDLK_a);
    if (keycode >= SDLK_0 && keycode <= SDLK_9) return '0' + static_cast<uint32_t>(keycode - SDLK_0);
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return 112 + static_cast<uint32_t>(keycode - SDLK_F1);
    if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9) return 97 + static_cast<uint32_t>(keycode - SDLK_KP_1);
    switch (keycode) {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN: return 13;
    case SDLK_KP_ENTER: return 13;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL: case SDLK_RCTRL: return 17;
    case SDLK_LALT: case SDLK_RALT: return 18;
    case SDLK_PAUSE: return 19;
    case SDLK_CAPSLOCK: return 20;
    case SDLK_ESCAPE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return 46;
    case SDLK_KP_0: return 96;
    case SDLK_KP_MULTIPLY: return 106;
    case SDLK_KP_PLUS: return 107;
    case SDLK_KP_MINUS: return 109;
    case SDLK_KP_PERIOD: return 110;
    case SDLK_KP_DIVIDE: return 111;
    case SDLK_COMMA: return 188;
    case SDLK_PERIOD: return 190;
    case SDLK_LEFTBRACKET: return 219;
    case SDLK_RIGHTBRACKET: return 221;
    default: return 0;
    }
}

}  // namespace platform
