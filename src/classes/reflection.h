// The reflection registry: published properties, methods and fields of
// classes, and the class registry that finds classes by name.
//
// How the consumers use it:
// - Component streaming (TReader) finds a class by name in a TClassRegistry
//   (after the classes of the root's published fields), creates it with an
//   owner through TClassInfo::Create, finds properties with FindProperty and
//   sets them by kind through the property access routines (propaccess.h),
//   binds events to the root's published methods by name (FindMethod) and
//   fills the root's published fields by name (FindField).
// - The object inspector and the inspector views list AllProperties() of an
//   object's class filtered by type kind and read/write them as text.
// - The class browser walks every registered class and type: ClassParent()
//   for ancestry, UnitName(), and the declarations of Properties(),
//   Methods() (with their method types) and Fields().
// - Component classes and packages: RegisterClass registers the ancestors
//   too; UnRegisterModuleClasses removes what one module registered.
// - The settings store reads and writes published properties by kind, and
//   the type reports read ordinal sizes, ranges, set layouts, specifier
//   kinds and values, method parameter flags, the interfaces a class
//   implements and interface identities from here and typinfo.h.
//
// Class information is built on first use of a class (one immutable record
// per class, like the platform's type information); which classes are known
// by name is the business of a TClassRegistry object that the program fills
// at start-up by explicit calls and that tests build for themselves.
#pragma once

#include <any>
#include <cstddef>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

#include "classes/typinfo.h"
#include "rtl/currency.h"
#include "rtl/events.h"
#include "rtl/exceptions.h"
#include "rtl/object.h"
#include "rtl/sets.h"
#include "rtl/variant.h"

class TClassInfo;
class TCollection;
class TComponent;
class TPersistent;
class TStrings;
template <class T>
class TClassBuilder;

// How a property reads, writes or decides that it is stored.
enum TPropSpecKind : Byte { pskNone, pskStaticMethod, pskVirtualMethod, pskField, pskConstant };

// A specifier as the platform's property record holds it in 32 bits: a field
// is $FF000000 + its offset, a virtual method $FE000000 + its offset in the
// virtual method table, a constant its value (0 or 1), a static method its
// address (here the low 32 bits of it) and none 0.
Cardinal EncodePropSpecifier(TPropSpecKind kind, Cardinal value);

// "No index" and "no default" of a property record.
inline constexpr Integer kNoIndex = static_cast<Integer>(0x80000000u);
inline constexpr Integer kNoDefault = static_cast<Integer>(0x80000000u);

// Reads and writes one property of an object; which operations work depends
// on the property's kind. The value of an event property is the delegate
// itself, held in a std::any.
class TPropAccessor {
 public:
  virtual ~TPropAccessor();
  virtual Int64 GetOrd(const TObject& instance) const;
  virtual void SetOrd(TObject& instance, Int64 value) const;
  virtual long double GetFloat(const TObject& instance) const;
  virtual void SetFloat(TObject& instance, long double value) const;
  virtual String GetStr(const TObject& instance) const;
  virtual void SetStr(TObject& instance, const String& value) const;
  virtual TObject* GetObject(const TObject& instance) const;
  virtual void SetObject(TObject& instance, TObject* value) const;
  virtual Variant GetVariant(const TObject& instance) const;
  virtual void SetVariant(TObject& instance, const Variant& value) const;
  virtual std::any GetMethod(const TObject& instance) const;
  virtual void SetMethod(TObject& instance, const std::any& delegate) const;
  virtual bool IsMethodAssigned(const TObject& instance) const;
  virtual bool HasGetter() const = 0;
  virtual bool HasSetter() const = 0;
};

class TPropInfo {
 public:
  // The type is given, or found on first use (so that classes whose
  // properties refer to each other can be described).
  using TypeSource = const TTypeInfo& (*)();
  TPropInfo(String name, const TTypeInfo* type, TypeSource typeSource, std::shared_ptr<const TPropAccessor> accessor);

