#include "pe/pereader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "pe/imageparsers.h"
#include "rtl/streams.h"
#include "rtl/temp_folder.h"
#include "support/image_builder.h"

namespace {

using namespace imagebuilder;

TBytes Bytes(std::string_view text) {
  return TBytes(text.begin(), text.end());
}

// A small sound image: code, data, and the usual directories.
PeImageBuilder SoundImage(bool is64) {
  PeImageBuilder builder(is64);
  builder.AddSection(".text", TBytes(64, 0xC3), kCodeSection);
  builder.AddImports({{"KERNEL32.dll", {{"ExitProcess", 1}, {"GetModuleHandleW", 2}}}});
  return builder;
}

TEST(PEReader, ReadsASoundPe32Image) {
  PeImageBuilder builder = SoundImage(false);
  TBytes image = builder.Build();
  TPEReader reader;
  reader.LoadFromBytes(image, u"sound.exe");
  EXPECT_TRUE(reader.Valid());
  EXPECT_FALSE(reader.Is64bit());
  EXPECT_EQ(reader.Signature(), 0x4550);
  EXPECT_EQ(reader.FileName(), u"sound.exe");
  EXPECT_EQ(reader.Size(), static_cast<Int64>(image.size()));
  EXPECT_EQ(reader.SectionCount(), 2);
  EXPECT_EQ(reader.DirectoryCount(), 16);
  EXPECT_EQ(reader.DOSHeaderCount(), 31);
  EXPECT_EQ(reader.FileHeaderCount(), 8);
  EXPECT_EQ(reader.OptionaHeaderCount(), 26);
  EXPECT_EQ(reader.DOSHeader().front(), u"Magic number=0x5A4D");
  EXPECT_EQ(reader.DOSHeader().back(), u"File address of new exe header=0x00000080");
  EXPECT_EQ(reader.FileHeader()[0], u"Signature=0x00004550 (Portable Executable)");
  EXPECT_EQ(reader.FileHeader()[1], u"Machine=32-bit Intel");
  EXPECT_EQ(reader.FileHeader()[2], u"Number of sections=2");
  EXPECT_EQ(reader.OptionalHeader()[0], u"Magic=0x010B (PE32)");
  EXPECT_EQ(reader.OptionalHeader()[8], u"Image base=0x00400000");
  EXPECT_EQ(reader.OptionalHeader()[18], u"Subsystem=Windows GUI");
  peimage::SectionHeader header;
  EXPECT_TRUE(reader.SectionExists(u".TEXT", &header));
  EXPECT_EQ(header.VirtualAddress, 0x1000u);
  EXPECT_FALSE(reader.SectionExists(u"CODE"));
  EXPECT_EQ(reader.DataDirectory(1).VirtualAddress, 0x2000u);
}

TEST(PEReader, ReadsASoundPe32PlusImage) {
  PeImageBuilder builder = SoundImage(true);
  builder.AddClassTables({{"TFound"}}, ".text2");
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  EXPECT_TRUE(reader.Valid());
  EXPECT_TRUE(reader.Is64bit());
  EXPECT_EQ(reader.OptionaHeaderCount(), 25);
  EXPECT_EQ(reader.OptionalHeader()[0], u"Magic=0x020B (PE32+ (64bit))");
  EXPECT_EQ(reader.OptionalHeader()[7], u"Image base=0x0000000140000000");
  EXPECT_EQ(reader.FileHeader()[1], u"Machine=64-bit AMD");
  EXPECT_EQ(reader.ClassCount(), 0);
  ASSERT_EQ(reader.ImportCount(), 1);
  EXPECT_EQ(reader.Imports()[0].Functions.size(), 2u);
}

TEST(PEReader, TextFileIsNoImage) {
  TPEReader reader;
  reader.LoadFromBytes(Bytes("object Form1: TForm1\r\nend\r\n"), u"form.exe");
  EXPECT_FALSE(reader.Valid());
  EXPECT_EQ(reader.DirectoryCount(), 16);
  for (int count : {reader.ResourceCount(), reader.ImportCount(), reader.ExportCount(), reader.DOSHeaderCount(),
                    reader.FileHeaderCount(), reader.SectionCount(), reader.FormCount(), reader.ClassCount(),
                    static_cast<int>(reader.Strings().size())})
    EXPECT_EQ(count, 0);
}

TEST(PEReader, NeAndLeImagesGiveHeaderListingsOnly) {
  struct Case {
    TBytes Image;
    Word Signature;
    std::size_t FileHeaderLines;
    const char16_t* FirstLine;
    const char16_t* LastLine;
  };
  const Case cases[] = {
      {NeImage(), 0x454E, 29, u"Signature=0x0000454E (New executable (Win 3.1))",
       u"Expected Windows version number=3.10"},
      {LeImage(), 0x454C, 62, u"Signature=0x0000454C (VxD)", u"DDK version for VxD=3.10"},
  };
  for (const Case& c : cases) {
    TPEReader reader;
    reader.LoadFromBytes(c.Image);
    EXPECT_FALSE(reader.Valid());
    EXPECT_EQ(reader.Signature(), c.Signature);
    EXPECT_EQ(reader.DOSHeaderCount(), 31);
    ASSERT_EQ(reader.FileHeader().size(), c.FileHeaderLines);
    EXPECT_EQ(reader.FileHeader().front(), c.FirstLine);
    EXPECT_EQ(reader.FileHeader().back(), c.LastLine);
    EXPECT_EQ(reader.OptionaHeaderCount(), 0);
    EXPECT_EQ(reader.SectionCount(), 0);
  }
}

TEST(PEReader, DosImageWithoutNewHeader) {
  TPEReader reader;
  reader.LoadFromBytes(DosImage(0));
  EXPECT_FALSE(reader.Valid());
  EXPECT_EQ(reader.Signature(), 0x5A4D);
  EXPECT_EQ(reader.DOSHeaderCount(), 31);
  EXPECT_EQ(reader.FileHeaderCount(), 0);
}

TEST(PEReader, SectionsAreFoundAtTheStandardOffset) {
  PeImageBuilder builder = SoundImage(false);
  builder.SizeOfOptionalHeaderField = 0x100;
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  EXPECT_TRUE(reader.SectionExists(u".idata"));
  EXPECT_EQ(reader.ImportCount(), 1);
}

TEST(PEReader, ResourcesAreListedInTreeOrder) {
  PeImageBuilder builder(false);
  builder.AddResources({
      RcData(u"TFORM1", Bytes("TPF0\x06TForm1"), 0x409),
      {Word{2}, String(u"TFORM1"), 0x409, Bytes("BM.."), 1252},
      {String(u"REGISTRY"), Word{101}, 0x409, Bytes("reg"), 0},
      {String(u"MyType"), String(u"Thing"), 0x407, Bytes("thing"), 0},
      {Word{241}, Word{7}, 0, Bytes("toolbar"), 0},
  });
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  ASSERT_EQ(reader.ResourceCount(), 5);
  const TResourceData& r = reader.Resources();
  // Named types first, then ids ascending.
  EXPECT_LT(r[0].Typ, 0);
  EXPECT_EQ(r[0].TypeName, u"\"MyType\"");
  EXPECT_EQ(r[0].Name, u"Thing");
  EXPECT_EQ(r[0].Lang, u"1031");
  EXPECT_EQ(r[1].Typ, 125);
  EXPECT_EQ(r[1].TypeName, u"REGISTRY");
  EXPECT_EQ(r[1].Name, u"101");
  EXPECT_EQ(r[2].Typ, 2);
  EXPECT_EQ(r[2].TypeName, u"BITMAP");
  EXPECT_EQ(r[2].CodePage, 1252u);
  EXPECT_EQ(r[3].Typ, 10);
  EXPECT_EQ(r[3].TypeName, u"RCDATA");
  EXPECT_EQ(r[3].RawDataSize, 11u);
  ASSERT_NE(r[3].RawDataAddress, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(r[3].RawDataAddress), 4), "TPF0");
  EXPECT_EQ(reader.ImageData()[r[3].Offset], 'T');
  EXPECT_EQ(r[4].Typ, 241);
  EXPECT_EQ(r[4].TypeName, u"\"241\"");

