// Reads and writes the golden-frame record (tests/golden/frames.txt).
#include "support/golden_record.h"

#include <fstream>
#include <iomanip>
#include <ios>
#include <sstream>

namespace {

// The rest of `line` after `key` and one space, when it starts so.
bool take_field(const std::string& line, const std::string& key, std::string& value) {
    if (line.compare(0, key.size() + 1, key + " ") != 0) return false;
    value = line.substr(key.size() + 1);
    return true;
}

}  // namespace

bool read_golden_record(const std::string& path, golden_record& record) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::string frame;
        if (line.empty() || line[0] == '#' || take_field(line, "renderer", record.renderer) ||
            take_field(line, "version", record.version)) {
            continue;
        }
        if (!take_field(line, "frame", frame)) return false;
        std::istringstream fields(frame);
        int32_t time = 0;
        uint64_t checksum = 0;
        if (!(fields >> time >> std::hex >> checksum)) return false;
        record.checksums[time] = checksum;
    }
    return true;
}

bool write_golden_record(const std::string& path, const golden_record& record,
                         const std::string& header) {
    std::ofstream out(path);
    std::istringstream comments(header);
    std::string line;
    while (std::getline(comments, line)) out << "# " << line << '\n';
    out << "renderer " << record.renderer << '\n' << "version " << record.version << '\n';
    for (const auto& [time, checksum] : record.checksums) {
        out << "frame " << time << ' ' << std::hex << std::setw(16) << std::setfill('0') << checksum
            << std::dec << '\n';
    }
    out.close();
    return static_cast<bool>(out);
}
