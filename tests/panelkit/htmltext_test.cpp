// The layout of the mini-HTML texts against a measurer with fixed character
// widths: runs and their styles, wrapping, measuring, links under a point,
// pictures, colours and markup that makes no sense.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "panelkit/htmltext.h"
#include "rtl/unicode.h"

namespace {

// Every character 6 pixels wide, 7 when bold; a line twice the font size tall.
class TFixedMeasurer : public THtmlMeasurer {
 public:
  TSize TextExtent(StringView text, const THtmlStyle& style) override {
    const Integer per = style.Style.Contains(fsBold) ? 7 : 6;
    return TSize{per * static_cast<Integer>(text.size()), style.Size * 2};
  }
  std::optional<TSize> PictureExtent(const String& fileName) override {
    ++PictureQueries;
    const auto found = Pictures.find(fileName);
    if (found == Pictures.end()) return std::nullopt;
    return found->second;
  }
  std::map<String, TSize> Pictures;
  int PictureQueries = 0;
};

struct TLaid {
  THtmlLayout Layout;
  THtmlInfo Info;
};

TLaid Lay(StringView text, THtmlMode mode = hmPaint, Integer width = 200, TPoint hit = {}) {
  TFixedMeasurer measurer;
  THtmlRequest request;
  request.Rect = Rect(0, 0, width, 100);
  request.Text = text;
  request.StartStyle.FontName = u"Tahoma";
  request.StartStyle.BackgroundColor = 0xFFFFFF;
  request.Mode = mode;
  request.HitPoint = hit;
  TLaid laid;
  laid.Layout = LayoutHtmlText(request, measurer, laid.Info);
  return laid;
}

// The runs as "text@x,y" with "*" for bold, "/" for italic, "_" for underline.
std::string Describe(const THtmlLayout& layout) {
  std::string result;
  for (const THtmlRun& run : layout.Runs) {
    if (!result.empty()) result += ' ';
    result += "[" + StringToUTF8(run.Text) + "]";
    if (run.Style.Style.Contains(fsBold)) result += '*';
    if (run.Style.Style.Contains(fsItalic)) result += '/';
    if (run.Style.Style.Contains(fsUnderline)) result += '_';
    result += "@" + std::to_string(run.Origin.X) + "," + std::to_string(run.Origin.Y);
  }
  return result;
}

TEST(HtmlLayoutTest, RunsOfTexts) {
  struct Case {
    const char16_t* Text;
    Integer Width;
    const char* Runs;
  } cases[] = {
      {u"one <b>two</b> three", 200, "[one]@0,0 [ ]@18,0 [two]*@24,0 [ ]@45,0 [three]@51,0"},
      {u"a<i>b</i>c", 200, "[a]@0,0 [b]/@6,0 [c]@12,0"},
      {u"<u>under</u>", 200, "[under]_@0,0"},
      {u"  lead", 200, "[lead]@0,0"},
      {u"one<br>two", 200, "[one]@0,0 [two]@0,16"},
      {u"<br>top", 200, "[top]@0,0"},
      {u"aaaa bbbb", 40, "[aaaa]@0,0 [ ]@24,0 [bbbb]@0,16"},
      {u"aaaaaaaaaa b", 30, "[aaaaaaaaaa]@0,0 [ ]@60,0 [b]@0,16"},
      {u"x <zz>y</zz>", 200, "[x]@0,0 [ ]@6,0 [y]@12,0"},
      {u"a & b", 200, "[a]@0,0 [ ]@6,0 [&]@12,0 [ ]@18,0 [b]@24,0"},
      {u"a < b", 200, "[a]@0,0 [ ]@6,0 [<]@12,0 [ ]@18,0 [b]@24,0"},
      {u"cut <b", 200, "[cut]@0,0 [ ]@18,0 [<b]@24,0"},
      {u"</b>x", 200, "[x]@0,0"},
      {u"<a href=\"x\">link</a>", 200, "[link]_@0,0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Describe(Lay(c.Text, hmPaint, c.Width).Layout), c.Runs) << StringToUTF8(c.Text);
  }
}

TEST(HtmlLayoutTest, FontsAndColours) {
  struct Case {
    const char16_t* Text;
    TColor Color;
    Integer Size;
    const char16_t* FontName;
    TColor Background;
  } cases[] = {
      {u"<font color=red>x</font>", 0x0000FF, 8, u"Tahoma", 0xFFFFFF},
      {u"<font color=\"red\">x</font>", 0x0000FF, 8, u"Tahoma", 0xFFFFFF},
      {u"<font color=\"#FF0000\">x</font>", 0x0000FF, 8, u"Tahoma", 0xFFFFFF},
      {u"<FONT COLOR=Lime SIZE=12 name=\"Courier New\">x</font>", 0x00FF00, 12, u"Courier New", 0xFFFFFF},
      {u"<font size=big>x</font>", 0, 8, u"Tahoma", 0xFFFFFF},
      {u"<font size=-3>x</font>", 0, 8, u"Tahoma", 0xFFFFFF},
      {u"<font color=nocolour>x</font>", 0, 8, u"Tahoma", 0xFFFFFF},
      {u"<background color=#000080>x</background>", 0, 8, u"Tahoma", 0x800000},
      {u"<a href=go>x</a>", 0xFF0000, 8, u"Tahoma", 0xFFFFFF},
  };
  for (const Case& c : cases) {
    const TLaid laid = Lay(c.Text);
    ASSERT_EQ(laid.Layout.Runs.size(), 1u) << StringToUTF8(c.Text);
    const THtmlStyle& style = laid.Layout.Runs[0].Style;
    EXPECT_EQ(style.Color, c.Color) << StringToUTF8(c.Text);
    EXPECT_EQ(style.Size, c.Size) << StringToUTF8(c.Text);
    EXPECT_EQ(style.FontName, c.FontName) << StringToUTF8(c.Text);
    EXPECT_EQ(style.BackgroundColor, c.Background) << StringToUTF8(c.Text);
  }
  // Closing any tag takes the style back.
  const TLaid after = Lay(u"<font color=red size=20>x</font>y");
  EXPECT_EQ(after.Layout.Runs[1].Style.Color, 0);
  EXPECT_EQ(after.Layout.Runs[1].Style.Size, 8);
}

TEST(HtmlLayoutTest, SizeOfPaintAndMeasurement) {
  // Two lines: 16 + 40 (a size-20 word) tall.
  EXPECT_EQ(Lay(u"ab<br><font size=20>cd</font>").Info.Size, (TSize{12, 56}));
  // Too narrow for both words: painting wraps, measuring gives one line as wide as the whole.
  EXPECT_EQ(Lay(u"aaaa bbbb", hmPaint, 40).Info.Size, (TSize{30, 32}));
  EXPECT_EQ(Lay(u"aaaa bbbb", hmMeasure, 40).Info.Size, (TSize{54, 16}));
  EXPECT_EQ(Lay(u"", hmMeasure).Info.Size, (TSize{0, 0}));
  EXPECT_EQ(Lay(u"<br>x", hmMeasure).Info.Size, (TSize{6, 16}));
}

TEST(HtmlLayoutTest, LinksFoundByPoint) {
  struct Case {
    const char16_t* Text;
    TPoint Point;
    const char16_t* Found;
  } cases[] = {
      {u"see <a href=\"http://x\">here</a> now", {30, 5}, u"http://x"},
      {u"see <a href=\"http://x\">here</a> now", {5, 5}, u"(none)"},
      {u"see <a href=\"http://x\">here</a> now", {30, 20}, u"(none)"},
      {u"see <a href=first>one</a> <a href=second>two</a>", {50, 5}, u"second"},
      {u"see <a href=first>one</a> <a href=second>two</a>", {25, 5}, u"first"},
      // Another tag inside the link hides it.
      {u"<a href=x><b>bold</b></a>", {5, 5}, u"(none)"},
      {u"<b><a href=x>bold</a></b>", {5, 5}, u"x"},
      // A link on the second line after a wrap.
      {u"aaaa <a href=w>bbbb</a>", {5, 20}, u"w"},
      {u"aaaa <a href=w>bbbb</a>", {30, 5}, u"(none)"},
  };
  for (const Case& c : cases) {
    TFixedMeasurer measurer;
    THtmlRequest request;
    request.Rect = Rect(0, 0, 40 + 160 * (c.Text[0] != u'a'), 100);
    request.Text = c.Text;
    request.Mode = hmHitTest;
    request.HitPoint = c.Point;
    THtmlInfo info;
    info.TagValue = u"(none)";
    LayoutHtmlText(request, measurer, info);
    EXPECT_EQ(info.TagValue, c.Found) << StringToUTF8(c.Text) << " at " << c.Point.X << "," << c.Point.Y;
  }
}

TEST(HtmlLayoutTest, PicturesByTheirFileNames) {
  TFixedMeasurer measurer;
  measurer.Pictures = {{u"c:\\p.bmp", TSize{20, 30}}, {u"c:\\p.BMP", TSize{20, 30}}, {u"c:\\q.jpeg", TSize{5, 5}}};
  struct Case {
    const char16_t* Text;
    size_t Pictures;
    TSize Size;
  } cases[] = {
      {u"a<img src=\"c:\\p.bmp\">b", 1, {32, 30}},
      {u"a<img src=c:\\p.BMP>b", 0, {12, 16}},  // upper-case extensions are not shown
      {u"<img src=c:\\q.jpeg>", 1, {5, 5}},
      {u"<img src=c:\\missing.bmp>x", 0, {6, 16}},
      {u"<img src=c:\\p.png>x", 0, {6, 16}},
  };
  for (const Case& c : cases) {
    THtmlRequest request;
    request.Rect = Rect(0, 0, 200, 100);
    request.Text = c.Text;
    THtmlInfo info;
    const THtmlLayout layout = LayoutHtmlText(request, measurer, info);
    EXPECT_EQ(layout.Pictures.size(), c.Pictures) << StringToUTF8(c.Text);
    EXPECT_EQ(info.Size, c.Size) << StringToUTF8(c.Text);
  }
  THtmlRequest request;
  request.Rect = Rect(0, 0, 200, 100);
  request.Text = u"ab<img src=\"c:\\p.bmp\">cd";
  THtmlInfo info;
  const THtmlLayout layout = LayoutHtmlText(request, measurer, info);
  ASSERT_EQ(layout.Pictures.size(), 1u);
  EXPECT_EQ(layout.Pictures[0].Origin, (TPoint{12, 0})) << "after the text before it, not over it";
  EXPECT_EQ(Describe(layout), "[ab]@0,0 [cd]@32,0");
}

TEST(HtmlLayoutTest, ColourNamesAndTexts) {
  EXPECT_EQ(HtmlToColor(u"Red"), 0x0000FF);
  EXPECT_EQ(HtmlToColor(u"red"), 0x0000FF);
  EXPECT_EQ(HtmlToColor(u"#FF0000"), 0x0000FF);
  EXPECT_EQ(HtmlToColor(u"#123456"), 0x563412);
  EXPECT_EQ(HtmlToColor(u"transparent"), 0xFFFFFF);
  for (const char16_t* bad : {u"", u"#", u"nocolour", u"#12345G", u"#1234567", u"red1", u"FF0000"})
    EXPECT_EQ(HtmlToColor(bad), clNone) << StringToUTF8(bad);
  EXPECT_EQ(ColorToHtml(0x0000FF), u"#FF0000");
  EXPECT_EQ(ColorToHtml(0x563412), u"#123456");
  EXPECT_EQ(HtmlToColor(ColorToHtml(0xABCDEF)), 0xABCDEF);
}

TEST(HtmlLayoutTest, MalformedMarkupIsLaidOutWithoutFault) {
  for (const char16_t* text : {u"<",
                               u"<<",
                               u"<>",
                               u"</",
                               u"</>",
                               u"<a",
                               u"<a href",
                               u"<a href=",
                               u"<a href=\"open",
                               u"<img",
                               u"<img>",
                               u"<img src=>",
                               u"</a></a></b>",
                               u"<b><b><b>x",
                               u"<font size=99999999999>x",
                               u"<font color=\">x",
                               u"<br",
                               u"< b>x</ b>",
                               u"=<a =>\"x\"",
                               u"<a href=x></b>y</a>"}) {
    const TLaid laid = Lay(text, hmHitTest, 30, TPoint{3, 3});
    EXPECT_GE(laid.Info.Size.cx, 0) << StringToUTF8(text);
  }
}

}  // namespace
