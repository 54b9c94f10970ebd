// ANSI code pages: byte strings in a code page to and from UTF-16.
//
// The single-byte Windows code pages 874 and 1250-1258, Latin-1 (28591) and
// ASCII (20127) are converted by built-in tables, with the same result in every
// build; UTF-8 (65001) by the UTF conversions. Other code pages (the double-byte
// ones 932, 936, 949, 950 among them) are converted by the system in the
// Windows build; elsewhere they raise EConvertError.
#pragma once

#include "rtl/types.h"

constexpr Word kCodePageCurrent = 0;  // the current ANSI code page
constexpr Word kCodePageUTF8 = 65001;
constexpr Word kCodePageLatin1 = 28591;
constexpr Word kCodePageASCII = 20127;

// The current ANSI code page: the system's (GetACP) in the Windows build, taken
// at first use; 1252 elsewhere. Code page 0 in the routines below means this one.
Word CurrentCodePage();
// Replaces the current code page for the whole process (tests and tools); 0
// returns to the system's.
void SetCurrentCodePage(Word codePage);

// Bytes in a code page -> UTF-16. Every byte of a single-byte page gives one
// character; bytes the page leaves undefined give the control or private-use
// character the system gives them, so no byte is lost.
String AnsiToString(std::string_view bytes, Word codePage = 0);

// UTF-16 -> bytes in a code page. A character the page cannot represent becomes
// '?' and sets *lossy (when given) to true; otherwise *lossy is set to false.
AnsiString StringToAnsi(StringView text, Word codePage = 0, bool* lossy = nullptr);

// Whether the byte starts a two-byte character in that code page. Always false
// for single-byte pages and UTF-8.
bool IsLeadByte(Byte b, Word codePage = 0);

// Whether every character of the code page is one byte.
bool IsSingleByteCodePage(Word codePage);
