#include "app/inspectorrows.h"

#include <set>

#include "app/objectinspector.h"
#include "app/strutils.h"
#include "classes/collection.h"
#include "classes/identmaps.h"
#include "classes/propaccess.h"
#include "rtl/datetime.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "rtl/uitypes.h"

namespace {

Integer LeadingBlanks(StringView line) {
  size_t blanks = 0;
  while (blanks < line.size() && line[blanks] <= u' ') ++blanks;
  return static_cast<Integer>(blanks);
}

// The value a text line gives, as the views show it.
String TextLineValue(const String& line, StringView liveValue) {
  return FormatValueText(Dequote(Trim(ValuePart(line, u"=")), u'\''), liveValue);
}

bool HasOwnTextLines(const TObject* object) {
  return !dynamic_cast<const TCollection*>(object) && !dynamic_cast<const TCollectionItem*>(object);
}

String InspectedName(const TObject* object, const String& objectName) {
  if (!object) return objectName;
  if (const auto* component = dynamic_cast<const TComponent*>(object)) return component->Name();
  return String();
}

// One row of the inspector, copied out before the inspector moves on to a
// nested object.
struct TLiveRow {
  TObjectNodeData Data;
  TObject* Held = nullptr;
};

std::vector<TLiveRow> LiveRows(TMObjectInspector& inspector, TObject& object, bool events) {
  inspector.SetComponent(&object);
  std::vector<TLiveRow> rows;
  const TStrings& names = *inspector.Properties();
  for (Integer i = 0; i < names.Count(); ++i) {
    const TTypeKind kind = static_cast<TTypeKind>(StrToIntDef((*inspector.Kinds())[i], tkUnknown));
    if ((kind == tkMethod) != events) continue;
    TLiveRow row;
    row.Data.Name = names[i];
    row.Data.ClassName = (*inspector.Types())[i];
    row.Data.TypeKind = kind;
    row.Data.ValueText = (*inspector.Values())[i];
    if (const TPropInfo* prop = inspector.GetProperty(row.Data.Name)) {
      if (kind == tkClass) {
        try {
          row.Held = GetObjectProp(object, *prop);
        } catch (const Exception&) {
        }
      }
      row.Data.ValueText = FormatLiveValue(object, *prop, row.Data.ValueText);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

class TPropertyRowBuilder {
 public:
  TPropertyRowBuilder(TMObjectInspector& inspector, const TStrings& textLines)
      : FInspector(inspector), FTextLines(textLines) {}

  void Fill(TObject& object, Integer parent, const String& prefix, int depth) {
    FPath.insert(&object);
    for (TLiveRow& live : LiveRows(FInspector, object, false)) {
      const String liveValue = live.Data.ValueText;
      live.Data.TextIndex = IndexOfNamePart(FTextLines, prefix + live.Data.Name, u"=");
      if (live.Data.TextIndex >= 0) live.Data.ValueText = TextLineValue(FTextLines[live.Data.TextIndex], liveValue);
      live.Data.ValueObject = live.Held;
      const Integer index = static_cast<Integer>(Rows.size());
      Rows.push_back({parent, live.Data});
      // A reference back to an object on the path would never end.
      if (live.Held && !FPath.count(live.Held) && depth + 1 < kMaxInspectorDepth) {
        try {
          Fill(*live.Held, index, prefix + live.Data.Name + u".", depth + 1);
        } catch (const Exception&) {
          // The nested object's rows are left out.
        }
      }
    }
    FPath.erase(&object);
  }

  std::vector<TInspectorRow> Rows;

 private:
  TMObjectInspector& FInspector;
  const TStrings& FTextLines;
  std::set<const TObject*> FPath;
};

}  // namespace

void ReadObjectProperties(const TStrings& lines, StringView objectName, TStrings& list) {
  if (objectName.empty()) return;
  list.Clear();
  bool inBlock = false;
  Integer blockIndent = 0;
  Integer items = 0;
  for (Integer i = 0; i < lines.Count(); ++i) {
    const String line = lines[i];
    if (inBlock) {
      const Integer indent = LeadingBlanks(line);
      const String trimmed = Trim(line);
      if (indent == blockIndent && !trimmed.empty())
        list.Add(trimmed);
      else if (items > 0 && indent <= blockIndent)
        list.Add(trimmed);
      else if (items > 0 && trimmed.find(u'=') != String::npos)
        list.Add(u"Item[" + IntToStr(items - 1) + u"]." + trimmed);
      if (SameText(trimmed, u"item"))
        ++items;
      else if (SameText(trimmed, u"end>"))
        items = 0;
    }
    if (std::optional<TObjectLabel> header = ObjectHeaderLabel(line)) {
      inBlock = SameText(Trim(header->Name), objectName);
      // A header on the last line has no block below it.
      blockIndent = i + 1 < lines.Count() ? LeadingBlanks(lines[i + 1]) : 0;
      items = 0;
    }
  }
}

String FormatValueText(StringView textValue, StringView liveValue) {
  const auto liveOr = [&](const char16_t* placeholder) {
    return liveValue.empty() ? String(placeholder) : String(liveValue);
  };
  if (!textValue.empty()) {
    switch (textValue.front()) {
      case u'<': return liveOr(u"(TCollection)");
      case u'{': return liveOr(u"(Binary data)");
      case u'(': return liveOr(u"(TStrings)");
      default: break;
    }
  }
  return String(textValue);
}

String FormatLiveValue(const TObject& instance, const TPropInfo& prop, const String& liveValue) {
  const String& type = prop.PropType().Name();
  try {
    if (SameText(type, u"TColor")) {
      const Integer color = static_cast<Integer>(GetOrdProp(instance, prop));
      String ident;
      return ColorToIdent(color, ident) ? ident : u"$" + IntToHex(static_cast<Cardinal>(color), 8);
    }
    if (SameText(type, u"TDate")) return DateToStr(static_cast<TDateTime>(GetFloatProp(instance, prop)));
    if (SameText(type, u"TTime")) return TimeToStr(static_cast<TDateTime>(GetFloatProp(instance, prop)));
    if (SameText(type, u"TDateTime")) return DateTimeToStr(static_cast<TDateTime>(GetFloatProp(instance, prop)));
    if (SameText(type, u"TShortCut")) return ShortCutToText(static_cast<TShortCut>(GetOrdProp(instance, prop)));
    if (SameText(type, u"TCursor")) {
      const Integer cursor = static_cast<Integer>(GetOrdProp(instance, prop));
      String ident;
      if (cursor >= -21 && cursor <= 0 && CursorToIdent(cursor, ident)) return ident;
      return IntToStr(cursor);
    }
  } catch (const Exception&) {
  }
  return liveValue;
}

std::vector<TInspectorRow> PropertyRows(TMObjectInspector& inspector, TObject* object, const String& objectName,
                                        const TStrings& formText) {
  TStringList textLines;
  if (HasOwnTextLines(object)) ReadObjectProperties(formText, InspectedName(object, objectName), textLines);
  if (object) {
    TPropertyRowBuilder builder(inspector, textLines);
    builder.Fill(*object, -1, String(), 0);
    inspector.SetComponent(object);
    return std::move(builder.Rows);
  }
  std::vector<TInspectorRow> rows;
  for (Integer i = 0; i < textLines.Count(); ++i) {
    const String line = textLines[i];
    TInspectorRow row;
    row.Data.Name = NamePart(line, u"=");
    if (row.Data.Name.empty() || line.find(u'=') == String::npos) continue;
    row.Data.ValueText = TextLineValue(line, u"");
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<TInspectorRow> EventRows(TMObjectInspector& inspector, TObject* object, const String& objectName,
                                     const TStrings& formText) {
  std::vector<TInspectorRow> rows;
  if (!object) return rows;
  TStringList textLines;
  if (HasOwnTextLines(object)) ReadObjectProperties(formText, InspectedName(object, objectName), textLines);
  for (TLiveRow& live : LiveRows(inspector, *object, true)) {
    live.Data.TextIndex = IndexOfNamePart(textLines, live.Data.Name, u"=");
    live.Data.ValueText = live.Data.TextIndex >= 0 ? Trim(ValuePart(textLines[live.Data.TextIndex], u"=")) : String();
    rows.push_back({-1, live.Data});
  }
  return rows;
}
