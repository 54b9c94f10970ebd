#include "services/win32/appinst.h"

#include <chrono>
#include <memory>
#include <thread>

#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"
#include "services/win32/utwin32.h"

namespace {

constexpr DWORD kTableAccess = 0xF001F;  // every right on a mapping
constexpr DWORD kInvalidThreadError = 1444;
constexpr auto kPostRetryLimit = std::chrono::milliseconds(100);

std::unique_ptr<TUtAppInstances> sharedInstances;
String givenAppId;

// The caller's user: from the thread's token, or the process's when the
// thread has none.
class TTokenUser {
 public:
  TTokenUser() {
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token) &&
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
      RaiseLastOSError();
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    FBuffer.resize(size);
    const bool ok = size > 0 && GetTokenInformation(token, TokenUser, FBuffer.data(), size, &size);
    const DWORD error = GetLastError();
    CloseHandle(token);
    if (!ok) RaiseLastOSError(static_cast<int>(error));
  }
  PSID Sid() const { return reinterpret_cast<const TOKEN_USER*>(FBuffer.data())->User.Sid; }

 private:
  std::vector<Byte> FBuffer;
};

class TWorldSid {
 public:
  TWorldSid() {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &FSid)) RaiseLastOSError();
  }
  ~TWorldSid() { FreeSid(FSid); }
  TWorldSid(const TWorldSid&) = delete;
  TWorldSid& operator=(const TWorldSid&) = delete;
  PSID Sid() const { return FSid; }

 private:
  PSID FSid = nullptr;
};

