#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Where the payload bytes come from. A payload it does not carry is a ResourceNotFound failure.
class PayloadSource {
 public:
  virtual ~PayloadSource() = default;
  virtual std::span<const std::uint8_t> Open(const std::string& payloadName) const = 0;
};

// The payload's bytes, or nothing when the executable does not carry it.
std::optional<std::span<const std::uint8_t>> CarriedPayload(const PayloadSource& payloads,
                                                            const std::string& payloadName);
