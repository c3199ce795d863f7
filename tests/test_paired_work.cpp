// The helper thread of run_in_pair: every call runs both parts, and both have
// finished when it returns (a lost wake-up would hang the test, an early
// return would show as a missing part).
#include "engine/paired_work.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

std::atomic<int> parts_run[2];
std::atomic<int> shared_work;
std::atomic<int> work_done;

void count_parts(int part) {
    // Both parts draw from one counter, as the callers share out their work.
    while (shared_work.fetch_sub(1) > 0) ++work_done;
    ++parts_run[part];
}

}  // namespace

TEST(PairedWork, EveryCallRunsBothPartsAndWaitsForThem) {
    constexpr int calls = 2000;
    for (int call = 1; call <= calls; ++call) {
        shared_work = 64;
        work_done = 0;
        run_in_pair(count_parts);
        ASSERT_EQ(parts_run[0], call);
        ASSERT_EQ(parts_run[1], call);
        ASSERT_EQ(work_done, 64);
    }
}
