#include "app/classbrowser.h"

#include <algorithm>

#include "app/objectinspector.h"
#include "classes/reflection.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"

namespace {

// The program's own window units: no user's form is built of them. The
// program's windows register under units named "Kestrum_..." as well.
bool IsOwnWindowUnit(const String& qualifiedName) {
  static const char16_t* const kUnits[] = {u"Main.",       u"Editor.",  u"AboutDlg.", u"Params.",
                                           u"ExtractDlg.", u"TypeDlg.", u"Kestrum_"};
  for (const char16_t* unit : kUnits)
    if (qualifiedName.size() >= StringView(unit).size() &&
        SameText(StringView(qualifiedName).substr(0, StringView(unit).size()), unit))
      return true;
  return false;
}

TBrowserType ClassEntry(const TClassInfo& cls) {
  TBrowserType type;
  type.QualifiedName = cls.UnitName() + u"." + cls.ClassName();
  for (const TClassInfo* ancestor = cls.ClassParent(); ancestor; ancestor = ancestor->ClassParent())
    type.Origin.push_back(ancestor->ClassName());
  for (const TMethodInfo& method : cls.Methods())
    type.Methods.push_back(method.Type() ? MethodDeclaration(method.Name(), *method.Type())
                                         : u"procedure " + method.Name());
  for (const auto& prop : cls.Properties())
    type.Properties.push_back(u"property " + prop->Name() + u": " + prop->PropType().Name());
  for (const TFieldInfo& field : cls.Fields())
    type.Fields.push_back(field.Name() + u": " + field.FieldClass().ClassName());
  return type;
}

}  // namespace

std::vector<TBrowserType> BrowserTypes(const TClassRegistry& registry) {
  std::vector<TBrowserType> types;
  for (const TClassInfo* cls : registry.Classes()) types.push_back(ClassEntry(*cls));
  for (const TTypeInfo* info : registry.Types()) {
    TBrowserType type;
    type.QualifiedName = info->UnitName() + u"." + info->Name();
    types.push_back(std::move(type));
  }
  std::erase_if(types, [](const TBrowserType& type) { return IsOwnWindowUnit(type.QualifiedName); });
  std::stable_sort(types.begin(), types.end(), [](const TBrowserType& a, const TBrowserType& b) {
    return AnsiCompareStr(a.QualifiedName, b.QualifiedName) < 0;
  });
  return types;
}

Integer FindBrowserType(const std::vector<TBrowserType>& types, StringView text, bool partial) {
  const String wanted = u"." + UpperCase(text);
  for (size_t i = 0; i < types.size(); ++i) {
    const bool match = partial ? UpperCase(types[i].QualifiedName).find(wanted) != String::npos
                               : SameText(types[i].QualifiedName, text);
    if (match) return static_cast<Integer>(i);
  }
  return -1;
}

String ClassBrowserCaption(Integer typeCount) {
  return Format(u"Class Browser (%d)", {typeCount});
}
