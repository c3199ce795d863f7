// Reads /proc/self/task/*/schedstat (nanoseconds on the CPU so far) and
// tells the rasterizer threads by the names llvmpipe gives them.
#include "thread_times.h"

#include <fstream>
#include <string>

#ifdef __linux__
#include <dirent.h>
#include <unistd.h>
#endif

thread_times read_thread_times() {
    thread_times times;
#ifdef __linux__
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return times;
    const std::string main_tid = std::to_string(getpid());
    while (const dirent* entry = readdir(tasks)) {
        const std::string tid = entry->d_name;
        if (tid[0] == '.') continue;
        std::string name;
        int64_t ns = 0;
        std::ifstream("/proc/self/task/" + tid + "/comm") >> name;
        if (!(std::ifstream("/proc/self/task/" + tid + "/schedstat") >> ns)) continue;
        if (tid == main_tid) {
            times.main_ns = ns;
            times.known = true;
        } else if (name.rfind("llvmpipe-", 0) == 0) {
            times.rasterizer_ns += ns;
            ++times.rasterizer_threads;
        }
    }
    closedir(tasks);
#endif
    return times;
}
