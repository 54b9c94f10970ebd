#include "classes/reflection.h"

#include <algorithm>

#include "classes/component.h"
#include "classes/persistent.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"
#include "rtl/sysstr.h"

namespace {

[[noreturn]] void WrongKind() { throw EPropertyError(u"Invalid property type"); }

}  // namespace

Cardinal EncodePropSpecifier(TPropSpecKind kind, Cardinal value) {
  switch (kind) {
    case pskField: return 0xFF000000u | (value & 0x00FFFFFFu);
    case pskVirtualMethod: return 0xFE000000u | (value & 0x0000FFFFu);
    case pskConstant:
    case pskStaticMethod: return value;
    case pskNone: break;
  }
  return 0;
}

TPropAccessor::~TPropAccessor() = default;
Int64 TPropAccessor::GetOrd(const TObject&) const { WrongKind(); }
void TPropAccessor::SetOrd(TObject&, Int64) const { WrongKind(); }
long double TPropAccessor::GetFloat(const TObject&) const { WrongKind(); }
void TPropAccessor::SetFloat(TObject&, long double) const { WrongKind(); }
String TPropAccessor::GetStr(const TObject&) const { WrongKind(); }
void TPropAccessor::SetStr(TObject&, const String&) const { WrongKind(); }
TObject* TPropAccessor::GetObject(const TObject&) const { WrongKind(); }
void TPropAccessor::SetObject(TObject&, TObject*) const { WrongKind(); }
Variant TPropAccessor::GetVariant(const TObject&) const { WrongKind(); }
void TPropAccessor::SetVariant(TObject&, const Variant&) const { WrongKind(); }
std::any TPropAccessor::GetMethod(const TObject&) const { WrongKind(); }
void TPropAccessor::SetMethod(TObject&, const std::any&) const { WrongKind(); }
bool TPropAccessor::IsMethodAssigned(const TObject&) const { return false; }

TPropInfo::TPropInfo(String name, const TTypeInfo* type, TypeSource typeSource,
                     std::shared_ptr<const TPropAccessor> accessor)
    : FName(std::move(name)), FType(type), FTypeSource(typeSource), FAccessor(std::move(accessor)) {}

bool TPropInfo::IsStored(const TObject& instance) const {
  if (FStoredFunc) return FStoredFunc(instance);
  return FStoredConstant;
}

TMethodInfo::TMethodInfo(String name, const TMethodTypeInfo* type, std::function<std::any(TObject&)> bind,
                         std::function<bool(const std::any&, const TObject&)> matches)
    : FName(std::move(name)), FType(type), FBind(std::move(bind)), FMatches(std::move(matches)) {}

TFieldInfo::TFieldInfo(String name, ClassSource fieldClass, std::function<TObject*(const TObject&)> get,
                       std::function<bool(TObject&, TObject*)> set)
    : FName(std::move(name)), FFieldClass(fieldClass), FGet(std::move(get)), FSet(std::move(set)) {}

TClassInfo::TClassInfo(String className, String unitName, const TClassInfo* parent, Creator creator,
                       const Describer& describe, ItemCreator itemCreator)
    : FClassName(std::move(className)),
      FUnitName(std::move(unitName)),
      FParent(parent),
      FCreator(std::move(creator)),
      FItemCreator(std::move(itemCreator)),
      FTypeInfo(*this) {
  if (describe) describe(*this);
  Finish();
}

void TClassInfo::Finish() {
  if (FParent) FAllProperties = FParent->FAllProperties;
  for (const auto& own : FOwnProperties) {
    auto same = std::find_if(FAllProperties.begin(), FAllProperties.end(),
                             [&](const TPropInfo* p) { return SameText(p->Name(), own->Name()); });
    if (same != FAllProperties.end()) {
      own->FNameIndex = (*same)->FNameIndex;
      *same = own.get();
    } else {
      own->FNameIndex = static_cast<Word>(FAllProperties.size());
      FAllProperties.push_back(own.get());
    }
  }
  const TClassInfo* component = nullptr;
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (c->FClassName == u"TComponent" && c->FUnitName == u"Classes") component = c;
  FIsComponent = component != nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (c == &ancestor) return true;
  return false;
}

TObject* TClassInfo::Create(TComponent* owner) const {
  if (!FCreator) throw EInvalidOperation(u"Cannot create an instance of " + FClassName);
  return FCreator(owner);
}

TObject* TClassInfo::CreateItem(TCollection& collection) const {
  if (!FItemCreator) throw EInvalidOperation(u"Cannot create an instance of " + FClassName);
  return FItemCreator(&collection);
}

const TPropInfo* TClassInfo::FindProperty(StringView name) const {
  for (const TPropInfo* p : FAllProperties)
    if (SameText(p->Name(), name)) return p;
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(StringView name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const auto& m : c->FMethods)
      if (SameText(m.Name(), name)) return &m;
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethodOf(const std::any& delegate, const TObject& instance) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const auto& m : c->FMethods)
      if (m.Matches(delegate, instance)) return &m;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(StringView name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const auto& f : c->FFields)
      if (SameText(f.Name(), name)) return &f;
  return nullptr;
}

