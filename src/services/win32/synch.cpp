#include "services/win32/synch.h"

#include <cstring>

#include "rtl/files.h"

namespace {

const wchar_t* NameOrNull(const String& name) {
  return name.empty() ? nullptr : WStr(name);
}

Cardinal CurrentThread() {
  return GetCurrentThreadId();
}

Cardinal ProcessorCount() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors;
}

}  // namespace

// ---- Events ----

TUtDispatcherObject::~TUtDispatcherObject() {
  if (FHandle) CloseHandle(FHandle);
}

void TUtDispatcherObject::Attach(HANDLE handle) {
  if (FHandle && FHandle != handle) CloseHandle(FHandle);
  FHandle = handle;
  FExisted = true;
  FName.clear();
}

TUtWaitResult TUtDispatcherObject::WaitFor(Cardinal timeOut) {
  return WaitResultOf(WaitForSingleObject(FHandle, timeOut));
}

TUtWaitResult TUtDispatcherObject::WaitAlertable(Cardinal timeOut) {
  return WaitResultOf(WaitForSingleObjectEx(FHandle, timeOut, TRUE));
}

TUtWaitResult TUtDispatcherObject::SignalAndWait(TUtDispatcherObject& object, Cardinal timeOut, bool alertable) {
  return WaitResultOf(SignalObjectAndWait(object.Handle(), FHandle, timeOut, alertable));
}

TUtEvent::TUtEvent(SECURITY_ATTRIBUTES* secAttr, bool manual, bool signaled, const String& name) {
  FName = name;
  FHandle = CreateEventW(secAttr, manual, signaled, NameOrNull(name));
  if (!FHandle) throw EUtEventError(u"Failed to create event");
  FExisted = GetLastError() == ERROR_ALREADY_EXISTS;
}

std::unique_ptr<TUtEvent> TUtEvent::Open(Cardinal access, bool inheritable, const String& name) {
  std::unique_ptr<TUtEvent> event(new TUtEvent());
  event->FName = name;
  event->FHandle = OpenEventW(access, inheritable, WStr(name));
  if (!event->FHandle) throw EUtEventError(u"Failed to open event");
  event->FExisted = true;
  return event;
}

bool TUtEvent::SetEvent() {
  return ::SetEvent(FHandle) != 0;
}

bool TUtEvent::ResetEvent() {
  return ::ResetEvent(FHandle) != 0;
}

bool TUtEvent::Pulse() {
  return PulseEvent(FHandle) != 0;
}

void TUtCriticalSection::CreateAndEnter(std::atomic<TUtCriticalSection*>& section) {
  if (!section.load()) {
    auto* made = new TUtCriticalSection();
    TUtCriticalSection* expected = nullptr;
    if (!section.compare_exchange_strong(expected, made)) delete made;
  }
  section.load()->Enter();
}

// ---- Optex ----

class TUtOptex::EventAdapter : public TOptexEvent {
 public:
  explicit EventAdapter(TUtEvent& event) : FEvent(event) {}
  void Wait() override { FEvent.WaitForever(); }
  bool WaitFor(Cardinal milliseconds) override { return FEvent.WaitFor(milliseconds) == wrSignaled; }
  void Set() override { FEvent.SetEvent(); }

 private:
  TUtEvent& FEvent;
};

class TUtOptex::MutexToken : public TOptexHolderToken {
 public:
  explicit MutexToken(const String& name) : FMutex(CreateMutexW(nullptr, FALSE, WStr(name))) {
    if (!FMutex) RaiseLastOSError();
  }
  ~MutexToken() override { CloseHandle(FMutex); }
  MutexToken(const MutexToken&) = delete;
  MutexToken& operator=(const MutexToken&) = delete;
  void Take() override {
    // Held only for a moment by a waiter that looks; abandoned is taken too.
    WaitForSingleObject(FMutex, INFINITE);
  }
  void Give() override { ReleaseMutex(FMutex); }
  TState TryTake() override {
    switch (WaitForSingleObject(FMutex, 0)) {
      case WAIT_OBJECT_0: return tsFree;
      case WAIT_ABANDONED: return tsAbandoned;
      default: return tsHeld;
    }
  }

