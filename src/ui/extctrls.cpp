#include "ui/extctrls.h"

#include <algorithm>

#include "rtl/format.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPanel, "ExtCtrls")
KST_CLASS_IMPL(TTimer, "ExtCtrls")
KST_CLASS_IMPL(TCustomRadioGroup, "ExtCtrls")
KST_CLASS_IMPL(TRadioGroup, "ExtCtrls")
KST_CLASS_IMPL(TBevel, "ExtCtrls")
KST_CLASS_IMPL(TSplitter, "ExtCtrls")
KST_CLASS_IMPL(TImage, "ExtCtrls")

const TTypeInfo& DescribeType(TypeTag<TBevelShape>) {
  static const TEnumTypeInfo t(
      u"TBevelShape", u"ExtCtrls",
      {u"bsBox", u"bsFrame", u"bsTopLine", u"bsBottomLine", u"bsLeftLine", u"bsRightLine", u"bsSpacer"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TBevelStyle>) {
  static const TEnumTypeInfo t(u"TBevelStyle", u"ExtCtrls", {u"bsLowered", u"bsRaised"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TResizeStyle>) {
  static const TEnumTypeInfo t(u"TResizeStyle", u"ExtCtrls", {u"rsNone", u"rsLine", u"rsUpdate", u"rsPattern"});
  return t;
}

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
  KST_KEPT_PROPERTY(u"AutoSize", AutoSize).Default(0);
  publish::DockSite(c);
  publish::ParentDoubleBuffered(c);
  publish::StyleElements(c);
  publish::UseDockManager(c);
  publish::KeptWindowed(c);
  publish::Align(c);
  c.Property(u"Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
  publish::Anchors(c);
  publish::BevelProperties(c);
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

// ---------------------------------------------------------------------------
// Radio group

void TCustomRadioGroup::Describe(TClassBuilder<TCustomRadioGroup>&) {}

void TRadioGroup::Describe(TClassBuilder<TRadioGroup>& c) {
  publish::KeptWindowed(c);
  publish::Align(c);
  publish::Anchors(c);
  publish::Caption(c);
  publish::Color(c);
  c.Property(u"Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns).Default(1);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
  c.Property(u"Items", &TRadioGroup::GetItems, &TRadioGroup::SetItems);
  publish::ParentBackground(c);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  c.Property(u"OnClick", &TRadioGroup::OnClick);
  c.Property(u"OnContextPopup", &TRadioGroup::OnContextPopup);
  publish::FocusEvents(c);
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), FItems(std::make_unique<TStringList>()) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  FItems->OnChange = [this](TObject* sender) { ItemsChanged(sender); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  FItems->OnChange = nullptr;
}

void TCustomRadioGroup::SetItems(const TStrings* items) {
  if (items) FItems->Assign(*items);
}

TRadioButton* TCustomRadioGroup::Buttons(Integer index) const {
  if (index < 0 || index >= ButtonCount()) throw EStringListError(Format(kListIndexError, {index}));
  return FButtons[static_cast<size_t>(index)];
}

void TCustomRadioGroup::ItemsChanged(TObject*) {
  if (ComponentState().Contains(csLoading)) return;
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  FUpdating = true;
  try {
    auto count = static_cast<size_t>(FItems->Count());
    while (FButtons.size() > count) {
      delete FButtons.back();
      FButtons.pop_back();
    }
    while (FButtons.size() < count) {
      auto* button = new TRadioButton(this);
      button->OnClick = TNotifyEvent(this, &TCustomRadioGroup::ButtonClick);
      button->SetParent(this);
      FButtons.push_back(button);
    }
    for (size_t i = 0; i < count; ++i) {
      TRadioButton* button = FButtons[i];
      button->SetCaption(FItems->Get(static_cast<Integer>(i)));
      button->SetEnabled(Enabled());
      button->SetChecked(static_cast<Integer>(i) == FItemIndex);
    }
  } catch (...) {
    FUpdating = false;
    throw;
  }
  FUpdating = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font().Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  auto count = static_cast<Integer>(FButtons.size());
  Integer perColumn = (count + FColumns - 1) / FColumns;
  Integer buttonWidth = (Width() - 10) / FColumns;
  Integer room = Height() - tm.tmHeight - 5;
  Integer buttonHeight = room / perColumn;
  Integer topMargin = tm.tmHeight + 1 + (room % perColumn) / 2;
  for (Integer i = 0; i < count; ++i)
    FButtons[static_cast<size_t>(i)]->SetBounds((i / perColumn) * buttonWidth + 8,
                                                (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
}

void TCustomRadioGroup::ButtonClick(TObject* sender) {
  if (FUpdating) return;
  auto it = std::find(FButtons.begin(), FButtons.end(), sender);
  if (it == FButtons.end() || !(*it)->Checked()) return;
  FItemIndex = static_cast<Integer>(it - FButtons.begin());
  Click();
}

void TCustomRadioGroup::SetItemIndex(Integer value) {
  if (ComponentState().Contains(csLoading)) {
    FItemIndex = value;
    return;
  }
  value = std::clamp<Integer>(value, -1, ButtonCount() - 1);
  if (value == FItemIndex) return;
  if (value < 0) {
    FUpdating = true;
    if (FItemIndex >= 0) FButtons[static_cast<size_t>(FItemIndex)]->SetChecked(false);
    FUpdating = false;
    FItemIndex = -1;
    return;
  }
  // Checking the button clicks it, which makes it the group's choice.
  FButtons[static_cast<size_t>(value)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(Integer value) {
  value = std::clamp<Integer>(value, 1, 16);
  if (value == FColumns) return;
  FColumns = value;
  ArrangeButtons();
}

void TCustomRadioGroup::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case CM_FONTCHANGED:
      TCustomGroupBox::Dispatch(m);
      ArrangeButtons();
      break;
    case CM_ENABLEDCHANGED:
      TCustomGroupBox::Dispatch(m);
      for (TRadioButton* b : FButtons) b->SetEnabled(Enabled());
      break;
    default: TCustomGroupBox::Dispatch(m); break;
  }
}

// ---------------------------------------------------------------------------
// Bevel

void TBevel::Describe(TClassBuilder<TBevel>& c) {
  publish::KeptGraphic(c);
  publish::Align(c);
  publish::Anchors(c);
  publish::Constraints(c);
  publish::ParentShowHint(c);
  c.Property(u"Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
  publish::ShowHint(c);
  c.Property(u"Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
  publish::Visible(c);
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
  if (value == FShape) return;
  FShape = value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas& canvas = Canvas();
  TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  Integer w = Width(), h = Height();
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  auto line = [&](TColor color, Integer x1, Integer y1, Integer x2, Integer y2) {
    canvas.Pen().SetColor(color);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
  };
  switch (FShape) {
    case bsBox: {
      TRect r = ClientRect();
      Frame3D(canvas, r, first, second, 1);
      break;
    }
    case bsFrame: {
      canvas.Brush().SetStyle(bsClear);
      canvas.Pen().SetColor(first);
      canvas.Rectangle(0, 0, w - 1, h - 1);
      canvas.Pen().SetColor(second);
      canvas.Rectangle(1, 1, w, h);
      canvas.Brush().SetStyle(bsSolid);
      break;
    }
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}

// ---------------------------------------------------------------------------
// Splitter

void TSplitter::Describe(TClassBuilder<TSplitter>& c) {
  KST_KEPT_PROPERTY(u"AutoSnap", AutoSnap).Default(1);
  publish::KeptEvent<0>(c, u"OnCanResize", TKeptEvent::SplitterCanResize);
  c.Property(u"Align", &TControl::Align, &TControl::SetAlign).Default(alLeft);
  c.Property(u"Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled).Default(0);
  publish::Color(c);
  publish::Constraints(c);
  c.Property(u"Cursor", &TControl::Cursor, &TControl::SetCursor, &types::Cursor()).Default(crHSplit);
  c.Property(u"MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
  publish::ParentColor(c);
  c.Property(u"ResizeStyle", &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle).Default(rsPattern);
  publish::Visible(c);
  c.Property(u"OnMoved", &TSplitter::OnMoved);
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  FControlStyle = {csCaptureMouse};
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
}

TSplitter::~TSplitter() {
  if (FLineVisible) DrawLine();
}

void TSplitter::RequestAlign() {
  // The cursor shows which way the bar moves, as long as it is one of ours.
  if (Cursor() == crHSplit || Cursor() == crVSplit) SetCursor(Vertical() ? crHSplit : crVSplit);
  TGraphicControl::RequestAlign();
}

void TSplitter::SetBeveled(bool value) {
  FBeveled = value;
  Invalidate();
}

void TSplitter::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  canvas.Brush().SetColor(Color());
  canvas.Brush().SetStyle(bsSolid);
  canvas.FillRect(r);
  if (!FBeveled) return;
  if (Vertical())
    r.Inflate(-1, 2);
  else
    r.Inflate(2, -1);
  Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
}

TControl* TSplitter::FindControl() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  TPoint p;
  switch (Align()) {
    case alLeft: p = {Left() - 1, Top()}; break;
    case alRight: p = {Left() + Width(), Top()}; break;
    case alTop: p = {Left(), Top() - 1}; break;
    case alBottom: p = {Left(), Top() + Height()}; break;
    default: return nullptr;
  }
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    TRect r = c->BoundsRect();
    if (r.Width() == 0) r.Right = r.Left + 1;
    if (r.Height() == 0) r.Bottom = r.Top + 1;
    if (r.Contains(p)) return c;
  }
  return nullptr;
}

Integer TSplitter::CalcSplitSize(Integer x, Integer y) const {
  // From where the mouse went down, in the parent's coordinates.
  Integer delta = Vertical() ? x + Left() - FDownPos.X : y + Top() - FDownPos.Y;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  return std::clamp<Integer>(FOldSize + delta, std::min(FMinSize, FMaxSize), FMaxSize);
}

void TSplitter::DrawLine() {
  TWinControl* parent = Parent();
  if (!parent || !parent->HandleAllocated()) return;
  FLineVisible = !FLineVisible;
  HDC dc = GetDCEx(parent->Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  if (!dc) return;
  if (Vertical())
    PatBlt(dc, FLinePos, Top(), Width(), Height(), DSTINVERT);
  else
    PatBlt(dc, Left(), FLinePos, Width(), Height(), DSTINVERT);
  ReleaseDC(parent->Handle(), dc);
}

void TSplitter::UpdateSize() {
  if (!FControl) return;
  if (Vertical())
    FControl->SetWidth(FNewSize);
  else
    FControl->SetHeight(FNewSize);
  if (TWinControl* parent = Parent()) parent->Update();
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  FControl = FindControl();
  if (!FControl) return;
  TWinControl* parent = Parent();
  FControl->FreeNotification(this);
  FDownPos = {x + Left(), y + Top()};
  FOldSize = Vertical() ? FControl->Width() : FControl->Height();
  // The room the other side keeps: what is aligned against the far edge
  // and MinSize.
  TRect client = parent->ClientRect();
  parent->AdjustClientRect(client);
  Integer room = Vertical() ? client.Width() : client.Height();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || c == FControl || !c->Visible()) continue;
    if (Vertical() && (c->Align() == alLeft || c->Align() == alRight)) room -= c->Width();
    if (!Vertical() && (c->Align() == alTop || c->Align() == alBottom)) room -= c->Height();
  }
  room -= Vertical() ? Width() : Height();
  FMaxSize = std::max(0, room - FMinSize);
  FNewSize = FOldSize;
  FSizing = true;
  if (FResizeStyle == rsLine || FResizeStyle == rsPattern) {
    FLinePos = Vertical() ? Left() : Top();
    DrawLine();
  }
}

void TSplitter::MouseMove(TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!FSizing || !FControl) return;
  Integer size = CalcSplitSize(x, y);
  if (size == FNewSize) return;
  Integer moved = size - FNewSize;
  FNewSize = size;
  switch (FResizeStyle) {
    case rsUpdate: UpdateSize(); break;
    case rsLine:
    case rsPattern:
      DrawLine();
      FLinePos += (Align() == alRight || Align() == alBottom) ? -moved : moved;
      DrawLine();
      break;
    case rsNone: break;
  }
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FSizing) return;
  bool resized = FControl && FNewSize != (Vertical() ? FControl->Width() : FControl->Height());
  if (FControl) UpdateSize();
  StopSizing();
  if (resized || FNewSize != FOldSize) {
    if (CanFireEvents()) OnMoved(this);
  }
}

void TSplitter::StopSizing() {
  if (FLineVisible) DrawLine();
  FSizing = false;
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = nullptr;
}

void TSplitter::Dispatch(TMessage& m) {
  if (m.Msg == WM_CANCELMODE || m.Msg == CM_CANCELMODE) {
    if (FSizing) StopSizing();
  }
  TGraphicControl::Dispatch(m);
}

void TSplitter::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FControl) {
    FControl = nullptr;
    FSizing = false;
  }
}

// ---------------------------------------------------------------------------
// Image

void TImage::Describe(TClassBuilder<TImage>& c) {
  publish::KeptGraphic(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(0);
  c.Property(u"Center", &TImage::Center, &TImage::SetCenter).Default(0);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::ParentShowHint(c);
  c.Property(u"Picture", &TImage::GetPicture, &TImage::SetPicture);
  publish::PopupMenu(c);
  c.Property(u"Proportional", &TImage::Proportional, &TImage::SetProportional).Default(0);
  publish::ShowHint(c);
  c.Property(u"Stretch", &TImage::Stretch, &TImage::SetStretch).Default(0);
  c.Property(u"Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(0);
  publish::Visible(c);
  publish::MouseEvents(c);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
  FControlStyle.Include(csReplicatable);
  FPicture->SetOwner(this);
  FPicture->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
  FPicture->OnChange = TNotifyEvent();
}

void TImage::SetPicture(const TPicture* picture) {
  FPicture->Assign(picture);
}

void TImage::PictureChanged(TObject*) {
  TGraphic* graphic = FPicture->Graphic();
  if (graphic && FTransparent != graphic->Transparent() && !dynamic_cast<TIcon*>(graphic))
    graphic->SetTransparent(FTransparent);
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  FAutoSize = value;
  if (value) PictureChanged(nullptr);
}

void TImage::SetStretch(bool value) {
  if (value == FStretch) return;
  FStretch = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  if (value == FCenter) return;
  FCenter = value;
  Invalidate();
}

void TImage::SetProportional(bool value) {
  if (value == FProportional) return;
  FProportional = value;
  Invalidate();
}

void TImage::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  PictureChanged(nullptr);
}

TRect TImage::DestRect() const {
  Integer w = FPicture->Width(), h = FPicture->Height();
  Integer cw = ClientWidth(), ch = ClientHeight();
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional && w > 0 && h > 0) {
      // As large as fits, the picture's shape kept.
      if (static_cast<Int64>(cw) * h <= static_cast<Int64>(ch) * w) {
        h = static_cast<Integer>(static_cast<Int64>(h) * cw / w);
        w = cw;
      } else {
        w = static_cast<Integer>(static_cast<Int64>(w) * ch / h);
        h = ch;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  Integer x = 0, y = 0;
  if (FCenter) {
    x = (cw - w) / 2;
    y = (ch - h) / 2;
  }
  return Bounds(x, y, w, h);
}

void TImage::Paint() {
  TGraphic* graphic = FPicture->Graphic();
  if (!graphic || graphic->Empty()) return;
  TRect dest = DestRect();
  Canvas().StretchDraw(dest, *graphic);
}
