// What the page control draws: every tab style above and below its pages
// (saved for a person to look at), the active tab's colours, the scheme
// colours a page follows, and the shared drawing routines on bitmaps.
#include "panelkit/win32/panelkittest.h"

#include "panelkit/win32/shareddraw.h"
#include "ui/stdctrls.h"

namespace {

// A page control of its own on the test form's place, three pages.
TPxPageControl* MakeStrip(TPageKitForm& form, pxtabs::TTabStyle style, pxtabs::TTabPosition position) {
  form.pc->SetVisible(false);
  auto* pc = new TPxPageControl(&form);
  pc->SetParent(&form);
  pc->SetBounds(0, 0, 420, 120);
  pc->SetTabStyle(style);
  pc->SetTabPosition(position);
  pc->SetBackgroundKind(bkSolid);
  pc->SetOptions({pgBoldActiveTab, pgScrollButtons, pgTabsPopup, pgCloseButton, pgTopBorder});
  for (const char16_t* caption : {u"Properties", u"Events", u"Origin"}) {
    auto* page = new TPxTabSheet(&form);
    page->SetPageControl(pc);
    page->SetCaption(caption);
  }
  pc->SetActivePageIndex(1);
  return pc;
}

const wchar_t* StyleName(pxtabs::TTabStyle style) {
  switch (style) {
    case pxtabs::tsClassic: return L"classic";
    case pxtabs::tsFlat: return L"flat";
    case pxtabs::tsOneNote: return L"onenote";
    case pxtabs::tsWhidbey: return L"whidbey";
    case pxtabs::tsDexter: return L"dexter";
  }
  return L"?";
}

TEST_F(PanelKitTest, EveryTabStyleDrawsItsActiveTab) {
  TPageKitForm& f = Form();
  for (pxtabs::TTabStyle style : {pxtabs::tsClassic, pxtabs::tsFlat, pxtabs::tsOneNote, pxtabs::tsWhidbey, pxtabs::tsDexter}) {
    for (pxtabs::TTabPosition position : {pxtabs::tpTop, pxtabs::tpBottom}) {
      TPxPageControl* pc = MakeStrip(f, style, position);
      harness::Bitmap32 picture = harness::PaintClient(pc->Handle());
      std::wstring name =
          std::wstring(L"panelkit-tabs-") + StyleName(style) + (position == pxtabs::tpTop ? L"-top" : L"-bottom");
      SavePicture(picture, (name + L".bmp").c_str());
      const TRect active = pc->GetTabRect(1);
      // Inside the active tab, away from its caption and slanted edge.
      const Integer x = style == pxtabs::tsDexter ? active.Right - 14 : active.Right - 5;
      const Integer y = position == pxtabs::tpTop ? active.Bottom - 3 : active.Top + 3;
      const COLORREF expected = style == pxtabs::tsClassic ? GetSysColor(COLOR_BTNFACE) : GetSysColor(COLOR_WINDOW);
      EXPECT_EQ(picture.PixelColor(x, y), expected) << "style " << style << " position " << position;
      delete pc;
    }
  }
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PanelKitTest, APageFollowsTheSchemeTheSchemeComponentSets) {
  TPageKitForm& f = Form();
  f.pc->SetActivePage(f.PxTabSheet3);  // a gradient page: its colour down to the scheme's light fill
  for (int s = csBlack; s <= csBlack2010; ++s) {
    auto scheme = static_cast<TColorScheme>(s);
    f.Scheme->SetColorScheme(scheme);
    EXPECT_EQ(CurrentColorScheme(), scheme);
    harness::Bitmap32 page = harness::PaintClient(f.PxTabSheet3->Handle());
    const COLORREF bottom = page.PixelColor(10, page.Height() - 1);
    const TColor expected = BlendRatio(f.PxTabSheet3->Color(), SchemeColor(3, scheme),
                                       static_cast<double>(page.Height() - 1) / page.Height());
    EXPECT_EQ(bottom, static_cast<COLORREF>(expected)) << "scheme " << s;
    EXPECT_EQ(page.PixelColor(10, 0), static_cast<COLORREF>(ResolveColor(f.PxTabSheet3->Color()))) << "scheme " << s;
    // The active tab keeps its own colour whatever the scheme.
    harness::Bitmap32 strip = harness::PaintClient(f.pc->Handle());
    const TRect tab = f.pc->GetTabRect(2);
    EXPECT_EQ(strip.PixelColor(tab.Right - 5, tab.Top + 3), GetSysColor(COLOR_WINDOW)) << "scheme " << s;
    if (scheme == csBlue) SavePicture(strip, L"panelkit-pages-bottom.bmp");
  }
}

TEST_F(PanelKitTest, TheSchemeComponentReportsOnlyRealChangesAndRepaintsEitherWay) {
  TPageKitForm& f = Form();
  int changes = 0;
  f.Scheme->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  f.Scheme->SetColorScheme(CurrentColorScheme());
  EXPECT_EQ(changes, 0);
  f.Scheme->SetColorScheme(csBlack);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(SchemeColor(3, csDefault), 0xF2F1F0);
  auto* later = new TPxColorScheme(&f);
  EXPECT_EQ(later->ColorScheme(), csBlack) << "a new component starts at the current scheme";
}

TEST_F(PanelKitTest, TheRepaintWalkReachesEveryMemberInOrder) {
  TPageKitForm& f = Form();
  auto* label = new TLabel(&f);
  label->SetParent(&f);
  AddToRepaintList(f.pc);
  AddToRepaintList(label);
  AddToRepaintList(f.gpc);
  EXPECT_EQ(RepaintList(), (std::vector<TControl*>{f.pc, label, f.gpc}));
  Pump();
  ValidateRect(f.pc->Handle(), nullptr);
  f.Scheme->SetColorScheme(CurrentColorScheme());
  RECT pending{};
  EXPECT_TRUE(GetUpdateRect(f.pc->Handle(), &pending, FALSE)) << "repainted without a change of scheme";
  RemoveFromRepaintList(label);
  RemoveFromRepaintList(label);
  EXPECT_EQ(RepaintList(), (std::vector<TControl*>{f.pc, f.gpc}));
  RemoveFromRepaintList(f.pc);
  RemoveFromRepaintList(f.gpc);
  EXPECT_TRUE(RepaintList().empty());
  EXPECT_EQ(FRegistry.FindClass(u"TPxColorScheme")->FindProperty(u"ColorScheme")->PropType().Name(), u"TColorSchemes");
}

TEST_F(PanelKitTest, OutlandishSizesFromAFormPaintWithoutHarm) {
  TPageKitForm& f = Form();
  for (pxtabs::TTabStyle style : {pxtabs::tsClassic, pxtabs::tsFlat, pxtabs::tsOneNote, pxtabs::tsWhidbey, pxtabs::tsDexter}) {
    TPxPageControl* pc = MakeStrip(f, style, pxtabs::tpBottom);
    pc->SetTabHeight(2000000000);
    pc->SetTopIndent(-2000000000);
    pc->SetTabMargin(2000000000);
    pc->SetMargin(2000000000);
    pc->SetBackgroundKind(bkVertGradient);
    pc->Pages(0)->SetTabWidth(-2000000000);
    harness::Bitmap32 picture = harness::PaintClient(pc->Handle());
    EXPECT_EQ(picture.Width(), pc->ClientWidth());
    (void)pc->GetTabAtPos(10, 10);
    pc->ScrollTabs(2000000000);
    EXPECT_GE(pc->ScrollPos(), 0);
    delete pc;
  }
  f.gpc->SetTabPadding(2000000000);
  f.gpc->SetTabSpacing(-2000000000);
  f.gpc->SetTopIndent(2000000000);
  (void)harness::PaintClient(f.gpc->Handle());
  EXPECT_EQ(f.gpc->GetTabAtPos(5, 5), nullptr);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PanelKitTest, TheStylesTestNeverRaises) {
  bool themed = true;
  EXPECT_NO_THROW(themed = IsThemed());
  EXPECT_FALSE(IsPaintSuppressed());
  EXPECT_EQ(GetStyleColor(12), themed ? TColor{0xB99D7F} : clGrayText);
  EXPECT_EQ(GetStyleColor(13), clNone);
  EXPECT_EQ(GetStyleColor(4), 0x8CD5FF);
  // An unknown styles class draws nothing and raises nothing.
  harness::Bitmap32 picture = harness::PaintInto(
      20, 20, [](HDC dc) { DrawThemeElement(nullptr, dc, Rect(0, 0, 20, 20), u"no such class", 1, 1); });
  EXPECT_EQ(picture.Width(), 20);
}

// A 24-bit bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled(Integer w, Integer h, TColor color, TPixelFormat format = pf24bit) {
  auto bitmap = std::make_unique<TBitmap>(w, h, format);
  bitmap->Canvas().Brush().SetColor(color);
  bitmap->Canvas().FillRect(Rect(0, 0, w, h));
  return bitmap;
}

