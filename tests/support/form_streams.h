// Small helpers for tests of the form encodings: bytes from hexadecimal text
// and the conversions run over strings.
#pragma once

#include <string>
#include <string_view>

#include "formfile/formconvert.h"
#include "formfile/formresource.h"
#include "rtl/streams.h"
#include "support/hex.h"

namespace form_test {

inline std::string ToString(const TBytesStream& stream) {
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

inline TBytes ToBytes(std::string_view text) {
  return TBytes(text.begin(), text.end());
}

inline std::string BinaryToText(std::string_view binary) {
  TBytesStream input(ToBytes(binary));
  TBytesStream output;
  FormBinaryToText(input, output);
  return ToString(output);
}

inline std::string TextToBinary(std::string_view text) {
  TBytesStream input(ToBytes(text));
  TBytesStream output;
  FormTextToBinary(input, output);
  return ToString(output);
}

inline std::string TextToResource(std::string_view text) {
  TBytesStream input(ToBytes(text));
  TBytesStream output;
  FormTextToResource(input, output);
  return ToString(output);
}

inline std::string ResourceToText(std::string_view resource) {
  TBytesStream input(ToBytes(resource));
  TBytesStream output;
  FormResourceToText(input, output);
  return ToString(output);
}

// A binary form of one unnamed object of class TX with the one property P.
inline std::string FormWithValue(std::string_view value) {
  return std::string("TPF0\x02TX\x00\x01P", 10) + std::string(value) + std::string("\x00\x00", 2);
}

// The same form as text.
inline std::string TextWithValue(std::string_view value) {
  return "object TX\r\n  P = " + std::string(value) + "\r\nend\r\n";
}

}  // namespace form_test
