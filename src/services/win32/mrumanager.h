// The recent-files manager: a bounded list of recently used names shown as
// menu items with accelerator captions, which tells its owner which one was
// clicked and keeps the list in the settings store through a form placement.
#pragma once

#include "ui/winapi.h"

#include <memory>
#include <vector>

#include "services/recentstrings.h"
#include "services/win32/formplacement.h"
#include "ui/menus.h"

inline constexpr char16_t kSvDuplicatesInMRU[] = u"Duplicates not allowed in MRU list";

using TClickMenuEvent =
    TDelegate<void(TObject* Sender, const String& RecentName, const String& Caption, Integer UserData)>;
using TGetItemEvent = TDelegate<void(TObject* Sender, String& Caption, TShortCut& ShortCut, Integer UserData)>;
using TReadItemEvent = TDelegate<void(TObject* Sender, TSvCustomAppStorage* AppStorage, const String& Path,
                                      Integer Index, String& RecentName, Integer& UserData)>;
using TWriteItemEvent = TDelegate<void(TObject* Sender, TSvCustomAppStorage* AppStorage, const String& Path,
                                       Integer Index, const String& RecentName, Integer UserData)>;
using TGetItemInfoEvent = TDelegate<void(TObject* Sender, TMenuItem* Item)>;
using TGetItemInfoExEvent = TDelegate<void(TObject* Sender, TMenuItem* Item, Integer Index)>;

const TTypeInfo& DescribeType(TypeTag<TClickMenuEvent>);
const TTypeInfo& DescribeType(TypeTag<TGetItemEvent>);
const TTypeInfo& DescribeType(TypeTag<TReadItemEvent>);
const TTypeInfo& DescribeType(TypeTag<TWriteItemEvent>);
const TTypeInfo& DescribeType(TypeTag<TGetItemInfoEvent>);
const TTypeInfo& DescribeType(TypeTag<TGetItemInfoExEvent>);

class TSvMRUManager : public TSvComponent {
  KST_CLASS(TSvMRUManager, TSvComponent)
 public:
  explicit TSvMRUManager(TComponent* owner);
  ~TSvMRUManager() override;
  TSvMRUManager(const TSvMRUManager&) = delete;
  TSvMRUManager& operator=(const TSvMRUManager&) = delete;

  // Unless Duplicates is dupAccept a listed name is refused: dupError raises
  // ESvcException "Duplicates not allowed in MRU list", dupIgnore leaves the list.
  void Add(const String& recentName, Integer userData);
  void Remove(const String& recentName);
  void Clear();
  // Drops every entry that names no existing file.
  void RemoveInvalid();
  // Through IniStorage now; nothing without a Name or an IniStorage.
  void Save();
  void Load();
  void SaveToAppStorage(TSvCustomAppStorage* appStorage, const String& path);
  void LoadFromAppStorage(TSvCustomAppStorage* appStorage, const String& path);
  void UpdateRecentMenu();
  bool IsMenuEnabled() const;
  // The folder of the list below IniStorage's.
  String StoragePath() const;

  TSvRecentStrings& Strings() const { return *FStrings; }
  // The menu items made for the entries and separators, in menu order.
  const std::vector<TMenuItem*>& Items() const { return FItems; }

  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates value);
  TAccelDelimiter AccelDelimiter() const { return FAccelDelimiter; }
  void SetAccelDelimiter(TAccelDelimiter value);
  bool AutoEnable() const { return FAutoEnable; }
  void SetAutoEnable(bool value);
  bool AutoUpdate() const { return FAutoUpdate; }
  void SetAutoUpdate(bool value) { FAutoUpdate = value; }
  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer value);
  bool StartEllipsis() const { return FStartEllipsis; }
  void SetStartEllipsis(bool value);
  Integer Capacity() const { return FStrings->MaxSize(); }
  void SetCapacity(Integer value) { FStrings->SetMaxSize(value); }
  TMenuLocation MenuLocation() const { return FMenuLocation; }
  void SetMenuLocation(TMenuLocation value);
  TRecentMode Mode() const { return FStrings->Mode(); }
  void SetMode(TRecentMode value) { FStrings->SetMode(value); }
  bool RemoveOnSelect() const { return FRemoveOnSelect; }
  void SetRemoveOnSelect(bool value) { FRemoveOnSelect = value; }
  TSvFormPlacement* IniStorage() const { return FIniLink->Storage(); }
  void SetIniStorage(TSvFormPlacement* value) { FIniLink->SetStorage(value); }
  Word SeparateSize() const { return FSeparateSize; }
  void SetSeparateSize(Word value);
  TMenuItem* RecentMenu() const { return FRecentMenu; }
  void SetRecentMenu(TMenuItem* value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  Cardinal StartAccel() const { return FStartAccel; }
  void SetStartAccel(Cardinal value);

  TNotifyEvent OnChange;
  TClickMenuEvent OnClick;
  TGetItemEvent OnGetItemData;
  TReadItemEvent OnReadItem;
  TWriteItemEvent OnWriteItem;
  TNotifyEvent OnBeforeUpdate;
  TNotifyEvent OnAfterUpdate;
  TGetItemInfoEvent OnGetItemInfo;
  TGetItemInfoExEvent OnGetItemInfoEx;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  virtual void DoBeforeUpdate() { OnBeforeUpdate(this); }
  virtual void DoAfterUpdate() { OnAfterUpdate(this); }
  virtual void Change() { OnChange(this); }
  virtual void DoReadItem(TSvCustomAppStorage* appStorage, const String& path, Integer index, String& recentName,
                          Integer& userData);
  virtual void DoWriteItem(TSvCustomAppStorage* appStorage, const String& path, Integer index, const String& recentName,
                           Integer userData);
  virtual void GetItemData(String& caption, TShortCut& shortCut, Integer userData) {
    OnGetItemData(this, caption, shortCut, userData);
  }
  virtual void GetItemInfo(TMenuItem* item) { OnGetItemInfo(this, item); }
  virtual void GetItemInfoEx(TMenuItem* item, Integer index);
  virtual void DoClick(const String& recentName, const String& caption, Integer userData) {
    OnClick(this, recentName, caption, userData);
  }

 private:
  void StringsChanged(TObject* sender);
  void IniSave(TObject* sender);
  void IniLoad(TObject* sender);
  void MenuItemClick(TObject* sender);
  void FreeItems();
  void RemoveDuplicates();
  void EnableRecentMenu();
  TMenuItem* NewItem(const String& caption);
  void PlaceItem(TMenuItem* item);
  void AddSeparator();
  String ShortenedText(const String& text) const;
  String SectionName() const;
  void RebuildIfAutoUpdate();

  std::unique_ptr<TSvRecentStrings> FStrings;
  std::vector<TMenuItem*> FItems;
  // Items taken off the menu while one of them was being clicked; freed later.
  std::vector<TMenuItem*> FRetiredItems;
  int FClickDepth = 0;
  std::unique_ptr<TSvIniLink> FIniLink;
  Word FSeparateSize = 0;
  bool FAutoEnable = true;
  bool FAutoUpdate = true;
  bool FShowAccelChar = true;
  bool FRemoveOnSelect = false;
  Cardinal FStartAccel = 1;
  TAccelDelimiter FAccelDelimiter = adTab;
  TMenuItem* FRecentMenu = nullptr;
  TDuplicates FDuplicates = dupIgnore;
  TMenuLocation FMenuLocation = mruChild;
  Integer FMaxLength = 0;
  bool FStartEllipsis = false;
};
