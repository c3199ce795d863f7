// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_en4.h"

void tscene_en4::render(int32_t) {}
void tscene_en4::init() {}

