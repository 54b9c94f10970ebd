#include "rtl/floattext.h"

#include <algorithm>
#include <cstring>

#include "rtl/exceptions.h"

using decimal_conversion::BinaryValue;
using decimal_conversion::DecimalText;
using decimal_conversion::DecimalValue;
using decimal_conversion::FloatClass;
using decimal_conversion::NumberSource;
using decimal_conversion::ParsedKind;

namespace {

constexpr int kAllDecimals = 9999;
constexpr int kMaxFixedDigits = 18;

void AppendAscii(String& out, std::string_view text) {
  for (const char c : text) out.push_back(static_cast<Char>(c));
}

void AppendSeparator(String& out, Char separator) {
  if (separator != 0) out.push_back(separator);
}

// Exponent digits, at least `minDigits` of them.
void AppendExponentDigits(String& out, int exponent, int minDigits) {
  const std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  for (int i = static_cast<int>(digits.size()); i < minDigits; ++i) out.push_back(u'0');
  AppendAscii(out, digits);
}

String SpecialText(const BinaryValue& value) {
  if (value.kind == FloatClass::NaN) return u"NAN";
  return value.negative ? u"-INF" : u"INF";
}

// The integer digits of 0.digits * 10^exponent, with thousands separators
// when asked.
String IntegerPart(const DecimalValue& value, Char thousandSeparator, bool group) {
  std::string digits;
  if (value.exponent > 0) {
    digits = value.digits.substr(0, static_cast<size_t>(value.exponent));
    digits.resize(static_cast<size_t>(value.exponent), '0');
  } else {
    digits = "0";
  }
  String out;
  for (size_t i = 0; i < digits.size(); ++i) {
    out.push_back(static_cast<Char>(digits[i]));
    const size_t remaining = digits.size() - i - 1;
    if (group && thousandSeparator != 0 && remaining > 0 && remaining % 3 == 0) out.push_back(thousandSeparator);
  }
  return out;
}

// Exactly `count` digits after the point.
std::string FractionDigits(const DecimalValue& value, int count) {
  std::string out;
  for (int position = 0; position < count; ++position) {
    const long long index = static_cast<long long>(value.exponent) + position;
    out.push_back(index >= 0 && index < static_cast<long long>(value.digits.size())
                      ? value.digits[static_cast<size_t>(index)]
                      : '0');
  }
  return out;
}

String FormatGeneral(const NumberSource& source, int precision, int exponentDigits, const TFormatSettings& settings) {
  const DecimalValue value = source.Digits(precision, kAllDecimals);
  if (value.kind == FloatClass::Zero) return u"0";
  String out;
  if (value.negative) out.push_back(u'-');
  const int exponent = value.exponent;
  const auto count = static_cast<int>(value.digits.size());
  if (exponent > precision || exponent < -3) {
    out.push_back(static_cast<Char>(value.digits[0]));
    if (count > 1) {
      AppendSeparator(out, settings.DecimalSeparator);
      AppendAscii(out, std::string_view(value.digits).substr(1));
    }
    out.push_back(u'E');
    if (exponent - 1 < 0) out.push_back(u'-');
    AppendExponentDigits(out, exponent - 1, exponentDigits);
    return out;
  }
  out += IntegerPart(value, 0, false);
  if (count > exponent) {
    AppendSeparator(out, settings.DecimalSeparator);
    AppendAscii(out, FractionDigits(value, count - exponent));
  }
  return out;
}

String FormatExponent(const NumberSource& source, int precision, int exponentDigits, const TFormatSettings& settings) {
  const DecimalValue value = source.Digits(precision, kAllDecimals);
  std::string digits = value.digits;
  digits.resize(static_cast<size_t>(precision), '0');
  const int exponent = value.kind == FloatClass::Zero ? 0 : value.exponent - 1;
  String out;
  if (value.negative) out.push_back(u'-');
  out.push_back(static_cast<Char>(digits[0]));
  if (precision > 1) {
    AppendSeparator(out, settings.DecimalSeparator);
    AppendAscii(out, std::string_view(digits).substr(1));
  }
  out.push_back(u'E');
  out.push_back(exponent < 0 ? u'-' : u'+');
  AppendExponentDigits(out, exponent, exponentDigits);
  return out;
}

// The unsigned fixed-point text; `negative` tells whether a sign belongs to it.
String FixedMagnitude(const DecimalValue& value, int digits, bool group, const TFormatSettings& settings) {
  String out = IntegerPart(value, settings.ThousandSeparator, group);
  if (digits > 0) {
    AppendSeparator(out, settings.DecimalSeparator);
    AppendAscii(out, FractionDigits(value, digits));
  }
  return out;
}

String ApplyCurrencyPattern(const String& amount, bool negative, const TFormatSettings& settings) {
  const String& symbol = settings.CurrencyString;
  if (!negative) {
    switch (settings.CurrencyFormat) {
      case 1: return amount + symbol;
      case 2: return symbol + u" " + amount;
      case 3: return amount + u" " + symbol;
      default: return symbol + amount;
    }
  }
  switch (settings.NegCurrFormat) {
    case 1: return u"-" + symbol + amount;
    case 2: return symbol + u"-" + amount;
    case 3: return symbol + amount + u"-";
    case 4: return u"(" + amount + symbol + u")";
    case 5: return u"-" + amount + symbol;
    case 6: return amount + u"-" + symbol;
    case 7: return amount + symbol + u"-";
    case 8: return u"-" + amount + u" " + symbol;
    case 9: return u"-" + symbol + u" " + amount;
    case 10: return amount + u" " + symbol + u"-";
    case 11: return symbol + u" " + amount + u"-";
    case 12: return symbol + u" -" + amount;
    case 13: return amount + u"- " + symbol;
    case 14: return u"(" + symbol + u" " + amount + u")";
    case 15: return u"(" + amount + u" " + symbol + u")";
    default: return u"(" + symbol + amount + u")";
  }
}

// --- The mask language ---

struct MaskSection {
  StringView text;
  int digitCount = 0;        // placeholders in all
  int integerPlaces = 0;     // placeholders before the point
  int requiredIntegers = 0;  // integer digits always shown (from the first "0")
  int requiredDecimals = 0;  // decimals always shown (up to the last "0")
  bool thousands = false;
  bool scientific = false;
};

// Splits at ";" outside quotes; at most three sections count.
std::vector<StringView> SplitSections(StringView mask) {
  std::vector<StringView> sections;
  size_t start = 0;
  Char quote = 0;
  for (size_t i = 0; i < mask.size(); ++i) {
    const Char c = mask[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u';') {
      sections.push_back(mask.substr(start, i - start));
      start = i + 1;
      if (sections.size() == 3) return sections;
    }
  }
  sections.push_back(mask.substr(start));
  return sections;
}

bool IsExponentMarker(StringView text, size_t i) {
  return (text[i] == u'E' || text[i] == u'e') && i + 1 < text.size() && (text[i + 1] == u'+' || text[i + 1] == u'-');
}

MaskSection ScanSection(StringView text) {
  MaskSection section;
  section.text = text;
  int decimalIndex = -1;
  int firstZero = -1;
  int lastZero = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const Char c = text[i];
    if (c == u'#') {
      ++section.digitCount;
    } else if (c == u'0') {
      if (firstZero < 0) firstZero = section.digitCount;
      ++section.digitCount;
      lastZero = section.digitCount;
    } else if (c == u'.') {
      if (decimalIndex < 0) decimalIndex = section.digitCount;
    } else if (c == u',') {
      section.thousands = true;
    } else if (c == u'\'' || c == u'"') {
      const size_t close = text.find(c, i + 1);
      i = close == StringView::npos ? text.size() : close;
    } else if (IsExponentMarker(text, i)) {
      section.scientific = true;
      // The zeros after the sign are exponent digits, not placeholders.
      i += 2;
      while (i < text.size() && text[i] == u'0') ++i;
      --i;
    }
  }
  if (decimalIndex < 0) decimalIndex = section.digitCount;
  section.integerPlaces = decimalIndex;
  section.requiredIntegers = firstZero < 0 ? 0 : std::max(decimalIndex - firstZero, 0);
  section.requiredDecimals = std::max(lastZero - decimalIndex, 0);
  return section;
}

