#include "journal/user_folders_win.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>

#include "base/text_win.h"

namespace {

// Asked of the system, not the environment: a variable may be missing or out of date. Not
// verified, so that a folder redirected to a share that is away is still named.
std::wstring KnownFolder(const KNOWNFOLDERID& id) {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

std::wstring TemporaryFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, path);
  return length && length <= MAX_PATH ? path : L"";
}

// GetLongPathNameW or GetShortPathNameW of the path; empty where the system cannot tell.
std::wstring Spelt(DWORD(WINAPI* spell)(LPCWSTR, LPWSTR, DWORD), const std::wstring& path) {
  std::wstring spelt(MAX_PATH + 1, L'\0');
  DWORD length = spell(path.c_str(), spelt.data(), static_cast<DWORD>(spelt.size()));
  if (length >= spelt.size()) {
    spelt.resize(length);
    length = spell(path.c_str(), spelt.data(), length);
  }
  spelt.resize(length < spelt.size() ? length : 0);
  return spelt;
}

std::vector<std::string> Forms(const std::wstring& folder) {
  std::vector<std::string> forms;
  if (folder.empty()) return forms;
  for (const std::wstring& form :
       {folder, Spelt(GetLongPathNameW, folder), Spelt(GetShortPathNameW, folder)}) {
    const std::string narrow = Narrow(form);
    if (!narrow.empty() && std::find(forms.begin(), forms.end(), narrow) == forms.end())
      forms.push_back(narrow);
  }
  return forms;
}

}  // namespace

UserFolders UserFoldersNow() {
  UserFolders folders{Forms(KnownFolder(FOLDERID_Profile)), {}};
  const std::pair<const char*, std::wstring> others[] = {
      {"%DESKTOP%", KnownFolder(FOLDERID_Desktop)},
      {"%DOCUMENTS%", KnownFolder(FOLDERID_Documents)},
      {"%DOWNLOADS%", KnownFolder(FOLDERID_Downloads)},
      {"%TEMP%", TemporaryFolder()},
      {"%APPDATA%", KnownFolder(FOLDERID_RoamingAppData)},
  };
  for (const auto& [name, folder] : others)
    if (!folder.empty()) folders.others.push_back({name, Forms(folder)});
  return folders;
}
