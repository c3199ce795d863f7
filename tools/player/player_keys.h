// The player's keys, and its free flight: the demo's camera editor flying a
// camera that stands in for the on-screen environment's path.
#pragma once

#include <string>

#include "platform/platform.h"

struct player_controls {
    bool overlay = false;
    bool flying = false;
    bool fullscreen = false;
    // Set by F12, cleared once the next frame has been written.
    bool shot_wanted = false;
    // The last reload's or fix's outcome, shown in the overlay.
    std::string message;
};
// Written by handle_player_message, read by the player's loop.
extern player_controls controls;

// A message from the queue: true when the player's keys took it, false when
// it goes on to the demo's window procedure (the editor's keys and mouse,
// Escape, the close box).
bool handle_player_message(const platform::message& m);
// After each frame while flying: the editor moves the flown camera.
void fly_step();
// The message, also on stdout, where scripts read it.
void tell(const std::string& message);
