// Conversions between the binary form stream and the text form.
//
// Both convert numbers with "." as the decimal separator whatever the user's
// settings, and both refuse nesting deeper than kMaxFormNesting.
#pragma once

#include "rtl/streams.h"

// Reads a binary form stream from the input's position and appends its text
// form to the output. The text is built in memory and handed over only when
// the conversion has succeeded: after a failure nothing has been appended.
// A UTF-8 byte-order mark leads the text when a name or identifier is not ASCII.
// Failures: EReadError "Invalid stream format", "Invalid property value",
// "Stream read error", or "Error reading <object>.<property>: <tag>" for an
// unknown value tag.
void FormBinaryToText(TStream& input, TStream& output);

// Parses a text form from the input's position and appends the binary form
// stream to the output, which receives the stream as it is written: after a
// failure it holds the part written so far. The input is left at the start
// of the first token behind the root object's "end".
// Failures: EParserError "<text> on line <n>"; EConvertError for a number
// that does not convert.
void FormTextToBinary(TStream& input, TStream& output);
