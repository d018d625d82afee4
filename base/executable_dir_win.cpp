#include "base/executable_dir_win.h"

#include <windows.h>

#include "base/text_win.h"

std::string ExecutablePath() {
  // Paths beyond MAX_PATH are possible, so grow until the name is not cut short.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return Narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string ExecutableDirectory() {
  const std::string path = ExecutablePath();
  return path.substr(0, path.find_last_of("\\/") + 1);
}
