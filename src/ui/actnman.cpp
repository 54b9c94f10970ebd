#include "ui/actnman.h"

#include "ui/db.h"
#include "ui/imglist.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TCommandProperties, "ActnMan")
KST_CLASS_IMPL(TActionClientItem, "ActnMan")
KST_CLASS_IMPL(TActionClients, "ActnMan")
KST_CLASS_IMPL(TActionBarItem, "ActnMan")
KST_CLASS_IMPL(TActionBars, "ActnMan")
KST_CLASS_IMPL(TActionListItem, "ActnMan")
KST_CLASS_IMPL(TActionListCollection, "ActnMan")
KST_CLASS_IMPL(TActionManager, "ActnMan")
KST_CLASS_IMPL(TActionBarColorMap, "ActnMan")
KST_CLASS_IMPL(TCustomActionBar, "ActnMan")
KST_CLASS_IMPL(TActionToolBar, "ActnCtrls")
KST_CLASS_IMPL(TActionMainMenuBar, "ActnMenus")
KST_CLASS_IMPL(TPopupActionBar, "ActnPopup")

const TTypeInfo& DescribeType(TypeTag<TChangesAllowed>) {
  static const TEnumTypeInfo t(u"TChangesAllowed", u"ActnMan", {u"caModify", u"caMove", u"caDelete"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TChangesAllowedSet>) {
  static const TSetTypeInfo t(u"TChangesAllowedSet", u"ActnMan",
                              static_cast<const TEnumTypeInfo&>(DescribeType(TypeTag<TChangesAllowed>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCommandStyle>) {
  static const TEnumTypeInfo t(u"TCommandStyle", u"ActnMan",
                               {u"csStandard", u"csSeparator", u"csMenu", u"csButton", u"csComboBox", u"csControl",
                                u"csText"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TActionManagerState>) {
  static const TEnumTypeInfo t(u"TActionManagerState", u"ActnMan", {u"asNormal", u"asSuspended", u"asSuspendedEnabled"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBarOrientation>) {
  static const TEnumTypeInfo t(u"TBarOrientation", u"ActnMan",
                               {u"boLeftToRight", u"boRightToLeft", u"boTopToBottom", u"boBottomToTop"});
  return t;
}

namespace {

// The manager a bar item or client item belongs to, up through its owners.
TActionManager* ManagerOf(const TPersistent* persistent) {
  for (const TPersistent* p = persistent; p; p = p->GetOwner())
    if (auto* manager = dynamic_cast<const TActionManager*>(p)) return const_cast<TActionManager*>(manager);
  return nullptr;
}

// Follows a component from a collection item: the manager hears of its going.
template <class C>
void FollowFromItem(const TPersistent& item, C*& field, C* value) {
  TActionManager* manager = ManagerOf(&item);
  if (field && manager) field->RemoveFreeNotification(manager);
  field = value;
  if (field && manager) field->FreeNotification(manager);
}

void ForgetInClients(TActionClients& clients, TComponent* component) {
  for (int i = 0; i < clients.Count(); ++i) clients.Items(i)->ActionGone(component);
}

}  // namespace

// ---------------------------------------------------------------------------
// Clients

void TCommandProperties::Describe(TClassBuilder<TCommandProperties>& c) {
  c.Property(u"LabelWidth", &TCommandProperties::LabelWidth).Default(0);
  c.Property(u"Width", &TCommandProperties::Width).Default(0);
}

void TCommandProperties::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TCommandProperties*>(source)) {
    Width = other->Width;
    LabelWidth = other->LabelWidth;
    return;
  }
  TPersistent::Assign(source);
}

void TActionClientItem::Describe(TClassBuilder<TActionClientItem>& c) {
  c.Property(u"Action", &TActionClientItem::Action, &TActionClientItem::SetAction);
  c.Property(u"Caption", &TActionClientItem::Caption);
  c.Property(u"ChangesAllowed", &TActionClientItem::ChangesAllowed);
  c.Property(u"CommandProperties", &TActionClientItem::CommandProperties);
  c.Property(u"CommandStyle", &TActionClientItem::CommandStyle).Default(actnman::csStandard);
  c.Property(u"ImageIndex", &TActionClientItem::ImageIndex).Default(-1);
  c.Property(u"Items", &TActionClientItem::GetItems, &TActionClientItem::SetItems);
  c.Property(u"KeyTip", &TActionClientItem::KeyTip);
  c.Property(u"LastSession", &TActionClientItem::LastSession);
  c.Property(u"ShortCut", &TActionClientItem::ShortCut, &ShortCutType()).Default(0);
  c.Property(u"ShowCaption", &TActionClientItem::ShowCaption).Default(1);
  c.Property(u"ShowGlyph", &TActionClientItem::ShowGlyph).Default(1);
  c.Property(u"ShowShortCut", &TActionClientItem::ShowShortCut).Default(1);
  c.Property(u"Tag", &TActionClientItem::Tag).Default(0);
  c.Property(u"UsageCount", &TActionClientItem::UsageCount).Default(0);
  c.Property(u"Visible", &TActionClientItem::Visible).Default(1);
}

TActionClientItem::TActionClientItem(TCollection* collection)
    : TCollectionItem(collection),
      FItems(std::make_unique<TActionClients>(this)),
      FCommandProperties(std::make_unique<TCommandProperties>()) {}

TActionClientItem::~TActionClientItem() {
  SetAction(nullptr);
}

void TActionClientItem::SetAction(TContainedAction* action) {
  FollowFromItem(*this, FAction, action);
}

void TActionClientItem::SetItems(const TActionClients* items) {
  if (items) FItems->Assign(items);
}

String TActionClientItem::ShownCaption() const {
  if (!Caption.empty() || !FAction) return Caption;
  auto* action = dynamic_cast<const TCustomAction*>(FAction);
  return action ? action->Caption() : String();
}

String TActionClientItem::DisplayName() const {
  const String caption = ShownCaption();
  return caption.empty() ? TCollectionItem::DisplayName() : caption;
}

void TActionClientItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TActionClientItem*>(source)) {
    Caption = other->Caption;
    KeyTip = other->KeyTip;
    LastSession = other->LastSession;
    ImageIndex = other->ImageIndex;
    Tag = other->Tag;
    UsageCount = other->UsageCount;
    ShortCut = other->ShortCut;
    Visible = other->Visible;
    ShowCaption = other->ShowCaption;
    ShowGlyph = other->ShowGlyph;
    ShowShortCut = other->ShowShortCut;
    ChangesAllowed = other->ChangesAllowed;
    CommandStyle = other->CommandStyle;
    FCommandProperties->Assign(other->FCommandProperties.get());
    SetAction(other->FAction);
    FItems->Assign(other->FItems.get());
    return;
  }
  TCollectionItem::Assign(source);
}

void TActionClientItem::ActionGone(TComponent* action) {
  if (FAction == action) FAction = nullptr;
  ForgetInClients(*FItems, action);
}

void TActionClients::Describe(TClassBuilder<TActionClients>&) {}

TActionClients::TActionClients(TPersistent* owner) : TOwnedCollection(owner, TActionClientItem::StaticClass()) {}

// ---------------------------------------------------------------------------
// Bars of the manager

void TActionBarItem::Describe(TClassBuilder<TActionBarItem>& c) {
  c.Property(u"ActionBar", &TActionBarItem::ActionBar, &TActionBarItem::SetActionBar);
  c.Property(u"AutoSize", &TActionBarItem::AutoSize).Default(1);
  c.Property(u"Caption", &TActionBarItem::Caption);
  c.Property(u"ChangesAllowed", &TActionBarItem::ChangesAllowed);
  c.Property(u"Color", &TActionBarItem::Color, &types::Color()).Default(clDefault);
  c.Property(u"ContextItems", &TActionBarItem::GetContextItems, &TActionBarItem::SetContextItems);
  c.Property(u"Items", &TActionBarItem::GetItems, &TActionBarItem::SetItems);
  c.Property(u"Visible", &TActionBarItem::Visible).Default(1);
}

TActionBarItem::TActionBarItem(TCollection* collection)
    : TCollectionItem(collection),
      FItems(std::make_unique<TActionClients>(this)),
      FContextItems(std::make_unique<TActionClients>(this)) {}

TActionBarItem::~TActionBarItem() {
  SetActionBar(nullptr);
}

void TActionBarItem::SetActionBar(TCustomActionBar* bar) {
  FollowFromItem(*this, FActionBar, bar);
  Changed(false);
}

void TActionBarItem::SetItems(const TActionClients* items) {
  if (items) FItems->Assign(items);
}
void TActionBarItem::SetContextItems(const TActionClients* items) {
  if (items) FContextItems->Assign(items);
}

void TActionBarItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TActionBarItem*>(source)) {
    Caption = other->Caption;
    AutoSize = other->AutoSize;
    Visible = other->Visible;
    Color = other->Color;
    ChangesAllowed = other->ChangesAllowed;
    SetActionBar(other->FActionBar);
    FItems->Assign(other->FItems.get());
    FContextItems->Assign(other->FContextItems.get());
    return;
  }
  TCollectionItem::Assign(source);
}

void TActionBars::Describe(TClassBuilder<TActionBars>&) {}

TActionBars::TActionBars(TActionManager* manager) : TOwnedCollection(manager, TActionBarItem::StaticClass()) {}

void TActionBars::Update(TCollectionItem*) {
  for (int i = 0; i < Count(); ++i)
    if (TCustomActionBar* bar = Items(i)->ActionBar()) bar->Invalidate();
}

void TActionListItem::Describe(TClassBuilder<TActionListItem>& c) {
  c.Property(
      u"ActionList", [](const TActionListItem& o) { return o.ActionList; },
      [](TActionListItem& o, TCustomActionList* v) { FollowFromItem(o, o.ActionList, v); });
  c.Property(u"Caption", &TActionListItem::Caption);
}

void TActionListCollection::Describe(TClassBuilder<TActionListCollection>&) {}

TActionListCollection::TActionListCollection(TActionManager* manager)
    : TOwnedCollection(manager, TActionListItem::StaticClass()) {}

// ---------------------------------------------------------------------------
// Manager

void TActionManager::Describe(TClassBuilder<TActionManager>& c) {
  c.Property(u"ActionBars", &TActionManager::GetActionBars, &TActionManager::SetActionBars);
  c.Property(u"FileName", &TActionManager::FileName);
  c.Property(
      u"LargeImages", [](const TActionManager& o) { return o.LargeImages; },
      [](TActionManager& o, TCustomImageList* v) { FollowComponent(o, o.LargeImages, v); });
  c.Property(u"LinkedActionLists", &TActionManager::GetLinkedActionLists, &TActionManager::SetLinkedActionLists);
  c.Property(u"PrioritySchedule", &TActionManager::GetPrioritySchedule, &TActionManager::SetPrioritySchedule);
  c.Property(u"State", &TActionManager::State).Default(actnman::asNormal);
  c.Property(u"StyleName", &TActionManager::StyleName);
}

TActionManager::TActionManager(TComponent* owner)
    : TActionList(owner),
      FActionBars(std::make_unique<TActionBars>(this)),
      FLinkedActionLists(std::make_unique<TActionListCollection>(this)),
      FPrioritySchedule(std::make_unique<TStringList>()) {}

TActionManager::~TActionManager() {
  // The items let go of what they follow while the manager still stands.
  FActionBars->Clear();
  FLinkedActionLists->Clear();
}

void TActionManager::SetActionBars(const TActionBars* bars) {
  if (bars) FActionBars->Assign(bars);
}
void TActionManager::SetLinkedActionLists(const TActionListCollection* lists) {
  if (lists) FLinkedActionLists->Assign(lists);
}
void TActionManager::SetPrioritySchedule(const TStrings* schedule) {
  if (schedule) FPrioritySchedule->Assign(*schedule);
}

TActionBarItem* TActionManager::FindItemFor(const TCustomActionBar* bar) const {
  for (int i = 0; i < FActionBars->Count(); ++i)
    if (FActionBars->Items(i)->ActionBar() == bar) return FActionBars->Items(i);
  return nullptr;
}

void TActionManager::Notification(TComponent* component, TOperation operation) {
  TActionList::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == LargeImages) LargeImages = nullptr;
  if (!FActionBars) return;
  for (int i = 0; i < FActionBars->Count(); ++i) {
    TActionBarItem* item = FActionBars->Items(i);
    if (item->ActionBar() == component) item->BarGone();
    ForgetInClients(*item->GetItems(), component);
    ForgetInClients(*item->GetContextItems(), component);
  }
  for (int i = 0; i < FLinkedActionLists->Count(); ++i) {
    auto* linked = static_cast<TActionListItem*>(FLinkedActionLists->Items(i));
    if (linked->ActionList == component) linked->ActionList = nullptr;
  }
}

// ---------------------------------------------------------------------------
// Bars

void TActionBarColorMap::Describe(TClassBuilder<TActionBarColorMap>& c) {
#define KST_COLOR(name, value) \
  c.Property(u## #name, &TActionBarColorMap::name, &types::Color()).Default(value)
  KST_COLOR(BtnFrameColor, clDefault);
  KST_COLOR(BtnSelectedColor, clBtnFace);
  KST_COLOR(BtnSelectedFont, clWindowText);
  KST_COLOR(Color, clBtnFace);
  KST_COLOR(DisabledColor, clDefault);
  KST_COLOR(DisabledFontColor, clGrayText);
  KST_COLOR(DisabledFontShadow, clBtnHighlight);
  KST_COLOR(FontColor, clWindowText);
  KST_COLOR(FrameBottomRightInner, clBtnShadow);
  KST_COLOR(FrameBottomRightOuter, clBtnShadow);
  KST_COLOR(FrameTopLeftInner, clBtnHighlight);
  KST_COLOR(FrameTopLeftOuter, clBtnHighlight);
  KST_COLOR(HighlightColor, clHighlight);
  KST_COLOR(HotColor, clDefault);
  KST_COLOR(HotFontColor, clDefault);
  KST_COLOR(MenuColor, clMenu);
  KST_COLOR(SelectedColor, clHighlight);
  KST_COLOR(SelectedFontColor, clHighlightText);
  KST_COLOR(ShadowColor, clBtnShadow);
  KST_COLOR(UnusedColor, clWhite);
#undef KST_COLOR
}

void TCustomActionBar::Describe(TClassBuilder<TCustomActionBar>& c) {
  publish::WinControlBundle(c);
  c.Property(u"ActionManager", &TCustomActionBar::ActionManager, &TCustomActionBar::SetActionManager);
  c.Property(u"AllowHiding", &TCustomActionBar::AllowHiding).Default(1);
  publish::Caption(c);
  c.Property(u"ColorMap", &TCustomActionBar::GetColorMap, &TCustomActionBar::SetColorMap);
  c.Property(u"EdgeBorders", &TCustomActionBar::EdgeBorders);
  c.Property(u"EdgeInner", &TCustomActionBar::EdgeInner).Default(esRaised);
  c.Property(u"EdgeOuter", &TCustomActionBar::EdgeOuter).Default(esLowered);
  c.Property(u"HorzMargin", &TCustomActionBar::HorzMargin).Default(1);
  c.Property(u"Orientation", &TCustomActionBar::Orientation).Default(actnman::boLeftToRight);
  c.Property(u"PersistentHotKeys", &TCustomActionBar::PersistentHotKeys).Default(0);
  c.Property(u"Spacing", &TCustomActionBar::Spacing).Default(0);
  c.Property(u"VertMargin", &TCustomActionBar::VertMargin).Default(1);
  publish::ResizeEvents(c);
}

TCustomActionBar::TCustomActionBar(TComponent* owner)
    : TCustomControl(owner), FColorMap(std::make_unique<TActionBarColorMap>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  SetColor(clBtnFace);
  SetBounds(Left(), Top(), 150, 26);
  SetAlign(alTop);
}

TCustomActionBar::~TCustomActionBar() {
  SetActionManager(nullptr);
}

void TCustomActionBar::SetActionManager(TActionManager* manager) {
  FollowComponent(*this, FActionManager, manager);
  Invalidate();
}

void TCustomActionBar::SetColorMap(const TActionBarColorMap* map) {
  if (map) FColorMap->Assign(map);
}

std::vector<std::pair<TRect, TActionClientItem*>> TCustomActionBar::Entries() {
  std::vector<std::pair<TRect, TActionClientItem*>> entries;
  TActionBarItem* item = FActionManager ? FActionManager->FindItemFor(this) : nullptr;
  if (!item) return entries;
  Canvas().Font().Assign(&Font());
  const bool vertical =
      Orientation == actnman::boTopToBottom || Orientation == actnman::boBottomToTop;
  Integer at = vertical ? VertMargin : HorzMargin;
  for (int i = 0; i < item->GetItems()->Count(); ++i) {
    TActionClientItem* client = item->GetItems()->Items(i);
    if (!client->Visible) continue;
    const bool separator = client->CommandStyle == actnman::csSeparator || client->ShownCaption() == u"-";
    const Integer size = separator ? 6 : Canvas().TextWidth(client->ShownCaption()) + EntryPadding();
    const TRect box = vertical ? Rect(HorzMargin, at, ClientWidth() - HorzMargin, at + Canvas().TextHeight(u"Ag") + 8)
                               : Rect(at, VertMargin, at + size, ClientHeight() - VertMargin);
    entries.emplace_back(box, client);
    at += (vertical ? box.Height() : size) + Spacing;
  }
  return entries;
}

void TCustomActionBar::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(FColorMap->Color);
  canvas.FillRect(ClientRect());
  TCustomImageList* images = FActionManager ? FActionManager->Images() : nullptr;
  for (const auto& [box, client] : Entries()) {
    canvas.Font().Assign(&Font());
    canvas.Font().SetColor(FColorMap->FontColor);
    if (client->CommandStyle == actnman::csSeparator || client->ShownCaption() == u"-") {
      canvas.Pen().SetColor(clBtnShadow);
      canvas.MoveTo(box.Left + 2, box.Top + 2);
      canvas.LineTo(box.Left + 2, box.Bottom - 2);
      continue;
    }
    Integer x = box.Left + EntryPadding() / 2;
    const Integer index = client->ImageIndex >= 0 ? client->ImageIndex
                          : dynamic_cast<TCustomAction*>(client->Action())
                              ? static_cast<TCustomAction*>(client->Action())->ImageIndex()
                              : -1;
    if (images && client->ShowGlyph && index >= 0 && index < images->Count()) {
      images->Draw(canvas, box.Left + 2, box.Top + (box.Height() - images->Height()) / 2, index);
      x = box.Left + images->Width() + 6;
    }
    if (!client->ShowCaption) continue;
    // The "&" of a caption underlines its hot key, as in a menu.
    canvas.Brush().SetStyle(bsClear);
    TRect text = Rect(x, box.Top, box.Right, box.Bottom);
    canvas.DrawText(client->ShownCaption(), text, DT_SINGLELINE | DT_VCENTER);
    canvas.Brush().SetStyle(bsSolid);
  }
}

void TCustomActionBar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FActionManager) FActionManager = nullptr;
}

