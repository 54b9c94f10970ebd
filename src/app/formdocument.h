// A form file as the editor window holds it: its encoding told from its first
// bytes, its text whatever the encoding, and saving back in the encoding it
// was read in. Saving never harms the file on disk: the new content is
// converted in memory and written beside the old file, which is replaced only
// once the new one is complete.
#pragma once

#include "rtl/stringlist.h"

enum TDataFormat : Byte { dfText = 0, dfResource = 1, dfBinary = 2 };

// The encoding of a form file from its first bytes: a resource header (the
// 16-bit one, FF 0A 00, or the 32-bit resource file's empty first entry),
// "TPF" for a binary form stream, anything else text.
TDataFormat DetectDataFormat(const Byte* head, size_t count);
// As above for a file; raises EFOpenError when it cannot be read.
TDataFormat DetectDataFormat(const String& fileName);

// The backup name of a file: its extension's dot followed by "~" ("a.dfm"
// gives "a.~dfm"; a name without extension gets ".~").
String BackupFileName(const String& fileName);

// Reads a form file of any encoding as text into the lines and tells the
// encoding. A text file's byte-order mark decides its character encoding,
// without one the ANSI code page; the lines keep it for saving. A binary or
// resource-wrapped file that cannot be converted raises the conversion's
// error and leaves the lines as they were.
TDataFormat LoadFormFile(const String& fileName, TStrings& lines);

// Writes the lines to the file in the encoding. Text keeps the character
// encoding the lines were read in, or UTF-8 with a mark when a character
// cannot be written in it. With `makeBackup` the old file becomes the backup
// (BackupFileName) once the new content is complete. A text that does not
// convert, or a file that cannot be written, raises and leaves the old file
// (and the old backup) as it was.
void SaveFormFile(const String& fileName, const TStrings& lines, TDataFormat format, bool makeBackup);

// The bytes of the lines in an encoding, as SaveFormFile writes them.
TBytes FormFileBytes(const TStrings& lines, TDataFormat format);
