#include "classes/filer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "rtl/unicode.h"
#include "support/hex.h"

namespace {

using form_test::Hex;

std::string Written(const std::function<void(TWriter&)>& write) {
  TBytesStream stream;
  {
    TWriter writer(stream);
    write(writer);
  }
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

TBytes ToBytes(std::string_view text) {
  return TBytes(text.begin(), text.end());
}

std::string Message(const Exception& e) {
  return StringToUTF8(e.Message());
}

struct WriteCase {
  const char* Name;
  std::function<void(TWriter&)> Write;
  std::string Bytes;
};

class WriterTags : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriterTags, ChoosesTheTag) {
  EXPECT_EQ(Written(GetParam().Write), GetParam().Bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Writer, WriterTags,
    ::testing::Values(
        WriteCase{"Int127", [](TWriter& w) { w.WriteInteger(127); }, Hex("02 7F")},
        WriteCase{"IntMinus128", [](TWriter& w) { w.WriteInteger(-128); }, Hex("02 80")},
        WriteCase{"Int128", [](TWriter& w) { w.WriteInteger(128); }, Hex("03 80 00")},
        WriteCase{"IntMinus129", [](TWriter& w) { w.WriteInteger(-129); }, Hex("03 7F FF")},
        WriteCase{"Int32768", [](TWriter& w) { w.WriteInteger(32768); }, Hex("04 00 80 00 00")},
        WriteCase{"Int64Small", [](TWriter& w) { w.WriteInteger(Int64(-2147483648LL)); }, Hex("04 00 00 00 80")},
        WriteCase{"Int64Large", [](TWriter& w) { w.WriteInteger(Int64(2147483648LL)); },
                  Hex("13 00 00 00 80 00 00 00 00")},
        WriteCase{"Int64Negative", [](TWriter& w) { w.WriteInteger(Int64(-2147483649LL)); },
                  Hex("13 FF FF FF 7F FF FF FF FF")},
        WriteCase{"String", [](TWriter& w) { w.WriteString(u"abc"); }, Hex("06 03 61 62 63")},
        WriteCase{"String255", [](TWriter& w) { w.WriteString(String(255, u'x')); },
                  Hex("06 FF") + std::string(255, 'x')},
        WriteCase{"LString", [](TWriter& w) { w.WriteString(String(300, u'x')); },
                  Hex("0C 2C 01 00 00") + std::string(300, 'x')},
        WriteCase{"WideLetter", [](TWriter& w) { w.WriteString(u"\u00E9"); }, Hex("12 01 00 00 00 E9 00")},
        WriteCase{"UTF8", [](TWriter& w) { w.WriteString(u"a\u00E9"); }, Hex("14 03 00 00 00 61 C3 A9")},
        WriteCase{"Empty", [](TWriter& w) { w.WriteString(u""); }, Hex("12 00 00 00 00")},
        WriteCase{"Char", [](TWriter& w) { w.WriteChar(u'x'); }, Hex("06 01 78")},
        WriteCase{"Ideograph", [](TWriter& w) { w.WriteWideString(u"\u4E2D"); }, Hex("12 01 00 00 00 2D 4E")},
        WriteCase{"IdentFalse", [](TWriter& w) { w.WriteIdent(u"FALSE"); }, Hex("08")},
        WriteCase{"IdentTrue", [](TWriter& w) { w.WriteIdent(u"true"); }, Hex("09")},
        WriteCase{"IdentNull", [](TWriter& w) { w.WriteIdent(u"NULL"); }, Hex("00")},
        WriteCase{"IdentNil", [](TWriter& w) { w.WriteIdent(u"Nil"); }, Hex("0D")},
        WriteCase{"Ident", [](TWriter& w) { w.WriteIdent(u"clRed"); }, Hex("07 05") + "clRed"},
        WriteCase{"LongIdent", [](TWriter& w) { w.WriteIdent(String(300, u'i')); },
                  Hex("07 FF") + std::string(255, 'i')},
        WriteCase{"LongName", [](TWriter& w) { w.WriteUTF8Str(String(150, u'\u00E9')); },
                  Hex("FF") +
                      [] {
                        std::string bytes;
                        for (int i = 0; i < 127; ++i) bytes += "\xC3\xA9";
                        return bytes + "\xC3";  // cut without regard to characters
                      }()},
        WriteCase{"Boolean", [](TWriter& w) { w.WriteBoolean(true), w.WriteBoolean(false); }, Hex("09 08")},
        WriteCase{"NoPrefix", [](TWriter& w) { w.WritePrefix(0, 7); }, ""},
        WriteCase{"InheritedAt3", [](TWriter& w) { w.WritePrefix(ffInherited | ffChildPos, 3); }, Hex("F3 02 03")},
        WriteCase{"InlinePrefix", [](TWriter& w) { w.WritePrefix(ffInline, 3); }, Hex("F4")},
        WriteCase{"Float", [](TWriter& w) { w.WriteFloat(1.5L); }, Hex("05 00 00 00 00 00 00 00 C0 FF 3F")},
        WriteCase{"Single", [](TWriter& w) { w.WriteSingle(1.5f); }, Hex("0F 00 00 C0 3F")},
        WriteCase{"Double", [](TWriter& w) { w.WriteDouble(1.5); }, Hex("15 00 00 00 00 00 00 F8 3F")},
        WriteCase{"Date", [](TWriter& w) { w.WriteDate(1.5); }, Hex("11 00 00 00 00 00 00 F8 3F")},
        WriteCase{"Currency", [](TWriter& w) { w.WriteCurrency(Currency::FromScaled(15000)); },
                  Hex("10 98 3A 00 00 00 00 00 00")},
        WriteCase{"Binary", [](TWriter& w) { w.WriteBinary([](TStream& s) { s.WriteBuffer("ab", 2); }); },
                  Hex("0A 02 00 00 00 61 62")},
        WriteCase{"Lists", [](TWriter& w) { w.WriteListBegin(), w.WriteListEnd(); }, Hex("01 00")},
        WriteCase{"Signature", [](TWriter& w) { w.WriteSignature(); }, "TPF0"},
        WriteCase{"VariantEmpty", [](TWriter& w) { w.WriteVariant(Variant()); }, Hex("0D")},
        WriteCase{"VariantNull", [](TWriter& w) { w.WriteVariant(Variant::Null()); }, Hex("00")},
        WriteCase{"VariantByte", [](TWriter& w) { w.WriteVariant(Variant(Byte(200))); }, Hex("03 C8 00")},
        WriteCase{"VariantInt64", [](TWriter& w) { w.WriteVariant(Variant(Int64(1) << 40)); },
                  Hex("13 00 00 00 00 00 01 00 00")},
        WriteCase{"VariantDouble", [](TWriter& w) { w.WriteVariant(Variant(1.5)); },
                  Hex("05 00 00 00 00 00 00 00 C0 FF 3F")},
        WriteCase{"VariantSingle", [](TWriter& w) { w.WriteVariant(Variant(1.5f)); }, Hex("0F 00 00 C0 3F")},
        WriteCase{"VariantCurrency", [](TWriter& w) { w.WriteVariant(Variant(Currency::FromScaled(1))); },
                  Hex("10 01 00 00 00 00 00 00 00")},
        WriteCase{"VariantDate", [](TWriter& w) { w.WriteVariant(Variant::FromDate(2.0)); },
                  Hex("11 00 00 00 00 00 00 00 40")},
        WriteCase{"VariantBoolean", [](TWriter& w) { w.WriteVariant(Variant(true)); }, Hex("09")},
        WriteCase{"VariantString", [](TWriter& w) { w.WriteVariant(Variant(u"ab")); }, Hex("06 02 61 62")},
        WriteCase{"VariantOleString", [](TWriter& w) { w.WriteVariant(Variant::FromString(u"", varOleStr)); },
                  Hex("12 00 00 00 00")}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TWriter, HandsOverOnlyWhenFlushedOrGone) {
  TBytesStream stream;
  {
    TWriter writer(stream);
    writer.WriteInteger(1);
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(writer.Position(), 2);
    writer.FlushBuffer();
    EXPECT_EQ(stream.Size(), 2);
    writer.WriteInteger(2);
  }
  EXPECT_EQ(stream.Size(), 4);
  // A long write goes through whole.
  std::string big(10000, 'z');
  EXPECT_EQ(Written([&](TWriter& w) { w.Write(big.data(), 10000); }), big);
}

// Values as stored and what a typed read makes of them. Every read must also
// consume exactly the value, which the marker byte behind it checks.
struct ReadCase {
  const char* Name;
  std::string Bytes;
  std::function<std::string(TReader&)> Read;
  std::string Result;  // the result as text, or the error message
};

class ReaderValues : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReaderValues, ReadsAndConsumes) {
  const ReadCase& c = GetParam();
  TBytesStream stream(ToBytes(c.Bytes + "\x7E"));
  TReader reader(stream);
  std::string result;
  try {
    result = c.Read(reader);
  } catch (const EReadError& e) {
    result = Message(e);
  }
  EXPECT_EQ(result, c.Result);
  EXPECT_EQ(reader.ReadByte(), 0x7E) << "the value was not consumed exactly";
}

std::string Text(const String& s) {
  return StringToUTF8(s);
}
std::string Number(long double value) {
  return std::to_string(static_cast<double>(value));
}

const std::string kInvalid = "Invalid property value";

INSTANTIATE_TEST_SUITE_P(
    Reader, ReaderValues,
    ::testing::Values(
        ReadCase{"Int8", Hex("02 FF"), [](TReader& r) { return std::to_string(r.ReadInteger()); }, "-1"},
        ReadCase{"Int16", Hex("03 00 80"), [](TReader& r) { return std::to_string(r.ReadInteger()); }, "-32768"},
        ReadCase{"Int32", Hex("04 01 00 00 80"), [](TReader& r) { return std::to_string(r.ReadInteger()); },
                 "-2147483647"},
        ReadCase{"IntegerRefusesInt64", Hex("13 01 00 00 00 00 00 00 00"),
                 [](TReader& r) { return std::to_string(r.ReadInteger()); }, kInvalid},
        ReadCase{"IntegerRefusesString", Hex("06 02 61 62"),
                 [](TReader& r) { return std::to_string(r.ReadInteger()); }, kInvalid},
        ReadCase{"Int64", Hex("13 00 00 00 00 01 00 00 00"), [](TReader& r) { return std::to_string(r.ReadInt64()); },
                 "4294967296"},
        ReadCase{"Int64FromInt8", Hex("02 05"), [](TReader& r) { return std::to_string(r.ReadInt64()); }, "5"},
        ReadCase{"FloatFromInt8", Hex("02 05"), [](TReader& r) { return Number(r.ReadFloat()); }, Number(5)},
        ReadCase{"FloatFromDouble", Hex("15 00 00 00 00 00 00 F8 3F"), [](TReader& r) { return Number(r.ReadFloat()); },
                 Number(1.5)},
        ReadCase{"FloatRefusesSingle", Hex("0F 00 00 C0 3F"), [](TReader& r) { return Number(r.ReadFloat()); },
                 kInvalid},
        ReadCase{"FloatRefusesCurrency", Hex("10 00 00 00 00 00 00 00 00"),
                 [](TReader& r) { return Number(r.ReadFloat()); }, kInvalid},
        ReadCase{"FloatRefusesDate", Hex("11 00 00 00 00 00 00 00 00"), [](TReader& r) { return Number(r.ReadFloat()); },
                 kInvalid},
        ReadCase{"DoubleRefusesExtended", Hex("05 00 00 00 00 00 00 00 C0 FF 3F"),
                 [](TReader& r) { return Number(r.ReadDouble()); }, kInvalid},
        ReadCase{"Single", Hex("0F 00 00 C0 3F"), [](TReader& r) { return Number(r.ReadSingle()); }, Number(1.5)},
        ReadCase{"SingleFromInt16", Hex("03 00 01"), [](TReader& r) { return Number(r.ReadSingle()); }, Number(256)},
        ReadCase{"Date", Hex("11 00 00 00 00 00 00 F8 3F"), [](TReader& r) { return Number(r.ReadDate()); },
                 Number(1.5)},
        ReadCase{"Currency", Hex("10 98 3A 00 00 00 00 00 00"),
                 [](TReader& r) { return std::to_string(r.ReadCurrency().Scaled()); }, "15000"},
        ReadCase{"CurrencyFromInteger", Hex("02 03"),
                 [](TReader& r) { return std::to_string(r.ReadCurrency().Scaled()); }, "30000"},
        ReadCase{"String", Hex("06 02 61 62"), [](TReader& r) { return Text(r.ReadString()); }, "ab"},
        ReadCase{"AnsiString", Hex("0C 01 00 00 00 E9"), [](TReader& r) { return Text(r.ReadString()); }, "\xC3\xA9"},
        ReadCase{"WideString", Hex("12 01 00 00 00 2D 4E"), [](TReader& r) { return Text(r.ReadWideString()); },
                 "\xE4\xB8\xAD"},
        ReadCase{"UTF8String", Hex("14 02 00 00 00 C3 A9"), [](TReader& r) { return Text(r.ReadString()); },
                 "\xC3\xA9"},
        ReadCase{"StringRefusesIdent", Hex("07 01 61"), [](TReader& r) { return Text(r.ReadString()); }, kInvalid},
        ReadCase{"Char", Hex("06 01 78"), [](TReader& r) { return std::to_string(r.ReadChar()); }, "120"},
        ReadCase{"EmptyChar", Hex("12 00 00 00 00"), [](TReader& r) { return std::to_string(r.ReadWideChar()); }, "0"},
        ReadCase{"LongChar", Hex("06 02 78 79"), [](TReader& r) { return std::to_string(r.ReadChar()); }, kInvalid},
        ReadCase{"BooleanTrue", Hex("09"), [](TReader& r) { return std::to_string(r.ReadBoolean()); }, "1"},
        ReadCase{"BooleanOther", Hex("02 33"), [](TReader& r) {
                   // Only the tag is consumed; the payload byte is read here.
                   bool value = r.ReadBoolean();
                   r.ReadByte();
                   return std::to_string(value);
                 }, "0"},
        ReadCase{"Ident", Hex("07 05") + "clRed", [](TReader& r) { return Text(r.ReadIdent()); }, "clRed"},
        ReadCase{"IdentFalse", Hex("08"), [](TReader& r) { return Text(r.ReadIdent()); }, "False"},
        ReadCase{"IdentNil", Hex("0D"), [](TReader& r) { return Text(r.ReadIdent()); }, "nil"},
        ReadCase{"IdentNull", Hex("00"), [](TReader& r) { return Text(r.ReadIdent()); }, "Null"},
        ReadCase{"IdentRefusesString", Hex("06 01 61"), [](TReader& r) { return Text(r.ReadIdent()); }, kInvalid},
        ReadCase{"Set", Hex("0B 02 61 62 01 63 03 62 69 67 00"),
                 [](TReader& r) {
                   return std::to_string(r.ReadSet([](StringView name) {
                     return name == u"ab" ? 1 : name == u"c" ? 4 : name == u"big" ? 40 : -1;
                   }));
                 },
                 "18"},
        ReadCase{"SetUnknownName", Hex("0B 01 78 01 61 00"),
                 [](TReader& r) { return std::to_string(r.ReadSet([](StringView) { return -1; })); }, kInvalid},
        ReadCase{"Binary", Hex("0A 02 00 00 00 01 02"),
                 [](TReader& r) { return std::to_string(r.ReadBinary().size()); }, "2"},
        ReadCase{"CheckValue", Hex("01"), [](TReader& r) { return r.ReadListBegin(), std::string("ok"); }, "ok"},
        ReadCase{"CheckValueSkips", Hex("0E 01 01 41 02 01 00 00"),
                 [](TReader& r) { return r.ReadListBegin(), std::string("ok"); }, kInvalid},
        ReadCase{"VariantInt16", Hex("03 00 01"),
                 [](TReader& r) {
                   Variant v = r.ReadVariant();
                   return std::to_string(v.VarType()) + ":" + std::to_string(v.AsInteger());
                 },
                 "2:256"},
        ReadCase{"VariantExtended", Hex("05 00 00 00 00 00 00 00 C0 FF 3F"),
                 [](TReader& r) {
                   Variant v = r.ReadVariant();
                   return std::to_string(v.VarType()) + ":" + Number(v.AsDouble());
                 },
                 "5:" + Number(1.5)},
        ReadCase{"VariantWide", Hex("12 01 00 00 00 41 00"),
                 [](TReader& r) {
                   Variant v = r.ReadVariant();
                   return std::to_string(v.VarType()) + ":" + Text(v.AsString());
                 },
                 "8:A"},
        ReadCase{"VariantNil", Hex("0D"), [](TReader& r) { return std::to_string(r.ReadVariant().VarType()); }, "0"},
        ReadCase{"VariantNull", Hex("00"), [](TReader& r) { return std::to_string(r.ReadVariant().VarType()); }, "1"},
        ReadCase{"VariantRefusesList", Hex("01 02 01 00"),
                 [](TReader& r) { return std::to_string(r.ReadVariant().VarType()); }, "Stream read error"},
        ReadCase{"VariantRefusesBinary", Hex("0A 01 00 00 00 01"),
                 [](TReader& r) { return std::to_string(r.ReadVariant().VarType()); }, "Stream read error"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Every tag skipped whole, and copied by the writer's own choice of tags.
struct SkipCase {
  const char* Name;
  std::string Bytes;
  std::string Copied;
};

class SkipAndCopy : public ::testing::TestWithParam<SkipCase> {};

TEST_P(SkipAndCopy, SkipsWholeAndCopies) {
  const SkipCase& c = GetParam();
  {
    TBytesStream stream(ToBytes(c.Bytes + "\x7E"));
    TReader reader(stream);
    reader.SkipValue();
    EXPECT_EQ(reader.ReadByte(), 0x7E);
  }
  TBytesStream stream(ToBytes(c.Bytes));
  TReader reader(stream);
  EXPECT_EQ(Written([&](TWriter& w) { reader.CopyValue(w); }), c.Copied);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, SkipAndCopy,
    ::testing::Values(
        SkipCase{"Null", Hex("00"), Hex("00")}, SkipCase{"Nil", Hex("0D"), Hex("0D")},
        SkipCase{"Int8", Hex("02 01"), Hex("02 01")}, SkipCase{"WideInt32", Hex("04 05 00 00 00"), Hex("02 05")},
        SkipCase{"NarrowInt64", Hex("13 05 00 00 00 00 00 00 00"), Hex("02 05")},
        SkipCase{"Extended", Hex("05 00 00 00 00 00 00 00 C0 FF 3F"), Hex("05 00 00 00 00 00 00 00 C0 FF 3F")},
        SkipCase{"Single", Hex("0F 00 00 C0 3F"), Hex("0F 00 00 C0 3F")},
        SkipCase{"Currency", Hex("10 01 00 00 00 00 00 00 00"), Hex("10 01 00 00 00 00 00 00 00")},
        SkipCase{"Date", Hex("11 00 00 00 00 00 00 F8 3F"), Hex("11 00 00 00 00 00 00 F8 3F")},
        SkipCase{"Double", Hex("15 00 00 00 00 00 00 F8 3F"), Hex("15 00 00 00 00 00 00 F8 3F")},
        SkipCase{"String", Hex("06 01 61"), Hex("06 01 61")},
        SkipCase{"ShortLString", Hex("0C 01 00 00 00 61"), Hex("06 01 61")},
        SkipCase{"AsciiWide", Hex("12 01 00 00 00 61 00"), Hex("06 01 61")},
        SkipCase{"UTF8", Hex("14 02 00 00 00 C3 A9"), Hex("12 01 00 00 00 E9 00")},
        SkipCase{"Ident", Hex("07 01 61"), Hex("07 01 61")}, SkipCase{"IdentTrue", Hex("07 04") + "TRUE", Hex("09")},
        SkipCase{"Set", Hex("0B 01 61 02 62 63 00"), Hex("0B 01 61 02 62 63 00")},
        SkipCase{"Binary", Hex("0A 02 00 00 00 01 02"), Hex("0A 02 00 00 00 01 02")},
        SkipCase{"List", Hex("01 04 01 00 00 00 01 00 00"), Hex("01 02 01 01 00 00")},
        SkipCase{"Collection", Hex("0E 03 04 00 01 01 41 04 02 00 00 00 00 01 00 00"),
                 Hex("0E 02 04 01 01 41 02 02 00 01 00 00")}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Collections, WrittenAndReadThroughCallbacks) {
  std::string bytes = Written([](TWriter& w) {
    w.WriteCollection(2, [&](Integer i) {
      w.WriteStr("N");
      w.WriteInteger(i * 200);
    });
  });
  EXPECT_EQ(bytes, Hex("0E 01 01 4E 02 00 00 01 01 4E 03 C8 00 00 00"));

  // An index in front of an item is read and ignored.
  std::string indexed = Hex("0E 03 07 00 01 01 4E 02 05 00 00");
  for (const std::string& stream : {bytes, indexed}) {
    TBytesStream input(ToBytes(stream));
    TReader reader(input);
    int cleared = 0;
    std::vector<Integer> values;
    reader.ReadCollection([&] { ++cleared; },
                          [&] {
                            while (!reader.EndOfList()) {
                              EXPECT_EQ(reader.ReadStr(), u"N");
                              values.push_back(reader.ReadInteger());
                            }
                          });
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(values.size(), stream == bytes ? 2u : 1u);
    EXPECT_EQ(reader.Position(), static_cast<Int64>(stream.size()));
  }
  // An empty collection leaves the existing items alone.
  TBytesStream empty(ToBytes(Hex("0E 00")));
  TReader reader(empty);
  bool cleared = false;
  reader.ReadCollection([&] { cleared = true; }, [] {});
  EXPECT_FALSE(cleared);
}

TEST(TReader, BoundsEveryRead) {
  struct Case {
    std::string Bytes;
    std::function<void(TReader&)> Read;
  };
  const Case cases[] = {
      {"", [](TReader& r) { r.ReadValue(); }},
      {Hex("03 01"), [](TReader& r) { r.ReadInteger(); }},
      {Hex("0C FF FF FF FF 61"), [](TReader& r) { r.ReadString(); }},
      {Hex("12 FF FF FF FF 61"), [](TReader& r) { r.ReadString(); }},
      {Hex("0A FF FF FF FF 61"), [](TReader& r) { r.ReadBinary(); }},
      {Hex("0A FF FF FF FF 61"), [](TReader& r) { r.SkipValue(); }},
      {Hex("05 FF FF FF FF 61"), [](TReader& r) { r.SkipValue(); }},
      {Hex("0B 05 61 62"), [](TReader& r) { r.SkipValue(); }},
      {Hex("01 02 01"), [](TReader& r) { r.SkipValue(); }},
      {Hex("05"), [](TReader& r) { r.ReadStr(); }},
  };
  for (const auto& c : cases) {
    TBytesStream stream(ToBytes(c.Bytes));
    TReader reader(stream);
    try {
      c.Read(reader);
      ADD_FAILURE() << "no error for " << c.Bytes.size() << " bytes";
    } catch (const EReadError& e) {
      EXPECT_EQ(Message(e), "Stream read error");
    }
  }
}

TEST(TReader, SignatureAndPrefix) {
  TBytesStream stream(ToBytes("TPF0" + Hex("F3 03 2C 01 F0 05")));
  TReader reader(stream);
  reader.ReadSignature();
  TFilerFlags flags;
  Integer position;
  reader.ReadPrefix(flags, position);
  EXPECT_EQ(flags, ffInherited | ffChildPos);
  EXPECT_EQ(position, 300);
  reader.ReadPrefix(flags, position);
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(position, -1);
  reader.ReadPrefix(flags, position);  // not a prefix: nothing read
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(reader.ReadByte(), 5);

  TBytesStream wrong(ToBytes("TPF1"));
  TReader wrongReader(wrong);
  try {
    wrongReader.ReadSignature();
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(Message(e), "Invalid stream format");
  }
}

TEST(TReader, NestingIsLimited) {
  std::string lists(kMaxFormNesting + 10, '\x01');
  TBytesStream stream(ToBytes(lists));
  TReader reader(stream);
  EXPECT_THROW(reader.SkipValue(), EReadError);
}

TEST(TReader, GivesBackWhatItDidNotUse) {
  TBytesStream stream(ToBytes(Hex("02 05 06 01 61")));
  {
    TReader reader(stream);
    EXPECT_EQ(reader.ReadInteger(), 5);
    EXPECT_EQ(reader.Position(), 2);
  }
  EXPECT_EQ(stream.Position(), 2);
}

TEST(TReader, NamesAcrossTheBuffer) {
  std::string bytes;
  for (int i = 0; i < 40; ++i) bytes += std::string(1, static_cast<char>(i % 13)) + std::string(i % 13, 'a' + i % 26);
  TBytesStream stream(ToBytes(bytes));
  TReader reader(stream, 16);
  for (int i = 0; i < 40; ++i) {
    std::string expected(i % 13, 'a' + i % 26);
    if (i % 2) {
      EXPECT_EQ(reader.ReadStrView(), expected) << i;
    } else {
      EXPECT_EQ(StringToUTF8(reader.ReadStr()), expected) << i;
    }
  }
}

TEST(TReader, ReadsLargeValuesAcrossTheBuffer) {
  std::string data(100000, 'q');
  std::string bytes = Hex("0C A0 86 01 00") + data;
  TBytesStream stream(ToBytes(bytes));
  TReader reader(stream, 64);
  EXPECT_EQ(StringToUTF8(reader.ReadString()), data);
}

}  // namespace