// Security attributes owned by the caller's user, granting every right on
// the object to `grantee` alone; not inherited.
class TTableSecurity {
 public:
  TTableSecurity(const TTokenUser& user, PSID grantee) {
    FAcl.resize(GetLengthSid(grantee) + 24);
    auto* acl = reinterpret_cast<PACL>(FAcl.data());
    if (!InitializeSecurityDescriptor(&FDescriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorOwner(&FDescriptor, user.Sid(), FALSE) ||
        !SetSecurityDescriptorGroup(&FDescriptor, user.Sid(), FALSE) ||
        !SetSecurityDescriptorSacl(&FDescriptor, FALSE, nullptr, FALSE) ||
        !InitializeAcl(acl, static_cast<DWORD>(FAcl.size()), ACL_REVISION) ||
        !AddAccessAllowedAce(acl, ACL_REVISION, kTableAccess, grantee) ||
        !SetSecurityDescriptorDacl(&FDescriptor, TRUE, acl, FALSE))
      RaiseLastOSError();
    FAttributes.nLength = sizeof FAttributes;
    FAttributes.lpSecurityDescriptor = &FDescriptor;
    FAttributes.bInheritHandle = FALSE;
  }
  SECURITY_ATTRIBUTES* Attributes() { return &FAttributes; }

 private:
  SECURITY_DESCRIPTOR FDescriptor{};
  std::vector<Byte> FAcl;
  SECURITY_ATTRIBUTES FAttributes{};
};

Cardinal SessionOfProcess() {
  static BOOL(WINAPI * processIdToSessionId)(DWORD, DWORD*) = nullptr;
  BindProcedure(processIdToSessionId, u"kernel32.dll", u"ProcessIdToSessionId");
  DWORD session = 0;
  if (!processIdToSessionId(GetCurrentProcessId(), &session)) RaiseLastOSError();
  return session;
}

String ClassNameOf(HWND window, int room) {
  std::vector<wchar_t> buffer(static_cast<size_t>(room) + 1, L'\0');
  const int length = GetClassNameW(window, buffer.data(), room);
  return FromWStr(buffer.data(), static_cast<size_t>(std::max(length, 0)));
}

Cardinal ProcessOfWindow(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

// A minimised program: the window itself or a shown window of its thread
// is iconic (the application's window is hidden; its main form shows).
bool ProgramIsMinimized(HWND window) {
  if (IsIconic(window)) return true;
  bool minimized = false;
  EnumThreadWindows(
      GetWindowThreadProcessId(window, nullptr),
      [](HWND candidate, LPARAM data) -> BOOL {
        if (IsWindowVisible(candidate) && IsIconic(candidate)) {
          *reinterpret_cast<bool*>(data) = true;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&minimized));
  return minimized;
}

// The processor time the receiving thread has used so far: it grows while
// the thread works, whether or not it answers messages. (The thread's own
// count: the system may answer a process's times with the caller's.)
ULONGLONG WorkDone(HANDLE thread) {
  FILETIME created, exited, kernel{}, user{};
  if (!thread || !GetThreadTimes(thread, &created, &exited, &kernel, &user)) return 0;
  const auto value = [](const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return value(kernel) + value(user);
}

// Sends copy-data to a window of another process and waits for its answer
// as long as that process works (a busy instance may take minutes to come
// back to its messages). False when it stopped both answering and working
// for kInstanceHungLimit: the send is then left to finish on its own.
bool SendCopyDataAndWait(HWND window, HWND originator, const COPYDATASTRUCT& record) {
  struct Send {
    std::vector<Byte> Bytes;
    COPYDATASTRUCT Record{};
    HWND Window = nullptr;
    HWND Originator = nullptr;
    HANDLE Done = nullptr;
    ~Send() {
      if (Done) CloseHandle(Done);
    }
  };
  auto send = std::make_shared<Send>();
  const auto* bytes = static_cast<const Byte*>(record.lpData);
  if (bytes && record.cbData) send->Bytes.assign(bytes, bytes + record.cbData);
  send->Record = record;
  send->Record.lpData = send->Bytes.empty() ? nullptr : send->Bytes.data();
  send->Window = window;
  send->Originator = originator;
  send->Done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!send->Done) RaiseLastOSError();
  // The thread keeps its own copy of everything, so a sender that gave up
  // leaves nothing behind that the thread still reads.
  std::thread([send] {
    SendMessageW(send->Window, WM_COPYDATA, reinterpret_cast<WPARAM>(send->Originator),
                 reinterpret_cast<LPARAM>(&send->Record));
    SetEvent(send->Done);
  }).detach();

  HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, GetWindowThreadProcessId(window, nullptr));
  ULONGLONG work = WorkDone(thread);
  auto idleSince = std::chrono::steady_clock::now();
  bool delivered = false;
  for (;;) {
    // Messages sent to this thread meanwhile are answered (the receiver may
    // be one of this thread's own windows).
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    const DWORD wait = MsgWaitForMultipleObjects(1, &send->Done, FALSE, 250, QS_SENDMESSAGE);
    if (wait == WAIT_OBJECT_0) {
      delivered = true;
      break;
    }
    if (wait == WAIT_OBJECT_0 + 1) continue;
    if (wait != WAIT_TIMEOUT) break;
    const ULONGLONG now = WorkDone(thread);
    if (now != work) {
      work = now;
      idleSince = std::chrono::steady_clock::now();
    } else if (std::chrono::steady_clock::now() - idleSince >= std::chrono::milliseconds(kInstanceHungLimit)) {
      break;
    }
  }
  if (thread) CloseHandle(thread);
  return delivered;
}

}  // namespace

TUtAppInstances::TUtAppInstances() : FCPID(GetCurrentProcessId()) {
  FUniqueAppID = InstanceAppId(givenAppId, ModulePath(nullptr));
  FMessageID = RegisterWindowMessageW(WStr(FUniqueAppID + u"_Msg"));
  FOptex = std::make_unique<TUtOptex>(FUniqueAppID + u"_Otx", kOptexDefaultSpinCount);
  {
    TUtOptexScope lock(*FOptex);
    OpenTable(FAll, FUniqueAppID + u"_All", false);
  }
  {
    TUtOptexScope lock(*FOptex);
    OpenTable(FSession, FUniqueAppID + Format(u"_Session_%u", {SessionOfProcess()}), false);
  }
  {
    TUtOptexScope lock(*FOptex);
    TTokenUser user;
    String account, domain;
    AccountNameOfSid(user.Sid(), account, domain, false);
    OpenTable(FUser, FUniqueAppID + u"_User_" + account + u"_" + domain, true);
  }
}

TUtAppInstances::~TUtAppInstances() {
  try {
    for (Table* table : {&FAll, &FSession, &FUser}) {
      if (!table->View) continue;
      TUtOptexScope lock(*FOptex);
      table->Data().Remove(FCPID);
    }
    if (FAll.View) Broadcast(kInstanceDestroyed, static_cast<LPARAM>(FCPID));
  } catch (...) {
    // Leaving the tables is best effort: the process is going anyway.
  }
}

void TUtAppInstances::OpenTable(Table& table, const String& name, bool forUser) {
  TTokenUser user;
  std::unique_ptr<TWorldSid> world;
  if (!forUser) world = std::make_unique<TWorldSid>();
  TTableSecurity security(user, forUser ? user.Sid() : world->Sid());
  table.Mapping = std::make_unique<TUtSwapFileMapping>(name, PAGE_READWRITE, kInstanceTableSize, security.Attributes());
  table.View = &table.Mapping->Views(table.Mapping->Add(kTableAccess, kInstanceTableSize, 0));
  if (!table.Mapping->Existed()) std::fill_n(table.View->Memory(), kInstanceTableSize, Byte{0});
}

TUtAppInstances::Table& TUtAppInstances::TableOf(TableKind kind) {
  return kind == tkAll ? FAll : kind == tkSession ? FSession : FUser;
}

bool TUtAppInstances::CheckInstance(Word maxInstances, Word maxSessionInstances, Word maxUserInstances) {
  bool allowed;
  {
    TUtOptexScope lock(*FOptex);
    const bool all = FAll.Data().Register(FCPID, maxInstances);
    const bool session = FSession.Data().Register(FCPID, maxSessionInstances);
    const bool user = FUser.Data().Register(FCPID, maxUserInstances);
    allowed = all && session && user;
  }
  if (allowed) Broadcast(kInstanceCreated, static_cast<LPARAM>(FCPID));
  return allowed;
}

void TUtAppInstances::CheckMultipleInstances(Word maxInstances, Word maxSessionInstances, Word maxUserInstances) {
  if (CheckInstance(maxInstances, maxSessionInstances, maxUserInstances)) return;
  SwitchTo(0);
  ExitProcess(0);
}

int TUtAppInstances::CountOf(TableKind kind) {
  TUtOptexScope lock(*FOptex);
  return TableOf(kind).Data().Count();
}

int TUtAppInstances::InstanceCount() {
  return CountOf(tkAll);
}

int TUtAppInstances::SessionInstanceCount() {
  return CountOf(tkSession);
}

int TUtAppInstances::UserInstanceCount() {
  return CountOf(tkUser);
}

Cardinal TUtAppInstances::ProcessIdAt(int index) {
  TUtOptexScope lock(*FOptex);
  return FAll.Data().ProcessIdAt(index);
}

int TUtAppInstances::IndexOfProcess(Cardinal processId) {
  TUtOptexScope lock(*FOptex);
  return FAll.Data().IndexOf(processId);
}

HWND TUtAppInstances::AppWindowIn(TableKind kind, int index) {
  Cardinal process;
  {
    TUtOptexScope lock(*FOptex);
    process = TableOf(kind).Data().ProcessIdAt(index);
  }
  return process ? GetApplicationWnd(process) : nullptr;
}

HWND TUtAppInstances::AppWindowOf(int index) {
  return AppWindowIn(tkAll, index);
}

HWND TUtAppInstances::SessionAppWindowOf(int index) {
  return AppWindowIn(tkSession, index);
}

HWND TUtAppInstances::UserAppWindowOf(int index) {
  return AppWindowIn(tkUser, index);
}

HWND TUtAppInstances::GetApplicationWnd(Cardinal processId) {
  struct Search {
    Cardinal Process;
    HWND Found = nullptr;
  } search{processId};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        if (ProcessOfWindow(window) == s.Process && ClassNameOf(window, 14) == u"TApplication") {
          s.Found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

bool TUtAppInstances::BringAppWindowToFront(HWND window) {
  if (!window) return false;
  if (ProgramIsMinimized(window)) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, kInstanceSendTimeout, &result);
  }
  return SetForegroundWindow98(window);
}

bool TUtAppInstances::SetForegroundWindow98(HWND window) {
  HWND foreground = GetForegroundWindow();
  if (foreground == window) return true;
  const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
  const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  if (foregroundThread != windowThread && foregroundThread != 0) {
    AttachThreadInput(foregroundThread, windowThread, TRUE);
    const bool done = SetForegroundWindow(window) != 0;
    AttachThreadInput(foregroundThread, windowThread, FALSE);
    if (!done) return false;
  }
  return SetForegroundWindow(window) != 0;
}

void TUtAppInstances::Broadcast(int kind, LPARAM value) {
  TUtOptexScope lock(*FOptex);
  const TInstanceTable table = FAll.Data();
  const int count = table.Count();
  for (int i = 0; i < count; ++i) {
    HWND appWindow = GetApplicationWnd(table.ProcessIdAt(i));
    if (!appWindow) continue;
    const DWORD thread = GetWindowThreadProcessId(appWindow, nullptr);
    // A queue that stays full is given up after a while: the others still
    // hear of it, and nobody waits for ever while holding the lock.
    const auto deadline = std::chrono::steady_clock::now() + kPostRetryLimit;
    while (!PostThreadMessageW(thread, FMessageID, static_cast<WPARAM>(kind), value) &&
           GetLastError() != kInvalidThreadError && std::chrono::steady_clock::now() < deadline)
      Sleep(1);
    struct Notice {
      UINT Message;
      WPARAM Kind;
      LPARAM Value;
    } notice{FMessageID, static_cast<WPARAM>(kind), value};
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) -> BOOL {
          const auto& n = *reinterpret_cast<const Notice*>(data);
          SendNotifyMessageW(window, n.Message, n.Kind, n.Value);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&notice));
  }
}

