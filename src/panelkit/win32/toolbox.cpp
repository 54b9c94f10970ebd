#include "panelkit/win32/toolbox.h"

#include <algorithm>

#include "panelkit/win32/collectionparts.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxToolBoxItem, "PxToolBox")
KST_CLASS_IMPL(TPxToolBoxItems, "PxToolBox")
KST_CLASS_IMPL(TPxToolBoxCategoryItem, "PxToolBox")
KST_CLASS_IMPL(TPxToolBoxCategories, "PxToolBox")
KST_CLASS_IMPL(TPxToolBox, "PxToolBox")

namespace {

// Where a header's glyph and caption and an item's image and caption start.
constexpr Integer kGlyphLeft = 5;
constexpr Integer kCaptionLeft = 21;
constexpr Integer kItemImageLeft = 6;
constexpr Integer kItemCaptionLeft = 28;
constexpr Integer kEntryLeft = 3;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TPxCategoriesStyle>) {
  static const TEnumTypeInfo t(u"TPxCategoriesStyle", u"PxToolBox", {u"casDefault", u"casBottomLine"});
  return t;
}

// ---------------------------------------------------------------------------
// Items

void TPxToolBoxItem::Describe(TClassBuilder<TPxToolBoxItem>& c) {
  using P = TPxToolBoxItem;
  c.Property(u"Caption", &P::Caption, &P::SetCaption);
  c.Property(u"ImageIndex", &P::ImageIndex, &P::SetImageIndex).Default(-1);
  c.Property(u"Tag", &P::Tag, &P::SetTag).Default(0);
}

TPxToolBoxItem::TPxToolBoxItem(TCollection* collection) : TCollectionItem(collection) {
  if (auto* items = dynamic_cast<TPxToolBoxItems*>(collection)) FCategory = items->Category();
}

TPxToolBoxItem::~TPxToolBoxItem() = default;

TPxToolBox* TPxToolBoxItem::ToolBox() const {
  return FCategory ? FCategory->ToolBox() : nullptr;
}

void TPxToolBoxItem::SetCaption(const String& value) {
  FCaption = value;
  Refresh();
}

void TPxToolBoxItem::SetImageIndex(Integer value) {
  FImageIndex = value;
  Refresh();
}

void TPxToolBoxItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPxToolBoxItem*>(source)) {
    FCaption = other->FCaption;
    FImageIndex = other->FImageIndex;
    FTag = other->FTag;
    FData = other->FData;
    Refresh();
    return;
  }
  TCollectionItem::Assign(source);
}

void TPxToolBoxItem::Refresh() {
  if (TPxToolBox* box = ToolBox()) box->RefreshItem(this);
}

void TPxToolBoxItems::Describe(TClassBuilder<TPxToolBoxItems>&) {}

TPxToolBoxItems::TPxToolBoxItems(TPxToolBoxCategoryItem* owner)
    : TCollection(TPxToolBoxItem::StaticClass()), FOwner(owner) {}

TPxToolBoxItem* TPxToolBoxItems::Add() {
  auto* item = static_cast<TPxToolBoxItem*>(TCollection::Add());
  if (TPxToolBox* box = FOwner ? FOwner->ToolBox() : nullptr) box->UpdateScrollRange();
  return item;
}

TPersistent* TPxToolBoxItems::GetOwner() const {
  return FOwner;
}

void TPxToolBoxItems::Notify(TCollectionItem* item, bool added) {
  TPxToolBox* box = FOwner ? FOwner->ToolBox() : nullptr;
  if (!box) return;
  if (!added) box->EntryRemoved(item);
  box->Invalidate();
}

// ---------------------------------------------------------------------------
// Categories

void TPxToolBoxCategoryItem::Describe(TClassBuilder<TPxToolBoxCategoryItem>& c) {
  using P = TPxToolBoxCategoryItem;
  c.Property(u"Expanded", &P::Expanded, &P::SetExpanded).Default(1);
  c.Property(u"Items", &P::GetItems, &P::SetItems);
}

TPxToolBoxCategoryItem::TPxToolBoxCategoryItem(TCollection* collection)
    : TPxToolBoxItem(collection), FItems(std::make_unique<TPxToolBoxItems>(this)) {}

// The items go first, while the category can still tell the tool box.
TPxToolBoxCategoryItem::~TPxToolBoxCategoryItem() {
  FItems->Clear();
}

TPxToolBox* TPxToolBoxCategoryItem::ToolBox() const {
  auto* categories = dynamic_cast<TPxToolBoxCategories*>(Collection());
  return categories ? categories->ToolBox() : nullptr;
}

