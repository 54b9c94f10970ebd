// The option button, the progress bar and the expand panel on a form read
// from its form file: the button's hot and pressed looks and its caption
// place beside the glyph, the bar's streamed settings, and the panel folding
// by its button and the space bar, with the form following it (pictures
// saved for a person to look at).
#include "panelkit/win32/expandpanel.h"
#include "panelkit/win32/iconlist.h"
#include "panelkit/win32/infopanels.h"
#include "panelkit/win32/optionbutton.h"
#include "panelkit/win32/pathcontrol.h"
#include "panelkit/win32/toolbar.h"

#include "panelkit/win32/panelkittest.h"
#include "panelkit/win32/shareddraw.h"
#include "rtl/unicode.h"
#include "ui/extctrls.h"
#include "ui/messages.h"

// A tool item of a fixed width that paints its caption over a fill by state.
class TTestToolItem : public TPxToolItem {
  KST_CLASS(TTestToolItem, TPxToolItem)
 public:
  using TPxToolItem::TPxToolItem;
  Integer ItemWidth() const { return FItemWidth; }
  void SetItemWidth(Integer value) { FItemWidth = value; }
  void MeasureItem(TSize& size) override { size.cx = FItemWidth; }
  void PaintItem(TCanvas& canvas, const TRect& rect, Integer state) override {
    canvas.Brush().SetColor(state & kStateDown ? RGB(120, 160, 220) : state ? RGB(200, 220, 250) : RGB(235, 235, 235));
    canvas.FillRect(rect);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(rect.Left + 4, rect.Top + 5, Caption());
    canvas.Brush().SetStyle(bsSolid);
  }

 private:
  Integer FItemWidth = 0;
};

KST_CLASS_IMPL(TTestToolItem, "PanelKitTests")

void TTestToolItem::Describe(TClassBuilder<TTestToolItem>& c) {
  c.Property(u"ItemWidth", &TTestToolItem::ItemWidth, &TTestToolItem::SetItemWidth).Default(0);
}

class TCollectionKitForm : public TForm {
  KST_CLASS(TCollectionKitForm, TForm)
 public:
  using TForm::TForm;
  TPxOptionButton* Option = nullptr;
  TPxOptionButton* Disabled = nullptr;
  TPxProgressBar* Progress = nullptr;
  TPxExpandPanel* Details = nullptr;
  TPanel* DetailsBody = nullptr;
  TPxExpandPanel* Folded = nullptr;
  TPanel* FoldedBody = nullptr;
  TPxGroupHeader* Group = nullptr;
  TPxInfoPanel* Info = nullptr;
  TPxInfoPanel* HtmlInfo = nullptr;
  TPxIconList* Icons = nullptr;
  TPxToolbar* Tools = nullptr;
  TPxPathControl* Path = nullptr;
  void PathSelect(TObject*) {
    Events.push_back("path:" + (Path->Selected() ? StringToUTF8(Path->Selected()->Text()) : std::string("none")));
  }
  TTestToolItem* ToolOpen = nullptr;
  TTestToolItem* ToolSave = nullptr;
  TTestToolItem* ToolHelp = nullptr;
  void ToolClick(TObject* sender) {
    Events.push_back("tool:" + std::to_string(static_cast<TPxToolItem*>(sender)->Index()));
  }

  std::vector<std::string> Events;
  void OptionClick(TObject*) { Events.push_back("click"); }
  void DetailsCollapse(TObject*) { Events.push_back("collapse"); }
  void DetailsExpand(TObject*) { Events.push_back("expand"); }
  void IconsChange(TObject*) { Events.push_back("select:" + std::to_string(Icons->ItemIndex())); }
};

KST_CLASS_IMPL(TCollectionKitForm, "PanelKitTests")

