// Operating-system hooks that the portable file code needs beyond files.h.
// Implemented once per platform (posix/, win32/).
#pragma once

#include "rtl/streams.h"
#include "rtl/types.h"

namespace files_platform {

// Creates a file that must not exist yet (read and write, exclusive).
THandle CreateNewFile(const String& fileName);
// Puts `source` in the place of `target` in one step, replacing it if it exists.
bool ReplaceWith(const String& source, const String& target);

// EFCreateError / EFOpenError with the full path and the system's text for the code.
[[noreturn]] void RaiseCreateError(const String& fileName, int errorCode);
[[noreturn]] void RaiseOpenError(const String& fileName, int errorCode);

}  // namespace files_platform
