#include "panelkit/pxclasses.h"

#include <algorithm>

#include "rtl/exceptions.h"
#include "rtl/formatsettings.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"

void ClampValue(Integer& value, Integer min, Integer max) {
  if (value < min) value = min;
  if (value > max) value = max;
}

String GetListValue(const std::vector<String>& lines, Integer index) {
  if (index < 0 || index >= static_cast<Integer>(lines.size())) return String();
  const String& line = lines[static_cast<size_t>(index)];
  const size_t equals = line.find(u'=');
  const size_t nameLength = equals == String::npos ? 0 : equals;
  return nameLength + 1 >= line.size() ? String() : line.substr(nameLength + 1);
}

// ---------------------------------------------------------------------------
// Locale

Char TLocalSettings::DateSeparator() const {
  return FormatSettings().DateSeparator;
}
Char TLocalSettings::DecimalSeparator() const {
  return FormatSettings().DecimalSeparator;
}
Char TLocalSettings::ListSeparator() const {
  return FormatSettings().ListSeparator;
}
Char TLocalSettings::TimeSeparator() const {
  return FormatSettings().TimeSeparator;
}
String TLocalSettings::LongTimeFormat() const {
  return FormatSettings().LongTimeFormat;
}
String TLocalSettings::LongDayName(Integer index) const {
  const auto& names = FormatSettings().LongDayNames;
  return index >= 1 && index <= static_cast<Integer>(names.size()) ? names[static_cast<size_t>(index - 1)] : String();
}
String TLocalSettings::LongMonthName(Integer index) const {
  const auto& names = FormatSettings().LongMonthNames;
  return index >= 1 && index <= static_cast<Integer>(names.size()) ? names[static_cast<size_t>(index - 1)] : String();
}

const TLocalSettings& LocalSettings() {
  static const TLocalSettings settings;
  return settings;
}

// ---------------------------------------------------------------------------
// Nodes

Integer TPxTreeNode::AbsoluteIndex() const {
  return FItems ? FItems->IndexOf(this) : -1;
}

TPxTreeNode* TPxTreeNode::GetFirstSibling() {
  TPxTreeNode* result = this;
  for (Integer i = AbsoluteIndex() - 1; FItems && i >= 0; --i) {
    TPxTreeNode* node = FItems->Node(i);
    if (node->FLevel < FLevel) break;
    if (node->FLevel == FLevel) result = node;
  }
  return result;
}

TPxTreeNode* TPxTreeNode::GetLastSibling() {
  TPxTreeNode* result = this;
  if (!FItems) return result;
  for (Integer i = AbsoluteIndex() + 1; i < FItems->Count(); ++i) {
    TPxTreeNode* node = FItems->Node(i);
    if (node->FLevel < FLevel) break;
    if (node->FLevel == FLevel) result = node;
  }
  return result;
}

// ---------------------------------------------------------------------------
// The list

TPxTreeNodes::~TPxTreeNodes() {
  FList.clear();
}

TPxTreeNode* TPxTreeNodes::Node(Integer index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FList[static_cast<size_t>(index)].get();
}

Integer TPxTreeNodes::IndexOf(const TPxTreeNode* item) const {
  for (size_t i = 0; i < FList.size(); ++i)
    if (FList[i].get() == item) return static_cast<Integer>(i);
  return -1;
}

Integer TPxTreeNodes::SubtreeEnd(Integer index) const {
  const Integer level = FList[static_cast<size_t>(index)]->FLevel;
  Integer end = index + 1;
  while (end < Count() && FList[static_cast<size_t>(end)]->FLevel > level) ++end;
  return end;
}

void TPxTreeNodes::AddItem(TPxTreeNode* parent, std::unique_ptr<TPxTreeNode> item, TAddPosition position) {
  if (!item) return;
  Integer at = 0;
  if (parent) {
    const Integer parentIndex = IndexOf(parent);
    if (parentIndex < 0) throw Exception(u"The parent node belongs to another list.");
    item->FParent = parent;
    item->FLevel = parent->FLevel + 1;
    item->FHidden = parent->FHidden || !parent->FExpanded;
    ++parent->FCount;
    at = position == apFirst ? parentIndex + 1 : SubtreeEnd(parentIndex);
  } else {
    item->FParent = nullptr;
    item->FLevel = 0;
    ++FTopLevelCount;
    at = position == apFirst ? 0 : Count();
  }
  item->FItems = this;
  FList.insert(FList.begin() + at, std::move(item));
}