void TPxToolBoxCategoryItem::SetExpanded(bool value) {
  if (value == FExpanded) return;
  FExpanded = value;
  if (TPxToolBox* box = ToolBox()) box->ScrollCategory(this, value);
}

void TPxToolBoxCategoryItem::Assign(const TPersistent* source) {
  TPxToolBoxItem::Assign(source);
  if (auto* other = dynamic_cast<const TPxToolBoxCategoryItem*>(source)) {
    FExpanded = other->FExpanded;
    FItems->Assign(other->FItems.get());
  }
}

void TPxToolBoxCategories::Describe(TClassBuilder<TPxToolBoxCategories>&) {}

TPxToolBoxCategories::TPxToolBoxCategories(TPxToolBox* owner)
    : TCollection(TPxToolBoxCategoryItem::StaticClass()), FOwner(owner) {}

TPxToolBoxCategoryItem* TPxToolBoxCategories::Add() {
  auto* category = static_cast<TPxToolBoxCategoryItem*>(TCollection::Add());
  if (FOwner) FOwner->UpdateScrollRange();
  return category;
}

TPersistent* TPxToolBoxCategories::GetOwner() const {
  return FOwner;
}

void TPxToolBoxCategories::Notify(TCollectionItem* item, bool added) {
  if (!FOwner) return;
  if (!added) FOwner->EntryRemoved(item);
  FOwner->Invalidate();
}

// ---------------------------------------------------------------------------
// The tool box

void TPxToolBox::Describe(TClassBuilder<TPxToolBox>& c) {
  using P = TPxToolBox;
  publish::Align(c);
  publish::Anchors(c);
  publish::BiDiProperties(c);
  c.Property(u"Categories", &P::GetCategories, &P::SetCategories);
  c.Property(u"CategoriesStyle", &P::CategoriesStyle, &P::SetCategoriesStyle).Default(casDefault);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).Default(clWindow);
  publish::Constraints(c);
  publish::Ctl3DProperties(c);
  publish::DragProperties(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Hint", &TControl::Hint, &TControl::SetHint);
  c.Property(u"Images", &P::Images, &P::SetImages);
  c.Property(u"ItemHeight", &P::ItemHeight, &P::SetItemHeight).Default(20);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(0);
  publish::ParentFont(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  c.Property(u"OnSelectItem", &P::OnSelectItem);
  publish::KeyboardControlEvents(c);
}

TPxToolBox::TPxToolBox(TComponent* owner)
    : TPxVertScrollControl(owner),
      FCategories(std::make_unique<TPxToolBoxCategories>(this)),
      FCollapseGlyph(std::make_unique<TBitmap>()),
      FExpandGlyph(std::make_unique<TBitmap>()) {
  for (auto [glyph, name, plus] : {std::tuple{FCollapseGlyph.get(), u"BUTTONCOLLAPSE", false},
                                   std::tuple{FExpandGlyph.get(), u"BUTTONEXPAND", true}}) {
    LoadButtonGlyph(*glyph, name, plus);
    glyph->SetTransparent(true);
  }
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(Left(), Top(), 185, 250);
}

TPxToolBox::~TPxToolBox() {
  if (FImages) FImages->RemoveFreeNotification(this);
  FCategories->Clear();
}

void TPxToolBox::SetCategoriesStyle(TPxCategoriesStyle value) {
  FCategoriesStyle = value;
  Invalidate();
}

void TPxToolBox::SetImages(TCustomImageList* value) {
  if (WatchImages(*this, FImages, value)) Invalidate();
}

void TPxToolBox::SetItemHeight(Integer value) {
  FItemHeight = value;
  VertScrollBar().SetSmallChange(value);
}

// The selection, hover and pressed entries never outlive their entries.
void TPxToolBox::EntryRemoved(const TCollectionItem* entry) {
  if (entry == FSelectedItem) FSelectedItem = nullptr;
  if (entry == FHoverItem) FHoverItem = nullptr;
  if (entry == FDownItem) FDownItem = nullptr;
}

void TPxToolBox::Notification(TComponent* component, TOperation operation) {
  TPxVertScrollControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    Invalidate();
  }
}

void TPxToolBox::SetSelectedItem(TPxToolBoxItem* value) {
  if (value != FSelectedItem) {
    TPxToolBoxItem* old = FSelectedItem;
    FSelectedItem = value;
    if (value) RefreshItem(value);
    if (old) RefreshItem(old);
  }
  DoSelectItem();
}

void TPxToolBox::DoSelectItem() {
  if (OnSelectItem) OnSelectItem(this);
}

// ---------------------------------------------------------------------------
// Geometry

