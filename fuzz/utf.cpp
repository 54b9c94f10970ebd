// UTF-8 -> UTF-16 -> UTF-8 never reads outside its input, and text that came
// out of the decoder survives a second round unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "rtl/unicode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  String decoded = UTF8ToString(bytes);
  UTF8String encoded = StringToUTF8(decoded);
  if (UTF8ToString(encoded) != decoded) std::abort();
  // The same bytes read as UTF-16 units.
  String units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
  String again = UTF8ToString(StringToUTF8(units));
  if (again.size() != units.size()) std::abort();
  return 0;
}
