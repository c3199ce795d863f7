// The 2D pixel overlay: an orthographic projection of 640x480 with the
// origin at the top-left corner and y growing downwards.
#include "engine/qor_views.h"

#include <GL/gl.h>

void begin_overlay() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, screen_width, screen_height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void end_overlay() {
    glMatrixMode(GL_PROJECTION);
    glMatrixMode(GL_MODELVIEW);
}
