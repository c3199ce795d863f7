// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_intro.h"

void tscene_intro::render(int32_t) {}
void tscene_intro::init() {}

void draw_letterbox_frame() {}
void glow_pass() {}