TEST(SharedDraw, GradientsAndGlass) {
  auto bitmap = Filled(10, 10, 0x123456);
  TCanvas& c = bitmap->Canvas();
  FillVertGradient(c, Rect(0, 0, 10, 0), clBlack, clWhite);
  FillVertGradient(c, Rect(0, 5, 10, 2), clBlack, clWhite);
  EXPECT_EQ(c.Pixels(3, 3), 0x123456) << "an empty or inverted rectangle draws nothing";
  FillVertGradient(c, Rect(0, 0, 10, 10), clBlack, clWhite);
  EXPECT_EQ(c.Pixels(3, 0), 0x000000);
  EXPECT_EQ(c.Pixels(3, 9), BlendRatio(clBlack, clWhite, 0.9)) << "the last row is not quite the second colour";
  FillHorzGradient(c, Rect(0, 0, 10, 10), 0x0000FF, 0xFF0000);
  EXPECT_EQ(c.Pixels(0, 4), 0x0000FF);
  EXPECT_EQ(c.Pixels(5, 4), BlendRatio(0x0000FF, 0xFF0000, 0.5));
  DrawGlass(c, Rect(0, 0, 10, 10), 0xFF0000, 0x0000FF, 0);
  EXPECT_EQ(c.Pixels(5, 0), BlendWeighted(0x0000FF, 0xFF0000, 0));
  DrawGlass(c, Rect(0, 0, 10, 10), 0xFF0000, 0x0000FF, 5);
  EXPECT_EQ(c.Pixels(5, 0), BlendWeighted(BlendWeighted(0x0000FF, 0xFF0000, 0), 0xFFFFFF, 0));
}