void TActionToolBar::Describe(TClassBuilder<TActionToolBar>&) {}

TActionToolBar::TActionToolBar(TComponent* owner) : TCustomActionBar(owner) {}

void TActionMainMenuBar::Describe(TClassBuilder<TActionMainMenuBar>& c) {
  c.Property(u"UseSystemFont", &TActionMainMenuBar::UseSystemFont).Default(1);
}

TActionMainMenuBar::TActionMainMenuBar(TComponent* owner) : TCustomActionBar(owner) {
  GetColorMap()->Color = clMenu;
  SetBounds(Left(), Top(), 150, 24);
}

void TActionMainMenuBar::Paint() {
  TCustomActionBar::Paint();
}

void TPopupActionBar::Describe(TClassBuilder<TPopupActionBar>&) {}

void RegisterActionManagerClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TCommandProperties::StaticClass(), &TActionClientItem::StaticClass(), &TActionClients::StaticClass(),
                            &TActionBarItem::StaticClass(), &TActionBars::StaticClass(),
                            &TActionListItem::StaticClass(), &TActionListCollection::StaticClass(),
                            &TActionManager::StaticClass(), &TActionBarColorMap::StaticClass(),
                            &TActionToolBar::StaticClass(), &TActionMainMenuBar::StaticClass(),
                            &TPopupActionBar::StaticClass()},
                           u"ui");
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TChangesAllowed>{}), &DescribeType(TypeTag<TChangesAllowedSet>{}),
        &DescribeType(TypeTag<TCommandStyle>{}), &DescribeType(TypeTag<TActionManagerState>{}),
        &DescribeType(TypeTag<TBarOrientation>{})})
    registry.RegisterType(*type);
}
