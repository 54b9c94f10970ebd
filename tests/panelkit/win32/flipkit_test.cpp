// The collection controls read from a form as the IDE writes it: flip
// panels folding with their containers following, the link label's click,
// the splitter's drag, the image and panel painting, the glyph settings.
#include <memory>

#include "panelkit/win32/flippanel.h"
#include "panelkit/win32/linklabel.h"
#include "panelkit/win32/panelkittest.h"
#include "panelkit/win32/panels.h"
#include "panelkit/win32/pxbutton.h"
#include "rtl/streams.h"
#include "ui/jpeg.h"

class TFlipKitForm : public TForm {
  KST_CLASS(TFlipKitForm, TForm)
 public:
  using TForm::TForm;
  TPxFlipContainer* Flips = nullptr;
  TPxFlipPanel* Outer = nullptr;
  TPxFlipPanel* Inner = nullptr;
  TPxGlyph* InnerGlyph = nullptr;
  TPxFlipPanel* Second = nullptr;
  TPxSplitter* Splitter = nullptr;
  TPxPanel* Body = nullptr;
  TPxGlyph* Glyph = nullptr;
  TPxImage* Picture = nullptr;
  TPxLinkLabel* Link = nullptr;
  TPxGlyphButton* GlyphButton = nullptr;
  TPxButton* OkButton = nullptr;
  TEdit* NameEdit = nullptr;
  TPxLabel* NameLabel = nullptr;

  std::vector<std::string> Events;
  void FlipChange(TObject* sender) { Events.push_back(sender == Outer ? "outer" : "inner"); }
  void LinkClick(TObject*) { Events.push_back("link"); }
  void ButtonClick(TObject*) { Events.push_back("button"); }
};

KST_CLASS_IMPL(TFlipKitForm, "PanelKitTests")

void TFlipKitForm::Describe(TClassBuilder<TFlipKitForm>& c) {
  c.Field(u"Flips", &TFlipKitForm::Flips);
  c.Field(u"Outer", &TFlipKitForm::Outer);
  c.Field(u"Inner", &TFlipKitForm::Inner);
  c.Field(u"InnerGlyph", &TFlipKitForm::InnerGlyph);
  c.Field(u"Second", &TFlipKitForm::Second);
  c.Field(u"Splitter", &TFlipKitForm::Splitter);
  c.Field(u"Body", &TFlipKitForm::Body);
  c.Field(u"Glyph", &TFlipKitForm::Glyph);
  c.Field(u"Picture", &TFlipKitForm::Picture);
  c.Field(u"Link", &TFlipKitForm::Link);
  c.Field(u"GlyphButton", &TFlipKitForm::GlyphButton);
  c.Method(u"FlipChange", &TFlipKitForm::FlipChange);
  c.Field(u"OkButton", &TFlipKitForm::OkButton);
  c.Field(u"NameEdit", &TFlipKitForm::NameEdit);
  c.Field(u"NameLabel", &TFlipKitForm::NameLabel);
  c.Method(u"LinkClick", &TFlipKitForm::LinkClick);
  c.Method(u"ButtonClick", &TFlipKitForm::ButtonClick);
}

