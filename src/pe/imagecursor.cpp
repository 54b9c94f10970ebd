#include "pe/imagecursor.h"

#include "rtl/unicode.h"

namespace peimage {

void RaiseFault() {
  throw EImageFault(S("Image data out of bounds"));
}

AnsiString ByteCursor::ZString(std::size_t maxLength) {
  UInt64 limit = std::min<UInt64>(Remaining(), static_cast<UInt64>(maxLength) + 1);
  const Byte* start = FBytes.data() + FOffset;
  const void* zero = limit ? std::memchr(start, 0, static_cast<std::size_t>(limit)) : nullptr;
  if (!zero) RaiseFault();
  auto length = static_cast<std::size_t>(static_cast<const Byte*>(zero) - start);
  FOffset += length + 1;
  return AnsiString(reinterpret_cast<const char*>(start), length);
}

String ByteCursor::ZWideString(std::size_t maxLength) {
  String text;
  for (std::size_t i = 0;; ++i) {
    if (i > maxLength) RaiseFault();
    Char c = U16();
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

String ByteCursor::CountedWideString() {
  return WideChars(U16());
}

String ByteCursor::WideChars(UInt64 count) {
  if (count > Remaining() / 2) RaiseFault();
  ImageBytes units = Block(count * 2);
  String text(static_cast<std::size_t>(count), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<Char>(LoadU16(units.data() + 2 * i));
  return text;
}

}  // namespace peimage
