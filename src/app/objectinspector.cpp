#include "app/objectinspector.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "classes/collection.h"
#include "classes/propaccess.h"
#include "rtl/exceptions.h"
#include "rtl/floattext.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"

KST_CLASS_IMPL(TMObjectInspector, "Obrix_OI")

namespace {

const TTypeInfo& ExceptionEventType() {
  static const TMethodTypeInfo type(
      u"TExceptionEvent", u"Forms", mkProcedure,
      {{ParamFlagBit(pfAddress), u"Sender", u"TObject"}, {ParamFlagBit(pfAddress), u"E", u"Exception"}});
  return type;
}

const TTypeInfo& StringsType() {
  return TStringsClass().TypeInfo();
}

constexpr const char16_t* kBanner = u"Kestrum object inspector";

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TExceptionEvent>) {
  return ExceptionEventType();
}

void TMObjectInspector::Describe(TClassBuilder<TMObjectInspector>& c) {
  c.Property(u"About", &TMObjectInspector::About);
  c.Property(u"Filter", &TMObjectInspector::Filter, &TMObjectInspector::SetFilter, &types::TypeKinds());
  c.Property(u"Component", &TMObjectInspector::Component,
             [](TMObjectInspector& o, TComponent* value) { o.SetComponent(value); });
  c.Property(u"Properties", &TMObjectInspector::Properties, nullptr, &StringsType());
  c.Property(u"Types", &TMObjectInspector::Types, nullptr, &StringsType());
  c.Property(u"Values", &TMObjectInspector::Values, nullptr, &StringsType());
  c.Property(u"Kinds", &TMObjectInspector::Kinds, nullptr, &StringsType());
  c.Property(u"Declarations", &TMObjectInspector::Declarations, nullptr, &StringsType());
  c.Property(u"ObjectType", &TMObjectInspector::ObjectType);
  c.Property(u"ObjectName", &TMObjectInspector::ObjectName);
  c.Property(u"OnException", &TMObjectInspector::OnException);
}

void RegisterObjectInspectorClasses(TClassRegistry& registry) {
  registry.RegisterClass(TMObjectInspector::StaticClass());
}

// --- TPropInfoList ---------------------------------------------------------

TPropInfoList::TPropInfoList(const TObject& instance, TTypeKinds filter)
    : FList(GetPropList(ClassOf(instance), filter, true)) {}

const TPropInfo* TPropInfoList::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  return FList[static_cast<size_t>(index)];
}

bool TPropInfoList::Contains(const TPropInfo& prop) const {
  return std::any_of(FList.begin(), FList.end(), [&](const TPropInfo* p) {
    return &p->PropType() == &prop.PropType() && SameText(p->Name(), prop.Name());
  });
}

const TPropInfo* TPropInfoList::Find(StringView name) const {
  for (const TPropInfo* p : FList)
    if (SameText(p->Name(), name)) return p;
  return nullptr;
}

void TPropInfoList::Delete(int index) {
  Items(index);
  FList.erase(FList.begin() + index);
}

void TPropInfoList::Intersect(const TPropInfoList& other) {
  for (int i = Count() - 1; i >= 0; --i)
    if (!other.Contains(*FList[static_cast<size_t>(i)])) Delete(i);
}

// --- TMObjectInspector -----------------------------------------------------

TMObjectInspector::TMObjectInspector(TComponent* owner)
    : TComponent(owner),
      FAbout(kBanner),
      FProperties(std::make_unique<TStringList>()),
      FTypes(std::make_unique<TStringList>()),
      FValues(std::make_unique<TStringList>()),
      FKinds(std::make_unique<TStringList>()),
      FDecl(std::make_unique<TStringList>()) {}

TMObjectInspector::~TMObjectInspector() = default;

int TMObjectInspector::FloatPrecision(TFloatType type) {
  switch (type) {
    case ftSingle: return 7;
    case ftDouble: return 15;
    case ftExtended:
    case ftComp: return 18;
    case ftCurr: return 19;
  }
  return 15;
}

