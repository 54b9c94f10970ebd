#include "panelkit/win32/toolbar.h"
#include "panelkit/win32/lifeguard.h"

#include <algorithm>

#include "panelkit/win32/collectionparts.h"
#include "panelkit/win32/shareddraw.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxToolItem, "PxCollection")
KST_CLASS_IMPL(TPxToolbarItems, "PxCollection")
KST_CLASS_IMPL(TPxToolbar, "PxCollection")

namespace {

constexpr TColor kGlassTop = 0xF5E7DD;
constexpr TColor kGlassBottom = 0xF8EADE;
constexpr TColor kUpperEdge = 0xEBDBCF;
constexpr TColor kLowerEdge = 0xC5B1A2;
// Items paint between these insets of the bar's height.
constexpr Integer kItemTop = 3;
constexpr Integer kItemBottomInset = 4;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TPxToolbarItemPosition>) {
  static const TEnumTypeInfo t(u"TPxToolbarItemPosition", u"PxCollection", {u"tipLeft", u"tipRight"});
  return t;
}

// ---------------------------------------------------------------------------
// Items

void TPxToolItem::Describe(TClassBuilder<TPxToolItem>& c) {
  using P = TPxToolItem;
  c.Property(u"Caption", &P::Caption, &P::SetCaption);
  c.Property(u"Position", &P::Position, &P::SetPosition).Default(tipLeft);
  c.Property(u"Visible", &P::Visible, &P::SetVisible).Default(1);
  c.Property(u"OnClick", &P::OnClick);
}

TPxToolItem::TPxToolItem(TComponent* owner) : TComponent(owner) {}

TPxToolItem::~TPxToolItem() {
  if (FItems) FItems->Remove(this);
}

Integer TPxToolItem::Index() const {
  return FItems ? FItems->IndexOf(this) : -1;
}

void TPxToolItem::SetCaption(const String& value) {
  FCaption = value;
  if (FItems && FItems->Toolbar()) FItems->Toolbar()->RefreshItem(this);
}

void TPxToolItem::SetVisible(bool value) {
  FVisible = value;
  if (FItems && FItems->Toolbar()) FItems->Toolbar()->Invalidate();
}

// Left items always come before right ones: the neighbours follow.
void TPxToolItem::SetPosition(TPxToolbarItemPosition value) {
  if (value == FPosition) return;
  if (FItems) {
    const Integer index = Index();
    if (value == tipRight)
      for (Integer i = index; i < FItems->Count(); ++i) FItems->Items(i)->FPosition = tipRight;
    else
      for (Integer i = 0; i <= index; ++i) FItems->Items(i)->FPosition = tipLeft;
  }
  FPosition = value;
  if (FItems && FItems->Toolbar()) FItems->Toolbar()->Invalidate();
}

void TPxToolItem::MeasureItem(TSize&) {}

void TPxToolItem::PaintItem(TCanvas&, const TRect&, Integer) {}

void TPxToolItem::DoClick() {
  if (OnClick) OnClick(this);
}

TComponent* TPxToolItem::GetParentComponent() const {
  return FItems ? FItems->Toolbar() : nullptr;
}

void TPxToolItem::SetParentComponent(TComponent* parent) {
  if (auto* toolbar = dynamic_cast<TPxToolbar*>(parent)) toolbar->GetItems()->AddItem(this);
}

void TPxToolbarItems::Describe(TClassBuilder<TPxToolbarItems>&) {}

TPxToolbarItems::TPxToolbarItems(TPxToolbar* toolbar) : FToolbar(toolbar) {}

TPxToolbarItems::~TPxToolbarItems() {
  FToolbar = nullptr;
  Clear();
}

TPxToolItem* TPxToolbarItems::Items(Integer index) const {
  if (index < 0 || index >= Count()) throw EListError(u"List index out of bounds");
  return FItems[static_cast<size_t>(index)];
}

TPxToolItem* TPxToolbarItems::Add() {
  auto* item = new TPxToolItem(FToolbar);
  item->FItems = this;
  FItems.push_back(item);
  return item;
}

void TPxToolbarItems::AddItem(TPxToolItem* item) {
  if (!item || item->FItems == this) return;
  if (item->FItems) item->FItems->Remove(item);
  item->FItems = this;
  FItems.push_back(item);
  if (FToolbar) FToolbar->Invalidate();
}

void TPxToolbarItems::Clear() {
  while (!FItems.empty()) delete FItems.back();
  if (FToolbar) FToolbar->Invalidate();
}

Integer TPxToolbarItems::IndexOf(const TPxToolItem* item) const {
  const auto found = std::find(FItems.begin(), FItems.end(), item);
  return found == FItems.end() ? -1 : static_cast<Integer>(found - FItems.begin());
}

void TPxToolbarItems::Move(Integer currentIndex, Integer newIndex) {
  TPxToolItem* item = Items(currentIndex);
  Items(newIndex);
  FItems.erase(FItems.begin() + currentIndex);
  FItems.insert(FItems.begin() + newIndex, item);
}

void TPxToolbarItems::Remove(TPxToolItem* item) {
  const Integer index = IndexOf(item);
  if (index < 0) return;
  FItems.erase(FItems.begin() + index);
  item->FItems = nullptr;
  if (FToolbar) FToolbar->ItemRemoved(item);
}

// ---------------------------------------------------------------------------
// Toolbar

