// No locale service is trusted here: the deterministic order keeps results
// the same on every machine.
#include "rtl/sysstr_platform.h"

namespace sysstr_platform {

const TTextCollator& PlatformTextCollator() {
  static const TInvariantTextCollator collator;
  return collator;
}

}  // namespace sysstr_platform
