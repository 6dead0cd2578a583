// The phrase panel ("TForm1"): makes the controls, decodes their messages and
// paints; PanelHandlers decides.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "ui/panel_handlers.h"
#include "ui/win32/hint_tips.h"
#include "ui/win32/window_frame.h"

namespace quillomi::ui::win32 {

// What the panel needs of the application object and the list window.
struct PanelHooks {
  // Minimizing and restoring are its own: both windows go with it.
  HWND application_window = nullptr;
  std::function<void()> show_list_window;  // Btn00Click
  // The window exists (its creation handler has not run yet).
  std::function<void(HWND)> window_created;
};

class PanelWindow final : public WindowFrame<ui::PanelView> {
 public:
  PanelWindow(platform::Platform& platform, PanelHooks hooks);
  ~PanelWindow() override;

  // False when the application is to end (the user was told).
  bool Create();

  // The list window sends through them, and reads sListText1 once.
  ui::PanelHandlers& Handlers() { return handlers_; }

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  void CreateControls();
  // A control with its font and its tool; box is left, top, width, height.
  HWND AddPanelControl(const wchar_t* class_name, const std::u16string& text, DWORD style,
                       DWORD ex_style, RECT box, int id, HGDIOBJ font);
  void FormResize();
  // The free-text box, when it is shown.
  HWND FirstFocus() const override { return IsWindowVisible(edtTxt_) ? edtTxt_ : nullptr; }

  // ui::PanelView, beyond the geometry
  platform::WindowHandle Handle() const override { return ui::win32::Handle(hwnd_); }
  void SetHintDelay(int initial_ms) override { tips_.SetDelay(initial_ms); }
  void SetButtonCaption(int number, std::u16string_view caption) override;
  void SetEdtTxtFont(int points) override;
  void ShowFreeTextControls() override;
  void LayOutFreeTextControls(int edtTxt_bottom_gap) override;
  std::u16string EdtTxtText() const override { return TextOf(edtTxt_); }
  void EmptyEdtTxt() override { SetWindowTextW(edtTxt_, L""); }
  void RaiseEdtTxt() override {
    SetWindowPos(edtTxt_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  void SetChecked(SpeechControl control, bool checked) override;
  void ShowListWindow() override {
    if (hooks_.show_list_window) hooks_.show_list_window();
  }
  void SetSizeable(bool sizeable) override;
  void SetOuterSize(Size outer) override { Resize(outer); }

  PanelHooks hooks_;
  UniqueGdiObject font_;
  UniqueGdiObject bold_font_;
  UniqueGdiObject edit_font_;
  UniqueGdiObject background_;
  HintTips tips_;
  std::array<HWND, iBtnCount> buttons_{};
  std::array<HWND, std::size(kRadios)> radios_{};
  std::array<HWND, std::size(kLabels)> labels_{};
  HWND cbPT_ = nullptr;
  HWND edtTxt_ = nullptr;
  int edtTxt_bottom_gap_ = 0;  // the box follows the bottom edge once placed
  bool laying_out_ = true;     // until created: the placement's steps lay out once, at the end
  PanelHandlers handlers_;
};

}  // namespace quillomi::ui::win32
