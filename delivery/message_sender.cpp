#include "delivery/message_sender.h"

#include <utility>

#include "delivery/normal_speech.h"
#include "platform/errors.h"

namespace quillomi::delivery {

void MessageSender::SetPanel(platform::WindowHandle main_window, std::u16string sTitle) {
  main_window_ = main_window;
  sTitle_ = std::move(sTitle);
}

void MessageSender::LoadNormalSpeechList() {
  normal_speech_.clear();
  normal_speech_ = ReadNormalSpeechList(platform_.files);
}

bool MessageSender::ComSendMessage(std::u16string_view sTxt, const SpeechMode& mode) {
  auto prepared = PrepareMessage(sTxt, mode, normal_speech_);
  if (!prepared) return false;

  bNoEnter_ = prepared->no_enter;
  PutOnClipboard(platform_.clipboard, prepared->text);
  FindUOandPase(platform_, {bNoEnter_, sTitle_, main_window_}, prepared->text);
  return true;
}

}  // namespace quillomi::delivery
