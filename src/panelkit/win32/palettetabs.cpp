#include "panelkit/win32/palettetabs.h"
#include "panelkit/win32/lifeguard.h"

#include <algorithm>

#include "panelkit/win32/collectionparts.h"
// Declares the type of the (Sender, Integer) events that the explicit type info stands in for.
#include "panelkit/win32/pagecontrol.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxButtonHint, "PxStdCtrls")
KST_CLASS_IMPL(TPxTabControl, "PxStdCtrls")

const TTypeInfo& DescribeType(TypeTag<TTabsBackgroundStyle>) {
  static const TEnumTypeInfo t(u"TTabsBackgroundStyle", u"PxStdCtrls", {u"tbsSolid", u"tbsVertGradient"});
  return t;
}

const TMethodTypeInfo& ButtonClickEventType() {
  static const TMethodTypeInfo t(
      u"TButtonClickEvent", u"PxStdCtrls", mkProcedure,
      {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{ParamFlagBit(pfConst), u"Index", u"Integer"}});
  return t;
}

// ---------------------------------------------------------------------------
// Palettes and buttons

Integer TPxPalleteButton::Index() const {
  return FOwner ? FOwner->IndexOf(this) : -1;
}

TPxPalleteButton* TPxTabButtons::Buttons(Integer index) const {
  if (index < 0 || index >= Count()) throw EListError(u"List index out of bounds");
  return FButtons[static_cast<size_t>(index)].get();
}

TPxPalleteButton* TPxTabButtons::AddButton(const TClassInfo* referenceType, Integer imageIndex) {
  auto button = std::make_unique<TPxPalleteButton>(this);
  button->SetReferenceType(referenceType);
  button->SetImageIndex(imageIndex);
  FButtons.push_back(std::move(button));
  return FButtons.back().get();
}

Integer TPxTabButtons::IndexOf(const TPxPalleteButton* button) const {
  for (size_t i = 0; i < FButtons.size(); ++i)
    if (FButtons[i].get() == button) return static_cast<Integer>(i);
  return -1;
}

void TPxButtonHint::Describe(TClassBuilder<TPxButtonHint>&) {}

TPxButtonHint::TPxButtonHint(TComponent* owner) : THintWindow(owner) {
  SetColor(clInfoBk);
}

// ---------------------------------------------------------------------------
// The control

void TPxTabControl::Describe(TClassBuilder<TPxTabControl>& c) {
  using P = TPxTabControl;
  c.Property(u"ActiveIndex", &P::ActiveIndex, &P::SetActiveIndex).Default(0);
  publish::Align(c);
  c.Property(
       u"AutoSize", [](const P& p) { return p.FAutoSize; },
       [](P& p, bool value) {
         p.FAutoSize = value;
         p.ApplyAutoSize();
       })
      .Default(0);
  c.Property(u"ButtonHeight", &P::ButtonHeight, &P::SetButtonHeight).Default(22);
  c.Property(u"BackgroundStyle", &P::BackgroundStyle, &P::SetBackgroundStyle).Default(tbsSolid);
  c.Property(u"ButtonWidth", &P::ButtonWidth, &P::SetButtonWidth).Default(23);
  publish::Color(c);
  c.Property(u"Count", &P::Count);
  publish::Font(c);
  c.Property(u"Images", &P::Images, &P::SetImages);
  c.Property(u"LeftIndent", &P::LeftIndent, &P::SetLeftIndent).Default(2);
  c.Property(u"Margin", &P::Margin, &P::SetMargin).Default(2);
  publish::ParentColor(c);
  publish::ParentFont(c);
  c.Property(u"TabHeight", &P::TabHeight, &P::SetTabHeight).Default(21);
  c.Property(u"TopIndent", &P::TopIndent, &P::SetTopIndent).Default(2);
  c.Property(u"OnButtonClick", &P::OnButtonClick, &ButtonClickEventType());
}

