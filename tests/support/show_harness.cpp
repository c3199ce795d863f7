// Starts the show once per test process on the headless context.
#include "support/show_harness.h"

#include "frame/show_driver.h"
#include "support/gl_harness.h"

void show_harness_init() {
    static bool started = false;
    if (started) return;
    gl_harness_init();
    start_show_offscreen();
    started = true;
}
