#include "firmware/stick_check.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

bool SameNameIgnoringCase(const std::string& a, const char* b) {
  return std::equal(a.begin(), a.end(), b, b + std::strlen(b), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// The whole file in one buffer, as long as expected; nothing when it cannot be read so far.
std::optional<SectorAlignedBytes> ReadWhole(UncachedFile& file, std::size_t expected) {
  SectorAlignedBytes bytes = AllocateSectorAligned(expected);
  const std::size_t rounded = (expected + kSectorMultiple - 1) / kSectorMultiple * kSectorMultiple;
  std::size_t done = 0;
  while (done < expected) {
    const std::size_t ask = std::min(kReadBackBufferSize, rounded - done);
    const std::optional<std::size_t> got = file.Read({bytes.get() + done, ask});
    if (!got || *got == 0) return std::nullopt;
    done += *got;
  }
  return bytes;
}

}  // namespace

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

// A file of another length is different without a read. The same length read whole is hashed
// as it lies on the stick.
StickCheck CheckStick(const std::string& root, TransferFiles& files, const PayloadSource& payloads,
                      std::span<const RecordedDigest> recorded, const Sha256Hasher& hasher,
                      RunClock clock, TransferProgress* progress,
                      const std::function<bool()>& abandoned) {
  StickCheck check;
  const std::optional<std::vector<DirectoryEntry>> listed = files.List(root);
  if (!listed) {
    check.unreadable = true;
    return check;
  }
  HolderPatience patience(std::move(clock), kFirmwareSetSize, kStepBudgets);
  for (std::size_t i = 0; i < kFirmwareSetSize && !abandoned(); ++i) {
    const char* name = kFirmwareCatalogue[i].fileName;
    CheckedFile& checked = check.files[i];
    const auto found = std::find_if(listed->begin(), listed->end(), [&](const DirectoryEntry& f) {
      return SameNameIgnoringCase(f.name, name);
    });
    if (found == listed->end()) continue;
    if (found->name != name) checked.foundAs = found->name;
    checked.bytes = found->bytes;
    checked.verdict = CheckedFile::Verdict::kDifferent;
    const std::size_t expected = payloads.Open(kFirmwareCatalogue[i].payloadName).size();
    if (found->folder || found->bytes != expected) continue;
    std::unique_ptr<UncachedFile> file;
    const StepOutcome opened = patience.Persist(i, [&] {
      OpenedFile open = files.OpenUncached(root + found->name);
      file = std::move(open.file);
      return open.outcome;
    });
    checked.waited = patience.Waited(i);
    const std::optional<SectorAlignedBytes> bytes =
        file ? ReadWhole(*file, expected) : std::nullopt;
    if (!bytes) {
      checked.verdict = CheckedFile::Verdict::kUnreadable;
      checked.error = opened.error;
      continue;
    }
    const RecordedDigest* digest = FindRecorded(recorded, kFirmwareCatalogue[i].payloadName);
    if (digest && hasher.Hash({bytes->get(), expected}) == digest->sha256)
      checked.verdict = CheckedFile::Verdict::kExact;
    if (progress) progress->FileDone(expected);
  }
  return check;
}
