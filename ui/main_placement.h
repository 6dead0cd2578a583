// The phrase panel's frame, size and place: placement at creation, the
// compact display and what the close writes back. Written against the
// toolkit's window operations so that the order of each step is the window's
// own and tests can follow it on a simulated frame.
#pragma once

#include "phrases/settings.h"
#include "platform/platform.h"
#include "ui/form_geometry.h"

namespace quillomi::ui {

// The window operations relied on; every size change runs the grid layout.
class MainFormFrame : public FormGeometry {
 public:
  // Sizeable frame with title bar, or none; the outer rectangle stays where it
  // is and keeps its size, so the client area grows or shrinks.
  virtual void SetSizeable(bool sizeable) = 0;
  virtual void SetOuterWidth(int width) = 0;
  virtual void SetOuterHeight(int height) = 0;
};

// Steps 3 to 8 of the placement at creation, from an open settings document.
// A stored place from which the player could not reach the window (a monitor
// gone, a hand-edited file) is moved just far enough into a work area; the
// stored size is kept.
void PlaceMainWindow(const phrases::SettingsDocument& settings, platform::Screen& screen,
                     MainFormFrame& form);

// Unit-level state of the compact display.
class CompactDisplay {
 public:
  bool bSlim() const { return bSlim_; }

  // Double-click on the background.
  void FormDblClick(MainFormFrame& form, platform::Screen& screen);
  // Brings the window into the display that bSlim names.
  void exeBtnSlim(MainFormFrame& form, platform::Screen& screen);
  // Leaves the compact display first, keeping bSlim as it is, then writes the
  // geometry to the settings file. A settings file that cannot be read or
  // written throws UserError after the frame is back; a close after that
  // writes the same geometry.
  void FormClose(MainFormFrame& form, platform::Files& files);

 private:
  void Leave(MainFormFrame& form) const;

  // False from the start of the window's creation; a borderless start leaves
  // it false too.
  bool bSlim_ = false;
  // Taken anew each time the compact display is entered.
  int iSaveClientWidth_ = 0;
  int iSaveClientHeight_ = 0;
  int iFrameSize_ = 0;
  int iTitleSize_ = 0;
  // The close has left the compact display while bSlim stays true.
  bool left_at_close_ = false;
};

}  // namespace quillomi::ui
