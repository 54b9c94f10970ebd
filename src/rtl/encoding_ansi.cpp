// The ANSI encodings. Provisional: ISO 8859-1 until the code page tables are in.
#include "rtl/encoding.h"

TBytes TMBCSEncoding::GetBytes(StringView text) const {
  TBytes bytes(text.size());
  for (size_t i = 0; i < text.size(); ++i) bytes[i] = text[i] < 0x100 ? static_cast<Byte>(text[i]) : Byte('?');
  return bytes;
}

String TMBCSEncoding::GetString(const Byte* bytes, size_t count) const { return String(bytes, bytes + count); }

Cardinal TMBCSEncoding::CodePage() const { return FCodePage == 0 ? 1252 : FCodePage; }

bool TMBCSEncoding::IsSingleByte() const { return true; }
