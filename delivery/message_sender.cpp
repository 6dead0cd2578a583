#include "delivery/message_sender.h"

#include <utility>

#include "delivery/normal_speech.h"
#include "platform/errors.h"

namespace quillomi::delivery {

MessageSender::MessageSender(platform::Platform& platform, platform::WindowHandle main_window,
                             std::u16string sTitle, std::function<void()> empty_free_text)
    : platform_(platform),
      main_window_(main_window),
      sTitle_(std::move(sTitle)),
      empty_free_text_(std::move(empty_free_text)) {}

void MessageSender::LoadNormalSpeechList() {
  normal_speech_.clear();
  normal_speech_ = ReadNormalSpeechList(platform_.files);
}

void MessageSender::ComSendMessage(std::u16string sTxt, const SpeechMode& mode) {
  auto prepared = PrepareMessage(sTxt, mode, normal_speech_);
  if (!prepared) return;

  bNoEnter_ = prepared->no_enter;
  prepared_text_ = prepared->text;
  try {
    platform_.clipboard.SetUnicodeText(prepared->text);
  } catch (const OsFailure& failure) {
    throw UserError(messages::CannotOpenClipboard(failure.reason()));
  }
  FindUOandPase();
  if (empty_free_text_) empty_free_text_();
}

GameClient MessageSender::FindUOandPase() {
  return delivery::FindUOandPase(platform_, {bNoEnter_, sTitle_, main_window_}, prepared_text_);
}

}  // namespace quillomi::delivery
