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

// The system's code for "access denied".
int AccessDeniedError();

// EFCreateError / EFOpenError with the full path and the system's text for the code.
[[noreturn]] void RaiseCreateError(const String& fileName, int errorCode);
[[noreturn]] void RaiseOpenError(const String& fileName, int errorCode);

// Asks the system to back a large block of memory that is about to be filled
// with large pages, where it can: far fewer page faults the first time each
// part is touched. Blocks of a few megabytes or less are left as they are.
void PreferLargePages(void* block, size_t size) noexcept;

}  // namespace files_platform
