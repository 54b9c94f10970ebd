#include "services/typeinfowrappers.h"

#include <gtest/gtest.h>

#include <vector>

#include "rtl/floattext.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"
#include "rtl/unicode.h"
#include "typeinfo_types.h"

namespace {

using namespace probe_types;

// Set storage with guard bytes on both sides, to see that nothing outside
// the set's own bytes changes.
class TGuardedSet {
 public:
  explicit TGuardedSet(const TSetTypeInfo& type, std::initializer_list<int> members = {})
      : FType(type), FBytes(static_cast<size_t>(type.StorageSize()) + 2 * kGuard, kGuardByte) {
    for (int i = 0; i < type.StorageSize(); ++i) Data()[i] = 0;
    for (int member : members) Include(member);
  }
  Byte* Data() { return FBytes.data() + kGuard; }
  void Include(int member) {
    int bit = member - static_cast<int>(FType.CompType().MinValue()) + FType.FirstBit();
    Data()[bit / 8] = static_cast<Byte>(Data()[bit / 8] | (1u << (bit % 8)));
  }
  std::vector<int> Members() {
    std::vector<int> result;
    for (int n = static_cast<int>(FType.CompType().MinValue()); n <= FType.CompType().MaxValue(); ++n) {
      int bit = n - static_cast<int>(FType.CompType().MinValue()) + FType.FirstBit();
      if ((Data()[bit / 8] >> (bit % 8)) & 1) result.push_back(n);
    }
    return result;
  }
  bool GuardsIntact() const {
    for (size_t i = 0; i < kGuard; ++i)
      if (FBytes[i] != kGuardByte || FBytes[FBytes.size() - 1 - i] != kGuardByte) return false;
    return true;
  }