void TPxToolbar::Describe(TClassBuilder<TPxToolbar>& c) {
  using P = TPxToolbar;
  publish::Align(c);
  publish::Anchors(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Images", &P::Images, &P::SetImages);
  c.Property(u"Items", &P::GetItems, &P::SetItems);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
  c.Property(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(1);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(0);
  publish::Visible(c);
  publish::KeyboardControlEvents(c);
}

TPxToolbar::TPxToolbar(TComponent* owner)
    : TPxCollectionControl(owner), FItems(std::make_unique<TPxToolbarItems>(this)) {
  SetBounds(Left(), Top(), 250, 31);
}

TPxToolbar::~TPxToolbar() {
  if (FImages) FImages->RemoveFreeNotification(this);
  FHoverItem = nullptr;
  FDownItem = nullptr;
  FItems.reset();
}

void TPxToolbar::SetImages(TCustomImageList* value) {
  WatchImages(*this, FImages, value);
}

void TPxToolbar::Notification(TComponent* component, TOperation operation) {
  TPxCollectionControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) FImages = nullptr;
}

void TPxToolbar::ItemRemoved(const TPxToolItem* item) {
  if (FHoverItem == item) FHoverItem = nullptr;
  if (FDownItem == item) FDownItem = nullptr;
  Invalidate();
}

void TPxToolbar::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  TPxCollectionControl::GetChildren(proc, root);
  for (Integer i = 0; i < FItems->Count(); ++i) proc(FItems->Items(i));
}

std::vector<TPxToolbar::TPlacedItem> TPxToolbar::Layout() const {
  std::vector<TPlacedItem> placed;
  const Integer count = FItems->Count();
  const Integer height = ClientHeight();
  Integer first = 0;
  for (Integer x = kGroupInset; first < count && FItems->Items(first)->Position() == tipLeft; ++first) {
    TPxToolItem* item = FItems->Items(first);
    if (!item->Visible()) continue;
    TSize size{0, 0};
    item->MeasureItem(size);
    placed.push_back({item, Rect(x, 0, x + size.cx, height)});
    x += size.cx;
  }
  Integer x = ClientWidth() - kGroupInset;
  for (Integer i = count - 1; i >= first && FItems->Items(i)->Position() == tipRight; --i) {
    TPxToolItem* item = FItems->Items(i);
    if (!item->Visible()) continue;
    TSize size{0, 0};
    item->MeasureItem(size);
    placed.push_back({item, Rect(x - size.cx, 0, x, height)});
    x -= size.cx;
  }
  return placed;
}

TPxToolItem* TPxToolbar::GetItemAtPos(Integer x, Integer) const {
  for (const TPlacedItem& p : Layout())
    if (p.Rect.Left <= x && x <= p.Rect.Right) return p.Item;
  return nullptr;
}

TRect TPxToolbar::GetItemRect(const TPxToolItem* item) const {
  for (const TPlacedItem& p : Layout())
    if (p.Item == item) return p.Rect;
  return TRect{};
}

void TPxToolbar::RefreshItem(const TPxToolItem* item) {
  if (item && HandleAllocated()) InvalidateWithoutErase(*this, GetItemRect(item));
}

void TPxToolbar::SetDownItem(TPxToolItem* item) {
  if (item == FDownItem) return;
  RefreshItem(FDownItem);
  FDownItem = item;
  RefreshItem(FDownItem);
}

void TPxToolbar::SetHoverItem(TPxToolItem* item) {
  if (item == FHoverItem) return;
  RefreshItem(FHoverItem);
  FHoverItem = item;
  RefreshItem(FHoverItem);
}

void TPxToolbar::Dispatch(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return;
  }
  TPxCollectionControl::Dispatch(m);
}

void TPxToolbar::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseDown(button, shift, x, y);
  SetDownItem(GetItemAtPos(x, y));
}

void TPxToolbar::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseMove(shift, x, y);
  if (!FDownItem) SetHoverItem(GetItemAtPos(x, y));
}

void TPxToolbar::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TPxCollectionControl::MouseUp(button, shift, x, y);
  if (guard.Gone()) return;
  TPxToolItem* item = GetItemAtPos(x, y);
  if (item && item == FDownItem) item->DoClick();
  if (guard.Gone()) return;
  SetDownItem(nullptr);
}

void TPxToolbar::CMMouseLeave(TMessage& m) {
  TPxCollectionControl::CMMouseLeave(m);
  SetHoverItem(nullptr);
}

void TPxToolbar::Paint() {
  TCanvas& canvas = Canvas();
  const Integer width = ClientWidth();
  const Integer height = ClientHeight();
  canvas.Font().Assign(&Font());
  DrawGlassHalf(canvas, Rect(0, 0, width, height - 2), kGlassTop, kGlassBottom);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetColor(kUpperEdge);
  canvas.MoveTo(0, height - 2);
  canvas.LineTo(width, height - 2);
  canvas.Pen().SetColor(kLowerEdge);
  canvas.MoveTo(0, height - 1);
  canvas.LineTo(width, height - 1);
  for (const TPlacedItem& p : Layout()) {
    Integer state = 0;
    if (p.Item == FHoverItem) state += TPxToolItem::kStateHover;
    if (p.Item == FDownItem) state += TPxToolItem::kStateDown;
    p.Item->PaintItem(canvas, Rect(p.Rect.Left, kItemTop, p.Rect.Right, height - kItemBottomInset), state);
  }
}
