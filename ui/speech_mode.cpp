#include "ui/speech_mode.h"

namespace quillomi::ui {

namespace {

constexpr std::array kRadios = {SpeechControl::rbNormal, SpeechControl::rbParty,
                                SpeechControl::rbWisper, SpeechControl::rbEmote,
                                SpeechControl::rbYell,   SpeechControl::rbChat};

}  // namespace

void SpeechModeControls::SetPartyBox(bool ticked) {
  if (PartyBox() == ticked) return;
  Change(SpeechControl::cbPT, ticked);
  cbPTClick();
}

void SpeechModeControls::SetRadio(SpeechControl radio, bool selected) {
  if (IsSelected(radio) == selected) return;
  if (!selected) {
    Change(radio, false);
    return;
  }
  for (auto other : kRadios) {
    if (other != radio && IsSelected(other)) Change(other, false);
  }
  Change(radio, true);
  rbNormalClick();
}

void SpeechModeControls::cbPTClick() {
  // Hidden radios keep rbNormal, and the box alone decides.
  if (!edtTxtVisible_) return;
  SetRadio(SpeechControl::rbParty, PartyBox());
  for (auto radio : kRadios) {
    if (radio != SpeechControl::rbNormal && IsSelected(radio)) return;
  }
  SetRadio(SpeechControl::rbNormal, true);
}

void SpeechModeControls::rbNormalClick() {
  SetPartyBox(IsSelected(SpeechControl::rbParty));
}

void SpeechModeControls::Change(SpeechControl control, bool checked) {
  checked_[Index(control)] = checked;
  if (observer) observer(control, checked);
}

delivery::SpeechMode SpeechModeControls::Mode() const {
  using Radio = delivery::SpeechMode::Radio;
  delivery::SpeechMode mode;
  mode.party_box = PartyBox();
  mode.free_text_shown = edtTxtVisible_;
  // The radios come in Radio's order, after cbPT.
  for (auto radio : kRadios) {
    if (IsSelected(radio)) mode.radio = static_cast<Radio>(Index(radio) - 1);
  }
  return mode;
}

}  // namespace quillomi::ui
