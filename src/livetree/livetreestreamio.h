// Reading and writing the little-endian fields of the tree's streams (node,
// header and column streams). Streams come from files, the clipboard and other
// processes: every length and count is checked against the bytes that remain
// before anything is allocated.
#pragma once

#include "rtl/streams.h"
#include "rtl/types.h"

namespace LiveTreeStreamIO {

// The bytes a column record takes at least (two empty texts and the fields
// of the oldest version) plus its position entry.
constexpr Int64 MinimalColumnSize = 4 * 13;

Integer ReadInteger(TStream& stream);
void WriteInteger(TStream& stream, Integer value);
Word ReadWord(TStream& stream);
void WriteWord(TStream& stream, Word value);
// A 32-bit count of UTF-16 code units, then the code units.
String ReadCountedText(TStream& stream);
void WriteCountedText(TStream& stream, StringView text);
// UTF-16LE code units without a count.
String ReadText(TStream& stream, Int64 units);
void WriteText(TStream& stream, StringView text);
// The bytes from the position to the end (0 when past it).
Int64 Remaining(TStream& stream);
// Raises the stream's read error when Count records of at least RecordSize
// bytes cannot follow.
void CheckCount(TStream& stream, Int64 count, Int64 recordSize);

}  // namespace LiveTreeStreamIO