std::vector<TToolBoxCategoryShape> TPxToolBox::Shapes() const {
  std::vector<TToolBoxCategoryShape> shapes;
  for (int i = 0; i < FCategories->Count(); ++i)
    shapes.push_back({FCategories->Items(i)->Expanded(), FCategories->Items(i)->Items().Count()});
  return shapes;
}

TPxToolBoxItem* TPxToolBox::GetItemAtPos(Integer, Integer y) const {
  const TToolBoxHit hit = ToolBoxEntryAtPos(Shapes(), FItemHeight, VertScrollBar().Position(), y);
  if (hit.Category < 0) return nullptr;
  TPxToolBoxCategoryItem* category = FCategories->Items(hit.Category);
  return hit.Item < 0 ? static_cast<TPxToolBoxItem*>(category) : category->Items().Items(hit.Item);
}

TRect TPxToolBox::GetItemRect(const TPxToolBoxItem* item) const {
  Integer category = -1;
  Integer index = -1;
  if (auto* asCategory = dynamic_cast<const TPxToolBoxCategoryItem*>(item)) {
    if (asCategory->ToolBox() != this) return TRect{};
    category = asCategory->Index();
  } else {
    if (!item->Category() || item->Category()->ToolBox() != this) return TRect{};
    category = item->Category()->Index();
    index = item->Index();
  }
  Integer top = 0;
  if (!ToolBoxEntryTop(Shapes(), FItemHeight, VertScrollBar().Position(), category, index, top)) return TRect{};
  return Rect(kEntryLeft, top, ClientWidth() - 1, top + (index < 0 ? kToolBoxHeaderHeight : FItemHeight));
}

void TPxToolBox::RefreshItem(const TPxToolBoxItem* item) {
  if (!HandleAllocated()) return;
  const TRect r = GetItemRect(item);
  if (!r.IsEmpty()) InvalidateWithoutErase(*this, r);
}

void TPxToolBox::SetScrollRange() {
  TScrollBarModel& bar = VertScrollBar();
  bar.SetPageSize(1);
  bar.SetMax(std::max(0, ToolBoxContentHeight(Shapes(), FItemHeight) - ClientHeight()));
  UpdateVertScrollBar();
}

void TPxToolBox::UpdateScrollRange() {
  SetScrollRange();
  if (HandleAllocated()) Invalidate();
}

void TPxToolBox::ScrollCategory(const TPxToolBoxCategoryItem* category, bool expanded) {
  if (!HandleAllocated()) return;
  const TRect header = GetItemRect(category);
  const Integer amount = category->Items().Count() * FItemHeight;
  const RECT clip{0, header.Bottom, ClientWidth(), ClientHeight()};
  ScrollWindowEx(Handle(), 0, expanded ? amount : -amount, &clip, &clip, nullptr, nullptr, SW_INVALIDATE);
  RefreshItem(category);
}

void TPxToolBox::CreateWnd() {
  TPxVertScrollControl::CreateWnd();
  SetScrollRange();
}

// ---------------------------------------------------------------------------
// Painting

void TPxToolBox::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = Rect(0, 0, ClientWidth(), ClientHeight());
  FillHorzGradient(canvas, client, Color(), BlendWeighted(clGrayText, Color(), 20));
  canvas.Font().Assign(&Font());
  Integer y = -VertScrollBar().Position();
  for (int i = 0; i < FCategories->Count(); ++i) {
    const TPxToolBoxCategoryItem* category = FCategories->Items(i);
    DrawCategory(canvas, Rect(0, y, ClientWidth(), y + kToolBoxHeaderHeight), category);
    y += kToolBoxHeaderHeight;
    if (!category->Expanded()) continue;
    for (int j = 0; j < category->Items().Count(); ++j, y += FItemHeight)
      DrawItem(canvas, Rect(0, y, ClientWidth(), y + FItemHeight), category->Items().Items(j));
  }
  SetScrollRange();
}

void TPxToolBox::DrawCategoryBackground(TCanvas& canvas, const TRect& r) {
  if (FCategoriesStyle == casDefault)
    FillVertGradient(canvas, Rect(0, r.Top + 1, ClientWidth(), r.Bottom - 2), clInactiveBorder, clGrayText);
  canvas.Pen().SetColor(clInactiveBorder);
  canvas.MoveTo(0, r.Bottom - 1);
  canvas.LineTo(ClientWidth(), r.Bottom - 1);
}

