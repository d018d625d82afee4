#pragma once

#include <string>

// The icon of a message box, valued as the system's message-box flags.
enum class NoticeIcon : unsigned {
  kNone = 0x00,
  kError = 0x10,
  kWarning = 0x30,
  kInformation = 0x40
};

// One modal message box with an OK button: the tool's only way of reporting.
struct Notice {
  std::string text;
  std::string caption;
  NoticeIcon icon;

  bool operator==(const Notice&) const = default;
};
