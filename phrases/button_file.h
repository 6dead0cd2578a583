// The data-file paths, the first-run copies of the templates, and the button
// definition file: its reading, its one-time filling-up to a line per phrase
// button, and the captions and hints the buttons take from it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "phrases/text_file.h"
#include "platform/platform.h"

namespace quillomi::phrases {

// iBtnCount − 1: Btn00 is the list button, Btn01..Btn59 carry phrases.
inline constexpr int kPhraseButtonCount = 59;

inline constexpr std::u16string_view kListTemplateName = u"Quillomi_Lst.dll";
inline constexpr std::u16string_view kListFileName = u"QLMO_一覧_ユーザー設定.txt";
inline constexpr std::u16string_view kButtonTemplateName = u"Quillomi_Btn.dll";
inline constexpr std::u16string_view kButtonFileName = u"QLMO_ボタン_ユーザー設定.txt";

// The main window's four paths, set once at its creation.
struct DataFilePaths {
  std::u16string sListText0;  // phrase list template
  std::u16string sListText1;  // phrase list file
  std::u16string sBtnText0;   // button definition template
  std::u16string sBtnText1;   // button definition file
};

// The directory part of the executable's full path, with its trailing separator.
std::u16string ProgramDirectory(std::u16string_view executable_path);
DataFilePaths ResolveDataFilePaths(std::u16string_view executable_path);

enum class Preparation {
  kReady,
  kEndApplication,  // a template is missing and the user has been told so
};

// Tests the templates (the list's first) and copies each one whose user file is
// missing. A failed copy throws UserError with the system's reason.
[[nodiscard]] Preparation PrepareDataFiles(platform::Platform& platform,
                                           const DataFilePaths& paths);

// The three string rules by which a line gives its button a label and a hint.
std::u16string_view ButtonLabel(std::u16string_view line);
// The label's first 5 UTF-16 code units; a pair cut at the fifth unit keeps its
// high surrogate alone.
std::u16string_view ButtonCaption(std::u16string_view label);
std::u16string_view ButtonHint(std::u16string_view line);
// "[n]" followed by U+3000.
std::u16string PlaceholderLine(int number);

// A button definition file as decoded: its encoding and mark decide how a
// filling-up writes it back, UTF-8 with or without its mark. text runs to the
// end of the bytes, past a U+0000 if any.
struct ButtonFileText {
  Encoding encoding = Encoding::kAnsi;
  std::size_t mark_length = 0;
  std::u16string text;
};
// By the mark; without one, valid UTF-8 with a sequence of three or four bytes
// is UTF-8, anything else the ANSI code page, leniently. Throws the mapping
// error for bad UTF-8 after its mark.
ButtonFileText DecodeButtonFile(platform::Text& text, const platform::Bytes& bytes);

// What LoadButton needs of the phrase buttons.
class ButtonView {
 public:
  virtual ~ButtonView() = default;
  // Sets the caption and hint of phrase button `number` (1..59) and turns its hint on.
  virtual void SetButton(int number, std::u16string caption, std::u16string hint) = 0;
};

// Reads sBtnText1 into list_box1 (ListBox1) and gives buttons 1..min(lines, 59)
// their caption and hint; the others keep theirs.
void LoadButton(platform::Platform& platform, std::u16string_view sBtnText1,
                std::vector<std::u16string>& list_box1, ButtonView& buttons);

// At start-up: a file of fewer than 59 lines gets the placeholder lines of the
// missing buttons and is saved once, then loaded as LoadButton does; a file
// that needs nothing is shown from its one read.
void FillButtonFile(platform::Platform& platform, std::u16string_view sBtnText1,
                    std::vector<std::u16string>& list_box1, ButtonView& buttons);

}  // namespace quillomi::phrases
