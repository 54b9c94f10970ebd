#include "panelkit/win32/outlookbar.h"

#include <algorithm>

#include "panelkit/win32/collectionparts.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxOutlookBarItem, "PxToolBox")
KST_CLASS_IMPL(TPxOutlookBarItems, "PxToolBox")
KST_CLASS_IMPL(TPxOutlookBar, "PxToolBox")

namespace tb = pxtoolbox;

namespace {

constexpr Integer kGlowHeight = 12;
constexpr Integer kLargeImageLeft = 4;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TOutlookBarStyle>) {
  static const TEnumTypeInfo t(u"TOutlookBarStyle", u"PxToolBox", {u"osOffice2007", u"osWindowsLive"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TOutlookBarOption>) {
  static const TEnumTypeInfo t(u"TOutlookBarOption", u"PxToolBox", {u"boOptionsMenu"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TOutlookBarOptions>) {
  static const TSetTypeInfo t(u"TOutlookBarOptions", u"PxToolBox",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TOutlookBarOption>{})));
  return t;
}

const TTypeInfo& DescribeType(TypeTag<tb::TDrawingOptions>) {
  static const TEnumTypeInfo t(u"TDrawingOptions", u"PxToolBox",
                               {u"doBackgroundOnly", u"doNormal", u"doCustom", u"doCustomOnly"});
  return t;
}

// ---------------------------------------------------------------------------
// Items

void TPxOutlookBarItem::Describe(TClassBuilder<TPxOutlookBarItem>& c) {
  using P = TPxOutlookBarItem;
  c.Property(u"Caption", &P::Caption, &P::SetCaption);
  c.Property(u"Color", &P::Color, &P::SetColor, &types::Color()).Default(clBtnFace);
  c.Property(u"ImageIndex", &P::ImageIndex, &P::SetImageIndex).Default(-1);
  c.Property(u"Visible", &P::Visible, &P::SetVisible).Default(1);
}

// The collection hears of an item before the item is whole and after it is
// gone, so the item keeps the visible count itself.
TPxOutlookBarItem::TPxOutlookBarItem(TCollection* collection) : TCollectionItem(collection) {
  if (auto* items = dynamic_cast<TPxOutlookBarItems*>(collection)) {
    ++items->FVisibleCount;
    if (items->Bar()) items->Bar()->UpdateHeight();
  }
}

TPxOutlookBarItem::~TPxOutlookBarItem() {
  if (auto* items = dynamic_cast<TPxOutlookBarItems*>(Collection()); items && FVisible) --items->FVisibleCount;
}

TPxOutlookBar* TPxOutlookBarItem::Bar() const {
  auto* items = dynamic_cast<TPxOutlookBarItems*>(Collection());
  return items ? items->Bar() : nullptr;
}

void TPxOutlookBarItem::Refresh() {
  if (TPxOutlookBar* bar = Bar()) bar->RefreshItem(this);
}

void TPxOutlookBarItem::SetCaption(const String& value) {
  FCaption = value;
  Refresh();
}

void TPxOutlookBarItem::SetColor(TColor value) {
  FColor = value;
  Refresh();
}

void TPxOutlookBarItem::SetImageIndex(Integer value) {
  FImageIndex = value;
  Refresh();
}

void TPxOutlookBarItem::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  if (auto* items = dynamic_cast<TPxOutlookBarItems*>(Collection())) items->FVisibleCount += value ? 1 : -1;
  if (TPxOutlookBar* bar = Bar()) {
    bar->UpdateHeight();
    bar->Realign();
    bar->Invalidate();
  }
}

void TPxOutlookBarItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPxOutlookBarItem*>(source)) {
    FCaption = other->FCaption;
    FColor = other->FColor;
    FImageIndex = other->FImageIndex;
    FObjectReference = other->FObjectReference;
    SetVisible(other->FVisible);
    Refresh();
    return;
  }
  TCollectionItem::Assign(source);
}

void TPxOutlookBarItems::Describe(TClassBuilder<TPxOutlookBarItems>&) {}

