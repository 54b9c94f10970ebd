// Graphics: colours, the drawing tools (font, pen, brush), the canvas over a
// device context, and the pictures (bitmap, icon, metafile and the picture
// holder that streams any of them in forms).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "classes/persistent.h"
#include "rtl/events.h"
#include "rtl/exceptions.h"
#include "rtl/geometry.h"
#include "rtl/streams.h"
#include "rtl/uitypes.h"
#include "ui/winapi.h"

class TFiler;

KST_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
KST_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
KST_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);

inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;
inline constexpr TColor clHotLight = clSystemColor | 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
inline constexpr TColor clMenuHighlight = clSystemColor | 29;
inline constexpr TColor clMenuBar = clSystemColor | 30;

// A colour as 0x00BBGGRR: system colours become the system's current value;
// other values (clNone too) come back unchanged.
Integer ColorToRGB(TColor color);

// The screen's logical pixels per inch (96 on a standard display).
int ScreenLogPixels();

using TFontCharset = Byte;
inline constexpr TFontCharset kDefaultCharset = 1;

enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFillStyle { fsSurface, fsBorder };
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// Flags of TCanvas::TextRect, each one of the platform's DT_ flags.
enum TTextFormats {
  tfBottom,
  tfCalcRect,
  tfCenter,
  tfEditControl,
  tfEndEllipsis,
  tfPathEllipsis,
  tfExpandTabs,
  tfExternalLeading,
  tfLeft,
  tfModifyString,
  tfNoClip,
  tfNoPrefix,
  tfRight,
  tfRtlReading,
  tfSingleLine,
  tfTop,
  tfVerticalCenter,
  tfWordBreak,
  tfHidePrefix,
  tfNoFullWidthCharBreak,
  tfPrefixOnly,
  tfTabStop,
  tfWordEllipsis,
  tfComposited
};
using TTextFormat = TSet<TTextFormats>;
UINT TextFormatFlags(TTextFormat format);

// Raster operations of CopyRect and Draw.
using TCopyMode = Integer;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

const TTypeInfo& DescribeType(TypeTag<TFontPitch>);
const TTypeInfo& DescribeType(TypeTag<TFontQuality>);
const TTypeInfo& DescribeType(TypeTag<TPenStyle>);
const TTypeInfo& DescribeType(TypeTag<TPenMode>);
const TTypeInfo& DescribeType(TypeTag<TBrushStyle>);
const TTypeInfo& DescribeType(TypeTag<TPixelFormat>);
const TTypeInfo& DescribeType(TypeTag<TTransparentMode>);

// Pictures bigger than this are refused before anything is allocated: their
// sizes come from files.
inline constexpr Integer kMaxPictureDimension = 32768;
inline constexpr Int64 kMaxPicturePixels = Int64{1} << 26;

class TBitmap;
class TCanvas;

// A drawing tool whose handle is made on demand and remade after a change.
class TGraphicsObject : public TPersistent {
  KST_CLASS(TGraphicsObject, TPersistent)
 public:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;

  TNotifyEvent OnChange;
  TPersistent* GetOwner() const override { return FOwner; }
  void SetOwner(TPersistent* owner) { FOwner = owner; }

 protected:
  virtual void Changed();

 private:
  TPersistent* FOwner = nullptr;
};

class TFont : public TGraphicsObject {
  KST_CLASS(TFont, TGraphicsObject)
 public:
  TFont();
  ~TFont() override;

  // The font handle, made on first use; the font keeps owning it.
  HFONT Handle() const;
  // Takes over the description of a font the caller keeps owning.
  void SetHandle(HFONT font);
  void Assign(const TPersistent* source) override;

