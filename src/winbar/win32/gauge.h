// The gauge: a value between a minimum and a maximum shown as a bar, a pie,
// a needle or text only, with the percentage over it in colours inverted
// under the letters. The range is 64-bit, so large counts (bytes of big
// files) show the right share.
#pragma once

#include "ui/controls.h"

enum TMGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

const TTypeInfo& DescribeType(TypeTag<TMGaugeKind>);

// The gauge's work bitmap.
class TBltBitmap : public TBitmap {
  KST_CLASS(TBltBitmap, TBitmap)
 public:
  using TBitmap::TBitmap;
  // The template's size, filled with the window-frame colour.
  void MakeLike(TBitmap& templateBitmap);
};

class TMGauge : public TGraphicControl {
  KST_CLASS(TMGauge, TGraphicControl)
 public:
  explicit TMGauge(TComponent* owner);

  Int64 MinValue() const { return FMinValue; }
  void SetMinValue(Int64 value);
  Int64 MaxValue() const { return FMaxValue; }
  void SetMaxValue(Int64 value);
  Int64 Progress() const { return FCurValue; }
  void SetProgress(Int64 value);
  // Saturates at the range's ends, however large the step.
  void AddProgress(Int64 value);
  Integer PercentDone() const;
  TMGaugeKind Kind() const { return FKind; }
  void SetKind(TMGaugeKind value);
  bool ShowText() const { return FShowText; }
  void SetShowText(bool value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TColor ForeColor() const { return FForeColor; }
  void SetForeColor(TColor value);
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor value);
  const String& GaugeText() const { return FText; }
  void SetGaugeText(const String& value);
  bool ProgressInText() const { return FProgressInText; }
  void SetProgressInText(bool value);
  bool FixedFontColor() const { return FFixedFontColor; }
  void SetFixedFontColor(bool value);
  // The text shown over the gauge.
  String DisplayText() const;
  // Paints the whole gauge on a canvas at (0, 0).
  void PaintOn(TCanvas& canvas);

 protected:
  void Paint() override;

 private:
  void Changed();
  void DrawKind(TCanvas& canvas, const TRect& p);

  Int64 FMinValue = 0;
  Int64 FMaxValue = 100;
  Int64 FCurValue = 0;
  TMGaugeKind FKind = gkHorizontalBar;
  bool FShowText = true;
  TBorderStyle FBorderStyle = bsSingle;
  TColor FForeColor = clBlack;
  TColor FBackColor = clWhite;
  String FText;
  bool FProgressInText = true;
  bool FFixedFontColor = false;
};
