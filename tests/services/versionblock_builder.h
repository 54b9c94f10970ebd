// Builds version resources for tests: a tree of blocks serialised as the
// platform lays them out (32-bit form with UTF-16 keys, or the 16-bit form
// with ANSI keys), every block starting at a 4-byte boundary.
#pragma once

#include <vector>

#include "rtl/types.h"
#include "services/fileversion.h"

struct TVersionNode {
  String Key;
  Word Type = 0;  // 1 text, 0 binary
  TBytes Value;
  // Taken from the value unless set: characters for text, bytes otherwise.
  int ValueLength = -1;
  std::vector<TVersionNode> Children;

  static TVersionNode Text(String key, StringView text) {
    TVersionNode node{std::move(key), 1, {}, static_cast<int>(text.size() + 1), {}};
    for (const Char c : text) node.Value.insert(node.Value.end(), {static_cast<Byte>(c), static_cast<Byte>(c >> 8)});
    node.Value.insert(node.Value.end(), {0, 0});
    return node;
  }
  static TVersionNode Binary(String key, TBytes bytes) {
    return TVersionNode{std::move(key), 0, std::move(bytes), -1, {}};
  }
  static TVersionNode Folder(String key, std::vector<TVersionNode> children) {
    return TVersionNode{std::move(key), 1, {}, 0, std::move(children)};
  }
};

inline void PutWord(TBytes& out, size_t at, Word value) {
  out[at] = static_cast<Byte>(value);
  out[at + 1] = static_cast<Byte>(value >> 8);
}

inline void PadTo4(TBytes& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

inline TBytes SerializeVersionNode(const TVersionNode& node, bool wide = true) {
  TBytes out(wide ? 6 : 4, 0);
  for (const Char c : node.Key) {
    out.push_back(static_cast<Byte>(c));
    if (wide) out.push_back(static_cast<Byte>(c >> 8));
  }
  out.push_back(0);
  if (wide) out.push_back(0);
  PadTo4(out);
  out.insert(out.end(), node.Value.begin(), node.Value.end());
  for (const TVersionNode& child : node.Children) {
    PadTo4(out);
    const TBytes bytes = SerializeVersionNode(child, wide);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  PutWord(out, 0, static_cast<Word>(out.size()));
  const int valueLength = node.ValueLength >= 0 ? node.ValueLength : static_cast<int>(node.Value.size());
  PutWord(out, 2, static_cast<Word>(valueLength));
  if (wide) PutWord(out, 4, node.Type);
  return out;
}

inline TBytes FixedInfoBytes(const TVSFixedFileInfo& info) {
  const Cardinal fields[] = {info.dwSignature,        info.dwStrucVersion,    info.dwFileVersionMS,
                             info.dwFileVersionLS,    info.dwProductVersionMS, info.dwProductVersionLS,
                             info.dwFileFlagsMask,    info.dwFileFlags,       info.dwFileOS,
                             info.dwFileType,         info.dwFileSubtype,     info.dwFileDateMS,
                             info.dwFileDateLS};
  TBytes out;
  for (const Cardinal field : fields) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<Byte>(field >> (8 * i)));
  }
  return out;
}

inline TVSFixedFileInfo SampleFixedInfo() {
  TVSFixedFileInfo info;
  info.dwSignature = kVSFixedFileInfoSignature;
  info.dwStrucVersion = 0x10000;
  info.dwFileVersionMS = 0x00010002;
  info.dwFileVersionLS = 0x00030004;
  info.dwProductVersionMS = 0x00060000;
  info.dwProductVersionLS = 0x00000007;
  info.dwFileFlagsMask = 0x3F;
  info.dwFileOS = 0x40004;
  info.dwFileType = 1;
  return info;
}

// A root with the fixed record and the given children.
inline TVersionNode VersionRoot(std::vector<TVersionNode> children, const TVSFixedFileInfo& info = SampleFixedInfo()) {
  TVersionNode root = TVersionNode::Binary(u"VS_VERSION_INFO", FixedInfoBytes(info));
  root.Children = std::move(children);
  return root;
}

inline TVersionNode StringTable(String key, std::vector<std::pair<String, String>> values) {
  std::vector<TVersionNode> strings;
  for (auto& [name, value] : values) strings.push_back(TVersionNode::Text(name, value));
  return TVersionNode::Folder(std::move(key), std::move(strings));
}

inline TVersionNode Translations(std::vector<Cardinal> pairs) {
  TBytes bytes;
  for (const Cardinal pair : pairs) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<Byte>(pair >> (8 * i)));
  }
  return TVersionNode::Folder(u"VarFileInfo", {TVersionNode::Binary(u"Translation", bytes)});
}

// A typical program's block: English (US) strings with the given values.
inline TBytes ProgramVersionBlock(std::vector<std::pair<String, String>> values) {
  return SerializeVersionNode(VersionRoot({TVersionNode::Folder(u"StringFileInfo", {StringTable(u"040904B0", values)}),
                                           Translations({0x04B00409})}));
}
