// What the main window keeps for delivery and the one operation every phrase
// goes through, whatever its source: ComSendMessage. Used by the panel and by
// the command-line delivery tool.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "delivery/game_delivery.h"
#include "delivery/message_preparation.h"
#include "platform/platform.h"

namespace quillomi::delivery {

class MessageSender {
 public:
  // sTitle is the main window's caption as it was when the window was made;
  // empty_free_text empties the free-text box after each delivery (may be empty
  // where there is no such box).
  MessageSender(platform::Platform& platform, platform::WindowHandle main_window,
                std::u16string sTitle, std::function<void()> empty_free_text);

  // Reads the normal-speech list from the current working directory. On a
  // UserError the list stays empty and the error goes on to the caller.
  void LoadNormalSpeechList();

  // Prepares sTxt, puts it on the clipboard, serves the game client and empties
  // the free-text box; a heading does nothing at all. Throws UserError when the
  // clipboard cannot be opened, and then nothing after it happens.
  void ComSendMessage(std::u16string sTxt, const SpeechMode& mode);

  // Serves the game client with what the clipboard holds.
  GameClient FindUOandPase();

  bool bNoEnter() const { return bNoEnter_; }
  const std::u16string& sTitle() const { return sTitle_; }
  const std::vector<std::u16string>& NormalSpeechList() const { return normal_speech_; }

 private:
  platform::Platform& platform_;
  platform::WindowHandle main_window_;
  std::u16string sTitle_;
  std::function<void()> empty_free_text_;

  // Unit-level state of the main window: the last sent phrase carried the
  // no-Enter marker; false until the first phrase.
  bool bNoEnter_ = false;
  // The last prepared text, as the clipboard holds it.
  std::u16string prepared_text_;
  // Loaded once at start-up, never reloaded.
  std::vector<std::u16string> normal_speech_;
};

}  // namespace quillomi::delivery
