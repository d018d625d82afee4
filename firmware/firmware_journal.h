#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/notice.h"
#include "firmware/integrity.h"
#include "firmware/stick_check.h"
#include "firmware/transfer.h"
#include "journal/journal_block.h"

// Everything a block of a write run tells.
struct RunJournal {
  JournalHeading heading = {};
  std::string stagingFolder = {};
  std::optional<DriveFacts> drive = std::nullopt;  // before the run
  std::optional<std::uint64_t> freeAfter = std::nullopt;
  IntegrityVerdict integrity = {};
  // Nothing when a failure stopped the run before it looked at the drive.
  std::optional<TransferResult> transfer = std::nullopt;
  std::vector<std::uint64_t> payloadBytes = {};  // catalogue order
  std::vector<Notice> boxes = {};
  std::chrono::milliseconds duration{};
};

// Everything a block of a check of a stick tells.
struct CheckJournal {
  JournalHeading heading = {};
  std::optional<DriveFacts> drive = std::nullopt;
  IntegrityVerdict integrity = {};
  // Nothing when a failure stopped the check before it looked at the drive.
  std::optional<StickCheck> check = std::nullopt;
  std::vector<Notice> boxes = {};
  std::chrono::milliseconds duration{};
};

std::string RunBlock(const RunJournal& run, const SystemErrorDescription& describe);
std::string CheckBlock(const CheckJournal& check, const SystemErrorDescription& describe);
