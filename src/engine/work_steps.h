// Where the main thread's time goes within a frame, for the benchmark: each
// checkpoint charges the wall time since the one before to a named step, so
// that the drawing calls, the work of the scenes' own code and the waits for
// the rasterizers (frame copies and read-backs) show up one by one. Off
// unless the benchmark turns it on; while off a checkpoint does nothing.
#pragma once

#include <vector>

struct work_step_total {
    const char* step;  // a string literal: the step's stable name
    double ms;
};

// On: forgets the totals and starts the clock; off: stops recording and
// keeps the totals.
void record_work_steps(bool on);
// Starts the clock again without charging the time since the last checkpoint.
void restart_work_clock();
// Charges the time since the last checkpoint (or restart) to the step.
void work_checkpoint(const char* step);
// The totals, in the order the steps first appeared.
const std::vector<work_step_total>& work_step_totals();
