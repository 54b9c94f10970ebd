// The platform's own text collator. Internal: win32/ compares in the user's
// locale, posix/ uses the invariant order.
#pragma once

#include "rtl/sysstr.h"

namespace sysstr_platform {

const TTextCollator& PlatformTextCollator();

}  // namespace sysstr_platform