void TUtAppInstances::UserNotify(Integer param) {
  Broadcast(kInstanceUserNotify, static_cast<LPARAM>(param));
}

bool TUtAppInstances::SendData(const String& windowClassName, Integer dataKind, const void* data, Integer size,
                               HWND originatorWnd) {
  struct Delivery {
    TUtAppInstances* Self;
    const String* ClassName;
    COPYDATASTRUCT Record;
    HWND Originator;
    bool AllDelivered = true;
  } delivery{this, &windowClassName, {}, originatorWnd};
  delivery.Record.dwData = static_cast<ULONG_PTR>(dataKind);
  delivery.Record.cbData = static_cast<DWORD>(std::max(size, 0));
  delivery.Record.lpData = const_cast<void*>(data);
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& d = *reinterpret_cast<Delivery*>(param);
        if (ClassNameOf(window, 200) != *d.ClassName) return TRUE;
        bool registered;
        {
          TUtOptexScope lock(*d.Self->FOptex);
          registered = d.Self->FAll.Data().IndexOf(ProcessOfWindow(window)) >= 0;
        }
        if (registered && !SendCopyDataAndWait(window, d.Originator, d.Record)) d.AllDelivered = false;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&delivery));
  return delivery.AllDelivered;
}

bool TUtAppInstances::SendString(const String& windowClassName, Integer dataKind, const String& s, HWND originatorWnd) {
  return SendData(windowClassName, dataKind, s.empty() ? nullptr : s.data(), static_cast<Integer>(s.size() * 2),
                  originatorWnd);
}

