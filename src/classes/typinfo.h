// Run-time type information: what the system knows about a type without
// knowing the type at compile time. One record per type, immutable once built
// and shared by every consumer (streaming, the object inspector, the class
// browser, the settings store, the type reports).
//
// The kinds keep the platform's ordinals, because they are shown as numbers
// (the inspector's kind column) and stored. Ordinal types carry their storage
// size and range, enumerations their value names, sets their member type and
// bit layout (as an ordinal value member n is bit n of a little-endian value of
// Size bytes; in memory the platform's storage starts at the byte that holds
// the lowest member, see TSetTypeInfo), method types their parameters with
// flags and type names, interfaces their GUID.
#pragma once

#include <array>
#include <memory>
#include <typeindex>
#include <vector>

#include "rtl/types.h"

enum TTypeKind : Byte {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface,
  tkInt64,
  tkDynArray,
  tkUString,
  tkClassRef,
  tkPointer,
  tkProcedure
};
inline constexpr int kTypeKindCount = tkProcedure + 1;

// A set of type kinds as a bit mask (bit n = kind n).
using TTypeKinds = std::uint32_t;
constexpr TTypeKinds TypeKindBit(TTypeKind kind) {
  return TTypeKinds{1} << kind;
}
inline constexpr TTypeKinds tkAny = (TTypeKinds{1} << kTypeKindCount) - 1;
inline constexpr TTypeKinds tkMethods = TypeKindBit(tkMethod);
inline constexpr TTypeKinds tkProperties = tkAny & ~tkMethods;

enum TOrdType : Byte { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType : Byte { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };
enum TMethodKind : Byte {
  mkProcedure,
  mkFunction,
  mkConstructor,
  mkDestructor,
  mkClassProcedure,
  mkClassFunction,
  mkClassConstructor,
  mkClassDestructor,
  mkOperatorOverload,
  mkSafeProcedure,
  mkSafeFunction
};
enum TParamFlag : Byte { pfVar, pfConst, pfArray, pfAddress, pfReference, pfOut, pfResult };
using TParamFlags = Byte;  // bit n = TParamFlag n
constexpr TParamFlags ParamFlagBit(TParamFlag flag) {
  return static_cast<TParamFlags>(1u << flag);
}
enum TIntfFlag : Byte { ifHasGuid, ifDispInterface, ifDispatch };
using TIntfFlags = Byte;

class TClassInfo;

class TTypeInfo {
 public:
  TTypeInfo(TTypeKind kind, String name, String unitName = {});
  virtual ~TTypeInfo();
  TTypeInfo(const TTypeInfo&) = delete;
  TTypeInfo& operator=(const TTypeInfo&) = delete;

  TTypeKind Kind() const { return FKind; }
  const String& Name() const { return FName; }
  const String& UnitName() const { return FUnitName; }

 private:
  TTypeKind FKind;
  String FName;
  String FUnitName;
};

// tkInteger, tkChar, tkWChar, tkEnumeration.
class TOrdinalTypeInfo : public TTypeInfo {
 public:
  TOrdinalTypeInfo(TTypeKind kind, String name, String unitName, TOrdType ordType, Int64 minValue, Int64 maxValue,
                   std::vector<TIdentMapEntry> identMap = {});
  TOrdType OrdType() const { return FOrdType; }
  Int64 MinValue() const { return FMinValue; }
  Int64 MaxValue() const { return FMaxValue; }
  // Storage size in bytes (1, 2 or 4).
  int Size() const;
  // Identifier table for integer types such as colours and cursors (may be empty).
  const std::vector<TIdentMapEntry>& IdentMap() const { return FIdentMap; }
  bool IdentToInt(StringView ident, Integer& value) const;
  bool IntToIdent(Integer value, String& ident) const;

 private:
  TOrdType FOrdType;
  Int64 FMinValue;
  Int64 FMaxValue;
  std::vector<TIdentMapEntry> FIdentMap;
};

class TEnumTypeInfo : public TOrdinalTypeInfo {
 public:
  // An enumeration that is its own base, with names for MinValue..MaxValue.
  TEnumTypeInfo(String name, String unitName, std::vector<String> names);
  // A subrange of another enumeration.
  TEnumTypeInfo(String name, String unitName, const TEnumTypeInfo& base, Int64 minValue, Int64 maxValue);

