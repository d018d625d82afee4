#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "firmware/catalogue.h"
#include "firmware/integrity.h"
#include "support/fake_payloads.h"

// Not SHA-256, but as telling for these tests: every byte is folded into the digest, so a
// change of any one byte changes it. Notes every span it is handed.
class FoldingHasher : public Sha256Hasher {
 public:
  Sha256Digest Hash(std::span<const std::uint8_t> bytes) const override {
    hashed.push_back(bytes);
    Sha256Digest digest{};
    for (std::size_t i = 0; i < bytes.size(); ++i) digest[i % digest.size()] ^= bytes[i];
    digest[0] ^= static_cast<std::uint8_t>(bytes.size());
    return digest;
  }
  mutable std::vector<std::span<const std::uint8_t>> hashed;
};

// What a build of these payloads records: the digest of each, in catalogue order.
inline std::vector<RecordedDigest> Record(const FakePayloads& payloads) {
  const FoldingHasher hasher;
  std::vector<RecordedDigest> recorded;
  for (const CatalogueEntry& entry : kFirmwareCatalogue)
    recorded.push_back({entry.payloadName, hasher.Hash(payloads.Bytes(entry.payloadName))});
  return recorded;
}
