// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_en6.h"

void tscene_en6::render(int32_t) {}
void tscene_en6::init() {}

