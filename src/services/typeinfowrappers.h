// Type-information wrappers: views of the reflection registry's type records
// that answer questions about a type through interfaces, report or declare the
// type as text, move property values to and from text, and convert set values
// to and from text such as [a, b .. d].
//
// Wrappers are shared objects: WrapTypeInfo and every operation that yields
// another wrapper (a base type, parent, property type, element type,
// parameter) make a new one each time, owned by the std::shared_ptr returned;
// nothing is cached. A wrapper never outlives its use of the type records,
// which live for the whole program. Callers move between the interfaces of
// one wrapper with Supports<I>(wrapper), which yields none for an interface
// the wrapper lacks (the event, interface and dynamic-array wrappers offer no
// IUtValueTypeInfo, for example).
//
// Set values are passed by the address of their storage, laid out as
// TSetTypeInfo describes (StorageSize() bytes from the byte that holds the
// lowest member); nothing outside those bytes is read or written.
#pragma once

#include <memory>

#include "classes/reflection.h"
#include "services/utilbase.h"

// The error of a property looked up by a name its object does not publish.
inline constexpr char16_t kPropertyDoesNotExist[] = u"Property %s does not exist";

class TStrings;

KST_DECLARE_EXCEPTION(EUtRTTIError, EUtError);

inline constexpr char16_t kUtUnknownIdentifier[] = u"Unknown identifier '%s'.";
inline constexpr char16_t kUtNoStringValue[] = u"The property %s of type %s has no string value";
inline constexpr char16_t kUtValueOutOfRange[] = u"Value %s out of range %s..%s.";
inline constexpr char16_t kUtNameIndexOutOfRange[] = u"Name index %d out of range %d..%d";
inline constexpr char16_t kUtPropertyIndexOutOfRange[] = u"Property index %d out of range 0..%d";
inline constexpr char16_t kUtParameterIndexOutOfRange[] = u"Parameter index %d out of range 0..%d";
inline constexpr char16_t kUtNotASetType[] = u"%s is not a set type";
inline constexpr char16_t kUtNotAnOrdinalType[] = u"%s is not an ordinal type";

// The property specifier kinds of the registry.
using TUtPropSpecKind = TPropSpecKind;

// ---- Interfaces -------------------------------------------------------------

// The text sink of reports and declarations; the caller supplies it.
class IUtInfoWriter {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F412D, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual ~IUtInfoWriter() = default;
  // Forgets what was written.
  virtual void Clear() = 0;
  // Everything written, lines ended with CR LF.
  virtual String GetText() const = 0;
  // Appends to the current line.
  virtual void Write(const String& text) = 0;
  // Appends and ends the line.
  virtual void Writeln(const String& text = {}) = 0;
  // The lines that follow are indented by one step more, or one step less.
  virtual void Indent() = 0;
  virtual void Outdent() = 0;
};

class IUtBaseInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0xB61D0E93, 0x5A7C, 0x4F28, {0x8E, 0x34, 0x17, 0xC9, 0xA2, 0xF0, 0x5D, 0x6E});
  virtual ~IUtBaseInfo() = default;
  // A labelled report of the type, one fact a line.
  virtual void WriteTo(IUtInfoWriter& dest) const = 0;
  // The type as a declaration of the forms' source language.
  virtual void DeclarationTo(IUtInfoWriter& dest) const = 0;
};

class IUtTypeInfo : public virtual IUtBaseInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4120, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual String GetName() const = 0;
  // The registry keeps a type's data in its record: both are the record.
  virtual const TTypeInfo& GetTypeData() const = 0;
  virtual const TTypeInfo& GetTypeInfo() const = 0;
  virtual TTypeKind GetTypeKind() const = 0;
};

class IUtValueTypeInfo : public virtual IUtTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x9E47C2A1, 0x3D58, 0x4B1F, {0xA6, 0xE0, 0xC8, 0x3F, 0x15, 0xB2, 0x7D, 0x94});
  // The value of the object's published property as text, and back.
  virtual String SaveValueToString(const TObject& anObj, const String& propName) const = 0;
  virtual void LoadValueFromString(TObject& anObj, const String& propName, const String& value) const = 0;
};

class IUtOrdinalTypeInfo : public virtual IUtValueTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4121, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual TOrdType GetOrdinalType() const = 0;
};

