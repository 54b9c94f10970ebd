#include "pe/listing.h"

#include "rtl/format.h"

namespace peimage {

namespace {
const char16_t* HexFormat(int digits) {
  switch (digits) {
    case 2: return u"%s=0x%2.2x";
    case 4: return u"%s=0x%4.4x";
    case 16: return u"%s=0x%16.16x";
    default: return u"%s=0x%8.8x";
  }
}
const char16_t* HexNamedFormat(int digits) {
  return digits == 4 ? u"%s=0x%4.4x (%s)" : u"%s=0x%8.8x (%s)";
}
}  // namespace

void Listing::Hex(StringView label, UInt64 value, int digits) {
  FLines.push_back(Format(HexFormat(digits), {label, value}));
}

void Listing::HexNamed(StringView label, UInt64 value, int digits, StringView name) {
  FLines.push_back(Format(HexNamedFormat(digits), {label, value, name}));
}

void Listing::Decimal(StringView label, Int64 value) {
  FLines.push_back(Format(u"%s=%d", {label, value}));
}

void Listing::ByteCount(StringView label, Int64 value) {
  FLines.push_back(Format(u"%s=%d B", {label, value}));
}

void Listing::Version(StringView label, Int64 major, Int64 minor) {
  FLines.push_back(Format(u"%s=%d.%d", {label, major, minor}));
}

void Listing::Text(StringView label, StringView text) {
  FLines.push_back(Format(u"%s=%s", {label, text}));
}

}  // namespace peimage
