// Every cascade of cbPT and the radios, whole, and the mode a send then reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/speech_mode.h"

namespace quillomi::ui {
namespace {

using C = SpeechControl;
using Radio = delivery::SpeechMode::Radio;
using Names = std::vector<std::string>;

std::string Name(SpeechControl control) {
  static const char* const kNames[] = {"cbPT",    "rbNormal", "rbParty", "rbWisper",
                                       "rbEmote", "rbYell",   "rbChat"};
  return kNames[static_cast<int>(control)];
}

// A user action, or a change made by code; both go through the same setters.
struct Action {
  SpeechControl control;
  bool checked = true;
};

void Apply(SpeechModeControls& controls, Action action) {
  action.control == C::cbPT ? controls.SetPartyBox(action.checked)
                            : controls.SetRadio(action.control, action.checked);
}

TEST(SpeechMode, EachCascadeEndsAfterOneExchange) {
  struct Case {
    const char* name;
    bool edtTxtVisible;
    std::vector<Action> before;
    Action action;
    Names events, on_after;
    Radio mode_radio;  // what a send reads; no radio selected reads as normal
  };
  // clang-format off
  const Case cases[] = {
      {"ticking selects party", true, {}, {C::cbPT, true},
       {"cbPT on", "rbNormal off", "rbParty on"}, {"cbPT", "rbParty"}, Radio::kParty},
      {"unticking selects normal", true, {{C::cbPT, true}}, {C::cbPT, false},
       {"cbPT off", "rbParty off", "rbNormal on"}, {"rbNormal"}, Radio::kNormal},
      {"selecting party ticks the box", true, {}, {C::rbParty},
       {"rbNormal off", "rbParty on", "cbPT on"}, {"cbPT", "rbParty"}, Radio::kParty},
      {"whisper after party unticks the box", true, {{C::rbParty}}, {C::rbWisper},
       {"rbParty off", "rbWisper on", "cbPT off"}, {"rbWisper"}, Radio::kWisper},
      {"normal after party unticks the box", true, {{C::rbParty}}, {C::rbNormal},
       {"rbParty off", "rbNormal on", "cbPT off"}, {"rbNormal"}, Radio::kNormal},
      {"emote from normal leaves the box", true, {}, {C::rbEmote},
       {"rbNormal off", "rbEmote on"}, {"rbEmote"}, Radio::kEmote},
      {"a selected radio clicked again runs nothing", true, {{C::rbChat}}, {C::rbChat},
       {}, {"rbChat"}, Radio::kChat},
      {"the box set to its state runs nothing", true, {{C::cbPT, true}}, {C::cbPT, true},
       {}, {"cbPT", "rbParty"}, Radio::kParty},
      {"a radio losing its selection runs nothing", true, {{C::rbParty}}, {C::rbParty, false},
       {"rbParty off"}, {"cbPT"}, Radio::kNormal},
      {"hidden: ticking changes no radio", false, {}, {C::cbPT, true},
       {"cbPT on"}, {"cbPT", "rbNormal"}, Radio::kNormal},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SpeechModeControls controls(c.edtTxtVisible);
    for (auto action : c.before) Apply(controls, action);
    Names events, on;
    controls.observer = [&](C control, bool checked) {
      events.push_back(Name(control) + (checked ? " on" : " off"));
    };
    Apply(controls, c.action);
    EXPECT_EQ(events, c.events);
    if (controls.PartyBox()) on.push_back("cbPT");
    for (auto radio : {C::rbNormal, C::rbParty, C::rbWisper, C::rbEmote, C::rbYell, C::rbChat})
      if (controls.IsSelected(radio)) on.push_back(Name(radio));
    EXPECT_EQ(on, c.on_after);
    const auto mode = controls.Mode();
    EXPECT_EQ(mode.party_box, c.on_after.front() == "cbPT");
    EXPECT_EQ(mode.radio, c.mode_radio);
    EXPECT_EQ(mode.free_text_shown, c.edtTxtVisible);
  }
}

}  // namespace
}  // namespace quillomi::ui
