// PLACEHOLDER: the scene's base operations until the scene is written.
#include "scenes/scene_fader.h"

void tscene_fader::render(int32_t) {}
void tscene_fader::init() {}

qor_genericscene* fader_en1 = nullptr;
qor_genericscene* fader_en2 = nullptr;
qor_genericscene* fader_en3 = nullptr;
qor_genericscene* fader_en4 = nullptr;
qor_genericscene* fader_en5 = nullptr;
qor_genericscene* fader_en6 = nullptr;
