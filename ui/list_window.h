// The list window's handlers apart from the window itself: the creation, the close, a
// click on an entry, the edit and reload buttons, and where the anchored
// controls go. Written against the seam and the few window operations they
// need, so that tests follow each step in its order.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "phrases/phrase_list.h"
#include "platform/platform.h"
#include "ui/close_retry.h"
#include "ui/filter.h"
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
  // lb1 is what a load fills, entries what it then holds; a click goes to
  // the panel's ComSendMessage.
  ListWindowHandlers(platform::Platform& platform, ListFormFrame& form,
                     phrases::PhraseListView& lb1, const FilterList& entries, PanelHandlers& panel);

  // The creation handler. Placement first, the list last: a list that
  // cannot be read throws UserError with the window placed and lb1 empty.
  void FormCreate(std::u16string_view sListText1);
  // Writes the window's place and client size; true when the window may
  // hide. A settings file that cannot be read or written throws UserError the
  // first time (the window stays shown) and is let go the second time.
  bool FormClose();
  // The click notification, with the selected entry's index in the full list.
  void lb1ListClick(std::optional<std::size_t> selected_entry);
  void btn_EDITClick(platform::WindowHandle list_window);
  // Empties lb1, then fills it from sListFile; a read or decoding failure
  // throws UserError and leaves lb1 empty.
  void btn_RELOADClick() { LoadList(); }

 private:
  void LoadList();

  platform::Platform& platform_;
  ListFormFrame& form_;
  phrases::PhraseListView& lb1_;
  const FilterList& entries_;
  PanelHandlers& panel_;

  // Window-level state: the phrase list file's full path, copied once
  // at creation.
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

// The design client area; the controls keep their distances to the edges
// they are anchored to: lb1 to all four, the others to the left and bottom.
// A caption that needs more room than designed (a wider font stands in for
// the designed one) widens its control, and those right of it move along.
inline constexpr Size kListWindowDesignClient{356, 320};
ListWindowLayout LayOutListWindow(Size client, CaptionWidths needed = {});

}  // namespace quillomi::ui
