// SDL key codes to Win32 virtual-key codes (0 for keys the demo never sees).
#pragma once

#include <cstdint>

namespace platform {

uint32_t virtual_key_for_sdl_keycode(int32_t keycode);

}  // namespace platform