class IUtOrdinalRangeTypeInfo : public virtual IUtOrdinalTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4122, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual Int64 GetMinValue() const = 0;
  virtual Int64 GetMaxValue() const = 0;
};

class IUtEnumerationTypeInfo : public virtual IUtOrdinalRangeTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4123, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual std::shared_ptr<IUtEnumerationTypeInfo> GetBaseType() const = 0;
  // The name of ordinal i of the base type; EUtRTTIError outside its names.
  virtual String GetNames(Integer i) const = 0;
  virtual String GetUnitName() const = 0;
  // The ordinal whose name matches ignoring case, the highest one first; -1
  // when none does.
  virtual Integer IndexOfName(StringView name) const = 0;
};

class IUtSetTypeInfo : public virtual IUtOrdinalTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4124, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual std::shared_ptr<IUtOrdinalTypeInfo> GetBaseType() const = 0;
  // Appends the members of the set stored at value, one a line, runs of two
  // or more as "first .. last" when wantRanges is set.
  virtual void GetAsList(const void* value, bool wantRanges, TStrings& strings) const = 0;
  // Makes the set stored at value hold exactly the members listed (names or
  // numbers, "first .. last" for a run). Members outside the member type's
  // range are left out.
  virtual void SetAsList(void* value, TStrings& strings) const = 0;
};

class IUtFloatTypeInfo : public virtual IUtValueTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4125, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual TFloatType GetFloatType() const = 0;
};

class IUtStringTypeInfo : public virtual IUtValueTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4126, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  // A short string's length limit; 0 for the other string kinds.
  virtual Integer GetMaxLength() const = 0;
};

class IUtPropInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4127, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual ~IUtPropInfo() = default;
  virtual const TPropInfo& GetPropInfo() const = 0;
  virtual std::shared_ptr<IUtTypeInfo> GetPropType() const = 0;
  // The raw 32-bit specifiers.
  virtual Cardinal GetReader() const = 0;
  virtual Cardinal GetWriter() const = 0;
  virtual Cardinal GetStoredProc() const = 0;
  virtual Integer GetIndex() const = 0;
  virtual Integer GetDefault() const = 0;
  virtual Integer GetNameIndex() const = 0;
  virtual String GetName() const = 0;
  // Static method, virtual method, field or constant (never none: a missing
  // specifier is the constant 0).
  virtual TUtPropSpecKind GetReaderType() const = 0;
  virtual TUtPropSpecKind GetWriterType() const = 0;
  virtual TUtPropSpecKind GetStoredType() const = 0;
  virtual Cardinal GetReaderValue() const = 0;
  virtual Cardinal GetWriterValue() const = 0;
  virtual Cardinal GetStoredValue() const = 0;
  virtual bool IsStored(const TObject& instance) const = 0;
  virtual bool HasDefault() const = 0;
  virtual bool HasIndex() const = 0;
  virtual String SaveValueToString(const TObject& anObj) const = 0;
  virtual void LoadValueFromString(TObject& anObj, const String& value) const = 0;
};

class IUtClassTypeInfo : public virtual IUtValueTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4128, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual const TClassInfo& GetClassRef() const = 0;
  virtual std::shared_ptr<IUtClassTypeInfo> GetParent() const = 0;
  virtual Integer GetTotalPropertyCount() const = 0;
  virtual Integer GetPropertyCount() const = 0;
  // Own properties first, in declaration order, then the parent's numbering.
  virtual std::shared_ptr<IUtPropInfo> GetProperties(Integer propIdx) const = 0;
  // A published property of the class or an ancestor; none when there is none.
  virtual std::shared_ptr<IUtPropInfo> GetPropNames(StringView name) const = 0;
  virtual String GetUnitName() const = 0;
};

class IUtEventParamInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F4129, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual ~IUtEventParamInfo() = default;
  virtual TParamFlags GetFlags() const = 0;
  virtual String GetName() const = 0;
  virtual Integer GetRecSize() const = 0;
  virtual String GetTypeName() const = 0;
  virtual const TMethodParam& GetParam() const = 0;
};

