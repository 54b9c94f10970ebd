#include "panelkit/win32/popupedit.h"
#include "panelkit/win32/lifeguard.h"

#include "panelkit/win32/editpublish.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TPxPopupControl, "PxPopupControl")
KST_CLASS_IMPL(TPxPopupList, "PxPopupControl")
KST_CLASS_IMPL(TPxPopupEdit, "PxEdit")

const TTypeInfo& DescribeType(TypeTag<TDrawingOptions>) {
  static const TEnumTypeInfo t(u"TDrawingOptions", u"PxEdit",
                               {u"doNormal", u"doBackgroundOnly", u"doCustom", u"doCustomOnly"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDropDownStyle>) {
  static const TEnumTypeInfo t(u"TDropDownStyle", u"PxEdit", {u"dsDropDown", u"dsDropDownList"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TItemsDisplayMode>) {
  static const TEnumTypeInfo t(u"TItemsDisplayMode", u"PxEdit",
                               {u"dmDefault", u"dmNameList", u"dmValueList", u"dmIndentList"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPxDrawItemEvent>) {
  static const TMethodTypeInfo t(
      u"TPxDrawItemEvent", u"PxEdit", mkProcedure,
      {editpublish::Param(u"Sender", u"TObject"), editpublish::Param(u"Index", u"Integer"),
       editpublish::Param(u"Rect", u"TRect", editpublish::kConst), editpublish::Param(u"State", u"TPxItemState")});
  return t;
}

String ItemName(const String& item) {
  const size_t equals = item.find(u'=');
  return equals == String::npos ? String() : item.substr(0, equals);
}

String ItemValue(const String& item) {
  // From the position after "name=" on: an item without "=" loses its first character.
  const size_t start = ItemName(item).size() + 1;
  return start >= item.size() ? String() : item.substr(start);
}

String ItemDisplayText(const String& item, TItemsDisplayMode mode) {
  switch (mode) {
    case dmNameList: return ItemName(item);
    case dmValueList:
    case dmIndentList: return ItemValue(item);
    default: return item;
  }
}

// ---- Drop-down window ----

void TPxPopupControl::Describe(TClassBuilder<TPxPopupControl>&) {}

TPxPopupControl::TPxPopupControl(TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  SetColor(clWindow);
}

void TPxPopupControl::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  params.WndParent = nullptr;
}

TPxPopupEdit* TPxPopupControl::Edit() const {
  return dynamic_cast<TPxPopupEdit*>(Owner());
}

void TPxPopupControl::Popup(TPoint screenPoint) {
  BeforePopup();
  FDropMode = dmDropped;
  FPressedSinceOpening = false;
  TPoint at = screenPoint;
  if (Screen) {
    const TRect work = Screen->WorkAreaRect();
    if (at.Y + Height() > work.Bottom && Edit()) at.Y -= Height() + Edit()->Height();
    if (at.X + Width() > work.Right) at.X = work.Right - Width();
    if (at.X < work.Left) at.X = work.Left;
  }
  SetWindowPos(Handle(), HWND_TOPMOST, at.X, at.Y, Width(), Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
  SetCapture(FHandle);
}

bool TPxPopupControl::ContainsClientPoint(Integer x, Integer y) const {
  return x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight();
}

void TPxPopupControl::KeepCapture() {
  if (FDropMode == dmDropped && HandleAllocated() && IsWindowVisible(FHandle)) SetCapture(FHandle);
}

void TPxPopupControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (!ContainsClientPoint(x, y)) {
    ClosePopup();
    return;
  }
  FPressedSinceOpening = true;
  TCustomControl::MouseDown(button, shift, x, y);
}

void TPxPopupControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (FDropMode != dmDropped || !FPressedSinceOpening) return;
  const TRect pick = GetPickRect();
  if (pick.Contains(Point(x, y)))
    PickAt(x, y);
  else if (!ContainsClientPoint(x, y))
    ClosePopup();
  KeepCapture();
}

void TPxPopupControl::ClosePopup() {
  if (TPxPopupEdit* edit = Edit())
    edit->SetDroppedDown(false);
  else if (HandleAllocated())
    ShowWindow(FHandle, SW_HIDE);
}

void TPxPopupControl::Input(const String& value) {
  if (OnInput) OnInput(this, value);
}

void TPxPopupControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_MOUSEACTIVATE) {
    // The edit keeps the focus while a row is chosen.
    m.Result = MA_NOACTIVATE;
    return;
  }
  TCustomControl::Dispatch(m);
}

// ---- The item list ----

void TPxPopupList::Describe(TClassBuilder<TPxPopupList>&) {}

TPxPopupList::TPxPopupList(TComponent* owner) : TPxPopupControl(owner), FItems(std::make_unique<TStringList>()) {}

void TPxPopupList::CreateParams(TCreateParams& params) {
  TPxPopupControl::CreateParams(params);
  params.Style |= WS_VSCROLL;
}

void TPxPopupList::SetColors(TColor background, TColor selection, TColor highlightText) {
  SetColor(background);
  FSelectionColor = selection;
  FHighlightTextColor = highlightText;
}

Integer TPxPopupList::VisibleRows() const {
  return std::max<Integer>(1, ClientHeight() / FItemHeight);
}

void TPxPopupList::SetItemIndex(Integer value) {
  FItemIndex = value;
  FHoverIndex = value;
  if (value >= 0 && value < FTopIndex) SetTopIndex(value);
  if (value >= FTopIndex + VisibleRows()) SetTopIndex(value - VisibleRows() + 1);
  Invalidate();
}

void TPxPopupList::SetHoverIndex(Integer value) {
  if (value == FHoverIndex) return;
  FHoverIndex = value;
  Invalidate();
}

void TPxPopupList::SetTopIndex(Integer value) {
  const Integer last = std::max<Integer>(0, FItems->Count() - VisibleRows());
  FTopIndex = std::clamp<Integer>(value, 0, last);
  UpdateScrollBar();
  Invalidate();
}

void TPxPopupList::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = std::max<Integer>(0, FItems->Count() - 1);
  info.nPage = static_cast<UINT>(VisibleRows());
  info.nPos = FTopIndex;
  SetScrollInfo(FHandle, SB_VERT, &info, TRUE);
  ShowScrollBar(FHandle, SB_VERT, FItems->Count() > FDropDownCount);
}

void TPxPopupList::BeforePopup() {
  HandleNeeded();
  UpdateScrollBar();
}

Integer TPxPopupList::RowAt(Integer y) const {
  if (y < 0) return -1;
  const Integer row = FTopIndex + y / FItemHeight;
  return row < FItems->Count() ? row : -1;
}

void TPxPopupList::DrawRowText(TCanvas& canvas, Integer index, const TRect& rect) {
  TRect r = rect;
  r.Left += 2;
  canvas.DrawText(ItemDisplayText(FItems->Get(index), FDisplayMode), r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TPxPopupList::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(GetFont());
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  for (Integer index = FTopIndex; index < FItems->Count(); ++index) {
    const Integer top = (index - FTopIndex) * FItemHeight;
    if (top >= ClientHeight()) break;
    const TRect row(0, top, ClientWidth(), top + FItemHeight);
    const bool selected = index == FHoverIndex;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(selected ? FSelectionColor : Color());
    canvas.FillRect(row);
    canvas.Font().SetColor(selected ? FHighlightTextColor : GetFont()->Color());
    canvas.Brush().SetStyle(bsClear);
    if (OnDrawItem) {
      TPxItemState state;
      if (selected) state.Include(isSelected);
      OnDrawItem(this, index, row, state);
    } else {
      DrawRowText(canvas, index, row);
    }
  }
}

void TPxPopupList::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxPopupControl::MouseMove(shift, x, y);
  const Integer row = RowAt(y);
  if (row >= 0) SetHoverIndex(row);
}

void TPxPopupList::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxPopupControl::MouseUp(button, shift, x, y);
  if (DropMode() != dmDropped || !PressedSinceOpening() || !ContainsClientPoint(x, y)) return;
  const Integer row = RowAt(y);
  if (button != mbLeft || row < 0) return;
  FItemIndex = row;
  FHoverIndex = row;
  Input(ItemDisplayText(FItems->Get(row), FDisplayMode));
}

