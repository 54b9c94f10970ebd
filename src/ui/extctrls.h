// Extra controls: the panel and the timer.
#pragma once

#include "ui/controls.h"
#include "ui/stdctrls.h"

// Draws a 3-D frame of the given width inside the rectangle, which shrinks by it.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, Integer width);

// A container with a bevelled border and a centred caption.
class TPanel : public TCustomControl {
  KST_CLASS(TPanel, TCustomControl)
 public:
  explicit TPanel(TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut value);
  Integer BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(Integer value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool value);

  void AdjustClientRect(TRect& rect) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;

 private:
  void BoundsChanged();
  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  Integer FBevelWidth = 1;
  Integer FBorderWidth = 0;
  TFormBorderStyle FBorderStyle = bsNone;
  bool FShowCaption = true;
};

// Fires OnTimer every Interval milliseconds while enabled.
class TTimer : public TComponent {
  KST_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(const TNotifyEvent& handler);

 protected:
  void Loaded() override;
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& message);
  bool FEnabled = true;
  Cardinal FInterval = 1000;
  TNotifyEvent FOnTimer;
  HWND FWindow = nullptr;
  bool FRunning = false;
};