  // The bitmap comes first by name; the form is found among RCDATA only.
  TResourceItem item;
  reader.GetResourceByName(u"tform1", item);
  EXPECT_EQ(item.Typ, 2);
  try {
    reader.GetResourceByName(u"TMISSING", item);
    FAIL();
  } catch (const EPEException& e) {
    EXPECT_EQ(e.Message(), u"Cannot retrieve resource by name \"TMISSING\"");
  }
  EXPECT_EQ(item.Typ, 2);
}

TEST(PEReader, FormsAreRcDataBeginningWithTheSignature) {
  PeImageBuilder builder(false);
  builder.AddResources({
      RcData(u"TFORM1", Bytes("TPF0\x06TForm1"), 0x409),
      RcData(u"TFORM1", Bytes("TPF0\x06TForm1"), 0x407),
      RcData(u"TABOUT", Bytes("TPF0\x06TAbout"), 0x409),
      RcData(u"SHORT", Bytes("TPF"), 0x409),
      RcData(u"OTHER", Bytes("DATA and more"), 0x409),
  });
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  ASSERT_EQ(reader.FormCount(), 3);
  EXPECT_EQ(reader.Forms(0), u"TABOUT");
  EXPECT_EQ(reader.Forms(1), u"TFORM1");
  EXPECT_EQ(reader.Forms(2), u"TFORM1");
  try {
    reader.Forms(3);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (3)");
  }
  EXPECT_THROW(reader.Units(0), EStringListError);
  EXPECT_THROW(reader.Classes(-1), EListError);
}

