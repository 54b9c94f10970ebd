// The single-instance protocol's portable part: the layout of a shared
// instance table, the names derived from the program, the text of a
// forwarded command line, and how a command line splits into arguments.
// Other processes (also other builds of the program) read the same bytes,
// so the layout and the names are fixed.
#pragma once

#include <functional>
#include <vector>

#include "rtl/types.h"

class TStrings;

// One table: maximum (16 bits), count (16 bits), then 257 process identifiers.
inline constexpr size_t kInstanceTableSize = 1032;
inline constexpr int kInstanceTableCapacity = 257;

// Kinds of the registered notification message (its first parameter).
inline constexpr int kInstanceCreated = 1;
inline constexpr int kInstanceDestroyed = 2;
inline constexpr int kInstanceUserNotify = 3;
inline constexpr int kInstanceQueryActive = 4;
inline constexpr int kInstanceAnswerActive = 5;

// The copy-data kind of a forwarded command line.
inline constexpr int kCopyDataCmdLine = 1;

// A view of one table in memory that other processes write too: every
// count read from it is clamped to the room the table has, so a damaged
// table never sends a read or write past its end.
class TInstanceTable {
 public:
  // `block` holds kInstanceTableSize bytes and outlives the view.
  explicit TInstanceTable(Byte* block) : FBlock(block) {}

  Word Maximum() const;
  void SetMaximum(Word value);
  // The count as stored, clamped to kInstanceTableCapacity.
  int Count() const;
  // 0 for an index outside the entries in use.
  Cardinal ProcessIdAt(int index) const;
  // The first index holding the process, or -1.
  int IndexOf(Cardinal processId) const;
  // Sets the maximum to `limit` when it is 0, then appends the process.
  // True when the table's limit allows one more instance; a full table
  // takes no further entry and refuses.
  bool Register(Cardinal processId, Word limit);
  // Takes out the first entry of the process, keeping the order of the
  // others; false when it is not there.
  bool Remove(Cardinal processId);

 private:
  void SetCount(int count);
  Byte* FBlock;
};

// The identifier of the program's shared objects: "Ut" + the given
// identifier when there is one, else "Ut" + the program's path, all
// upper-cased. Object names cannot hold "\", so it becomes "_"; a "_" of
// its own becomes "|_" and a "|" "||", so that no two identifiers share a
// name. One longer than kInstanceAppIdMaxLength is cut and ends in "|" and
// a hash of the whole, leaving room for the objects' suffixes within the
// system's limit for names.
inline constexpr size_t kInstanceAppIdMaxLength = 120;
String InstanceAppId(const String& givenId, const String& programPath);

// The command line's arguments as the run-time library splits them: blanks
// separate, double quotes group and are dropped. The program is the first.
std::vector<String> SplitCommandLine(StringView commandLine);

// What the arguments after the program name ask to open: joined
// (JoinFileArguments) and every item made absolute against `currentDir`, as
// the instance that opens them may run in another folder. Items that name
// no file stay, for the opener to report. `fileExists` is asked with
// absolute names. The program's own start and a second start both use it.
std::vector<String> CommandLineFileNames(const std::vector<String>& arguments, const String& currentDir,
                                       const std::function<bool(const String&)>& fileExists);

// The text a forwarded command line travels as: each line followed by
// CR LF, the last one too.
String CommandLineText(const std::vector<String>& lines);
// The bytes of a copy-data string (UTF-16 little-endian, an odd last byte
// ignored) as a string.
String CopyDataString(const void* data, size_t size);
