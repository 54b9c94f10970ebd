// Basic types shared by every library: the platform's integer and string kinds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Byte = std::uint8_t;
using ShortInt = std::int8_t;
using Word = std::uint16_t;
using SmallInt = std::int16_t;
using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongWord = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
// Pointer-sized integers.
using NativeInt = std::intptr_t;
using NativeUInt = std::uintptr_t;

// Text is UTF-16: positions and lengths count UTF-16 code units.
using Char = char16_t;
using String = std::u16string;
using StringView = std::u16string_view;

// Byte strings. An AnsiString holds bytes in a code page that the caller names
// when converting; a UTF8String holds UTF-8. Neither converts implicitly.
using AnsiChar = char;
using AnsiString = std::string;
using UTF8String = std::string;
using RawByteString = std::string;

using TBytes = std::vector<Byte>;

// One identifier of an integer's table of names (colours, cursors, editor
// commands): the value and the name it is written as.
struct TIdentMapEntry {
  Integer Value;
  const char16_t* Name;
};
