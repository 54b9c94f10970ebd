#include "app/systeminfo.h"

#include <vector>

#include "rtl/numbers.h"
#include "rtl/sysstr.h"

const std::array<const char16_t*, 7> kDayAbbreviations = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
const std::array<const char16_t*, 12> kMonthAbbreviations = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                             u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
const std::array<const char16_t*, 15> kTimeZoneNames = {u"UT",  u"GMT", u"EST", u"EDT", u"CST", u"CDT", u"MST", u"MDT",
                                                        u"PST", u"PDT", u"Z",   u"A",   u"M",   u"N",   u"Y"};
const std::array<TZodiacSign, 13> kZodiacSigns = {{
    {u"Aries", 81, 111, u"Mars", u"courageous, energetic, impulsive"},
    {u"Taurus", 112, 142, u"Venus", u"patient, reliable, stubborn"},
    {u"Gemini", 143, 173, u"Mercury", u"curious, adaptable, restless"},
    {u"Cancer", 174, 204, u"Moon", u"caring, loyal, moody"},
    {u"Leo", 205, 235, u"Sun", u"generous, confident, proud"},
    {u"Virgo", 236, 266, u"Mercury", u"precise, modest, critical"},
    {u"Libra", 267, 296, u"Venus", u"diplomatic, fair, indecisive"},
    {u"Scorpio", 297, 326, u"Pluto and Mars", u"passionate, resolute, secretive"},
    {u"Sagittarius", 327, 356, u"Jupiter", u"optimistic, free, careless"},
    {u"Capricorn", 357, 366, u"Saturn", u"disciplined, ambitious, reserved"},
    {u"Capricorn", 1, 20, u"Saturn", u"disciplined, ambitious, reserved"},
    {u"Aquarius", 21, 50, u"Uran and Saturn", u"original, independent, aloof"},
    {u"Pisces", 51, 80, u"Neptun and Jupiter", u"compassionate, artistic, dreamy"},
}};

const TZodiacSign* ZodiacSignOfDay(Integer dayOfYear) {
  for (const TZodiacSign& sign : kZodiacSigns)
    if (dayOfYear >= sign.FirstDay && dayOfYear <= sign.LastDay) return &sign;
  return nullptr;
}

Byte VirtualDiskFlag(StringView deviceKeyName) {
  const String upper = UpperCase(deviceKeyName);
  if (upper.find(u"VIRTUAL_HD") != String::npos) return efHyperVDisk;
  if (upper.find(u"VMWARE") != String::npos) return efVMwareDisk;
  if (upper.find(u"VBOX_HARD") != String::npos) return efVirtualBoxDisk;
  if (upper.find(u"QEMU_HARD") != String::npos) return efQemuDisk;
  return 0;
}

String ShortenEditionName(StringView edition) {
  static const std::pair<const char16_t*, const char16_t*> kReplacements[] = {
      {u"Service Pack ", u"SP"}, {u"Standard", u"Std"}, {u"Professional", u"Pro"}, {u"Enterprise", u"Ent"},
      {u"Edition", u""},         {u"(R)", u""},         {u"\u00AE", u""},          {u"(TM)", u""},
      {u"Microsoft", u""},       {u"Seven", u"7"},
  };
  String text(edition);
  for (const auto& [from, to] : kReplacements) text = StringReplace(text, from, to, rfReplaceAll);
  while (text.find(u"  ") != String::npos) text = StringReplace(text, u"  ", u" ", rfReplaceAll);
  return Trim(text);
}

String SecurityIdText(UInt64 authority, const std::vector<Cardinal>& subAuthorities) {
  String text = u"S-1-" + UIntToStr(authority);
  for (Cardinal sub : subAuthorities) text += u"-" + UIntToStr(sub);
  return text;
}

