// The window procedure's table: keys and mouse buttons into the shared input
// state, closing into a quit message, and what goes to the default handling.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include "frame/globals.h"
#include "frame/window.h"
#include "platform/platform.h"
#include "platform/sdl_keymap.h"
#include "support/gl_harness.h"

using namespace platform;

namespace {

class WindowProc : public ::testing::Test {
protected:
    void SetUp() override {
        gl_harness_init();
        register_class("OpenGl", window_proc);
        for (int32_t& k : key_state) k = 0;
        mouse_look = false;
        drain();
    }
    void TearDown() override { drain(); }
    static std::vector<message> drain() {
        std::vector<message> seen;
        message m;
        while (peek_message(m)) seen.push_back(m);
        return seen;
    }
    // An SDL key event through the platform's translation and dispatch.
    static void press(SDL_Keycode key, Uint16 mod, bool down) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
        for (const message& m : drain()) dispatch_message(m);
    }
};

TEST_F(WindowProc, KeyDownAndUpSetAndClearTheEntry) {
    EXPECT_EQ(window_proc(WM_KEYDOWN, VK_LEFT, 0), 0);
    EXPECT_EQ(key_state[VK_LEFT], -1);
    window_proc(WM_KEYDOWN, VK_LEFT, 0);  // auto-repeat sets it again
    EXPECT_EQ(key_state[VK_LEFT], -1);
    EXPECT_EQ(window_proc(WM_KEYUP, VK_LEFT, 0), 0);
    EXPECT_EQ(key_state[VK_LEFT], 0);
}

TEST_F(WindowProc, CodesAbove255AreIgnored) {
    window_proc(WM_KEYDOWN, 256, 0);
    window_proc(WM_KEYDOWN, 0x10000 + VK_ESCAPE, 0);
    for (int32_t k : key_state) EXPECT_EQ(k, 0);
}

TEST_F(WindowProc, AltKeysNeverReachTheKeyState) {
    press(SDLK_LEFT, KMOD_LALT, true);
    press(SDLK_ESCAPE, KMOD_RALT, true);
    for (int32_t k : key_state) EXPECT_EQ(k, 0);
    press(SDLK_LEFT, KMOD_NONE, true);
    EXPECT_EQ(key_state[VK_LEFT], -1);
    press(SDLK_LEFT, KMOD_NONE, false);
    EXPECT_EQ(key_state[VK_LEFT], 0);
}

TEST_F(WindowProc, AltF4AsksToClose) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_F4;
    event.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&event);
    std::vector<message> first = drain();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].msg, WM_SYSKEYDOWN);
    dispatch_message(first[0]);
    std::vector<message> next = drain();
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].msg, WM_CLOSE);
    dispatch_message(next[0]);
    std::vector<message> last = drain();
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].msg, WM_QUIT);
}

TEST_F(WindowProc, LeftButtonHoldsMouseLook) {
    window_proc(WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(mouse_look);
    window_proc(WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(mouse_look);
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&event);
    for (const message& m : drain()) dispatch_message(m);
    EXPECT_TRUE(mouse_look);
}

TEST_F(WindowProc, CloseQueuesQuitAndScreenSaverIsRefused) {
    EXPECT_EQ(window_proc(WM_CLOSE, 0, 0), 0);
    std::vector<message> queued = drain();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].msg, WM_QUIT);
    EXPECT_EQ(window_proc(WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(window_proc(WM_SYSCOMMAND, SC_MONITORPOWER, 0), 0);
    EXPECT_EQ(window_proc(WM_ACTIVATE, 1, 0), 0);
    EXPECT_TRUE(drain().empty());
}

// The check runs on the context itself: asking one bit more depth than it
// has must fail, or a context short of depth would pass unseen.
TEST_F(WindowProc, PixelFormatCheckReadsTheRealContext) {
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    ASSERT_GE(depth, 24);
    EXPECT_TRUE(context_has_pixel_format(32, 24));
    EXPECT_FALSE(context_has_pixel_format(32, depth + 1));
}

TEST(SdlKeymap, EveryKeyTheEditorAndEscapeUse) {
    const std::pair<SDL_Keycode, uint32_t> keys[] = {
        {SDLK_ESCAPE, 27}, {SDLK_LSHIFT, 16}, {SDLK_RSHIFT, 16}, {SDLK_PAGEUP, 33},
        {SDLK_PAGEDOWN, 34}, {SDLK_END, 35}, {SDLK_HOME, 36}, {SDLK_LEFT, 37},
        {SDLK_UP, 38}, {SDLK_RIGHT, 39}, {SDLK_DOWN, 40}, {SDLK_1, 49}, {SDLK_2, 50},
        {SDLK_3, 51}, {SDLK_4, 52}, {SDLK_5, 53}, {SDLK_6, 54}, {SDLK_7, 55},
        {SDLK_8, 56}, {SDLK_0, 48}, {SDLK_9, 57}, {SDLK_a, 65}, {SDLK_z, 90},
        {SDLK_F4, 115},
    };
    for (const auto& [sdl, vk] : keys) {
        EXPECT_EQ(virtual_key_for_sdl_keycode(sdl), vk) << SDL_GetKeyName(sdl);
    }
    EXPECT_EQ(virtual_key_for_sdl_keycode(SDLK_AUDIOMUTE), 0u);
}

}  // namespace
