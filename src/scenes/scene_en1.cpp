// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_en1.h"

void tscene_en1::render(int32_t) {}
void tscene_en1::init() {}

void draw_walking_boy() {}
