// How the facade pictures of the city are laid out, shared by the facade
// artwork and the block meshes that map it: each picture holds four styles
// side by side as vertical bands; a wall repeats one band along its length
// (whole bands only) and up its height.
#pragma once

constexpr int facade_bands = 4;

struct FacadeGrid {
    int bays, storeys;          // windows across one band and down the picture
    float bay_width, storey_height;  // world size of one window cell
};

constexpr FacadeGrid block_grid = {2, 8, 0.5f, 0.42f};    // kubes
constexpr FacadeGrid tower_grid = {3, 12, 0.45f, 0.38f};  // kubeshigh
