// The component that makes the program a single instance: a second start
// hands its command line to the running one and ends, and the running one
// hears of other instances coming and going through its events.
#pragma once

#include "ui/winapi.h"

#include <deque>
#include <vector>

#include "classes/component.h"
#include "services/win32/appinst.h"

class TStrings;

using TInstanceChangeEvent = TDelegate<void(TObject* Sender, Cardinal ProcessId)>;
using TUserNotifyEvent = TDelegate<void(TObject* Sender, Integer Param)>;
using TDataAvailableEvent = TDelegate<void(TObject* Sender, Integer Kind, void* Data, Integer Size)>;
using TCmdLineReceivedEvent = TDelegate<void(TObject* Sender, TStrings* CmdLine)>;
const TTypeInfo& DescribeType(TypeTag<TInstanceChangeEvent>);
// Given with its property: other events share its signature.
const TTypeInfo& UserNotifyEventType();
const TTypeInfo& DescribeType(TypeTag<TDataAvailableEvent>);
const TTypeInfo& DescribeType(TypeTag<TCmdLineReceivedEvent>);

inline constexpr char16_t kSvAppInstancesWindowClass[] = u"SvAppInstances_WindowClass";
// Told when the running instance is hung and this one carries on instead.
inline constexpr char16_t kInstanceHungText[] =
    u"The program is already running but does not respond. The files are opened in this window instead.";

// A hidden window of that class ("TSvUtilWindowEx" for none) whose messages
// go to the method; the method sets the message's result.
HWND CreateUtilityWindow(const String& className, const TWndMethod& method);
void DestroyUtilityWindow(HWND window);

class TSvAppInstances : public TComponent {
  KST_CLASS(TSvAppInstances, TComponent)
 public:
  explicit TSvAppInstances(TComponent* owner);
  ~TSvAppInstances() override;

  // Whether this process is one too many: if so, and the running instances
  // do not answer that they are inactive, brings the first to the front,
  // sends it the command line and ends the process.
  void Check();
  void UserNotify(Integer param);
  bool SendData(Integer dataKind, const void* data, Integer size);
  // The process's shared tables (none in design state).
  TUtAppInstances* AppInstances();
  HWND Handle() const { return FHandle; }

  bool Active() const { return FActive; }
  void SetActive(bool value) { FActive = value; }
  bool AutoActivate() const { return FAutoActivate; }
  void SetAutoActivate(bool value) { FAutoActivate = value; }
  Integer MaxInstances() const { return FMaxInstances; }
  void SetMaxInstances(Integer value) { FMaxInstances = value; }
  bool SendCmdLine() const { return FSendCmdLine; }
  void SetSendCmdLine(bool value) { FSendCmdLine = value; }
  String UniqueAppId() const;

  TInstanceChangeEvent OnInstanceCreated;
  TInstanceChangeEvent OnInstanceDestroyed;
  TUserNotifyEvent OnUserNotify;
  TDataAvailableEvent OnDataAvailable;
  // One argument a line; it runs after the sender's message has returned.
  TCmdLineReceivedEvent OnCmdLineReceived;
  TNotifyEvent OnRejected;

 protected:
  void Loaded() override;
  virtual void WndProc(TMessage& message);
  virtual void DoInstanceCreated(Cardinal processId);
  virtual void DoInstanceDestroyed(Cardinal processId);
  virtual void DoUserNotify(Integer param);
  virtual void DoDataAvailable(Integer kind, void* data, Integer size);
  virtual void DoCmdLineReceived(TStrings* cmdLine);
  virtual void DoRejected();

 private:
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  void HandleMessage(TMessage& message);
  void DeliverReceived();

  HWND FHandle = nullptr;
  bool FAutoActivate = true;
  Integer FMaxInstances = 1;
  bool FActive = true;
  bool FSendCmdLine = true;
  // Data that arrived by copy-data, handed to the events once the sender's
  // message has returned.
  struct Received {
    Integer Kind;
    std::vector<Byte> Data;
  };
  std::deque<Received> FReceived;
};