 private:
  HANDLE FMutex;
};

TUtOptex::TUtOptex(const String& name, Integer spinCount) : FName(name) {
  if (name.empty()) {
    FEvent = std::make_unique<TUtEvent>(nullptr, false, false, String());
    FPrivateInfo = std::make_unique<TOptexSharedInfo>();
    FSharedInfo = FPrivateInfo.get();
  } else {
    FEvent = std::make_unique<TUtEvent>(nullptr, false, false, u"Optex_Event_" + name);
    FExisted = FEvent->Existed();
    FHolderToken = std::make_unique<MutexToken>(u"Optex_Mutex_" + name);
    FFileMapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TOptexSharedInfo),
                                      WStr(u"Optex_MMF_" + name));
    if (!FFileMapping) throw EUtFileMappingError(u"Failed to create FileMapping");
    FSharedInfo =
        static_cast<TOptexSharedInfo*>(MapViewOfFile(FFileMapping, FILE_MAP_WRITE, 0, 0, sizeof(TOptexSharedInfo)));
    if (!FSharedInfo) {
      EUtFileMappingViewError error(u"Failed to create FileMappingView");
      CloseHandle(FFileMapping);
      throw error;
    }
  }
  FEventAdapter = std::make_unique<EventAdapter>(*FEvent);
  FLock = std::make_unique<TOptexLock>(*FSharedInfo, *FEventAdapter, CurrentThread, FHolderToken.get());
  SetSpinCount(spinCount);
}

TUtOptex::~TUtOptex() {
  FLock.reset();
  if (FFileMapping) {
    UnmapViewOfFile(FSharedInfo);
    CloseHandle(FFileMapping);
  }
}

void TUtOptex::SetSpinCount(Integer value) {
  FLock->SetSpinCount(value, ProcessorCount());
}

// ---- Mappings ----

TUtCustomFileMapping::~TUtCustomFileMapping() {
  while (!FViews.empty()) FViews.pop_back();
  if (FHandle) CloseHandle(FHandle);
}

std::unique_ptr<TUtCustomFileMapping> TUtCustomFileMapping::Open(const String& name, bool inheritHandle,
                                                                 Cardinal desiredAccess) {
  std::unique_ptr<TUtCustomFileMapping> mapping(new TUtCustomFileMapping());
  mapping->FName = name;
  mapping->FHandle = OpenFileMappingW(desiredAccess, inheritHandle, WStr(name));
  if (!mapping->FHandle) throw EUtFileMappingError(u"Failed to create FileMapping");
  mapping->FExisted = true;
  return mapping;
}

int TUtCustomFileMapping::Add(Cardinal access, Cardinal count, Int64 offset) {
  return AddAt(access, count, offset, nullptr);
}

int TUtCustomFileMapping::AddAt(Cardinal access, Cardinal count, Int64 offset, void* address) {
  // The view joins the list from its constructor.
  new TUtFileMappingView(this, access, count, offset, address);
  return Count() - 1;
}

void TUtCustomFileMapping::Delete(int index) {
  FViews.erase(FViews.begin() + index);
}

int TUtCustomFileMapping::IndexOf(const TUtFileMappingView* view) const {
  for (size_t i = 0; i < FViews.size(); ++i) {
    if (FViews[i].get() == view) return static_cast<int>(i);
  }
  return -1;
}