void TPxToolBox::DrawCategory(TCanvas& canvas, const TRect& r, const TPxToolBoxCategoryItem* category) {
  DrawCategoryBackground(canvas, r);
  if (IsThemed())
    DrawThemeElement(Handle(), canvas.Handle(), Rect(kGlyphLeft, r.Top, 14, r.Bottom), u"treeview", 2,
                     category->Expanded() ? 2 : 1);
  else
    canvas.Draw(kGlyphLeft, r.Top + (r.Bottom - r.Top) / 2 - 4, category->Expanded() ? *FCollapseGlyph : *FExpandGlyph);
  canvas.Font().SetStyle(TFontStyles{fsBold});
  canvas.Brush().SetStyle(bsClear);
  DrawEllipsisText(canvas, Rect(kCaptionLeft, r.Top, r.Right, r.Bottom), category->Caption(), bdLeftToRight);
  canvas.Brush().SetStyle(bsSolid);
  if (FImages && category->ImageIndex() >= 0)
    FImages->Draw(canvas, ClientWidth() - FImages->Width() - 2, r.Top + (r.Bottom - r.Top) / 2 - FImages->Height() / 2,
                  category->ImageIndex(), true);
}

void TPxToolBox::DrawItemFrame(TCanvas& canvas, const TRect& r, const TPxToolBoxItem* item) {
  Integer weight = 0;
  if (item == FSelectedItem)
    weight = item == FHoverItem && item != FDownItem ? 100 : 40;
  else if (item == FHoverItem)
    weight = 70;
  if (weight == 0) return;
  canvas.Pen().SetColor(clHighlight);
  canvas.Brush().SetColor(BlendWeighted(clHighlight, clWindow, weight));
  canvas.Rectangle(r);
}

void TPxToolBox::DrawItem(TCanvas& canvas, const TRect& r, const TPxToolBoxItem* item) {
  DrawItemFrame(canvas, Rect(kEntryLeft, r.Top, r.Right - 1, r.Bottom), item);
  canvas.Font().SetStyle(TFontStyles{});
  canvas.Brush().SetStyle(bsClear);
  DrawEllipsisText(canvas, Rect(kItemCaptionLeft, r.Top, r.Right, r.Bottom), item->Caption(), bdLeftToRight);
  canvas.Brush().SetStyle(bsSolid);
  if (FImages && item->ImageIndex() >= 0 && item->ImageIndex() < FImages->Count())
    FImages->Draw(canvas, kItemImageLeft, r.Top + (r.Bottom - r.Top) / 2 - FImages->Height() / 2, item->ImageIndex(),
                  true);
}

// ---------------------------------------------------------------------------
// Pointer

void TPxToolBox::Dispatch(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return;
  }
  TPxVertScrollControl::Dispatch(m);
}

void TPxToolBox::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxVertScrollControl::MouseDown(button, shift, x, y);
  if (CanFocus() && !Focused()) SetFocus();
  if (button != mbLeft) return;
  TPxToolBoxItem* entry = GetItemAtPos(x, y);
  FDownItem = entry;
  if (auto* category = dynamic_cast<TPxToolBoxCategoryItem*>(entry)) {
    category->SetExpanded(!category->Expanded());
    return;
  }
  SetSelectedItem(entry);
  if (FDownItem) RefreshItem(FDownItem);
}

void TPxToolBox::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxVertScrollControl::MouseMove(shift, x, y);
  if (FDownItem) return;
  TPxToolBoxItem* entry = GetItemAtPos(x, y);
  if (entry == FHoverItem) return;
  TPxToolBoxItem* old = FHoverItem;
  FHoverItem = entry;
  if (old && !dynamic_cast<TPxToolBoxCategoryItem*>(old)) RefreshItem(old);
  if (entry && !dynamic_cast<TPxToolBoxCategoryItem*>(entry)) RefreshItem(entry);
}

void TPxToolBox::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxVertScrollControl::MouseUp(button, shift, x, y);
  TPxToolBoxItem* old = FDownItem;
  FDownItem = nullptr;
  if (old) RefreshItem(old);
}

// Unlike other controls, the inherited handling is not run.
void TPxToolBox::CMMouseLeave(TMessage&) {
  TPxToolBoxItem* old = FHoverItem;
  FHoverItem = nullptr;
  if (old) RefreshItem(old);
}

bool TPxToolBox::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  TPxVertScrollControl::DoMouseWheelDown(shift, mousePos);
  VertScrollBar().Scroll(srLineDown, 0);
  UpdateVertScrollBar();
  return true;
}

bool TPxToolBox::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  TPxVertScrollControl::DoMouseWheelUp(shift, mousePos);
  VertScrollBar().Scroll(srLineUp, 0);
  UpdateVertScrollBar();
  return true;
}