TPxOutlookBarItems::TPxOutlookBarItems(TPxOutlookBar* owner)
    : TCollection(TPxOutlookBarItem::StaticClass()), FOwner(owner) {}

TPxOutlookBarItem* TPxOutlookBarItems::Add() {
  auto* item = static_cast<TPxOutlookBarItem*>(TCollection::Add());
  if (FOwner) FOwner->Invalidate();
  return item;
}

TPersistent* TPxOutlookBarItems::GetOwner() const {
  return FOwner;
}

// Only the item's identity is used: it is not whole here.
void TPxOutlookBarItems::Notify(TCollectionItem* item, bool added) {
  if (!FOwner) return;
  if (!added) FOwner->ItemRemoved(static_cast<TPxOutlookBarItem*>(item));
  FOwner->UpdateHeight();
  FOwner->Invalidate();
}

// ---------------------------------------------------------------------------
// The bar

void TPxOutlookBar::Describe(TClassBuilder<TPxOutlookBar>& c) {
  using P = TPxOutlookBar;
  c.Property(u"AdaptiveColors", &P::AdaptiveColors, &P::SetAdaptiveColors).Default(1);
  publish::Align(c);
  publish::Anchors(c);
  publish::BiDiProperties(c);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).Default(clWindow);
  c.Property(u"ColorScheme", &P::ColorScheme, &P::SetColorScheme).Default(csDefault);
  publish::Constraints(c);
  publish::Ctl3DProperties(c);
  c.Property(u"DisplayCount", &P::DisplayCount, &P::SetDisplayCount).Default(0);
  publish::DragProperties(c);
  c.Property(u"DrawingOptions", &P::DrawingOptions, &P::SetDrawingOptions).Default(tb::doNormal);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Hint", &TControl::Hint, &TControl::SetHint);
  c.Property(u"InnerMargins", &P::GetInnerMargins, &P::SetInnerMargins);
  c.Property(u"ItemHeight", &P::ItemHeight, &P::SetItemHeight).Default(31);
  c.Property(u"ItemIndex", &P::ItemIndex, &P::SetItemIndex).Default(0);
  c.Property(u"Items", &P::GetItems, &P::SetItems);
  c.Property(u"LargeImages", &P::LargeImages, &P::SetLargeImages);
  c.Property(u"Options", &P::Options, &P::SetOptions)
      .Default(static_cast<Integer>(TOutlookBarOptions{boOptionsMenu}.Bits()));
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(0);
  publish::ParentFont(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"SmallImages", &P::SmallImages, &P::SetSmallImages);
  c.Property(u"SplitterHeight", &P::SplitterHeight, &P::SetSplitterHeight).Default(9);
  c.Property(u"Style", &P::Style, &P::SetStyle).Default(osOffice2007);
  publish::TabOrder(c);
  publish::TabStop(c);
  c.Property(u"TextIndent", &P::TextIndent, &P::SetTextIndent).Default(35);
  c.Property(u"ToolbarHeight", &P::ToolbarHeight, &P::SetToolbarHeight).Default(30);
  publish::Visible(c);
  c.Property(u"OnChange", &P::OnChange);
  c.Property(u"OnSelect", &P::OnSelect);
  publish::KeyboardControlEvents(c);
}

TPxOutlookBar::TPxOutlookBar(TComponent* owner)
    : TCustomControl(owner),
      FInnerMargins(std::make_unique<TPxMargins>()),
      FItems(std::make_unique<TPxOutlookBarItems>(this)) {
  SetControlStyle(
      TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable});
  FInnerMargins->OnChange = TNotifyEvent(this, &TPxOutlookBar::MarginsChanged);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(Left(), Top(), 185, 265);
  FButtonsHeight = OutlookButtonsHeight(FToolbarHeight, FSplitterHeight, FItemHeight, 0, 0);
  AddToRepaintList(this);
}

TPxOutlookBar::~TPxOutlookBar() {
  RemoveFromRepaintList(this);
  FInnerMargins->OnChange = {};
  for (TCustomImageList* images : {FLargeImages, FSmallImages})
    if (images) images->RemoveFreeNotification(this);
  FItems->Clear();
}