TPxTabControl::TPxTabControl(TComponent* owner)
    : TCustomControl(owner),
      FHintHideTimer(std::make_unique<TTimer>(nullptr)),
      FHintTimer(std::make_unique<TTimer>(nullptr)),
      FHintWindow(std::make_unique<TPxButtonHint>(nullptr)) {
  const Integer hidePause = Application ? Application->HintHidePause() : 2500;
  const Integer pause = Application ? Application->HintPause() : 500;
  FHintHideTimer->SetEnabled(false);
  FHintHideTimer->SetInterval(static_cast<Cardinal>(hidePause));
  FHintHideTimer->SetOnTimer(TNotifyEvent(this, &TPxTabControl::HintHideTimerElapsed));
  FHintTimer->SetEnabled(false);
  FHintTimer->SetInterval(static_cast<Cardinal>(pause));
  FHintTimer->SetOnTimer(TNotifyEvent(this, &TPxTabControl::HintTimerElapsed));
  SetBounds(Left(), Top(), 200, 47);
}

TPxTabControl::~TPxTabControl() {
  if (FImages) FImages->RemoveFreeNotification(this);
}

void TPxTabControl::SetBackgroundStyle(TTabsBackgroundStyle value) {
  FBackgroundStyle = value;
  Invalidate();
}

void TPxTabControl::SetButtonHeight(Integer value) {
  FMetrics.ButtonHeight = value;
  ApplyAutoSize();
  Invalidate();
}

void TPxTabControl::SetLeftIndent(Integer value) {
  FLeftIndent = value;
  Invalidate();
}

void TPxTabControl::SetMargin(Integer value) {
  FMetrics.Margin = value;
  ApplyAutoSize();
  Invalidate();
}

void TPxTabControl::SetTabHeight(Integer value) {
  FMetrics.TabHeight = value;
  ApplyAutoSize();
  Invalidate();
}

void TPxTabControl::SetTopIndent(Integer value) {
  FMetrics.TopIndent = value;
  ApplyAutoSize();
  Invalidate();
}

void TPxTabControl::SetImages(TCustomImageList* value) {
  WatchImages(*this, FImages, value);
}

void TPxTabControl::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    Invalidate();
  }
}

bool TPxTabControl::CanAutoSize(Integer&, Integer& newHeight) {
  newHeight = PaletteAutoHeight(Metrics());
  return true;
}

void TPxTabControl::ApplyAutoSize() {
  if (!FAutoSize) return;
  Integer width = Width();
  Integer height = Height();
  if (CanAutoSize(width, height)) SetBounds(Left(), Top(), width, height);
}

TPaletteMetrics TPxTabControl::Metrics() const {
  TPaletteMetrics m = FMetrics;
  m.ClientWidth = ClientWidth();
  return m;
}

TPxTabButtons* TPxTabControl::Palettes(Integer index) const {
  if (index < 0 || index >= Count()) throw EListError(u"List index out of bounds");
  return FPalettes[static_cast<size_t>(index)].get();
}

TPxTabButtons* TPxTabControl::Add(const String& caption) {
  auto palette = std::make_unique<TPxTabButtons>();
  palette->SetCaption(caption);
  FPalettes.push_back(std::move(palette));
  return FPalettes.back().get();
}

TPxPalleteButton* TPxTabControl::AddButton(const String& paletteName, const TClassInfo* referenceType,
                                           Integer imageIndex) {
  TPxTabButtons* palette = GetPaletteByName(paletteName);
  if (!palette) palette = Add(paletteName);
  if (!palette) return nullptr;
  TPxPalleteButton* button = palette->AddButton(referenceType, imageIndex);
  Invalidate();
  return button;
}

TPxTabButtons* TPxTabControl::GetPaletteByName(const String& name) const {
  for (const auto& palette : FPalettes)
    if (palette->Caption() == name) return palette.get();
  return nullptr;
}

bool TPxTabControl::TabExist(Integer index) const {
  return Count() > 0 && index >= 0 && index <= Count() - 1;
}

TPxTabButtons* TPxTabControl::ActivePalette() const {
  return TabExist(FActiveIndex) ? FPalettes[static_cast<size_t>(FActiveIndex)].get() : nullptr;
}

bool TPxTabControl::ButtonExist(Integer index) const {
  const TPxTabButtons* palette = ActivePalette();
  return palette && palette->Count() > 0 && index >= 0 && index <= palette->Count() - 1;
}

TRect TPxTabControl::GetTabsRect() const {
  return PaletteTabsRect(Metrics());
}

TRect TPxTabControl::GetButtonsRect() const {
  return PaletteButtonsRect(Metrics());
}

TRect TPxTabControl::GetButtonRect(Integer index) const {
  return PaletteButtonRect(Metrics(), index);
}

Integer TPxTabControl::GetButtonAtPos(Integer x, Integer) const {
  return PaletteButtonAtPos(Metrics(), x);
}

