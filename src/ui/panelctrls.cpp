#include "ui/panelctrls.h"

#include <algorithm>
#include <cmath>

#include "ui/publish.h"

KST_CLASS_IMPL(TCellItem, "ExtCtrls")
KST_CLASS_IMPL(TColumnItem, "ExtCtrls")
KST_CLASS_IMPL(TRowItem, "ExtCtrls")
KST_CLASS_IMPL(TCellCollection, "ExtCtrls")
KST_CLASS_IMPL(TColumnCollection, "ExtCtrls")
KST_CLASS_IMPL(TRowCollection, "ExtCtrls")
KST_CLASS_IMPL(TControlItem, "ExtCtrls")
KST_CLASS_IMPL(TControlCollection, "ExtCtrls")
KST_CLASS_IMPL(TGridPanel, "ExtCtrls")
KST_CLASS_IMPL(TFlowPanel, "ExtCtrls")
KST_CLASS_IMPL(TCategoryPanel, "ExtCtrls")
KST_CLASS_IMPL(TCategoryPanelGroup, "ExtCtrls")

const TTypeInfo& DescribeType(TypeTag<TSizeStyle>) {
  static const TEnumTypeInfo t(u"TSizeStyle", u"ExtCtrls", {u"ssAbsolute", u"ssPercent", u"ssAuto"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TExpandStyle>) {
  static const TEnumTypeInfo t(u"TExpandStyle", u"ExtCtrls", {u"emAddRows", u"emAddColumns", u"emFixedSize"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFlowStyle>) {
  static const TEnumTypeInfo t(u"TFlowStyle", u"ExtCtrls",
                               {u"fsLeftRightTopBottom", u"fsRightLeftTopBottom", u"fsLeftRightBottomTop",
                                u"fsRightLeftBottomTop", u"fsTopBottomLeftRight", u"fsBottomTopLeftRight",
                                u"fsTopBottomRightLeft", u"fsBottomTopRightLeft"});
  return t;
}

// ---------------------------------------------------------------------------
// Cells

void TCellItem::Describe(TClassBuilder<TCellItem>& c) {
  c.Property(u"SizeStyle", &TCellItem::SizeStyle, &TCellItem::SetSizeStyle).Default(ssPercent);
  c.Property(u"Value", &TCellItem::Value, &TCellItem::SetValue);
}
void TColumnItem::Describe(TClassBuilder<TColumnItem>&) {}
void TRowItem::Describe(TClassBuilder<TRowItem>&) {}

TCellItem::TCellItem(TCollection* collection) : TCollectionItem(collection) {}

void TCellItem::SetSizeStyle(TSizeStyle value) {
  FSizeStyle = value;
  Changed(true);
}

void TCellItem::SetValue(double value) {
  // A form's value that is no number or below nothing takes no room.
  FValue = std::isfinite(value) && value > 0 ? value : 0;
  Changed(true);
}

void TCellItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TCellItem*>(source)) {
    FSizeStyle = other->FSizeStyle;
    FValue = other->FValue;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(source);
}

void TCellCollection::Describe(TClassBuilder<TCellCollection>&) {}
void TColumnCollection::Describe(TClassBuilder<TColumnCollection>&) {}
void TRowCollection::Describe(TClassBuilder<TRowCollection>&) {}

TCellCollection::TCellCollection(TGridPanel* panel, const TClassInfo& itemClass) : TOwnedCollection(panel, itemClass) {}

std::vector<Integer> TCellCollection::Sizes(Integer length) const {
  std::vector<Integer> sizes(static_cast<size_t>(Count()), 0);
  Integer fixed = 0;
  double percent = 0;
  for (int i = 0; i < Count(); ++i) {
    const TCellItem* item = Items(i);
    if (item->SizeStyle() == ssPercent) {
      percent += item->Value();
    } else {
      // An auto cell without its own measure takes what the form gave it.
      sizes[static_cast<size_t>(i)] = static_cast<Integer>(std::min(item->Value(), 1e6));
      fixed += sizes[static_cast<size_t>(i)];
    }
  }
  const Integer rest = std::max<Integer>(length - fixed, 0);
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->SizeStyle() == ssPercent && percent > 0)
      sizes[static_cast<size_t>(i)] = static_cast<Integer>(std::lround(rest * Items(i)->Value() / percent));
  return sizes;
}

void TCellCollection::Update(TCollectionItem*) {
  if (auto* panel = dynamic_cast<TGridPanel*>(GetOwner())) panel->Realign();
}

void TControlItem::Describe(TClassBuilder<TControlItem>& c) {
  c.Property(u"Column", &TControlItem::Column).Default(0);
  c.Property(u"ColumnSpan", &TControlItem::ColumnSpan).Default(1);
  c.Property(u"Control", &TControlItem::Control, &TControlItem::SetControl);
  c.Property(u"Row", &TControlItem::Row).Default(0);
  c.Property(u"RowSpan", &TControlItem::RowSpan).Default(1);
}

TControlItem::TControlItem(TCollection* collection) : TCollectionItem(collection) {}

TControlItem::~TControlItem() {
  SetControl(nullptr);
}

// The panel follows the control so that the item is cleared when it goes.
void TControlItem::SetControl(TControl* control) {
  auto* panel = Collection() ? dynamic_cast<TGridPanel*>(Collection()->GetOwner()) : nullptr;
  if (FControl && panel) FControl->RemoveFreeNotification(panel);
  FControl = control;
  if (FControl && panel) FControl->FreeNotification(panel);
  Changed(false);
}

void TControlItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TControlItem*>(source)) {
    Column = other->Column;
    Row = other->Row;
    ColumnSpan = other->ColumnSpan;
    RowSpan = other->RowSpan;
    SetControl(other->FControl);
    return;
  }
  TCollectionItem::Assign(source);
}

