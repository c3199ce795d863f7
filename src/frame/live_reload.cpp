// Reloads for the player: every load runs under a load_error_trap, so that
// a broken file throws its message instead of ending the program, and the
// data in use is replaced only after everything has loaded.
#include "frame/live_reload.h"

#include <GL/gl.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <vector>

#include "assets/jpeg_image.h"
#include "assets/load_error.h"
#include "assets/qor_geox.h"
#include "assets/scene_globaldata.h"
#include "frame/main_loop.h"
#include "platform/platform.h"
#include "scenes/camera_paths.h"

namespace {

// Decodes every picture, mesh and camera file of data/ into scratch copies;
// the first that fails throws its load_failure.
void try_every_data_file() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(platform::native_path("data"))) {
        names.push_back("data\\" + entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string extension = std::filesystem::path(name).extension().string();
        if (extension == ".jpg") {
            decode_jpeg_file(name.c_str());
        } else if (extension == ".geox") {
            TGeoxData scratch;
            load_geox(scratch, name.c_str());
        } else if (extension == ".camera") {
            camera_path scratch{};
            load_camera_path(scratch, name.c_str());
        }
    }
}

}  // namespace

std::string reload_camera_paths() {
    camera_path loaded[environment_count] = {};
    try {
        const load_error_trap trap;
        for (int k = 0; k < environment_count; ++k) {
            load_camera_path(loaded[k], environment_cameras[k].file_name);
        }
    } catch (const load_failure& failure) {
        return failure.message;
    }
    for (int k = 0; k < environment_count; ++k) environment_cameras[k].path = loaded[k];
    return {};
}

std::string reload_show_data() {
    const texture_table_t old_table = texture_table;
    try {
        const load_error_trap trap;
        try_every_data_file();
        // What start-up did from init_gl's seed on, less the screen work.
        set_random_seed(initial_random_seed);
        load_assets();
        init_scenes();
    } catch (const load_failure& failure) {
        return failure.message;
    } catch (const std::filesystem::filesystem_error& failure) {
        return failure.what();
    }
    glDeleteTextures(old_table.count, old_table.textures);
    return {};
}
