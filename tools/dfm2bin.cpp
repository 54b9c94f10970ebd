// Build-time converter of the program's own forms: reads a text form file,
// writes its binary form stream and a resource script that links the stream
// as an RCDATA resource named after the form's class in upper case.
//
//   dfm2bin <form.dfm> <form.bin> <form.rc>
#include <cstdio>
#include <string>

#include "formfile/formconvert.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"

namespace {

// The root's class name: after the signature and an optional flags prefix.
std::string RootClassName(const TMemoryStream& stream) {
  const Byte* p = stream.Memory();
  size_t size = static_cast<size_t>(const_cast<TMemoryStream&>(stream).Size());
  size_t pos = 4;
  if (pos < size && (p[pos] & 0xF0) == 0xF0) {
    Byte flags = p[pos++] & 0x0F;
    if (flags & 2) {
      // The child position follows as an integer value.
      if (pos >= size) return {};
      Byte tag = p[pos++];
      pos += tag == 2 ? 1 : tag == 3 ? 2 : 4;
    }
  }
  if (pos >= size) return {};
  size_t length = p[pos++];
  if (pos + length > size) return {};
  return std::string(reinterpret_cast<const char*>(p + pos), length);
}

std::string Quoted(const std::string& path) {
  std::string result = "\"";
  for (char c : path) {
    if (c == '\\' || c == '"') result += '\\';
    result += c;
  }
  return result + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: dfm2bin <form.dfm> <form.bin> <form.rc>\n");
    return 2;
  }
  try {
    TFileStream input(UTF8ToString(argv[1]), fmOpenRead | fmShareDenyWrite);
    TMemoryStream binary;
    FormTextToBinary(input, binary);
    std::string className = RootClassName(binary);
    if (className.empty()) throw EReadError(u"Invalid stream format");
    TFileStream output(UTF8ToString(argv[2]), fmCreate);
    output.WriteBuffer(binary.Memory(), binary.Size());
    std::string script = "// Made from " + std::string(argv[1]) + "\n" +
                         StringToUTF8(UpperCase(UTF8ToString(className))) + " RCDATA " + Quoted(argv[2]) + "\n";
    TFileStream rc(UTF8ToString(argv[3]), fmCreate);
    rc.WriteBuffer(script.data(), static_cast<Int64>(script.size()));
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
