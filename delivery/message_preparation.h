// The text side of a delivery: whether a phrase is sent at all, its bracketed
// labels removed, the no-Enter marker, and the speech-mode prefix. Pure text
// work; the clipboard and the game client come after (message_sender.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "phrases/phrase_list.h"

namespace quillomi::delivery {

// A phrase that begins with the list's heading mark is a heading and is never sent.
using phrases::kHeadingMark;
// Leaves out the second Enter on the classic client; matched case-sensitively.
inline constexpr std::u16string_view kNoEnterMarker = u"[Enter無し]";

// The speech-mode controls as they stand when a phrase is sent.
struct SpeechMode {
  enum class Radio { kNormal, kParty, kWisper, kEmote, kYell, kChat };
  bool party_box = false;        // cbPT ticked
  bool free_text_shown = false;  // edtTxt's visibility flag
  Radio radio = Radio::kNormal;
};

struct PreparedText {
  std::u16string text;
  bool no_enter = false;  // the phrase carried kNoEnterMarker
};

// The "\s" of the label patterns: a fixed set, not any Unicode notion of space.
bool IsLabelSpace(char16_t c);

// "\[.*\]\s" with every match replaced by nothing: from the first "[" through
// the last "]" that is directly followed by a label space, plus that one space.
std::u16string RemoveSpacedLabels(std::u16string_view text);
// "\[.*\]" with every match replaced by nothing: from the first "[" through the
// last "]" after it.
std::u16string RemoveLabels(std::u16string_view text);

// The prepared text for sTxt, or nullopt for a heading (nothing at all is then
// to happen). normal_speech holds the texts that never get a prefix.
std::optional<PreparedText> PrepareMessage(std::u16string_view sTxt, const SpeechMode& mode,
                                           const std::vector<std::u16string>& normal_speech);

}  // namespace quillomi::delivery
