// The collection controls read from a form as the IDE writes it: flip
// panels folding with their containers following, the link label's click,
// the splitter's drag, the image and panel painting, the glyph settings,
// the HTML label's links and the alert window sliding in and out.
#include <chrono>
#include <cstdlib>
#include <memory>

#include "panelkit/win32/alertwindow.h"
#include "panelkit/win32/flippanel.h"
#include "panelkit/win32/linklabel.h"
#include "panelkit/win32/panelkittest.h"
#include "panelkit/win32/panels.h"
#include "panelkit/win32/pxbutton.h"
#include "panelkit/win32/shareddraw.h"
#include "rtl/streams.h"
#include "rtl/unicode.h"
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
  TPxHtmlLabel* Notes = nullptr;
  TPxAlertWindow* Alert = nullptr;

  std::vector<std::string> Events;
  void HtmlLinkClick(TObject*, StringView href) { Events.push_back("href:" + StringToUTF8(String(href))); }
  void AlertClose(TObject*) { Events.push_back("close"); }
  void AlertCloseClick(TObject*) { Events.push_back("closeclick"); }
  void AlertOptionsClick(TObject*) { Events.push_back("options"); }
  void AlertPopup(TObject*) { Events.push_back("popup"); }
  void FlipChange(TObject* sender) { Events.push_back(sender == Outer ? "outer" : "inner"); }
  void LinkClick(TObject*) { Events.push_back("link"); }
  void ButtonClick(TObject*) { Events.push_back("button"); }
  void ControlClick(TObject* sender) {
    Events.push_back("click:" + StringToUTF8(static_cast<TComponent*>(sender)->Name()));
  }
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
  c.Method(u"ControlClick", &TFlipKitForm::ControlClick);
  c.Field(u"Notes", &TFlipKitForm::Notes);
  c.Field(u"Alert", &TFlipKitForm::Alert);
  c.Method(u"HtmlLinkClick", &TFlipKitForm::HtmlLinkClick);
  c.Method(u"AlertClose", &TFlipKitForm::AlertClose);
  c.Method(u"AlertCloseClick", &TFlipKitForm::AlertCloseClick);
  c.Method(u"AlertOptionsClick", &TFlipKitForm::AlertOptionsClick);
  c.Method(u"AlertPopup", &TFlipKitForm::AlertPopup);
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
              f.GlyphButton && f.InnerGlyph && f.Notes);
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
  EXPECT_TRUE(f.Notes->Transparent());
  EXPECT_FALSE(f.Notes->TransparentSet());
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

TEST_F(FlipKitTest, TheGlyphImageAndPanelAnswerAClickAndTheImageTakesTheFocus) {
  TFlipKitForm& f = Kit();
  // The glyph has no window: its panel's window takes the click for it.
  HWND body = f.Body->Handle();
  harness::SendClick(body, f.Glyph->Left() + 8, f.Glyph->Top() + 8);
  harness::SendClick(f.Picture->Handle(), 20, 20);
  harness::SendClick(body, f.Body->ClientWidth() - 20, 40);
  Pump();
  EXPECT_EQ(f.Events, (std::vector<std::string>{"click:Glyph", "click:Picture", "click:Body"}));
  EXPECT_EQ(f.ActiveControl(), f.Picture);
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

// The first point of the label whose link is under it, scanning its middle row.
TPoint FirstLinkPoint(TPxHtmlLabel& label) {
  for (Integer y = 2; y < label.Height(); y += 3)
    for (Integer x = 0; x < label.Width(); ++x)
      if (!label.LinkAt(x, y).empty()) return Point(x, y);
  return Point(-1, -1);
}

TEST_F(FlipKitTest, AnHtmlLabelReportsItsLinkAndShowsTheHandOverIt) {
  TFlipKitForm& f = Kit();
  TPxHtmlLabel& notes = *f.Notes;
  const TPoint link = FirstLinkPoint(notes);
  ASSERT_GE(link.X, 0) << "no link found";
  EXPECT_GT(link.X, 60) << "the words before the link are no link";
  EXPECT_TRUE(notes.LinkAt(2, link.Y).empty());
  // Moves and clicks reach the label through its parent's window.
  HWND body = f.Body->Handle();
  const Integer x = notes.Left() + link.X + 3, y = notes.Top() + link.Y;
  harness::SendMouseMove(body, x, y);
  EXPECT_EQ(Screen->Cursor(), crHandPoint);
  harness::SendMouseMove(body, notes.Left() + 2, y);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  harness::SendMouseMove(body, x, y);
  notes.Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Screen->Cursor(), crDefault) << "leaving over a link gives the cursor back";
  harness::SendClick(body, x, y);
  harness::SendClick(body, notes.Left() + 2, y);
  Pump();
  EXPECT_EQ(f.Events, (std::vector<std::string>{"href:help:index"}));
  // Auto-sized, it takes the size the text measures.
  notes.SetAutoSize(true);
  EXPECT_EQ(notes.Width(), notes.MeasureCaption().cx);
  EXPECT_LT(notes.Height(), 36);
  notes.SetTransparent(false);
  EXPECT_TRUE(notes.TransparentSet());
  EXPECT_TRUE(notes.ControlStyle().Contains(csOpaque));
}