void TPxOutlookBar::MarginsChanged(TObject*) {
  Realign();
  Invalidate();
}

void TPxOutlookBar::SetAdaptiveColors(bool value) {
  FAdaptiveColors = value;
  Invalidate();
}

void TPxOutlookBar::SetColorScheme(TColorScheme value) {
  FColorScheme = value;
  Invalidate();
}

void TPxOutlookBar::SetDrawingOptions(tb::TDrawingOptions value) {
  FDrawingOptions = value;
  Invalidate();
}

void TPxOutlookBar::SetOptions(TOutlookBarOptions value) {
  FOptions = value;
  Invalidate();
}

void TPxOutlookBar::SetSplitterHeight(Integer value) {
  FSplitterHeight = value;
  Invalidate();
}

void TPxOutlookBar::SetStyle(TOutlookBarStyle value) {
  FStyle = value;
  Invalidate();
}

void TPxOutlookBar::SetTextIndent(Integer value) {
  FTextIndent = value;
  Invalidate();
}

void TPxOutlookBar::SetDisplayCount(Integer value) {
  if (value == FDisplayCount) return;
  FDisplayCount = value;
  UpdateHeight();
  Realign();
  Invalidate();
  DoChange();
}

void TPxOutlookBar::SetItemHeight(Integer value) {
  FItemHeight = value;
  UpdateHeight();
  Realign();
  Invalidate();
}

void TPxOutlookBar::SetToolbarHeight(Integer value) {
  if (value == FToolbarHeight || value < 0) return;
  FToolbarHeight = value;
  UpdateHeight();
  Invalidate();
}

void TPxOutlookBar::SetItemIndex(Integer value) {
  FItemIndex = value;
  TPxOutlookBarItem* old = FSelected;
  FSelected = value >= 0 && value < FItems->Count() ? FItems->Items(value) : nullptr;
  if (FSelected) RefreshItem(FSelected);
  if (old) RefreshItem(old);
}

void TPxOutlookBar::SetSelected(TPxOutlookBarItem* value) {
  if (value == FSelected) return;
  TPxOutlookBarItem* old = FSelected;
  FSelected = value;
  if (old) RefreshItem(old);
  if (value) RefreshItem(value);
  FItemIndex = value ? value->Index() : -1;
  DoSelect();
}

void TPxOutlookBar::SetLargeImages(TCustomImageList* value) {
  if (WatchImages(*this, FLargeImages, value)) Invalidate();
}

void TPxOutlookBar::SetSmallImages(TCustomImageList* value) {
  if (WatchImages(*this, FSmallImages, value)) Invalidate();
}

void TPxOutlookBar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FLargeImages) FLargeImages = nullptr;
  if (component == FSmallImages) FSmallImages = nullptr;
}

// The selection, hover and pressed items never outlive their items.
void TPxOutlookBar::ItemRemoved(const TPxOutlookBarItem* item) {
  if (item == FSelected) FSelected = nullptr;
  if (item == FHoverItem) FHoverItem = nullptr;
  if (item == FDownItem) FDownItem = nullptr;
}

void TPxOutlookBar::DoChange() {
  if (OnChange) OnChange(this);
}

void TPxOutlookBar::DoSelect() {
  if (OnSelect) OnSelect(this);
}

// ---------------------------------------------------------------------------
// Geometry

// While the form is read the items may come after DisplayCount: the
// count is kept until they are all there.
void TPxOutlookBar::UpdateHeight() {
  const Integer visible = FItems->VisibleCount();
  if (FDisplayCount > visible && !ComponentState().Contains(csLoading)) FDisplayCount = visible;
  FButtonsHeight = OutlookButtonsHeight(FToolbarHeight, FSplitterHeight, FItemHeight, FDisplayCount, visible);
}

void TPxOutlookBar::Loaded() {
  TCustomControl::Loaded();
  UpdateHeight();
  Realign();
}

