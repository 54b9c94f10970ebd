// Kernel objects shared by name between processes: events, the spinning
// lock (optex), page-file-backed memory mappings with views that read and
// write as memory streams, and the names of a user account.
#pragma once

// The window library's door to the system headers.
#include "ui/winapi.h"

#include <atomic>
#include <memory>
#include <vector>

#include "rtl/streams.h"
#include "services/optex.h"
#include "services/utilbase.h"

KST_DECLARE_EXCEPTION(EUtEventError, EUtWin32Error);
KST_DECLARE_EXCEPTION(EUtFileMappingError, EUtWin32Error);
KST_DECLARE_EXCEPTION(EUtFileMappingViewError, EUtWin32Error);
KST_DECLARE_EXCEPTION(EUtSecurityError, EUtError);

// A kernel object that can be waited on; the handle is owned.
class TUtDispatcherObject {
 public:
  TUtDispatcherObject() = default;
  virtual ~TUtDispatcherObject();
  TUtDispatcherObject(const TUtDispatcherObject&) = delete;
  TUtDispatcherObject& operator=(const TUtDispatcherObject&) = delete;

  // Adopts a handle (closing one held before).
  void Attach(HANDLE handle);
  bool Existed() const { return FExisted; }
  HANDLE Handle() const { return FHandle; }
  const String& Name() const { return FName; }

  TUtWaitResult WaitFor(Cardinal timeOut);
  TUtWaitResult WaitForever() { return WaitFor(INFINITE); }
  TUtWaitResult WaitAlertable(Cardinal timeOut);
  // Signals `object` and waits on this one in one step.
  TUtWaitResult SignalAndWait(TUtDispatcherObject& object, Cardinal timeOut, bool alertable);

 protected:
  bool FExisted = false;
  HANDLE FHandle = nullptr;
  String FName;
};

class TUtEvent : public TUtDispatcherObject {
 public:
  // Creates or opens the event of that name (unnamed for ""): EUtEventError
  // "Failed to create event".
  TUtEvent(SECURITY_ATTRIBUTES* secAttr, bool manual, bool signaled, const String& name);
  // Opens an existing event: EUtEventError "Failed to open event".
  static std::unique_ptr<TUtEvent> Open(Cardinal access, bool inheritable, const String& name);
  bool SetEvent();
  bool ResetEvent();
  bool Pulse();

 private:
  TUtEvent() = default;
};

class TUtCriticalSection {
 public:
  TUtCriticalSection() { InitializeCriticalSection(&FCriticalSection); }
  ~TUtCriticalSection() { DeleteCriticalSection(&FCriticalSection); }
  TUtCriticalSection(const TUtCriticalSection&) = delete;
  TUtCriticalSection& operator=(const TUtCriticalSection&) = delete;
  void Enter() { EnterCriticalSection(&FCriticalSection); }
  void Leave() { LeaveCriticalSection(&FCriticalSection); }
  // Makes the section on first use, safe between threads, and enters it.
  static void CreateAndEnter(std::atomic<TUtCriticalSection*>& section);

 private:
  CRITICAL_SECTION FCriticalSection;
};

// The lock of threads of any process that opens the same name ("" keeps it
// inside this process). Re-entrant for its owner thread.
class TUtOptex {
 public:
  TUtOptex(const String& name, Integer spinCount);
  ~TUtOptex();
  TUtOptex(const TUtOptex&) = delete;
  TUtOptex& operator=(const TUtOptex&) = delete;

  void Enter() { FLock->Enter(); }
  bool TryEnter() { return FLock->TryEnter(); }
  void Leave() { FLock->Leave(); }
  Integer SpinCount() const { return FLock->SpinCount(); }
  void SetSpinCount(Integer value);
  bool UniProcess() const { return FFileMapping == nullptr; }
  bool Existed() const { return FExisted; }
  const String& Name() const { return FName; }

 private:
  class EventAdapter;
  class MutexToken;
  std::unique_ptr<TUtEvent> FEvent;
  bool FExisted = false;
  HANDLE FFileMapping = nullptr;
  String FName;
  TOptexSharedInfo* FSharedInfo = nullptr;
  std::unique_ptr<TOptexSharedInfo> FPrivateInfo;
  std::unique_ptr<EventAdapter> FEventAdapter;
  // Between processes: a mutex the owner holds, so that the death of a
  // holder is seen and its lock taken over.
  std::unique_ptr<MutexToken> FHolderToken;
  std::unique_ptr<TOptexLock> FLock;
};

