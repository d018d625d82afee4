#include "drives/drive_strings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Strings = std::vector<std::string>;

// A system that answers the way the real one does: the length without the final terminator
// when the list fits, the capacity needed when it does not.
DriveStringsQuery SystemWith(const std::vector<Strings>& answers,
                             std::vector<std::uint32_t>* asked) {
  auto call = std::make_shared<std::size_t>(0);
  return [answers, asked, call](std::uint32_t capacity, char* buffer) -> std::uint32_t {
    asked->push_back(capacity);
    const Strings& roots = answers[std::min(*call, answers.size() - 1)];
    ++*call;
    std::string list;
    for (const std::string& root : roots) list += root + '\0';
    if (list.size() + 1 > capacity) return static_cast<std::uint32_t>(list.size() + 1);
    std::memcpy(buffer, list.c_str(), list.size() + 1);
    return static_cast<std::uint32_t>(list.size());
  };
}

Strings Roots(char from, char to) {
  Strings roots;
  for (char letter = from; letter <= to; ++letter) roots.push_back(std::string(1, letter) + ":\\");
  return roots;
}

TEST(DriveStrings, SplitsAtEveryZeroWithinTheLength) {
  const char list[] = "C:\\\0E:\\\0Z:\\\0\0garbage";
  EXPECT_EQ(SplitDriveStrings(list, 12), (Strings{"C:\\", "E:\\", "Z:\\"}));
  // Characters after the last zero within the length are no string of their own.
  EXPECT_EQ(SplitDriveStrings(list, 10), (Strings{"C:\\", "E:\\"}));
  EXPECT_EQ(SplitDriveStrings(list, 0), Strings{});
}

TEST(DriveStrings, ShortListIsReadInOneCallOfAHundredCharacters) {
  std::vector<std::uint32_t> asked;
  EXPECT_EQ(ReadDriveStrings(SystemWith({Roots('C', 'F')}, &asked)), Roots('C', 'F'));
  EXPECT_EQ(asked, (std::vector<std::uint32_t>{100}));
}

TEST(DriveStrings, TwentyFourRootsStillFitTheFirstBuffer) {
  std::vector<std::uint32_t> asked;
  EXPECT_EQ(ReadDriveStrings(SystemWith({Roots('A', 'X')}, &asked)).size(), 24u);
  EXPECT_EQ(asked.size(), 1u);
}

TEST(DriveStrings, LongListIsAskedForAgainWithTheSizeTheSystemNamed) {
  std::vector<std::uint32_t> asked;
  EXPECT_EQ(ReadDriveStrings(SystemWith({Roots('A', 'Z')}, &asked)), Roots('A', 'Z'));
  EXPECT_EQ(asked, (std::vector<std::uint32_t>{100, 105}));
}

TEST(DriveStrings, ListThatGrowsBetweenCallsIsAskedForOnceMore) {
  std::vector<std::uint32_t> asked;
  const auto roots = ReadDriveStrings(SystemWith({Roots('A', 'Y'), Roots('A', 'Z')}, &asked));
  EXPECT_EQ(roots, Roots('A', 'Z'));
  EXPECT_EQ(asked, (std::vector<std::uint32_t>{100, 101, 105}));
}

TEST(DriveStrings, UnreadableListGivesNoDrives) {
  EXPECT_EQ(ReadDriveStrings([](std::uint32_t, char*) { return 0u; }), Strings{});
}

}  // namespace
