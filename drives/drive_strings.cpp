#include "drives/drive_strings.h"

std::vector<std::string> ReadDriveStrings(const DriveStringsQuery& query) {
  std::vector<char> buffer(kDriveStringsFirstCapacity);
  // A drive can appear between the two calls, so the size asked for may be short again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    const std::uint32_t capacity = static_cast<std::uint32_t>(buffer.size());
    const std::uint32_t length = query(capacity, buffer.data());
    if (length < capacity) return SplitDriveStrings(buffer.data(), length);
    buffer.assign(length, '\0');
  }
  return {};
}

std::vector<std::string> SplitDriveStrings(const char* buffer, std::uint32_t length) {
  std::vector<std::string> strings;
  std::string current;
  for (std::uint32_t i = 0; i < length; ++i) {
    if (buffer[i] != '\0') {
      current += buffer[i];
    } else {
      strings.push_back(current);
      current.clear();
    }
  }
  return strings;
}
