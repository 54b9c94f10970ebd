// The tree stream: saving and loading nodes with the caller's data, and
// copying and moving nodes between trees through it.
#include <algorithm>
#include <vector>

#include "livetree/basetree.h"
#include "livetree/livetreeassert.h"
#include "livetree/livetreestreamio.h"
#include "rtl/streams.h"
#include "rtl/unicode.h"

namespace {

constexpr Integer TreeStreamVersion = 2;
constexpr Integer AnchorChunk = 1;
constexpr Integer BaseChunk = 2;
constexpr Integer CallerChunk = 4;
constexpr Int64 ChunkHeaderSize = 8;
constexpr Int64 BaseBodySize = 17;
constexpr Int64 OldBaseBodySize = 12;

constexpr Char IdentifierStart = 0x2045;
constexpr Char IdentifierEnd = 0x2046;

// States that only describe a running operation; stored ones are dropped on
// both sides.
constexpr TLiveNodeStates SavedTransientStates{vsChecking, vsCutOrCopy, vsDeleting, vsOnFreeNodeCallRequired,
                                               vsHeightMeasured};
constexpr TLiveNodeStates LoadedTransientStates{vsChecking,       vsCutOrCopy, vsDeleting, vsOnFreeNodeCallRequired,
                                                vsHeightMeasured, vsClearing,  vsToggling};

[[noreturn]] void AnchorMissing() {
  throw ELiveTreeError(u"Stream data corrupt. A node's anchor chunk is missing.", 2005);
}

[[noreturn]] void DataAfterEnd() {
  throw ELiveTreeError(u"Stream data corrupt. Unexpected data after node's end position.", 2006);
}

struct TChunkHeader {
  Integer ChunkType = 0;
  Integer ChunkSize = 0;
};

// A chunk header, or nothing when fewer than 8 bytes remain.
bool ReadChunkHeader(TStream& stream, TChunkHeader& header) {
  Byte bytes[8];
  if (stream.Read(bytes, 8) != 8) return false;
  auto integerAt = [&bytes](int offset) {
    return static_cast<Integer>(static_cast<Cardinal>(bytes[offset]) | (static_cast<Cardinal>(bytes[offset + 1]) << 8) |
                                (static_cast<Cardinal>(bytes[offset + 2]) << 16) |
                                (static_cast<Cardinal>(bytes[offset + 3]) << 24));
  };
  header.ChunkType = integerAt(0);
  header.ChunkSize = integerAt(4);
  return true;
}

void PutInteger(Byte* target, Cardinal value) {
  target[0] = static_cast<Byte>(value);
  target[1] = static_cast<Byte>(value >> 8);
  target[2] = static_cast<Byte>(value >> 16);
  target[3] = static_cast<Byte>(value >> 24);
}

Cardinal GetCardinal(const Byte* source) {
  return static_cast<Cardinal>(source[0]) | (static_cast<Cardinal>(source[1]) << 8) |
         (static_cast<Cardinal>(source[2]) << 16) | (static_cast<Cardinal>(source[3]) << 24);
}

void WriteIdentifier(TStream& stream) {
  LiveTreeStreamIO::WriteText(stream, StringView(u"\u2045VT\u0002 \u2046", 6));
}

}  // namespace

// ---- Saving ----

void TBaseLiveTree::PatchChunkSize(TStream& stream, Int64 startPos, Int64 endPos) {
  stream.SetPosition(startPos + 4);
  LiveTreeStreamIO::WriteInteger(stream, static_cast<Integer>(endPos - startPos - ChunkHeaderSize));
  stream.SetPosition(endPos);
}

void TBaseLiveTree::NotifySaveNode(PLiveNode node, TStream& stream) {
  if (OnSaveNode) OnSaveNode(this, node == FRoot ? nullptr : node, stream);
}

void TBaseLiveTree::NotifyLoadNode(PLiveNode node, TStream& stream) {
  if (OnLoadNode) OnLoadNode(this, node == FRoot ? nullptr : node, stream);
}

