#include "services/win32/formplacement.h"

#include <algorithm>

#include "classes/reflection.h"
#include "rtl/sysstr.h"

KST_CLASS_IMPL(TSvIniLink, "SvFormPlacement")
KST_CLASS_IMPL(TSvWinMinMaxInfo, "SvFormPlacement")
KST_CLASS_IMPL(TSvFormPlacement, "SvFormPlacement")

// ---- Links ------------------------------------------------------------------------

void TSvIniLink::Describe(TClassBuilder<TSvIniLink>&) {}

TSvIniLink::~TSvIniLink() {
  OnSave = nullptr;
  OnLoad = nullptr;
  SetStorage(nullptr);
}

void TSvIniLink::SetStorage(TSvFormPlacement* value) {
  if (value == FStorage) return;
  if (FStorage != nullptr) {
    auto& links = FStorage->FLinks;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
    FStorage = nullptr;
  }
  if (value != nullptr) {
    value->FLinks.push_back(this);
    FStorage = value;
  }
}

void TSvIniLink::SaveSettings() {
  OnSave(this);
}

void TSvIniLink::LoadSettings() {
  OnLoad(this);
}

// ---- Min-max info ----------------------------------------------------------------

void TSvWinMinMaxInfo::Describe(TClassBuilder<TSvWinMinMaxInfo>& c) {
  using M = TSvWinMinMaxInfo;
  const std::pair<const char16_t*, TField> fields[] = {
      {u"MaxPosLeft", MaxPosLeft},         {u"MaxPosTop", MaxPosTop},           {u"MaxSizeHeight", MaxSizeHeight},
      {u"MaxSizeWidth", MaxSizeWidth},     {u"MaxTrackHeight", MaxTrackHeight}, {u"MaxTrackWidth", MaxTrackWidth},
      {u"MinTrackHeight", MinTrackHeight}, {u"MinTrackWidth", MinTrackWidth},
  };
  for (const auto& [name, field] : fields) {
    c.Property(
         name, [field](const M& m) { return m.Value(field); },
         [field](M& m, Integer value) { m.SetValue(field, value); })
        .Index(field)
        .Default(0);
  }
}

LONG& TSvWinMinMaxInfo::Slot(TField field) {
  switch (field) {
    case MaxPosLeft: return FMinMaxInfo.ptMaxPosition.x;
    case MaxPosTop: return FMinMaxInfo.ptMaxPosition.y;
    case MaxSizeHeight: return FMinMaxInfo.ptMaxSize.y;
    case MaxSizeWidth: return FMinMaxInfo.ptMaxSize.x;
    case MaxTrackHeight: return FMinMaxInfo.ptMaxTrackSize.y;
    case MaxTrackWidth: return FMinMaxInfo.ptMaxTrackSize.x;
    case MinTrackHeight: return FMinMaxInfo.ptMinTrackSize.y;
    case MinTrackWidth: return FMinMaxInfo.ptMinTrackSize.x;
  }
  return FMinMaxInfo.ptReserved.x;
}

Integer TSvWinMinMaxInfo::Value(TField field) const {
  return const_cast<TSvWinMinMaxInfo*>(this)->Slot(field);
}

void TSvWinMinMaxInfo::SetValue(TField field, Integer value) {
  LONG& slot = Slot(field);
  if (slot == value) return;
  slot = value;
  if (FOwner != nullptr) FOwner->MinMaxInfoModified();
}

bool TSvWinMinMaxInfo::DefaultMinMaxInfo() const {
  for (int f = MaxPosLeft; f <= MinTrackWidth; ++f)
    if (Value(static_cast<TField>(f)) != 0) return false;
  return true;
}

void TSvWinMinMaxInfo::Assign(const TPersistent* source) {
  if (const auto* other = dynamic_cast<const TSvWinMinMaxInfo*>(source)) {
    FMinMaxInfo = other->FMinMaxInfo;
    if (FOwner != nullptr) FOwner->MinMaxInfoModified();
    return;
  }
  TPersistent::Assign(source);
}

