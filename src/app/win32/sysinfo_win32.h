// What the program learns of the system at start-up. Nothing here may fail:
// a fact that cannot be had stays empty or 0.
#pragma once

#include "ui/winapi.h"

#include <array>

#include "rtl/types.h"

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
};

// The record, filled once by GatherSystemRecord.
const TSystemRecord& SystemRecord();
void GatherSystemRecord();
