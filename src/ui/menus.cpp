#include "ui/menus.h"

#include <algorithm>

#include "classes/filer.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "ui/actnlist.h"
#include "ui/controls.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TMenuItem, "Menus")
KST_CLASS_IMPL(TMenu, "Menus")
KST_CLASS_IMPL(TMainMenu, "Menus")
KST_CLASS_IMPL(TPopupMenu, "Menus")

// ---------------------------------------------------------------------------
// Short-cuts

namespace {

// The long names of keys that ShortCutToText names short.
struct KeyAlias {
  Word Key;
  const char16_t* Name;
};
const KeyAlias kKeyAliases[] = {
    {VK_BACK, u"Backspace"}, {VK_INSERT, u"Insert"}, {VK_DELETE, u"Delete"}, {VK_PRIOR, u"PageUp"},
    {VK_NEXT, u"PageDown"},  {VK_RETURN, u"Return"}, {VK_ESCAPE, u"Escape"},
};

Word TextToKey(const String& text) {
  if (text.empty()) return 0;
  for (Word key = 1; key < 256; ++key)
    if (SameText(ShortCutToText(key), text)) return key;
  for (const KeyAlias& k : kKeyAliases)
    if (SameText(text, k.Name)) return k.Key;
  return 0;
}

}  // namespace

const TOrdinalTypeInfo& ShortCutType() {
  static const TOrdinalTypeInfo t(tkInteger, u"TShortCut", u"Menus", otUWord, 0, 65535);
  return t;
}

TShortCut TextToShortCut(const String& text) {
  TShortCut modifiers = 0;
  String rest = text;
  for (bool found = true; found;) {
    found = false;
    for (auto [name, bit] : {std::pair{u"Shift+", scShift}, {u"Ctrl+", scCtrl}, {u"Alt+", scAlt}}) {
      String n = name;
      if (rest.size() > n.size() && SameText(rest.substr(0, n.size()), n)) {
        modifiers |= bit;
        rest = rest.substr(n.size());
        found = true;
      }
    }
  }
  Word key = TextToKey(rest);
  return key ? static_cast<TShortCut>(key | modifiers) : 0;
}

TShortCut ShortCutFromMessage(const TMessage& message) {
  return ShortCut(static_cast<Word>(message.WParam), KeyDataToShiftState(message.LParam));
}

String StripHotkey(const String& caption) {
  String result;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') {
        result += u'&';
        ++i;
      }
      continue;
    }
    result += caption[i];
  }
  return result;
}

const TTypeInfo& DescribeType(TypeTag<TPopupAlignment>) {
  static const TEnumTypeInfo t(u"TPopupAlignment", u"Menus", {u"paLeft", u"paRight", u"paCenter"});
  return t;
}

// ---------------------------------------------------------------------------
// Menu items

namespace {

constexpr int kImageGap = 4;
constexpr int kSeparatorHeight = 9;

// Our entries carry their item in the item data; the system's own entries
// (the MDI window list, a maximised document's buttons) carry none.
ULONG_PTR EntryData(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return 0;
  return info.dwItemData;
}

}  // namespace