  const String& Name() const { return FName; }
  void SetName(const String& name);
  // Negative: character height in pixels; positive: cell height.
  Integer Height() const { return FHeight; }
  void SetHeight(Integer height);
  // In points at PixelsPerInch.
  Integer Size() const;
  void SetSize(Integer size);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles style);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset charset);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch pitch);
  TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality quality);
  Integer Orientation() const { return FOrientation; }
  void SetOrientation(Integer orientation);
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer ppi) { FPixelsPerInch = ppi > 0 ? ppi : 96; }

  // Same name, height, style, colour, charset, pitch, quality and orientation.
  bool Equals(const TFont& other) const;

 protected:
  void Changed() override;

 private:
  void FreeHandle() const;
  String FName = u"Tahoma";
  Integer FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  TFontCharset FCharset = kDefaultCharset;
  TFontPitch FPitch = fpDefault;
  TFontQuality FQuality = fqDefault;
  Integer FOrientation = 0;
  Integer FPixelsPerInch;
  mutable HFONT FHandle = nullptr;
};

class TPen : public TGraphicsObject {
  KST_CLASS(TPen, TGraphicsObject)
 public:
  TPen() = default;
  ~TPen() override;
  HPEN Handle() const;
  void Assign(const TPersistent* source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer width);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle style);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode mode);

 protected:
  void Changed() override;

 private:
  void FreeHandle() const;
  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  mutable HPEN FHandle = nullptr;
};

class TBrush : public TGraphicsObject {
  KST_CLASS(TBrush, TGraphicsObject)
 public:
  TBrush() = default;
  ~TBrush() override;
  HBRUSH Handle() const;
  void Assign(const TPersistent* source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle style);
  // A pattern bitmap the caller keeps owning (nullptr: none).
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* bitmap);

 protected:
  void Changed() override;

 private:
  void FreeHandle() const;
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
  mutable HBRUSH FHandle = nullptr;
};

class TGraphic;

// Drawing on a device context with the canvas's font, pen and brush. The
// tools are selected into the context when an operation needs them and
// again after they change.
class TCanvas : public TPersistent {
  KST_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The device context; a canvas that makes its own (a control's, a
  // bitmap's) makes it here, the others raise EInvalidOperation
  // "Canvas does not allow drawing".
  HDC Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Draws on another context from now on (nullptr: none); the old one gets
  // its original tools back.
  void SetHandle(HDC dc);

  TFont& Font() const { return *FFont; }
  TPen& Pen() const { return *FPen; }
  TBrush& Brush() const { return *FBrush; }
  TFont* GetFont() const { return FFont.get(); }
  TPen* GetPen() const { return FPen.get(); }
  TBrush* GetBrush() const { return FBrush.get(); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode mode) { FCopyMode = mode; }
  TPoint PenPos();
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
  // ETO_ flags of TextOut (ETO_CLIPPED, ETO_OPAQUE, ETO_RTLREADING).
  Integer TextFlags() const { return FTextFlags; }
  void SetTextFlags(Integer flags) { FTextFlags = flags; }

  void MoveTo(Integer x, Integer y);
  void LineTo(Integer x, Integer y);
  void Rectangle(Integer x1, Integer y1, Integer x2, Integer y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3);
  void Ellipse(Integer x1, Integer y1, Integer x2, Integer y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4);
  void Chord(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4);
  void Pie(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4);
  void Polygon(const std::vector<TPoint>& points);
  void Polyline(const std::vector<TPoint>& points);
  void PolyBezier(const std::vector<TPoint>& points);
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);
  void FloodFill(Integer x, Integer y, TColor color, TFillStyle style);
  TColor Pixels(Integer x, Integer y);
  void SetPixels(Integer x, Integer y, TColor color);

  void TextOut(Integer x, Integer y, const String& text);
  // The text clipped to the rectangle, at (x, y).
  void TextRect(const TRect& r, Integer x, Integer y, const String& text);
  // The text laid out in the rectangle by the format (DrawText); with
  // tfCalcRect the rectangle receives the size the text needs, with
  // tfModifyString the text may be shortened.
  void TextRect(TRect& r, String& text, TTextFormat format);
  // DrawText with DT_ flags; returns the text height.
  Integer DrawText(const String& text, TRect& r, UINT flags);
  TSize TextExtent(const String& text);
  Integer TextWidth(const String& text) { return TextExtent(text).cx; }
  Integer TextHeight(const String& text) { return TextExtent(text).cy; }

