#include "drives/drive_poll.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>

#include "base/failure.h"
#include "drives/drive_watch.h"
#ifdef _WIN32
#include "base/unwaited_thread_win.h"
#else
#include <thread>
#endif

namespace {

using namespace std::chrono_literals;

#ifdef _WIN32
constexpr auto StartThread = StartUnwaitedThread;
#else
void StartThread(std::function<void()> work) { std::thread(std::move(work)).detach(); }
#endif

// The system's drives, asked from the watch's threads. A slow letter's root answers only once the
// test lets it.
class FakeDrives : public DriveSource {
 public:
  std::vector<std::string> DriveRoots() override {
    const std::lock_guard lock(mutex);
    std::vector<std::string> roots;
    for (const auto& [root, type] : drives) roots.push_back(root);
    return roots;
  }
  unsigned DriveType(const std::string& root) override {
    const std::lock_guard lock(mutex);
    typesAsked.push_back(root);
    for (const auto& [known, type] : drives) {
      if (known == root) return type;
    }
    return 1;  // no root directory
  }
  bool RootAnswers(const std::string& root) override {
    std::unique_lock lock(mutex);
    asked.push_back(root);
    letGo.wait(lock, [&] { return !slow.contains(root); });
    return !emptySlots.contains(root);
  }
  void LetGo(const std::string& root) {
    const std::lock_guard lock(mutex);
    slow.erase(root);
    letGo.notify_all();
  }
  std::mutex mutex;
  std::condition_variable letGo;
  std::vector<std::pair<std::string, unsigned>> drives;
  std::set<std::string> emptySlots;     // removable, but with no card in
  std::set<std::string> slow;           // roots that answer only when let go
  std::vector<std::string> asked;       // roots looked at
  std::vector<std::string> typesAsked;  // letters whose type was asked
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
  std::shared_ptr<FakeDrives> drives = std::make_shared<FakeDrives>();
  FakeDrives& system = *drives;
  FakeWindow window;
  std::mutex mutex;
  std::condition_variable handedOn;
  std::deque<DriveFindings> found;
  // A look waits for its letters long enough here that only a slow one misses it.
  void HandOn(DriveFindings findings) {
    const std::lock_guard lock(mutex);
    found.push_back(std::move(findings));
    handedOn.notify_all();
  }
  std::optional<DriveWatch> watch{std::in_place, drives,
                                  [this](DriveFindings findings) { HandOn(std::move(findings)); },
                                  StartThread, 200ms};

  DriveFindings Next() {
    std::unique_lock lock(mutex);
    if (!handedOn.wait_for(lock, 10s, [&] { return !found.empty(); }))
      ADD_FAILURE() << "nothing was handed on";
    if (found.empty()) return {};
    DriveFindings next = std::move(found.front());
    found.pop_front();
    return next;
  }
  // What the window does at a tick, then with what the look hands on.
  void Tick() {
    watch->Look(ListedRoots(window));
    ShowListState(window);
    const DriveFindings findings = Next();
    ListFoundDrives(findings.roots, window);
    ShowListState(window);
  }
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
  // Only letters not yet listed are asked; a letter's type once, while it stays.
  system.asked.clear();
  system.drives.push_back({"C:\\", kFixed});
  Tick();
  Tick();
  EXPECT_EQ(system.asked, (std::vector<std::string>{"C:\\"}));
  EXPECT_EQ(std::count(system.typesAsked.begin(), system.typesAsked.end(), "C:\\"), 1);
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
  ShowListState(empty);
  ShowListState(empty);
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

TEST_F(DrivePoll, ASlowLetterHoldsUpOnlyItselfIsAskedOnceAndIsNotWaitedForAtTheEnd) {
  // A failing stick ahead of a good one, its root silent until let go.
  system.drives = {{"D:\\", kDriveRemovable}, {"E:\\", kDriveRemovable}};
  system.slow = {"D:\\"};
  Tick();
  EXPECT_EQ(window.entries, (std::vector<std::string>{"E:\\"}));
  ExpectSelectState(0);
  // While its question waits, the letter is not asked again, however many ticks come.
  Tick();
  Tick();
  EXPECT_EQ(std::count(system.asked.begin(), system.asked.end(), "D:\\"), 1);
  // The watch goes (the window closed) without waiting; the answer still comes, by itself.
  watch.reset();
  system.LetGo("D:\\");
  ListFoundDrives(Next().roots, window);
  EXPECT_EQ(window.entries, (std::vector<std::string>{"E:\\", "D:\\"}));
  ExpectSelectState(0);
}

TEST_F(DrivePoll, AThreadTheSystemDoesNotGiveIsAFailureToReportNotAnEmptyList) {
  system.drives = {{"D:\\", kDriveRemovable}, {"E:\\", kDriveRemovable}};
  // The look's own thread, then the second letter's, are refused.
  for (const int refused : {1, 3}) {
    int started = 0;
    DriveWatch refusing(
        drives, [this](DriveFindings findings) { HandOn(std::move(findings)); },
        [&started, refused](std::function<void()> work) {
          if (++started == refused) throw ErrorCreating("thread", "Not enough memory");
          StartThread(std::move(work));
        });
    if (refused == 1) {
      EXPECT_THROW(refusing.Look({}), Failure);
      continue;
    }
    refusing.Look({});
    const DriveFindings findings = Next();
    EXPECT_EQ(findings.roots, (std::vector<std::string>{"D:\\"}));
    EXPECT_EQ(findings.failure, "Error creating thread. Not enough memory");
  }
}

}  // namespace
