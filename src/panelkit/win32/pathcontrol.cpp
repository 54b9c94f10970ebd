#include "panelkit/win32/pathcontrol.h"
#include "panelkit/win32/lifeguard.h"

#include <cmath>

#include "panelkit/win32/collectionparts.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxPathControl, "PxCollection")

namespace {

// Face states of the collection drawing routines.
constexpr Integer kFaceNone = 0;
constexpr Integer kFacePressed = 1;
constexpr Integer kFaceNormal = 2;
constexpr Integer kFaceHot = 3;
// Path button states, added together.
constexpr Integer kMenuOpen = 1;
constexpr Integer kDown = 2;
constexpr Integer kButtonHot = 4;
constexpr Integer kHot = 8;
constexpr Integer kTitleHot = 16;
// A node's button around its text, and the width of an empty one.
constexpr Integer kTextPadding = 10;
constexpr Integer kTextInset = 4;
constexpr Integer kEmptyItemWidth = 40;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TPathButtonStyle>) {
  static const TEnumTypeInfo t(u"TPathButtonStyle", u"PxCollection", {u"bsDefault", u"bsOffice2007"});
  return t;
}

const TMethodTypeInfo& NodeNotifyEventType() {
  static const TMethodTypeInfo t(u"TNodeNotifyEvent", u"PxCollection", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Node", u"TPxPathNode")});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TNodeNotifyEvent>) {
  return NodeNotifyEventType();
}

TPxPathNode* TPxPathNodes::Add(TPxPathNode* parent, const String& text) {
  auto* node = static_cast<TPxPathNode*>(AddChild(parent));
  node->SetText(text);
  return node;
}

void TPxPathControl::Describe(TClassBuilder<TPxPathControl>& c) {
  using P = TPxPathControl;
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"ButtonStyle", &P::ButtonStyle, &P::SetButtonStyle).Default(bsDefault);
  publish::Caption(c);
  publish::Color(c);
  publish::Constraints(c);
  c.Property(u"EnableVisualStyles", &P::EnableVisualStyles, &P::SetEnableVisualStyles).Default(1);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Images", &P::Images, &P::SetImages);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
  c.Property(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(1);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(0);
  publish::Visible(c);
  c.Property(u"OnItemMouseMove", &P::OnItemMouseMove, &NodeNotifyEventType());
  c.Property(u"OnPopup", &P::OnPopup, &NodeNotifyEventType());
  c.Property(u"OnSelect", &P::OnSelect);
  publish::KeyboardControlEvents(c);
}

TPxPathControl::TPxPathControl(TComponent* owner)
    : TPxCollectionControl(owner), FItems(std::make_unique<TPxPathNodes>()), FPopup(new TPopupMenu(this)) {
  FItems->OnDeleted = decltype(FItems->OnDeleted)(this, &TPxPathControl::NodeDeleted);
  SetBounds(Left(), Top(), 250, 21);
}

TPxPathControl::~TPxPathControl() {
  FDestroying = true;
  if (FImages) FImages->RemoveFreeNotification(this);
  FItems->OnDeleted = {};
}

void TPxPathControl::SetButtonStyle(TPathButtonStyle value) {
  FButtonStyle = value;
  Invalidate();
}

void TPxPathControl::SetEnableVisualStyles(bool value) {
  FEnableVisualStyles = value;
  Invalidate();
}

void TPxPathControl::SetImages(TCustomImageList* value) {
  if (WatchImages(*this, FImages, value)) FPopup->SetImages(value);
}

void TPxPathControl::Notification(TComponent* component, TOperation operation) {
  TPxCollectionControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    if (FPopup) FPopup->SetImages(nullptr);
  }
}

void TPxPathControl::SetSelected(TPxPathNode* value) {
  if (value == FSelected) return;
  FSelected = value;
  DoSelect();
  Invalidate();
}

void TPxPathControl::DoSelect() {
  if (OnSelect) OnSelect(this);
}

void TPxPathControl::DoPopup(TPxPathNode* node) {
  if (OnPopup) OnPopup(this, node);
}

void TPxPathControl::DoItemMouseMove(TPxPathNode* node) {
  if (OnItemMouseMove) OnItemMouseMove(this, node);
}