template <typename F>
bool WaitUntil(F condition, int milliseconds = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    harness::PumpMessages();
    Sleep(5);
  }
  return condition();
}

TRect ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return FromRECT(r);
}

// Runs the animation's ticks by hand until the slide ends.
void Slide(TPxAlertWindow& alert) {
  for (int i = 0; i < 200 && alert.AlertDirection() != adNone; ++i) alert.AnimationTick();
}

// The first point of the alert's text that lies on a link.
TPoint FirstAlertLinkPoint(TPxAlertWindow& alert) {
  const TRect text = alert.TextRect();
  for (Integer y = text.Top; y < text.Bottom; y += 2)
    for (Integer x = text.Left; x < text.Right; ++x)
      if (!alert.LinkAt(x, y).empty()) return Point(x, y);
  return Point(-1, -1);
}

TEST_F(FlipKitTest, TheFormsAlertSlidesOutOfTheTaskbarByItsTimerAndAnswersItsClicks) {
  TFlipKitForm& f = Kit();
  ASSERT_TRUE(f.Alert);
  TPxAlertWindow& alert = *f.Alert;
  EXPECT_EQ(alert.AlertCaption(), u"New mail");
  EXPECT_EQ(alert.CloseDelay(), -1);
  EXPECT_FALSE(IsWindowVisible(alert.Handle())) << "hidden until it pops up";
  // Driven by hand: five pixels a tick, out of the taskbar at the screen's right.
  alert.Popup();
  EXPECT_TRUE(alert.PopupTimer().Enabled());
  alert.AnimationTick();
  EXPECT_EQ(alert.Height(), 5);
  Slide(alert);
  EXPECT_TRUE(alert.FullOpen());
  EXPECT_EQ(alert.Height(), 100);
  EXPECT_TRUE(IsWindowVisible(alert.Handle()));
  EXPECT_EQ(ScreenRect(alert.Handle()).Right, GetSystemMetrics(SM_CXSCREEN) - 16);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"popup"}));
  Pump();
  harness::SaveForInspection(harness::CaptureScreen(alert.Handle()), L"panelkit-alert.bmp");
  // The header's gradient starts in the scheme's colour; both glyphs read
  // from the form show without their fuchsia.
  EXPECT_FALSE(alert.GetSmallGlyph()->GetNormalGlyph()->Empty());
  EXPECT_TRUE(alert.GetLargeGlyph()->Transparent());
  harness::Bitmap32 face = harness::PaintClient(alert.Handle());
  const COLORREF top = face.PixelColor(alert.Width() / 2, 2);
  const auto scheme = static_cast<COLORREF>(ResolveColor(alert.CurrentForegroundColor()));
  EXPECT_LT(std::abs(GetBValue(top) - GetBValue(scheme)) + std::abs(GetRValue(top) - GetRValue(scheme)), 16)
      << std::hex << top;
  for (Integer y = 0; y < face.Height(); ++y)
    for (Integer x = 0; x < face.Width(); ++x)
      ASSERT_NE(face.PixelColor(x, y), RGB(255, 0, 255)) << x << "," << y;

  // The options link, a link of the text, then the close button.
  const TRect options = alert.OptionsLinkRect();
  harness::SendClick(alert.Handle(), options.Left + 3, options.Top + options.Height() / 2);
  const TPoint link = FirstAlertLinkPoint(alert);
  ASSERT_GE(link.X, 0) << "no link found in the alert's text";
  harness::SendClick(alert.Handle(), link.X + 2, link.Y);
  const TRect button = alert.CloseButtonRect();
  harness::SendClick(alert.Handle(), button.Left + 3, button.Top + 3);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"popup", "options", "href:mail:1", "closeclick", "close"}));
  EXPECT_FALSE(IsWindowVisible(alert.Handle()));
  EXPECT_TRUE(AlertStackEntries().empty());

  // Driven by its own timer, out and back again.
  f.Events.clear();
  alert.Popup();
  ASSERT_TRUE(WaitUntil([&] { return alert.FullOpen(); }));
  alert.Close();
  ASSERT_TRUE(WaitUntil([&] { return !alert.InProgress(); }));
  EXPECT_EQ(alert.Height(), 100);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"popup", "close"}));

  // The close delay over with the pointer away: it slides back.
  SetCursorPos(0, 0);
  alert.Popup();
  Slide(alert);
  alert.DelayTick();
  EXPECT_EQ(alert.AlertDirection(), adDown);
  Slide(alert);
  EXPECT_FALSE(alert.InProgress());
  EXPECT_TRUE(AlertStackEntries().empty());
}

