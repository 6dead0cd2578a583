// The system's own reason text for a failed call: what every "%s" reason in the
// program's messages is.
#pragma once

#include <windows.h>

#include <string>

#include "platform/errors.h"

namespace quillomi::win32 {

// FormatMessageW's text for the code, without its trailing blanks, line breaks
// and full stops; empty when the system has no text for it.
std::u16string SystemErrorText(DWORD code);

// An OsFailure for the code, with its system text.
OsFailure Failure(DWORD code);

// An OsFailure for GetLastError(); to be built right after the failing call.
OsFailure LastErrorFailure();

}  // namespace quillomi::win32
