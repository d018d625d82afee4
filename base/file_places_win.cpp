#include "base/file_places_win.h"

#include <windows.h>

#include <optional>
#include <tuple>

#include "base/file_handle_win.h"
#include "base/text_win.h"

namespace {

// The volume and the file number name a directory whatever path led to it. Two cloned volumes
// may share a serial number; such a false match only moves the staging to the temporary folder.
std::optional<std::tuple<DWORD, DWORD, DWORD>> DirectoryIdentity(const std::string& path) {
  const FileHandle directory(CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                         nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!directory.valid() || !GetFileInformationByHandle(directory.get(), &info))
    return std::nullopt;
  return std::make_tuple(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
}

}  // namespace

DirectoryRelation RelateDirectories(const std::string& first, const std::string& second) {
  const auto firstIdentity = DirectoryIdentity(first);
  const auto secondIdentity = DirectoryIdentity(second);
  if (!firstIdentity || !secondIdentity) return {};
  return {firstIdentity == secondIdentity,
          std::get<0>(*firstIdentity) == std::get<0>(*secondIdentity)};
}

std::string TemporaryDirectory() {
  std::wstring path(MAX_PATH + 1, L'\0');
  path.resize(GetTempPathW(static_cast<DWORD>(path.size()), path.data()));
  return Narrow(path);
}

std::string ToolTemporaryDirectory() {
  const std::string folder = TemporaryDirectory() + "KQ\\";
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  return folder;
}

bool DriveRootAnswers(const std::string& root) {
  return GetFileAttributesW(Widen(root).c_str()) != INVALID_FILE_ATTRIBUTES;
}
