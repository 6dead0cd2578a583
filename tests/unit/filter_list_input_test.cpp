// The find button's states and which row actions raise the click notification.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/unit/test_support.h"
#include "ui/filter_list_input.h"

namespace quillomi::ui {
namespace {

// One button through a run of steps; what each gives the rows, and the state after it.
TEST(FindButton, StepsAndTheFilterTheyApply) {
  struct Step {
    bool click;  // else the box's text changes
    std::u16string_view box;
    const char* outcome;
  };
  const Step steps[] = {
      {true, u"", "nothing, released"},  // released at start; an empty box changes nothing
      {false, u"ab", "'ab', pressed"},
      {true, u"ab", "'', released"},  // every entry shown, the text kept
      {true, u"ab", "'ab', pressed"},
      {false, u"", "'', pressed"},  // emptying the box (Esc included) is a change
      {true, u"", "'', released"},
  };
  FindButton button;
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const std::optional<std::u16string> applied =
        steps[i].click ? button.Clicked(steps[i].box) : button.TextChanged(steps[i].box);
    EXPECT_EQ((applied ? "'" + test::Utf8(*applied) + "'" : "nothing") +
                  (button.Pressed() ? ", pressed" : ", released"),
              steps[i].outcome)
        << "step " << i;
  }
}

// P: a press on a row (also a double-click's second press), B: a press below
// the last row, R: the release, L: the mouse taken away before the release.
TEST(RowClickRule, MouseClicksOnRowsNotifyOnRelease) {
  struct Case {
    const char* actions;
    int notifications;
  };
  const Case cases[] = {{"PRPR", 2}, {"PRR", 1}, {"PLR", 0}, {"PBR", 0}};
  for (const auto& c : cases) {
    RowClickRule rule;
    int notifications = 0;
    for (const char* a = c.actions; *a; ++a) {
      if (*a == 'P' || *a == 'B') rule.Pressed(*a == 'P');
      if (*a == 'R' && rule.Released()) ++notifications;
      if (*a == 'L') rule.Cancelled();
    }
    EXPECT_EQ(notifications, c.notifications) << c.actions;
  }
}

// A key is judged by the selected row before and after it alone (-1: none):
// Down, Up, Page Down alike; Down on the last row; the first move into an
// unselected list; no rows at all; nothing selected afterwards.
TEST(RowClickRule, KeysNotifyForEachNewlySelectedRow) {
  const int cases[][3] = {{0, 1, 1}, {3, 3, 0}, {-1, 0, 1}, {-1, -1, 0}, {2, -1, 0}};
  const auto row = [](int i) {
    return i < 0 ? std::nullopt : std::optional(static_cast<std::size_t>(i));
  };
  for (const auto& [before, after, notifies] : cases)
    EXPECT_EQ(RowClickRule::KeyMovedSelection(row(before), row(after)), notifies == 1)
        << before << " -> " << after;
}

}  // namespace
}  // namespace quillomi::ui
