#include "pe/listing.h"

#include "pe/petext.h"

namespace peimage {

namespace {
String Line(StringView label, StringView value) {
  String line(label);
  line += u'=';
  line += value;
  return line;
}
}  // namespace

void Listing::Hex(StringView label, UInt64 value, int digits) {
  FLines.push_back(Line(label, u"0x" + petext::Hex(value, digits)));
}

void Listing::HexNamed(StringView label, UInt64 value, int digits, StringView name) {
  FLines.push_back(Line(label, u"0x" + petext::Hex(value, digits) + u" (" + String(name) + u")"));
}

void Listing::Decimal(StringView label, Int64 value) { FLines.push_back(Line(label, petext::Decimal(value))); }

void Listing::ByteCount(StringView label, Int64 value) {
  FLines.push_back(Line(label, petext::Decimal(value) + u" B"));
}

void Listing::Version(StringView label, Int64 major, Int64 minor) {
  FLines.push_back(Line(label, petext::Decimal(major) + u"." + petext::Decimal(minor)));
}

void Listing::Text(StringView label, StringView text) { FLines.push_back(Line(label, text)); }

}  // namespace peimage
