// Writes a version resource into an executable through the platform's
// resource update.
#include <windows.h>

#include "pe/versioninfo.h"

namespace peimage {

bool UpdateVersionResource(const String& fileName, Word language, const TBytes& resource) {
  HANDLE update = BeginUpdateResourceW(reinterpret_cast<const wchar_t*>(fileName.c_str()), FALSE);
  if (!update) return false;
  BOOL written = UpdateResourceW(update, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1), language,
                                 const_cast<Byte*>(resource.data()), static_cast<DWORD>(resource.size()));
  if (!written) {
    EndUpdateResourceW(update, TRUE);
    return false;
  }
  return EndUpdateResourceW(update, FALSE) != FALSE;
}

}  // namespace peimage
