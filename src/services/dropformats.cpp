#include "services/dropformats.h"

#include <algorithm>
#include <string>

#include "rtl/codepage.h"

namespace {

Cardinal ReadCardinal(const Byte* p) {
  return static_cast<Cardinal>(p[0]) | (static_cast<Cardinal>(p[1]) << 8) | (static_cast<Cardinal>(p[2]) << 16) |
         (static_cast<Cardinal>(p[3]) << 24);
}

constexpr size_t kDropFilesHeaderSize = 20;

}  // namespace

TSvDropEffect DropEffectFromPlatform(Cardinal effect) {
  if (effect & kDropEffectCopy) return deCopy;
  if (effect & kDropEffectMove) return deMove;
  if (effect & kDropEffectLink) return deLink;
  if (effect & kDropEffectScroll) return deScroll;
  return deNone;
}

Cardinal DropEffectToPlatform(TSvDropEffect effect) {
  switch (effect) {
    case deCopy: return kDropEffectCopy;
    case deMove: return kDropEffectMove;
    case deLink: return kDropEffectLink;
    case deScroll: return kDropEffectScroll;
    default: return 0;
  }
}

std::vector<String> DroppedFileNames(const Byte* data, size_t size) {
  std::vector<String> names;
  if (!data || size < kDropFilesHeaderSize) return names;
  const size_t offset = ReadCardinal(data);
  const bool wide = ReadCardinal(data + 16) != 0;
  if (offset < kDropFilesHeaderSize || offset > size) return names;
  size_t pos = offset;
  const size_t unit = wide ? 2 : 1;
  while (pos + unit <= size) {
    String name;
    std::string bytes;
    bool terminated = false;
    while (pos + unit <= size) {
      const Char c = wide ? static_cast<Char>(data[pos] | (data[pos + 1] << 8)) : static_cast<Char>(data[pos]);
      pos += unit;
      if (c == 0) {
        terminated = true;
        break;
      }
      if (wide)
        name += c;
      else
        bytes += static_cast<char>(c);
    }
    // A narrow list is in the system's ANSI code page (no code page has a
    // zero trail byte, so names still end at a zero byte).
    if (!wide && terminated) name = AnsiToString(bytes);
    if (!terminated || name.empty()) break;
    names.push_back(std::move(name));
  }
  return names;
}

size_t FileDescriptorCount(const Byte* data, size_t size) {
  if (!data || size < 4) return 0;
  return std::min<size_t>(ReadCardinal(data), (size - 4) / kFileDescriptorSize);
}

std::vector<String> FileDescriptorNames(const Byte* data, size_t size) {
  std::vector<String> names;
  const size_t count = FileDescriptorCount(data, size);
  for (size_t i = 0; i < count; ++i) {
    const Byte* name = data + 4 + i * kFileDescriptorSize + kFileDescriptorNameOffset;
    String text;
    for (size_t c = 0; c < kFileDescriptorNameChars; ++c) {
      const Char ch = static_cast<Char>(name[2 * c] | (name[2 * c + 1] << 8));
      if (ch == 0) break;
      text += ch;
    }
    names.push_back(std::move(text));
  }
  return names;
}
