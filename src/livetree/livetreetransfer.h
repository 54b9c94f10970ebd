// What the tree's clipboard and drag-and-drop exchange rests on, apart from
// the platform: the process-wide registry of the clipboard formats the tree
// classes render, the set of live trees by which a reference from a data
// object is resolved, and the choice of drop effect and drop mode.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "livetree/livetreepaint.h"
#include "livetree/livetreetypes.h"
#include "rtl/stringlist.h"
#include "rtl/uitypes.h"

class TBaseLiveTree;

// The tree classes as far as clipboard formats go: a class renders what it
// registers and what its ancestors register (the string tree descends from
// the base tree).
enum TLiveTreeClass : std::uint8_t { ltcBaseTree, ltcStringTree };

inline bool InheritsFrom(TLiveTreeClass treeClass, TLiveTreeClass ancestor) {
  return treeClass >= ancestor;
}

// The platform's description of a format, kept apart from the platform's
// headers: the fields of a FORMATETC without a target device.
struct TLTFormatEtc {
  Word cfFormat = 0;
  Cardinal dwAspect = 1;  // DVASPECT_CONTENT
  Integer lindex = -1;
  Cardinal tymed = 1;  // TYMED_HGLOBAL
  friend bool operator==(const TLTFormatEtc&, const TLTFormatEtc&) = default;
};
using TFormatEtcArray = std::vector<TLTFormatEtc>;

constexpr Cardinal TymedHGlobal = 1;
constexpr Cardinal TymedIStream = 4;

// The descriptions of the standard formats 1 to 16; empty for other numbers.
String StandardClipboardFormatDescription(Word format);

struct TClipboardFormatListEntry {
  String Description;
  TLiveTreeClass TreeClass = ltcBaseTree;
  Cardinal Priority = 0;
  TLTFormatEtc FormatEtc;
};

// The registered formats, ordered by ascending priority.
class TClipboardFormatList {
 public:
  void Add(const String& formatString, TLiveTreeClass treeClass, Cardinal priority, const TLTFormatEtc& formatEtc);
  void Clear() { FList.clear(); }
  Integer Count() const { return static_cast<Integer>(FList.size()); }
  const TClipboardFormatListEntry& Items(Integer index) const { return FList[static_cast<size_t>(index)]; }
  // The formats usable by the class, filtered by Allowed when given, in
  // registry order.
  TFormatEtcArray EnumerateFormats(TLiveTreeClass treeClass, const TStrings* allowedFormats) const;
  void EnumerateFormats(TLiveTreeClass treeClass, TStrings& formats) const;
  // By description (without regard to case) or format number; nil when none.
  const TClipboardFormatListEntry* FindFormat(const String& formatString) const;
  const TClipboardFormatListEntry* FindFormat(Word format) const;

 private:
  std::vector<TClipboardFormatListEntry> FList;
};

// The registry of the process, filled by the control's set-up.
TClipboardFormatList& TreeClipboardFormats();

// ---- References to trees ----

// Every tree of the process has an identifier for as long as it lives; a
// reference in a data object names a tree by it, never by an address, so a
// dead or foreign tree is never reached.
Cardinal RegisterLiveTree(TBaseLiveTree* tree);
void UnregisterLiveTree(Cardinal identifier);
TBaseLiveTree* LiveTreeFromIdentifier(Cardinal identifier);

// The 8 bytes of "Live Tree Reference": the process identifier and the
// tree's identifier, both u32 little-endian.
constexpr size_t TreeReferenceSize = 8;
std::array<Byte, TreeReferenceSize> EncodeTreeReference(Cardinal processId, Cardinal treeIdentifier);
// The tree a reference names: nil unless it is exactly 8 bytes (more are
// allowed, the platform rounds blocks up), comes from this process and
// names a tree that lives.
TBaseLiveTree* ResolveTreeReference(const Byte* data, size_t size, Cardinal currentProcessId);

// The byte count of a "Live Tree Data" block, clamped to what the block
// holds: a u32 count, then the node chunks.
size_t TreeDataPayloadSize(const Byte* data, size_t blockSize);

// ---- Drop effects ----

enum : Integer { DropEffectNone = 0, DropEffectCopy = 1, DropEffectMove = 2, DropEffectLink = 4 };
constexpr Integer DropEffectScroll = static_cast<Integer>(0x80000000u);

// The effect a drop target proposes: move within one tree, copy between
// trees; Ctrl copies, Shift moves, Ctrl+Shift and Alt link, each only when
// allowed.
Integer ProposeDropEffect(bool sourceIsTarget, TShiftState shift, Integer allowedEffects);

enum TDragOperation : std::uint8_t { doCopy, doMove, doLink };
using TDragOperations = TSet<TDragOperation>;
constexpr TDragOperations DefaultDragOperations{doCopy, doMove};

// The effects a drag from the tree allows; no operation at all allows all.
Integer AllowedDropEffects(TDragOperations operations);
