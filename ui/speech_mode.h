// cbPT and the six speech radios, kept in step by their click handlers. Win32
// sends no click when a program sets a check, so this model runs the handlers:
// a change of the box runs cbPTClick; selecting a radio runs rbNormalClick.
#pragma once

#include <array>
#include <functional>
#include <utility>

#include "delivery/message_preparation.h"

namespace quillomi::ui {

// The radios in delivery::SpeechMode::Radio's order.
enum class SpeechControl { cbPT, rbNormal, rbParty, rbWisper, rbEmote, rbYell, rbChat };

class SpeechModeControls {
 public:
  // The party box unticked and rbNormal selected, as every start begins.
  explicit SpeechModeControls(bool edtTxtVisible,
                              std::function<void(SpeechControl, bool)> told = {})
      : observer(std::move(told)), edtTxtVisible_(edtTxtVisible) {}

  void SetPartyBox(bool ticked);
  void SetRadio(SpeechControl radio, bool selected);

  bool PartyBox() const { return checked_[Index(SpeechControl::cbPT)]; }
  bool IsSelected(SpeechControl radio) const { return checked_[Index(radio)]; }
  // The mode a send reads from the controls.
  delivery::SpeechMode Mode() const;

  // Told of every control's new state; the panel mirrors it.
  std::function<void(SpeechControl, bool checked)> observer;

 private:
  static constexpr std::size_t Index(SpeechControl control) {
    return static_cast<std::size_t>(control);
  }
  void cbPTClick();
  void rbNormalClick();
  void Change(SpeechControl control, bool checked);

  bool edtTxtVisible_;
  std::array<bool, 7> checked_{false, true, false, false, false, false, false};
};

}  // namespace quillomi::ui
