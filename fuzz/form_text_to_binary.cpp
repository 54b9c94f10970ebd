// Any bytes as a text form: the conversion ends in one of its errors or in a
// binary form stream that the binary-to-text conversion reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formfile/formconvert.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TBytesStream input(TBytes(data, data + size));
  TBytesStream binary;
  try {
    FormTextToBinary(input, binary);
  } catch (const EParserError&) {
    return 0;
  } catch (const EConvertError&) {
    return 0;
  }
  if (input.Position() > static_cast<Int64>(size)) std::abort();
  binary.SetPosition(0);
  TBytesStream text;
  try {
    FormBinaryToText(binary, text);
  } catch (const Exception&) {
    std::abort();  // what the writer wrote must read back
  }
  if (binary.Position() != binary.Size()) std::abort();
  return 0;
}
