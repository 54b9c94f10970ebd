// Text conversions the image reader needs, in one place.
#pragma once

#include "rtl/types.h"

namespace petext {

String Decimal(Int64 value);
String Hex(UInt64 value, int digits);
// Bytes of the image in the ANSI code page.
String FromAnsi(std::string_view bytes);
bool SameText(StringView a, StringView b);
String UpperCase(StringView text);

}  // namespace petext

namespace petext {
// The platform's default date-time text.
String DateTimeText(double value);
}  // namespace petext
