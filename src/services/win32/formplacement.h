// Form placement: a component a form holds so that its window's position,
// size and state survive between runs in the settings store. It takes over
// the form's OnShow, OnCloseQuery and OnDestroy: the first showing reads the
// placement back (before the window becomes visible), and the window writes
// it when it may close, or else when it is destroyed. Linked components
// (TSvIniLink) are told when it writes and reads.
#pragma once

#include "ui/winapi.h"

#include <vector>

#include "services/appstorage.h"
#include "services/appstorageobjects.h"
#include "services/placementrecord.h"
#include "ui/forms.h"

class TClassRegistry;
class TSvFormPlacement;

// Tells its owner when the placement it is linked to writes and reads.
class TSvIniLink : public TPersistent {
  KST_CLASS(TSvIniLink, TPersistent)
 public:
  TSvIniLink() = default;
  ~TSvIniLink() override;
  TSvIniLink(const TSvIniLink&) = delete;
  TSvIniLink& operator=(const TSvIniLink&) = delete;

  TSvFormPlacement* Storage() const { return FStorage; }
  // Leaves the old placement's links and joins the new one's.
  void SetStorage(TSvFormPlacement* value);
  virtual void SaveSettings();
  virtual void LoadSettings();

  TNotifyEvent OnSave;
  TNotifyEvent OnLoad;

 private:
  friend class TSvFormPlacement;
  TSvFormPlacement* FStorage = nullptr;
};

// The tracking sizes and the maximised place the placement gives its form's
// window; 0 leaves the system's value.
class TSvWinMinMaxInfo : public TPersistent {
  KST_CLASS(TSvWinMinMaxInfo, TPersistent)
 public:
  explicit TSvWinMinMaxInfo(TSvFormPlacement* owner = nullptr) : FOwner(owner) {}
  void Assign(const TPersistent* source) override;

  enum TField {
    MaxPosLeft,
    MaxPosTop,
    MaxSizeHeight,
    MaxSizeWidth,
    MaxTrackHeight,
    MaxTrackWidth,
    MinTrackHeight,
    MinTrackWidth
  };
  Integer Value(TField field) const;
  void SetValue(TField field, Integer value);
  const MINMAXINFO& Info() const { return FMinMaxInfo; }
  bool DefaultMinMaxInfo() const;

 private:
  LONG& Slot(TField field);
  TSvFormPlacement* FOwner;
  MINMAXINFO FMinMaxInfo{};
};

class TSvFormPlacement : public TSvComponent {
  KST_CLASS(TSvFormPlacement, TSvComponent)
 public:
  explicit TSvFormPlacement(TComponent* owner);
  ~TSvFormPlacement() override;
  TSvFormPlacement(const TSvFormPlacement&) = delete;
  TSvFormPlacement& operator=(const TSvFormPlacement&) = delete;

  bool Active() const { return FActive; }
  void SetActive(bool value) { FActive = value; }
  TSvCustomAppStorage* AppStorage() const { return FAppStorage; }
  void SetAppStorage(TSvCustomAppStorage* value);
  const String& AppStoragePath() const { return FAppStoragePath; }
  // A non-empty path gets a trailing backslash.
  void SetAppStoragePath(const String& value);
  TSvWinMinMaxInfo* MinMaxInfo() const { return FWinMinMaxInfo.get(); }
  void SetMinMaxInfo(TSvWinMinMaxInfo* value) { FWinMinMaxInfo->Assign(value); }
  TPlacementOptions Options() const { return FOptions; }
  void SetOptions(TPlacementOptions value) { FOptions = value; }
  bool PreventResize() const { return FPreventResize; }
  void SetPreventResize(bool value);
  Integer Version() const { return FVersion; }
  void SetVersion(Integer value) { FVersion = value; }
  TSvFormPlacementVersionCheck VersionCheck() const { return FVersionCheck; }
  void SetVersionCheck(TSvFormPlacementVersionCheck value) { FVersionCheck = value; }