// Measured in the canvas's current font: the control's after a paint.
Integer TPxTabControl::GetTabAtPos(Integer x, Integer y) {
  std::vector<Integer> widths;
  for (const auto& palette : FPalettes) widths.push_back(Canvas().TextWidth(palette->Caption()));
  return PaletteTabAtPos(widths, FLeftIndent, FMetrics.TopIndent, FMetrics.TabHeight, x, y);
}

void TPxTabControl::RefreshButton(Integer index) {
  if (HandleAllocated() && ButtonExist(index)) InvalidateWithoutErase(*this, GetButtonRect(index));
}

void TPxTabControl::DoButtonClick(Integer index) {
  if (OnButtonClick) OnButtonClick(this, index);
}

// ---------------------------------------------------------------------------
// Painting

void TPxTabControl::DrawTab(TCanvas& canvas, const TRect& q, const String& caption, bool active) {
  if (IsThemed()) {
    TRect r = q;
    if (!active) r.Top += 2;
    DrawThemeElement(Handle(), canvas.Handle(), r, u"tab", 1, active ? 3 : 1);
  } else if (active) {
    canvas.Pen().SetColor(clGrayText);
    canvas.Polyline({{q.Left, q.Bottom - 1},
                     {q.Left, q.Top + 2},
                     {q.Left + 2, q.Top},
                     {q.Right - 3, q.Top},
                     {q.Right - 1, q.Top + 2},
                     {q.Right - 1, q.Bottom - 1}});
    canvas.Pen().SetColor(clWindow);
    canvas.Brush().SetColor(clWindow);
    canvas.Polygon({{q.Left + 1, q.Bottom - 1},
                    {q.Left + 1, q.Top + 2},
                    {q.Left + 3, q.Top + 1},
                    {q.Right - 4, q.Top + 1},
                    {q.Right - 2, q.Top + 2},
                    {q.Right - 2, q.Bottom - 1}});
  }
  TRect text = q;
  const Integer shift = active ? -1 : 1;
  text.Top += shift;
  text.Bottom += shift;
  canvas.Brush().SetStyle(bsClear);
  DrawCaptionText(canvas, text, taCenter, caption, true);
  canvas.Brush().SetStyle(bsSolid);
}

void TPxTabControl::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  canvas.Brush().SetColor(clBtnFace);
  const TRect tabs = GetTabsRect();
  if (FBackgroundStyle == tbsVertGradient)
    FillVertGradient(canvas, tabs, cl3DLight, clBtnFace);
  else
    canvas.FillRect(tabs);
  Integer x = FLeftIndent;
  const Integer top = FMetrics.TopIndent;
  const Integer bottom = top + FMetrics.TabHeight;
  TRect activeRect;
  for (Integer i = 0; i < Count(); ++i) {
    const String& caption = FPalettes[static_cast<size_t>(i)]->Caption();
    const TRect q = Rect(x, top, x + canvas.TextWidth(caption) + 12, bottom);
    if (i == FActiveIndex)
      activeRect = Rect(q.Left - 2, q.Top, q.Right + 2, q.Bottom);
    else {
      canvas.Font().SetColor(Font().Color());
      DrawTab(canvas, q, caption, false);
    }
    x = q.Right;
  }
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(Rect(0, bottom, ClientWidth(), ClientHeight()));
  if (ComponentState().Contains(csDesigning)) {
    canvas.Pen().SetColor(clGrayText);
    canvas.Pen().SetStyle(psDot);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(GetButtonsRect());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Pen().SetStyle(psSolid);
  }
  TPxTabButtons* palette = ActivePalette();
  if (!palette) return;
  canvas.Font().SetColor(clWindowText);
  DrawTab(canvas, activeRect, palette->Caption(), true);
  canvas.Pen().SetColor(clGrayText);
  canvas.MoveTo(0, bottom - 1);
  canvas.LineTo(activeRect.Left + 1, bottom - 1);
  canvas.MoveTo(activeRect.Right - 1, bottom - 1);
  canvas.LineTo(ClientWidth(), bottom - 1);
  for (Integer i = 0; i < palette->Count(); ++i) {
    TRect r = GetButtonRect(i);
    const bool hover = i == FHoverButton;
    const bool down = i == FDownButton;
    if (hover) {
      TRect frame = r;
      if (down)
        Frame3D(canvas, frame, clBtnShadow, clBtnHighlight, 1);
      else
        Frame3D(canvas, frame, clBtnHighlight, clBtnShadow, 1);
    }
    const Integer image = palette->Buttons(i)->ImageIndex();
    if (FImages && image >= 0 && image < FImages->Count()) {
      const Integer offset = hover && down ? 1 : 0;
      FImages->Draw(canvas, r.Left + r.Width() / 2 - FImages->Width() / 2 + offset,
                    r.Top + r.Height() / 2 - FImages->Height() / 2 + offset, image, true);
    }
  }
}

