#include "firmware/payload_source.h"

#include "base/failure.h"

std::optional<std::span<const std::uint8_t>> CarriedPayload(const PayloadSource& payloads,
                                                            const std::string& payloadName) {
  try {
    return payloads.Open(payloadName);
  } catch (const Failure&) {
    return std::nullopt;
  }
}
