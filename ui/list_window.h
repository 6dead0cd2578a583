// The list window's handlers and layout, written against the seam so tests follow each step.
#pragma once

#include <string>
#include <string_view>

#include "phrases/phrase_list.h"
#include "platform/platform.h"
#include "ui/close_retry.h"
#include "ui/form_geometry.h"
#include "ui/layout.h"
#include "ui/panel_handlers.h"

namespace quillomi::ui {

// The edit button's message; its line breaks are LF CR pairs.
inline constexpr std::u16string_view kEditListMessage =
    u"リストの編集を行います。\n\r\n\r"
    u"メモ帳が起動するので内容を編集したら、\n\r"
    u"上書き保存し、メモ帳を閉じてください。\n\r"
    u"その後、[リスト再読込]をクリックすると、\n\r"
    u"変更内容がリストに反映されます。\n\r\n\r"
    u"【留意事項】\n\r"
    u"1. 行頭を◆で始めることでアイコンの色が変わります。\n\r"
    u"2. []内の文字はコピーされません。説明用にどうぞ。";

// The list window as its handlers see it.
class ListFormFrame : public FormGeometry {
 public:
  // lb1's item height.
  virtual void SetItemHeight(int item_height) = 0;
};

class ListWindowHandlers {
 public:
  // lb1 is what a load fills.
  ListWindowHandlers(platform::Platform& platform, ListFormFrame& form,
                     phrases::PhraseListView& lb1, PanelHandlers& panel);

  // Placement first, the list last: an unreadable list throws with lb1 empty.
  void FormCreate(std::u16string_view sListText1);
  // Saves the place and client size; true when the window may hide.
  bool FormClose();
  // The click notification, with the selected entry's raw line.
  void lb1ListClick(std::u16string_view text);
  void btn_EDITClick(platform::WindowHandle list_window);
  // A read or decoding failure throws UserError and leaves lb1 empty.
  void btn_RELOADClick() { LoadList(); }

 private:
  void LoadList();

  platform::Platform& platform_;
  ListFormFrame& form_;
  phrases::PhraseListView& lb1_;
  PanelHandlers& panel_;

  std::u16string sListFile_;
  CloseRetry close_;
};

// A control's place in the client area.
struct ControlBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const ControlBox&, const ControlBox&) = default;
};

struct ListWindowLayout {
  ControlBox lb1;
  ControlBox btnEDIT;
  ControlBox btnRELOAD;
  ControlBox Label1;
  friend bool operator==(const ListWindowLayout&, const ListWindowLayout&) = default;
};

// What the captions of the row below lb1 need, in pixels; 0 for no need.
struct CaptionWidths {
  int btnEDIT = 0;
  int btnRELOAD = 0;
  int Label1 = 0;
};

// lb1 is anchored to all four edges, the others to the left and bottom. A
// caption wider than designed widens its control and moves those right of it.
inline constexpr Size kListWindowDesignClient{356, 320};
ListWindowLayout LayOutListWindow(Size client, CaptionWidths needed = {});

}  // namespace quillomi::ui