 private:
  static constexpr size_t kGuard = 8;
  static constexpr Byte kGuardByte = 0xA5;
  const TSetTypeInfo& FType;
  std::vector<Byte> FBytes;
};

template <class E>
void ExpectError(const std::function<void()>& call, const String& message) {
  try {
    call();
    ADD_FAILURE() << "no error, expected " << StringToUTF8(message);
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(WrapTypeInfo, OneWrapperPerKindWithTheInterfacesItOffers) {
  struct Case {
    const TTypeInfo* type;
    bool value, ordinal, range, enumeration, set, isFloat, isString, cls, event, intf, int64, dynArray;
  } cases[] = {
      {&types::Integer(), true, true, true, false, false, false, false, false, false, false, false, false},
      {&types::WideChar(), true, true, true, false, false, false, false, false, false, false, false, false},
      {&types::Boolean(), true, true, true, true, false, false, false, false, false, false, false, false},
      {&Letters(), true, true, false, false, true, false, false, false, false, false, false, false},
      {&types::TDateTime(), true, false, false, false, false, true, false, false, false, false, false, false},
      {&types::ShortString(), true, false, false, false, false, false, true, false, false, false, false, false},
      {&types::UnicodeString(), true, false, false, false, false, false, true, false, false, false, false, false},
      {&TGadget::StaticClass().TypeInfo(), true, false, false, false, false, false, false, true, false, false, false,
       false},
      {&DescribeType(TypeTag<TNotifyEvent>{}), false, false, false, false, false, false, false, false, true, false,
       false, false},
      {&Storable(), false, false, false, false, false, false, false, false, false, true, false, false},
      {&types::Int64(), true, false, false, false, false, false, false, false, false, false, true, false},
      {&IntegerArray(), false, false, false, false, false, false, false, false, false, false, false, true},
      {&types::Variant(), false, false, false, false, false, false, false, false, false, false, false, false},
  };
  for (const auto& c : cases) {
    auto w = WrapTypeInfo(*c.type);
    SCOPED_TRACE(StringToUTF8(c.type->Name()));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetName(), c.type->Name());
    EXPECT_EQ(w->GetTypeKind(), c.type->Kind());
    EXPECT_EQ(&w->GetTypeInfo(), c.type);
    EXPECT_EQ(Supports<IUtValueTypeInfo>(w) != nullptr, c.value);
    EXPECT_EQ(Supports<IUtOrdinalTypeInfo>(w) != nullptr, c.ordinal);
    EXPECT_EQ(Supports<IUtOrdinalRangeTypeInfo>(w) != nullptr, c.range);
    EXPECT_EQ(Supports<IUtEnumerationTypeInfo>(w) != nullptr, c.enumeration);
    EXPECT_EQ(Supports<IUtSetTypeInfo>(w) != nullptr, c.set);
    EXPECT_EQ(Supports<IUtFloatTypeInfo>(w) != nullptr, c.isFloat);
    EXPECT_EQ(Supports<IUtStringTypeInfo>(w) != nullptr, c.isString);
    EXPECT_EQ(Supports<IUtClassTypeInfo>(w) != nullptr, c.cls);
    EXPECT_EQ(Supports<IUtEventTypeInfo>(w) != nullptr, c.event);
    EXPECT_EQ(Supports<IUtInterfaceTypeInfo>(w) != nullptr, c.intf);
    EXPECT_EQ(Supports<IUtInt64TypeInfo>(w) != nullptr, c.int64);
    EXPECT_EQ(Supports<IUtDynArrayTypeInfo>(w) != nullptr, c.dynArray);
  }
  EXPECT_NE(WrapTypeInfo(types::Integer()), WrapTypeInfo(types::Integer())) << "a new wrapper every time";
}

TEST(OrdinalWrappers, BoundsAndStringLimits) {
  auto cardinal = Supports<IUtOrdinalRangeTypeInfo>(WrapTypeInfo(types::Cardinal()));
  EXPECT_EQ(cardinal->GetMinValue(), 0);
  EXPECT_EQ(cardinal->GetMaxValue(), 4294967295LL);
  EXPECT_EQ(cardinal->GetOrdinalType(), otULong);
  auto integer = Supports<IUtOrdinalRangeTypeInfo>(WrapTypeInfo(types::Integer()));
  EXPECT_EQ(integer->GetMinValue(), -2147483648LL);
  EXPECT_EQ(Supports<IUtStringTypeInfo>(WrapTypeInfo(types::ShortString()))->GetMaxLength(), 255);
  EXPECT_EQ(Supports<IUtStringTypeInfo>(WrapTypeInfo(types::UnicodeString()))->GetMaxLength(), 0);
  EXPECT_EQ(Supports<IUtFloatTypeInfo>(WrapTypeInfo(types::Currency()))->GetFloatType(), ftCurr);
  auto int64 = Supports<IUtInt64TypeInfo>(WrapTypeInfo(types::Int64()));
  EXPECT_EQ(int64->GetMaxValue(), INT64_MAX);
}

TEST(EnumerationWrapper, BaseTypeNamesAndLookupIgnoringCase) {
  auto letter = Supports<IUtEnumerationTypeInfo>(WrapTypeInfo(Letter()));
  EXPECT_EQ(letter->GetBaseType(), letter) << "its own base is the wrapper itself";
  EXPECT_EQ(letter->GetUnitName(), u"Letters");
  EXPECT_EQ(letter->GetNames(3), u"d");
  EXPECT_EQ(letter->IndexOfName(u"C"), 2);
  EXPECT_EQ(letter->IndexOfName(u"e"), -1);

  auto middle = Supports<IUtEnumerationTypeInfo>(WrapTypeInfo(MiddleLetter()));
  auto base = middle->GetBaseType();
  EXPECT_NE(base, middle);
  EXPECT_EQ(&base->GetTypeInfo(), &Letter());
  EXPECT_EQ(middle->GetMinValue(), 1);
  EXPECT_EQ(middle->GetNames(0), u"a") << "names come from the base";
  EXPECT_EQ(middle->IndexOfName(u"a"), -1) << "outside the subrange";
  EXPECT_EQ(middle->IndexOfName(u"B"), 1);

  static const TEnumTypeInfo twice(u"TTwice", u"Letters", {u"x", u"X", u"y"});
  EXPECT_EQ(Supports<IUtEnumerationTypeInfo>(WrapTypeInfo(twice))->IndexOfName(u"x"), 1) << "the highest ordinal wins";
}

// Mended: an index beyond the names used to read past the name list.
TEST(EnumerationWrapper, NamesOutsideTheTypeAreRefused) {
  auto letter = Supports<IUtEnumerationTypeInfo>(WrapTypeInfo(Letter()));
  for (Integer bad : {-1, 4, 1000}) {
    SCOPED_TRACE(bad);
    ExpectError<EUtRTTIError>([&] { letter->GetNames(bad); }, Format(u"Name index %d out of range 0..3", {bad}));
  }
}

TEST(SetText, BothWaysWithRangesAndBrackets) {
  struct Case {
    const TSetTypeInfo* type;
    std::initializer_list<int> members;
    bool brackets, ranges;
    const char16_t* text;
  } cases[] = {
      {&Letters(), {0, 2, 3}, true, false, u"[a, c, d]"},
      {&Letters(), {0, 2, 3}, true, true, u"[a, c .. d]"},
      {&Letters(), {0, 2, 3}, false, false, u"a, c, d"},
      {&Letters(), {0, 1, 2, 3}, true, true, u"[a .. d]"},
      {&Letters(), {}, true, true, u"[]"},
      {&Letters(), {}, false, false, u""},
      {&Nibbles(), {1, 2, 3, 7}, true, true, u"[1 .. 3, 7]"},
      {&Nibbles(), {0, 15}, true, true, u"[0, 15]"},
      {&Nibbles(), {14, 15}, false, true, u"14 .. 15"},
      {&SevenEights(), {7, 8}, true, false, u"[7, 8]"},
      {&Bytes(), {0, 200, 201, 202, 255}, true, true, u"[0, 200 .. 202, 255]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(StringToUTF8(c.text));
    TGuardedSet set(*c.type, c.members);
    EXPECT_EQ(SetToText(*c.type, set.Data(), c.brackets, c.ranges), c.text);
    TGuardedSet back(*c.type, {0});
    TextToSet(*c.type, back.Data(), c.text);
    EXPECT_EQ(back.Members(), std::vector<int>(c.members));
    EXPECT_TRUE(back.GuardsIntact());
  }
}

TEST(SetText, ReadsLooseTextsAndNamesTheBadIdent) {
  for (const char16_t* text : {u"[a, c .. d]", u"a,c..d", u"[ A , C..D ]", u"d, c, a", u"[c..d,a]"}) {
    SCOPED_TRACE(StringToUTF8(text));
    TGuardedSet set(Letters(), {1});
    TextToSet(Letters(), set.Data(), text);
    EXPECT_EQ(set.Members(), (std::vector<int>{0, 2, 3}));
  }
  for (const char16_t* empty : {u"[]", u"", u" , ,", u"[ ]"}) {
    TGuardedSet set(Letters(), {1, 2});
    TextToSet(Letters(), set.Data(), empty);
    EXPECT_TRUE(set.Members().empty()) << StringToUTF8(empty);
  }
  struct Bad {
    const char16_t* text;
    const char16_t* message;
    std::vector<int> keptMembers;
  } bad[] = {
      {u"[a, x]", u"Unknown identifier 'x'.", {0}},
      {u" [a]", u"Unknown identifier '[a]'.", {}},
      {u"[b, c .. zz]", u"Unknown identifier 'zz'.", {1}},
      {u"[b, yy .. c]", u"Unknown identifier 'yy'.", {1}},
  };
  for (const auto& b : bad) {
    TGuardedSet set(Letters(), {3});
    ExpectError<EUtRTTIError>([&] { TextToSet(Letters(), set.Data(), b.text); }, b.message);
    EXPECT_EQ(set.Members(), b.keptMembers) << "the lines before the bad one are set";
  }
  TGuardedSet numbers(Nibbles());
  EXPECT_THROW(TextToSet(Nibbles(), numbers.Data(), u"[1, two]"), EConvertError);
  ExpectError<EUtRTTIError>([&] { TextToSet(Letter(), numbers.Data(), u"a"); }, u"TLetter is not a set type");
}

TEST(SetText, RunsBackwardsAndNumbersOutsideTheRangeTouchNoOtherByte) {
  TGuardedSet set(Nibbles());
  TextToSet(Nibbles(), set.Data(), u"[9 .. 3, 12 .. 300, -5 .. 1]");
  EXPECT_EQ(set.Members(), (std::vector<int>{0, 1, 12, 13, 14, 15}));
  EXPECT_TRUE(set.GuardsIntact());
  TGuardedSet far(Nibbles(), {4});
  TextToSet(Nibbles(), far.Data(), u"-2147483648 .. 2147483647");
  EXPECT_EQ(far.Members().size(), 16u);
  EXPECT_TRUE(far.GuardsIntact());
}

TEST(SetText, AllOfTheByteRangeIsListedAndTheListingEnds) {
  TGuardedSet all(Bytes());
  for (int i = 0; i <= 255; ++i) all.Include(i);
  TStringList lines;
  Supports<IUtSetTypeInfo>(WrapTypeInfo(Bytes()))->GetAsList(all.Data(), false, lines);
  ASSERT_EQ(lines.Count(), 256);
  EXPECT_EQ(lines.Strings(255), u"255");
  EXPECT_EQ(SetToText(Bytes(), all.Data(), true, true), u"[0 .. 255]");
  TGuardedSet last(Bytes(), {255});
  EXPECT_EQ(SetToText(Bytes(), last.Data(), false, true), u"255");
}

TEST(SetText, BothBytesOfASetAcrossAByteBoundaryAreClearedFirst) {
  TGuardedSet set(SevenEights(), {8});
  EXPECT_EQ(set.Data()[1], 0x01);
  TextToSet(SevenEights(), set.Data(), u"[7]");
  EXPECT_EQ(set.Members(), std::vector<int>{7});
  EXPECT_EQ(set.Data()[0], 0x80);
  EXPECT_EQ(set.Data()[1], 0x00);
  EXPECT_TRUE(set.GuardsIntact());
}

TEST(SetText, ListsAppendAndKeepWhatWasThere) {
  TStringList lines;
  lines.Add(u"kept");
  TGuardedSet set(Letters(), {1, 2});
  EXPECT_EQ(SetToTextList(Letters(), set.Data(), true, lines, true), u"[b .. c]");
  EXPECT_EQ(lines.Text(), u"kept\r\nb .. c\r\n");
  EXPECT_EQ(lines.UpdateCount(), 0);

  auto wrapper = Supports<IUtSetTypeInfo>(WrapTypeInfo(Letters()));
  EXPECT_EQ(&wrapper->GetBaseType()->GetTypeInfo(), &Letter());
  TStringList members;
  members.Add(u"  d ");
  members.Add(u"");
  members.Add(u"a..b");
  wrapper->SetAsList(set.Data(), members);
  EXPECT_EQ(set.Members(), (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(members.UpdateCount(), 0);
}

TEST(ValueText, EachKindSavesAndLoadsItsProperty) {
  TGadget gadget(nullptr);
  auto cls = Supports<IUtClassTypeInfo>(WrapTypeInfo(TGadget::StaticClass().TypeInfo()));
  struct Case {
    const char16_t* property;
    const char16_t* text;
  } cases[] = {
      {u"Size", u"-42"},   {u"Letter", u"c"},          {u"Letters", u"a,d"},
      {u"Caption", u"Hi"}, {u"Big", u"9876543210123"}, {u"Big", u"-9223372036854775808"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(StringToUTF8(c.property));
    auto prop = cls->GetPropNames(c.property);
    ASSERT_NE(prop, nullptr);
    prop->LoadValueFromString(gadget, c.text);
    EXPECT_EQ(prop->SaveValueToString(gadget), c.text);
  }
  // Floats go through the locale's decimal separator both ways.
  auto ratio = cls->GetPropNames(u"Ratio");
  ratio->LoadValueFromString(gadget, FloatToStr(2.5L));
  EXPECT_EQ(gadget.Ratio, 2.5);
  EXPECT_EQ(ratio->SaveValueToString(gadget), FloatToStr(2.5L));
  EXPECT_EQ(gadget.Letters, (TLetters{ltA, ltD}));
  EXPECT_EQ(gadget.Big, INT64_MIN);
  EXPECT_THROW(cls->GetPropNames(u"Size")->LoadValueFromString(gadget, u"12x"), EConvertError);
  EXPECT_THROW(cls->GetPropNames(u"Letter")->LoadValueFromString(gadget, u"z"), EPropertyConvertError);
}

TEST(ValueText, KindsWithoutTextSayWhich) {
  TGadget gadget(nullptr);
  auto cls = Supports<IUtClassTypeInfo>(WrapTypeInfo(TGadget::StaticClass().TypeInfo()));
  ExpectError<EUtRTTIError>([&] { cls->GetPropNames(u"OnChange")->SaveValueToString(gadget); },
                            u"The property OnChange of type TNotifyEvent has no string value");
  ExpectError<EUtRTTIError>([&] { cls->GetPropNames(u"Buddy")->LoadValueFromString(gadget, u"x"); },
                            u"The property Buddy of type TGadget has no string value");
  // A dotted path reaches the sub-object's own property.
  auto fontType = Supports<IUtValueTypeInfo>(WrapTypeInfo(TGadgetFont::StaticClass().TypeInfo()));
  fontType->LoadValueFromString(gadget, u"Font.Name", u"Courier");
  EXPECT_EQ(gadget.Font->Name, u"Courier");
  EXPECT_EQ(fontType->SaveValueToString(gadget, u"Font.Name"), u"Courier");
  ExpectError<EUtRTTIError>([&] { fontType->SaveValueToString(gadget, u"Buddy.Name"); },
                            u"The property Buddy.Name of type TGadgetFont has no string value");
  ExpectError<EPropertyError>([&] { fontType->SaveValueToString(gadget, u"Nothing.Name"); },
                              u"Property Nothing does not exist");
}

TEST(PropertyWrapper, SpecifierKindsStoredAndDefault) {
  auto cls = Supports<IUtClassTypeInfo>(WrapTypeInfo(TBigGadget::StaticClass().TypeInfo()));
  auto caption = cls->GetPropNames(u"Caption");
  EXPECT_FALSE(caption->HasDefault());
  EXPECT_FALSE(caption->HasIndex());
  EXPECT_EQ(caption->GetStoredType(), pskConstant);
  EXPECT_EQ(caption->GetStoredValue(), 1u);
  EXPECT_EQ(caption->GetStoredProc(), 1u);
  EXPECT_EQ(caption->GetReaderType(), pskField);
  EXPECT_EQ(caption->GetReader() >> 24, 0xFFu);
  EXPECT_EQ(caption->GetReader() & 0xFFFFFF, caption->GetReaderValue());
  EXPECT_EQ(caption->GetPropType()->GetName(), u"string");

  auto font = cls->GetPropNames(u"Font");
  EXPECT_EQ(font->GetReaderType(), pskStaticMethod);
  EXPECT_EQ(font->GetWriterType(), pskConstant) << "no writer reads as the constant 0";
  EXPECT_EQ(font->GetWriterValue(), 0u);

  auto depth = cls->GetPropNames(u"depth");
  EXPECT_TRUE(depth->HasIndex());
  EXPECT_EQ(depth->GetIndex(), 2);
  EXPECT_TRUE(depth->HasDefault());
  EXPECT_EQ(depth->GetDefault(), 5);
  EXPECT_EQ(depth->GetReader(), 0xFF000048u);
  EXPECT_EQ(depth->GetWriter(), 0xFE00001Cu);
  EXPECT_EQ(depth->GetWriterType(), pskVirtualMethod);
  EXPECT_EQ(depth->GetWriterValue(), 0x1Cu);
  EXPECT_EQ(depth->GetStoredType(), pskStaticMethod);
  EXPECT_EQ(depth->GetStoredValue(), 0x401A2Cu);
  EXPECT_EQ(depth->GetNameIndex(), 11);
  TBigGadget gadget(nullptr);
  EXPECT_TRUE(depth->IsStored(gadget));
  EXPECT_FALSE(cls->GetPropNames(u"Name")->IsStored(gadget));
}

TEST(ClassWrapper, OwnPropertiesFirstThenTheParentsNumbering) {
  auto cls = Supports<IUtClassTypeInfo>(WrapTypeInfo(TBigGadget::StaticClass().TypeInfo()));
  EXPECT_EQ(&cls->GetClassRef(), &TBigGadget::StaticClass());
  EXPECT_EQ(cls->GetUnitName(), u"Gadgets");
  EXPECT_EQ(cls->GetPropertyCount(), 1);
  EXPECT_EQ(cls->GetTotalPropertyCount(), 12);  // Name, Tag, nine of TGadget, Depth
  EXPECT_EQ(cls->GetProperties(0)->GetName(), u"Depth");
  EXPECT_EQ(cls->GetProperties(cls->GetPropertyCount())->GetName(), u"Size") << "the parent's first own property";
  EXPECT_EQ(cls->GetProperties(10)->GetName(), u"Name");
  EXPECT_EQ(cls->GetProperties(11)->GetName(), u"Tag");
  EXPECT_THROW(cls->GetProperties(12), EUtRTTIError);
  EXPECT_THROW(cls->GetProperties(-1), EUtRTTIError);
  EXPECT_EQ(cls->GetPropNames(u"Nothing"), nullptr);
  EXPECT_EQ(cls->GetParent()->GetName(), u"TGadget");
  auto root = Supports<IUtClassTypeInfo>(WrapTypeInfo(TObjectClass().TypeInfo()));
  EXPECT_EQ(root->GetParent(), nullptr);
}

TEST(EventWrapper, ParametersRecordSizesAndResult) {
  auto lookup = Supports<IUtEventTypeInfo>(WrapTypeInfo(Lookup()));
  EXPECT_EQ(lookup->GetMethodKind(), mkFunction);
  EXPECT_EQ(lookup->GetParameterCount(), 6);
  EXPECT_EQ(lookup->GetResultTypeName(), u"Boolean");
  auto key = lookup->GetParameters(0);
  EXPECT_EQ(key->GetName(), u"Key");
  EXPECT_EQ(key->GetTypeName(), u"string");
  EXPECT_EQ(key->GetFlags(), ParamFlagBit(pfVar));
  EXPECT_EQ(key->GetRecSize(), 3 + 3 + 6);
  EXPECT_EQ(&key->GetParam(), &Lookup().Params()[0]);
  EXPECT_THROW(lookup->GetParameters(6), EUtRTTIError);
  auto notify = Supports<IUtEventTypeInfo>(WrapTypeInfo(DescribeType(TypeTag<TNotifyEvent>{})));
  EXPECT_EQ(notify->GetResultTypeName(), u"");
}

TEST(InterfaceAndArrayWrappers, ParentsIdentifiersAndElements) {
  auto storable = Supports<IUtInterfaceTypeInfo>(WrapTypeInfo(Storable()));
  EXPECT_EQ(storable->GetParent()->GetName(), u"IUnknown");
  EXPECT_EQ(storable->GetParent()->GetParent(), nullptr);
  EXPECT_EQ(GUIDToString(storable->GetGUID()), u"{5F2A8C6D-E193-47B0-B5D2-0A6E94C31F78}");
  EXPECT_EQ(storable->GetPropertyCount(), 5);
  EXPECT_EQ(storable->GetUnitName(), u"Storage");
  auto dispatch = Supports<IUtInterfaceTypeInfo>(WrapTypeInfo(Dispatch()));
  EXPECT_EQ(dispatch->GetGUID(), TGUID{}) << "no identifier without ifHasGuid";

  auto integers = Supports<IUtDynArrayTypeInfo>(WrapTypeInfo(IntegerArray()));
  EXPECT_EQ(integers->GetElementSize(), 4);
  EXPECT_EQ(integers->GetElementType()->GetName(), u"Integer");
  EXPECT_FALSE(integers->GetElementsNeedCleanup());
  EXPECT_EQ(integers->GetVarType(), 3);
  static const TDynArrayTypeInfo untyped(u"TUntyped", u"Letters", 8, nullptr, 0, true);
  auto none = Supports<IUtDynArrayTypeInfo>(WrapTypeInfo(untyped));
  EXPECT_EQ(none->GetElementType(), nullptr);
  EXPECT_TRUE(none->GetElementsNeedCleanup());
}

}  // namespace
