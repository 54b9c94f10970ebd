#include "app/packagelist.h"

#include "rtl/files.h"
#include "rtl/inifiles.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"

namespace {
constexpr const char16_t* kSection = u"Packages";
constexpr Integer kMaxStoredKey = 255;
}  // namespace

String PackageIniFileName(const String& programPath) {
  return ChangeFileExt(programPath, u".ini");
}

void LoadPackageList(const String& iniFileName, TStrings& packages) {
  packages.Clear();
  if (!FileExists(iniFileName)) return;
  TMemIniFile ini(iniFileName);
  TStringList lines;
  ini.ReadSectionValues(kSection, lines);
  for (Integer i = 0; i < lines.Count(); ++i) packages.Add(lines.ValueFromIndex(i));
}

void SavePackageList(const String& iniFileName, const TStrings& packages) {
  TMemIniFile ini(iniFileName);
  for (Integer key = 0; key <= kMaxStoredKey; ++key) ini.DeleteKey(kSection, IntToStr(key));
  for (Integer i = 0; i < packages.Count(); ++i) ini.WriteString(kSection, IntToStr(i), packages[i]);
  ini.UpdateFile();
}

String PackageErrorLine(const String& path, const String& message) {
  return path + u"=" + message;
}

String PackageErrorOf(const TStrings& errors, const String& path) {
  const String prefix = PackageErrorLine(path, String());
  for (Integer i = 0; i < errors.Count(); ++i) {
    const String line = errors.Strings(i);
    if (line.size() >= prefix.size() && SameText(StringView(line).substr(0, prefix.size()), prefix))
      return line.substr(prefix.size());
  }
  return {};
}
