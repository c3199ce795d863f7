// The demo's entry point: no command line, no settings.
#include "frame/main_loop.h"

int main() {
    run_module_startups();
    // A start that could not make its window is not a success.
    return win_main() ? 0 : 1;
}