TEST(SharedDraw, TheSheenWhitensOnlyTheTopRows) {
  for (Integer height : {10, 100}) {
    auto bitmap = Filled(4, height, 0x404040);
    DrawTopSheen(bitmap->Canvas(), Rect(0, 0, 4, height));
    const Integer changed = height == 10 ? 5 : 22;
    EXPECT_EQ(bitmap->Canvas().Pixels(1, 0), BlendWeighted(clWhite, 0x404040, 150)) << height;
    EXPECT_NE(bitmap->Canvas().Pixels(1, changed - 1), 0x404040) << height;
    EXPECT_EQ(bitmap->Canvas().Pixels(1, changed), 0x404040) << height;
  }
}

TEST(SharedDraw, AlphaBitmapsAndGrey) {
  auto canvasBitmap = Filled(8, 8, 0x808080);
  auto picture = Filled(4, 4, 0x0000FF, pf32bit);
  for (Integer row = 0; row < 4; ++row) {
    auto* p = static_cast<Byte*>(picture->ScanLine(row));
    for (Integer x = 0; x < 4; ++x) p[x * 4 + 3] = 0;
  }
  DrawAlphaBitmap(canvasBitmap->Canvas(), 2, 2, *picture);
  EXPECT_EQ(canvasBitmap->Canvas().Pixels(3, 3), 0x7F7F7F) << "alpha 0: 255/256 of the background";
  EXPECT_EQ(canvasBitmap->Canvas().Pixels(0, 0), 0x808080);
  DrawBitmapOverColor(canvasBitmap->Canvas(), 0, 0, *picture, 0x00FF00);
  EXPECT_EQ(canvasBitmap->Canvas().Pixels(1, 1), 0x00FE00);
  auto plain = Filled(4, 4, 0x00FF00);
  DrawAlphaBitmap(canvasBitmap->Canvas(), 4, 4, *plain);
  EXPECT_EQ(canvasBitmap->Canvas().Pixels(5, 5), 0x00FF00) << "24 bits: drawn as it is";
  DrawBitmapClipped(canvasBitmap->Canvas(), Rect(0, 0, 2, 2), *Filled(4, 4, 0xFF0000));
  EXPECT_EQ(canvasBitmap->Canvas().Pixels(1, 1), 0xFF0000);
  EXPECT_EQ(canvasBitmap->Canvas().Pixels(2, 2), 0x00FE00) << "cut to the rectangle";
  auto grey = Filled(2, 2, 0x0000FF);
  MakeGrayscale(*grey);
  EXPECT_EQ(grey->Canvas().Pixels(0, 0), 0x555555);
  auto colours = Filled(8, 8, clWhite, pf4bit);
  colours->Canvas().Brush().SetColor(clBlack);
  colours->Canvas().FillRect(Rect(2, 2, 6, 6));
  EXPECT_NO_THROW(MakeGrayscale(*colours));
  EXPECT_TRUE(colours->Transparent());
  EXPECT_THROW(BlendWeighted(clBlack, clWhite, 256), EAssertionFailed);
}

}  // namespace
