#include "rtl/format.h"

#include <algorithm>

#include "rtl/decimalconversion.h"
#include "rtl/exceptions.h"
#include "rtl/floattext.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"

TVarRec::TVarRec(wchar_t value) : FKind(Kind::Char), FInteger(static_cast<Int64>(value)) {}

TVarRec::TVarRec(const char* value)
    : FKind(Kind::String), FInteger(0), FOwnsText(true), FOwnedText(value != nullptr ? UTF8ToString(value) : String()) {
  FText = FOwnedText;
}

TVarRec::TVarRec(const std::string& value)
    : FKind(Kind::String), FInteger(0), FOwnsText(true), FOwnedText(UTF8ToString(value)) {
  FText = FOwnedText;
}

TVarRec::TVarRec(const TVarRec& other) : FKind(other.FKind), FInteger(0) {
  *this = other;
}

TVarRec& TVarRec::operator=(const TVarRec& other) {
  if (this == &other) return *this;
  FKind = other.FKind;
  if (FKind == Kind::Extended) {
    FExtended = other.FExtended;
  } else if (FKind == Kind::Pointer) {
    FPointer = other.FPointer;
  } else {
    FInteger = other.FInteger;
  }
  FOwnsText = other.FOwnsText;
  FOwnedText = other.FOwnedText;
  FText = FOwnsText ? StringView(FOwnedText) : other.FText;
  return *this;
}

namespace {

using decimal_conversion::NumberSource;

constexpr int kMaxFieldSize = 1 << 20;  // width and precision beyond this are taken as this
constexpr size_t kMessageFormatLength = 31;

String FormatErrorMessage(const char16_t* text, StringView format) {
  String message = text;
  const size_t at = message.find(u"%s");
  message.replace(at, 2, format.substr(0, kMessageFormatLength));
  return message;
}

[[noreturn]] void RaiseInvalidFormat(StringView format) {
  throw EConvertError(FormatErrorMessage(u"Format '%s' invalid or incompatible with argument", format));
}

[[noreturn]] void RaiseArgumentMissing(StringView format) {
  throw EConvertError(FormatErrorMessage(u"No argument for format '%s'", format));
}

void AppendCodePoint(String& out, Int64 code) {
  if (code >= 0x10000 && code <= 0x10FFFF) {
    code -= 0x10000;
    out.push_back(static_cast<Char>(0xD800 + (code >> 10)));
    out.push_back(static_cast<Char>(0xDC00 + (code & 0x3FF)));
  } else {
    out.push_back(static_cast<Char>(code));
  }
}

class Formatter {
 public:
  Formatter(StringView format, const TVarRec* args, size_t count, const TFormatSettings& settings)
      : FFormat(format), FArgs(args), FCount(count), FSettings(settings) {}

  String Run() {
    String out;
    out.reserve(FFormat.size() + 16);
    while (FPos < FFormat.size()) {
      const size_t percent = FFormat.find(u'%', FPos);
      if (percent == StringView::npos) {
        out.append(FFormat.substr(FPos));
        break;
      }
      out.append(FFormat.substr(FPos, percent - FPos));
      FPos = percent + 1;
      if (FPos < FFormat.size() && FFormat[FPos] == u'%') {
        out.push_back(u'%');
        ++FPos;
        continue;
      }
      AppendSpecifier(out);
    }
    return out;
  }

 private:
  bool AtEnd() const { return FPos >= FFormat.size(); }
  Char Current() const { return FFormat[FPos]; }

  const TVarRec& NextArgument() {
    if (FArgIndex >= FCount) RaiseArgumentMissing(FFormat);
    return FArgs[FArgIndex++];
  }

  // A number, "*" (an Integer argument, negative taken as 0) or nothing (-1).
  int ReadNumber() {
    if (AtEnd()) RaiseInvalidFormat(FFormat);
    if (Current() == u'*') {
      ++FPos;
      const TVarRec& arg = NextArgument();
      if (arg.GetKind() != TVarRec::Kind::Integer) RaiseInvalidFormat(FFormat);
      return static_cast<int>(std::clamp<Int64>(arg.AsInt64(), 0, kMaxFieldSize));
    }
    if (Current() < u'0' || Current() > u'9') return -1;
    int value = 0;
    while (!AtEnd() && Current() >= u'0' && Current() <= u'9') {
      value = std::min(value * 10 + (Current() - u'0'), kMaxFieldSize);
      ++FPos;
    }
    return value;
  }

  void AppendSpecifier(String& out) {
    int number = ReadNumber();
    if (!AtEnd() && Current() == u':') {
      ++FPos;
      FArgIndex = static_cast<size_t>(std::max(number, 0));
      number = -1;
    }
    bool leftAlign = false;
    if (number < 0 && !AtEnd() && Current() == u'-') {
      leftAlign = true;
      ++FPos;
    }
    int width = number >= 0 ? number : ReadNumber();
    int precision = -1;
    if (!AtEnd() && Current() == u'.') {
      ++FPos;
      precision = ReadNumber();
    }
    if (AtEnd()) RaiseInvalidFormat(FFormat);
    Char type = Current();
    ++FPos;
    if (type >= u'A' && type <= u'Z') type = static_cast<Char>(type + 32);
    String field = Convert(type, precision);
    if (width > 0 && field.size() < static_cast<size_t>(width)) {
      const String padding(static_cast<size_t>(width) - field.size(), u' ');
      field = leftAlign ? field + padding : padding + field;
    }
    out += field;
  }

