// Conservative tests of whole objects against the view volume, so that a
// scene can skip what could not make a single fragment: boxes in an
// object's own coordinates, and the GL's current projection and modelview.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

struct TGeoxData;
struct TGeoxVertex;

// An axis-aligned box; empty_bounds() holds nothing until it is widened.
struct view_bounds {
    std::array<float, 3> lo{}, hi{};
};

view_bounds empty_bounds();
void widen(view_bounds& box, float x, float y, float z);
void widen(view_bounds& box, const view_bounds& part);
// Grows the box by margin on every side and by extra_height more above and below.
view_bounds padded(view_bounds box, float margin, float extra_height);
// Every vertex of the mesh, grown by margin.
view_bounds mesh_bounds(const TGeoxData& mesh, float margin);

// A 4x4 matrix, column-major as the GL stores its matrices: projection
// times modelview, or the pose of an object.
using clip_matrix = std::array<double, 16>;
clip_matrix current_projection();
// The given projection times the GL's current modelview.
clip_matrix current_clip_matrix(const clip_matrix& projection);

// A pose as the GL composes it: each step multiplies the matrix on the
// right, as glTranslatef, glRotatef (degrees about an axis of any length)
// and glScalef do the current one; in double, to place an object's box.
clip_matrix identity_matrix();
void translate(clip_matrix& m, double x, double y, double z);
void rotate(clip_matrix& m, double degrees, double x, double y, double z);
void scale(clip_matrix& m, double x, double y, double z);
// The box's corners through the pose, boxed again and grown by margin.
view_bounds transformed_bounds(const view_bounds& box, const clip_matrix& m, float margin);

// True when every corner of the box lies beyond one and the same side of the
// view volume (left, right, bottom, top or near), so that the clipper would
// discard each triangle inside it. The far side is left out: at the scenes'
// far distance of 99999 its test is too sensitive to rounding to be trusted.
// A box reaching from in front of the eye to behind it always counts as visible.
bool outside_view(const clip_matrix& clip, const view_bounds& box);

// A point in window coordinates (pixels of the viewport), and whether it
// lies in front of the eye (w above a small positive bound).
struct window_point {
    float x, y;
    bool in_front;
};

// The size of a viewport at the window's corner, and the pixels of it that
// fragments may reach: columns and rows first ... last, all of them or
// those of the scissor box while the scissor test is on.
// current_window_area() reads the GL's current state.
struct window_area {
    int width = 0, height = 0;
    int first_column = 0, last_column = -1;
    int first_row = 0, last_row = -1;
};
window_area current_window_area();

// A mesh's vertices in window coordinates, with the area they are in.
struct window_projection {
    std::vector<window_point> points;
    window_area area;
};

// The mesh's vertices through the clip matrix into a viewport of the area's
// size (no GL call: any thread).
void project_to_window(const clip_matrix& clip, const std::vector<TGeoxVertex>& vertices,
                       const window_area& area, window_projection& projection);
// Appends to kept, in order, the triangles of the index range [first, last)
// (three indices into the projection's points each) that may make a
// fragment. A triangle is left out when its corners all lie in front of the
// eye and no pixel centre of the area lies inside it or within a safety
// margin of it (far above the rounding of the GL's float transform and its
// sub-pixel snapping): the rasterizer samples at pixel centres, so such a
// triangle makes no fragment. Only triangles with at most a few centres in
// their bounding box are judged one centre at a time; bigger ones are kept.
void keep_faces_that_may_cover(const window_projection& projection, const unsigned* first,
                               const unsigned* last, std::vector<unsigned>& kept);