String ApplySection(const MaskSection& section, const DecimalValue& value, bool writeMinus,
                    const TFormatSettings& settings) {
  const int decimalPlaces = section.digitCount - section.integerPlaces;
  std::string integerDigits;
  int exponent = 0;
  if (section.scientific) {
    for (int i = 0; i < section.integerPlaces; ++i) {
      integerDigits.push_back(i < static_cast<int>(value.digits.size()) ? value.digits[static_cast<size_t>(i)] : '0');
    }
    exponent = value.kind == FloatClass::Zero ? 0 : value.exponent - section.integerPlaces;
  } else if (value.exponent > 0) {
    integerDigits = value.digits.substr(0, static_cast<size_t>(value.exponent));
    integerDigits.resize(static_cast<size_t>(value.exponent), '0');
  }
  // Leading zeros are not digits, except the required ones; a scientific
  // mantissa shows all its digits.
  if (!section.scientific) {
    const size_t firstNonZero = integerDigits.find_first_not_of('0');
    integerDigits.erase(0, firstNonZero == std::string::npos ? integerDigits.size() : firstNonZero);
  }
  if (static_cast<int>(integerDigits.size()) < section.requiredIntegers) {
    integerDigits.insert(0, static_cast<size_t>(section.requiredIntegers) - integerDigits.size(), '0');
  }

  std::string fraction;
  if (section.scientific) {
    for (int i = 0; i < decimalPlaces; ++i) {
      const size_t index = static_cast<size_t>(section.integerPlaces + i);
      fraction.push_back(index < value.digits.size() ? value.digits[index] : '0');
    }
  } else {
    fraction = FractionDigits(value, decimalPlaces);
  }
  while (static_cast<int>(fraction.size()) > section.requiredDecimals && fraction.back() == '0') fraction.pop_back();

  String out;
  if (writeMinus) out.push_back(u'-');
  const int integerCount = static_cast<int>(integerDigits.size());
  size_t nextInteger = 0;
  size_t nextFraction = 0;
  int integerPlaceholdersSeen = 0;
  const bool group = section.thousands && settings.ThousandSeparator != 0;
  auto writeIntegerDigit = [&](size_t index) {
    out.push_back(static_cast<Char>(integerDigits[index]));
    const size_t remaining = integerDigits.size() - index - 1;
    if (group && !section.scientific && remaining > 0 && remaining % 3 == 0) out.push_back(settings.ThousandSeparator);
  };
  auto flushIntegers = [&] {
    while (nextInteger < integerDigits.size()) writeIntegerDigit(nextInteger++);
  };
  const StringView text = section.text;
  for (size_t i = 0; i < text.size(); ++i) {
    const Char c = text[i];
    if (c == u'#' || c == u'0') {
      if (integerPlaceholdersSeen < section.integerPlaces) {
        ++integerPlaceholdersSeen;
        // Integer digits align to the right end of the placeholders; the
        // first placeholder takes any the mask has no room for.
        const int placesLeft = section.integerPlaces - integerPlaceholdersSeen;
        while (static_cast<int>(nextInteger) < integerCount &&
               integerCount - static_cast<int>(nextInteger) > placesLeft) {
          writeIntegerDigit(nextInteger++);
        }
      } else {
        flushIntegers();
        if (nextFraction < fraction.size()) {
          if (nextFraction == 0) AppendSeparator(out, settings.DecimalSeparator);
          out.push_back(static_cast<Char>(fraction[nextFraction++]));
        }
      }
    } else if (c == u'.' || c == u',') {
      // The point is written with the first decimal; grouping is automatic.
    } else if (c == u'\'' || c == u'"') {
      const size_t close = text.find(c, i + 1);
      const size_t end = close == StringView::npos ? text.size() : close;
      out.append(text.substr(i + 1, end - i - 1));
      i = end;
    } else if (section.scientific && IsExponentMarker(text, i)) {
      flushIntegers();
      out.push_back(c);
      const bool alwaysSign = text[i + 1] == u'+';
      i += 2;
      int minDigits = 0;
      while (i < text.size() && text[i] == u'0') {
        ++minDigits;
        ++i;
      }
      --i;
      if (exponent < 0) {
        out.push_back(u'-');
      } else if (alwaysSign) {
        out.push_back(u'+');
      }
      AppendExponentDigits(out, exponent, std::min(minDigits, 4));
    } else {
      out.push_back(c);
    }
  }
  flushIntegers();
  return out;
}

}  // namespace

