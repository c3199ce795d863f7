// The 640x480 pixel overlay, origin top-left and y downwards.
#pragma once

constexpr int screen_width = 640;
constexpr int screen_height = 480;

void begin_overlay();
// Selects the projection and then the modelview matrix; restores nothing.
void end_overlay();