  const String& Name() const { return FName; }
  const TTypeInfo& PropType() const { return FType ? *FType : FTypeSource(); }
  TTypeKind Kind() const { return PropType().Kind(); }
  const TPropAccessor& Access() const { return *FAccessor; }
  bool IsReadable() const { return FAccessor->HasGetter(); }
  bool IsWritable() const { return FAccessor->HasSetter(); }

  Integer Index() const { return FIndex; }
  Integer Default() const { return FDefault; }
  Word NameIndex() const { return FNameIndex; }
  TPropSpecKind ReaderKind() const { return FReaderKind; }
  TPropSpecKind WriterKind() const { return FWriterKind; }
  TPropSpecKind StoredKind() const { return FStoredKind; }
  // What a specifier refers to: a field's byte offset in the object, a
  // virtual method's byte offset in the virtual table, a static method's
  // address (low 32 bits; 0 when it is no member function), a constant's
  // value. The kinds stay the truth: a 64-bit address cut to 32 bits could
  // read as anything once encoded.
  Cardinal ReaderValue() const { return FReaderValue; }
  Cardinal WriterValue() const { return FWriterValue; }
  Cardinal StoredValue() const { return FStoredKind == pskConstant ? (FStoredConstant ? 1u : 0u) : FStoredValue; }
  // The three specifiers encoded as the platform's record holds them.
  Cardinal Reader() const { return EncodePropSpecifier(FReaderKind, FReaderValue); }
  Cardinal Writer() const { return EncodePropSpecifier(FWriterKind, FWriterValue); }
  Cardinal StoredProc() const { return EncodePropSpecifier(FStoredKind, StoredValue()); }
  // Whether the value is stored in a form; true unless declared otherwise.
  bool IsStored(const TObject& instance) const;
  // The class that declares the property.
  const TClassInfo& Owner() const { return *FOwnerClass; }

 private:
  template <class T>
  friend class TClassBuilder;
  friend class TClassInfo;

  String FName;
  const TTypeInfo* FType;
  TypeSource FTypeSource;
  std::shared_ptr<const TPropAccessor> FAccessor;
  Integer FIndex = kNoIndex;
  Integer FDefault = kNoDefault;
  Word FNameIndex = 0;
  TPropSpecKind FReaderKind = pskNone;
  TPropSpecKind FWriterKind = pskNone;
  TPropSpecKind FStoredKind = pskConstant;
  Cardinal FReaderValue = 0;
  Cardinal FWriterValue = 0;
  Cardinal FStoredValue = 0;
  bool FStoredConstant = true;
  std::function<bool(const TObject&)> FStoredFunc;
  const TClassInfo* FOwnerClass = nullptr;
};

// A published method: found by name when a form binds its events.
class TMethodInfo {
 public:
  TMethodInfo(String name, const TMethodTypeInfo* type, std::function<std::any(TObject&)> bind,
              std::function<bool(const std::any&, const TObject&)> matches);
  const String& Name() const { return FName; }
  // The method's signature, when it was described (class browser).
  const TMethodTypeInfo* Type() const { return FType; }
  // A delegate (in a std::any) of this method bound to the instance.
  std::any Bind(TObject& instance) const { return FBind(instance); }
  // Whether a delegate is this method bound to the instance.
  bool Matches(const std::any& delegate, const TObject& instance) const { return FMatches(delegate, instance); }

 private:
  String FName;
  const TMethodTypeInfo* FType;
  std::function<std::any(TObject&)> FBind;
  std::function<bool(const std::any&, const TObject&)> FMatches;
};

// A published field: a form's component fields are filled by name.
class TFieldInfo {
 public:
  using ClassSource = const TClassInfo& (*)();
  TFieldInfo(String name, ClassSource fieldClass, std::function<TObject*(const TObject&)> get,
             std::function<bool(TObject&, TObject*)> set);
  const String& Name() const { return FName; }
  const TClassInfo& FieldClass() const { return FFieldClass(); }
  TObject* Get(const TObject& instance) const { return FGet(instance); }
  // Stores the object when it is of the field's class; false otherwise.
  bool Set(TObject& instance, TObject* value) const { return FSet(instance, value); }