namespace {

class FlipKitTest : public PanelKitTest {
 protected:
  void SetUp() override {
    PanelKitTest::SetUp();
    FRegistry.RegisterClasses({&TFlipKitForm::StaticClass()});
  }
  TFlipKitForm& Kit() {
    if (!FKit) {
      FKit = CreateForm<TFlipKitForm>(FApp.get());
      FKit->Show();
      Pump();
    }
    return *FKit;
  }
  TFlipKitForm* FKit = nullptr;
};

TEST_F(FlipKitTest, TheFormLoadsEveryClassAndShowsIt) {
  TFlipKitForm& f = Kit();
  ASSERT_TRUE(f.Flips && f.Outer && f.Inner && f.Second && f.Splitter && f.Body && f.Glyph && f.Picture && f.Link &&
              f.GlyphButton && f.InnerGlyph);
  EXPECT_EQ(f.Inner->Parent(), f.Outer);
  EXPECT_EQ(f.Second->Height(), 18);
  EXPECT_FALSE(f.Second->Expanded());
  EXPECT_EQ(f.Second->FullHeight(), 90);
  EXPECT_EQ(f.Glyph->Width(), 16);
  EXPECT_FALSE(f.Glyph->GetGlyph()->Empty());
  EXPECT_TRUE(f.Picture->HasPicture());
  EXPECT_EQ(f.Picture->GetPicture()->Width(), 60);
  EXPECT_EQ(f.Body->GetInnerMargins()->Left(), 4);
  EXPECT_EQ(f.Splitter->Width(), 9);
  EXPECT_EQ(f.Link->LinkCaption(), u"Open the site");
  // Measured: text, one pixel, the 16-pixel glyph and the gap.
  EXPECT_GT(f.Link->Width(), 16 + 2);
  harness::Bitmap32 shot = harness::CaptureScreen(f.Handle());
  SavePicture(shot, L"panelkit-collection.bmp");
  harness::SaveForInspection(shot, L"panelkit-collection.bmp");
  // The image's picture: orange at the top of the scaled picture, inside its frame.
  harness::Bitmap32 image = harness::PaintClient(f.Picture->Handle());
  const TRect r = f.Picture->PictureRect();
  const COLORREF top = image.PixelColor(r.Left + r.Width() / 2, r.Top + 3);
  EXPECT_GT(GetRValue(top), 180) << std::hex << top;
  EXPECT_LT(GetBValue(top), 100) << std::hex << top;
}

TEST_F(FlipKitTest, NestedFlipPanelsFoldAndTheirContainersFollow) {
  TFlipKitForm& f = Kit();
  ASSERT_EQ(f.Outer->Height(), 200);
  ASSERT_EQ(f.Inner->Height(), 100);
  f.Inner->Flip();
  EXPECT_EQ(f.Inner->Height(), 18);
  EXPECT_EQ(f.Inner->FullHeight(), 100);
  EXPECT_EQ(f.Outer->Height(), 200 - 82);
  f.Inner->Flip();
  EXPECT_EQ(f.Inner->Height(), 100);
  EXPECT_EQ(f.Outer->Height(), 200);
  // A click on the header folds; a right click never does.
  harness::SendClick(f.Outer->Handle(), 60, 8, harness::MouseButton::Right);
  Pump();
  EXPECT_TRUE(f.Outer->Expanded());
  harness::SendClick(f.Outer->Handle(), 60, 8);
  Pump();
  EXPECT_FALSE(f.Outer->Expanded());
  EXPECT_EQ(f.Outer->Height(), 18);
  EXPECT_EQ((f.Events), (std::vector<std::string>{"inner", "inner", "outer"}));
  // The container opens every panel, nested ones too; folding all leaves the nested ones.
  f.Inner->SetExpanded(false);
  f.Flips->ExpandAll();
  EXPECT_TRUE(f.Outer->Expanded());
  EXPECT_TRUE(f.Inner->Expanded());
  EXPECT_TRUE(f.Second->Expanded());
  EXPECT_EQ(f.Second->Height(), 90);
  f.Flips->CollapseAll();
  EXPECT_FALSE(f.Outer->Expanded());
  EXPECT_TRUE(f.Inner->Expanded());
  // The accelerator of the caption flips the panel and is reported handled.
  f.Outer->SetExpanded(true);
  TMessage m{CM_DIALOGCHAR, u't', 0, 0};
  f.Inner->Perform(m);
  EXPECT_EQ(m.Result, 1);
  EXPECT_FALSE(f.Inner->Expanded());
}

TEST_F(FlipKitTest, FlipRulesForSmallPanelsDisallowedFlipsAndSiblings) {
  TFlipKitForm& f = Kit();
  auto* tiny = new TPxFlipPanel(&f);
  tiny->SetParent(f.Flips);
  tiny->SetBounds(0, 0, 100, 10);
  tiny->SetExpanded(false);
  EXPECT_EQ(tiny->Height(), 18);
  EXPECT_EQ(tiny->FullHeight(), 18);
  tiny->SetExpanded(true);
  tiny->SetAllowFlip(false);
  tiny->Flip();
  f.Flips->CollapseAll();
  EXPECT_TRUE(tiny->Expanded());
  // Auto-collapse: opening one sibling folds the others.
  f.Outer->SetAutoCollapse(true);
  f.Second->SetExpanded(true);
  f.Outer->SetExpanded(false);
  f.Outer->SetExpanded(true);
  EXPECT_FALSE(f.Second->Expanded());
  EXPECT_TRUE(tiny->Expanded());
}

TEST_F(FlipKitTest, ALinkLabelFiresItsClickAndUnderlinesUnderThePointer) {
  TFlipKitForm& f = Kit();
  harness::SendClick(f.Link->Handle(), f.Link->Width() - 4, f.Link->Height() / 2);
  Pump();
  EXPECT_EQ(f.Events, (std::vector<std::string>{"link"}));
  f.Link->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(f.Link->Hover());
  f.Link->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(f.Link->Hover());
  // A font change takes its colour as the hover colour.
  f.Link->Font().SetColor(clRed);
  EXPECT_EQ(f.Link->HoverColor(), clRed);
}

TEST_F(FlipKitTest, TheSplitterResizesItsNeighbourByADrag) {
  TFlipKitForm& f = Kit();
  ASSERT_EQ(f.Flips->Width(), 200);
  const int y = 100;
  harness::SendMouseDown(f.Handle(), 204, y);
  harness::SendMouseMove(f.Handle(), 234, y, {});
  harness::SendMouseMove(f.Handle(), 254, y, {});
  harness::SendMouseUp(f.Handle(), 254, y);
  Pump();
  EXPECT_EQ(f.Flips->Width(), 250);
  EXPECT_EQ(f.Splitter->Left(), 250);
  EXPECT_EQ(f.Body->Left(), 259);
}

TEST_F(FlipKitTest, AGlyphButtonChecksOnlyOnALeftReleaseInsideIt) {
  TFlipKitForm& f = Kit();
  HWND button = f.GlyphButton->Handle();
  harness::SendClick(button, 5, 5);
  Pump();
  EXPECT_TRUE(f.GlyphButton->Checked());
  harness::SendMouseDown(button, 5, 5);
  harness::SendMouseUp(button, 40, 40);
  Pump();
  EXPECT_TRUE(f.GlyphButton->Checked());
  harness::SendClick(button, 5, 5, harness::MouseButton::Right);
  Pump();
  EXPECT_TRUE(f.GlyphButton->Checked());
  f.GlyphButton->SetEnabled(false);
  EXPECT_EQ(&f.GlyphButton->StateImage(), f.GlyphButton->GetDisabledImage());
}

TEST_F(FlipKitTest, AnImageThatCannotBeDecodedPaintsNothingOfIt) {
  TFlipKitForm& f = Kit();
  TBytesStream good;
  f.Picture->GetPicture()->Graphic()->SaveToStream(good);
  // The header stays whole, the picture's data ends a few bytes into the scan.
  const TBytes& bytes = good.Bytes();
  size_t scan = 0;
  while (scan + 3 < bytes.size() && !(bytes[scan] == 0xFF && bytes[scan + 1] == 0xDA)) ++scan;
  ASSERT_LT(scan + 3, bytes.size());
  const size_t headerLength = (size_t{bytes[scan + 2]} << 8) + bytes[scan + 3];
  TBytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(scan + 2 + headerLength + 4));
  TBytesStream damaged(std::move(cut));
  TJPEGImage jpeg;
  jpeg.LoadFromStream(damaged);
  {
    TJPEGImage copy;
    copy.Assign(&jpeg);
    EXPECT_THROW(copy.DIBNeeded(), EInvalidGraphic);
  }
  f.Picture->GetPicture()->SetGraphic(&jpeg);
  ASSERT_TRUE(f.Picture->HasPicture());
  harness::Bitmap32 image = harness::PaintClient(f.Picture->Handle());
  EXPECT_EQ(image.Width(), f.Picture->ClientWidth());
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(FlipKitTest, AnImageScalesItsPictureToFitAtTheCentre) {
  TFlipKitForm& f = Kit();
  // 200 x 100 after the margins and the one-pixel edge.
  f.Picture->SetBounds(0, 0, 200 + 2 * 5, 100 + 2 * 5);
  TBitmap square(50, 50, pf24bit);
  f.Picture->GetPicture()->SetGraphic(&square);
  EXPECT_EQ(f.Picture->PictureRect(), Rect(55, 5, 155, 105));
  f.Picture->SetCenter(true);
  EXPECT_EQ(f.Picture->PictureRect(), Rect(80 - 2, 30 - 2, 130 + 2, 80 + 2));
}

TEST_F(FlipKitTest, APanelFillsInsideItsSolidBorderPen) {
  TFlipKitForm& f = Kit();
  f.Body->GetBorderPen()->SetWidth(3);
  f.Body->SetBackgroundStyle(pbSolid);
  f.Body->SetAdaptiveColors(false);
  f.Body->SetColor(clWhite);
  f.Body->GetBorderPen()->SetColor(clBlack);
  const Integer w = f.Body->ClientWidth(), h = f.Body->ClientHeight();
  EXPECT_EQ(f.Body->FillRect(), Rect(3, 3, w - 3, h - 3));
  harness::Bitmap32 panel = harness::PaintClient(f.Body->Handle());
  EXPECT_EQ(panel.PixelColor(w / 2, h - 2), RGB(0, 0, 0));
  EXPECT_EQ(panel.PixelColor(w - 30, h - 5), RGB(255, 255, 255));
}

TEST_F(FlipKitTest, TheDefaultButtonTakesEnterUntilAnotherButtonHasTheFocus) {
  TFlipKitForm& f = Kit();
  f.NameEdit->SetFocus();
  Pump();
  EXPECT_TRUE(f.OkButton->Active());
  TMessage enter{CM_DIALOGKEY, VK_RETURN, 0, 0};
  f.Perform(enter);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"button"}));
  // Another button takes the focus: this one no longer reacts to Enter.
  auto* other = new TPxButton(&f);
  other->SetParent(f.Body);
  other->SetBounds(180, 280, 80, 23);
  other->SetFocus();
  Pump();
  EXPECT_FALSE(f.OkButton->Active());
  f.Events.clear();
  TMessage again{CM_DIALOGKEY, VK_RETURN, 0, 0};
  f.OkButton->Perform(again);
  EXPECT_TRUE(f.Events.empty());
}

