#include "livetree/livetreetransfer.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "rtl/sysstr.h"

String StandardClipboardFormatDescription(Word format) {
  static const char16_t* const descriptions[] = {u"Plain text",
                                                 u"Windows bitmap",
                                                 u"Windows metafile",
                                                 u"Symbolic link",
                                                 u"Data interchange format",
                                                 u"Tiff image",
                                                 u"OEM text",
                                                 u"DIB image",
                                                 u"Palette data",
                                                 u"Pen data",
                                                 u"Riff audio data",
                                                 u"Wav audio data",
                                                 u"Unicode text",
                                                 u"Enhanced metafile image",
                                                 u"File name(s)",
                                                 u"Locale descriptor"};
  if (format < 1 || format > 16) return {};
  return descriptions[format - 1];
}

void TClipboardFormatList::Add(const String& formatString, TLiveTreeClass treeClass, Cardinal priority,
                               const TLTFormatEtc& formatEtc) {
  FList.push_back({formatString, treeClass, priority, formatEtc});
  std::stable_sort(FList.begin(), FList.end(), [](const auto& a, const auto& b) { return a.Priority < b.Priority; });
}

TFormatEtcArray TClipboardFormatList::EnumerateFormats(TLiveTreeClass treeClass, const TStrings* allowedFormats) const {
  TFormatEtcArray result;
  for (const TClipboardFormatListEntry& entry : FList) {
    if (!InheritsFrom(treeClass, entry.TreeClass)) continue;
    if (allowedFormats != nullptr && allowedFormats->IndexOf(entry.Description) < 0) continue;
    result.push_back(entry.FormatEtc);
  }
  return result;
}

void TClipboardFormatList::EnumerateFormats(TLiveTreeClass treeClass, TStrings& formats) const {
  for (const TClipboardFormatListEntry& entry : FList)
    if (InheritsFrom(treeClass, entry.TreeClass)) formats.Add(entry.Description);
}

// The searches run from the last entry back, as registrations made later
// take precedence.
const TClipboardFormatListEntry* TClipboardFormatList::FindFormat(const String& formatString) const {
  for (auto it = FList.rbegin(); it != FList.rend(); ++it)
    if (SameText(it->Description, formatString)) return &*it;
  return nullptr;
}

const TClipboardFormatListEntry* TClipboardFormatList::FindFormat(Word format) const {
  for (auto it = FList.rbegin(); it != FList.rend(); ++it)
    if (it->FormatEtc.cfFormat == format) return &*it;
  return nullptr;
}

TClipboardFormatList& TreeClipboardFormats() {
  static TClipboardFormatList list;
  return list;
}

// ---- References to trees ----

namespace {

struct TLiveTreeSet {
  std::mutex Lock;
  std::unordered_map<Cardinal, TBaseLiveTree*> Trees;
  Cardinal Next = 1;
};

TLiveTreeSet& LiveTrees() {
  static TLiveTreeSet set;
  return set;
}

Cardinal ReadCardinal(const Byte* p) {
  return static_cast<Cardinal>(p[0]) | (static_cast<Cardinal>(p[1]) << 8) | (static_cast<Cardinal>(p[2]) << 16) |
         (static_cast<Cardinal>(p[3]) << 24);
}

}  // namespace

Cardinal RegisterLiveTree(TBaseLiveTree* tree) {
  TLiveTreeSet& set = LiveTrees();
  std::lock_guard guard(set.Lock);
  Cardinal identifier = set.Next++;
  if (identifier == 0) identifier = set.Next++;
  set.Trees[identifier] = tree;
  return identifier;
}

void UnregisterLiveTree(Cardinal identifier) {
  TLiveTreeSet& set = LiveTrees();
  std::lock_guard guard(set.Lock);
  set.Trees.erase(identifier);
}

TBaseLiveTree* LiveTreeFromIdentifier(Cardinal identifier) {
  TLiveTreeSet& set = LiveTrees();
  std::lock_guard guard(set.Lock);
  auto found = set.Trees.find(identifier);
  return found == set.Trees.end() ? nullptr : found->second;
}

std::array<Byte, TreeReferenceSize> EncodeTreeReference(Cardinal processId, Cardinal treeIdentifier) {
  std::array<Byte, TreeReferenceSize> bytes{};
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<size_t>(i)] = static_cast<Byte>(processId >> (8 * i));
    bytes[static_cast<size_t>(4 + i)] = static_cast<Byte>(treeIdentifier >> (8 * i));
  }
  return bytes;
}

TBaseLiveTree* ResolveTreeReference(const Byte* data, size_t size, Cardinal currentProcessId) {
  if (data == nullptr || size < TreeReferenceSize) return nullptr;
  if (ReadCardinal(data) != currentProcessId) return nullptr;
  return LiveTreeFromIdentifier(ReadCardinal(data + 4));
}

size_t TreeDataPayloadSize(const Byte* data, size_t blockSize) {
  if (data == nullptr || blockSize < 4) return 0;
  return std::min<size_t>(ReadCardinal(data), blockSize - 4);
}

// ---- Drop effects ----

Integer ProposeDropEffect(bool sourceIsTarget, TShiftState shift, Integer allowedEffects) {
  Integer result = allowedEffects;
  if (sourceIsTarget && (allowedEffects & DropEffectMove)) result = DropEffectMove;
  if (!sourceIsTarget && (allowedEffects & DropEffectCopy)) result = DropEffectCopy;
  auto pick = [&](Integer effect) { return (allowedEffects & effect) ? effect : result; };
  bool ctrl = shift.Contains(ssCtrl), shiftKey = shift.Contains(ssShift);
  if (ctrl && shiftKey) return pick(DropEffectLink);
  if (ctrl) return pick(DropEffectCopy);
  if (shiftKey) return pick(DropEffectMove);
  if (shift.Contains(ssAlt)) return pick(DropEffectLink);
  return result;
}

Integer AllowedDropEffects(TDragOperations operations) {
  if (operations.Empty()) return DropEffectCopy | DropEffectMove | DropEffectLink;
  Integer result = DropEffectNone;
  if (operations.Contains(doCopy)) result |= DropEffectCopy;
  if (operations.Contains(doMove)) result |= DropEffectMove;
  if (operations.Contains(doLink)) result |= DropEffectLink;
  return result;
}
