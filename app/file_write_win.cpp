#include "app/file_write_win.h"

#include <windows.h>

#include "app/failure.h"
#include "app/file_handle_win.h"
#include "app/text_win.h"

void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) throw CannotCreateFile(path, SystemErrorText(GetLastError()));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written != chunk) {
      throw StreamWriteError();
    }
    done += written;
  }
}
