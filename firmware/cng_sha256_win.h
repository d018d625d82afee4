#pragma once

#include <windows.h>

#include <bcrypt.h>

#include "base/system_library_win.h"
#include "firmware/sha256.h"

// SHA-256 by the system's own cryptography (CNG), from bcrypt.dll in the system folder.
class CngSha256 : public Sha256Hasher {
 public:
  // Raises CannotLoadLibrary when the library cannot be had or offers no SHA-256.
  CngSha256();
  ~CngSha256() override;
  CngSha256(const CngSha256&) = delete;
  CngSha256& operator=(const CngSha256&) = delete;

  // Raises CannotLoadLibrary when the library fails to hash.
  Sha256Digest Hash(std::span<const std::uint8_t> bytes) const override;

 private:
  SystemLibrary library_;
  decltype(&::BCryptCloseAlgorithmProvider) closeAlgorithmProvider_;
  decltype(&::BCryptCreateHash) createHash_;
  decltype(&::BCryptHashData) hashData_;
  decltype(&::BCryptFinishHash) finishHash_;
  decltype(&::BCryptDestroyHash) destroyHash_;
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
};
