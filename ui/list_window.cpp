#include "ui/list_window.h"

#include <algorithm>
#include <utility>

#include "delivery/game_delivery.h"
#include "phrases/button_file.h"
#include "phrases/settings.h"
#include "platform/errors.h"

namespace quillomi::ui {

namespace {

using phrases::kSettingsSection;

constexpr std::u16string_view kForm3Top = u"Form3Top";
constexpr std::u16string_view kForm3Left = u"Form3Left";
constexpr std::u16string_view kForm3ClientWidth = u"Form3ClientWidth";
constexpr std::u16string_view kForm3ClientHeight = u"Form3ClientHeight";

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
                                       phrases::PhraseListView& lb1, const FilterList& entries,
                                       PanelHandlers& panel)
    : platform_(platform), form_(form), lb1_(lb1), entries_(entries), panel_(panel) {}

void ListWindowHandlers::FormCreate(std::u16string_view sListText1) {
  form_.SetItemHeight(ListItemHeight(platform_.screen.DpiX()));
  sListFile_ = sListText1;
  {
    const auto settings = phrases::SettingsDocument::OpenForExecutable(platform_.files);
    const platform::Rect work = platform_.screen.WorkArea();
    // From the outer size as created, before the stored client size changes it.
    const Point defaults = ListWindowDefaultPosition({work.Width(), work.Height()},
                                                     {form_.OuterWidth(), form_.OuterHeight()});
    Point place{0, settings.ReadInteger(kSettingsSection, kForm3Top, defaults.top)};
    place.left = settings.ReadInteger(kSettingsSection, kForm3Left, defaults.left);
    const int client_width =
        settings.ReadInteger(kSettingsSection, kForm3ClientWidth, kDefaultClientWidth);
    const int client_height =
        settings.ReadInteger(kSettingsSection, kForm3ClientHeight, kDefaultClientHeight);
    // Out of the player's reach there, it moves just far enough back.
    const platform::Rect window{
        place.left, place.top, place.left + form_.OuterWidth() - form_.ClientWidth() + client_width,
        place.top + form_.OuterHeight() - form_.ClientHeight() + client_height};
    const auto work_areas = platform_.screen.MonitorWorkAreas();
    if (!WindowInReach(window, work_areas)) place = MoveIntoReach(window, work_areas);
    form_.SetTop(place.top);
    form_.SetLeft(place.left);
    form_.SetClientWidth(client_width);
    form_.SetClientHeight(client_height);
  }
  LoadList();
}

bool ListWindowHandlers::FormClose() {
  return close_.Close(
      [this] {
        auto settings = phrases::SettingsDocument::OpenForExecutable(platform_.files);
        settings.WriteInteger(kSettingsSection, kForm3Top, form_.Top());
        settings.WriteInteger(kSettingsSection, kForm3Left, form_.Left());
        settings.WriteInteger(kSettingsSection, kForm3ClientWidth, form_.ClientWidth());
        settings.WriteInteger(kSettingsSection, kForm3ClientHeight, form_.ClientHeight());
        settings.Save();
      },
      platform_.dialogs);
}

void ListWindowHandlers::lb1ListClick(std::optional<std::size_t> selected_entry) {
  if (!selected_entry) return;
  const std::u16string_view text = entries_.EntryText(*selected_entry);
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
