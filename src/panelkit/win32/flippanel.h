// Panels that fold to their header strip (TPxFlipPanel), nest inside one
// another with every enclosing panel growing and shrinking along, and the
// scrolling box that holds them (TPxFlipContainer).
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "panelkit/colorschemes.h"
#include "panelkit/pxclasses.h"
#include "panelkit/win32/panels.h"
#include "ui/forms.h"

// Streamed as bsSolid, bsVertGradient and bsTransparent; the C++ names keep
// clear of the brush styles.
enum TFlipBackgroundStyle { fbSolid, fbVertGradient, fbTransparent };
enum TFlipKind { fkNone, fkButton, fkHeaderAndButton };
enum THeaderStyle {
  hsAuto,
  hsFadeAway,
  hsGradient,
  hsInverseGradient,
  hsOffice2007,
  hsSolid,
  hsTopGradient,
  hsTransparent,
  hsVista,
  hsWindowsLive
};

const TTypeInfo& DescribeType(TypeTag<TFlipBackgroundStyle>);
const TTypeInfo& DescribeType(TypeTag<TFlipKind>);
const TTypeInfo& DescribeType(TypeTag<THeaderStyle>);
const TTypeInfo& DescribeType(TypeTag<TDirection>);

class TPxFlipContainer : public TScrollingWinControl {
  KST_CLASS(TPxFlipContainer, TScrollingWinControl)
 public:
  explicit TPxFlipContainer(TComponent* owner);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer value);
  // The direct flip panels only; their own children stay as they are.
  void CollapseAll();
  // Every flip panel, nested ones included.
  void ExpandAll();

 protected:
  void Dispatch(TMessage& message) override;
  bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) override;

 private:
  void PaintBorder();
  TFormBorderStyle FBorderStyle = bsSingle;
  Integer FBorderWidth = 2;
};

class TPxFlipPanel : public TCustomControl {
  KST_CLASS(TPxFlipPanel, TCustomControl)
 public:
  explicit TPxFlipPanel(TComponent* owner);
  ~TPxFlipPanel() override;

  bool AdaptiveColors() const { return FAdaptiveColors; }
  void SetAdaptiveColors(bool value) { StoreAndRepaint(FAdaptiveColors, value); }
  bool AllowFlip() const { return FAllowFlip; }
  void SetAllowFlip(bool value) { FAllowFlip = value; }
  bool AutoCollapse() const { return FAutoCollapse; }
  void SetAutoCollapse(bool value) { FAutoCollapse = value; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor value);
  TFlipBackgroundStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TFlipBackgroundStyle value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer value);
  const String& PanelCaption() const { return FCaption; }
  void SetPanelCaption(const String& value);
  const String& CaptionCollapsed() const { return FCaptionCollapsed; }
  void SetCaptionCollapsed(const String& value);
  TBitmap* GetCollapseGlyph() const { return FCollapseGlyph.get(); }
  void SetCollapseGlyph(const TBitmap* value) { FCollapseGlyph->Assign(value); }
  TBitmap* GetExpandGlyph() const { return FExpandGlyph.get(); }
  void SetExpandGlyph(const TBitmap* value);
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme value);
  TDirection DrawDirection() const { return FDrawDirection; }
  void SetDrawDirection(TDirection value);
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool value);
  TFlipKind FlipKind() const { return FFlipKind; }
  void SetFlipKind(TFlipKind value) { FFlipKind = value; }
  Integer FullHeight() const { return FFullHeight; }
  void SetFullHeight(Integer value) { FFullHeight = ClampHeight(value); }
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value) { FGlyph->Assign(value); }
  TColor HeaderColor() const { return FHeaderColor; }
  void SetHeaderColor(TColor value);
  TFont* GetHeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(const TFont* value) { FHeaderFont->Assign(value); }
  Integer HeaderHeight() const { return FHeaderHeight; }
  void SetHeaderHeight(Integer value);
  THeaderStyle HeaderStyle() const { return FHeaderStyle; }
  void SetHeaderStyle(THeaderStyle value);
  Integer Indent() const { return FIndent; }
  void SetIndent(Integer value);
  TPxAreaMargins* GetInnerMargins() const { return FInnerMargins.get(); }
  void SetInnerMargins(const TPxAreaMargins* value) { FInnerMargins->Assign(value); }
  bool ParentHeaderFont() const { return FParentHeaderFont; }
  void SetParentHeaderFont(bool value);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool value) { StoreAndRepaint(FShowButtons, value); }
  bool ShowGlyph() const { return FShowGlyph; }
  void SetShowGlyph(bool value) { StoreAndRepaint(FShowGlyph, value); }
  bool TransparentButtons() const { return FTransparentButtons; }
  void SetTransparentButtons(bool value) { StoreAndRepaint(FTransparentButtons, value); }
  bool TransparentGlyph() const { return FTransparentGlyph; }
  void SetTransparentGlyph(bool value);

  void Flip() { SetExpanded(!FExpanded); }
  // Only an expanded panel opens its children (and theirs).
  void ExpandAll();
  void CollapseAll();
  void RefreshBody();
  TRect HeaderRect() const { return Rect(0, 0, ClientWidth(), FHeaderHeight); }
  TRect BodyRect() const { return Rect(0, FHeaderHeight, ClientWidth(), ClientHeight()); }
  TRect ButtonRect() const;
  void AdjustClientRect(TRect& rect) const override;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  virtual void DrawBody();
  virtual void DrawHeader();
  virtual void DrawBorder();
  virtual void DoChange();
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;
  void DefineProperties(TFiler& filer) override;

 private:
  static Integer ClampHeight(Integer value) { return std::clamp(value, 0, 100000); }
  void StoreAndRepaint(bool& field, bool value);
  void HeaderFontChanged(TObject*);
  TColor HeaderColour() const;
  void DrawButton(Integer x, Integer y);
  bool Loading() const { return ComponentState().Contains(csLoading); }
  // Grows (or, negative, shrinks) every flip panel this one sits in.
  void ResizeEnclosing(Integer delta);

  bool FAdaptiveColors = true;
  bool FAllowFlip = true;
  bool FAutoCollapse = false;
  TColor FBackgroundColor = clBtnFace;
  TFlipBackgroundStyle FBackgroundStyle = fbSolid;
  TColor FBorderColor = 0;
  Integer FBorderWidth = 0;
  String FCaption;
  std::unique_ptr<TBitmap> FCollapseGlyph;
  TColorScheme FColorScheme = csDefault;
  TDirection FDrawDirection = diLeftToRight;
  bool FExpanded = true;
  std::unique_ptr<TBitmap> FExpandGlyph;
  bool FExpanding = false;
  TFlipKind FFlipKind = fkHeaderAndButton;
  Integer FFullHeight = 0;
  std::unique_ptr<TBitmap> FGlyph;
  TColor FHeaderColor = clBtnFace;
  std::unique_ptr<TFont> FHeaderFont;
  bool FHeaderFontUpdating = false;
  Integer FHeaderHeight = 18;
  THeaderStyle FHeaderStyle = hsSolid;
  Integer FIndent = 4;
  std::unique_ptr<TPxAreaMargins> FInnerMargins;
  bool FMouseDown = false;
  Integer FOldX = 0;
  Integer FOldY = 0;
  bool FParentHeaderFont = true;
  bool FShowButtons = true;
  bool FShowGlyph = true;
  bool FTransparentButtons = false;
  bool FTransparentGlyph = false;
  String FCaptionCollapsed;
};
