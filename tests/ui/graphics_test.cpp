// Graphics: colours, tools and canvas operations, bitmaps of every depth
// with their files, icons, metafiles, JPEG pictures (damaged ones raise),
// pictures streamed as forms store them, and image lists.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "classes/reader.h"
#include "formfile/formconvert.h"
#include "ui/imglist.h"
#include "ui/jpeg.h"
#include "ui/pngimage.h"
#include "ui/uitest.h"

namespace {

using GraphicsTest = UiTest;

COLORREF Pixel(TBitmap& b, int x, int y) {
  return GetPixel(b.Canvas().Handle(), x, y);
}

TEST(Colors, SystemColoursResolveAndOthersStay) {
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<Integer>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clWindowText), static_cast<Integer>(GetSysColor(COLOR_WINDOWTEXT)));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
}

TEST(Fonts, SizeAndHeightConvertAtTheScreensResolution) {
  TFont font;
  ASSERT_EQ(font.PixelsPerInch(), 96);
  font.SetSize(8);
  EXPECT_EQ(font.Height(), -11);
  font.SetHeight(-16);
  EXPECT_EQ(font.Size(), 12);
  int changes = 0;
  font.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  font.SetStyle({fsBold, fsItalic});
  font.SetName(u"Courier New");
  font.SetName(u"Courier New");
  EXPECT_EQ(changes, 2);
  LOGFONTW lf{};
  ASSERT_TRUE(GetObjectW(font.Handle(), sizeof lf, &lf));
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ(FromWStr(lf.lfFaceName), u"Courier New");
  TFont copy;
  copy.SetHandle(font.Handle());
  EXPECT_TRUE(copy.Equals(font) || copy.Style() == font.Style());
}

TEST(Canvas, DrawsShapesTextAndClipsOnABitmap) {
  TBitmap b(100, 60, pf24bit);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clWhite);
  c.FillRect(Rect(0, 0, 100, 60));
  c.Brush().SetColor(clRed);
  c.Pen().SetColor(clBlue);
  c.Rectangle(10, 10, 30, 30);
  EXPECT_EQ(Pixel(b, 20, 20), RGB(255, 0, 0)) << "filled with the brush";
  EXPECT_EQ(Pixel(b, 10, 20), RGB(0, 0, 255)) << "framed with the pen";
  c.Brush().SetStyle(bsClear);
  c.Ellipse(40, 10, 60, 30);
  EXPECT_EQ(Pixel(b, 50, 20), RGB(255, 255, 255)) << "a clear brush leaves the inside";
  c.Brush().SetColor(clLime);
  c.Polygon({{70, 10}, {90, 10}, {80, 30}});
  EXPECT_EQ(Pixel(b, 80, 15), RGB(0, 255, 0));
  c.Pen().SetColor(clBlack);
  c.MoveTo(0, 50);
  c.LineTo(100, 50);
  EXPECT_EQ(Pixel(b, 50, 50), RGB(0, 0, 0));
  EXPECT_EQ(c.PenPos(), Point(100, 50));
  c.SetPixels(1, 1, clFuchsia);
  EXPECT_EQ(c.Pixels(1, 1), static_cast<TColor>(RGB(255, 0, 255)));

  TSize size = c.TextExtent(u"Wide text");
  EXPECT_GT(size.cx, c.TextWidth(u"W"));
  EXPECT_EQ(size.cy, c.TextHeight(u"x"));
  TRect r = Rect(0, 0, 40, 0);
  String text = u"several words that wrap";
  c.TextRect(r, text, {tfCalcRect, tfWordBreak});
  EXPECT_GT(r.Height(), size.cy) << "wrapped onto more lines";
  TRect cell = Rect(0, 0, 30, 20);
  String long_text = u"A much longer text";
  c.TextRect(cell, long_text, {tfEndEllipsis, tfModifyString, tfSingleLine});
  EXPECT_NE(long_text, u"A much longer text");
  EXPECT_NE(long_text.find(u"..."), String::npos);

  // Clipping: nothing outside the clip rectangle.
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(clWhite);
  c.FillRect(Rect(0, 0, 100, 60));
  int saved = SaveDC(c.Handle());
  c.IntersectClipRect(Rect(0, 0, 50, 60));
  EXPECT_EQ(c.ClipRect(), Rect(0, 0, 50, 60));
  c.Brush().SetColor(clNavy);
  c.FillRect(Rect(0, 0, 100, 60));
  RestoreDC(c.Handle(), saved);
  c.Refresh();
  EXPECT_EQ(Pixel(b, 49, 5), RGB(0, 0, 128));
  EXPECT_EQ(Pixel(b, 50, 5), RGB(255, 255, 255));
}

