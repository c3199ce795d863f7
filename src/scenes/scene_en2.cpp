// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_en2.h"

void tscene_en2::render(int32_t) {}
void tscene_en2::init() {}

