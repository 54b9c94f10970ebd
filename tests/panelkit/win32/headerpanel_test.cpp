// The header panel on a form read from its form file: a collapsed panel
// that expands by its button and by a click on its body, collapses by its
// button, gives back its full width, follows resizing, and paints its
// header (saved for a person to look at).
#include "panelkit/win32/headerpanel.h"

#include "panelkit/win32/panelkittest.h"
#include "panelkit/win32/shareddraw.h"
#include "ui/extctrls.h"

class THeaderPanelForm : public TForm {
  KST_CLASS(THeaderPanelForm, TForm)
 public:
  using TForm::TForm;
  TPxHeaderPanel* Inspector = nullptr;
  TPanel* InspectorBody = nullptr;
  TPxHeaderPanel* Browser = nullptr;

  std::vector<std::string> Events;
  bool Refuse = false;

  void BrowserChange(TObject*) { Events.push_back(Browser->Expanded() ? "change:expanded" : "change:collapsed"); }
  void BrowserCollapse(TObject*, bool& accept) {
    Events.push_back("collapse");
    accept = !Refuse;
  }
  void BrowserExpand(TObject*, bool& accept) {
    Events.push_back("expand");
    accept = !Refuse;
  }
  void BrowserHeaderClick(TObject*) { Events.push_back("header"); }
};

KST_CLASS_IMPL(THeaderPanelForm, "PanelKitTests")

void THeaderPanelForm::Describe(TClassBuilder<THeaderPanelForm>& c) {
  c.Field(u"Inspector", &THeaderPanelForm::Inspector);
  c.Field(u"InspectorBody", &THeaderPanelForm::InspectorBody);
  c.Field(u"Browser", &THeaderPanelForm::Browser);
  c.Method(u"BrowserChange", &THeaderPanelForm::BrowserChange);
  c.Method(u"BrowserCollapse", &THeaderPanelForm::BrowserCollapse);
  c.Method(u"BrowserExpand", &THeaderPanelForm::BrowserExpand);
  c.Method(u"BrowserHeaderClick", &THeaderPanelForm::BrowserHeaderClick);
}

namespace {

class HeaderPanelTest : public PanelKitTest {
 protected:
  void SetUp() override {
    PanelKitTest::SetUp();
    FRegistry.RegisterClasses({&THeaderPanelForm::StaticClass()});
  }
  THeaderPanelForm& Panels() {
    if (!FPanels) {
      FPanels = CreateForm<THeaderPanelForm>(FApp.get());
      FPanels->Show();
      Pump();
      FPanels->Events.clear();
    }
    return *FPanels;
  }
  void Click(TPxHeaderPanel& panel, TPoint at) {
    harness::SendClick(panel.Handle(), at.X, at.Y);
    Pump();
  }
  THeaderPanelForm* FPanels = nullptr;
};

TEST_F(HeaderPanelTest, ReadFromItsFormCollapsedWithItsFullWidth) {
  THeaderPanelForm& f = Panels();
  EXPECT_FALSE(f.Browser->Expanded());
  EXPECT_EQ(f.Browser->Width(), 33);
  EXPECT_EQ(f.Browser->FullWidth(), 312);
  EXPECT_EQ(f.Browser->HeaderSize(), 20);
  EXPECT_EQ(f.Browser->ColorScheme(), csSilver2010);
  EXPECT_EQ(f.Browser->Options(), (THeaderOptions{hoClickOnBodyExpand, hoCollapseButton}));
  EXPECT_EQ(f.Browser->Caption(), u"Class Browser");
  EXPECT_TRUE(f.Inspector->Expanded());
  EXPECT_EQ(f.Inspector->Options(), THeaderOptions{});
  // The aligned child fills the area below the header.
  EXPECT_EQ(f.InspectorBody->Top(), 20);
  EXPECT_EQ(f.InspectorBody->Width(), f.Inspector->ClientWidth());
  EXPECT_TRUE(f.Events.empty());
}

TEST_F(HeaderPanelTest, TheButtonExpandsAndCollapsesKeepingTheFullWidth) {
  THeaderPanelForm& f = Panels();
  Click(*f.Browser, Centre(f.Browser->GetButtonRect()));
  EXPECT_TRUE(f.Browser->Expanded());
  EXPECT_EQ(f.Browser->Width(), 312);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"header", "expand", "change:expanded"}));
  EXPECT_EQ(f.Browser->Left(), f.ClientWidth() - 312) << "still on the right edge";

  f.Events.clear();
  Click(*f.Browser, Centre(f.Browser->GetButtonRect()));
  EXPECT_FALSE(f.Browser->Expanded());
  EXPECT_EQ(f.Browser->Width(), 33);
  EXPECT_EQ(f.Browser->FullWidth(), 312);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"header", "collapse", "change:collapsed"}));

  // Refused: nothing changes, and a collapsed panel still takes the focus.
  f.Refuse = true;
  f.Events.clear();
  Click(*f.Browser, Centre(f.Browser->GetButtonRect()));
  EXPECT_FALSE(f.Browser->Expanded());
  EXPECT_EQ(f.Events, (std::vector<std::string>{"header", "expand"}));
  EXPECT_EQ(GetFocus(), f.Browser->Handle());
}