void TControlCollection::Describe(TClassBuilder<TControlCollection>&) {}

TControlCollection::TControlCollection(TGridPanel* panel) : TOwnedCollection(panel, TControlItem::StaticClass()) {}

void TControlCollection::Update(TCollectionItem*) {
  if (auto* panel = dynamic_cast<TGridPanel*>(GetOwner())) panel->Realign();
}

// ---------------------------------------------------------------------------
// Grid panel

void TGridPanel::Describe(TClassBuilder<TGridPanel>& c) {
  c.Property(u"ColumnCollection", &TGridPanel::GetColumnCollection, &TGridPanel::SetColumnCollection);
  c.Property(u"ControlCollection", &TGridPanel::GetControlCollection, &TGridPanel::SetControlCollection);
  c.Property(u"ExpandStyle", &TGridPanel::ExpandStyle).Default(emAddRows);
  c.Property(u"RowCollection", &TGridPanel::GetRowCollection, &TGridPanel::SetRowCollection);
}

TGridPanel::TGridPanel(TComponent* owner)
    : TPanel(owner),
      FColumns(std::make_unique<TColumnCollection>(this)),
      FRows(std::make_unique<TRowCollection>(this)),
      FControlItems(std::make_unique<TControlCollection>(this)) {
  // A new grid panel has two columns and two rows of half each.
  for (TCellCollection* cells : {static_cast<TCellCollection*>(FColumns.get()), static_cast<TCellCollection*>(FRows.get())})
    for (int i = 0; i < 2; ++i) static_cast<TCellItem*>(cells->Add())->SetValue(50);
}

TGridPanel::~TGridPanel() {
  // The items let go of their controls before the collections go.
  FControlItems->Clear();
}

void TGridPanel::SetColumnCollection(const TColumnCollection* value) {
  if (value) FColumns->Assign(value);
}
void TGridPanel::SetRowCollection(const TRowCollection* value) {
  if (value) FRows->Assign(value);
}
void TGridPanel::SetControlCollection(const TControlCollection* value) {
  if (value) FControlItems->Assign(value);
}