namespace float_text {

String Render(const NumberSource& source, TFloatFormat format, int precision, int digits,
              const TFormatSettings& settings) {
  const BinaryValue& binary = source.binary;
  if (binary.kind == FloatClass::NaN || binary.kind == FloatClass::Infinity) return SpecialText(binary);
  precision = std::clamp(precision, 1, source.MaxPrecision());
  switch (format) {
    case ffExponent: return FormatExponent(source, precision, std::clamp(digits, 0, 4), settings);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      digits = std::clamp(digits, 0, kMaxFixedDigits);
      const DecimalValue value = source.Digits(precision, digits);
      if (format != ffCurrency && value.kind != FloatClass::Zero && value.exponent > precision) {
        return FormatGeneral(source, precision, 0, settings);
      }
      const String magnitude = FixedMagnitude(value, digits, format != ffFixed, settings);
      if (format == ffCurrency) return ApplyCurrencyPattern(magnitude, value.negative, settings);
      return value.negative ? u"-" + magnitude : magnitude;
    }
    case ffGeneral:
    default: return FormatGeneral(source, precision, std::clamp(digits, 0, 4), settings);
  }
}

String RenderWithMask(const NumberSource& source, StringView mask, const TFormatSettings& settings) {
  const BinaryValue& binary = source.binary;
  if (binary.kind == FloatClass::NaN || binary.kind == FloatClass::Infinity) return SpecialText(binary);
  if (mask.empty()) return Render(source, ffGeneral, 15, 0, settings);
  const std::vector<StringView> sections = SplitSections(mask);
  auto sectionOrFirst = [&](size_t index) -> size_t {
    return index < sections.size() && !sections[index].empty() ? index : 0;
  };
  const bool negative = binary.negative && binary.kind != FloatClass::Zero;
  size_t index = sectionOrFirst(binary.kind == FloatClass::Zero ? 2 : negative ? 1 : 0);
  MaskSection section = ScanSection(sections[index]);
  auto digitsFor = [&](const MaskSection& s) {
    return s.scientific ? source.Digits(s.digitCount, kAllDecimals)
                        : source.Digits(source.MaxPrecision(), s.digitCount - s.integerPlaces);
  };
  DecimalValue value = digitsFor(section);
  if (!section.scientific && value.exponent > kMaxFixedDigits) return Render(source, ffGeneral, 15, 0, settings);
  if (value.kind == FloatClass::Zero && binary.kind != FloatClass::Zero) {
    // Rounded away: the zero section applies when there is one.
    const size_t zeroIndex = sectionOrFirst(2);
    if (zeroIndex != index && zeroIndex != 0) {
      index = zeroIndex;
      section = ScanSection(sections[index]);
      value = digitsFor(section);
    }
  }
  const bool writeMinus = negative && index == 0 && value.kind != FloatClass::Zero;
  return ApplySection(section, value, writeMinus, settings);
}

}  // namespace float_text

