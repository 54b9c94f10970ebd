#include "app/extractinfo.h"

#include <memory>

#include "pe/pereader.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"

void PackageFlagLines(Integer flags, TStrings& lines) {
  static const char16_t* const kOptions[] = {u"NeverBuild", u"DesignOnly", u"RunOnly", u"IgnoreDupUnits"};
  String options;
  for (int bit = 0; bit < 4; ++bit) {
    if ((flags & (1 << bit)) == 0) continue;
    if (!options.empty()) options += u",";
    options += kOptions[bit];
  }
  lines.Add(u"Options: " + options);
  const Cardinal bits = static_cast<Cardinal>(flags);
  switch (bits >> 30) {
    case 1: lines.Add(u"Type: Package"); break;
    case 2: lines.Add(u"Type: Library"); break;
    default: lines.Add(u"Type: Executable"); break;
  }
  switch ((bits >> 26) & 3) {
    case 0: lines.Add(u"Producer: Delphi 3 or C++ Builder 3"); break;
    case 2: lines.Add(u"Producer: C++ Builder 4 or later"); break;
    case 3: lines.Add(u"Producer: Delphi 4 or later"); break;
    default: break;
  }
}

void ExtractInfoLines(const TPEReader& reader, TExtractInfoTab tab, TStrings& lines) {
  lines.BeginUpdate();
  lines.Clear();
  switch (tab) {
    case TExtractInfoTab::Header:
      lines.Add(u"requires");
      for (int i = 0; i < reader.PackageCount(); ++i) lines.Add(u"  " + reader.Packages(i));
      lines.Add(u"contains");
      for (int i = 0; i < reader.UnitCount(); ++i) lines.Add(u"  " + reader.Units(i));
      break;
    case TExtractInfoTab::Classes:
      for (int i = 0; i < reader.ClassCount(); ++i) lines.Add(reader.Classes(i).Name);
      break;
    case TExtractInfoTab::Forms:
      for (int i = 0; i < reader.FormCount(); ++i) lines.Add(reader.Forms(i));
      break;
    case TExtractInfoTab::Flags: PackageFlagLines(reader.PackageFlags(), lines); break;
  }
  lines.EndUpdate();
}

namespace {

// The file as the image reader reads it; null when it is no image.
std::unique_ptr<TPEReader> ReadPackageFile(const String& path) {
  if (!FileExists(path)) return nullptr;
  auto reader = std::make_unique<TPEReader>();
  reader->SetFileName(path);
  if (!reader->Valid()) return nullptr;
  return reader;
}

}  // namespace

String PackageFileDescription(const String& path) {
  const auto reader = ReadPackageFile(path);
  return reader ? reader->PackageDescription() : String();
}

void PackageDetailLines(const String& path, int tab, TStrings& lines) {
  static constexpr TExtractInfoTab kTabs[] = {TExtractInfoTab::Header, TExtractInfoTab::Classes,
                                              TExtractInfoTab::Flags};
  lines.Clear();
  if (tab < 0 || tab > 2) return;
  if (const auto reader = ReadPackageFile(path)) ExtractInfoLines(*reader, kTabs[tab], lines);
}

String InfoPageCaption(const String& packageDescription) {
  return Trim(packageDescription).empty() ? String(u" Info ") : u" " + packageDescription + u" ";
}

String ResourcesPageCaption(Integer formCount) {
  return Format(u" Resources (%d) ", {formCount});
}

String ExtractDialogCaption(bool packageInfoOnly, const String& fileName) {
  return Format(packageInfoOnly ? u"Package Information - [%s]" : u"Form Resources - [%s]",
                {ExtractFileName(fileName)});
}

String SixteenBitImageText(const TPEReader& reader) {
  // "NE" at the new header: a 16-bit Windows program or library, whose
  // resources are not stored the way forms are looked for.
  constexpr Word kNeSignature = 0x454E;
  if (reader.Valid() || reader.DOSHeaderCount() == 0 || reader.Signature() != kNeSignature) return {};
  return Format(u"%s is a 16-bit Windows executable (NE): it holds no forms that can be read.",
                {ExtractFileName(reader.FileName())});
}

String ExtractInfoTabCaption(TExtractInfoTab tab, Integer lineCount) {
  switch (tab) {
    case TExtractInfoTab::Header: return u"Header";
    case TExtractInfoTab::Classes: return Format(u"Classes (%d)", {lineCount});
    case TExtractInfoTab::Forms: return Format(u"Forms (%d)", {lineCount});
    case TExtractInfoTab::Flags: return u"Flags";
  }
  return String();
}
