// Where a window stands and how big it is, as both windows' handlers use it:
// outer rectangle and client area in screen pixels.
#pragma once

namespace quillomi::ui {

class FormGeometry {
 public:
  virtual ~FormGeometry() = default;
  virtual int Top() const = 0;
  virtual int Left() const = 0;
  virtual int OuterWidth() const = 0;
  virtual int OuterHeight() const = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  virtual void SetTop(int top) = 0;
  virtual void SetLeft(int left) = 0;
  // Resizes the outer rectangle so that the client area gets the size; the
  // top-left corner stays.
  virtual void SetClientWidth(int width) = 0;
  virtual void SetClientHeight(int height) = 0;
};

}  // namespace quillomi::ui