void TPxOutlookBar::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateHeight();
}

void TPxOutlookBar::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  rect.Left += FInnerMargins->Left();
  rect.Top += FInnerMargins->Top();
  rect.Right -= FInnerMargins->Right();
  rect.Bottom -= FInnerMargins->Bottom() + FButtonsHeight;
}

Integer TPxOutlookBar::GetToolButtonWidth() const {
  return FSmallImages ? FSmallImages->Width() + 6 : 22;
}

TOutlookMetrics TPxOutlookBar::Metrics() const {
  return TOutlookMetrics{ClientWidth(),  ClientHeight(),       FItemHeight,   FSplitterHeight,
                         FToolbarHeight, GetToolButtonWidth(), FButtonsHeight};
}

std::vector<TPxOutlookBarItem*> TPxOutlookBar::VisibleItems() const {
  std::vector<TPxOutlookBarItem*> items;
  for (int i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i)->Visible()) items.push_back(FItems->Items(i));
  return items;
}

TRect TPxOutlookBar::GetSplitterRect() const {
  return OutlookSplitterRect(Metrics());
}

TPxOutlookBarItem* TPxOutlookBar::GetItemAtPos(Integer x, Integer y) const {
  const std::vector<TPxOutlookBarItem*> visible = VisibleItems();
  const Integer index = OutlookItemAtPos(Metrics(), static_cast<Integer>(visible.size()), x, y);
  return index < 0 ? nullptr : visible[static_cast<size_t>(index)];
}

TRect TPxOutlookBar::GetItemRect(const TPxOutlookBarItem* item) const {
  const std::vector<TPxOutlookBarItem*> visible = VisibleItems();
  for (const TOutlookPlace& p : OutlookLayout(Metrics(), static_cast<Integer>(visible.size()))) {
    if (visible[static_cast<size_t>(p.Visible)] != item) continue;
    TRect r = p.Rect;
    if (p.Tool) ++r.Right;
    return r;
  }
  return Rect(0, 0, ClientWidth(), 0);
}

bool TPxOutlookBar::IsToolButton(const TPxOutlookBarItem* item) const {
  const std::vector<TPxOutlookBarItem*> visible = VisibleItems();
  for (const TOutlookPlace& p : OutlookLayout(Metrics(), static_cast<Integer>(visible.size())))
    if (visible[static_cast<size_t>(p.Visible)] == item) return p.Tool;
  return false;
}

void TPxOutlookBar::RefreshItem(const TPxOutlookBarItem* item) {
  if (HandleAllocated()) InvalidateWithoutErase(*this, GetItemRect(item));
}

void TPxOutlookBar::RefreshHorzItems() {
  if (HandleAllocated())
    InvalidateWithoutErase(*this, Rect(0, ClientHeight() - FToolbarHeight, ClientWidth(), ClientHeight()));
}

// ---------------------------------------------------------------------------
// Painting

void TPxOutlookBar::GetItemColors(TItemDrawStyle state, TColorScheme scheme, TColor& bottomColor,
                                  TColor& topColor) const {
  if (scheme == csDefault) scheme = CurrentColorScheme();
  if (state.Contains(tb::dsDown)) {
    topColor = TColor{0x65D3FF};
    bottomColor = TColor{0x1193EE};
  } else if (state.Contains(tb::dsHover) && state.Contains(tb::dsSelected)) {
    topColor = TColor{0x65D3FF};
    bottomColor = TColor{0x1193DD};
  } else if (state.Contains(tb::dsHover)) {
    topColor = TColor{0x9FE6FF};
    bottomColor = TColor{0x1193EE};
  } else if (state.Contains(tb::dsSelected)) {
    topColor = TColor{0x7BE1FE};
    bottomColor = TColor{0x1193EE};
  } else {
    topColor = SchemeColor(3, scheme);
    bottomColor = SchemeColor(4, scheme);
  }
}