  const TEnumTypeInfo& BaseType() const { return FBase ? *FBase : *this; }
  // The name of an ordinal value; empty when the value is outside the base's names.
  String GetEnumName(Int64 value) const;
  // The ordinal of a name compared without regard to case; -1 when none.
  Int64 GetEnumValue(StringView name) const;
  const std::vector<String>& Names() const { return BaseType().FNames; }

 private:
  const TEnumTypeInfo* FBase = nullptr;
  std::vector<String> FNames;
};

// Set members are ordinals 0 to 255; a member type outside that range raises
// EInvalidOperation when the set type is built.
class TSetTypeInfo : public TTypeInfo {
 public:
  TSetTypeInfo(String name, String unitName, const TOrdinalTypeInfo& compType);
  const TOrdinalTypeInfo& CompType() const { return *FCompType; }
  // As an ordinal value (property access): the smallest of 1, 2, 4 (or 32 for
  // more than 32 members) bytes that holds bit MaxValue of the member type.
  int Size() const;
  TOrdType OrdType() const;

  // The set's storage in memory, as the platform lays it out: the bytes that
  // hold members MinValue div 8 through MaxValue div 8, so a set of 8..15 is
  // one byte. Member n is bit n - MinValue + FirstBit() of the storage, bit 0
  // being the lowest bit of its first byte; the members use bits FirstBit()
  // through LastBit(). For member types that start below 8 (every
  // enumeration) the storage is the low bytes of the ordinal value.
  int FirstByte() const { return static_cast<int>(FCompType->MinValue() / 8); }
  int StorageSize() const { return static_cast<int>(FCompType->MaxValue() / 8) - FirstByte() + 1; }
  int FirstBit() const { return static_cast<int>(FCompType->MinValue() % 8); }
  int LastBit() const { return static_cast<int>(FCompType->MaxValue() - FCompType->MinValue()) + FirstBit(); }
  // Between an ordinal value (member n = bit n; members above 63 are not in
  // one) and StorageSize() bytes of storage.
  void OrdinalToStorage(Int64 value, void* storage) const;
  Int64 StorageToOrdinal(const void* storage) const;

 private:
  const TOrdinalTypeInfo* FCompType;
};

class TFloatTypeInfo : public TTypeInfo {
 public:
  TFloatTypeInfo(String name, String unitName, TFloatType floatType);
  TFloatType FloatType() const { return FFloatType; }

 private:
  TFloatType FFloatType;
};

// tkString (short strings with MaxLength), tkLString, tkWString, tkUString.
class TStringTypeInfo : public TTypeInfo {
 public:
  TStringTypeInfo(TTypeKind kind, String name, String unitName, Byte maxLength = 255);
  Byte MaxLength() const { return FMaxLength; }

 private:
  Byte FMaxLength;
};

class TInt64TypeInfo : public TTypeInfo {
 public:
  TInt64TypeInfo(String name, String unitName, Int64 minValue, Int64 maxValue);
  Int64 MinValue() const { return FMinValue; }
  Int64 MaxValue() const { return FMaxValue; }

 private:
  Int64 FMinValue;
  Int64 FMaxValue;
};

class TClassTypeInfo : public TTypeInfo {
 public:
  TClassTypeInfo(const TClassInfo& classInfo);
  const TClassInfo& ClassInfo() const { return *FClass; }

 private:
  const TClassInfo* FClass;
};

struct TMethodParam {
  TParamFlags Flags = 0;
  String Name;
  String TypeName;
  // The size of the platform's parameter record: the flags byte and the two
  // names as length-prefixed UTF-8 strings.
  int RecSize() const;
};

// The parameters of the published event types the libraries register.
inline TMethodParam Param(const char16_t* name, const char16_t* type, TParamFlags flags = 0) {
  return TMethodParam{flags, name, type};
}
inline constexpr TParamFlags kVarParam = ParamFlagBit(pfVar);

class TMethodTypeInfo : public TTypeInfo {
 public:
  TMethodTypeInfo(String name, String unitName, TMethodKind methodKind, std::vector<TMethodParam> params,
                  String resultTypeName = {});
  TMethodKind MethodKind() const { return FMethodKind; }
  const std::vector<TMethodParam>& Params() const { return FParams; }
  const String& ResultTypeName() const { return FResultTypeName; }

