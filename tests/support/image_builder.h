// Builds executable images in memory for the image reader's tests, fuzz seeds
// and benchmarks: DOS, NE and LE headers, and PE32/PE32+ images with sections,
// resources, imports, exports and the other directories. Damaged images are
// made by building a sound one and changing its bytes (the layout of the last
// build says where things are), or by giving raw section contents.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "rtl/types.h"

namespace imagebuilder {

class ByteWriter {
 public:
  std::size_t Size() const { return FBytes.size(); }
  void U8(Byte value) { FBytes.push_back(value); }
  void U16(Word value);
  void U32(Cardinal value);
  void U64(UInt64 value);
  void Bytes(const TBytes& bytes) { FBytes.insert(FBytes.end(), bytes.begin(), bytes.end()); }
  void Zeros(std::size_t count) { FBytes.resize(FBytes.size() + count, 0); }
  void Align(std::size_t alignment);
  // A byte string, with its zero unless told otherwise.
  void Ansi(std::string_view text, bool zero = true);
  void Wide(StringView text, bool zero = true);
  void PatchU16(std::size_t at, Word value);
  void PatchU32(std::size_t at, Cardinal value);
  void PatchU64(std::size_t at, UInt64 value);
  TBytes& Data() { return FBytes; }
  TBytes Take() { return std::move(FBytes); }

 private:
  TBytes FBytes;
};

// A resource id or name.
using ResourceKey = std::variant<Word, String>;

struct ResourceEntry {
  ResourceKey Type;
  ResourceKey Name;
  Word Language = 0;
  TBytes Data;
  Cardinal CodePage = 0;
};

struct ImportFunction {
  std::string Name;  // empty: imported by ordinal
  Word Hint = 0;
  Word Ordinal = 0;
};

struct ImportModule {
  std::string Name;
  std::vector<ImportFunction> Functions;
};

struct ExportFunction {
  std::string Name;  // empty: exported by ordinal only
  Cardinal Rva = 0;
};

// A fake class table for the class scan: the fields at negative offsets from
// the class reference. Values left unset point nowhere (0); the name pointer
// points at the name written behind the table unless given.
struct FakeClass {
  FakeClass(std::string name, Cardinal fieldTable = 0, Cardinal interfaceTable = 0,
            std::optional<Cardinal> namePointer = std::nullopt)
      : Name(std::move(name)), FieldTable(fieldTable), InterfaceTable(interfaceTable), NamePointer(namePointer) {}
  std::string Name;
  Cardinal FieldTable;
  Cardinal InterfaceTable;
  std::optional<Cardinal> NamePointer;
  // The parent link: a raw value, or the self pointer of the class at that
  // index of the same call.
  Cardinal Parent = 0;
  int ParentIndex = -1;
};

struct SectionLayout {
  Cardinal Rva = 0;
  Cardinal FileOffset = 0;
  Cardinal RawSize = 0;
};

struct BuiltLayout {
  Cardinal NewHeaderOffset = 0;
  Cardinal OptionalHeaderOffset = 0;
  Cardinal SectionTableOffset = 0;
  std::vector<SectionLayout> Sections;
};

constexpr Cardinal kCodeSection = 0x60000020;  // code, execute, read
constexpr Cardinal kDataSection = 0x40000040;  // initialised data, read

class PeImageBuilder {
 public:
  explicit PeImageBuilder(bool is64 = false);

  // Header values, all with sound defaults.
  UInt64 ImageBase;
  Word Machine;
  Word Subsystem = 2;
  Cardinal TimeStamp = 0;
  Word Characteristics = 0x0102;
  Cardinal NewHeaderOffset = 0x80;
  // 0: the standard size for the image kind.
  Word SizeOfOptionalHeaderField = 0;
  // 0: the number of sections added.
  std::optional<Word> NumberOfSectionsField;

