// The phrase panel's handlers, written against the seam so tests follow each step.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "delivery/message_sender.h"
#include "phrases/button_file.h"
#include "platform/platform.h"
#include "ui/close_retry.h"
#include "ui/layout.h"
#include "ui/main_placement.h"
#include "ui/panel_caption.h"
#include "ui/speech_mode.h"

namespace quillomi::ui {

inline constexpr std::u16string_view kFormHint =
    u"クリックでつまむと移動 / ダブルクリックでコンパクト表示切替";
inline constexpr std::u16string_view kPartyBoxHint = u"チェックを付けるとパーティに発言します";
inline constexpr std::u16string_view kReloaded = u"ボタン内容を再読込しました";
// Line breaks are LF CR pairs.
inline constexpr std::u16string_view kEditInstructions =
    u"ボタンの内容を編集したら、\n\r"
    u"ファイル→上書き保存後、メモ帳は終了し、\n\r"
    u"ボタンをSHIFT+右クリックしてください。\n\r"
    u"ボタン内容が更新されます。\n\r"
    u"\n\r"
    u"【注意事項】\n\r"
    u"行を削除した場合、ボタン数より行数が少ないと、\n\r"
    u"自動的にテンプレートから補完されます。\n\r";

// The speech-mode radios as designed; bottom_gap is the top's distance from the client bottom.
struct RadioDesign {
  SpeechControl control;
  const char16_t* caption;
  int left;
  int bottom_gap;
  int width;
  const char16_t* hint;
};
inline constexpr RadioDesign kRadios[] = {
    {SpeechControl::rbNormal, u"通常", 7, 33, 42, u"通常の発言(周囲９マス)"},
    {SpeechControl::rbParty, u"パーティ", 52, 33, 57, u"パーティ内に発言"},
    {SpeechControl::rbWisper, u"囁き", 109, 33, 42, u"ささやき(周囲１マス)"},
    {SpeechControl::rbEmote, u"感情", 7, 18, 42, u"感情表現(周囲７マス)"},
    {SpeechControl::rbChat, u"チャット", 52, 18, 57, u"チャット内に発言"},
    {SpeechControl::rbYell, u"叫び", 109, 18, 42, u"大声で叫ぶ(周囲１８マス)"},
};

inline constexpr const char16_t* kLabels[] = {
    u"※ アプリの大きさはフチをつまんで変更可能です。例えば20行3列にしたり、3行20列にしたりなど。",
    u"※ ボタンの無い場所(クリーム色)をダブルクリックすることで、スマート表示の切り替えができます。",
    u"※ ボタン内容編集はボタンを右クリックにて。編集後は上書きした後にボタンをSHIFT＋右クリック。",
    u"※ "
    u"コマンドなど必ず通常発言にしたい言葉があれば「QLMO_"
    u"通常発言リスト」をメモ帳で開いてそこに羅列してください。",
};

// What a press on a phrase button does, from the mouse button and the keys
// held at that moment. Ctrl makes no difference either way.
enum class PressedButton { kLeft, kRight, kMiddle };
enum class ButtonAction { kNothing, kSend, kEdit, kReload };

inline ButtonAction DecideButtonPress(PressedButton button, bool shift_held, bool alt_held) {
  if (button == PressedButton::kRight)
    return shift_held ? ButtonAction::kReload : ButtonAction::kEdit;
  if (button == PressedButton::kLeft && !shift_held && !alt_held) return ButtonAction::kSend;
  return ButtonAction::kNothing;
}

// A control of the panel, as hints and clicks name it.
struct PanelControl {
  enum class Kind { kBackground, kButton, kPartyBox, kEdtTxt, kRadio, kLabel };
  Kind kind = Kind::kBackground;
  int index = 0;  // button number, index in kRadios or in kLabels
};

// The control of a panel child's id; the background for any other.
PanelControl PanelControlOfId(int id);

// The panel as its handlers see it.
class PanelView : public MainFormFrame {
 public:
  virtual platform::WindowHandle Handle() const = 0;
  virtual void SetHintDelay(int initial_ms) = 0;
  virtual void SetButtonCaption(int number, std::u16string_view caption) = 0;
  // The free-text box's font, in points.
  virtual void SetEdtTxtFont(int points) = 0;
  // edtTxt and the radio buttons appear; the labels move to make room.
  virtual void ShowFreeTextControls() = 0;
  // edtTxt keeps its distance to the client area's bottom, the radios theirs.
  virtual void LayOutFreeTextControls(int edtTxt_bottom_gap) = 0;
  virtual std::u16string EdtTxtText() const = 0;
  virtual void EmptyEdtTxt() = 0;
  virtual void RaiseEdtTxt() = 0;
  virtual void SetChecked(SpeechControl control, bool checked) = 0;
  virtual void ShowListWindow() = 0;
};

class PanelHandlers final : private phrases::ButtonView {
 public:
  PanelHandlers(platform::Platform& platform, PanelView& view);
  ~PanelHandlers() override;

  // False when the application is to end (a template is missing, the user told).
  bool FormCreate();
  // The one way every phrase is delivered.
  void ComSendMessage(std::u16string_view sTxt);
  void Btn00Click() { view_.ShowListWindow(); }
  void Btn01MouseDown(int number, PressedButton button);
  // A character typed into edtTxt; true when it was Enter and is used up.
  bool edtTxtKeyPress(char16_t key);
  void ControlClicked(SpeechControl control);
  void FormDblClick();
  // True when the window may close. A save that fails keeps it open once.
  bool FormClose();

  // What the control's tool tip shows, before the first "|".
  std::u16string_view HintFor(PanelControl control) const;

  const std::u16string& sListText1() const { return paths_.sListText1; }

 private:
  // phrases::ButtonView
  void SetButton(int number, std::u16string caption, std::u16string hint) override;

  platform::Platform& platform_;
  PanelView& view_;

  phrases::DataFilePaths paths_;
  std::vector<std::u16string> list_box1_;  // ListBox1: the raw lines as last loaded
  std::array<std::optional<std::u16string>, iBtnCount> button_hints_;
  std::u16string form_hint_;
  bool party_box_hint_ = false;
  bool radio_hints_ = false;
  SpeechModeControls speech_{false};
  CompactDisplay compact_;
  CloseRetry close_;
  delivery::MessageSender sender_{platform_};
};

}  // namespace quillomi::ui
