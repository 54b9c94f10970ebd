// The arithmetic of the number and spin edits, apart from any window: the
// tolerant reading of a typed text (digits, one decimal separator of the
// locale, a leading sign), the range, the shown text with its prefix and
// suffix, which typed characters pass, and one spin step.
#pragma once

#include <optional>

#include "rtl/sets.h"
#include "rtl/types.h"

enum TPxNumberEditOption { eoAllowAll, eoAllowFloat, eoAllowSigns, eoDisablePaste, eoDisableTyping };
using TPxNumberEditOptions = TSet<TPxNumberEditOption>;
inline constexpr TPxNumberEditOptions kDefaultNumberEditOptions{eoAllowFloat, eoAllowSigns};

// Both bounds apply as soon as either is not 0 (a bound of 0 included).
struct TNumberRange {
  double Min = 0;
  double Max = 0;
  bool Active() const { return Min != 0 || Max != 0; }
  double Clamp(double value) const;
};

// Keeps "+", "-", the digits and the decimal separator: only the first
// separator, and only when separators are allowed; a sign only as the very
// first character and only when signs are allowed.
String FilterNumberCharacters(StringView text, Char decimalSeparator, bool allowSeparator, bool allowSign);

// The number a text stands for: filtered as above; an empty result is the
// lower bound; a result without any digit (a lone sign or separator) is 0;
// the value is then brought into the range. Never raises.
double ReadNumberText(StringView text, Char decimalSeparator, bool allowSeparator, bool allowSign,
                      const TNumberRange& range);

// The filter's result as text: the shortest general form of the number.
String NumberFilterText(StringView text, Char decimalSeparator, bool allowSeparator, bool allowSign,
                        const TNumberRange& range);

// What a paste inserts: the filter's result, or nothing at all when the
// pasted text holds no digit (pasting words into "7" leaves "7").
String PastedNumberText(StringView text, Char decimalSeparator, bool allowSeparator, bool allowSign,
                        const TNumberRange& range);

// The text without the shown prefix and suffix, where it still carries them,
// so that their own digits never count as typed ones.
String StripAffixes(StringView text, StringView before, StringView after);

struct TNumberFormat {
  String NullText;
  String TextBefore;
  String TextAfter;
  Integer Precision = 2;
  bool AllowFloat = true;
  Char DecimalSeparator = u'.';
};

// The shown text of a value: the null text for 0 when there is one, else
// prefix, number (fixed decimals, or the shortest form at precision 0, or
// no decimals without floats) and suffix.
String FormatNumberValue(double value, const TNumberFormat& format);

// What a typed character meets: the edit's options, text and selection.
struct TNumberTyping {
  TPxNumberEditOptions Options = kDefaultNumberEditOptions;
  String Text;
  String SelectedText;
  Integer CaretPosition = 0;
  Char DecimalSeparator = u'.';
};

// Whether a typed character reaches the edit window.
bool NumberCharacterPasses(Char character, const TNumberTyping& typing);

// The value after one step up or down, or nothing when the step would
// leave the range (or end below 0 without signs).
std::optional<double> SpinStep(double value, double increment, bool up, bool allowSigns, const TNumberRange& range);
