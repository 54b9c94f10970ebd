// The mini-HTML texts drawn on a canvas: styles and colours as pixels, a
// link found under a point, a measurement, and pictures that are missing or
// damaged skipped without an error (saved for a person to look at).
#include "panelkit/win32/htmldraw.h"

#include <cstdio>

#include "panelkit/win32/panelkittest.h"
#include "rtl/unicode.h"

namespace {

const String kText =
    u"plain <b>bold</b> <i>italic</i> <font color=red>red</font> <a href=\"go:there\">link</a><br>"
    u"<background color=yellow>marked</background> <font size=12 name=\"Courier New\">big</font> "
    u"<font size=huge>odd</font><img src=\"c:\\no such.bmp\"><img src=\"DAMAGED\"> end";

harness::Bitmap32 Draw(const String& text, const String& damaged, THtmlInfo& info) {
  return harness::PaintInto(260, 60, [&](HDC dc) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(Rect(0, 0, 260, 60));
    canvas.Font().SetName(u"Tahoma");
    canvas.Font().SetSize(8);
    canvas.Font().SetColor(clBlack);
    String withFile = text;
    withFile.replace(withFile.find(u"DAMAGED"), 7, damaged);
    DrawHtmlText(canvas, Rect(4, 4, 256, 56), withFile, info, wkWordWrap, hmPaint);
    EXPECT_EQ(canvas.Brush().Style(), bsSolid);
    EXPECT_EQ(canvas.Font().Color(), clBlack);
    canvas.SetHandle(nullptr);
  });
}

int Count(const harness::Bitmap32& picture, COLORREF color) {
  int count = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.PixelColor(x, y) == color) ++count;
  return count;
}

TEST_F(PanelKitTest, HtmlTextDrawsItsStylesAndSkipsBadPictures) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring damaged = std::wstring(folder) + L"kestrum-damaged.bmp";
  if (FILE* file = _wfopen(damaged.c_str(), L"wb")) {
    fputs("BM this is no bitmap", file);
    fclose(file);
  }
  THtmlInfo info;
  harness::Bitmap32 picture = Draw(kText, String(damaged.begin(), damaged.end()), info);
  DeleteFileW(damaged.c_str());
  SavePicture(picture, L"panelkit-htmltext.bmp");
  EXPECT_GT(Count(picture, RGB(255, 0, 0)), 10) << "red text";
  EXPECT_GT(Count(picture, RGB(0, 0, 255)), 10) << "the link in blue";
  EXPECT_GT(Count(picture, RGB(255, 255, 0)), 50) << "the marked word's background";
  EXPECT_GT(info.Size.cy, 20) << "two lines";
  EXPECT_GT(info.Size.cx, 100);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PanelKitTest, HtmlTextFindsItsLinkAndMeasuresUnwrapped) {
  auto bitmap = std::make_unique<TBitmap>(100, 100, pf24bit);
  TCanvas& canvas = bitmap->Canvas();
  canvas.Font().SetName(u"Tahoma");
  canvas.Font().SetSize(8);
  THtmlInfo info;
  DrawHtmlText(canvas, Rect(0, 0, 300, 40), u"see <a href=\"go:there\">this link</a>", info, wkWordWrap, hmMeasure);
  const Integer seeWidth = canvas.TextExtent(u"see ").cx;
  const TSize whole = info.Size;
  EXPECT_EQ(whole.cx, canvas.TextExtent(u"see ").cx + canvas.TextExtent(u"this link").cx);

  THtmlInfo narrow;
  DrawHtmlText(canvas, Rect(0, 0, 30, 40), u"see <a href=\"go:there\">this link</a>", narrow, wkWordWrap, hmMeasure);
  EXPECT_EQ(narrow.Size, whole) << "a measurement does not wrap";

  THtmlInfo hit;
  DrawHtmlText(canvas, Rect(0, 0, 300, 40), u"see <a href=\"go:there\">this link</a>", hit, wkWordWrap, hmHitTest,
               TPoint{}, TPoint{seeWidth + 5, 5});
  EXPECT_EQ(hit.TagValue, u"go:there");
  THtmlInfo miss;
  DrawHtmlText(canvas, Rect(0, 0, 300, 40), u"see <a href=\"go:there\">this link</a>", miss, wkWordWrap, hmHitTest,
               TPoint{}, TPoint{2, 5});
  EXPECT_EQ(miss.TagValue, u"");
}

}  // namespace