TPxTreeNode* TPxTreeNodes::AddChild(TPxTreeNode* parent) {
  try {
    std::unique_ptr<TPxTreeNode> node = NewNode();
    TPxTreeNode* result = node.get();
    AddItem(parent, std::move(node), apLast);
    return result;
  } catch (const std::exception&) {
    return nullptr;
  }
}

TPxTreeNode* TPxTreeNodes::Insert(TPxTreeNode* item, const String& text) {
  if (!item || !item->FParent) return nullptr;
  const Integer at = IndexOf(item);
  if (at < 0) return nullptr;
  std::unique_ptr<TPxTreeNode> node = NewNode();
  TPxTreeNode* parent = item->FParent;
  node->FParent = parent;
  node->FLevel = parent->FLevel + 1;
  node->FHidden = parent->FHidden || !parent->FExpanded;
  node->FItems = this;
  node->FText = text;
  ++parent->FCount;
  TPxTreeNode* result = node.get();
  FList.insert(FList.begin() + at, std::move(node));
  return result;
}

void TPxTreeNodes::Delete(Integer index) {
  if (TPxTreeNode* node = Node(index)) Free(node);
}

void TPxTreeNodes::Free(TPxTreeNode* item) {
  const Integer index = IndexOf(item);
  if (index < 0) return;
  ClearChildren(item);
  if (item->FParent)
    --item->FParent->FCount;
  else
    --FTopLevelCount;
  DoDeleted(item);
  FList.erase(FList.begin() + index);
}

void TPxTreeNodes::Clear() {
  while (!FList.empty()) {
    DoDeleted(FList.back().get());
    FList.pop_back();
  }
  FTopLevelCount = 0;
}

void TPxTreeNodes::ClearChildren(TPxTreeNode* item) {
  const Integer index = IndexOf(item);
  if (index < 0 || !item->HasChildren()) return;
  const Integer end = SubtreeEnd(index);
  // Deepest and last first, so that every handler sees a whole tree above the node it is told of.
  for (Integer i = end - 1; i > index; --i) DoDeleted(FList[static_cast<size_t>(i)].get());
  FList.erase(FList.begin() + index + 1, FList.begin() + end);
  item->FCount = 0;
}

TPxTreeNode* TPxTreeNodes::GetChildNode(TPxTreeNode* parent, Integer index) const {
  const Integer parentIndex = parent ? IndexOf(parent) : -1;
  if (parentIndex < 0 || index < 0 || index >= parent->FCount)
    throw Exception(u"Index out of bounds (" + IntToStr(index) + u") for TPxTreeNodes.");
  Integer seen = 0;
  for (Integer i = parentIndex + 1; i < Count(); ++i) {
    TPxTreeNode* node = FList[static_cast<size_t>(i)].get();
    if (node->FLevel <= parent->FLevel) break;
    if (node->FParent == parent && seen++ == index) return node;
  }
  throw Exception(u"Index out of bounds (" + IntToStr(index) + u") for TPxTreeNodes.");
}

Integer TPxTreeNodes::GetItemCount(TPxTreeNode* item) const {
  return item ? item->FCount : FTopLevelCount;
}

TPxTreeNode* TPxTreeNodes::GetNodeOf(const void* data) const {
  for (const auto& node : FList)
    if (node->FData == data) return node.get();
  return nullptr;
}

void TPxTreeNodes::Sort() {
  // Each subtree is a run of the list: sorting the runs of one level among
  // themselves, and then inside each run, keeps every child with its parent.
  std::vector<Integer> ends;
  ends.reserve(FList.size());
  for (Integer i = 0; i < Count(); ++i) ends.push_back(SubtreeEnd(i));
  std::vector<std::unique_ptr<TPxTreeNode>> sorted;
  sorted.reserve(FList.size());
  auto sortRange = [&](auto&& self, Integer begin, Integer end) -> void {
    std::vector<std::pair<Integer, Integer>> runs;
    for (Integer i = begin; i < end;) {
      const Integer runEnd = ends[static_cast<size_t>(i)];
      runs.emplace_back(i, runEnd);
      i = runEnd;
    }
    std::stable_sort(runs.begin(), runs.end(), [&](const auto& a, const auto& b) {
      return CompareText(FList[static_cast<size_t>(a.first)]->FText, FList[static_cast<size_t>(b.first)]->FText) < 0;
    });
    for (const auto& [runBegin, runEnd] : runs) {
      sorted.push_back(std::move(FList[static_cast<size_t>(runBegin)]));
      self(self, runBegin + 1, runEnd);
    }
  };
  sortRange(sortRange, 0, Count());
  FList = std::move(sorted);
}

void TPxTreeNodes::DoDeleted(TPxTreeNode* item) {
  if (OnDeleted) OnDeleted(this, item);
}