void TCollectionKitForm::Describe(TClassBuilder<TCollectionKitForm>& c) {
  using F = TCollectionKitForm;
  c.Field(u"Option", &F::Option);
  c.Field(u"Disabled", &F::Disabled);
  c.Field(u"Progress", &F::Progress);
  c.Field(u"Details", &F::Details);
  c.Field(u"DetailsBody", &F::DetailsBody);
  c.Field(u"Folded", &F::Folded);
  c.Field(u"FoldedBody", &F::FoldedBody);
  c.Field(u"Group", &F::Group);
  c.Field(u"Info", &F::Info);
  c.Field(u"HtmlInfo", &F::HtmlInfo);
  c.Field(u"Icons", &F::Icons);
  c.Method(u"IconsChange", &F::IconsChange);
  c.Field(u"Tools", &F::Tools);
  c.Field(u"Path", &F::Path);
  c.Method(u"PathSelect", &F::PathSelect);
  c.Field(u"ToolOpen", &F::ToolOpen);
  c.Field(u"ToolSave", &F::ToolSave);
  c.Field(u"ToolHelp", &F::ToolHelp);
  c.Method(u"ToolClick", &F::ToolClick);
  c.Method(u"OptionClick", &F::OptionClick);
  c.Method(u"DetailsCollapse", &F::DetailsCollapse);
  c.Method(u"DetailsExpand", &F::DetailsExpand);
}

