#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "firmware/system_errors.h"
#include "firmware/transfer.h"
#include "support/memory_file.h"

// The file layer in memory: notes every step and tells the lies it is set up to tell, as a
// worn or counterfeit drive would. Other programs may hold files until a moment of the run's
// clock, as on Windows: sharing nothing, a delete or a copy of the file is a sharing violation;
// sharing deletion, a delete leaves the name pending, refused to a copy, until the holder lets go.
// Given a death error, drive E: answers every call with it once it has flushed so many files, as
// a stick pulled out or failing part-way does, and its root no longer answers. A copy tells
// whether it began, unless its copies are silent, as Wine's are.
class LyingFiles : public TransferFiles {
 public:
  void WriteNew(const std::string& path, std::span<const std::uint8_t> bytes) override {
    steps.push_back("write " + path);
    if (files.contains(path)) throw CannotCreateFile(path, "taken", kErrorFileExists);
    if (path == failingStage) {
      // A staging file cut short that the write could not take with it stays behind.
      if (undeletable.contains(path)) files[path].assign(bytes.begin(), bytes.begin() + 1);
      throw StreamWriteError(stageError);
    }
    files[path].assign(bytes.begin(), bytes.end());
  }
  StepOutcome Delete(const std::string& path) override {
    steps.push_back("delete " + path);
    if (Dead(path)) return Death();
    if (Locked(path)) return {FileOutcome::kFailed, kErrorWriteProtect};
    if (ReadOnlyMedium(path)) return FileOutcome::kDone;  // and nothing goes
    if (readOnly.contains(path) || Pending(path)) return FileOutcome::kDenied;
    if (undeletable.contains(path)) return {FileOutcome::kFailed, 1117};
    if (const auto held = holders.find(path); held != holders.end()) {
      held->second.pending = held->second.sharesDelete;
      return held->second.pending ? FileOutcome::kDone : FileOutcome::kHeld;
    }
    return files.erase(path) > 0 ? FileOutcome::kDone : FileOutcome::kFailed;
  }
  CopyAttempt Copy(const std::string& from, const std::string& to, bool replace) override {
    steps.push_back("copy " + from + " > " + to);
    if (Dead(to)) return {Death()};
    if (Locked(to)) return {{FileOutcome::kFailed, kErrorWriteProtect}};
    if (ReadOnlyMedium(to)) return {{FileOutcome::kDenied, kErrorAccessDenied}};
    if (readOnly.contains(to) || Pending(to)) return {FileOutcome::kDenied};
    if (holders.contains(to)) return {FileOutcome::kHeld};
    if (!replace && files.contains(to)) return {FileOutcome::kNameTaken};
    std::vector<std::uint8_t> bytes = files.at(from);
    // As Wine leaves a copy that failed: cut short under its name.
    if (to == failingCopy || to == fullCopy) bytes.resize(bytes.size() / 2);
    if (altering.contains(to)) bytes[bytes.size() / 2] ^= 0x20;
    if (to == shorteningCopy) bytes.pop_back();
    files[to] = bytes;
    // A drive smaller than it claims wraps round: this file's data lands on an earlier one's.
    if (to == wrapping.first) {
      std::vector<std::uint8_t>& earlier = files.at(wrapping.second);
      std::copy_n(bytes.begin(), std::min(bytes.size(), earlier.size()), earlier.begin());
    }
    const bool told = !silentCopies;
    if (to == failingCopy) return {{FileOutcome::kFailed, 1117}, told};  // a device's I/O error
    if (to == fullCopy) return {{FileOutcome::kVolumeFull, kErrorDiskFull}, told};
    ScanAfter("copy", to);
    return {FileOutcome::kDone, told};
  }
  StepOutcome Flush(const std::string& path) override {
    steps.push_back("flush " + path);
    if (Dead(path)) return Death();
    if (holders.contains(path)) return FileOutcome::kHeld;
    if (path == failingFlush) return FileOutcome::kFailed;
    ScanAfter("flush", path);
    ++flushed;
    return FileOutcome::kDone;
  }
  OpenedFile OpenUncached(const std::string& path) override {
    steps.push_back("read back " + path);
    if (Dead(path)) return {Death(), nullptr};
    if (holders.contains(path)) return {{FileOutcome::kHeld, kErrorSharingViolation}, nullptr};
    if (path == failingOpen || !files.contains(path)) return {FileOutcome::kFailed, nullptr};
    auto file = std::make_unique<MemoryFile>(files.at(path));
    if (path == failingRead) file->failingRead = 1;
    return {FileOutcome::kDone, std::move(file)};
  }
  Presence LookUp(const std::string& path) override {
    if (Dead(path) || unknownPresence.contains(path)) return Presence::kUnknown;
    return files.contains(path) ? Presence::kPresent : Presence::kAbsent;
  }
  bool RootAnswers(const std::string& root) override {
    steps.push_back("root " + root);
    return !Dead(root);
  }
  std::optional<std::vector<DirectoryEntry>> List(const std::string& directory) override {
    std::vector<DirectoryEntry> entries;
    for (const auto& [path, bytes] : files) {
      if (path.starts_with(directory))
        entries.push_back(
            {path.substr(directory.size()), false, readOnly.contains(path), bytes.size()});
    }
    return entries;
  }
  std::optional<VolumeSpace> Space(const std::string&) override { return space; }

