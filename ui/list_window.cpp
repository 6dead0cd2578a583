#include "ui/list_window.h"

#include <algorithm>

#include "delivery/game_delivery.h"
#include "phrases/button_file.h"
#include "phrases/settings.h"

namespace quillomi::ui {

namespace {

using phrases::kSettingsSection;

constexpr GeometryKeys kKeys{u"Form3Top", u"Form3Left", u"Form3ClientWidth", u"Form3ClientHeight"};

constexpr int kDefaultClientWidth = 372;
constexpr int kDefaultClientHeight = 320;

// Designed at 0, 0 in the design client area.
constexpr ControlBox kLb1{0, 0, 356, 297};
constexpr ControlBox kBtnEdit{0, 298, 60, 22};
constexpr ControlBox kBtnReload{60, 298, 72, 22};
constexpr ControlBox kLabel1{152, 298, 119, 17};
constexpr int kGapBeforeLabel1 = kLabel1.left - (kBtnReload.left + kBtnReload.width);

ControlBox AnchoredLeftBottom(ControlBox design, Size client) {
  design.top += client.height - kListWindowDesignClient.height;
  return design;
}

}  // namespace

ListWindowHandlers::ListWindowHandlers(platform::Platform& platform, ListFormFrame& form,
                                       phrases::PhraseListView& lb1, PanelHandlers& panel)
    : platform_(platform), form_(form), lb1_(lb1), panel_(panel) {}

void ListWindowHandlers::FormCreate(std::u16string_view sListText1) {
  form_.SetItemHeight(ListItemHeight(platform_.screen.DpiX()));
  sListFile_ = sListText1;
  const auto settings = phrases::SettingsDocument::OpenForExecutable(platform_.files);
  // From the outer size as created, before the stored client size changes it.
  const platform::Rect outer = form_.Outer();
  const Point defaults =
      ListWindowDefaultPosition(SizeOf(platform_.screen.WorkArea()), SizeOf(outer));
  const Point place{settings.ReadInteger(kSettingsSection, kKeys.left, defaults.left),
                    settings.ReadInteger(kSettingsSection, kKeys.top_or_bottom, defaults.top)};
  const Size client{
      settings.ReadInteger(kSettingsSection, kKeys.client_width, kDefaultClientWidth),
      settings.ReadInteger(kSettingsSection, kKeys.client_height, kDefaultClientHeight)};
  const platform::Rect window{place.left, place.top,
                              place.left + outer.Width() - form_.Client().width + client.width,
                              place.top + outer.Height() - form_.Client().height + client.height};
  form_.MoveTo(PlaceInReach(window, platform_.screen.MonitorWorkAreas()));
  form_.SetClientSize(client);
  LoadList();
}

bool ListWindowHandlers::FormClose() {
  return close_.Close([this] { SaveGeometry(form_, kKeys, platform_.files); }, platform_.dialogs);
}

void ListWindowHandlers::lb1ListClick(std::u16string_view text) {
  if (text.find(phrases::kHeadingMark) != std::u16string_view::npos) {
    // A heading is never sent, and what the clipboard held is gone.
    delivery::PutOnClipboard(platform_.clipboard, u"");
    return;
  }
  panel_.ComSendMessage(text);
}

void ListWindowHandlers::btn_EDITClick(platform::WindowHandle list_window) {
  platform_.dialogs.ShowMessage(kEditListMessage);
  platform_.shell.OpenNotepad(list_window, sListFile_, phrases::ProgramDirectory(sListFile_));
}

void ListWindowHandlers::LoadList() {
  lb1_.Clear();
  lb1_.Assign(phrases::ReadPhraseList(platform_.files, sListFile_));
}

ListWindowLayout LayOutListWindow(Size client, CaptionWidths needed) {
  ControlBox lb1 = kLb1;
  lb1.width += client.width - kListWindowDesignClient.width;
  lb1.height += client.height - kListWindowDesignClient.height;
  ControlBox edit = AnchoredLeftBottom(kBtnEdit, client);
  ControlBox reload = AnchoredLeftBottom(kBtnReload, client);
  ControlBox label = AnchoredLeftBottom(kLabel1, client);
  edit.width = std::max(edit.width, needed.btnEDIT);
  reload.left = std::max(reload.left, edit.left + edit.width);
  reload.width = std::max(reload.width, needed.btnRELOAD);
  label.left = std::max(label.left, reload.left + reload.width + kGapBeforeLabel1);
  label.width = std::max(label.width, needed.Label1);
  return {lb1, edit, reload, label};
}

}  // namespace quillomi::ui
