// A failed save keeps the window once, so nothing is lost; a second failure
// lets it go, so an unwritable settings file never traps the player.
#pragma once

#include "platform/errors.h"
#include "platform/platform.h"

namespace quillomi::ui {

class CloseRetry {
 public:
  // True when the window may close; a first failure is thrown to the barrier.
  template <typename Save>
  bool Close(Save&& save, platform::Dialogs& dialogs) {
    try {
      save();
    } catch (const UserError& error) {
      if (!failed_) {
        failed_ = true;
        throw;
      }
      failed_ = false;
      dialogs.ShowError(StandardErrorText(error.text()));
      return true;
    }
    failed_ = false;
    return true;
  }

 private:
  bool failed_ = false;
};

}  // namespace quillomi::ui
