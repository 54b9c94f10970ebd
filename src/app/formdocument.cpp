#include "app/formdocument.h"

#include <algorithm>

#include "formfile/formconvert.h"
#include "formfile/formresource.h"
#include "rtl/encoding.h"
#include "rtl/files.h"
#include "rtl/streams.h"

namespace {

// The empty first entry of a 32-bit resource file: data size 0, header size 32.
constexpr Byte kResource32Start[8] = {0, 0, 0, 0, 0x20, 0, 0, 0};

bool StartsWith(const Byte* head, size_t count, const Byte* prefix, size_t prefixLength) {
  return count >= prefixLength && std::equal(prefix, prefix + prefixLength, head);
}

// Single-byte code pages lose what they have no byte for; UTF-8 and UTF-16 hold everything.
bool CanEncode(const TEncoding& encoding, const String& text) {
  if (encoding.CodePage() == 65001 || encoding.CodePage() == 1200 || encoding.CodePage() == 1201) return true;
  return encoding.GetString(encoding.GetBytes(text)) == text;
}

TBytes TextBytes(const TStrings& lines) {
  const String text = lines.Text();
  const TEncoding* encoding = lines.Encoding() ? lines.Encoding() : TEncoding::ANSI();
  if (!CanEncode(*encoding, text)) encoding = TEncoding::UTF8();
  TBytes bytes = encoding->GetPreamble();
  const TBytes body = encoding->GetBytes(text);
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

// The text as the converters read it: UTF-8 behind its mark, so that no
// character is lost whatever the lines were read in.
TBytesStream ConverterInput(const TStrings& lines) {
  TBytes bytes = TEncoding::UTF8()->GetPreamble();
  const TBytes body = TEncoding::UTF8()->GetBytes(lines.Text());
  bytes.insert(bytes.end(), body.begin(), body.end());
  return TBytesStream(std::move(bytes));
}

}  // namespace

TDataFormat DetectDataFormat(const Byte* head, size_t count) {
  static constexpr Byte kResource16Start[3] = {0xFF, 0x0A, 0x00};
  static constexpr Byte kBinaryStart[3] = {'T', 'P', 'F'};
  if (StartsWith(head, count, kResource16Start, 3) || StartsWith(head, count, kResource32Start, 8)) return dfResource;
  if (StartsWith(head, count, kBinaryStart, 3)) return dfBinary;
  return dfText;
}

TDataFormat DetectDataFormat(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
  Byte head[8] = {};
  const Int64 count = file.Read(head, sizeof head);
  return DetectDataFormat(head, static_cast<size_t>(std::max<Int64>(count, 0)));
}

String BackupFileName(const String& fileName) {
  const String extension = ExtractFileExt(fileName);
  const String oldExtension = extension.empty() ? String() : extension.substr(1, 255);
  return ChangeFileExt(fileName, u".~" + oldExtension);
}

TDataFormat LoadFormFile(const String& fileName, TStrings& lines) {
  const TDataFormat format = DetectDataFormat(fileName);
  if (format == dfText) {
    lines.LoadFromFile(fileName);
    return format;
  }
  TBytesStream input;
  input.LoadFromFile(fileName);
  TBytesStream text;
  if (format == dfResource)
    FormResourceToText(input, text);
  else
    FormBinaryToText(input, text);
  text.SetPosition(0);
  lines.LoadFromStream(text);
  return format;
}

TBytes FormFileBytes(const TStrings& lines, TDataFormat format) {
  if (format == dfText) return TextBytes(lines);
  TBytesStream input = ConverterInput(lines);
  TBytesStream output;
  if (format == dfResource)
    FormTextToResource(input, output);
  else
    FormTextToBinary(input, output);
  return output.Bytes();
}

void SaveFormFile(const String& fileName, const TStrings& lines, TDataFormat format, bool makeBackup) {
  // Converted first: a text that does not convert touches no file.
  const TBytes bytes = FormFileBytes(lines, format);
  SaveFileAtomically(
      fileName, [&](TStream& stream) { stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size())); },
      makeBackup ? BackupFileName(fileName) : String());
}
