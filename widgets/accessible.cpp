#include "widgets/accessible.h"

namespace {

constexpr char kPress[] = "Нажать";

}  // namespace

// A disabled window cannot take the focus, so it is not reported focusable.
AccessibleFacts PushButtonFacts(const std::string& name, ButtonFlags flags) {
  unsigned states = flags.enabled ? kStateFocusable : kStateUnavailable;
  if (flags.focused) states |= kStateFocused;
  if (flags.pressed) states |= kStatePressed;
  if (flags.hot) states |= kStateHotTracked;
  return {kRolePushButton, name, states, kPress};
}

AccessibleFacts NamedFacts(const std::string& name) {
  AccessibleFacts facts;
  facts.name = name;
  return facts;
}

std::string NameFromHint(const std::string& hint) {
  std::string name;
  for (const char c : hint) {
    if (c != '\r' && c != '\n') {
      name += c;
    } else if (!name.empty() && name.back() != ' ') {
      name += ' ';
    }
  }
  return name;
}

// The system itself announces the focus moving and a new name; told again, readers speak twice.
bool AnnouncesStateChange(ButtonFlags before, ButtonFlags after) {
  return before.pressed != after.pressed || before.hot != after.hot;
}
