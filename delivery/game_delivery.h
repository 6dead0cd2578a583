// Game client delivery: finds the running game client and makes it paste and
// speak what the clipboard holds.
#pragma once

#include <string_view>

#include "platform/platform.h"
#include "res/identities.h"

namespace quillomi::delivery {

inline constexpr std::u16string_view kClassicClientClass = u"Ultima Online";
inline constexpr std::u16string_view kEcTitleMarker = u"UOSA ";
inline constexpr std::u16string_view kEcKeyTargetClass = u"UOWIN";
// SDL's default class, which other SDL games share: ClassicUO is told by its title.
inline constexpr std::u16string_view kClassicUOClass = u"SDL_app";
inline constexpr std::u16string_view kClassicUOTitleMarker = u"ClassicUO";
using ids::kPanelClass;

// Appended to the panel's own title once an EC client has been served.
inline constexpr std::u16string_view kEcNote =
    u"\u3000 (注)ECではチャット欄にCtrl+Vにて貼り付けて発言してください";
// Line breaks are LF CR, in that order.
inline constexpr std::u16string_view kNotFoundMessage =
    u"起動中のＵＯが見つからなくて発言できなかったよ！\n\r\n\r"
    u"選択した文字はクリップボードに記憶したから、\n\r"
    u"ＵＯに[Ctrl]+[V]キーで貼り付けて[Enter]にて発言してね！";

enum class GameClient { kNone, kClassic, kEc, kClassicUO };

// What FindUOandPase needs of the main window.
struct PanelState {
  bool bNoEnter = false;
  std::u16string_view sTitle;              // the caption as it was when the window was made
  platform::WindowHandle main_window = 0;  // gets the EC note
};

// Sets the clipboard's text; one that cannot be opened becomes the user error
// that names the system's reason.
void PutOnClipboard(platform::Clipboard& clipboard, std::u16string_view text);

// Serves the classic client if there is one, else the first EC client, else
// the first ClassicUO, else tells the user to paste by hand. Returns when it is
// over, with the client served. text is what the clipboard holds: ClassicUO
// gets it in parts.
GameClient FindUOandPase(platform::Platform& platform, const PanelState& panel,
                         std::u16string_view text = {});

}  // namespace quillomi::delivery
