#include "winbar/win32/buttongroup.h"

#include <algorithm>

#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TGrpButtonItem, "ButtonGroup")
KST_CLASS_IMPL(TGrpButtonItems, "ButtonGroup")
KST_CLASS_IMPL(TButtonGroup, "ButtonGroup")
KST_CLASS_IMPL(TButtonGroupEx, "Obrix_ButtonGroup")

const char16_t kWinbarAbout[] = u"Kestrum window bar controls 1.0";

namespace {

std::vector<TMethodParam> DrawParams() {
  return {Param(u"Sender", u"TObject"), Param(u"Index", u"Integer"), Param(u"Canvas", u"TCanvas"),
          Param(u"Rect", u"TRect"), Param(u"State", u"TButtonDrawState")};
}

// Pixels the bevels take from each side.
constexpr Integer kBevelWidth = 2;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TButtonDrawStateItem>) {
  static const TEnumTypeInfo t(u"TButtonDrawStateItem", u"ButtonGroup",
                               {u"bdsSelected", u"bdsHot", u"bdsFocused", u"bdsDown", u"bdsDragged", u"bdsInsertLeft",
                                u"bdsInsertTop", u"bdsInsertRight", u"bdsInsertBottom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TButtonDrawState>) {
  static const TSetTypeInfo t(u"TButtonDrawState", u"ButtonGroup",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TButtonDrawStateItem>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGrpButtonOption>) {
  static const TEnumTypeInfo t(u"TGrpButtonOption", u"ButtonGroup",
                               {u"gboAllowReorder", u"gboFullSize", u"gboGroupStyle", u"gboShowCaptions"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGrpButtonOptions>) {
  static const TSetTypeInfo t(u"TGrpButtonOptions", u"ButtonGroup",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TGrpButtonOption>{})));
  return t;
}
const TTypeInfo& GrpButtonEventType() {
  static const TMethodTypeInfo t(u"TGrpButtonEvent", u"ButtonGroup", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Index", u"Integer")});
  return t;
}
const TTypeInfo& GrpButtonReorderEventType() {
  static const TMethodTypeInfo t(
      u"TGrpButtonReorderEvent", u"ButtonGroup", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"OldIndex", u"Integer"), Param(u"NewIndex", u"Integer")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGrpButtonDrawEvent>) {
  static const TMethodTypeInfo t(u"TGrpButtonDrawEvent", u"Obrix_ButtonGroup", mkProcedure, DrawParams());
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGrpButtonDrawIconEvent>) {
  static const TMethodTypeInfo t(u"TGrpButtonDrawIconEvent", u"Obrix_ButtonGroup", mkProcedure, [] {
    auto params = DrawParams();
    params.push_back(Param(u"TextOffset", u"Integer", ParamFlagBit(pfVar)));
    return params;
  }());
  return t;
}

// ---------------------------------------------------------------------------
// Colours

TColor BlendColors(TColor a, TColor b, Integer alpha) {
  return BlendRGB(ColorToRGB(a), ColorToRGB(b), alpha);
}

TColor ColorShadow(TColor color, Integer amount) {
  return ShadowRGB(ColorToRGB(color), amount);
}

TColor ColorHighlight(TColor color, Integer amount) {
  return HighlightRGB(ColorToRGB(color), amount);
}

void DrawGlassGradient(TCanvas& canvas, const TRect& rect, TColor glassColor, TColor fillColor, Integer halfHeight) {
  Integer w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return;
  Integer glass = ColorToRGB(glassColor), fill = ColorToRGB(fillColor);
  TBitmap bitmap(w, h, pf24bit);
  for (Integer y = 0; y < h; ++y) {
    Integer color = GlassRowColor(y, h, halfHeight, glass, fill);
    auto* row = static_cast<Byte*>(bitmap.ScanLine(y));
    for (Integer x = 0; x < w; ++x) {
      row[3 * x] = static_cast<Byte>(color >> 16);
      row[3 * x + 1] = static_cast<Byte>(color >> 8);
      row[3 * x + 2] = static_cast<Byte>(color);
    }
  }
  canvas.Draw(rect.Left, rect.Top, bitmap);
}

// ---------------------------------------------------------------------------
// Items

void TGrpButtonItem::Describe(TClassBuilder<TGrpButtonItem>& c) {
  c.Property(u"Caption", &TGrpButtonItem::Caption, &TGrpButtonItem::SetCaption);
  c.Property(u"Hint", &TGrpButtonItem::Hint, &TGrpButtonItem::SetHint);
  c.Property(u"ImageIndex", &TGrpButtonItem::ImageIndex, &TGrpButtonItem::SetImageIndex).Default(-1);
  c.Property(u"OnClick", &TGrpButtonItem::OnClick);
}

TGrpButtonItem::TGrpButtonItem(TCollection* collection) : TCollectionItem(collection) {}

void TGrpButtonItem::SetCaption(const String& value) {
  if (value == FCaption) return;
  FCaption = value;
  Changed(false);
}

void TGrpButtonItem::SetImageIndex(Integer value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  Changed(false);
}

void TGrpButtonItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TGrpButtonItem*>(source)) {
    FCaption = other->FCaption;
    FImageIndex = other->FImageIndex;
    FHint = other->FHint;
    FData = other->FData;
    OnClick = other->OnClick;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

TButtonGroup* TGrpButtonItem::ButtonGroup() const {
  return Collection() ? dynamic_cast<TButtonGroup*>(Collection()->GetOwner()) : nullptr;
}

void TGrpButtonItems::Describe(TClassBuilder<TGrpButtonItems>&) {}

TGrpButtonItems::TGrpButtonItems(TButtonGroup* group) : TCollection(TGrpButtonItem::StaticClass()), FGroup(group) {}

TPersistent* TGrpButtonItems::GetOwner() const {
  return FGroup;
}

void TGrpButtonItems::Update(TCollectionItem*) {
  if (FGroup) FGroup->ItemsChanged();
}

void TGrpButtonItems::Notify(TCollectionItem* item, bool added) {
  if (FGroup && !added) FGroup->ItemRemoved(static_cast<TGrpButtonItem*>(item));
}

// ---------------------------------------------------------------------------
// The button group

void TButtonGroup::Describe(TClassBuilder<TButtonGroup>& c) {
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BevelEdges", &TButtonGroup::BevelEdges, &TButtonGroup::SetBevelEdges)
      .Default(static_cast<Integer>(TBevelEdges{beLeft, beTop, beRight, beBottom}.Bits()));
  c.Property(u"BevelKind", &TButtonGroup::BevelKind, &TButtonGroup::SetBevelKind).Default(bkNone);
  c.Property(u"BorderStyle", &TButtonGroup::BorderStyle, &TButtonGroup::SetBorderStyle, &BorderStyleType())
      .Default(bsSingle);
  c.Property(u"ButtonHeight", &TButtonGroup::ButtonHeight, &TButtonGroup::SetButtonHeight).Default(24);
  c.Property(u"ButtonWidth", &TButtonGroup::ButtonWidth, &TButtonGroup::SetButtonWidth).Default(24);
  c.Property(u"ButtonOptions", &TButtonGroup::ButtonOptions, &TButtonGroup::SetButtonOptions)
      .Default(static_cast<Integer>(TGrpButtonOptions{gboShowCaptions}.Bits()));
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Images", &TButtonGroup::Images, &TButtonGroup::SetImages);
  c.Property(u"Items", &TButtonGroup::GetItems, &TButtonGroup::SetItems);
  c.Property(u"ItemIndex", &TButtonGroup::ItemIndex, &TButtonGroup::SetItemIndex).Default(-1);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  c.Property(u"OnButtonClicked", &TButtonGroup::OnButtonClicked, &GrpButtonEventType());
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  publish::WheelEvents(c);
  c.Property(u"OnReorderButton", &TButtonGroup::OnReorderButton, &GrpButtonReorderEventType());
}

TButtonGroup::TButtonGroup(TComponent* owner)
    : TCustomControl(owner),
      FItems(std::make_unique<TGrpButtonItems>(this)),
      FImageChangeLink(std::make_unique<TChangeLink>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  FImageChangeLink->OnChange = [this](TObject*) { Invalidate(); };
  SetColor(clWindow);
  SetParentColor(false);
  SetBounds(0, 0, 100, 100);
}

TButtonGroup::~TButtonGroup() {
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  FItems->Clear();
}

void TButtonGroup::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TButtonGroup::CreateWnd() {
  TCustomControl::CreateWnd();
  // The new window has no scroll bar yet: show it if the rows need one.
  FScrollBarShown = false;
  Resize();
}

void TButtonGroup::SetButtonWidth(Integer value) {
  if (value == FButtonWidth || value <= 0) return;
  FButtonWidth = value;
  Resize();
  Invalidate();
}

void TButtonGroup::SetButtonHeight(Integer value) {
  if (value == FButtonHeight || value <= 0) return;
  FButtonHeight = value;
  Resize();
  Invalidate();
}

void TButtonGroup::SetButtonOptions(TGrpButtonOptions value) {
  if (value == FButtonOptions) return;
  FButtonOptions = value;
  if (!FButtonOptions.Contains(gboGroupStyle)) FItemIndex = -1;
  Resize();
  Invalidate();
}

void TButtonGroup::SetItemIndex(Integer value) {
  if (!ComponentState().Contains(csLoading)) {
    if (!FButtonOptions.Contains(gboGroupStyle)) return;
    if (value < -1 || value >= FItems->Count()) value = -1;
  }
  if (value == FItemIndex) return;
  FItemIndex = value;
  Invalidate();
}

void TButtonGroup::SetImages(TCustomImageList* value) {
  if (SwitchImageList(*this, FImages, value, FImageChangeLink.get())) Invalidate();
}

void TButtonGroup::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) SetImages(nullptr);
}

void TButtonGroup::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  if (HandleAllocated()) RecreateWnd();
  Resize();
}

void TButtonGroup::SetBevelKind(TBevelKind value) {
  if (value == FBevelKind) return;
  FBevelKind = value;
  if (HandleAllocated()) RecreateWnd();
  Resize();
}

void TButtonGroup::SetBevelEdges(TBevelEdges value) {
  if (value == FBevelEdges) return;
  FBevelEdges = value;
  if (HandleAllocated()) RecreateWnd();
  Resize();
}

Integer TButtonGroup::ButtonsPerRowNow() const {
  return ButtonsPerRow(ClientWidth(), FButtonWidth, FButtonOptions.Contains(gboFullSize));
}

Integer TButtonGroup::RowCount() const {
  return ButtonRows(FItems->Count(), ButtonsPerRowNow());
}

Integer TButtonGroup::VisibleRows() const {
  return std::max<Integer>(ClientHeight() / FButtonHeight, 1);
}

TRect TButtonGroup::GetButtonRect(Integer index) const {
  Integer perRow = ButtonsPerRowNow();
  Integer row = index / perRow - FTopRow, column = index % perRow;
  Integer width = FButtonOptions.Contains(gboFullSize) ? ClientWidth() : FButtonWidth;
  return Bounds(column * width, row * FButtonHeight, width, FButtonHeight);
}

Integer TButtonGroup::IndexOfButtonAt(Integer x, Integer y) const {
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return -1;
  Integer perRow = ButtonsPerRowNow();
  Integer width = FButtonOptions.Contains(gboFullSize) ? ClientWidth() : FButtonWidth;
  Integer column = x / width;
  if (column >= perRow) return -1;
  Integer index = (y / FButtonHeight + FTopRow) * perRow + column;
  return index < FItems->Count() ? index : -1;
}

void TButtonGroup::ScrollIntoView(Integer index) {
  if (index < 0 || index >= FItems->Count()) return;
  Integer row = index / ButtonsPerRowNow();
  if (row < FTopRow)
    SetTopRow(row);
  else if (row >= FTopRow + VisibleRows())
    SetTopRow(row - VisibleRows() + 1);
}

void TButtonGroup::SetTopRow(Integer row) {
  row = std::clamp<Integer>(row, 0, std::max<Integer>(RowCount() - VisibleRows(), 0));
  if (row == FTopRow) return;
  FTopRow = row;
  UpdateScrollInfo();
  Invalidate();
}

void TButtonGroup::UpdateScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = FScrollBarShown ? RowCount() - 1 : 0;
  info.nPage = static_cast<UINT>(FScrollBarShown ? VisibleRows() : 0);
  info.nPos = FTopRow;
  SetScrollInfo(FHandle, SB_VERT, &info, TRUE);
}

