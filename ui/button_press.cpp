#include "ui/button_press.h"

namespace quillomi::ui {

ButtonAction DecideButtonPress(PressedButton button, bool shift_held, bool alt_held) {
  switch (button) {
    case PressedButton::kRight:
      return shift_held ? ButtonAction::kReload : ButtonAction::kEdit;
    case PressedButton::kLeft:
      return shift_held || alt_held ? ButtonAction::kNothing : ButtonAction::kSend;
    default:
      return ButtonAction::kNothing;
  }
}

}  // namespace quillomi::ui