namespace {

struct TProductEdition {
  Cardinal Code;
  const char16_t* Name;
};

// The published product codes of the platform's product information.
constexpr TProductEdition kProductEditions[] = {
    {0x01, u"Ultimate"},
    {0x02, u"Home Basic"},
    {0x03, u"Home Premium"},
    {0x04, u"Enterprise"},
    {0x05, u"Home Basic N"},
    {0x06, u"Business"},
    {0x07, u"Standard"},
    {0x08, u"Datacenter"},
    {0x09, u"Small Business Server"},
    {0x0A, u"Enterprise Server"},
    {0x0B, u"Starter"},
    {0x0C, u"Datacenter Server Core"},
    {0x0D, u"Standard Server Core"},
    {0x0E, u"Enterprise Server Core"},
    {0x0F, u"Enterprise Server for Itanium-based Systems"},
    {0x10, u"Business N"},
    {0x11, u"Web Server Full"},
    {0x12, u"Cluster Server"},
    {0x13, u"Home Server"},
    {0x14, u"Storage Server Express"},
    {0x15, u"Storage Server Standard"},
    {0x16, u"Storage Server Workgroup"},
    {0x17, u"Storage Server Enterprise"},
    {0x18, u"Server for Small Business"},
    {0x19, u"Small Business Server Premium"},
    {0x1A, u"Home Premium N"},
    {0x1B, u"Enterprise N"},
    {0x1C, u"Ultimate N"},
    {0x1D, u"Web Server Core"},
    {0x1E, u"Essential Business Server Management Server"},
    {0x1F, u"Essential Business Server Security Server"},
    {0x20, u"Essential Business Server Messaging Server"},
    {0x21, u"Server Foundation"},
    {0x22, u"Home Server 2011"},
    {0x23, u"Server without Hyper-V for Essential Server Solutions"},
    {0x24, u"Standard without Hyper-V"},
    {0x25, u"Datacenter without Hyper-V"},
    {0x26, u"Enterprise without Hyper-V"},
    {0x27, u"Datacenter Server Core without Hyper-V"},
    {0x28, u"Standard Server Core without Hyper-V"},
    {0x29, u"Enterprise Server Core without Hyper-V"},
    {0x2A, u"Hyper-V Server"},
    {0x2B, u"Storage Server Express Core"},
    {0x2C, u"Storage Server Standard Core"},
    {0x2D, u"Storage Server Workgroup Core"},
    {0x2E, u"Storage Server Enterprise Core"},
    {0x2F, u"Starter N"},
    {0x30, u"Professional"},
    {0x31, u"Professional N"},
    {0x32, u"Small Business Server Essentials"},
    {0x42, u"Starter E"},
    {0x43, u"Home Basic E"},
    {0x44, u"Home Premium E"},
    {0x45, u"Professional E"},
    {0x46, u"Enterprise E"},
    {0x47, u"Ultimate E"},
    {0x48, u"Enterprise Evaluation"},
    {0x62, u"Home N"},
    {0x63, u"Home China"},
    {0x64, u"Home Single Language"},
    {0x65, u"Home"},
    {0x79, u"Education"},
    {0x7A, u"Education N"},
    {0x7D, u"Enterprise LTSB"},
    {0x7E, u"Enterprise LTSB N"},
    {0xA1, u"Pro for Workstations"},
    {0xA2, u"Pro for Workstations N"},
};

constexpr Word kSuiteEnterprise = 0x0002;
constexpr Word kSuiteDatacenter = 0x0080;
constexpr Word kSuitePersonal = 0x0200;
constexpr Word kSuiteStorageServer = 0x2000;
constexpr Word kSuiteHomeServer = 0x8000;
constexpr Byte kWorkstation = 1;

// The name by version, without the processor width.
String SystemNameByVersion(const TOsVersionFacts& f, bool shortForm) {
  const bool workstation = f.ProductType == kWorkstation;
  if (f.PlatformId == 1 && f.Major == 4) {
    if (f.Minor == 0) return u"Windows 95";
    if (f.Minor == 10) return u"Windows 98";
    if (f.Minor == 90) return u"Windows Millennium Edition";
    return {};
  }
  switch (f.Major) {
    case 4: return f.Minor == 0 ? u"Windows NT 4.0" : String();
    case 5:
      if (f.Minor == 0) {
        if (workstation) return u"Windows 2000 Professional";
        if (f.SuiteMask & kSuiteDatacenter) return u"Windows 2000 Datacenter Server";
        if (f.SuiteMask & kSuiteEnterprise) return u"Windows 2000 Advanced Server";
        return u"Windows 2000 Server";
      }
      if (f.Minor == 1) {
        String name = f.SuiteMask & kSuitePersonal ? u"Windows XP Home" : u"Windows XP Professional";
        if (f.Starter) name += u" Starter";
        else if (f.TabletPC) name += u" Tablet PC";
        else if (f.MediaCenter) name += u" Media Center";
        return name;
      }
      if (f.Minor == 2) {
        if (workstation) return u"Windows XP Professional";
        if (f.SuiteMask & kSuiteHomeServer) return u"Windows Home Server";
        if (f.SuiteMask & kSuiteStorageServer) return u"Windows Storage Server 2003";
        return f.ServerR2 ? u"Windows Server 2003 R2" : u"Windows Server 2003";
      }
      return {};
    case 6:
      switch (f.Minor) {
        case 0: return workstation ? u"Windows Vista" : u"Windows Server 2008";
        case 1: return workstation ? u"Windows 7" : u"Windows Server 2008 R2";
        case 2: return workstation ? u"Windows 8" : u"Windows Server 2012";
        case 3: return workstation ? u"Windows 8.1" : u"Windows Server 2012 R2";
        default: return {};
      }
    case 10:
      if (workstation || shortForm) return u"Windows 10";
      if (f.Build >= 20348) return u"Windows Server 2022";
      if (f.Build >= 17763) return u"Windows Server 2019";
      return u"Windows Server 2016";
    default: return {};
  }
}

}  // namespace

String ProductEditionName(Cardinal productCode) {
  for (const TProductEdition& edition : kProductEditions)
    if (edition.Code == productCode) return edition.Name;
  return u"An unknown product";
}

String ShortSystemName(const TOsVersionFacts& facts) {
  String name = facts.WinPE ? u"WinPE " + facts.WinPEVersion : SystemNameByVersion(facts, true);
  if (!name.empty() && facts.Is64Bit) name += u" x64";
  return name;
}

String OperatingSystemName(const TOsVersionFacts& facts) {
  String name = SystemNameByVersion(facts, false);
  if (!name.empty() && !facts.ServicePack.empty()) name += u" " + facts.ServicePack;
  return name;
}

void EnvironmentLines(const char16_t* block, TStrings& lines) {
  lines.Clear();
  if (!block) return;
  while (*block) {
    const StringView entry(block);
    lines.Add(String(entry));
    block += entry.size() + 1;
  }
}
