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
// A full-screen quad blended over the picture with (SRC_ALPHA,
// ONE_MINUS_SRC_ALPHA) in the pixel overlay. Switches texturing off for the
// quad and on again, depth testing and blending off; leaves the pixel
// projection in force with the modelview matrix selected.
void draw_screen_veil(float red, float green, float blue, float alpha);