void TButtonGroup::ResizeButtons() {
  bool show = RowCount() > VisibleRows();
  if (!show) FTopRow = 0;
  FTopRow = std::clamp<Integer>(FTopRow, 0, std::max<Integer>(RowCount() - VisibleRows(), 0));
  if (HandleAllocated() && show != FScrollBarShown) ShowScrollBar(FHandle, SB_VERT, show);
  FScrollBarShown = show;
  UpdateScrollInfo();
}

void TButtonGroup::HideScrollBar() {
  if (HandleAllocated() && FScrollBarShown) ShowScrollBar(FHandle, SB_VERT, FALSE);
  FScrollBarShown = false;
  FTopRow = 0;
}

void TButtonGroup::Resize() {
  ResizeButtons();
  TCustomControl::Resize();
}

void TButtonGroup::ItemsChanged() {
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (FFocusIndex >= FItems->Count()) FFocusIndex = -1;
  Resize();
  Invalidate();
}

void TButtonGroup::ItemRemoved(TGrpButtonItem* item) {
  Integer index = item->Index();
  if (index == FItemIndex)
    FItemIndex = -1;
  else if (index < FItemIndex)
    --FItemIndex;
  FHotIndex = FDownIndex = FDragIndex = FFocusIndex = -1;
}

void TButtonGroup::Paint() {
  Integer perRow = ButtonsPerRowNow();
  Integer first = FTopRow * perRow;
  Integer last = std::min<Integer>(FItems->Count(), (FTopRow + VisibleRows() + 1) * perRow);
  bool focused = Focused();
  for (Integer i = first; i < last; ++i) {
    TButtonDrawState state;
    if (i == FHotIndex) {
      state.Include(bdsHot);
      if (i == FDownIndex) state.Include(bdsDown);
    }
    if (i == FItemIndex) state.Include(bdsSelected);
    if (focused && i == FocusIndex()) state.Include(bdsFocused);
    if (i == FDragIndex) state.Include(bdsDragged);
    if (FDragIndex >= 0 && i == FDropIndex && FDropIndex != FDragIndex) state.Include(FDropMark);
    DrawButton(i, Canvas(), GetButtonRect(i), state);
  }
  // What the buttons leave: the rest of the last row and below it.
  TRect client = ClientRect();
  Integer rows = std::max<Integer>(std::min<Integer>(RowCount() - FTopRow, VisibleRows() + 1), 0);
  Integer bottom = rows * FButtonHeight;
  if (last > first) {
    TRect tail = GetButtonRect(last - 1);
    Canvas().FillRect(Rect(tail.Right, tail.Top, client.Right, tail.Bottom));
  }
  Canvas().FillRect(Rect(0, bottom, client.Right, client.Bottom));
}

