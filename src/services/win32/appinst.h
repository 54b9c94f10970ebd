// The processes that run one program file, in tables shared between them:
// counting them, finding their application windows, bringing one to the
// front, notifying all of them and sending them data.
#pragma once

#include "ui/winapi.h"

#include <memory>
#include <vector>

#include "services/instancetable.h"
#include "services/win32/synch.h"
#include "ui/messages.h"

class TStrings;

// How long a process waits on another one that does not answer before it
// takes that as no answer, where an answer is only a courtesy.
inline constexpr UINT kInstanceSendTimeout = 5000;
// Data handed to another instance is waited for as long as that instance
// works; only one that neither answers nor uses the processor for this long
// is taken as hung.
inline constexpr DWORD kInstanceHungLimit = 10000;

class TUtAppInstances {
 public:
  // Opens (or creates) the shared tables of the program; see SharedAppInstances.
  TUtAppInstances();
  // Leaves the tables and tells the other instances.
  ~TUtAppInstances();
  TUtAppInstances(const TUtAppInstances&) = delete;
  TUtAppInstances& operator=(const TUtAppInstances&) = delete;

  // Enters this process in the tables of all instances, of the session and
  // of the user, each with its limit (0: none) fixed by the first process;
  // true when all three allow it. Tells the others when it is allowed.
  bool CheckInstance(Word maxInstances, Word maxSessionInstances, Word maxUserInstances);
  // When CheckInstance refuses: brings the first instance to the front and
  // ends the process.
  void CheckMultipleInstances(Word maxInstances, Word maxSessionInstances, Word maxUserInstances);
  void CheckSingleInstance() { CheckMultipleInstances(1, 0, 0); }

  UINT MessageID() const { return FMessageID; }
  const String& UniqueAppID() const { return FUniqueAppID; }
  int InstanceCount();
  int SessionInstanceCount();
  int UserInstanceCount();
  // Of the table of all instances: 0 beyond the count.
  Cardinal ProcessIdAt(int index);
  int IndexOfProcess(Cardinal processId);
  HWND AppWindowOf(int index);
  HWND SessionAppWindowOf(int index);
  HWND UserAppWindowOf(int index);
  bool SwitchTo(int index) { return BringAppWindowToFront(AppWindowOf(index)); }
  bool SessionSwitchTo(int index) { return BringAppWindowToFront(SessionAppWindowOf(index)); }
  bool UserSwitchTo(int index) { return BringAppWindowToFront(UserAppWindowOf(index)); }

  // The first top-level window of the process whose class is "TApplication".
  static HWND GetApplicationWnd(Cardinal processId);
  // Restores a minimised program, then makes the window the foreground one.
  static bool BringAppWindowToFront(HWND window);
  static bool SetForegroundWindow98(HWND window);

  // Kind 3 with the value to every instance.
  void UserNotify(Integer param);

  // Copy-data to every top-level window of that class whose process is a
  // registered instance, waiting for each as long as it works; false when a
  // hung one had to be given up (kInstanceHungLimit).
  bool SendData(const String& windowClassName, Integer dataKind, const void* data, Integer size, HWND originatorWnd);
  bool SendString(const String& windowClassName, Integer dataKind, const String& s, HWND originatorWnd);
  bool SendStrings(const String& windowClassName, Integer dataKind, const TStrings& strings, HWND originatorWnd);
  // What this process's arguments ask to open, every one, as data kind 1
  // (ProcessCommandLineFileNames).
  bool SendCmdLineParams(const String& windowClassName, HWND originatorWnd);

  // ---- Receiving, in a window procedure ----
  // The data kind of a copy-data message from another window than
  // `ignoredOriginatorWnd` (result 1), else -1 (result 0).
  static Integer CheckCopyDataKind(TMessage& message, HWND ignoredOriginatorWnd);
  // The bytes of a copy-data message (nothing for other messages).
  static std::vector<Byte> ReadCopyData(const TMessage& message);
  static String ReadCopyDataString(const TMessage& message);
  static void ReadCopyDataStrings(const TMessage& message, TStrings& strings);

 private:
  struct Table {
    std::unique_ptr<TUtSwapFileMapping> Mapping;
    TUtFileMappingView* View = nullptr;
    TInstanceTable Data() const { return TInstanceTable(View->Memory()); }
  };
  enum TableKind { tkAll, tkSession, tkUser };
  void OpenTable(Table& table, const String& name, bool forUser);
  int CountOf(TableKind kind);
  HWND AppWindowIn(TableKind kind, int index);
  void Broadcast(int kind, LPARAM value);
  Table& TableOf(TableKind kind);

  Cardinal FCPID;
  Table FAll;
  Table FSession;
  Table FUser;
  UINT FMessageID = 0;
  std::unique_ptr<TUtOptex> FOptex;
  String FUniqueAppID;
};

// The process's object, made on first call.
// What this process's command line asks to open (CommandLineFileNames
// against the current folder): every argument, files joined, all absolute.
std::vector<String> ProcessCommandLineFileNames();

TUtAppInstances& SharedAppInstances();
// The same; an object not yet made takes `id` for its names.
TUtAppInstances& SharedAppInstancesWithId(const String& id);
// The identifier the program gave (empty: the names follow the program file).
const String& GivenAppInstancesId();
// Whether the process's object exists, and freeing it (leaving the tables).
bool SharedAppInstancesExist();
void FreeSharedAppInstances();
