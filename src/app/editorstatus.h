// The texts the editor window shows about its document: the caret line of
// the status bar, the message lines of the last preview, and a file's bytes
// as the hexadecimal lines of a binary property.
#pragma once

#include "rtl/stringlist.h"

struct TCaretStatus {
  Integer Column = 1;    // 1-based
  Integer Line = 1;      // 1-based
  Integer CharCode = 0;  // the character at the caret; 0 beyond the line's end
  Integer LineCount = 0;
  Integer SelectionLength = 0;
};
// "Col: %d  Ln: %d  Chr: %d(%xh)  Cnt: %d  Sel: %d".
String CaretStatusText(const TCaretStatus& status);
// The code of the character at a 1-based column of a line; 0 beyond its end.
Integer CharCodeAt(StringView line, Integer column);

// The message list's icons by a message line's kind.
enum : Integer { miNone = -1, miError = 4, miWarning = 5, miInformation = 6 };
struct TMessageItem {
  String Caption;
  Integer ImageIndex = miNone;
};
// A message line "KIND=text": the text after the first "=" (at most 1024
// characters, empty without one) and the icon of the kind ("ERROR", "WARN",
// "INFO", without regard to case; other kinds have none).
TMessageItem MessageItem(StringView line);
// "Messages (%d)".
String MessagesCaption(Integer count);

// Bytes as lines of at most 32 bytes, two upper-case hexadecimal digits a
// byte, each line and then the whole ended by CR LF: the body of a binary
// property. No bytes give one CR LF.
String HexDataText(const Byte* data, size_t count);
