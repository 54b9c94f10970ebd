#include "rtl/variant.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <variant>

#include "rtl/exceptions.h"
#include "rtl/unicode.h"

// Test output: the type's name and the value's text where it has one.
void PrintTo(const Variant& value, std::ostream* os) {
  *os << StringToUTF8(VarTypeAsText(value.VarType()));
  try {
    *os << " " << StringToUTF8(value.AsString());
  } catch (const Exception&) {
  }
}

namespace {

Currency Money(Int64 scaled) {
  return Currency::FromScaled(scaled);
}

// ---- Construction ---------------------------------------------------------------

TEST(VariantConstruction, TagsEachValueWithThePlatformTypeCode) {
  struct {
    Variant value;
    TVarType type;
  } cases[] = {{Variant(), varEmpty},
               {Null(), varNull},
               {Unassigned(), varEmpty},
               {Variant(static_cast<ShortInt>(-1)), varShortInt},
               {Variant(static_cast<Byte>(1)), varByte},
               {Variant(static_cast<SmallInt>(-1)), varSmallint},
               {Variant(static_cast<Word>(1)), varWord},
               {Variant(-1), varInteger},
               {Variant(1u), varLongWord},
               {Variant(Int64{-1}), varInt64},
               {Variant(UInt64{1}), varUInt64},
               {Variant(1.5f), varSingle},
               {Variant(1.5), varDouble},
               {Variant(Money(15000)), varCurrency},
               {Variant::FromDate(1.5), varDate},
               {Variant(true), varBoolean},
               {Variant(u"text"), varUString},
               {Variant(String(u"text")), varUString},
               {Variant(u'x'), varUString},
               {Variant::FromString(u"text", varOleStr), varOleStr},
               {Variant::FromString(u"text", varString), varString}};
  for (const auto& c : cases) EXPECT_EQ(c.value.VarType(), c.type) << StringToUTF8(VarTypeAsText(c.type));
  EXPECT_EQ(0x0003, varInteger);
  EXPECT_EQ(0x000B, varBoolean);
  EXPECT_EQ(0x0102, varUString);
}

TEST(VariantConstruction, IdenticalMeansSameTypeAndValue) {
  EXPECT_EQ(Variant(5), Variant(5));
  EXPECT_NE(Variant(5), Variant(Int64{5}));
  EXPECT_NE(Variant(1.5), Variant::FromDate(1.5));
  EXPECT_NE(Variant(u"a"), Variant::FromString(u"a", varOleStr));
  EXPECT_EQ(Null(), Null());
  EXPECT_NE(Null(), Variant());
  Variant v = 7;
  VarClear(v);
  EXPECT_TRUE(VarIsClear(v));
  EXPECT_TRUE(VarIsEmpty(v));
  EXPECT_TRUE(VarIsNull(Null()));
}

TEST(VariantTypes, HaveThePlatformNames) {
  const std::pair<TVarType, const char16_t*> names[] = {{varEmpty, u"Empty"},
                                                        {varNull, u"Null"},
                                                        {varSmallint, u"Smallint"},
                                                        {varInteger, u"Integer"},
                                                        {varSingle, u"Single"},
                                                        {varDouble, u"Double"},
                                                        {varCurrency, u"Currency"},
                                                        {varDate, u"Date"},
                                                        {varOleStr, u"OleStr"},
                                                        {varDispatch, u"Dispatch"},
                                                        {varError, u"Error"},
                                                        {varBoolean, u"Boolean"},
                                                        {varVariant, u"Variant"},
                                                        {varUnknown, u"Unknown"},
                                                        {0x000E, u"Decimal"},
                                                        {0x000F, u"$000F"},
                                                        {varShortInt, u"ShortInt"},
                                                        {varByte, u"Byte"},
                                                        {varWord, u"Word"},
                                                        {varLongWord, u"LongWord"},
                                                        {varInt64, u"Int64"},
                                                        {varUInt64, u"UInt64"},
                                                        {varString, u"String"},
                                                        {varUString, u"UnicodeString"},
                                                        {0x0FFF, u"$0FFF"},
                                                        {varArray | varInteger, u"Array Integer"},
                                                        {varByRef | varDouble, u"ByRef Double"}};
  for (const auto& [type, name] : names) EXPECT_EQ(VarTypeAsText(type), name);
  EXPECT_TRUE(VarIsOrdinal(Variant(true)));
  EXPECT_TRUE(VarIsOrdinal(Variant(UInt64{1})));
  EXPECT_FALSE(VarIsOrdinal(Variant(1.0)));
  EXPECT_TRUE(VarIsFloat(Variant(Money(1))));
  EXPECT_FALSE(VarIsFloat(Variant::FromDate(1)));
  EXPECT_TRUE(VarIsNumeric(Variant(static_cast<Byte>(1))));
  EXPECT_FALSE(VarIsNumeric(Variant(u"1")));
  EXPECT_TRUE(VarIsStr(Variant::FromString(u"", varString)));
}

// ---- Conversion table -------------------------------------------------------------

enum class Fails { No, Cast, Overflow };

struct ConversionCase {
  const char* name;
  Variant source;
  TVarType target;
  Variant expected;  // the converted value, or the error's text below
  Fails fails = Fails::No;
  const char16_t* message = u"";
};

ConversionCase Converts(const char* name, Variant source, TVarType target, Variant expected) {
  return {name, std::move(source), target, std::move(expected)};
}

ConversionCase Overflows(const char* name, Variant source, TVarType target, const char16_t* message) {
  return {name, std::move(source), target, Variant(), Fails::Overflow, message};
}

ConversionCase Refuses(const char* name, Variant source, TVarType target, const char16_t* message) {
  return {name, std::move(source), target, Variant(), Fails::Cast, message};
}

class VariantConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(VariantConversion, FollowsThePlatformRules) {
  const ConversionCase& c = GetParam();
  switch (c.fails) {
    case Fails::No: EXPECT_EQ(VarAsType(c.source, c.target), c.expected); break;
    case Fails::Cast:
      try {
        VarAsType(c.source, c.target);
        ADD_FAILURE() << "no error";
      } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), c.message);
      }
      break;
    case Fails::Overflow:
      try {
        VarAsType(c.source, c.target);
        ADD_FAILURE() << "no error";
      } catch (const EVariantOverflowError& e) {
        EXPECT_EQ(e.Message(), c.message);
      }
      break;
  }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    ToIntegers, VariantConversion,
    ::testing::Values(
        Converts("FitsByte", Variant(255), varByte, Variant(static_cast<Byte>(255))),
        Overflows("NegativeIntoByte", Variant(-1), varByte,
                  u"Overflow while converting variant of type (Integer) into type (Byte)"),
        Overflows("Int64IntoInteger", Variant(Int64{5000000000}), varInteger,
                  u"Overflow while converting variant of type (Int64) into type (Integer)"),
        Overflows("UInt64IntoInt64", Variant(std::numeric_limits<UInt64>::max()), varInt64,
                  u"Overflow while converting variant of type (UInt64) into type (Int64)"),
        Overflows("NegativeIntoUInt64", Variant(Int64{-1}), varUInt64,
                  u"Overflow while converting variant of type (Int64) into type (UInt64)"),
        Converts("HalfToEven", Variant(2.5), varInteger, Variant(2)),
        Converts("HalfToEvenUp", Variant(3.5), varInteger, Variant(4)),
        Converts("NegativeHalf", Variant(-2.5), varSmallint, Variant(static_cast<SmallInt>(-2))),
        Converts("SingleRounds", Variant(6.75f), varInt64, Variant(Int64{7})),
        Overflows("HugeDouble", Variant(1e20), varInt64,
                  u"Overflow while converting variant of type (Double) into type (Int64)"),
        Overflows("NotANumber", Variant(kNaN), varInteger,
                  u"Overflow while converting variant of type (Double) into type (Integer)"),
        Converts("CurrencyHalfToEven", Variant(Money(25000)), varInteger, Variant(2)),
        Converts("CurrencyAboveHalf", Variant(Money(15001)), varInteger, Variant(2)),
        Converts("CurrencyNegative", Variant(Money(-35000)), varInteger, Variant(-4)),
        Converts("DateRounds", Variant::FromDate(1.75), varInteger, Variant(2)),
        Converts("TrueIsMinusOne", Variant(true), varInteger, Variant(-1)),
        Converts("FalseIsZero", Variant(false), varInt64, Variant(Int64{0})),
        Overflows("TrueIntoByte", Variant(true), varByte,
                  u"Overflow while converting variant of type (Boolean) into type (Byte)"),
        Converts("EmptyIsZero", Variant(), varInteger, Variant(0)),
        Refuses("NullIsNoNumber", Null(), varInteger, u"Could not convert variant of type (Null) into type (Integer)"),
        Converts("Decimal", Variant(u" 42"), varInteger, Variant(42)),
        Converts("Hexadecimal", Variant(u"$FF"), varInteger, Variant(255)),
        Converts("FloatText", Variant(u"2.5"), varInteger, Variant(2)),
        Converts("ExponentText", Variant(u"1e3"), varWord, Variant(static_cast<Word>(1000))),
        Converts("TrueText", Variant(u"true"), varInteger, Variant(-1)),
        Converts("LargestUnsigned", Variant(u"18446744073709551615"), varUInt64,
                 Variant(std::numeric_limits<UInt64>::max())),
        Converts("OleStrText", Variant::FromString(u"7", varOleStr), varByte, Variant(static_cast<Byte>(7))),
        Overflows("TextTooLarge", Variant(u"99999999999"), varInteger,
                  u"Overflow while converting variant of type (UnicodeString) into type (Integer)"),
        Refuses("Words", Variant(u"abc"), varInteger,
                u"Could not convert variant of type (UnicodeString) into type (Integer)"),
        Refuses("EmptyText", Variant(u""), varInt64,
                u"Could not convert variant of type (UnicodeString) into type (Int64)"),
        Refuses("NativeText", Variant::FromString(u"x", varString), varShortInt,
                u"Could not convert variant of type (String) into type (ShortInt)")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    ToFloatsCurrencyAndDates, VariantConversion,
    ::testing::Values(
        Converts("IntegerToDouble", Variant(3), varDouble, Variant(3.0)),
        Converts("TrueToDouble", Variant(true), varDouble, Variant(-1.0)),
        Converts("CurrencyToDouble", Variant(Money(12345)), varDouble, Variant(1.2345)),
        Converts("SingleToDouble", Variant(0.5f), varDouble, Variant(0.5)),
        Converts("DateToDouble", Variant::FromDate(-1.25), varDouble, Variant(-1.25)),
        Converts("TextToDouble", Variant(u"1.5"), varDouble, Variant(1.5)),
        Converts("TrueTextToDouble", Variant(u"True"), varDouble, Variant(-1.0)),
        Converts("EmptyToDouble", Variant(), varDouble, Variant(0.0)),
        Refuses("CommaIsNoPoint", Variant(u"1,5"), varDouble,
                u"Could not convert variant of type (UnicodeString) into type (Double)"),
        Overflows("TextBeyondDouble", Variant(u"1e999"), varDouble,
                  u"Overflow while converting variant of type (UnicodeString) into type (Double)"),
        Overflows("DoubleBeyondSingle", Variant(1e300), varSingle,
                  u"Overflow while converting variant of type (Double) into type (Single)"),
        Converts("TextToSingle", Variant(u"0.1"), varSingle, Variant(0.1f)),
        Refuses("NullToDouble", Null(), varDouble, u"Could not convert variant of type (Null) into type (Double)"),
        Converts("IntegerToCurrency", Variant(5), varCurrency, Variant(Money(50000))),
        Converts("DoubleToCurrencyRounds", Variant(1.23456), varCurrency, Variant(Money(12346))),
        Converts("TextToCurrency", Variant(u"12.34"), varCurrency, Variant(Money(123400))),
        Converts("TrueToCurrency", Variant(true), varCurrency, Variant(Money(-10000))),
        Overflows("Int64ToCurrency", Variant(std::numeric_limits<Int64>::max()), varCurrency,
                  u"Overflow while converting variant of type (Int64) into type (Currency)"),
        Overflows("DoubleToCurrency", Variant(1e300), varCurrency,
                  u"Overflow while converting variant of type (Double) into type (Currency)"),
        Overflows("TextToCurrencyTooLarge", Variant(u"1e300"), varCurrency,
                  u"Overflow while converting variant of type (UnicodeString) into type (Currency)"),
        Refuses("WordsToCurrency", Variant(u"x"), varCurrency,
                u"Could not convert variant of type (UnicodeString) into type (Currency)"),
        Converts("IntegerToDate", Variant(2), varDate, Variant::FromDate(2)),
        Converts("TextToDate", Variant(u"2/3/2001 6:00 PM"), varDate,
                 Variant::FromDate(EncodeDateTime(2001, 2, 3, 18, 0, 0, 0))),
        Converts("NumberTextToDate", Variant(u"36925.5"), varDate, Variant::FromDate(36925.5)),
        Overflows("DoubleBeyondDates", Variant(1e10), varDate,
                  u"Overflow while converting variant of type (Double) into type (Date)"),
        Refuses("WordsToDate", Variant(u"abc"), varDate,
                u"Could not convert variant of type (UnicodeString) into type (Date)"),
        Refuses("NullToDate", Null(), varDate, u"Could not convert variant of type (Null) into type (Date)")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    ToBooleansAndTexts, VariantConversion,
    ::testing::Values(
        Converts("ZeroIsFalse", Variant(0), varBoolean, Variant(false)),
        Converts("TwoIsTrue", Variant(2), varBoolean, Variant(true)),
        Converts("HalfIsTrue", Variant(0.5), varBoolean, Variant(true)),
        Converts("CurrencyZero", Variant(Money(0)), varBoolean, Variant(false)),
        Converts("UpperTrue", Variant(u"TRUE"), varBoolean, Variant(true)),
        Converts("LowerFalse", Variant(u"false"), varBoolean, Variant(false)),
        Converts("ZeroText", Variant(u"0"), varBoolean, Variant(false)),
        Converts("NumberText", Variant(u"-2.5"), varBoolean, Variant(true)),
        Converts("EmptyIsFalse", Variant(), varBoolean, Variant(false)),
        Refuses("Yes", Variant(u"yes"), varBoolean,
                u"Could not convert variant of type (UnicodeString) into type (Boolean)"),
        Refuses("NullToBoolean", Null(), varBoolean, u"Could not convert variant of type (Null) into type (Boolean)"),
        Converts("Integer", Variant(-5), varUString, Variant(u"-5")),
        Converts("Unsigned", Variant(std::numeric_limits<UInt64>::max()), varUString, Variant(u"18446744073709551615")),
        Converts("True", Variant(true), varUString, Variant(u"True")),
        Converts("False", Variant(false), varOleStr, Variant::FromString(u"False", varOleStr)),
        Converts("Double", Variant(1.5), varUString, Variant(u"1.5")),
        Converts("ThirdOfOne", Variant(1.0 / 3), varUString, Variant(u"0.333333333333333")),
        // A single shows the digits of its binary value, as an extended float would.
        Converts("Single", Variant(0.1f), varUString, Variant(u"0.100000001490116")),
        Converts("Currency", Variant(Money(125000)), varUString, Variant(u"12.5")),
        Converts("DateAndTime", Variant::FromDate(EncodeDateTime(2001, 2, 3, 14, 5, 6, 0)), varUString,
                 Variant(u"2/3/2001 2:05:06 PM")),
        Converts("DateOnly", Variant::FromDate(EncodeDate(2001, 2, 3)), varString,
                 Variant::FromString(u"2/3/2001", varString)),
        Converts("EmptyText", Variant(), varUString, Variant(u"")),
        Converts("NullText", Null(), varUString, Variant(u"")), Converts("ToEmpty", Variant(5), varEmpty, Variant()),
        Converts("ToNull", Variant(u"x"), varNull, Null()), Converts("NullStaysNull", Null(), varNull, Null()),
        Refuses("NoDispatch", Variant(5), varDispatch,
                u"Could not convert variant of type (Integer) into type (Dispatch)")),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VariantText, NullReadsAsEmptyOrTheFallback) {
  EXPECT_EQ(VarToStr(Null()), u"");
  EXPECT_EQ(VarToStrDef(Null(), u"n/a"), u"n/a");
  EXPECT_EQ(VarToStrDef(Variant(3), u"n/a"), u"3");
  EXPECT_EQ(VarToStr(Variant()), u"");
}

// Every kind of value a form stream reads into a variant comes back through
// its own accessor as stored, and through text as the writer's fallback.
TEST(VariantConversion, KeepsEveryKindTheFormStreamHolds) {
  EXPECT_EQ(Variant(static_cast<ShortInt>(-128)).AsInt64(), -128);
  EXPECT_EQ(Variant(static_cast<SmallInt>(-32768)).AsInt64(), -32768);
  EXPECT_EQ(Variant(std::numeric_limits<Integer>::min()).AsInt64(), std::numeric_limits<Integer>::min());
  EXPECT_EQ(Variant(std::numeric_limits<Int64>::min()).AsInt64(), std::numeric_limits<Int64>::min());
  EXPECT_EQ(Variant(static_cast<Byte>(200)).AsInt64(), 200);
  EXPECT_EQ(Variant(static_cast<Word>(60000)).AsInt64(), 60000);
  EXPECT_EQ(Variant(4000000000u).AsInt64(), 4000000000);
  EXPECT_EQ(Variant(1.25f).AsSingle(), 1.25f);
  EXPECT_EQ(Variant(0.1).AsDouble(), 0.1);
  EXPECT_EQ(Variant(MinCurrency).AsCurrency(), MinCurrency);
  EXPECT_EQ(Variant::FromDate(-1.25).AsDate(), -1.25);
  EXPECT_EQ(Variant(u"\u00E9t\u00E9").AsString(), u"\u00E9t\u00E9");
  EXPECT_TRUE(Variant(true).AsBoolean());
  EXPECT_FALSE(Variant(false).AsBoolean());
  // Text written for a value reads back as that value.
  for (const Variant& v : {Variant(-7), Variant(0.1), Variant(1e-300), Variant(Money(-12345)),
                           Variant::FromDate(EncodeDateTime(2001, 2, 3, 4, 5, 6, 0)), Variant(true)}) {
    EXPECT_EQ(VarAsType(Variant(v.AsString()), v.VarType()), v) << StringToUTF8(v.AsString());
  }
}

// ---- Comparison -----------------------------------------------------------------------

struct CompareCase {
  const char* name;
  Variant a, b;
  TVariantRelationship expected;
};

class VariantComparison : public ::testing::TestWithParam<CompareCase> {};

TEST_P(VariantComparison, RelatesValuesAcrossTypes) {
  const CompareCase& c = GetParam();
  EXPECT_EQ(VarCompareValue(c.a, c.b), c.expected);
  EXPECT_EQ(VarSameValue(c.a, c.b), c.expected == vrEqual);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VariantComparison,
    ::testing::Values(CompareCase{"EmptyEmpty", Variant(), Variant(), vrEqual},
                      CompareCase{"EmptyZero", Variant(), Variant(0), vrNotEqual},
                      CompareCase{"ZeroEmpty", Variant(0), Variant(), vrNotEqual},
                      CompareCase{"NullNull", Null(), Null(), vrEqual},
                      CompareCase{"NullEmpty", Null(), Variant(), vrNotEqual},
                      CompareCase{"TextNull", Variant(u""), Null(), vrNotEqual},
                      CompareCase{"IntegerDouble", Variant(5), Variant(5.0), vrEqual},
                      CompareCase{"Int64Byte", Variant(Int64{5}), Variant(static_cast<Byte>(5)), vrEqual},
                      CompareCase{"UnsignedAboveSigned", Variant(std::numeric_limits<UInt64>::max()),
                                  Variant(Int64{-1}), vrGreaterThan},
                      CompareCase{"LargeIntegersExactly", Variant(Int64{9007199254740993}),
                                  Variant(Int64{9007199254740992}), vrGreaterThan},
                      CompareCase{"Texts", Variant(u"abc"), Variant(u"abd"), vrLessThan},
                      CompareCase{"TextCase", Variant(u"a"), Variant(u"A"), vrGreaterThan},
                      CompareCase{"TextKinds", Variant::FromString(u"x", varOleStr), Variant(u"x"), vrEqual},
                      CompareCase{"TextAgainstNumber", Variant(u"10"), Variant(9), vrGreaterThan},
                      CompareCase{"NumberAgainstText", Variant(9), Variant(u"10"), vrLessThan},
                      CompareCase{"TextAgainstBoolean", Variant(u"True"), Variant(true), vrEqual},
                      CompareCase{"TextAgainstDate", Variant(u"2/3/2001"), Variant::FromDate(EncodeDate(2001, 2, 3)),
                                  vrEqual},
                      CompareCase{"CurrencyDouble", Variant(Money(15000)), Variant(1.5), vrEqual},
                      CompareCase{"Currencies", Variant(Money(1)), Variant(Money(2)), vrLessThan},
                      CompareCase{"FalseBeforeTrue", Variant(false), Variant(true), vrLessThan},
                      CompareCase{"TrueIsMinusOne", Variant(true), Variant(-1), vrEqual},
                      CompareCase{"NaN", Variant(kNaN), Variant(kNaN), vrNotEqual}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VariantComparison, RefusesTextThatIsNoNumber) {
  EXPECT_THROW(VarCompareValue(Variant(u"abc"), Variant(5)), EVariantTypeCastError);
  EXPECT_THROW(VarSameValue(Variant(1.5), Variant(u"x")), EVariantTypeCastError);
}

}  // namespace