// ---- The placement record -----------------------------------------------------------

namespace {

// Values a registry editor may have spoilt read as their defaults.
template <class Read>
auto ReadOrDefault(Read read, decltype(read()) defaultValue) -> decltype(read()) {
  try {
    return read();
  } catch (const Exception&) {
    return defaultValue;
  }
}

WINDOWPLACEMENT CurrentPlacement(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(WINDOWPLACEMENT);
  GetWindowPlacement(window, &placement);
  return placement;
}

String DesktopSizeTag() {
  return ScreenSizeTag(GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

Integer ScreenPixelsPerInch() {
  return Screen != nullptr ? Screen->PixelsPerInch() : 96;
}

bool IsMainForm(const TCustomForm& form) {
  return Application == nullptr || Application->MainForm() == nullptr || Application->MainForm() == &form;
}

bool OnSomeMonitor(LONG x, LONG y) {
  return MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONULL) != nullptr;
}

// A position value: the one kept for this desktop size when there is one, else the latest.
String ReadPositionText(TSvCustomAppStorage& store, const String& storePath, const String& name) {
  const String tagged = TSvCustomAppStorage::ConcatPaths({storePath, name + DesktopSizeTag()});
  const String plain = TSvCustomAppStorage::ConcatPaths({storePath, name});
  return ReadOrDefault(
      [&] {
        return store.ValueStored(tagged) ? store.ReadString(tagged, String()) : store.ReadString(plain, String());
      },
      String());
}

void WritePositionText(TSvCustomAppStorage& store, const String& storePath, const String& name, const String& text) {
  store.WriteString(TSvCustomAppStorage::ConcatPaths({storePath, name + DesktopSizeTag()}), text);
  store.WriteString(TSvCustomAppStorage::ConcatPaths({storePath, name}), text);
}

// Runs the action inside the store's update bracket, which closes also when it fails.
template <class Action>
void InUpdate(TSvCustomAppStorage& store, Action action) {
  store.BeginUpdate();
  try {
    action();
  } catch (...) {
    store.EndUpdate();
    throw;
  }
  store.EndUpdate();
}

// A window whose own place is off every monitor is brought onto the work area.
void KeepOnWorkArea(TCustomForm& form) {
  if (!form.HandleAllocated() || form.Parent() != nullptr || form.FormStyle() == fsMDIChild) return;
  WINDOWPLACEMENT placement = CurrentPlacement(form.Handle());
  const RECT& r = placement.rcNormalPosition;
  if (r.left < r.right && r.top < r.bottom && OnSomeMonitor(r.left, r.top) && OnSomeMonitor(r.right - 1, r.bottom - 1))
    return;
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return;
  const LONG width = std::clamp<LONG>(r.right - r.left, 1, work.right - work.left);
  const LONG height = std::clamp<LONG>(r.bottom - r.top, 1, work.bottom - work.top);
  placement.rcNormalPosition = RECT{work.left, work.top, work.left + width, work.top + height};
  if (!IsWindowVisible(form.Handle())) placement.showCmd = SW_HIDE;
  placement.flags = 0;
  SetWindowPlacement(form.Handle(), &placement);
}

}  // namespace

void SaveWindowPlacement(TCustomForm& form, TSvCustomAppStorage& store, const String& storePath,
                         TPlacementOptions options) {
  if (IsActiveControlOnly(options)) return;
  InUpdate(store, [&] {
    const WINDOWPLACEMENT placement = CurrentPlacement(form.Handle());
    const auto path = [&](const char16_t* name) { return TSvCustomAppStorage::ConcatPaths({storePath, name}); };
    if (options.Contains(fpState)) {
      Integer showCmd = static_cast<Integer>(placement.showCmd);
      if (Application != nullptr && Application->MainForm() == &form && IsIconic(Application->Handle()))
        showCmd = SW_SHOWMINIMIZED;
      store.WriteInteger(path(kPlacementShowCmd), showCmd);
    }
    if (KeepsPosition(options)) {
      Integer flags = static_cast<Integer>(placement.flags);
      if (form.FormStyle() == fsMDIChild && form.WindowState() == wsMinimized) flags |= WPF_SETMINPOSITION;
      store.WriteInteger(path(kPlacementFlags), flags);
      store.WriteInteger(path(kPlacementPixelsPerInch), ScreenPixelsPerInch());
      WritePositionText(store, storePath, kPlacementMinMaxPos,
                        FormatPlacementWords(placement.ptMinPosition.x, placement.ptMinPosition.y,
                                             placement.ptMaxPosition.x, placement.ptMaxPosition.y));
      const RECT& r = placement.rcNormalPosition;
      WritePositionText(store, storePath, kPlacementNormPos, FormatPlacementWords(r.left, r.top, r.right, r.bottom));
    }
  });
}

namespace {

// Applies a stored rectangle when it is usable; true when it was.
bool RestorePosition(TCustomForm& form, TSvCustomAppStorage& store, const String& storePath, TPlacementOptions options,
                     WINDOWPLACEMENT& placement) {
  const auto path = [&](const char16_t* name) { return TSvCustomAppStorage::ConcatPaths({storePath, name}); };
  placement.flags = static_cast<UINT>(SanitizedPlacementFlags(
      ReadOrDefault([&] { return store.ReadInteger(path(kPlacementFlags), static_cast<Integer>(placement.flags)); },
                    static_cast<Integer>(placement.flags))));
  bool dataFound = false;
  const String minMax = ReadPositionText(store, storePath, kPlacementMinMaxPos);
  if (!minMax.empty()) {
    dataFound = true;
    const TPlacementWords words(minMax);
    if (options.Contains(fpLocation)) placement.ptMinPosition = POINT{words.Word(1, 0), words.Word(2, 0)};
    if (options.Contains(fpSize)) placement.ptMaxPosition = POINT{words.Word(3, 0), words.Word(4, 0)};
  }
  const String normPos = ReadPositionText(store, storePath, kPlacementNormPos);
  const std::optional<TRect> rect =
      RestoredNormalRect(normPos, options, Bounds(form.Left(), form.Top(), form.Width(), form.Height()));
  if (!normPos.empty()) dataFound = true;
  if (!dataFound || !rect || !IsUsableWindowRect(*rect)) return false;
  const Integer storedDensity =
      ReadOrDefault([&] { return store.ReadInteger(path(kPlacementPixelsPerInch), ScreenPixelsPerInch()); }, -1);
  if (storedDensity != ScreenPixelsPerInch()) return false;
  if (!OnSomeMonitor(rect->Left, rect->Top) || !OnSomeMonitor(rect->Right - 1, rect->Bottom - 1)) return false;
  if (!form.ComponentState().Contains(csDesigning)) {
    const bool size = options.Contains(fpSize), location = options.Contains(fpLocation);
    const TPosition position = form.Position();
    if (size && location)
      form.SetPosition(poDesigned);
    else if (size && position == poDefault)
      form.SetPosition(poDefaultPosOnly);
    else if (location && position == poDefault)
      form.SetPosition(poDefaultSizeOnly);
    else if (location && position != poDesigned)
      form.SetPosition(poDesigned);
  }
  placement.rcNormalPosition = ToRECT(*rect);
  SetWindowPlacement(form.Handle(), &placement);
  return true;
}

TWindowState DefaultWindowState(const TCustomForm& form) {
  if (IsMainForm(form) &&
      (form.FormStyle() == fsMDIForm || (form.FormStyle() == fsNormal && form.Position() == poDefault)))
    return wsMaximized;
  return wsNormal;
}

}  // namespace

void RestoreWindowPlacement(TCustomForm& form, TSvCustomAppStorage& store, const String& storePath,
                            TPlacementOptions options) {
  if (IsActiveControlOnly(options)) return;
  InUpdate(store, [&] {
    WINDOWPLACEMENT placement = CurrentPlacement(form.Handle());
    const Integer fallbackShowCmd = static_cast<Integer>(placement.showCmd);
    if (!IsWindowVisible(form.Handle())) placement.showCmd = SW_HIDE;
    bool applied = false;
    if (KeepsPosition(options)) applied = RestorePosition(form, store, storePath, options, placement);
    if (!applied) KeepOnWorkArea(form);
    if (options.Contains(fpState)) {
      TWindowState state = DefaultWindowState(form);
      const Integer showCmd = ReadOrDefault(
          [&] {
            return store.ReadInteger(TSvCustomAppStorage::ConcatPaths({storePath, kPlacementShowCmd}), fallbackShowCmd);
          },
          fallbackShowCmd);
      if (const auto stored = WindowStateOfShowCmd(showCmd)) state = static_cast<TWindowState>(*stored);
      if (state == wsMinimized && IsMainForm(form)) {
        // A main window is not shown minimised: it shows, and the
        // application then minimises as the user's command would (the
        // application's minimising is its main window's here).
        if (form.WindowState() != wsNormal) form.SetWindowState(wsNormal);
        PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
      }
      // Setting the state a shown window has already would show it before its time.
      if (state != form.WindowState()) form.SetWindowState(state);
    }
    form.Update();
  });
}

// ---- The component -------------------------------------------------------------------

void TSvFormPlacement::Describe(TClassBuilder<TSvFormPlacement>& c) {
  using P = TSvFormPlacement;
  c.Property(u"Active", &P::Active, &P::SetActive).Default(1);
  c.Property(u"AppStorage", &P::AppStorage, &P::SetAppStorage);
  c.Property(u"AppStoragePath", &P::AppStoragePath, &P::SetAppStoragePath);
  c.Property(u"MinMaxInfo", &P::MinMaxInfo, &P::SetMinMaxInfo);
  c.Property(u"Options", &P::Options, &P::SetOptions).Default(static_cast<Integer>(kDefaultPlacementOptions.Bits()));
  c.Property(u"PreventResize", &P::PreventResize, &P::SetPreventResize).Default(0);
  c.Property(u"Version", &P::Version, &P::SetVersion).Default(0);
  c.Property(u"VersionCheck", &P::VersionCheck, &P::SetVersionCheck).Default(fpvcCheckGreaterEqual);
  c.Property(u"BeforeSavePlacement", &P::BeforeSavePlacement);
  c.Property(u"OnSavePlacement", &P::OnSavePlacement);
  c.Property(u"AfterSavePlacement", &P::AfterSavePlacement);
  c.Property(u"BeforeRestorePlacement", &P::BeforeRestorePlacement);
  c.Property(u"OnRestorePlacement", &P::OnRestorePlacement);
  c.Property(u"AfterRestorePlacement", &P::AfterRestorePlacement);
}

TSvFormPlacement::TSvFormPlacement(TComponent* owner)
    : TSvComponent(owner), FAppStoragePath(kFormNameMacro), FWinMinMaxInfo(std::make_unique<TSvWinMinMaxInfo>(this)) {
  if (dynamic_cast<TForm*>(owner) != nullptr) FOptions = kDefaultPlacementOptions;
}

TSvFormPlacement::~TSvFormPlacement() {
  while (!FLinks.empty()) FLinks.back()->SetStorage(nullptr);
  if (!IsDesigning()) {
    AttachWindowHook(false);
    GiveBackFormEvents();
  }
  if (FAppStorage != nullptr) FAppStorage->RemoveFreeNotification(this);
}

TCustomForm* TSvFormPlacement::Form() const {
  TComponent* owner = Owner();
  if (owner == nullptr || owner->ComponentState().Contains(csDestroying)) return nullptr;
  return dynamic_cast<TCustomForm*>(owner);
}

void TSvFormPlacement::Loaded() {
  const bool wasLoading = IsLoading();
  TSvComponent::Loaded();
  if (IsDesigning()) return;
  ResolveAppStoragePath();
  if (wasLoading) TakeOverFormEvents();
  UpdateWindowHook();
}

void TSvFormPlacement::Notification(TComponent* component, TOperation operation) {
  TSvComponent::Notification(component, operation);
  if (operation == opRemove && component != nullptr && component == FAppStorage) FAppStorage = nullptr;
}

void TSvFormPlacement::SetAppStorage(TSvCustomAppStorage* value) {
  if (value == FAppStorage) return;
  if (FAppStorage != nullptr) FAppStorage->RemoveFreeNotification(this);
  FAppStorage = value;
  if (FAppStorage != nullptr) FAppStorage->FreeNotification(this);
}

void TSvFormPlacement::SetAppStoragePath(const String& value) {
  FAppStoragePath = value;
  if (!FAppStoragePath.empty() && FAppStoragePath.back() != u'\\') FAppStoragePath += u'\\';
  if (!IsLoading() && !IsDesigning()) ResolveAppStoragePath();
}

namespace {
// The dotted names from the outermost owner down to the component.
String OwnerChain(const TComponent* component) {
  if (component == nullptr) return String();
  const String above = OwnerChain(component->Owner());
  return above.empty() ? component->Name() : above + u"." + component->Name();
}
}  // namespace

void TSvFormPlacement::ResolveAppStoragePath() {
  if (!ContainsFormNameMacro(FAppStoragePath) || Owner() == nullptr) return;
  if (const auto* form = dynamic_cast<const TCustomForm*>(Owner()))
    FAppStoragePath = ReplaceFormNameMacro(FAppStoragePath, form->Name());
  else if (dynamic_cast<const TFrame*>(Owner()) != nullptr)
    FAppStoragePath = ReplaceFormNameMacro(FAppStoragePath, OwnerChain(Owner()));
}

void TSvFormPlacement::SetPreventResize(bool value) {
  if (Form() == nullptr || value == FPreventResize) return;
  FPreventResize = value;
  AdjustMaxPosition();
  ApplyResizeRule();
}

void TSvFormPlacement::MinMaxInfoModified() {
  AdjustMaxPosition();
  if (!IsLoading()) UpdateWindowHook();
}

// ---- Save and restore ----

void TSvFormPlacement::SaveFormPlacement() {
  if (FAppStorage == nullptr) return;
  InUpdate(*FAppStorage, [&] {
    ResolveAppStoragePath();
    BeforeSavePlacement(this);
    if (FVersionCheck != fpvcNocheck) WriteInteger(kPlacementFormVersion, FVersion);
    NotifySavePlacement();
    WritePlacement();
    AfterSavePlacement(this);
    FSaved = true;
  });
}

void TSvFormPlacement::RestoreFormPlacement() {
  if (FAppStorage != nullptr) {
    ResolveAppStoragePath();
    InUpdate(*FAppStorage, [&] {
      FSaved = false;
      const Integer stored = ReadInteger(kPlacementFormVersion, 0);
      if (PlacementVersionPasses(FVersionCheck, stored, FVersion)) {
        BeforeRestorePlacement(this);
        ReadPlacement();
        FRestored = true;
        NotifyRestorePlacement();
        if (FOptions.Contains(fpActiveControl)) RestoreActiveControl();
        AfterRestorePlacement(this);
      }
      FRestored = true;
    });
  }
  AdjustMaxPosition();
}

void TSvFormPlacement::WritePlacement() {
  // A window whose placement was never read back (never shown) would only
  // overwrite the stored one with its design place.
  if (!FRestored) return;
  if (TCustomForm* form = Form(); form != nullptr && !IsActiveControlOnly(FOptions)) {
    SaveWindowPlacement(*form, *FAppStorage, FAppStoragePath, FOptions);
    if (FOptions.Contains(fpActiveControl) && form->ActiveControl() != nullptr)
      FAppStorage->WriteString(ConcatPaths({FAppStoragePath, kPlacementActiveControl}), form->ActiveControl()->Name());
  }
  SaveLinks();
}

void TSvFormPlacement::ReadPlacement() {
  if (TCustomForm* form = Form()) RestoreWindowPlacement(*form, *FAppStorage, FAppStoragePath, FOptions);
  LoadLinks();
}

void TSvFormPlacement::SaveLinks() {
  // A link may leave while the others are told.
  const std::vector<TSvIniLink*> links = FLinks;
  for (TSvIniLink* link : links)
    if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) link->SaveSettings();
}

