// The list window ("TForm3"). Created hidden at start-up, shown by the
// panel's list button, hidden (not destroyed) by its close box. A click on an
// entry sends it through the main window's ComSendMessage.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/list_window.h"
#include "ui/win32/filter_list_control.h"
#include "ui/win32/icon_tiles.h"
#include "ui/win32/window.h"
#include "ui/win32/window_frame.h"

namespace quillomi::ui::win32 {

inline constexpr std::u16string_view kForm3Caption =
    u"一覧\u3000(入力ボックスはフィルター機能です)";

struct ListWindowHooks {
  HWND application_window = nullptr;
  // The main window's ComSendMessage.
  std::function<void(std::u16string)> send;
  // The main window's sListText1, copied once at creation.
  std::u16string sListText1;
};

class ListWindow final : public Window, private WindowFrame<ui::ListFormFrame> {
 public:
  ListWindow(platform::Platform& platform, ListWindowHooks hooks);
  ~ListWindow() override;

  // Creates the window and runs its creation handler; it stays hidden. False
  // when the window could not be made (the user was told).
  bool Create();
  // The panel's list button: show, restore from minimized, raise above the
  // program's other windows and activate, the focus in the filter box.
  void ShowFromPanel();

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  void CreateControls();
  void FormResize();
  void lb1ListClick();
  void btn_EDITClick();
  void btn_RELOADClick();
  // Where the focus was last in the filter list, or its filter box.
  HWND FocusInList() const;

  // ui::ListFormFrame, beyond the geometry
  HWND FrameWindow() const override { return hwnd_; }
  void SetItemHeight(int item_height) override;

  ListWindowHooks hooks_;
  UniqueGdiObject font_;         // the window's and lb1's
  UniqueGdiObject button_font_;  // btnEDIT, btnRELOAD
  UniqueImageList ImageList1_;
  UniqueIcon icon_;  // the class's, for as long as the window lives
  UniqueIcon small_icon_;
  ui::CaptionWidths caption_widths_;  // in the font at hand
  // Destroyed before the window, which it lives in, and before the icons.
  FilterListControl lb1_;
  ui::ListWindowHandlers handlers_;
  HWND focused_ = nullptr;  // in lb1; given back after a button and on activation
};

}  // namespace quillomi::ui::win32