TEST_F(FlipKitTest, AFormFreedWhileItsAlertSlidesFreesItWithoutAnEvent) {
  TFlipKitForm& f = Kit();
  f.Alert->Popup();
  f.Alert->AnimationTick();
  ASSERT_EQ(AlertStackEntries().size(), 1u);
  f.Free();
  FKit = nullptr;
  Pump();
  EXPECT_TRUE(AlertStackEntries().empty());
}

TEST_F(FlipKitTest, AnAutoSizedAlertFitsItsTextBeforeItsWindowExistsAndAtEveryPopup) {
  TFlipKitForm& f = Kit();
  const auto make = [&](bool withWindow) {
    auto* a = new TPxAlertWindow(&f);
    a->SetBounds(0, 0, 200, 116);
    a->SetCloseDelay(-1);
    if (withWindow) a->HandleNeeded();
    a->SetWordWrap(true);
    a->SetOptions({aoAutoSize});
    a->SetText(u"Two words");
    return a;
  };
  TPxAlertWindow* early = make(false);
  TPxAlertWindow* measured = make(true);
  EXPECT_FALSE(early->HandleAllocated());
  EXPECT_NE(measured->Height(), 116) << "the text sets the height";
  EXPECT_EQ(early->Height(), measured->Height()) << "with or without its window";
  const Integer oneLine = early->Height();

  // A popup with a longer text measures again.
  String longer;
  for (int i = 0; i < 30; ++i) longer += u"word ";
  early->Popup(longer, 0);
  Slide(*early);
  EXPECT_TRUE(early->FullOpen());
  EXPECT_GT(early->Height(), oneLine + 20) << "several lines";
  const Integer several = early->Height();
  early->Close();
  Slide(*early);
  early->Popup(u"Short", 0);
  Slide(*early);
  EXPECT_EQ(early->Height(), oneLine) << "and shrinks for a short one";
  early->Close();
  Slide(*early);
  EXPECT_GT(several, oneLine);
  delete early;
  delete measured;
  EXPECT_TRUE(AlertStackEntries().empty());
}

TEST_F(FlipKitTest, AlertsStackInBandsAndEveryWayOfClosingGivesTheBandBack) {
  TFlipKitForm& f = Kit();
  auto make = [&](Integer height) {
    auto* a = new TPxAlertWindow(&f);
    a->SetParent(&f);
    a->SetBounds(0, 0, 200, height);
    a->SetCloseDelay(-1);
    a->OnClose = TNotifyEvent([&f](TObject*) { f.Events.push_back("close"); });
    a->OnCloseClick = TNotifyEvent([&f](TObject*) { f.Events.push_back("closeclick"); });
    a->OnClosing = TNotifyEvent([&f](TObject*) { f.Events.push_back("closing"); });
    return a;
  };
  TPxAlertWindow* first = make(100);
  TPxAlertWindow* second = make(80);
  first->Popup();
  Slide(*first);
  second->Popup();
  Slide(*second);
  EXPECT_TRUE(first->FullOpen() && second->FullOpen());
  EXPECT_FALSE(first->DelayTimer().Enabled()) << "a delay of -1 stays open";
  EXPECT_EQ(first->Indent(), 0);
  EXPECT_EQ(second->Indent(), 100);
  EXPECT_EQ(AlertStackEntries(), (std::vector<Integer>{100, 180}));
  EXPECT_EQ(ScreenRect(second->Handle()).Bottom, ScreenRect(first->Handle()).Top);

  // The close button: its events in order, gone without sliding.
  const TRect button = first->CloseButtonRect();
  harness::SendClick(first->Handle(), button.Left + 3, button.Top + 3);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"closeclick", "close", "closing"}));
  EXPECT_FALSE(first->InProgress());
  EXPECT_FALSE(IsWindowVisible(first->Handle()));
  EXPECT_EQ(AlertStackEntries(), (std::vector<Integer>{180}));

  // A new one goes above the highest band; popping it again keeps its one band.
  TPxAlertWindow* third = make(50);
  third->Popup();
  third->AnimationTick();
  third->Popup();
  EXPECT_EQ(third->Indent(), 180);
  EXPECT_EQ(AlertStackEntries(), (std::vector<Integer>{180, 230}));
  // Closed while still growing, it slides back from where it was.
  third->Close();
  Slide(*third);
  EXPECT_FALSE(third->InProgress());
  EXPECT_EQ(third->Height(), 50);
  EXPECT_EQ(AlertStackEntries(), (std::vector<Integer>{180}));
  // Freed while shown, it gives its band back too.
  third->Popup();
  delete third;
  delete second;
  EXPECT_TRUE(AlertStackEntries().empty());
  delete first;
}

}  // namespace