void TSvFormPlacement::LoadLinks() {
  const std::vector<TSvIniLink*> links = FLinks;
  for (TSvIniLink* link : links)
    if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) link->LoadSettings();
}

void TSvFormPlacement::RestoreActiveControl() {
  TCustomForm* form = Form();
  if (form == nullptr) return;
  const String name = ReadOrDefault(
      [&] {
        return FAppStorage->ReadString(ConcatPaths({FAppStoragePath, kPlacementActiveControl}), String());
      },
      String());
  if (name.empty()) return;
  if (auto* control = dynamic_cast<TWinControl*>(form->FindComponent(name)); control != nullptr && control->CanFocus())
    form->SetActiveControl(control);
}

// ---- Typed values ----

String TSvFormPlacement::ValuePath(const String& ident, bool reading) {
  if (FAppStorage == nullptr || ident.empty()) return String();
  return TSvCustomAppStorage::ConcatPaths({FAppStoragePath, TranslatePropertyName(*FAppStorage, this, ident, reading)});
}

String TSvFormPlacement::ConcatPaths(std::initializer_list<String> parts) const {
  if (FAppStorage == nullptr) return String();
  return TSvCustomAppStorage::ConcatPaths(parts);
}

String TSvFormPlacement::ReadString(const String& ident, const String& defaultValue) {
  const String path = ValuePath(ident, true);
  return path.empty() ? defaultValue : FAppStorage->ReadString(path, defaultValue);
}
void TSvFormPlacement::WriteString(const String& ident, const String& value) {
  if (const String path = ValuePath(ident, false); !path.empty()) FAppStorage->WriteString(path, value);
}
bool TSvFormPlacement::ReadBoolean(const String& ident, bool defaultValue) {
  const String path = ValuePath(ident, true);
  return path.empty() ? defaultValue : FAppStorage->ReadBoolean(path, defaultValue);
}
void TSvFormPlacement::WriteBoolean(const String& ident, bool value) {
  if (const String path = ValuePath(ident, false); !path.empty()) FAppStorage->WriteBoolean(path, value);
}
double TSvFormPlacement::ReadFloat(const String& ident, double defaultValue) {
  const String path = ValuePath(ident, true);
  return path.empty() ? defaultValue : static_cast<double>(FAppStorage->ReadFloat(path, defaultValue));
}
void TSvFormPlacement::WriteFloat(const String& ident, double value) {
  if (const String path = ValuePath(ident, false); !path.empty()) FAppStorage->WriteFloat(path, value);
}
Integer TSvFormPlacement::ReadInteger(const String& ident, Integer defaultValue) {
  const String path = ValuePath(ident, true);
  return path.empty() ? defaultValue : FAppStorage->ReadInteger(path, defaultValue);
}
void TSvFormPlacement::WriteInteger(const String& ident, Integer value) {
  if (const String path = ValuePath(ident, false); !path.empty()) FAppStorage->WriteInteger(path, value);
}
TDateTime TSvFormPlacement::ReadDateTime(const String& ident, TDateTime defaultValue) {
  const String path = ValuePath(ident, true);
  return path.empty() ? defaultValue : FAppStorage->ReadDateTime(path, defaultValue);
}
void TSvFormPlacement::WriteDateTime(const String& ident, TDateTime value) {
  if (const String path = ValuePath(ident, false); !path.empty()) FAppStorage->WriteDateTime(path, value);
}
void TSvFormPlacement::DeleteValue(const String& ident) {
  if (const String path = ValuePath(ident, false); !path.empty()) FAppStorage->DeleteValue(path);
}
void TSvFormPlacement::EraseSections() {
  if (FAppStorage != nullptr) FAppStorage->DeleteSubTree(FAppStoragePath);
}

