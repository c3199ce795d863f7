// Handing a camera record to OpenGL: its projection and its look-at view.
#include "assets/qor_camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

void apply_camera(const camera_record& camera) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(camera.fov, 1.33333333333, 0.1, 99999);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(camera.eye_x, camera.eye_y, camera.eye_z, camera.target_x, camera.target_y,
              camera.target_z, camera.up_x, camera.up_y, camera.up_z);
}