bool TUtAppInstances::SendStrings(const String& windowClassName, Integer dataKind, const TStrings& strings,
                                  HWND originatorWnd) {
  return SendString(windowClassName, dataKind, strings.Text(), originatorWnd);
}

bool TUtAppInstances::SendCmdLineParams(const String& windowClassName, HWND originatorWnd) {
  return SendString(windowClassName, kCopyDataCmdLine, CommandLineText(ProcessCommandLineFileNames()), originatorWnd);
}

Integer TUtAppInstances::CheckCopyDataKind(TMessage& message, HWND ignoredOriginatorWnd) {
  if (message.Msg == WM_COPYDATA && reinterpret_cast<HWND>(message.WParam) != ignoredOriginatorWnd &&
      message.LParam != 0) {
    message.Result = 1;
    return static_cast<Integer>(reinterpret_cast<const COPYDATASTRUCT*>(message.LParam)->dwData);
  }
  message.Result = 0;
  return -1;
}

std::vector<Byte> TUtAppInstances::ReadCopyData(const TMessage& message) {
  if (message.Msg != WM_COPYDATA || message.LParam == 0) return {};
  const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(message.LParam);
  if (!record->lpData || record->cbData == 0) return {};
  const auto* bytes = static_cast<const Byte*>(record->lpData);
  return std::vector<Byte>(bytes, bytes + record->cbData);
}

String TUtAppInstances::ReadCopyDataString(const TMessage& message) {
  if (message.Msg != WM_COPYDATA || message.LParam == 0) return String();
  const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(message.LParam);
  if (!record->lpData) return String();
  return CopyDataString(record->lpData, record->cbData);
}

void TUtAppInstances::ReadCopyDataStrings(const TMessage& message, TStrings& strings) {
  if (message.Msg != WM_COPYDATA) return;
  strings.SetText(ReadCopyDataString(message));
}

std::vector<String> ProcessCommandLineFileNames() {
  return CommandLineFileNames(SplitCommandLine(FromWStr(GetCommandLineW())), GetCurrentDir(),
                              [](const String& name) { return FileExists(name); });
}

TUtAppInstances& SharedAppInstances() {
  if (!sharedInstances) sharedInstances = std::make_unique<TUtAppInstances>();
  return *sharedInstances;
}

TUtAppInstances& SharedAppInstancesWithId(const String& id) {
  givenAppId = id;
  return SharedAppInstances();
}

const String& GivenAppInstancesId() {
  return givenAppId;
}

bool SharedAppInstancesExist() {
  return sharedInstances != nullptr;
}

void FreeSharedAppInstances() {
  sharedInstances.reset();
}