class IUtEventTypeInfo : public virtual IUtTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F412A, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual TMethodKind GetMethodKind() const = 0;
  virtual Integer GetParameterCount() const = 0;
  virtual std::shared_ptr<IUtEventParamInfo> GetParameters(Integer paramIdx) const = 0;
  // Empty unless the method is a function.
  virtual String GetResultTypeName() const = 0;
};

class IUtInterfaceTypeInfo : public virtual IUtTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F412B, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual std::shared_ptr<IUtInterfaceTypeInfo> GetParent() const = 0;
  virtual TIntfFlags GetFlags() const = 0;
  // The identifier when the interface has one, else all zero.
  virtual TGUID GetGUID() const = 0;
  // The interface's method count.
  virtual Integer GetPropertyCount() const = 0;
  virtual String GetUnitName() const = 0;
};

class IUtInt64TypeInfo : public virtual IUtValueTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F412C, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual Int64 GetMinValue() const = 0;
  virtual Int64 GetMaxValue() const = 0;
};

class IUtDynArrayTypeInfo : public virtual IUtTypeInfo {
 public:
  static constexpr TGUID IID = MakeGUID(0x3C9F412E, 0x8B2D, 0x4E67, {0x9A, 0x15, 0xD2, 0xC0, 0x7E, 0x4B, 0x6A, 0x31});
  virtual Integer GetElementSize() const = 0;
  virtual std::shared_ptr<IUtTypeInfo> GetElementType() const = 0;
  virtual bool GetElementsNeedCleanup() const = 0;
  virtual Integer GetVarType() const = 0;
  virtual String GetUnitName() const = 0;
};

// Another interface of the same wrapper, or none.
template <class I, class From>
std::shared_ptr<I> Supports(const std::shared_ptr<From>& from) {
  return std::dynamic_pointer_cast<I>(from);
}

// ---- Wrapper classes ----------------------------------------------------------
//
// Made through WrapTypeInfo (and the operations that yield wrappers), never on
// their own: a wrapper hands out shared references to itself.