// ---- The form's events ----

void TSvFormPlacement::TakeOverFormEvents() {
  TCustomForm* form = Form();
  if (form == nullptr || FEventsForm != nullptr) return;
  FEventsForm = form;
  FSaveFormShow = form->OnShow;
  FSaveFormCloseQuery = form->OnCloseQuery;
  FSaveFormDestroy = form->OnDestroy;
  form->OnShow = TNotifyEvent(this, &TSvFormPlacement::FormShow);
  form->OnCloseQuery = TCloseQueryEvent(this, &TSvFormPlacement::FormCloseQuery);
  form->OnDestroy = TNotifyEvent(this, &TSvFormPlacement::FormDestroy);
  FDefMaximize = form->BorderIcons().Contains(biMaximize);
  if (FPreventResize) ApplyResizeRule();
}

void TSvFormPlacement::GiveBackFormEvents() {
  if (FEventsForm == nullptr) return;
  if (Form() == FEventsForm) {
    FEventsForm->OnShow = FSaveFormShow;
    FEventsForm->OnCloseQuery = FSaveFormCloseQuery;
    FEventsForm->OnDestroy = FSaveFormDestroy;
  }
  FEventsForm = nullptr;
}

void TSvFormPlacement::FormShow(TObject* sender) {
  if (IsActive() && !FRestored) {
    try {
      RestoreFormPlacement();
    } catch (...) {
      if (Application != nullptr) Application->HandleException(this);
    }
  }
  FSaveFormShow(sender);
}