 private:
  String FName;
  ClassSource FFieldClass;
  std::function<TObject*(const TObject&)> FGet;
  std::function<bool(TObject&, TObject*)> FSet;
};

class TClassInfo {
 public:
  using Creator = std::function<TObject*(TComponent* owner)>;
  using ItemCreator = std::function<TObject*(TCollection* collection)>;
  using Describer = std::function<void(TClassInfo&)>;

  TClassInfo(String className, String unitName, const TClassInfo* parent, Creator creator,
             const Describer& describe = {}, ItemCreator itemCreator = {});
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const String& ClassName() const { return FClassName; }
  const String& UnitName() const { return FUnitName; }
  const TClassInfo* ClassParent() const { return FParent; }
  bool InheritsFrom(const TClassInfo& ancestor) const;
  const TClassTypeInfo& TypeInfo() const { return FTypeInfo; }

  // Creates an instance. A component class takes the owner, which then owns
  // the new component; without an owner the caller owns it. Raises
  // EInvalidOperation for classes that cannot be created by name.
  TObject* Create(TComponent* owner = nullptr) const;
  bool CanCreate() const { return static_cast<bool>(FCreator); }
  // Creates a collection item of this class inside the collection.
  TObject* CreateItem(TCollection& collection) const;
  bool IsComponentClass() const { return FIsComponent; }

  // Properties declared by this class (a redeclared ancestor property too).
  const std::vector<std::unique_ptr<TPropInfo>>& Properties() const { return FOwnProperties; }
  // Every published property, ancestors first in declaration order; a
  // redeclared property takes its ancestor's place.
  const std::vector<const TPropInfo*>& AllProperties() const { return FAllProperties; }
  const TPropInfo* FindProperty(StringView name) const;

  const std::vector<TMethodInfo>& Methods() const { return FMethods; }
  // A published method of this class or an ancestor, by name without regard to case.
  const TMethodInfo* FindMethod(StringView name) const;
  // The name of the published method that a delegate is bound to on the instance.
  const TMethodInfo* FindMethodOf(const std::any& delegate, const TObject& instance) const;

  const std::vector<TFieldInfo>& Fields() const { return FFields; }
  const TFieldInfo* FindField(StringView name) const;
  // The interfaces this class itself declares that it implements, in
  // declaration order (the platform's interface table of the class).
  const std::vector<const TInterfaceTypeInfo*>& Interfaces() const { return FInterfaces; }
  // The classes of the published fields of this class and its ancestors, by
  // name: the reader looks component classes up here first.
  const TClassInfo* FindFieldClass(StringView className) const;

 private:
  template <class T>
  friend class TClassBuilder;

  void Finish();

  String FClassName;
  String FUnitName;
  const TClassInfo* FParent;
  Creator FCreator;
  ItemCreator FItemCreator;
  bool FIsComponent = false;
  TClassTypeInfo FTypeInfo;
  std::vector<std::unique_ptr<TPropInfo>> FOwnProperties;
  std::vector<const TPropInfo*> FAllProperties;
  std::vector<TMethodInfo> FMethods;
  std::vector<TFieldInfo> FFields;
  std::vector<const TInterfaceTypeInfo*> FInterfaces;
};

// The class of any object: its own class information for reflected classes,
// the run-time library's classes known by name (string lists, streams), and
// TObject's for the rest.
const TClassInfo& ClassOf(const TObject& instance);
String ClassNameOf(const TObject* instance);
bool InheritsFrom(const TObject& instance, const TClassInfo& ancestor);

const TClassInfo& TObjectClass();
const TClassInfo& TStringsClass();
const TClassInfo& TStringListClass();

