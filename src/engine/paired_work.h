// A second thread for computation that splits in two: a helper thread kept
// for the whole run takes one part while the calling thread takes the
// other. Only for pure computation: the helper has no GL context.
#pragma once

// Runs job(1) on the helper and job(0) on the calling thread, and returns
// once both have finished; on a single processor runs both here, in order.
// Parts should share out the work between them as they go (an atomic
// counter), so that either thread may end up doing all of it.
void run_in_pair(void (*job)(int part));
