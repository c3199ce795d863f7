// Where things stand in the scenes' world (y up, the scenes' own units),
// shared by the meshes placed there and the camera paths that look at them.
#pragma once

#include "mesh_builder.h"

// Sea: the water tiles rest at this height; the ship floats with its
// waterline there, bow towards +z, mast a little forward of its middle.
constexpr float water_height = 5.0f;
constexpr Vec3 ship_centre = {-5.0f, water_height, 10.0f};
constexpr float ship_length = 12.0f;
constexpr float ship_beam = 3.6f;
constexpr float mast_z = 11.2f;
constexpr float mast_top = 15.0f;

// City: the avenue along the z axis that the boy walks is kept clear of
// buildings for this half-width.
constexpr float avenue_half_width = 3.2f;

// Meadow: the sky dome radius (it must hold the sea tiles too, which reach
// 210 units out).
constexpr float sky_radius = 420.0f;