// Classes by name. Registering a class registers its ancestors up to (not
// including) TPersistent; a name already registered keeps its class.
class TClassRegistry {
 public:
  // Returns false when the name was registered already.
  bool RegisterClass(const TClassInfo& cls, const String& module = {});
  void RegisterClasses(std::initializer_list<const TClassInfo*> classes, const String& module = {});
  void UnRegisterClass(const TClassInfo& cls);
  // Removes every class registered with that module name; returns how many.
  int UnRegisterModuleClasses(const String& module);
  const TClassInfo* FindClass(StringView name) const;
  // The module the class of that name was registered with; empty for none.
  String ModuleOf(StringView name) const;
  // As FindClass, raising EClassNotFound "Class %s not found" when unknown.
  const TClassInfo& GetClass(StringView name) const;
  bool IsRegistered(StringView name) const { return FindClass(name) != nullptr; }
  // Registered classes in registration order.
  std::vector<const TClassInfo*> Classes() const;
  int Count() const { return static_cast<int>(FOrder.size()); }

  // Other types the class browser lists (enumerations, sets, method types).
  void RegisterType(const TTypeInfo& type);
  const std::vector<const TTypeInfo*>& Types() const { return FTypes; }

 private:
  struct Entry {
    const TClassInfo* Class;
    String Module;
  };
  std::map<String, Entry> FByName;  // key: upper-case name
  std::vector<const TClassInfo*> FOrder;
  std::vector<const TTypeInfo*> FTypes;
};

// ---------------------------------------------------------------------------
// Describing classes.
//
//   class TMyButton : public TComponent {
//     KST_CLASS(TMyButton, TComponent)
//    public:
//     ...
//   };
//   KST_CLASS_IMPL(TMyButton, "MyUnit")           // in the .cpp
//   void TMyButton::Describe(TClassBuilder<TMyButton>& c) {
//     c.Property(u"Caption", &TMyButton::GetCaption, &TMyButton::SetCaption);
//     c.Property(u"Width", &TMyButton::FWidth).Default(64);
//   }

// Types of property values: the fundamental ones are known; enumerations, sets
// and event types are described next to their declaration by an overload of
//   const TTypeInfo& DescribeType(TypeTag<TMyEnum>);
// that argument-dependent lookup finds.
template <class T>
struct TypeTag {};

template <class T>
concept ReflectedClass = requires { T::StaticClass(); };

template <class V>
const TTypeInfo& TypeInfoFor();

// The notification event every class library uses.
const TTypeInfo& DescribeType(TypeTag<TNotifyEvent>);
// Events of a sender and one or two integers. Several libraries publish
// events of these signatures under names of their own, which they give with
// each property; these descriptions stand only for the signature.
const TTypeInfo& DescribeType(TypeTag<TDelegate<void(TObject*, Integer)>>);
const TTypeInfo& DescribeType(TypeTag<TDelegate<void(TObject*, Integer, Integer)>>);

namespace reflection_detail {

template <class V>
struct IsDelegate : std::false_type {};
template <class R, class... A>
struct IsDelegate<TDelegate<R(A...)>> : std::true_type {};

template <class V>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

enum class Category { Ord, Float, Str, Object, Method, Var };

template <class V>
constexpr Category CategoryOf() {
  if constexpr (IsDelegate<V>::value) return Category::Method;
  else if constexpr (std::is_same_v<V, Variant>) return Category::Var;
  else if constexpr (std::is_same_v<V, Currency>) return Category::Float;
  else if constexpr (std::is_pointer_v<V>) return Category::Object;
  else if constexpr (std::is_floating_point_v<V>) return Category::Float;
  else if constexpr (std::is_same_v<V, String>) return Category::Str;
  else return Category::Ord;
}

template <class V>
Int64 ToOrd(const V& v) {
  if constexpr (IsSet<V>::value) return static_cast<Int64>(v.Bits());
  else return static_cast<Int64>(v);
}
template <class V>
V FromOrd(Int64 v) {
  if constexpr (IsSet<V>::value) return V::FromBits(static_cast<std::uint64_t>(v));
  else return static_cast<V>(v);
}

template <class P>
const TClassInfo& ClassInfoOfPointee() {
  if constexpr (ReflectedClass<P>) return P::StaticClass();
  else if constexpr (std::is_base_of_v<TStrings, P>) return std::is_same_v<P, TStrings> ? TStringsClass() : TStringListClass();
  else return TObjectClass();
}

// The property accessor of a getter and a setter over a value type V.
template <class T, class V>
class TypedAccessor final : public TPropAccessor {
 public:
  using Getter = std::function<V(const T&)>;
  using Setter = std::function<void(T&, const V&)>;
  TypedAccessor(Getter getter, Setter setter) : FGet(std::move(getter)), FSet(std::move(setter)) {}

