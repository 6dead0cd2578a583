// What the main window keeps for delivery and the one operation every phrase
// goes through, whatever its source: ComSendMessage.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "delivery/game_delivery.h"
#include "delivery/message_preparation.h"
#include "platform/platform.h"

namespace quillomi::delivery {

class MessageSender {
 public:
  explicit MessageSender(platform::Platform& platform) : platform_(platform) {}

  // The main window, which gets the EC note, and its caption as it was when
  // the window was made.
  void SetPanel(platform::WindowHandle main_window, std::u16string sTitle);

  // Reads the normal-speech list from the current working directory. On a
  // UserError the list stays empty and the error goes on to the caller.
  void LoadNormalSpeechList();

  // Prepares sTxt, puts it on the clipboard and serves the game client; false
  // for a heading, which does nothing at all. Throws UserError when the
  // clipboard cannot be opened, and then nothing after it happens.
  bool ComSendMessage(std::u16string_view sTxt, const SpeechMode& mode);

 private:
  platform::Platform& platform_;
  platform::WindowHandle main_window_ = 0;
  std::u16string sTitle_;

  // Unit-level state of the main window: the last sent phrase carried the
  // no-Enter marker; false until the first phrase.
  bool bNoEnter_ = false;
  // Loaded once at start-up, never reloaded.
  std::vector<std::u16string> normal_speech_;
};

}  // namespace quillomi::delivery