void TPxPathControl::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0) Invalidate();
}

// A node leaving the list must leave no reference behind; the path falls
// back to the parent of the topmost deleted node on it.
void TPxPathControl::NodeDeleted(TPxTreeNodes*, TPxTreeNode* node) {
  if (FHoverItem == node) FHoverItem = nullptr;
  if (FDownItem == node) FDownItem = nullptr;
  if (FOldDownItem == node) FOldDownItem = nullptr;
  bool onPath = false;
  for (const TPxTreeNode* n = FSelected; n; n = n->Parent())
    if (n == node) onPath = true;
  if (!onPath) return;
  auto* parent = static_cast<TPxPathNode*>(node->Parent());
  if (FDestroying || FUpdateCount > 0) {
    FSelected = parent;
    return;
  }
  SetSelected(parent);
}

// ---------------------------------------------------------------------------
// Geometry

Integer TPxPathControl::GetButtonWidth() const {
  return static_cast<Integer>(std::nearbyint(ClientHeight() / 1.6));
}

Integer TPxPathControl::GetItemWidth(const TPxPathNode* node) {
  if (!node) return kEmptyItemWidth;
  Canvas().Font().Assign(&Font());
  Integer width = Canvas().TextWidth(node->Text()) + kTextPadding;
  if (node->HasChildren()) width += GetButtonWidth();
  return width;
}

TRect TPxPathControl::GetRootItemRect() const {
  return Rect(0, 0, kRootWidth, ClientHeight());
}

TPxPathNode* TPxPathControl::PathNode(Integer level) const {
  const TPxTreeNode* node = FSelected;
  while (node && node->Level() > level) node = node->Parent();
  return const_cast<TPxPathNode*>(static_cast<const TPxPathNode*>(node));
}

void TPxPathControl::RecalcFirstItem() {
  FFirstItem = 0;
  if (!FSelected) return;
  Integer sum = 0;
  for (Integer level = FSelected->Level(); level >= 0; --level) {
    sum += GetItemWidth(PathNode(level));
    if (sum > ClientWidth() - kRootWidth) {
      FFirstItem = level + 1;
      return;
    }
  }
}

TPxPathNode* TPxPathControl::GetItemAtPos(Integer x, Integer y) {
  TPathItemPart part = pipTitle;
  return GetItemAtPos(x, y, part);
}

TPxPathNode* TPxPathControl::GetItemAtPos(Integer x, Integer y, TPathItemPart& part) {
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight() || !FSelected) return nullptr;
  Integer left = kRootWidth;
  for (Integer level = FFirstItem; level <= FSelected->Level(); ++level) {
    TPxPathNode* node = PathNode(level);
    const Integer right = left + GetItemWidth(node);
    if (left <= x && x <= right) {
      part = node->HasChildren() && x >= right - GetButtonWidth() ? pipButton : pipTitle;
      return node;
    }
    left = right;
  }
  return nullptr;
}

TRect TPxPathControl::GetItemRect(const TPxPathNode* item) {
  if (!item || item->Level() < FFirstItem) return ClientRect();
  Integer left = kRootWidth;
  for (Integer level = FFirstItem; level < item->Level(); ++level) left += GetItemWidth(PathNode(level));
  return Rect(left, 0, left + GetItemWidth(item), ClientHeight());
}

void TPxPathControl::RefreshItem(const TPxPathNode* item) {
  if (item && HandleAllocated()) InvalidateWithoutErase(*this, GetItemRect(item));
}

// ---------------------------------------------------------------------------
// Menu

void TPxPathControl::BuildMenu(TPxPathNode* node) {
  FPopup->Items()->Clear();
  for (Integer i = 0; i < FItems->Count(); ++i) {
    TPxPathNode* candidate = FItems->Item(i);
    if (node ? candidate->Parent() != node : candidate->Level() != 0) continue;
    auto* entry = new TMenuItem(FPopup);
    entry->SetCaption(candidate->Text());
    entry->SetImageIndex(candidate->ImageIndex());
    entry->SetTag(i);
    entry->OnClick = TNotifyEvent(this, &TPxPathControl::MenuItemClick);
    FPopup->Items()->Add(entry);
  }
}