class TUtTypeInfo : public virtual IUtTypeInfo, public std::enable_shared_from_this<TUtTypeInfo> {
 public:
  explicit TUtTypeInfo(const TTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  String GetName() const override;
  const TTypeInfo& GetTypeData() const override { return *FTypeData; }
  const TTypeInfo& GetTypeInfo() const override { return *FTypeInfo; }
  TTypeKind GetTypeKind() const override;

 protected:
  // Anonymous types (names beginning with ".") declare themselves inline.
  bool IsAnonymous() const;

  const TTypeInfo* FTypeData;
  const TTypeInfo* FTypeInfo;
};

class TUtOrdinalTypeInfo : public TUtTypeInfo, public virtual IUtOrdinalTypeInfo {
 public:
  // An ordinal type, or a set type (whose ordinal type is that of its value).
  explicit TUtOrdinalTypeInfo(const TTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  String SaveValueToString(const TObject& anObj, const String& propName) const override;
  void LoadValueFromString(TObject& anObj, const String& propName, const String& value) const override;
  TOrdType GetOrdinalType() const override { return FOrdType; }

 private:
  TOrdType FOrdType;
};

class TUtOrdinalRangeTypeInfo : public TUtOrdinalTypeInfo, public virtual IUtOrdinalRangeTypeInfo {
 public:
  explicit TUtOrdinalRangeTypeInfo(const TOrdinalTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  // The 32-bit bounds, unsigned for otULong and signed otherwise.
  Int64 GetMinValue() const override;
  Int64 GetMaxValue() const override;

 protected:
  const TOrdinalTypeInfo& Ordinal() const { return static_cast<const TOrdinalTypeInfo&>(*FTypeInfo); }
};

class TUtEnumerationTypeInfo : public TUtOrdinalRangeTypeInfo, public virtual IUtEnumerationTypeInfo {
 public:
  explicit TUtEnumerationTypeInfo(const TEnumTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  String SaveValueToString(const TObject& anObj, const String& propName) const override;
  void LoadValueFromString(TObject& anObj, const String& propName, const String& value) const override;
  std::shared_ptr<IUtEnumerationTypeInfo> GetBaseType() const override;
  String GetNames(Integer i) const override;
  String GetUnitName() const override;
  Integer IndexOfName(StringView name) const override;

 private:
  const TEnumTypeInfo& Enumeration() const { return static_cast<const TEnumTypeInfo&>(*FTypeInfo); }
};

class TUtSetTypeInfo : public TUtOrdinalTypeInfo, public virtual IUtSetTypeInfo {
 public:
  explicit TUtSetTypeInfo(const TSetTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  String SaveValueToString(const TObject& anObj, const String& propName) const override;
  void LoadValueFromString(TObject& anObj, const String& propName, const String& value) const override;
  std::shared_ptr<IUtOrdinalTypeInfo> GetBaseType() const override;
  void GetAsList(const void* value, bool wantRanges, TStrings& strings) const override;
  void SetAsList(void* value, TStrings& strings) const override;

 private:
  const TSetTypeInfo& Set() const { return static_cast<const TSetTypeInfo&>(*FTypeInfo); }
};

class TUtFloatTypeInfo : public TUtTypeInfo, public virtual IUtFloatTypeInfo {
 public:
  explicit TUtFloatTypeInfo(const TFloatTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  String SaveValueToString(const TObject& anObj, const String& propName) const override;
  void LoadValueFromString(TObject& anObj, const String& propName, const String& value) const override;
  TFloatType GetFloatType() const override;
};

class TUtStringTypeInfo : public TUtTypeInfo, public virtual IUtStringTypeInfo {
 public:
  explicit TUtStringTypeInfo(const TStringTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  String SaveValueToString(const TObject& anObj, const String& propName) const override;
  void LoadValueFromString(TObject& anObj, const String& propName, const String& value) const override;
  Integer GetMaxLength() const override;
};

class TUtClassTypeInfo : public TUtTypeInfo, public virtual IUtClassTypeInfo {
 public:
  explicit TUtClassTypeInfo(const TClassTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  // A class-typed property has no text of its own. A dotted path
  // ("Font.Name") reads the object property before the first "." and hands
  // the rest of the path to the type of that object's property.
  String SaveValueToString(const TObject& anObj, const String& propName) const override;
  void LoadValueFromString(TObject& anObj, const String& propName, const String& value) const override;
  const TClassInfo& GetClassRef() const override;
  std::shared_ptr<IUtClassTypeInfo> GetParent() const override;
  Integer GetTotalPropertyCount() const override;
  Integer GetPropertyCount() const override;
  std::shared_ptr<IUtPropInfo> GetProperties(Integer propIdx) const override;
  std::shared_ptr<IUtPropInfo> GetPropNames(StringView name) const override;
  String GetUnitName() const override;
};

class TUtEventTypeInfo : public TUtTypeInfo, public virtual IUtEventTypeInfo {
 public:
  explicit TUtEventTypeInfo(const TMethodTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  TMethodKind GetMethodKind() const override;
  Integer GetParameterCount() const override;
  std::shared_ptr<IUtEventParamInfo> GetParameters(Integer paramIdx) const override;
  String GetResultTypeName() const override;

 private:
  const TMethodTypeInfo& Method() const { return static_cast<const TMethodTypeInfo&>(*FTypeInfo); }
};

class TUtInterfaceTypeInfo : public TUtTypeInfo, public virtual IUtInterfaceTypeInfo {
 public:
  explicit TUtInterfaceTypeInfo(const TInterfaceTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  std::shared_ptr<IUtInterfaceTypeInfo> GetParent() const override;
  TIntfFlags GetFlags() const override;
  TGUID GetGUID() const override;
  Integer GetPropertyCount() const override;
  String GetUnitName() const override;

 private:
  const TInterfaceTypeInfo& Interface() const { return static_cast<const TInterfaceTypeInfo&>(*FTypeInfo); }
};

class TUtInt64TypeInfo : public TUtTypeInfo, public virtual IUtInt64TypeInfo {
 public:
  explicit TUtInt64TypeInfo(const TInt64TypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  String SaveValueToString(const TObject& anObj, const String& propName) const override;
  void LoadValueFromString(TObject& anObj, const String& propName, const String& value) const override;
  Int64 GetMinValue() const override;
  Int64 GetMaxValue() const override;
};

class TUtDynArrayTypeInfo : public TUtTypeInfo, public virtual IUtDynArrayTypeInfo {
 public:
  explicit TUtDynArrayTypeInfo(const TDynArrayTypeInfo& typeInfo);
  void WriteTo(IUtInfoWriter& dest) const override;
  void DeclarationTo(IUtInfoWriter& dest) const override;
  Integer GetElementSize() const override;
  std::shared_ptr<IUtTypeInfo> GetElementType() const override;
  bool GetElementsNeedCleanup() const override;
  Integer GetVarType() const override;
  String GetUnitName() const override;

