// Steps the environment scenes and their owners share: preparing an
// instance, binding a catalogue texture by name, deferred list builds,
// calling a list on its own matrix, building and drawing posed copies of a
// list that are in view, the veil and the walking boy.
#pragma once

#include <cstdint>

#include "engine/view_volume.h"

class qor_genericscene;

// Environments play local times 0 ... 99999 ms.
constexpr int32_t environment_span_ms = 100000;
// Stores a new environment in its owner's empty slot (one already filled
// keeps its instance and the new one is freed), gives it the window
// [0, 100000) and runs its init (which never reads the window).
void prepare_environment(qor_genericscene*& slot, qor_genericscene* scene);

// Binds the texture registered under name (0, untextured, when there is none).
void bind_named_texture(const char* name);
struct TGeoxData;

// Compiles the mesh with the given drawer into a new display list in the
// mesh's list field; the list the field held before is deleted.
void compile_mesh_list(TGeoxData& mesh, void (*draw)(const TGeoxData&));
// Display lists that an environment kind rebuilds from placements drawn by
// its init are compiled once, after the last init (the text scene inits the
// first environments again, and only the last placements are ever drawn):
// init records the builder, the start-up runs every recorded builder once,
// and so does the first render that finds one still recorded.
void defer_list_build(void (*build)());
void build_deferred_lists();
// Push, call the display list, pop: the list's transforms stay inside it.
void call_list_pushed(uint32_t list);
// Compiles the mesh into a list of one copy (as compile_mesh_list does) and
// gives copy i its box: the mesh's box through pose_matrix(i), the pose that
// draw_copies_in_view's pose(i) applies, composed in double, grown by margin.
void build_posed_copies(TGeoxData& mesh, int count, clip_matrix (*pose_matrix)(int copy),
                        float margin, view_bounds* boxes);
// Copies first ... first + count - 1 of one display list, in that order, each
// on its own matrix with pose(copy) on top of the current one, less those
// whose box (boxes[copy], in the current matrix's coordinates) lies wholly
// outside the view volume: they would make no fragment.
void draw_copies_in_view(uint32_t list, const view_bounds* boxes, int first, int count,
                         void (*pose)(int copy));
// Depth testing off, then tint_screen with (SRC_ALPHA, ONE_MINUS_SRC_ALPHA):
// a full-screen veil that leaves the pixel projection in force.
void draw_screen_veil(float red, float green, float blue, float alpha);
// The catalogue's sky mesh with the "backsky1" picture, stood upright and
// stretched five times along its height, on its own matrix.
void draw_sky_dome();

// The boy sprite, walking in the y-z plane towards +z; its frame follows
// the tick count at 10 frames per second.
void draw_walking_boy();