TEST_F(FlipKitTest, SpacePressedAndReleasedClicksTheButtonOnceOnRelease) {
  TFlipKitForm& f = Kit();
  f.OkButton->SetFocus();
  Pump();
  f.OkButton->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(f.Events.empty());
  f.OkButton->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"button"}));
  // Disabled: the grey glyph and the embossed caption, without failing.
  f.OkButton->SetEnabled(false);
  EXPECT_FALSE(f.OkButton->GetGrayGlyph()->Empty());
  harness::Bitmap32 face = harness::PaintClient(f.OkButton->Handle());
  EXPECT_EQ(face.Width(), f.OkButton->ClientWidth());
}

TEST_F(FlipKitTest, ALabelFollowsItsAssociateAndLetsGoWhenItIsDestroyed) {
  TFlipKitForm& f = Kit();
  EXPECT_EQ(f.NameLabel->Associate(), f.NameEdit);
  EXPECT_EQ(f.NameLabel->Left(), 180);
  EXPECT_EQ(f.NameLabel->Top(), 240 - f.NameLabel->Height() - 2);
  // The case of a label outside its associate on both axes.
  f.NameEdit->SetBounds(10, 50, 100, 20);
  f.NameLabel->SetAutoSize(false);
  f.NameLabel->SetBounds(0, 0, 40, 13);
  f.NameLabel->SetInnerHorizontal(false);
  EXPECT_EQ(f.NameLabel->BoundsRect(), Rect(-30, 35, 10, 48));
  f.NameEdit->SetBounds(60, 80, 100, 20);
  EXPECT_EQ(f.NameLabel->BoundsRect(), Rect(20, 65, 60, 78));
  delete f.NameEdit;
  f.NameEdit = nullptr;
  EXPECT_EQ(f.NameLabel->Associate(), nullptr);
}

TEST(GlyphSettingsTest, ChangesOfTheGlyphsAreReportedAndAssignLeavesTheHoverGlyph) {
  TPxActiveGlyphSettings source, target;
  int changes = 0;
  target.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  target.SetTransparent(true);
  target.SetTransparentColor(clRed);
  EXPECT_TRUE(target.GetHoverGlyph()->Transparent());
  changes = 0;
  TBitmap picture(8, 8, pf24bit);
  target.SetHoverGlyph(&picture);
  EXPECT_GE(changes, 1);
  changes = 0;
  target.GetNormalGlyph()->SetSize(4, 4);
  EXPECT_GE(changes, 1);
  source.SetNormalGlyph(&picture);
  source.SetTransparent(false);
  source.SetTransparentColor(clBlue);
  target.Assign(&source);
  EXPECT_EQ(target.GetNormalGlyph()->Width(), 8);
  EXPECT_EQ(target.GetHoverGlyph()->Width(), 8);
  EXPECT_FALSE(target.Transparent());
  EXPECT_EQ(target.TransparentColor(), clBlue);
  EXPECT_EQ(target.GetHoverGlyph()->TransparentColor(), clBlue);
}

}  // namespace