  bool HasGetter() const override { return static_cast<bool>(FGet); }
  bool HasSetter() const override { return static_cast<bool>(FSet); }

  Int64 GetOrd(const TObject& o) const override {
    if constexpr (CategoryOf<V>() == Category::Ord) return ToOrd<V>(Get(o));
    else if constexpr (CategoryOf<V>() == Category::Object) return reinterpret_cast<Int64>(static_cast<TObject*>(Get(o)));
    else return TPropAccessor::GetOrd(o);
  }
  void SetOrd(TObject& o, Int64 v) const override {
    if constexpr (CategoryOf<V>() == Category::Ord) Set(o, FromOrd<V>(v));
    else TPropAccessor::SetOrd(o, v);
  }
  long double GetFloat(const TObject& o) const override {
    if constexpr (std::is_same_v<V, Currency>) return Get(o).ToExtended();
    else if constexpr (CategoryOf<V>() == Category::Float) return static_cast<long double>(Get(o));
    else return TPropAccessor::GetFloat(o);
  }
  void SetFloat(TObject& o, long double v) const override {
    if constexpr (std::is_same_v<V, Currency>) Set(o, FloatToCurr(v));
    else if constexpr (CategoryOf<V>() == Category::Float) Set(o, static_cast<V>(v));
    else TPropAccessor::SetFloat(o, v);
  }
  Variant GetVariant(const TObject& o) const override {
    if constexpr (CategoryOf<V>() == Category::Var) return Get(o);
    else return TPropAccessor::GetVariant(o);
  }
  void SetVariant(TObject& o, const Variant& v) const override {
    if constexpr (CategoryOf<V>() == Category::Var) Set(o, v);
    else TPropAccessor::SetVariant(o, v);
  }
  String GetStr(const TObject& o) const override {
    if constexpr (CategoryOf<V>() == Category::Str) return Get(o);
    else return TPropAccessor::GetStr(o);
  }
  void SetStr(TObject& o, const String& v) const override {
    if constexpr (CategoryOf<V>() == Category::Str) Set(o, v);
    else TPropAccessor::SetStr(o, v);
  }
  TObject* GetObject(const TObject& o) const override {
    if constexpr (CategoryOf<V>() == Category::Object) return static_cast<TObject*>(Get(o));
    else return TPropAccessor::GetObject(o);
  }
  void SetObject(TObject& o, TObject* v) const override {
    if constexpr (CategoryOf<V>() == Category::Object) {
      using P = std::remove_pointer_t<V>;
      P* typed = v ? dynamic_cast<P*>(v) : nullptr;
      if (v && !typed) throw EInvalidCast(u"Invalid class typecast");
      Set(o, typed);
    } else {
      TPropAccessor::SetObject(o, v);
    }
  }
  std::any GetMethod(const TObject& o) const override {
    if constexpr (CategoryOf<V>() == Category::Method) return std::any(Get(o));
    else return TPropAccessor::GetMethod(o);
  }
  void SetMethod(TObject& o, const std::any& d) const override {
    if constexpr (CategoryOf<V>() == Category::Method) {
      if (!d.has_value()) {
        Set(o, V{});
        return;
      }
      const V* typed = std::any_cast<V>(&d);
      if (!typed) throw EInvalidCast(u"Invalid class typecast");
      Set(o, *typed);
    } else {
      TPropAccessor::SetMethod(o, d);
    }
  }
  bool IsMethodAssigned(const TObject& o) const override {
    if constexpr (CategoryOf<V>() == Category::Method) return static_cast<bool>(Get(o));
    else return false;
  }