  bool IsActive() const { return FActive && FAppStorage != nullptr; }
  bool Restored() const { return FRestored; }
  bool Saved() const { return FSaved; }

  void SaveFormPlacement();
  void RestoreFormPlacement();

  // Values below the form's folder; without a store or a name the readers
  // give their defaults and the others do nothing.
  String ReadString(const String& ident, const String& defaultValue = String());
  void WriteString(const String& ident, const String& value);
  bool ReadBoolean(const String& ident, bool defaultValue);
  void WriteBoolean(const String& ident, bool value);
  double ReadFloat(const String& ident, double defaultValue);
  void WriteFloat(const String& ident, double value);
  Integer ReadInteger(const String& ident, Integer defaultValue);
  void WriteInteger(const String& ident, Integer value);
  TDateTime ReadDateTime(const String& ident, TDateTime defaultValue);
  void WriteDateTime(const String& ident, TDateTime value);
  void DeleteValue(const String& ident);
  void EraseSections();
  // The parts joined by the store; empty without one.
  String ConcatPaths(std::initializer_list<String> parts) const;

  // The min-max info changed.
  void MinMaxInfoModified();

  TNotifyEvent BeforeSavePlacement;
  TNotifyEvent OnSavePlacement;
  TNotifyEvent AfterSavePlacement;
  TNotifyEvent BeforeRestorePlacement;
  TNotifyEvent OnRestorePlacement;
  TNotifyEvent AfterRestorePlacement;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void WritePlacement();
  virtual void ReadPlacement();
  virtual void NotifySavePlacement() { OnSavePlacement(this); }
  virtual void NotifyRestorePlacement() { OnRestorePlacement(this); }
  // The owner as a form; nullptr for any other owner (or while it is destroyed).
  TCustomForm* Form() const;
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  void SetRestored() { FRestored = true; }

 private:
  friend class TSvIniLink;
  void ResolveAppStoragePath();
  void SaveLinks();
  void LoadLinks();
  void RestoreActiveControl();
  void TakeOverFormEvents();
  void GiveBackFormEvents();
  void UpdateWindowHook();
  void AttachWindowHook(bool attach);
  void AdjustMaxPosition();
  void ApplyResizeRule();
  // The store's path of a value below the form's folder; empty for none.
  String ValuePath(const String& ident, bool reading);
  void FormShow(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormDestroy(TObject* sender);
  void WindowMessage(TMessage& message, const TWndProcNext& next);

  bool FActive = true;
  TSvCustomAppStorage* FAppStorage = nullptr;
  String FAppStoragePath;
  std::vector<TSvIniLink*> FLinks;
  TPlacementOptions FOptions;
  Integer FVersion = 0;
  TSvFormPlacementVersionCheck FVersionCheck = fpvcCheckGreaterEqual;
  bool FSaved = false;
  bool FRestored = false;
  bool FDestroying = false;
  bool FPreventResize = false;
  std::unique_ptr<TSvWinMinMaxInfo> FWinMinMaxInfo;
  bool FDefMaximize = false;
  // The form whose window procedure chain holds the placement's hook.
  TCustomForm* FHookedForm = nullptr;
  // The form whose events the placement took over.
  TCustomForm* FEventsForm = nullptr;
  TNotifyEvent FSaveFormShow;
  TNotifyEvent FSaveFormDestroy;
  TCloseQueryEvent FSaveFormCloseQuery;
};

// The placement record of the form's window below storePath.
void SaveWindowPlacement(TCustomForm& form, TSvCustomAppStorage& store, const String& storePath,
                         TPlacementOptions options);
// Reads it back. A stored rectangle that is empty, does not fit, was stored
// at another pixel density or is off every monitor is not applied: the
// window stays where the form put it, brought onto the work area if that
// place is off every monitor itself.
void RestoreWindowPlacement(TCustomForm& form, TSvCustomAppStorage& store, const String& storePath,
                            TPlacementOptions options);