 private:
  const TDynArrayTypeInfo& DynArray() const { return static_cast<const TDynArrayTypeInfo&>(*FTypeInfo); }
};

class TUtPropInfo : public IUtPropInfo {
 public:
  explicit TUtPropInfo(const TPropInfo& propInfo);
  const TPropInfo& GetPropInfo() const override { return *FPropInfo; }
  std::shared_ptr<IUtTypeInfo> GetPropType() const override;
  Cardinal GetReader() const override;
  Cardinal GetWriter() const override;
  Cardinal GetStoredProc() const override;
  Integer GetIndex() const override;
  Integer GetDefault() const override;
  Integer GetNameIndex() const override;
  String GetName() const override;
  TUtPropSpecKind GetReaderType() const override;
  TUtPropSpecKind GetWriterType() const override;
  TUtPropSpecKind GetStoredType() const override;
  Cardinal GetReaderValue() const override;
  Cardinal GetWriterValue() const override;
  Cardinal GetStoredValue() const override;
  bool IsStored(const TObject& instance) const override;
  bool HasDefault() const override;
  bool HasIndex() const override;
  String SaveValueToString(const TObject& anObj) const override;
  void LoadValueFromString(TObject& anObj, const String& value) const override;

 private:
  std::shared_ptr<IUtValueTypeInfo> ValueType() const;
  const TPropInfo* FPropInfo;
};

class TUtEventParamInfo : public IUtEventParamInfo {
 public:
  explicit TUtEventParamInfo(const TMethodParam& param);
  TParamFlags GetFlags() const override;
  String GetName() const override;
  Integer GetRecSize() const override;
  String GetTypeName() const override;
  const TMethodParam& GetParam() const override { return *FParam; }

 private:
  const TMethodParam* FParam;
};

// A text sink that keeps lines in memory, indenting by two blanks a step.
class TUtTextInfoWriter : public IUtInfoWriter {
 public:
  void Clear() override;
  String GetText() const override;
  void Write(const String& text) override;
  void Writeln(const String& text = {}) override;
  void Indent() override;
  void Outdent() override;
  // The ended lines; a line begun by Write and not yet ended is not among them.
  const std::vector<String>& Lines() const { return FLines; }

 private:
  std::vector<String> FLines;
  String FCurrent;
  bool FLineOpen = false;
  int FLevel = 0;
};

// ---- Routines -------------------------------------------------------------------

// The wrapper that fits the record's kind: integer and character types give a
// TUtOrdinalRangeTypeInfo, enumerations TUtEnumerationTypeInfo, and so on;
// kinds without a wrapper of their own give a plain TUtTypeInfo.
std::shared_ptr<IUtTypeInfo> WrapTypeInfo(const TTypeInfo& typeInfo);

// The text of the set stored at value: members joined with ", ", runs as
// "first .. last" with wantRanges, in brackets with wantBrackets ("[]" for the
// empty set). EUtRTTIError when typeInfo is no set type.
String SetToText(const TTypeInfo& typeInfo, const void* value, bool wantBrackets = true, bool wantRanges = false);
// The same, appending the member lines to strings and returning the text of
// the lines it appended.
String SetToTextList(const TTypeInfo& typeInfo, const void* value, bool wantBrackets, TStrings& strings,
                     bool wantRanges = false);
// Reads text such as "[a, c .. d]" or "a,c..d" into the set stored at setVar:
// the text is cut at every ",", a leading "[" drops the first character of the
// first part and the last character of the last part, and the parts go to
// SetAsList. Raises EUtRTTIError "Unknown identifier '%s'." for a name that
// is no member, and the conversion error for a bad number.
void TextToSet(const TTypeInfo& typeInfo, void* setVar, const String& value);

// The name of the value of an enumeration-like type stored at value, read by
// the type's ordinal type; outside the type's range the text "Value
// ordinal=N out of range <min name>..<max name>.".
String OrdinalToText(const TTypeInfo& typeInfo, const void* value);
