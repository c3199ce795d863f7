// The helper thread of run_in_pair: started on first use, asleep between
// jobs, stopped at exit. A job is handed over under the lock and the caller
// waits until the helper hands it back.
#include "engine/paired_work.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

std::mutex lock;
std::condition_variable changed;
std::thread helper;
void (*pending)(int) = nullptr;  // the job the helper has not finished
bool stopping = false;

void helper_loop() {
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
        changed.wait(hold, [] { return pending != nullptr || stopping; });
        if (stopping) return;
        void (*const job)(int) = pending;
        hold.unlock();
        job(1);
        hold.lock();
        pending = nullptr;
        changed.notify_all();
    }
}

void stop_helper() {
    {
        const std::lock_guard<std::mutex> hold(lock);
        stopping = true;
    }
    changed.notify_all();
    helper.join();
}

}  // namespace

void run_in_pair(void (*job)(int part)) {
    static const bool one_processor = std::thread::hardware_concurrency() < 2;
    if (one_processor) {
        job(0);
        job(1);
        return;
    }
    if (!helper.joinable()) {
        helper = std::thread(helper_loop);
        std::atexit(stop_helper);
    }
    {
        const std::lock_guard<std::mutex> hold(lock);
        pending = job;
    }
    changed.notify_all();
    job(0);
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [] { return pending == nullptr; });
}
