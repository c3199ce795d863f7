// The asset catalogue: every shared texture under its name, and the sky dome
// mesh compiled into a display list.
#pragma once

#include "assets/qor_geox.h"
#include "assets/qor_textures.h"

// Filled by load_assets at start-up; every scene binds through it by name.
extern texture_table_t texture_table;
// Loaded and compiled by load_assets; en1 and en5 call its display list.
extern TGeoxData sky_mesh;

// Starts decoding the catalogue's pictures on worker threads; no GL needed.
void begin_asset_decoding();
// Needs a current GL context; begins the decoding itself if nobody did.
// Leaves boy7 bound.
void load_assets();