// ---------------------------------------------------------------------------
// Pointer and hints

void TPxTabControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return;
  }
  TCustomControl::Dispatch(m);
}

void TPxTabControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  const TPoint p{x, y};
  if (GetTabsRect().Contains(p)) {
    const Integer tab = GetTabAtPos(x, y);
    if (TabExist(tab)) {
      FActiveIndex = tab;
      Invalidate();
    }
  }
  if (GetButtonsRect().Contains(p) && Count() > 0) {
    FDownButton = GetButtonAtPos(x, y);
    RefreshButton(FDownButton);
  }
}

void TPxTabControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TCustomControl::MouseUp(button, shift, x, y);
  if (guard.Gone()) return;
  if (GetButtonsRect().Contains(TPoint{x, y})) {
    const Integer index = GetButtonAtPos(x, y);
    if (ButtonExist(index) && index == FDownButton) DoButtonClick(index);
    if (guard.Gone()) return;
  }
  const Integer old = FDownButton;
  FDownButton = -1;
  RefreshButton(old);
}

void TPxTabControl::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  const TPxTabButtons* palette = ActivePalette();
  if (!palette || palette->Count() == 0) return;
  if (!GetButtonsRect().Contains(TPoint{x, y})) {
    CancelHints();
    const Integer old = FHoverButton;
    FHoverButton = -1;
    RefreshButton(old);
    return;
  }
  const Integer hover = GetButtonAtPos(x, y);
  if (hover == FHoverButton) return;
  const Integer old = FHoverButton;
  FHoverButton = hover;
  RefreshButton(old);
  RefreshButton(hover);
  if (ButtonExist(hover)) {
    TPxPalleteButton* button = palette->Buttons(hover);
    if (button == FHintWindow->Button()) return;
    if (button->ShowHint() && !button->Hint().empty()) {
      if (!FHintWindow->Button()) {
        FHintTimer->SetEnabled(true);
      } else {
        FHintHideTimer->SetEnabled(false);
        FHintWindow->SetButton(button);
        ShowButtonHint();
      }
      return;
    }
  }
  CancelHints();
}

void TPxTabControl::CMMouseLeave(TMessage& m) {
  TCustomControl::CMMouseLeave(m);
  if (Count() == 0) return;
  const Integer old = FHoverButton;
  FHoverButton = -1;
  RefreshButton(old);
  CancelHints();
}

void TPxTabControl::ShowButtonHint() {
  TPxPalleteButton* button = FHintWindow->Button();
  if (!button || !button->ShowHint() || button->Hint().empty()) return;
  FHintTimer->SetEnabled(false);
  TRect rect = FHintWindow->CalcHintRect(ClientWidth(), button->Hint(), nullptr);
  const TRect place = GetButtonRect(button->Index());
  const TPoint corner = ClientToScreen(TPoint{place.Left, place.Bottom});
  rect = Rect(corner.X, corner.Y, corner.X + rect.Width(), corner.Y + rect.Height());
  FHintWindow->ActivateHint(rect, button->Hint());
  FHintHideTimer->SetEnabled(true);
}

void TPxTabControl::CancelHints() {
  FHintTimer->SetEnabled(false);
  FHintHideTimer->SetEnabled(false);
  FHintWindow->SetButton(nullptr);
  FHintWindow->ReleaseHandle();
}

void TPxTabControl::HintTimerElapsed(TObject*) {
  if (ButtonExist(FHoverButton)) {
    FHintWindow->SetButton(ActivePalette()->Buttons(FHoverButton));
    ShowButtonHint();
  }
}

// The window's button stays, so that the next button's hint shows at once.
void TPxTabControl::HintHideTimerElapsed(TObject*) {
  FHintHideTimer->SetEnabled(false);
  FHintWindow->ReleaseHandle();
}
