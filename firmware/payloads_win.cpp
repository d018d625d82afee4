#include "firmware/payloads_win.h"

#include <windows.h>

#include "base/failure.h"
#include "base/text_win.h"

std::span<const std::uint8_t> ResourcePayloads::Open(const std::string& payloadName) const {
  // Resources stay mapped for the life of the module, so the bytes need no release.
  HRSRC resource = FindResourceW(nullptr, Widen(payloadName).c_str(), MAKEINTRESOURCEW(10));
  HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) throw ResourceNotFound(payloadName);
  return {static_cast<const std::uint8_t*>(bytes), SizeofResource(nullptr, resource)};
}
