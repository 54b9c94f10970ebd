// Any bytes as a resource-wrapped form: the header is skipped or refused, and
// the form behind it converts or fails with the reader's errors.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formfile/formconvert.h"
#include "formfile/formresource.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TBytesStream input(TBytes(data, data + size));
  try {
    ReadResHeader(input);
  } catch (const EInvalidImage&) {
    return 0;
  }
  TBytesStream text;
  try {
    FormBinaryToText(input, text);
  } catch (const EReadError&) {
    if (text.Size() != 0) std::abort();
  }
  return 0;
}