void TButtonGroup::DrawButton(Integer index, TCanvas& canvas, TRect rect, TButtonDrawState state) {
  if (OnDrawButton && !ComponentState().Contains(csDesigning)) {
    OnDrawButton(this, index, &canvas, rect, state);
    return;
  }
  OnBeforeDrawButton(this, index, &canvas, rect, state);
  UINT edge = state.Contains(bdsDown) ? EDGE_SUNKEN : (state.Contains(bdsHot) ? EDGE_RAISED : BDR_RAISEDINNER);
  canvas.Brush().SetColor(state.Contains(bdsSelected) ? clHighlight : clBtnFace);
  canvas.FillRect(rect);
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  DrawEdge(canvas.Handle(), &r, edge, BF_RECT);
  if (FButtonOptions.Contains(gboShowCaptions)) {
    canvas.Font().Assign(&Font());
    canvas.Brush().SetStyle(bsClear);
    TRect text = rect;
    text.Inflate(-4, 0);
    String caption = FItems->Items(index)->Caption();
    canvas.TextRect(text, caption, {tfSingleLine, tfVerticalCenter, tfEndEllipsis});
  }
  OnAfterDrawButton(this, index, &canvas, rect, state);
  canvas.Brush().SetColor(Color());
}

void TButtonGroup::DoItemClicked(Integer index) {
  TGrpButtonItem* item = FItems->Items(index);
  if (item->OnClick)
    item->OnClick(item);
  else
    OnButtonClicked(this, index);
  if (index < FItems->Count()) SetItemIndex(index);
}

