// The class browser's content: every type the reflection registry describes,
// by qualified name, with a class's ancestry and each type's methods,
// properties and fields as declaration texts. The program's own window units
// are left out. The main window shows it in a tree.
#pragma once

#include <vector>

#include "rtl/types.h"

class TClassRegistry;

struct TBrowserType {
  String QualifiedName;        // unit name, ".", type name
  std::vector<String> Origin;  // the ancestors, parent first
  std::vector<String> Methods;
  std::vector<String> Properties;
  std::vector<String> Fields;
};

// The listed types, sorted by qualified name (locale-aware, case-sensitive).
std::vector<TBrowserType> BrowserTypes(const TClassRegistry& registry);

// The first type whose qualified name, in upper case, holds "." and the text
// in upper case (partial: a name after a dot that starts with the text), or
// equals the text without regard to case; -1 when none does.
Integer FindBrowserType(const std::vector<TBrowserType>& types, StringView text, bool partial);

// "Class Browser (%d)".
String ClassBrowserCaption(Integer typeCount);
