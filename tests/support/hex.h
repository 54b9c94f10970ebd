// Bytes written as hexadecimal text in tests.
#pragma once

#include <string>
#include <string_view>

namespace form_test {

// "06 03 61" -> the bytes; blanks anywhere, pairs of hexadecimal digits.
inline std::string Hex(std::string_view text) {
  auto value = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    bytes.push_back(static_cast<char>(value(text[i]) * 16 + value(text[i + 1])));
    ++i;
  }
  return bytes;
}

}  // namespace form_test
