// The two text encodings the settings services apply to values: MIME base64
// (RFC 2045: lines of 76 characters separated by CR LF) and the key-string
// encoding (UTF-8 bytes combined with a key and written as hexadecimal).
#pragma once

#include <cstddef>

#include "rtl/types.h"

// Base64 of the bytes, in lines of 76 characters (57 input bytes each)
// separated by CR LF; no line break after the last line.
AnsiString MimeEncodeText(std::string_view value);
// The bytes of base64 text. Characters outside the alphabet (padding, line
// breaks, blanks, anything else) are skipped; a single pending character at
// the end is dropped.
AnsiString MimeDecodeText(std::string_view value);

// The encoded size of n bytes (0 for n <= 0), line breaks included.
std::ptrdiff_t MimeEncodedLength(std::ptrdiff_t n);
// Room enough for the bytes that n characters decode to.
std::ptrdiff_t MimeDecodedLength(std::ptrdiff_t n);

// The output must have MimeEncodedLength(count) bytes of room.
void MimeEncodeBuffer(const Byte* input, std::size_t count, char* output);
// Every whole block of 57 bytes as a line of 76 characters, with CR LF when
// another line follows.
void MimeEncodeLines(const Byte* input, std::size_t count, char* output);
// count bytes without line breaks, padded with '='.
void MimeEncodeTail(const Byte* input, std::size_t count, char* output);

// Decoding state between chunks: the bits gathered so far and the number of
// characters still missing from the current group of four.
struct TMimeDecodeState {
  Cardinal Carry = 0;
  Integer Space = 4;
};
// Decodes count characters; returns the number of bytes written.
std::size_t MimeDecodeChunk(const char* input, std::size_t count, Byte* output, TMimeDecodeState& state);
// The bytes of an incomplete final group; returns their number.
std::size_t MimeDecodeEnd(Byte* output, const TMimeDecodeState& state);

// Key-string encoding: the UTF-8 bytes of source, each combined by exclusive
// or with the key's UTF-8 bytes in turn (unchanged for an empty key), written
// as two lowercase hexadecimal digits.
String XorTextEncode(StringView key, StringView source);
// The reverse. Pairs of characters are read (an odd last one is ignored); an
// unknown first digit counts as 0, an unknown second digit makes the byte a
// blank.
String XorTextDecode(StringView key, StringView source);
