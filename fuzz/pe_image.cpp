// Whole images through the image reader: whatever the bytes, loading and
// reading every list stays inside the image and ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "pe/pereader.h"
#include "rtl/stringlist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TPEReader reader;
  reader.LoadFromBytes(TBytes(data, data + size), u"fuzz.exe");
  std::size_t total = 0;
  for (const TResourceItem& item : reader.Resources()) {
    if (item.RawDataAddress) {
      // The data must lie inside the image.
      const Byte* begin = reader.ImageData().data();
      if (item.RawDataAddress < begin || item.RawDataAddress + item.RawDataSize > begin + size) std::abort();
      total += item.RawDataAddress[0] + (item.RawDataSize ? item.RawDataAddress[item.RawDataSize - 1] : 0);
    }
  }
  for (const TImportItem& module : reader.Imports()) total += module.Functions.size();
  for (int i = 0; i < reader.FormCount(); ++i) {
    TStringList lines;
    try {
      reader.GetFormSource(i, lines);
    } catch (const Exception&) {
      // A damaged form stream is the converter's error to report.
    }
    total += static_cast<std::size_t>(lines.Count());
  }
  TVersionInformation& version = reader.VersionInfo();
  if (version.Valid()) {
    TBytes rebuilt = version.BuildResource();
    total += rebuilt.size() + version.CompanyName().size();
  }
  TResourceItem item;
  try {
    reader.GetResourceByName(u"TFORM1", item);
  } catch (const EPEException&) {
  }
  return total == 0xFFFFFFFF;  // keeps the reads from being optimised away
}
