// Reloading the show's data from data/ while it runs: the camera paths
// alone, or every texture, mesh and path with the scene inits run again.
// A file that does not load leaves the data in use as it was; its message
// is the answer, and nothing ends the program.
#pragma once

#include <string>

// Empty when every environment's path was read again; otherwise the first
// failure's message, and no path has changed.
std::string reload_camera_paths();
// Every file of data/ is tried first; only when all load are the textures,
// meshes and paths replaced, with the scenes prepared again from the
// start-up seed so that every random layout stays the same. Empty on
// success, otherwise the first failure's message.
std::string reload_show_data();
