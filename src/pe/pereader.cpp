#include "pe/pereader.h"

#include <new>

#include "pe/imageparsers.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"

namespace {

// Each parser runs on its own: whatever goes wrong inside it leaves its list
// as far as it got, and loading goes on with the next.
template <class Parse>
void Guarded(Parse&& parse) {
  try {
    parse();
  } catch (const std::exception&) {
    // The list stays as it is.
  }
}

[[noreturn]] void RaiseIndex(int index, bool stringList) {
  String message = Format(u"List index out of bounds (%d)", {index});
  if (stringList) throw EStringListError(message);
  throw EListError(message);
}

template <class List>
const typename List::value_type& Item(const List& list, int index, bool stringList) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) RaiseIndex(index, stringList);
  return list[static_cast<std::size_t>(index)];
}

}  // namespace

TPEReader::TPEReader() : FVI(std::make_unique<TVersionInformation>()) {}

TPEReader::~TPEReader() {
  Close();
}

void TPEReader::Close() {
  TBytes().swap(FImage);
  FLayout = peimage::ImageLayout();
  FVI = std::make_unique<TVersionInformation>();
  FFilename.clear();
  FCL.clear();
  for (std::vector<String>* list : {&FRP, &FCU, &FDFM, &FDOS, &FHDR, &FOPT, &FCLR, &FCLRMD, &FLC, &FTLS}) list->clear();
  FRD.clear();
  FET.clear();
  FIT.clear();
  FDT.clear();
  FXD.clear();
  FMDS.clear();
  FMDT.clear();
  FDesc.clear();
  FSectionCount = 0;
}

// Close keeps some values of the last file for the caller to read; a new load
// starts from none of them.
void TPEReader::ResetPerFileState() {
  FIPI = false;
  FValid = false;
  FIs64 = false;
  FSig = 0;
  FFlags = 0;
  FSize = -1;
  FLinker.clear();
  // The string lists stay: the scans refill them in place (see Load).
}

TBytes TPEReader::StartLoad(String fileName) {
  TBytes buffer;
  buffer.swap(FImage);
  Close();
  ResetPerFileState();
  FFilename = std::move(fileName);
  return buffer;
}

void TPEReader::SetFileName(const String& fileName) {
  TBytes image = StartLoad(fileName);
  bool haveImage = peimage::ReadWholeFile(FFilename, image);
  Load(std::move(image), haveImage);
}

void TPEReader::LoadFromBytes(const TBytes& image, const String& fileName) {
  TBytes buffer = StartLoad(fileName);
  if (peimage::FitsForReuse(buffer, image.size()))
    buffer.assign(image.begin(), image.end());
  else
    buffer = TBytes(image.begin(), image.end());  // frees a buffer far too large
  Load(std::move(buffer), true);
}

void TPEReader::LoadFromBytes(TBytes&& image, const String& fileName) {
  StartLoad(fileName);
  Load(std::move(image), true);
}

void TPEReader::Load(TBytes image, bool haveImage) {
  if (haveImage) {
    FImage = std::move(image);
    FSize = static_cast<Int64>(FImage.size());
    ParseImage();
  }
  // Only a parsed image has been scanned for strings.
  if (!FValid) {
    FStrings.clear();
    FUniStrings.clear();
  }
}

void TPEReader::ParseImage() {
  using namespace peimage;
  ImageBytes bytes = ImageData();
  FLayout = ImageLayout(bytes);
  Guarded([&] { FVI->ReadFromImage(bytes, FFilename); });
  if (FLayout.HasNewHeader()) {
    FIs64 = FLayout.Is64();
    FSig = FLayout.Signature();
    if (FSig == kPeSignature) FSectionCount = FLayout.DeclaredSectionCount();
  }
  if (!FLayout.StartsWithMz()) return;
  Guarded([&] { ReadDosHeader(FLayout, FDOS); });
  Guarded([&] { ReadFileHeader(FLayout, FHDR); });
  Guarded([&] { ReadOptionalHeader(FLayout, FOPT); });
  if (!FLayout.IsPe()) return;

  Guarded([&] { ScanStrings(bytes, FStrings); });
  Guarded([&] { ScanWideStrings(bytes, FUniStrings); });
  Guarded([&] { ReadClrHeader(FLayout, FCLR, FCLRMD, FMDS, FMDT); });
  Guarded([&] { ReadExports(FLayout, FET); });
  Guarded([&] { ReadImports(FLayout, FIT, FLinker); });
  Guarded([&] { ReadDelayImports(FLayout, FIT); });
  Guarded([&] { ReadResources(FLayout, FRD); });
  FIPI = HasPackageInfo(FRD);
  Guarded([&] { ReadForms(FRD, FDFM); });
  Guarded([&] { ReadDebugDirectory(FLayout, FDT); });
  Guarded([&] { ReadExceptionDirectory(FLayout, FXD); });
  Guarded([&] { ReadLoadConfig(FLayout, FLC); });
  Guarded([&] { ReadTls(FLayout, FTLS); });
  Guarded([&] { ScanClasses(FLayout, FCL); });
  ReadPackageInformation();
  FValid = true;
}

void TPEReader::ReadPackageInformation() {
  using namespace peimage;
  if (const TResourceItem* info = FindResource(FRD, 10, u"PACKAGEINFO"); info && info->RawDataAddress)
    Guarded([&] { ReadPackageInfo(ImageBytes(info->RawDataAddress, info->RawDataSize), FFlags, FRP, FCU); });
  if (const TResourceItem* description = FindResource(FRD, 10, u"DESCRIPTION");
      description && description->RawDataAddress)
    FDesc = ReadDescription(ImageBytes(description->RawDataAddress, description->RawDataSize));
}

const TClassItem& TPEReader::Classes(int index) const {
  return Item(FCL, index, false);
}
const String& TPEReader::Forms(int index) const {
  return Item(FDFM, index, true);
}
const String& TPEReader::Packages(int index) const {
  return Item(FRP, index, true);
}
const String& TPEReader::Units(int index) const {
  return Item(FCU, index, true);
}

bool TPEReader::SectionExists(const String& name, peimage::SectionHeader* header) const {
  for (const peimage::SectionHeader& section : FLayout.Sections()) {
    if (header) *header = section;
    if (SameText(peimage::SectionName(section), StringView(name).substr(0, 8))) return true;
  }
  return false;
}

peimage::DataDirectory TPEReader::DataDirectory(int index) const {
  if (!FLayout.IsPe() || index < 0 || index >= peimage::kDirectoryCount) return {};
  try {
    return FLayout.Directory(index);
  } catch (const EImageFault&) {
    return {};
  }
}

void TPEReader::GetResourceByName(const String& name, TResourceItem& item) const {
  for (const TResourceItem& resource : FRD) {
    if (SameText(resource.Name, name)) {
      item = resource;
      return;
    }
  }
  throw EPEException(u"Cannot retrieve resource by name \"" + name + u"\"");
}