struct FormatCase {
  TPixelFormat format;
  int bits;
};

class BitmapFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(BitmapFormats, KeepTheirPixelsThroughTheirFile) {
  const FormatCase& fc = GetParam();
  TBitmap b(7, 5, fc.format);
  EXPECT_EQ(b.PixelFormat(), fc.format);
  EXPECT_EQ(b.BytesPerScanLine(), ((7 * fc.bits + 31) / 32) * 4);
  b.Canvas().Brush().SetColor(clWhite);
  b.Canvas().FillRect(Rect(0, 0, 7, 5));
  b.Canvas().Brush().SetColor(clBlack);
  b.Canvas().FillRect(Rect(0, 0, 3, 2));
  TMemoryStream file;
  b.SaveToStream(file);
  file.SetPosition(0);
  Byte header[2];
  file.ReadBuffer(header, 2);
  EXPECT_EQ(header[0], 'B');
  file.SetPosition(0);
  TBitmap loaded;
  loaded.LoadFromStream(file);
  EXPECT_EQ(loaded.Width(), 7);
  EXPECT_EQ(loaded.Height(), 5);
  EXPECT_EQ(loaded.PixelFormat(), fc.format);
  EXPECT_EQ(Pixel(loaded, 1, 1), RGB(0, 0, 0));
  EXPECT_EQ(Pixel(loaded, 6, 4), RGB(255, 255, 255));
  // The top row in memory is row 0 of ScanLine.
  EXPECT_EQ(std::memcmp(loaded.ScanLine(0), b.ScanLine(0), static_cast<size_t>(b.BytesPerScanLine())), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, BitmapFormats,
                         ::testing::Values(FormatCase{pf1bit, 1}, FormatCase{pf4bit, 4}, FormatCase{pf8bit, 8},
                                           FormatCase{pf15bit, 16}, FormatCase{pf16bit, 16}, FormatCase{pf24bit, 24},
                                           FormatCase{pf32bit, 32}));

TBytes SmallBmp(int width, int height, int bits, bool topDown = false) {
  TBitmap b(width, height, bits == 24 ? pf24bit : pf8bit);
  TMemoryStream s;
  b.SaveToStream(s);
  TBytes data(s.Memory(), s.Memory() + s.Size());
  if (topDown) {
    Integer h = -height;
    std::memcpy(data.data() + 22, &h, 4);
  }
  return data;
}

TEST(Bitmaps, DamagedFilesRaiseAndNeverOverRead) {
  TBytes good = SmallBmp(4, 4, 24);
  struct Case {
    const char* what;
    std::function<void(TBytes&)> damage;
  } cases[] = {
      {"no signature", [](TBytes& d) { d[0] = 'X'; }},
      {"cut in the header", [](TBytes& d) { d.resize(20); }},
      {"cut in the pixels", [](TBytes& d) { d.resize(d.size() - 5); }},
      {"huge width",
       [](TBytes& d) {
         Integer w = 1 << 30;
         std::memcpy(d.data() + 18, &w, 4);
       }},
      {"zero height", [](TBytes& d) { std::memset(d.data() + 22, 0, 4); }},
      {"odd depth", [](TBytes& d) { d[28] = 7; }},
      {"header size too big",
       [](TBytes& d) {
         Integer s = 100000;
         std::memcpy(d.data() + 14, &s, 4);
       }},
  };
  for (const Case& c : cases) {
    TBytes data = good;
    c.damage(data);
    TBytesStream s(data);
    TBitmap b;
    EXPECT_THROW(b.LoadFromStream(s), EInvalidGraphic) << c.what;
  }
  // A top-down file is read the right way up.
  TBitmap source(2, 2, pf24bit);
  source.Canvas().SetPixels(0, 0, clRed);
  source.Canvas().SetPixels(1, 1, clBlue);
  TMemoryStream file;
  source.SaveToStream(file);
  TBytes data(file.Memory(), file.Memory() + file.Size());
  Integer h = -2;
  std::memcpy(data.data() + 22, &h, 4);
  // Top-down rows are stored in the other order.
  size_t stride = 8, offset = 54;
  std::swap_ranges(data.begin() + offset, data.begin() + offset + stride, data.begin() + offset + stride);
  TBytesStream s(data);
  TBitmap loaded;
  loaded.LoadFromStream(s);
  EXPECT_EQ(Pixel(loaded, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(loaded, 1, 1), RGB(0, 0, 255));
}

TEST(Bitmaps, DrawTransparentlyAndConvertBetweenDepths) {
  TBitmap sprite(10, 10, pf24bit);
  sprite.Canvas().Brush().SetColor(clFuchsia);
  sprite.Canvas().FillRect(Rect(0, 0, 10, 10));
  sprite.Canvas().Brush().SetColor(clGreen);
  sprite.Canvas().FillRect(Rect(3, 3, 7, 7));
  EXPECT_EQ(sprite.TransparentColor(), static_cast<TColor>(RGB(255, 0, 255))) << "the bottom-left pixel";
  sprite.SetTransparent(true);
  TBitmap target(20, 20, pf32bit);
  target.Canvas().Brush().SetColor(clYellow);
  target.Canvas().FillRect(Rect(0, 0, 20, 20));
  target.Canvas().Draw(5, 5, sprite);
  EXPECT_EQ(Pixel(target, 6, 6), RGB(255, 255, 0)) << "the transparent colour lets the yellow through";
  EXPECT_EQ(Pixel(target, 10, 10), RGB(0, 128, 0));
  sprite.SetTransparentColor(clGreen);
  EXPECT_EQ(sprite.TransparentMode(), tmFixed);

  sprite.SetPixelFormat(pf8bit);
  EXPECT_EQ(sprite.PixelFormat(), pf8bit);
  EXPECT_EQ(Pixel(sprite, 5, 5), RGB(0, 128, 0));
  sprite.SetSize(20, 12);
  EXPECT_EQ(Pixel(sprite, 5, 5), RGB(0, 128, 0)) << "resizing keeps the picture";
  EXPECT_EQ(Pixel(sprite, 15, 11), RGB(255, 255, 255)) << "and fills the new part white";
}

TEST(Icons, LoadDrawAndSave) {
  // An icon made from a handle is saved as a one-image icon file.
  TBitmap colour(32, 32, pf32bit);
  colour.Canvas().Brush().SetColor(clRed);
  colour.Canvas().FillRect(Rect(0, 0, 32, 32));
  TBitmap mask(32, 32, pf1bit);
  mask.Canvas().Brush().SetColor(clBlack);
  mask.Canvas().FillRect(Rect(0, 0, 32, 32));
  ICONINFO info{TRUE, 0, 0, mask.Handle(), colour.Handle()};
  TIcon icon;
  icon.SetHandle(CreateIconIndirect(&info));
  EXPECT_EQ(icon.Width(), 32);
  TMemoryStream file;
  icon.SaveToStream(file);
  file.SetPosition(0);
  TIcon loaded;
  loaded.LoadFromStream(file);
  EXPECT_EQ(loaded.Width(), 32);
  TBitmap target(40, 40, pf32bit);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect(Rect(0, 0, 40, 40));
  target.Canvas().Draw(4, 4, loaded);
  EXPECT_EQ(Pixel(target, 20, 20), RGB(255, 0, 0));
  EXPECT_THROW(loaded.SetWidth(16), EInvalidGraphicOperation);
  TBytesStream junk(TBytes{0, 0, 1, 0, 1, 0, 32, 32});
  EXPECT_THROW(loaded.LoadFromStream(junk), EInvalidGraphic);
}

TEST(Metafiles, RecordPlayAndRoundTrip) {
  TMetafile metafile;
  {
    TMetafileCanvas canvas(metafile, nullptr);
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(Rect(0, 0, 50, 50));
  }
  ASSERT_FALSE(metafile.Empty());
  TMemoryStream file;
  metafile.SaveToStream(file);
  file.SetPosition(0);
  TMetafile loaded;
  loaded.LoadFromStream(file);
  TBitmap target(50, 50, pf24bit);
  target.Canvas().StretchDraw(Rect(0, 0, 50, 50), loaded);
  EXPECT_EQ(Pixel(target, 25, 25), RGB(0, 0, 255));
  TBytesStream junk(TBytes(100, 7));
  EXPECT_THROW(loaded.LoadFromStream(junk), EInvalidGraphic);
}

// A placeable metafile is written back as one, byte for byte as read, also
// through a copy; an enhanced one made placeable converts to that kind.
TEST(Metafiles, APlaceableMetafileSavesInItsOwnKind) {
  TMetafile recorded;
  recorded.SetWidth(40);
  recorded.SetHeight(40);
  {
    TMetafileCanvas canvas(recorded, nullptr);
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(Rect(0, 0, 40, 40));
  }
  recorded.SetEnhanced(false);
  TMemoryStream converted;
  recorded.SaveToStream(converted);
  ASSERT_GT(converted.Size(), 22);
  const TBytes placeable(converted.Memory(), converted.Memory() + converted.Size());
  EXPECT_EQ((std::vector<Byte>(placeable.begin(), placeable.begin() + 4)), (std::vector<Byte>{0xD7, 0xCD, 0xC6, 0x9A}));

  TBytesStream in(placeable);
  TMetafile wmf;
  wmf.LoadFromStream(in);
  EXPECT_FALSE(wmf.Enhanced());
  TBitmap target(40, 40, pf24bit);
  target.Canvas().StretchDraw(Rect(0, 0, 40, 40), wmf);
  EXPECT_EQ(Pixel(target, 20, 20), RGB(0, 0, 255));
  TMetafile copy;
  copy.Assign(&wmf);
  for (TMetafile* metafile : {&wmf, &copy}) {
    TMemoryStream saved;
    metafile->SaveToStream(saved);
    EXPECT_EQ(TBytes(saved.Memory(), saved.Memory() + saved.Size()), placeable);
  }
}

// A metafile with a size frames the recording by it; the creator and the
// description go into the header.
TEST(Metafiles, TheCanvasTakesTheSizeAndNamesItsCreator) {
  TMetafile metafile;
  metafile.SetWidth(64);
  metafile.SetHeight(32);
  {
    TMetafileCanvas canvas(metafile, nullptr, u"Kestrum", u"A test picture");
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 8, 8));
  }
  ASSERT_FALSE(metafile.Empty());
  EXPECT_NEAR(metafile.Width(), 64, 1) << "the frame, not the 8 pixels drawn";
  EXPECT_NEAR(metafile.Height(), 32, 1);
  const UINT length = GetEnhMetaFileDescriptionW(metafile.Handle(), 0, nullptr);
  ASSERT_GT(length, 0u);
  std::wstring text(length, L'\0');
  GetEnhMetaFileDescriptionW(metafile.Handle(), length, text.data());
  EXPECT_EQ(text.substr(0, text.find(L'\0')), L"Kestrum");
  EXPECT_NE(text.find(L"A test picture"), std::wstring::npos);
  TBitmap target(64, 32, pf24bit);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect(Rect(0, 0, 64, 32));
  target.Canvas().Draw(0, 0, metafile);
  EXPECT_EQ(Pixel(target, 4, 4), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(target, 40, 20), RGB(255, 255, 255));
  EXPECT_EQ(TMetafileCanvas::StaticClass().ClassParent(), &TCanvas::StaticClass());
}