void TButtonGroup::MoveButton(Integer oldIndex, Integer newIndex) {
  TObject* selected = FItemIndex >= 0 ? FItems->Items(FItemIndex) : nullptr;
  FItems->Items(oldIndex)->SetIndex(newIndex);
  if (selected) FItemIndex = static_cast<TGrpButtonItem*>(selected)->Index();
  OnReorderButton(this, oldIndex, newIndex);
}

void TButtonGroup::SetHot(Integer index) {
  if (index == FHotIndex) return;
  FHotIndex = index;
  Invalidate();
}

void TButtonGroup::InsertMarkAt(Integer x, Integer y, Integer& target, TButtonDrawStateItem& mark) const {
  target = IndexOfButtonAt(x, y);
  if (target < 0) return;
  TRect r = GetButtonRect(target);
  if (FButtonOptions.Contains(gboFullSize))
    mark = y < (r.Top + r.Bottom) / 2 ? bdsInsertTop : bdsInsertBottom;
  else
    mark = x < (r.Left + r.Right) / 2 ? bdsInsertLeft : bdsInsertRight;
}

Integer DropTargetIndex(Integer dragged, Integer target, bool after) {
  // The gap the mark shows, counted with the dragged button still in place,
  // then without it.
  const Integer gap = after ? target + 1 : target;
  return dragged < gap ? gap - 1 : gap;
}

