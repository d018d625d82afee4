#include "widgets/accessible.h"

#include <gtest/gtest.h>

namespace {

TEST(PushButtonFacts, RoleNameActionAndStatesByFlags) {
  struct Row {
    ButtonFlags flags;
    unsigned states;
  } const rows[] = {
      {{}, kStateFocusable},
      {{.enabled = false}, kStateUnavailable},
      {{.focused = true}, kStateFocusable | kStateFocused},
      {{.focused = true, .pressed = true}, kStateFocusable | kStateFocused | kStatePressed},
      {{.hot = true}, kStateFocusable | kStateHotTracked},
      {{.pressed = true, .hot = true}, kStateFocusable | kStatePressed | kStateHotTracked},
  };
  for (const Row& row : rows) {
    const AccessibleFacts facts = PushButtonFacts("Записать", row.flags);
    EXPECT_EQ(facts, (AccessibleFacts{kRolePushButton, "Записать", row.states, "Нажать"}))
        << row.states;
  }
}

TEST(NamedFacts, OnlyTheNameIsAnswered) {
  EXPECT_EQ(NamedFacts("Выберите USB-Flash:"),
            (AccessibleFacts{std::nullopt, "Выберите USB-Flash:", std::nullopt, std::nullopt}));
}

TEST(NameFromHint, LinesJoinedBySpaces) {
  EXPECT_EQ(NameFromHint("Изменения в ПО\r(Adobe Reader)"), "Изменения в ПО (Adobe Reader)");
  EXPECT_EQ(NameFromHint("a\r\nb"), "a b");
  EXPECT_EQ(NameFromHint("one line"), "one line");
}

TEST(AnnouncesStateChange, PressedAndHotOnly) {
  const ButtonFlags rest;
  EXPECT_TRUE(AnnouncesStateChange(rest, {.pressed = true}));
  EXPECT_TRUE(AnnouncesStateChange({.hot = true}, rest));
  EXPECT_FALSE(AnnouncesStateChange(rest, {.focused = true}));
  EXPECT_FALSE(AnnouncesStateChange(rest, {.enabled = false}));
  EXPECT_FALSE(AnnouncesStateChange(rest, rest));
}

}  // namespace
