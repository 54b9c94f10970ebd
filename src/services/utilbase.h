// The base of the utility layer under the settings services: its exception
// classes, small word and bit helpers, text helpers and the facts about the
// machine that the other services read.
#pragma once

#include "rtl/exceptions.h"
#include "rtl/types.h"
#include "rtl/variant.h"

// ---- Exceptions -------------------------------------------------------------

KST_DECLARE_EXCEPTION(EUtError, Exception);
KST_DECLARE_EXCEPTION(EUtInternalError, EUtError);
KST_DECLARE_EXCEPTION(EUtStringError, EUtError);
KST_DECLARE_EXCEPTION(ESvcException, Exception);

inline constexpr char16_t kUtWin32ErrorFormat[] = u"Win32 error: %s (%u)%s%s";
inline constexpr char16_t kUtLibraryNotFound[] = u"Library not found: %s";
inline constexpr char16_t kUtFunctionNotFound[] = u"Function not found: %s.%s";
inline constexpr char16_t kUtSearchStringBlank[] = u"Search string cannot be blank";
inline constexpr char16_t kUtNoAnsiReplacementChar[] = u"Failed to get ANSI replacement character";

// A failure of a system call: the calling thread's last system error code and
// its text, followed by the caller's own text on a new line.
class EUtWin32Error : public EUtError {
 public:
  // Takes the last system error of the calling thread.
  explicit EUtWin32Error(const String& message);
  EUtWin32Error(Cardinal lastError, const String& message);

  Cardinal LastError() const { return FLastError; }
  const String& LastErrorMsg() const { return FLastErrorMsg; }

 private:
  Cardinal FLastError;
  String FLastErrorMsg;
};

// ---- Words, bits and variants ----------------------------------------------

inline void SplitInt64(Int64 value, Cardinal& low, Integer& high) {
  low = static_cast<Cardinal>(static_cast<UInt64>(value));
  high = static_cast<Integer>(static_cast<UInt64>(value) >> 32);
}
inline void JoinInt64(Int64& value, Cardinal low, Integer high) {
  value = static_cast<Int64>((static_cast<UInt64>(static_cast<Cardinal>(high)) << 32) | low);
}

// Small integer, integer, short integer, byte, word and long word variants.
bool VariantIsInteger(const Variant& value);

// Bit `bit` of a buffer of 32-bit words: bit (bit mod 32) of word (bit div 32).
void SetBufferBit(Cardinal* buffer, Integer bit);
bool TestBufferBit(const Cardinal* buffer, Integer bit);

// A multiple of `granularity` stays; anything else is rounded down, or up.
void RoundOffsetToGranularity(Int64& offset, bool up, Cardinal granularity);
void RoundSizeToGranularity(Cardinal& value, bool up, Cardinal granularity);
// The same with the machine's allocation granularity.
void RoundOffsetToGranularity(Int64& offset, bool up);
void RoundSizeToGranularity(Cardinal& value, bool up);

// ---- The machine ------------------------------------------------------------

struct TSystemInformation {
  Cardinal ProcessorCount = 1;
  Cardinal PageSize = 4096;
  Cardinal AllocationGranularity = 65536;
  bool IsWinNT = true;
  // The native processor architecture is x64 or Itanium.
  bool IsWindows64 = false;
};

// Read once, at first use, from the platform.
const TSystemInformation& SystemInformation();
inline bool IsWindows64() {
  return SystemInformation().IsWindows64;
}
// True when the running Windows version is at least major.minor (always false
// off Windows).
bool IsWindowsVersionOrGreater(Cardinal major, Cardinal minor);
// The default character of the system's ANSI code page.
AnsiChar AnsiReplacementChar();

// ---- Text ---------------------------------------------------------------------
//
// Positions are 1-based. "Ignoring case" compares the texts' upper-case forms
// through the library's case map.

// Copies count characters of source from the 0-based fromIndex into dest at
// the 0-based toIndex; dest must have the room.
void CopyChars(StringView source, Integer fromIndex, String& dest, Integer toIndex, Integer count);

// Words are runs of characters outside `delimiters`; characters beyond the
// 8-bit range never delimit. 0 / empty when there are fewer than n words.
Integer NthWordPosition(Integer n, StringView s, StringView delimiters);
String NthWord(Integer n, StringView s, StringView delimiters);

String TextLeft(StringView s, Integer n);
String TextMid(StringView s, Integer start, Integer n);
String TextRestOf(StringView s, Integer start);
// s, with suffix appended unless s already ends with it (exact comparison).
String TextEnsureSuffix(StringView suffix, StringView s);

enum TUtCaseMap { cmLower, cmUpper, cmSwap };
String TextUpper(StringView s);
void TextUpperInPlace(String& s);
void MapCase(String& s, TUtCaseMap map);
Char UpperChar(Char c);
bool IsUpperChar(Char c);
bool IsLowerChar(Char c);
bool IsHexDigitChar(Char c);

// Position of sub in s ignoring case; 0 when absent.
Integer TextPosNoCase(StringView sub, StringView s);
// The position of sub in s at or after index, ignoring case; 0 when either is
// empty or there is none.
Integer TextPosFrom(StringView sub, StringView s, Integer index);
// The text after the first sub (ignoring case), or empty.
String TextAfter(StringView sub, StringView s);
// The text before the first sub (ignoring case), or s itself.
String TextBefore(StringView sub, StringView s);
// The first position at or after index holding c; 0 when none or index is
// outside the text.
Integer TextCharPosFrom(StringView s, Char c, Integer index);
// The last position at or after index holding c; 0 under the same conditions.
Integer TextLastCharPos(StringView s, Char c, Integer index);
String TextReplaceChar(StringView s, Char oldChar, Char newChar);
// The number of replacements; 0 and no change when the two are equal.
Integer TextReplaceCharInPlace(String& s, Char oldChar, Char newChar);
// Cuts s before its first zero character.
void TextCutAtZero(String& s);

enum TUtReplaceFlag : unsigned { utReplaceAll = 1u << 0, utIgnoreCase = 1u << 1 };
using TUtReplaceFlags = unsigned;
// An empty search raises EUtStringError "Search string cannot be blank" unless s
// is empty too, in which case s becomes replace.
void TextReplace(String& s, StringView search, StringView replace, TUtReplaceFlags flags);

class TStrings;
// Cuts s at every separator (exact); a line is added when allowEmpty is set or
// it is not empty. The list is cleared first.
void TextToLines(StringView s, StringView separator, TStrings& list, bool allowEmpty);

// The first occurrence of subText in text (up to its first zero), or nullptr
// when either is null or empty or there is none.
const Char* WideStrPos(const Char* text, const Char* subText);
