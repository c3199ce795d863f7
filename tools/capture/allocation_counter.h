// Heap allocations made by the whole process (our code, the C++ library and
// the GL driver alike), counted by the bench build of trof_capture.
#pragma once

#include <cstdint>

struct allocation_counts {
    int64_t all = -1;          // calls to malloc, calloc and realloc
    int64_t operator_new = -1;  // of them, the C++ allocations
};

// The counts so far; -1 where nothing counts them.
allocation_counts allocations_so_far();