void TMenuItem::Describe(TClassBuilder<TMenuItem>& c) {
  c.Property(u"Action", &TMenuItem::Action, &TMenuItem::SetAction);
  c.Property(u"AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(0);
  c.Property(u"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  c.Property(u"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(0);
  c.Property(u"Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(0);
  c.Property(u"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(1);
  c.Property(u"GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
  c.Property(u"HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext).Default(0);
  c.Property(u"Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  c.Property(u"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
  c.Property(u"ImageName", &TMenuItem::ImageName);
  c.Property(u"RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(0);
  c.Property(u"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, &ShortCutType()).Default(0);
  c.Property(u"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(1);
  c.Property(u"OnClick", &TMenuItem::OnClick);
  c.Property(u"OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem);
  c.Property(u"OnDrawItem", &TMenuItem::OnDrawItem);
  c.Property(u"OnMeasureItem", &TMenuItem::OnMeasureItem);
  c.Property(u"AutoHotkeys", &TMenuItem::AutoHotkeys).Default(maParent);
  c.Property(u"AutoLineReduction", &TMenuItem::AutoLineReduction).Default(maParent);
  c.Property(u"Bitmap", &TMenuItem::GetBitmap, &TMenuItem::SetBitmap);
  c.Property(u"Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
}

const TTypeInfo& DescribeType(TypeTag<TMenuBreak>) {
  static const TEnumTypeInfo t(u"TMenuBreak", u"Menus", {u"mbNone", u"mbBreak", u"mbBarBreak"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMenuAutoFlag>) {
  static const TEnumTypeInfo t(u"TMenuAutoFlag", u"Menus", {u"maAutomatic", u"maManual", u"maParent"});
  return t;
}

void TMenuItem::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      u"ShortCutText", [this](TReader& reader) { SetShortCut(TextToShortCut(reader.ReadString())); }, nullptr,
      false);
}

void TMenuItem::SetBreak(TMenuBreak value) {
  if (value == FBreak) return;
  FBreak = value;
  MenuChanged(true);
}

TBitmap* TMenuItem::GetBitmap() const {
  if (!FBitmap) const_cast<TMenuItem*>(this)->FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

void TMenuItem::SetBitmap(const TBitmap* bitmap) {
  GetBitmap()->Assign(bitmap);
  MenuChanged(true);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
  if (Application) FCommand = Application->AllocateMenuCommand();
}

TMenuItem::~TMenuItem() {
  Destroying();
  FActionLink.reset();
  while (!FItems.empty()) {
    TMenuItem* last = FItems.back();
    Remove(last);
    delete last;
  }
  if (FParent) FParent->Remove(this);
  ReleaseHandle();
  if (Application && FCommand) Application->ReleaseMenuCommand(FCommand);
}

void TMenuItem::ReleaseHandle() {
  if (!FHandle) return;
  // The sub-menus are the sub-items' own: taken out, not destroyed with this one.
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  DestroyMenu(FHandle);
  FHandle = nullptr;
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw EMenuError(Format(u"List index out of bounds (%d)", {index}));
  return FItems[static_cast<size_t>(index)];
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TMenuItem::MenuIndex() const {
  return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int index) {
  if (!FParent) return;
  TMenuItem* parent = FParent;
  index = std::clamp(index, 0, parent->Count() - 1);
  int current = parent->IndexOf(this);
  if (current == index) return;
  parent->FItems.erase(parent->FItems.begin() + current);
  parent->FItems.insert(parent->FItems.begin() + index, this);
  parent->MenuChanged(true);
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->FParent) throw EMenuError(u"Menu inserted twice");
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (p == item) throw EMenuError(u"Sub-menu is in menu");
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  bool first = FItems.size() == 1;
  // An item that gets its first sub-item becomes a sub-menu in its parent's menu.
  if (first && FParent) FParent->MenuChanged(true);
  MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  int index = IndexOf(item);
  if (index < 0) throw EMenuError(u"Menu item not found");
  if (FHandle)
    for (int i = GetMenuItemCount(FHandle) - 1; i >= 0; --i)
      if (EntryData(FHandle, i) == reinterpret_cast<ULONG_PTR>(item))
        RemoveMenu(FHandle, static_cast<UINT>(i), MF_BYPOSITION);
  FItems.erase(FItems.begin() + index);
  item->FParent = nullptr;
  if (!ComponentState().Contains(csDestroying)) MenuChanged(true);
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = Items(index);
  Remove(item);
  delete item;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

TMenuItem* TMenuItem::Find(const String& caption) const {
  String wanted = StripHotkey(caption);
  for (TMenuItem* item : FItems)
    if (SameText(StripHotkey(item->FCaption), wanted)) return item;
  return nullptr;
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    auto* main = dynamic_cast<TMainMenu*>(FMenu);
    FHandle = main ? CreateMenu() : CreatePopupMenu();
    if (!FHandle) throw EMenuError(u"Cannot create a menu");
    RebuildHandle();
  }
  return FHandle;
}

String TMenuItem::MenuText() const {
  String text = FCaption;
  if (FShortCut) text += u"\t" + ShortCutToText(FShortCut);
  return text;
}

void TMenuItem::RebuildHandle() {
  if (!FHandle) return;
  TMenu* menu = GetParentMenu();
  auto* main = FMenu ? dynamic_cast<TMainMenu*>(FMenu) : nullptr;
  std::vector<TMenuItem*> entries = main ? main->BarItems() : FItems;
  // The system's entries before ours stay before them, the others after.
  int leading = 0;
  int count = GetMenuItemCount(FHandle);
  while (leading < count && EntryData(FHandle, leading) == 0) ++leading;
  if (leading == count) leading = 0;
  for (int i = count - 1; i >= 0; --i)
    if (EntryData(FHandle, i) != 0) RemoveMenu(FHandle, static_cast<UINT>(i), MF_BYPOSITION);
  bool ownerDraw = menu && menu->OwnerDraw() && !main;
  int position = leading;
  for (TMenuItem* item : entries) {
    if (!item->FVisible) continue;
    String text = item->MenuText();
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
    info.fType = item->IsLine() ? MFT_SEPARATOR : 0;
    if (item->FRadioItem) info.fType |= MFT_RADIOCHECK;
    if (ownerDraw) info.fType |= MFT_OWNERDRAW;
    if (item->FBreak == mbBreak) info.fType |= MFT_MENUBREAK;
    if (item->FBreak == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
    if (!ownerDraw && item->FBitmap && !item->FBitmap->Empty()) {
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = item->FBitmap->Handle();
    }
    if (!item->IsLine()) {
      info.fMask |= MIIM_STRING;
      info.dwTypeData = const_cast<wchar_t*>(WStr(text));
    }
    info.fState =
        (item->FChecked ? MFS_CHECKED : 0) | (item->FEnabled ? 0 : MFS_GRAYED) | (item->FDefault ? MFS_DEFAULT : 0);
    info.wID = item->FCommand;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    info.hSubMenu = (item->Count() > 0 || item->FHandle) ? item->Handle() : nullptr;
    InsertMenuItemW(FHandle, static_cast<UINT>(position++), TRUE, &info);
  }
}

void TMenuItem::MenuChanged(bool rebuild) {
  if (ComponentState().Contains(csDestroying)) return;
  if (rebuild && FHandle) RebuildHandle();
  if (FParent) {
    if (FParent->FHandle) FParent->RebuildHandle();
    if (TMenu* menu = FParent->FMenu) menu->MenuChanged(this, rebuild);
  } else if (FMenu) {
    FMenu->MenuChanged(this, rebuild);
  }
}

void TMenuItem::SetCaption(const String& value) {
  if (value == FCaption) return;
  FCaption = value;
  MenuChanged(true);
}

void TMenuItem::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  // A checked radio item unchecks the others of its group.
  if (value && FRadioItem && FParent)
    for (TMenuItem* other : FParent->FItems)
      if (other != this && other->FRadioItem && other->FGroupIndex == FGroupIndex) other->FChecked = false;
  MenuChanged(false);
}

void TMenuItem::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  MenuChanged(false);
}

void TMenuItem::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool value) {
  if (value == FDefault) return;
  FDefault = value;
  MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool value) {
  if (value == FRadioItem) return;
  FRadioItem = value;
  MenuChanged(false);
}

void TMenuItem::SetGroupIndex(Byte value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  MenuChanged(true);
}

void TMenuItem::SetImageIndex(Integer value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  MenuChanged(false);
}

void TMenuItem::SetShortCut(TShortCut value) {
  if (value == FShortCut) return;
  FShortCut = value;
  MenuChanged(true);
}

TBasicAction* TMenuItem::Action() const {
  return FActionLink ? FActionLink->Action() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* action) {
  if (!action) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) {
    FActionLink = std::make_unique<TBasicActionLink>();
    FActionLink->OnChange = TNotifyEvent(this, &TMenuItem::ActionLinkChanged);
  }
  FActionLink->SetAction(action);
}

void TMenuItem::ActionLinkChanged(TObject*) {
  if (TBasicAction* action = Action()) ActionChange(action);
}

void TMenuItem::ActionChange(TBasicAction* action) {
  auto* a = dynamic_cast<TCustomAction*>(action);
  if (!a) return;
  SetCaption(a->Caption());
  SetEnabled(a->Enabled());
  SetChecked(a->Checked());
  SetHint(a->Hint());
  SetImageIndex(a->ImageIndex());
  SetShortCut(a->ShortCut());
  SetVisible(a->Visible());
  SetAutoCheck(a->AutoCheck());
  SetHelpContext(a->HelpContext());
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  TBasicAction* action = Action();
  if (FAutoCheck && !action) SetChecked(!FChecked);
  if (action && (!OnClick || OnClick == action->OnExecute))
    FActionLink->Execute(this);
  else
    OnClick(this);
}

void TMenuItem::InitiateActions() {
  if (FActionLink) FActionLink->Update();
  for (TMenuItem* item : std::vector<TMenuItem*>(FItems)) item->InitiateActions();
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (FParent) FParent->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(parent))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent))
    item->Add(this);
  else if (parent)
    throw EMenuError(Format(u"A menu item cannot be placed on %s", {parent->ClassName()}));
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  for (TMenuItem* item : FItems)
    if (item->Owner() == root) proc(item);
}

void TMenuItem::SetChildOrder(TComponent* child, int order) {
  if (auto* item = dynamic_cast<TMenuItem*>(child); item && item->FParent == this) item->SetMenuIndex(order);
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* action = Action()) ActionChange(action);
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
}

// ---------------------------------------------------------------------------
// Menus

void TMenu::Describe(TClassBuilder<TMenu>& c) {
  c.Property(u"AutoHotkeys", &TMenu::AutoHotkeys).Default(maAutomatic);
  c.Property(u"AutoLineReduction", &TMenu::AutoLineReduction).Default(maAutomatic);
  c.Property(u"Images", &TMenu::Images, &TMenu::SetImages);
  c.Property(u"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(0);
}

TMenu::TMenu(TComponent* owner)
    : TComponent(owner),
      FItems(std::make_unique<TMenuItem>(nullptr)),
      FImageChangeLink(std::make_unique<TChangeLink>()) {
  FItems->FMenu = this;
  FImageChangeLink->OnChange = TNotifyEvent(this, &TMenu::ImageListChange);
}

TMenu::~TMenu() {
  Destroying();
  SetImages(nullptr);
  FItems.reset();
}

void TMenu::SetImages(TCustomImageList* images) {
  if (!SwitchImageList(*this, FImages, images, FImageChangeLink.get())) return;
  ImageListChange(nullptr);
}

void TMenu::ImageListChange(TObject*) {
  if (FOwnerDraw && !ComponentState().Contains(csDestroying)) FItems->MenuChanged(true);
}

void TMenu::SetOwnerDraw(bool value) {
  if (value == FOwnerDraw) return;
  FOwnerDraw = value;
  // Every sub-menu takes the new kind of entries.
  std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
    if (item->FHandle) item->RebuildHandle();
    for (TMenuItem* sub : item->FItems) rebuild(sub);
  };
  rebuild(FItems.get());
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    ImageListChange(nullptr);
  }
}

void TMenu::Loaded() {
  TComponent::Loaded();
}

void TMenu::MenuChanged(TMenuItem*, bool) {}

void TMenu::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  FItems->GetChildren(proc, root);
}

void TMenu::SetChildOrder(TComponent* child, int order) {
  FItems->SetChildOrder(child, order);
}

namespace {

TMenuItem* FindInTree(TMenuItem* item, const std::function<bool(TMenuItem*)>& match) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* sub = item->Items(i);
    if (match(sub)) return sub;
    if (TMenuItem* found = FindInTree(sub, match)) return found;
  }
  return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindItem(UINT command) const {
  if (command == 0) return nullptr;
  return FindInTree(FItems.get(), [command](TMenuItem* item) { return item->Command() == command; });
}

bool TMenu::ContainsItem(const TMenuItem* item) const {
  if (!item) return false;
  return FindInTree(FItems.get(), [item](TMenuItem* i) { return i == item; }) != nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(const TMessage& message) {
  TShortCut shortCut = ShortCutFromMessage(message);
  if (!shortCut) return false;
  TMenuItem* item = FindInTree(FItems.get(), [shortCut](TMenuItem* i) { return i->ShortCut() == shortCut; });
  if (!item) return false;
  // The item's action decides first whether the item may run now.
  if (item->FActionLink) item->FActionLink->Update();
  for (TMenuItem* p = item; p && p != FItems.get(); p = p->Parent())
    if (!p->Enabled()) return false;
  item->Click();
  return true;
}

bool TMenu::InitMenuPopup(HMENU menu) {
  TMenuItem* item = FindInTree(FItems.get(), [menu](TMenuItem* i) { return i->FHandle == menu; });
  if (!item) return false;
  for (int i = 0; i < item->Count(); ++i)
    if (item->Items(i)->FActionLink) item->Items(i)->FActionLink->Update();
  return true;
}

bool TMenu::MeasureItem(MEASUREITEMSTRUCT& measure) {
  auto* item = reinterpret_cast<TMenuItem*>(measure.itemData);
  if (measure.CtlType != ODT_MENU || !ContainsItem(item)) return false;
  if (item->IsLine()) {
    measure.itemWidth = 10;
    measure.itemHeight = kSeparatorHeight;
    return true;
  }
  TBitmap scratch(1, 1);
  TCanvas& canvas = scratch.Canvas();
  if (Screen) canvas.Font().Assign(&Screen->MenuFont());
  TSize text = canvas.TextExtent(StripHotkey(item->Caption()));
  Integer imageWidth = FImages ? FImages->Width() : 16;
  Integer imageHeight = FImages ? FImages->Height() : 16;
  Integer width = kImageGap + imageWidth + 2 * kImageGap + text.cx;
  if (item->ShortCut()) width += 3 * kImageGap + canvas.TextExtent(ShortCutToText(item->ShortCut())).cx;
  measure.itemWidth = static_cast<UINT>(width + kImageGap);
  measure.itemHeight = static_cast<UINT>(std::max(imageHeight + 4, text.cy + 6));
  return true;
}

bool TMenu::DrawItem(const DRAWITEMSTRUCT& draw) {
  auto* item = reinterpret_cast<TMenuItem*>(draw.itemData);
  if (draw.CtlType != ODT_MENU || !ContainsItem(item)) return false;
  TCanvas canvas;
  canvas.SetHandle(draw.hDC);
  try {
    TRect r = FromRECT(draw.rcItem);
    bool selected = (draw.itemState & ODS_SELECTED) != 0;
    bool enabled = item->Enabled() && (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) == 0;
    canvas.Brush().SetColor(selected && enabled ? clHighlight : clMenu);
    canvas.FillRect(r);
    if (item->IsLine()) {
      RECT line = ToRECT(r);
      line.top += (r.Height() - 2) / 2;
      line.bottom = line.top + 2;
      line.left += kImageGap;
      line.right -= kImageGap;
      DrawEdge(draw.hDC, &line, EDGE_ETCHED, BF_TOP);
      canvas.SetHandle(nullptr);
      return true;
    }
    Integer imageWidth = FImages ? FImages->Width() : 16;
    Integer imageHeight = FImages ? FImages->Height() : 16;
    TRect imageRect = Bounds(r.Left + kImageGap, r.Top + (r.Height() - imageHeight) / 2, imageWidth, imageHeight);
    if (FImages && item->ImageIndex() >= 0 && item->ImageIndex() < FImages->Count()) {
      if (item->Checked()) {
        TRect frame = imageRect;
        frame.Inflate(1, 1);
        RECT f = ToRECT(frame);
        DrawEdge(draw.hDC, &f, BDR_SUNKENOUTER, BF_RECT);
      }
      FImages->Draw(canvas, imageRect.Left, imageRect.Top, item->ImageIndex(), enabled);
    } else if (item->Checked()) {
      RECT mark = ToRECT(imageRect);
      DrawFrameControl(draw.hDC, &mark, DFC_MENU, item->RadioItem() ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
    if (Screen) canvas.Font().Assign(&Screen->MenuFont());
    canvas.Font().SetColor(!enabled ? clGrayText : selected ? clHighlightText : clMenuText);
    canvas.Brush().SetStyle(bsClear);
    TRect textRect = r;
    textRect.Left = imageRect.Right + 2 * kImageGap;
    textRect.Right -= kImageGap;
    UINT flags = DT_SINGLELINE | DT_VCENTER | ((draw.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
    canvas.DrawText(item->Caption(), textRect, flags | DT_LEFT);
    if (item->ShortCut()) canvas.DrawText(ShortCutToText(item->ShortCut()), textRect, flags | DT_RIGHT | DT_NOPREFIX);
  } catch (...) {
    canvas.SetHandle(nullptr);
    throw;
  }
  canvas.SetHandle(nullptr);
  return true;
}

// ---------------------------------------------------------------------------
// Main menu

void TMainMenu::Describe(TClassBuilder<TMainMenu>& c) {
  c.Property(u"AutoMerge", &TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge).Default(0);
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  Destroying();
  if (FMergedInto) FMergedInto->Unmerge(this);
  if (FMerged) Unmerge(FMerged);
  // The window lets go of the bar before the bar goes.
  if (FWindowHandle && IsWindow(FWindowHandle) && ::GetMenu(FWindowHandle) == FItems->FHandle && FItems->FHandle)
    ::SetMenu(FWindowHandle, nullptr);
}

void TMainMenu::SetWindowHandle(HWND window) {
  FWindowHandle = window;
}

std::vector<TMenuItem*> TMainMenu::BarItems() const {
  std::vector<TMenuItem*> result;
  std::vector<TMenuItem*> merged;
  if (FMerged)
    for (TMenuItem* item : FMerged->FItems->FItems)
      if (item->Visible()) merged.push_back(item);
  for (TMenuItem* item : FItems->FItems) {
    bool replaced = std::any_of(merged.begin(), merged.end(),
                                [item](TMenuItem* m) { return m->GroupIndex() == item->GroupIndex(); });
    if (!replaced) result.push_back(item);
  }
  for (TMenuItem* item : merged) {
    auto at = std::find_if(result.begin(), result.end(),
                           [item](TMenuItem* r) { return r->GroupIndex() > item->GroupIndex(); });
    result.insert(at, item);
  }
  return result;
}

TMenuItem* TMainMenu::FindBarItem(UINT command) const {
  if (TMenuItem* item = FindItem(command)) return item;
  return FMerged ? FMerged->FindItem(command) : nullptr;
}

void TMainMenu::Merge(TMainMenu* menu) {
  if (menu == FMerged || menu == this) return;
  if (FMerged) {
    FMerged->FMergedInto = nullptr;
    FMerged->RemoveFreeNotification(this);
  }
  FMerged = menu;
  if (menu) {
    if (menu->FMergedInto && menu->FMergedInto != this) menu->FMergedInto->Unmerge(menu);
    menu->FMergedInto = this;
    menu->FreeNotification(this);
  }
  RebuildBar();
}

void TMainMenu::Unmerge(TMainMenu* menu) {
  if (!menu || menu != FMerged) return;
  // The merged entries leave the bar; their sub-menus stay their items'.
  if (FItems->FHandle)
    for (int i = GetMenuItemCount(FItems->FHandle) - 1; i >= 0; --i) {
      auto* item = reinterpret_cast<TMenuItem*>(EntryData(FItems->FHandle, i));
      if (item && item->FParent == menu->FItems.get()) RemoveMenu(FItems->FHandle, static_cast<UINT>(i), MF_BYPOSITION);
    }
  menu->FMergedInto = nullptr;
  menu->RemoveFreeNotification(this);
  FMerged = nullptr;
  RebuildBar();
}

void TMainMenu::RebuildBar() {
  if (ComponentState().Contains(csDestroying)) return;
  if (FItems->FHandle) FItems->RebuildHandle();
  if (FWindowHandle && IsWindow(FWindowHandle)) DrawMenuBar(FWindowHandle);
  OnChange(this);
}

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuild) {
  if (FMergedInto) {
    FMergedInto->RebuildBar();
    return;
  }
  if (source && source->FParent == FItems.get() && rebuild) FItems->RebuildHandle();
  if (FWindowHandle && IsWindow(FWindowHandle) && FItems->FHandle) DrawMenuBar(FWindowHandle);
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FMerged) Unmerge(FMerged);
  if (component == FMergedInto) FMergedInto = nullptr;
}

// ---------------------------------------------------------------------------
// Pop-up menus

void TPopupMenu::Describe(TClassBuilder<TPopupMenu>& c) {
  c.Property(u"Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
  c.Property(u"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(1);
  c.Property(u"OnPopup", &TPopupMenu::OnPopup);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
  Destroying();
  if (FWindow) DeallocateHWnd(FWindow);
  FWindow = nullptr;
}

HWND TPopupMenu::WindowHandle() {
  if (!FWindow) FWindow = AllocateHWnd(TWndMethod(this, &TPopupMenu::WndProc));
  return FWindow;
}

void TPopupMenu::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MEASUREITEM:
      if (MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) {
        m.Result = 1;
        return;
      }
      break;
    case WM_DRAWITEM:
      if (DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam))) {
        m.Result = 1;
        return;
      }
      break;
    case WM_INITMENUPOPUP:
      InitMenuPopup(reinterpret_cast<HMENU>(m.WParam));
      m.Result = 0;
      return;
    default: break;
  }
  m.Result = DefWindowProcW(FWindow, m.Msg, m.WParam, m.LParam);
}

void TPopupMenu::DoPopup(TObject* sender) {
  OnPopup(sender);
}

void TPopupMenu::Popup(Integer x, Integer y) {
  FPopupPoint = {x, y};
  DoPopup(this);
  FItems->InitiateActions();
  HMENU menu = Handle();
  FItems->RebuildHandle();
  UINT command = 0;
  if (TrackHook) {
    command = TrackHook(*this);
  } else {
    UINT align = FAlignment == paRight ? TPM_RIGHTALIGN : FAlignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    command = static_cast<UINT>(
        TrackPopupMenu(menu, align | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, WindowHandle(), nullptr));
  }
  if (command) DispatchCommand(command);
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  if (component == FPopupComponent) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = component;
  if (component) component->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}