 private:
  V Get(const TObject& o) const {
    if (!FGet) throw EPropertyError(u"Property is write-only");
    return FGet(static_cast<const T&>(o));
  }
  void Set(TObject& o, const V& v) const {
    if (!FSet) throw EPropertyError(u"Property is read-only");
    FSet(static_cast<T&>(o), v);
  }
  Getter FGet;
  Setter FSet;
};

// The specifier values of member pointers, read from their representation
// in the C++ ABI both builds use: a data member pointer is the member's byte
// offset; a member function pointer is {address, adjustment}, where an odd
// address is 1 + the function's byte offset in the virtual table.
template <class C, class V>
Cardinal FieldOffset(V C::*field) {
  static_assert(sizeof(field) == sizeof(std::ptrdiff_t));
  std::ptrdiff_t offset = 0;
  std::memcpy(&offset, &field, sizeof offset);
  return static_cast<Cardinal>(offset);
}

struct TSpecifier {
  TPropSpecKind Kind;
  Cardinal Value;
};

template <class F>
TSpecifier MethodSpecifier(const F& method) {
  if constexpr (std::is_member_function_pointer_v<F>) {
    struct Representation {
      std::uintptr_t Address;
      std::ptrdiff_t Adjustment;
    };
    static_assert(sizeof(F) == sizeof(Representation));
    Representation r{};
    std::memcpy(&r, &method, sizeof r);
    if (r.Address & 1) return {pskVirtualMethod, static_cast<Cardinal>(r.Address - 1)};
    return {pskStaticMethod, static_cast<Cardinal>(r.Address)};
  } else {
    return {pskStaticMethod, 0};
  }
}

template <class T>
TClassInfo::ItemCreator ItemCreatorFor() {
  if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TCollection*>) {
    return [](TCollection* collection) -> TObject* { return new T(collection); };
  } else {
    return {};
  }
}

template <class T>
TClassInfo::Creator CreatorFor() {
  if constexpr (std::is_abstract_v<T> || std::is_constructible_v<T, TCollection*>) {
    return {};
  } else if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>) {
    return [](TComponent* owner) -> TObject* { return new T(owner); };
  } else if constexpr (std::is_default_constructible_v<T>) {
    return [](TComponent*) -> TObject* { return new T(); };
  } else {
    return {};
  }
}

}  // namespace reflection_detail

template <class V>
const TTypeInfo& TypeInfoFor() {
  using namespace reflection_detail;
  if constexpr (std::is_same_v<V, bool>) return types::Boolean();
  else if constexpr (std::is_same_v<V, char16_t>) return types::WideChar();
  else if constexpr (std::is_same_v<V, char>) return types::Char();
  else if constexpr (std::is_same_v<V, std::int8_t>) return types::ShortInt();
  else if constexpr (std::is_same_v<V, std::uint8_t>) return types::Byte();
  else if constexpr (std::is_same_v<V, std::int16_t>) return types::SmallInt();
  else if constexpr (std::is_same_v<V, std::uint16_t>) return types::Word();
  else if constexpr (std::is_same_v<V, std::int32_t>) return types::Integer();
  else if constexpr (std::is_same_v<V, std::uint32_t>) return types::Cardinal();
  else if constexpr (std::is_same_v<V, std::int64_t>) return types::Int64();
  else if constexpr (std::is_same_v<V, std::uint64_t>) return types::UInt64();
  else if constexpr (std::is_same_v<V, float>) return types::Single();
  else if constexpr (std::is_same_v<V, double>) return types::Double();
  else if constexpr (std::is_same_v<V, long double>) return types::Extended();
  else if constexpr (std::is_same_v<V, String>) return types::UnicodeString();
  else if constexpr (std::is_same_v<V, Currency>) return types::Currency();
  else if constexpr (std::is_same_v<V, Variant>) return types::Variant();
  else if constexpr (std::is_pointer_v<V>) return ClassInfoOfPointee<std::remove_cv_t<std::remove_pointer_t<V>>>().TypeInfo();
  else return DescribeType(TypeTag<V>{});
}

