// The filter list's answers to the user, apart from drawing: the find button
// beside the filter box, and which actions on the rows raise the click
// notification. The control keeps the selection; these only decide.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillomi::ui {

// The toggle at the filter box's right end. Each step that changes the rows
// gives the filter text to apply; an empty one shows every entry.
class FindButton {
 public:
  bool Pressed() const { return pressed_; }

  // Every change of the box's text filters with it and shows the button pressed.
  std::u16string TextChanged(std::u16string_view box_text);
  // Pressed: releases and shows every entry, the box keeping its text.
  // Released: presses and filters again, unless the box is empty (nullopt:
  // nothing changes).
  std::optional<std::u16string> Clicked(std::u16string_view box_text);

 private:
  bool pressed_ = false;
};

// Every selection the user makes is a click: a release of the left button
// that went down on a row, on the selected row as well, and every key that
// moves the selection. The list box's own change notification serves for
// neither: it is not sent again for the selected row, and the program's own
// changes would raise it too.
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