TUtSwapFileMapping::TUtSwapFileMapping(const String& name, Cardinal protect, Int64 maximumSize,
                                       SECURITY_ATTRIBUTES* secAttr) {
  FName = name;
  FHandle = CreateFileMappingW(INVALID_HANDLE_VALUE, secAttr, protect, static_cast<DWORD>(maximumSize >> 32),
                               static_cast<DWORD>(maximumSize), NameOrNull(name));
  if (!FHandle) throw EUtFileMappingError(u"Failed to create FileMapping");
  FExisted = GetLastError() == ERROR_ALREADY_EXISTS;
}

TUtFileMappingView::TUtFileMappingView(TUtCustomFileMapping* fileMapping, Cardinal access, Cardinal count, Int64 offset,
                                       void* address)
    : FFileMapping(fileMapping) {
  if (!fileMapping) throw EUtFileMappingViewError(u"FileMap argument of TUtFileMappingView constructor cannot be nil");
  RoundOffsetToGranularity(offset, fileMapping->RoundViewOffset() == rvUp);
  FOffsetHigh = static_cast<Cardinal>(offset >> 32);
  FOffsetLow = static_cast<Cardinal>(offset);
  void* memory = MapViewOfFileEx(fileMapping->Handle(), access, FOffsetHigh, FOffsetLow, count, address);
  if (!memory) throw EUtFileMappingViewError(u"Failed to create FileMappingView");
  SetPointer(static_cast<Byte*>(memory), count);
  fileMapping->FViews.emplace_back(this);
}

TUtFileMappingView::~TUtFileMappingView() {
  if (Memory()) UnmapViewOfFile(Memory());
}

bool TUtFileMappingView::Flush(Cardinal count) {
  return FlushViewOfFile(Memory(), count) != 0;
}

Int64 TUtFileMappingView::Offset() const {
  return (static_cast<Int64>(FOffsetHigh) << 32) | FOffsetLow;
}

Int64 TUtFileMappingView::Write(const void* buffer, Int64 count) {
  if (count <= 0 || FPosition < 0 || count > Size() - FPosition) return 0;
  std::memcpy(Memory() + FPosition, buffer, static_cast<size_t>(count));
  FPosition += count;
  return count;
}

void TUtFileMappingView::LoadFromStream(TStream& stream) {
  const Int64 size = stream.Size();
  if (size > Size())
    throw EUtFileMappingViewError(ERROR_NOT_ENOUGH_MEMORY, u"Not enough space in View in procedure LoadFromStream");
  stream.SetPosition(0);
  if (size > 0) stream.ReadBuffer(Memory(), size);
}

void TUtFileMappingView::LoadFromFile(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

// ---- Security identifiers ----

void AccountNameOfSid(PSID sid, String& name, String& domain, bool silentFail) {
  name.clear();
  domain.clear();
  DWORD nameLength = 0;
  DWORD domainLength = 0;
  SID_NAME_USE use{};
  LookupAccountSidW(nullptr, sid, nullptr, &nameLength, nullptr, &domainLength, &use);
  bool found = false;
  if (nameLength > 0) {
    std::vector<wchar_t> nameBuffer(nameLength + 1);
    std::vector<wchar_t> domainBuffer(domainLength + 1);
    found = LookupAccountSidW(nullptr, sid, nameBuffer.data(), &nameLength, domainBuffer.data(), &domainLength, &use);
    if (found) {
      name = FromWStr(nameBuffer.data());
      domain = FromWStr(domainBuffer.data());
    }
  }
  if (!found) {
    if (!silentFail) RaiseLastOSError();
    name = SidText(sid);
  }
}

String SidText(PSID sid) {
  if (!sid || !IsValidSid(sid)) throw EUtSecurityError(u"Invalid SID");
  const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid);
  Byte bytes[6];
  std::memcpy(bytes, authority->Value, 6);
  std::vector<Cardinal> subAuthorities;
  const Byte count = *GetSidSubAuthorityCount(sid);
  for (Byte i = 0; i < count; ++i) subAuthorities.push_back(*GetSidSubAuthority(sid, i));
  return SidText(1, bytes, subAuthorities);
}
