// Where a window stands and how big it is, as both windows' handlers use it,
// in screen pixels; and the settings keys that keep it between runs.
#pragma once

#include <string_view>

#include "platform/platform.h"
#include "ui/layout.h"

namespace quillomi::ui {

class FormGeometry {
 public:
  virtual ~FormGeometry() = default;
  virtual platform::Rect Outer() const = 0;
  virtual Size Client() const = 0;
  virtual void MoveTo(Point top_left) = 0;
  // The outer rectangle takes the size the client area needs; its top-left corner stays.
  virtual void SetClientSize(Size client) = 0;
};

// The panel keeps its bottom edge where the list window keeps its top.
struct GeometryKeys {
  std::u16string_view top_or_bottom, left, client_width, client_height;
  bool bottom = false;
};

// Writes the four keys in this order and saves; throws UserError when it cannot.
void SaveGeometry(const FormGeometry& form, const GeometryKeys& keys, platform::Files& files);

}  // namespace quillomi::ui