TEST_F(HeaderPanelTest, ABodyClickExpandsWithoutAsking) {
  THeaderPanelForm& f = Panels();
  f.Refuse = true;
  Click(*f.Browser, Point(15, 150));
  EXPECT_TRUE(f.Browser->Expanded());
  EXPECT_EQ(f.Browser->Width(), 312);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"change:expanded"}));
  // The inspector has neither button nor body expansion.
  f.Inspector->SetExpanded(false);
  Click(*f.Inspector, Point(15, 150));
  Click(*f.Inspector, Centre(f.Inspector->GetButtonRect()));
  EXPECT_FALSE(f.Inspector->Expanded());
}

TEST_F(HeaderPanelTest, ResizingCollapsesAndKeepsTheLastWidthAboveTheLimit) {
  THeaderPanelForm& f = Panels();
  TPxHeaderPanel& p = *f.Inspector;
  p.SetWidth(40);
  Pump();
  EXPECT_TRUE(p.Expanded());
  EXPECT_EQ(p.FullWidth(), 40);
  p.SetWidth(20);  // dragged below the limit
  Pump();
  EXPECT_FALSE(p.Expanded());
  EXPECT_EQ(p.Width(), 33);
  EXPECT_EQ(p.FullWidth(), 40) << "the collapsed width is no width to expand to";
  p.SetExpanded(true);
  EXPECT_EQ(p.Width(), 40);
  // Setting the same state fires nothing; a collapse by property asks no one.
  f.Events.clear();
  f.Browser->SetExpanded(false);
  EXPECT_TRUE(f.Events.empty());
  f.Browser->SetExpanded(true);
  f.Browser->SetExpanded(false);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"change:expanded", "change:collapsed"}));
}

TEST_F(HeaderPanelTest, TheGlyphIsDrawnTransparentAndClickable) {
  THeaderPanelForm& f = Panels();
  TPxHeaderPanel& p = *f.Inspector;
  TBitmap glyph(16, 16, pf24bit);
  glyph.Canvas().Brush().SetColor(0x0000FF);
  glyph.Canvas().FillRect(Rect(0, 0, 16, 16));
  glyph.Canvas().Brush().SetColor(0x00FF00);
  glyph.Canvas().FillRect(Rect(0, 8, 16, 16));  // the bottom half in the colour of its bottom-left pixel
  p.SetGlyph(&glyph);
  std::vector<std::string> events;
  p.OnHeaderClick = [&](TObject*) { events.push_back("header"); };
  p.OnGlyphClick = [&](TObject*) { events.push_back("glyph"); };
  Pump();
  const TRect at = p.GlyphRect();
  EXPECT_EQ(at, Bounds(5, 2, 16, 16));
  harness::Bitmap32 picture = harness::PaintClient(p.Handle());
  EXPECT_EQ(picture.PixelColor(10, 4), RGB(255, 0, 0)) << "the glyph's upper half";
  EXPECT_NE(picture.PixelColor(10, 14), RGB(0, 255, 0)) << "its transparent lower half shows the header";
  Click(p, Point(10, 5));
  Click(p, Point(100, 5));
  Click(p, Point(10, 100));
  EXPECT_EQ(events, (std::vector<std::string>{"header", "glyph", "header"}));
}

