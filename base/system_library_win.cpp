#include "base/system_library_win.h"

#include "base/failure.h"
#include "base/later_windows_win.h"
#include "base/text_win.h"

void RestrictLibrarySearch() {
  // Windows 7 has it only with its security update.
  const auto setDefaultDirectories =
      LATER_WINDOWS_FUNCTION(L"kernel32.dll", SetDefaultDllDirectories);
  if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Without it, at least the current folder leaves the search.
  SetDllDirectoryW(L"");
}

namespace {

// The system folder with its trailing backslash; empty when the system does not say.
std::wstring SystemFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size())));
  if (!path.empty()) path += L'\\';
  return path;
}

}  // namespace

void LeaveStartingFolder() { SetCurrentDirectoryW(SystemFolder().c_str()); }

std::wstring SystemFilePath(const wchar_t* fileName) {
  const std::wstring folder = SystemFolder();
  return folder.empty() ? folder : folder + fileName;
}

SystemLibrary::SystemLibrary(const wchar_t* fileName) : fileName_(fileName) {
  module_ = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module_ && GetLastError() == ERROR_INVALID_PARAMETER) {
    // A system that does not know the flag: the full path, whose own imports are then looked
    // for beside it first.
    const std::wstring path = SystemFilePath(fileName);
    if (!path.empty())
      module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  if (!module_) throw CannotLoadLibrary(Narrow(fileName_));
}

FARPROC SystemLibrary::Address(const char* name) const {
  const FARPROC address = GetProcAddress(module_, name);
  // A library of that name without the function is not the one the tool was built for.
  if (!address) throw CannotLoadLibrary(Narrow(fileName_));
  return address;
}