void TSvFormPlacement::FormCloseQuery(TObject* sender, bool& canClose) {
  FSaveFormCloseQuery(sender, canClose);
  TCustomForm* form = Form();
  if (!canClose || !IsActive() || form == nullptr || !form->HandleAllocated()) return;
  try {
    SaveFormPlacement();
  } catch (...) {
    if (Application != nullptr) Application->HandleException(this);
  }
}

void TSvFormPlacement::FormDestroy(TObject* sender) {
  if (IsActive() && !FSaved) {
    FDestroying = true;
    try {
      SaveFormPlacement();
    } catch (...) {
      if (Application != nullptr) Application->HandleException(this);
    }
    FDestroying = false;
  }
  FSaveFormDestroy(sender);
}

// ---- The window: tracking sizes, maximised place, resizing ----

void TSvFormPlacement::UpdateWindowHook() {
  if (IsDesigning() || Form() == nullptr) return;
  AttachWindowHook(!FWinMinMaxInfo->DefaultMinMaxInfo() || FPreventResize);
}

void TSvFormPlacement::AttachWindowHook(bool attach) {
  const TWndProcHook hook(this, &TSvFormPlacement::WindowMessage);
  if (FHookedForm != nullptr) {
    if (attach && FHookedForm == Form()) return;
    if (Form() == FHookedForm) FHookedForm->RemoveWindowProcHook(hook);
    FHookedForm = nullptr;
  }
  if (attach && Form() != nullptr) {
    FHookedForm = Form();
    FHookedForm->AddWindowProcHook(hook);
  }
}

