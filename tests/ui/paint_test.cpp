// Painting: a custom control through its canvas, a transparent child over
// it, a graphic control drawn by its parent, double buffering, and the form
// as a person sees it.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "ui/jpeg.h"
#include "ui/uitest.h"

namespace {

using PaintTest = UiTest;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kLime = RGB(0, 255, 0);

bool Near(COLORREF a, COLORREF b, int tolerance = 40) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST_F(PaintTest, ACustomControlAndATransparentChildPaintWhereExpected) {
  auto* form = CreateForm<TPaintForm>(FApp.get());
  form->Show();
  Pump();
  harness::Bitmap32 swatch = harness::PaintClient(form->Swatch->Handle());
  ASSERT_EQ(swatch.Width(), 200);
  ASSERT_EQ(swatch.Height(), 100);
  struct Probe {
    int x, y;
    COLORREF colour;
    const char* what;
  } probes[] = {
      {5, 5, kRed, "left half of the swatch"},
      {195, 95, kBlue, "right half of the swatch"},
      {75, 25, kRed, "the parent's red through the transparent child"},
      {125, 55, kBlue, "the parent's blue through the transparent child"},
      {100, 40, kLime, "the child's own square"},
      {121, 61, kBlue, "the parent's blue around the transparent label's text"},
  };
  for (const Probe& p : probes) EXPECT_EQ(swatch.PixelColor(p.x, p.y), p.colour) << p.what;
  // The label's text is there in yellow.
  int yellow = 0;
  for (int y = 60; y < 80; ++y)
    for (int x = 120; x < 160; ++x)
      if (Near(swatch.PixelColor(x, y), RGB(255, 255, 0))) ++yellow;
  EXPECT_GT(yellow, 10);

  // The child alone paints its parent's background behind itself.
  harness::Bitmap32 shade = harness::PaintClient(form->Shade->Handle());
  EXPECT_EQ(shade.PixelColor(5, 5), kRed);
  EXPECT_EQ(shade.PixelColor(55, 35), kBlue);
  EXPECT_EQ(shade.PixelColor(30, 20), kLime);

  // The whole form, children and all, into a context of one's own.
  harness::Bitmap32 whole = harness::PaintInto(form->Width(), form->Height(), [&](HDC dc) { form->PaintTo(dc, 0, 0); });
  TPoint origin = form->Swatch->ClientToParent({0, 0}, form);
  RECT frame{};
  GetWindowRect(form->Handle(), &frame);
  POINT clientTopLeft{0, 0};
  ClientToScreen(form->Handle(), &clientTopLeft);
  int ox = clientTopLeft.x - frame.left + origin.X, oy = clientTopLeft.y - frame.top + origin.Y;
  EXPECT_EQ(whole.PixelColor(ox + 5, oy + 5), kRed);
  EXPECT_EQ(whole.PixelColor(ox + 100, oy + 40), kLime);
}

TEST_F(PaintTest, PaintingOnScreenGoesThroughPaintAndDoubleBufferingGivesTheSamePicture) {
  auto* form = CreateForm<TPaintForm>(FApp.get());
  form->SetFormStyle(fsStayOnTop);  // what the screen shows is compared
  form->Show();
  Pump();
  UpdateWindow(form->Handle());
  int before = form->Swatch->PaintCount;
  form->Swatch->Invalidate();
  form->Swatch->Update();
  EXPECT_GT(form->Swatch->PaintCount, before);
  harness::Bitmap32 plain = CaptureScreen(form->Swatch->Handle());
  form->Swatch->SetDoubleBuffered(true);
  form->Swatch->Repaint();
  harness::Bitmap32 buffered = CaptureScreen(form->Swatch->Handle());
  ASSERT_EQ(plain.Width(), buffered.Width());
  EXPECT_EQ(buffered.PixelColor(5, 5), kRed);
  EXPECT_EQ(buffered.PixelColor(100, 40), kLime);
  for (int y = 0; y < plain.Height(); y += 7)
    for (int x = 0; x < plain.Width(); x += 7) EXPECT_EQ(plain.Pixel(x, y), buffered.Pixel(x, y)) << x << "," << y;
}

// A control that shows fonts, colours and pictures, for the screenshot.
class TShowcase : public TCustomControl {
 public:
  explicit TShowcase(TComponent* owner) : TCustomControl(owner) {}
  TBitmap* Picture = nullptr;
  TJPEGImage* Photo = nullptr;

