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
