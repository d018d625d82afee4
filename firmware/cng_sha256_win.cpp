#include "firmware/cng_sha256_win.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "base/failure.h"
#include "base/text_win.h"

namespace {

constexpr wchar_t kLibrary[] = L"bcrypt.dll";

// A library of that name that cannot hash is not the one the tool relies on.
void Require(NTSTATUS status) {
  if (!BCRYPT_SUCCESS(status)) throw CannotLoadLibrary(Narrow(kLibrary));
}

}  // namespace

CngSha256::CngSha256()
    : library_(kLibrary),
      closeAlgorithmProvider_(SYSTEM_FUNCTION(library_, BCryptCloseAlgorithmProvider)),
      createHash_(SYSTEM_FUNCTION(library_, BCryptCreateHash)),
      hashData_(SYSTEM_FUNCTION(library_, BCryptHashData)),
      finishHash_(SYSTEM_FUNCTION(library_, BCryptFinishHash)),
      destroyHash_(SYSTEM_FUNCTION(library_, BCryptDestroyHash)) {
  Require(SYSTEM_FUNCTION(library_, BCryptOpenAlgorithmProvider)(
      &algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0));
}

CngSha256::~CngSha256() { closeAlgorithmProvider_(algorithm_, 0); }

Sha256Digest CngSha256::Hash(std::span<const std::uint8_t> bytes) const {
  BCRYPT_HASH_HANDLE hash = nullptr;
  // The system keeps the hash's working state itself (Windows 7 and later).
  Require(createHash_(algorithm_, &hash, nullptr, 0, nullptr, 0, 0));
  const std::unique_ptr<void, decltype(destroyHash_)> destroy(hash, destroyHash_);
  while (!bytes.empty()) {
    const std::size_t part = std::min<std::size_t>(bytes.size(), std::numeric_limits<ULONG>::max());
    // Declared writable, but only read.
    Require(hashData_(hash, const_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(part), 0));
    bytes = bytes.subspan(part);
  }
  Sha256Digest digest{};
  Require(finishHash_(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
  return digest;
}
