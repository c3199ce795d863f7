// Reloading data while the show runs, on a copy of the data folder: a new
// camera file changes the next frame and a missing one leaves it as it was
// with its message; a full reload with a broken mesh changes nothing, and
// one that succeeds gives the same frames as start-up and leaves no display
// list of the data it replaced behind; a fixed key, saved
// and loaded again, leaves every other key of its path alone.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/live_reload.h"
#include "frame_render.h"
#include "scenes/camera_paths.h"
#include "support/gl_harness.h"
#include "support/show_harness.h"

namespace fs = std::filesystem;

namespace {

constexpr int capture_fps = 60;
constexpr int32_t city_time = 40000;  // environment 3 on screen

// The display lists alive: every name below the next free one that is a list.
int live_display_lists() {
    const GLuint next = glGenLists(1);
    glDeleteLists(next, 1);
    int live = 0;
    for (GLuint name = 1; name < next; ++name) live += glIsList(name) ? 1 : 0;
    return live;
}

// The show started in a folder whose data/ links to the build's files, so
// that a test may replace some of them.
class LiveReload : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const fs::path built = fs::path(TROF_BUILD_DIR) / "data";
        const fs::path here = make_temp_dir("trof-reload");
        fs::create_directory(here / "data");
        for (const auto& entry : fs::directory_iterator(built)) {
            fs::create_symlink(entry.path(), here / "data" / entry.path().filename());
        }
        fs::current_path(here);
        show_harness_init();
    }

    // Replaces data/NAME (a link at first) with the bytes.
    static void write_data_file(const char* name, const std::vector<char>& bytes) {
        const fs::path path = fs::path("data") / name;
        fs::remove(path);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    static std::vector<char> read_data_file(const char* name) {
        std::ifstream in(fs::path("data") / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(LiveReload, CameraFileChangesTheNextFrameAndAMissingOneLeavesIt) {
    const std::vector<uint8_t> before = render_frame_exact(city_time, capture_fps);
    std::vector<char> moved = read_data_file("en3.camera");
    // Every eye 20 units higher.
    for (size_t record = 0; record + 40 <= moved.size(); record += 40) {
        float eye_y = 0;
        std::memcpy(&eye_y, &moved[record + 8], 4);
        eye_y += 20;
        std::memcpy(&moved[record + 8], &eye_y, 4);
    }
    write_data_file("en3.camera", moved);
    EXPECT_EQ(reload_camera_paths(), "");
    const std::vector<uint8_t> after = render_frame_exact(city_time, capture_fps);
    EXPECT_NE(after, before);

    fs::remove("data/en3.camera");
    EXPECT_EQ(reload_camera_paths(), "Cannot load \"data\\en3.camera\": No such file or directory");
    EXPECT_EQ(render_frame_exact(city_time, capture_fps), after) << "the old path stays in use";
    write_data_file("en3.camera", moved);
}

TEST_F(LiveReload, FullReloadKeepsEverythingWhenAMeshIsBrokenAndRepeatsStartUp) {
    const std::vector<uint8_t> before = render_frame_exact(city_time, capture_fps);
    const int lists = live_display_lists();
    const std::vector<char> blocks = read_data_file("kubes.geox");
    write_data_file("kubes.geox", std::vector<char>(blocks.begin(), blocks.begin() + 20));
    const std::string message = reload_show_data();
    EXPECT_NE(message.find("kubes.geox"), std::string::npos) << message;
    EXPECT_EQ(render_frame_exact(city_time, capture_fps), before);

    write_data_file("kubes.geox", blocks);
    EXPECT_EQ(reload_show_data(), "");
    EXPECT_EQ(render_frame_exact(city_time, capture_fps), before)
        << "the scenes are prepared again from the start-up seed";
    EXPECT_EQ(live_display_lists(), lists) << "the replaced data's lists are deleted";
}

TEST_F(LiveReload, FixedKeySavedAndLoadedKeepsEveryOtherKey) {
    const camera_path original = environment_cameras[0].path;
    ASSERT_GE(original.count, 6);
    camera_record view{};
    view.fov = 33;
    view.eye_y = 7;
    view.up_y = 1;
    const float t = 2.0f / static_cast<float>(original.count - 2);
    EXPECT_EQ(fix_environment_key(1, t, view), 3);
    save_environment_path(1);
    EXPECT_EQ(reload_camera_paths(), "");
    const camera_path& reloaded = environment_cameras[0].path;
    ASSERT_EQ(reloaded.count, original.count);
    for (int slot = 0; slot < original.count; ++slot) {
        const camera_record& expected = slot == 3 ? view : original.slots[slot];
        EXPECT_EQ(std::memcmp(&reloaded.slots[slot], &expected, sizeof expected), 0) << "slot " << slot;
    }
}

}  // namespace
