// What a press on a phrase button does, from the mouse button and the keys
// held at that moment. Ctrl makes no difference either way.
#pragma once

namespace quillomi::ui {

enum class PressedButton { kLeft, kRight, kMiddle };
enum class ButtonAction { kNothing, kSend, kEdit, kReload };

inline ButtonAction DecideButtonPress(PressedButton button, bool shift_held, bool alt_held) {
  if (button == PressedButton::kRight)
    return shift_held ? ButtonAction::kReload : ButtonAction::kEdit;
  if (button == PressedButton::kLeft && !shift_held && !alt_held) return ButtonAction::kSend;
  return ButtonAction::kNothing;
}

}  // namespace quillomi::ui
