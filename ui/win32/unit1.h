// Unit1: TForm1, the phrase panel. 60 buttons in a grid that reflows with the
// width, the party box, the help labels, and the optional free-text box with
// its speech-mode radio buttons; every phrase it sends goes through
// ComSendMessage.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "delivery/message_sender.h"
#include "phrases/button_file.h"
#include "ui/main_placement.h"
#include "ui/panel_caption.h"
#include "ui/speech_mode.h"
#include "ui/win32/window.h"
#include "ui/win32/window_frame.h"

namespace quillomi::ui::win32 {

using ui::kForm1Caption;

// What the panel needs of the application object and the list window.
struct PanelHooks {
  HWND application_window = nullptr;
  std::function<void()> minimize_application;
  std::function<bool()> application_minimized;
  std::function<void()> restore_application;
  std::function<void()> show_list_window;  // Btn00Click
  // The window exists (its creation handler has not run yet).
  std::function<void(HWND)> window_created;
};

class TForm1 final : public Window, private phrases::ButtonView, private WindowFrame<ui::MainFormFrame> {
 public:
  TForm1(platform::Platform& platform, PanelHooks hooks);
  ~TForm1() override;

  // Creates the window and runs its creation handler; false when the
  // application is to end (a template is missing and the user was told).
  bool Create();

  // The one way every phrase is delivered.
  void ComSendMessage(std::u16string sTxt);
  const std::u16string& sListText1() const { return paths_.sListText1; }

 private:
  enum class MouseButton { kLeft, kRight, kMiddle };

  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  void CreateControls();
  void CreateHints();
  void FormCreate();
  void FormResize();
  void Btn00Click();
  void Btn01MouseDown(int number, MouseButton button);
  bool edtTxtKeyPress(wchar_t key);
  void FormDblClick();
  void FormMouseDown(MouseButton button, int x, int y);
  bool FormClose();
  void OnSpeechControlClicked(SpeechControl control);
  void MirrorSpeechControl(const SpeechEvent& event);
  void SetHintDelay(int initial_ms);
  const std::u16string* HintFor(HWND control) const;
  void LayOutFreeTextControls();

  // phrases::ButtonView
  void SetButton(int number, std::u16string caption, std::u16string hint) override;

  // ui::MainFormFrame, beyond the geometry
  HWND FrameWindow() const override { return hwnd_; }
  void SetSizeable(bool sizeable) override;
  void SetOuterWidth(int width) override;
  void SetOuterHeight(int height) override;

  PanelHooks hooks_;
  UniqueGdiObject font_;
  UniqueGdiObject bold_font_;
  UniqueGdiObject edit_font_;
  UniqueGdiObject background_;
  HWND tooltip_ = nullptr;

  std::u16string sTitle_;
  phrases::DataFilePaths paths_;
  std::vector<std::u16string> list_box1_;  // ListBox1: the raw lines as last loaded
  std::array<HWND, 60> buttons_{};
  std::array<std::optional<std::u16string>, 60> button_hints_;
  std::u16string form_hint_;
  std::vector<std::pair<HWND, std::u16string>> control_hints_;
  std::u16string shown_tip_;

  bool edtTxtVisible_ = false;
  int edtTxt_bottom_gap_ = 0;  // the box follows the bottom edge once placed
  SpeechModeControls speech_{false};
  CompactDisplay compact_;
  std::unique_ptr<delivery::MessageSender> sender_;
  bool ended_ = false;  // a template was missing: the application ends
};

}  // namespace quillomi::ui::win32
