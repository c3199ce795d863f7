// CPU time of this process's threads, split into the main (GL) thread and
// llvmpipe's rasterizer threads, read from the kernel's per-thread
// schedstat counters, the process's age and its resident memory. Empty figures where the
// system has no such counters.
#pragma once

#include <cstdint>

struct thread_times {
    int64_t main_ns = 0;
    int64_t rasterizer_ns = 0;
    int rasterizer_threads = 0;
    bool known = false;
};

// The running totals now; differences of two readings give a span's split.
thread_times read_thread_times();

// Milliseconds since the process started (10 ms steps), or -1.
double process_age_ms();

// The process's resident memory now in MiB, or -1.
double resident_mb();
