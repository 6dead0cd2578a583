#include "ui/button_press.h"

#include <gtest/gtest.h>

namespace quillomi::ui {
namespace {

TEST(ButtonPress, MouseButtonAndHeldKeysDecide) {
  struct Case {
    PressedButton button;
    bool shift, alt;
    ButtonAction action;
  };
  using enum PressedButton;
  using enum ButtonAction;
  const Case cases[] = {
      {kLeft, false, false, kSend},    {kLeft, true, false, kNothing},
      {kLeft, false, true, kNothing},  {kLeft, true, true, kNothing},
      {kRight, false, false, kEdit},   {kRight, false, true, kEdit},  // Alt: no difference
      {kRight, true, false, kReload},  {kRight, true, true, kReload},
      {kMiddle, false, false, kNothing}, {kMiddle, true, false, kNothing},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DecideButtonPress(c.button, c.shift, c.alt), c.action)
        << static_cast<int>(c.button) << " shift " << c.shift << " alt " << c.alt;
}

}  // namespace
}  // namespace quillomi::ui