TEST(PEReader, ReadsPackageInformationFromTheResources) {
  PeImageBuilder builder(false);
  builder.AddResources({
      RcData(u"PACKAGEINFO", PackageInfo(0x40000010, {"rtl", "vcl"}, {"Unit1", "Ünit2", "SysInit"})),
      RcData(u"DESCRIPTION", Description(u"Sample components")),
  });
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  EXPECT_TRUE(reader.IsPackageInfo());
  EXPECT_EQ(reader.PackageFlags(), 0x40000010);
  ASSERT_EQ(reader.PackageCount(), 2);
  EXPECT_EQ(reader.Packages(1), u"vcl");
  ASSERT_EQ(reader.UnitCount(), 3);
  EXPECT_EQ(reader.Units(1), u"Ünit2");
  EXPECT_EQ(reader.PackageDescription(), u"Sample components");
}

TEST(PEReader, PlainImageHasNoPackageInformation) {
  PeImageBuilder builder = SoundImage(false);
  builder.AddResources({RcData(u"TFORM1", Bytes("TPF0\x06TForm1"))});
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  EXPECT_FALSE(reader.IsPackageInfo());
  EXPECT_EQ(reader.PackageCount(), 0);
  EXPECT_EQ(reader.UnitCount(), 0);
  EXPECT_EQ(reader.PackageDescription(), u"");
}

TEST(PEReader, DamagedPackageInformationClearsOnlyTheListItBroke) {
  TBytes info = PackageInfo(7, {"rtl"}, {"Unit1", "Unit2"});
  info.resize(info.size() - 3);  // the last unit name loses its end
  PeImageBuilder builder(false);
  builder.AddResources({RcData(u"PACKAGEINFO", info)});
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  EXPECT_EQ(reader.PackageFlags(), 7);
  EXPECT_EQ(reader.PackageCount(), 1);
  EXPECT_EQ(reader.UnitCount(), 0);
}

