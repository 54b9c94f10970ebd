// Buttons that show a picture beside their caption.
#pragma once

#include <memory>

#include "ui/stdctrls.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

const TTypeInfo& DescribeType(TypeTag<TBitBtnKind>);
const TTypeInfo& DescribeType(TypeTag<TButtonLayout>);
// TNumGlyphs: 1 to 4 pictures side by side in a glyph.
const TOrdinalTypeInfo& NumGlyphsType();

// The caption and the modal result a kind of button comes with.
String BitBtnCaption(TBitBtnKind kind);
TModalResult BitBtnModalResult(TBitBtnKind kind);

// A push button we draw: a glyph (up to four pictures side by side: up,
// disabled, down, held down) and the caption, laid out by Layout, Margin
// and Spacing. Kind gives the usual captions and modal results.
class TBitBtn : public TButton {
  KST_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  TBitmap& Glyph() const { return *FGlyph; }
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* glyph);
  // bkCustom once the button no longer matches its kind (default, cancel, result).
  TBitBtnKind Kind() const;
  void SetKind(TBitBtnKind value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  // Pixels between the edge and the glyph (-1: glyph and caption centred together).
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value);
  // Pixels between the glyph and the caption (-1: the room left shared out).
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer value);
  Integer NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer value);

  void Click() override;

  // Where the glyph and the caption go inside the button's rectangle.
  void CalcLayout(const TRect& client, TRect& glyphRect, TRect& textRect);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
  void SetButtonStyle(bool isDefault) override;
  void DrawItem(const DRAWITEMSTRUCT& item);

 private:
  void GlyphChanged(TObject*);
  std::unique_ptr<TBitmap> FGlyph;
  mutable TBitBtnKind FKind = bkCustom;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  Integer FSpacing = 4;
  Integer FNumGlyphs = 1;
  bool FIsDefault = false;
};