void TSvFormPlacement::WindowMessage(TMessage& message, const TWndProcNext& next) {
  next(message);
  TCustomForm* form = Form();
  if (FPreventResize && form != nullptr) {
    switch (message.Msg) {
      case WM_GETMINMAXINFO:
        if (form->HandleAllocated() && IsWindowVisible(form->Handle())) {
          auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
          info->ptMinTrackSize = POINT{form->Width(), form->Height()};
          info->ptMaxTrackSize = info->ptMinTrackSize;
          message.Result = 1;
        }
        break;
      case WM_NCHITTEST:
        if (message.Result >= HTLEFT && message.Result <= HTBOTTOMRIGHT) message.Result = HTNOWHERE;
        break;
      case WM_INITMENUPOPUP:
        if (HIWORD(message.LParam) != 0) {
          const HMENU menu = reinterpret_cast<HMENU>(message.WParam);
          EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
          EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
          message.Result = 1;
        }
        break;
      default: break;
    }
    return;
  }
  if (message.Msg != WM_GETMINMAXINFO) return;
  auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
  if (FWinMinMaxInfo->DefaultMinMaxInfo()) {
    info->ptMaxPosition = POINT{0, 0};
  } else {
    const MINMAXINFO& own = FWinMinMaxInfo->Info();
    const auto take = [](LONG& target, LONG value) {
      if (value != 0) target = value;
    };
    take(info->ptMaxPosition.x, own.ptMaxPosition.x);
    take(info->ptMaxPosition.y, own.ptMaxPosition.y);
    take(info->ptMaxSize.x, own.ptMaxSize.x);
    take(info->ptMaxSize.y, own.ptMaxSize.y);
    take(info->ptMaxTrackSize.x, own.ptMaxTrackSize.x);
    take(info->ptMaxTrackSize.y, own.ptMaxTrackSize.y);
    take(info->ptMinTrackSize.x, own.ptMinTrackSize.x);
    take(info->ptMinTrackSize.y, own.ptMinTrackSize.y);
  }
  message.Result = 1;
}

