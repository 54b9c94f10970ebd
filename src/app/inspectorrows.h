// The rows of the editor window's property and event views: the live object
// of the preview as the object inspector reads it, combined with the object's
// own lines in the form text, which tell what the text sets (shown bold) and
// how it writes the value. An object the preview did not build is shown from
// its text lines alone.
#pragma once

#include <vector>

#include "app/objectscan.h"

class TMObjectInspector;
class TPropInfo;

// The lines of the text that set properties of the named object: lines at
// the object block's own indentation (a child's header among them, not the
// child's lines), and properties of collection items as "Item[n].Name = v".
// Nothing happens for an empty name.
void ReadObjectProperties(const TStrings& lines, StringView objectName, TStrings& list);

// A value as the text writes it, with what the text cannot show plainly
// (a collection "<", binary data "{", a string list "(") replaced by the
// live value, or a placeholder when there is none.
String FormatValueText(StringView textValue, StringView liveValue);

// A live value not written in the text, shown as the designer shows its
// type: colour and cursor names, dates, times and key combinations.
String FormatLiveValue(const TObject& instance, const TPropInfo& prop, const String& liveValue);

struct TInspectorRow {
  Integer Parent = -1;  // index of the parent row (an object-valued property); -1 at the top
  TObjectNodeData Data;
};

// Object-valued properties are followed into the objects they hold, so that
// "Font.Height" meets its text line. Objects already on the path are not
// entered again, and the nesting stops at this depth.
inline constexpr int kMaxInspectorDepth = 8;

// The property rows of an object (none: from the text lines alone), by name
// within each level. The inspector is left inspecting the object.
std::vector<TInspectorRow> PropertyRows(TMObjectInspector& inspector, TObject* object, const String& objectName,
                                        const TStrings& formText);
// The event rows of an object; none without an object.
std::vector<TInspectorRow> EventRows(TMObjectInspector& inspector, TObject* object, const String& objectName,
                                     const TStrings& formText);
