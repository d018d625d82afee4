#include "firmware/transfer_files_win.h"

#include <windows.h>

#include "app/file_handle_win.h"
#include "app/file_write_win.h"
#include "app/text_win.h"

namespace {

// Opened without buffering, so every read comes from the device and not from what the system
// remembers of the copy.
class WinUncachedFile : public UncachedFile {
 public:
  explicit WinUncachedFile(HANDLE handle) : file_(handle) {}
  std::optional<std::uint64_t> Length() override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file_.get(), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
  }
  std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override {
    DWORD got = 0;
    if (!ReadFile(file_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
      return std::nullopt;
    return got;
  }

 private:
  FileHandle file_;
};

}  // namespace

void WinTransferFiles::WriteWhole(const std::string& path, std::span<const std::uint8_t> bytes) {
  WriteWholeFile(path, bytes);
}

bool WinTransferFiles::Delete(const std::string& path) {
  return DeleteFileW(Widen(path).c_str()) != FALSE;
}

bool WinTransferFiles::Copy(const std::string& from, const std::string& to) {
  return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE) != FALSE;
}

bool WinTransferFiles::Flush(const std::string& path) {
  // The system keeps one cache per file, so flushing through a handle of our own writes out
  // what the copy left there.
  const FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid() && FlushFileBuffers(file.get()) != FALSE;
}

std::unique_ptr<UncachedFile> WinTransferFiles::OpenUncached(const std::string& path) {
  const HANDLE handle =
      CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                  FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<WinUncachedFile>(handle);
}
