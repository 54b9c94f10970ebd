#include "services/win32/wndprochook.h"

#include <algorithm>

#include "classes/filer.h"
#include "services/componentref.h"
#include "ui/controls.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TSvWndProcHook, "SvWndProcHook")
KST_CLASS_IMPL(TSvWindowHook, "SvWndProcHook")

namespace {

// The window property that leads a raw window's procedure to its hooks.
constexpr wchar_t kHookProperty[] = L"KestrumWndProcHooks";
// The procedure a raw window had before it was hooked, for as long as ours
// must stay in place (someone subclassed the window after us).
constexpr wchar_t kOldProcProperty[] = L"KestrumWndProcHooksOld";

std::unique_ptr<TSvWndProcHook> sharedHook;
std::unique_ptr<TSvReleaser> sharedReleaser;

void ReportCurrentException() {
  try {
    if (Application) Application->HandleException(nullptr);
  } catch (...) {
  }
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TSvHookMessageEvent>) {
  static const TMethodTypeInfo type(u"TSvHookMessageEvent", u"SvWndProcHook", mkProcedure,
                                    {{0, u"Sender", u"TObject"},
                                     {ParamFlagBit(pfVar), u"Msg", u"TMessage"},
                                     {ParamFlagBit(pfVar), u"Handled", u"Boolean"}});
  return type;
}

// ---- Chain objects ----

TSvHookInfos::TSvHookInfos(TSvWndProcHook* controller, TControl* control)
    : FControl(control), FController(controller) {}

TSvHookInfos::TSvHookInfos(TSvWndProcHook* controller, HWND handle) : FHandle(handle), FController(controller) {}

TSvHookInfos::~TSvHookInfos() {
  Unhook();
}

void TSvHookInfos::Add(const TSvControlHook& hook, TSvHookOrder order) {
  FChain.Add(hook, order);
  Hook();
}

void TSvHookInfos::Delete(const TSvControlHook& hook, TSvHookOrder order) {
  FChain.Delete(hook, order);
  if (FChain.Empty()) Unhook();
}

void TSvHookInfos::Hook() {
  if (FHooked || FControlDestroyed) return;
  if (FControl) {
    FControl->AddWindowProcHook(TWndProcHook(this, &TSvHookInfos::ControlWndProc));
  } else {
    SetPropW(FHandle, kHookProperty, this);
    if (!FInstalled) {
      if (auto left = reinterpret_cast<WNDPROC>(GetPropW(FHandle, kOldProcProperty))) {
        // Ours stayed in place from an earlier chain: it is still called.
        FOldWndProcHandle = left;
        FInstalled = true;
      }
    }
    if (FInstalled) {
      FHooked = true;
      return;
    }
    FOldWndProcHandle = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSvHookInfos::RawWindowProc)));
    SetPropW(FHandle, kOldProcProperty, reinterpret_cast<HANDLE>(FOldWndProcHandle));
    FInstalled = true;
  }
  FHooked = true;
}

void TSvHookInfos::GiveBackProcedure() {
  if (!FInstalled) return;
  // Someone who subclassed the window after us calls our procedure in
  // turn: putting the old one back would drop theirs. Ours then stays and
  // passes every message on (through the old-procedure property).
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(FHandle, GWLP_WNDPROC)) == &TSvHookInfos::RawWindowProc) {
    SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldWndProcHandle));
    RemovePropW(FHandle, kOldProcProperty);
    FInstalled = false;
  }
}

void TSvHookInfos::Unhook() {
  if (!FHooked || FControlDestroyed) return;
  if (FControl) {
    FControl->RemoveWindowProcHook(TWndProcHook(this, &TSvHookInfos::ControlWndProc));
  } else {
    GiveBackProcedure();
    RemovePropW(FHandle, kHookProperty);
  }
  FHooked = false;
}

void TSvHookInfos::ControlWndProc(TMessage& message, const TWndProcNext& next) {
  FChain.Dispatch(
      message, [&](TMessage& m) { next(m); }, [this] { return FControlDestroyed; });
  ReleaseWhenUnwound();
}

LRESULT CALLBACK TSvHookInfos::RawWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<TSvHookInfos*>(GetPropW(window, kHookProperty));
  if (!self) {
    // Unhooked but left in place: the window's own procedure, as before.
    auto old = reinterpret_cast<WNDPROC>(GetPropW(window, kOldProcProperty));
    if (msg == WM_NCDESTROY) RemovePropW(window, kOldProcProperty);
    return old ? CallWindowProcW(old, window, msg, wParam, lParam) : DefWindowProcW(window, msg, wParam, lParam);
  }
  const WNDPROC old = self->FOldWndProcHandle;
  TMessage m{msg, wParam, lParam, 0};
  try {
    self->FChain.Dispatch(
        m, [&](TMessage& x) { x.Result = CallWindowProcW(old, window, x.Msg, x.WParam, x.LParam); },
        [self] { return self->FControlDestroyed; });
  } catch (...) {
    ReportCurrentException();
  }
  if (msg == WM_DESTROY && !self->FControlDestroyed) {
    // Give the window its own procedure back for what it still receives.
    self->GiveBackProcedure();
    RemovePropW(window, kHookProperty);
    self->ControlDestroyed();
  }
  self->ReleaseWhenUnwound();
  return m.Result;
}

