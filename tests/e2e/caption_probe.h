// A window's font lives in the program's own process, where no other process
// can read it: the end-to-end driver hooks this DLL into the program, sends the
// probe message to a control, and the hook measures the control's caption in
// the font the control holds, into shared memory the driver then reads.
#pragma once

#include <windows.h>

namespace quillomi::e2e {

inline constexpr wchar_t kCaptionProbeMessage[] = L"QuillomiCaptionProbe";
inline constexpr wchar_t kCaptionProbeMemory[] = L"Local\\QuillomiCaptionProbe";
inline constexpr char kCaptionProbeHook[] = "CaptionProbeHook";

struct CaptionProbe {
  LONG measured;  // 1 once the hook has filled the rest
  wchar_t face[LF_FACESIZE];
  LONG text_width;  // the caption's extent
  LONG zero_width;  // of "0"
};

}  // namespace quillomi::e2e
