#include "firmware/stick_check.h"

#include <algorithm>

int StickCheck::Different() const {
  return static_cast<int>(std::count_if(files.begin(), files.end(), [](const CheckedFile& file) {
    return file.verdict == CheckedFile::Verdict::kDifferent ||
           file.verdict == CheckedFile::Verdict::kUnreadable;
  }));
}

int StickCheck::Missing() const {
  return static_cast<int>(std::count_if(files.begin(), files.end(), [](const CheckedFile& file) {
    return file.verdict == CheckedFile::Verdict::kMissing;
  }));
}

bool StickCheck::AllExact() const { return !unreadable && Different() == 0 && Missing() == 0; }

// A file of another length is different without a read.
StickCheck CheckStick(const std::string& root, TransferFiles& files, const PayloadSource& payloads,
                      RunClock clock, TransferProgress* progress,
                      const std::function<bool()>& abandoned) {
  StickCheck check;
  const std::optional<std::vector<DirectoryEntry>> listed = files.List(root);
  if (!listed) {
    check.unreadable = true;
    return check;
  }
  HolderPatience patience(std::move(clock), kFirmwareSetSize, kStepBudgets);
  ReadBackCheck reading;
  for (std::size_t i = 0; i < kFirmwareSetSize && !abandoned(); ++i) {
    const char* name = kFirmwareCatalogue[i].fileName;
    CheckedFile& checked = check.files[i];
    const DirectoryEntry* found = FindIgnoringCase(*listed, name);
    if (!found) continue;
    if (found->name != name) checked.foundAs = found->name;
    checked.bytes = found->bytes;
    checked.verdict = CheckedFile::Verdict::kDifferent;
    const std::span<const std::uint8_t> payload = payloads.Open(kFirmwareCatalogue[i].payloadName);
    if (found->folder || found->bytes != payload.size()) continue;
    std::unique_ptr<UncachedFile> file;
    const StepOutcome opened = patience.Persist(i, [&] {
      OpenedFile open = files.OpenUncached(root + found->name);
      file = std::move(open.file);
      return open.outcome;
    });
    checked.waited = patience.Waited(i);
    if (!file) {
      checked.verdict = CheckedFile::Verdict::kUnreadable;
      checked.error = opened.error;
      continue;
    }
    if (const auto differs = reading.FirstDifference(*file, payload))
      checked.firstDifference = *differs;
    else
      checked.verdict = CheckedFile::Verdict::kExact;
    if (progress) progress->FileDone(payload.size());
  }
  return check;
}