void FloatToDecimal(TFloatRec& result, long double value, int precision, int decimals) {
  const NumberSource source = NumberSource::Of(value);
  result = TFloatRec{};
  result.Negative = source.binary.negative;
  switch (source.binary.kind) {
    case FloatClass::NaN: result.Exponent = static_cast<SmallInt>(-0x8000); return;
    case FloatClass::Infinity: result.Exponent = 0x7FFF; return;
    default: break;
  }
  const DecimalValue digits = source.Digits(precision, decimals);
  result.Negative = digits.negative;
  result.Exponent = static_cast<SmallInt>(digits.exponent);
  std::memcpy(result.Digits, digits.digits.data(), std::min(digits.digits.size(), sizeof(result.Digits) - 1));
}

String FloatToStrF(long double value, TFloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, FormatSettings());
}

String FloatToStrF(long double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings) {
  return float_text::Render(NumberSource::Of(value), format, precision, digits, settings);
}

String FloatToStrF(const Extended80& value, TFloatFormat format, int precision, int digits,
                   const TFormatSettings& settings) {
  NumberSource source;
  source.binary = decimal_conversion::Decompose(value);
  return float_text::Render(source, format, precision, digits, settings);
}

String FloatToText(long double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings) {
  return FloatToStrF(value, format, precision, digits, settings);
}

