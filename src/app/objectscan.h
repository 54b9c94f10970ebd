// The line scan that turns a form's text into the object tree of the editor
// window: objects, collections and their items, found line by line without a
// full parse, so that a text with errors still shows what it can. The scan
// only produces the nodes; the window puts them into its tree control and
// asks the preview for the live objects behind collection and item labels.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "classes/typinfo.h"
#include "rtl/stringlist.h"

class TClassRegistry;
class TObject;

// The caller data of every node of the editor window's trees; each tree uses
// its own subset of the fields.
struct TObjectNodeData {
  String Name;
  String UnitName;
  String ClassName;
  String ValueText;
  Integer ImageIndex = 0;
  Byte Kind = 0;
  TTypeKind TypeKind = tkUnknown;
  Integer TextIndex = -1;
  TObject* ValueObject = nullptr;
};

// TObjectNodeData::Kind in the object tree.
enum : Byte { okRootObject = 0, okObject = 1, okCollection = 2, okCollectionItem = 3 };
// TObjectNodeData::ImageIndex in the object tree.
enum : Integer { oiOther = 0, oiRoot = 1, oiControl = 2, oiCollection = 3 };

enum class THeaderKeyword { None, Object, Inherited, Inline };

// The keyword of an object header line ("object Name: TClass", "inherited
// Name: TClass" or a frame's "inline Name: TClass", blanks around it
// ignored); None for any other line. The keyword must begin the line and be
// followed by a blank, so a value that merely contains the word, or a
// collection named "objects", is no header. Frames count: without their node
// the frame's children would hang below whatever node came before.
THeaderKeyword ObjectHeaderKeyword(StringView line);
inline bool IsObjectHeader(StringView line) {
  return ObjectHeaderKeyword(line) != THeaderKeyword::None;
}

struct TObjectLabel {
  String Name;
  String ClassName;
};
// Splits "Name: TClass" at its first ": ". A label without one is an unnamed
// object and all of it is the class; a child position suffix " [n]" belongs to
// the header, not to the class name. The class is cut to 255 characters.
TObjectLabel SplitObjectLabel(StringView label);
// The name and class of an object header line; nothing for other lines.
std::optional<TObjectLabel> ObjectHeaderLabel(StringView line);

// Fills the list with the class names of the text's object headers that the
// registry does not know, each once (compared without regard to case); the
// root object's line is not looked at.
void ListUnknownClasses(const TStrings& lines, const TClassRegistry& registry, TStrings& list);

// What the preview knows of the live objects behind the text; either may be
// empty, and either may fail, which leaves the default label.
struct TLiveObjectLookups {
  // The type name of the property `property` of the preview's component
  // `component`; empty when there is no such component or property.
  std::function<String(const String& component, const String& property)> CollectionTypeName;
  // The display name and class of item `index` of the collection held by
  // property `collection` of component `component`.
  std::function<std::optional<TObjectLabel>(const String& component, const String& collection, Integer index)>
      CollectionItem;
};

struct TScannedNode {
  Integer Parent = -1;  // index of the parent node; -1 for a top-level node
  Integer Line = 0;     // the line the node was found on
  TObjectNodeData Data;
};

// The nodes of the text in text order (a parent before its children). The depth of a line is its indentation in steps
// of two blanks; a deeper line hangs below the node added last however deep it is, and a second object at the root's
// depth hangs below the first root.
std::vector<TScannedNode> ScanObjectLines(const TStrings& lines, const TClassRegistry* registry,
                                          const TLiveObjectLookups& live = {});

// The index of the first node, in text order, whose name equals `name` without
// regard to case; -1 when none does.
Integer FindObjectNode(const std::vector<TScannedNode>& nodes, StringView name);

// The name of the object whose header is the nearest one at or above `line`;
// nothing when no line up to the first is a header.
std::optional<String> EnclosingObjectName(const TStrings& lines, Integer line);

// The tree's incremental search: the search text and the node's name agree,
// without regard to case, over the shorter of their lengths.
bool IncrementalSearchMatches(StringView searchText, StringView nodeName);
