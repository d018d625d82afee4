#include "firmware/transfer_files_win.h"

#include <windows.h>

#include <winioctl.h>

#include "base/file_handle_win.h"
#include "base/file_places_win.h"
#include "base/file_write_win.h"
#include "base/text_win.h"
#include "firmware/system_errors.h"

namespace {

// The checks after a copy share everything: a scanner that holds the file open, for writing or
// for deletion, must not make them fail.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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

// Owns a search handle from FindFirstFileExW.
class Search {
 public:
  Search(const std::string& pattern, WIN32_FIND_DATAW& found, DWORD flags)
      : handle_(FindFirstFileExW(Widen(pattern).c_str(), FindExInfoBasic, &found,
                                 FindExSearchNameMatch, nullptr, flags)),
        error_(handle_ != INVALID_HANDLE_VALUE ? ERROR_SUCCESS : GetLastError()) {}
  ~Search() {
    if (found()) FindClose(handle_);
  }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;
  bool found() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Why nothing was found.
  DWORD error() const { return error_; }

 private:
  HANDLE handle_;
  DWORD error_;
};

// The system calls a copy's progress routine first when it has opened the destination, before
// the first byte goes in.
DWORD CALLBACK NoteDestinationOpened(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER,
                                     DWORD, DWORD reason, HANDLE, HANDLE, LPVOID began) {
  if (reason == CALLBACK_STREAM_SWITCH) *static_cast<bool*>(began) = true;
  return PROGRESS_CONTINUE;
}

// The tool's destinations are drive letters; elsewhere a root is not asked, and "not found" is
// taken at its word.
bool PathRootAnswers(const std::string& path) {
  const bool onDriveLetter = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
  return !onDriveLetter || DriveRootAnswers(path.substr(0, 3));
}

StepOutcome Outcome(BOOL done) {
  if (done) return FileOutcome::kDone;
  const DWORD error = GetLastError();
  return {OutcomeOfSystemError(error), error};
}

// The size of NTFS's file records, asked of the root folder; nothing where the volume is no NTFS
// or does not answer.
std::uint64_t FileRecordBytes(const std::wstring& root) {
  const FileHandle folder(CreateFileW(root.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  NTFS_VOLUME_DATA_BUFFER data{};
  DWORD returned = 0;
  if (!folder.valid() || !DeviceIoControl(folder.get(), FSCTL_GET_NTFS_VOLUME_DATA, nullptr, 0,
                                          &data, sizeof(data), &returned, nullptr))
    return 0;
  return data.BytesPerFileRecordSegment;
}

}  // namespace

void WinTransferFiles::WriteNew(const std::string& path, std::span<const std::uint8_t> bytes) {
  WriteNewFile(path, bytes);
}

StepOutcome WinTransferFiles::Delete(const std::string& path) {
  return Outcome(DeleteFileW(Widen(path).c_str()));
}

// A payload staged in an encrypted folder is copied to a stick's FAT or exFAT, which cannot hold
// the encryption, only when the copy may leave it decrypted.
CopyAttempt WinTransferFiles::Copy(const std::string& from, const std::string& to, bool replace) {
  const DWORD flags =
      COPY_FILE_ALLOW_DECRYPTED_DESTINATION | (replace ? 0 : COPY_FILE_FAIL_IF_EXISTS);
  bool began = false;
  const BOOL done = CopyFileExW(Widen(from).c_str(), Widen(to).c_str(), NoteDestinationOpened,
                                &began, nullptr, flags);
  return {Outcome(done), began};
}

StepOutcome WinTransferFiles::Flush(const std::string& path) {
  // The system keeps one cache per file, so flushing through a handle of our own writes out
  // what the copy left there.
  const FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return Outcome(FALSE);
  return Outcome(FlushFileBuffers(file.get()));
}

OpenedFile WinTransferFiles::OpenUncached(const std::string& path) {
  const HANDLE handle =
      CreateFileW(Widen(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                  FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {Outcome(FALSE), nullptr};
  return {FileOutcome::kDone, std::make_unique<WinUncachedFile>(handle)};
}

// The file's attributes are no test: asking for them fails with access denied while its delete
// is pending, and the name is still there. A drive that fails answers a search with an error of
// its own; one that is being removed answers "not found" of every path, which means absent only
// where the drive's root still answers right after.
Presence WinTransferFiles::LookUp(const std::string& path) {
  WIN32_FIND_DATAW found;
  const Search search(path, found, 0);
  if (search.found()) return Presence::kPresent;
  return PresenceAfterFailedSearch(search.error(),
                                   SearchAnswerNeedsRoot(search.error()) && PathRootAnswers(path));
}

bool WinTransferFiles::RootAnswers(const std::string& root) { return DriveRootAnswers(root); }

std::optional<std::vector<DirectoryEntry>> WinTransferFiles::List(const std::string& directory) {
  WIN32_FIND_DATAW found;
  const Search search(directory + "*", found, FIND_FIRST_EX_LARGE_FETCH);
  std::vector<DirectoryEntry> entries;
  // An empty root has not even "." to show; a drive being removed says the same of its root.
  if (!search.found()) {
    if (search.error() == ERROR_FILE_NOT_FOUND && DriveRootAnswers(directory)) return entries;
    return std::nullopt;
  }
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back(
        {Narrow(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
         (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0,
         (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
  } while (FindNextFileW(search.get(), &found));
  return entries;
}

std::optional<VolumeSpace> WinTransferFiles::Space(const std::string& directory) {
  const std::wstring path = Widen(directory);
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  ULARGE_INTEGER freeToCaller{};
  if (!GetDiskFreeSpaceW(path.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &totalClusters) ||
      !GetDiskFreeSpaceExW(path.c_str(), &freeToCaller, nullptr, nullptr))
    return std::nullopt;
  const std::uint64_t clusterBytes = static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector;
  if (clusterBytes == 0) return std::nullopt;
  VolumeSpace space{clusterBytes, freeToCaller.QuadPart / clusterBytes};
  wchar_t root[MAX_PATH + 1] = {};
  wchar_t fileSystem[MAX_PATH + 1] = {};
  if (GetVolumePathNameW(path.c_str(), root, MAX_PATH + 1) &&
      GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                            MAX_PATH + 1)) {
    space.ntfs = lstrcmpiW(fileSystem, L"NTFS") == 0;
    if (space.ntfs) space.fileRecordBytes = FileRecordBytes(root);
  }
  return space;
}
