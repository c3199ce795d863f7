// The decoding workers: one per hardware thread, each taking the next
// source in request order, so the first textures the GL thread needs are
// ready first. The batch's state lives on the heap and an exit handler
// stops the workers, so that a program ending during start-up (a
// load error) never ends with workers still running.
#include "assets/texture_decoding.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "assets/jpeg_image.h"
#include "assets/load_error.h"

namespace {

// How many decoded textures may wait for the GL thread at once: enough to
// keep it busy, few enough not to hold the whole catalogue in memory.
constexpr size_t most_waiting = 6;

struct decoding_batch {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<texture_source> sources;
    std::vector<std::optional<decoded_texture>> results;
    size_t next = 0;     // the next source a worker starts
    size_t waiting = 0;  // started or decoded, and not yet taken
    size_t taken = 0;
    bool stopping = false;
    std::vector<std::thread> workers;
};

decoding_batch* batch = nullptr;

void work(decoding_batch& b) {
    std::unique_lock<std::mutex> hold(b.lock);
    for (;;) {
        b.changed.wait(hold, [&] { return b.stopping || (b.next < b.sources.size() && b.waiting < most_waiting); });
        if (b.stopping) return;
        const size_t index = b.next++;
        ++b.waiting;
        const texture_source source = b.sources[index];
        hold.unlock();
        decoded_texture texture = decode_texture(source);
        hold.lock();
        b.results[index] = std::move(texture);
        b.changed.notify_all();
    }
}

void stop_workers() {
    if (batch == nullptr) return;
    {
        const std::lock_guard<std::mutex> hold(batch->lock);
        batch->stopping = true;
    }
    batch->changed.notify_all();
    for (std::thread& worker : batch->workers) worker.join();
    delete batch;
    batch = nullptr;
}

std::string size_text(const jpeg_image& image) {
    return std::to_string(image.width) + "x" + std::to_string(image.height);
}

}  // namespace

decoded_texture decode_texture(const texture_source& source) {
    decoded_texture texture;
    std::vector<unsigned char> colour_bytes;
    std::vector<unsigned char> alpha_bytes;
    if (!read_data_file(source.colour_file.c_str(), colour_bytes, texture.reason)) {
        texture.failed_file = source.colour_file;
        return texture;
    }
    if (!source.alpha_file.empty() &&
        !read_data_file(source.alpha_file.c_str(), alpha_bytes, texture.reason)) {
        texture.failed_file = source.alpha_file;
        return texture;
    }
    return decode_texture_bytes(source, colour_bytes, alpha_bytes);
}

decoded_texture decode_texture_bytes(const texture_source& source,
                                     const std::vector<unsigned char>& colour_bytes,
                                     const std::vector<unsigned char>& alpha_bytes) {
    decoded_texture texture;
    jpeg_image colour;
    if (!decode_jpeg(colour_bytes.data(), colour_bytes.size(), colour, texture.reason)) {
        texture.failed_file = source.colour_file;
        return texture;
    }
    std::vector<unsigned char> pixels = std::move(colour.rgb);
    if (!source.alpha_file.empty()) {
        jpeg_image alpha;
        if (!decode_jpeg(alpha_bytes.data(), alpha_bytes.size(), alpha, texture.reason)) {
            texture.failed_file = source.alpha_file;
            return texture;
        }
        if (alpha.width != colour.width || alpha.height != colour.height) {
            texture.failed_file = source.alpha_file;
            texture.reason = "the alpha image is " + size_text(alpha) + " but its colour image \"" +
                             source.colour_file + "\" is " + size_text(colour) +
                             "; the two must have the same size";
            return texture;
        }
        const size_t count = static_cast<size_t>(colour.width) * colour.height;
        std::vector<unsigned char> rgba(count * 4);
        for (size_t i = 0; i < count; ++i) {
            std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(i * 3), 3,
                        rgba.begin() + static_cast<std::ptrdiff_t>(i * 4));
            // Blue carries the alpha: for a greyscale image that is its grey level.
            rgba[i * 4 + 3] = alpha.rgb[i * 3 + 2];
        }
        pixels = std::move(rgba);
        texture.components = 4;
    }
    if (is_power_of_two(colour.width) && is_power_of_two(colour.height)) {
        texture.levels = build_mipmap_chain(colour.width, colour.height, texture.components, std::move(pixels));
    } else {
        texture.levels.push_back({colour.width, colour.height, std::move(pixels)});
    }
    return texture;
}

void begin_texture_decoding(std::vector<texture_source> sources) {
    if (batch != nullptr) return;
    static bool exit_handler = false;
    if (!exit_handler) {
        std::atexit(stop_workers);
        exit_handler = true;
    }
    batch = new decoding_batch;
    batch->results.resize(sources.size());
    batch->sources = std::move(sources);
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < std::min<size_t>(threads, batch->sources.size()); ++i) {
        batch->workers.emplace_back(work, std::ref(*batch));
    }
}

bool texture_decoding_begun() { return batch != nullptr; }

decoded_texture take_decoded_texture(size_t index) {
    decoded_texture texture;
    {
        std::unique_lock<std::mutex> hold(batch->lock);
        batch->changed.wait(hold, [&] { return batch->results[index].has_value(); });
        texture = std::move(*batch->results[index]);
        batch->results[index].reset();
        --batch->waiting;
        ++batch->taken;
    }
    batch->changed.notify_all();
    if (batch->taken == batch->sources.size()) end_texture_decoding();
    return texture;
}

void end_texture_decoding() { stop_workers(); }
