#include "delivery/message_preparation.h"

#include <algorithm>

namespace quillomi::delivery {

namespace {

bool IsLineBreak(char16_t c) {
  return c == u'\r' || c == u'\n';
}

// Both label patterns are "[", any run of characters other than CR and LF, "]",
// and for the first one a label space. A match therefore lies within one stretch
// free of CR and LF, but its trailing space may be the CR or LF that ends the
// stretch. Within a stretch the leftmost match starts at the first "[" (any later
// "[" would only see a subset of the same closing brackets), and the greedy run
// makes it end at the last "]" that still lets the rest match; nothing after that
// "]" can match again. So every stretch holds at most one match, found by a scan
// from each end.
std::u16string ReplaceLabelMatches(std::u16string_view text, bool with_space) {
  std::u16string out;
  out.reserve(text.size());
  const std::size_t size = text.size();
  std::size_t pos = 0;
  while (pos < size) {
    std::size_t end = pos;
    while (end < size && !IsLineBreak(text[end])) ++end;

    std::size_t match_begin = end;
    std::size_t match_end = end;
    if (const auto open = text.substr(pos, end - pos).find(u'[');
        open != std::u16string_view::npos) {
      const std::size_t first = pos + open;
      for (std::size_t close = end; close-- > first + 1;) {
        if (text[close] != u']') continue;
        if (!with_space) {
          match_begin = first;
          match_end = close + 1;
          break;
        }
        if (close + 1 < size && IsLabelSpace(text[close + 1])) {
          match_begin = first;
          match_end = close + 2;
          break;
        }
      }
    }

    if (match_begin != end) {
      out.append(text.substr(pos, match_begin - pos));
      pos = match_end;
      continue;
    }
    out.append(text.substr(pos, end - pos));
    if (end < size) out.push_back(text[end]);
    pos = end + 1;
  }
  return out;
}

// Deletes every occurrence in one left-to-right scan; text that comes together
// only through a deletion is not looked at again.
bool DeleteEvery(std::u16string& text, std::u16string_view what) {
  std::u16string out;
  std::size_t pos = 0;
  bool found = false;
  for (auto at = text.find(what); at != std::u16string::npos; at = text.find(what, pos)) {
    out.append(text, pos, at - pos);
    pos = at + what.size();
    found = true;
  }
  if (!found) return false;
  out.append(text, pos);
  text = std::move(out);
  return true;
}

// A text shorter than the prefix always differs from it.
void EnsurePrefix(std::u16string& text, std::u16string_view prefix) {
  if (!std::u16string_view(text).starts_with(prefix)) text.insert(0, prefix);
}

}  // namespace

bool IsLabelSpace(char16_t c) {
  switch (c) {
    case u'\u0009':
    case u'\u000A':
    case u'\u000C':
    case u'\u000D':
    case u'\u0020':
    case u'\u0085':
    case u'\u00A0':
    case u'\u1680':
    case u'\u180E':
    case u'\u2028':
    case u'\u2029':
    case u'\u202F':
    case u'\u205F':
    case u'\u3000':
      return true;
    default:
      return c >= u'\u2000' && c <= u'\u200A';
  }
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
