// The free-flight editor driven the way the demo drives it: key and mouse
// messages through window_proc, then camera_editor_step once per frame; a
// right-button release writes "default.camera" into the working folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/camera_editor.h"
#include "frame/globals.h"
#include "frame/window.h"
#include "platform/platform.h"
#include "support/asset_files.h"
#include "support/gl_harness.h"

using namespace platform;

namespace {

constexpr int digit(int d) { return '0' + d; }

class CameraEditor : public ::testing::Test {
protected:
    std::filesystem::path previous_folder;
    void SetUp() override {
        init_shared_globals();
        camera_speed = 0.01f;
        for (int32_t& k : key_state) k = 0;
        mouse_look = false;
        previous_folder = std::filesystem::current_path();
        std::filesystem::current_path(make_temp_dir("trof_editor"));
    }
    void TearDown() override { std::filesystem::current_path(previous_folder); }

    static void key_down(int key) { window_proc(WM_KEYDOWN, static_cast<uintptr_t>(key), 0); }
    static void key_up(int key) { window_proc(WM_KEYUP, static_cast<uintptr_t>(key), 0); }
    static void frames(int n) {
        for (int i = 0; i < n; ++i) camera_editor_step();
    }
    static camera_record saved_record(const std::vector<unsigned char>& file, int index) {
        camera_record r;
        std::memcpy(&r, file.data() + index * sizeof r, sizeof r);  // little-endian host
        return r;
    }
};

}  // namespace

TEST_F(CameraEditor, HomeAndEndActOncePerKeyDown) {
    key_down(VK_HOME);
    frames(3);
    EXPECT_EQ(current_camera.fov, 75);
    EXPECT_EQ(key_state[VK_HOME], 0);
    key_down(VK_HOME);  // auto-repeat
    frames(1);
    EXPECT_EQ(current_camera.fov, 80);
    key_down(VK_END);
    key_down(VK_END);  // two messages before the frame still count once
    frames(2);
    EXPECT_EQ(current_camera.fov, 75);
}

TEST_F(CameraEditor, FieldOfViewStaysWhereTheProjectionWorks) {
    for (int i = 0; i < 40; ++i) {
        key_down(VK_END);
        frames(1);
    }
    EXPECT_EQ(current_camera.fov, 5);
    key_down(VK_SHIFT);
    key_down(digit(8));
    frames(1);
    key_up(digit(8));
    key_up(VK_SHIFT);
    for (int i = 0; i < 10; ++i) {
        key_down(VK_HOME);
        frames(1);
    }
    EXPECT_EQ(current_camera.fov, 175) << "from the widest preset, Home stops short of 180";
}

TEST_F(CameraEditor, DigitsSetTheSpeedAndTheHighestHeldWins) {
    key_down(digit(2));
    key_down(digit(5));
    frames(1);
    EXPECT_EQ(camera_speed, 1);
    key_up(digit(2));
    key_up(digit(5));
    key_down(digit(8));
    frames(1);
    EXPECT_EQ(camera_speed, 1000);
    key_up(digit(8));
    key_down(digit(3));
    frames(1);
    EXPECT_EQ(camera_speed, 0.01f) << "3 restores the start-up speed";
    key_up(digit(3));
    key_down(digit(9));
    key_down(digit(0));
    frames(1);
    EXPECT_EQ(camera_speed, 0.01f) << "only 1 to 8 are digits of the editor";
}

TEST_F(CameraEditor, ShiftDigitsSetTheFieldOfViewNotTheSpeed) {
    key_down(VK_HOME);
    frames(1);
    ASSERT_EQ(current_camera.fov, 75);
    key_down(VK_SHIFT);
    key_down(digit(4));
    frames(1);
    EXPECT_EQ(current_camera.fov, 70) << "Shift+4 is the start-up field of view";
    EXPECT_EQ(camera_speed, 0.01f);
    key_down(digit(1));
    key_down(digit(8));
    frames(1);
    EXPECT_EQ(current_camera.fov, 150);
}

TEST_F(CameraEditor, MovesActEveryFrameWhileHeld) {
    key_down(VK_LEFT);
    frames(2);
    // Strafe by s / 3 along up x d = (200, 0, 0): towards +x, twice.
    EXPECT_NEAR(current_camera.eye_x, 2 * 200 * (0.01 / 3), 1e-5);
    EXPECT_NEAR(current_camera.target_x, 2 * 200 * (0.01 / 3), 1e-5);
    key_up(VK_LEFT);
    key_down(VK_RIGHT);
    frames(2);
    EXPECT_NEAR(current_camera.eye_x, 0, 1e-5);
    key_up(VK_RIGHT);

    key_down(VK_UP);
    frames(1);
    EXPECT_NEAR(current_camera.eye_z, -10 + 20 * 0.03, 1e-5) << "forwards by s * 3";
    key_up(VK_UP);
    key_down(VK_DOWN);
    frames(1);
    EXPECT_NEAR(current_camera.eye_z, -10, 1e-5);
    key_up(VK_DOWN);

    key_down(VK_PRIOR);
    frames(1);
    EXPECT_NEAR(current_camera.eye_y, 0.45, 1e-6) << "up by s * 45";
    EXPECT_NEAR(current_camera.target_y, 0.45, 1e-6);
    key_up(VK_PRIOR);
    key_down(VK_NEXT);
    frames(3);
    EXPECT_NEAR(current_camera.eye_y, -0.9, 1e-5);
}

TEST_F(CameraEditor, NewSpeedAppliesFromTheNextFrame) {
    key_down(VK_UP);
    key_down(digit(6));
    frames(1);
    EXPECT_NEAR(current_camera.eye_z, -9.4, 1e-5) << "this frame moved at the old speed";
    EXPECT_EQ(camera_speed, 10);
    frames(1);
    EXPECT_NEAR(current_camera.eye_z, -9.4 + 20 * 30, 1e-3);
}

TEST_F(CameraEditor, RightButtonReleaseRecordsAndWritesDefaultCamera) {
    window_proc(WM_RBUTTONUP, 0, 0);
    std::vector<unsigned char> file = read_bytes("default.camera");
    ASSERT_EQ(file.size(), 2u * 40) << "slot 0 and the first key";
    EXPECT_EQ(recorded_path.count, 1);
    EXPECT_EQ(saved_record(file, 1).fov, 70);
    EXPECT_EQ(saved_record(file, 1).target_z, 10);
    EXPECT_EQ(saved_record(file, 0).fov, 0) << "slot 0 is never appended to";

    key_down(VK_UP);
    frames(1);
    window_proc(WM_RBUTTONUP, 0, 0);
    file = read_bytes("default.camera");
    ASSERT_EQ(file.size(), 3u * 40);
    EXPECT_NEAR(saved_record(file, 2).eye_z, -9.4, 1e-5) << "the last click is in the file";
    EXPECT_EQ(saved_record(file, 1).eye_z, -10);
}

TEST_F(CameraEditor, ClicksBeyond99KeysKeepThePath) {
    for (int i = 0; i < camera_path_max_keys; ++i) {
        current_camera.fov = static_cast<float>(i + 1);
        record_camera_view();
    }
    current_camera.fov = 500;
    window_proc(WM_RBUTTONUP, 0, 0);
    EXPECT_EQ(recorded_path.count, camera_path_max_keys);
    const std::vector<unsigned char> file = read_bytes("default.camera");
    ASSERT_EQ(file.size(), 100u * 40);
    EXPECT_EQ(saved_record(file, 99).fov, 99);
}
