#include "ui/filter_list_input.h"

namespace quillomi::ui {

std::u16string FindButton::TextChanged(std::u16string_view box_text) {
  pressed_ = true;
  return std::u16string(box_text);
}

std::optional<std::u16string> FindButton::Clicked(std::u16string_view box_text) {
  if (pressed_) {
    pressed_ = false;
    return std::u16string();
  }
  if (box_text.empty()) return std::nullopt;
  pressed_ = true;
  return std::u16string(box_text);
}

}  // namespace quillomi::ui