void TButtonGroup::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    Integer index = IndexOfButtonAt(x, y);
    if (index >= 0) FFocusIndex = index;
    FDownPoint = Point(x, y);
    FDownIndex = index == FItemIndex && FButtonOptions.Contains(gboGroupStyle) ? -1 : index;
    FDragIndex = -1;
    Invalidate();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TButtonGroup::MouseMove(TShiftState shift, Integer x, Integer y) {
  SetHot(IndexOfButtonAt(x, y));
  if (shift.Contains(ssLeft) && FButtonOptions.Contains(gboAllowReorder)) {
    Integer pressed = IndexOfButtonAt(FDownPoint.X, FDownPoint.Y);
    if (FDragIndex < 0 && pressed >= 0 &&
        (std::abs(x - FDownPoint.X) > Mouse.DragThreshold() || std::abs(y - FDownPoint.Y) > Mouse.DragThreshold()))
      FDragIndex = pressed;
    if (FDragIndex >= 0) {
      InsertMarkAt(x, y, FDropIndex, FDropMark);
      Invalidate();
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TButtonGroup::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft) {
    Integer index = IndexOfButtonAt(x, y);
    Integer down = FDownIndex, dragged = FDragIndex, drop = FDropIndex;
    const TButtonDrawStateItem mark = FDropMark;
    FDownIndex = FDragIndex = FDropIndex = -1;
    Invalidate();
    if (dragged >= 0) {
      if (drop >= 0 && drop != dragged) {
        const Integer target = DropTargetIndex(dragged, drop, mark == bdsInsertRight || mark == bdsInsertBottom);
        if (target != dragged) MoveButton(dragged, target);
      }
    } else if (down >= 0 && down == index) {
      DoItemClicked(index);
    }
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

Integer TButtonGroup::FocusIndex() const {
  if (FFocusIndex >= 0 && FFocusIndex < FItems->Count()) return FFocusIndex;
  return std::max<Integer>(FItemIndex, 0);
}

void TButtonGroup::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const Integer count = FItems->Count();
  if (count == 0 || key == 0) return;
  const Integer current = std::min(FocusIndex(), count - 1);
  const Integer perRow = std::max<Integer>(ButtonsPerRowNow(), 1);
  Integer next = current;
  switch (key) {
    case VK_LEFT: next = current - 1; break;
    case VK_RIGHT: next = current + 1; break;
    case VK_UP: next = current - perRow; break;
    case VK_DOWN: next = current + perRow; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = count - 1; break;
    case VK_SPACE:
    case VK_RETURN:
      key = 0;
      DoItemClicked(current);
      return;
    default: return;
  }
  key = 0;
  next = std::clamp<Integer>(next, 0, count - 1);
  if (next == FFocusIndex) return;
  FFocusIndex = next;
  ScrollIntoView(next);
  Invalidate();
}

bool TButtonGroup::DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  if (wheelDelta == 0) return false;
  SetTopRow(FTopRow + (wheelDelta < 0 ? 1 : -1));
  return true;
}

void TButtonGroup::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; return;
    case WM_GETDLGCODE: message.Result = DLGC_WANTARROWS; return;
    case WM_VSCROLL: {
      Integer row = FTopRow;
      switch (LOWORD(message.WParam)) {
        case SB_LINEUP: --row; break;
        case SB_LINEDOWN: ++row; break;
        case SB_PAGEUP: row -= VisibleRows(); break;
        case SB_PAGEDOWN: row += VisibleRows(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: row = HIWORD(message.WParam); break;
        case SB_TOP: row = 0; break;
        case SB_BOTTOM: row = RowCount(); break;
        default: break;
      }
      SetTopRow(row);
      message.Result = 0;
      return;
    }
    case WM_MOUSELEAVE: SetHot(-1); break;
    case CM_MOUSELEAVE: SetHot(-1); break;
    case CM_HINTSHOW: {
      auto* info = reinterpret_cast<THintInfo*>(message.LParam);
      Integer index = IndexOfButtonAt(info->CursorPos.X, info->CursorPos.Y);
      if (index >= 0 && !FItems->Items(index)->Hint().empty()) {
        info->HintStr = GetShortHint(FItems->Items(index)->Hint());
        info->CursorRect = GetButtonRect(index);
      }
      message.Result = 0;
      return;
    }
    case WM_NCCALCSIZE:
      TCustomControl::Dispatch(message);
      if (FBevelKind != bkNone) {
        RECT* r = reinterpret_cast<RECT*>(message.LParam);
        if (FBevelEdges.Contains(beLeft)) r->left += kBevelWidth;
        if (FBevelEdges.Contains(beTop)) r->top += kBevelWidth;
        if (FBevelEdges.Contains(beRight)) r->right -= kBevelWidth;
        if (FBevelEdges.Contains(beBottom)) r->bottom -= kBevelWidth;
      }
      return;
    case WM_NCPAINT:
      TCustomControl::Dispatch(message);
      if (FBevelKind != bkNone && HandleAllocated()) {
        HDC dc = GetWindowDC(FHandle);
        RECT r{0, 0, Width(), Height()};
        if (GetWindowLongW(FHandle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) InflateRect(&r, -2, -2);
        UINT sides = (FBevelEdges.Contains(beLeft) ? BF_LEFT : 0) | (FBevelEdges.Contains(beTop) ? BF_TOP : 0) |
                     (FBevelEdges.Contains(beRight) ? BF_RIGHT : 0) | (FBevelEdges.Contains(beBottom) ? BF_BOTTOM : 0);
        UINT edge = FBevelKind == bkTile ? EDGE_ETCHED : (FBevelKind == bkSoft ? BDR_RAISEDINNER : EDGE_RAISED);
        DrawEdge(dc, &r, edge, sides | (FBevelKind == bkFlat ? BF_FLAT : 0));
        ReleaseDC(FHandle, dc);
      }
      return;
    default: break;
  }
  TCustomControl::Dispatch(message);
}

// ---------------------------------------------------------------------------
// The glass-style group

void TButtonGroupEx::Describe(TClassBuilder<TButtonGroupEx>& c) {
  c.Property(u"About", &TButtonGroupEx::About);
  c.Property(u"AutoSize", &TButtonGroupEx::AutoSize, &TButtonGroupEx::SetAutoSize);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).Default(clWindow);
  c.Property(u"GlassButtonStyle", &TButtonGroupEx::GlassButtonStyle, &TButtonGroupEx::SetGlassButtonStyle).Default(0);
  c.Property(u"GlassButtonColor", &TButtonGroupEx::GlassButtonColor, &TButtonGroupEx::SetGlassButtonColor,
             &types::Color())
      .Default(clWhite);
  // The defaults are the values a new group starts with, so that a stored
  // form reads back as it was written.
  c.Property(u"EdgeButtonColor", &TButtonGroupEx::EdgeButtonColor, &TButtonGroupEx::SetEdgeButtonColor, &types::Color())
      .Default(clMedGray);
  c.Property(u"HotButtonColor", &TButtonGroupEx::HotButtonColor, &TButtonGroupEx::SetHotButtonColor, &types::Color())
      .Default(kInitialHotButtonColor);
  c.Property(u"RegularButtonColor", &TButtonGroupEx::RegularButtonColor, &TButtonGroupEx::SetRegularButtonColor,
             &types::Color());
  c.Property(u"SelectedButtonColor", &TButtonGroupEx::SelectedButtonColor, &TButtonGroupEx::SetSelectedButtonColor,
             &types::Color());
  c.Property(u"TextIndent", &TButtonGroupEx::TextIndent, &TButtonGroupEx::SetTextIndent);
  c.Property(u"WordWrap", &TButtonGroupEx::WordWrap, &TButtonGroupEx::SetWordWrap);
  c.Property(u"OnBeforeDrawButton", &TButtonGroupEx::OnBeforeDrawButton);
  c.Property(u"OnAfterDrawButton", &TButtonGroupEx::OnAfterDrawButton);
  c.Property(u"OnDrawButton", &TButtonGroupEx::OnDrawButton);
  c.Property(u"OnDrawIcon", &TButtonGroupEx::OnDrawIcon);
  c.Property(u"OnDrawText", &TButtonGroupEx::OnDrawText);
}

