#include "panelkit/win32/collection.h"

#include "panelkit/win32/themes.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxIndent, "PxCollection")
KST_CLASS_IMPL(TPxMargins, "PxCollection")
KST_CLASS_IMPL(TPxCollectionControl, "PxCollection")

void TPxIndent::Describe(TClassBuilder<TPxIndent>& c) {
  c.Property(u"Left", &TPxIndent::Left, &TPxIndent::SetLeft).Default(0);
  c.Property(u"Top", &TPxIndent::Top, &TPxIndent::SetTop).Default(0);
}

void TPxIndent::SetLeft(Integer value) {
  FLeft = value;
  DoChange();
}

void TPxIndent::SetTop(Integer value) {
  FTop = value;
  DoChange();
}

void TPxIndent::Assign(const TPersistent* source) {
  if (const auto* indent = dynamic_cast<const TPxIndent*>(source)) {
    SetLeft(indent->Left());
    SetTop(indent->Top());
    return;
  }
  TPersistent::Assign(source);
}

void TPxIndent::DoChange() {
  if (OnChange) OnChange(this);
}

void TPxMargins::Describe(TClassBuilder<TPxMargins>& c) {
  c.Property(u"Bottom", &TPxMargins::Bottom, &TPxMargins::SetBottom).Default(0);
  c.Property(u"Right", &TPxMargins::Right, &TPxMargins::SetRight).Default(0);
}

void TPxMargins::SetBottom(Integer value) {
  FBottom = value;
  DoChange();
}

void TPxMargins::SetRight(Integer value) {
  FRight = value;
  DoChange();
}

TRect TPxMargins::AsRect(Integer width, Integer height) const {
  return Rect(Left(), Top(), width - FRight, height - FBottom);
}

void TPxMargins::SetRect(Integer left, Integer top, Integer right, Integer bottom) {
  const TNotifyEvent watcher = OnChange;
  OnChange = {};
  SetLeft(left);
  SetTop(top);
  FRight = right;
  FBottom = bottom;
  OnChange = watcher;
  DoChange();
}

void TPxMargins::Assign(const TPersistent* source) {
  TPxIndent::Assign(source);
  if (const auto* margins = dynamic_cast<const TPxMargins*>(source)) {
    SetBottom(margins->Bottom());
    SetRight(margins->Right());
  }
}

void TPxCollectionControl::Describe(TClassBuilder<TPxCollectionControl>&) {}

TPxCollectionControl::TPxCollectionControl(TComponent* owner) : TCustomControl(owner) {
  FControlStyle.Include(csGestures);
}

void DrawFocusFrame(TCanvas& canvas, const TRect& rect) {
  HDC dc = canvas.Handle();
  const COLORREF background = SetBkColor(dc, RGB(0, 0, 0));
  const COLORREF text = SetTextColor(dc, RGB(255, 255, 255));
  canvas.DrawFocusRect(rect);
  SetBkColor(dc, background);
  SetTextColor(dc, text);
}

namespace {

struct TDotColors {
  TColor Dark, Light, Middle;
};

TDotColors DotColors(TColorScheme scheme) {
  switch (scheme) {
    case csBlue:
    case csBlue2010: return {0xCF9365, 0xFBF9F9, 0xFFD1AD};
    default: return {0x7C7C7C, 0xFBF9F9, 0xCCCCCC};
  }
}

void FrameSquare(TCanvas& canvas, Integer x, Integer y, TColor color) {
  canvas.Brush().SetColor(color);
  canvas.FrameRect(Rect(x, y, x + 2, y + 2));
}

}  // namespace

void DrawGripDots(TCanvas& canvas, const TRect& rect, Integer count, bool vertical, TColorScheme scheme) {
  if (count <= 0) return;
  if (scheme == csDefault) scheme = CurrentColorScheme();
  const TDotColors colors = DotColors(scheme);
  const Integer length = 4 * count - 1;
  Integer x = vertical ? rect.Left + rect.Width() / 2 - 1 : rect.Left + rect.Width() / 2 - length / 2;
  Integer y = vertical ? rect.Top + rect.Height() / 2 - length / 2 : rect.Top + rect.Height() / 2 - 1;
  for (Integer i = 0; i < count; ++i) {
    FrameSquare(canvas, x, y, colors.Dark);
    FrameSquare(canvas, x + 1, y + 1, colors.Light);
    canvas.SetPixels(x + 1, y + 1, colors.Middle);
    (vertical ? y : x) += 4;
  }
  canvas.Brush().SetStyle(bsSolid);
}

