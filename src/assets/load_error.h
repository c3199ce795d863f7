// The one way a start-up load failure ends the program: a message box that
// names the file and the reason (also on stderr), then exit with status 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

[[noreturn]] void fatal_load_error(const char* file_name, const char* reason);
// Shows the text in a box of the given style and ends the program with
// status 1, or throws a load_failure under a load_error_trap.
[[noreturn]] void end_with_load_message(const std::string& text, uint32_t box_style);

// While a load_error_trap lives on a thread, a load error there throws this
// instead of ending the program: a reload in a running show keeps going.
struct load_failure {
    std::string message;
};
struct load_error_trap {
    load_error_trap();
    ~load_error_trap();
    load_error_trap(const load_error_trap&) = delete;
    load_error_trap& operator=(const load_error_trap&) = delete;
};

// The whole content of a data file named as the demo writes it
// ("data\sky.geox"); a file that cannot be opened or read is a fatal load error.
std::vector<unsigned char> read_data_file(const char* file_name);
// The same read without ending the program: false with the reason the
// message would give.
bool read_data_file(const char* file_name, std::vector<unsigned char>& content, std::string& reason);
