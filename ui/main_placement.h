// The panel's placement at creation, the compact display and the close's save,
// against a frame that tests simulate.
#pragma once

#include "phrases/settings.h"
#include "platform/platform.h"
#include "ui/form_geometry.h"

namespace quillomi::ui {

// The window operations relied on; every size change runs the grid layout.
class MainFormFrame : public FormGeometry {
 public:
  // The outer rectangle stays; the client area grows or shrinks.
  virtual void SetSizeable(bool sizeable) = 0;
  virtual void SetOuterSize(Size outer) = 0;
};

// A stored place the player could not reach (a monitor gone, a hand-edited
// file) is moved just far enough into a work area; the size is kept.
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
  // Leaves the compact display (bSlim kept), then saves the geometry; throws
  // UserError after the frame is back.
  void FormClose(MainFormFrame& form, platform::Files& files);

 private:
  void Leave(MainFormFrame& form) const;

  bool bSlim_ = false;
  int iSaveClientWidth_ = 0;
  int iSaveClientHeight_ = 0;
  int iFrameSize_ = 0;
  int iTitleSize_ = 0;
  // The close has left the compact display while bSlim stays true.
  bool left_at_close_ = false;
};

}  // namespace quillomi::ui
