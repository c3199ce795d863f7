// Captured frames handed to a writer thread through a small bounded queue,
// so that rendering never waits for PNG compression or the video encoder
// unless the queue is full (then it waits: no frame is ever dropped).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Writes one frame (its number and RGB rows); false when the write failed.
using frame_sink = std::function<bool(int64_t number, const std::vector<uint8_t>& frame)>;

struct frame_writer {
    frame_sink sink;
    bool threaded = true;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::pair<int64_t, std::vector<uint8_t>>> queue;
    bool closing = false;
    bool failed = false;
    std::thread thread;
};

// Frames queued at most before the renderer waits.
constexpr size_t frame_queue_depth = 4;

// With threaded false every frame is written at once on the caller's thread.
void start_frame_writer(frame_writer& writer, frame_sink sink, bool threaded);
// Queues the frame (or writes it); false once any write has failed.
bool write_frame(frame_writer& writer, int64_t number, std::vector<uint8_t> frame);
// Writes what is queued and stops the thread; false if any write failed.
bool finish_frame_writer(frame_writer& writer);
