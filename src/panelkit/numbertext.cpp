#include "panelkit/numbertext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <limits>

#include "rtl/floattext.h"
#include "rtl/formatsettings.h"

namespace {

TFormatSettings WithSeparator(Char decimalSeparator) {
  TFormatSettings settings = InvariantFormatSettings();
  settings.DecimalSeparator = decimalSeparator;
  return settings;
}

bool IsSign(Char ch) {
  return ch == u'+' || ch == u'-';
}

bool IsDigit(Char ch) {
  return ch >= u'0' && ch <= u'9';
}

// The value in fixed notation, never in exponent form: the reading filter
// keeps digits only, so "1E20" would read back as 120. Beyond 18 significant
// digits the places are filled with zeros. Negative decimals: the shortest
// general text where it has no exponent, else the fixed form without decimals.
String PlainFixedText(double value, int decimals, const TFormatSettings& settings) {
  if (decimals < 0) {
    String general = FloatToStr(value, settings);
    if (general.find(u'E') == String::npos && general.find(u'e') == String::npos) return general;
    if (std::fabs(value) < 1) return PlainFixedText(value, 18, settings);
    decimals = 0;
  }
  if (!std::isfinite(value)) return FloatToStrF(value, ffFixed, 18, decimals, settings);
  if (std::fabs(value) < 1e15) return FloatToStrF(value, ffFixed, 18, decimals, settings);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17e", value);
  // d.ddddddddddddddddde+XX
  const std::string text(buffer);
  const size_t e = text.find('e');
  const bool negative = text[0] == '-';
  std::string digits;
  for (size_t i = negative ? 1 : 0; i < e; ++i)
    if (text[i] != '.') digits += text[i];
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string integer = digits.substr(0, std::min<size_t>(digits.size(), static_cast<size_t>(exponent) + 1));
  while (integer.size() < static_cast<size_t>(exponent) + 1) integer += '0';
  String result;
  if (negative) result += u'-';
  for (char ch : integer) result += static_cast<Char>(ch);
  if (decimals > 0) {
    result += settings.DecimalSeparator;
    result.append(static_cast<size_t>(decimals), u'0');
  }
  return result;
}

}  // namespace

double TNumberRange::Clamp(double value) const {
  if (!Active()) return value;
  // A lower bound above the upper one wins, as the bounds are applied in that order.
  if (value > Max) value = Max;
  if (value < Min) value = Min;
  return value;
}

String FilterNumberCharacters(StringView text, Char decimalSeparator, bool allowSeparator, bool allowSign) {
  String result;
  bool separatorSeen = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const Char ch = text[i];
    if (IsDigit(ch)) {
      result += ch;
    } else if (ch == decimalSeparator) {
      if (allowSeparator && !separatorSeen) result += ch;
      separatorSeen = true;
    } else if (IsSign(ch)) {
      if (allowSign && i == 0) result += ch;
    }
  }
  return result;
}

double ReadNumberText(StringView text, Char decimalSeparator, bool allowSeparator, bool allowSign,
                      const TNumberRange& range) {
  const String filtered = FilterNumberCharacters(text, decimalSeparator, allowSeparator, allowSign);
  if (filtered.empty()) return range.Min;
  if (std::none_of(filtered.begin(), filtered.end(), IsDigit)) return range.Clamp(0);
  double value = 0;
  if (!TryStrToFloat(filtered, value, WithSeparator(decimalSeparator))) {
    // Only digits, a separator and a sign are left, so this is a number too
    // large for a double: the nearest bound of what a double holds.
    value = filtered[0] == u'-' ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  }
  return range.Clamp(value);
}

String NumberFilterText(StringView text, Char decimalSeparator, bool allowSeparator, bool allowSign,
                        const TNumberRange& range) {
  return FloatToStr(ReadNumberText(text, decimalSeparator, allowSeparator, allowSign, range),
                    WithSeparator(decimalSeparator));
}

String PastedNumberText(StringView text, Char decimalSeparator, bool allowSeparator, bool allowSign,
                        const TNumberRange& range) {
  const String filtered = FilterNumberCharacters(text, decimalSeparator, allowSeparator, allowSign);
  if (std::none_of(filtered.begin(), filtered.end(), IsDigit)) return String();
  return NumberFilterText(filtered, decimalSeparator, allowSeparator, allowSign, range);
}

String StripAffixes(StringView text, StringView before, StringView after) {
  StringView rest = text;
  if (!before.empty() && rest.substr(0, before.size()) == before) rest.remove_prefix(before.size());
  if (!after.empty() && rest.size() >= after.size() && rest.substr(rest.size() - after.size()) == after)
    rest.remove_suffix(after.size());
  return String(rest);
}

String FormatNumberValue(double value, const TNumberFormat& format) {
  if (value == 0 && !format.NullText.empty()) return format.NullText;
  const TFormatSettings settings = WithSeparator(format.DecimalSeparator);
  String number;
  if (format.AllowFloat && format.Precision > 0)
    number = PlainFixedText(value, std::min(format.Precision, 18), settings);
  else if (format.AllowFloat)
    number = PlainFixedText(value, -1, settings);
  else
    number = PlainFixedText(value, 0, settings);
  return format.TextBefore + number + format.TextAfter;
}

bool NumberCharacterPasses(Char character, const TNumberTyping& typing) {
  const TPxNumberEditOptions& options = typing.Options;
  if (options.Contains(eoDisableTyping)) return false;
  if (options.Contains(eoAllowAll)) return true;
  // Copy, Tab, paste and cut.
  if (character == 3 || character == 9 || character == 22 || character == 24) return true;
  if (character == 1 || character == 8 || character == 13 || IsDigit(character)) return true;
  if (character == typing.DecimalSeparator) {
    if (!options.Contains(eoAllowFloat)) return false;
    return typing.Text.find(character) == String::npos || typing.SelectedText.find(character) != String::npos;
  }
  if (IsSign(character)) {
    if (!options.Contains(eoAllowSigns)) return false;
    const bool textHasSign = typing.Text.find_first_of(u"+-") != String::npos;
    const bool selectionHasSign = typing.SelectedText.find_first_of(u"+-") != String::npos;
    return (typing.CaretPosition == 0 && !textHasSign) || selectionHasSign;
  }
  return false;
}

std::optional<double> SpinStep(double value, double increment, bool up, bool allowSigns, const TNumberRange& range) {
  if (up) {
    if (range.Active() && value + increment > range.Max) return std::nullopt;
    return value + increment;
  }
  // Without signs no step may end below 0 (from 0.5 it would show -0.5).
  if (!allowSigns && value - increment < 0) return std::nullopt;
  if (range.Active() && value - increment < range.Min) return std::nullopt;
  return value - increment;
}