TEST(Jpeg, DecodesWhatItEncodesAndDamageRaises) {
  TBitmap source(32, 16, pf24bit);
  source.Canvas().Brush().SetColor(clRed);
  source.Canvas().FillRect(Rect(0, 0, 16, 16));
  source.Canvas().Brush().SetColor(clBlue);
  source.Canvas().FillRect(Rect(16, 0, 32, 16));
  TJPEGImage jpeg;
  jpeg.SetCompressionQuality(95);
  jpeg.Assign(&source);
  TMemoryStream encoded;
  jpeg.SaveToStream(encoded);
  ASSERT_GT(encoded.Size(), 100);
  TBytes data(encoded.Memory(), encoded.Memory() + encoded.Size());
  EXPECT_EQ(data[0], 0xFF);
  EXPECT_EQ(data[1], 0xD8);

  TBytesStream in(data);
  TJPEGImage loaded;
  loaded.LoadFromStream(in);
  EXPECT_EQ(loaded.Width(), 32);
  EXPECT_EQ(loaded.Height(), 16);
  COLORREF left = Pixel(loaded.Bitmap(), 4, 8), right = Pixel(loaded.Bitmap(), 28, 8);
  EXPECT_GT(GetRValue(left), 200);
  EXPECT_GT(GetBValue(right), 200);

  struct Case {
    const char* what;
    std::function<void(TBytes&)> damage;
  } cases[] = {
      {"no JPEG at all", [](TBytes& d) { d.assign(64, 0x42); }},
      {"empty", [](TBytes& d) { d.clear(); }},
      {"cut after the header", [](TBytes& d) { d.resize(d.size() * 2 / 3); }},
      {"cut in the header", [](TBytes& d) { d.resize(20); }},
      {"scrambled tables",
       [](TBytes& d) {
         for (size_t i = 20; i < d.size() / 2; i += 3) d[i] ^= 0x5A;
       }},
  };
  for (const Case& c : cases) {
    TBytes damaged = data;
    c.damage(damaged);
    TBytesStream s(damaged);
    TJPEGImage image;
    EXPECT_THROW(
        {
          image.LoadFromStream(s);
          image.DIBNeeded();
        },
        EInvalidGraphic)
        << c.what;
  }
}