TComponent* TMObjectInspector::Component() const {
  return dynamic_cast<TComponent*>(FObject);
}

void TMObjectInspector::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  // An inspected object that goes away leaves nothing to act on.
  if (component == FObject) {
    FObject = nullptr;
    FPropList.reset();
  }
  if (component == FOwner) FOwner = nullptr;
}

void TMObjectInspector::SetComponent(TObject* instance) {
  // The previous object is not touched: a collection or an item may have been
  // freed since, and only components tell when they go.
  if (FOwner) FOwner->RemoveFreeNotification(this);
  FObject = instance;
  auto* component = dynamic_cast<TComponent*>(instance);
  if (!component)
    FOwner = Owner();
  else if (component->Owner() && component->Owner() == ApplicationComponent())
    FOwner = component;
  else
    FOwner = component->Owner();
  if (FOwner) FOwner->FreeNotification(this);
  if (!instance) {
    // The rows of the previous object stay; only acting through its
    // descriptors on no object is stopped.
    FPropList.reset();
    return;
  }
  if (component) component->FreeNotification(this);
  FCompName = component ? component->Name() : String();
  FCompType = ClassOf(*instance).ClassName();
  FPropList = std::make_unique<TPropInfoList>(*instance, FFilter);
  FProperties->Clear();
  FTypes->Clear();
  FValues->Clear();
  FKinds->Clear();
  FDecl->Clear();
  TStringList lines;
  for (int i = 0; i < FPropList->Count(); ++i) {
    const TPropInfo& prop = *FPropList->Items(i);
    lines.Clear();
    ReadValue(prop, lines);
    if (lines.GetCount() == 0) continue;
    FValues->Add(lines.GetCount() == 1 ? lines.Get(0) : String(u"(TStrings)"));
    FProperties->Add(prop.Name());
    FTypes->Add(prop.PropType().Name());
    FKinds->Add(IntToStr(prop.Kind()));
    if (prop.Kind() == tkMethod) FDecl->Add(GetMethodDecl(prop.Name()));
  }
}

const TPropInfo* TMObjectInspector::GetProperty(StringView name) const {
  return FPropList ? FPropList->Find(name) : nullptr;
}

String TMObjectInspector::GetPropertyType(StringView name) const {
  const TPropInfo* prop = GetProperty(name);
  return prop ? prop->PropType().Name() : String();
}

void TMObjectInspector::GetPropertyValue(StringView name, TStrings& lines) const {
  lines.Clear();
  if (const TPropInfo* prop = GetProperty(name)) ReadValue(*prop, lines);
}

