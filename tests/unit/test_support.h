// Helpers shared by the unit tests.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "phrases/phrase_list.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "platform/platform.h"
#include "ui/layout.h"
#include "ui/main_placement.h"
#include "ui/panel_handlers.h"

namespace quillomi::test {

// Bytes from a string literal that may hold any byte values.
platform::Bytes B(std::string_view bytes);
// A literal's bytes, embedded NULs included.
template <std::size_t N>
platform::Bytes B(const char (&bytes)[N]) {
  return B(std::string_view(bytes, N - 1));
}
std::string Utf8(std::u16string_view text);

// The text of the UserError that the action throws, or empty.
template <typename Action>
std::u16string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const UserError& error) {
    return error.text();
  }
  return {};
}

// The entries a phrase list file reads as, as the list shows them.
struct ListEntries {
  std::vector<std::u16string> texts;
  std::vector<int> icons;
};
ListEntries ReadListEntries(platform::Files& files, std::u16string_view path);
// Entries of these texts, their icons counting up from 1.
phrases::PhraseEntries EntriesOf(const std::vector<std::u16string>& texts);

// A window as the toolkit keeps it: an outer rectangle, and a client area
// inset by the frame (8) and caption (31) when the border is sizeable. Every
// change goes to `record` when set, else to `log`.
template <typename Frame>
class SimulatedFrame : public Frame {
 public:
  int left = 0, top = 0, outer_width = 1006, outer_height = 232;
  bool sizeable = true;
  std::vector<std::string> log;
  std::function<void(std::string)> record;

  int FrameSize() const { return sizeable ? 8 : 0; }
  int TitleSize() const { return sizeable ? 31 : 0; }
  // Where the buttons are on the screen.
  ui::Point ClientOnScreen() const { return {left + FrameSize(), top + TitleSize()}; }

  void SetSizeable(bool value) override {
    Note(value ? "sizeable" : "borderless");
    sizeable = value;
  }
  platform::Rect Outer() const override {
    return {left, top, left + outer_width, top + outer_height};
  }
  ui::Size Client() const override {
    return {outer_width - 2 * FrameSize(), outer_height - TitleSize() - FrameSize()};
  }
  void MoveTo(ui::Point place) override {
    top = Logged("top", place.top);
    left = Logged("left", place.left);
  }
  void SetOuterSize(ui::Size outer) override {
    outer_width = Logged("width", outer.width);
    outer_height = Logged("height", outer.height);
  }
  void SetClientSize(ui::Size client) override {
    outer_width = Logged("client width", client.width) + 2 * FrameSize();
    outer_height = Logged("client height", client.height) + TitleSize() + FrameSize();
  }

 protected:
  void Note(std::string line) {
    if (record) record(line);
    else log.push_back(std::move(line));
  }
  int Logged(const char* what, int value) {
    Note(what + (" " + std::to_string(value)));
    return value;
  }
};

// A framed panel whose every change goes into the fake's log.
class SimulatedPanel final : public SimulatedFrame<ui::PanelView> {
 public:
  explicit SimulatedPanel(fake::FakePlatform& fake) : fake_(fake) {
    record = [&fake](std::string line) { fake.Record(std::move(line)); };
  }
  std::u16string edtTxt;

  platform::WindowHandle Handle() const override { return 0x40; }
  void SetHintDelay(int ms) override { Logged("hint delay", ms); }
  void SetButtonCaption(int number, std::u16string_view caption) override {
    if (number == 1 || number == 59) fake_.Record("caption " + std::to_string(number) + " " + Utf8(caption));
  }
  void SetEdtTxtFont(int points) override { Logged("edtTxt font", points); }
  void ShowFreeTextControls() override { fake_.Record("show free text"); }
  void LayOutFreeTextControls(int gap) override { Logged("free text gap", gap); }
  std::u16string EdtTxtText() const override { return edtTxt; }
  void EmptyEdtTxt() override {
    edtTxt.clear();
    fake_.Record("empty edtTxt");
  }
  void RaiseEdtTxt() override { fake_.Record("raise edtTxt"); }
  void SetChecked(ui::SpeechControl control, bool checked) override {
    Logged(checked ? "check" : "uncheck", static_cast<int>(control));
  }
  void ShowListWindow() override { fake_.Record("show list window"); }

 private:
  fake::FakePlatform& fake_;
};

// A code page 932 button file of 58 lines whose line `at` ends in a lead byte
// followed directly by `line_break` (none: the lead byte ends the file). A
// decoder may read the lead byte and a CR or LF after it as one character.
struct LeadByteCase {
  std::uint8_t lead = 0x82;
  std::string_view line_break;
  int at = 30;
  std::string Name() const;
  platform::Bytes File() const;
};
// Every lead byte (81 to 9F, E0 to FC) before CR, LF and CR LF, in the middle
// and on the last line, and alone at the very end.
std::vector<LeadByteCase> LeadByteCases();
// Fills up the file at path, which holds `original`, and checks what the next
// start reads: the lines read before, then the placeholders up to line 59
// exactly, and nothing written again. Empty when all holds, else what did not.
std::string FillUpProblems(platform::Platform& platform, const std::u16string& path,
                           const platform::Bytes& original);

}  // namespace quillomi::test
