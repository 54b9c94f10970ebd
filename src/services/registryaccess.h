// Typed registry values below a root key: every routine opens the key it
// needs, does one thing and closes the key again.
//
// Raising routines raise EUtRegistryError; "Ex" routines take a raise flag and
// otherwise answer false; "Def" routines answer their default on any failure
// and never raise.
#pragma once

#include <initializer_list>

#include "services/rawregistry.h"
#include "services/utilbase.h"

KST_DECLARE_EXCEPTION(EUtRegistryError, EUtError);

inline constexpr char16_t kUtRegKeyReadError[] = u"Unable to open key \"%s\\%s\" for read";
inline constexpr char16_t kUtRegKeyWriteError[] = u"Unable to open key \"%s\\%s\" for write";
inline constexpr char16_t kUtRegValueAccessError[] = u"Unable to open key \"%s\\%s\" and access value \"%s\"";
inline constexpr char16_t kUtRegWrongKindError[] = u"\"%s\\%s\\%s\" is of wrong kind or size";
inline constexpr char16_t kUtRegRootMismatch[] = u"\"%s\" does not match RootKey";

// A set of value types, bit n standing for type n; types above 15 are never in it.
using TRegKinds = Word;
constexpr TRegKinds RegKinds(std::initializer_list<Cardinal> types) {
  TRegKinds kinds = 0;
  for (const Cardinal type : types) {
    if (type < 16) kinds = static_cast<TRegKinds>(kinds | (1u << type));
  }
  return kinds;
}
constexpr bool RegKindAllowed(TRegKinds kinds, Cardinal type) {
  return type < 16 && (kinds & (1u << type)) != 0;
}

// The long name of a predefined root key ("HKEY_CURRENT_USER"), else the
// handle as "$" and eight hexadecimal digits.
String RootKeyText(TRegHandle rootKey);

// The key path to hand to the registry: one leading backslash is skipped, and
// a leading root-key name with its backslash ("HKCU\", "HKEY_CURRENT_USER\")
// is taken off when it names rootKey. A name of another root raises
// EUtRegistryError ""<key>" does not match RootKey".
String StripRootKeyPrefix(TRegHandle rootKey, StringView key);

[[noreturn]] void RaiseKeyReadError(TRegHandle rootKey, StringView key);
[[noreturn]] void RaiseKeyWriteError(TRegHandle rootKey, StringView key);
[[noreturn]] void RaiseValueAccessError(TRegHandle rootKey, StringView key, StringView name);
[[noreturn]] void RaiseWrongKindError(TRegHandle rootKey, StringView key, StringView name);

bool RegistryKeyExists(TRawRegistry& registry, TRegHandle rootKey, StringView key);
// Creates the key and every missing key above it; the platform's error code.
Integer CreateRegistryKey(TRawRegistry& registry, TRegHandle rootKey, StringView key);
// False when the key does not open or the value is missing (dataType is then 0).
bool RegistryValueType(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, Cardinal& dataType);

// The value's bytes, when its type is in kinds and it has at most maxSize bytes.
bool ReadRegistryData(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, bool raiseException,
                      TRegKinds kinds, Cardinal maxSize, Byte* buffer, Cardinal& dataType, Cardinal& dataSize);
// Text of a REG_SZ, REG_EXPAND_SZ (not expanded) or REG_BINARY value; a
// terminating zero character is dropped.
bool ReadRegistryText(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, bool raiseException,
                      String& value);

// Integers: REG_DWORD, REG_QWORD or REG_BINARY of at most 8 bytes (zero
// extended), or REG_SZ / REG_EXPAND_SZ holding a 64-bit integer in text
// ("$" for hexadecimal); the low 32 bits. With raiseException a bad text
// raises EConvertError.
bool ReadRegistryIntegerEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                           bool raiseException, Integer& value);
Integer ReadRegistryIntegerDef(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                               Integer defaultValue);
bool ReadRegistryBooleanDef(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                            bool defaultValue);

bool ReadRegistryStringEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                          bool raiseException, String& value);
String ReadRegistryString(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name);
String ReadRegistryStringDef(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                             const String& defaultValue);
// Text is UTF-16 throughout, so the wide reads are the text reads.
inline bool ReadRegistryWideStringEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                                     bool raiseException, String& value) {
  return ReadRegistryStringEx(registry, rootKey, key, name, raiseException, value);
}
inline String ReadRegistryWideStringDef(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                                        const String& defaultValue) {
  return ReadRegistryStringDef(registry, rootKey, key, name, defaultValue);
}

// Any type but REG_NONE, up to maxSize bytes.
bool ReadRegistryBinaryEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                          bool raiseException, Cardinal& dataSize, Byte* buffer, Cardinal maxSize);
// The number of bytes read.
Cardinal ReadRegistryBinary(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, Byte* buffer,
                            Cardinal maxSize);

// Creates the key (and those above it) when missing, then sets the value.
void WriteRegistryData(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, Cardinal dataType,
                       const Byte* data, Cardinal dataSize);

void WriteRegistryInteger(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, Integer value);
void WriteRegistryBoolean(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, bool value);
// REG_SZ / REG_EXPAND_SZ: the decimal text; REG_BINARY, REG_DWORD: 4 bytes;
// REG_QWORD: 8 bytes, sign extended. Other types raise the wrong-kind error.
void WriteRegistryIntegerEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, Integer value,
                            Cardinal dataType);
// The same, zero extended.
void WriteRegistryCardinalEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                             Cardinal value, Cardinal dataType);
void WriteRegistryString(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, StringView value);
// REG_SZ, REG_EXPAND_SZ or REG_BINARY (else the wrong-kind error): the UTF-16
// text with its terminating zero.
void WriteRegistryStringEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                           StringView value, Cardinal dataType);
inline void WriteRegistryWideString(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                                    StringView value) {
  WriteRegistryString(registry, rootKey, key, name, value);
}
inline void WriteRegistryWideStringEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                                      StringView value, Cardinal dataType) {
  WriteRegistryStringEx(registry, rootKey, key, name, value, dataType);
}
void WriteRegistryBinary(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, const Byte* data,
                         Cardinal dataSize);

// True when the value went; a key that does not open for writing raises the
// write error, a value that cannot be deleted the value-access error.
bool DeleteRegistryValue(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name);
// Deletes the key with everything below it, deepest keys first. A key that
// does not open raises the write error; false when some key could not go.
bool DeleteRegistryKeyTree(TRawRegistry& registry, TRegHandle rootKey, StringView key);
