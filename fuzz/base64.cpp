// Base64 from outside: decoding any bytes stays within the size it promises,
// and what is encoded decodes back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "services/mime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const AnsiString decoded = MimeDecodeText(bytes);
  if (static_cast<std::ptrdiff_t>(decoded.size()) > MimeDecodedLength(static_cast<std::ptrdiff_t>(size))) {
    std::abort();
  }

  const AnsiString encoded = MimeEncodeText(bytes);
  if (static_cast<std::ptrdiff_t>(encoded.size()) != MimeEncodedLength(static_cast<std::ptrdiff_t>(size))) {
    std::abort();
  }
  if (MimeDecodeText(encoded) != bytes) std::abort();

  // Decoding in two chunks gives what one pass gives.
  if (!bytes.empty()) {
    AnsiString chunked(static_cast<std::size_t>(MimeDecodedLength(static_cast<std::ptrdiff_t>(size))), '\0');
    auto* out = reinterpret_cast<Byte*>(chunked.data());
    TMimeDecodeState state;
    const std::size_t half = size / 2;
    std::size_t written = MimeDecodeChunk(bytes.data(), half, out, state);
    written += MimeDecodeChunk(bytes.data() + half, size - half, out + written, state);
    written += MimeDecodeEnd(out + written, state);
    chunked.resize(written);
    if (chunked != decoded) std::abort();
  }
  return 0;
}
