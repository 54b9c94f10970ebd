// The push button with a glyph, layouts and an optional drop-down arrow
// (TPxButton), and the label that keeps itself placed next to a control it
// is associated with (TPxLabel).
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "ui/controls.h"
#include "ui/graphics.h"
#include "ui/stdctrls.h"

// Streamed as blGlyphBottom, blGlyphLeft, blGlyphRight and blGlyphTop; the C++
// names keep clear of the speed button's layouts, whose order differs.
enum TPxButtonLayout { pblGlyphBottom, pblGlyphLeft, pblGlyphRight, pblGlyphTop };
enum THorizontalPosition { hpLeft, hpCenter, hpRight };
enum TVerticalPosition { vpTop, vpMiddle, vpBottom };

const TTypeInfo& DescribeType(TypeTag<TPxButtonLayout>);
const TTypeInfo& DescribeType(TypeTag<THorizontalPosition>);
const TTypeInfo& DescribeType(TypeTag<TVerticalPosition>);

class TPxButton : public TCustomControl {
  KST_CLASS(TPxButton, TCustomControl)
 public:
  explicit TPxButton(TComponent* owner);
  ~TPxButton() override;

  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Down() const { return FDown; }
  void SetDown(bool value) { StoreAndRepaint(FDown, value); }
  bool EnableDblClick() const { return FEnableDblClick; }
  void SetEnableDblClick(bool value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value) { FGlyph->Assign(value); }
  // The grey copy drawn while disabled.
  TBitmap* GetGrayGlyph() const { return FGrayGlyph.get(); }
  Integer GlyphSpacing() const { return FGlyphSpacing; }
  void SetGlyphSpacing(Integer value);
  TPxButtonLayout Layout() const { return FLayout; }
  void SetLayout(TPxButtonLayout value);
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  bool ShowArrow() const { return FShowArrow; }
  void SetShowArrow(bool value) { StoreAndRepaint(FShowArrow, value); }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // Reacts to Enter: the focused button, or the default one while no button has the focus.
  bool Active() const { return FActive; }
  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;

 private:
  void StoreAndRepaint(bool& field, bool value);
  void GlyphChanged(TObject*);
  void ApplyTransparency();
  void DrawFace(TCanvas& canvas, const TRect& rect);
  void DrawCaption(TCanvas& canvas, const TRect& rect, TAlignment alignment);

  bool FActive = false;
  bool FCancel = false;
  bool FDefault = false;
  bool FDown = false;
  std::unique_ptr<TBitmap> FGlyph;
  Integer FGlyphSpacing = 3;
  std::unique_ptr<TBitmap> FGrayGlyph;
  TPxButtonLayout FLayout = pblGlyphLeft;
  TModalResult FModalResult = mrNone;
  bool FShowArrow = false;
  bool FTransparent = false;
  bool FEnableDblClick = true;
  bool FHover = false;
  bool FKeyPressed = false;
  bool FPressed = false;
  bool FUpdatingGlyph = false;
};

// The label's distance from its associate.
class TPxLabelMargins : public TPersistent {
  KST_CLASS(TPxLabelMargins, TPersistent)
 public:
  Integer Horizontal() const { return FHorizontal; }
  void SetHorizontal(Integer value);
  Integer Vertical() const { return FVertical; }
  void SetVertical(Integer value);
  TNotifyEvent OnUpdate;

 private:
  Integer FHorizontal = 0;
  Integer FVertical = 0;
};

class TPxLabel : public TLabel {
  KST_CLASS(TPxLabel, TLabel)
 public:
  explicit TPxLabel(TComponent* owner);
  ~TPxLabel() override;

  TControl* Associate() const { return FAssociate; }
  void SetAssociate(TControl* value);
  THorizontalPosition HorizontalPosition() const { return FHorizontalPosition; }
  void SetHorizontalPosition(THorizontalPosition value);
  TVerticalPosition VerticalPosition() const { return FVerticalPosition; }
  void SetVerticalPosition(TVerticalPosition value);
  bool InnerHorizontal() const { return FInnerHorizontal; }
  void SetInnerHorizontal(bool value);
  bool InnerVertical() const { return FInnerVertical; }
  void SetInnerVertical(bool value);
  TPxLabelMargins* GetInnerMargins() const { return FInnerMargins.get(); }
  void SetInnerMargins(const TPxLabelMargins* value);
  void Assign(const TPersistent* source) override;
  // Moves the label to its place beside the associate.
  void Place();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& message) override;

 private:
  void AssociateWndProc(TMessage& message);
  TControl* FAssociate = nullptr;
  bool FInnerHorizontal = true;
  bool FInnerVertical = false;
  std::unique_ptr<TPxLabelMargins> FInnerMargins;
  THorizontalPosition FHorizontalPosition = hpLeft;
  TVerticalPosition FVerticalPosition = vpTop;
  TWndMethod FWindowProc;
};
