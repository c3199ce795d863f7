// The timeline: 32 scene slots, of which the four timeline scenes fill 0 to 3.
#pragma once

#include "engine/qor_scenes.h"

constexpr int scene_table_slots = 32;
// The slots of the four timeline scenes.
constexpr int intro_slot = 0, fader_slot = 1, text_slot = 2, outro_slot = 3;
// The outro's end: the last millisecond of the timeline.
constexpr int32_t show_end_ms = 108000;
// Filled by create_scene_table at start-up (and by tests with stand-ins); walked by
// init_gl and draw_frame, read by the capture tool for the scenes' windows.
extern qor_genericscene* scene_table[scene_table_slots];

// Module start-up: empties the table and creates intro, fader, text and
// outro with their contiguous windows ending at 13769, 78544, 91501, 108000.
void create_scene_table();
