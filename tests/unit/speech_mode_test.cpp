// The party box and the radio buttons keeping each other in step: every
// cascade, whole, as the handlers and state changes follow one another.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/speech_mode.h"

namespace quillomi::ui {
namespace {

using C = SpeechControl;
using Radio = delivery::SpeechMode::Radio;

std::string Name(SpeechControl control) {
  static const char* const kNames[] = {"cbPT",    "rbNormal", "rbParty", "rbWisper",
                                       "rbEmote", "rbYell",   "rbChat"};
  return kNames[static_cast<int>(control)];
}

std::string Describe(const SpeechEvent& event) {
  switch (event.kind) {
    case SpeechEvent::Kind::kcbPTClick:
      return "cbPTClick";
    case SpeechEvent::Kind::krbNormalClick:
      return "rbNormalClick";
    case SpeechEvent::Kind::kStateChanged:
      break;
  }
  return Name(event.control) + (event.checked ? " on" : " off");
}

// A user action, or a change made by code; both go through the same setters.
struct Action {
  SpeechControl control;
  bool checked = true;
};

void Apply(SpeechModeControls& controls, Action action) {
  if (action.control == C::cbPT) {
    controls.SetPartyBox(action.checked);
  } else {
    controls.SetRadio(action.control, action.checked);
  }
}

// The controls that are on, in declaration order.
std::vector<std::string> StatesOn(const SpeechModeControls& controls) {
  std::vector<std::string> on;
  if (controls.PartyBox()) on.push_back("cbPT");
  for (auto radio : {C::rbNormal, C::rbParty, C::rbWisper, C::rbEmote, C::rbYell, C::rbChat}) {
    if (controls.IsSelected(radio)) on.push_back(Name(radio));
  }
  return on;
}

TEST(SpeechMode, EachCascadeEndsAfterOneExchange) {
  struct Case {
    const char* name;
    bool edtTxtVisible;
    std::vector<Action> before;
    Action action;
    std::vector<std::string> events;
    std::vector<std::string> on_after;
  };
  const Case cases[] = {
      {"ticking selects party",
       true,
       {},
       {C::cbPT, true},
       {"cbPT on", "cbPTClick", "rbNormal off", "rbParty on", "rbNormalClick"},
       {"cbPT", "rbParty"}},
      {"unticking selects normal",
       true,
       {{C::cbPT, true}},
       {C::cbPT, false},
       {"cbPT off", "cbPTClick", "rbParty off", "rbNormal on", "rbNormalClick"},
       {"rbNormal"}},
      {"selecting party ticks the box",
       true,
       {},
       {C::rbParty},
       {"rbNormal off", "rbParty on", "rbNormalClick", "cbPT on", "cbPTClick"},
       {"cbPT", "rbParty"}},
      {"whisper after party unticks the box",
       true,
       {{C::rbParty}},
       {C::rbWisper},
       {"rbParty off", "rbWisper on", "rbNormalClick", "cbPT off", "cbPTClick"},
       {"rbWisper"}},
      {"normal after party unticks the box",
       true,
       {{C::rbParty}},
       {C::rbNormal},
       {"rbParty off", "rbNormal on", "rbNormalClick", "cbPT off", "cbPTClick"},
       {"rbNormal"}},
      {"emote from normal leaves the box",
       true,
       {},
       {C::rbEmote},
       {"rbNormal off", "rbEmote on", "rbNormalClick"},
       {"rbEmote"}},
      {"ticking over yell selects party",
       true,
       {{C::rbYell}},
       {C::cbPT, true},
       {"cbPT on", "cbPTClick", "rbYell off", "rbParty on", "rbNormalClick"},
       {"cbPT", "rbParty"}},
      {"a selected radio clicked again runs nothing",
       true,
       {{C::rbChat}},
       {C::rbChat},
       {},
       {"rbChat"}},
      {"the box set to its state runs nothing",
       true,
       {{C::cbPT, true}},
       {C::cbPT, true},
       {},
       {"cbPT", "rbParty"}},
      {"a radio losing its selection runs nothing",
       true,
       {{C::rbParty}},
       {C::rbParty, false},
       {"rbParty off"},
       {"cbPT"}},
      {"hidden: ticking changes no radio",
       false,
       {},
       {C::cbPT, true},
       {"cbPT on", "cbPTClick"},
       {"cbPT", "rbNormal"}},
      {"hidden: unticking changes no radio",
       false,
       {{C::cbPT, true}},
       {C::cbPT, false},
       {"cbPT off", "cbPTClick"},
       {"rbNormal"}},
  };
  for (const auto& c : cases) {
    SpeechModeControls controls(c.edtTxtVisible);
    for (auto action : c.before) Apply(controls, action);
    std::vector<std::string> events;
    controls.observer = [&](const SpeechEvent& event) { events.push_back(Describe(event)); };
    Apply(controls, c.action);
    EXPECT_EQ(events, c.events) << c.name;
    EXPECT_EQ(StatesOn(controls), c.on_after) << c.name;
  }
}

// What a send reads: every start is unticked on normal; the box goes to the
// party whether or not the radios are shown.
TEST(SpeechMode, ModeReadsTheControls) {
  struct Case {
    bool edtTxtVisible;
    std::vector<Action> actions;
    bool party_box;
    Radio radio;
  };
  const Case cases[] = {
      {false, {}, false, Radio::kNormal},
      {true, {}, false, Radio::kNormal},
      {false, {{C::cbPT, true}}, true, Radio::kNormal},
      {true, {{C::cbPT, true}}, true, Radio::kParty},
      {true, {{C::cbPT, true}, {C::rbNormal}}, false, Radio::kNormal},
      {true, {{C::rbWisper}}, false, Radio::kWisper},
      {true, {{C::rbEmote}}, false, Radio::kEmote},
      {true, {{C::rbParty}, {C::rbYell}}, false, Radio::kYell},
      {true, {{C::rbChat}}, false, Radio::kChat},
  };
  for (const auto& c : cases) {
    SpeechModeControls controls(c.edtTxtVisible);
    for (auto action : c.actions) Apply(controls, action);
    const auto mode = controls.Mode();
    EXPECT_EQ(mode.party_box, c.party_box) << static_cast<int>(c.radio);
    EXPECT_EQ(mode.radio, c.radio) << static_cast<int>(c.radio);
    EXPECT_EQ(mode.free_text_shown, c.edtTxtVisible);
  }
}

}  // namespace
}  // namespace quillomi::ui
