// The program's identities, in one place: resource ids (also read by the
// resource script, hence plain macros outside RC_INVOKED-guarded C++), window
// class names that other instances and the delivery look for, and the ids of
// the windows' controls, which the end-to-end tests address too.
#ifndef QUILLOMI_RES_IDENTITIES_H
#define QUILLOMI_RES_IDENTITIES_H

#define QUILLOMI_ICON_APPLICATION 1
#define QUILLOMI_ICON_LIST 2

#ifndef RC_INVOKED

#include <string_view>

namespace quillomi::ids {

inline constexpr int kApplicationIcon = QUILLOMI_ICON_APPLICATION;
inline constexpr int kListIcon = QUILLOMI_ICON_LIST;

// The title of the task-bar entry and of every message box.
inline constexpr std::u16string_view kApplicationTitle = u"Quillomi";

// Window classes: never rename them. A second instance and the delivery search
// for "TForm1"; "TForm3" is the list window's own.
inline constexpr std::u16string_view kPanelClass = u"TForm1";
inline constexpr std::u16string_view kListWindowClass = u"TForm3";
inline constexpr std::u16string_view kApplicationClass = u"QuillomiApplication";
inline constexpr std::u16string_view kFilterListClass = u"QuillomiFilterList";

// The panel's controls.
inline constexpr int kPanelButton = 1000;  // + button number, 0 = the list button
inline constexpr int kPartyBox = 1100;
inline constexpr int kEdtTxt = 1101;
inline constexpr int kSpeechRadio = 1110;  // + index, rbNormal first
inline constexpr int kPanelLabel = 1120;   // + label index

// The list window's controls.
inline constexpr int kLb1 = 1;
inline constexpr int kBtnEdit = 2;
inline constexpr int kBtnReload = 3;
inline constexpr int kLabel1 = 4;

// The filter list's own children.
inline constexpr int kFilterBox = 1;
inline constexpr int kFindButton = 2;
inline constexpr int kRows = 3;

// Messages of the program's own.
inline constexpr unsigned kRunDeferred = 0x8000 + 1;  // WM_APP + 1, to the application window
inline constexpr unsigned kStartHints = 0x8000 + 2;   // to the panel, once it is up

}  // namespace quillomi::ids

#endif  // RC_INVOKED
#endif  // QUILLOMI_RES_IDENTITIES_H
