#include "journal/journal.h"

#include <gtest/gtest.h>

#include "journal/journal_block.h"
#include "support/same_file_names.h"

namespace {

TEST(JournalBlock, NamesTheSystemAndTheUserNot) {
  const std::pair<WindowsVersion, const char*> windows[] = {
      {{6, 1, 7601, "Service Pack 1"}, "Windows 7, 6.1.7601 Service Pack 1"},
      {{6, 3, 9600}, "Windows 8.1, 6.3.9600"},
      {{10, 0, 19045}, "Windows 10, 10.0.19045"},
      {{10, 0, 22000}, "Windows 11, 10.0.22000"},
  };
  for (const auto& [version, name] : windows) EXPECT_EQ(WindowsName(version), name);
  EXPECT_EQ(MachineName(0x01C4), "0x01C4");

  // The machine and the process, from IsWow64Process2 where Windows has it (process, native), or
  // from GetNativeSystemInfo's processor architecture before it (Windows 7 to 10 version 1703).
  constexpr std::uint16_t kX86 = 0x014C, kX64 = 0x8664, kArm64 = 0xAA64, kNotWow64 = 0;
  const struct {
    const char* where;
    bool wow64Query;
    std::uint16_t process, nativeOrArchitecture, builtFor;
    const char* told;
  } machines[] = {
      {"the x86 tool on 32-bit Windows 10", true, kNotWow64, kX86, kX86, "x86, x86"},
      {"the x86 tool on x64 Windows 11", true, kX86, kX64, kX86, "x64, x86"},
      {"the x86 tool emulated on ARM64 Windows", true, kX86, kArm64, kX86, "ARM64, x86"},
      {"an x64 tool emulated on ARM64 Windows 11", true, kNotWow64, kArm64, kX64, "ARM64, x64"},
      {"the x86 tool on x64 Windows 7", false, 0, 9, kX86, "x64, x86"},
      {"the x86 tool on 32-bit Windows 7", false, 0, 0, kX86, "x86, x86"},
      {"an x64 tool on x64 Windows 8.1", false, 0, 9, kX64, "x64, x64"},
      {"an architecture of no name", false, 0, 0xFFFF, kX86, "x86, x86"},
  };
  for (const auto& row : machines) {
    const auto [machine, process] =
        row.wow64Query ? MachinesFromWow64Query(row.process, row.nativeOrArchitecture, row.builtFor)
                       : MachinesFromNativeArchitecture(row.nativeOrArchitecture, row.builtFor);
    EXPECT_EQ(MachineName(machine) + ", " + MachineName(process), row.told) << row.where;
  }

  // The user's folders as the system names them. At home: the profile's long name, with Cyrillic
  // letters and a space, and its short name; the Desktop and Temp inside it.
  const UserFolders home{{"C:\\Users\\Анна Петрова\\", "C:\\Users\\8D5B~1"},
                         {{"%DESKTOP%", {"C:\\Users\\Анна Петрова\\Desktop"}},
                          {"%TEMP%", {"C:\\Users\\8D5B~1\\AppData\\Local\\Temp\\"}}}};
  // On a managed PC: the Desktop and Documents redirected to the user's share, Temp and AppData on
  // other drives, and Downloads, which no variable names, given by the system; where Documents lie
  // the system could not say.
  const UserFolders managed{
      {"C:\\Users\\anna.petrova"},
      {{"%DESKTOP%",
        {"\\\\srv\\home$\\anna.petrova\\Desktop", "\\\\srv\\home$\\ANNA~1.PET\\Desktop"}},
       {"%DOCUMENTS%", {}},
       {"%DOWNLOADS%", {"E:\\Загрузки\\anna.petrova"}},
       {"%TEMP%", {"D:\\Temp\\anna.petrova\\"}},
       {"%APPDATA%", {"\\\\srv\\profiles$\\anna.petrova\\AppData\\Roaming"}}}};
  // A Kazakh name.
  const UserFolders kazakh{{"C:\\Users\\Әлия Нұрғалиқызы"}, {}};
  const struct {
    const UserFolders& folders;
    const char* text;
    const char* shown;
  } texts[] = {
      {home, "C:\\Users\\Анна Петрова\\Desktop\\KQ\\", "%USERPROFILE%\\Desktop\\KQ\\"},
      {home, "c:\\USERS\\Анна Петрова\\AppData\\Local\\Temp\\",
       "%USERPROFILE%\\AppData\\Local\\Temp\\"},
      {home, "C:\\Users\\8D5B~1\\AppData\\Local\\Temp\\", "%USERPROFILE%\\AppData\\Local\\Temp\\"},
      {home, "C:\\Users\\Анна Петрова", "%USERPROFILE%"},
      {home, "C:\\Users\\Анна Петрова-2\\KQ\\", "C:\\Users\\Анна Петрова-2\\KQ\\"},
      {home, "E:\\", "E:\\"},
      // Typed in another case, from a shortcut or a command prompt: the file system folds Cyrillic
      // and Kazakh letters too.
      {home, "c:\\users\\АННА ПЕТРОВА\\Desktop\\KQ\\", "%USERPROFILE%\\Desktop\\KQ\\"},
      {home, "C:\\Users\\анна петрова\\Desktop\\KQ\\", "%USERPROFILE%\\Desktop\\KQ\\"},
      {kazakh, "C:\\USERS\\ӘЛИЯ НҰРҒАЛИҚЫЗЫ\\Desktop\\", "%USERPROFILE%\\Desktop\\"},
      {kazakh, "C:\\Users\\әлия нұрғалиқызы\\Desktop\\", "%USERPROFILE%\\Desktop\\"},
      // Ұ is a letter of its own, not У.
      {kazakh, "C:\\Users\\Әлия Нургалиқызы\\", "C:\\Users\\Әлия Нургалиқызы\\"},
      // A box's text, as the journal records it: every mention goes, nothing else.
      {home,
       "  «Загрузочный модуль KQ»: Cannot create file \"C:\\Users\\Анна Петрова\\Desktop\\"
       "~KQ1234-1.tmp\". Access is denied\r\nПромежуточные файлы: C:\\Users\\8D5B~1\\Temp\\",
       "  «Загрузочный модуль KQ»: Cannot create file \"%USERPROFILE%\\Desktop\\~KQ1234-1.tmp\". "
       "Access is denied\r\nПромежуточные файлы: %USERPROFILE%\\Temp\\"},
      // The tool on a redirected Desktop, in either of its forms, staging in Temp on another drive.
      {managed,
       "Папка программы: \\\\srv\\home$\\anna.petrova\\Desktop\\KQ\\\r\n"
       "Промежуточные файлы: D:\\TEMP\\Anna.Petrova\\\r\n",
       "Папка программы: %DESKTOP%\\KQ\\\r\nПромежуточные файлы: %TEMP%\\\r\n"},
      {managed, "\\\\SRV\\HOME$\\ANNA~1.PET\\Desktop\\KQ\\", "%DESKTOP%\\KQ\\"},
      {managed, "E:\\Загрузки\\anna.petrova\\RU_ZadorazUdizav.exe",
       "%DOWNLOADS%\\RU_ZadorazUdizav.exe"},
      {managed, "\\\\srv\\profiles$\\anna.petrova\\AppData\\Roaming\\KQ", "%APPDATA%\\KQ"},
      {managed, "C:\\Users\\anna.petrova\\Documents\\KQ\\", "%USERPROFILE%\\Documents\\KQ\\"},
      {managed, "E:\\", "E:\\"},
  };
  for (const auto& row : texts)
    EXPECT_EQ(WithoutUserFolders(row.text, row.folders, SameFileNamesHere), row.shown) << row.text;
  EXPECT_EQ(WithoutUserFolders("D:\\KQ\\", {{""}, {{"%TEMP%", {""}}}}, SameFileNamesHere),
            "D:\\KQ\\");

  EXPECT_EQ(FormatLocalTime({2027, 1, 2, 23, 59, 0, -330}), "2027-01-02 23:59:00 UTC-05:30");
  EXPECT_EQ(JournalFileName({2027, 1, 2, 23, 59, 0, -330}), "Журнал KQ 2027-01-02 23-59-00.txt");
}

TEST(Journal, KeepsTheNewestMegabyteInWholeBlocks) {
  Journal journal;
  EXPECT_TRUE(journal.Empty());
  // Eleven blocks of 100 KB: the first goes once the eleventh comes.
  for (char mark = 'a'; mark <= 'k'; ++mark) journal.Append(std::string(100'000, mark));
  std::string text = journal.Text();
  EXPECT_EQ(text.size(), 1'000'000u);
  EXPECT_EQ(text.front(), 'b');
  EXPECT_EQ(text.back(), 'k');
  // A block over the limit on its own is kept, alone.
  journal.Append(std::string(Journal::kLimitBytes + 1, 'z'));
  text = journal.Text();
  EXPECT_EQ(text, std::string(Journal::kLimitBytes + 1, 'z'));
  journal.Append("next");
  EXPECT_EQ(journal.Text(), "next");
  EXPECT_FALSE(journal.Empty());
}

}  // namespace
