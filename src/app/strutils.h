// String and string-list routines of the form editor: searching lists,
// splitting "name = value" lines, removing quotes, collapsing blanks.
#pragma once

#include "rtl/stringlist.h"

// The first line from `start` on that contains the text, both in upper case;
// -1 when none does, when the list is empty, when start is past the last line
// or when the text is empty.
Integer FindStringInList(const TStrings& list, StringView text, Integer start);
// The text between matching quote characters at both ends (more than one
// character long); otherwise the text unchanged.
String Dequote(StringView text, Char quote);
// The text before the first separator, trimmed of characters up to code 32;
// the whole text, untrimmed, when there is no separator.
String NamePart(StringView text, StringView separator);
// The first line whose NamePart equals the name without regard to case; -1 when none.
Integer IndexOfNamePart(const TStrings& list, StringView name, StringView separator);
// The text after the first separator, at most 1024 characters; empty without a separator.
String ValuePart(StringView text, StringView separator);
// The 1-based position of the first occurrence of `what` in `text` (0 when
// none), matching case and whole words as flagged; word boundaries are
// characters other than letters and digits.
Integer FindText(StringView what, StringView text, bool matchCase, bool wholeWord);
// Every run of blanks (code 32) reduced to its first blank.
String CollapseSpaces(StringView text);
// A failure's text made fit for a message box: every character below code 32
// other than a line break, and every character that stands for an unreadable
// byte, becomes "?"; every run of more than 64 characters without a blank
// (a name or value read from damaged data) keeps its first 48 followed by "...".
String MessageBoxText(StringView text);
