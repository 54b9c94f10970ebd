// Two windowless controls that paint on their parent: the group header, a
// one-line heading bar with a small glyph over a scheme fill, and the info
// panel, a box with a glyph, a bold caption and a body text (plain or
// mini-HTML) whose fill follows the pointer unless it is static.
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "panelkit/colorschemes.h"
#include "panelkit/providers.h"
#include "panelkit/pxclasses.h"
#include "panelkit/win32/checkboxes.h"
#include "panelkit/win32/collection.h"
#include "ui/graphics.h"

enum TInfoPanelOption { ipBorder, ipStaticPanel, ipHtmlText };
using TInfoPanelOptions = TSet<TInfoPanelOption>;

const TTypeInfo& DescribeType(TypeTag<TFillPaintStyle>);
const TTypeInfo& DescribeType(TypeTag<TInfoPanelOption>);
const TTypeInfo& DescribeType(TypeTag<TInfoPanelOptions>);

class TPxGroupHeader : public TGraphicControl {
  KST_CLASS(TPxGroupHeader, TGraphicControl)
 public:
  explicit TPxGroupHeader(TComponent* owner);
  ~TPxGroupHeader() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme value);
  TFillPaintStyle FillStyle() const { return FFillStyle; }
  void SetFillStyle(TFillPaintStyle value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value);
  bool GlyphVisible() const { return FGlyphVisible; }
  void SetGlyphVisible(bool value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);
  // Where the caption starts, in client coordinates.
  Integer CaptionLeft() const;

 protected:
  void Paint() override;
  void CMTextChanged(TMessage& message) override;

 private:
  void GlyphChanged(TObject*);

  TColorScheme FColorScheme = csBlue;
  TAlignment FAlignment = taLeftJustify;
  TFillPaintStyle FFillStyle = fsSolid;
  std::unique_ptr<TBitmap> FGlyph;
  TColor FTransparentColor = clNone;
  bool FGlyphVisible = true;
};

class TPxInfoPanel : public TGraphicControl {
  KST_CLASS(TPxInfoPanel, TGraphicControl)
 public:
  explicit TPxInfoPanel(TComponent* owner);
  ~TPxInfoPanel() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor value);
  TButtonState ButtonState() const { return FButtonState; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme value);
  TFillPaintStyle FillStyle() const { return FFillStyle; }
  void SetFillStyle(TFillPaintStyle value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value);
  Integer Indent() const { return FIndent; }
  void SetIndent(Integer value);
  TPxMargins* GetInnerMargins() const { return FInnerMargins.get(); }
  void SetInnerMargins(const TPxMargins* value);
  TInfoPanelOptions Options() const { return FOptions; }
  void SetOptions(TInfoPanelOptions value);
  TPxMargins* GetOuterMargins() const { return FOuterMargins.get(); }
  void SetOuterMargins(const TPxMargins* value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer value);
  const String& Text() const { return FText; }
  void SetText(const String& value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment value);
  TWrapKind WrapKind() const { return FWrapKind; }
  void SetWrapKind(TWrapKind value);

  virtual void SetButtonState(TButtonState value);
  virtual void GetColors(TColor& frame, TColor& fill, TColor& text) const;
  // Where the body text starts, in client coordinates.
  TRect BodyRect();

 protected:
  void Paint() override;
  void CMFontChanged(TMessage& message) override;
  void CMMouseEnter(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

 private:
  void GlyphChanged(TObject*);
  void MarginsChanged(TObject*);
  TRect CaptionRect(Integer left, const TRect& content);

  TAlignment FAlignment = taLeftJustify;
  TColor FBorderColor = 0;
  TButtonState FButtonState;
  String FCaption;
  TColorScheme FColorScheme = csDefault;
  TFillPaintStyle FFillStyle = fsSolid;
  std::unique_ptr<TBitmap> FGlyph;
  Integer FIndent = 4;
  std::unique_ptr<TPxMargins> FInnerMargins;
  TInfoPanelOptions FOptions;
  std::unique_ptr<TPxMargins> FOuterMargins;
  Integer FSpacing = 2;
  String FText;
  TColor FTransparentColor = clNone;
  TVerticalAlignment FVerticalAlignment = taAlignTop;
  TWrapKind FWrapKind = wkNone;
};
