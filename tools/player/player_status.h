// The overlay's lines: music time and transport state, the scene and
// conductor segment, the on-screen environment's local time and camera-path
// t, frame time and frames per second, and the last message.
#pragma once

#include <string>
#include <vector>

#include "scenes/camera_paths.h"

// The environment the picture shows most of in the frame drawn last, from
// what the environments followed; false when none followed a path.
bool environment_on_screen(path_follow& out);

struct frame_timing {
    double frame_ms = 0;
    double fps = 0;
};

std::vector<std::string> status_lines(const frame_timing& timing, bool flying,
                                      const std::string& message);
