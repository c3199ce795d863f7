// What the player puts in its window: the show's 640x480 picture scaled to
// the window with its aspect kept (black bars where the shapes differ), the
// overlay lines over it, then the swap.
#pragma once

#include <string>
#include <vector>

// Needs the GL context: makes the texture the picture is copied into.
void init_player_view();
// The show draws into the window's lower-left 640x480; this copies that
// picture when a new one was drawn (otherwise the last one is shown again),
// fills the window with it and the lines (none when the overlay is off),
// swaps, and leaves the GL state as the show left it.
void present_frame(bool new_picture, const std::vector<std::string>& overlay_lines);
