// Conversions between UTF-8, UTF-16 and the ANSI code pages.
#pragma once

#include "rtl/types.h"

// UTF-8 -> UTF-16. Invalid or truncated sequences, overlong forms, surrogates
// encoded in UTF-8 and values above U+10FFFF each become U+FFFD; the input is
// never read past its end.
String UTF8ToString(std::string_view utf8);
// UTF-16 -> UTF-8. A lone surrogate becomes U+FFFD.
UTF8String StringToUTF8(StringView text);

// Shorthand for ASCII/UTF-8 literals in code that builds Strings.
inline String S(std::string_view utf8) { return UTF8ToString(utf8); }
