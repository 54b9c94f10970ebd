// What the code page conversions ask of the platform. Internal: implemented in
// win32/ (through the system's own conversion API) and posix/ (no code pages
// beyond the built-in tables).
#pragma once

#include "rtl/types.h"

namespace codepage_platform {

// The system's ANSI code page.
Word SystemAnsiCodePage();
// Whether the platform can convert this (non-built-in) code page.
bool Supports(Word codePage);
// Whether every character of this (non-built-in) code page is one byte.
bool IsSingleByte(Word codePage);
bool IsLeadByte(Byte b, Word codePage);
// Conversions for code pages the platform supports; callers check Supports first.
String Decode(std::string_view bytes, Word codePage);
AnsiString Encode(StringView text, Word codePage, bool* lossy);

}  // namespace codepage_platform
