// Small drawing steps that several environment scenes share: binding a
// catalogue texture by name, calling a list on its own matrix, the veil.
#pragma once

#include <cstdint>

// Binds the texture registered under name (0, untextured, when there is none).
void bind_named_texture(const char* name);
struct TGeoxData;

// Generates a display list into the mesh's list field and compiles the
// mesh into it with the given drawer.
void compile_mesh_list(TGeoxData& mesh, void (*draw)(const TGeoxData&));
// Push, call the display list, pop: the list's transforms stay inside it.
void call_list_pushed(uint32_t list);
// Depth testing off, then tint_screen with (SRC_ALPHA, ONE_MINUS_SRC_ALPHA):
// a full-screen veil that leaves the pixel projection in force.
void draw_screen_veil(float red, float green, float blue, float alpha);