namespace {

// A 32 x 32 glyph: red above, green in its bottom rows (the bottom-left
// pixel decides the automatic transparent colour).
std::unique_ptr<TBitmap> MakeGlyph() {
  auto glyph = std::make_unique<TBitmap>(32, 32, pf24bit);
  glyph->Canvas().Brush().SetColor(RGB(255, 0, 0));
  glyph->Canvas().FillRect(Rect(0, 0, 32, 32));
  glyph->Canvas().Brush().SetColor(RGB(0, 255, 0));
  glyph->Canvas().FillRect(Rect(0, 24, 32, 32));
  return glyph;
}

class CollectionKitTest : public PanelKitTest {
 protected:
  void SetUp() override {
    PanelKitTest::SetUp();
    FRegistry.RegisterClasses({&TTestToolItem::StaticClass(), &TCollectionKitForm::StaticClass()});
  }
  TCollectionKitForm& Kit() {
    if (!FKit) {
      FKit = CreateForm<TCollectionKitForm>(FApp.get());
      FKit->Show();
      Pump();
      FKit->Events.clear();
    }
    return *FKit;
  }
  void Leave(TControl& control) {
    control.Perform(CM_MOUSELEAVE, 0, 0);
    Pump();
  }
  TCollectionKitForm* FKit = nullptr;
};

TEST_F(CollectionKitTest, EveryControlIsReadFromTheFormFile) {
  TCollectionKitForm& f = Kit();
  EXPECT_EQ(f.Option->Caption(), u"Open a form file");
  EXPECT_EQ(f.Option->TextSpacing(), 4);
  EXPECT_TRUE(f.Option->Transparent());
  EXPECT_EQ(f.Option->GetInnerMargins()->Left(), 6);
  EXPECT_EQ(f.Option->Color(), clBtnFace);
  EXPECT_FALSE(f.Disabled->Enabled());
  EXPECT_TRUE(f.Disabled->FixedMargin());
  EXPECT_EQ(f.Disabled->GlyphIndent(), 7);
  EXPECT_EQ(f.Disabled->WrapKind(), wkEllipsis);
  EXPECT_EQ(f.Progress->Orientation(), pbVertical);
  EXPECT_EQ(f.Progress->Step(), 25);
  EXPECT_TRUE(f.Details->Expanded());
  EXPECT_TRUE(f.Details->ResizeForm());
  EXPECT_EQ(f.Details->ExpandedText(), u"Hide details");
  EXPECT_FALSE(f.Folded->Expanded());
  EXPECT_EQ(f.Folded->Height(), 39);
  EXPECT_EQ(f.Folded->FullHeight(), 120);
  EXPECT_EQ(f.Group->GetText(), u"Form files & pages");
  EXPECT_EQ(f.Info->Options(), TInfoPanelOptions{ipBorder});
  EXPECT_EQ(f.Info->ColorScheme(), csBlue);
  EXPECT_EQ(f.Info->WrapKind(), wkWordWrap);
  EXPECT_EQ(f.HtmlInfo->Options(), (TInfoPanelOptions{ipBorder, ipStaticPanel, ipHtmlText}));
  EXPECT_EQ(f.HtmlInfo->GetOuterMargins()->Right(), 2);
  EXPECT_EQ(f.Icons->Items().Count(), 4);
  EXPECT_EQ(f.Icons->ItemIndex(), 0) << "a stored selection is not applied";
  EXPECT_EQ(f.Icons->Spacing(), 20);
  EXPECT_EQ(f.Icons->BorderColor(), clGrayText);
  ASSERT_EQ(f.Tools->GetItems()->Count(), 3);
  EXPECT_EQ(f.Tools->GetItems()->Items(2), f.ToolHelp);
  EXPECT_EQ(f.ToolHelp->Position(), tipRight);
  EXPECT_EQ(f.ToolOpen->Owner(), &f);
  EXPECT_TRUE(FExceptions.empty());
  SavePicture(harness::CaptureScreen(f.Handle()), L"panelkit-collection-form.bmp");
}

TEST_F(CollectionKitTest, NewControlsHaveTheirDefaults) {
  TPxOptionButton option(nullptr);
  EXPECT_EQ(option.Color(), clBtnFace);
  EXPECT_EQ(option.GlyphIndent(), 5);
  EXPECT_EQ(option.TextSpacing(), 2);
  EXPECT_EQ(option.TransparentColor(), clNone);
  EXPECT_EQ(option.WrapKind(), wkWordWrap);
  TPxProgressBar bar(nullptr);
  EXPECT_EQ(bar.Orientation(), pbHorizontal);
  EXPECT_EQ(bar.Step(), 10);
  TPxExpandPanel panel(nullptr);
  EXPECT_EQ(panel.Width(), 245);
  EXPECT_EQ(panel.Height(), 145);
  EXPECT_TRUE(panel.Expanded());
  EXPECT_EQ(panel.GetButtonRect(), Rect(10, 10, 29, 29));
  TRect client = Rect(0, 0, 245, 145);
  panel.AdjustClientRect(client);
  EXPECT_EQ(client.Top, 39);
}

TEST_F(CollectionKitTest, OptionButtonIsFlatUntilThePointerComesAndStaysHotWhilePressed) {
  TCollectionKitForm& f = Kit();
  TPxOptionButton& b = *f.Option;
  const COLORREF face = ResolveColor(clBtnFace);
  EXPECT_EQ(harness::PaintClient(b.Handle()).PixelColor(0, 0), face) << "flat";
  harness::SendMouseMove(b.Handle(), 100, 30);
  Pump();
  EXPECT_TRUE(b.Hover());
  harness::SendMouseDown(b.Handle(), 100, 30);
  Pump();
  EXPECT_TRUE(b.Down());
  Leave(b);
  EXPECT_TRUE(b.Hover()) << "leaving while pressed keeps the hot look";
  harness::SendMouseUp(b.Handle(), 100, 30);
  Pump();
  EXPECT_FALSE(b.Down());
  EXPECT_TRUE(b.Hover());
  EXPECT_EQ(f.Events, std::vector<std::string>{"click"});
  Leave(b);
  EXPECT_FALSE(b.Hover());
  EXPECT_EQ(harness::PaintClient(b.Handle()).PixelColor(0, 0), face);
}

TEST_F(CollectionKitTest, CaptionFollowsTheGlyphUnlessTheMarginIsFixed) {
  TCollectionKitForm& f = Kit();
  TPxOptionButton& b = *f.Disabled;
  const auto glyph = MakeGlyph();
  b.SetGlyph(glyph.get());
  EXPECT_EQ(b.CaptionRect().Left, 0) << "fixed margin";
  b.SetFixedMargin(false);
  EXPECT_EQ(b.CaptionRect().Left, 40);
  EXPECT_FALSE(b.GrayGlyph()->Empty());
  // Disabled, the grey copy is drawn: no pure red at the glyph.
  const harness::Bitmap32 picture = harness::PaintClient(b.Handle());
  SavePicture(picture, L"panelkit-option-disabled.bmp");
  const COLORREF pixel = picture.PixelColor(10, 10);
  EXPECT_EQ(GetRValue(pixel), GetGValue(pixel));
  EXPECT_EQ(GetGValue(pixel), GetBValue(pixel));
}

TEST_F(CollectionKitTest, TransparencyTakesTheSetColourOrTheBottomLeftPixel) {
  TCollectionKitForm& f = Kit();
  TPxOptionButton& b = *f.Option;
  const auto glyph = MakeGlyph();
  b.SetGlyph(glyph.get());
  EXPECT_TRUE(b.GetGlyph()->Transparent());
  EXPECT_EQ(b.GetGlyph()->TransparentColor() & 0xFFFFFF, static_cast<TColor>(RGB(0, 255, 0)));
  const harness::Bitmap32 picture = harness::PaintClient(b.Handle());
  EXPECT_EQ(picture.PixelColor(10, 10), RGB(255, 0, 0)) << "the glyph's upper part";
  EXPECT_EQ(picture.PixelColor(10, 34), static_cast<COLORREF>(ResolveColor(clBtnFace))) << "its transparent rows";
  b.SetTransparentColor(RGB(255, 0, 0));
  EXPECT_EQ(b.GetGlyph()->TransparentColor() & 0xFFFFFF, static_cast<TColor>(RGB(255, 0, 0)));
  EXPECT_TRUE(b.GrayGlyph()->Transparent());
  b.SetTransparent(false);
  EXPECT_FALSE(b.GetGlyph()->Transparent());
  EXPECT_FALSE(b.GrayGlyph()->Transparent());
}

TEST_F(CollectionKitTest, ProgressBarSettingsChangeNothingOnScreen) {
  TCollectionKitForm& f = Kit();
  const harness::Bitmap32 before = harness::PaintClient(f.Progress->Handle());
  f.Progress->SetStep(50);
  f.Progress->SetOrientation(pbHorizontal);
  const harness::Bitmap32 after = harness::PaintClient(f.Progress->Handle());
  for (int y = 0; y < before.Height(); y += 5)
    for (int x = 0; x < before.Width(); x += 5) ASSERT_EQ(before.Pixel(x, y), after.Pixel(x, y));
  EXPECT_EQ(before.PixelColor(10, 10), static_cast<COLORREF>(ResolveColor(f.Progress->Color())));
}

TEST_F(CollectionKitTest, ExpandPanelFoldsByItsButtonAndTheFormFollows) {
  TCollectionKitForm& f = Kit();
  TPxExpandPanel& p = *f.Details;
  const Integer formHeight = f.Height();
  const TPoint button = Centre(p.GetButtonRect());
  harness::SendClick(p.Handle(), button.X, button.Y);
  Pump();
  EXPECT_FALSE(p.Expanded());
  EXPECT_EQ(p.Height(), 39);
  EXPECT_FALSE(f.DetailsBody->Visible());
  EXPECT_EQ(f.Height(), formHeight - (180 - 39));
  EXPECT_EQ(f.Events, std::vector<std::string>{"collapse"});
  SavePicture(harness::CaptureScreen(f.Handle()), L"panelkit-collection-folded.bmp");
  // Pressed on the button, released outside: still a toggle.
  harness::SendMouseDown(p.Handle(), button.X, button.Y);
  harness::SendMouseUp(p.Handle(), 200, 30);
  Pump();
  EXPECT_TRUE(p.Expanded());
  EXPECT_EQ(p.Height(), 180);
  EXPECT_TRUE(f.DetailsBody->Visible());
  EXPECT_EQ(f.Height(), formHeight);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"collapse", "expand"}));
}