void TSvFormPlacement::AdjustMaxPosition() {
  TCustomForm* form = Form();
  if (form == nullptr || !form->HandleAllocated() || IsLoading() || FPreventResize ||
      !FWinMinMaxInfo->DefaultMinMaxInfo())
    return;
  // A window maximised already stands where the system maximises it, its
  // frame outside the screen by the system's own measure: placing it again
  // would move it (to the work area's corner, clipping its far edges).
  if (IsZoomed(form->Handle())) return;
  WINDOWPLACEMENT placement = CurrentPlacement(form->Handle());
  if (!IsWindowVisible(form->Handle())) placement.showCmd = SW_HIDE;
  POINT frame{0, 0};
  switch (form->BorderStyle()) {
    case bsSingle:
    case bsToolWindow: frame = POINT{GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)}; break;
    case bsSizeable:
    case bsSizeToolWin: frame = POINT{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)}; break;
    case bsDialog: frame = POINT{GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)}; break;
    default: break;
  }
  placement.ptMaxPosition = POINT{-frame.x, -frame.y};
  SetWindowPlacement(form->Handle(), &placement);
}

void TSvFormPlacement::ApplyResizeRule() {
  TCustomForm* form = Form();
  if (IsDesigning() || form == nullptr) return;
  if (FPreventResize) FDefMaximize = form->BorderIcons().Contains(biMaximize);
  const bool savedActive = FActive;
  FActive = false;
  try {
    TBorderIcons icons = form->BorderIcons();
    if (FPreventResize || !FDefMaximize || form->BorderStyle() == bsDialog)
      icons.Exclude(biMaximize);
    else
      icons.Include(biMaximize);
    form->SetBorderIcons(icons);
  } catch (...) {
    FActive = savedActive;
    throw;
  }
  FActive = savedActive;
  if (!IsLoading()) UpdateWindowHook();
}
