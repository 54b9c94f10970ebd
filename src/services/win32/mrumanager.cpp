#include "services/win32/mrumanager.h"

#include "classes/reflection.h"
#include "services/win32/utwin32.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TSvMRUManager, "SvMRUManager")

namespace {
const TParamFlags kConst = ParamFlagBit(pfConst);
}  // namespace

const TTypeInfo& DescribeType(TypeTag<TClickMenuEvent>) {
  static const TMethodTypeInfo t(u"TClickMenuEvent", u"SvMRUManager", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"RecentName", u"string", kConst),
                                  Param(u"Caption", u"string", kConst), Param(u"UserData", u"Integer")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGetItemEvent>) {
  static const TMethodTypeInfo t(u"TGetItemEvent", u"SvMRUManager", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Caption", u"string", kVarParam),
                                  Param(u"ShortCut", u"TShortCut", kVarParam), Param(u"UserData", u"Integer")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TReadItemEvent>) {
  static const TMethodTypeInfo t(
      u"TReadItemEvent", u"SvMRUManager", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"AppStorage", u"TSvCustomAppStorage"), Param(u"Path", u"string", kConst),
       Param(u"Index", u"Integer"), Param(u"RecentName", u"string", kVarParam), Param(u"UserData", u"Integer", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TWriteItemEvent>) {
  static const TMethodTypeInfo t(
      u"TWriteItemEvent", u"SvMRUManager", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"AppStorage", u"TSvCustomAppStorage"), Param(u"Path", u"string", kConst),
       Param(u"Index", u"Integer"), Param(u"RecentName", u"string", kConst), Param(u"UserData", u"Integer")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGetItemInfoEvent>) {
  static const TMethodTypeInfo t(u"TGetItemInfoEvent", u"SvMRUManager", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Item", u"TMenuItem")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGetItemInfoExEvent>) {
  static const TMethodTypeInfo t(
      u"TGetItemInfoExEvent", u"SvMRUManager", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Item", u"TMenuItem"), Param(u"Index", u"Integer")});
  return t;
}

void TSvMRUManager::Describe(TClassBuilder<TSvMRUManager>& c) {
  using M = TSvMRUManager;
  c.Property(u"Duplicates", &M::Duplicates, &M::SetDuplicates);
  c.Property(u"AccelDelimiter", &M::AccelDelimiter, &M::SetAccelDelimiter).Default(adTab);
  c.Property(u"AutoEnable", &M::AutoEnable, &M::SetAutoEnable).Default(1);
  c.Property(u"AutoUpdate", &M::AutoUpdate, &M::SetAutoUpdate).Default(1);
  c.Property(u"MaxLength", &M::MaxLength, &M::SetMaxLength).Default(0);
  c.Property(u"StartEllipsis", &M::StartEllipsis, &M::SetStartEllipsis).Default(0);
  c.Property(u"Capacity", &M::Capacity, &M::SetCapacity).Default(kDefaultRecentCapacity);
  c.Property(u"MenuLocation", &M::MenuLocation, &M::SetMenuLocation).Default(mruChild);
  c.Property(u"Mode", &M::Mode, &M::SetMode).Default(rmInsert);
  c.Property(u"RemoveOnSelect", &M::RemoveOnSelect, &M::SetRemoveOnSelect).Default(0);
  c.Property(u"IniStorage", &M::IniStorage, &M::SetIniStorage);
  c.Property(u"SeparateSize", &M::SeparateSize, &M::SetSeparateSize).Default(0);
  c.Property(u"RecentMenu", &M::RecentMenu, &M::SetRecentMenu);
  c.Property(u"ShowAccelChar", &M::ShowAccelChar, &M::SetShowAccelChar).Default(1);
  c.Property(u"StartAccel", &M::StartAccel, &M::SetStartAccel).Default(1);
  c.Property(u"OnChange", &M::OnChange);
  c.Property(u"OnClick", &M::OnClick);
  c.Property(u"OnGetItemData", &M::OnGetItemData);
  c.Property(u"OnReadItem", &M::OnReadItem);
  c.Property(u"OnWriteItem", &M::OnWriteItem);
  c.Property(u"OnBeforeUpdate", &M::OnBeforeUpdate);
  c.Property(u"OnAfterUpdate", &M::OnAfterUpdate);
  c.Property(u"OnGetItemInfo", &M::OnGetItemInfo);
  c.Property(u"OnGetItemInfoEx", &M::OnGetItemInfoEx);
}

TSvMRUManager::TSvMRUManager(TComponent* owner)
    : TSvComponent(owner), FStrings(std::make_unique<TSvRecentStrings>()), FIniLink(std::make_unique<TSvIniLink>()) {
  FStrings->OnChange = TNotifyEvent(this, &TSvMRUManager::StringsChanged);
  FIniLink->OnSave = TNotifyEvent(this, &TSvMRUManager::IniSave);
  FIniLink->OnLoad = TNotifyEvent(this, &TSvMRUManager::IniLoad);
}

TSvMRUManager::~TSvMRUManager() {
  FClickDepth = 0;
  FreeItems();
  FIniLink.reset();
  FStrings->OnChange = nullptr;
  FStrings.reset();
  if (FRecentMenu != nullptr) FRecentMenu->RemoveFreeNotification(this);
}

// ---- The list ----

void TSvMRUManager::Add(const String& recentName, Integer userData) {
  if (FDuplicates != dupAccept && FStrings->IndexOf(recentName) >= 0) {
    if (FDuplicates == dupError) throw ESvcException(kSvDuplicatesInMRU);
    return;
  }
  // One change: the list is told (and the menu rebuilt) once, when the
  // entry, its data and the cut to the capacity are all in place.
  FStrings->BeginUpdate();
  try {
    const Integer index = FStrings->Add(recentName);
    FStrings->SetUserData(index, userData);
  } catch (...) {
    FStrings->EndUpdate();
    throw;
  }
  FStrings->EndUpdate();
}

void TSvMRUManager::Remove(const String& recentName) {
  FStrings->Remove(recentName);
}

void TSvMRUManager::Clear() {
  FStrings->Clear();
}

void TSvMRUManager::RemoveInvalid() {
  for (Integer i = FStrings->Count() - 1; i >= 0; --i) {
    const DWORD attributes = GetFileAttributesW(WStr((*FStrings)[i]));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) FStrings->Delete(i);
  }
}

void TSvMRUManager::StringsChanged(TObject*) {
  Change();
  if (FAutoUpdate) UpdateRecentMenu();
}

// ---- Storage ----

String TSvMRUManager::SectionName() const {
  if (dynamic_cast<const TForm*>(Owner()) != nullptr) return Owner()->ClassName() + u"." + Name();
  return Name();
}

String TSvMRUManager::StoragePath() const {
  const TSvFormPlacement* storage = IniStorage();
  if (storage == nullptr) return SectionName();
  return storage->ConcatPaths({storage->AppStoragePath(), SectionName()});
}

void TSvMRUManager::IniSave(TObject*) {
  TSvFormPlacement* storage = IniStorage();
  if (Name().empty() || storage == nullptr) return;
  SaveToAppStorage(storage->AppStorage(), StoragePath());
}

void TSvMRUManager::IniLoad(TObject*) {
  TSvFormPlacement* storage = IniStorage();
  if (Name().empty() || storage == nullptr) return;
  LoadFromAppStorage(storage->AppStorage(), StoragePath());
}

void TSvMRUManager::Save() {
  IniSave(this);
}

void TSvMRUManager::Load() {
  IniLoad(this);
}

void TSvMRUManager::DoReadItem(TSvCustomAppStorage* appStorage, const String& path, Integer index, String& recentName,
                               Integer& userData) {
  OnReadItem(this, appStorage, path, index, recentName, userData);
}

void TSvMRUManager::DoWriteItem(TSvCustomAppStorage* appStorage, const String& path, Integer index,
                                const String& recentName, Integer userData) {
  OnWriteItem(this, appStorage, path, index, recentName, userData);
}

void TSvMRUManager::SaveToAppStorage(TSvCustomAppStorage* appStorage, const String& path) {
  if (appStorage == nullptr) return;
  TRecentItemWriter writer;
  if (OnWriteItem)
    writer = [&](const String& itemPath, Integer index, const String& name, Integer userData) {
      DoWriteItem(appStorage, itemPath, index, name, userData);
    };
  SaveRecentList(*appStorage, path, *FStrings, writer);
}

void TSvMRUManager::LoadFromAppStorage(TSvCustomAppStorage* appStorage, const String& path) {
  if (appStorage == nullptr) return;
  const TRecentMode savedMode = FStrings->Mode();
  FStrings->BeginUpdate();
  try {
    FStrings->Clear();
    FStrings->SetMode(rmInsert);
    TRecentItemReader reader;
    if (OnReadItem)
      reader = [&](const String& itemPath, Integer index, String& name, Integer& userData) {
        DoReadItem(appStorage, itemPath, index, name, userData);
      };
    // A name listed twice in the store (anyone can edit it) is read once,
    // never as an error.
    const auto add = [&](const String& name, Integer userData) {
      if (FDuplicates == dupError && FStrings->IndexOf(name) >= 0) return;
      Add(name, userData);
    };
    LoadRecentList(*appStorage, path, FStrings->MaxSize(), add, reader);
  } catch (...) {
    FStrings->SetMode(savedMode);
    FStrings->EndUpdate();
    throw;
  }
  FStrings->SetMode(savedMode);
  FStrings->EndUpdate();
}

// ---- Settings ----

void TSvMRUManager::RebuildIfAutoUpdate() {
  if (FAutoUpdate) UpdateRecentMenu();
}

void TSvMRUManager::SetDuplicates(TDuplicates value) {
  if (value == FDuplicates) return;
  FDuplicates = value;
  RebuildIfAutoUpdate();
}

void TSvMRUManager::SetAccelDelimiter(TAccelDelimiter value) {
  if (value == FAccelDelimiter) return;
  FAccelDelimiter = value;
  if (FShowAccelChar) RebuildIfAutoUpdate();
}

void TSvMRUManager::SetAutoEnable(bool value) {
  if (value == FAutoEnable) return;
  FAutoEnable = value;
  if (FRecentMenu != nullptr) FRecentMenu->SetEnabled(value ? IsMenuEnabled() : true);
}

void TSvMRUManager::SetMaxLength(Integer value) {
  if (value == FMaxLength) return;
  FMaxLength = value;
  UpdateRecentMenu();
}

void TSvMRUManager::SetStartEllipsis(bool value) {
  if (value == FStartEllipsis) return;
  FStartEllipsis = value;
  UpdateRecentMenu();
}

void TSvMRUManager::SetMenuLocation(TMenuLocation value) {
  if (value == FMenuLocation) return;
  FMenuLocation = value;
  UpdateRecentMenu();
}

void TSvMRUManager::SetSeparateSize(Word value) {
  if (value == FSeparateSize) return;
  FSeparateSize = value;
  RebuildIfAutoUpdate();
}

void TSvMRUManager::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  RebuildIfAutoUpdate();
}

void TSvMRUManager::SetStartAccel(Cardinal value) {
  if (value == FStartAccel) return;
  FStartAccel = value;
  RebuildIfAutoUpdate();
}

void TSvMRUManager::SetRecentMenu(TMenuItem* value) {
  FreeItems();
  if (value != FRecentMenu) {
    if (FRecentMenu != nullptr) FRecentMenu->RemoveFreeNotification(this);
    FRecentMenu = value;
    if (FRecentMenu != nullptr) FRecentMenu->FreeNotification(this);
  }
  UpdateRecentMenu();
}

void TSvMRUManager::Notification(TComponent* component, TOperation operation) {
  TSvComponent::Notification(component, operation);
  if (operation != opRemove || component == nullptr) return;
  // A made item freed with its menu is no longer ours to free.
  std::erase(FItems, component);
  std::erase(FRetiredItems, component);
  if (component == FRecentMenu) FRecentMenu = nullptr;
}

bool TSvMRUManager::IsMenuEnabled() const {
  if (FMenuLocation == mruChild) return FRecentMenu != nullptr && FRecentMenu->Count() > 0;
  return FStrings->Count() > 0;
}

// ---- The menu ----

void TSvMRUManager::FreeItems() {
  // An item whose click is running is taken off the menu now and freed once no click runs.
  std::vector<TMenuItem*> items;
  items.swap(FItems);
  for (TMenuItem* item : items) {
    if (FClickDepth > 0) {
      if (item->Parent() != nullptr) item->Parent()->Remove(item);
      FRetiredItems.push_back(item);
    } else {
      item->RemoveFreeNotification(this);
      delete item;
    }
  }
  if (FClickDepth == 0) {
    std::vector<TMenuItem*> retired;
    retired.swap(FRetiredItems);
    for (TMenuItem* item : retired) {
      item->RemoveFreeNotification(this);
      delete item;
    }
  }
}

void TSvMRUManager::EnableRecentMenu() {
  if (FRecentMenu != nullptr && FAutoEnable) FRecentMenu->SetEnabled(IsMenuEnabled());
}

void TSvMRUManager::RemoveDuplicates() {
  if (FDuplicates == dupAccept) return;
  const bool savedAutoUpdate = FAutoUpdate;
  FAutoUpdate = false;
  FStrings->OnChange = nullptr;
  for (Integer i = FStrings->Count() - 1; i > 0; --i)
    for (Integer j = i - 1; j >= 0; --j)
      if (FStrings->CompareStrings((*FStrings)[j], (*FStrings)[i]) == 0) {
        FStrings->Delete(j);
        --i;
      }
  FStrings->OnChange = TNotifyEvent(this, &TSvMRUManager::StringsChanged);
  FAutoUpdate = savedAutoUpdate;
}

TMenuItem* TSvMRUManager::NewItem(const String& caption) {
  auto* item = new TMenuItem(nullptr);
  item->FreeNotification(this);
  item->SetCaption(caption);
  return item;
}

void TSvMRUManager::PlaceItem(TMenuItem* item) {
  TMenuItem* parent = FRecentMenu->Parent();
  const int created = static_cast<int>(FItems.size());
  FItems.push_back(item);
  if (FMenuLocation == mruSibling && parent != nullptr && FRecentMenu->MenuIndex() >= 0)
    parent->Insert(std::min(FRecentMenu->MenuIndex() + created + 1, parent->Count()), item);
  else
    FRecentMenu->Add(item);
}

void TSvMRUManager::AddSeparator() {
  PlaceItem(NewItem(u"-"));
}

String TSvMRUManager::ShortenedText(const String& text) const {
  if (FMaxLength <= 0) return text;
  String result;
  if (FStartEllipsis) {
    result = ShortenWithStartEllipsis(text, FMaxLength);
  } else {
    // Measured on the desktop's device context with its default font.
    const HDC dc = GetDC(nullptr);
    if (dc != nullptr) {
      SIZE letter{};
      GetTextExtentPoint32W(dc, L"n", 1, &letter);
      const Int64 width = Int64{letter.cx} * FMaxLength;
      result = CompactPath(dc, text, static_cast<Integer>(std::min<Int64>(width, 0x7FFFFFFF)), cpfPathEllipsis);
      ReleaseDC(nullptr, dc);
    }
  }
  if (result.empty() || result == u"...") return text;
  return result;
}

void TSvMRUManager::GetItemInfoEx(TMenuItem* item, Integer index) {
  GetItemInfo(item);
  OnGetItemInfoEx(this, item, index);
}

void TSvMRUManager::UpdateRecentMenu() {
  FreeItems();
  EnableRecentMenu();
  RemoveDuplicates();
  DoBeforeUpdate();
  if (FRecentMenu != nullptr) {
    if (FStrings->Count() > 0 && FRecentMenu->Count() > 0 && FMenuLocation == mruChild) AddSeparator();
    const bool menuWasEmpty = FRecentMenu->Count() == 0;
    for (Integer i = 0; i < FStrings->Count(); ++i) {
      if (FSeparateSize > 0 && i > 0 && i % FSeparateSize == 0)
        AddSeparator();
      else if (i == 0 && FMenuLocation == mruSibling && menuWasEmpty)
        AddSeparator();
      String text = (*FStrings)[i];
      TShortCut shortCut = 0;
      GetItemData(text, shortCut, FStrings->UserData(i));
      TMenuItem* item = NewItem(RecentCaptionPart(text));
      item->SetHint(RecentHintPart(text));
      item->SetShortCut(shortCut);
      item->OnClick = TNotifyEvent(this, &TSvMRUManager::MenuItemClick);
      // A file name's "&" is shown, not taken as an accelerator.
      String shortened;
      for (Char c : ShortenedText(item->Caption())) {
        shortened += c;
        if (c == u'&') shortened += c;
      }
      if (FShowAccelChar) {
        const Int64 n = Int64{i} + FStartAccel;
        item->SetCaption(RecentAccelText(static_cast<Integer>(std::min<Int64>(n, 101))) +
                         AccelDelimiterChar(FAccelDelimiter) + shortened);
      } else {
        item->SetCaption(shortened);
      }
      item->SetTag(i);
      PlaceItem(item);
      GetItemInfoEx(item, i);
    }
  }
  DoAfterUpdate();
  EnableRecentMenu();
}

void TSvMRUManager::MenuItemClick(TObject* sender) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (item == nullptr) return;
  const Integer index = item->Tag();
  if (index < 0 || index >= FStrings->Count()) return;
  const String name = (*FStrings)[index];
  ++FClickDepth;
  try {
    DoClick(name, item->Caption(), FStrings->UserData(index));
  } catch (...) {
    if (FRemoveOnSelect) FStrings->Remove(name);
    --FClickDepth;
    throw;
  }
  if (FRemoveOnSelect) FStrings->Remove(name);
  --FClickDepth;
}
