#include "widgets/accessible.h"

#include <gtest/gtest.h>

namespace {

TEST(PushButtonFacts, RoleNameActionAndStatesByFlags) {
  const std::pair<ButtonFlags, unsigned> rows[] = {
      {{}, kStateFocusable},
      {{.enabled = false}, kStateUnavailable},
      {{.focused = true, .pressed = true}, kStateFocusable | kStateFocused | kStatePressed},
      {{.hot = true}, kStateFocusable | kStateHotTracked},
  };
  for (const auto& [flags, states] : rows)
    EXPECT_EQ(PushButtonFacts("Записать", flags),
              (AccessibleFacts{kRolePushButton, "Записать", states, "Нажать"}));
  EXPECT_EQ(NamedFacts("Выберите USB-Flash:"),
            (AccessibleFacts{std::nullopt, "Выберите USB-Flash:", std::nullopt, std::nullopt}));
  EXPECT_EQ(NameFromHint("Изменения в ПО\r(Adobe Reader)"), "Изменения в ПО (Adobe Reader)");
  EXPECT_EQ(NameFromHint("a\r\nb"), "a b");
}

TEST(AnnouncesStateChange, PressedAndHotOnly) {
  EXPECT_TRUE(AnnouncesStateChange({}, {.pressed = true}));
  EXPECT_TRUE(AnnouncesStateChange({.hot = true}, {}));
  EXPECT_FALSE(AnnouncesStateChange({}, {.focused = true}));
  EXPECT_FALSE(AnnouncesStateChange({}, {.enabled = false}));
}

}  // namespace