String FloatToStr(long double value) {
  return FloatToStr(value, FormatSettings());
}

String FloatToStr(long double value, const TFormatSettings& settings) {
  return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

String FormatFloat(StringView format, long double value) {
  return FormatFloat(format, value, FormatSettings());
}

String FormatFloat(StringView format, long double value, const TFormatSettings& settings) {
  return float_text::RenderWithMask(NumberSource::Of(value), format, settings);
}

String InvalidFloatMessage(StringView text) {
  String message = u"'";
  message.append(text);
  message.append(u"' is not a valid floating point value");
  return message;
}

namespace {

bool ParseToBinary(StringView text, const TFormatSettings& settings, const decimal_conversion::BinaryFormat& format,
                   BinaryValue& out) {
  DecimalText decimal;
  switch (decimal_conversion::ParseDecimalText(text, settings.DecimalSeparator, decimal)) {
    case ParsedKind::Invalid: return false;
    case ParsedKind::Infinity: out = BinaryValue{FloatClass::Infinity, decimal.negative, 0, 0}; return true;
    case ParsedKind::NaN: out = BinaryValue{FloatClass::NaN, decimal.negative, 0, 0}; return true;
    case ParsedKind::Number: break;
  }
  return decimal_conversion::DecimalToBinary(decimal, format, out);
}

}  // namespace

bool TryStrToExtended80(StringView text, Extended80& value, const TFormatSettings& settings) {
  BinaryValue binary;
  if (!ParseToBinary(text, settings, decimal_conversion::kExtendedFormat, binary)) return false;
  value = decimal_conversion::ToExtended80(binary);
  return true;
}

bool TryStrToFloat(StringView text, long double& value, const TFormatSettings& settings) {
  Extended80 extended;
  if (!TryStrToExtended80(text, extended, settings)) return false;
  value = extended.ToLongDouble();
  return true;
}

bool TryStrToFloat(StringView text, long double& value) {
  return TryStrToFloat(text, value, FormatSettings());
}

bool TryStrToFloat(StringView text, double& value, const TFormatSettings& settings) {
  BinaryValue binary;
  if (!ParseToBinary(text, settings, decimal_conversion::kDoubleFormat, binary)) return false;
  value = decimal_conversion::ToDouble(binary);
  return true;
}

bool TryStrToFloat(StringView text, double& value) {
  return TryStrToFloat(text, value, FormatSettings());
}

bool TryStrToFloat(StringView text, float& value, const TFormatSettings& settings) {
  BinaryValue binary;
  if (!ParseToBinary(text, settings, decimal_conversion::kSingleFormat, binary)) return false;
  value = static_cast<float>(decimal_conversion::ToDouble(binary));  // exact: already rounded to 24 bits
  return true;
}

bool TryStrToFloat(StringView text, float& value) {
  return TryStrToFloat(text, value, FormatSettings());
}

long double StrToFloat(StringView text) {
  return StrToFloat(text, FormatSettings());
}

long double StrToFloat(StringView text, const TFormatSettings& settings) {
  long double value = 0;
  if (!TryStrToFloat(text, value, settings)) throw EConvertError(InvalidFloatMessage(text));
  return value;
}

long double StrToFloatDef(StringView text, long double defaultValue) {
  return StrToFloatDef(text, defaultValue, FormatSettings());
}

long double StrToFloatDef(StringView text, long double defaultValue, const TFormatSettings& settings) {
  long double value = 0;
  return TryStrToFloat(text, value, settings) ? value : defaultValue;
}
