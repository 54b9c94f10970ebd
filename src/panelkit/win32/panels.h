// The general controls of the panel kit's collection unit: the glyph
// settings that publish a bitmap with its transparency as one property, the
// four margins of a children area, a bitmap shown as it is (TPxGlyph), a
// picture scaled into a frame (TPxImage) and a container with scheme
// coloured or gradient backgrounds and chosen border sides (TPxPanel).
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "panelkit/colorschemes.h"
#include "ui/controls.h"
#include "ui/graphics.h"

enum TPxPanelBackgroundStyle { pbControl, pbHorzGradient, pbSolid, pbTransparent, pbVertGradient };
enum TPanelBorder { boBottom, boLeft, boRight, boTop };
using TPanelBorders = TSet<TPanelBorder>;

const TTypeInfo& DescribeType(TypeTag<TPxPanelBackgroundStyle>);
const TTypeInfo& DescribeType(TypeTag<TPanelBorder>);
const TTypeInfo& DescribeType(TypeTag<TPanelBorders>);

// One glyph with its transparency; any change of the glyph's picture is
// reported through OnChange, so an owner repaints on it.
class TPxGlyphSettings : public TPersistent {
  KST_CLASS(TPxGlyphSettings, TPersistent)
 public:
  TPxGlyphSettings();
  ~TPxGlyphSettings() override;
  TBitmap* GetNormalGlyph() const { return FNormalGlyph.get(); }
  void SetNormalGlyph(const TBitmap* value) { FNormalGlyph->Assign(value); }
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);
  TColor TransparentColor() const { return FTransparentColor; }
  virtual void SetTransparentColor(TColor value);
  // The normal glyph and the transparency of another settings object; its
  // hover glyph, if any, stays behind.
  void Assign(const TPersistent* source) override;

  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  void GlyphChanged(TObject*) { Change(); }

 private:
  std::unique_ptr<TBitmap> FNormalGlyph;
  TColor FTransparentColor = clNone;
  bool FTransparent = false;
};

// Adds the glyph shown under the pointer, kept as transparent as the normal one.
class TPxActiveGlyphSettings : public TPxGlyphSettings {
  KST_CLASS(TPxActiveGlyphSettings, TPxGlyphSettings)
 public:
  TPxActiveGlyphSettings();
  ~TPxActiveGlyphSettings() override;
  TBitmap* GetHoverGlyph() const { return FHoverGlyph.get(); }
  void SetHoverGlyph(const TBitmap* value) { FHoverGlyph->Assign(value); }
  void SetTransparent(bool value) override;
  void SetTransparentColor(TColor value) override;

 private:
  std::unique_ptr<TBitmap> FHoverGlyph;
};

// Left, top, right and bottom margins of a children area; every change is
// reported.
class TPxAreaMargins : public TPersistent {
  KST_CLASS(TPxAreaMargins, TPersistent)
 public:
  Integer Left() const { return FLeft; }
  void SetLeft(Integer value) { Store(FLeft, value); }
  Integer Top() const { return FTop; }
  void SetTop(Integer value) { Store(FTop, value); }
  Integer Right() const { return FRight; }
  void SetRight(Integer value) { Store(FRight, value); }
  Integer Bottom() const { return FBottom; }
  void SetBottom(Integer value) { Store(FBottom, value); }
  TRect AsRect() const { return Rect(FLeft, FTop, FRight, FBottom); }
  void Assign(const TPersistent* source) override;

  TNotifyEvent OnChange;

 private:
  void Store(Integer& field, Integer value);
  Integer FLeft = 0;
  Integer FTop = 0;
  Integer FRight = 0;
  Integer FBottom = 0;
};

// The glyph made transparent by the colour of its bottom-left pixel.
void MakeTransparentByCorner(TBitmap& bitmap);
// A dotted frame in the grey text colour around the rectangle.
void DrawDottedFrame(TCanvas& canvas, const TRect& rect);

class TPxGlyph : public TGraphicControl {
  KST_CLASS(TPxGlyph, TGraphicControl)
 public:
  explicit TPxGlyph(TComponent* owner);
  ~TPxGlyph() override;
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);

 protected:
  void Paint() override;

 private:
  void FitToGlyph();
  bool FAutoSize = true;
  std::unique_ptr<TBitmap> FGlyph;
  bool FTransparent = false;
};

// A picture scaled to fit with its proportions kept (or centred at its own
// size), inside a frame that shows the focus.
class TPxImage : public TCustomControl {
  KST_CLASS(TPxImage, TCustomControl)
 public:
  explicit TPxImage(TComponent* owner);
  ~TPxImage() override;
  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(const TPicture* value);
  bool Center() const { return FCenter; }
  void SetCenter(bool value) { StoreAndRepaint(FCenter, value); }
  bool DrawBackground() const { return FDrawBackground; }
  void SetDrawBackground(bool value) { StoreAndRepaint(FDrawBackground, value); }
  bool DrawFrame() const { return FDrawFrame; }
  void SetDrawFrame(bool value) { StoreAndRepaint(FDrawFrame, value); }
  bool FocusImage() const { return FFocusImage; }
  void SetFocusImage(bool value) { FFocusImage = value; }
  Integer FrameSize() const { return FFrameSize; }
  void SetFrameSize(Integer value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value);
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool value) { StoreAndRepaint(FShowFocus, value); }
  // Where the picture goes in the client area (before its frame).
  TRect PictureRect() const;
  // A graphic that can be drawn: there, not empty, and with a size.
  bool HasPicture() const;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;

 private:
  void StoreAndRepaint(bool& field, bool value);
  void PictureChanged(TObject*);
  void DrawSunkenBackground(TCanvas& canvas, const TRect& rect);
  bool FDrawFrame = true;
  bool FFocusImage = true;
  Integer FFrameSize = 2;
  Integer FMargin = 4;
  std::unique_ptr<TPicture> FPicture;
  bool FShowFocus = false;
  bool FCenter = false;
  bool FDrawBackground = false;
};

class TPxPanel : public TCustomControl {
  KST_CLASS(TPxPanel, TCustomControl)
 public:
  explicit TPxPanel(TComponent* owner);
  ~TPxPanel() override;
  bool AdaptiveColors() const { return FAdaptiveColors; }
  void SetAdaptiveColors(bool value);
  TPxPanelBackgroundStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TPxPanelBackgroundStyle value);
  TPen* GetBorderPen() const { return FBorderPen.get(); }
  void SetBorderPen(const TPen* value) { FBorderPen->Assign(value); }
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme value);
  TPxAreaMargins* GetInnerMargins() const { return FInnerMargins.get(); }
  void SetInnerMargins(const TPxAreaMargins* value) { FInnerMargins->Assign(value); }
  TPanelBorders PanelBorders() const { return FPanelBorders; }
  void SetPanelBorders(TPanelBorders value);
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool value) { FFullRepaint = value; }
  void AdjustClientRect(TRect& rect) const override;
  // The area the background fills: inside the solid border sides.
  TRect FillRect() const;

 protected:
  void Paint() override;
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;

 private:
  void MarginsChanged(TObject*);
  bool FAdaptiveColors = true;
  TPxPanelBackgroundStyle FBackgroundStyle = pbSolid;
  std::unique_ptr<TPen> FBorderPen;
  TColorScheme FColorScheme = csDefault;
  std::unique_ptr<TPxAreaMargins> FInnerMargins;
  TPanelBorders FPanelBorders{boBottom, boLeft, boRight, boTop};
  bool FFullRepaint = false;
};