void TPxPathControl::MenuItemClick(TObject* sender) {
  const Integer index = static_cast<TComponent*>(sender)->Tag();
  if (index >= 0 && index < FItems->Count()) SetSelected(FItems->Item(index));
}

// ---------------------------------------------------------------------------
// Pointer

void TPxPathControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_SIZE:
      TPxCollectionControl::Dispatch(m);
      RecalcFirstItem();
      return;
    default: break;
  }
  TPxCollectionControl::Dispatch(m);
}

void TPxPathControl::SetRootHover(bool value) {
  if (value == FRootItemHover) return;
  FRootItemHover = value;
  if (HandleAllocated()) InvalidateWithoutErase(*this, GetRootItemRect());
}

void TPxPathControl::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseMove(shift, x, y);
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight() || FItems->Empty()) return;
  TPxPathNode* hover = nullptr;
  TPathItemPart part = pipTitle;
  if (GetRootItemRect().Contains(TPoint{x, y})) {
    SetRootHover(true);
  } else {
    SetRootHover(false);
    if (FSelected) {
      hover = GetItemAtPos(x, y, part);
      DoItemMouseMove(hover);
    }
  }
  if (hover == FHoverItem && part == FHoverItemPart) return;
  TPxPathNode* old = FHoverItem;
  FHoverItem = hover;
  FHoverItemPart = part;
  RefreshItem(hover);
  RefreshItem(old);
}

void TPxPathControl::CMMouseLeave(TMessage& m) {
  TPxCollectionControl::CMMouseLeave(m);
  TPxPathNode* old = FHoverItem;
  FHoverItem = nullptr;
  RefreshItem(old);
  SetRootHover(false);
}

void TPxPathControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseDown(button, shift, x, y);
  if (FItems->Empty()) return;
  if (GetRootItemRect().Contains(TPoint{x, y}))
    PressRoot();
  else
    PressItem(x, y);
}

void TPxPathControl::PressRoot() {
  const bool open = FFirstClick;
  FFirstClick = !FFirstClick;
  if (!open) return;
  FRootItemDown = true;
  Invalidate();
  TPxLifeGuard guard(this);
  DoPopup(nullptr);
  if (guard.Gone()) return;
  BuildMenu(nullptr);
  const TPoint at = ClientToScreen(TPoint{0, ClientHeight()});
  FPopup->Popup(at.X, at.Y);
  if (guard.Gone()) return;
  FRootItemDown = false;
  Invalidate();
  if (!GetRootItemRect().Contains(ScreenToClient(Mouse.CursorPos()))) {
    FFirstClick = true;
    SetRootHover(false);
  }
}

void TPxPathControl::PressItem(Integer x, Integer y) {
  FRootItemDown = false;
  if (!FSelected) return;
  TPathItemPart part = pipTitle;
  TPxPathNode* node = GetItemAtPos(x, y, part);
  FDownItem = node;
  FOldDownItem = node;
  if (!node) return;
  if (part == pipTitle) {
    FFirstClick = true;
    RefreshItem(node);
    return;
  }
  const bool open = FFirstClick;
  FFirstClick = !FFirstClick;
  if (!open) return;
  TPxLifeGuard guard(this);
  DoPopup(node);
  if (guard.Gone()) return;
  BuildMenu(node);
  FButtonDown = true;
  RefreshItem(node);
  const TRect r = GetItemRect(node);
  const TPoint at = ClientToScreen(TPoint{r.Right - GetButtonWidth(), r.Bottom});
  try {
    FPopup->Popup(at.X, at.Y);
  } catch (...) {
    if (guard.Alive()) {
      FButtonDown = false;
      FDownItem = nullptr;
    }
    throw;
  }
  if (guard.Gone()) return;
  FButtonDown = false;
  if (FOldDownItem) RefreshItem(FOldDownItem);
  FDownItem = nullptr;
  const TPoint cursor = ScreenToClient(Mouse.CursorPos());
  FHoverItem = GetItemAtPos(cursor.X, cursor.Y);
  FFirstClick = FHoverItem != FOldDownItem;
  RefreshItem(FHoverItem);
}

void TPxPathControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseUp(button, shift, x, y);
  if (!FSelected) return;
  FRootItemDown = false;
  TPxPathNode* down = FDownItem;
  FDownItem = nullptr;
  RefreshItem(down);
  TPathItemPart part = pipTitle;
  TPxPathNode* node = GetItemAtPos(x, y, part);
  if (node && node == down && part == pipTitle) SetSelected(node);
}

// ---------------------------------------------------------------------------
// Painting

void TPxPathControl::DrawFace(TCanvas& canvas, const TRect& rect, Integer state) {
  if (FButtonStyle == bsOffice2007)
    DrawSchemeButtonFace(canvas, rect, state);
  else if (IsThemed() && FEnableVisualStyles)
    DrawThemedButtonFace(*this, canvas, rect, state);
  else
    DrawClassicButtonFace(canvas, rect, state);
}

void TPxPathControl::DrawArrow(TCanvas& canvas, const TRect& part, bool down) {
  const Integer cx = part.Left + part.Width() / 2;
  const Integer cy = part.Top + part.Height() / 2;
  const Integer s = cx - part.Left - 4;
  const Integer h = s / 2;
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetColor(clBlack);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clBlack);
  if (down)
    canvas.Polygon({TPoint{cx - s, cy}, TPoint{cx + s, cy}, TPoint{cx, cy + s}});
  else
    canvas.Polygon({TPoint{cx - h, cy - s}, TPoint{cx + h, cy}, TPoint{cx - h, cy + s}});
}

void TPxPathControl::Paint() {
  if (FUpdateCount > 0) return;
  TCanvas& canvas = Canvas();
  const Integer width = ClientWidth();
  const Integer height = ClientHeight();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(Color());
  if (ComponentState().Contains(csDesigning) && FItems->Empty()) {
    canvas.Pen().SetStyle(psDot);
    canvas.Pen().SetColor(clGrayText);
    canvas.Rectangle(ClientRect());
    canvas.Pen().SetStyle(psSolid);
    return;
  }
  const TRect root = GetRootItemRect();
  canvas.FillRect(root);
  DrawFace(canvas, root, FRootItemHover ? (FRootItemDown ? kFacePressed : kFaceHot) : kFaceNone);
  if (FImages && FSelected) {
    const Integer index = PathNode(0)->ImageIndex();
    if (index >= 0 && index < FImages->Count())
      FImages->Draw(canvas, 2, (height - FImages->Height() + 1) / 2, index, true);
  }
  DrawArrow(canvas, Rect(root.Right - GetButtonWidth(), root.Top, root.Right, root.Bottom), FRootItemDown);
  Integer left = kRootWidth;
  if (FSelected) {
    canvas.Font().Assign(&Font());
    for (Integer level = FFirstItem; level <= FSelected->Level(); ++level) {
      TPxPathNode* node = PathNode(level);
      const TRect r = Rect(left, 0, left + GetItemWidth(node), height);
      left = r.Right;
      Integer state = 0;
      if (node == FHoverItem) {
        state = kHot + (FHoverItemPart == pipTitle ? kTitleHot : kButtonHot);
        if (node == FDownItem) state += kDown + (FButtonDown ? kMenuOpen : 0);
      }
      const bool hasChildren = node->HasChildren();
      const TRect title = Rect(r.Left, r.Top, hasChildren ? r.Right - GetButtonWidth() : r.Right, r.Bottom);
      const TRect part = Rect(title.Right, r.Top, r.Right, r.Bottom);
      if (state & kHot) {
        DrawFace(canvas, title,
                 (state & kTitleHot) && (state & kDown) ? kFacePressed
                 : (state & kTitleHot)                  ? kFaceHot
                                                        : kFaceNormal);
        if (hasChildren)
          DrawFace(canvas, part, state & kDown ? kFacePressed : (state & kButtonHot) ? kFaceHot : kFaceNormal);
      } else {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(r);
      }
      if (hasChildren) DrawArrow(canvas, part, (state & kDown) != 0);
      canvas.Brush().SetStyle(bsClear);
      DrawCaptionText(canvas, Rect(title.Left + kTextInset, title.Top, title.Right, title.Bottom), taLeftJustify,
                      node->Text(), true);
      canvas.Brush().SetStyle(bsSolid);
    }
  }
  canvas.Brush().SetColor(Color());
  if (left < width) canvas.FillRect(Rect(left, 0, width, height));
}
