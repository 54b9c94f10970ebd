// The executable image reader: reads DOS, NE, LE and PE (PE32 and PE32+)
// files without running them and keeps what it finds in lists until the next
// file or Close. Everything comes from the file's bytes; nothing is loaded as a
// module.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "pe/imagelayout.h"
#include "pe/versioninfo.h"
#include "rtl/exceptions.h"
#include "rtl/object.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"
#include "rtl/types.h"

KST_DECLARE_EXCEPTION(EPEException, Exception);

struct TResourceItem {
  // The type id, 125/126/127 for the named types REGISTRY/TYPELIB/AVI, or for
  // any other named type the directory entry's raw name field (negative).
  Integer Typ = 0;
  String TypeName;
  String Name;
  String Lang;
  Cardinal CodePage = 0;
  // File offset of the data.
  Cardinal Offset = 0;
  // The data inside the loaded image; null when the data does not lie wholly
  // inside the file. Valid while the reader keeps the file.
  const Byte* RawDataAddress = nullptr;
  Cardinal RawDataOffset = 0;  // relative virtual address
  Cardinal RawDataSize = 0;
};
using TResourceData = std::vector<TResourceItem>;

struct TExportItem {
  String Name;
  Word Ordinal = 0;
  // Exports: the function's relative address. Imports by name: the file offset
  // of the hint-and-name record. Imports by ordinal: the ordinal thunk without
  // its flag bit.
  Cardinal Address = 0;
};
using TExportData = std::vector<TExportItem>;

struct TImportItem {
  String Name;
  TExportData Functions;
};
using TImportData = std::vector<TImportItem>;

struct TDebugItem {
  Cardinal Typ = 0;
  Cardinal Characteristics = 0;
  double TimeStamp = 0;  // days since 1899-12-30
  Word MajorVersion = 0;
  Word MinorVersion = 0;
  String TypeName;
  Cardinal SizeOfData = 0;
  Cardinal AddressOfRawData = 0;
  Cardinal PointerToRawData = 0;
  Cardinal Signature = 0;
  std::array<Byte, 16> GUID{};
  Cardinal Age = 0;
  String PDBFilename;
};
using TDebugData = std::vector<TDebugItem>;

struct TExceptionItem {
  UInt64 StartingAddress = 0;
  UInt64 EndingAddress = 0;
  UInt64 EndOfPrologue = 0;
};
using TExceptionData = std::vector<TExceptionItem>;

struct TMetadataStream {
  String Name;
  Cardinal Address = 0;  // offset from the metadata root
  Cardinal Size = 0;
};
using TMetadataStreams = std::vector<TMetadataStream>;

struct TMetadataTable {
  String Name;
  std::vector<String> Members;
};
using TMetadataTables = std::vector<TMetadataTable>;

// A class table found in the code section: its address in the image as
// linked (image base included) and the class name it points to. The
// compiler's generations lay the table out differently; the item keeps
// where its self pointer lies and what its parent link holds (the address
// of a slot holding the parent's class reference, or 0), both as linked.
struct TClassItem {
  UInt64 Address = 0;
  String Name;
  UInt64 SelfPointer = 0;
  UInt64 ParentLink = 0;
};

// A read-only stream over one resource's data inside the loaded image, without
// a copy; valid while the reader keeps the file. Data that does not lie in the
// file gives an empty stream. Writing stores nothing.
class TResourceRawStream : public TCustomMemoryStream {
 public:
  explicit TResourceRawStream(const TResourceItem& item);
};

// Clears the list; when the resource's data begins with "TPF0", fills it with
// the lines of the form's text. Conversion errors propagate.
void FormResourceToStrings(const TResourceItem& item, TStrings& lines);

class TPEReader : public TObject {
 public:
  TPEReader();
  ~TPEReader() override;
  TPEReader(const TPEReader&) = delete;
  TPEReader& operator=(const TPEReader&) = delete;

  // Loads a file. Never raises for a file that cannot be read or parsed:
  // Valid() then tells that no PE image was parsed.
  void SetFileName(const String& fileName);
  const String& FileName() const { return FFilename; }
  // Loads an image already in memory; fileName is only recorded. A copied
  // image goes into the memory of the last one when it fits.
  void LoadFromBytes(const TBytes& image, const String& fileName = String());
  void LoadFromBytes(TBytes&& image, const String& fileName = String());
  void Close();

  bool Is64bit() const { return FIs64; }
  Word Signature() const { return FSig; }
  bool Valid() const { return FValid; }
  Int64 Size() const { return FSize; }

