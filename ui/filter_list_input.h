// The find button and which row actions raise the click notification.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillomi::ui {

// Each step that changes the rows gives the filter text; empty shows every entry.
class FindButton {
 public:
  bool Pressed() const { return pressed_; }

  // Every change of the box's text filters with it and shows the button pressed.
  std::u16string TextChanged(std::u16string_view box_text) {
    pressed_ = true;
    return std::u16string(box_text);
  }
  // Pressed: releases and shows every entry, the box keeping its text.
  // Released: presses and filters again, unless the box is empty (nullopt:
  // nothing changes).
  std::optional<std::u16string> Clicked(std::u16string_view box_text) {
    if (!pressed_ && box_text.empty()) return std::nullopt;
    pressed_ = !pressed_;
    return std::u16string(pressed_ ? box_text : u"");
  }

 private:
  bool pressed_ = false;
};

// A click is a left release that went down on a row (the selected one too) or
// a key that moves the selection: LBN_SELCHANGE misses the first and would
// also tell the program's own changes.
class RowClickRule {
 public:
  // The left button went down (also a double-click's second press); on_row:
  // over a row rather than the empty space below the last one.
  void Pressed(bool on_row) { pending_ = on_row; }
  // The release; true when the click notification is due.
  bool Released() {
    const bool due = pending_;
    pending_ = false;
    return due;
  }
  // The rows lost the mouse before the release: no click.
  void Cancelled() { pending_ = false; }

  // A key the rows handled, with the selected row before and after it.
  static bool KeyMovedSelection(std::optional<std::size_t> before,
                                std::optional<std::size_t> after) {
    return after.has_value() && after != before;
  }

 private:
  bool pending_ = false;
};

}  // namespace quillomi::ui