void TMObjectInspector::ReadValue(const TPropInfo& prop, TStrings& lines) const {
  if (!FObject) return;
  const TObject& o = *FObject;
  try {
    switch (prop.Kind()) {
      case tkInteger: lines.Add(IntToStr(GetOrdProp(o, prop))); break;
      case tkChar:
      case tkWChar: lines.Add(String(1, static_cast<Char>(GetOrdProp(o, prop)))); break;
      case tkEnumeration: lines.Add(GetEnumProp(o, prop)); break;
      case tkFloat: {
        auto type = static_cast<const TFloatTypeInfo&>(prop.PropType()).FloatType();
        lines.Add(FloatToStrF(GetFloatProp(o, prop), ffGeneral, FloatPrecision(type), 0));
        break;
      }
      case tkString:
      case tkLString:
      case tkWString:
      case tkUString: lines.Add(GetStrProp(o, prop)); break;
      case tkSet: {
        // Only the members of the first sixteen ordinals are shown.
        Int64 bits = GetOrdProp(o, prop) & 0xFFFF;
        lines.Add(SetToString(static_cast<const TSetTypeInfo&>(prop.PropType()), bits, true));
        break;
      }
      case tkClass: {
        TObject* value = GetObjectProp(o, prop);
        if (!value) break;
        if (auto* strings = dynamic_cast<TStrings*>(value)) {
          for (Integer i = 0; i < strings->GetCount(); ++i) lines.Add(strings->Get(i));
        } else if (dynamic_cast<TCollection*>(value)) {
          lines.Add(u"(" + ClassOf(*value).ClassName() + u")");
        } else if (auto* component = dynamic_cast<TComponent*>(value)) {
          String text = component->Name();
          TComponent* owner = component->Owner();
          String ownerName = FOwner ? FOwner->Name() : String();
          if (owner && owner->Name() != ownerName) text = owner->Name() + u"." + text;
          lines.Add(text);
        } else if (auto* persistent = dynamic_cast<TPersistent*>(value)) {
          lines.Add(u"(" + persistent->GetNamePath() + u")");
        }
        break;
      }
      case tkMethod: lines.Add(prop.Access().IsMethodAssigned(o) ? String(u"Assigned") : String()); break;
      case tkVariant: lines.Add(VarToStr(GetVariantProp(o, prop))); break;
      default: break;
    }
  } catch (const Exception&) {
    lines.Clear();  // a property that cannot be read is left out
  }
}

bool TMObjectInspector::SetPropertyValue(StringView name, const String& text) {
  const TPropInfo* prop = GetProperty(name);
  if (!prop || !FObject) return false;
  WriteText(*prop, text);
  return true;
}

bool TMObjectInspector::SetPropertyValue(StringView name, const TStrings& lines) {
  const TPropInfo* prop = GetProperty(name);
  if (!prop || !FObject || lines.GetCount() == 0) return false;
  if (prop->Kind() != tkClass) {
    WriteText(*prop, lines.Get(0));
    return true;
  }
  try {
    TObject* current = GetObjectProp(*FObject, *prop);
    if (auto* strings = dynamic_cast<TStrings*>(current)) {
      strings->Assign(lines);
    } else {
      TComponent* target = FindComponentByPath(lines.Get(0));
      const auto& wanted = static_cast<const TClassTypeInfo&>(prop->PropType()).ClassInfo();
      SetObjectProp(*FObject, *prop, target && InheritsFrom(*target, wanted) ? target : nullptr);
    }
  } catch (const Exception& e) {
    Report(e);
  }
  return true;
}

namespace {

// The text is read at the widest precision; a number the property's own type
// cannot hold is refused as the overflow it is, not stored as infinity.
long double FloatWithinType(const TPropInfo& prop, long double value) {
  if (!std::isfinite(value)) return value;
  long double largest = std::numeric_limits<long double>::max();
  switch (static_cast<const TFloatTypeInfo&>(prop.PropType()).FloatType()) {
    case ftSingle: largest = std::numeric_limits<float>::max(); break;
    case ftDouble: largest = std::numeric_limits<double>::max(); break;
    case ftComp: largest = 9223372036854775807.0L; break;
    case ftCurr: largest = 922337203685477.5807L; break;
    case ftExtended: break;
  }
  if (std::fabs(value) > largest) throw EOverflow(u"Floating point overflow");
  return value;
}

}  // namespace

