// Boxes against the view volume in clip space, computed in double from the
// GL's own matrices.
#include "engine/view_volume.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <limits>

#include "assets/qor_geox.h"

view_bounds empty_bounds() {
    view_bounds box;
    box.lo.fill(std::numeric_limits<float>::infinity());
    box.hi.fill(-std::numeric_limits<float>::infinity());
    return box;
}

void widen(view_bounds& box, float x, float y, float z) {
    const float p[3] = {x, y, z};
    for (size_t k = 0; k < 3; ++k) {
        box.lo[k] = std::min(box.lo[k], p[k]);
        box.hi[k] = std::max(box.hi[k], p[k]);
    }
}

void widen(view_bounds& box, const view_bounds& part) {
    for (size_t k = 0; k < 3; ++k) {
        box.lo[k] = std::min(box.lo[k], part.lo[k]);
        box.hi[k] = std::max(box.hi[k], part.hi[k]);
    }
}

view_bounds padded(view_bounds box, float margin, float extra_height) {
    for (size_t k = 0; k < 3; ++k) {
        const float pad = margin + (k == 1 ? extra_height : 0);
        box.lo[k] -= pad;
        box.hi[k] += pad;
    }
    return box;
}

view_bounds mesh_bounds(const TGeoxData& mesh, float margin) {
    view_bounds box = empty_bounds();
    for (const TGeoxVertex& v : mesh.vertices) widen(box, v.x, v.y, v.z);
    return padded(box, margin, 0);
}

clip_matrix current_projection() {
    clip_matrix projection;
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    return projection;
}

clip_matrix current_clip_matrix(const clip_matrix& projection) {
    clip_matrix modelview, clip;
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    for (size_t column = 0; column < 4; ++column) {
        for (size_t row = 0; row < 4; ++row) {
            double sum = 0;
            for (size_t k = 0; k < 4; ++k) sum += projection[4 * k + row] * modelview[4 * column + k];
            clip[4 * column + row] = sum;
        }
    }
    return clip;
}

bool outside_view(const clip_matrix& m, const view_bounds& box) {
    unsigned beyond_all = 0x1f;
    bool in_front = false, behind = false;
    for (unsigned corner = 0; corner < 8; ++corner) {
        const double x = (corner & 1) != 0 ? box.hi[0] : box.lo[0];
        const double y = (corner & 2) != 0 ? box.hi[1] : box.lo[1];
        const double z = (corner & 4) != 0 ? box.hi[2] : box.lo[2];
        const double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
        const double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
        const double cz = m[2] * x + m[6] * y + m[10] * z + m[14];
        const double cw = m[3] * x + m[7] * y + m[11] * z + m[15];
        (cw > 0 ? in_front : behind) = true;
        const unsigned beyond = (cx < -cw ? 1u : 0u) | (cx > cw ? 2u : 0u) |
                                (cy < -cw ? 4u : 0u) | (cy > cw ? 8u : 0u) |
                                (cz < -cw ? 16u : 0u);
        beyond_all &= beyond;
    }
    return beyond_all != 0 && !(in_front && behind);
}