void TSvHookInfos::ControlDestroyed() {
  if (FControlDestroyed) return;
  FControlDestroyed = true;
  FHooked = false;
  FInstalled = false;
  FOldWndProcHandle = nullptr;
  if (FController) FSelf = FController->Detach(this);
  ReleaseWhenUnwound();
}

void TSvHookInfos::ReleaseWhenUnwound() {
  // A message of this window still on its way through the chain (a hook
  // that destroyed the window and then runs a message loop, say) would
  // come back to a freed chain: it is freed once the last one returned.
  if (FSelf && FChain.Depth() == 0) ReleaseLater(std::move(FSelf));
}

// ---- Registry ----

TSvWndProcHook::TSvWndProcHook(TComponent* owner) : TComponent(owner) {}

TSvWndProcHook::~TSvWndProcHook() {
  for (auto& infos : FHookInfos) {
    if (infos->Control()) infos->Control()->RemoveFreeNotification(this);
  }
  FHookInfos.clear();
}

void TSvWndProcHook::Describe(TClassBuilder<TSvWndProcHook>&) {}

TSvHookInfos* TSvWndProcHook::Find(const TControl* control, HWND handle) const {
  for (const auto& infos : FHookInfos) {
    if (control ? infos->Control() == control : (!infos->Control() && infos->Handle() == handle)) return infos.get();
  }
  return nullptr;
}

std::unique_ptr<TSvHookInfos> TSvWndProcHook::Detach(TSvHookInfos* infos) {
  auto it = std::find_if(FHookInfos.begin(), FHookInfos.end(), [&](const auto& p) { return p.get() == infos; });
  if (it == FHookInfos.end()) return nullptr;
  std::unique_ptr<TSvHookInfos> owned = std::move(*it);
  FHookInfos.erase(it);
  return owned;
}

bool TSvWndProcHook::RegisterWndProc(TControl* control, const TSvControlHook& hook, TSvHookOrder order) {
  if (!control || control->ComponentState().Contains(csDestroying) || !hook) return false;
  TSvHookInfos* infos = Find(control, nullptr);
  if (!infos) {
    FHookInfos.push_back(std::make_unique<TSvHookInfos>(this, control));
    infos = FHookInfos.back().get();
    control->FreeNotification(this);
  }
  infos->Add(hook, order);
  return true;
}

bool TSvWndProcHook::RegisterWndProc(HWND handle, const TSvControlHook& hook, TSvHookOrder order) {
  if (!handle || !hook) return false;
  TSvHookInfos* infos = Find(nullptr, handle);
  if (!infos) {
    FHookInfos.push_back(std::make_unique<TSvHookInfos>(this, handle));
    infos = FHookInfos.back().get();
  }
  infos->Add(hook, order);
  return true;
}

bool TSvWndProcHook::UnRegisterWndProc(TControl* control, const TSvControlHook& hook, TSvHookOrder order) {
  if (!control || !hook) return false;
  TSvHookInfos* infos = Find(control, nullptr);
  if (!infos) return false;
  infos->Delete(hook, order);
  return true;
}

bool TSvWndProcHook::UnRegisterWndProc(HWND handle, const TSvControlHook& hook, TSvHookOrder order) {
  if (!handle || !hook) return false;
  TSvHookInfos* infos = Find(nullptr, handle);
  if (!infos) return false;
  infos->Delete(hook, order);
  return true;
}

void TSvWndProcHook::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  // By address: the control may be far into its destruction already.
  for (const auto& infos : FHookInfos) {
    if (infos->Control() && static_cast<TComponent*>(infos->Control()) == component) {
      infos->ControlDestroyed();
      return;
    }
  }
}

TSvWndProcHook& SharedWndProcHook() {
  if (!sharedHook) sharedHook = std::make_unique<TSvWndProcHook>(nullptr);
  return *sharedHook;
}

void FreeSharedWndProcHook() {
  sharedReleaser.reset();
  sharedHook.reset();
}

void AliasDragCursors() {
  if (!Screen) return;
  const std::pair<Integer, TCursor> aliases[] = {
      {368, crMultiDrag}, {369, crDrag}, {370, crMultiDrag}, {371, crMultiDrag}};
  for (const auto& [number, cursor] : aliases) {
    try {
      Screen->SetCursors(number, Screen->Cursors(cursor));
    } catch (const Exception&) {
      // A cursor the system does not have leaves the number as it was.
    }
  }
}

// ---- Releaser ----

TSvReleaser::~TSvReleaser() {
  FReleasing.clear();
  if (FHandle) DeallocateHWnd(FHandle);
}

TSvReleaser& TSvReleaser::Instance() {
  if (!sharedReleaser) sharedReleaser = std::make_unique<TSvReleaser>();
  return *sharedReleaser;
}

HWND TSvReleaser::Handle() {
  if (!FHandle) FHandle = AllocateHWnd(TWndMethod(this, &TSvReleaser::WndProc));
  return FHandle;
}

