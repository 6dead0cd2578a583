// The list window ("TForm3"): made hidden, shown by the list button, hidden
// again by its close box.
#pragma once

#include <string>

#include "ui/list_window.h"
#include "ui/win32/filter_list_control.h"
#include "ui/win32/window_frame.h"

namespace quillomi::ui::win32 {

inline constexpr std::u16string_view kForm3Caption =
    u"一覧\u3000(入力ボックスはフィルター機能です)";

class ListWindow final : public WindowFrame<ui::ListFormFrame> {
 public:
  // Owned by the application window; a click goes to the panel's ComSendMessage.
  ListWindow(platform::Platform& platform, HWND application_window, ui::PanelHandlers& panel);
  ~ListWindow() override;

  // Stays hidden; false when the window could not be made (the user was told).
  bool Create();
  // The panel's list button: shown, restored, raised, the focus in the filter box.
  void ShowFromPanel();

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  void CreateControls();
  void FormResize();
  // The buttons never keep the keyboard: it stays in the filter list.
  HWND FirstFocus() const override { return lb1_.FilterBox(); }
  bool KeepsFocus(HWND control) const override {
    return control != btnEDIT_ && control != btnRELOAD_;
  }

  // ui::ListFormFrame, beyond the geometry
  void SetItemHeight(int item_height) override { lb1_.SetItemHeight(item_height); }

  HWND application_window_;
  ui::PanelHandlers& panel_;
  UniqueGdiObject font_;         // the window's and lb1's
  UniqueGdiObject button_font_;  // btnEDIT, btnRELOAD
  UniqueImageList ImageList1_;
  UniqueIcon icon_;  // the class's, for as long as the window lives
  UniqueIcon small_icon_;
  ui::CaptionWidths caption_widths_;  // in the font at hand
  // Destroyed before the window, which it lives in, and before the icons.
  FilterListControl lb1_;
  ui::ListWindowHandlers handlers_;
  HWND btnEDIT_ = nullptr;
  HWND btnRELOAD_ = nullptr;
  HWND Label1_ = nullptr;
};

}  // namespace quillomi::ui::win32