TEST(PEReader, ImportsMergeModulesAndGuessTheLinker) {
  struct Case {
    bool Is64;
    bool OriginalThunks;
    const char16_t* Linker;
  };
  for (Case c : {Case{false, true, u"Microsoft"}, Case{false, false, u"Borland"}, Case{true, true, u"Microsoft"}}) {
    PeImageBuilder builder(c.Is64);
    builder.AddImports({{"user32.dll", {{"MessageBoxW", 10}, {"", 0, 5}}},
                        {"KERNEL32.dll", {{"Sleep", 3}}},
                        {"USER32.DLL", {{"MessageBoxW", 10}, {"GetDC", 11}}}},
                       c.OriginalThunks);
    TPEReader reader;
    reader.LoadFromBytes(builder.Build());
    EXPECT_EQ(reader.LinkerProdurer(), c.Linker);
    ASSERT_EQ(reader.ImportCount(), 2);
    const TImportItem& user = reader.Imports()[0];
    EXPECT_EQ(user.Name, u"user32.dll");
    ASSERT_EQ(user.Functions.size(), 3u);
    EXPECT_EQ(user.Functions[0].Name, u"MessageBoxW");
    EXPECT_EQ(user.Functions[0].Ordinal, 10);
    EXPECT_EQ(reader.ImageData()[user.Functions[0].Address + 2], 'M');
    EXPECT_EQ(user.Functions[1].Name, u"00000005");
    EXPECT_EQ(user.Functions[1].Ordinal, 5);
    EXPECT_EQ(user.Functions[2].Name, u"GetDC");
  }
}

TEST(PEReader, NoImportDirectoryMeansNoLinkerGuess) {
  PeImageBuilder builder(false);
  builder.AddSection(".text", TBytes(16, 0x90), kCodeSection);
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  EXPECT_EQ(reader.ImportCount(), 0);
  EXPECT_EQ(reader.LinkerProdurer(), u"");
}

TEST(PEReader, DelayImportsWithRelativeAndAbsoluteAddresses) {
  // Descriptor fields are 32-bit, so only 32-bit images can hold absolute addresses.
  for (bool is64 : {false, true}) {
    for (bool absolute : {false, true}) {
      if (is64 && absolute) continue;
      PeImageBuilder builder(is64);
      builder.AddImports({{"KERNEL32.dll", {{"Sleep", 3}}}});
      builder.AddDelayImports(
          {{"comdlg32.dll", {{"GetOpenFileNameW", 1}, {"GetSaveFileNameW", 2}}}, {"kernel32.DLL", {{"Beep", 4}}}},
          absolute);
      TPEReader reader;
      reader.LoadFromBytes(builder.Build());
      ASSERT_EQ(reader.ImportCount(), 2) << is64 << absolute;
      EXPECT_EQ(reader.Imports()[0].Functions.size(), 2u);
      EXPECT_EQ(reader.Imports()[0].Functions[1].Name, u"Beep");
      EXPECT_EQ(reader.Imports()[1].Name, u"comdlg32.dll");
      EXPECT_EQ(reader.Imports()[1].Functions[1].Name, u"GetSaveFileNameW");
    }
  }
}

TEST(PEReader, ExportsByNameAndByOrdinal) {
  PeImageBuilder builder(false);
  builder.AddExports("sample.dll", 10, {{"Zeta", 0x1010}, {"", 0x1020}, {"", 0}, {"Alpha", 0x1030}});
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  ASSERT_EQ(reader.ExportCount(), 3);
  const TExportData& e = reader.Exports();
  EXPECT_EQ(e[0].Name, u"Zeta");
  EXPECT_EQ(e[0].Ordinal, 10);
  EXPECT_EQ(e[0].Address, 0x1010u);
  EXPECT_EQ(e[1].Name, u"2");
  EXPECT_EQ(e[1].Ordinal, 11);
  EXPECT_EQ(e[2].Name, u"Alpha");
  EXPECT_EQ(e[2].Ordinal, 13);
}

TEST(PEReader, DebugEntries) {
  PeImageBuilder builder(true);
  builder.TimeStamp = 86400;
  std::array<Byte, 16> guid{};
  for (int i = 0; i < 16; ++i) guid[i] = static_cast<Byte>(i + 1);
  builder.AddDebugEntries(guid, 3, "sample.pdb");
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  ASSERT_EQ(reader.DebugCount(), 2);
  const TDebugItem& cv = reader.DebugEntries()[0];
  EXPECT_EQ(cv.TypeName, u"CodeView");
  EXPECT_EQ(cv.Signature, 0x53445352u);
  EXPECT_EQ(cv.GUID, guid);
  EXPECT_EQ(cv.Age, 3u);
  EXPECT_EQ(cv.PDBFilename, u"sample.pdb");
  EXPECT_DOUBLE_EQ(cv.TimeStamp, 25570.0);
  EXPECT_EQ(reader.DebugEntries()[1].TypeName, u"Misc");
  EXPECT_EQ(reader.DebugEntries()[1].PDBFilename, u"misc.dbg");
}

