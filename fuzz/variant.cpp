// Converting any value or text between the variant types and comparing them
// never crashes; failures are the variant errors only, and what converts to
// text converts back to the same value for integers, booleans and currency.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "rtl/exceptions.h"
#include "rtl/unicode.h"
#include "rtl/variant.h"

namespace {

constexpr TVarType kTargets[] = {varEmpty, varNull,   varSmallint, varInteger,  varSingle,  varDouble, varCurrency,
                                 varDate,  varOleStr, varBoolean,  varShortInt, varByte,    varWord,   varLongWord,
                                 varInt64, varUInt64, varString,   varUString,  varDispatch};

Variant SourceOf(std::uint8_t kind, const std::uint8_t* bits, const String& text) {
  Int64 i;
  double d;
  float f;
  std::memcpy(&i, bits, 8);
  std::memcpy(&d, bits, 8);
  std::memcpy(&f, bits, 4);
  switch (kind % 12) {
    case 0: return Variant();
    case 1: return Null();
    case 2: return Variant(static_cast<ShortInt>(i));
    case 3: return Variant(static_cast<Word>(i));
    case 4: return Variant(i);
    case 5: return Variant(static_cast<UInt64>(i));
    case 6: return Variant(f);
    case 7: return Variant(d);
    case 8: return Variant(Currency::FromScaled(i));
    case 9: return Variant::FromDate(d);
    case 10: return Variant((i & 1) != 0);
    default: return Variant::FromString(text, (kind & 16) ? varOleStr : varUString);
  }
}

}  // namespace

// Input: two kind bytes, 8 value bytes, then UTF-8 text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 10) return 0;
  const String text = UTF8ToString(std::string_view(reinterpret_cast<const char*>(data + 10), size - 10));
  const Variant a = SourceOf(data[0], data + 2, text);
  const Variant b = SourceOf(data[1], data + 2, text);
  for (const TVarType target : kTargets) {
    try {
      const Variant converted = VarAsType(a, target);
      if (converted.VarType() != target) __builtin_trap();
    } catch (const EVariantError&) {
    }
  }
  try {
    VarCompareValue(a, b);
  } catch (const EVariantError&) {
  }
  const String written = VarToStr(a);
  if ((VarIsOrdinal(a) || a.VarType() == varCurrency) && !(VarAsType(Variant(written), a.VarType()) == a)) {
    __builtin_trap();
  }
  return 0;
}
