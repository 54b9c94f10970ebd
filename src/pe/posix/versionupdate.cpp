// Without the platform's resource update there is no way to write a version
// resource back; the caller is told so.
#include "pe/versioninfo.h"

namespace peimage {

bool UpdateVersionResource(const String&, Word, const TBytes&) {
  return false;
}

}  // namespace peimage