 private:
  TMethodKind FMethodKind;
  std::vector<TMethodParam> FParams;
  String FResultTypeName;
};

// An interface identifier in the platform's memory layout: a 32-bit and two
// 16-bit little-endian numbers, then eight bytes.
using TGUID = std::array<Byte, 16>;

constexpr TGUID MakeGUID(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, std::array<Byte, 8> d4) {
  TGUID guid{};
  for (int i = 0; i < 4; ++i) guid[i] = static_cast<Byte>(d1 >> (8 * i));
  for (int i = 0; i < 2; ++i) guid[4 + i] = static_cast<Byte>(d2 >> (8 * i));
  for (int i = 0; i < 2; ++i) guid[6 + i] = static_cast<Byte>(d3 >> (8 * i));
  for (int i = 0; i < 8; ++i) guid[8 + i] = d4[i];
  return guid;
}
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with upper-case digits.
String GUIDToString(const TGUID& guid);

class TInterfaceTypeInfo : public TTypeInfo {
 public:
  TInterfaceTypeInfo(String name, String unitName, const TInterfaceTypeInfo* parent, TIntfFlags flags, TGUID guid,
                     int methodCount);
  const TInterfaceTypeInfo* Parent() const { return FParent; }
  TIntfFlags Flags() const { return FFlags; }
  const TGUID& Guid() const { return FGuid; }
  int MethodCount() const { return FMethodCount; }

 private:
  const TInterfaceTypeInfo* FParent;
  TIntfFlags FFlags;
  TGUID FGuid;
  int FMethodCount;
};

class TDynArrayTypeInfo : public TTypeInfo {
 public:
  TDynArrayTypeInfo(String name, String unitName, Integer elementSize, const TTypeInfo* elementType, Integer varType,
                    bool elementsNeedCleanup);
  Integer ElementSize() const { return FElementSize; }
  const TTypeInfo* ElementType() const { return FElementType; }
  Integer VarType() const { return FVarType; }
  bool ElementsNeedCleanup() const { return FElementsNeedCleanup; }

 private:
  Integer FElementSize;
  const TTypeInfo* FElementType;
  Integer FVarType;
  bool FElementsNeedCleanup;
};

// The platform's fundamental types.
namespace types {
const TOrdinalTypeInfo& Integer();
const TOrdinalTypeInfo& Cardinal();
const TOrdinalTypeInfo& SmallInt();
const TOrdinalTypeInfo& Word();
const TOrdinalTypeInfo& ShortInt();
const TOrdinalTypeInfo& Byte();
const TOrdinalTypeInfo& Char();      // AnsiChar, tkChar
const TOrdinalTypeInfo& WideChar();  // tkWChar
const TEnumTypeInfo& Boolean();
const TInt64TypeInfo& Int64();
const TInt64TypeInfo& UInt64();
const TFloatTypeInfo& Single();
const TFloatTypeInfo& Double();
const TFloatTypeInfo& Extended();
const TFloatTypeInfo& Comp();
const TFloatTypeInfo& Currency();
const TFloatTypeInfo& TDateTime();
const TStringTypeInfo& ShortString();
const TStringTypeInfo& AnsiString();
const TStringTypeInfo& WideString();
const TStringTypeInfo& UnicodeString();
const TTypeInfo& Variant();
// TTypeKind and its set, for properties that filter by kind.
const TEnumTypeInfo& TypeKind();
const TSetTypeInfo& TypeKinds();
// The enumerations of the type information itself, for the type reports.
const TEnumTypeInfo& OrdType();
const TEnumTypeInfo& FloatType();
const TEnumTypeInfo& MethodKind();
const TEnumTypeInfo& ParamFlag();
const TSetTypeInfo& ParamFlags();
const TEnumTypeInfo& IntfFlag();
const TSetTypeInfo& IntfFlags();
}  // namespace types
