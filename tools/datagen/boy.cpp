// The walking boy: eight frames of a side-view walk cycle, facing the left
// edge of the picture (texture s = 0 lies towards +z, the way he walks), the
// soles on the bottom edge because the sprite stands on the ground.
#include <algorithm>
#include <cmath>

#include "textures.h"

namespace {

constexpr int frames = 8;
constexpr float ground = 0.985f;  // picture row of the soles

// Figure space: x in picture units growing to the right (he walks to -x),
// y up from the ground in picture units.
Vec2 to_picture(Vec2 p) { return {p.x, ground - p.y}; }

float radians(float degrees) { return degrees * pi / 180; }

// A point reached from p along a limb of length l at an angle from the
// downward vertical, positive angles swinging forward (towards -x).
Vec2 swing(Vec2 p, float angle, float l) { return p + Vec2{-std::sin(angle), -std::cos(angle)} * l; }

struct Leg {
    Vec2 hip, knee, ankle, heel, toe;
};

struct Pose {
    Leg near_leg, far_leg;
    Vec2 pelvis, shoulder, neck, head;
    Vec2 near_elbow, near_hand, far_elbow, far_hand;
};

constexpr float thigh = 0.205f, shin = 0.19f, ankle_height = 0.035f;
constexpr float sole_depth = 0.0105f;  // how far the sole stripe reaches below the shoe

// Hip and knee angles of a leg at cycle phase phi (0 = heel strike).
void leg_angles(float phi, float& hip, float& knee) {
    hip = radians(24) * std::cos(phi);
    const float swing_phase = std::sin(phi - 0.35f);
    knee = radians(6) + radians(58) * std::max(0.0f, -swing_phase) + radians(8) * std::max(0.0f, std::sin(2 * phi));
}

Leg place_leg(Vec2 hip_point, float phi) {
    float hip = 0, knee = 0;
    leg_angles(phi, hip, knee);
    Leg leg;
    leg.hip = hip_point;
    leg.knee = swing(hip_point, hip, thigh);
    leg.ankle = swing(leg.knee, hip - knee, shin);
    // The foot stays level in stance and points its toe down while it swings.
    const float pitch = -0.5f * std::max(0.0f, knee - radians(14));
    const Vec2 forward = {-std::cos(pitch), std::sin(pitch)};
    leg.heel = leg.ankle - forward * 0.03f + Vec2{0, -ankle_height * 0.7f};
    leg.toe = leg.ankle + forward * 0.085f + Vec2{0, -ankle_height * 0.7f};
    return leg;
}

// How far below the hip the lower of the leg's ankle and toe hangs.
float leg_drop(float phi) {
    const Leg leg = place_leg({0, 0}, phi);
    return -std::min(leg.ankle.y - ankle_height * 0.7f, leg.toe.y);
}

Pose pose_at(int frame) {
    const float phi = 2 * pi * static_cast<float>(frame) / frames;
    const float far_phi = phi + pi;
    // The pelvis sits so that the lower foot just touches the ground, which
    // gives the natural bob of a walk.
    const float pelvis_height = std::max(leg_drop(phi), leg_drop(far_phi)) + sole_depth;
    Pose pose;
    pose.pelvis = {0.5f, pelvis_height};
    pose.near_leg = place_leg(pose.pelvis, phi);
    pose.far_leg = place_leg(pose.pelvis, far_phi);
    const float lean = radians(5);
    pose.shoulder = pose.pelvis + Vec2{-std::sin(lean), std::cos(lean)} * 0.245f;
    pose.neck = pose.shoulder + Vec2{-0.01f, 0.035f};
    pose.head = pose.neck + Vec2{-0.012f, 0.095f};
    // Arms swing against the legs of the same side.
    auto arm = [&](float leg_phi, Vec2& elbow, Vec2& hand) {
        const float shoulder_angle = -radians(26) * std::cos(leg_phi);
        const float elbow_flex = radians(22) + radians(18) * std::max(0.0f, -std::cos(leg_phi + pi));
        elbow = swing(pose.shoulder, shoulder_angle, 0.145f);
        hand = swing(elbow, shoulder_angle + elbow_flex, 0.13f);
    };
    arm(phi, pose.near_elbow, pose.near_hand);
    arm(far_phi, pose.far_elbow, pose.far_hand);
    return pose;
}

struct Palette {
    Rgb skin, hair, shirt, jeans, shoe, sole, cap, pack, outline;
};

// Paints a chain of capsules (a limb, the body) with one dark outline round
// the whole chain, shaded darker towards its edges and lit from above.
void chain(Canvas& canvas, std::initializer_list<Vec2> points, std::initializer_list<float> radii, Rgb colour, Rgb outline) {
    Stroke stroke;
    for (Vec2 p : points) stroke.points.push_back(to_picture(p));
    stroke.radii.assign(radii.begin(), radii.end());
    if (stroke.points.size() == 1) {
        stroke.points.push_back(stroke.points[0]);
        stroke.radii.push_back(stroke.radii[0]);
    }
    const float line = 0.006f;
    const Box box = stroke_bounds(stroke);
    const float pad = line + 0.004f;
    auto distance = [&](float u, float v) { return stroke_distance(stroke, {u, v}); };
    const float thickest = *std::max_element(stroke.radii.begin(), stroke.radii.end());
    paint_shape(canvas, box.x0 - pad, box.y0 - pad, box.x1 + pad, box.y1 + pad,
                [&](float u, float v) { return distance(u, v) - line; }, [&](float, float, float) { return outline; });
    paint_shape(canvas, box.x0, box.y0, box.x1, box.y1, distance, [&](float, float v, float d) {
        const float depth = clamp01(-d / thickest);
        const float top_light = 0.92f + 0.12f * clamp01((box.y0 + box.y1) * 0.5f - v + 0.5f);
        return colour * ((0.70f + 0.34f * std::sqrt(depth)) * top_light);
    });
}

void disc(Canvas& canvas, Vec2 centre, float r, Rgb colour, Rgb outline) { chain(canvas, {centre}, {r}, colour, outline); }

void draw_leg(Canvas& canvas, const Leg& leg, const Palette& c, float shade) {
    chain(canvas, {leg.hip, leg.knee, leg.ankle}, {0.05f, 0.041f, 0.035f}, c.jeans * shade, c.outline);
    chain(canvas, {leg.heel, leg.toe}, {0.031f, 0.027f}, c.shoe * shade, c.outline);
    chain(canvas, {leg.heel + Vec2{0.004f, -0.02f}, leg.toe + Vec2{-0.004f, -0.018f}}, {0.011f, 0.011f}, c.sole * shade, c.outline);
}

void draw_arm(Canvas& canvas, Vec2 shoulder, Vec2 elbow, Vec2 hand, const Palette& c, float shade) {
    chain(canvas, {elbow, hand}, {0.026f, 0.024f}, c.skin * shade, c.outline);
    disc(canvas, hand, 0.03f, c.skin * shade, c.outline);
    chain(canvas, {shoulder, lerp(shoulder, elbow, 0.7f)}, {0.04f, 0.033f}, c.shirt * shade, c.outline);
}

void draw_head(Canvas& canvas, Vec2 head, const Palette& c) {
    disc(canvas, head + Vec2{0.012f, 0.005f}, 0.088f, c.hair, c.outline);  // hair at the back
    disc(canvas, head, 0.082f, c.skin, c.outline);
    disc(canvas, head + Vec2{-0.082f, -0.005f}, 0.016f, c.skin, c.outline);  // nose
    // Eye and a smile line.
    const Vec2 eye = to_picture(head + Vec2{-0.045f, 0.012f});
    paint_shape(canvas, eye.x - 0.02f, eye.y - 0.02f, eye.x + 0.02f, eye.y + 0.02f,
                [&](float u, float v) { return ellipse_distance({u, v}, eye, 0.008f, 0.012f); },
                [&](float, float, float) { return c.outline; });
    const Vec2 m0 = to_picture(head + Vec2{-0.066f, -0.038f}), m1 = to_picture(head + Vec2{-0.045f, -0.042f});
    paint_shape(canvas, m0.x - 0.02f, m0.y - 0.02f, m1.x + 0.02f, m1.y + 0.02f,
                [&](float u, float v) { return segment_distance({u, v}, m0, m1) - 0.004f; },
                [&](float, float, float) { return c.outline; });
    // The cap: crown over the top of the head and a peak to the front.
    const Vec2 crown = to_picture(head + Vec2{0.004f, 0.03f});
    paint_shape(canvas, crown.x - 0.12f, crown.y - 0.12f, crown.x + 0.12f, crown.y + 0.12f,
                [&](float u, float v) {
                    const float dome = ellipse_distance({u, v}, crown, 0.094f, 0.075f);
                    return std::max(dome, v - crown.y - 0.012f) - 0.006f;
                },
                [&](float, float, float) { return c.outline; });
    paint_shape(canvas, crown.x - 0.12f, crown.y - 0.12f, crown.x + 0.12f, crown.y + 0.12f,
                [&](float u, float v) {
                    const float dome = ellipse_distance({u, v}, crown, 0.094f, 0.075f);
                    return std::max(dome, v - crown.y - 0.012f);
                },
                [&](float u, float v, float) { return c.cap * (0.85f + 0.4f * clamp01((crown.y - v) * 8)) * (1 - 0.2f * clamp01((u - crown.x) * 8)); });
    chain(canvas, {head + Vec2{-0.05f, 0.04f}, head + Vec2{-0.14f, 0.028f}}, {0.02f, 0.015f}, c.cap * 0.8f, c.outline);
}

Canvas frame_picture(int frame) {
    const Palette c = {{0.96f, 0.74f, 0.58f}, {0.35f, 0.20f, 0.10f}, {1.0f, 0.72f, 0.10f}, {0.22f, 0.36f, 0.70f},
                       {0.92f, 0.92f, 0.95f}, {0.85f, 0.15f, 0.12f}, {0.88f, 0.12f, 0.10f}, {0.20f, 0.55f, 0.30f},
                       {0.08f, 0.06f, 0.08f}};
    const Pose p = pose_at(frame);
    Canvas canvas = make_canvas(512, 512);
    const float far_shade = 0.72f;
    draw_arm(canvas, p.shoulder, p.far_elbow, p.far_hand, c, far_shade);
    draw_leg(canvas, p.far_leg, c, far_shade);
    // Backpack, then the body.
    chain(canvas, {p.pelvis + Vec2{0.09f, 0.12f}, p.shoulder + Vec2{0.085f, -0.04f}}, {0.055f, 0.05f}, c.pack, c.outline);
    chain(canvas, {p.neck, p.neck + Vec2{0, 0.03f}}, {0.03f, 0.03f}, c.skin, c.outline);
    chain(canvas, {p.pelvis + Vec2{0.004f, 0.03f}, p.shoulder + Vec2{0.004f, -0.01f}}, {0.082f, 0.078f}, c.shirt, c.outline);
    chain(canvas, {p.pelvis, p.pelvis + Vec2{-0.002f, 0.035f}}, {0.062f, 0.066f}, c.jeans, c.outline);
    draw_leg(canvas, p.near_leg, c, 1.0f);
    chain(canvas, {p.shoulder + Vec2{0.055f, 0.0f}, p.pelvis + Vec2{0.075f, 0.08f}}, {0.013f, 0.012f}, c.pack * 0.7f, c.outline);  // strap
    draw_head(canvas, p.head, c);
    draw_arm(canvas, p.shoulder, p.near_elbow, p.near_hand, c, 1.0f);
    return canvas;
}

}  // namespace

bool write_boy_textures(const std::string& dir) {
    for (int k = 0; k < frames; ++k) {
        const std::string n = std::to_string(k + 1);
        if (!save_texture_pair(dir, "bo_" + n, "boalpha_" + n, frame_picture(k))) return false;
    }
    return true;
}
