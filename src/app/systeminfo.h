// What the program learns of the system at start-up, and the tables and text
// routines behind it that need no system to run. Nothing here may fail: a
// fact that cannot be had stays empty.
#pragma once

#include <array>
#include <vector>

#include "rtl/stringlist.h"
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

// The edition of a product code as the platform's product information
// reports it ("Ultimate", "Home Premium", "Professional", ...); "An unknown
// product" for a code the table does not hold.
String ProductEditionName(Cardinal productCode);

// What the version information and the platform say of the running system.
struct TOsVersionFacts {
  Cardinal Major = 0;
  Cardinal Minor = 0;
  Cardinal Build = 0;
  Byte ProductType = 1;  // 1 workstation, 2 domain controller, 3 server
  Word SuiteMask = 0;
  bool ServerR2 = false;     // the "R2" system metric of the 5.2 servers
  bool Is64Bit = false;      // a 64-bit processor
  bool Starter = false;      // the system metrics of the XP editions
  bool TabletPC = false;
  bool MediaCenter = false;
  Cardinal PlatformId = 2;   // 2 the NT family, 1 the 95 family
  bool WinPE = false;        // the pre-installation environment's key exists
  String WinPEVersion;       // its version value
  String ServicePack;        // the service-pack text of the version information
};

// The short name of the system: "WinPE <version>" in the pre-installation
// environment, else the name by major and minor version with the edition
// words of 5.x ("Windows XP Professional", "Windows Server 2003 R2",
// "Windows 7", "Windows Server 2012 R2", "Windows 10", ...); " x64" is
// appended on 64-bit processors. Empty for a version the table lacks.
String ShortSystemName(const TOsVersionFacts& facts);

// The system's name with its service pack: the short name without " x64",
// then " " and the service-pack text when there is one.
String OperatingSystemName(const TOsVersionFacts& facts);

// The name=value lines of an environment block: strings ended by a zero,
// the block by an empty one.
void EnvironmentLines(const char16_t* block, TStrings& lines);