void TPxPopupList::WMScroll(TMessage& m) {
  if (m.Msg != WM_VSCROLL) {
    TPxPopupControl::WMScroll(m);
    return;
  }
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP: SetTopIndex(FTopIndex - 1); break;
    case SB_LINEDOWN: SetTopIndex(FTopIndex + 1); break;
    case SB_PAGEUP: SetTopIndex(FTopIndex - VisibleRows()); break;
    case SB_PAGEDOWN: SetTopIndex(FTopIndex + VisibleRows()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTopIndex(static_cast<Integer>(HIWORD(m.WParam))); break;
    default: break;
  }
  m.Result = 0;
}

void TPxPopupList::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

// ---- Popup edit ----

void TPxPopupEdit::Describe(TClassBuilder<TPxPopupEdit>& c) {
  using T = TPxPopupEdit;
  c.Property(u"DrawingOptions", &T::DrawingOptions, &T::SetDrawingOptions).Default(doNormal);
  c.Property(u"HideFocus", &T::HideFocus, &T::SetHideFocus);
  c.Property(u"Style", &T::Style, &T::SetStyle).Default(dsDropDown);
  c.Property(u"OnCloseUp", &T::OnCloseUp);
  c.Property(u"OnPaint", &T::OnPaint);
  c.Property(u"OnSelect", &T::OnSelect);
}

