#include "ui/extctrls.h"

#include "ui/publish.h"

KST_CLASS_IMPL(TPanel, "ExtCtrls")
KST_CLASS_IMPL(TTimer, "ExtCtrls")

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, Integer width) {
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  rect.Bottom -= 1;
  rect.Right -= 1;
  for (Integer i = 0; i < width; ++i) {
    canvas.Pen().SetColor(topColor);
    canvas.Polyline({{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}});
    canvas.Pen().SetColor(bottomColor);
    canvas.Polyline({{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}});
    rect.Inflate(-1, -1);
  }
  rect.Bottom += 1;
  rect.Right += 1;
}

// ---------------------------------------------------------------------------
// Panel

void TPanel::Describe(TClassBuilder<TPanel>& c) {
  publish::Align(c);
  c.Property(u"Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
  publish::Anchors(c);
  c.Property(u"BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
  c.Property(u"BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
  c.Property(u"BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
  c.Property(u"BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
  c.Property(u"BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle, &BorderStyleType()).Default(bsNone);
  publish::Caption(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  publish::ParentBackground(c);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"ShowCaption", &TPanel::ShowCaption, &TPanel::SetShowCaption).Default(1);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::ResizeEvents(c);
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                   csOpaque,          csDoubleClicks, csReplicatable};
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FBorderStyle == bsSingle) params.Style |= WS_BORDER;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TPanel::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  rect.Inflate(-FBorderWidth, -FBorderWidth);
  Integer bevel = 0;
  if (FBevelOuter != bvNone) bevel += FBevelWidth;
  if (FBevelInner != bvNone) bevel += FBevelWidth;
  rect.Inflate(-bevel, -bevel);
}

void TPanel::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  if (FBevelOuter != bvNone) {
    TColor top = FBevelOuter == bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottom = FBevelOuter == bvLowered ? clBtnHighlight : clBtnShadow;
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  if (FBorderWidth > 0) {
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    for (Integer i = 0; i < FBorderWidth; ++i) {
      canvas.FrameRect(r);
      r.Inflate(-1, -1);
    }
  }
  if (FBevelInner != bvNone) {
    TColor top = FBevelInner == bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottom = FBevelInner == bvLowered ? clBtnHighlight : clBtnShadow;
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  if (!ParentBackground()) {
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(r);
  }
  String caption = Caption();
  if (FShowCaption && !caption.empty()) {
    canvas.Font().Assign(&Font());
    canvas.Brush().SetStyle(bsClear);
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    canvas.DrawText(caption, r, DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | alignments[FAlignment]);
  }
}

void TPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED: Invalidate(); break;
    case WM_ERASEBKGND:
      // The panel paints all of itself (or lets its parent show through).
      if (ParentBackground())
        TCustomControl::Dispatch(m);
      else
        m.Result = 1;
      break;
    default: TCustomControl::Dispatch(m); break;
  }
}

void TPanel::BoundsChanged() {
  Realign();
  Invalidate();
}

void TPanel::SetAlignment(TAlignment value) {
  FAlignment = value;
  Invalidate();
}
void TPanel::SetBevelInner(TBevelCut value) {
  FBevelInner = value;
  BoundsChanged();
}
void TPanel::SetBevelOuter(TBevelCut value) {
  FBevelOuter = value;
  BoundsChanged();
}
void TPanel::SetBevelWidth(Integer value) {
  FBevelWidth = std::max(1, value);
  BoundsChanged();
}
void TPanel::SetBorderWidth(Integer value) {
  FBorderWidth = std::max(0, value);
  BoundsChanged();
}
void TPanel::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}
void TPanel::SetShowCaption(bool value) {
  FShowCaption = value;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Timer

void TTimer::Describe(TClassBuilder<TTimer>& c) {
  c.Property(u"Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(1);
  c.Property(u"Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
  c.Property(u"OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  FEnabled = false;
  if (FWindow) {
    KillTimer(FWindow, 1);
    DeallocateHWnd(FWindow);
  }
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FRunning && FWindow) KillTimer(FWindow, 1);
  FRunning = false;
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
  if (FInterval != 0 && FEnabled && FOnTimer) {
    if (!FWindow) FWindow = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
    if (!SetTimer(FWindow, 1, FInterval, nullptr)) throw EOutOfResources(u"Not enough timers available");
    FRunning = true;
  }
}

void TTimer::WndProc(TMessage& m) {
  if (m.Msg == WM_TIMER) {
    Timer();
    return;
  }
  m.Result = DefWindowProcW(FWindow, m.Msg, m.WParam, m.LParam);
}

void TTimer::Timer() {
  if (FEnabled && !ComponentState().Contains(csDestroying)) FOnTimer(this);
}

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal value) {
  if (value == FInterval) return;
  FInterval = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& handler) {
  FOnTimer = handler;
  UpdateTimer();
}
