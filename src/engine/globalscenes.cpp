// The timeline's scene table: intro, conductor, word scene and outro in
// contiguous windows, each starting where the previous one ends.
#include "engine/globalscenes.h"

#include "scenes/scene_fader.h"
#include "scenes/scene_intro.h"
#include "scenes/scene_outro.h"
#include "scenes/scene_text.h"

qor_genericscene* scene_table[scene_table_slots];

namespace {

qor_genericscene* windowed(qor_genericscene* scene, int32_t start, int32_t end) {
    scene->starttime = start;
    scene->endtime = end;
    return scene;
}

}  // namespace

void create_scene_table() {
    for (qor_genericscene*& slot : scene_table) slot = nullptr;
    scene_table[intro_slot] = windowed(new tscene_intro, 0, 13769);
    scene_table[fader_slot] = windowed(new tscene_fader, scene_table[intro_slot]->endtime, 78544);
    scene_table[text_slot] = windowed(new tscene_text, scene_table[fader_slot]->endtime, 91501);
    scene_table[outro_slot] = windowed(new tscene_outro, scene_table[text_slot]->endtime, show_end_ms);
}
