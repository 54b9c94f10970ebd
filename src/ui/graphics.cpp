#include "ui/graphics.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "classes/filer.h"
#include "classes/identmaps.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/streams.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"

KST_CLASS_IMPL(TGraphicsObject, "Graphics")
KST_CLASS_IMPL(TFont, "Graphics")
KST_CLASS_IMPL(TPen, "Graphics")
KST_CLASS_IMPL(TBrush, "Graphics")
KST_CLASS_IMPL(TCanvas, "Graphics")
KST_CLASS_IMPL(TGraphic, "Graphics")
KST_CLASS_IMPL(TBitmap, "Graphics")
KST_CLASS_IMPL(TIcon, "Graphics")
KST_CLASS_IMPL(TMetafileCanvas, "Graphics")
KST_CLASS_IMPL(TMetafile, "Graphics")
KST_CLASS_IMPL(TPicture, "Graphics")

namespace {

// GDI objects that may still be selected somewhere when their owner changes
// are deleted one change later, when nobody uses them any more.
void DeleteLater(HGDIOBJ& stale, HGDIOBJ current) {
  if (stale) DeleteObject(stale);
  stale = current;
}

COLORREF GdiColor(TColor color) {
  return static_cast<COLORREF>(ColorToRGB(color)) & 0x00FFFFFF;
}

constexpr Int64 kMaxGraphicBytes = Int64{256} << 20;

TBytes ReadRest(TStream& stream) {
  Int64 remaining = stream.Size() - stream.Position();
  if (remaining < 0) remaining = 0;
  if (remaining > kMaxGraphicBytes) throw EInvalidGraphic(u"Graphic too large");
  TBytes data(static_cast<size_t>(remaining));
  if (remaining) stream.ReadBuffer(data.data(), remaining);
  return data;
}

template <class T>
T ReadLE(const Byte* p) {
  T v{};
  std::memcpy(&v, p, sizeof(T));
  return v;
}

class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(std::function<HDC()> context) : FContext(std::move(context)) {}

 protected:
  void CreateHandle() override { SetHandle(FContext()); }

 private:
  std::function<HDC()> FContext;
};

