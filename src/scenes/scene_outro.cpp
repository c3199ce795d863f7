// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_outro.h"

void tscene_outro::render(int32_t) {}
void tscene_outro::init() {}