TRect TGridPanel::CellRect(Integer column, Integer row) {
  TRect client = ClientRect();
  AdjustClientRect(client);
  const std::vector<Integer> widths = FColumns->Sizes(client.Width()), heights = FRows->Sizes(client.Height());
  if (column < 0 || row < 0 || column >= static_cast<Integer>(widths.size()) ||
      row >= static_cast<Integer>(heights.size()))
    return TRect{};
  Integer left = client.Left, top = client.Top;
  for (Integer i = 0; i < column; ++i) left += widths[static_cast<size_t>(i)];
  for (Integer i = 0; i < row; ++i) top += heights[static_cast<size_t>(i)];
  return Rect(left, top, left + widths[static_cast<size_t>(column)], top + heights[static_cast<size_t>(row)]);
}

void TGridPanel::AlignControls(TControl* control, TRect& rect) {
  TPanel::AlignControls(control, rect);
  for (int i = 0; i < FControlItems->Count(); ++i) {
    const TControlItem* item = FControlItems->Items(i);
    TControl* child = item->Control();
    if (!child || child->Parent() != this || child->Align() != alNone) continue;
    const TRect first = CellRect(item->Column, item->Row);
    const TRect last = CellRect(item->Column + std::max<Integer>(item->ColumnSpan, 1) - 1,
                                item->Row + std::max<Integer>(item->RowSpan, 1) - 1);
    if (first.Width() <= 0 && first.Height() <= 0) continue;
    const TRect cell = Rect(first.Left, first.Top, std::max(first.Right, last.Right), std::max(first.Bottom, last.Bottom));
    // Anchored to both sides a control fills its cell that way; to one side it
    // keeps to it; to none it stands in the middle.
    const TAnchors anchors = child->Anchors();
    Integer x = child->Left(), y = child->Top(), w = child->Width(), h = child->Height();
    if (anchors.Contains(akLeft) && anchors.Contains(akRight)) {
      x = cell.Left;
      w = cell.Width();
    } else if (anchors.Contains(akLeft)) {
      x = cell.Left;
    } else if (anchors.Contains(akRight)) {
      x = cell.Right - w;
    } else {
      x = cell.Left + (cell.Width() - w) / 2;
    }
    if (anchors.Contains(akTop) && anchors.Contains(akBottom)) {
      y = cell.Top;
      h = cell.Height();
    } else if (anchors.Contains(akTop)) {
      y = cell.Top;
    } else if (anchors.Contains(akBottom)) {
      y = cell.Bottom - h;
    } else {
      y = cell.Top + (cell.Height() - h) / 2;
    }
    child->SetBounds(x, y, w, h);
  }
}

void TGridPanel::Notification(TComponent* component, TOperation operation) {
  TPanel::Notification(component, operation);
  if (operation != opRemove || !FControlItems) return;
  for (int i = 0; i < FControlItems->Count(); ++i)
    if (FControlItems->Items(i)->Control() == component) FControlItems->Items(i)->ControlGone();
}

// ---------------------------------------------------------------------------
// Flow panel

void TFlowPanel::Describe(TClassBuilder<TFlowPanel>& c) {
  c.Property(u"AutoWrap", &TFlowPanel::AutoWrap, &TFlowPanel::SetAutoWrap).Default(1);
  c.Property(u"FlowStyle", &TFlowPanel::FlowStyle, &TFlowPanel::SetFlowStyle).Default(fsLeftRightTopBottom);
}

TFlowPanel::TFlowPanel(TComponent* owner) : TPanel(owner) {}

void TFlowPanel::SetAutoWrap(bool value) {
  FAutoWrap = value;
  Realign();
}
void TFlowPanel::SetFlowStyle(TFlowStyle value) {
  FFlowStyle = value;
  Realign();
}

