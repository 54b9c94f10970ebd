#include "classes/propaccess.h"

#include <gtest/gtest.h>

#include "classes/identmaps.h"
#include "rtl/unicode.h"

namespace {

const TEnumTypeInfo& Anchor() {
  static const TEnumTypeInfo type(u"TAnchorKind", u"Controls", {u"akLeft", u"akTop", u"akRight", u"akBottom"});
  return type;
}
const TSetTypeInfo& Anchors() {
  static const TSetTypeInfo type(u"TAnchors", u"Controls", Anchor());
  return type;
}

TEST(SetText, BothWays) {
  struct Case {
    Int64 bits;
    const char16_t* text;
  } cases[] = {{0, u"[]"}, {0b0001, u"[akLeft]"}, {0b0011, u"[akLeft,akTop]"}, {0b1111, u"[akLeft,akTop,akRight,akBottom]"}};
  for (const auto& c : cases) {
    EXPECT_EQ(SetToString(Anchors(), c.bits, true), c.text);
    EXPECT_EQ(StringToSet(Anchors(), c.text), c.bits) << StringToUTF8(c.text);
  }
  EXPECT_EQ(SetToString(Anchors(), 0b0110), u"akTop,akRight");
  EXPECT_EQ(StringToSet(Anchors(), u" [ akleft ,  AKBOTTOM ] "), 0b1001);
  EXPECT_EQ(StringToSet(Anchors(), u"akTop,akRight"), 0b0110);
  try {
    StringToSet(Anchors(), u"[akLeft, akMiddle]");
    FAIL();
  } catch (const EPropertyConvertError& e) {
    EXPECT_EQ(e.Message(), u"Invalid property element: akMiddle");
  }
}

TEST(EnumNames, InRangeAndOut) {
  EXPECT_EQ(GetEnumName(Anchor(), 2), u"akRight");
  EXPECT_EQ(GetEnumName(Anchor(), 4), u"");
  EXPECT_EQ(GetEnumName(Anchor(), -1), u"");
  EXPECT_EQ(GetEnumValue(Anchor(), u"AKBOTTOM"), 3);
  EXPECT_EQ(GetEnumValue(Anchor(), u"akNone"), -1);
  EXPECT_EQ(GetEnumValue(types::Boolean(), u"true"), 1);
  TEnumTypeInfo sub(u"TVertical", u"Controls", Anchor(), 1, 2);
  EXPECT_EQ(&sub.BaseType(), &Anchor());
  EXPECT_EQ(sub.GetEnumValue(u"akLeft"), -1) << "outside the subrange";
  EXPECT_EQ(sub.GetEnumValue(u"akRight"), 2);
}

TEST(IdentMaps, ColoursCursorsAndCharsets) {
  Integer value = 0;
  String name;
  EXPECT_TRUE(IdentToColor(u"clBtnFace", value));
  EXPECT_EQ(value, static_cast<Integer>(0xFF00000F));
  EXPECT_TRUE(ColorToIdent(0x0000FF, name));
  EXPECT_EQ(name, u"clRed");
  EXPECT_FALSE(ColorToIdent(0x123456, name));
  EXPECT_TRUE(IdentToCursor(u"crhandpoint", value));
  EXPECT_EQ(value, -21);
  EXPECT_TRUE(IdentToCursor(u"crSize", value));
  EXPECT_EQ(value, -22);
  EXPECT_TRUE(CursorToIdent(-22, name));
  EXPECT_EQ(name, u"crSizeAll");
  EXPECT_TRUE(IdentToCharset(u"DEFAULT_CHARSET", value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(CharsetToIdent(204, name));
  EXPECT_EQ(name, u"RUSSIAN_CHARSET");
  EXPECT_EQ(types::Cursor().Size(), 2);
  EXPECT_EQ(types::FontCharset().Size(), 1);
}

TEST(TypeInfo, OrdinalSizesAndSetLayout) {
  EXPECT_EQ(types::Integer().Size(), 4);
  EXPECT_EQ(types::Word().Size(), 2);
  EXPECT_EQ(Anchor().Size(), 1);
  EXPECT_EQ(Anchors().Size(), 1);
  std::vector<String> many;
  for (int i = 0; i < 20; ++i) many.push_back(u"v" + UTF8ToString(std::to_string(i)));
  TEnumTypeInfo wide(u"TWide", u"X", many);
  TSetTypeInfo wideSet(u"TWideSet", u"X", wide);
  EXPECT_EQ(wideSet.Size(), 4);
  EXPECT_EQ(wideSet.OrdType(), otULong);
}

}  // namespace