TEST(PEReader, ExceptionTlsAndLoadConfiguration) {
  for (bool is64 : {false, true}) {
    PeImageBuilder builder(is64);
    builder.AddExceptionEntries({{0x1000, 0x1010, 0x3000}, {0x1010, 0x1040, 0x3008}});
    builder.AddTls(0x401000, 0x401010, 0x402000, 0x403000, 16, 0x00300000);
    builder.AddLoadConfig(0x100);
    TPEReader reader;
    reader.LoadFromBytes(builder.Build());
    ASSERT_EQ(reader.ExceptionCount(), 2);
    EXPECT_EQ(reader.ExceptionEntries()[1].EndingAddress, 0x1040u);
    EXPECT_EQ(reader.ExceptionEntries()[1].EndOfPrologue, 0x3008u);
    ASSERT_EQ(reader.TLSCount(), 6);
    EXPECT_EQ(reader.TLS()[0],
              is64 ? u"Start address of raw data=0x0000000000401000" : u"Start address of raw data=0x00401000");
    EXPECT_EQ(reader.TLS()[4], u"Size of zero fill=16");
    EXPECT_EQ(reader.TLS()[5], u"Characteristics=0x00300000");
    ASSERT_EQ(reader.LoadConfigCount(), 18);
    EXPECT_EQ(reader.LoadConfig()[1], u"Version=1.2");
    EXPECT_EQ(reader.LoadConfig()[2], u"Global flags clear=0x00000100");
    EXPECT_EQ(reader.LoadConfig()[10], is64 ? u"Process heap flags=0x00000109" : u"Process heap flags=0x00000108");
    EXPECT_EQ(reader.LoadConfig()[11],
              is64 ? u"Process affinity mask=0x0000000000000108" : u"Process affinity mask=0x00000109");
    EXPECT_EQ(reader.LoadConfig()[12], u"CSD version=0x0102");
    EXPECT_EQ(reader.LoadConfig()[17], is64 ? u"SE handler count=0x000000000000010D" : u"SE handler count=0x0000010D");
  }
}

// A CLR header and a metadata root with three streams; the "#~" stream marks
// tables 0, 1, 2 and 32 as present.
TEST(PEReader, ClrHeaderAndMetadata) {
  PeImageBuilder builder(false);
  Cardinal rva = builder.NextRva();
  ByteWriter out;
  out.U32(72);
  out.U16(2);
  out.U16(5);
  out.U32(rva + 72);  // metadata
  out.U32(0x100);
  out.U32(1);           // flags
  out.U32(0x06000001);  // entry point token
  out.Zeros(48);
  std::size_t root = out.Size();
  out.U32(0x424A5342);
  out.U16(1);
  out.U16(1);
  out.U32(0);
  out.U32(12);
  out.Ansi("v4.0.30319", false);
  out.Zeros(2);
  out.U16(0);
  out.U16(3);
  std::size_t tableStreamAt = out.Size();
  out.U32(0);
  out.U32(24);
  out.Ansi("#~", true);
  out.Align(4);
  out.U32(0);
  out.U32(8);
  out.Ansi("#Strings", true);
  out.Align(4);
  out.U32(0);
  out.U32(4);
  out.Ansi("#US", true);
  out.Align(4);
  out.PatchU32(tableStreamAt, static_cast<Cardinal>(out.Size() - root));
  out.Zeros(8);
  out.U64((1ull << 0) | (1ull << 1) | (1ull << 2) | (1ull << 32) | (1ull << 3));
  out.Zeros(8);
  builder.AddDirectorySection(14, ".clr", out.Take());
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  ASSERT_EQ(reader.CLRHeaderCount(), 20);
  EXPECT_EQ(reader.CLRHeader()[0], u"Version=2.5");
  EXPECT_EQ(reader.CLRHeader()[4], u"Entry point token=0x06000001");
  ASSERT_EQ(reader.MetadataHeaderCount(), 4);
  EXPECT_EQ(reader.MetadataHeader()[2], u"Version string=v4.0.30319");
  EXPECT_EQ(reader.MetadataHeader()[3], u"Streams=3");
  ASSERT_EQ(reader.MetadataStreamCount(), 3);
  EXPECT_EQ(reader.MetadataStreams()[1].Name, u"#Strings");
  ASSERT_EQ(reader.MetadataTableCount(), 5);
  EXPECT_EQ(reader.MetadataTables()[2].Name, u"02 - TypeDef");
  EXPECT_EQ(reader.MetadataTables()[3].Name, u"");
  EXPECT_EQ(reader.MetadataTables()[4].Name, u"32 - Assembly");
}

