// What the panel kit's stand-alone controls share: their base control and
// the indent and margin objects they own.
#pragma once

#include "ui/winapi.h"

#include "panelkit/colorschemes.h"
#include "panelkit/providers.h"
#include "panelkit/pxclasses.h"
#include "ui/controls.h"

// A left and top amount in pixels; every set notifies, changed or not.
class TPxIndent : public TPersistent {
  KST_CLASS(TPxIndent, TPersistent)
 public:
  TPxIndent() = default;
  Integer Left() const { return FLeft; }
  void SetLeft(Integer value);
  Integer Top() const { return FTop; }
  void SetTop(Integer value);
  void Assign(const TPersistent* source) override;
  TNotifyEvent OnChange;

 protected:
  virtual void DoChange();

 private:
  Integer FLeft = 0;
  Integer FTop = 0;
};

class TPxMargins : public TPxIndent {
  KST_CLASS(TPxMargins, TPxIndent)
 public:
  TPxMargins() = default;
  Integer Bottom() const { return FBottom; }
  void SetBottom(Integer value);
  Integer Right() const { return FRight; }
  void SetRight(Integer value);
  // (Left, Top, width - Right, height - Bottom).
  TRect AsRect(Integer width, Integer height) const;
  // All four at once, with one notification.
  void SetRect(Integer left, Integer top, Integer right, Integer bottom);
  void Assign(const TPersistent* source) override;

 private:
  Integer FBottom = 0;
  Integer FRight = 0;
};

class TPxCollectionControl : public TCustomControl {
  KST_CLASS(TPxCollectionControl, TCustomControl)
 public:
  explicit TPxCollectionControl(TComponent* owner);
};

// The system's dotted focus rectangle, black and white whatever the
// context's colours were (they are put back).
void DrawFocusFrame(TCanvas& canvas, const TRect& rect);
// A centred row (or column) of embossed dots in the scheme's colours.
void DrawGripDots(TCanvas& canvas, const TRect& rect, Integer count, bool vertical, TColorScheme scheme);
// The text in the canvas font, transparent; a disabled text is embossed.
void DrawTextInRect(TCanvas& canvas, const TRect& rect, const String& text, TAlignment alignment,
                    TVerticalAlignment verticalAlignment, TWrapKind wrap, bool rightToLeft, bool disabled);
// Button faces by state: 0 none, 1 pressed, 2 normal, 3 hot.
void DrawSchemeButtonFace(TCanvas& canvas, const TRect& rect, Integer state);
void DrawClassicButtonFace(TCanvas& canvas, const TRect& rect, Integer state);
void DrawThemedButtonFace(TWinControl& control, TCanvas& canvas, const TRect& rect, Integer state);
