#include "app/systeminfo.h"

#include <gtest/gtest.h>

TEST(SystemInfo, EditionNamesShortened) {
  EXPECT_EQ(ShortenEditionName(u"Microsoft Windows 7 Professional Service Pack 1"), u"Windows 7 Pro SP1");
  EXPECT_EQ(ShortenEditionName(u"Microsoft(R) Windows(R) Server 2003, Enterprise Edition"),
            u"Windows Server 2003, Ent");
  EXPECT_EQ(ShortenEditionName(u"Windows Seven Standard (TM)"), u"Windows 7 Std");
  EXPECT_EQ(ShortenEditionName(u""), u"");
}

TEST(SystemInfo, VirtualDisksAndSecurityIds) {
  EXPECT_EQ(VirtualDiskFlag(u"DiskVBOX_HARDDISK___________________________1.0_____"), efVirtualBoxDisk);
  EXPECT_EQ(VirtualDiskFlag(u"Disk&Ven_VMware_&Prod_VMware_Virtual_S"), efVMwareDisk);
  EXPECT_EQ(VirtualDiskFlag(u"Disk&Ven_Msft&Prod_Virtual_HD"), efHyperVDisk);
  EXPECT_EQ(VirtualDiskFlag(u"DiskQEMU_HARDDISK"), efQemuDisk);
  EXPECT_EQ(VirtualDiskFlag(u"Disk&Ven_Samsung"), 0);
  EXPECT_EQ(SecurityIdText(5, {21, 1004336348, 1177238915, 682003330, 512}),
            u"S-1-5-21-1004336348-1177238915-682003330-512");
  EXPECT_EQ(SecurityIdText(1, {0}), u"S-1-1-0");
}

TEST(SystemInfo, DateVocabulary) {
  EXPECT_EQ(String(kDayAbbreviations[6]), u"Sun");
  EXPECT_EQ(String(kMonthAbbreviations[11]), u"Dec");
  EXPECT_EQ(String(kTimeZoneNames[14]), u"Y");
  // Every day of the year has exactly one sign; Capricorn spans the new year.
  for (Integer day = 1; day <= 366; ++day) {
    int signs = 0;
    for (const TZodiacSign& sign : kZodiacSigns) signs += day >= sign.FirstDay && day <= sign.LastDay;
    EXPECT_EQ(signs, 1) << day;
  }
  EXPECT_EQ(String(ZodiacSignOfDay(1)->Sign), u"Capricorn");
  EXPECT_EQ(String(ZodiacSignOfDay(366)->Sign), u"Capricorn");
  EXPECT_EQ(String(ZodiacSignOfDay(81)->Ruler), u"Mars");
  EXPECT_EQ(ZodiacSignOfDay(0), nullptr);
}

TEST(SystemInfo, ProductEditions) {
  EXPECT_EQ(ProductEditionName(0x01), u"Ultimate");
  EXPECT_EQ(ProductEditionName(0x03), u"Home Premium");
  EXPECT_EQ(ProductEditionName(0x11), u"Web Server Full");
  EXPECT_EQ(ProductEditionName(0x30), u"Professional");
  EXPECT_EQ(ProductEditionName(0), u"An unknown product");
  EXPECT_EQ(ProductEditionName(0xABCDABCD), u"An unknown product");
}

TEST(SystemInfo, SystemNamesByVersion) {
  struct Case {
    Cardinal Major, Minor, Build;
    Byte ProductType;
    Word Suite;
    bool R2, Is64;
    const char16_t* Short;
    const char16_t* Long;
  };
  const Case cases[] = {
      {5, 0, 2195, 1, 0, false, false, u"Windows 2000 Professional", u"Windows 2000 Professional"},
      {5, 0, 2195, 3, 0x80, false, false, u"Windows 2000 Datacenter Server", u"Windows 2000 Datacenter Server"},
      {5, 0, 2195, 3, 0x02, false, false, u"Windows 2000 Advanced Server", u"Windows 2000 Advanced Server"},
      {5, 1, 2600, 1, 0x200, false, false, u"Windows XP Home", u"Windows XP Home"},
      {5, 1, 2600, 1, 0, false, false, u"Windows XP Professional", u"Windows XP Professional"},
      {5, 2, 3790, 1, 0, false, true, u"Windows XP Professional x64", u"Windows XP Professional"},
      {5, 2, 3790, 3, 0, true, false, u"Windows Server 2003 R2", u"Windows Server 2003 R2"},
      {5, 2, 3790, 3, 0x8000, false, false, u"Windows Home Server", u"Windows Home Server"},
      {6, 0, 6002, 1, 0, false, false, u"Windows Vista", u"Windows Vista"},
      {6, 1, 7601, 1, 0, false, true, u"Windows 7 x64", u"Windows 7"},
      {6, 3, 9600, 3, 0, false, true, u"Windows Server 2012 R2 x64", u"Windows Server 2012 R2"},
      {10, 0, 19045, 1, 0, false, true, u"Windows 10 x64", u"Windows 10"},
      {10, 0, 14393, 3, 0, false, true, u"Windows 10 x64", u"Windows Server 2016"},
      {10, 0, 17763, 2, 0, false, false, u"Windows 10", u"Windows Server 2019"},
      {3, 51, 1057, 1, 0, false, false, u"", u""},
  };
  for (const Case& c : cases) {
    TOsVersionFacts facts;
    facts.Major = c.Major;
    facts.Minor = c.Minor;
    facts.Build = c.Build;
    facts.ProductType = c.ProductType;
    facts.SuiteMask = c.Suite;
    facts.ServerR2 = c.R2;
    facts.Is64Bit = c.Is64;
    EXPECT_EQ(ShortSystemName(facts), c.Short) << c.Major << "." << c.Minor;
    EXPECT_EQ(OperatingSystemName(facts), c.Long) << c.Major << "." << c.Minor;
  }
  TOsVersionFacts xp;
  xp.Major = 5;
  xp.Minor = 1;
  xp.MediaCenter = true;
  xp.ServicePack = u"Service Pack 3";
  EXPECT_EQ(OperatingSystemName(xp), u"Windows XP Professional Media Center Service Pack 3");
  TOsVersionFacts nine;
  nine.PlatformId = 1;
  nine.Major = 4;
  nine.Minor = 90;
  EXPECT_EQ(ShortSystemName(nine), u"Windows Millennium Edition");
  TOsVersionFacts pe;
  pe.Major = 10;
  pe.WinPE = true;
  pe.WinPEVersion = u"10.0";
  pe.Is64Bit = true;
  EXPECT_EQ(ShortSystemName(pe), u"WinPE 10.0 x64");
}

TEST(SystemInfo, EnvironmentBlockLines) {
  const char16_t block[] = u"=C:=C:\\work\0PATH=C:\\bin\0EMPTY=\0\0";
  TStringList lines;
  EnvironmentLines(block, lines);
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines[0], u"=C:=C:\\work");
  EXPECT_EQ(lines[1], u"PATH=C:\\bin");
  EXPECT_EQ(lines[2], u"EMPTY=");
  EnvironmentLines(nullptr, lines);
  EXPECT_EQ(lines.Count(), 0);
}