void TBaseLiveTree::StoreNodeParts(TStream& stream, PLiveNode node) {
  Int64 start = stream.Position();
  LiveTreeStreamIO::WriteInteger(stream, CallerChunk);
  LiveTreeStreamIO::WriteInteger(stream, 0);
  NotifySaveNode(node, stream);
  Int64 end = stream.Position();
  if (end == start + ChunkHeaderSize) {
    // Nothing was written: the empty header is taken back.
    stream.SetPosition(start);
    stream.SetSize(start);
  } else {
    PatchChunkSize(stream, start, end);
  }
}

void TBaseLiveTree::StoreNode(TStream& stream, PLiveNode node) {
  // Without recursion, so that the depth of a tree is not bounded by the
  // stack: each frame is a node whose base-data chunk is open.
  struct Frame {
    PLiveNode Node;
    Int64 AnchorStart;
    Int64 BaseStart;
    PLiveNode NextChild;
    Cardinal Written;
  };
  std::vector<Frame> frames;
  auto open = [&](PLiveNode run) {
    if (MiscOptions().Contains(toInitOnSave)) {
      if (!run->Has(vsInitialized)) InitializeNode(run);
      if (run->Has(vsHasChildren) && run->ChildCount == 0) InitializeChildren(run);
    }
    Frame frame{run, stream.Position(), 0, run->FirstChild, 0};
    Byte bytes[ChunkHeaderSize * 2 + BaseBodySize] = {};
    PutInteger(bytes, AnchorChunk);
    PutInteger(bytes + 8, BaseChunk);
    PutInteger(bytes + 16, run->ChildCount);
    PutInteger(bytes + 20, run->Height());
    Word states = (run->GetStates() - SavedTransientStates).ToBits();
    bytes[24] = static_cast<Byte>(states);
    bytes[25] = static_cast<Byte>(states >> 8);
    bytes[26] = run->Align;
    bytes[27] = static_cast<Byte>(run->CheckState);
    bytes[28] = static_cast<Byte>(run->CheckType);
    frame.BaseStart = frame.AnchorStart + ChunkHeaderSize;
    stream.WriteBuffer(bytes, sizeof(bytes));
    frames.push_back(frame);
  };
  open(node);
  while (!frames.empty()) {
    Frame& top = frames.back();
    if (top.NextChild != nullptr) {
      // Every existing child is written, whether its parent is initialised
      // or not, so that the stored child count and the nested chunks agree.
      PLiveNode child = top.NextChild;
      top.NextChild = child->NextSibling;
      ++top.Written;
      open(child);
      continue;
    }
    Frame done = top;
    frames.pop_back();
    Int64 end = stream.Position();
    if (done.Written != done.Node->ChildCount) {
      stream.SetPosition(done.BaseStart + ChunkHeaderSize);
      LiveTreeStreamIO::WriteInteger(stream, static_cast<Integer>(done.Written));
    }
    PatchChunkSize(stream, done.BaseStart, end);
    StoreNodeParts(stream, done.Node);
    PatchChunkSize(stream, done.AnchorStart, stream.Position());
  }
}

void TBaseLiveTree::SaveToStream(TStream& stream, PLiveNode node) {
  WriteIdentifier(stream);
  if (node != nullptr && node != FRoot) {
    LiveTreeStreamIO::WriteInteger(stream, 1);
    StoreNode(stream, node);
  } else {
    LiveTreeStreamIO::WriteInteger(stream, static_cast<Integer>(FRoot->ChildCount));
    for (PLiveNode run = FRoot->FirstChild; run; run = run->NextSibling) StoreNode(stream, run);
  }
  if (OnSaveTree) OnSaveTree(this, stream);
}

void TBaseLiveTree::SaveToFile(const String& fileName) {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream, nullptr);
}

// ---- Loading ----

bool TBaseLiveTree::RestorePart(TStream& stream, Integer, PLiveNode node, Integer chunkType, Integer chunkSize) {
  if (chunkType == CallerChunk) {
    if (chunkSize <= 0) return true;
    Int64 start = stream.Position();
    NotifyLoadNode(node, stream);
    bool consumed = stream.Position() > start;
    if (stream.Position() != start + chunkSize) stream.SetPosition(start + chunkSize);
    return consumed;
  }
  stream.Seek(chunkSize, soCurrent);
  return false;
}