// Holds the optex for the scope.
class TUtOptexScope {
 public:
  explicit TUtOptexScope(TUtOptex& optex) : FOptex(optex) { FOptex.Enter(); }
  ~TUtOptexScope() { FOptex.Leave(); }
  TUtOptexScope(const TUtOptexScope&) = delete;
  TUtOptexScope& operator=(const TUtOptexScope&) = delete;

 private:
  TUtOptex& FOptex;
};

enum TUtFileMappingRoundOffset { rvDown, rvUp };
class TUtFileMappingView;

class TUtCustomFileMapping {
 public:
  virtual ~TUtCustomFileMapping();
  TUtCustomFileMapping(const TUtCustomFileMapping&) = delete;
  TUtCustomFileMapping& operator=(const TUtCustomFileMapping&) = delete;

  // Opens an existing mapping: EUtFileMappingError "Failed to create FileMapping".
  static std::unique_ptr<TUtCustomFileMapping> Open(const String& name, bool inheritHandle, Cardinal desiredAccess);

  // Maps a view of `count` bytes at `offset` (aligned to the allocation
  // granularity as RoundViewOffset says); its index.
  int Add(Cardinal access, Cardinal count, Int64 offset);
  int AddAt(Cardinal access, Cardinal count, Int64 offset, void* address);
  void Delete(int index);
  int Count() const { return static_cast<int>(FViews.size()); }
  TUtFileMappingView& Views(int index) const { return *FViews.at(static_cast<size_t>(index)); }
  int IndexOf(const TUtFileMappingView* view) const;
  bool Existed() const { return FExisted; }
  HANDLE Handle() const { return FHandle; }
  const String& Name() const { return FName; }
  TUtFileMappingRoundOffset RoundViewOffset() const { return FRoundViewOffset; }
  void SetRoundViewOffset(TUtFileMappingRoundOffset value) { FRoundViewOffset = value; }

 protected:
  TUtCustomFileMapping() = default;
  bool FExisted = false;
  HANDLE FHandle = nullptr;
  String FName;

 private:
  friend class TUtFileMappingView;
  TUtFileMappingRoundOffset FRoundViewOffset = rvDown;
  std::vector<std::unique_ptr<TUtFileMappingView>> FViews;
};

// A mapping backed by the page file.
class TUtSwapFileMapping : public TUtCustomFileMapping {
 public:
  // Creates or opens it: EUtFileMappingError "Failed to create FileMapping".
  TUtSwapFileMapping(const String& name, Cardinal protect, Int64 maximumSize, SECURITY_ATTRIBUTES* secAttr);
};

// A mapped view, read and written as a stream that never grows.
class TUtFileMappingView : public TCustomMemoryStream {
 public:
  // EUtFileMappingViewError "Failed to create FileMappingView" when the
  // system refuses.
  TUtFileMappingView(TUtCustomFileMapping* fileMapping, Cardinal access, Cardinal count, Int64 offset,
                     void* address = nullptr);
  ~TUtFileMappingView() override;

  bool Flush(Cardinal count);
  Int64 Offset() const;
  int Index() const { return FFileMapping->IndexOf(this); }
  TUtCustomFileMapping& FileMapping() const { return *FFileMapping; }
  // Writes nothing (0) when the bytes would not fit.
  Int64 Write(const void* buffer, Int64 count) override;
  // EUtFileMappingViewError "Not enough space in View in procedure
  // LoadFromStream" when the stream is larger than the view.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const String& fileName);

 private:
  TUtCustomFileMapping* FFileMapping;
  Cardinal FOffsetHigh = 0;
  Cardinal FOffsetLow = 0;
};

// The account and domain of a security identifier on this machine; when the
// lookup fails, with silentFail the identifier's text and no domain, else
// the system's error is raised.
void AccountNameOfSid(PSID sid, String& name, String& domain, bool silentFail);
// EUtSecurityError "Invalid SID" for an identifier that is not one.
String SidText(PSID sid);
