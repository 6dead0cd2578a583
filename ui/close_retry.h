// A close whose save fails keeps the window once, so the player can mend the
// cause and close again with nothing lost; a close that fails again right
// after lets the window go without saving, so a settings file that cannot be
// written never traps the player.
#pragma once

#include "platform/errors.h"
#include "platform/platform.h"

namespace quillomi::ui {

class CloseRetry {
 public:
  // Runs save; true when the window may close. A first failure is thrown on
  // to the window's barrier; a second in a row is shown here and let go.
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
