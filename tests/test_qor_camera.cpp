// Camera records and paths: the Hermite spline through path keys, the
// .camera files (load limits, the save/load round trip, a failed save), the
// editor's moves on the start-up camera, and the matrices apply_camera loads.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "assets/qor_camera.h"
#include "assets/qor_spline.h"
#include "support/asset_files.h"
#include "support/gl_harness.h"

namespace {

camera_record record_with(float base) {
    camera_record r;
    set_camera(r, base + 1, base + 2, base + 3, base + 4, base + 5, base + 6, base + 7,
               base + 8, base + 9);
    r.fov = base;
    return r;
}

camera_record startup_camera() {
    camera_record r;
    set_camera(r, 0, 0, -10, 0, 0, 10, 0, 10, 0);
    r.fov = 70;
    return r;
}

std::array<float, 10> fields(const camera_record& r) {
    std::array<float, 10> f;
    std::memcpy(f.data(), &r, sizeof r);
    return f;
}

void expect_same(const camera_record& actual, const camera_record& expected, float tolerance) {
    const auto a = fields(actual);
    const auto e = fields(expected);
    for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], e[i], tolerance) << "field " << i;
}

std::unique_ptr<camera_path> fresh_path() {
    auto path = std::make_unique<camera_path>();
    *path = camera_path{};
    return path;
}

std::vector<unsigned char> camera_file(const std::vector<camera_record>& records) {
    std::vector<unsigned char> bytes;
    for (const camera_record& r : records) {
        for (float f : fields(r)) append_float(bytes, f);
    }
    return bytes;
}

class CameraFiles : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override { dir = make_temp_dir("trof_camera"); }
    std::string file(const char* name) const { return dir + "/" + name; }
};

}  // namespace

TEST(Hermite, RunsFromAToBWhateverC) {
    EXPECT_EQ(hermite(3, 7, 100, 0), 3);
    EXPECT_EQ(hermite(3, 7, -100, 1), 7);
    EXPECT_FLOAT_EQ(hermite(0, 10, 20, 0.5f), 5);
    EXPECT_FLOAT_EQ(hermite(10, 20, 40, 0.5f), 13.75f);
}

TEST(Spline, FourKeysGiveTheKnownFovs) {
    auto path = fresh_path();
    const float fovs[] = {0, 10, 20, 40};
    for (float fov : fovs) {
        camera_record r = record_with(0);
        r.fov = fov;
        append_camera(r, *path);
    }
    ASSERT_EQ(path->count, 4);
    camera_record out;
    interpolate_camera(out, *path, 0.25f);
    EXPECT_FLOAT_EQ(out.fov, 5);
    interpolate_camera(out, *path, 0.75f);
    EXPECT_FLOAT_EQ(out.fov, 13.75f);
    interpolate_camera(out, *path, 0);
    EXPECT_EQ(out.fov, 0);
}

TEST(Spline, ThreeKeysOrFewerGiveSlotOne) {
    auto path = fresh_path();
    path->slots[1] = record_with(5);
    path->slots[2] = record_with(50);
    path->slots[3] = record_with(500);
    for (int count : {0, 1, 2, 3, -7}) {
        path->count = count;
        for (float t : {0.0f, 0.5f, 0.99f}) {
            camera_record out = record_with(-1);
            interpolate_camera(out, *path, t);
            expect_same(out, record_with(5), 0);
        }
    }
}

TEST(Spline, ClearedPathCopiesWhatSlotOneStillHolds) {
    auto path = fresh_path();
    for (int i = 1; i <= 6; ++i) append_camera(record_with(static_cast<float>(i)), *path);
    clear_camera_path(*path);
    EXPECT_EQ(path->count, 0);
    camera_record out;
    interpolate_camera(out, *path, 0.6f);
    expect_same(out, record_with(1), 0);
}