TButtonGroupEx::TButtonGroupEx(TComponent* owner)
    : TButtonGroup(owner), FAbout(kWinbarAbout), FRegularButtonColor(ColorHighlight(clBtnFace, 15)) {}

void TButtonGroupEx::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  Resize();
  Invalidate();
}

void TButtonGroupEx::SetGlassButtonStyle(bool value) {
  FGlassButtonStyle = value;
  Invalidate();
}

void TButtonGroupEx::SetGlassButtonColor(TColor value) {
  FGlassButtonColor = value;
  Invalidate();
}

void TButtonGroupEx::SetEdgeButtonColor(TColor value) {
  FEdgeButtonColor = value;
  Invalidate();
}

void TButtonGroupEx::SetHotButtonColor(TColor value) {
  if (value == FHotButtonColor) return;
  FHotButtonColor = value;
  Invalidate();
}

void TButtonGroupEx::SetRegularButtonColor(TColor value) {
  if (value == FRegularButtonColor) return;
  FRegularButtonColor = value;
  Invalidate();
}

void TButtonGroupEx::SetSelectedButtonColor(TColor value) {
  if (value == FSelectedButtonColor) return;
  FSelectedButtonColor = value;
  Invalidate();
}

void TButtonGroupEx::SetTextIndent(Byte value) {
  FTextIndent = value;
  Invalidate();
}