TEST_F(HeaderPanelTest, HeaderStylesAndDisplayStyles) {
  THeaderPanelForm& f = Panels();
  TPxHeaderPanel& p = *f.Inspector;
  p.SetAdaptiveColors(false);
  p.SetHeaderColor(0x3080C0);
  f.InspectorBody->SetVisible(false);
  const wchar_t* names[] = {L"flat", L"normal", L"section", L"vista", L"live"};
  for (int style = psFlat; style <= psWindowsLive; ++style) {
    p.SetHeaderStyle(static_cast<TPxHeaderStyle>(style));
    harness::Bitmap32 picture = harness::PaintClient(p.Handle());
    SavePicture(picture, (std::wstring(L"panelkit-header-") + names[style] + L".bmp").c_str());
    if (style == psFlat) {
      EXPECT_EQ(picture.PixelColor(150, 10), static_cast<COLORREF>(0x3080C0));
    }
    if (style == psVista) {
      EXPECT_EQ(picture.PixelColor(150, 19), RGB(0, 0, 0)) << "black below the sheen";
    }
    EXPECT_EQ(picture.PixelColor(150, 100), static_cast<COLORREF>(ResolveColor(p.Color()))) << "the body";
  }
  f.InspectorBody->SetVisible(true);
  p.SetInnerMargins(nullptr);
  TPxMargins margins;
  margins.SetRect(3, 4, 5, 6);
  p.SetInnerMargins(&margins);
  Pump();
  EXPECT_EQ(f.InspectorBody->Top(), 24);
  EXPECT_EQ(f.InspectorBody->Left(), 3);
  p.SetDisplayStyle(headerdisplay::dsPanelOnly);
  Pump();
  EXPECT_EQ(f.InspectorBody->Top(), 4) << "no header: children start at the top margin";
  p.SetDisplayStyle(headerdisplay::dsHeaderOnly);
  Pump();
  EXPECT_EQ(p.ClientHeight(), 20);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(HeaderPanelTest, PaintsItsHeaderAndButton) {
  THeaderPanelForm& f = Panels();
  f.Inspector->SetCaption(u"Inspector of Button1");
  Pump();
  harness::Bitmap32 inspector = harness::PaintClient(f.Inspector->Handle());
  // The header's gradient runs between the scheme's header colours; the body is the window colour.
  const COLORREF top = inspector.PixelColor(150, 2);
  const COLORREF bottom = inspector.PixelColor(150, 17);
  EXPECT_NE(top, bottom);
  EXPECT_EQ(inspector.PixelColor(150, 1), static_cast<COLORREF>(ResolveColor(SchemeColor(12, csSilver2010))));
  EXPECT_EQ(inspector.PixelColor(150, 19), static_cast<COLORREF>(ResolveColor(SchemeColor(13, csSilver2010))));
  // Caption text: some dark pixels in the caption's place.
  int dark = 0;
  for (int x = 9; x < 120; ++x)
    for (int y = 3; y < 17; ++y)
      if ((inspector.Pixel(x, y) & 0xFF) < 0x80) ++dark;
  EXPECT_GT(dark, 20);

  // The collapsed browser: its arrow in the button, no caption.
  harness::Bitmap32 collapsed = harness::PaintClient(f.Browser->Handle());
  const TRect button = f.Browser->GetButtonRect();
  int arrow = 0;
  for (int x = button.Left; x < button.Right; ++x)
    for (int y = button.Top; y < button.Bottom; ++y)
      if (collapsed.PixelColor(x, y) == RGB(0x40, 0x40, 0x40)) ++arrow;
  EXPECT_EQ(arrow, 24);

  harness::SendMouseMove(f.Browser->Handle(), Centre(button).X, Centre(button).Y);
  Pump();
  EXPECT_TRUE(f.Browser->ButtonState().Contains(btHover));
  SavePicture(harness::PaintClient(f.Browser->Handle()), L"panelkit-header-collapsed.bmp");
  Click(*f.Browser, Point(15, 150));
  SavePicture(harness::PaintClient(f.Handle()), L"panelkit-header-form.bmp");
  SavePicture(harness::PaintClient(f.Inspector->Handle()), L"panelkit-header-inspector.bmp");
  SavePicture(harness::PaintClient(f.Browser->Handle()), L"panelkit-header-expanded.bmp");
  EXPECT_TRUE(FExceptions.empty());
}

}  // namespace
