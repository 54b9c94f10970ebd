// Float <-> text with the platform's formats. Digits are generated exactly
// from the binary value (never through the C library or its locale), so both
// builds write the same text; separators come from the format settings.
#pragma once

#include "rtl/decimalconversion.h"
#include "rtl/extended.h"
#include "rtl/formatsettings.h"
#include "rtl/types.h"

enum TFloatFormat : int { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// The decimal form of a value: 0.Digits * 10^Exponent. Digits holds at most
// 19 ASCII digits (zero-terminated, empty for zero). Exponent is 0x7FFF for an
// infinity and -0x8000 (0x8000 as a 16-bit word) for NaN.
struct TFloatRec {
  SmallInt Exponent = 0;
  bool Negative = false;
  char Digits[21] = {};
};

// At most `precision` (1..18) significant digits and `decimals` digits after
// the point; ties are rounded away from zero.
void FloatToDecimal(TFloatRec& result, long double value, int precision, int decimals);

// `precision`: significant digits, 1..18 (more are taken as 18).
// `digits`: ffGeneral and ffExponent: the minimum number of exponent digits
// (0..4); ffFixed, ffNumber and ffCurrency: digits after the point (0..18).
// ffFixed and ffNumber fall back to ffGeneral for values with more than
// `precision` integer digits. NaN and infinities give "NAN", "INF", "-INF".
String FloatToStrF(long double value, TFloatFormat format, int precision, int digits);
String FloatToStrF(long double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings);
// The same for an extended value from a stream, exact whatever long double is.
String FloatToStrF(const Extended80& value, TFloatFormat format, int precision, int digits,
                   const TFormatSettings& settings);
String FloatToText(long double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings);

// ffGeneral with 15 significant digits.
String FloatToStr(long double value);
String FloatToStr(long double value, const TFormatSettings& settings);

// The mask language: "0" digit, "#" optional digit, "." decimal point, ","
// thousands separators, "E+" "E-" "e+" "e-" scientific notation, quoted
// text ('...' or "..."), and up to three sections "positive;negative;zero".
String FormatFloat(StringView format, long double value);
String FormatFloat(StringView format, long double value, const TFormatSettings& settings);

// Blanks around, an optional sign, digits with the settings' decimal
// separator, an optional exponent; "INF" and "NAN" too. Raises EConvertError
// "'<text>' is not a valid floating point value". The result is correctly
// rounded to the target type; values beyond its range are errors.
long double StrToFloat(StringView text);
long double StrToFloat(StringView text, const TFormatSettings& settings);
long double StrToFloatDef(StringView text, long double defaultValue);
long double StrToFloatDef(StringView text, long double defaultValue, const TFormatSettings& settings);
bool TryStrToFloat(StringView text, long double& value);
bool TryStrToFloat(StringView text, long double& value, const TFormatSettings& settings);
bool TryStrToFloat(StringView text, double& value);
bool TryStrToFloat(StringView text, double& value, const TFormatSettings& settings);
bool TryStrToFloat(StringView text, float& value);
bool TryStrToFloat(StringView text, float& value, const TFormatSettings& settings);
// An extended value, exact in its 10 bytes on every build.
bool TryStrToExtended80(StringView text, Extended80& value, const TFormatSettings& settings);

String InvalidFloatMessage(StringView text);

// The formatting core behind these routines, Format and the currency routines.
namespace float_text {
String Render(const decimal_conversion::NumberSource& value, TFloatFormat format, int precision, int digits,
              const TFormatSettings& settings);
String RenderWithMask(const decimal_conversion::NumberSource& value, StringView mask, const TFormatSettings& settings);
}  // namespace float_text
