// trof_capture --bench: start-up phases, per-scene frame times, throughput.
#pragma once

// Runs the start-up itself, prints one "name value" figure a line to stdout.
int run_capture_bench();
