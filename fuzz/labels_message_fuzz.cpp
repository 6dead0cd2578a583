// Any text as a phrase: the label, caption and hint a button takes from it,
// and the text a send prepares from it, against the label patterns as a
// regular-expression engine would apply them.
//
// Input: speech-mode choices taken from the end, then UTF-16 LE units: the
// phrase, and after each U+0000 one entry of the normal-speech list.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "delivery/message_preparation.h"
#include "fuzz/fuzz_support.h"
#include "phrases/button_file.h"
#include "ui/speech_mode.h"

namespace {

using quillomi::delivery::kNoEnterMarker;
using quillomi::delivery::SpeechMode;
using quillomi::fuzz::Require;
using quillomi::ui::SpeechControl;
namespace phrases = quillomi::phrases;

constexpr auto npos = std::u16string_view::npos;

// "\s" of the label patterns, from the character list, not from the code.
bool IsPatternSpace(char16_t c) {
  constexpr std::u16string_view kSpaces =
      u"\u0009\u000A\u000C\u000D\u0020\u0085\u00A0\u1680\u180E\u2000\u2001\u2002\u2003\u2004"
      u"\u2005\u2006\u2007\u2008\u2009\u200A\u2028\u2029\u202F\u205F\u3000";
  return kSpaces.find(c) != npos;
}

// "\[.*\]\s" (with_space) or "\[.*\]" replaced by nothing, the way a
// backtracking engine does it: at each position from the left, the longest
// match of the greedy run wins; the search goes on after the match. "." is
// anything but CR and LF, which no bracket or space is half of a pair, so
// code units serve.
std::u16string ReferenceRemove(std::u16string_view text, bool with_space) {
  std::u16string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t match_end = npos;
    if (text[pos] == u'[') {
      std::size_t run_end = pos + 1;  // "." runs over [pos + 1, run_end)
      while (run_end < text.size() && text[run_end] != u'\r' && text[run_end] != u'\n') ++run_end;
      for (std::size_t close = run_end + 1; close-- > pos + 1;) {
        if (close >= text.size() || text[close] != u']') continue;
        if (!with_space) {
          match_end = close + 1;
          break;
        }
        if (close + 1 < text.size() && IsPatternSpace(text[close + 1])) {
          match_end = close + 2;
          break;
        }
      }
    }
    if (match_end == npos) {
      out += text[pos++];
    } else {
      pos = match_end;
    }
  }
  return out;
}

std::size_t CountMarkers(std::u16string_view text) {
  std::size_t count = 0;
  for (auto at = text.find(kNoEnterMarker); at != npos; at = text.find(kNoEnterMarker, at + 1)) {
    ++count;
  }
  return count;
}

