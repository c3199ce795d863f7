// The one way a start-up load failure ends the program: a message box that
// names the file and the reason (also on stderr), then exit with status 1.
#pragma once

#include <string>
#include <vector>

[[noreturn]] void fatal_load_error(const char* file_name, const char* reason);

// The whole content of a data file named as the demo writes it
// ("data\sky.geox"); a file that cannot be opened or read is a fatal load error.
std::vector<unsigned char> read_data_file(const char* file_name);
// The same read without ending the program: false with the reason the
// message would give.
bool read_data_file(const char* file_name, std::vector<unsigned char>& content, std::string& reason);