void TPxOutlookBar::DrawItemBackground(TCanvas& canvas, TColor color, const TRect& r, bool isToolButton,
                                       TItemDrawStyle state) {
  TColor bottom = clNone;
  TColor top = clNone;
  GetItemColors(state, FColorScheme, bottom, top);
  if (!FAdaptiveColors) top = color;
  if (isToolButton && state.Empty()) return;
  if (FStyle == osOffice2007)
    DrawGlass(canvas, r, top, bottom, kGlowHeight);
  else
    DrawGlassCentred(canvas, r, top, bottom, kGlowHeight);
}

void TPxOutlookBar::DrawItemContent(TCanvas& canvas, const TRect& r, const TPxOutlookBarItem* item, bool isToolButton,
                                    TItemDrawStyle state) {
  const Integer image = item->ImageIndex();
  if (isToolButton) {
    if (FSmallImages && image >= 0 && image < FSmallImages->Count())
      FSmallImages->Draw(canvas, r.Left + (r.Width() - FSmallImages->Width()) / 2,
                         r.Top + (r.Height() - FSmallImages->Height()) / 2, image, true);
    return;
  }
  if (FLargeImages && image >= 0 && image < FLargeImages->Count())
    FLargeImages->Draw(canvas, kLargeImageLeft, r.Top + (r.Bottom - r.Top) / 2 - FLargeImages->Height() / 2, image,
                       true);
  if (ClientWidth() <= FItemHeight) return;
  canvas.Font().Assign(&Font());
  const bool highlighted =
      !IsThemed() && state.Contains(tb::dsHover) && (state.Contains(tb::dsSelected) || state.Contains(tb::dsDown));
  canvas.Font().SetColor(highlighted ? clHighlightText : clWindowText);
  canvas.Font().SetStyle(TFontStyles{fsBold});
  canvas.Brush().SetStyle(bsClear);
  DrawEllipsisText(canvas, Rect(FTextIndent, r.Top, r.Right, r.Bottom), item->Caption(), bdLeftToRight);
  canvas.Brush().SetStyle(bsSolid);
}

void TPxOutlookBar::DrawSplitter(TCanvas& canvas, const TRect& r) {
  canvas.Pen().SetColor(clWhite);
  canvas.MoveTo(0, r.Top + 1);
  canvas.LineTo(ClientWidth(), r.Top + 1);
  canvas.Pen().SetColor(SchemeColor(2, FColorScheme));
  canvas.MoveTo(0, r.Top);
  canvas.LineTo(ClientWidth(), r.Top);
  canvas.MoveTo(0, r.Bottom - 1);
  canvas.LineTo(ClientWidth(), r.Bottom - 1);
  FillVertGradient(canvas, Rect(r.Left, r.Top + 2, r.Right, r.Bottom - 1), SchemeColor(22, FColorScheme),
                   SchemeColor(23, FColorScheme));
  DrawGripDots(canvas, r, 5, false, FColorScheme);
}

void TPxOutlookBar::DrawToolbar(TCanvas& canvas, const TRect& r) {
  DrawItemBackground(canvas, clBtnFace, r, false, TItemDrawStyle{});
}

void TPxOutlookBar::DrawOneItem(TCanvas& canvas, TPxOutlookBarItem* item, const TRect& r, bool isToolButton) {
  TItemDrawStyle state;
  if (item == FSelected) state.Include(tb::dsSelected);
  if (item == FDownItem) state.Include(tb::dsDown);
  if (item == FHoverItem) state.Include(tb::dsHover);
  if (FDrawingOptions != tb::doCustomOnly) DrawItemBackground(canvas, item->Color(), r, isToolButton, state);
  if (FDrawingOptions == tb::doNormal || FDrawingOptions == tb::doCustom)
    DrawItemContent(canvas, r, item, isToolButton, state);
}