// A component with a picture, for reading "Picture.Data" from a form.
class TPictureHolder : public TComponent {
  KST_CLASS(TPictureHolder, TComponent)
 public:
  explicit TPictureHolder(TComponent* owner) : TComponent(owner), Picture(std::make_unique<TPicture>()) {}
  std::unique_ptr<TPicture> Picture;
  TPicture* GetPicture() const { return Picture.get(); }
};
KST_CLASS_IMPL(TPictureHolder, "UiTests")
void TPictureHolder::Describe(TClassBuilder<TPictureHolder>& c) {
  c.Property(u"Picture", &TPictureHolder::GetPicture);
}

String Hex(const TBytes& data) {
  static const char16_t digits[] = u"0123456789ABCDEF";
  String result;
  for (Byte b : data) {
    result += digits[b >> 4];
    result += digits[b & 15];
  }
  return result;
}

TEST_F(GraphicsTest, PicturesReadTheirDataAsFormsStoreIt) {
  FRegistry.RegisterClass(TPictureHolder::StaticClass());
  struct Case {
    const char* name;
    TGraphic* graphic;
  };
  TBitmap bitmap(8, 8, pf24bit);
  bitmap.Canvas().Brush().SetColor(clTeal);
  bitmap.Canvas().FillRect(Rect(0, 0, 8, 8));
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  for (TGraphic* graphic : std::initializer_list<TGraphic*>{&bitmap, &jpeg}) {
    TPicture picture;
    picture.SetGraphic(graphic);
    // The Data property: the class name as a short string, then the graphic's data.
    TMemoryStream data;
    std::string name = StringToUTF8(graphic->ClassName());
    Byte length = static_cast<Byte>(name.size());
    data.WriteBuffer(&length, 1);
    data.WriteBuffer(name.data(), length);
    graphic->WriteData(data);
    TBytes bytes(data.Memory(), data.Memory() + data.Size());
    String text = u"object Holder: TPictureHolder\r\n  Picture.Data = {\r\n    " + Hex(bytes) + u"}\r\nend\r\n";
    TStringStream source(text);
    TMemoryStream binary;
    FormTextToBinary(source, binary);
    binary.SetPosition(0);
    TComponentReader reader(binary, FRegistry);
    std::unique_ptr<TComponent> holder(reader.ReadRootComponent());
    TPicture* read = static_cast<TPictureHolder*>(holder.get())->GetPicture();
    ASSERT_NE(read->Graphic(), nullptr) << name;
    EXPECT_EQ(read->Graphic()->ClassName(), graphic->ClassName());
    EXPECT_EQ(read->Width(), 8);
    TBitmap target(8, 8, pf24bit);
    target.Canvas().Draw(0, 0, *read->Graphic());
    COLORREF c = Pixel(target, 4, 4);
    EXPECT_NEAR(GetGValue(c), 128, 8) << name;
    EXPECT_NEAR(GetBValue(c), 128, 8) << name;
  }
  EXPECT_EQ(TPicture::GraphicClassOfExtension(u".JPG"), &TJPEGImage::StaticClass());
  EXPECT_NE(TPicture::GraphicFilter().find(u"*.bmp"), String::npos);
}

