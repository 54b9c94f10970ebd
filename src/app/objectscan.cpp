#include "app/objectscan.h"

#include "classes/reflection.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"

namespace {

constexpr size_t kMaxClassNameLength = 255;
constexpr StringView kCollectionMark = u" = <";

// Trim without a copy: the scan looks at every line of large texts.
StringView TrimView(StringView text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && text[first] <= u' ') ++first;
  while (last > first && text[last - 1] <= u' ') --last;
  return text.substr(first, last - first);
}

bool StartsWithWord(StringView text, StringView word) {
  return text.size() > word.size() && text.substr(0, word.size()) == word && text[word.size()] <= u' ';
}

// The text after the header's keyword, trimmed and cut as the tree shows it.
String HeaderLabelText(StringView trimmed, THeaderKeyword keyword) {
  const size_t keywordLength = keyword == THeaderKeyword::Inherited ? 9 : 6;
  String label(TrimView(trimmed.substr(keywordLength)));
  if (label.size() > kMaxClassNameLength) label.resize(kMaxClassNameLength);
  return label;
}

bool IsPropertyPathChar(Char c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'.';
}

// "Columns = <" (or "Columns = <>" for an empty one): the collection's
// property name; nothing for other lines, including a string value that
// happens to contain the mark.
std::optional<String> CollectionName(StringView trimmed) {
  const size_t mark = trimmed.find(kCollectionMark);
  if (mark == StringView::npos || mark == 0) return std::nullopt;
  const StringView name = trimmed.substr(0, mark);
  for (Char c : name)
    if (!IsPropertyPathChar(c)) return std::nullopt;
  return String(name);
}

Integer IndentDepth(StringView line) {
  size_t blanks = 0;
  while (blanks < line.size() && line[blanks] <= u' ') ++blanks;
  return static_cast<Integer>(blanks / 2);
}

// Whether one of the class's ancestors (not the class itself) is TControl:
// such objects show as controls.
bool DescendsFromControl(const TClassInfo& cls) {
  for (const TClassInfo* ancestor = cls.ClassParent(); ancestor; ancestor = ancestor->ClassParent())
    if (ancestor->ClassName() == u"TControl") return true;
  return false;
}

}  // namespace

THeaderKeyword ObjectHeaderKeyword(StringView line) {
  const StringView trimmed = TrimView(line);
  if (StartsWithWord(trimmed, u"object")) return THeaderKeyword::Object;
  if (StartsWithWord(trimmed, u"inherited")) return THeaderKeyword::Inherited;
  if (StartsWithWord(trimmed, u"inline")) return THeaderKeyword::Inline;
  return THeaderKeyword::None;
}

TObjectLabel SplitObjectLabel(StringView label) {
  TObjectLabel result;
  StringView classPart = label;
  if (const size_t colon = label.find(u": "); colon != StringView::npos) {
    result.Name = String(label.substr(0, colon));
    classPart = label.substr(colon + 2);
  }
  // A child position written after the class: "TButton [2]".
  if (const size_t bracket = classPart.find(u" [");
      bracket != StringView::npos && !classPart.empty() && classPart.back() == u']')
    classPart = classPart.substr(0, bracket);
  result.ClassName = Trim(classPart);
  if (result.ClassName.size() > kMaxClassNameLength) result.ClassName.resize(kMaxClassNameLength);
  return result;
}

std::optional<TObjectLabel> ObjectHeaderLabel(StringView line) {
  const THeaderKeyword keyword = ObjectHeaderKeyword(line);
  if (keyword == THeaderKeyword::None) return std::nullopt;
  return SplitObjectLabel(HeaderLabelText(TrimView(line), keyword));
}

void ListUnknownClasses(const TStrings& lines, const TClassRegistry& registry, TStrings& list) {
  list.Clear();
  for (Integer i = 1; i < lines.Count(); ++i) {
    const std::optional<TObjectLabel> header = ObjectHeaderLabel(lines[i]);
    if (!header || header->ClassName.empty() || registry.FindClass(header->ClassName)) continue;
    bool listed = false;
    for (Integer j = 0; j < list.Count() && !listed; ++j) listed = SameText(list[j], header->ClassName);
    if (!listed) list.Add(header->ClassName);
  }
}