TEST(PEReader, ClassScanFindsClassTables) {
  for (UInt64 base : {0x400000ull, 0x90000000ull, 0xFFF00000ull}) {
    PeImageBuilder builder(false);
    builder.ImageBase = base;
    std::vector<UInt64> refs = builder.AddClassTables({
        {"T"},
        {"TBad-Name"},
        {"TOutsideFields", 0x10},
        {"TOutsideInterfaces", 0, 0xFFFFFFF0u},
        {"_Under9"},
        {"9Digit"},
    });
    TPEReader reader;
    reader.LoadFromBytes(builder.Build());
    ASSERT_EQ(reader.ClassCount(), 2) << std::hex << base;
    EXPECT_EQ(reader.Classes(0).Name, u"T");
    EXPECT_EQ(reader.Classes(0).Address, refs[0]);
    EXPECT_EQ(reader.Classes(1).Name, u"_Under9");
  }
}

// Every generation of the compiler's class tables: 32-bit with 16, 19 and 22
// slots below the class reference, 64-bit with 22 slots of 8 bytes, in both
// code section names; each with its parent link.
TEST(PEReader, ClassScanReadsEveryTableLayout) {
  struct Case {
    bool Is64;
    unsigned SelfSlots;
    const char* Section;
    UInt64 Base;
  };
  const Case cases[] = {{false, 16, "CODE", 0x400000},   {false, 19, "CODE", 0x400000},
                        {false, 19, ".text", 0x20000000}, {false, 22, ".text", 0x400000},
                        {true, 22, ".text", 0x400000},    {true, 22, ".text", 0x180000000ull}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Is64 << " " << c.SelfSlots << " " << c.Section);
    PeImageBuilder builder(c.Is64);
    builder.ImageBase = c.Base;
    std::vector<FakeClass> classes{{"TBase"}, {"TDerived"}, {"TBad-Name"}, {"TOutsideFields", 0x10}};
    classes[1].ParentIndex = 0;
    classes[0].Parent = 0x1234;
    const std::vector<UInt64> refs = builder.AddClassTables(classes, c.Section, c.SelfSlots);
    TPEReader reader;
    reader.LoadFromBytes(builder.Build());
    ASSERT_EQ(reader.ClassCount(), 2);
    const unsigned slot = c.Is64 ? 8 : 4;
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(reader.Classes(i).Address, refs[static_cast<std::size_t>(i)]);
      EXPECT_EQ(reader.Classes(i).SelfPointer, refs[static_cast<std::size_t>(i)] - slot * c.SelfSlots);
    }
    EXPECT_EQ(reader.Classes(0).Name, u"TBase");
    EXPECT_EQ(reader.Classes(1).Name, u"TDerived");
    EXPECT_EQ(reader.Classes(0).ParentLink, 0x1234u);
    EXPECT_EQ(reader.Classes(1).ParentLink, reader.Classes(0).SelfPointer);
  }
}

