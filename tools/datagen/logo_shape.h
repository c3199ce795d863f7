// The festival's "QV" monogram as stroke centre lines, shared by the logo
// picture, the emblem on the sail and the extruded logo mesh.
#pragma once

#include <vector>

#include "image.h"

// One stroke of the monogram: a centre line in logo units (x right, y up,
// the whole mark within about [-1, 1] x [-0.8, 0.8]); a closed stroke joins
// its last point back to the first.
struct LogoStroke {
    std::vector<Vec2> points;
    bool closed;
};

// Half the width of every stroke, in logo units.
constexpr float logo_stroke_radius = 0.13f;

// The Q's ring, the Q's tail and the two arms of the V, in drawing order
// (the V lies over the Q).
std::vector<LogoStroke> logo_strokes();

// Signed distance to the whole monogram, and to its V alone, in logo units.
float logo_distance(Vec2 p);
float logo_v_distance(Vec2 p);