TEST_F(CollectionKitTest, ExpandPanelTakesTheFocusAndFoldsByTheSpaceBar) {
  TCollectionKitForm& f = Kit();
  TPxExpandPanel& p = *f.Folded;
  harness::SendClick(p.Handle(), 200, 20);
  Pump();
  EXPECT_TRUE(p.Focused());
  EXPECT_FALSE(p.Expanded()) << "a click beside the button only focuses";
  harness::SendKey(p.Handle(), VK_SPACE);
  Pump();
  EXPECT_TRUE(p.Expanded());
  EXPECT_EQ(p.Height(), 120) << "the height stored with the collapsed panel";
  EXPECT_TRUE(f.FoldedBody->Visible());
  harness::SendKey(p.Handle(), VK_SPACE);
  Pump();
  EXPECT_FALSE(p.Expanded());
  EXPECT_EQ(p.Height(), 39);
}

TEST_F(CollectionKitTest, ExpandPanelPaintsItsHeaderAndButtonStates) {
  TCollectionKitForm& f = Kit();
  TPxExpandPanel& p = *f.Details;
  harness::Bitmap32 picture = harness::PaintClient(p.Handle());
  EXPECT_EQ(picture.PixelColor(100, 0), RGB(0xDF, 0xDF, 0xDF));
  EXPECT_EQ(picture.PixelColor(100, 38), RGB(0xDF, 0xDF, 0xDF));
  EXPECT_EQ(picture.PixelColor(5, 20), RGB(0xF0, 0xF0, 0xF0));
  const COLORREF normal = picture.PixelColor(12 + 3, 19);
  const TPoint button = Centre(p.GetButtonRect());
  harness::SendMouseMove(p.Handle(), button.X, button.Y);
  Pump();
  EXPECT_TRUE(p.Hover());
  picture = harness::PaintClient(p.Handle());
  SavePicture(picture, L"panelkit-expand-hover.bmp");
  EXPECT_NE(picture.PixelColor(12 + 3, 19), normal) << "the face turns blue under the pointer";
  Leave(p);
  EXPECT_FALSE(p.Hover());
}