std::u16string DeleteMarkers(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text.substr(i).starts_with(kNoEnterMarker)) {
      i += kNoEnterMarker.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

// No stretch between line breaks holds a "[" with a "]" after it.
bool HasNoLabelLeft(std::u16string_view text) {
  bool open = false;
  for (char16_t c : text) {
    if (c == u'\r' || c == u'\n') open = false;
    if (c == u'[') open = true;
    if (c == u']' && open) return false;
  }
  return true;
}

void CheckButtonStrings(std::u16string_view line) {
  const std::u16string_view label = phrases::ButtonLabel(line);
  Require(label.data() >= line.data() && label.data() + label.size() <= line.data() + line.size(),
          "the label is part of the line");
  const std::size_t begin = static_cast<std::size_t>(label.data() - line.data());
  const std::size_t end = begin + label.size();
  const std::size_t last_open = line.rfind(u'[');
  Require(begin == (last_open == npos ? 0 : last_open + 1), "the label starts after the last [");
  Require(label.find_first_of(u"[]") == npos, "the label holds no bracket");
  Require(end == line.size() || line[end] == u']', "the label ends at a ] or the line's end");

  const std::u16string_view caption = phrases::ButtonCaption(label);
  Require(caption.size() == std::min<std::size_t>(label.size(), 5) && label.starts_with(caption),
          "the caption is the label's first five units");

  const std::u16string_view hint = phrases::ButtonHint(line);
  Require(line.ends_with(hint), "the hint is the end of the line");
  const std::size_t last_close = line.rfind(u']');
  const bool bracketed = last_close != npos && line.substr(0, last_close).find(u'[') != npos;
  Require(hint.size() == (bracketed ? line.size() - last_close - 1 : line.size()),
          "the hint follows the last ] that has a [ before it, else is the whole line");
}

// Puts the speech-mode controls through the clicks a user can make.
SpeechMode ClickedMode(FuzzedDataProvider& provider) {
  quillomi::ui::SpeechModeControls controls(provider.ConsumeBool());
  const int clicks = provider.ConsumeIntegralInRange<int>(0, 6);
  for (int i = 0; i < clicks; ++i) {
    const auto control = static_cast<SpeechControl>(provider.ConsumeIntegralInRange<int>(0, 6));
    if (control == SpeechControl::cbPT) {
      controls.SetPartyBox(!controls.PartyBox());
    } else {
      controls.SetRadio(control, true);
    }
  }
  return controls.Mode();
}

SpeechMode AnyMode(FuzzedDataProvider& provider) {
  SpeechMode mode;
  mode.party_box = provider.ConsumeBool();
  mode.free_text_shown = provider.ConsumeBool();
  mode.radio = static_cast<SpeechMode::Radio>(provider.ConsumeIntegralInRange<int>(0, 5));
  return mode;
}

// sent is the core behind at most `most` of the speech-mode prefixes.
bool IsPrefixed(std::u16string_view sent, std::u16string_view core, int most) {
  if (!sent.ends_with(core)) return false;
  std::u16string_view prefixes = sent.substr(0, sent.size() - core.size());
  for (; most > 0 && !prefixes.empty(); --most) {
    if (prefixes.size() < 2 || std::u16string_view(u"/;:!,").find(prefixes[0]) == npos ||
        prefixes[1] != u' ') {
      return false;
    }
    prefixes.remove_prefix(2);
  }
  return prefixes.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const SpeechMode clicked = ClickedMode(provider);
  const SpeechMode any = AnyMode(provider);
  const auto bytes = provider.ConsumeRemainingBytes<std::uint8_t>();
  const std::u16string units = quillomi::fuzz::Utf16Le(bytes.data(), bytes.size());

  const std::size_t phrase_end = std::min(units.find(u'\0'), units.size());
  const std::u16string_view phrase = std::u16string_view(units).substr(0, phrase_end);
  std::vector<std::u16string> normal_speech;
  for (std::size_t at = phrase_end; at < units.size();) {
    const std::size_t next = std::min(units.find(u'\0', at + 1), units.size());
    normal_speech.emplace_back(units, at + 1, next - at - 1);
    at = next;
  }

  CheckButtonStrings(phrase);

  const auto plain = quillomi::delivery::PrepareMessage(phrase, SpeechMode{}, normal_speech);
  if (phrase.starts_with(quillomi::delivery::kHeadingMark)) {
    Require(!plain, "a heading is never sent");
    return 0;
  }
  Require(plain.has_value(), "every other phrase is sent");
  const std::u16string& core = plain->text;
  Require(plain->no_enter == (CountMarkers(phrase) > 0), "the marker sets no-Enter");
  Require(core == ReferenceRemove(ReferenceRemove(DeleteMarkers(phrase), true), false),
          "labels go as the two patterns take them");
  Require(core.find(kNoEnterMarker) == npos && HasNoLabelLeft(core),
          "no marker and no [..] within a line is left");
  Require(core.size() + CountMarkers(phrase) * kNoEnterMarker.size() <= phrase.size(),
          "preparing only removes");
  if (phrase.find_first_of(u"[]") == npos) {
    Require(core == phrase, "a phrase without brackets is sent as it is");
  }

  const bool exempt =
      std::find(normal_speech.begin(), normal_speech.end(), core) != normal_speech.end();
  // The panel keeps the party box and the radio buttons in step: one prefix
  // at most. Set freely, the party box and a radio can add one each.
  for (const auto& [mode, most] : {std::pair{clicked, 1}, std::pair{any, 2}}) {
    const auto sent = quillomi::delivery::PrepareMessage(phrase, mode, normal_speech);
    Require(sent && sent->no_enter == plain->no_enter, "the mode changes nothing but prefixes");
    if (exempt) {
      Require(sent->text == core, "normal speech gets no prefix");
    } else {
      Require(IsPrefixed(sent->text, core, most), "at most the mode's prefixes are added");
    }
  }
  return 0;
}
