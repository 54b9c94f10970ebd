// Format with the platform's semantics:
//   %[index:][-][width][.precision]type
// index, width and precision may be "*" (taken from the arguments as
// integers). Types, in either case: d u x (upper-case hexadecimal) e f g n m p
// s c, and "%%" for a percent sign. A wrong type, an unknown type or a missing
// argument raises EConvertError.
#pragma once

#include <initializer_list>

#include "rtl/currency.h"
#include "rtl/formatsettings.h"
#include "rtl/types.h"

// One argument of Format. Arguments live as long as the call's full
// expression, so text is held as a view; UTF-8 text is converted once.
class TVarRec {
 public:
  enum class Kind { Boolean, Char, Integer, Int64, UInt64, Extended, Currency, String, Pointer };

  TVarRec(bool value) : FKind(Kind::Boolean), FInteger(value ? 1 : 0) {}
  TVarRec(char16_t value) : FKind(Kind::Char), FInteger(value) {}
  TVarRec(char value) : FKind(Kind::Char), FInteger(static_cast<unsigned char>(value)) {}
  TVarRec(wchar_t value);
  TVarRec(int value) : FKind(Kind::Integer), FInteger(value) {}
  TVarRec(unsigned value) : FKind(Kind::Int64), FInteger(value) {}
  TVarRec(long value) : FKind(sizeof(long) == 4 ? Kind::Integer : Kind::Int64), FInteger(value) {}
  TVarRec(unsigned long value) : FKind(Kind::UInt64), FUnsigned(value) {}
  TVarRec(long long value) : FKind(Kind::Int64), FInteger(value) {}
  TVarRec(unsigned long long value) : FKind(Kind::UInt64), FUnsigned(value) {}
  TVarRec(float value) : FKind(Kind::Extended), FExtended(value) {}
  TVarRec(double value) : FKind(Kind::Extended), FExtended(value) {}
  TVarRec(long double value) : FKind(Kind::Extended), FExtended(value) {}
  TVarRec(Currency value) : FKind(Kind::Currency), FInteger(value.Scaled()) {}
  TVarRec(const char16_t* value) : FKind(Kind::String), FText(value != nullptr ? StringView(value) : StringView()) {}
  TVarRec(const String& value) : FKind(Kind::String), FText(value) {}
  TVarRec(StringView value) : FKind(Kind::String), FText(value) {}
  TVarRec(const char* value);
  TVarRec(const std::string& value);
  TVarRec(const void* value) : FKind(Kind::Pointer), FPointer(value) {}
  TVarRec(std::nullptr_t) : FKind(Kind::Pointer), FPointer(nullptr) {}

  TVarRec(const TVarRec& other);
  TVarRec& operator=(const TVarRec& other);
  ~TVarRec() = default;

  Kind GetKind() const { return FKind; }
  // Integer, Int64, Boolean, Char and the scaled Currency.
  Int64 AsInt64() const { return FInteger; }
  UInt64 AsUInt64() const { return FUnsigned; }
  long double AsExtended() const { return FExtended; }
  StringView AsText() const { return FText; }
  const void* AsPointer() const { return FPointer; }

 private:
  Kind FKind;
  union {
    Int64 FInteger;
    UInt64 FUnsigned;
    long double FExtended;
    const void* FPointer;
  };
  StringView FText;
  bool FOwnsText = false;
  String FOwnedText;  // for text that had to be converted
};

String Format(StringView format, std::initializer_list<TVarRec> args);
String Format(StringView format, std::initializer_list<TVarRec> args, const TFormatSettings& settings);
// The same over any sequence of arguments, for callers that build them.
String FormatArgs(StringView format, const TVarRec* args, size_t count, const TFormatSettings& settings);
