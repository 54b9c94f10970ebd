// Round trips over real forms: every binary form converted to text and back
// gives its bytes again, and every text form the IDE wrote converted to binary
// and back gives its text again.
//
// The forms are those of ../shared/corpus beside the repository, or, when
// KESTRUM_CORPUS_DIRS names folders (separated by ":"), every .dfm below them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "classes/filer.h"
#include "formfile/formconvert.h"
#include "formfile/formresource.h"
#include "rtl/floattext.h"
#include "rtl/streams.h"
#include "rtl/unicode.h"
#include "support/form_corpus.h"

namespace {

using formfile_test::CorpusFile;

// The first offset where two byte strings differ, or npos.
size_t FirstDifference(std::string_view a, std::string_view b) {
  auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  if (ia == a.end() && ib == b.end()) return std::string::npos;
  return static_cast<size_t>(ia - a.begin());
}

// "line N: expected ... / got ..." for the first line where two texts differ.
std::string DescribeTextDifference(std::string_view expected, std::string_view actual) {
  size_t at = FirstDifference(expected, actual);
  size_t line = 1 + static_cast<size_t>(std::count(expected.begin(), expected.begin() + at, '\n'));
  auto lineAt = [&](std::string_view text) {
    size_t start = text.rfind('\n', at == 0 ? 0 : at - 1);
    start = (start == std::string::npos || at == 0) ? 0 : start + 1;
    size_t end = text.find('\n', start);
    return std::string(text.substr(start, std::min(end, start + 120) - start));
  };
  return "first difference on line " + std::to_string(line) + "\n  expected: " + lineAt(expected) +
         "\n  got:      " + lineAt(actual);
}

std::string DescribeByteDifference(std::string_view expected, std::string_view actual) {
  size_t at = FirstDifference(expected, actual);
  return "first difference at offset " + std::to_string(at) + " of the form stream (expected size " +
         std::to_string(expected.size()) + ", got " + std::to_string(actual.size()) + ")";
}

std::string BinaryToText(std::string_view binary) {
  TBytesStream input(TBytes(binary.begin(), binary.end()));
  TBytesStream output;
  FormBinaryToText(input, output);
  return std::string(output.Bytes().begin(), output.Bytes().end());
}

std::string TextToBinary(std::string_view text) {
  TBytesStream input(TBytes(text.begin(), text.end()));
  TBytesStream output;
  FormTextToBinary(input, output);
  return std::string(output.Bytes().begin(), output.Bytes().end());
}

std::string TextToResource(std::string_view text) {
  TBytesStream input(TBytes(text.begin(), text.end()));
  TBytesStream output;
  FormTextToResource(input, output);
  return std::string(output.Bytes().begin(), output.Bytes().end());
}

// Every line ended by CR LF, as the IDE writes them.
std::string WithCRLF(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result.push_back('\r');
    result.push_back(text[i]);
  }
  return result;
}

const char* const kTagNames[] = {"vaNull",    "vaList",  "vaInt8",       "vaInt16",  "vaInt32",    "vaExtended",
                                 "vaString",  "vaIdent", "vaFalse",      "vaTrue",   "vaBinary",   "vaSet",
                                 "vaLString", "vaNil",   "vaCollection", "vaSingle", "vaCurrency", "vaDate",
                                 "vaWString", "vaInt64", "vaUTF8String", "vaDouble"};

std::string TagName(Byte tag) {
  return tag <= kLastValueType ? kTagNames[tag] : "tag " + std::to_string(tag);
}

// The stream with every value written again by the writer's own choice of
// tags: what the IDE writes today for the same content. `change` tells which
// value first differs from the original, if one does.
class TCanonicalForm {
 public:
  explicit TCanonicalForm(std::string_view stream) : FOriginal(stream) {
    TBytesStream input(TBytes(stream.begin(), stream.end()));
    TBytesStream output;
    {
      TReader reader(input);
      TWriter writer(output);
      reader.ReadSignature();
      writer.WriteSignature();
      CopyObject(reader, writer);
      writer.FlushBuffer();
    }
    FBytes.assign(output.Bytes().begin(), output.Bytes().end());
  }

  const std::string& Bytes() const { return FBytes; }

  std::string FirstChange() const {
    size_t at = FirstDifference(FOriginal, FBytes);
    if (at == std::string::npos) return {};
    const TValueAt* value = nullptr;
    for (const auto& v : FValues) {
      if (v.CanonicalOffset <= at) value = &v;
    }
    if (value == nullptr) return "at offset " + std::to_string(at);
    std::string where = value->Name + " at offset " + std::to_string(value->OriginalOffset) + " is stored as " +
                        TagName(value->OriginalTag);
    if (!value->Note.empty()) return where + ": " + value->Note;
    bool eightBit = value->OriginalTag == vaString || value->OriginalTag == vaLString;
    return where +
           (value->Empty ? " (empty)"
            : eightBit   ? " (characters above 127)"
                         : "") +
           ", which the IDE's writer writes as " + TagName(static_cast<Byte>(FBytes[value->CanonicalOffset]));
  }

 private:
  struct TValueAt {
    std::string Name;
    size_t OriginalOffset;
    size_t CanonicalOffset;
    Byte OriginalTag;
    bool Empty;
    std::string Note;
  };

  void CopyObject(TReader& reader, TWriter& writer) {
    TFilerFlags flags;
    Integer position;
    reader.ReadPrefix(flags, position);
    writer.WritePrefix(flags, position);
    writer.WriteStr(reader.ReadStrBytes());
    writer.WriteStr(reader.ReadStrBytes());
    CopyProperties(reader, writer, "");
    while (!reader.EndOfList()) CopyObject(reader, writer);
    reader.ReadListEnd();
    writer.WriteListEnd();
  }

