#include <windows.h>

#include <dbt.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <tuple>

#include "app/control_ids.h"
#include "app/system_menu_win.h"
#include "base/failure.h"
#include "base/file_places_win.h"
#include "base/file_write_win.h"
#include "base/text_win.h"
#include "drives/drive_source_win.h"
#include "firmware/cng_sha256_win.h"
#include "firmware/payloads_win.h"
#include "firmware/system_errors.h"
#include "firmware/transfer_files_win.h"
#include "journal/user_folders_win.h"
#include "support/temp_folder.h"
#include "wine_drives.h"

namespace {

TEST(ResourcePayloads, FindsPayloadsByNameWithoutRegardToCase) {
  ResourcePayloads payloads;
  const auto table = payloads.Open("languages");
  EXPECT_EQ(std::vector<std::uint8_t>(table.begin(), table.end()),
            ReadBytes(Utf8Path(std::string(KQ_PAYLOAD_DIR) + "/Languages")));
  EXPECT_EQ(payloads.Open("LANGUAGESS").size(), 431u);
  EXPECT_EQ(payloads.Open("Languagess").data(), payloads.Open("LANGUAGESS").data());
}

TEST(ResourcePayloads, MissingPayloadIsNamedInTheFailure) {
  ResourcePayloads payloads;
  try {
    payloads.Open("Firmware13s");
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "Resource Firmware13s not found");
  }
}

TEST(WriteWholeFile, ReplacesAnExistingFile) {
  TempFolder folder("write");
  const std::string path = folder.Dir() + "KQ1769.lng";
  WriteBytes(Utf8Path(path), std::vector<std::uint8_t>(10000, 1));
  const std::vector<std::uint8_t> bytes{0, 1, 2, 0, 255};
  WriteWholeFile(path, bytes);
  EXPECT_EQ(ReadBytes(Utf8Path(path)), bytes);
}

TEST(WriteWholeFile, FileHeldOpenByAnotherIsReportedWithTheSystemsReason) {
  TempFolder folder("Папка held");
  const std::string path = folder.Dir() + "Changes.pdf";
  HANDLE holder = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  try {
    WriteWholeFile(path, std::vector<std::uint8_t>{1, 2, 3});
    FAIL() << "wrote a file another process holds exclusively";
  } catch (const Failure& failure) {
    const std::string message = failure.what();
    const std::string prefix = "Cannot create file \"" + path + "\". ";
    ASSERT_EQ(message.substr(0, prefix.size()), prefix);
    const std::string reason = message.substr(prefix.size());
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(reason.back(), '.');
    EXPECT_NE(reason.back(), ' ');
  }
  CloseHandle(holder);
}

std::vector<std::string> LettersOfTheSystem() {
  std::vector<std::string> letters;
  const DWORD present = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (present & (1u << i)) letters.push_back(std::string(1, static_cast<char>('A' + i)) + ":\\");
  }
  return letters;
}

TEST(WriteWholeFile, FullDiskIsAStreamWriteError) {
  // Wine shows the whole Unix tree as Z:, and /dev/full takes no byte.
  try {
    WriteWholeFile("Z:\\dev\\full", std::vector<std::uint8_t>(4096, 7));
    FAIL() << "a write to a full disk went unnoticed";
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "Stream write error");
    // A run told so stops for a full volume when the staging folder is on the stick.
    EXPECT_EQ(OutcomeOfSystemError(failure.SystemError()), FileOutcome::kVolumeFull)
        << failure.SystemError();
  }
}

TEST(WinDriveSource, ListsEveryDriveLetterTheSystemHas) {
  WinDriveSource drives;
  EXPECT_EQ(drives.DriveRoots(), LettersOfTheSystem());
  EXPECT_EQ(drives.DriveType("C:\\"), static_cast<unsigned>(DRIVE_FIXED));
}

