#pragma once

#include <string>

// The running executable's full path, and its directory with the trailing backslash.
std::string ExecutablePath();
std::string ExecutableDirectory();
