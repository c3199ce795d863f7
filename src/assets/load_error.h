// The one way a start-up load failure ends the program: a message box that
// names the file and the reason (also on stderr), then exit with status 1.
#pragma once

[[noreturn]] void fatal_load_error(const char* file_name, const char* reason);