TEST(WinDriveSource, SeesEveryDriveWhenTheListOutgrowsTheFirstBuffer) {
  // Every free letter becomes a removable drive: 26 roots take 105 characters.
  std::vector<wchar_t> added;
  const DWORD present = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(present & (1u << i)) &&
        DefineWineDrive(static_cast<wchar_t>(L'A' + i), DRIVE_REMOVABLE, "/tmp")) {
      added.push_back(static_cast<wchar_t>(L'A' + i));
    }
  }
  const std::vector<std::string> roots = WinDriveSource().DriveRoots();
  const std::vector<std::string> expected = LettersOfTheSystem();
  for (wchar_t letter : added) DefineWineDrive(letter, DRIVE_NO_ROOT_DIR, "");
  ASSERT_EQ(expected.size(), 26u) << "the mount manager did not take every letter";
  EXPECT_EQ(roots, expected);
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

TEST(RelateDirectories, ComparesTheFolderNotItsSpellingAndTellsItsVolume) {
  TempFolder folder("Флешка root");
  TempFolder other("elsewhere");
  wchar_t letter = 0;
  for (wchar_t candidate = L'P'; candidate <= L'Y' && !letter; ++candidate) {
    if (!(GetLogicalDrives() & (1u << (candidate - L'A'))) &&
        DefineWineDrive(candidate, DRIVE_REMOVABLE, WineUnixPath(Widen(folder.Dir()))))
      letter = candidate;
  }
  ASSERT_NE(letter, 0) << "no drive letter for the folder";
  const std::string root = Narrow(std::wstring(1, letter)) + ":\\";
  const std::string dir = folder.Dir();
  const struct {
    std::string first, second;
    bool same;
  } cases[] = {
      {dir, dir, true},
      {dir, Upper(dir), true},
      {dir, dir + ".\\", true},
      {dir, dir.substr(0, dir.size() - 1), true},
      {root, dir, true},
      {Narrow(std::wstring(1, letter + L'a' - L'A')) + ":\\", dir, true},
      {dir, other.Dir(), false},
      {root, other.Dir(), false},
      {dir, dir + "missing\\", false},
      {dir + "missing\\", dir + "missing\\", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RelateDirectories(c.first, c.second).sameDirectory, c.same)
        << c.first << " | " << c.second;
  // A folder of the stick is on the stick's volume; a folder that cannot be opened is on none.
  CreateDirectoryW(Widen(dir + "app").c_str(), nullptr);
  EXPECT_TRUE(RelateDirectories(root + "app\\", root).sameVolume);
  EXPECT_FALSE(RelateDirectories(dir + "missing\\", root).sameVolume);
  DefineWineDrive(letter, DRIVE_NO_ROOT_DIR, "");
}

TEST(TemporaryDirectory, IsAnExistingFolderWithItsBackslash) {
  const std::string temp = TemporaryDirectory();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(std::filesystem::is_directory(Utf8Path(temp)));
}

// The system names the user's folders even where the environment lacks their variables; typed in
// another case, each is still his.
TEST(UserFolders, AreTheSystemsNotTheEnvironments) {
  wchar_t profile[MAX_PATH + 1] = {};
  ASSERT_TRUE(GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH + 1));
  ASSERT_TRUE(SetEnvironmentVariableW(L"USERPROFILE", nullptr));
  const UserFolders folders = UserFoldersNow();
  SetEnvironmentVariableW(L"USERPROFILE", profile);
  ASSERT_FALSE(folders.profile.empty());
  EXPECT_TRUE(SameFileNames(folders.profile.front(), Narrow(profile)));
  std::vector<std::string> names;
  for (const UserFolder& folder : folders.others) {
    names.push_back(folder.name);
    ASSERT_FALSE(folder.forms.empty()) << folder.name;
    // Written from the profile where it lies inside it (as Wine keeps them all), else by its name.
    std::wstring upper = Widen(folder.forms.front());
    CharUpperW(upper.data());
    const std::string shown = WithoutUserFolders(Narrow(upper) + "\\KQ", folders, SameFileNames);
    EXPECT_TRUE(shown.rfind("%USERPROFILE%\\", 0) == 0 || shown == folder.name + "\\KQ") << shown;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"%DESKTOP%", "%DOCUMENTS%", "%DOWNLOADS%", "%TEMP%",
                                             "%APPDATA%"}));
}

