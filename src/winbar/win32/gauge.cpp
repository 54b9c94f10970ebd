#include "winbar/win32/gauge.h"

#include <limits>

#include "rtl/format.h"
#include "rtl/numbers.h"
#include "ui/publish.h"
#include "winbar/graphutils.h"

KST_CLASS_IMPL(TBltBitmap, "Obrix_Gauge")
KST_CLASS_IMPL(TMGauge, "Obrix_Gauge")

namespace {

// Combines `source` into `target` by exclusive-or of the pixels.
void XorInto(TBitmap& target, TBitmap& source) {
  BitBlt(target.Canvas().Handle(), 0, 0, target.Width(), target.Height(), source.Canvas().Handle(), 0, 0, SRCINVERT);
}

void FillBlack(TBitmap& bitmap) {
  bitmap.Canvas().Brush().SetColor(clBlack);
  bitmap.Canvas().FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
}

// The limits the message names are those of the Integer the published
// values have in the forms' language.
Int64 SaturatedStep(Int64 value, Int64 step) {
  Int64 result = 0;
  return __builtin_add_overflow(value, step, &result) ? value : result;
}

String RangeMessage(Int64 low, Int64 high) {
  return u"Value must be between " + IntToStr(low) + u" and " + IntToStr(high);
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TMGaugeKind>) {
  static const TEnumTypeInfo t(u"TMGaugeKind", u"Obrix_Gauge",
                               {u"gkText", u"gkHorizontalBar", u"gkVerticalBar", u"gkPie", u"gkNeedle"});
  return t;
}

void TBltBitmap::Describe(TClassBuilder<TBltBitmap>&) {}

void TBltBitmap::MakeLike(TBitmap& templateBitmap) {
  SetSize(templateBitmap.Width(), templateBitmap.Height());
  Canvas().Brush().SetColor(clWindowFrame);
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().FillRect(Rect(0, 0, Width(), Height()));
}

void TMGauge::Describe(TClassBuilder<TMGauge>& c) {
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BackColor", &TMGauge::BackColor, &TMGauge::SetBackColor, &types::Color()).Default(clWhite);
  c.Property(u"BorderStyle", &TMGauge::BorderStyle, &TMGauge::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"FixedFontColor", &TMGauge::FixedFontColor, &TMGauge::SetFixedFontColor);
  publish::Font(c);
  c.Property(u"ForeColor", &TMGauge::ForeColor, &TMGauge::SetForeColor, &types::Color()).Default(clBlack);
  c.Property(u"Kind", &TMGauge::Kind, &TMGauge::SetKind).Default(gkHorizontalBar);
  c.Property(u"MinValue", &TMGauge::MinValue, &TMGauge::SetMinValue).Default(0);
  c.Property(u"MaxValue", &TMGauge::MaxValue, &TMGauge::SetMaxValue).Default(100);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"Progress", &TMGauge::Progress, &TMGauge::SetProgress);
  c.Property(u"ProgressInText", &TMGauge::ProgressInText, &TMGauge::SetProgressInText);
  c.Property(u"ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
  c.Property(u"ShowText", &TMGauge::ShowText, &TMGauge::SetShowText).Default(1);
  c.Property(u"Text", &TMGauge::GaugeText, &TMGauge::SetGaugeText);
  publish::Visible(c);
  publish::MouseEvents(c);
}

TMGauge::TMGauge(TComponent* owner) : TGraphicControl(owner) {
  FControlStyle.Include(csFramed);
  FControlStyle.Include(csOpaque);
  SetBounds(Left(), Top(), 100, 100);
}

Integer TMGauge::PercentDone() const {
  return GaugePercent(FMinValue, FMaxValue, FCurValue);
}

void TMGauge::Changed() {
  Invalidate();
}

void TMGauge::SetProgress(Int64 value) {
  value = std::clamp(value, FMinValue, std::max(FMinValue, FMaxValue));
  if (value == FCurValue) return;
  Integer before = PercentDone();
  FCurValue = value;
  if (PercentDone() != before) Repaint();
}

void TMGauge::AddProgress(Int64 value) {
  // A sum beyond the type's range is beyond the gauge's too: it saturates.
  Int64 sum = 0;
  if (__builtin_add_overflow(FCurValue, value, &sum))
    sum = value > 0 ? std::numeric_limits<Int64>::max() : std::numeric_limits<Int64>::min();
  SetProgress(sum);
  Repaint();
}

void TMGauge::SetMinValue(Int64 value) {
  if (value == FMinValue) return;
  if (value > FMaxValue && !ComponentState().Contains(csLoading))
    throw EInvalidOperation(RangeMessage(-Int64{std::numeric_limits<Integer>::max()}, SaturatedStep(FMaxValue, -1)));
  FMinValue = value;
  if (FCurValue < value) FCurValue = value;
  Changed();
}

void TMGauge::SetMaxValue(Int64 value) {
  if (value == FMaxValue) return;
  if (value < FMinValue && !ComponentState().Contains(csLoading))
    throw EInvalidOperation(RangeMessage(SaturatedStep(FMinValue, 1), std::numeric_limits<Integer>::max()));
  FMaxValue = value;
  if (FCurValue > value) FCurValue = value;
  Changed();
}

#define KST_GAUGE_SETTER(Setter, Field, Type) \
  void TMGauge::Setter(Type value) {          \
    if (value == Field) return;               \
    Field = value;                            \
    Repaint();                                \
  }
KST_GAUGE_SETTER(SetKind, FKind, TMGaugeKind)
KST_GAUGE_SETTER(SetShowText, FShowText, bool)
KST_GAUGE_SETTER(SetBorderStyle, FBorderStyle, TBorderStyle)
KST_GAUGE_SETTER(SetForeColor, FForeColor, TColor)
KST_GAUGE_SETTER(SetBackColor, FBackColor, TColor)
KST_GAUGE_SETTER(SetProgressInText, FProgressInText, bool)
KST_GAUGE_SETTER(SetFixedFontColor, FFixedFontColor, bool)
#undef KST_GAUGE_SETTER

void TMGauge::SetGaugeText(const String& value) {
  FText = value;
  Repaint();
}

String TMGauge::DisplayText() const {
  return FProgressInText ? FText + IntToStr(PercentDone()) + u"%" : FText;
}

void TMGauge::DrawKind(TCanvas& canvas, const TRect& p) {
  Integer percent = PercentDone();
  canvas.Pen().SetWidth(1);
  switch (FKind) {
    case gkText:
      canvas.Brush().SetColor(FBackColor);
      canvas.FillRect(p);
      break;
    case gkHorizontalBar:
    case gkVerticalBar: {
      canvas.Brush().SetColor(FBackColor);
      canvas.FillRect(p);
      canvas.Pen().SetColor(FForeColor);
      canvas.Brush().SetColor(FForeColor);
      Integer w = p.Right - p.Left + 1, h = p.Bottom - p.Top + 1;
      if (FKind == gkHorizontalBar) {
        Integer f = std::min(GaugeFill(w, percent), w);
        if (f > 0) canvas.FillRect(Rect(p.Left, p.Top, f, h));
      } else {
        Integer f = GaugeFill(h, percent);
        if (f >= h) f = p.Bottom - p.Top;
        canvas.FillRect(Rect(p.Left, h - f, w, h));
      }
      break;
    }
    case gkPie:
    case gkNeedle: {
      canvas.Brush().SetColor(Color());
      canvas.FillRect(p);
      canvas.Brush().SetColor(FBackColor);
      canvas.Pen().SetColor(FForeColor);
      Integer extra = FBorderStyle == bsSingle ? 1 : 0;
      Integer w = p.Right - p.Left + extra, h = p.Bottom - p.Top + extra;
      if (FKind == gkPie) {
        canvas.Ellipse(p.Left, p.Top, w, h);
        if (percent > 0) {
          canvas.Brush().SetColor(FForeColor);
          TPoint start = GaugePieStart(w, h, percent);
          canvas.Pie(p.Left, p.Top, w, h, start.X, start.Y, w / 2, 0);
        }
      } else {
        canvas.Pie(p.Left, p.Top, w, 2 * h - 1, p.Left + w, p.Bottom - 1, p.Left, p.Bottom - 1);
        canvas.MoveTo(p.Left, p.Bottom);
        canvas.LineTo(p.Left + w, p.Bottom);
        if (percent > 0) {
          Integer mx = Width() / 2;
          TPoint tip = GaugeNeedleTip(mx, p.Bottom - 1, percent);
          canvas.Pen().SetColor(FForeColor);
          canvas.MoveTo(mx, p.Bottom - 1);
          canvas.LineTo(tip.X, tip.Y);
        }
      }
      break;
    }
  }
}

void TMGauge::PaintOn(TCanvas& target) {
  Integer width = Width(), height = Height();
  if (width <= 0 || height <= 0) return;
  TBitmap image(width, height, pf32bit);
  FillBlack(image);
  TRect p = Rect(0, 0, width, height);
  if (FBorderStyle == bsSingle) p.Inflate(-1, -1);

  TBltBitmap overlay;
  overlay.MakeLike(image);
  FillBlack(overlay);
  DrawKind(overlay.Canvas(), p);
  XorInto(image, overlay);

  if (FShowText) {
    String text = DisplayText();
    TCanvas& canvas = FFixedFontColor ? image.Canvas() : overlay.Canvas();
    if (!FFixedFontColor) FillBlack(overlay);
    canvas.Font().Assign(&Font());
    if (!FFixedFontColor) canvas.Font().SetColor(clWhite);
    canvas.Brush().SetStyle(bsClear);
    TSize extent = canvas.TextExtent(text);
    Integer x = (p.Right - p.Left + 1 - extent.cx) / 2, y = (p.Bottom - p.Top + 1 - extent.cy) / 2;
    canvas.TextRect(p, x, y, text);
    canvas.Brush().SetStyle(bsSolid);
    if (!FFixedFontColor) XorInto(image, overlay);
  }
  target.Draw(0, 0, image);
}

void TMGauge::Paint() {
  PaintOn(Canvas());
}