std::vector<RGBQUAD> DefaultColorTable(int bits) {
  std::vector<RGBQUAD> table;
  auto add = [&](int r, int g, int b) {
    table.push_back(RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
  };
  if (bits == 1) {
    add(0, 0, 0);
    add(255, 255, 255);
    return table;
  }
  // The sixteen standard colours, then a colour cube and a grey ramp.
  static const int vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                 {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                 {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                 {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  for (auto& c : vga) add(c[0], c[1], c[2]);
  if (bits == 4) return table;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
  for (int i = 0; table.size() < 255; ++i) add(10 + i * 10, 10 + i * 10, 10 + i * 10);
  add(255, 255, 255);  // white last, where all bits set lands
  return table;
}

int BitsOf(TPixelFormat format) {
  switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

// A BITMAPINFO with room for masks and 256 colours.
struct DibInfo {
  std::vector<Byte> bytes = std::vector<Byte>(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
  BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(bytes.data()); }
  BITMAPINFOHEADER& Header() { return Info()->bmiHeader; }
};

DibInfo MakeDibInfo(Integer width, Integer height, TPixelFormat format, const std::vector<RGBQUAD>& colors) {
  DibInfo info;
  BITMAPINFOHEADER& h = info.Header();
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(BitsOf(format));
  h.biCompression = BI_RGB;
  if (format == pf16bit) {
    h.biCompression = BI_BITFIELDS;
    DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info.bytes.data() + sizeof(BITMAPINFOHEADER), masks, sizeof masks);
  } else if (h.biBitCount <= 8) {
    std::vector<RGBQUAD> table = colors.empty() ? DefaultColorTable(h.biBitCount) : colors;
    table.resize(std::min<size_t>(table.size(), size_t{1} << h.biBitCount));
    h.biClrUsed = static_cast<DWORD>(table.size());
    std::memcpy(info.bytes.data() + sizeof(BITMAPINFOHEADER), table.data(), table.size() * sizeof(RGBQUAD));
  }
  return info;
}

Integer StrideOf(Integer width, int bits) {
  return ((width * bits + 31) / 32) * 4;
}

HDC ScreenDC() {
  static HDC dc = GetDC(nullptr);
  return dc;
}

}  // namespace

// ---------------------------------------------------------------------------
// Colours and types

Integer ColorToRGB(TColor color) {
  if (color < 0) return static_cast<Integer>(GetSysColor(color & 0xFF));
  return color;
}

int ScreenLogPixels() {
  static int ppi = [] {
    int value = GetDeviceCaps(ScreenDC(), LOGPIXELSY);
    return value > 0 ? value : 96;
  }();
  return ppi;
}

UINT TextFormatFlags(TTextFormat format) {
  static const UINT flags[] = {DT_BOTTOM,       DT_CALCRECT,      DT_CENTER,        DT_EDITCONTROL,
                               DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_EXPANDTABS,    DT_EXTERNALLEADING,
                               DT_LEFT,         DT_MODIFYSTRING,  DT_NOCLIP,        DT_NOPREFIX,
                               DT_RIGHT,        DT_RTLREADING,    DT_SINGLELINE,    DT_TOP,
                               DT_VCENTER,      DT_WORDBREAK,     DT_HIDEPREFIX,    DT_NOFULLWIDTHCHARBREAK,
                               DT_PREFIXONLY,   DT_TABSTOP,       DT_WORD_ELLIPSIS, 0};
  UINT result = 0;
  for (int i = 0; i <= tfComposited; ++i)
    if (format.Contains(static_cast<TTextFormats>(i))) result |= flags[i];
  return result;
}

const TTypeInfo& DescribeType(TypeTag<TFontPitch>) {
  static const TEnumTypeInfo t(u"TFontPitch", u"Graphics", {u"fpDefault", u"fpVariable", u"fpFixed"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFontQuality>) {
  static const TEnumTypeInfo t(u"TFontQuality", u"Graphics",
                               {u"fqDefault", u"fqDraft", u"fqProof", u"fqNonAntialiased", u"fqAntialiased",
                                u"fqClearType", u"fqClearTypeNatural"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPenStyle>) {
  static const TEnumTypeInfo t(u"TPenStyle", u"Graphics",
                               {u"psSolid", u"psDash", u"psDot", u"psDashDot", u"psDashDotDot", u"psClear",
                                u"psInsideFrame", u"psUserStyle", u"psAlternate"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPenMode>) {
  static const TEnumTypeInfo t(
      u"TPenMode", u"Graphics",
      {u"pmBlack", u"pmWhite", u"pmNop", u"pmNot", u"pmCopy", u"pmNotCopy", u"pmMergePenNot", u"pmMaskPenNot",
       u"pmMergeNotPen", u"pmMaskNotPen", u"pmMerge", u"pmNotMerge", u"pmMask", u"pmNotMask", u"pmXor", u"pmNotXor"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBrushStyle>) {
  static const TEnumTypeInfo t(u"TBrushStyle", u"Graphics",
                               {u"bsSolid", u"bsClear", u"bsHorizontal", u"bsVertical", u"bsFDiagonal", u"bsBDiagonal",
                                u"bsCross", u"bsDiagCross"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPixelFormat>) {
  static const TEnumTypeInfo t(
      u"TPixelFormat", u"Graphics",
      {u"pfDevice", u"pf1bit", u"pf4bit", u"pf8bit", u"pf15bit", u"pf16bit", u"pf24bit", u"pf32bit", u"pfCustom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TTransparentMode>) {
  static const TEnumTypeInfo t(u"TTransparentMode", u"Graphics", {u"tmAuto", u"tmFixed"});
  return t;
}

// ---------------------------------------------------------------------------
// Drawing tools

void TGraphicsObject::Describe(TClassBuilder<TGraphicsObject>&) {}

void TGraphicsObject::Changed() {
  OnChange(this);
}

TFont::TFont() : FPixelsPerInch(ScreenLogPixels()) {}

TFont::~TFont() {
  FreeHandle();
}

void TFont::Describe(TClassBuilder<TFont>& c) {
  c.Property(u"Charset", &TFont::Charset, &TFont::SetCharset, &types::FontCharset());
  c.Property(u"Color", &TFont::Color, &TFont::SetColor, &types::Color());
  c.Property(u"Height", &TFont::Height, &TFont::SetHeight);
  c.Property(u"Name", &TFont::Name, &TFont::SetName);
  c.Property(u"Orientation", &TFont::Orientation, &TFont::SetOrientation).Default(0);
  c.Property(u"Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
  c.Property(u"Size", &TFont::Size, &TFont::SetSize).Stored(false);
  c.Property(u"Style", &TFont::Style, &TFont::SetStyle);
  c.Property(u"Quality", &TFont::Quality, &TFont::SetQuality).Default(fqDefault);
}

namespace {
std::map<const TFont*, HGDIOBJ>& StaleFonts() {
  static std::map<const TFont*, HGDIOBJ> stale;
  return stale;
}
}  // namespace

void TFont::FreeHandle() const {
  auto& stale = StaleFonts();
  auto it = stale.find(this);
  if (it != stale.end()) {
    DeleteObject(it->second);
    stale.erase(it);
  }
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

HFONT TFont::Handle() const {
  if (!FHandle) {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfEscapement = lf.lfOrientation = FOrientation;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    static const BYTE qualities[] = {DEFAULT_QUALITY,          DRAFT_QUALITY,       PROOF_QUALITY,
                                     NONANTIALIASED_QUALITY,   ANTIALIASED_QUALITY, CLEARTYPE_QUALITY,
                                     CLEARTYPE_NATURAL_QUALITY};
    lf.lfQuality = qualities[FQuality];
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    String face = FName.substr(0, LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, face.c_str(), face.size() * sizeof(wchar_t));
    FHandle = CreateFontIndirectW(&lf);
  }
  return FHandle;
}

void TFont::SetHandle(HFONT font) {
  LOGFONTW lf{};
  if (!font || !::GetObjectW(font, sizeof lf, &lf)) return;
  FHeight = lf.lfHeight;
  FStyle = {};
  if (lf.lfWeight >= FW_BOLD) FStyle.Include(fsBold);
  if (lf.lfItalic) FStyle.Include(fsItalic);
  if (lf.lfUnderline) FStyle.Include(fsUnderline);
  if (lf.lfStrikeOut) FStyle.Include(fsStrikeOut);
  FCharset = lf.lfCharSet;
  FName = FromWStr(lf.lfFaceName);
  FOrientation = lf.lfEscapement;
  int pitch = lf.lfPitchAndFamily & 3;
  FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
  Changed();
}

void TFont::Changed() {
  // The old handle may still be selected in a context or set on a window:
  // it goes one change later.
  if (FHandle) {
    auto& stale = StaleFonts();
    HGDIOBJ& slot = stale[this];
    DeleteLater(slot, FHandle);
    FHandle = nullptr;
  }
  TGraphicsObject::Changed();
}

void TFont::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TFont*>(source)) {
    if (Equals(*other) && FPixelsPerInch == other->FPixelsPerInch) return;
    FName = other->FName;
    FHeight = other->FHeight;
    if (FPixelsPerInch != other->FPixelsPerInch) FHeight = MulDiv(FHeight, FPixelsPerInch, other->FPixelsPerInch);
    FColor = other->FColor;
    FStyle = other->FStyle;
    FCharset = other->FCharset;
    FPitch = other->FPitch;
    FQuality = other->FQuality;
    FOrientation = other->FOrientation;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

bool TFont::Equals(const TFont& o) const {
  return FName == o.FName && FHeight == o.FHeight && FColor == o.FColor && FStyle == o.FStyle &&
         FCharset == o.FCharset && FPitch == o.FPitch && FQuality == o.FQuality && FOrientation == o.FOrientation;
}

void TFont::SetName(const String& name) {
  if (name.empty() || name == FName) return;
  FName = name;
  Changed();
}
void TFont::SetHeight(Integer height) {
  if (height == FHeight) return;
  FHeight = height;
  Changed();
}
Integer TFont::Size() const {
  return -MulDiv(FHeight, 72, FPixelsPerInch);
}
void TFont::SetSize(Integer size) {
  SetHeight(-MulDiv(size, FPixelsPerInch, 72));
}
void TFont::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  // Only the text colour changes: the handle stays.
  TGraphicsObject::Changed();
}
void TFont::SetStyle(TFontStyles style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}
void TFont::SetCharset(TFontCharset charset) {
  if (charset == FCharset) return;
  FCharset = charset;
  Changed();
}
void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == FPitch) return;
  FPitch = pitch;
  Changed();
}
void TFont::SetQuality(TFontQuality quality) {
  if (quality == FQuality) return;
  FQuality = quality;
  Changed();
}
void TFont::SetOrientation(Integer orientation) {
  if (orientation == FOrientation) return;
  FOrientation = orientation;
  Changed();
}

namespace {
std::map<const void*, HGDIOBJ>& StaleTools() {
  static std::map<const void*, HGDIOBJ> stale;
  return stale;
}
void FreeTool(const void* owner, HGDIOBJ& handle) {
  auto& stale = StaleTools();
  auto it = stale.find(owner);
  if (it != stale.end()) {
    DeleteObject(it->second);
    stale.erase(it);
  }
  if (handle) DeleteObject(handle);
  handle = nullptr;
}
void RetireTool(const void* owner, HGDIOBJ& handle) {
  if (!handle) return;
  DeleteLater(StaleTools()[owner], handle);
  handle = nullptr;
}
}  // namespace

TPen::~TPen() {
  FreeHandle();
}

void TPen::Describe(TClassBuilder<TPen>& c) {
  c.Property(u"Color", &TPen::Color, &TPen::SetColor, &types::Color()).Default(clBlack);
  c.Property(u"Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
  c.Property(u"Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
  c.Property(u"Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::FreeHandle() const {
  HGDIOBJ h = FHandle;
  FreeTool(this, h);
  FHandle = nullptr;
}

HPEN TPen::Handle() const {
  if (!FHandle) {
    if (FStyle == psAlternate) {
      LOGBRUSH lb{BS_SOLID, GdiColor(FColor), 0};
      FHandle = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
    } else {
      static const int styles[] = {PS_SOLID,      PS_DASH, PS_DOT,         PS_DASHDOT,
                                   PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME, PS_SOLID};
      FHandle = CreatePen(styles[FStyle], FWidth, GdiColor(FColor));
    }
  }
  return FHandle;
}

void TPen::Changed() {
  HGDIOBJ h = FHandle;
  RetireTool(this, h);
  FHandle = nullptr;
  TGraphicsObject::Changed();
}

void TPen::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPen*>(source)) {
    FColor = other->FColor;
    FWidth = other->FWidth;
    FStyle = other->FStyle;
    FMode = other->FMode;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

void TPen::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}
void TPen::SetWidth(Integer width) {
  if (width == FWidth || width < 0) return;
  FWidth = width;
  Changed();
}
void TPen::SetStyle(TPenStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}
void TPen::SetMode(TPenMode mode) {
  if (mode == FMode) return;
  FMode = mode;
  TGraphicsObject::Changed();
}

TBrush::~TBrush() {
  FreeHandle();
}

void TBrush::Describe(TClassBuilder<TBrush>& c) {
  c.Property(u"Color", &TBrush::Color, &TBrush::SetColor, &types::Color()).Default(clWhite);
  c.Property(u"Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::FreeHandle() const {
  HGDIOBJ h = FHandle;
  FreeTool(this, h);
  FHandle = nullptr;
}

HBRUSH TBrush::Handle() const {
  if (!FHandle) {
    if (FBitmap && !FBitmap->Empty()) {
      FHandle = CreatePatternBrush(FBitmap->Handle());
    } else {
      LOGBRUSH lb{BS_SOLID, GdiColor(FColor), 0};
      static const ULONG_PTR hatches[] = {0,        0,           HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL,
                                          HS_CROSS, HS_DIAGCROSS};
      if (FStyle == bsClear)
        lb.lbStyle = BS_NULL;
      else if (FStyle != bsSolid) {
        lb.lbStyle = BS_HATCHED;
        lb.lbHatch = hatches[FStyle];
      }
      FHandle = CreateBrushIndirect(&lb);
    }
  }
  return FHandle;
}

void TBrush::Changed() {
  HGDIOBJ h = FHandle;
  RetireTool(this, h);
  FHandle = nullptr;
  TGraphicsObject::Changed();
}

void TBrush::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TBrush*>(source)) {
    FColor = other->FColor;
    FStyle = other->FStyle;
    FBitmap = other->FBitmap;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

void TBrush::SetColor(TColor color) {
  if (color == FColor && FStyle != bsClear) return;
  FColor = color;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}
void TBrush::SetBitmap(TBitmap* bitmap) {
  FBitmap = bitmap;
  Changed();
}

// ---------------------------------------------------------------------------
// Canvas

void TCanvas::Describe(TClassBuilder<TCanvas>&) {}

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
  FPen->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
  FBrush->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
}

HDC TCanvas::Handle() {
  RequiredState(kHandle);
  return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == FHandle) return;
  if (FHandle) DeselectHandles();
  FHandle = dc;
  FState = dc ? kHandle : 0;
}

void TCanvas::DeselectHandles() {
  if (FHandle) {
    if (FOldFont) SelectObject(FHandle, FOldFont);
    if (FOldPen) SelectObject(FHandle, FOldPen);
    if (FOldBrush) SelectObject(FHandle, FOldBrush);
  }
  FOldFont = FOldPen = FOldBrush = nullptr;
  FState &= kHandle;
}

void TCanvas::Refresh() {
  DeselectHandles();
}

void TCanvas::RequiredState(int state) {
  if (!FHandle) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation(u"Canvas does not allow drawing");
  }
  int needed = state & ~FState;
  if (needed & kFont) {
    HGDIOBJ old = SelectObject(FHandle, FFont->Handle());
    if (!FOldFont) FOldFont = old;
    SetTextColor(FHandle, GdiColor(FFont->Color()));
  }
  if (needed & kPen) {
    HGDIOBJ old = SelectObject(FHandle, FPen->Handle());
    if (!FOldPen) FOldPen = old;
    static const int rops[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                               R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                               R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                               R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    SetROP2(FHandle, rops[FPen->Mode()]);
  }
  if (needed & kBrush) {
    HBRUSH brush = FBrush->Handle();
    UnrealizeObject(brush);
    HGDIOBJ old = SelectObject(FHandle, brush);
    if (!FOldBrush) FOldBrush = old;
    COLORREF color = GdiColor(FBrush->Color());
    if (FBrush->Style() == bsSolid) {
      SetBkColor(FHandle, color);
      SetBkMode(FHandle, OPAQUE);
    } else {
      SetBkColor(FHandle, ~color & 0x00FFFFFF);
      SetBkMode(FHandle, TRANSPARENT);
    }
  }
  FState |= state | kHandle;
}

void TCanvas::FontChanged(TObject*) {
  if (FHandle && (FState & kFont)) {
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    FState &= ~kFont;
  }
}
void TCanvas::PenChanged(TObject*) {
  if (FHandle && (FState & kPen)) {
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
    FState &= ~kPen;
  }
}
void TCanvas::BrushChanged(TObject*) {
  if (FHandle && (FState & kBrush)) {
    SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    FState &= ~kBrush;
  }
}

void TCanvas::Changing() {
  OnChanging(this);
}
void TCanvas::Changed() {
  OnChange(this);
}

TPoint TCanvas::PenPos() {
  if (FHandle) {
    POINT p;
    GetCurrentPositionEx(FHandle, &p);
    FPenPos = FromPOINT(p);
  }
  return FPenPos;
}

void TCanvas::MoveTo(Integer x, Integer y) {
  RequiredState(kHandle);
  MoveToEx(FHandle, x, y, nullptr);
  FPenPos = {x, y};
}

void TCanvas::LineTo(Integer x, Integer y) {
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  ::LineTo(FHandle, x, y);
  FPenPos = {x, y};
  Changed();
}

void TCanvas::Rectangle(Integer x1, Integer y1, Integer x2, Integer y2) {
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  ::Rectangle(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3) {
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  ::RoundRect(FHandle, x1, y1, x2, y2, x3, y3);
  Changed();
}

void TCanvas::Ellipse(Integer x1, Integer y1, Integer x2, Integer y2) {
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  ::Ellipse(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4) {
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  ::Arc(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Chord(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4) {
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  ::Chord(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Pie(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4) {
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  ::Pie(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

namespace {
std::vector<POINT> ToPoints(const std::vector<TPoint>& points) {
  std::vector<POINT> result;
  result.reserve(points.size());
  for (const TPoint& p : points) result.push_back(ToPOINT(p));
  return result;
}
}  // namespace

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  auto pts = ToPoints(points);
  ::Polygon(FHandle, pts.data(), static_cast<int>(pts.size()));
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  auto pts = ToPoints(points);
  ::Polyline(FHandle, pts.data(), static_cast<int>(pts.size()));
  Changed();
}

void TCanvas::PolyBezier(const std::vector<TPoint>& points) {
  if (points.size() < 4) return;
  Changing();
  RequiredState(kHandle | kPen | kBrush);
  auto pts = ToPoints(points);
  ::PolyBezier(FHandle, pts.data(), static_cast<DWORD>(pts.size()));
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  Changing();
  RequiredState(kHandle | kBrush);
  RECT rc = ToRECT(r);
  ::FillRect(FHandle, &rc, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  Changing();
  RequiredState(kHandle | kBrush);
  RECT rc = ToRECT(r);
  ::FrameRect(FHandle, &rc, FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  Changing();
  RequiredState(kHandle | kBrush);
  RECT rc = ToRECT(r);
  ::DrawFocusRect(FHandle, &rc);
  Changed();
}

void TCanvas::FloodFill(Integer x, Integer y, TColor color, TFillStyle style) {
  Changing();
  RequiredState(kHandle | kBrush);
  ExtFloodFill(FHandle, x, y, GdiColor(color), style == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

TColor TCanvas::Pixels(Integer x, Integer y) {
  RequiredState(kHandle);
  return static_cast<TColor>(GetPixel(FHandle, x, y));
}

void TCanvas::SetPixels(Integer x, Integer y, TColor color) {
  Changing();
  RequiredState(kHandle | kPen);
  SetPixel(FHandle, x, y, GdiColor(color));
  Changed();
}

void TCanvas::TextOut(Integer x, Integer y, const String& text) {
  Changing();
  RequiredState(kHandle | kFont | kBrush);
  ExtTextOutW(FHandle, x, y, static_cast<UINT>(FTextFlags), nullptr, WStr(text), static_cast<UINT>(text.size()),
              nullptr);
  Changed();
  MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& r, Integer x, Integer y, const String& text) {
  Changing();
  RequiredState(kHandle | kFont | kBrush);
  UINT options = ETO_CLIPPED | (static_cast<UINT>(FTextFlags) & ~static_cast<UINT>(ETO_OPAQUE));
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  RECT rc = ToRECT(r);
  ExtTextOutW(FHandle, x, y, options, &rc, WStr(text), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

void TCanvas::TextRect(TRect& r, String& text, TTextFormat format) {
  UINT flags = TextFormatFlags(format);
  if (format.Contains(tfModifyString)) {
    // The platform may write up to four more characters (an ellipsis).
    String buffer = text;
    buffer.append(5, u'\0');
    Changing();
    RequiredState(kHandle | kFont | kBrush);
    RECT rc = ToRECT(r);
    ::DrawTextW(FHandle, WBuf(buffer), static_cast<int>(text.size()), &rc, flags);
    r = FromRECT(rc);
    text = String(buffer.c_str());
    Changed();
    return;
  }
  DrawText(text, r, flags);
}

Integer TCanvas::DrawText(const String& text, TRect& r, UINT flags) {
  Changing();
  RequiredState(kHandle | kFont | kBrush);
  RECT rc = ToRECT(r);
  String buffer = text;
  int height = ::DrawTextW(FHandle, WBuf(buffer), static_cast<int>(buffer.size()), &rc, flags & ~DT_MODIFYSTRING);
  r = FromRECT(rc);
  Changed();
  return height;
}

TSize TCanvas::TextExtent(const String& text) {
  RequiredState(kHandle | kFont);
  SIZE size{0, 0};
  GetTextExtentPoint32W(FHandle, WStr(text), static_cast<int>(text.size()), &size);
  return {static_cast<Integer>(size.cx), static_cast<Integer>(size.cy)};
}

void TCanvas::Draw(Integer x, Integer y, TGraphic& graphic) {
  if (graphic.Empty()) return;
  StretchDraw(Bounds(x, y, graphic.Width(), graphic.Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic& graphic) {
  if (graphic.Empty()) return;
  Changing();
  RequiredState(kHandle);
  graphic.Draw(*this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
  Changing();
  RequiredState(kHandle | kFont | kBrush);
  source.RequiredState(kHandle | kFont | kBrush);
  SetStretchBltMode(FHandle, COLORONCOLOR);
  StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), source.FHandle, sourceRect.Left, sourceRect.Top,
             sourceRect.Width(), sourceRect.Height(), static_cast<DWORD>(FCopyMode));
  Changed();
}

TRect TCanvas::ClipRect() {
  RequiredState(kHandle);
  RECT r{};
  GetClipBox(FHandle, &r);
  return FromRECT(r);
}

void TCanvas::IntersectClipRect(const TRect& r) {
  RequiredState(kHandle);
  ::IntersectClipRect(FHandle, r.Left, r.Top, r.Right, r.Bottom);
}

void TMetafileCanvas::Describe(TClassBuilder<TMetafileCanvas>&) {}

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile, HDC referenceDevice)
    : TMetafileCanvas(metafile, referenceDevice, String(), String()) {}

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile, HDC referenceDevice, const String& creatorName,
                                 const String& description)
    : FMetafile(metafile) {
  // The header's text: the creator, a null, the description, two nulls.
  String text;
  if (!creatorName.empty() || !description.empty()) {
    text = creatorName;
    text += u'\0';
    text += description;
    text += u'\0';
  }
  RECT frame{};
  const bool framed = metafile.Width() > 0 && metafile.Height() > 0;
  if (framed) {
    // The frame is in hundredths of a millimetre of the reference device.
    const int ppi = ScreenLogPixels();
    frame.right = MulDiv(metafile.Width(), 2540, ppi);
    frame.bottom = MulDiv(metafile.Height(), 2540, ppi);
  }
  SetHandle(
      CreateEnhMetaFileW(referenceDevice, nullptr, framed ? &frame : nullptr, text.empty() ? nullptr : WStr(text)));
  if (!HandleAllocated()) throw EOutOfResources(u"Out of system resources");
}

TMetafileCanvas::~TMetafileCanvas() {
  HDC dc = HandleAllocated() ? Handle() : nullptr;
  SetHandle(nullptr);
  if (dc) FMetafile.SetHandle(CloseEnhMetaFile(dc));
}

// ---------------------------------------------------------------------------
// Graphics

void TGraphic::Describe(TClassBuilder<TGraphic>&) {}

void TGraphic::SetTransparent(bool transparent) {
  if (transparent == FTransparent) return;
  FTransparent = transparent;
  Changed();
}

void TGraphic::SetModified(bool modified) {
  if (modified)
    Changed();
  else
    FModified = false;
}

void TGraphic::Changed() {
  FModified = true;
  OnChange(this);
}

void TGraphic::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

void TGraphic::ReadData(TStream& stream) {
  LoadFromStream(stream);
}
void TGraphic::WriteData(TStream& stream) {
  SaveToStream(stream);
}

void TGraphic::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      u"Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !Empty());
}

// ---------------------------------------------------------------------------
// Bitmap

void TBitmap::Describe(TClassBuilder<TBitmap>&) {}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(Integer width, Integer height, TPixelFormat format) : FPixelFormat(format) {
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  FreeContext();
  if (FHandle) DeleteObject(FHandle);
}

int TBitmap::BitCount(TPixelFormat format) {
  return BitsOf(format);
}

void TBitmap::FreeContext() {
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FContext) {
    SelectObject(FContext, FOldBitmap);
    DeleteDC(FContext);
    FContext = nullptr;
    FOldBitmap = nullptr;
  }
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>([this]() -> HDC {
      if (!FHandle) return nullptr;
      if (!FContext) {
        FContext = CreateCompatibleDC(nullptr);
        FOldBitmap = SelectObject(FContext, FHandle);
      }
      return FContext;
    });
    FCanvas->OnChange = TNotifyEvent([this](TObject*) { Changed(); });
  }
  return *FCanvas;
}

void TBitmap::Create(Integer width, Integer height, TPixelFormat format, const std::vector<RGBQUAD>& colors) {
  if (width < 0 || height < 0 || width > kMaxPictureDimension || height > kMaxPictureDimension || Int64{width} * height > kMaxPicturePixels)
    throw EInvalidGraphic(u"Bitmap image is not valid");
  HBITMAP old = FHandle;
  Integer oldWidth = FWidth, oldHeight = FHeight;
  HDC oldContext = nullptr;
  HGDIOBJ oldSelected = nullptr;
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FContext) {
    oldContext = FContext;
    oldSelected = FOldBitmap;
    FContext = nullptr;
    FOldBitmap = nullptr;
  }
  HBITMAP created = nullptr;
  void* bits = nullptr;
  if (width > 0 && height > 0) {
    DibInfo info = MakeDibInfo(width, height, format, colors);
    created = CreateDIBSection(ScreenDC(), info.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!created) throw EOutOfResources(u"Out of system resources");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ prev = SelectObject(dc, created);
    PatBlt(dc, 0, 0, width, height, WHITENESS);
    if (old) {
      HDC src = oldContext ? oldContext : CreateCompatibleDC(nullptr);
      HGDIOBJ srcPrev = oldContext ? nullptr : SelectObject(src, old);
      BitBlt(dc, 0, 0, std::min(width, oldWidth), std::min(height, oldHeight), src, 0, 0, SRCCOPY);
      if (!oldContext) {
        SelectObject(src, srcPrev);
        DeleteDC(src);
      }
    }
    SelectObject(dc, prev);
    DeleteDC(dc);
  }
  if (oldContext) {
    SelectObject(oldContext, oldSelected);
    DeleteDC(oldContext);
  }
  if (old) DeleteObject(old);
  FHandle = created;
  FBits = bits;
  FWidth = created ? width : 0;
  FHeight = created ? height : 0;
  FPixelFormat = format;
}

void TBitmap::SetSize(Integer width, Integer height) {
  if (width == FWidth && height == FHeight) return;
  Create(width, height, FPixelFormat, FHandle ? ColorTable() : std::vector<RGBQUAD>());
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == FPixelFormat || format == pfCustom) return;
  if (!FHandle) {
    FPixelFormat = format;
    return;
  }
  Create(FWidth, FHeight, format, {});
  Changed();
}

Integer TBitmap::BytesPerScanLine() const {
  return StrideOf(FWidth, BitCount(FPixelFormat));
}

void* TBitmap::ScanLine(Integer row) {
  if (!FHandle || row < 0 || row >= FHeight) throw EInvalidGraphicOperation(u"Scan line index out of range");
  GdiFlush();
  // The section is stored bottom-up.
  return static_cast<Byte*>(FBits) + static_cast<size_t>(FHeight - 1 - row) * BytesPerScanLine();
}

std::vector<RGBQUAD> TBitmap::ColorTable() const {
  std::vector<RGBQUAD> table;
  if (!FHandle || BitCount(FPixelFormat) > 8) return table;
  table.resize(size_t{1} << BitCount(FPixelFormat));
  HDC dc = FContext ? FContext : CreateCompatibleDC(nullptr);
  HGDIOBJ prev = FContext ? nullptr : SelectObject(dc, FHandle);
  UINT n = GetDIBColorTable(dc, 0, static_cast<UINT>(table.size()), table.data());
  if (!FContext) {
    SelectObject(dc, prev);
    DeleteDC(dc);
  }
  table.resize(n);
  return table;
}

void TBitmap::SetColorTable(const std::vector<RGBQUAD>& table) {
  if (!FHandle || BitCount(FPixelFormat) > 8 || table.empty()) return;
  Canvas().Handle();
  SetDIBColorTable(FContext, 0, static_cast<UINT>(std::min<size_t>(table.size(), 256)), table.data());
  Changed();
}

void TBitmap::SetHandle(HBITMAP bitmap) {
  if (bitmap == FHandle) return;
  if (!bitmap) {
    FreeContext();
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    FBits = nullptr;
    FWidth = FHeight = 0;
    Changed();
    return;
  }
  DIBSECTION section{};
  BITMAP info{};
  if (::GetObjectW(bitmap, sizeof section, &section) == sizeof section && section.dsBm.bmBits) {
    // Already a section: take it as it is.
    FreeContext();
    if (FHandle) DeleteObject(FHandle);
    FHandle = bitmap;
    FBits = section.dsBm.bmBits;
    FWidth = section.dsBm.bmWidth;
    FHeight = std::abs(section.dsBm.bmHeight);
    switch (section.dsBm.bmBitsPixel) {
      case 1: FPixelFormat = pf1bit; break;
      case 4: FPixelFormat = pf4bit; break;
      case 8: FPixelFormat = pf8bit; break;
      case 16: FPixelFormat = section.dsBitfields[1] == 0x07E0 ? pf16bit : pf15bit; break;
      case 24: FPixelFormat = pf24bit; break;
      default: FPixelFormat = pf32bit; break;
    }
    if (section.dsBmih.biHeight < 0) {
      // A top-down section: copy it into the usual layout.
      HBITMAP copy = bitmap;
      FHandle = nullptr;
      FWidth = FHeight = 0;
      Create(section.dsBm.bmWidth, std::abs(section.dsBm.bmHeight), FPixelFormat, {});
      HDC src = CreateCompatibleDC(nullptr);
      HGDIOBJ prev = SelectObject(src, copy);
      HDC dst = Canvas().Handle();
      BitBlt(dst, 0, 0, FWidth, FHeight, src, 0, 0, SRCCOPY);
      SelectObject(src, prev);
      DeleteDC(src);
      DeleteObject(copy);
    }
    Changed();
    return;
  }
  if (!::GetObjectW(bitmap, sizeof info, &info)) throw EInvalidGraphic(u"Bitmap image is not valid");
  FreeContext();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
  TPixelFormat format = info.bmBitsPixel == 1 ? pf1bit : pfDevice;
  Create(info.bmWidth, info.bmHeight, format, {});
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ prev = SelectObject(src, bitmap);
  BitBlt(Canvas().Handle(), 0, 0, FWidth, FHeight, src, 0, 0, SRCCOPY);
  SelectObject(src, prev);
  DeleteDC(src);
  DeleteObject(bitmap);
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  HBITMAP result = FHandle;
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
  return result;
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (!FHandle) return clDefault;
  HDC dc = FContext ? FContext : CreateCompatibleDC(nullptr);
  HGDIOBJ prev = FContext ? nullptr : SelectObject(dc, FHandle);
  COLORREF pixel = GetPixel(dc, 0, FHeight - 1);
  if (!FContext) {
    SelectObject(dc, prev);
    DeleteDC(dc);
  }
  return static_cast<TColor>(pixel & 0x00FFFFFF);
}

void TBitmap::SetTransparentColor(TColor color) {
  FTransparentColor = color;
  FTransparentMode = color == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == FTransparentMode) return;
  FTransparentMode = mode;
  if (mode == tmAuto)
    FTransparentColor = clDefault;
  else if (FTransparentColor == clDefault)
    FTransparentColor = TransparentColor();
  Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) {
  if (!FHandle) return;
  HDC dst = canvas.Handle();
  HDC src = Canvas().Handle();
  if (Transparent()) {
    TransparentBlt(dst, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, FWidth, FHeight,
                   static_cast<UINT>(ColorToRGB(TransparentColor())) & 0x00FFFFFF);
  } else {
    int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, FWidth, FHeight,
               static_cast<DWORD>(canvas.CopyMode()));
    SetStretchBltMode(dst, oldMode);
  }
}

void TBitmap::Assign(const TPersistent* source) {
  if (source == this) return;
  if (!source) {
    SetHandle(nullptr);
    return;
  }
  if (auto* other = dynamic_cast<const TBitmap*>(source)) {
    FreeContext();
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    FWidth = FHeight = 0;
    FPixelFormat = other->FPixelFormat;
    FTransparentColor = other->FTransparentColor;
    FTransparentMode = other->FTransparentMode;
    SetTransparent(other->Transparent());
    if (other->FHandle) {
      Create(other->FWidth, other->FHeight, other->FPixelFormat, other->ColorTable());
      GdiFlush();
      std::memcpy(FBits, other->FBits, static_cast<size_t>(BytesPerScanLine()) * FHeight);
    }
    Changed();
    return;
  }
  if (auto* graphic = dynamic_cast<const TGraphic*>(source)) {
    auto* g = const_cast<TGraphic*>(graphic);
    FreeContext();
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    FWidth = FHeight = 0;
    FPixelFormat = pf32bit;
    Create(g->Width(), g->Height(), pf32bit, {});
    if (FHandle) {
      Canvas().Brush().SetColor(clWhite);
      Canvas().FillRect(Rect(0, 0, FWidth, FHeight));
      g->Draw(Canvas(), Rect(0, 0, FWidth, FHeight));
    }
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::LoadDIB(const Byte* info, size_t infoSize, const Byte* bits, size_t bitsSize) {
  // Reads a packed DIB's header and colours, checks every size against the
  // data, and lets the system convert the pixels into a new section.
  if (infoSize < 12) throw EInvalidGraphic(u"Bitmap image is not valid");
  DWORD headerSize = ReadLE<DWORD>(info);
  DibInfo source;
  BITMAPINFOHEADER& h = source.Header();
  size_t colorBytes = 4;
  if (headerSize == sizeof(BITMAPCOREHEADER)) {
    h.biWidth = ReadLE<WORD>(info + 4);
    h.biHeight = ReadLE<WORD>(info + 6);
    h.biPlanes = ReadLE<WORD>(info + 8);
    h.biBitCount = ReadLE<WORD>(info + 10);
    h.biCompression = BI_RGB;
    colorBytes = 3;
  } else if (headerSize >= sizeof(BITMAPINFOHEADER) && headerSize <= 4096 && headerSize <= infoSize) {
    std::memcpy(&h, info, sizeof(BITMAPINFOHEADER));
  } else {
    throw EInvalidGraphic(u"Bitmap image is not valid");
  }
  h.biSize = sizeof(BITMAPINFOHEADER);
  bool topDown = h.biHeight < 0;
  Int64 width = h.biWidth;
  Int64 height = topDown ? -Int64{h.biHeight} : h.biHeight;
  int bitCount = h.biBitCount;
  if (width <= 0 || height <= 0 || width > kMaxPictureDimension || height > kMaxPictureDimension || width * height > kMaxPicturePixels)
    throw EInvalidGraphic(u"Bitmap image is not valid");
  bool bitfields = h.biCompression == BI_BITFIELDS;
  bool rle = h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4;
  if (!(h.biCompression == BI_RGB || bitfields || (h.biCompression == BI_RLE8 && bitCount == 8) ||
        (h.biCompression == BI_RLE4 && bitCount == 4)))
    throw EInvalidGraphic(u"Bitmap image is not valid");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    throw EInvalidGraphic(u"Bitmap image is not valid");
  if (bitfields && bitCount != 16 && bitCount != 32) throw EInvalidGraphic(u"Bitmap image is not valid");
  if (rle && topDown) throw EInvalidGraphic(u"Bitmap image is not valid");
  size_t pos = headerSize;
  Byte* extra = source.bytes.data() + sizeof(BITMAPINFOHEADER);
  DWORD masks[3] = {0, 0, 0};
  if (bitfields) {
    if (headerSize == sizeof(BITMAPINFOHEADER)) {
      if (infoSize < pos + 12) throw EInvalidGraphic(u"Bitmap image is not valid");
      std::memcpy(masks, info + pos, 12);
      pos += 12;
    } else {
      std::memcpy(masks, info + 40, 12);
    }
    std::memcpy(extra, masks, 12);
  }
  std::vector<RGBQUAD> colors;
  if (bitCount <= 8) {
    size_t count = size_t{1} << bitCount;
    if (headerSize != sizeof(BITMAPCOREHEADER) && h.biClrUsed > 0 && h.biClrUsed < count) count = h.biClrUsed;
    if (infoSize < pos + count * colorBytes) throw EInvalidGraphic(u"Bitmap image is not valid");
    for (size_t i = 0; i < count; ++i) {
      const Byte* c = info + pos + i * colorBytes;
      colors.push_back(RGBQUAD{c[0], c[1], c[2], 0});
    }
    std::memcpy(extra, colors.data(), colors.size() * sizeof(RGBQUAD));
    h.biClrUsed = static_cast<DWORD>(colors.size());
    pos += count * colorBytes;
  } else {
    h.biClrUsed = 0;
  }
  size_t stride = static_cast<size_t>(StrideOf(static_cast<Integer>(width), bitCount));
  size_t needed = rle ? h.biSizeImage : stride * static_cast<size_t>(height);
  if (rle && (needed == 0 || needed > bitsSize)) needed = bitsSize;
  if (needed > bitsSize) throw EInvalidGraphic(u"Bitmap image is not valid");
  if (rle) h.biSizeImage = static_cast<DWORD>(needed);

  TPixelFormat format = pf32bit;
  switch (bitCount) {
    case 1: format = pf1bit; break;
    case 4: format = pf4bit; break;
    case 8: format = pf8bit; break;
    case 16: format = bitfields && masks[1] == 0x07E0 ? pf16bit : pf15bit; break;
    case 24: format = pf24bit; break;
    default: format = pf32bit; break;
  }
  if (bitfields && bitCount == 16 && !(masks[1] == 0x07E0 || masks[1] == 0x03E0)) format = pf24bit;
  if (bitfields && bitCount == 32 && !(masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF))
    format = pf32bit;

  FreeContext();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
  Create(static_cast<Integer>(width), static_cast<Integer>(height), format, colors);
  GdiFlush();
  if (!bitfields && !rle && !topDown && BitCount(format) == bitCount) {
    std::memcpy(FBits, bits, stride * static_cast<size_t>(height));
  } else {
    TBytes copy(bits, bits + needed);  // the system reads RLE data up to its own end markers
    if (rle) copy.resize(needed + 4, 0);
    if (!SetDIBits(ScreenDC(), FHandle, 0, static_cast<UINT>(height), copy.data(), source.Info(), DIB_RGB_COLORS))
      throw EInvalidGraphic(u"Bitmap image is not valid");
  }
}

void TBitmap::LoadFromStream(TStream& stream) {
  TBytes data = ReadRest(stream);
  if (data.size() < 14 + 12 || data[0] != 'B' || data[1] != 'M') throw EInvalidGraphic(u"Bitmap image is not valid");
  DWORD offBits = ReadLE<DWORD>(data.data() + 10);
  DWORD headerSize = ReadLE<DWORD>(data.data() + 14);
  if (headerSize > data.size() - 14) throw EInvalidGraphic(u"Bitmap image is not valid");
  size_t infoEnd = data.size();
  if (offBits >= 14 + headerSize && offBits <= data.size()) infoEnd = offBits;
  // Without a usable offset the pixels follow the colour table directly; LoadDIB
  // finds that place itself when given the whole rest.
  if (infoEnd == data.size()) {
    size_t colors = 0;
    WORD bitCount = headerSize == 12 ? ReadLE<WORD>(data.data() + 14 + 10) : ReadLE<WORD>(data.data() + 14 + 14);
    if (bitCount <= 8) colors = (size_t{1} << bitCount) * (headerSize == 12 ? 3 : 4);
    infoEnd = std::min(data.size(), 14 + headerSize + colors);
  }
  LoadDIB(data.data() + 14, infoEnd - 14, data.data() + infoEnd, data.size() - infoEnd);
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
  if (!FHandle) return;
  GdiFlush();
  int bits = BitCount(FPixelFormat);
  std::vector<RGBQUAD> colors = ColorTable();
  size_t extra = FPixelFormat == pf16bit ? 12 : colors.size() * sizeof(RGBQUAD);
  size_t imageSize = static_cast<size_t>(BytesPerScanLine()) * FHeight;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + extra);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + imageSize);
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = FWidth;
  h.biHeight = FHeight;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bits);
  h.biCompression = FPixelFormat == pf16bit ? BI_BITFIELDS : BI_RGB;
  h.biSizeImage = static_cast<DWORD>(imageSize);
  h.biClrUsed = static_cast<DWORD>(colors.size());
  stream.WriteBuffer(&file, sizeof file);
  stream.WriteBuffer(&h, sizeof h);
  if (FPixelFormat == pf16bit) {
    DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    stream.WriteBuffer(masks, sizeof masks);
  } else if (!colors.empty()) {
    stream.WriteBuffer(colors.data(), static_cast<Int64>(colors.size() * sizeof(RGBQUAD)));
  }
  stream.WriteBuffer(FBits, static_cast<Int64>(imageSize));
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const String& name) {
  HRSRC resource = FindResourceW(instance, WStr(name), MAKEINTRESOURCEW(2));
  if (!resource) throw EResNotFound(Format(u"Resource %s not found", {name}));
  HGLOBAL global = LoadResource(instance, resource);
  DWORD size = SizeofResource(instance, resource);
  auto* data = static_cast<const Byte*>(LockResource(global));
  if (!data || size < 12) throw EInvalidGraphic(u"Bitmap image is not valid");
  DWORD headerSize = ReadLE<DWORD>(data);
  if (headerSize > size) throw EInvalidGraphic(u"Bitmap image is not valid");
  size_t colors = 0;
  WORD bitCount = headerSize == 12 ? ReadLE<WORD>(data + 10) : size >= 16 ? ReadLE<WORD>(data + 14) : 0;
  DWORD clrUsed = headerSize >= 40 && size >= 36 ? ReadLE<DWORD>(data + 32) : 0;
  DWORD compression = headerSize >= 40 && size >= 20 ? ReadLE<DWORD>(data + 16) : 0;
  if (bitCount <= 8) {
    size_t count = size_t{1} << bitCount;
    if (clrUsed > 0 && clrUsed < count) count = clrUsed;
    colors = count * (headerSize == 12 ? 3 : 4);
  }
  if (compression == BI_BITFIELDS && headerSize == 40) colors = 12;
  size_t infoEnd = std::min<size_t>(size, headerSize + colors);
  LoadDIB(data, infoEnd, data + infoEnd, size - infoEnd);
  Changed();
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, Integer id) {
  HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
  if (!resource) throw EResNotFound(Format(u"Resource %s not found", {IntToStr(id)}));
  String name = u"#" + IntToStr(id);
  LoadFromResourceName(instance, name);
}

void TBitmap::ReadData(TStream& stream) {
  // Forms store a bitmap as its size and then the bitmap file.
  Integer size = 0;
  stream.ReadBuffer(&size, 4);
  if (size <= 0 || size > stream.Size() - stream.Position()) throw EInvalidGraphic(u"Bitmap image is not valid");
  TBytes data(static_cast<size_t>(size));
  stream.ReadBuffer(data.data(), size);
  TBytesStream inner(std::move(data));
  LoadFromStream(inner);
}

// Bitmaps and metafiles go into forms as their size and then their file.
static void WriteSized(TGraphic& graphic, TStream& stream) {
  TMemoryStream inner;
  graphic.SaveToStream(inner);
  const Integer size = static_cast<Integer>(inner.Size());
  stream.WriteBuffer(&size, 4);
  if (size) stream.WriteBuffer(inner.Memory(), size);
}

void TBitmap::WriteData(TStream& stream) {
  WriteSized(*this, stream);
}

// ---------------------------------------------------------------------------
// Icon

void TIcon::Describe(TClassBuilder<TIcon>&) {}

TIcon::TIcon() {
  SetTransparent(true);
}

TIcon::~TIcon() {
  Clear();
}

void TIcon::Clear() {
  if (FHandle) DestroyIcon(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
  FData.clear();
}

void TIcon::SetWidth(Integer width) {
  if (width != FWidth) throw EInvalidGraphicOperation(u"Cannot change the size of an icon");
}
void TIcon::SetHeight(Integer height) {
  if (height != FHeight) throw EInvalidGraphicOperation(u"Cannot change the size of an icon");
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) {
  if (FHandle) DrawIconEx(canvas.Handle(), r.Left, r.Top, FHandle, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(TStream& stream) {
  TBytes data = ReadRest(stream);
  if (data.size() < 6) throw EInvalidGraphic(u"Invalid icon format");
  WORD reserved = ReadLE<WORD>(data.data());
  WORD type = ReadLE<WORD>(data.data() + 2);
  WORD count = ReadLE<WORD>(data.data() + 4);
  if (reserved != 0 || (type != 1 && type != 2) || count == 0 || data.size() < 6 + size_t{count} * 16)
    throw EInvalidGraphic(u"Invalid icon format");
  int wanted = GetSystemMetrics(SM_CXICON);
  int best = -1, bestScore = -1;
  for (int i = 0; i < count; ++i) {
    const Byte* e = data.data() + 6 + i * 16;
    int w = e[0] ? e[0] : 256;
    DWORD size = ReadLE<DWORD>(e + 8);
    DWORD offset = ReadLE<DWORD>(e + 12);
    if (offset > data.size() || size > data.size() - offset || size < 40) continue;
    int bits = ReadLE<WORD>(e + 6);
    int score = (w == wanted ? 10000 : 0) + bits * 10 - std::abs(w - wanted);
    if (score > bestScore) {
      bestScore = score;
      best = i;
    }
  }
  if (best < 0) throw EInvalidGraphic(u"Invalid icon format");
  const Byte* e = data.data() + 6 + best * 16;
  int w = e[0] ? e[0] : 256;
  int h = e[1] ? e[1] : 256;
  DWORD size = ReadLE<DWORD>(e + 8);
  DWORD offset = ReadLE<DWORD>(e + 12);
  HICON icon = CreateIconFromResourceEx(data.data() + offset, size, type == 1, 0x00030000, w, h, LR_DEFAULTCOLOR);
  if (!icon) throw EInvalidGraphic(u"Invalid icon format");
  Clear();
  FHandle = icon;
  FWidth = w;
  FHeight = h;
  FData = std::move(data);
  Changed();
}

void TIcon::SaveToStream(TStream& stream) {
  if (!FData.empty()) {
    stream.WriteBuffer(FData.data(), static_cast<Int64>(FData.size()));
    return;
  }
  if (!FHandle) return;
  // An icon known only by its handle: one 32-bit image with its mask.
  ICONINFO info{};
  if (!GetIconInfo(FHandle, &info)) throw EInvalidGraphic(u"Invalid icon format");
  int w = FWidth, h = FHeight;
  std::vector<Byte> color(static_cast<size_t>(w) * h * 4), mask(static_cast<size_t>(StrideOf(w, 1)) * h);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  if (info.hbmColor) GetDIBits(ScreenDC(), info.hbmColor, 0, static_cast<UINT>(h), color.data(), &bi, DIB_RGB_COLORS);
  DibInfo mi = MakeDibInfo(w, h, pf1bit, {});
  GetDIBits(ScreenDC(), info.hbmMask, 0, static_cast<UINT>(h), mask.data(), mi.Info(), DIB_RGB_COLORS);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), w, h * 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  DWORD bytes = static_cast<DWORD>(sizeof header + color.size() + mask.size());
  Byte dir[6 + 16] = {0, 0, 1, 0, 1,  0, static_cast<Byte>(w >= 256 ? 0 : w), static_cast<Byte>(h >= 256 ? 0 : h),
                      0, 0, 1, 0, 32, 0};
  std::memcpy(dir + 14, &bytes, 4);
  DWORD offset = sizeof dir;
  std::memcpy(dir + 18, &offset, 4);
  stream.WriteBuffer(dir, sizeof dir);
  stream.WriteBuffer(&header, sizeof header);
  stream.WriteBuffer(color.data(), static_cast<Int64>(color.size()));
  stream.WriteBuffer(mask.data(), static_cast<Int64>(mask.size()));
}

void TIcon::Assign(const TPersistent* source) {
  if (source == this) return;
  if (!source) {
    Clear();
    Changed();
    return;
  }
  if (auto* other = dynamic_cast<const TIcon*>(source)) {
    Clear();
    if (other->FHandle) FHandle = CopyIcon(other->FHandle);
    FWidth = other->FWidth;
    FHeight = other->FHeight;
    FData = other->FData;
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TIcon::SetHandle(HICON icon) {
  if (icon == FHandle) return;
  Clear();
  FHandle = icon;
  if (icon) {
    ICONINFO info{};
    if (GetIconInfo(icon, &info)) {
      BITMAP bm{};
      if (::GetObjectW(info.hbmMask, sizeof bm, &bm)) {
        FWidth = bm.bmWidth;
        FHeight = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
      }
      if (info.hbmColor) DeleteObject(info.hbmColor);
      if (info.hbmMask) DeleteObject(info.hbmMask);
    }
  }
  Changed();
}

HICON TIcon::ReleaseHandle() {
  HICON result = FHandle;
  FHandle = nullptr;
  FWidth = FHeight = 0;
  FData.clear();
  return result;
}

// ---------------------------------------------------------------------------
// Metafile

void TMetafile::Describe(TClassBuilder<TMetafile>&) {}

TMetafile::~TMetafile() {
  Clear();
}

void TMetafile::Clear() {
  if (FHandle) DeleteEnhMetaFile(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
  FPlaceable.clear();
}

void TMetafile::SetWidth(Integer width) {
  FWidth = width;
  Changed();
}
void TMetafile::SetHeight(Integer height) {
  FHeight = height;
  Changed();
}

void TMetafile::Draw(TCanvas& canvas, const TRect& r) {
  if (!FHandle) return;
  RECT rc = ToRECT(r);
  PlayEnhMetaFile(canvas.Handle(), FHandle, &rc);
}

void TMetafile::SetHandle(HENHMETAFILE metafile) {
  if (metafile == FHandle) return;
  Clear();
  FHandle = metafile;
  if (metafile) {
    ENHMETAHEADER header{};
    if (GetEnhMetaFileHeader(metafile, sizeof header, &header)) {
      int ppi = ScreenLogPixels();
      FWidth = MulDiv(header.rclFrame.right - header.rclFrame.left, ppi, 2540);
      FHeight = MulDiv(header.rclFrame.bottom - header.rclFrame.top, ppi, 2540);
    }
  }
  Changed();
}

void TMetafile::LoadFromStream(TStream& stream) {
  TBytes data = ReadRest(stream);
  if (data.size() >= 22 && ReadLE<DWORD>(data.data()) == 0x9AC6CDD7) {
    // A placeable metafile: its header gives the size in its own units per inch.
    SHORT left = ReadLE<SHORT>(data.data() + 6), top = ReadLE<SHORT>(data.data() + 8);
    SHORT right = ReadLE<SHORT>(data.data() + 10), bottom = ReadLE<SHORT>(data.data() + 12);
    WORD inch = ReadLE<WORD>(data.data() + 14);
    if (inch == 0) throw EInvalidGraphic(u"Metafile is not valid");
    METAFILEPICT pict{MM_ANISOTROPIC, MulDiv(right - left, 2540, inch), MulDiv(bottom - top, 2540, inch), nullptr};
    // The screen is the reference device: some systems refuse a conversion without one.
    HDC screen = GetDC(nullptr);
    HENHMETAFILE h = SetWinMetaFileBits(static_cast<UINT>(data.size() - 22), data.data() + 22, screen, &pict);
    ReleaseDC(nullptr, screen);
    if (!h) throw EInvalidGraphic(u"Metafile is not valid");
    SetHandle(h);
    FWidth = MulDiv(right - left, ScreenLogPixels(), inch);
    FHeight = MulDiv(bottom - top, ScreenLogPixels(), inch);
    FEnhanced = false;
    FPlaceable = std::move(data);
    return;
  }
  if (data.size() < sizeof(ENHMETAHEADER) || ReadLE<DWORD>(data.data()) != EMR_HEADER ||
      ReadLE<DWORD>(data.data() + 40) != ENHMETA_SIGNATURE || ReadLE<DWORD>(data.data() + 48) > data.size())
    throw EInvalidGraphic(u"Metafile is not valid");
  HENHMETAFILE h = SetEnhMetaFileBits(static_cast<UINT>(ReadLE<DWORD>(data.data() + 48)), data.data());
  if (!h) throw EInvalidGraphic(u"Metafile is not valid");
  SetHandle(h);
  FEnhanced = true;
}

void TMetafile::ReadData(TStream& stream) {
  const Int64 rest = stream.Size() - stream.Position();
  DWORD first = 0;
  if (rest < 4) throw EInvalidGraphic(u"Metafile is not valid");
  stream.ReadBuffer(&first, 4);
  // Data written without the size starts with a metafile's own signature.
  if (first == 0x9AC6CDD7 || first == EMR_HEADER) {
    stream.Seek(-4, soCurrent);
    LoadFromStream(stream);
    return;
  }
  Int64 size = first;
  if (size == rest) size -= 4;  // a size that counts itself
  if (size <= 0 || size > rest - 4) throw EInvalidGraphic(u"Metafile is not valid");
  TBytes data(static_cast<size_t>(size));
  stream.ReadBuffer(data.data(), size);
  TBytesStream inner(std::move(data));
  LoadFromStream(inner);
}

void TMetafile::WriteData(TStream& stream) {
  WriteSized(*this, stream);
}

void TMetafile::SaveToStream(TStream& stream) {
  if (!FHandle) return;
  // Written in the kind it was read as: a placeable metafile stays one, so
  // a ".wmf" file or a form's picture data holds what its readers expect.
  if (!FEnhanced) {
    const TBytes data = FPlaceable.empty() ? PlaceableMetafileBits() : FPlaceable;
    stream.WriteBuffer(data.data(), static_cast<Integer>(data.size()));
    return;
  }
  UINT size = GetEnhMetaFileBits(FHandle, 0, nullptr);
  TBytes data(size);
  GetEnhMetaFileBits(FHandle, size, data.data());
  stream.WriteBuffer(data.data(), size);
}

TBytes TMetafile::PlaceableMetafileBits() const {
  HDC screen = GetDC(nullptr);
  const UINT size = GetWinMetaFileBits(FHandle, 0, nullptr, MM_ANISOTROPIC, screen);
  TBytes bits(size);
  const bool converted = size > 0 && GetWinMetaFileBits(FHandle, size, bits.data(), MM_ANISOTROPIC, screen) == size;
  ReleaseDC(nullptr, screen);
  if (!converted) throw EInvalidGraphic(u"Metafile is not valid");
  // The placeable header: key, no handle, the bounds in units of an inch
  // (the frame's hundredths of a millimetre), no reserved word, checksum.
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(FHandle, sizeof header, &header);
  const auto clamp = [](LONG v) { return static_cast<WORD>(static_cast<SHORT>(std::clamp<LONG>(v, -32768, 32767))); };
  const WORD words[10] = {0xCDD7,
                          0x9AC6,
                          0,
                          clamp(header.rclFrame.left),
                          clamp(header.rclFrame.top),
                          clamp(header.rclFrame.right),
                          clamp(header.rclFrame.bottom),
                          2540,
                          0,
                          0};
  WORD checksum = 0;
  for (WORD w : words) checksum ^= w;
  TBytes data;
  data.reserve(22 + bits.size());
  for (WORD w : words) {
    data.push_back(static_cast<Byte>(w & 0xFF));
    data.push_back(static_cast<Byte>(w >> 8));
  }
  data.push_back(static_cast<Byte>(checksum & 0xFF));
  data.push_back(static_cast<Byte>(checksum >> 8));
  data.insert(data.end(), bits.begin(), bits.end());
  return data;
}

void TMetafile::Assign(const TPersistent* source) {
  if (source == this) return;
  if (!source) {
    Clear();
    Changed();
    return;
  }
  if (auto* other = dynamic_cast<const TMetafile*>(source)) {
    Clear();
    if (other->FHandle) FHandle = CopyEnhMetaFileW(other->FHandle, nullptr);
    FWidth = other->FWidth;
    FHeight = other->FHeight;
    FEnhanced = other->FEnhanced;
    FPlaceable = other->FPlaceable;
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

// ---------------------------------------------------------------------------
// Picture

namespace {

struct FileFormat {
  String Extension;
  String Description;
  const TClassInfo* Class;
};

std::vector<FileFormat>& FileFormats() {
  static std::vector<FileFormat> formats = {
      {u"bmp", u"Bitmaps", &TBitmap::StaticClass()},
      {u"ico", u"Icons", &TIcon::StaticClass()},
      {u"emf", u"Enhanced Metafiles", &TMetafile::StaticClass()},
      {u"wmf", u"Metafiles", &TMetafile::StaticClass()},
  };
  return formats;
}

}  // namespace

void TPicture::Describe(TClassBuilder<TPicture>&) {}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const String& extension, const String& description, const TClassInfo& graphicClass) {
  auto& formats = FileFormats();
  for (auto& f : formats)
    if (SameText(f.Extension, extension)) {
      f.Description = description;
      f.Class = &graphicClass;
      return;
    }
  formats.push_back({LowerCase(extension), description, &graphicClass});
}

void TPicture::UnregisterGraphicClass(const TClassInfo& graphicClass) {
  auto& formats = FileFormats();
  formats.erase(
      std::remove_if(formats.begin(), formats.end(), [&](const FileFormat& f) { return f.Class == &graphicClass; }),
      formats.end());
}

const TClassInfo* TPicture::FindGraphicClass(StringView className) {
  for (const auto& f : FileFormats())
    if (SameText(f.Class->ClassName(), className)) return f.Class;
  return nullptr;
}

const TClassInfo* TPicture::GraphicClassOfExtension(StringView extension) {
  if (!extension.empty() && extension.front() == u'.') extension.remove_prefix(1);
  for (const auto& f : FileFormats())
    if (SameText(f.Extension, extension)) return f.Class;
  return nullptr;
}

String TPicture::GraphicFilter() {
  String all, filters;
  for (const auto& f : FileFormats()) {
    String mask = u"*." + f.Extension;
    if (!all.empty()) all += u';';
    all += mask;
    filters += u'|' + f.Description + u" (" + mask + u")|" + mask;
  }
  return u"All (" + all + u")|" + all + filters;
}

void TPicture::Changed() {
  OnChange(this);
}

void TPicture::GraphicChanged(TObject*) {
  Changed();
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (FGraphic) FGraphic->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
  Changed();
}

void TPicture::SetGraphic(TGraphic* graphic) {
  if (!graphic) {
    TakeGraphic(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy(static_cast<TGraphic*>(graphic->ClassType()->Create(nullptr)));
  copy->Assign(graphic);
  TakeGraphic(std::move(copy));
}

TBitmap& TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) TakeGraphic(std::make_unique<TBitmap>());
  return static_cast<TBitmap&>(*FGraphic);
}

TIcon& TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(FGraphic.get())) TakeGraphic(std::make_unique<TIcon>());
  return static_cast<TIcon&>(*FGraphic);
}

TMetafile& TPicture::Metafile() {
  if (!dynamic_cast<TMetafile*>(FGraphic.get())) TakeGraphic(std::make_unique<TMetafile>());
  return static_cast<TMetafile&>(*FGraphic);
}

void TPicture::LoadFromFile(const String& fileName) {
  String ext = ExtractFileExt(fileName);
  const TClassInfo* cls = GraphicClassOfExtension(ext);
  if (!cls) throw EInvalidGraphic(Format(u"Unknown picture file extension (%s)", {ext}));
  std::unique_ptr<TGraphic> graphic(static_cast<TGraphic*>(cls->Create(nullptr)));
  graphic->LoadFromFile(fileName);
  TakeGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const String& fileName) {
  if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<const TPicture*>(source)) {
    SetGraphic(picture->Graphic());
  } else if (auto* graphic = dynamic_cast<const TGraphic*>(source)) {
    SetGraphic(const_cast<TGraphic*>(graphic));
  } else {
    TPersistent::Assign(source);
  }
}

void TPicture::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      u"Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
      FGraphic && !FGraphic->Empty());
}

void TPicture::ReadData(TStream& stream) {
  Byte length = 0;
  stream.ReadBuffer(&length, 1);
  std::string name(length, '\0');
  if (length) stream.ReadBuffer(name.data(), length);
  const TClassInfo* cls = FindGraphicClass(UTF8ToString(name));
  if (!cls) {
    // A kind of picture nobody registered cannot be shown: say which, so the
    // form's reader reports it instead of showing an empty picture.
    TakeGraphic(nullptr);
    if (!name.empty()) throw EInvalidGraphic(Format(u"Class %s not found", {UTF8ToString(name)}));
    return;
  }
  std::unique_ptr<TGraphic> graphic(static_cast<TGraphic*>(cls->Create(nullptr)));
  graphic->ReadData(stream);
  TakeGraphic(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) {
  std::string name = FGraphic ? StringToUTF8(FGraphic->ClassName()) : std::string();
  Byte length = static_cast<Byte>(std::min<size_t>(name.size(), 255));
  stream.WriteBuffer(&length, 1);
  if (length) stream.WriteBuffer(name.data(), length);
  if (FGraphic) FGraphic->WriteData(stream);
}
