// The find button's two states and what each step does to the rows, and
// which actions on the rows raise the click notification.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/unit/test_support.h"
#include "ui/filter_list_input.h"

namespace quillomi::ui {
namespace {

using test::Utf8;

struct Step {
  enum Kind { kType, kClick } kind;
  std::u16string box;                     // the box's text at the step
  std::optional<std::u16string> applied;  // the filter the rows get, if any
  bool pressed_after;
};

struct Sequence {
  const char* name;
  std::vector<Step> steps;
};

TEST(FindButton, StepsAndTheFilterTheyApply) {
  const std::vector<Sequence> sequences = {
      {"released at start; a click with an empty box does nothing",
       {{Step::kClick, u"", std::nullopt, false}}},
      {"typing filters and presses",
       {{Step::kType, u"a", u"a", true}, {Step::kType, u"ab", u"ab", true}}},
      {"a click while pressed releases and shows all, the text kept",
       {{Step::kType, u"ab", u"ab", true}, {Step::kClick, u"ab", u"", false}}},
      {"a click while released filters with the box's text again",
       {{Step::kType, u"ab", u"ab", true},
        {Step::kClick, u"ab", u"", false},
        {Step::kClick, u"ab", u"ab", true}}},
      {"emptying the box (Esc included) is a change: all shown, pressed",
       {{Step::kType, u"ab", u"ab", true}, {Step::kType, u"", u"", true}}},
      {"pressed with an empty box: a click releases it",
       {{Step::kType, u"", u"", true},
        {Step::kClick, u"", u"", false},
        {Step::kClick, u"", std::nullopt, false}}},
      {"a change while released presses it again",
       {{Step::kType, u"a", u"a", true},
        {Step::kClick, u"a", u"", false},
        {Step::kType, u"ab", u"ab", true}}},
  };
  for (const auto& sequence : sequences) {
    FindButton button;
    for (std::size_t i = 0; i < sequence.steps.size(); ++i) {
      const Step& step = sequence.steps[i];
      const std::optional<std::u16string> applied =
          step.kind == Step::kType ? std::optional(button.TextChanged(step.box))
                                   : button.Clicked(step.box);
      EXPECT_EQ(applied.has_value(), step.applied.has_value()) << sequence.name << ", step " << i;
      if (applied && step.applied) {
        EXPECT_EQ(Utf8(*applied), Utf8(*step.applied)) << sequence.name << ", step " << i;
      }
      EXPECT_EQ(button.Pressed(), step.pressed_after) << sequence.name << ", step " << i;
    }
  }
}

// One mouse action on the rows; a key is judged by the selection alone.
enum class Mouse { kPressOnRow, kPressBelowRows, kRelease, kCaptureLost };

TEST(RowClickRule, MouseClicksOnRowsNotifyOnRelease) {
  struct Case {
    const char* name;
    std::vector<Mouse> actions;
    int notifications;
  };
  const std::vector<Case> cases = {
      {"a click on a row", {Mouse::kPressOnRow, Mouse::kRelease}, 1},
      {"the same row twice (the second press may be a double-click)",
       {Mouse::kPressOnRow, Mouse::kRelease, Mouse::kPressOnRow, Mouse::kRelease},
       2},
      {"a click below the last row", {Mouse::kPressBelowRows, Mouse::kRelease}, 0},
      {"a release without its press", {Mouse::kRelease}, 0},
      {"one press, the release counted once",
       {Mouse::kPressOnRow, Mouse::kRelease, Mouse::kRelease},
       1},
      {"the mouse taken away before the release",
       {Mouse::kPressOnRow, Mouse::kCaptureLost, Mouse::kRelease},
       0},
      {"a press below the rows after one on a row",
       {Mouse::kPressOnRow, Mouse::kPressBelowRows, Mouse::kRelease},
       0},
  };
  for (const auto& c : cases) {
    RowClickRule rule;
    int notifications = 0;
    for (Mouse action : c.actions) {
      switch (action) {
        case Mouse::kPressOnRow:
          rule.Pressed(true);
          break;
        case Mouse::kPressBelowRows:
          rule.Pressed(false);
          break;
        case Mouse::kRelease:
          if (rule.Released()) ++notifications;
          break;
        case Mouse::kCaptureLost:
          rule.Cancelled();
          break;
      }
    }
    EXPECT_EQ(notifications, c.notifications) << c.name;
  }
}

TEST(RowClickRule, KeysNotifyForEachNewlySelectedRow) {
  struct Case {
    std::optional<std::size_t> before, after;
    bool notifies;
  };
  const Case cases[] = {
      {0, 1, true},                         // Down
      {5, 4, true},                         // Up
      {3, 3, false},                        // Down on the last row, Up on the first
      {std::nullopt, 0, true},              // the first move into an unselected list
      {std::nullopt, std::nullopt, false},  // no rows at all
      {2, std::nullopt, false},             // nothing selected afterwards
      {0, 40, true},                        // Page Down, End
  };
  for (const auto& c : cases)
    EXPECT_EQ(RowClickRule::KeyMovedSelection(c.before, c.after), c.notifies)
        << (c.before ? static_cast<long>(*c.before) : -1) << " -> "
        << (c.after ? static_cast<long>(*c.after) : -1);
}

}  // namespace
}  // namespace quillomi::ui
