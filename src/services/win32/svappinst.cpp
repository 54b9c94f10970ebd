#include "services/win32/svappinst.h"

#include "rtl/files.h"
#include "rtl/stringlist.h"
#include "services/instancetable.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TSvAppInstances, "SvAppInst")

namespace {

// Set once a component has entered this process in the shared tables.
bool processRegistered = false;

// Posted to the hidden window to hand over what arrived by copy-data.
constexpr UINT kDeliverReceived = WM_APP + 0x5A1;

LRESULT CALLBACK UtilityWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(window, 0));
  if (!method) return DefWindowProcW(window, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    (*method)(m);
  } catch (...) {
    // The method reports its own failures; nothing crosses the window procedure.
    return DefWindowProcW(window, msg, wParam, lParam);
  }
  return m.Result;
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TInstanceChangeEvent>) {
  static const TMethodTypeInfo type(u"TInstanceChangeEvent", u"SvAppInst", mkProcedure,
                                    {{0, u"Sender", u"TObject"}, {0, u"ProcessId", u"Cardinal"}});
  return type;
}

const TTypeInfo& UserNotifyEventType() {
  static const TMethodTypeInfo type(u"TUserNotifyEvent", u"SvAppInst", mkProcedure,
                                    {{0, u"Sender", u"TObject"}, {0, u"Param", u"Integer"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TDataAvailableEvent>) {
  static const TMethodTypeInfo type(
      u"TDataAvailableEvent", u"SvAppInst", mkProcedure,
      {{0, u"Sender", u"TObject"}, {0, u"Kind", u"Integer"}, {0, u"Data", u"Pointer"}, {0, u"Size", u"Integer"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TCmdLineReceivedEvent>) {
  static const TMethodTypeInfo type(u"TCmdLineReceivedEvent", u"SvAppInst", mkProcedure,
                                    {{0, u"Sender", u"TObject"}, {0, u"CmdLine", u"TStrings"}});
  return type;
}

HWND CreateUtilityWindow(const String& className, const TWndMethod& method) {
  const String name = className.empty() ? String(u"TSvUtilWindowEx") : className;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW existing{};
  const bool registered = GetClassInfoW(instance, WStr(name), &existing);
  if (!registered || existing.lpfnWndProc != DefWindowProcW) {
    if (registered) UnregisterClassW(WStr(name), instance);
    WNDCLASSW wc{};
    wc.cbWndExtra = sizeof(void*) > 8 ? sizeof(void*) : 8;
    wc.hInstance = instance;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = WStr(name);
    // A class still in use by another window stays as it is: every window
    // of ours gets its procedure after it is made.
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) RaiseLastOSError();
  }
  HWND window =
      CreateWindowExW(WS_EX_TOOLWINDOW, WStr(name), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (!window) RaiseLastOSError();
  if (method) {
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(new TWndMethod(method)));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UtilityWindowProc));
  }
  return window;
}

void DestroyUtilityWindow(HWND window) {
  if (!window) return;
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(window, 0));
  SetWindowLongPtrW(window, 0, 0);
  DestroyWindow(window);
  delete method;
}

void TSvAppInstances::Describe(TClassBuilder<TSvAppInstances>& c) {
  using S = TSvAppInstances;
  c.Property(u"Active", &S::Active, &S::SetActive).Default(1);
  c.Property(u"AutoActivate", &S::AutoActivate, &S::SetAutoActivate).Default(1);
  c.Property(u"MaxInstances", &S::MaxInstances, &S::SetMaxInstances).Default(1);
  c.Property(u"SendCmdLine", &S::SendCmdLine, &S::SetSendCmdLine).Default(1);
  c.Property(u"UniqueAppId", &S::UniqueAppId);
  c.Property(u"OnInstanceCreated", &S::OnInstanceCreated);
  c.Property(u"OnInstanceDestroyed", &S::OnInstanceDestroyed);
  c.Property(u"OnUserNotify", &S::OnUserNotify, &UserNotifyEventType());
  c.Property(u"OnDataAvailable", &S::OnDataAvailable);
  c.Property(u"OnCmdLineReceived", &S::OnCmdLineReceived);
  c.Property(u"OnRejected", &S::OnRejected);
}

TSvAppInstances::TSvAppInstances(TComponent* owner) : TComponent(owner) {
  if (!Designing()) {
    FHandle = CreateUtilityWindow(kSvAppInstancesWindowClass, TWndMethod(this, &TSvAppInstances::WndProc));
    if (!processRegistered) {
      processRegistered = true;
      try {
        AppInstances()->CheckInstance(65535, 0, 0);
      } catch (...) {
        DestroyUtilityWindow(FHandle);
        throw;
      }
    }
  }
}

TSvAppInstances::~TSvAppInstances() {
  if (FHandle) DestroyUtilityWindow(FHandle);
}

String TSvAppInstances::UniqueAppId() const {
  return GivenAppInstancesId();
}

TUtAppInstances* TSvAppInstances::AppInstances() {
  if (Designing()) return nullptr;
  return &SharedAppInstancesWithId(UniqueAppId());
}

void TSvAppInstances::Loaded() {
  TComponent::Loaded();
  Check();
}

void TSvAppInstances::Check() {
  if (!FActive || Designing() || FMaxInstances <= 0) return;
  TUtAppInstances& instances = *AppInstances();
  const Cardinal self = GetCurrentProcessId();
  // Not listed (a full table) counts as the first: the process runs.
  if (instances.IndexOfProcess(self) < FMaxInstances) return;
  // Ask the others whether they are active; each answer sets FActive.
  const int count = instances.InstanceCount();
  for (int i = 0; i < count && FActive; ++i) {
    const Cardinal process = instances.ProcessIdAt(i);
    if (process == self || process == 0) continue;
    HWND appWindow = TUtAppInstances::GetApplicationWnd(process);
    if (!appWindow) continue;
    struct Query {
      TSvAppInstances* Self;
      UINT Message;
    } query{this, instances.MessageID()};
    EnumThreadWindows(
        GetWindowThreadProcessId(appWindow, nullptr),
        [](HWND window, LPARAM data) -> BOOL {
          auto& q = *reinterpret_cast<Query*>(data);
          DWORD_PTR result = 0;
          // An instance that does not answer one window answers none: its
          // other windows are not waited for in turn.
          if (!SendMessageTimeoutW(window, q.Message, kInstanceQueryActive, reinterpret_cast<LPARAM>(q.Self->FHandle),
                                   SMTO_ABORTIFHUNG, kInstanceSendTimeout, &result))
            return FALSE;
          return q.Self->FActive ? TRUE : FALSE;
        },
        reinterpret_cast<LPARAM>(&query));
  }
  if (!FActive) return;
  DoRejected();
  if (FAutoActivate) instances.SwitchTo(0);
  if (FSendCmdLine && !instances.SendCmdLineParams(kSvAppInstancesWindowClass, FHandle)) {
    // The running instance is hung: what this start was asked to open would
    // be lost, so this process runs and opens it itself.
    if (Application)
      Application->MessageBox(kInstanceHungText, Application->Title(), MB_OK | MB_ICONWARNING);
    return;
  }
  FreeSharedAppInstances();
  ExitProcess(0);
}

void TSvAppInstances::UserNotify(Integer param) {
  if (auto* instances = AppInstances()) instances->UserNotify(param);
}

bool TSvAppInstances::SendData(Integer dataKind, const void* data, Integer size) {
  auto* instances = AppInstances();
  return instances && instances->SendData(kSvAppInstancesWindowClass, dataKind, data, size, FHandle);
}

void TSvAppInstances::WndProc(TMessage& message) {
  try {
    HandleMessage(message);
  } catch (const Exception& e) {
    if (Application) Application->ShowException(e);
    message.Result = DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
  } catch (...) {
    if (Application) Application->ShowException(Exception(u"Unknown exception"));
    message.Result = DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
  }
}

void TSvAppInstances::HandleMessage(TMessage& message) {
  const UINT registered = SharedAppInstancesExist() ? SharedAppInstances().MessageID() : 0;
  if (registered != 0 && message.Msg == registered) {
    const auto value = message.LParam;
    switch (static_cast<int>(message.WParam)) {
      case kInstanceCreated:
        if (static_cast<Cardinal>(value) != GetCurrentProcessId()) DoInstanceCreated(static_cast<Cardinal>(value));
        break;
      case kInstanceDestroyed: DoInstanceDestroyed(static_cast<Cardinal>(value)); break;
      case kInstanceUserNotify: DoUserNotify(static_cast<Integer>(value)); break;
      case kInstanceQueryActive: {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(reinterpret_cast<HWND>(value), registered, kInstanceAnswerActive, FActive ? 1 : 0,
                            SMTO_ABORTIFHUNG, kInstanceSendTimeout, &result);
        break;
      }
      case kInstanceAnswerActive: FActive = value != 0; break;
      default: break;
    }
    message.Result = DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
    return;
  }
  if (message.Msg == WM_COPYDATA) {
    const Integer kind = TUtAppInstances::CheckCopyDataKind(message, FHandle);
    if (kind >= 0) {
      const bool wanted =
          kind == kCopyDataCmdLine ? static_cast<bool>(OnCmdLineReceived) : static_cast<bool>(OnDataAvailable);
      if (wanted) {
        FReceived.push_back({kind, TUtAppInstances::ReadCopyData(message)});
        PostMessageW(FHandle, kDeliverReceived, 0, 0);
      }
      return;  // result 1: taken
    }
  } else if (message.Msg == kDeliverReceived) {
    DeliverReceived();
    return;
  }
  message.Result = DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
}

void TSvAppInstances::DeliverReceived() {
  while (!FReceived.empty()) {
    Received item = std::move(FReceived.front());
    FReceived.pop_front();
    if (item.Kind == kCopyDataCmdLine) {
      TStringList lines;
      lines.SetText(CopyDataString(item.Data.data(), item.Data.size()));
      DoCmdLineReceived(&lines);
    } else {
      DoDataAvailable(item.Kind, item.Data.empty() ? nullptr : item.Data.data(),
                      static_cast<Integer>(item.Data.size()));
    }
  }
}

void TSvAppInstances::DoInstanceCreated(Cardinal processId) {
  OnInstanceCreated(this, processId);
}

void TSvAppInstances::DoInstanceDestroyed(Cardinal processId) {
  OnInstanceDestroyed(this, processId);
}

void TSvAppInstances::DoUserNotify(Integer param) {
  OnUserNotify(this, param);
}

void TSvAppInstances::DoDataAvailable(Integer kind, void* data, Integer size) {
  OnDataAvailable(this, kind, data, size);
}

void TSvAppInstances::DoCmdLineReceived(TStrings* cmdLine) {
  OnCmdLineReceived(this, cmdLine);
}

void TSvAppInstances::DoRejected() {
  OnRejected(this);
}