TPxPopupEdit::TPxPopupEdit(TComponent* owner) : TPxCustomButtonEdit(owner, true) {}

TPxPopupControl* TPxPopupEdit::NewPopup() {
  return new TPxPopupControl(this);
}

TPxPopupControl& TPxPopupEdit::Popup() {
  if (!FPopup) {
    FPopup = NewPopup();
    FPopup->SetVisible(false);
    FPopup->OnDeactivate = TNotifyEvent([this](TObject*) { Button().SetDown(false); });
    FPopup->OnInput = TInputEvent(this, &TPxPopupEdit::PopupInput);
    FPopupControl = FPopup;
  }
  return *FPopup;
}

void TPxPopupEdit::SetDrawingOptions(TDrawingOptions value) {
  FDrawingOptions = value;
  Invalidate();
}

void TPxPopupEdit::SetHideFocus(bool value) {
  FHideFocus = value;
  Invalidate();
}

void TPxPopupEdit::SetStyle(TDropDownStyle value) {
  FStyle = value;
  SetReadOnly(value == dsDropDownList);
  SetCursor(value == dsDropDownList ? crArrow : crDefault);
  ApplyMargins();
  Invalidate();
}

void TPxPopupEdit::PrepareFromEdit() {
  TPxPopupControl& popup = Popup();
  popup.GetFont()->Assign(GetFont());
  popup.SetBounds(popup.Left(), popup.Top(), Width(), popup.Height());
  popup.SetText(Text());
  PreparePopup();
}

void TPxPopupEdit::SetDroppedDown(bool value) {
  if (value == FDroppedDown) return;
  FDroppedDown = value;
  TPxPopupControl& popup = Popup();
  if (value) {
    // At the edit's outer edge: its frame's left and bottom.
    RECT frame{};
    GetWindowRect(FHandle, &frame);
    const TPoint at = Point(frame.left, frame.bottom);
    PrepareFromEdit();
    SetEditing(true);
    popup.Popup(at);
    if (FStyle == dsDropDownList) Invalidate();
    return;
  }
  popup.SetDropMode(dmClosed);
  if (GetCapture() == FHandle || (popup.HandleAllocated() && GetCapture() == popup.Handle())) ReleaseCapture();
  SetEditing(false);
  Button().SetDown(false);
  if (popup.HandleAllocated()) ShowWindow(popup.Handle(), SW_HIDE);
  DoCloseUp();
}

void TPxPopupEdit::DoButtonDown(TObject* sender) {
  TPxCustomButtonEdit::DoButtonDown(sender);
  PrepareFromEdit();
  Popup().SetCursor(Cursor());
  SetDroppedDown(true);
}

