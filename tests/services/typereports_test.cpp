#include <gtest/gtest.h>

#include <functional>

#include "rtl/format.h"
#include "rtl/unicode.h"
#include "services/typeinfowrappers.h"
#include "typeinfo_types.h"

namespace {

using namespace probe_types;

String Declaration(const TTypeInfo& type) {
  TUtTextInfoWriter dest;
  WrapTypeInfo(type)->DeclarationTo(dest);
  return dest.GetText();
}

String Report(const TTypeInfo& type) {
  TUtTextInfoWriter dest;
  WrapTypeInfo(type)->WriteTo(dest);
  return dest.GetText();
}

// The three lines every report starts with.
String Head(const TTypeInfo& type, const char16_t* kind) {
  return u"Name: " + type.Name() + u"\r\nType kind: " + kind + u"\r\n" +
         Format(u"Type info: %p\r\n", {static_cast<const void*>(&type)});
}

const TEnumTypeInfo& AnonymousFlag() {
  static const TEnumTypeInfo t(u".3", u"Letters", {u"f1", u"f2"});
  return t;
}
const TSetTypeInfo& Flags() {
  static const TSetTypeInfo t(u"TFlags", u"Letters", AnonymousFlag());
  return t;
}
const TSetTypeInfo& Small() {
  static const TOrdinalTypeInfo member(tkInteger, u".4", u"Letters", otUByte, 0, 7);
  static const TSetTypeInfo t(u"TSmall", u"Letters", member);
  return t;
}
const TInterfaceTypeInfo& Child() {
  static const TInterfaceTypeInfo t(u"IChild", u"Storage", &Storable(), 0, TGUID{}, 7);
  return t;
}
const TClassInfo& Plain() {
  // A class straight below TObject that implements an interface.
  static const TClassInfo info(u"TPlain", u"Gadgets", &TObjectClass(), {}, [](TClassInfo& c) {
    TClassBuilder<TPersistent> builder(c);
    builder.Implements(Storable());
  });
  return info;
}

TEST(OrdinalToText, NamesInRangeAndSaysOutOfRange) {
  Byte kind = 1;
  EXPECT_EQ(OrdinalToText(types::TypeKind(), &kind), u"tkInteger");
  kind = 25;
  EXPECT_EQ(OrdinalToText(types::TypeKind(), &kind), u"Value ordinal=25 out of range tkUnknown..tkProcedure.");
  Byte outside = 0;
  EXPECT_EQ(OrdinalToText(MiddleLetter(), &outside), u"Value ordinal=0 out of range b..c.");
  std::int8_t small = -128;
  EXPECT_EQ(OrdinalToText(types::ShortInt(), &small), u"-128");
  std::uint32_t big = 4000000000u;
  EXPECT_EQ(OrdinalToText(types::Cardinal(), &big), u"4000000000");
  std::int32_t negative = -5;
  EXPECT_EQ(OrdinalToText(types::Integer(), &negative), u"-5");
  EXPECT_THROW(OrdinalToText(types::Double(), &negative), EUtRTTIError);
}

TEST(Declarations, ExactTexts) {
  const String storableGuid = u"{5F2A8C6D-E193-47B0-B5D2-0A6E94C31F78}";
  struct Case {
    const TTypeInfo* type;
    String text;
  } cases[] = {
      {&types::Char(), u"AnsiChar = #0..#255; // otUByte\r\n"},
      {&LowerCase(), u"TLowerCase = 'a'..'z'; // otUByte\r\n"},
      {&Nibble(), u"TNibble = 0..15; // otUByte\r\n"},
      {&types::Integer(), u"Integer = -2147483648..2147483647; // otSLong\r\n"},
      {&types::Cardinal(), u"Cardinal = 0..4294967295; // otULong\r\n"},
      {&types::TDateTime(), u"TDateTime = type Double;\r\n"},
      {&types::Extended(), u"Extended = type Extended;\r\n"},
      {&types::Currency(), u"Currency = type Curr;\r\n"},
      {&DescribeType(TypeTag<TNotifyEvent>{}), u"TNotifyEvent = procedure(Sender: TObject) of object;\r\n"},
      {&NoParams(), u"TSimpleEvent = procedure of object;\r\n"},
      {&Lookup(),
       u"TLookupEvent = function(var Key: string; const Values: Integer; out Found: TObject; const Args: array of "
       u"const; Names: array of string; Data): Boolean of object;\r\n"},
      {&Letter(), u"TLetter = (a, b, c, d); // otUByte\r\n"},
      {&MiddleLetter(), u"TMiddle = b .. c; // otUByte\r\n"},
      {&AnonymousFlag(), u"(f1, f2)"},
      {&Letters(), u"TLetters = set of TLetter; // otUByte\r\n"},
      {&Flags(), u"TFlags = set of (f1, f2); // otUByte\r\n"},
      {&Small(), u"TSmall = set of ???; // otUByte\r\n"},
      {&Bytes(), u"TBytesSet = set of Byte; // otULong\r\n"},
      {&types::UnicodeString(), u"string = UnicodeString;\r\n"},
      {&types::AnsiString(), u"AnsiString = AnsiString;\r\n"},
      {&types::WideString(), u"WideString = WideString;\r\n"},
      {&types::ShortString(), u"ShortString = string[255];\r\n"},
      {&types::Int64(), u"Int64 = -9223372036854775808 .. 9223372036854775807;\r\n"},
      {&IntegerArray(), u"TIntegerArray = array of Integer; // Unit Letters\r\n"},
      {&AnonymousArray(), u"array of (x, y)"},
      {&types::Variant(), u"// Declaration for 'Variant' not supported."},
      {&Unknown(), u"IUnknown = interface // unit System\r\n  ['{00000000-0000-0000-C000-000000000046}']\r\nend;\r\n"},
      {&Storable(), u"IStorable = interface // unit Storage\r\n  ['" + storableGuid + u"']\r\nend;\r\n"},
      {&Child(), u"IChild = interface(IStorable) // unit Storage\r\nend;\r\n"},
      {&Dispatch(), u"DGadget = dispinterface // unit Gadgets\r\nend;\r\n"},
      {&Plain().TypeInfo(), u"TPlain = class // unit Gadgets\r\nend;\r\n"},
      {&TBigGadget::StaticClass().TypeInfo(),
       u"TBigGadget = class(TGadget, ['" + storableGuid +
           u"']) // unit Gadgets\r\npublished\r\n  property Depth: Integer index 2 read [field $00000048] write "
           u"[virtual method $0000001C] stored = [static method $00401A2C] default 5;\r\nend;\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Declaration(*c.type), c.text) << StringToUTF8(c.type->Name());
}

TEST(Declarations, PropertiesOfFieldsAndMethods) {
  const TClassInfo& cls = TGadgetFont::StaticClass();
  Cardinal offset = cls.FindProperty(u"Name")->ReaderValue();
  EXPECT_EQ(Declaration(cls.TypeInfo()),
            Format(u"TGadgetFont = class(TPersistent) // unit Gadgets\r\npublished\r\n  property Name: string read "
                   u"[field $%.8x] write [field $%.8x] stored = True;\r\nend;\r\n",
                   {offset, offset}));
  TUtTextInfoWriter dest;
  WrapTypeInfo(TGadget::StaticClass().TypeInfo())->DeclarationTo(dest);
  const auto& lines = dest.Lines();
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[1], u"published");
  EXPECT_EQ(lines[2].rfind(u"  property Size: Integer read [field $", 0), 0u) << StringToUTF8(lines[2]);
  EXPECT_NE(lines[2].find(u" stored = True default 0;"), String::npos) << StringToUTF8(lines[2]);
  EXPECT_EQ(lines[9].rfind(u"  property Font: TGadgetFont read [static method $", 0), 0u) << StringToUTF8(lines[9]);
  EXPECT_EQ(lines[9].find(u" write "), String::npos) << "a property without a writer names none";
  EXPECT_EQ(lines[11], u"end;");
}

TEST(Reports, OrdinalsEnumerationsSetsAndScalars) {
  const String letterReport = Head(Letter(), u"tkEnumeration") +
                              u"Ordinal type: otUByte\r\nMin value: 0\r\nMax value: 3\r\nUnit name: Letters\r\n"
                              u"Names: (a, b, c, d)\r\n";
  String indentedLetter;
  for (size_t start = 0; start < letterReport.size();) {
    size_t end = letterReport.find(u"\r\n", start) + 2;
    indentedLetter += u"  " + letterReport.substr(start, end - start);
    start = end;
  }
  struct Case {
    const TTypeInfo* type;
    String text;
  } cases[] = {
      {&Letter(), letterReport},
      {&MiddleLetter(), Head(MiddleLetter(), u"tkEnumeration") +
                            u"Ordinal type: otUByte\r\nMin value: 1\r\nMax value: 2\r\nUnit name: Letters\r\n"
                            u"Names: (b, c)\r\n"},
      {&Letters(), Head(Letters(), u"tkSet") + u"Ordinal type: otUByte\r\nBased on: \r\n" + indentedLetter},
      {&types::SmallInt(),
       Head(types::SmallInt(), u"tkInteger") + u"Ordinal type: otSWord\r\nMin value: -32768\r\nMax value: 32767\r\n"},
      {&types::TDateTime(), Head(types::TDateTime(), u"tkFloat") + u"Float type: ftDouble\r\n"},
      {&types::ShortString(), Head(types::ShortString(), u"tkString") + u"Max length: 255\r\n"},
      {&types::UnicodeString(), Head(types::UnicodeString(), u"tkUString")},
      {&types::Variant(), Head(types::Variant(), u"tkVariant")},
      {&types::Int64(),
       Head(types::Int64(), u"tkInt64") + u"Min value: -9223372036854775808\r\nMax value: 9223372036854775807\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Report(*c.type), c.text) << StringToUTF8(c.type->Name());
}

TEST(Reports, ClassesEventsInterfacesAndArrays) {
  struct Case {
    const TTypeInfo* type;
    String text;
  } cases[] = {
      {&TBigGadget::StaticClass().TypeInfo(),
       Head(TBigGadget::StaticClass().TypeInfo(), u"tkClass") +
           u"Class name: TBigGadget\r\nParent: TGadget\r\nUnit name: Gadgets\r\nProperty count: 1 (12)\r\n"
           u"  Depth: Integer\r\n    [index 2]\r\n    [default 5]\r\n    [read field $00000048]\r\n"
           u"    [write virtual method $0000001C]\r\n    [stored=static method $00401A2C]\r\n"},
      {&TObjectClass().TypeInfo(), Head(TObjectClass().TypeInfo(), u"tkClass") +
                                       u"Class name: TObject\r\nParent: (none)\r\nUnit name: System\r\n"
                                       u"Property count: 0 (0)\r\n"},
      {&DescribeType(TypeTag<TNotifyEvent>{}), Head(DescribeType(TypeTag<TNotifyEvent>{}), u"tkMethod") +
                                                   u"Method kind: mkProcedure\r\nParameter count: 1\r\n"
                                                   u"  Name: Sender\r\n  Type: TObject\r\n  Flags: []\r\n"},
      {&Lookup(), Head(Lookup(), u"tkMethod") +
                      u"Method kind: mkFunction\r\nParameter count: 6\r\n"
                      u"  Name: Key\r\n  Type: string\r\n  Flags: [pfVar]\r\n\r\n"
                      u"  Name: Values\r\n  Type: Integer\r\n  Flags: [pfConst]\r\n\r\n"
                      u"  Name: Found\r\n  Type: TObject\r\n  Flags: [pfOut]\r\n\r\n"
                      u"  Name: Args\r\n  Type: TVarRec\r\n  Flags: [pfConst, pfArray]\r\n\r\n"
                      u"  Name: Names\r\n  Type: string\r\n  Flags: [pfArray]\r\n\r\n"
                      u"  Name: Data\r\n  Type: \r\n  Flags: []\r\n"
                      u"Return type: Boolean\r\n"},
      {&Storable(), Head(Storable(), u"tkInterface") +
                        u"GUID: {5F2A8C6D-E193-47B0-B5D2-0A6E94C31F78}\r\nFlags: [ifHasGuid]\r\n"
                        u"Unit name: Storage\r\nParent: IUnknown\r\nProperty count: 5\r\n"},
      {&Dispatch(), Head(Dispatch(), u"tkInterface") +
                        u"Flags: [ifDispInterface, ifDispatch]\r\nUnit name: Gadgets\r\nParent: IStorable\r\n"
                        u"Property count: 0\r\n"},
      {&IntegerArray(), Head(IntegerArray(), u"tkDynArray") +
                            u"Element size: 4\r\nElement type: Integer\r\nElements need clean up: False\r\n"
                            u"Variant type: 3\r\nUnit name: Letters\r\n"},
      {&AnonymousArray(), Head(AnonymousArray(), u"tkDynArray") + u"Element size: 1\r\nElement type: \r\n" +
                              u"  Name: .1\r\n  Type kind: tkEnumeration\r\n  " +
                              Format(u"Type info: %p\r\n", {static_cast<const void*>(AnonymousArray().ElementType())}) +
                              u"  Ordinal type: otUByte\r\n  Min value: 0\r\n  Max value: 1\r\n  Unit name: Letters\r\n"
                              u"  Names: (x, y)\r\nElements need clean up: False\r\nVariant type: 17\r\n"
                              u"Unit name: Letters\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Report(*c.type), c.text) << StringToUTF8(c.type->Name());
}

// A sink that fails at its n-th call and keeps count of its indentation.
class TFailingWriter : public TUtTextInfoWriter {
 public:
  explicit TFailingWriter(int failAt) : FFailAt(failAt) {}
  void Write(const String& text) override {
    Tick();
    TUtTextInfoWriter::Write(text);
  }
  void Writeln(const String& text) override {
    Tick();
    TUtTextInfoWriter::Writeln(text);
  }
  void Indent() override {
    ++Level;
    TUtTextInfoWriter::Indent();
  }
  void Outdent() override {
    --Level;
    TUtTextInfoWriter::Outdent();
  }
  int Level = 0;

 private:
  void Tick() {
    if (++FCalls == FFailAt) throw EWriteError(u"sink full");
  }
  int FCalls = 0;
  int FFailAt;
};

TEST(Reports, IndentationIsUndoneWhenTheSinkFails) {
  using Operation = std::function<void(const IUtBaseInfo&, IUtInfoWriter&)>;
  const Operation report = [](const IUtBaseInfo& w, IUtInfoWriter& d) { w.WriteTo(d); };
  const Operation declare = [](const IUtBaseInfo& w, IUtInfoWriter& d) { w.DeclarationTo(d); };
  struct Case {
    const TTypeInfo* type;
    Operation operation;
  } cases[] = {
      {&TBigGadget::StaticClass().TypeInfo(), report},
      {&Letters(), report},
      {&Lookup(), report},
      {&AnonymousArray(), report},
      {&TBigGadget::StaticClass().TypeInfo(), declare},
      {&Storable(), declare},
  };
  for (const auto& c : cases) {
    auto wrapper = WrapTypeInfo(*c.type);
    bool failed = true;
    for (int failAt = 1; failed; ++failAt) {
      TFailingWriter dest(failAt);
      try {
        c.operation(*wrapper, dest);
        failed = false;
      } catch (const EWriteError&) {
      }
      EXPECT_EQ(dest.Level, 0) << StringToUTF8(c.type->Name()) << " failing at call " << failAt;
    }
  }
}

TEST(TextSink, IndentsEndsLinesAndClears) {
  TUtTextInfoWriter dest;
  dest.Write(u"a");
  dest.Indent();
  dest.Writeln(u"b");
  dest.Writeln(u"c");
  dest.Writeln();
  dest.Outdent();
  dest.Outdent();
  dest.Write(u"d");
  EXPECT_EQ(dest.GetText(), u"ab\r\n  c\r\n\r\nd");
  EXPECT_EQ(dest.Lines().size(), 3u);
  dest.Clear();
  EXPECT_EQ(dest.GetText(), u"");
}

}  // namespace
