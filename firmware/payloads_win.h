#pragma once

#include "firmware/transfer.h"

// The payloads carried as raw-data resources of the running executable, found by name without
// regard to case.
class ResourcePayloads : public PayloadSource {
 public:
  std::span<const std::uint8_t> Open(const std::string& payloadName) const override;
};
