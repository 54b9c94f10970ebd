// What the panel kit's controls share below the drawing level: small
// enumerations, a tree of nodes kept as one flat list in display order, and
// a few free helpers.
#pragma once

#include <memory>
#include <vector>

#include "rtl/events.h"
#include "rtl/geometry.h"
#include "rtl/sets.h"
#include "rtl/types.h"

enum TAddPosition { apFirst, apLast };
enum TButtonStateItem { btHover, btDown };
using TButtonState = TSet<TButtonStateItem>;
enum TDirection { diLeftToRight, diRightToLeft };
enum TDrawingOptions { doNormal, doBackgroundOnly, doCustom, doCustomOnly };
enum TFillPaintStyle { fsSolid, fsHorzGradient, fsVertGradient, fsGlass };
enum TItemsDisplayMode { dmDefault, dmNameList, dmValueList, dmIndentList };
enum TStartDayOfWeek { dwAutomatic, dwMonday, dwSunday };
enum TWrapKind { wkNone, wkEllipsis, wkPathEllipsis, wkWordWrap };

inline TPoint MakePoint(Integer x, Integer y) {
  return TPoint{x, y};
}
// Value below min becomes min, above max becomes max.
void ClampValue(Integer& value, Integer min, Integer max);
// The value part of a "name=value" line: empty for a negative index; a
// line without "=" loses its first character (the name is taken as empty).
String GetListValue(const std::vector<String>& lines, Integer index);

// Read-only views of the current locale's separators and names, as the
// date, time and number edits show them.
class TLocalSettings {
 public:
  Char DateSeparator() const;
  Char DecimalSeparator() const;
  Char ListSeparator() const;
  Char TimeSeparator() const;
  String LongTimeFormat() const;
  // 1 to 7, Sunday first; empty outside.
  String LongDayName(Integer index) const;
  // 1 to 12; empty outside.
  String LongMonthName(Integer index) const;
};
// The one instance the controls share.
const TLocalSettings& LocalSettings();

class TPxTreeNodes;

// One node of a flat tree. Its list owns it; freeing it through the list
// takes its whole subtree along.
class TPxTreeNode {
 public:
  virtual ~TPxTreeNode() = default;

  Integer Count() const { return FCount; }
  bool HasChildren() const { return FCount > 0; }
  void* Data() const { return FData; }
  void SetData(void* value) { FData = value; }
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool value) { FExpanded = value; }
  bool Hidden() const { return FHidden; }
  void SetHidden(bool value) { FHidden = value; }
  TPxTreeNodes* Items() const { return FItems; }
  Integer Level() const { return FLevel; }
  TPxTreeNode* Parent() const { return FParent; }
  const String& Text() const { return FText; }
  void SetText(const String& value) { FText = value; }
  Integer Tag() const { return FTag; }
  void SetTag(Integer value) { FTag = value; }
  // Position in the list; -1 for a node that belongs to none.
  Integer AbsoluteIndex() const;
  // The earliest node of this level before the next shallower node
  // backwards; the node itself when none.
  TPxTreeNode* GetFirstSibling();
  TPxTreeNode* GetLastSibling();

 private:
  friend class TPxTreeNodes;
  Integer FCount = 0;
  void* FData = nullptr;
  bool FExpanded = false;
  bool FHidden = false;
  TPxTreeNodes* FItems = nullptr;
  Integer FLevel = 0;
  TPxTreeNode* FParent = nullptr;
  String FText;
  Integer FTag = 0;
};

// The nodes in display order: each node followed by its descendants.
class TPxTreeNodes {
 public:
  TPxTreeNodes() = default;
  TPxTreeNodes(const TPxTreeNodes&) = delete;
  TPxTreeNodes& operator=(const TPxTreeNodes&) = delete;
  virtual ~TPxTreeNodes();

  Integer Count() const { return static_cast<Integer>(FList.size()); }
  bool Empty() const { return FList.empty(); }
  TPxTreeNode* Node(Integer index) const;
  Integer TopLevelCount() const { return FTopLevelCount; }

  // The item joins the list (the list owns it from now on): right after its
  // parent (apFirst) or after the parent's last descendant (apLast); top-
  // level items go first or last.
  void AddItem(TPxTreeNode* parent, std::unique_ptr<TPxTreeNode> item, TAddPosition position);
  TPxTreeNode* AddChild(TPxTreeNode* parent);
  // A new sibling before the item, with the text; null for a null or
  // top-level item.
  TPxTreeNode* Insert(TPxTreeNode* item, const String& text);
  // Frees the node at the index and its whole subtree.
  void Delete(Integer index);
  // Frees the node and its whole subtree.
  void Free(TPxTreeNode* item);
  void Clear();
  void ClearChildren(TPxTreeNode* item);
  // The index-th direct child; Exception "Index out of
  // bounds (%d) for TPxTreeNodes." outside the children.
  TPxTreeNode* GetChildNode(TPxTreeNode* parent, Integer index) const;
  Integer GetItemCount(TPxTreeNode* item) const;
  TPxTreeNode* GetNodeOf(const void* data) const;
  TPxTreeNode* Find(const void* data) const { return GetNodeOf(data); }
  // Orders the nodes by level and text (case-insensitive), siblings among
  // siblings: every subtree stays under its parent.
  void Sort();
  Integer IndexOf(const TPxTreeNode* item) const;

  // Fired with each node that leaves the list, before it is freed.
  TDelegate<void(TPxTreeNodes* Sender, TPxTreeNode* Item)> OnDeleted;

 protected:
  virtual std::unique_ptr<TPxTreeNode> NewNode() const { return std::make_unique<TPxTreeNode>(); }
  virtual void DoDeleted(TPxTreeNode* item);

 private:
  // The position just past the node's last descendant.
  Integer SubtreeEnd(Integer index) const;
  std::vector<std::unique_ptr<TPxTreeNode>> FList;
  Integer FTopLevelCount = 0;
};