void TBaseLiveTree::SkipNodeChunk(TStream& stream) {
  TChunkHeader header;
  if (!ReadChunkHeader(stream, header) || header.ChunkType != AnchorChunk) AnchorMissing();
  if (header.ChunkSize < 0 || header.ChunkSize > LiveTreeStreamIO::Remaining(stream)) DataAfterEnd();
  stream.Seek(header.ChunkSize, soCurrent);
}

void TBaseLiveTree::RestoreNodeChunk(TStream& stream, Integer version, PLiveNode node) {
  // Without recursion: each frame is a node whose anchor chunk is being
  // read, with the children its base-data chunk still announces.
  struct Frame {
    PLiveNode Node;
    Int64 End;
    Cardinal ChildrenLeft;
  };
  std::vector<Frame> frames;
  Int64 streamSize = stream.Size();
  auto openAnchor = [&](PLiveNode run, Int64 limit) {
    TChunkHeader header;
    if (!ReadChunkHeader(stream, header) || header.ChunkType != AnchorChunk) AnchorMissing();
    Int64 end = stream.Position() + header.ChunkSize;
    if (header.ChunkSize < 0 || end > limit) DataAfterEnd();
    frames.push_back({run, end, 0});
  };
  openAnchor(node, streamSize);
  const Int64 bodySize = version >= 2 ? BaseBodySize : OldBaseBodySize;
  while (!frames.empty()) {
    Frame& top = frames.back();
    if (top.ChildrenLeft > 0) {
      --top.ChildrenLeft;
      PLiveNode parent = top.Node;
      PLiveNode child = AllocateNode();
      child->Parent = parent;
      child->PrevSibling = parent->LastChild;
      child->Index = parent->LastChild != nullptr ? parent->LastChild->Index + 1 : 0;
      if (parent->LastChild != nullptr)
        parent->LastChild->NextSibling = child;
      else
        parent->FirstChild = child;
      parent->LastChild = child;
      ++parent->ChildCount;
      openAnchor(child, top.End);
      continue;
    }
    Int64 position = stream.Position();
    if (position < top.End) {
      TChunkHeader part;
      if (top.End - position < ChunkHeaderSize || !ReadChunkHeader(stream, part)) DataAfterEnd();
      position += ChunkHeaderSize;
      if (part.ChunkType == BaseChunk) {
        if (top.End - position < bodySize) DataAfterEnd();
        Byte body[BaseBodySize] = {};
        stream.ReadBuffer(body, bodySize);
        PLiveNode run = top.Node;
        Cardinal childCount = GetCardinal(body);
        Word height = static_cast<Word>(GetCardinal(body + 4));
        TLiveNodeStates states;
        Integer tail = 8;
        if (version >= 2) {
          states = TLiveNodeStates::FromBits(static_cast<Word>(body[8] | (body[9] << 8)));
          tail = 10;
        } else {
          states = TLiveNodeStates::FromBits(body[8]);
          states += vsVisible;
          if (body[8] & 0x80) states += vsSelected;
          tail = 9;
        }
        run->SetStates(states - LoadedTransientStates);
        run->SetHeight(height);
        run->TotalHeight = height;
        run->Align = body[tail];
        run->CheckState =
            body[tail + 1] <= csMixedPressed ? static_cast<TCheckState>(body[tail + 1]) : csUncheckedNormal;
        run->CheckType = body[tail + 2] <= ctButton ? static_cast<TCheckType>(body[tail + 2]) : ctNone;
        // Each child takes at least its anchor header within this node.
        if (childCount > static_cast<UInt64>(top.End - stream.Position()) / ChunkHeaderSize) DataAfterEnd();
        top.ChildrenLeft = childCount;
      } else {
        if (part.ChunkSize < 0 || part.ChunkSize > top.End - position) DataAfterEnd();
        RestorePart(stream, version, top.Node, part.ChunkType, part.ChunkSize);
        if (stream.Position() > top.End) DataAfterEnd();
      }
      continue;
    }
    if (position != top.End) DataAfterEnd();
    frames.pop_back();
  }
}

