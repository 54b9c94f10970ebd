// Builds the name=value lines of the header and directory listings.
#pragma once

#include <vector>

#include "rtl/types.h"

namespace peimage {

class Listing {
 public:
  explicit Listing(std::vector<String>& lines) : FLines(lines) {}

  // "%s=0x%<digits>.<digits>x"
  void Hex(StringView label, UInt64 value, int digits);
  // "%s=0x%<digits>.<digits>x (%s)"
  void HexNamed(StringView label, UInt64 value, int digits, StringView name);
  // "%s=%d"
  void Decimal(StringView label, Int64 value);
  // "%s=%d B"
  void ByteCount(StringView label, Int64 value);
  // "%s=%d.%d"
  void Version(StringView label, Int64 major, Int64 minor);
  // "%s=%s"
  void Text(StringView label, StringView text);

 private:
  std::vector<String>& FLines;
};

}  // namespace peimage
