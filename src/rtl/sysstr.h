// String routines of the run-time library: case, comparison, search, trimming,
// quoting, replacing. Positions are 1-based and count UTF-16 units; 0 means
// "not found".
//
// Two families of case handling exist, as on the platform:
// - UpperCase, LowerCase, CompareText, SameText touch only 'a'..'z'/'A'..'Z'.
// - The Ansi... routines handle every letter: case mapping by the library's
//   own simple (length-preserving) Unicode tables, identical in every build;
//   comparison by the current text collator, which follows the user's locale
//   in the Windows build and is a fixed, deterministic order elsewhere.
#pragma once

#include "rtl/types.h"

// --- Case ------------------------------------------------------------------

// 'a'..'z' <-> 'A'..'Z'; every other character stays.
Char UpCase(Char c);
String UpperCase(StringView s);
String LowerCase(StringView s);

// Every character by the simple Unicode case mapping, restricted as the
// system's own wide-character mapping is: a character changes only when its
// other case is one UTF-16 unit that maps back to it. So the length never
// changes, and sharp s, dotless i, capital I with dot, final sigma, the micro,
// Kelvin and Angstrom signs and the title-case digraphs keep their case. The
// one-character forms are named apart from the system API's CharUpper/CharLower.
Char CharToUpper(Char c);
Char CharToLower(Char c);
String AnsiUpperCase(StringView s);
String AnsiLowerCase(StringView s);

// --- Comparison ------------------------------------------------------------

// Ordinal: the difference of the first differing units, else of the lengths.
int CompareStr(StringView s1, StringView s2);
bool SameStr(StringView s1, StringView s2);
// Ordinal after upper-casing 'a'..'z' only.
int CompareText(StringView s1, StringView s2);
bool SameText(StringView s1, StringView s2);
// The same for byte strings (ANSI or UTF-8 text): only ASCII letters compare
// without regard to case.
bool SameText(std::string_view s1, std::string_view s2);

// A linguistic comparison of texts: negative, zero or positive.
class TTextCollator {
 public:
  virtual ~TTextCollator() = default;
  virtual int Compare(StringView s1, StringView s2, bool ignoreCase) const = 0;
};

// The same order on every machine: texts compare by their upper-case forms (the
// case tables above) unit by unit; when these are equal and case counts, by
// the texts themselves.
class TInvariantTextCollator : public TTextCollator {
 public:
  int Compare(StringView s1, StringView s2, bool ignoreCase) const override;
};

// The collator the Ansi... comparisons use: the user's locale in the Windows
// build, TInvariantTextCollator elsewhere, unless replaced.
const TTextCollator& CurrentTextCollator();
// Replaces the current collator for the whole process; the caller keeps it
// alive while it is current. Null returns to the platform's. Returns the
// collator that was set before (null when that was the platform's).
const TTextCollator* SetTextCollator(const TTextCollator* collator);

// Through the current collator; results are -1, 0 or 1.
int AnsiCompareStr(StringView s1, StringView s2);
int AnsiCompareText(StringView s1, StringView s2);
bool AnsiSameStr(StringView s1, StringView s2);
bool AnsiSameText(StringView s1, StringView s2);

// --- Substrings and search -------------------------------------------------

// Position of the first subText in s, 0 when absent or subText is empty.
Integer Pos(StringView subText, StringView s);
// The same, starting at offset; 0 when offset is below 1 or past the end.
Integer PosEx(StringView subText, StringView s, Integer offset = 1);
// count units from index, clamped to the text: an index below 1 counts as 1
// (the count is not shortened), a negative count gives the empty text.
String Copy(StringView s, Integer index, Integer count = 0x7FFFFFFF);
// Removes count units from index; nothing when index is outside 1..Length.
void Delete(String& s, Integer index, Integer count);
// Inserts source before index; below 1 counts as 1, past the end appends.
void Insert(StringView source, String& s, Integer index);
String LeftStr(StringView s, Integer count);
String RightStr(StringView s, Integer count);
String MidStr(StringView s, Integer start, Integer count);

bool StartsStr(StringView subText, StringView text);
bool EndsStr(StringView subText, StringView text);
bool ContainsStr(StringView text, StringView subText);
// Case-insensitive by the current collator (Starts/Ends) and by the case
// tables (Contains), as the platform's ...Text routines.
bool StartsText(StringView subText, StringView text);
bool EndsText(StringView subText, StringView text);
bool ContainsText(StringView text, StringView subText);

// Position of the last character of s that is one of delimiters; 0 if none.
Integer LastDelimiter(StringView delimiters, StringView s);
// Whether s[index] is one of delimiters; false when index is outside s.
bool IsDelimiter(StringView delimiters, StringView s, Integer index);

// --- Building and changing -------------------------------------------------

// Removes characters <= ' ' (controls and space) from the ends.
String Trim(StringView s);
String TrimLeft(StringView s);
String TrimRight(StringView s);

String StringOfChar(Char c, Integer count);
String DupeString(StringView s, Integer count);

enum TReplaceFlag : unsigned { rfReplaceAll = 1u << 0, rfIgnoreCase = 1u << 1 };
using TReplaceFlags = unsigned;  // a set of TReplaceFlag
// Replaces the first (rfReplaceAll: every) occurrence of oldPattern, left to
// right without overlaps; rfIgnoreCase compares by the case tables. An empty
// pattern changes nothing.
String StringReplace(StringView s, StringView oldPattern, StringView newPattern, TReplaceFlags flags = 0);
String ReplaceStr(StringView text, StringView fromText, StringView toText);   // every, exact case
String ReplaceText(StringView text, StringView fromText, StringView toText);  // every, ignoring case

enum TTextLineBreakStyle { tlbsLF, tlbsCRLF };
// Every CR, LF, CR LF and LF CR becomes one line break of the style.
String AdjustLineBreaks(StringView s, TTextLineBreakStyle style = tlbsCRLF);

// --- Quoting ---------------------------------------------------------------

// The text in apostrophes, each apostrophe inside doubled.
String QuotedStr(StringView s);
// The text in quote characters, each quote character inside doubled.
String AnsiQuotedStr(StringView s, Char quote);
// Reads a quoted text from the start of src and advances src behind it: the
// quote characters go, doubled ones inside become one; without a closing
// quote the rest of src is taken. When src does not start with quote, the
// result is empty and src stays.
String AnsiExtractQuotedStr(StringView& src, Char quote);
// The unquoted text when s is quoted; s itself when it is not (or when the
// quote is not closed at its end).
String AnsiDequotedStr(StringView s, Char quote);

// --- Identifiers -----------------------------------------------------------

// A letter (any script) or '_', followed by letters, decimal digits or '_'.
// With allowDots, dot-separated identifiers ("Unit.Class") also count.
bool IsValidIdent(StringView ident, bool allowDots = false);
// The character classes used for identifiers (letters of any script; decimal digits).
bool IsLetterChar(Char c);
bool IsDigitChar(Char c);