  static String ZeroPadded(String digits, int precision) {
    const bool negative = !digits.empty() && digits[0] == u'-';
    const size_t count = digits.size() - (negative ? 1 : 0);
    if (precision > 0 && count < static_cast<size_t>(precision)) {
      digits.insert(negative ? 1 : 0, static_cast<size_t>(precision) - count, u'0');
    }
    return digits;
  }

  String Convert(Char type, int precision) {
    switch (type) {
      case u'd':
      case u'u':
      case u'x': return ConvertInteger(type, NextArgument(), precision);
      case u'e':
      case u'f':
      case u'g':
      case u'n':
      case u'm': return ConvertFloat(type, NextArgument(), precision);
      case u'p': {
        const TVarRec& arg = NextArgument();
        if (arg.GetKind() != TVarRec::Kind::Pointer) RaiseInvalidFormat(FFormat);
        return number_text::HexDigits(reinterpret_cast<std::uintptr_t>(arg.AsPointer()), sizeof(void*) * 2);
      }
      case u's': {
        const TVarRec& arg = NextArgument();
        String text;
        if (arg.GetKind() == TVarRec::Kind::String) {
          text = String(arg.AsText());
        } else if (arg.GetKind() == TVarRec::Kind::Char) {
          AppendCodePoint(text, arg.AsInt64());
        } else {
          RaiseInvalidFormat(FFormat);
        }
        if (precision >= 0 && text.size() > static_cast<size_t>(precision)) text.resize(static_cast<size_t>(precision));
        return text;
      }
      case u'c': {
        const TVarRec& arg = NextArgument();
        if (arg.GetKind() != TVarRec::Kind::Char && arg.GetKind() != TVarRec::Kind::Integer)
          RaiseInvalidFormat(FFormat);
        String text;
        AppendCodePoint(text, arg.AsInt64());
        return text;
      }
      default: RaiseInvalidFormat(FFormat);
    }
  }

  String ConvertInteger(Char type, const TVarRec& arg, int precision) {
    String digits;
    switch (arg.GetKind()) {
      case TVarRec::Kind::Integer: {
        const auto value = static_cast<Integer>(arg.AsInt64());
        if (type == u'd') {
          digits = IntToStr(value);
        } else if (type == u'u') {
          digits = UIntToStr(static_cast<Cardinal>(value));
        } else {
          digits = number_text::HexDigits(static_cast<Cardinal>(value), 0);
        }
        break;
      }
      case TVarRec::Kind::Int64: {
        const Int64 value = arg.AsInt64();
        if (type == u'd') {
          digits = IntToStr(value);
        } else if (type == u'u') {
          digits = UIntToStr(static_cast<UInt64>(value));
        } else {
          digits = number_text::HexDigits(static_cast<UInt64>(value), 0);
        }
        break;
      }
      case TVarRec::Kind::UInt64:
        digits = type == u'x' ? number_text::HexDigits(arg.AsUInt64(), 0) : UIntToStr(arg.AsUInt64());
        break;
      default: RaiseInvalidFormat(FFormat);
    }
    return ZeroPadded(std::move(digits), precision);
  }

  String ConvertFloat(Char type, const TVarRec& arg, int precision) {
    NumberSource source;
    if (arg.GetKind() == TVarRec::Kind::Extended) {
      source = NumberSource::Of(arg.AsExtended());
    } else if (arg.GetKind() == TVarRec::Kind::Currency) {
      source = NumberSource::OfCurrency(arg.AsInt64());
    } else {
      RaiseInvalidFormat(FFormat);
    }
    const int fixedPrecision = source.MaxPrecision();
    switch (type) {
      case u'e': return float_text::Render(source, ffExponent, precision < 0 ? 15 : precision, 3, FSettings);
      case u'f': return float_text::Render(source, ffFixed, fixedPrecision, precision < 0 ? 2 : precision, FSettings);
      case u'g': return float_text::Render(source, ffGeneral, precision < 0 ? 15 : precision, 3, FSettings);
      case u'n': return float_text::Render(source, ffNumber, fixedPrecision, precision < 0 ? 2 : precision, FSettings);
      default:
        return float_text::Render(source, ffCurrency, fixedPrecision,
                                  precision < 0 ? FSettings.CurrencyDecimals : precision, FSettings);
    }
  }

  StringView FFormat;
  const TVarRec* FArgs;
  size_t FCount;
  const TFormatSettings& FSettings;
  size_t FPos = 0;
  size_t FArgIndex = 0;
};

}  // namespace

String FormatArgs(StringView format, const TVarRec* args, size_t count, const TFormatSettings& settings) {
  return Formatter(format, args, count, settings).Run();
}

String Format(StringView format, std::initializer_list<TVarRec> args) {
  return FormatArgs(format, args.begin(), args.size(), FormatSettings());
}

String Format(StringView format, std::initializer_list<TVarRec> args, const TFormatSettings& settings) {
  return FormatArgs(format, args.begin(), args.size(), settings);
}