HANDLE Hold(const std::string& path, DWORD share) {
  return CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, share, nullptr,
                     OPEN_EXISTING, 0, nullptr);
}

TEST(WinTransferFiles, FlushAndUncachedReadNeedAnExistingFile) {
  TempFolder folder("flush");
  WinTransferFiles files;
  const std::string path = folder.Dir() + "KQ_rus.rub";
  EXPECT_EQ(files.Flush(path), FileOutcome::kFailed);
  EXPECT_EQ(files.OpenUncached(path).file, nullptr);
  std::vector<std::uint8_t> bytes(kSectorMultiple * 3 + 17);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 253);
  WriteBytes(Utf8Path(path), bytes);
  // Held open for writing and deletion by a scanner that shares everything, the file still
  // flushes and reads back.
  const HANDLE scanner = Hold(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.Flush(path), FileOutcome::kDone);
  const std::unique_ptr<UncachedFile> file = files.OpenUncached(path).file;
  CloseHandle(scanner);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ReadBackCheck().FirstDifference(*file, bytes), std::nullopt);
  bytes.back() ^= 1;
  EXPECT_EQ(ReadBackCheck().FirstDifference(*files.OpenUncached(path).file, bytes),
            bytes.size() - 1);
}

TEST(WinTransferFiles, TellsAHeldFileAPendingDeleteAndWhatTheFolderHolds) {
  TempFolder folder("held");
  WinTransferFiles files;
  const std::string staged = folder.Dir() + "staged", path = folder.Dir() + "KQ_kaz.kzt";
  WriteBytes(Utf8Path(path), {4});
  EXPECT_EQ(files.List(folder.Dir()),
            std::vector<DirectoryEntry>({{"KQ_kaz.kzt", false, false, 1}}));
  WriteBytes(Utf8Path(staged), {1, 2, 3});
  HANDLE holder = Hold(path, 0);
  EXPECT_EQ(files.Delete(path), FileOutcome::kHeld);
  EXPECT_EQ(files.Copy(staged, path, true).outcome, FileOutcome::kHeld);
  EXPECT_EQ(files.OpenUncached(path).outcome, FileOutcome::kHeld);
  CloseHandle(holder);
  // Deleted while a holder shares deletion, the name stays until it lets go: a copy that must
  // not replace finds it taken.
  holder = Hold(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  EXPECT_EQ(files.Delete(path), FileOutcome::kDone);
  EXPECT_EQ(files.LookUp(path), Presence::kPresent);
  EXPECT_NE(files.Copy(staged, path, false).outcome, FileOutcome::kDone);
  CloseHandle(holder);
  EXPECT_EQ(files.LookUp(path), Presence::kAbsent);
  // A missing folder on a drive that answers holds no file; a drive that has gone tells nothing.
  EXPECT_EQ(files.LookUp(folder.Dir() + "missing\\KQ_kaz.kzt"), Presence::kAbsent);
  EXPECT_EQ(files.LookUp("Q:\\KQ_kaz.kzt"), Presence::kUnknown);
  EXPECT_EQ(files.Copy(staged, path, false).outcome, FileOutcome::kDone);
  EXPECT_EQ(files.Copy(staged, path, false).outcome, FileOutcome::kNameTaken);
  // A staging file is only ever made new: a taken name is refused, named and left as it was.
  try {
    files.WriteNew(path, std::vector<std::uint8_t>{9, 9});
    ADD_FAILURE() << "wrote over a file that was there";
  } catch (const Failure& failure) {
    EXPECT_EQ(std::string(failure.what()).rfind("Cannot create file \"" + path + "\". ", 0), 0u);
    EXPECT_EQ(OutcomeOfSystemError(failure.SystemError()), FileOutcome::kNameTaken);
  }
  EXPECT_EQ(ReadBytes(Utf8Path(path)), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_FALSE(files.List(folder.Dir() + "missing\\"));
  EXPECT_GT(files.Space("C:\\").value_or(VolumeSpace{}).freeClusters, 0u);
  EXPECT_FALSE(files.Space("Q:\\"));
}

TEST(IsVolumeArrival, TellsAnArrivedVolumeFromEveryOtherDeviceChange) {
  struct Case {
    WPARAM event;
    DWORD deviceType;  // 0: the message carries no device
    bool arrival;
  };
  const Case cases[] = {
      {DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME, true},
      {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, false},
      {DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_VOLUME, false},
      {DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, false},
      {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, false},
      {DBT_DEVICEARRIVAL, 0, false},
      {DBT_DEVNODES_CHANGED, 0, false},
  };
  for (const Case& c : cases) {
    DEV_BROADCAST_VOLUME device{};
    device.dbcv_size = sizeof(device);
    device.dbcv_devicetype = c.deviceType;
    const LPARAM data = c.deviceType ? reinterpret_cast<LPARAM>(&device) : 0;
    EXPECT_EQ(IsVolumeArrival(c.event, data), c.arrival)
        << "event " << c.event << ", device type " << c.deviceType;
  }
}

// Another process cannot read a window's system menu under Wine: the items are read here, in the
// process that made them, from a menu that stands in for the system's.
TEST(ToolItems, StandAtTheFootOfTheSystemMenuAndTheCheckGreysWhenNotOnOffer) {
  const HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, SC_CLOSE, L"Закрыть");
  AddToolItems(menu);
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  const auto item = [menu](int position) {
    wchar_t text[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 64;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return std::make_tuple(info.wID, Narrow(text), (info.fType & MFT_SEPARATOR) != 0,
                           (info.fState & MFS_GRAYED) != 0);
  };
  EXPECT_TRUE(std::get<2>(item(1)));
  for (const bool offered : {false, true, false}) {
    OfferStickCheck(menu, offered);
    EXPECT_EQ(item(2), std::make_tuple(UINT{kCheckStickCommand},
                                       std::string("Провер&ить USB-Flash"), false, !offered));
    EXPECT_EQ(item(3), std::make_tuple(UINT{kOpenJournalCommand}, std::string("Открыть &журнал"),
                                       false, false));
  }
  // Their access keys differ from each other and from those of the system's own items: Russian
  // Windows' В, П, Р, С and З, and Wine's М (Раз&мер) and О (&О Wine).
  std::wstring keys;
  for (const int position : {2, 3}) {
    std::wstring text = Widen(std::get<1>(item(position)));
    CharUpperW(text.data());
    keys += text.substr(text.find(L'&') + 1, 1);
  }
  EXPECT_EQ(keys.size(), 2u);
  EXPECT_NE(keys[0], keys[1]);
  EXPECT_EQ(keys.find_first_of(L"ВПРСЗМО"), std::wstring::npos) << Narrow(keys);
  DestroyMenu(menu);
}

TEST(Texts, SurviveTheRoundTripThroughTheSystemsEncoding) {
  const std::string text =
      "Загрузочный модуль KQ \xF0\x9F\x92\xBE";  // with a character beyond 16 bits
  EXPECT_EQ(Widen(text).size(), 24u);
  EXPECT_EQ(Narrow(Widen(text)), text);
  EXPECT_EQ(Widen(""), L"");
}

TEST(CngSha256, GivesTheStandardsKnownAnswers) {
  const CngSha256 hasher;
  const struct {
    std::string input;
    const char* sha256;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1'000'000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    const Sha256Digest digest =
        hasher.Hash({reinterpret_cast<const std::uint8_t*>(c.input.data()), c.input.size()});
    std::string hex;
    for (std::uint8_t byte : digest) {
      char pair[3];
      std::snprintf(pair, sizeof(pair), "%02x", byte);
      hex += pair;
    }
    EXPECT_EQ(hex, c.sha256) << c.input.size() << " bytes";
  }
}

}  // namespace