std::vector<TScannedNode> ScanObjectLines(const TStrings& lines, const TClassRegistry* registry,
                                          const TLiveObjectLookups& live) {
  std::vector<TScannedNode> nodes;
  Integer depth = 0;
  Integer parent = -1;
  String lastObjectName;
  // The collections still open, innermost last: a collection inside a
  // collection item (a category's items) ends where its owner's next item
  // or a line of its own depth begins, and the owner's count goes on.
  struct TOpenCollection {
    String Name;
    Integer Depth = 0;
    Integer ItemCounter = 0;
  };
  std::vector<TOpenCollection> open;
  // Items outside any collection (a damaged text) still count from 0.
  TOpenCollection loose;

  for (Integer lineIndex = 0; lineIndex < lines.Count(); ++lineIndex) {
    const String line = lines[lineIndex];
    const StringView trimmed = TrimView(line);
    TScannedNode node;
    node.Line = lineIndex;
    TObjectNodeData& data = node.Data;
    const Integer lineDepth = IndentDepth(line);

    if (const THeaderKeyword keyword = ObjectHeaderKeyword(trimmed); keyword != THeaderKeyword::None) {
      TObjectLabel label = SplitObjectLabel(HeaderLabelText(trimmed, keyword));
      data.Name = std::move(label.Name);
      data.ClassName = std::move(label.ClassName);
      data.Kind = okObject;
      data.ImageIndex = oiOther;
      lastObjectName = data.Name;
      // No object sits inside a collection: every open one has ended.
      open.clear();
      if (const TClassInfo* cls = registry ? registry->FindClass(data.ClassName) : nullptr) {
        data.UnitName = cls->UnitName();
        if (DescendsFromControl(*cls)) data.ImageIndex = oiControl;
      }
    } else if (std::optional<String> collection = CollectionName(trimmed)) {
      while (!open.empty() && open.back().Depth >= lineDepth) open.pop_back();
      // Only a collection the object holds itself can be asked of the
      // object; one inside an item is a property of that item.
      const bool ownedByObject = open.empty();
      open.push_back({*collection, lineDepth, 0});
      data.Name = std::move(*collection);
      data.ClassName = u"TCollection";
      if (live.CollectionTypeName && ownedByObject) {
        try {
          String typeName = live.CollectionTypeName(lastObjectName, data.Name);
          if (!typeName.empty()) data.ClassName = std::move(typeName);
        } catch (const std::exception&) {
          // The preview did not build it: the default label stays.
        }
      }
      data.Kind = okCollection;
      data.ImageIndex = oiCollection;
    } else if (trimmed == u"item") {
      // The items of a collection sit one level below it; collections opened
      // inside an earlier item at this depth or deeper have ended.
      while (open.size() > 1 && open.back().Depth >= lineDepth) open.pop_back();
      TOpenCollection& owner = open.empty() ? loose : open.back();
      const Integer index = owner.ItemCounter;
      data.Name = IntToStr(index) + u" - item";
      data.ClassName = u"TCollectionItem";
      if (live.CollectionItem && open.size() == 1) {
        try {
          if (std::optional<TObjectLabel> item = live.CollectionItem(lastObjectName, owner.Name, index)) {
            String display = item->Name;
            for (Char& c : display)
              if (c == u':') c = u'_';
            data.Name = IntToStr(index) + u" - " + display;
            data.ClassName = item->ClassName;
          }
        } catch (const std::exception&) {
        }
      }
      ++owner.ItemCounter;
      data.Kind = okCollectionItem;
      data.ImageIndex = oiOther;
    } else {
      continue;
    }

    if (lineDepth > depth) {
      parent = nodes.empty() ? -1 : static_cast<Integer>(nodes.size()) - 1;
    } else {
      for (Integer up = depth - lineDepth; up > 0 && parent >= 0; --up) parent = nodes[parent].Parent;
    }
    depth = lineDepth;

    node.Parent = parent;
    if (lineDepth == 0) {
      data.Kind = okRootObject;
      data.ImageIndex = oiRoot;
    }
    nodes.push_back(std::move(node));
    // Whatever follows at the root's depth hangs below the first root.
    if (parent < 0) {
      for (Integer i = 0; i < static_cast<Integer>(nodes.size()); ++i)
        if (nodes[i].Parent < 0) {
          parent = i;
          break;
        }
    }
  }
  return nodes;
}

Integer FindObjectNode(const std::vector<TScannedNode>& nodes, StringView name) {
  for (size_t i = 0; i < nodes.size(); ++i)
    if (SameText(nodes[i].Data.Name, name)) return static_cast<Integer>(i);
  return -1;
}

std::optional<String> EnclosingObjectName(const TStrings& lines, Integer line) {
  if (lines.Count() == 0) return std::nullopt;
  if (line >= lines.Count()) line = lines.Count() - 1;
  for (; line >= 0; --line)
    if (std::optional<TObjectLabel> header = ObjectHeaderLabel(lines[line])) return header->Name;
  return std::nullopt;
}

bool IncrementalSearchMatches(StringView searchText, StringView nodeName) {
  const size_t n = std::min(searchText.size(), nodeName.size());
  return SameText(searchText.substr(0, n), nodeName.substr(0, n));
}
