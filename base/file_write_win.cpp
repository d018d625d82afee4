#include "base/file_write_win.h"

#include <windows.h>

#include "base/failure.h"
#include "base/file_handle_win.h"
#include "base/text_win.h"

namespace {

HANDLE CreateForWriting(const std::string& path, DWORD access, DWORD disposition) {
  const HANDLE file = CreateFileW(Widen(path).c_str(), access, 0, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    throw CannotCreateFile(path, SystemErrorText(error), error);
  }
  return file;
}

// Gives the system's error when the bytes did not all go in.
DWORD WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return GetLastError();
    if (written != chunk) return ERROR_HANDLE_DISK_FULL;
    done += written;
  }
  return ERROR_SUCCESS;
}

}  // namespace

void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  const FileHandle file(CreateForWriting(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS));
  if (const DWORD error = WriteAll(file.get(), bytes)) throw StreamWriteError(error);
}

// Deleted through the handle it was made with, so that nothing but that very file can go.
void WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  const FileHandle file(CreateForWriting(path, GENERIC_READ | GENERIC_WRITE | DELETE, CREATE_NEW));
  if (const DWORD error = WriteAll(file.get(), bytes)) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof(dispose));
    throw StreamWriteError(error);
  }
}