// The form's picture at a control's client point.
COLORREF PixelOf(TCollectionKitForm& form, const TControl& control, Integer x, Integer y) {
  return harness::PaintClient(form.Handle()).PixelColor(control.Left() + x, control.Top() + y);
}

TEST_F(CollectionKitTest, GroupHeaderFillsWithItsSchemeAndPlacesItsCaptionAfterTheGlyph) {
  TPxGroupHeader header(nullptr);
  EXPECT_EQ(header.Width(), 200);
  EXPECT_EQ(header.Height(), 22);
  EXPECT_EQ(header.ColorScheme(), csBlue);
  EXPECT_EQ(header.CaptionLeft(), 2);
  TCollectionKitForm& f = Kit();
  TPxGroupHeader& g = *f.Group;
  EXPECT_EQ(PixelOf(f, g, 250, 5), static_cast<COLORREF>(0xEEE7DD)) << "role 8 of the blue scheme";
  EXPECT_EQ(PixelOf(f, g, 250, 21), static_cast<COLORREF>(0xC5C5C5)) << "the bottom line";
  TBitmap glyph(16, 16, pf24bit);
  glyph.Canvas().Brush().SetColor(RGB(255, 0, 0));
  glyph.Canvas().FillRect(Rect(0, 0, 16, 16));
  g.SetGlyph(&glyph);
  EXPECT_EQ(g.CaptionLeft(), 20);
  Pump();
  EXPECT_EQ(PixelOf(f, g, 6, 11), RGB(255, 0, 0)) << "the glyph, centred";
  g.SetGlyphVisible(false);
  EXPECT_EQ(g.CaptionLeft(), 2);
  // The solid fill ignores Color; the gradients end in it.
  g.SetColor(RGB(0, 0, 255));
  Pump();
  EXPECT_EQ(PixelOf(f, g, 250, 5), static_cast<COLORREF>(0xEEE7DD));
  g.SetFillStyle(fsHorzGradient);
  Pump();
  const COLORREF end = PixelOf(f, g, 259, 5);
  EXPECT_GE(GetBValue(end), 250);
  EXPECT_LE(GetRValue(end) + GetGValue(end), 8) << "the gradient ends in Color";
}