  void CopyProperties(TReader& reader, TWriter& writer, const std::string& prefix) {
    while (!reader.EndOfList()) {
      std::string name = reader.ReadStrBytes();
      writer.WriteStr(name);
      CopyValue(reader, writer, prefix + name);
    }
    reader.ReadListEnd();
    writer.WriteListEnd();
  }

  void CopyValue(TReader& reader, TWriter& writer, const std::string& name) {
    auto originalOffset = static_cast<size_t>(reader.Position());
    auto canonicalOffset = static_cast<size_t>(writer.Position());
    Byte tag = reader.NextValue();
    bool empty = originalOffset + 1 < FOriginal.size() && FOriginal[originalOffset + 1] == 0;
    FValues.push_back({name, originalOffset, canonicalOffset, tag, empty, {}});
    switch (tag) {
      case vaList: {
        reader.ReadValue();
        writer.WriteListBegin();
        for (int i = 0; !reader.EndOfList(); ++i) CopyValue(reader, writer, name + "[" + std::to_string(i) + "]");
        reader.ReadListEnd();
        writer.WriteListEnd();
        break;
      }
      case vaCollection: {
        reader.ReadValue();
        writer.WriteValue(vaCollection);
        for (int i = 0; !reader.EndOfList(); ++i) {
          Byte next = reader.NextValue();
          if (next == vaInt8 || next == vaInt16 || next == vaInt32) writer.WriteInteger(reader.ReadInteger());
          reader.ReadListBegin();
          writer.WriteListBegin();
          CopyProperties(reader, writer, name + "[" + std::to_string(i) + "].");
        }
        reader.ReadListEnd();
        writer.WriteListEnd();
        break;
      }
      case vaExtended:
      case vaDouble: {
        // The text form keeps 16 significant digits.
        Extended80 value = reader.ReadExtended();
        Extended80 again;
        String text = FloatToStrF(value, ffFixed, 16, 18, InvariantFormatSettings());
        ASSERT_TRUE(TryStrToExtended80(text, again, InvariantFormatSettings())) << name;
        if (!(again == value) || tag == vaDouble) {
          FValues.back().Note = "the value " + StringToUTF8(text) + " has more digits than the text form keeps";
        }
        writer.WriteFloat(again);
        break;
      }
      default: reader.CopyValue(writer); break;
    }
  }

  std::string_view FOriginal;
  std::string FBytes;
  std::vector<TValueAt> FValues;
};

// Binary -> text -> binary gives the stream as the IDE writes it today; a
// stream an older IDE wrote with other tags is named with the first of them.
void CheckBinaryRoundTrip(const CorpusFile& file, const std::string& stream) {
  TCanonicalForm canonical(stream);
  if (canonical.Bytes() != stream) {
    std::printf("[ note     ] %s: not as the IDE writes it today: %s\n", file.Name.c_str(),
                canonical.FirstChange().c_str());
  }
  std::string text = BinaryToText(stream);
  std::string again = TextToBinary(text);
  EXPECT_TRUE(again == canonical.Bytes())
      << file.Path << ": binary -> text -> binary: " << DescribeByteDifference(canonical.Bytes(), again);
  // A second round changes nothing.
  std::string text2 = BinaryToText(again);
  EXPECT_TRUE(TextToBinary(text2) == again) << file.Path << ": second round";
}

class CorpusRoundTrip : public ::testing::TestWithParam<CorpusFile> {};

TEST_P(CorpusRoundTrip, ConvertsBothWaysUnchanged) {
  const CorpusFile& file = GetParam();
  std::string data = formfile_test::ReadWholeFile(file.File);
  ASSERT_FALSE(data.empty()) << file.Path;
  switch (formfile_test::DetectEncoding(data)) {
    case formfile_test::TFormEncoding::Resource: {
      TBytesStream wrapped(TBytes(data.begin(), data.end()));
      ReadResHeader(wrapped);
      auto streamStart = static_cast<size_t>(wrapped.Position());
      std::string stream = data.substr(streamStart);
      CheckBinaryRoundTrip(file, stream);
      // Wrapped again, a stream that comes back unchanged gives the file again.
      std::string text = BinaryToText(stream);
      if (TextToBinary(text) == stream) {
        EXPECT_TRUE(TextToResource(text) == data)
            << file.Path << ": text -> resource: " << DescribeByteDifference(data, TextToResource(text));
      }
      break;
    }
    case formfile_test::TFormEncoding::Binary: CheckBinaryRoundTrip(file, data); break;
    case formfile_test::TFormEncoding::Text: {
      std::string binary = TextToBinary(data);
      std::string text = BinaryToText(binary);
      std::string expected = data;
      if (text != data && WithCRLF(data) != data) {
        // Line ends changed after the IDE wrote the file (a version control
        // setting or an editor); the IDE itself ends every line with CR LF.
        expected = WithCRLF(data);
        std::printf("[ note     ] %s: not written by the IDE as it is: lines end with LF alone\n", file.Name.c_str());
      }
      EXPECT_TRUE(text == expected) << file.Path
                                    << ": text -> binary -> text: " << DescribeTextDifference(expected, text);
      EXPECT_TRUE(TextToBinary(text) == binary) << file.Path << ": binary -> text -> binary";
      break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusRoundTrip, ::testing::ValuesIn(formfile_test::CorpusFiles()),
                         [](const ::testing::TestParamInfo<CorpusFile>& info) { return info.param.TestName; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusRoundTrip);

}  // namespace
