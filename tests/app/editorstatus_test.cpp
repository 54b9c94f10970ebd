#include "app/editorstatus.h"

#include <gtest/gtest.h>

#include <vector>

TEST(EditorStatus, CaretLine) {
  EXPECT_EQ(CaretStatusText({5, 12, 65, 40, 1}), u"Col: 5  Ln: 12  Chr: 65(41h)  Cnt: 40  Sel: 1");
  EXPECT_EQ(CaretStatusText({1, 1, 0, 0, 0}), u"Col: 1  Ln: 1  Chr: 0(0h)  Cnt: 0  Sel: 0");
  EXPECT_EQ(CaretStatusText({1, 1, 0x20AC, 1, 0}), u"Col: 1  Ln: 1  Chr: 8364(20ACh)  Cnt: 1  Sel: 0");
  EXPECT_EQ(CharCodeAt(u"ABC", 1), 65);
  EXPECT_EQ(CharCodeAt(u"ABC", 4), 0);
  EXPECT_EQ(CharCodeAt(u"", 1), 0);
  EXPECT_EQ(CharCodeAt(u"ABC", 0), 0);
}

TEST(EditorStatus, MessageLines) {
  struct Case {
    const char16_t* Line;
    const char16_t* Caption;
    Integer Image;
  } cases[] = {
      {u"ERROR=Class TFoo not found", u"Class TFoo not found", miError},
      {u"warn=a=b", u"a=b", miWarning},
      {u"Info=", u"", miInformation},
      {u"NOTE=x", u"x", miNone},
      {u"no separator", u"", miNone},
  };
  for (const Case& c : cases) {
    TMessageItem item = MessageItem(c.Line);
    EXPECT_EQ(item.Caption, c.Caption);
    EXPECT_EQ(item.ImageIndex, c.Image);
  }
  EXPECT_EQ(MessageItem(u"ERROR=" + String(2000, u'x')).Caption.size(), 1024u);
  EXPECT_EQ(MessagesCaption(1), u"Messages (1)");
}

TEST(EditorStatus, HexDataLines) {
  std::vector<Byte> bytes(33);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<Byte>(i * 7 + 0xA0);
  String text = HexDataText(bytes.data(), bytes.size());
  TStringList lines;
  lines.SetTextStr(text);
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines[0].size(), 64u);
  EXPECT_EQ(lines[1], u"80");  // 32 * 7 + 0xA0 = 0x180, a byte 0x80
  EXPECT_EQ(lines[2], u"");
  EXPECT_EQ(lines[0].substr(0, 6), u"A0A7AE");
  EXPECT_EQ(HexDataText(nullptr, 0), u"\r\n");
  std::vector<Byte> full(32, 0xFF);
  EXPECT_EQ(HexDataText(full.data(), full.size()), String(64, u'F') + u"\r\n\r\n");
}