void TFlowPanel::AlignControls(TControl* control, TRect& rect) {
  TPanel::AlignControls(control, rect);
  // The flow in the panel's own terms: along a line, then line after line.
  const bool columns = FFlowStyle >= fsTopBottomLeftRight;
  bool backAlong = false, backAcross = false;
  switch (FFlowStyle) {
    case fsLeftRightTopBottom:
    case fsTopBottomLeftRight: break;
    case fsRightLeftTopBottom:
    case fsBottomTopLeftRight: backAlong = true; break;
    case fsLeftRightBottomTop:
    case fsTopBottomRightLeft: backAcross = true; break;
    case fsRightLeftBottomTop:
    case fsBottomTopRightLeft: backAlong = backAcross = true; break;
  }
  const Integer lineLength = columns ? rect.Height() : rect.Width();
  Integer along = 0, across = 0, lineThickness = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    if (!child->Visible() || child->Align() != alNone) continue;
    const Integer length = columns ? child->Height() : child->Width();
    const Integer thickness = columns ? child->Width() : child->Height();
    if (FAutoWrap && along > 0 && along + length > lineLength) {
      across += lineThickness;
      along = lineThickness = 0;
    }
    Integer a = backAlong ? lineLength - along - length : along;
    Integer b = backAcross ? (columns ? rect.Width() : rect.Height()) - across - thickness : across;
    if (columns)
      child->SetBounds(rect.Left + b, rect.Top + a, child->Width(), child->Height());
    else
      child->SetBounds(rect.Left + a, rect.Top + b, child->Width(), child->Height());
    along += length;
    lineThickness = std::max(lineThickness, thickness);
  }
}

// ---------------------------------------------------------------------------
// Category panels

void TCategoryPanel::Describe(TClassBuilder<TCategoryPanel>& c) {
  c.Property(u"Collapsed", &TCategoryPanel::Collapsed, &TCategoryPanel::SetCollapsed).Default(0);
  c.Property(u"OnCollapse", &TCategoryPanel::OnCollapse);
  c.Property(u"OnExpand", &TCategoryPanel::OnExpand);
}

TCategoryPanel::TCategoryPanel(TComponent* owner) : TPanel(owner) {
  SetBevelOuter(bvNone);
  SetBounds(Left(), Top(), 200, 200);
  SetAlign(alTop);
}

Integer TCategoryPanel::HeaderHeight() const {
  auto* group = dynamic_cast<TCategoryPanelGroup*>(Parent());
  return group ? std::max<Integer>(group->HeaderHeight, 0) : 24;
}

void TCategoryPanel::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  if (!FCollapsed) FExpandedHeight = height;
  TPanel::SetBounds(left, top, width, FCollapsed ? HeaderHeight() : height);
}

void TCategoryPanel::SetCollapsed(bool value) {
  if (value == FCollapsed) return;
  if (value) FExpandedHeight = Height();
  FCollapsed = value;
  if (!ComponentState().Contains(csLoading)) {
    TPanel::SetBounds(Left(), Top(), Width(), value ? HeaderHeight() : FExpandedHeight);
    if (value && OnCollapse) OnCollapse(this);
    if (!value && OnExpand) OnExpand(this);
  }
  if (HandleAllocated())
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

void TCategoryPanel::Loaded() {
  TPanel::Loaded();
  if (FCollapsed) TPanel::SetBounds(Left(), Top(), Width(), HeaderHeight());
}

void TCategoryPanel::PaintHeader() {
  if (!HandleAllocated()) return;
  HDC dc = GetWindowDC(FHandle);
  TCanvas canvas;
  canvas.SetHandle(dc);
  auto* group = dynamic_cast<TCategoryPanelGroup*>(Parent());
  const TRect header = Rect(0, 0, Width(), std::min(HeaderHeight(), Height()));
  canvas.Brush().SetColor(group ? group->GradientColor : clSilver);
  canvas.FillRect(header);
  canvas.Pen().SetColor(clBtnShadow);
  canvas.MoveTo(0, header.Bottom - 1);
  canvas.LineTo(header.Right, header.Bottom - 1);
  canvas.Font().Assign(group ? group->GetHeaderFont() : &Font());
  canvas.Brush().SetStyle(bsClear);
  canvas.TextOut(6, (header.Height() - canvas.TextHeight(Caption())) / 2, Caption());
  // The chevron: down to unfold, up to fold.
  const Integer cx = header.Right - 14, cy = header.Height() / 2;
  canvas.Pen().SetColor(group ? group->ChevronColor : clBlack);
  const Integer dir = FCollapsed ? 1 : -1;
  for (Integer row = 0; row < 2; ++row) {
    const Integer y = cy + dir * (row * 4 - 2);
    canvas.MoveTo(cx - 4, y - dir * 2);
    canvas.LineTo(cx, y + dir * 2);
    canvas.LineTo(cx + 5, y - dir * 3);
  }
  canvas.SetHandle(nullptr);
  ReleaseDC(FHandle, dc);
}

// The caption stands in the header, not in the middle of the panel.
void TCategoryPanel::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

void TCategoryPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE: {
      TPanel::Dispatch(m);
      // Both forms of the message start with the client rectangle to shrink.
      auto* r = reinterpret_cast<RECT*>(m.LParam);
      r->top = std::min<LONG>(r->top + HeaderHeight(), r->bottom);
      return;
    }
    case WM_NCPAINT:
      TPanel::Dispatch(m);
      PaintHeader();
      m.Result = 0;
      return;
    case WM_NCHITTEST: {
      TPanel::Dispatch(m);
      RECT window;
      GetWindowRect(FHandle, &window);
      if (m.Result == HTNOWHERE || m.Result == HTBORDER)
        if (m.YPos() >= window.top && m.YPos() < window.top + HeaderHeight()) m.Result = HTBORDER;
      return;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (m.WParam == HTBORDER) {
        SetCollapsed(!FCollapsed);
        m.Result = 0;
        return;
      }
      break;
  }
  TPanel::Dispatch(m);
}

