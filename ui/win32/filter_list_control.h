// lb1: a filter box and find button over a virtual owner-drawn list box that
// stores only the row count, so a million entries load and filter at once.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "phrases/phrase_list.h"
#include "ui/filter.h"
#include "ui/filter_list_input.h"
#include "ui/win32/window.h"

namespace quillomi::ui::win32 {

class FilterListControl final : public Window, public phrases::PhraseListView {
 public:
  explicit FilterListControl(platform::Platform& platform);

  // `icons` (ImageList1) must outlive the control.
  void Create(HWND parent, HFONT font, HIMAGELIST icons);

  // The rows are as high as the icons need, or higher.
  void SetItemHeight(int item_height);
  HWND FilterBox() const { return filter_box_; }

  // Every selection of an entry the user makes, none the program makes.
  std::function<void(std::u16string_view raw_line)> on_click;

  // The rows are shown afresh, without a selection.
  void Clear() override { Assign({}); }
  void Assign(phrases::PhraseEntries entries) override;

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  void LayOut();
  void FilterTextChanged() { ApplyFilter(find_.TextChanged(TextOf(filter_box_))); }
  void ApplyFilter(std::u16string_view filter_text);
  // Shows the rows afresh; the entry given stays selected when every entry is shown.
  void ShowRows(std::optional<std::size_t> selected_entry);
  std::optional<std::size_t> SelectedRow() const;
  // The entry in the selected row, as its index in the full list.
  std::optional<std::size_t> SelectedEntry() const;
  void Notify();

  std::optional<LRESULT> FilterBoxMessage(UINT message, WPARAM wparam);
  std::optional<LRESULT> RowsMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void DrawRow(const DRAWITEMSTRUCT& item) const;
  void DrawFindButton(const DRAWITEMSTRUCT& item) const;

  FilterList entries_;
  FindButton find_;
  RowClickRule clicks_;
  HFONT font_ = nullptr;
  HIMAGELIST icons_ = nullptr;
  int row_height_;
  int filter_box_height_ = 0;
  HWND filter_box_ = nullptr;
  HWND find_button_ = nullptr;
  HWND rows_ = nullptr;
  // Esc empties the box: its own change notification is not a second filter.
  bool emptying_ = false;
};

}  // namespace quillomi::ui::win32
