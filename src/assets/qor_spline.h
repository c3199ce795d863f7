// Cubic Hermite interpolation of camera paths: the scenes replay recorded
// paths with their progress as the parameter.
#pragma once

#include "assets/qor_camera.h"

float hermite(float a, float b, float c, float s);
// Segment k of n - 2 runs from slot k + 1 to slot k + 2; paths of three keys
// or fewer give slot 1. Never reads outside the path's slots, whatever t is.
void interpolate_camera(camera_record& destination, const camera_path& path, float t);
