// What the program learns of the system at start-up, and the tables and text
// routines behind it that need no system to run. Nothing here may fail: a
// fact that cannot be had stays empty.
#pragma once

#include <array>
#include <vector>

#include "rtl/types.h"

// Environment flags of the system record.
enum : Byte {
  efLocalSession = 0x01,
  efVMwareDisk = 0x02,
  efHyperVDisk = 0x04,
  efVirtualBoxDisk = 0x08,
  efQemuDisk = 0x10,
  efRemoteSession = 0x20,
  efCitrixAssistance = 0x40,
};

// Which virtual machine a disk device key name tells of (one of the disk
// flags above), 0 for a real disk.
Byte VirtualDiskFlag(StringView deviceKeyName);

// An edition text made short for display: "Service Pack " to "SP",
// "Standard" to "Std", "Professional" to "Pro", "Enterprise" to "Ent",
// "Seven" to "7"; "Edition", "(R)", "\u00AE", "(TM)" and "Microsoft" dropped,
// doubled blanks made single.
String ShortenEditionName(StringView edition);

// "S-1-", the authority and the sub-authorities joined with "-".
String SecurityIdText(UInt64 authority, const std::vector<Cardinal>& subAuthorities);

struct TZodiacSign {
  const char16_t* Sign;
  Word FirstDay;  // day of the year
  Word LastDay;
  const char16_t* Ruler;
  const char16_t* Traits;
};

extern const std::array<const char16_t*, 7> kDayAbbreviations;
extern const std::array<const char16_t*, 12> kMonthAbbreviations;
extern const std::array<const char16_t*, 15> kTimeZoneNames;
extern const std::array<TZodiacSign, 13> kZodiacSigns;
// The sign of a day of the year (1 to 366).
const TZodiacSign* ZodiacSignOfDay(Integer dayOfYear);
