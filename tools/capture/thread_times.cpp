// Reads /proc/self/task/*/schedstat (nanoseconds on the CPU so far) and
// tells the rasterizer threads by the names llvmpipe gives them; the age
// compares the start time in /proc/self/stat with /proc/uptime; the resident
// memory is the second field of /proc/self/statm, in pages.
#include "thread_times.h"

#include <fstream>
#include <sstream>
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

double process_age_ms() {
#ifdef __linux__
    std::ifstream stat_file("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(stat_file)), std::istreambuf_iterator<char>());
    // The fields after the command name, which may hold spaces, start at the third.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    long long start_ticks = 0;
    double uptime_s = 0;
    if (!(fields >> start_ticks) || !(std::ifstream("/proc/uptime") >> uptime_s)) return -1;
    return (uptime_s - static_cast<double>(start_ticks) / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000;
#else
    return -1;
#endif
}

double resident_mb() {
#ifdef __linux__
    long long size_pages = 0, resident_pages = 0;
    if (!(std::ifstream("/proc/self/statm") >> size_pages >> resident_pages)) return -1;
    return static_cast<double>(resident_pages) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
#else
    return -1;
#endif
}
