// The capture's writer thread: frames in the order they were rendered, each
// written by the sink, through a queue of frame_queue_depth frames.
#include "frame_writer.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

// The writer runs below the renderer's priority: it compresses in the time
// the renderer's threads leave the processor idle (waiting for each other at
// every copy and read-back) instead of taking turns with them; the queue
// absorbs the difference, and a full queue still makes the renderer wait.
void yield_to_the_renderer() {
#ifdef _WIN32
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#else
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, thread, getpriority(PRIO_PROCESS, thread) + 5);
#endif
}

void drain(frame_writer& writer) {
    yield_to_the_renderer();
    std::unique_lock<std::mutex> hold(writer.lock);
    for (;;) {
        writer.changed.wait(hold, [&] { return writer.closing || !writer.queue.empty(); });
        if (writer.queue.empty()) return;
        auto [number, frame] = std::move(writer.queue.front());
        writer.queue.pop_front();
        writer.changed.notify_all();
        // The sink runs unlocked, so that the renderer queues the next frame
        // meanwhile.
        hold.unlock();
        const bool written = writer.failed || writer.sink(number, frame);
        hold.lock();
        if (!written) writer.failed = true;
    }
}

}  // namespace

void start_frame_writer(frame_writer& writer, frame_sink sink, bool threaded) {
    writer.sink = std::move(sink);
    writer.threaded = threaded;
    if (threaded) writer.thread = std::thread(drain, std::ref(writer));
}

bool write_frame(frame_writer& writer, int64_t number, std::vector<uint8_t> frame) {
    if (!writer.threaded) {
        if (!writer.failed && !writer.sink(number, frame)) writer.failed = true;
        return !writer.failed;
    }
    std::unique_lock<std::mutex> hold(writer.lock);
    writer.changed.wait(hold, [&] { return writer.queue.size() < frame_queue_depth; });
    writer.queue.emplace_back(number, std::move(frame));
    writer.changed.notify_all();
    return !writer.failed;
}

bool finish_frame_writer(frame_writer& writer) {
    if (writer.threaded) {
        {
            const std::lock_guard<std::mutex> hold(writer.lock);
            writer.closing = true;
        }
        writer.changed.notify_all();
        writer.thread.join();
    }
    return !writer.failed;
}
