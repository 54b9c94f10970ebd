#include <unistd.h>

#include "services/utilbase.h"

namespace {

TSystemInformation ReadSystemInformation() {
  TSystemInformation info;
  const long processors = sysconf(_SC_NPROCESSORS_ONLN);
  if (processors > 0) info.ProcessorCount = static_cast<Cardinal>(processors);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pageSize > 0) info.PageSize = static_cast<Cardinal>(pageSize);
  // Mappings here are placed at page boundaries.
  info.AllocationGranularity = info.PageSize;
  info.IsWinNT = true;
  info.IsWindows64 = false;
  return info;
}

}  // namespace

const TSystemInformation& SystemInformation() {
  static const TSystemInformation info = ReadSystemInformation();
  return info;
}

bool IsWindowsVersionOrGreater(Cardinal, Cardinal) {
  return false;
}

AnsiChar AnsiReplacementChar() {
  return '?';
}
