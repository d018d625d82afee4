#include "firmware/transfer_files_win.h"

#include <windows.h>

#include "app/file_write_win.h"
#include "app/text_win.h"

void WinTransferFiles::WriteWhole(const std::string& path, std::span<const std::uint8_t> bytes) {
  WriteWholeFile(path, bytes);
}

bool WinTransferFiles::Delete(const std::string& path) {
  return DeleteFileW(Widen(path).c_str()) != FALSE;
}

bool WinTransferFiles::Copy(const std::string& from, const std::string& to) {
  return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE) != FALSE;
}