const TClassInfo* TClassInfo::FindFieldClass(StringView className) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const auto& f : c->FFields)
      if (SameText(f.FieldClass().ClassName(), className)) return &f.FieldClass();
  return nullptr;
}

const TTypeInfo& DescribeType(TypeTag<TNotifyEvent>) {
  static const TMethodTypeInfo type(u"TNotifyEvent", u"Classes", mkProcedure, {{0, u"Sender", u"TObject"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TDelegate<void(TObject*, Integer)>>) {
  static const TMethodTypeInfo type(u"TIntegerEvent", u"Classes", mkProcedure,
                                    {{0, u"Sender", u"TObject"}, {0, u"Value", u"Integer"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TDelegate<void(TObject*, Integer, Integer)>>) {
  static const TMethodTypeInfo type(u"TIntegerPairEvent", u"Classes", mkProcedure,
                                    {{0, u"Sender", u"TObject"}, {0, u"First", u"Integer"}, {0, u"Second", u"Integer"}});
  return type;
}

const TClassInfo& TObjectClass() {
  static const TClassInfo info(u"TObject", u"System", nullptr, [](TComponent*) -> TObject* { return new TObject(); });
  return info;
}

// The run-time library's string lists are streamed and inspected like
// persistents ("Lines.Strings"), so they have class information here.
const TClassInfo& TStringsClass() {
  static const TClassInfo info(u"TStrings", u"Classes", &TPersistent::StaticClass(), {});
  return info;
}

const TClassInfo& TStringListClass() {
  static const TClassInfo info(u"TStringList", u"Classes", &TStringsClass(),
                               [](TComponent*) -> TObject* { return new TStringList(); });
  return info;
}

const TClassInfo& ClassOf(const TObject& instance) {
  if (const auto* persistent = dynamic_cast<const TPersistent*>(&instance)) return *persistent->ClassType();
  if (dynamic_cast<const TStringList*>(&instance)) return TStringListClass();
  if (dynamic_cast<const TStrings*>(&instance)) return TStringsClass();
  return TObjectClass();
}

String ClassNameOf(const TObject* instance) { return instance ? ClassOf(*instance).ClassName() : String(); }

bool InheritsFrom(const TObject& instance, const TClassInfo& ancestor) {
  return ClassOf(instance).InheritsFrom(ancestor);
}

bool TClassRegistry::RegisterClass(const TClassInfo& cls, const String& module) {
  String key = UpperCase(cls.ClassName());
  if (FByName.count(key)) return false;
  // Ancestors first, so that the registration order reads as the hierarchy.
  const TClassInfo* parent = cls.ClassParent();
  if (parent && parent != &TPersistent::StaticClass() && parent != &TObjectClass()) RegisterClass(*parent, module);
  FByName.emplace(key, Entry{&cls, module});
  FOrder.push_back(&cls);
  return true;
}

void TClassRegistry::RegisterClasses(std::initializer_list<const TClassInfo*> classes, const String& module) {
  for (const TClassInfo* c : classes) RegisterClass(*c, module);
}

void TClassRegistry::UnRegisterClass(const TClassInfo& cls) {
  auto it = FByName.find(UpperCase(cls.ClassName()));
  if (it == FByName.end() || it->second.Class != &cls) return;
  FByName.erase(it);
  FOrder.erase(std::remove(FOrder.begin(), FOrder.end(), &cls), FOrder.end());
}

int TClassRegistry::UnRegisterModuleClasses(const String& module) {
  int removed = 0;
  for (auto it = FByName.begin(); it != FByName.end();) {
    if (it->second.Module == module) {
      const TClassInfo* cls = it->second.Class;
      FOrder.erase(std::remove(FOrder.begin(), FOrder.end(), cls), FOrder.end());
      it = FByName.erase(it);
      ++removed;
    } else {
      ++it;
    }
  }
  return removed;
}

const TClassInfo* TClassRegistry::FindClass(StringView name) const {
  auto it = FByName.find(UpperCase(name));
  return it == FByName.end() ? nullptr : it->second.Class;
}

String TClassRegistry::ModuleOf(StringView name) const {
  auto it = FByName.find(UpperCase(name));
  return it == FByName.end() ? String() : it->second.Module;
}

const TClassInfo& TClassRegistry::GetClass(StringView name) const {
  if (const TClassInfo* c = FindClass(name)) return *c;
  throw EClassNotFound(Format(u"Class %s not found", {name}));
}

std::vector<const TClassInfo*> TClassRegistry::Classes() const { return FOrder; }

void TClassRegistry::RegisterType(const TTypeInfo& type) {
  if (std::find(FTypes.begin(), FTypes.end(), &type) == FTypes.end()) FTypes.push_back(&type);
}
