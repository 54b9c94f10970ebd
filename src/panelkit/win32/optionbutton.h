// The option button: a large command-link button with a glyph, a bold
// caption line and a wrapped description, flat until the pointer is over
// it; and the progress bar, a bare container that only keeps two settings.
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "panelkit/pxclasses.h"
#include "panelkit/win32/collection.h"
#include "ui/graphics.h"

// The kit's progress bar has the orientation names of the standard one but is
// a type of its own; the namespace keeps the two apart.
namespace pxcollection {
enum TProgressBarOrientation { pbHorizontal, pbVertical };
}  // namespace pxcollection
using pxcollection::TProgressBarOrientation;
using enum pxcollection::TProgressBarOrientation;
const TTypeInfo& DescribeType(TypeTag<TProgressBarOrientation>);
const TTypeInfo& DescribeType(TypeTag<TWrapKind>);

class TPxOptionButton : public TCustomControl {
  KST_CLASS(TPxOptionButton, TCustomControl)
 public:
  explicit TPxOptionButton(TComponent* owner);
  ~TPxOptionButton() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  const String& Text() const { return FText; }
  void SetText(const String& value);
  bool FixedMargin() const { return FFixedMargin; }
  void SetFixedMargin(bool value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value);
  // The grey copy drawn while the button is disabled.
  TBitmap* GrayGlyph() const { return FGrayGlyph.get(); }
  // Streamed for forms that set it; the drawing does not use it.
  Integer GlyphIndent() const { return FGlyphIndent; }
  void SetGlyphIndent(Integer value);
  TPxMargins* GetInnerMargins() const { return FInnerMargins.get(); }
  void SetInnerMargins(const TPxMargins* value);
  Integer TextSpacing() const { return FTextSpacing; }
  void SetTextSpacing(Integer value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);
  TWrapKind WrapKind() const { return FWrapKind; }
  // Shows at the next painting.
  void SetWrapKind(TWrapKind value) { FWrapKind = value; }
  bool Hover() const { return FHover; }
  bool Down() const { return FDown; }
  // Where the caption line goes, in client coordinates.
  TRect CaptionRect();

 protected:
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMEnabledChanged(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;

 private:
  void GlyphChanged(TObject*);
  void MarginsChanged(TObject*);
  void ApplyTransparency();
  void DrawBackground(TCanvas& canvas, const TRect& client);

  bool FDown = false;
  std::unique_ptr<TBitmap> FGlyph;
  std::unique_ptr<TBitmap> FGrayGlyph;
  bool FHover = false;
  bool FTransparent = false;
  Integer FGlyphIndent = 5;
  String FCaption;
  std::unique_ptr<TPxMargins> FInnerMargins;
  TColor FTransparentColor = clNone;
  TWrapKind FWrapKind = wkWordWrap;
  String FText;
  bool FFixedMargin = false;
  Integer FTextSpacing = 2;
  bool FUpdatingGlyph = false;
};

// Keeps an orientation and a step for forms that set them; it draws a plain
// container face and no progress.
class TPxProgressBar : public TCustomControl {
  KST_CLASS(TPxProgressBar, TCustomControl)
 public:
  explicit TPxProgressBar(TComponent* owner);
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation value) { FOrientation = value; }
  Integer Step() const { return FStep; }
  void SetStep(Integer value) { FStep = value; }

 protected:
  void Paint() override;

 private:
  TProgressBarOrientation FOrientation = pbHorizontal;
  Integer FStep = 10;
};