void TPxPopupEdit::PopupInput(TObject* sender, const String& value) {
  DoSelect();
  TPxCustomButtonEdit::PopupInput(sender, value);
}

void TPxPopupEdit::DoCloseUp() {
  if (OnCloseUp && CanFireEvents()) OnCloseUp(this);
}

void TPxPopupEdit::DoPaint() {
  if (OnPaint && CanFireEvents()) OnPaint(this);
}

void TPxPopupEdit::DoSelect() {
  if (OnSelect && CanFireEvents()) OnSelect(this);
}

void TPxPopupEdit::KeyDown(Word& key, TShiftState shift) {
  TPxCustomButtonEdit::KeyDown(key, shift);
  if ((key == VK_UP || key == VK_DOWN) && shift.Contains(ssAlt)) {
    SetDroppedDown(!FDroppedDown);
    key = 0;
  } else if (key == VK_RETURN) {
    SetDroppedDown(false);
  }
}

void TPxPopupEdit::KeyPress(Char& key) {
  TPxCustomButtonEdit::KeyPress(key);
  if (key == 27) {
    Popup().ClosePopup();
  }
}

void TPxPopupEdit::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TPxCustomButtonEdit::MouseDown(button, shift, x, y);
  if (guard.Gone()) return;
  if (button == mbLeft && FStyle == dsDropDownList && !FDroppedDown) {
    DoButtonDown(this);
    if (guard.Gone()) return;
    Button().SetDown(true);
  }
}

void TPxPopupEdit::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxCustomButtonEdit::MouseMove(shift, x, y);
  SetCursor(FStyle == dsDropDownList ? crArrow : crDefault);
}

void TPxPopupEdit::InfoMouseDown(TObject*, TMouseButton button, TShiftState shift, Integer x, Integer y) {
  MouseDown(button, shift, x, y);
}

void TPxPopupEdit::PaintDisplay() {
  if (!HandleAllocated()) return;
  TCanvas& canvas = EditCanvas();
  const TRect r(0, 0, ClientWidth() - (ShowButton() ? Button().Width() : 0), ClientHeight());
  canvas.Font().Assign(GetFont());
  const bool highlighted = Focused() && !FHideFocus;
  if (!highlighted) {
    canvas.Brush().SetColor(Color());
  } else {
    canvas.Brush().SetColor(InplaceEditor() ? Color() : clHighlight);
    if (!InplaceEditor()) canvas.Font().SetColor(clHighlightText);
  }
  canvas.Brush().SetStyle(bsSolid);
  if (FDrawingOptions != doCustomOnly) canvas.FillRect(r);
  if (highlighted && !InplaceEditor()) canvas.DrawFocusRect(r);
  TRect text = r;
  text.Left += GetEditMargins()->Left() + (Info().Visible() ? Info().Width() : 0);
  text.Right -= GetEditMargins()->Right();
  text.Inflate(-2, -2);
  if (!Enabled()) canvas.Font().SetColor(clGrayText);
  if (FDrawingOptions != doBackgroundOnly && FDrawingOptions != doCustomOnly) {
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawText(Text(), text, DT_SINGLELINE | DT_TOP | DT_NOPREFIX | alignments[Alignment()]);
  }
  DoPaint();
}

void TPxPopupEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
      TPxCustomButtonEdit::Dispatch(m);
      if (FStyle == dsDropDownList) {
        DestroyCaret();
        Invalidate();
      }
      return;
    case WM_KILLFOCUS:
      TPxCustomButtonEdit::Dispatch(m);
      SetDroppedDown(false);
      SetEditing(false);
      Invalidate();
      Button().Invalidate();
      return;
    case WM_SHOWWINDOW:
      TPxCustomButtonEdit::Dispatch(m);
      if (!ComponentState().Contains(csDestroying)) SetDroppedDown(false);
      return;
    case CM_VISIBLECHANGED:
      TPxCustomButtonEdit::Dispatch(m);
      SetDroppedDown(false);
      return;
    case WM_ERASEBKGND:
      if (FStyle == dsDropDownList)
        m.Result = 1;
      else
        m.Result = 0;
      return;
    default: TPxCustomButtonEdit::Dispatch(m); return;
  }
}
