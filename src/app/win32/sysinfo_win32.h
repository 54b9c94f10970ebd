// What the program learns of the system at start-up. Nothing here may fail:
// a fact that cannot be had stays empty or 0.
#pragma once

#include "ui/winapi.h"

#include <array>

#include "rtl/stringlist.h"
#include "rtl/types.h"

// Entry points that not every system (nor every emulation of one) has,
// bound by name: a missing one stays empty and nothing that needs it runs.
struct TOptionalEntryPoints {
  // kernel32
  FARPROC SetProcessAffinityMask = nullptr;
  FARPROC OpenThread = nullptr;
  FARPROC GetNativeSystemInfo = nullptr;
  FARPROC VerSetConditionMask = nullptr;
  FARPROC VerifyVersionInfo = nullptr;
  FARPROC IsWow64Process = nullptr;
  FARPROC ProcessIdToSessionId = nullptr;
  FARPROC GetSystemTimes = nullptr;
  FARPROC GetProductInfo = nullptr;
  FARPROC GlobalMemoryStatusEx = nullptr;
  FARPROC CreateProcessWithLogonW = nullptr;
  FARPROC GetLongPathNameW = nullptr;
  FARPROC QueryFullProcessImageNameW = nullptr;
  FARPROC GetFinalPathNameByHandleW = nullptr;
  FARPROC GetLogicalProcessorInformation = nullptr;
  FARPROC GetTickCount64 = nullptr;
  // user32
  FARPROC LockWorkStation = nullptr;
  FARPROC IsHungAppWindow = nullptr;
  FARPROC HungWindowFromGhostWindow = nullptr;
  FARPROC GhostWindowFromHungWindow = nullptr;
  FARPROC DisableProcessWindowsGhosting = nullptr;
  // psapi
  FARPROC GetProcessMemoryInfo = nullptr;
  // shell32, by ordinal (the last two from version 6 on)
  std::array<FARPROC, 4> ShellOrdinals{};
};

// Binds the entry points from the three modules (any may be none).
TOptionalEntryPoints BindOptionalEntryPoints(HMODULE kernel, HMODULE user, HMODULE psapi);
// Binds the shell functions by ordinal; the last two only from major version 6 on.
void BindShellOrdinals(TOptionalEntryPoints& entries, HMODULE shell, Cardinal majorVersion);

struct TSystemRecord {
  SYSTEM_INFO SystemInfo{};
  OSVERSIONINFOEXW Version{};
  Byte EnvironmentFlags = 0;
  String Edition;
  String ProductName;
  String BuildLab;
  String InstallationType;
  double InstallDate = 0;  // a date-time
  String ComputerName;
  String UserName;
  String AccountName;
  String ProfileFolder;
  // The device path of each drive letter a to z.
  std::array<String, 26> Drives;
  Cardinal AnsiCodePage = 0;
  bool NetworkBound = false;
  TOptionalEntryPoints EntryPoints;
  Cardinal ProductCode = 0;
  String SystemName;       // the short name ("Windows 10 x64", "WinPE 10.0")
  String OperatingSystem;  // the name with its service pack
  String KernelVersion;    // the product version of kernel32.dll
};

// The record, filled once by GatherSystemRecord.
const TSystemRecord& SystemRecord();
void GatherSystemRecord();

// Frees the network-account library when the record loaded it (once, at
// shutdown); raises "Unload Error: <library> - 0x<handle>" when it cannot.
void ReleaseSystemRecord();

// The process's environment as name=value lines.
void EnvironmentList(TStrings& lines);
// The Windows and system folders joined with ";".
String WindowsAndSystemFolders();
// The path of a special folder (a CSIDL value); empty when there is none.
String SpecialFolderPath(int folder);
// The profile folder of a security identifier given as text; empty when unknown.
String ProfileFolderOfSid(const String& sidText);
// Environment variables expanded ("%NAME%", "%ProgramFiles(x86)%"); a name
// that is not set stays as it is.
String ExpandEnvironment(const String& text);
// The security identifier of an account on a machine (empty: this one) as
// text; empty when the account is unknown.
String AccountSecurityId(const String& machine, const String& account);
