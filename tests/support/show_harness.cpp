// Starts the show once per test process on the headless context.
#include "support/show_harness.h"

#include "engine/qor_views.h"
#include "frame/main_loop.h"
#include "frame/show_driver.h"
#include "support/gl_harness.h"

void show_harness_init() {
    static bool started = false;
    if (started) return;
    gl_harness_init();
    prepare_show_offscreen();
    resize_view(screen_width, screen_height);
    init_gl();
    started = true;
}