  // The run's clock, which only its pauses move on. Each holder lets go once it reaches the
  // holder's moment, and a delete the holder left pending completes then.
  RunClock Clock() {
    return {[this] { return std::chrono::steady_clock::time_point(now); },
            [this](RunClock::Duration pause) {
              now += pause;
              std::erase_if(holders, [this](const auto& held) {
                if (now < held.second.until) return false;
                if (held.second.pending) files.erase(held.first);
                return true;
              });
            }};
  }

  std::map<std::string, std::vector<std::uint8_t>> files;
  std::vector<std::string> steps;
  std::string failingCopy, fullCopy, shorteningCopy, failingFlush, failingOpen, failingRead;
  // Drive E: refuses every change as a locked card does, before a name is opened.
  bool writeProtected = false;
  // Drive E: a read-only medium as Wine shows one: deletes reported done that take nothing away,
  // every write refused as access denied.
  bool readOnlyUnderWine = false;
  bool silentCopies = false;
  std::string failingStage;
  std::uint32_t stageError = 0;
  std::set<std::string> altering;
  std::pair<std::string, std::string> wrapping;  // copying to first overwrites second's data
  std::set<std::string> readOnly, undeletable;
  std::set<std::string> unknownPresence;  // names a search cannot tell of
  std::optional<VolumeSpace> space;
  struct Holder {
    RunClock::Duration until{};
    bool sharesDelete = false;
    bool pending = false;
  };
  std::map<std::string, Holder> holders;
  // A scanner that opens a file, sharing nothing, as soon as a step of the run has made it:
  // path -> (that step, how long it holds the file).
  std::map<std::string, std::pair<std::string, RunClock::Duration>> scanners;
  RunClock::Duration now{};
  std::uint32_t deathError = 0;  // 0: the drive never dies
  std::size_t diesAfterFiles = 0;

 private:
  void ScanAfter(const std::string& step, const std::string& path) {
    const auto scanner = scanners.find(path);
    if (scanner == scanners.end() || scanner->second.first != step) return;
    holders[path] = {now + scanner->second.second};
    scanners.erase(scanner);
  }
  bool Pending(const std::string& path) const {
    return holders.contains(path) && holders.at(path).pending;
  }
  bool Dead(const std::string& path) const {
    return deathError && flushed >= diesAfterFiles && path.starts_with("E:\\");
  }
  bool Locked(const std::string& path) const { return writeProtected && path.starts_with("E:\\"); }
  bool ReadOnlyMedium(const std::string& path) const {
    return readOnlyUnderWine && path.starts_with("E:\\");
  }
  StepOutcome Death() const { return {OutcomeOfSystemError(deathError), deathError}; }

  std::size_t flushed = 0;
};