TEST(PEReader, StringScans) {
  std::string text(1025, 'a');
  ByteWriter tail;
  tail.Ansi(
      "\x01"
      "four\x01"
      "fives\x01",
      false);
  tail.Ansi(text, false);
  tail.Ansi(
      "\x01"
      "abcdefghi\x01",
      false);
  tail.Align(2);
  tail.Wide(u"\x01wide text\x01", false);
  tail.U8(0);
  tail.Wide(u"odd offset", false);  // starts at an odd offset
  tail.U8(1);
  tail.Ansi("ends here", false);
  TBytes data = tail.Take();
  std::size_t dataSize = data.size();
  PeImageBuilder builder(false);
  builder.AddSection(".data", data);
  TBytes image = builder.Build();
  image.resize(builder.Layout().Sections[0].FileOffset + dataSize);
  TPEReader reader;
  reader.LoadFromBytes(image);
  const std::vector<String>& strings = reader.Strings();
  EXPECT_NE(std::find(strings.begin(), strings.end(), u"fives"), strings.end());
  EXPECT_EQ(std::find(strings.begin(), strings.end(), u"four"), strings.end());
  EXPECT_EQ(std::find(strings.begin(), strings.end(), String(text.begin(), text.end())), strings.end());
  EXPECT_NE(std::find(strings.begin(), strings.end(), u"abcdefghi"), strings.end());
  EXPECT_EQ(strings.back(), u"ends here");
  const std::vector<String>& wide = reader.UnicodeStrings();
  EXPECT_NE(std::find(wide.begin(), wide.end(), u"wide text"), wide.end());
  EXPECT_EQ(std::find(wide.begin(), wide.end(), u"odd offset"), wide.end());
}

TEST(PEReader, EveryLoadStartsFromNothing) {
  PeImageBuilder package(false);
  package.AddImports({{"rtl.bpl", {{"Init", 0}}}}, false);
  package.AddResources(
      {RcData(u"PACKAGEINFO", PackageInfo(5, {"rtl"}, {"Unit1"})), RcData(u"DESCRIPTION", Description(u"Package"))});
  TPEReader reader;
  reader.LoadFromBytes(package.Build(), u"one.bpl");
  ASSERT_EQ(reader.LinkerProdurer(), u"Borland");
  ASSERT_EQ(reader.PackageFlags(), 5);
  ASSERT_FALSE(reader.Strings().empty());

  reader.LoadFromBytes(Bytes("plain text, no image at all"), u"two.exe");
  EXPECT_EQ(reader.LinkerProdurer(), u"");
  EXPECT_EQ(reader.PackageFlags(), 0);
  EXPECT_FALSE(reader.IsPackageInfo());
  EXPECT_EQ(reader.Signature(), 0);
  EXPECT_FALSE(reader.Is64bit());
  EXPECT_FALSE(reader.Valid());
  EXPECT_EQ(reader.Size(), 27);
  EXPECT_TRUE(reader.Strings().empty());
  EXPECT_EQ(reader.PackageDescription(), u"");
}

// A reader reuses the memory of the last file for the next: whatever order
// the files come in, from memory or from disk, each load reads as a fresh
// reader would.
TEST(PEReader, ReloadingReadsAsAFreshReader) {
  auto imageWithText = [](std::size_t runs, std::size_t runLength, const TBytes& resource) {
    ByteWriter data;
    for (std::size_t i = 0; i < runs; ++i) {
      data.Ansi(std::string(runLength, static_cast<char>('a' + i % 26)), false);
      data.U8(0);
      data.Wide(String(runLength, static_cast<Char>(u'A' + i % 26)), false);
      data.U16(0);
    }
    PeImageBuilder builder(false);
    builder.AddSection(".data", data.Take());
    builder.AddResources({RcData(u"TFORM1", resource)});
    return builder.Build();
  };
  const std::vector<TBytes> images = {
      imageWithText(300, 40, Bytes("TPF0\x06TForm1")), imageWithText(200, 7, Bytes("TPF0\x06TForm2")),
      imageWithText(250, 30, Bytes("TPF0\x06TForm3")), Bytes("plain text, no image at all"),
      imageWithText(10, 900, Bytes("TPF0\x06TForm4"))};
  TempFolder folder;
  String name = folder.File(u"image.exe");
  TPEReader reused;
  for (bool fromFile : {false, true}) {
    for (std::size_t order = 0; order < 2 * images.size(); ++order) {
      const TBytes& image = images[(order * 3) % images.size()];
      if (fromFile) {
        {
          TFileStream file(name, fmCreate);
          file.WriteBuffer(image.data(), static_cast<Int64>(image.size()));
        }
        reused.SetFileName(name);
      } else {
        reused.LoadFromBytes(image);
      }
      TPEReader fresh;
      fresh.LoadFromBytes(image);
      SCOPED_TRACE(testing::Message() << "from file " << fromFile << ", load " << order);
      EXPECT_EQ(reused.Valid(), fresh.Valid());
      EXPECT_EQ(reused.Size(), fresh.Size());
      EXPECT_EQ(reused.Strings(), fresh.Strings());
      EXPECT_EQ(reused.UnicodeStrings(), fresh.UnicodeStrings());
      ASSERT_EQ(reused.ResourceCount(), fresh.ResourceCount());
      for (int i = 0; i < reused.ResourceCount(); ++i) {
        const TResourceItem& resource = reused.Resources()[static_cast<std::size_t>(i)];
        ASSERT_NE(resource.RawDataAddress, nullptr);
        EXPECT_TRUE(std::equal(resource.RawDataAddress, resource.RawDataAddress + resource.RawDataSize,
                               fresh.Resources()[static_cast<std::size_t>(i)].RawDataAddress));
      }
      EXPECT_TRUE(std::ranges::equal(reused.ImageData(), image));
    }
  }
  // Reloading the reader's own file by its own name.
  reused.SetFileName(reused.FileName());
  EXPECT_EQ(reused.FileName(), name);
  EXPECT_TRUE(reused.Valid());
}

