#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "base/failure.h"
#include "firmware/catalogue.h"
#include "firmware/transfer.h"

// Small, distinct payloads for the whole catalogue and the change log: a mix-up of two entries
// shows as a content mismatch.
class FakePayloads : public PayloadSource {
 public:
  FakePayloads() {
    for (const CatalogueEntry& entry : kFirmwareCatalogue) Add(entry.payloadName);
    Add("Changes");
  }
  std::span<const std::uint8_t> Open(const std::string& name) const override {
    const auto found = payloads_.find(name);
    if (found == payloads_.end()) throw ResourceNotFound(name);
    return found->second;
  }
  const std::vector<std::uint8_t>& Bytes(const std::string& name) const {
    return payloads_.at(name);
  }
  std::vector<std::uint8_t>& Change(const std::string& name) { return payloads_.at(name); }
  void Remove(const std::string& name) { payloads_.erase(name); }

 private:
  void Add(const std::string& name) {
    std::vector<std::uint8_t> bytes(name.begin(), name.end());
    for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 7 + bytes.size()));
    bytes.push_back(0);  // a zero byte must pass through like any other
    payloads_[name] = bytes;
  }

  std::map<std::string, std::vector<std::uint8_t>> payloads_;
};