void TMObjectInspector::WriteText(const TPropInfo& prop, const String& text) {
  TObject& o = *FObject;
  try {
    switch (prop.Kind()) {
      case tkInteger:
        if (!text.empty()) SetOrdProp(o, prop, StrToIntDef(text, 0));
        break;
      case tkChar:
      case tkWChar:
        if (text.empty()) throw EConvertError(u"Invalid character value");
        SetOrdProp(o, prop, text[0]);
        break;
      case tkEnumeration: {
        const auto& type = static_cast<const TOrdinalTypeInfo&>(prop.PropType());
        Int64 top = type.MaxValue() >= 256 ? 255 : type.MaxValue();
        Int64 bottom = type.MaxValue() >= 256 ? 0 : type.MinValue();
        for (Int64 v = bottom; v <= top; ++v)
          if (SameText(GetEnumName(type, v), text)) {
            SetOrdProp(o, prop, v);
            break;
          }
        break;
      }
      case tkFloat:
        if (!text.empty()) SetFloatProp(o, prop, FloatWithinType(prop, StrToFloat(text)));
        break;
      case tkString:
      case tkLString:
      case tkWString:
      case tkUString: SetStrProp(o, prop, text); break;
      case tkVariant: SetVariantProp(o, prop, Variant(text)); break;
      case tkSet: {
        const auto& type = static_cast<const TSetTypeInfo&>(prop.PropType());
        Int64 bits = 0;
        size_t pos = 0;
        auto separator = [](Char c) { return c == u' ' || c == u',' || c == u'[' || c == u']'; };
        while (pos < text.size()) {
          while (pos < text.size() && separator(text[pos])) ++pos;
          size_t start = pos;
          while (pos < text.size() && !separator(text[pos])) ++pos;
          if (pos == start) continue;
          Int64 ordinal = GetEnumValue(type.CompType(), StringView(text).substr(start, pos - start));
          if (ordinal >= 0 && ordinal <= 31) bits |= Int64{1} << ordinal;
        }
        SetOrdProp(o, prop, bits);
        break;
      }
      default: break;
    }
  } catch (const Exception& e) {
    Report(e);
  }
}

void TMObjectInspector::Report(const Exception& e) {
  if (OnException) OnException(this, e);
}

bool TMObjectInspector::SetEventValue(StringView name, const std::any& method) {
  const TPropInfo* prop = GetProperty(name);
  if (!prop || !FObject) return false;
  try {
    SetMethodProp(*FObject, *prop, method);
  } catch (const Exception& e) {
    Report(e);
  }
  return true;
}

String TMObjectInspector::GetMethodDecl(StringView name) const {
  const TPropInfo* prop = GetProperty(name);
  if (!prop || prop->Kind() != tkMethod) return {};
  return MethodDeclaration(prop->Name(), static_cast<const TMethodTypeInfo&>(prop->PropType()));
}

String MethodDeclaration(StringView name, const TMethodTypeInfo& type) {
  bool procedure = type.MethodKind() == mkProcedure || type.MethodKind() == mkSafeProcedure;
  String text = (procedure ? u"procedure " : u"function ") + String(name);
  String params;
  const TParamFlags var = ParamFlagBit(pfVar);
  const TParamFlags constant = ParamFlagBit(pfConst);
  const TParamFlags reference = ParamFlagBit(pfReference);
  const TParamFlags array = ParamFlagBit(pfArray);
  for (const auto& p : type.Params()) {
    if (!params.empty()) params += u"; ";
    TParamFlags flags = p.Flags & ~ParamFlagBit(pfAddress);
    if (flags == var)
      params += u"var ";
    else if (flags == constant || flags == (constant | reference) || flags == (constant | reference | array))
      params += u"const ";
    params += p.Name;
    if (!p.TypeName.empty()) {
      params += u" :";
      if (flags == (reference | array)) params += u"array of ";
      params += p.TypeName;
    }
  }
  if (!type.Params().empty()) text += u" (" + params + u")";
  if (type.MethodKind() == mkFunction || type.MethodKind() == mkSafeFunction) text += u" :" + type.ResultTypeName();
  return text;
}

TComponent* TMObjectInspector::FindComponentByPath(StringView path) const {
  size_t dot = path.find(u'.');
  if (dot != StringView::npos) {
    TComponent* application = ApplicationComponent();
    TComponent* form = application ? application->FindComponent(path.substr(0, dot)) : nullptr;
    return form ? form->FindComponent(path.substr(dot + 1)) : nullptr;
  }
  return FOwner ? FOwner->FindComponent(path) : nullptr;
}
