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
