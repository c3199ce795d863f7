// The free-flight camera editor: keys and mouse move current_camera, a
// right-button release records the view into "default.camera".
#pragma once

// The editor's step size: set by the digit keys, read by every move.
extern float camera_speed;

// Once per frame pass, after the swap and the Escape test.
void camera_editor_step();
// WM_RBUTTONUP.
void record_camera_view();