 protected:
  void Paint() override {
    TCanvas& c = Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(ClientRect());
    TColor colours[] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua, clNavy, clMaroon};
    for (int i = 0; i < 8; ++i) {
      c.Brush().SetColor(colours[i]);
      c.Pen().SetColor(clBlack);
      c.Rectangle(10 + i * 30, 10, 35 + i * 30, 35);
    }
    c.Brush().SetStyle(bsClear);
    // Faces of each kind as this machine has them.
    auto installed = [](std::initializer_list<const char16_t*> faces) {
      for (const char16_t* face : faces)
        if (Screen->Fonts().IndexOf(face) >= 0) return String(face);
      return String(*faces.begin());
    };
    String sans = installed({u"Tahoma", u"DejaVu Sans", u"Liberation Sans"});
    String mono = installed({u"Courier New", u"Liberation Mono", u"DejaVu Sans Mono"});
    String serif = installed({u"Times New Roman", u"Liberation Serif", u"DejaVu Serif"});
    struct {
      String face;
      int size;
      TFontStyles style;
      TColor colour;
    } fonts[] = {{sans, 10, {}, clBlack},
                 {sans, 14, {fsBold}, clNavy},
                 {mono, 12, {fsItalic}, clMaroon},
                 {serif, 16, {fsUnderline}, clGreen}};
    int y = 45;
    for (const auto& f : fonts) {
      c.Font().SetName(f.face);
      c.Font().SetSize(f.size);
      c.Font().SetStyle(f.style);
      c.Font().SetColor(f.colour);
      String text = f.face + u" " + IntToStr(f.size);
      c.TextOut(10, y, text);
      y += c.TextHeight(text) + 4;
    }
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clSilver);
    c.Pen().SetColor(clPurple);
    c.Ellipse(270, 45, 330, 95);
    c.RoundRect(270, 100, 330, 140, 10, 10);
    c.Polygon({{340, 45}, {380, 95}, {300 + 40, 95}});
    c.Pie(340, 100, 390, 150, 390, 125, 365, 100);
    if (Picture) c.Draw(10, 160, *Picture);
    if (Photo) c.StretchDraw(Bounds(120, 160, 96, 64), *Photo);
  }
};

TEST_F(PaintTest, FontsColoursAndPicturesAppearWhereExpected) {
  auto* form = CreateForm<TForm>(FApp.get());
  form->SetCaption(u"Showcase");
  form->SetPosition(poDesigned);
  form->SetFormStyle(fsStayOnTop);
  form->SetBounds(700, 500, 420, 280);
  auto* show = new TShowcase(form);
  show->SetParent(form);
  show->SetAlign(alClient);
  TBitmap picture(96, 64, pf24bit);
  for (int y = 0; y < 64; ++y) {
    auto* row = static_cast<Byte*>(picture.ScanLine(y));
    for (int x = 0; x < 96; ++x) {
      row[x * 3] = static_cast<Byte>(x * 255 / 95);      // blue rises to the right
      row[x * 3 + 1] = static_cast<Byte>(y * 255 / 63);  // green rises downwards
      row[x * 3 + 2] = 0;
    }
  }
  show->Picture = &picture;
  TJPEGImage photo;
  photo.Assign(&picture);
  TMemoryStream encoded;
  photo.SaveToStream(encoded);
  encoded.SetPosition(0);
  TJPEGImage decoded;
  decoded.LoadFromStream(encoded);
  show->Photo = &decoded;
  form->Show();
  Pump();
  UpdateWindow(form->Handle());
  Pump();

  harness::Bitmap32 screen = CaptureScreen(form->Handle());
  SaveForInspection(screen, L"showcase.bmp");
  harness::Bitmap32 client = harness::PaintClient(show->Handle());
  SaveForInspection(client, L"showcase-client.bmp");
  EXPECT_TRUE(Near(client.PixelColor(20, 20), kRed, 0));
  EXPECT_TRUE(Near(client.PixelColor(50, 20), kLime, 0));
  EXPECT_TRUE(Near(client.PixelColor(80, 20), kBlue, 0));
  EXPECT_EQ(client.PixelColor(10, 20), RGB(0, 0, 0)) << "the pen's frame";
  EXPECT_EQ(client.PixelColor(300, 70), RGB(192, 192, 192)) << "inside the ellipse";
  EXPECT_TRUE(Near(client.PixelColor(10 + 95, 160 + 63), RGB(0, 255, 255), 8)) << "the bitmap's corner";
  EXPECT_TRUE(Near(client.PixelColor(120 + 90, 160 + 60), RGB(0, 255, 255), 40)) << "the decoded photo";
  // Text in several fonts: dark pixels in each text line's band.
  int dark = 0;
  for (int y = 45; y < 150; ++y)
    for (int x = 10; x < 250; ++x)
      if (client.PixelColor(x, y) != RGB(255, 255, 255)) ++dark;
  EXPECT_GT(dark, 400);
}

}  // namespace
