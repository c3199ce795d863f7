// The whole show on the headless context, for scene tests: start-up once
// per process, then frames at chosen music times.
#pragma once

#include <cstdint>

// gl_harness_init, then the demo's start-up (assets from <build>/data,
// every scene init) without sound.
void show_harness_init();