  bool Is64() const { return FIs64; }
  // The address the next section gets.
  Cardinal NextRva() const { return FNextRva; }
  std::size_t AddSection(std::string name, TBytes data, Cardinal characteristics = kDataSection,
                         Cardinal virtualSize = 0);
  void SetDirectory(int index, Cardinal rva, Cardinal size);
  // Puts data into a section of its own and points the directory at it.
  Cardinal AddDirectorySection(int index, std::string name, TBytes data);
  // The image writes the file offset of rva at this place of a section.
  void AddFileOffsetFixup(std::size_t section, std::size_t offset, Cardinal rva);

  void AddResources(const std::vector<ResourceEntry>& entries);
  // originalThunks false: descriptors without OriginalFirstThunk, as one
  // family of linkers writes them.
  void AddImports(const std::vector<ImportModule>& modules, bool originalThunks = true);
  // absoluteAddresses: the descriptor holds addresses with the image base.
  void AddDelayImports(const std::vector<ImportModule>& modules, bool absoluteAddresses = false);
  void AddExports(const std::string& moduleName, Cardinal ordinalBase, const std::vector<ExportFunction>& functions);
  // A CodeView (RSDS) entry and one of another type (Misc) with a name.
  void AddDebugEntries(const std::array<Byte, 16>& guid, Cardinal age, const std::string& pdbName);
  void AddExceptionEntries(const std::vector<std::array<Cardinal, 3>>& entries);
  void AddTls(UInt64 start, UInt64 end, UInt64 index, UInt64 callbacks, Cardinal zeroFill, Cardinal characteristics);
  // A load configuration whose fields count up from `first`, so each line of
  // the listing is recognisable.
  void AddLoadConfig(Cardinal first);
  // A CODE section holding the given class tables, in order, in the layout
  // of that many slots from the self pointer to the class reference (16, 19
  // or 22; slots of 8 bytes in a 64-bit image).
  std::vector<UInt64> AddClassTables(const std::vector<FakeClass>& classes, std::string sectionName = "CODE",
                                       unsigned selfSlots = 22);

  TBytes Build();
  const BuiltLayout& Layout() const { return FLayout; }

 private:
  struct Section {
    std::string Name;
    TBytes Data;
    Cardinal VirtualSize;
    Cardinal Characteristics;
    Cardinal Rva;
  };
  struct Fixup {
    std::size_t Section;
    std::size_t Offset;
    Cardinal Rva;
  };
  Cardinal ThunkSize() const { return FIs64 ? 8 : 4; }

  bool FIs64;
  Cardinal FNextRva = 0x1000;
  std::vector<Section> FSections;
  std::array<std::pair<Cardinal, Cardinal>, 16> FDirectories{};
  std::vector<Fixup> FFixups;
  BuiltLayout FLayout;
};

// A DOS header whose new-header offset is `newHeader`, followed by `tail`.
TBytes DosImage(Cardinal newHeader = 0, const TBytes& tail = TBytes());
// An NE image (a 16-bit program or font file) and an LE image (a VxD).
TBytes NeImage();
TBytes LeImage();

// Form resources: TPF0 bytes under RCDATA, named and with a language.
ResourceEntry RcData(const String& name, TBytes data, Word language = 0x409);
// A PACKAGEINFO resource body.
TBytes PackageInfo(Integer flags, const std::vector<std::string>& required, const std::vector<std::string>& units);
// A DESCRIPTION resource body: UTF-16 text and its zero.
TBytes Description(const String& text);

// A version resource as the resource compiler writes it: one StringFileInfo
// with a table per translation and a VarFileInfo.
struct VersionStrings {
  Word Language;
  Word CodePage;
  std::vector<std::pair<String, String>> Values;
};
// blockPerTable: one StringFileInfo per table instead; withTranslations false:
// no VarFileInfo at all.
TBytes VersionResource(const std::array<Word, 4>& fileVersion, const std::array<Word, 4>& productVersion,
                       Cardinal flags, const std::vector<VersionStrings>& tables, bool blockPerTable = false,
                       bool withTranslations = true);

}  // namespace imagebuilder