TEST_F(CollectionKitTest, InfoPanelFillFollowsThePointerUnlessStatic) {
  TCollectionKitForm& f = Kit();
  TPxInfoPanel& p = *f.Info;
  const auto fill = [&] { return PixelOf(f, p, 200, 70); };
  EXPECT_EQ(fill(), static_cast<COLORREF>(ResolveColor(SchemeColor(4, csBlue))));
  EXPECT_EQ(PixelOf(f, p, 0, 40), RGB(0, 0, 0)) << "the frame";
  p.Perform(CM_MOUSEENTER, 0, 0);
  Pump();
  EXPECT_EQ(p.ButtonState(), TButtonState{btHover});
  EXPECT_EQ(fill(), static_cast<COLORREF>(ResolveColor(SchemeColor(20, csBlue))));
  p.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  Pump();
  EXPECT_EQ(fill(), static_cast<COLORREF>(ResolveColor(SchemeColor(21, csBlue))));
  TColor frame = 0, fillColor = 0, text = 0;
  p.GetColors(frame, fillColor, text);
  EXPECT_EQ(text, clHighlightText);
  p.Perform(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  p.Perform(CM_MOUSELEAVE, 0, 0);
  Pump();
  EXPECT_EQ(p.ButtonState(), TButtonState{});
  SavePicture(harness::PaintClient(f.Handle()), L"panelkit-info-panels.bmp");
  TPxInfoPanel& still = *f.HtmlInfo;
  still.Perform(CM_MOUSEENTER, 0, 0);
  still.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_EQ(still.ButtonState(), TButtonState{}) << "a static panel";
  still.Perform(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
}

TEST_F(CollectionKitTest, InfoPanelBodyStartsBelowTheCaptionBySpacing) {
  TCollectionKitForm& f = Kit();
  TPxInfoPanel& p = *f.Info;
  const Integer withCaption = p.BodyRect().Top;
  EXPECT_GT(withCaption, 6 + 4);
  p.SetCaption(u"");
  EXPECT_EQ(p.BodyRect().Top, 6) << "the content's top";
  p.SetSpacing(10);
  p.SetCaption(u"Tip");
  EXPECT_EQ(p.BodyRect().Top, withCaption + 6);
}

TEST_F(CollectionKitTest, IconListThumbFollowsTheContentWidth) {
  struct Case {
    Integer items;
    Integer content;
    Integer calculated;
    Integer thumb;
  };
  const Case cases[] = {{10, 720, -320, 10}, {6, 432, -32, 10}, {4, 288, 112, 112}};
  auto images = MakeIcons(1);
  for (const Case& c : cases) {
    TPxIconList list(nullptr);
    list.SetBounds(0, 0, 210, 110);
    list.SetImages(images.get());
    for (Integer i = 0; i < c.items; ++i) list.Items().Add(u"item");
    EXPECT_EQ(list.GetContentWidth(), c.content) << c.items;
    EXPECT_EQ(list.CalcThumbWidth(), c.calculated) << c.items;
    EXPECT_EQ(list.GetThumbWidth(), c.thumb) << c.items;
  }
}

TEST_F(CollectionKitTest, IconListSelectsByClickAndScrollsByKeys) {
  TCollectionKitForm& f = Kit();
  TPxIconList& list = *f.Icons;
  auto images = MakeIcons(4);
  list.SetImages(images.get());
  Pump();
  const TRect second = list.GetItemRect(1, false);
  EXPECT_EQ(second.Left, 92) << "one pitch of 72 after the first icon at 20";
  harness::SendMouseMove(list.Handle(), Centre(second).X, Centre(second).Y);
  Pump();
  EXPECT_EQ(list.HoverIndex(), 1);
  harness::SendClick(list.Handle(), Centre(second).X, Centre(second).Y);
  Pump();
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_TRUE(list.Focused());
  EXPECT_EQ(f.Events, std::vector<std::string>{"select:1"});
  SavePicture(harness::PaintClient(list.Handle()), L"panelkit-icon-list.bmp");
  // The selected icon is drawn 5 pixels beyond its place on the left.
  const harness::Bitmap32 picture = harness::PaintClient(list.Handle());
  EXPECT_NE(picture.PixelColor(second.Left - 3, second.Top + 10), static_cast<COLORREF>(ResolveColor(clWindow)));
  const TRect first = list.GetItemRect(0, false);
  EXPECT_EQ(picture.PixelColor(first.Left - 3, first.Top + 10), static_cast<COLORREF>(ResolveColor(clWindow)));
  // Four items fit with a 112-pixel thumb: the arrows move it a pixel at a time.
  harness::SendKey(list.Handle(), VK_RIGHT);
  harness::SendKey(list.Handle(), VK_RIGHT);
  Pump();
  EXPECT_EQ(list.Position(), 2);
  EXPECT_EQ(list.Indent(), 2);
  harness::SendKey(list.Handle(), VK_LEFT);
  Pump();
  EXPECT_EQ(list.Position(), 1);
  harness::SendKey(list.Handle(), VK_LEFT);
  harness::SendKey(list.Handle(), VK_LEFT);
  Pump();
  EXPECT_EQ(list.Position(), 0) << "never before the track";
  harness::SendClick(list.Handle(), 5, 5);
  Pump();
  EXPECT_EQ(list.ItemIndex(), 1) << "a click beside the items keeps the selection";
}

TEST_F(CollectionKitTest, IconListLetsGoOfAFreedImageList) {
  TCollectionKitForm& f = Kit();
  auto images = MakeIcons(2);
  f.Icons->SetImages(images.get());
  Pump();
  images.reset();
  EXPECT_EQ(f.Icons->Images(), nullptr);
  const harness::Bitmap32 picture = harness::PaintClient(f.Icons->Handle());
  EXPECT_EQ(picture.PixelColor(0, 0), static_cast<COLORREF>(ResolveColor(clGrayText)));
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(CollectionKitTest, ToolbarLaysOutItsTwoGroups) {
  TCollectionKitForm& f = Kit();
  TPxToolbar& bar = *f.Tools;
  EXPECT_EQ(bar.GetItemRect(f.ToolOpen), Rect(18, 0, 58, 31));
  EXPECT_EQ(bar.GetItemRect(f.ToolSave), Rect(58, 0, 88, 31));
  EXPECT_EQ(bar.GetItemRect(f.ToolHelp), Rect(182, 0, 232, 31));
  EXPECT_EQ(bar.GetItemAtPos(100, 10), nullptr);
  const harness::Bitmap32 picture = harness::PaintClient(bar.Handle());
  SavePicture(picture, L"panelkit-toolbar.bmp");
  EXPECT_EQ(picture.PixelColor(5, 29), RGB(0xCF, 0xDB, 0xEB));
  EXPECT_EQ(picture.PixelColor(5, 30), RGB(0xA2, 0xB1, 0xC5));
  // Moving one to the right takes its followers along; to the left, its leaders.
  f.ToolSave->SetPosition(tipRight);
  EXPECT_EQ(f.ToolOpen->Position(), tipLeft);
  EXPECT_EQ(f.ToolHelp->Position(), tipRight);
  EXPECT_EQ(bar.GetItemRect(f.ToolSave), Rect(152, 0, 182, 31));
  f.ToolHelp->SetPosition(tipLeft);
  for (TPxToolItem* item : {f.ToolOpen, f.ToolSave, f.ToolHelp}) EXPECT_EQ(item->Position(), tipLeft);
  f.ToolSave->SetVisible(false);
  EXPECT_EQ(bar.GetItemRect(f.ToolHelp), Rect(58, 0, 108, 31));
}

TEST_F(CollectionKitTest, ToolbarClicksAnItemPressedAndReleasedOnIt) {
  TCollectionKitForm& f = Kit();
  TPxToolbar& bar = *f.Tools;
  harness::SendMouseMove(bar.Handle(), 30, 10);
  Pump();
  EXPECT_EQ(bar.HoverItem(), f.ToolOpen);
  harness::SendMouseDown(bar.Handle(), 30, 10);
  harness::SendMouseMove(bar.Handle(), 70, 10);
  Pump();
  EXPECT_EQ(bar.DownItem(), f.ToolOpen);
  EXPECT_EQ(bar.HoverItem(), f.ToolOpen) << "no hover change while pressed";
  harness::SendMouseUp(bar.Handle(), 70, 10);
  Pump();
  EXPECT_TRUE(f.Events.empty()) << "released on another item";
  EXPECT_EQ(bar.DownItem(), nullptr);
  harness::SendClick(bar.Handle(), 200, 10);
  Pump();
  EXPECT_EQ(f.Events, std::vector<std::string>{"tool:2"});
  // An item freed while hovered leaves no reference behind.
  harness::SendMouseMove(bar.Handle(), 70, 10);
  Pump();
  EXPECT_EQ(bar.HoverItem(), f.ToolSave);
  delete f.ToolSave;
  f.ToolSave = nullptr;
  EXPECT_EQ(bar.HoverItem(), nullptr);
  EXPECT_EQ(bar.GetItems()->Count(), 2);
  harness::PaintClient(bar.Handle());
  EXPECT_TRUE(FExceptions.empty());
}

class PathControlTest : public CollectionKitTest {
 protected:
  // Project > Forms > Main, with a sibling of Forms and of Main each.
  TPxPathControl& Path() {
    TCollectionKitForm& f = Kit();
    TPxPathNodes& nodes = f.Path->Items();
    FProject = nodes.Add(nullptr, u"Project");
    FForms = nodes.Add(FProject, u"Forms");
    nodes.Add(FProject, u"Units");
    FMain = nodes.Add(FForms, u"Main");
    nodes.Add(FForms, u"About");
    nodes.Add(nullptr, u"Settings");
    f.Path->SetSelected(FMain);
    f.Events.clear();
    Pump();
    return *f.Path;
  }
  TPxPathNode* FProject = nullptr;
  TPxPathNode* FForms = nullptr;
  TPxPathNode* FMain = nullptr;
};

TEST_F(PathControlTest, SegmentsFollowTheRootButton) {
  TPxPathControl& p = Path();
  EXPECT_EQ(p.ButtonStyle(), bsOffice2007);
  EXPECT_EQ(p.GetButtonWidth(), 13);
  p.Canvas().Font().Assign(&p.Font());
  const Integer projectWidth = p.Canvas().TextWidth(u"Project") + 10 + 13;
  EXPECT_EQ(p.GetItemWidth(FProject), projectWidth);
  EXPECT_EQ(p.GetItemWidth(FMain), p.Canvas().TextWidth(u"Main") + 10) << "no children, no drop-down part";
  EXPECT_EQ(p.GetItemWidth(nullptr), 40);
  EXPECT_EQ(p.GetItemRect(FProject), Rect(32, 0, 32 + projectWidth, 21));
  const TRect main = p.GetItemRect(FMain);
  EXPECT_EQ(p.GetItemAtPos(main.Right, 10), FMain);
  EXPECT_EQ(p.GetItemAtPos(main.Right + 1, 10), nullptr);
  TPathItemPart part = pipTitle;
  EXPECT_EQ(p.GetItemAtPos(32 + projectWidth - 2, 10, part), FProject);
  EXPECT_EQ(part, pipButton);
  p.BuildMenu(FForms);
  ASSERT_EQ(p.Popup().Items()->Count(), 2);
  EXPECT_EQ(p.Popup().Items()->Items(1)->Caption(), u"About");
  p.BuildMenu(nullptr);
  EXPECT_EQ(p.Popup().Items()->Count(), 2) << "the top level";
  SavePicture(harness::PaintClient(p.Handle()), L"panelkit-path.bmp");
}

TEST_F(PathControlTest, ASegmentClickCutsThePathBackToIt) {
  TPxPathControl& p = Path();
  const TRect project = p.GetItemRect(FProject);
  harness::SendMouseMove(p.Handle(), project.Left + 5, 10);
  Pump();
  EXPECT_EQ(p.HoverItem(), FProject);
  SavePicture(harness::PaintClient(p.Handle()), L"panelkit-path-hover.bmp");
  harness::SendClick(p.Handle(), project.Left + 5, 10);
  Pump();
  EXPECT_EQ(p.Selected(), FProject);
  EXPECT_EQ(Kit().Events, std::vector<std::string>{"path:Project"});
  harness::SendClick(p.Handle(), project.Left + 5, 10);
  Pump();
  EXPECT_EQ(Kit().Events.size(), 1u) << "the selected node again fires nothing";
  // A menu entry selects its node.
  p.BuildMenu(FForms);
  TMenuItem* about = p.Popup().Items()->Items(1);
  about->OnClick(about);
  EXPECT_EQ(StringToUTF8(p.Selected()->Text()), "About");
}

TEST_F(PathControlTest, DeletedNodesLeaveNoReferenceBehind) {
  TPxPathControl& p = Path();
  const TRect main = p.GetItemRect(FMain);
  harness::SendMouseMove(p.Handle(), main.Left + 3, 10);
  Pump();
  EXPECT_EQ(p.HoverItem(), FMain);
  p.Items().Free(FMain);
  EXPECT_EQ(p.HoverItem(), nullptr);
  EXPECT_EQ(p.Selected(), FForms) << "the parent takes over";
  p.Items().Free(FProject);
  EXPECT_EQ(p.Selected(), nullptr) << "a whole subtree on the path goes";
  harness::PaintClient(p.Handle());
  EXPECT_TRUE(FExceptions.empty());
  auto images = MakeIcons(1);
  p.SetImages(images.get());
  images.reset();
  EXPECT_EQ(p.Images(), nullptr);
  EXPECT_EQ(p.Popup().Images(), nullptr);
}

}  // namespace