void TBaseLiveTree::RestoreNode(TStream& stream, Integer version, PLiveNode node) {
  LTAssert(node != FRoot, "The root node cannot be loaded from stream.");
  PLiveNode parent = node->Parent;
  Cardinal countBefore = node->TotalCount;
  Cardinal visibleBefore =
      ShownPath(node) ? VisibleDescendantCount(node) + (GetEffectivelyVisible(node) ? 1u : 0u) : 0u;
  // The node's height leaves its ancestors while it is replaced and comes
  // back with its new subtree.
  if (parent->Has(vsExpanded) && node->Has(vsVisible))
    PropagateTotalHeight(parent, -static_cast<Integer>(node->TotalHeight), true);
  auto settle = [&] {
    // States from outside are made consistent with the structure read.
    for (PLiveNode run = node;;) {
      if (run->ChildCount > 0)
        run->Include({vsHasChildren});
      else
        run->Exclude({vsExpanded});
      if (run->FirstChild != nullptr) {
        run = run->FirstChild;
        continue;
      }
      while (run != node && run->NextSibling == nullptr) run = run->Parent;
      if (run == node) break;
      run = run->NextSibling;
    }
    RecountTotals(node);
    RecomputeTotalHeights(node);
    PropagateTotalCount(parent, static_cast<Integer>(node->TotalCount) - static_cast<Integer>(countBefore), true);
    if (parent->Has(vsExpanded) && node->Has(vsVisible))
      PropagateTotalHeight(parent, static_cast<Integer>(node->TotalHeight), true);
    Cardinal visibleAfter =
        ShownPath(node) ? VisibleDescendantCount(node) + (GetEffectivelyVisible(node) ? 1u : 0u) : 0u;
    ChangeVisibleCount(static_cast<Integer>(visibleAfter) - static_cast<Integer>(visibleBefore));
    for (PLiveNode run = node;;) {
      if (run->ChildCount > 0) UpdateAllChildrenHidden(run);
      if (run->FirstChild != nullptr) {
        run = run->FirstChild;
        continue;
      }
      while (run != node && run->NextSibling == nullptr) run = run->Parent;
      if (run == node) break;
      run = run->NextSibling;
    }
    if (parent != FRoot) UpdateAllChildrenHidden(parent);
    ClearTempCache();
    bool multiSelect = SelectionOptions().Contains(toMultiSelect);
    for (PLiveNode run = node;;) {
      if (run->Has(vsSelected)) {
        if (multiSelect) {
          Integer index = 0;
          if (!FindInSelection(run, index)) AddToTempCache(run);
        } else {
          run->Exclude({vsSelected});
        }
      }
      if (run->FirstChild != nullptr) {
        run = run->FirstChild;
        continue;
      }
      while (run != node && run->NextSibling == nullptr) run = run->Parent;
      if (run == node) break;
      run = run->NextSibling;
    }
    if (!FTempNodeCache.empty()) {
      TNodeArray collected = std::move(FTempNodeCache);
      FTempNodeCache.clear();
      for (PLiveNode run : collected) run->Exclude({vsSelected});
      AddNodesToSelection(collected, true);
    }
    ClearTempCache();
    MarkCacheStale();
  };
  try {
    RestoreNodeChunk(stream, version, node);
  } catch (...) {
    settle();
    throw;
  }
  settle();
}

namespace {

// Reads and checks the identifier; returns the version.
Integer ReadIdentifier(TStream& stream, bool exact) {
  Byte bytes[12];
  if (exact) {
    stream.ReadBuffer(bytes, 12);
  } else if (stream.Read(bytes, 12) < 12) {
    throw ELiveTreeError(u"Unable to load tree structure, not enough data available.", 2004);
  }
  auto unit = [&bytes](int i) { return static_cast<Char>(bytes[2 * i] | (bytes[2 * i + 1] << 8)); };
  bool matches = unit(0) == IdentifierStart && unit(1) == u'V' && unit(2) == u'T' && unit(5) == IdentifierEnd;
  if (!matches) {
    if (exact) throw ELiveTreeError(u"Unable to load tree structure, the version is unknown.", 2003);
    throw ELiveTreeError(u"Unable to load tree structure, the format is wrong.", 2002);
  }
  Integer version = unit(3);
  if (version > TreeStreamVersion)
    throw ELiveTreeError(u"Unable to load tree structure, the version is unknown.", 2003);
  return version;
}

}  // namespace

