// The asset catalogue: every shared texture under its name, and the sky dome
// mesh compiled into a display list.
#pragma once

#include "assets/qor_geox.h"
#include "assets/qor_textures.h"

extern texture_table_t texture_table;
extern TGeoxData sky_mesh;

// Needs a current GL context. Leaves boy7 bound.
void load_assets();
