// The benchmark's per-step accounting of the main thread's frame time; see
// work_steps.h. Steps are few, so a linear search over their names is enough.
#include "engine/work_steps.h"

#include <chrono>
#include <cstring>

namespace {

using step_clock = std::chrono::steady_clock;

bool recording = false;
step_clock::time_point last_checkpoint;
std::vector<work_step_total> totals;

}  // namespace

void record_work_steps(bool on) {
    recording = on;
    if (!on) return;
    totals.clear();
    // Room for every step up front: a frame being counted allocates nothing here.
    totals.reserve(32);
    last_checkpoint = step_clock::now();
}

void restart_work_clock() { last_checkpoint = step_clock::now(); }

void work_checkpoint(const char* step) {
    if (!recording) return;
    const step_clock::time_point now = step_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - last_checkpoint).count();
    last_checkpoint = now;
    for (work_step_total& total : totals) {
        if (std::strcmp(total.step, step) == 0) {
            total.ms += ms;
            return;
        }
    }
    totals.push_back({step, ms});
}

const std::vector<work_step_total>& work_step_totals() { return totals; }