TEST(PEReader, CloseKeepsOnlyTheSummaryOfTheLastFile) {
  PeImageBuilder builder = SoundImage(false);
  builder.AddResources({RcData(u"TFORM1", Bytes("TPF0\x06TForm1"))});
  TPEReader reader;
  reader.LoadFromBytes(builder.Build(), u"x.exe");
  reader.Close();
  EXPECT_EQ(reader.FileName(), u"");
  EXPECT_TRUE(reader.Valid());
  EXPECT_EQ(reader.Signature(), 0x4550);
  EXPECT_FALSE(reader.Strings().empty());
  // The section count is kept from the load, not read from a released image.
  EXPECT_EQ(reader.SectionCount(), 0);
  EXPECT_EQ(reader.DirectoryCount(), 16);
  for (int count : {reader.ResourceCount(), reader.ImportCount(), reader.FormCount(), reader.DOSHeaderCount(),
                    reader.FileHeaderCount(), reader.OptionaHeaderCount()})
    EXPECT_EQ(count, 0);
  EXPECT_TRUE(reader.ImageData().empty());
  EXPECT_FALSE(reader.VersionInfo().Valid());
}

}  // namespace

namespace {

// The scans against the plainest reading of the rule, over data of every
// density of printable bytes and lengths around the block size.
std::vector<String> ReferenceScan(const TBytes& bytes, std::size_t unit) {
  std::vector<String> strings;
  String run;
  auto finish = [&] {
    if (run.size() >= 5 && run.size() <= 1024) strings.push_back(run);
    run.clear();
  };
  for (std::size_t i = 0; i + unit <= bytes.size(); i += unit) {
    unsigned value = unit == 1 ? bytes[i] : bytes[i] | bytes[i + 1] << 8;
    if (value >= 32 && value <= 126) {
      run.push_back(static_cast<Char>(value));
    } else {
      finish();
    }
  }
  finish();
  return strings;
}

TEST(StringScan, AgreesWithTheRuleOnAnyData) {
  std::mt19937 random(7);
  // The lists are refilled round after round, as a reader refills its own.
  std::vector<String> narrow, wide;
  for (int round = 0; round < 400; ++round) {
    std::size_t size = random() % 3000;
    unsigned density = random() % 101;
    TBytes bytes(size);
    for (Byte& b : bytes) {
      unsigned roll = random() % 100;
      b = roll < density ? static_cast<Byte>(32 + random() % 95) : (roll % 3 ? 0 : static_cast<Byte>(random()));
    }
    if (round % 5 == 0) std::fill(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size / 2), 'x');
    peimage::ScanStrings(peimage::ImageBytes(bytes.data(), bytes.size()), narrow);
    peimage::ScanWideStrings(peimage::ImageBytes(bytes.data(), bytes.size()), wide);
    ASSERT_EQ(narrow, ReferenceScan(bytes, 1)) << round;
    ASSERT_EQ(wide, ReferenceScan(bytes, 2)) << round;
  }
}

}  // namespace