void DrawTextInRect(TCanvas& canvas, const TRect& rect, const String& text, TAlignment alignment,
                    TVerticalAlignment verticalAlignment, TWrapKind wrap, bool rightToLeft, bool disabled) {
  UINT format = DT_NOPREFIX;
  format |= alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
  format |= verticalAlignment == taAlignBottom      ? DT_BOTTOM
            : verticalAlignment == taVerticalCenter ? DT_VCENTER
                                                    : DT_TOP;
  switch (wrap) {
    case wkNone: format |= DT_SINGLELINE; break;
    case wkEllipsis: format |= DT_SINGLELINE | DT_END_ELLIPSIS; break;
    case wkPathEllipsis: format |= DT_PATH_ELLIPSIS; break;
    case wkWordWrap: format |= DT_WORDBREAK; break;
  }
  if (rightToLeft) format |= DT_RTLREADING;
  canvas.Brush().SetStyle(bsClear);
  if (disabled) {
    TRect moved = rect;
    moved.Offset(1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(text, moved, format);
    canvas.Font().SetColor(clBtnShadow);
  }
  TRect target = rect;
  canvas.DrawText(text, target, format);
  canvas.Brush().SetStyle(bsSolid);
}

void DrawSchemeButtonFace(TCanvas& canvas, const TRect& rect, Integer state) {
  auto box = [&](Byte penRole, Byte brushRole) {
    canvas.Pen().SetColor(SchemeColor(penRole, csDefault));
    canvas.Brush().SetColor(SchemeColor(brushRole, csDefault));
    canvas.Rectangle(rect);
  };
  switch (state) {
    case 1: box(21, 21); break;
    case 2: box(2, 3); break;
    case 3: box(20, 19); break;
    default: canvas.FillRect(rect); break;
  }
}

void DrawClassicButtonFace(TCanvas& canvas, const TRect& rect, Integer state) {
  if (state < 1 || state > 3) {
    canvas.FillRect(rect);
    return;
  }
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(rect);
  if (state == 1) {
    canvas.Brush().SetColor(clBtnShadow);
    canvas.FrameRect(rect);
    return;
  }
  canvas.Pen().SetColor(clBtnHighlight);
  canvas.Polyline({TPoint{rect.Left, rect.Bottom - 1}, TPoint{rect.Left, rect.Top}, TPoint{rect.Right - 1, rect.Top}});
  canvas.Pen().SetColor(cl3DDkShadow);
  canvas.Polyline({TPoint{rect.Right - 1, rect.Top}, TPoint{rect.Right - 1, rect.Bottom - 1},
                   TPoint{rect.Left - 1, rect.Bottom - 1}});
  if (state == 3) {
    TRect inner = rect;
    inner.Inflate(-2, -2);
    canvas.Pen().SetColor(clBtnShadow);
    canvas.Polyline(
        {TPoint{inner.Right, inner.Top - 1}, TPoint{inner.Right, inner.Bottom}, TPoint{inner.Left - 2, inner.Bottom}});
  }
}

void DrawThemedButtonFace(TWinControl& control, TCanvas& canvas, const TRect& rect, Integer state) {
  constexpr int kPushButtonPart = 1;
  switch (state) {
    case 1: DrawThemeElement(control.Handle(), canvas.Handle(), rect, u"button", kPushButtonPart, 3); break;
    case 2: DrawThemeElement(control.Handle(), canvas.Handle(), rect, u"button", kPushButtonPart, 1); break;
    case 3: DrawThemeElement(control.Handle(), canvas.Handle(), rect, u"button", kPushButtonPart, 2); break;
    default: canvas.FillRect(rect); break;
  }
}
