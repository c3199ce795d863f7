// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_text.h"

void tscene_text::render(int32_t) {}
void tscene_text::init() {}

qor_genericscene* text_en1 = nullptr;
qor_genericscene* text_en2 = nullptr;
qor_genericscene* text_en3 = nullptr;
