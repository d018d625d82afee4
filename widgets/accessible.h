#pragma once

#include <optional>
#include <string>

// What a control tells assistive technology, in the numbers of the system's accessibility
// interface. The adapter answers with what is set here and leaves the rest to the system's own
// object for the window.

inline constexpr long kRolePushButton = 0x2B;

enum AccessibleState : unsigned {
  kStateUnavailable = 0x1,
  kStateFocused = 0x4,
  kStatePressed = 0x8,
  kStateHotTracked = 0x80,
  kStateFocusable = 0x100000,
};

struct AccessibleFacts {
  std::optional<long> role;
  std::optional<std::string> name;
  std::optional<unsigned> states;
  // Carried out by clicking the control.
  std::optional<std::string> defaultAction;

  friend bool operator==(const AccessibleFacts&, const AccessibleFacts&) = default;
};

// The flags of an own-drawn button that it reports.
struct ButtonFlags {
  bool enabled = true;
  bool focused = false;
  bool pressed = false;
  bool hot = false;

  friend constexpr bool operator==(ButtonFlags, ButtonFlags) = default;
};

AccessibleFacts PushButtonFacts(const std::string& name, ButtonFlags flags);

// A control whose own object is right in all but its name.
AccessibleFacts NamedFacts(const std::string& name);

// A hint read as a name: its lines joined by spaces.
std::string NameFromHint(const std::string& hint);

// Whether a change of the flags is one that readers must be told of.
bool AnnouncesStateChange(ButtonFlags before, ButtonFlags after);