  int ClassCount() const { return static_cast<int>(FCL.size()); }
  int PackageCount() const { return static_cast<int>(FRP.size()); }
  int UnitCount() const { return static_cast<int>(FCU.size()); }
  int FormCount() const { return static_cast<int>(FDFM.size()); }
  int ResourceCount() const { return static_cast<int>(FRD.size()); }
  int DebugCount() const { return static_cast<int>(FDT.size()); }
  int ExceptionCount() const { return static_cast<int>(FXD.size()); }
  int SectionCount() const { return FSectionCount; }
  int DirectoryCount() const { return peimage::kDirectoryCount; }
  int ExportCount() const { return static_cast<int>(FET.size()); }
  int ImportCount() const { return static_cast<int>(FIT.size()); }
  int DOSHeaderCount() const { return static_cast<int>(FDOS.size()); }
  int FileHeaderCount() const { return static_cast<int>(FHDR.size()); }
  int OptionaHeaderCount() const { return static_cast<int>(FOPT.size()); }
  int CLRHeaderCount() const { return static_cast<int>(FCLR.size()); }
  int MetadataHeaderCount() const { return static_cast<int>(FCLRMD.size()); }
  int MetadataStreamCount() const { return static_cast<int>(FMDS.size()); }
  int MetadataTableCount() const { return static_cast<int>(FMDT.size()); }
  int LoadConfigCount() const { return static_cast<int>(FLC.size()); }
  int TLSCount() const { return static_cast<int>(FTLS.size()); }
  int CertificateCount() const { return 0; }

  // Index reads; an index out of range raises EStringListError or EListError
  // "List index out of bounds (%d)".
  const TClassItem& Classes(int index) const;
  const String& Forms(int index) const;
  const String& Packages(int index) const;
  const String& Units(int index) const;

  const TResourceData& Resources() const { return FRD; }
  const TExportData& Exports() const { return FET; }
  const TImportData& Imports() const { return FIT; }
  const TDebugData& DebugEntries() const { return FDT; }
  const TExceptionData& ExceptionEntries() const { return FXD; }
  const TMetadataStreams& MetadataStreams() const { return FMDS; }
  const TMetadataTables& MetadataTables() const { return FMDT; }
  // name=value listings.
  const std::vector<String>& DOSHeader() const { return FDOS; }
  const std::vector<String>& FileHeader() const { return FHDR; }
  const std::vector<String>& OptionalHeader() const { return FOPT; }
  const std::vector<String>& CLRHeader() const { return FCLR; }
  const std::vector<String>& MetadataHeader() const { return FCLRMD; }
  const std::vector<String>& LoadConfig() const { return FLC; }
  const std::vector<String>& TLS() const { return FTLS; }
  // The printable runs of the file, 8-bit and UTF-16.
  const std::vector<String>& Strings() const { return FStrings; }
  const std::vector<String>& UnicodeStrings() const { return FUniStrings; }

  TVersionInformation& VersionInfo() { return *FVI; }
  const TVersionInformation& VersionInfo() const { return *FVI; }

  bool IsPackageInfo() const { return FIPI; }
  const String& PackageDescription() const { return FDesc; }
  Integer PackageFlags() const { return FFlags; }
  const String& LinkerProdurer() const { return FLinker; }

  // The first section whose name equals the given one without regard to case.
  bool SectionExists(const String& name, peimage::SectionHeader* header = nullptr) const;
  peimage::DataDirectory DataDirectory(int index) const;
  // The first resource of that name, of any type, without regard to case.
  // Raises EPEException when there is none; the out record is then unchanged.
  void GetResourceByName(const String& name, TResourceItem& item) const;
  // Fills the list with the text of the form named at that index of the form
  // list: the first RCDATA resource of that name. Does nothing without one.
  void GetFormSource(int index, TStrings& lines) const;

  // The image bytes while loaded (empty otherwise).
  peimage::ImageBytes ImageData() const { return peimage::ImageBytes(FImage.data(), FImage.size()); }

 private:
  void Load(TBytes image, bool haveImage);
  // Starts a new load: closes the last file but hands back its image buffer
  // for the next one to reuse.
  TBytes StartLoad(String fileName);
  void ResetPerFileState();
  void ParseImage();
  void ReadPackageInformation();

  TBytes FImage;
  peimage::ImageLayout FLayout;
  TExportData FET;
  TImportData FIT;
  TDebugData FDT;
  TExceptionData FXD;
  std::vector<TClassItem> FCL;
  TMetadataStreams FMDS;
  TMetadataTables FMDT;
  std::vector<String> FRP;
  std::vector<String> FCU;
  std::vector<String> FDFM;
  std::vector<String> FDOS, FHDR, FOPT;
  std::vector<String> FCLR, FCLRMD;
  std::vector<String> FLC, FTLS;
  TResourceData FRD;
  String FFilename;
  String FDesc;
  Integer FFlags = 0;
  Int64 FSize = 0;
  String FLinker;
  bool FIs64 = false;
  Word FSig = 0;
  bool FIPI = false;
  std::vector<String> FStrings, FUniStrings;
  bool FValid = false;
  int FSectionCount = 0;
  std::unique_ptr<TVersionInformation> FVI;
};