void TCategoryPanelGroup::Describe(TClassBuilder<TCategoryPanelGroup>& c) {
  c.Property(u"ChevronColor", &TCategoryPanelGroup::ChevronColor, &types::Color()).Default(clBlack);
  c.Property(u"GradientBaseColor", &TCategoryPanelGroup::GradientBaseColor, &types::Color()).Default(clWhite);
  c.Property(u"GradientColor", &TCategoryPanelGroup::GradientColor, &types::Color()).Default(clSilver);
  c.Property(u"HeaderAlignment", &TCategoryPanelGroup::HeaderAlignment).Default(taLeftJustify);
  c.Property(u"HeaderFont", &TCategoryPanelGroup::GetHeaderFont, &TCategoryPanelGroup::SetHeaderFont);
  c.Property(u"HeaderHeight", &TCategoryPanelGroup::HeaderHeight).Default(24);
}

TCategoryPanelGroup::TCategoryPanelGroup(TComponent* owner) : TScrollBox(owner), FHeaderFont(std::make_unique<TFont>()) {
  FHeaderFont->SetStyle(TFontStyles{fsBold});
  SetBounds(Left(), Top(), 200, 400);
}

TCategoryPanelGroup::~TCategoryPanelGroup() = default;

void TCategoryPanelGroup::SetHeaderFont(const TFont* font) {
  if (font) FHeaderFont->Assign(font);
}

std::vector<TCategoryPanel*> TCategoryPanelGroup::Panels() const {
  std::vector<TCategoryPanel*> panels;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* panel = dynamic_cast<TCategoryPanel*>(Controls(i))) panels.push_back(panel);
  std::stable_sort(panels.begin(), panels.end(), [](TCategoryPanel* a, TCategoryPanel* b) { return a->Top() < b->Top(); });
  return panels;
}

void TCategoryPanelGroup::Loaded() {
  TScrollBox::Loaded();
  Realign();
}

void RegisterPanelControlClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TColumnItem::StaticClass(), &TRowItem::StaticClass(), &TColumnCollection::StaticClass(),
                            &TRowCollection::StaticClass(), &TControlItem::StaticClass(),
                            &TControlCollection::StaticClass(), &TGridPanel::StaticClass(), &TFlowPanel::StaticClass(),
                            &TCategoryPanel::StaticClass(), &TCategoryPanelGroup::StaticClass()},
                           u"ui");
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TSizeStyle>{}), &DescribeType(TypeTag<TExpandStyle>{}), &DescribeType(TypeTag<TFlowStyle>{})})
    registry.RegisterType(*type);
}
