// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_en3.h"

void tscene_en3::render(int32_t) {}
void tscene_en3::init() {}