  void Draw(Integer x, Integer y, TGraphic& graphic);
  void StretchDraw(const TRect& r, TGraphic& graphic);
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

  // The clipping box in logical units.
  TRect ClipRect();
  // Restricts drawing to the rectangle (together with what was allowed before).
  void IntersectClipRect(const TRect& r);

  void Lock() { ++FLockCount; }
  void Unlock() {
    if (FLockCount > 0) --FLockCount;
  }
  Integer LockCount() const { return FLockCount; }
  // Forgets which tools are selected, so that the next operation selects them anew.
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Makes the device context for canvases that have one of their own.
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  enum StateBit { kHandle = 1, kFont = 2, kPen = 4, kBrush = 8 };
  void RequiredState(int state);
  void DeselectHandles();

 private:
  void FontChanged(TObject*);
  void PenChanged(TObject*);
  void BrushChanged(TObject*);

  HDC FHandle = nullptr;
  int FState = 0;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  Integer FTextFlags = 0;
  Integer FLockCount = 0;
  HGDIOBJ FOldFont = nullptr;
  HGDIOBJ FOldPen = nullptr;
  HGDIOBJ FOldBrush = nullptr;
};

// Anything a canvas can draw and a picture can hold.
class TGraphic : public TPersistent {
  KST_CLASS(TGraphic, TPersistent)
 public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual void Draw(TCanvas& canvas, const TRect& r) = 0;
  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetWidth(Integer width) = 0;
  virtual void SetHeight(Integer height) = 0;
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool transparent);
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);

  bool Modified() const { return FModified; }
  void SetModified(bool modified);

  // The form data of the graphic: what DefineProperties streams as "Data".
  virtual void ReadData(TStream& stream);
  virtual void WriteData(TStream& stream);
  void DefineProperties(TFiler& filer) override;

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  bool FModified = false;
  bool FTransparent = false;
};

// A device-independent bitmap of 1, 4, 8, 15/16, 24 or 32 bits per pixel.
class TBitmap : public TGraphic {
  KST_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  TBitmap(Integer width, Integer height, TPixelFormat format = pfDevice);
  ~TBitmap() override;

  void Draw(TCanvas& canvas, const TRect& r) override;
  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetWidth(Integer width) override { SetSize(width, FHeight); }
  void SetHeight(Integer height) override { SetSize(FWidth, height); }
  // Keeps the picture's top-left part.
  void SetSize(Integer width, Integer height);
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the picture to the new depth.
  void SetPixelFormat(TPixelFormat format);
  bool Monochrome() const { return FPixelFormat == pf1bit; }
  void SetMonochrome(bool monochrome) { SetPixelFormat(monochrome ? pf1bit : pfDevice); }

  // The pixels of a row, top row 0, in the bitmap's own layout.
  void* ScanLine(Integer row);
  Integer BytesPerScanLine() const;
  // The colour table of 1/4/8-bit bitmaps (RGBQUAD entries).
  std::vector<RGBQUAD> ColorTable() const;
  void SetColorTable(const std::vector<RGBQUAD>& table);

  TCanvas& Canvas();
  TCanvas* GetCanvas() { return &Canvas(); }
  HBITMAP Handle() const { return FHandle; }
  // Takes over the bitmap (any kind: it becomes a DIB section).
  void SetHandle(HBITMAP bitmap);
  // Gives the handle to the caller, who then owns it; the bitmap becomes empty.
  HBITMAP ReleaseHandle();

  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode mode);

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // A bitmap resource of the module (RT_BITMAP).
  void LoadFromResourceName(HINSTANCE instance, const String& name);
  void LoadFromResourceID(HINSTANCE instance, Integer id);
  void Assign(const TPersistent* source) override;
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) override;

  // Frees nothing that can be remade: kept for the platform's calls.
  void Dormant() {}
  void FreeImage() {}

 private:
  void Create(Integer width, Integer height, TPixelFormat format, const std::vector<RGBQUAD>& colors);
  void FreeContext();
  void LoadDIB(const Byte* info, size_t infoSize, const Byte* bits, size_t bitsSize);
  static int BitCount(TPixelFormat format);

  HBITMAP FHandle = nullptr;
  void* FBits = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  std::unique_ptr<TCanvas> FCanvas;
  HDC FContext = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