// A path between two guard records: any read outside its slots would pick up
// the guard, so two layouts that differ only in their guards must give the
// same bytes for every t.
struct guarded_path {
    camera_record before;
    camera_path path;
    camera_record after;
};

TEST(Spline, NeverReadsOutsideTheSlotsWhateverT) {
    auto low = std::make_unique<guarded_path>();
    auto high = std::make_unique<guarded_path>();
    for (guarded_path* g : {low.get(), high.get()}) {
        for (int i = 0; i < camera_path_slots; ++i) g->path.slots[i] = record_with(float(i));
        g->path.count = camera_path_max_keys;
    }
    low->before = low->after = record_with(-1e30f);
    high->before = high->after = record_with(1e30f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // A count written beyond the slots is read as a full path.
    for (int32_t count : {camera_path_max_keys, 1000000}) {
        low->path.count = high->path.count = count;
        for (float t : {0.0f, 0.5f, 0.999999f, 1.0f, 1.5f, 1e9f, -0.5f, -3.0f, inf, -inf, nan}) {
            camera_record from_low, from_high;
            interpolate_camera(from_low, low->path, t);
            interpolate_camera(from_high, high->path, t);
            EXPECT_EQ(std::memcmp(&from_low, &from_high, sizeof from_low), 0)
                << "count " << count << ", t " << t << " read a guard";
        }
    }
    camera_record out;
    interpolate_camera(out, low->path, 1);
    expect_same(out, record_with(98), 1e-3f);
}

TEST(CameraPath, AppendFillsSlotsFromOneAndStopsAt99) {
    auto path = fresh_path();
    append_camera(record_with(1), *path);
    EXPECT_EQ(path->count, 1);
    expect_same(path->slots[1], record_with(1), 0);
    expect_same(path->slots[0], camera_record{}, 0);
    for (int i = 2; i <= camera_path_max_keys; ++i) {
        append_camera(record_with(static_cast<float>(i)), *path);
    }
    ASSERT_EQ(path->count, 99);
    append_camera(record_with(1000), *path);
    EXPECT_EQ(path->count, 99) << "a full path stays as it is";
    expect_same(path->slots[99], record_with(99), 0);
}

TEST_F(CameraFiles, FiveRecordFilePassesThroughRecordsOneToThree) {
    write_bytes(file("five.camera"), camera_file({record_with(0), record_with(10), record_with(20),
                                                  record_with(30), record_with(40)}));
    auto path = fresh_path();
    load_camera_path(*path, file("five.camera").c_str());
    ASSERT_EQ(path->count, 5);
    expect_same(path->slots[0], record_with(0), 0);
    camera_record out;
    interpolate_camera(out, *path, 0);
    expect_same(out, record_with(10), 0);
    interpolate_camera(out, *path, 1.0f / 3);
    expect_same(out, record_with(20), 1e-4f);
    interpolate_camera(out, *path, 2.0f / 3);
    expect_same(out, record_with(30), 1e-4f);
    interpolate_camera(out, *path, 0.99999f);
    expect_same(out, record_with(40), 0.01f);
}

TEST_F(CameraFiles, PartialRecordsAreIgnoredAndLaterSlotsKept) {
    std::vector<unsigned char> bytes = camera_file({record_with(1), record_with(2)});
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
    ASSERT_EQ(bytes.size(), 85u);
    write_bytes(file("85.camera"), bytes);
    auto path = fresh_path();
    path->slots[2] = record_with(77);
    load_camera_path(*path, file("85.camera").c_str());
    EXPECT_EQ(path->count, 2);
    expect_same(path->slots[1], record_with(2), 0);
    expect_same(path->slots[2], record_with(77), 0);

    write_bytes(file("empty.camera"), {});
    load_camera_path(*path, file("empty.camera").c_str());
    EXPECT_EQ(path->count, 0);
}

TEST_F(CameraFiles, LoadingNeverWritesPastSlot99) {
    std::vector<camera_record> records;
    for (int i = 0; i < 150; ++i) records.push_back(record_with(static_cast<float>(i)));
    write_bytes(file("long.camera"), camera_file(records));
    struct guarded {
        camera_path path;
        camera_record after;
    };
    auto memory = std::make_unique<guarded>();
    memory->after = record_with(-5);
    load_camera_path(memory->path, file("long.camera").c_str());
    EXPECT_EQ(memory->path.count, camera_path_max_keys);
    expect_same(memory->path.slots[99], record_with(99), 0);
    expect_same(memory->after, record_with(-5), 0);
}

TEST_F(CameraFiles, SaveAndLoadKeepEveryAppendedKey) {
    auto recorded = fresh_path();
    for (int i = 1; i <= 5; ++i) append_camera(record_with(static_cast<float>(10 * i)), *recorded);
    save_camera_path(*recorded, file("round.camera").c_str());
    // Slots 0 ... count: the last appended view is in the file.
    const std::vector<unsigned char> bytes = read_bytes(file("round.camera"));
    ASSERT_EQ(bytes.size(), 6u * 40);
    EXPECT_EQ(bytes[40], 0x00);  // slot 1 fov 10.0f = 0x41200000, little-endian
    EXPECT_EQ(bytes[43], 0x41);
    EXPECT_EQ(bytes[42], 0x20);
    EXPECT_FALSE(std::filesystem::exists(file("round.camera.tmp")));

    auto played = fresh_path();
    load_camera_path(*played, file("round.camera").c_str());
    ASSERT_EQ(played->count, 6);
    for (int i = 1; i <= 5; ++i) expect_same(played->slots[i], recorded->slots[i], 0);
    // Playback passes through keys 1 ... 5; the last one at the end of the scene.
    camera_record out;
    interpolate_camera(out, *played, 0.75f);
    expect_same(out, record_with(40), 1e-4f);
    interpolate_camera(out, *played, 0.99999f);
    expect_same(out, record_with(50), 0.01f);
}

TEST_F(CameraFiles, FailedSaveReportsAndKeepsTheOldFile) {
    const std::vector<unsigned char> old_content = camera_file({record_with(1), record_with(2)});
    write_bytes(file("kept.camera"), old_content);
    // A folder where the temporary file would go makes the write fail.
    std::filesystem::create_directory(file("kept.camera.tmp"));
    auto path = fresh_path();
    append_camera(record_with(3), *path);
    ::testing::internal::CaptureStderr();
    save_camera_path(*path, file("kept.camera").c_str());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Cannot save the camera path"), std::string::npos) << said;
    EXPECT_NE(said.find("kept.camera"), std::string::npos) << said;
    EXPECT_EQ(read_bytes(file("kept.camera")), old_content);

    // Nor is a folder in the target's place replaced.
    std::filesystem::create_directory(file("folder.camera"));
    std::filesystem::create_directory(file("folder.camera") + "/inside");
    ::testing::internal::CaptureStderr();
    save_camera_path(*path, file("folder.camera").c_str());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Cannot save"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(file("folder.camera") + "/inside"));
    EXPECT_FALSE(std::filesystem::exists(file("folder.camera.tmp")));
}

TEST_F(CameraFiles, MissingFileIsAFatalLoadError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto path = fresh_path();
    const std::string missing = file("en7.camera");
    EXPECT_EXIT(load_camera_path(*path, missing.c_str()), ::testing::ExitedWithCode(1),
                "Cannot load .*en7\\.camera.*No such file");
    EXPECT_EXIT(load_camera_path(*path, dir.c_str()), ::testing::ExitedWithCode(1),
                "Cannot load .*directory");
}

TEST(CameraMoves, AdvanceMovesAlongTheViewInTheHorizontalPlane) {
    camera_record camera = startup_camera();
    camera_advance(camera, 0.5f);
    camera_record expected = startup_camera();
    set_camera(expected, 0, 0, 0, 0, 0, 20, 0, 10, 0);
    expect_same(camera, expected, 0);
    camera.target_y = 8;  // a view going up still keeps the camera's height
    camera_advance(camera, 0.5f);
    EXPECT_EQ(camera.eye_y, 0);
    EXPECT_EQ(camera.eye_z, 10);
}

TEST(CameraMoves, StrafeOfTheStartupCameraMovesTowardsPlusX) {
    camera_record camera = startup_camera();
    camera_strafe(camera, 0.5f);
    camera_record expected = startup_camera();
    set_camera(expected, 100, 0, -10, 100, 0, 10, 0, 10, 0);
    expect_same(camera, expected, 0);
    camera_strafe(camera, -0.01f / 3);
    EXPECT_NEAR(camera.eye_x, 100 - 200 * (0.01 / 3), 1e-4);
}

TEST(CameraMoves, RiseMovesEyeAndTargetUp) {
    camera_record camera = startup_camera();
    camera_rise(camera, 0.45f);
    EXPECT_FLOAT_EQ(camera.eye_y, 0.45f);
    EXPECT_FLOAT_EQ(camera.target_y, 0.45f);
    EXPECT_EQ(camera.up_y, 10);
}

TEST(CameraMoves, TurnsFollowTheirPlanes) {
    camera_record camera = startup_camera();
    camera_turn(camera, 0, 0, 0);
    expect_same(camera, startup_camera(), 0);

    // a1: down; a quarter turn points the view straight down.
    camera_turn(camera, std::numbers::pi_v<float> / 2, 0, 0);
    EXPECT_NEAR(camera.target_y, -20, 1e-5);
    EXPECT_NEAR(camera.target_z, -10, 1e-5);
    EXPECT_EQ(camera.eye_z, -10) << "the eye stays";

    // a2: towards -x, the right-hand side of the start-up view.
    camera = startup_camera();
    camera_turn(camera, 0, 0.1f, 0);
    EXPECT_NEAR(camera.target_x, -20 * std::sin(0.1), 1e-5);
    EXPECT_NEAR(camera.target_z, -10 + 20 * std::cos(0.1), 1e-5);

    // Both from the same d: a2 overwrites the z that a1 wrote.
    camera = startup_camera();
    camera_turn(camera, 0.3f, 0.2f, 0);
    EXPECT_NEAR(camera.target_y, -20 * std::sin(0.3), 1e-5);
    EXPECT_NEAR(camera.target_z, -10 + 20 * std::cos(0.2), 1e-5);

    // a3 turns in the x-y plane.
    camera = startup_camera();
    camera.target_x = 5;
    camera_turn(camera, 0, 0, std::numbers::pi_v<float> / 2);
    EXPECT_NEAR(camera.target_x, 0, 1e-5);
    EXPECT_NEAR(camera.target_y, -5, 1e-5);
    EXPECT_EQ(camera.up_y, 10) << "the up vector is never turned";
}

TEST(ApplyCamera, LoadsPerspectiveAndLookAt) {
    gl_harness_init();
    camera_record camera = startup_camera();
    camera.fov = 90;
    apply_camera(camera);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat p[16], m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(p[0], 0.75f, 1e-6);  // 1 / tan(45 degrees) / aspect
    EXPECT_NEAR(p[5], 1, 1e-6);
    EXPECT_NEAR(p[10], -(99999 + 0.1) / (99999 - 0.1), 1e-6);
    EXPECT_NEAR(p[14], -2 * 99999 * 0.1 / (99999 - 0.1), 1e-5);
    // The target (0, 0, 10) lies 20 units in front of the eye, straight ahead.
    const float target_eye_z = m[2] * 0 + m[6] * 0 + m[10] * 10 + m[14];
    EXPECT_NEAR(target_eye_z, -20, 1e-5);
    EXPECT_NEAR(m[0], -1, 1e-6) << "looking down +z, world +x is on the left";
}
