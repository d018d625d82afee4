#include "drives/drive_poll.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/failure.h"

namespace {

class FakeDrives : public DriveSource {
 public:
  std::vector<std::string> DriveRoots() override {
    std::vector<std::string> roots;
    for (const auto& [root, type] : drives) roots.push_back(root);
    return roots;
  }
  unsigned DriveType(const std::string& root) override {
    asked.push_back(root);
    for (const auto& [known, type] : drives) {
      if (known == root) return type;
    }
    return 1;  // no root directory
  }
  bool RootAnswers(const std::string& root) override { return !emptySlots.contains(root); }
  std::vector<std::pair<std::string, unsigned>> drives;
  std::set<std::string> emptySlots;  // removable, but with no card in
  std::vector<std::string> asked;
};

class FakeWindow : public DrivePollView {
 public:
  int EntryCount() const override { return static_cast<int>(entries.size()); }
  std::string Entry(int index) const override { return entries.at(index); }
  void AppendEntry(const std::string& root) override {
    if (refuseEntries) throw UnableToInsertLine();
    entries.push_back(root);
  }
  int SelectedIndex() const override { return selected; }
  void Select(int index) override { selected = index; }
  void SetListVisible(bool visible) override { listVisible = visible; }
  void SetWriteEnabled(bool enabled) override { writeEnabled = enabled; }
  void SetPrompt(const std::string& caption, TColor color) override {
    prompt = caption;
    promptColor = color;
  }

  std::vector<std::string> entries;
  int selected = -1;
  bool listVisible = true;
  bool writeEnabled = false;
  std::string prompt = kPromptSelect;
  TColor promptColor = clWindowText;
  bool refuseEntries = false;
};

constexpr unsigned kFixed = 3, kRemote = 4, kOptical = 5, kRamDisk = 6;

class DrivePoll : public ::testing::Test {
 protected:
  FakeDrives system;
  FakeWindow window;
  void Tick() { PollDrives(system, window); }
  void ExpectConnectState() {
    EXPECT_EQ(window.prompt, "ПОДКЛЮЧИТЕ USB-FLASH!");
    EXPECT_EQ(window.promptColor, 0x0000FFu);
    EXPECT_FALSE(window.listVisible);
    EXPECT_FALSE(window.writeEnabled);
  }
  void ExpectSelectState(int selected) {
    EXPECT_EQ(window.prompt, "Выберите USB-Flash:");
    EXPECT_EQ(window.promptColor, 0x000000u);  // black itself, not the scheme's text colour
    EXPECT_TRUE(window.listVisible);
    EXPECT_TRUE(window.writeEnabled);
    EXPECT_EQ(window.selected, selected);
  }
};

TEST_F(DrivePoll, NoRemovableDriveShowsTheRedPromptAndHidesTheList) {
  system.drives = {
      {"C:\\", kFixed}, {"D:\\", kOptical}, {"G:\\", kDriveRemovable}, {"Z:\\", kFixed}};
  system.emptySlots = {"G:\\"};
  Tick();
  EXPECT_TRUE(window.entries.empty());
  ExpectConnectState();
}

TEST_F(DrivePoll, RemovableDriveIsListedAndSelected) {
  system.drives = {{"C:\\", kFixed}, {"E:\\", kDriveRemovable}};
  Tick();
  EXPECT_EQ(window.entries, (std::vector<std::string>{"E:\\"}));
  ExpectSelectState(0);
}

TEST_F(DrivePoll, OnlyRemovableDrivesAreListedAndNeverTheFloppyLetters) {
  system.drives = {{"A:\\", kDriveRemovable}, {"B:\\", kDriveRemovable}, {"C:\\", kFixed},
                   {"D:\\", kOptical},        {"M:\\", kRemote},         {"R:\\", kRamDisk},
                   {"F:\\", kDriveRemovable}, {"G:\\", kDriveRemovable}};
  Tick();
  EXPECT_EQ(window.entries, (std::vector<std::string>{"F:\\", "G:\\"}));
  ExpectSelectState(0);
}

TEST_F(DrivePoll, ListOnlyGrowsAndKeepsTheSelection) {
  // An empty card slot ahead of the stick is passed over; given a card, it comes after it.
  system.drives = {{"D:\\", kDriveRemovable}, {"E:\\", kDriveRemovable}};
  system.emptySlots = {"D:\\"};
  Tick();
  EXPECT_EQ(window.entries, (std::vector<std::string>{"E:\\"}));
  ExpectSelectState(0);
  system.emptySlots = {};
  system.drives.push_back({"F:\\", kDriveRemovable});
  Tick();
  EXPECT_EQ(window.entries, (std::vector<std::string>{"E:\\", "D:\\", "F:\\"}));
  ExpectSelectState(0);
  // Only letters not yet listed are asked.
  system.asked.clear();
  system.drives.push_back({"C:\\", kFixed});
  Tick();
  EXPECT_EQ(system.asked, (std::vector<std::string>{"C:\\"}));
  system.drives = {};  // all unplugged
  Tick();
  EXPECT_EQ(window.entries, (std::vector<std::string>{"E:\\", "D:\\", "F:\\"}));
  ExpectSelectState(0);
}

TEST_F(DrivePoll, KnownDriveIsNotAddedAgainWhateverItsCase) {
  window.entries = {"e:\\"};
  window.selected = 0;
  system.drives = {{"E:\\", kDriveRemovable}};
  Tick();
  Tick();
  EXPECT_EQ(window.entries, (std::vector<std::string>{"e:\\"}));
}

TEST_F(DrivePoll, PromptListAndButtonAreSetOnEveryTick) {
  system.drives = {{"E:\\", kDriveRemovable}};
  Tick();
  // A write run disables the button, and the operator may have cleared the selection.
  window.writeEnabled = false;
  window.selected = -1;
  window.prompt.clear();
  window.listVisible = false;
  Tick();
  ExpectSelectState(0);

  FakeWindow empty;
  empty.writeEnabled = true;
  system.drives = {};
  PollDrives(system, empty);
  PollDrives(system, empty);
  EXPECT_FALSE(empty.writeEnabled);
  EXPECT_EQ(empty.promptColor, clRed);
}

TEST_F(DrivePoll, ARefusedEntryEndsTheTickAndTheNextTickTriesAgain) {
  system.drives = {{"E:\\", kDriveRemovable}};
  window.refuseEntries = true;
  EXPECT_THROW(Tick(), Failure);
  window.refuseEntries = false;
  Tick();
  EXPECT_EQ(window.entries, (std::vector<std::string>{"E:\\"}));
}

}  // namespace
