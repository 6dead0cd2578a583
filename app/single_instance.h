// The single-instance rule: a start while another copy runs hands over to it.
#pragma once

#include "platform/platform.h"

namespace quillomi::app {

inline constexpr std::u16string_view kInstanceMutexName = u"Quillomi";

enum class InstanceRole { kFirst, kSecond };

// A second instance asks the running copy's main window to restore itself and
// come to the foreground, and is to end at once with exit code 0. A mutex that
// cannot be created makes this copy a first instance without the rule in force.
InstanceRole ClaimInstance(platform::Platform& platform);

}  // namespace quillomi::app
