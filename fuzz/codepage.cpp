// Single-byte code pages: every byte string survives a round trip through
// UTF-16, and text survives the way back exactly when nothing was reported lost.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "rtl/codepage.h"

namespace {

constexpr Word kPages[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 28591, 20127};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Word page = kPages[data[0] % std::size(kPages)];
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  const String text = AnsiToString(bytes, page);
  if (text.size() != bytes.size()) std::abort();
  bool lossy = true;
  const AnsiString back = StringToAnsi(text, page, &lossy);
  if (lossy || back.size() != bytes.size()) std::abort();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    // ASCII folds the upper half onto itself; every other page keeps each byte.
    const char expected = page == kCodePageASCII ? static_cast<char>(bytes[i] & 0x7F) : bytes[i];
    if (back[i] != expected) std::abort();
  }

  // The same bytes read as UTF-16 units.
  String units(bytes.size() / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), bytes.data(), units.size() * 2);
  const AnsiString encoded = StringToAnsi(units, page, &lossy);
  if (encoded.size() != units.size()) std::abort();
  if ((AnsiToString(encoded, page) != units) != lossy) std::abort();
  return 0;
}