// A PNG file of RGBA pixels, rows top down, stored without compression.
TBytes MakePng(Integer width, Integer height, const std::vector<uint32_t>& rgba) {
  auto crc32 = [](const Byte* data, size_t size, uint32_t crc = 0xFFFFFFFFu) {
    for (size_t i = 0; i < size; ++i) {
      crc ^= data[i];
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
  };
  auto be32 = [](TBytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<Byte>(v >> shift));
  };
  TBytes raw;
  for (Integer y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (Integer x = 0; x < width; ++x) be32(raw, rgba[static_cast<size_t>(y * width + x)]);
  }
  TBytes zlib = {0x78, 0x01, 0x01, static_cast<Byte>(raw.size() & 0xFF), static_cast<Byte>(raw.size() >> 8),
                 static_cast<Byte>(~raw.size() & 0xFF), static_cast<Byte>((~raw.size() >> 8) & 0xFF)};
  zlib.insert(zlib.end(), raw.begin(), raw.end());
  uint32_t a = 1, b = 0;
  for (Byte c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  be32(zlib, (b << 16) | a);
  TBytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  auto chunk = [&](const char* type, const TBytes& body) {
    be32(png, static_cast<uint32_t>(body.size()));
    TBytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    be32(png, crc32(typed.data(), typed.size()) ^ 0xFFFFFFFFu);
  };
  TBytes header;
  be32(header, static_cast<uint32_t>(width));
  be32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA
  chunk("IHDR", header);
  chunk("IDAT", zlib);
  chunk("IEND", {});
  return png;
}

std::unique_ptr<TComponent> ReadHolder(TClassRegistry& registry, const std::string& className, const TBytes& data) {
  TBytes bytes{static_cast<Byte>(className.size())};
  bytes.insert(bytes.end(), className.begin(), className.end());
  bytes.insert(bytes.end(), data.begin(), data.end());
  String text = u"object Holder: TPictureHolder\r\n  Picture.Data = {\r\n    " + Hex(bytes) + u"}\r\nend\r\n";
  TStringStream source(text);
  TMemoryStream binary;
  FormTextToBinary(source, binary);
  binary.SetPosition(0);
  TComponentReader reader(binary, registry);
  return std::unique_ptr<TComponent>(reader.ReadRootComponent());
}

// A PNG picture of a newer IDE's form shows with its transparency and goes
// back out as read; a kind of picture nobody can show is named, not shown
// as an empty picture.
TEST_F(GraphicsTest, PngPicturesShowAndUnknownKindsAreNamed) {
  FRegistry.RegisterClass(TPictureHolder::StaticClass());
  const TBytes png = MakePng(2, 1, {0xFF0000FFu, 0x0000FF00u});
  std::unique_ptr<TComponent> holder = ReadHolder(FRegistry, "TPngImage", png);
  TPicture* read = static_cast<TPictureHolder*>(holder.get())->GetPicture();
  ASSERT_NE(dynamic_cast<TPngImage*>(read->Graphic()), nullptr);
  EXPECT_EQ(read->Width(), 2);
  EXPECT_EQ(read->Height(), 1);
  TBitmap target(2, 1, pf24bit);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect(Rect(0, 0, 2, 1));
  target.Canvas().Draw(0, 0, *read->Graphic());
  EXPECT_EQ(Pixel(target, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(target, 1, 0), RGB(255, 255, 255)) << "the transparent pixel shows what is below";
  TMemoryStream saved;
  read->Graphic()->SaveToStream(saved);
  EXPECT_EQ(TBytes(saved.Memory(), saved.Memory() + saved.Size()), png);
  EXPECT_EQ(TPicture::GraphicClassOfExtension(u"png"), &TPngImage::StaticClass());

  TBytes damaged(png.begin(), png.begin() + 20);
  TBytesStream damagedStream(damaged);
  TPngImage image;
  EXPECT_THROW(image.LoadFromStream(damagedStream), EInvalidGraphic);
  try {
    ReadHolder(FRegistry, "TGIFImage", TBytes(16, 0x47));
    ADD_FAILURE() << "read";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find(u"Class TGIFImage not found"), String::npos) << StringToUTF8(e.Message());
  }
}

TEST(ImageLists, AddDrawOverlayAndStreamTheirImages) {
  TImageList list(nullptr);
  int changes = 0;
  TChangeLink link;
  link.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  list.RegisterChanges(&link);
  TBitmap strip(32, 16, pf24bit);
  strip.Canvas().Brush().SetColor(clRed);
  strip.Canvas().FillRect(Rect(0, 0, 16, 16));
  strip.Canvas().Brush().SetColor(clBlue);
  strip.Canvas().FillRect(Rect(16, 0, 32, 16));
  strip.Canvas().Brush().SetColor(clFuchsia);
  strip.Canvas().FillRect(Rect(0, 0, 4, 4));
  EXPECT_EQ(list.AddMasked(strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2) << "a strip adds one image per width";
  EXPECT_EQ(changes, 1);

  TBitmap target(40, 20, pf24bit);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect(Rect(0, 0, 40, 20));
  list.Draw(target.Canvas(), 0, 0, 0);
  list.Draw(target.Canvas(), 20, 0, 1, false);
  EXPECT_EQ(Pixel(target, 8, 8), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(target, 1, 1), RGB(255, 255, 255)) << "the masked corner is transparent";
  COLORREF greyed = Pixel(target, 28, 8);
  EXPECT_NE(greyed, RGB(0, 0, 255)) << "a disabled image is drawn greyed";
  EXPECT_EQ(GetRValue(greyed), GetBValue(greyed));

  EXPECT_TRUE(list.Overlay(1, 0));
  target.Canvas().FillRect(Rect(0, 0, 40, 20));
  list.DrawOverlay(target.Canvas(), 0, 0, 0, 0);
  EXPECT_EQ(Pixel(target, 8, 8), RGB(0, 0, 255)) << "the overlay on top of the image";

  // The "Bitmap" data goes out and comes back in the system's format.
  class CapturingFiler : public TFiler {
   public:
    using TFiler::TFiler;
    TStreamProc Read, Write;
    void DefineBinaryProperty(StringView, const TStreamProc& read, const TStreamProc& write, bool) override {
      Read = read;
      Write = write;
    }
  };
  TMemoryStream dummy;
  CapturingFiler filer(dummy, 16);
  list.DefineProperties(filer);
  TMemoryStream data;
  filer.Write(data);
  ASSERT_GT(data.Size(), 0);
  data.SetPosition(0);
  TImageList copy(nullptr);
  CapturingFiler other(dummy, 16);
  copy.DefineProperties(other);
  other.Read(data);
  EXPECT_EQ(copy.Count(), 2);
  TBitmap image;
  ASSERT_TRUE(copy.GetBitmap(1, image));
  EXPECT_EQ(Pixel(image, 8, 8), RGB(0, 0, 255));
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_GE(changes, 3);
}

}  // namespace