class TIcon : public TGraphic {
  KST_CLASS(TIcon, TGraphic)
 public:
  TIcon();
  ~TIcon() override;
  void Draw(TCanvas& canvas, const TRect& r) override;
  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetWidth(Integer) override;
  void SetHeight(Integer) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  void Assign(const TPersistent* source) override;
  HICON Handle() const { return FHandle; }
  // Takes over the icon.
  void SetHandle(HICON icon);
  HICON ReleaseHandle();

 private:
  void Clear();
  HICON FHandle = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  TBytes FData;  // the icon file as read, written back unchanged
};

class TMetafile : public TGraphic {
  KST_CLASS(TMetafile, TGraphic)
 public:
  TMetafile() = default;
  ~TMetafile() override;
  void Draw(TCanvas& canvas, const TRect& r) override;
  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetWidth(Integer width) override;
  void SetHeight(Integer height) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // Forms store a metafile as its size and then the metafile.
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) override;
  void Assign(const TPersistent* source) override;
  HENHMETAFILE Handle() const { return FHandle; }
  void SetHandle(HENHMETAFILE metafile);
  bool Enhanced() const { return FEnhanced; }
  void SetEnhanced(bool enhanced) { FEnhanced = enhanced; }

 private:
  void Clear();
  TBytes PlaceableMetafileBits() const;
  HENHMETAFILE FHandle = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  bool FEnhanced = true;
  TBytes FPlaceable;  // a placeable metafile as read, written back unchanged
};

// Records drawing into an enhanced metafile, which receives it when the
// canvas goes. A metafile that already has a size gives the recording its
// frame; one without is framed by what is drawn. The creator and description
// go into the metafile's header.
class TMetafileCanvas : public TCanvas {
  KST_CLASS(TMetafileCanvas, TCanvas)
 public:
  TMetafileCanvas(TMetafile& metafile, HDC referenceDevice);
  TMetafileCanvas(TMetafile& metafile, HDC referenceDevice, const String& creatorName, const String& description);
  ~TMetafileCanvas() override;

 private:
  TMetafile& FMetafile;
};

// Holds one graphic of any registered class; forms stream it as "Data": the
// class name as a short string followed by the graphic's own data.
class TPicture : public TPersistent {
  KST_CLASS(TPicture, TPersistent)
 public:
  TPicture();
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // A copy of the graphic (nullptr: empty).
  void SetGraphic(TGraphic* graphic);
  // The graphic as a bitmap, an icon or a metafile; one of another class is
  // replaced by an empty one of that class.
  TBitmap& Bitmap();
  TIcon& Icon();
  TMetafile& Metafile();
  Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
  Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // By the file's extension, among the registered formats; EInvalidGraphic
  // "Unknown picture file extension (.%s)" otherwise.
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);
  void Assign(const TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;

  TPersistent* GetOwner() const override { return FOwner; }
  void SetOwner(TPersistent* owner) { FOwner = owner; }
  TNotifyEvent OnChange;

  // File formats: extension (without dot), description, graphic class. The
  // bitmap, icon and metafile formats are known from the start.
  static void RegisterFileFormat(const String& extension, const String& description, const TClassInfo& graphicClass);
  static void UnregisterGraphicClass(const TClassInfo& graphicClass);
  // The class named in "Data" or by an extension; nullptr when unknown.
  static const TClassInfo* FindGraphicClass(StringView className);
  static const TClassInfo* GraphicClassOfExtension(StringView extension);
  // "All (*.bmp;...)|*.bmp;...|Bitmaps (*.bmp)|*.bmp|..." for open dialogs.
  static String GraphicFilter();

 private:
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);
  void GraphicChanged(TObject*);
  void TakeGraphic(std::unique_ptr<TGraphic> graphic);
  void Changed();
  std::unique_ptr<TGraphic> FGraphic;
  TPersistent* FOwner = nullptr;
};
