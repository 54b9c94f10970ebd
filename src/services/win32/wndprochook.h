// Hooks on a control's (or a raw window's) messages, before and after its
// own handling, by several clients on the same window in any order; a
// component that turns them into two events; and a releaser that frees
// objects once the current message has unwound.
#pragma once

#include "ui/winapi.h"

#include <memory>
#include <vector>

#include "services/hookchain.h"
#include "services/svcomponent.h"
#include "ui/messages.h"

class TControl;
class TSvWndProcHook;
class TWndProcNext;

// A hook method: true when it handled the message. Two are the same when
// object and method are.
using TSvControlHook = TSvHookChain<TMessage>::Hook;
using TSvHookMessageEvent = TDelegate<void(TObject* Sender, TMessage& Msg, bool& Handled)>;
const TTypeInfo& DescribeType(TypeTag<TSvHookMessageEvent>);

// The hooks of one control or window, in front of its window procedure.
class TSvHookInfos : public TObject {
 public:
  TSvHookInfos(TSvWndProcHook* controller, TControl* control);
  TSvHookInfos(TSvWndProcHook* controller, HWND handle);
  ~TSvHookInfos() override;
  TSvHookInfos(const TSvHookInfos&) = delete;
  TSvHookInfos& operator=(const TSvHookInfos&) = delete;

  void Add(const TSvControlHook& hook, TSvHookOrder order);
  // Unhooks the window when no hook is left.
  void Delete(const TSvControlHook& hook, TSvHookOrder order);
  TControl* Control() const { return FControl; }
  HWND Handle() const { return FHandle; }
  TSvWndProcHook* Controller() const { return FController; }
  // The control or window went: hooks are no longer called, and the object
  // leaves its registry and is freed after the current message.
  void ControlDestroyed();

 private:
  void Hook();
  void Unhook();
  // Puts the raw window's procedure back unless someone subclassed it since.
  void GiveBackProcedure();
  void ReleaseWhenUnwound();
  void ControlWndProc(TMessage& message, const TWndProcNext& next);
  static LRESULT CALLBACK RawWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  TSvHookChain<TMessage> FChain;
  HWND FHandle = nullptr;
  TControl* FControl = nullptr;
  bool FControlDestroyed = false;
  WNDPROC FOldWndProcHandle = nullptr;
  bool FHooked = false;
  // Our procedure is the raw window's (it may stay after the last hook).
  bool FInstalled = false;
  TSvWndProcHook* FController;
  // Itself, once out of its registry, until no message of its window is
  // on its way through the chain.
  std::unique_ptr<TObject> FSelf;
};

// The process's registry of hooked controls and windows.
class TSvWndProcHook : public TComponent {
  KST_CLASS(TSvWndProcHook, TComponent)
 public:
  explicit TSvWndProcHook(TComponent* owner);
  ~TSvWndProcHook() override;

  // False for no control, a control being destroyed or no hook.
  bool RegisterWndProc(TControl* control, const TSvControlHook& hook, TSvHookOrder order);
  bool RegisterWndProc(HWND handle, const TSvControlHook& hook, TSvHookOrder order);
  // False when nothing was registered for it.
  bool UnRegisterWndProc(TControl* control, const TSvControlHook& hook, TSvHookOrder order);
  bool UnRegisterWndProc(HWND handle, const TSvControlHook& hook, TSvHookOrder order);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TSvHookInfos;
  TSvHookInfos* Find(const TControl* control, HWND handle) const;
  // Takes the chain object out of the list, to be freed later.
  std::unique_ptr<TSvHookInfos> Detach(TSvHookInfos* infos);
  std::vector<std::unique_ptr<TSvHookInfos>> FHookInfos;
};

// The process's registry, made on first use.
TSvWndProcHook& SharedWndProcHook();
// Frees the registry (and every hook with it); the next use makes a new one.
void FreeSharedWndProcHook();

// Cursor numbers 368 to 371 show the system's multi-drag, drag, multi-drag
// and multi-drag cursors; the program calls this once the screen exists
// (without one it does nothing).
void AliasDragCursors();

// Frees objects once the messages now waiting have been handled.
class TSvReleaser {
 public:
  TSvReleaser() = default;
  ~TSvReleaser();
  TSvReleaser(const TSvReleaser&) = delete;
  TSvReleaser& operator=(const TSvReleaser&) = delete;

  static TSvReleaser& Instance();
  HWND Handle();
  // Queues the object once; it is freed when the posted message arrives.
  void Release(std::unique_ptr<TObject> object);
  size_t Pending() const { return FReleasing.size(); }

 private:
  void WndProc(TMessage& message);
  HWND FHandle = nullptr;
  std::vector<std::unique_ptr<TObject>> FReleasing;
};

inline void ReleaseLater(std::unique_ptr<TObject> object) {
  TSvReleaser::Instance().Release(std::move(object));
}

// Sees the messages of a control before and after it handles them.
class TSvWindowHook : public TSvComponent {
  KST_CLASS(TSvWindowHook, TSvComponent)
 public:
  explicit TSvWindowHook(TComponent* owner);
  ~TSvWindowHook() override;

  bool Active() const { return FActive; }
  void SetActive(bool value);
  TControl* Control() const { return FControl; }
  void SetControl(TControl* control);
  void HookControl() { SetActive(true); }
  void UnHookControl() { SetActive(false); }
  const TSvHookMessageEvent& BeforeMessage() const { return FBeforeMessage; }
  void SetBeforeMessage(const TSvHookMessageEvent& event);
  const TSvHookMessageEvent& AfterMessage() const { return FAfterMessage; }
  void SetAfterMessage(const TSvHookMessageEvent& event);

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;
  virtual bool DoAfterMessage(TMessage& message);
  virtual bool DoBeforeMessage(TMessage& message);

 private:
  bool IsOwnerForm() const;
  void Register(TSvHookOrder order, bool on);
  TSvControlHook HookOf(TSvHookOrder order);

  bool FActive = false;
  TControl* FControl = nullptr;
  TSvHookMessageEvent FBeforeMessage;
  TSvHookMessageEvent FAfterMessage;
};
