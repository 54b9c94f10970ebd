// Any bytes as a binary form stream: the conversion ends in one of its errors
// with nothing appended, or in text; text that converts back converts to the
// same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formfile/formconvert.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TBytesStream input(TBytes(data, data + size));
  TBytesStream text;
  try {
    FormBinaryToText(input, text);
  } catch (const EReadError&) {
    if (text.Size() != 0) std::abort();  // nothing appended on failure
    return 0;
  }
  if (text.Size() == 0 || input.Position() > static_cast<Int64>(size)) std::abort();
  text.SetPosition(0);
  TBytesStream binary;
  try {
    FormTextToBinary(text, binary);
  } catch (const EParserError&) {
    return 0;  // names with blanks or control characters do not parse
  } catch (const EConvertError&) {
    return 0;
  }
  binary.SetPosition(0);
  TBytesStream again;
  try {
    FormBinaryToText(binary, again);
  } catch (const Exception&) {
    std::abort();
  }
  return 0;
}