void TBaseLiveTree::LoadFromStream(TStream& stream) {
  if (ReadOnly()) return;
  Clear();
  Integer version = ReadIdentifier(stream, false);
  BeginUpdate();
  try {
    Int64 count = version >= 2 ? static_cast<Cardinal>(LiveTreeStreamIO::ReadInteger(stream)) : 0x7FFFFFFF;
    while (stream.Position() < stream.Size() && count > 0) {
      --count;
      PLiveNode node = AllocateNode();
      LinkNode(node, FRoot, amAddChildLast);
      RestoreNode(stream, version, node);
    }
    FireNodeCopied(nullptr);
    if (OnLoadTree) OnLoadTree(this, stream);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TBaseLiveTree::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TBaseLiveTree::AddFromStream(TStream& stream, PLiveNode targetNode) {
  LTAssert(targetNode != nullptr, "Node must not be nil.");
  if (ReadOnly()) return;
  Integer version = ReadIdentifier(stream, true);
  if (!targetNode->Has(vsInitialized)) InitializeNode(targetNode);
  BeginUpdate();
  try {
    Int64 count = version >= 2 ? static_cast<Cardinal>(LiveTreeStreamIO::ReadInteger(stream)) : 0x7FFFFFFF;
    while (stream.Position() < stream.Size() && count > 0) {
      --count;
      PLiveNode node = AllocateNode();
      LinkNode(node, targetNode, amAddChildLast);
      RestoreNode(stream, version, node);
    }
    FireNodeCopied(targetNode == FRoot ? nullptr : targetNode);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---- Copying and moving between trees ----

namespace {

// The nodes that travel, in the order in which linking them one after the
// other keeps their order at the target.
std::vector<PLiveNode> TravellingNodes(PLiveNode source, bool childrenOnly, TLTNodeAttachMode mode) {
  std::vector<PLiveNode> nodes;
  if (!childrenOnly) {
    nodes.push_back(source);
  } else if (mode == amAddChildFirst) {
    for (PLiveNode child = source->LastChild; child; child = child->PrevSibling) nodes.push_back(child);
  } else {
    for (PLiveNode child = source->FirstChild; child; child = child->NextSibling) nodes.push_back(child);
  }
  return nodes;
}

}  // namespace

void TBaseLiveTree::MoveTo(PLiveNode node, TBaseLiveTree* tree, TLTNodeAttachMode mode, bool childrenOnly) {
  LTAssert(tree != nullptr, "Invalid parameter.");
  MoveTo(node, tree->FRoot, mode, childrenOnly);
}

void TBaseLiveTree::MoveTo(PLiveNode source, PLiveNode target, TLTNodeAttachMode mode, bool childrenOnly) {
  LTAssert(source == nullptr || TreeFromNode(source) == this, "The source tree must contain the source node.");
  bool moves = target != source || (childrenOnly && (mode == amInsertBefore || mode == amInsertAfter));
  if (!moves || mode == amNoWhere || source == nullptr || source == FRoot || ReadOnly()) return;
  TBaseLiveTree* targetTree = this;
  if (target == nullptr) {
    target = FRoot;
    mode = amAddChildFirst;
  } else {
    targetTree = TreeFromNode(target);
  }
  if (target == targetTree->FRoot) {
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }
  if (!target->Has(vsInitialized)) targetTree->InitializeNode(target);
  if (target->Has(vsHasChildren) && target->ChildCount == 0) targetTree->InitializeChildren(target);
  bool allowed = AskNodeMoving(source, target == targetTree->FRoot ? nullptr : target);
  bool sourceGone = false;
  if (allowed && targetTree == this) {
    if (HasAsParent(target, source))
      throw ELiveTreeError(u"Target node cannot be a child node of the node to be moved.", 2001);
    StopCacheValidation();
    auto moveOne = [&](PLiveNode node, bool reindex) {
      UnlinkNode(node, true, reindex);
      LinkNode(node, target, mode);
      FireNodeMoved(node);
    };
    if (!childrenOnly) {
      moveOne(source, true);
    } else if (mode == amAddChildFirst) {
      for (PLiveNode child = source->LastChild; child;) {
        PLiveNode previous = child->PrevSibling;
        moveOne(child, false);
        child = previous;
      }
    } else {
      // Each child in turn goes after the one moved before it, keeping order.
      for (PLiveNode child = source->FirstChild; child;) {
        PLiveNode next = child->NextSibling;
        moveOne(child, false);
        if (mode == amInsertAfter) target = child;
        child = next;
      }
    }
    if (childrenOnly && source->ChildCount == 0) {
      // The emptied parent is renumbered implicitly; its flags follow.
      UpdateAllChildrenHidden(source);
    }
  } else if (allowed) {
    TMemoryStream stream;
    std::vector<PLiveNode> nodes = TravellingNodes(source, childrenOnly, mode);
    for (PLiveNode node : nodes) StoreNode(stream, node);
    stream.SetPosition(0);
    targetTree->BeginUpdate();
    try {
      for (size_t i = 0; i < nodes.size(); ++i) {
        PLiveNode arrived = targetTree->AllocateNode();
        targetTree->LinkNode(arrived, target, mode);
        targetTree->RestoreNode(stream, TreeStreamVersion, arrived);
        FireNodeMoved(arrived);
        if (mode == amInsertAfter) target = arrived;
      }
    } catch (...) {
      targetTree->EndUpdate();
      throw;
    }
    targetTree->EndUpdate();
    BeginUpdate();
    try {
      if (childrenOnly) {
        DeleteChildren(source, false);
      } else {
        DeleteNode(source, true);
        sourceGone = true;
      }
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }
  MarkCacheStale();
  if (!InUpdate() && allowed) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    Invalidate();
    if (targetTree != this) targetTree->Invalidate();
  }
  // A node moved away to another tree no longer exists here.
  NoteStructureChange(sourceGone ? nullptr : source, crNodeMoved);
}

PLiveNode TBaseLiveTree::CopyTo(PLiveNode source, TBaseLiveTree* tree, TLTNodeAttachMode mode, bool childrenOnly) {
  LTAssert(tree != nullptr, "Invalid parameter.");
  return CopyTo(source, tree->FRoot, mode, childrenOnly);
}

PLiveNode TBaseLiveTree::CopyTo(PLiveNode source, PLiveNode target, TLTNodeAttachMode mode, bool childrenOnly) {
  LTAssert(source == nullptr || TreeFromNode(source) == this, "The source tree must contain the source node.");
  if (mode == amNoWhere || source == nullptr || source == FRoot) return nullptr;
  TBaseLiveTree* targetTree = this;
  if (target == nullptr) {
    target = FRoot;
    mode = amAddChildFirst;
  } else {
    targetTree = TreeFromNode(target);
  }
  if (target == targetTree->FRoot) {
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }
  if (targetTree->ReadOnly()) return nullptr;
  if (!target->Has(vsInitialized)) targetTree->InitializeNode(target);
  if (target->Has(vsHasChildren) && target->ChildCount == 0) targetTree->InitializeChildren(target);
  const PLiveNode givenTarget = target;
  PLiveNode askTarget = target == targetTree->FRoot ? nullptr : target;
  TMemoryStream stream;
  std::vector<PLiveNode> nodes = TravellingNodes(source, childrenOnly, mode);
  for (PLiveNode node : nodes) StoreNode(stream, node);
  stream.SetPosition(0);
  PLiveNode result = nullptr;
  targetTree->BeginUpdate();
  try {
    for (size_t i = 0; i < nodes.size(); ++i) {
      PLiveNode copy = targetTree->AllocateNode();
      targetTree->LinkNode(copy, target, mode);
      targetTree->RestoreNode(stream, TreeStreamVersion, copy);
      if (!AskNodeCopying(copy, askTarget)) {
        targetTree->DeleteNode(copy, true);
        result = nullptr;
      } else {
        FireNodeCopied(copy);
        result = copy;
        if (mode == amInsertAfter) target = copy;
      }
    }
  } catch (...) {
    targetTree->EndUpdate();
    throw;
  }
  targetTree->EndUpdate();
  targetTree->MarkCacheStale();
  if (!targetTree->InUpdate()) {
    targetTree->RequestCacheValidation();
    targetTree->UpdateScrollBars(true);
    targetTree->Invalidate();
  }
  targetTree->NoteStructureChange(givenTarget == targetTree->FRoot ? nullptr : givenTarget, crNodeCopied);
  return childrenOnly ? givenTarget : result;
}
