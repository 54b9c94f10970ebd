#include "services/instancetable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "rtl/files.h"
#include "rtl/sysstr.h"
#include "services/commandline.h"

namespace {

constexpr size_t kMaximumOffset = 0;
constexpr size_t kCountOffset = 2;
constexpr size_t kIdsOffset = 4;

Word ReadWord(const Byte* p) {
  return static_cast<Word>(p[0] | (p[1] << 8));
}

void WriteWord(Byte* p, Word value) {
  p[0] = static_cast<Byte>(value);
  p[1] = static_cast<Byte>(value >> 8);
}

Cardinal ReadTableCardinal(const Byte* p) {
  return static_cast<Cardinal>(p[0]) | (static_cast<Cardinal>(p[1]) << 8) | (static_cast<Cardinal>(p[2]) << 16) |
         (static_cast<Cardinal>(p[3]) << 24);
}

void WriteTableCardinal(Byte* p, Cardinal value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<Byte>(value >> (8 * i));
}

bool IsDelimiter(Char c) {
  return c == u'\\' || c == u'/';
}

// "C:\a\.\b\..\c" gives "C:\a\c": the root is kept, "." dropped and ".."
// takes back one folder (never the root).
String NormalizePath(const String& path) {
  size_t rootLength = ExtractFileDrive(path).size();
  if (rootLength < path.size() && IsDelimiter(path[rootLength])) ++rootLength;
  String root = path.substr(0, rootLength);
  std::vector<String> parts;
  String part;
  auto flush = [&] {
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (size_t i = rootLength; i < path.size(); ++i) {
    if (IsDelimiter(path[i]))
      flush();
    else
      part += path[i];
  }
  flush();
  String result = root;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 || (!result.empty() && !IsDelimiter(result.back()))) result += PathDelim;
    result += parts[i];
  }
  if (!path.empty() && IsDelimiter(path.back()) && !parts.empty()) result += PathDelim;
  return result;
}

String AbsolutePath(const String& name, const String& currentDir) {
  if (name.size() >= 2 && IsDelimiter(name[0]) && IsDelimiter(name[1])) return NormalizePath(name);
  if (name.size() >= 2 && name[1] == DriveDelim) return NormalizePath(name);
  if (!name.empty() && IsDelimiter(name[0])) return NormalizePath(ExtractFileDrive(currentDir) + name);
  if (currentDir.empty()) return name;
  return NormalizePath(IncludeTrailingPathDelimiter(currentDir) + name);
}

}  // namespace

Word TInstanceTable::Maximum() const {
  return ReadWord(FBlock + kMaximumOffset);
}

void TInstanceTable::SetMaximum(Word value) {
  WriteWord(FBlock + kMaximumOffset, value);
}

int TInstanceTable::Count() const {
  return std::min<int>(ReadWord(FBlock + kCountOffset), kInstanceTableCapacity);
}

void TInstanceTable::SetCount(int count) {
  WriteWord(FBlock + kCountOffset, static_cast<Word>(count));
}

Cardinal TInstanceTable::ProcessIdAt(int index) const {
  if (index < 0 || index >= Count()) return 0;
  return ReadTableCardinal(FBlock + kIdsOffset + 4 * static_cast<size_t>(index));
}

int TInstanceTable::IndexOf(Cardinal processId) const {
  const int count = Count();
  for (int i = 0; i < count; ++i) {
    if (ProcessIdAt(i) == processId) return i;
  }
  return -1;
}

bool TInstanceTable::Register(Cardinal processId, Word limit) {
  if (Maximum() == 0) SetMaximum(limit);
  const int count = Count();
  bool allowed = Maximum() == 0 || Maximum() > count;
  if (count >= kInstanceTableCapacity) return false;
  WriteTableCardinal(FBlock + kIdsOffset + 4 * static_cast<size_t>(count), processId);
  SetCount(count + 1);
  return allowed;
}

bool TInstanceTable::Remove(Cardinal processId) {
  const int index = IndexOf(processId);
  if (index < 0) return false;
  const int count = Count();
  Byte* ids = FBlock + kIdsOffset;
  std::memmove(ids + 4 * static_cast<size_t>(index), ids + 4 * static_cast<size_t>(index + 1),
               4 * static_cast<size_t>(count - index - 1));
  WriteTableCardinal(ids + 4 * static_cast<size_t>(count - 1), 0);
  SetCount(count - 1);
  return true;
}

String InstanceAppId(const String& givenId, const String& programPath) {
  const String whole = givenId.empty() ? AnsiUpperCase(u"Ut" + programPath) : u"Ut" + givenId;
  String id;
  id.reserve(whole.size());
  for (Char c : whole) {
    if (c == u'\\')
      id += u'_';
    else if (c == u'_')
      id += u"|_";
    else if (c == u'|')
      id += u"||";
    else
      id += c;
  }
  if (id.size() <= kInstanceAppIdMaxLength) return id;
  // 64-bit FNV-1a over the code units: the same in every build.
  uint64_t hash = 14695981039346656037ull;
  for (Char c : id) {
    hash = (hash ^ static_cast<uint64_t>(c & 0xFF)) * 1099511628211ull;
    hash = (hash ^ static_cast<uint64_t>(c >> 8)) * 1099511628211ull;
  }
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  String tail = u"|";
  for (int shift = 60; shift >= 0; shift -= 4) tail += kDigits[(hash >> shift) & 0xF];
  return id.substr(0, kInstanceAppIdMaxLength - tail.size()) + tail;
}

std::vector<String> SplitCommandLine(StringView commandLine) {
  std::vector<String> arguments;
  size_t i = 0;
  const size_t n = commandLine.size();
  while (true) {
    while (i < n && commandLine[i] <= u' ') ++i;
    if (i >= n) break;
    String argument;
    while (i < n && commandLine[i] > u' ') {
      if (commandLine[i] == u'"') {
        ++i;
        while (i < n && commandLine[i] != u'"') argument += commandLine[i++];
        if (i < n) ++i;
      } else {
        argument += commandLine[i++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::vector<String> CommandLineFileNames(const std::vector<String>& arguments, const String& currentDir,
                                       const std::function<bool(const String&)>& fileExists) {
  if (arguments.size() < 2) return {};
  const std::vector<String> rest(arguments.begin() + 1, arguments.end());
  std::vector<String> files =
      JoinFileArguments(rest, [&](const String& name) { return fileExists(AbsolutePath(name, currentDir)); });
  for (String& file : files) file = AbsolutePath(file, currentDir);
  return files;
}

String CommandLineText(const std::vector<String>& lines) {
  String text;
  for (const String& line : lines) {
    text += line;
    text += u"\r\n";
  }
  return text;
}

String CopyDataString(const void* data, size_t size) {
  String text(size / 2, u'\0');
  if (!text.empty()) {
    const auto* bytes = static_cast<const Byte*>(data);
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<Char>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return text;
}