void TSvReleaser::Release(std::unique_ptr<TObject> object) {
  if (!object) return;
  TObject* raw = object.get();
  if (std::any_of(FReleasing.begin(), FReleasing.end(), [&](const auto& p) { return p.get() == raw; })) return;
  FReleasing.push_back(std::move(object));
  PostMessageW(Handle(), CM_RELEASE, reinterpret_cast<WPARAM>(raw), 0);
}

void TSvReleaser::WndProc(TMessage& message) {
  if (message.Msg != CM_RELEASE) {
    message.Result = DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
    return;
  }
  auto* raw = reinterpret_cast<TObject*>(message.WParam);
  auto it = std::find_if(FReleasing.begin(), FReleasing.end(), [&](const auto& p) { return p.get() == raw; });
  if (it == FReleasing.end()) return;
  std::unique_ptr<TObject> object = std::move(*it);
  FReleasing.erase(it);
}

// ---- The component ----

void TSvWindowHook::Describe(TClassBuilder<TSvWindowHook>& c) {
  using S = TSvWindowHook;
  c.Property(u"Active", &S::Active, &S::SetActive).Default(1);
  c.Property(u"Control", &S::Control, &S::SetControl).StoredWhen([](const S& hook) {
    return hook.FControl && !dynamic_cast<TCustomForm*>(hook.FControl);
  });
  c.Property(u"BeforeMessage", &S::BeforeMessage, &S::SetBeforeMessage);
  c.Property(u"AfterMessage", &S::AfterMessage, &S::SetAfterMessage);
}

TSvWindowHook::TSvWindowHook(TComponent* owner) : TSvComponent(owner) {
  SetActive(true);
}

TSvWindowHook::~TSvWindowHook() {
  SetActive(false);
  SetControl(nullptr);
}

TSvControlHook TSvWindowHook::HookOf(TSvHookOrder order) {
  return order == hoAfterMsg ? TSvControlHook(this, &TSvWindowHook::DoAfterMessage)
                             : TSvControlHook(this, &TSvWindowHook::DoBeforeMessage);
}

void TSvWindowHook::Register(TSvHookOrder order, bool on) {
  if (!FControl || ComponentState().Contains(csDesigning)) return;
  if (on)
    SharedWndProcHook().RegisterWndProc(FControl, HookOf(order), order);
  else if (sharedHook)
    sharedHook->UnRegisterWndProc(FControl, HookOf(order), order);
}

void TSvWindowHook::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  if (value) {
    if (FAfterMessage) Register(hoAfterMsg, true);
    if (FBeforeMessage) Register(hoBeforeMsg, true);
  } else {
    if (FAfterMessage) Register(hoAfterMsg, false);
    if (FBeforeMessage) Register(hoBeforeMsg, false);
  }
}

void TSvWindowHook::SetBeforeMessage(const TSvHookMessageEvent& event) {
  const bool was = static_cast<bool>(FBeforeMessage);
  FBeforeMessage = event;
  if (FActive && was != static_cast<bool>(event)) Register(hoBeforeMsg, !was);
}

void TSvWindowHook::SetAfterMessage(const TSvHookMessageEvent& event) {
  const bool was = static_cast<bool>(FAfterMessage);
  FAfterMessage = event;
  if (FActive && was != static_cast<bool>(event)) Register(hoAfterMsg, !was);
}

void TSvWindowHook::SetControl(TControl* control) {
  if (control == FControl) return;
  const bool wasActive = FActive;
  SetActive(false);
  SwapComponentReference(this, control, FControl);
  if (FControl && FControl->ComponentState().Contains(csDestroying)) {
    FControl->RemoveFreeNotification(this);
    FControl = nullptr;
    return;
  }
  SetActive(wasActive);
}

void TSvWindowHook::Notification(TComponent* component, TOperation operation) {
  TSvComponent::Notification(component, operation);
  if (operation == opRemove && component == FControl) {
    // Its chain went with it: nothing is left to unregister.
    const bool wasActive = FActive;
    FActive = false;
    FControl = nullptr;
    FActive = wasActive;
  }
}

bool TSvWindowHook::IsOwnerForm() const {
  return FControl && FControl == Owner() && dynamic_cast<TCustomForm*>(FControl);
}

void TSvWindowHook::DefineProperties(TFiler& filer) {
  TSvComponent::DefineProperties(filer);
  filer.DefineProperty(
      u"IsForm",
      [this](TReader& reader) {
        if (reader.ReadBoolean()) {
          if (auto* form = dynamic_cast<TCustomForm*>(Owner())) SetControl(form);
        }
      },
      [](TWriter& writer) { writer.WriteBoolean(true); }, IsOwnerForm());
}

bool TSvWindowHook::DoAfterMessage(TMessage& message) {
  bool handled = false;
  FAfterMessage(this, message, handled);
  return handled;
}

bool TSvWindowHook::DoBeforeMessage(TMessage& message) {
  bool handled = false;
  FBeforeMessage(this, message, handled);
  return handled;
}
