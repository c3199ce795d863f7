// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_en5.h"

void tscene_en5::render(int32_t) {}
void tscene_en5::init() {}

