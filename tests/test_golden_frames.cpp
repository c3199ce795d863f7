// Golden frames: a dozen frames across the whole show, drawn as
// `trof_capture --time T` draws them (warm-up frames included), must stay
// as they were recorded in tests/golden, so that refactors and speed-ups
// cannot change a picture unnoticed.
//
// tests/golden/frames.txt holds the GL renderer and version that drew the
// frames and an FNV-1a 64 checksum of each whole 640x480 RGB frame;
// thumb_TTTTTT.png is each frame box-filtered to 80x60 (the folder stays
// near 150 KB). On the recorded renderer a frame passes only with an equal
// checksum; a changed frame is counted pixel by pixel against the full frame
// kept in <build>/golden (every frame that once matched its checksum is kept
// there under that checksum), or per thumbnail pixel when none is kept. On
// any other renderer the thumbnails are compared within a tolerance.
//
// After a deliberate change to the pictures, rewrite tests/golden with
//   TROF_GOLDEN_UPDATE=1 scripts/run-tests -R golden_frames
// and commit it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/qor_views.h"
#include "frame_render.h"
#include "png_file.h"
#include "support/frame_digest.h"
#include "support/gl_harness.h"
#include "support/golden_record.h"
#include "support/show_harness.h"

namespace {

struct golden_frame {
    int32_t time;  // music time, ms
    const char* shows;
};

// Every timeline scene, each of the conductor's five segments (0 from 13769,
// 1 from 26724, 2 from 39679, 3 from 52634, 4 from 65589 ms) and a
// cross-fade, two word slots and two moments of the outro.
const golden_frame golden_frames[] = {
    {1500, "intro: the slanted wipe uncovering the sky layers and the name"},
    {11000, "intro: the name, its cursor and the credits over the sky layers"},
    {19000, "conductor segment 0: the grid arena"},
    {24000, "conductor segment 0: the meadow fading in over the arena (weight 0.19)"},
    {31000, "conductor segment 1: the meadow and the walking boy"},
    {44000, "conductor segment 2: the city of blocks"},
    {57000, "conductor segment 3: the earth among the stars"},
    {70000, "conductor segment 4: the sea floor, fish and the boy"},
    {80550, "word scene, slot 2: \"networks\" in the tunnel over the city"},
    {88650, "word scene, slot 12: \"quor\" in the tunnel over the meadow"},
    {95000, "outro: the closing lines over the sinking sky, greetings in the top bar"},
    {104000, "outro: the closing lines on black, the greetings leaving the top bar"},
};

constexpr int capture_fps = 60;
constexpr int thumb_factor = 8;
constexpr int thumb_w = screen_width / thumb_factor;
constexpr int thumb_h = screen_height / thumb_factor;
constexpr int frame_pixels = screen_width * screen_height;
constexpr int thumb_pixels = thumb_w * thumb_h;
// On another renderer: a thumbnail pixel counts as changed when a channel
// moves by more than this, and a frame fails when over 2 % of them changed.
constexpr int thumb_tolerance = 24;
constexpr int thumb_changes_allowed = thumb_pixels / 50;

const std::string golden_dir = std::string(TROF_SOURCE_DIR) + "/tests/golden";
const std::string record_path = golden_dir + "/frames.txt";
const std::string kept_dir = std::string(TROF_BUILD_DIR) + "/golden";
const char* const record_header =
    "Golden frames of the show, checked by tests/test_golden_frames.cpp.\n"
    "Rewrite them with: TROF_GOLDEN_UPDATE=1 scripts/run-tests -R golden_frames";

std::string gl_string(GLenum name) { return reinterpret_cast<const char*>(glGetString(name)); }

std::string numbered(const char* pattern, unsigned long long number) {
    char name[64];
    std::snprintf(name, sizeof name, pattern, number);
    return name;
}

std::string thumb_path(int32_t time) { return golden_dir + numbered("/thumb_%06llu.png", time); }

std::string kept_path(uint64_t checksum) {
    return kept_dir + numbered("/%016llx.png", checksum);
}

std::vector<uint8_t> read_thumb(int32_t time) {
    std::vector<uint8_t> thumb;
    int w = 0, h = 0;
    if (!read_png_file(thumb_path(time), thumb, w, h) || w != thumb_w || h != thumb_h) return {};
    return thumb;
}

// Keeps a frame that matches its checksum, for counting changed pixels later.
void keep_frame(uint64_t checksum, const std::vector<uint8_t>& frame) {
    const std::string path = kept_path(checksum);
    if (std::filesystem::exists(path)) return;
    std::filesystem::create_directories(kept_dir);
    write_png(path, frame, screen_width, screen_height);
}

// How many pixels of a changed frame differ from the recorded one.
std::string changed_pixels(const std::vector<uint8_t>& frame, uint64_t recorded,
                           const std::vector<uint8_t>& thumb,
                           const std::vector<uint8_t>& recorded_thumb) {
    std::vector<uint8_t> kept;
    int w = 0, h = 0;
    if (read_png_file(kept_path(recorded), kept, w, h) && fnv1a_64(kept) == recorded) {
        return std::to_string(count_differing_pixels(frame, kept, 0)) + " of " +
               std::to_string(frame_pixels) + " pixels differ from " + kept_path(recorded);
    }
    return std::to_string(count_differing_pixels(thumb, recorded_thumb, 0)) + " of " +
           std::to_string(thumb_pixels) + " thumbnail pixels differ (no full frame kept in " +
           kept_dir + ")";
}

// Writes this run's version of a failed frame where it can be looked at.
std::string save_failed(int32_t time, const std::vector<uint8_t>& frame) {
    static const std::string dir = make_temp_dir("trof-golden");
    const std::string path = dir + numbered("/time_%06llu.png", time);
    write_png(path, frame, screen_width, screen_height);
    return path;
}

}  // namespace