// Fills a class's description; T::Describe receives one.
template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& info) : FInfo(info) {}

  // A property over a field of the class. (An object the instance owns, such
  // as a font or a collection, is published through a getter alone: it is
  // read and changed in place.)
  template <class V, class C>
    requires(!std::is_function_v<V> && std::is_base_of_v<C, T>)
  TClassBuilder& Property(const String& name, V C::*field, const TTypeInfo* type = nullptr) {
    using A = reflection_detail::TypedAccessor<T, V>;
    auto accessor = std::make_shared<A>([field](const T& o) { return o.*field; },
                                        [field](T& o, const V& v) { o.*field = v; });
    Cardinal offset = reflection_detail::FieldOffset(field);
    return Add(name, type, &TypeInfoFor<V>, std::move(accessor), {pskField, offset}, {pskField, offset});
  }

  // A property over a getter and (optionally) a setter; the setter may take its
  // argument by value or by const reference.
  template <class G, class S = std::nullptr_t>
    requires(std::is_invocable_v<G, const T&> && !std::is_member_object_pointer_v<G>)
  TClassBuilder& Property(const String& name, G getter, S setter = nullptr, const TTypeInfo* type = nullptr) {
    using V = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
    using A = reflection_detail::TypedAccessor<T, V>;
    typename A::Setter set;
    if constexpr (!std::is_same_v<S, std::nullptr_t>) set = [setter](T& o, const V& v) { std::invoke(setter, o, v); };
    auto accessor = std::make_shared<A>([getter](const T& o) { return std::invoke(getter, o); }, std::move(set));
    reflection_detail::TSpecifier writer{pskNone, 0};
    if constexpr (!std::is_same_v<S, std::nullptr_t>) writer = reflection_detail::MethodSpecifier(setter);
    return Add(name, type, &TypeInfoFor<V>, std::move(accessor), reflection_detail::MethodSpecifier(getter), writer);
  }

  // Modifiers of the property added last.
  TClassBuilder& Default(Integer value) {
    Last().FDefault = value;
    return *this;
  }
  TClassBuilder& Index(Integer value) {
    Last().FIndex = value;
    return *this;
  }
  TClassBuilder& Stored(bool stored) {
    Last().FStoredKind = pskConstant;
    Last().FStoredConstant = stored;
    return *this;
  }
  template <class F>
  TClassBuilder& StoredWhen(F isStored) {
    auto specifier = reflection_detail::MethodSpecifier(isStored);
    Last().FStoredKind = specifier.Kind;
    Last().FStoredValue = specifier.Value;
    Last().FStoredFunc = [isStored](const TObject& o) { return std::invoke(isStored, static_cast<const T&>(o)); };
    return *this;
  }
  // The specifiers as a record read from elsewhere gives them (a package's
  // type information): only what reports show changes, not how the property
  // is read or written. A constant stored specifier decides IsStored.
  TClassBuilder& ReaderSpecifier(TPropSpecKind kind, Cardinal value) {
    Last().FReaderKind = kind;
    Last().FReaderValue = value;
    return *this;
  }
  TClassBuilder& WriterSpecifier(TPropSpecKind kind, Cardinal value) {
    Last().FWriterKind = kind;
    Last().FWriterValue = value;
    return *this;
  }
  TClassBuilder& StoredSpecifier(TPropSpecKind kind, Cardinal value) {
    Last().FStoredKind = kind;
    Last().FStoredValue = value;
    if (kind == pskConstant) {
      Last().FStoredConstant = value != 0;
      Last().FStoredFunc = nullptr;
    }
    return *this;
  }

  // An interface the class implements, in declaration order.
  TClassBuilder& Implements(const TInterfaceTypeInfo& intf) {
    FInfo.FInterfaces.push_back(&intf);
    return *this;
  }

  // A published method, bound by name to event properties of its signature.
  template <class R, class C, class... A>
    requires std::is_base_of_v<C, T>
  TClassBuilder& Method(const String& name, R (C::*method)(A...), const TMethodTypeInfo* type = nullptr) {
    using D = TDelegate<R(A...)>;
    FInfo.FMethods.emplace_back(
        name, type, [method](TObject& o) { return std::any(D(static_cast<T*>(&o), method)); },
        [method](const std::any& d, const TObject& o) {
          const D* typed = std::any_cast<D>(&d);
          return typed && *typed == D(const_cast<T*>(static_cast<const T*>(&o)), method);
        });
    return *this;
  }

  // A published field of a class type.
  template <class P, class C>
    requires std::is_base_of_v<C, T>
  TClassBuilder& Field(const String& name, P* C::*field) {
    FInfo.FFields.emplace_back(
        name, &reflection_detail::ClassInfoOfPointee<P>,
        [field](const TObject& o) -> TObject* { return static_cast<const T&>(o).*field; },
        [field](TObject& o, TObject* v) {
          P* typed = v ? dynamic_cast<P*>(v) : nullptr;
          if (v && !typed) return false;
          static_cast<T&>(o).*field = typed;
          return true;
        });
    return *this;
  }

 private:
  TClassBuilder& Add(const String& name, const TTypeInfo* type, TPropInfo::TypeSource typeSource,
                     std::shared_ptr<const TPropAccessor> accessor, reflection_detail::TSpecifier reader,
                     reflection_detail::TSpecifier writer) {
    auto info = std::make_unique<TPropInfo>(name, type, typeSource, std::move(accessor));
    info->FReaderKind = reader.Kind;
    info->FReaderValue = reader.Value;
    info->FWriterKind = writer.Kind;
    info->FWriterValue = writer.Value;
    info->FOwnerClass = &FInfo;
    FInfo.FOwnProperties.push_back(std::move(info));
    return *this;
  }
  TPropInfo& Last() {
    if (FInfo.FOwnProperties.empty()) throw EInvalidOperation(u"No property to modify");
    return *FInfo.FOwnProperties.back();
  }
  TClassInfo& FInfo;
};

namespace reflection_detail {
template <class T, class Parent>
const TClassInfo& MakeClassInfo(const char16_t* name, const char16_t* unit) {
  static const TClassInfo info(
      name, unit, &Parent::StaticClass(), CreatorFor<T>(),
      [](TClassInfo& c) {
        TClassBuilder<T> builder(c);
        T::Describe(builder);
      },
      ItemCreatorFor<T>());
  return info;
}
}  // namespace reflection_detail

// Inside the class body: the class's description hooks.
#define KST_CLASS(Name, Base)                                       \
 public:                                                            \
  using inherited = Base;                                           \
  static const TClassInfo& StaticClass();                           \
  const TClassInfo* ClassType() const override { return &StaticClass(); } \
  static void Describe(TClassBuilder<Name>& c);                     \
                                                                    \
 private:

// In the .cpp file.
#define KST_CLASS_IMPL(Name, UnitName)                                                     \
  const TClassInfo& Name::StaticClass() {                                                  \
    return reflection_detail::MakeClassInfo<Name, Name::inherited>(u"" #Name, u"" UnitName); \
  }
