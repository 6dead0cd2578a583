#include "delivery/message_preparation.h"

#include <algorithm>

namespace quillomi::delivery {

namespace {

// Both label patterns are "[", any run of characters other than CR and LF, "]",
// and for the first one a label space. A match therefore lies within one stretch
// free of CR and LF, but its trailing space may be the CR or LF that ends the
// stretch. Within a stretch the leftmost match starts at the first "[" (any later
// "[" would only see a subset of the same closing brackets), and the greedy run
// makes it end at the last "]" that still lets the rest match; nothing after that
// "]" can match again. So every stretch holds at most one match, found by a scan
// from each end.
std::u16string ReplaceLabelMatches(std::u16string_view text, bool with_space) {
  const auto closes = [&](std::size_t at) {
    return text[at] == u']' &&
           (!with_space || (at + 1 < text.size() && IsLabelSpace(text[at + 1])));
  };
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = std::min(text.find_first_of(u"\r\n", pos), text.size());
    const std::size_t open = text.substr(0, end).find(u'[', pos);
    std::size_t close = end;
    if (open != std::u16string_view::npos)
      while (--close > open && !closes(close)) continue;
    if (open != std::u16string_view::npos && close > open) {
      out.append(text.substr(pos, open - pos));
      pos = close + (with_space ? 2 : 1);
    } else {
      out.append(text.substr(pos, end + 1 - pos));  // with the break that ends the stretch
      pos = end + 1;
    }
  }
  return out;
}

// Deletes every occurrence in one left-to-right scan; text that comes together
// only through a deletion is not looked at again: it would start before the
// place where the search goes on.
bool DeleteEvery(std::u16string& text, std::u16string_view what) {
  const auto first = text.find(what);
  for (auto at = first; at != std::u16string::npos; at = text.find(what, at))
    text.erase(at, what.size());
  return first != std::u16string::npos;
}

// A text shorter than the prefix always differs from it.
void EnsurePrefix(std::u16string& text, std::u16string_view prefix) {
  if (!std::u16string_view(text).starts_with(prefix)) text.insert(0, prefix);
}

}  // namespace

bool IsLabelSpace(char16_t c) {
  return (c >= u'\t' && c <= u'\r' && c != u'\v') || c == u' ' || c == 0x85 || c == 0xA0 ||
         c == 0x1680 || c == 0x180E || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}

std::u16string RemoveSpacedLabels(std::u16string_view text) {
  return ReplaceLabelMatches(text, true);
}

std::u16string RemoveLabels(std::u16string_view text) {
  return ReplaceLabelMatches(text, false);
}

std::optional<PreparedText> PrepareMessage(std::u16string_view sTxt, const SpeechMode& mode,
                                           const std::vector<std::u16string>& normal_speech) {
  if (!sTxt.empty() && sTxt.front() == kHeadingMark) return std::nullopt;

  PreparedText prepared;
  std::u16string t(sTxt);
  prepared.no_enter = DeleteEvery(t, kNoEnterMarker);
  t = RemoveLabels(RemoveSpacedLabels(t));

  const bool exempt =
      std::find(normal_speech.begin(), normal_speech.end(), t) != normal_speech.end();
  if (!exempt) {
    using Radio = SpeechMode::Radio;
    if (mode.party_box) EnsurePrefix(t, u"/ ");
    // The panel keeps the box and the radio buttons in step, so in practice at
    // most one of these adds anything; they are still applied in this order.
    if (mode.free_text_shown) {
      if (mode.radio == Radio::kParty && !mode.party_box) EnsurePrefix(t, u"/ ");
      if (mode.radio == Radio::kWisper) EnsurePrefix(t, u"; ");
      if (mode.radio == Radio::kEmote) EnsurePrefix(t, u": ");
      if (mode.radio == Radio::kYell) EnsurePrefix(t, u"! ");
      if (mode.radio == Radio::kChat) EnsurePrefix(t, u", ");
    }
  }
  prepared.text = std::move(t);
  return prepared;
}

}  // namespace quillomi::delivery