TEST(GoldenFrames, EveryFrameAsRecorded) {
    show_harness_init();
    const bool update = std::getenv("TROF_GOLDEN_UPDATE") != nullptr;
    golden_record recorded;
    if (!update) {
        ASSERT_TRUE(read_golden_record(record_path, recorded))
            << "cannot read " << record_path << "; make it with TROF_GOLDEN_UPDATE=1";
    }
    golden_record fresh{gl_string(GL_RENDERER), gl_string(GL_VERSION), {}};
    const bool same_renderer =
        fresh.renderer == recorded.renderer && fresh.version == recorded.version;
    if (!update && !same_renderer) {
        std::printf("GL renderer \"%s\" / \"%s\" is not the recorded \"%s\" / \"%s\": thumbnails "
                    "compared within a tolerance of %d per channel, %d of %d may change\n",
                    fresh.renderer.c_str(), fresh.version.c_str(), recorded.renderer.c_str(),
                    recorded.version.c_str(), thumb_tolerance, thumb_changes_allowed, thumb_pixels);
    }
    for (const golden_frame& golden : golden_frames) {
        const std::vector<uint8_t> frame = render_frame_exact(golden.time, capture_fps);
        const std::vector<uint8_t> thumb =
            box_shrink(frame, screen_width, screen_height, thumb_factor);
        const uint64_t checksum = fnv1a_64(frame);
        const std::string which = std::to_string(golden.time) + " ms (" + golden.shows + ")";
        if (update) {
            fresh.checksums[golden.time] = checksum;
            ASSERT_TRUE(write_png(thumb_path(golden.time), thumb, thumb_w, thumb_h));
            keep_frame(checksum, frame);
            continue;
        }
        const std::vector<uint8_t> recorded_thumb = read_thumb(golden.time);
        const auto entry = recorded.checksums.find(golden.time);
        ASSERT_TRUE(entry != recorded.checksums.end() && !recorded_thumb.empty())
            << "frame " << which << " is not recorded; rewrite with TROF_GOLDEN_UPDATE=1";
        if (same_renderer) {
            if (checksum == entry->second) {
                keep_frame(checksum, frame);
                continue;
            }
            ADD_FAILURE() << "frame " << which << " changed: "
                          << changed_pixels(frame, entry->second, thumb, recorded_thumb)
                          << "; this run's frame: " << save_failed(golden.time, frame);
        } else {
            const int changed = count_differing_pixels(thumb, recorded_thumb, thumb_tolerance);
            EXPECT_LE(changed, thumb_changes_allowed)
                << "frame " << which << ": " << changed << " of " << thumb_pixels
                << " thumbnail pixels are off by more than " << thumb_tolerance
                << "; this run's frame: " << save_failed(golden.time, frame);
        }
    }
    if (update) {
        ASSERT_TRUE(write_golden_record(record_path, fresh, record_header));
        std::printf("rewrote %s and its thumbnails: %zu frames on \"%s\" / \"%s\"\n",
                    record_path.c_str(), fresh.checksums.size(), fresh.renderer.c_str(),
                    fresh.version.c_str());
    }
}
