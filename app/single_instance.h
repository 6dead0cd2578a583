// The single-instance rule: a start while another copy runs hands over to it.
#pragma once

#include "platform/platform.h"

namespace quillomi::app {

inline constexpr std::u16string_view kInstanceMutexName = u"Quillomi";

enum class InstanceRole { kFirst, kSecond };

// A second instance brings the running copy forward and ends with code 0; a
// mutex that cannot be created makes this copy a first instance.
InstanceRole ClaimInstance(platform::Platform& platform);

}  // namespace quillomi::app