void TButtonGroupEx::SetWordWrap(bool value) {
  FWordWrap = value;
  Invalidate();
}

Integer TButtonGroupEx::Allowance() const {
  return BorderAllowance(BorderStyle() == bsSingle, BevelKind() != bkNone, BevelEdges().Contains(beTop),
                         BevelEdges().Contains(beBottom));
}

Integer TButtonGroupEx::RowsHeight() const {
  return AutoSizeHeight(Allowance(), ButtonRows(Items().Count(), ButtonsPerRowNow()), ButtonHeight());
}

void TButtonGroupEx::ResizeButtons() {
  TButtonGroup::ResizeButtons();
  if (!FAutoSize) return;
  HideScrollBar();
  // The window system may refuse the height asked for; the size it gives
  // comes back through this step and must not ask again.
  if (FSizing || Height() == RowsHeight()) return;
  FSizing = true;
  try {
    SetHeight(RowsHeight());
  } catch (...) {
    FSizing = false;
    throw;
  }
  FSizing = false;
}

void TButtonGroupEx::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
  if (Items().Count() > 0) TButtonGroup::Paint();
}

void TButtonGroupEx::DrawButton(Integer index, TCanvas& canvas, TRect r, TButtonDrawState state) {
  if (OnDrawButton && !ComponentState().Contains(csDesigning)) {
    OnDrawButton(this, index, &canvas, r, state);
    canvas.Brush().SetColor(Color());
    return;
  }
  const TRect r0 = r;
  OnBeforeDrawButton(this, index, &canvas, r0, state);
  r.Inflate(-1, -1);
  canvas.Font().Assign(&Font());

  TColor fill;
  if (state.Contains(bdsHot))
    fill = state.Contains(bdsSelected) ? ColorShadow(FHotButtonColor, 0) : FHotButtonColor;
  else if (state.Contains(bdsSelected))
    fill = FSelectedButtonColor;
  else
    fill = FRegularButtonColor;
  TColor edge = FEdgeButtonColor != clNone ? FEdgeButtonColor : (fill == clNone ? clNone : ColorShadow(fill, -50));

  canvas.Brush().SetColor(fill);
  if (fill != clNone) {
    if (FGlassButtonStyle)
      DrawGlassGradient(canvas, r, FGlassButtonColor, fill, r.Height() / 2);
    else
      canvas.FillRect(r);
    if (edge != clNone) {
      canvas.Brush().SetColor(edge);
      canvas.FrameRect(r);
    }
    canvas.Brush().SetColor(fill);
  }

  const TGrpButtonItem* item = Items().Items(index);
  auto lines = SplitCaptionLines(item->Caption());
  Integer lineHeight = canvas.TextHeight(u"Wg");
  Integer wrapped = 0;
  if (FWordWrap && lines[1].empty() && lines[2].empty()) {
    TRect probe = Rect(r.Left + FTextIndent, r.Top, r.Right - 2, r.Bottom - 1);
    wrapped = canvas.DrawText(lines[0], probe, DT_CALCRECT | DT_WORDBREAK);
  }
  Integer textTop = r.Top + CaptionOffset(lines, r.Height(), lineHeight, wrapped);
  Integer iconLeft = r.Left + 4 + (ButtonOptions().Contains(gboFullSize) ? 4 : 0);
  if (state.Contains(bdsDown)) {
    ++textTop;
    ++iconLeft;
  }

  Integer textOffset = 0;
  if (OnDrawIcon) {
    OnDrawIcon(this, index, &canvas, r0, state, textOffset);
  } else if (Images() && item->ImageIndex() >= 0 && item->ImageIndex() < Images()->Count()) {
    Integer y = std::max<Integer>(r.Top + (r.Height() - Images()->Height()) / 2, r.Top);
    if (state.Contains(bdsDown)) ++y;
    Images()->Draw(canvas, iconLeft - 1, y, item->ImageIndex(), true);
    textOffset = Images()->Width() + 1;
  }

  for (TButtonDrawStateItem mark : {bdsInsertLeft, bdsInsertTop, bdsInsertRight, bdsInsertBottom}) {
    if (!state.Contains(mark)) continue;
    canvas.Brush().SetColor(ColorShadow(edge == clNone ? clBtnFace : edge, -50));
    switch (mark) {
      case bdsInsertLeft: canvas.FillRect(Rect(r.Left - 2, r.Top, r.Left, r.Bottom)); break;
      case bdsInsertTop: canvas.FillRect(Rect(r.Left, r.Top - 1, r.Right, r.Top + 1)); break;
      case bdsInsertRight: canvas.FillRect(Rect(r.Right, r.Top, r.Right + 2, r.Bottom)); break;
      default: canvas.FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom + 1)); break;
    }
    canvas.Brush().SetColor(fill);
    break;
  }

  if (ButtonOptions().Contains(gboShowCaptions)) {
    canvas.Brush().SetStyle(bsClear);
    TRect text = Rect(iconLeft + textOffset + FTextIndent, textTop, r.Right - 2, r.Bottom - 1);
    if (OnDrawText) {
      OnDrawText(this, index, &canvas, text, state);
    } else {
      bool oneLine = lines[1].empty() && lines[2].empty();
      TTextFormat first = FWordWrap && oneLine ? TTextFormat{tfWordBreak} : TTextFormat{tfEndEllipsis};
      TTextFormat rest = FWordWrap ? TTextFormat{tfWordBreak} : TTextFormat{tfEndEllipsis};
      canvas.TextRect(text, lines[0], first);
      text.Top += lineHeight + 3;
      canvas.Font().SetStyle({});
      canvas.TextRect(text, lines[1], rest);
      text.Top += lineHeight;
      canvas.TextRect(text, lines[2], rest);
    }
  }
  OnAfterDrawButton(this, index, &canvas, r0, state);
  canvas.Brush().SetColor(Color());
  canvas.Brush().SetStyle(bsSolid);
}

void TButtonGroupEx::DoItemClicked(Integer index) {
  SetItemIndex(index);
  TButtonGroup::DoItemClicked(index);
}

void TButtonGroupEx::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TButtonGroup::MouseDown(button, shift, x, y);
  FHotButton = IndexOfButtonAt(x, y);
}