void TPxOutlookBar::Paint() {
  TCanvas& canvas = Canvas();
  const Integer width = ClientWidth();
  const Integer height = ClientHeight();
  const Integer top = height - FButtonsHeight;
  canvas.Brush().SetColor(Color());
  canvas.FillRect(Rect(0, 0, width, top));
  DrawSplitter(canvas, Rect(0, top, width, top + FSplitterHeight));
  canvas.Font().Assign(&Font());
  DrawToolbar(canvas, Rect(0, height - FToolbarHeight, width, height));
  if (ComponentState().Contains(csDesigning)) {
    canvas.Brush().SetColor(clBtnFace);
    canvas.FrameRect(Rect(FInnerMargins->Left(), FInnerMargins->Top(), width - FInnerMargins->Right(),
                          top - FInnerMargins->Bottom()));
  }
  const std::vector<TPxOutlookBarItem*> visible = VisibleItems();
  for (const TOutlookPlace& p : OutlookLayout(Metrics(), static_cast<Integer>(visible.size()))) {
    if (!p.Tool) {
      canvas.Pen().SetColor(SchemeColor(2, FColorScheme));
      canvas.MoveTo(0, p.Rect.Bottom);
      canvas.LineTo(width, p.Rect.Bottom);
    }
    DrawOneItem(canvas, visible[static_cast<size_t>(p.Visible)], p.Rect, p.Tool);
  }
}

// ---------------------------------------------------------------------------
// Pointer and keys

void TPxOutlookBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_GETDLGCODE:
      TCustomControl::Dispatch(m);
      m.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TPxOutlookBar::SetHover(TPxOutlookBarItem* item) {
  if (item == FHoverItem) return;
  TPxOutlookBarItem* old = FHoverItem;
  FHoverItem = item;
  if (old) RefreshItem(old);
  if (item) RefreshItem(item);
}

void TPxOutlookBar::SetDown(TPxOutlookBarItem* item) {
  TPxOutlookBarItem* old = FDownItem;
  FDownItem = item;
  if (old) RefreshItem(old);
  if (item) RefreshItem(item);
}

void TPxOutlookBar::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (CanFocus() && !Focused()) SetFocus();
  if (button != mbLeft) return;
  if (TPxOutlookBarItem* item = GetItemAtPos(x, y)) SetDown(item);
  FSizing = GetSplitterRect().Contains(TPoint{x, y});
  if (FSizing) FSizingPoint = TPoint{x, y};
}

void TPxOutlookBar::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  const Integer top = ClientHeight() - FButtonsHeight;
  if (y > top)
    SetCursor(FSizing || GetSplitterRect().Contains(TPoint{x, y}) ? crSizeNS : crHandPoint);
  else
    SetCursor(crDefault);
  if (!FSizing) {
    SetHover(GetItemAtPos(x, y));
    return;
  }
  const Integer visible = FItems->VisibleCount();
  const Integer n = OutlookSplitterCount(Metrics(), visible, y);
  if (n == FDisplayCount || n < 0 || n > FItems->Count()) return;
  const Integer pitch = FItemHeight + 1;
  const Integer oldTop = top;
  FButtonsHeight = n * pitch + FToolbarHeight + FSplitterHeight;
  const Integer newTop = ClientHeight() - FButtonsHeight;
  if (HandleAllocated()) {
    const RECT clip{0, std::min(oldTop, newTop), ClientWidth(), ClientHeight() - FToolbarHeight};
    ScrollWindowEx(Handle(), 0, (FDisplayCount - n) * pitch, &clip, &clip, nullptr, nullptr, SW_INVALIDATE);
  }
  FDisplayCount = n;
  RefreshHorzItems();
  Realign();
}

void TPxOutlookBar::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (FSizing) {
    FSizing = false;
    return;
  }
  if (button != mbLeft) return;
  if (TPxOutlookBarItem* item = GetItemAtPos(x, y)) SetSelected(item);
  SetDown(nullptr);
}

void TPxOutlookBar::CMMouseLeave(TMessage& m) {
  TCustomControl::CMMouseLeave(m);
  SetHover(nullptr);
}

// Hidden items are not skipped.
void TPxOutlookBar::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == VK_UP && FItemIndex > 0) SetItemIndex(FItemIndex - 1);
  if (key == VK_DOWN && FItemIndex < FItems->Count() - 1) SetItemIndex(FItemIndex + 1);
}
