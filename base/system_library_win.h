#pragma once

#include <windows.h>

#include <string>

// From here on, a library the program, the shell or COM loads by name comes from the system
// folder only: never from the program's own folder (a stick or a download folder anyone may have
// written to) nor from the current one. Runs first thing at start.
void RestrictLibrarySearch();

// Makes the system folder the current directory. A process holds its current directory open, and
// Explorer starts a program in its own folder: a stick the tool was started from would stay in
// use, and Windows would refuse to remove it safely. No path the tool uses is relative.
void LeaveStartingFolder();

// The full path of a file in the system folder; empty when the system does not say where that is.
std::wstring SystemFilePath(const wchar_t* fileName);

// A library that is not one of Windows' known system libraries, for which Windows would look in
// the program's own folder first. Loaded from the system folder only; it stays loaded for the
// life of the process.
class SystemLibrary {
 public:
  // Raises CannotLoadLibrary.
  explicit SystemLibrary(const wchar_t* fileName);

  // The exported function, typed as its declaration; raises CannotLoadLibrary when the library
  // lacks it. Name it once with SYSTEM_FUNCTION.
  template <typename Function>
  Function* Find(const char* name) const {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(Address(name)));
  }

 private:
  FARPROC Address(const char* name) const;

  std::wstring fileName_;
  HMODULE module_ = nullptr;
};

// SYSTEM_FUNCTION(library, SetWindowSubclass): the function of that name, with its declared type.
#define SYSTEM_FUNCTION(library, name) (library).Find<decltype(::name)>(#name)
