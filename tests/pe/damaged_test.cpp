// Hostile and broken images: the reader never crashes, hangs or reads outside
// the image, and a broken directory leaves only its own list short.
#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "pe/pereader.h"
#include "support/image_builder.h"

namespace {

using namespace imagebuilder;

TBytes Bytes(std::string_view text) {
  return TBytes(text.begin(), text.end());
}

// An image with something in every list.
PeImageBuilder FullImage(bool is64) {
  PeImageBuilder builder(is64);
  builder.AddClassTables({{"TForm1"}}, is64 ? ".text" : "CODE");
  builder.AddImports({{"KERNEL32.dll", {{"Sleep", 1}, {"ExitProcess", 2}}}});
  builder.AddDelayImports({{"comdlg32.dll", {{"GetOpenFileNameW", 1}}}});
  builder.AddExports("full.dll", 1, {{"Run", 0x1000}, {"", 0x1004}});
  builder.AddResources({RcData(u"TFORM1", Bytes("TPF0\x06TForm1\x05Form1\x00\x00")),
                        RcData(u"PACKAGEINFO", PackageInfo(1, {"rtl"}, {"Unit1"})),
                        RcData(u"DESCRIPTION", Description(u"Full"))});
  builder.AddDebugEntries({}, 1, "full.pdb");
  builder.AddExceptionEntries({{0x1000, 0x1004, 0x3000}});
  builder.AddTls(1, 2, 3, 4, 0, 0);
  builder.AddLoadConfig(1);
  return builder;
}

Cardinal SectionOffset(const PeImageBuilder& builder, const char* name, const TBytes& image) {
  const BuiltLayout& layout = builder.Layout();
  for (std::size_t i = 0; i < layout.Sections.size(); ++i) {
    const char* header = reinterpret_cast<const char*>(image.data() + layout.SectionTableOffset + 40 * i);
    if (std::string(header, strnlen(header, 8)) == name) return layout.Sections[i].FileOffset;
  }
  ADD_FAILURE() << name;
  return 0;
}

// Loads a 32-bit image whose resource section holds the given bytes.
void LoadWithResources(TPEReader& reader, TBytes section) {
  PeImageBuilder builder(false);
  builder.AddDirectorySection(2, ".rsrc", std::move(section));
  reader.LoadFromBytes(builder.Build());
}

void PatchU32(TBytes& image, std::size_t at, Cardinal value) {
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<Byte>(value >> (8 * i));
}

TEST(DamagedImage, NewHeaderOffsetOutsideTheFile) {
  for (Cardinal offset : {0x10000u, 0xFFFFFFF0u, 0x7FFFFFFFu}) {
    PeImageBuilder builder = FullImage(false);
    TBytes image = builder.Build();
    PatchU32(image, 60, offset);
    TPEReader reader;
    reader.LoadFromBytes(image);
    EXPECT_FALSE(reader.Valid());
    EXPECT_EQ(reader.DOSHeaderCount(), 31);
    EXPECT_EQ(reader.FileHeaderCount(), 0);
    EXPECT_EQ(reader.ResourceCount(), 0);
  }
}

TEST(DamagedImage, TruncatedSectionTableKeepsTheSectionsThatFit) {
  PeImageBuilder builder = FullImage(false);
  builder.NumberOfSectionsField = 0xFFFF;
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  EXPECT_TRUE(reader.Valid());
  EXPECT_EQ(reader.SectionCount(), 0xFFFF);
  EXPECT_EQ(reader.ImportCount(), 2);
  EXPECT_EQ(reader.FormCount(), 1);
}

TEST(DamagedImage, EveryTruncationLoads) {
  for (bool is64 : {false, true}) {
    PeImageBuilder builder = FullImage(is64);
    TBytes image = builder.Build();
    for (std::size_t size = 0; size < image.size(); size += 13) {
      TPEReader reader;
      reader.LoadFromBytes(TBytes(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size)));
      EXPECT_LE(reader.ResourceCount(), 3);
    }
  }
}

TEST(DamagedImage, RandomByteChangesLoad) {
  std::mt19937 random(20241210);
  for (bool is64 : {false, true}) {
    PeImageBuilder builder = FullImage(is64);
    const TBytes image = builder.Build();
    for (int round = 0; round < 300; ++round) {
      TBytes damaged = image;
      for (int change = 0; change < 8; ++change)
        damaged[random() % damaged.size()] = static_cast<Byte>(random() % 4 == 0 ? 0xFF : random());
      TPEReader reader;
      reader.LoadFromBytes(damaged);
    }
  }
}

// A directory at each level whose entries lead back up the tree.
TEST(DamagedImage, ResourceCyclesEnd) {
  for (Cardinal target : {0u, 24u, 48u}) {
    ByteWriter rsrc;
    auto directory = [&](Cardinal name, Cardinal offset) {
      rsrc.Zeros(12);
      rsrc.U16(0);
      rsrc.U16(1);
      rsrc.U32(name);
      rsrc.U32(offset);
    };
    directory(10, 0x80000000u | 24);         // root -> type directory
    directory(1, 0x80000000u | 48);          // type -> name directory
    directory(0x409, 0x80000000u | target);  // name -> back up
    PeImageBuilder builder(false);
    builder.AddDirectorySection(2, ".rsrc", rsrc.Take());
    TPEReader reader;
    reader.LoadFromBytes(builder.Build());
    EXPECT_TRUE(reader.Valid());
    EXPECT_EQ(reader.ResourceCount(), 0);
  }
}

// Two entries may share a subdirectory without a loop: it is listed under each.
TEST(DamagedImage, SharedResourceDirectoriesAreListedForEachEntry) {
  ByteWriter rsrc;
  auto directory = [&](std::vector<std::pair<Cardinal, Cardinal>> entries) {
    rsrc.Zeros(12);
    rsrc.U16(0);
    rsrc.U16(static_cast<Word>(entries.size()));
    for (auto [name, offset] : entries) {
      rsrc.U32(name);
      rsrc.U32(offset);
    }
  };
  directory({{10, 0x80000000u | 32}, {3, 0x80000000u | 32}});  // two types, one name directory
  directory({{1, 0x80000000u | 56}});                          // name -> languages
  directory({{0x409, 80}});                                    // language -> data entry
  rsrc.Zeros(16);
  TPEReader reader;
  LoadWithResources(reader, rsrc.Take());
  EXPECT_TRUE(reader.Valid());
  ASSERT_EQ(reader.ResourceCount(), 2);
  EXPECT_EQ(reader.Resources()[0].Typ, 10);
  EXPECT_EQ(reader.Resources()[1].Typ, 3);
  EXPECT_EQ(reader.Resources()[1].Name, u"1");
}

TEST(DamagedImage, DeepResourceTreesStopAtTheDepthLimit) {
  ByteWriter rsrc;
  const Cardinal depth = 200;
  for (Cardinal level = 0; level < depth; ++level) {
    rsrc.Zeros(12);
    rsrc.U16(0);
    rsrc.U16(2);
    Cardinal here = level * 32;
    // A data entry first, then the next directory.
    rsrc.U32(1);
    rsrc.U32(depth * 32);
    rsrc.U32(level + 1);
    rsrc.U32(0x80000000u | (here + 32));
  }
  rsrc.U32(0x1000);
  rsrc.U32(4);
  rsrc.U32(0);
  rsrc.U32(0);
  TPEReader reader;
  LoadWithResources(reader, rsrc.Take());
  EXPECT_GT(reader.ResourceCount(), 0);
  EXPECT_LT(reader.ResourceCount(), 40);
}

TEST(DamagedImage, HugeCountsAreBoundedByTheFile) {
  PeImageBuilder builder = FullImage(false);
  TBytes image = builder.Build();
  // Resource root claiming 65535 + 65535 entries.
  Cardinal rsrc = SectionOffset(builder, ".rsrc", image);
  image[rsrc + 12] = image[rsrc + 13] = image[rsrc + 14] = image[rsrc + 15] = 0xFF;
  // Export directory claiming 2^32 - 1 functions and names.
  Cardinal edata = SectionOffset(builder, ".edata", image);
  PatchU32(image, edata + 20, 0xFFFFFFFF);
  PatchU32(image, edata + 24, 0xFFFFFFFF);
  // Exception and debug directories claiming nearly 4 GiB.
  Cardinal directories = builder.Layout().OptionalHeaderOffset + 96;
  PatchU32(image, directories + 3 * 8 + 4, 0xFFFFFFF0);
  PatchU32(image, directories + 6 * 8 + 4, 0xFFFFFFF0);
  TPEReader reader;
  reader.LoadFromBytes(image);
  EXPECT_TRUE(reader.Valid());
  EXPECT_EQ(reader.ResourceCount(), 0);
  EXPECT_GE(reader.ExportCount(), 2);
  EXPECT_GE(reader.ExceptionCount(), 1);
  EXPECT_EQ(reader.ImportCount(), 2);
}

TEST(DamagedImage, ADamagedDirectoryLeavesOnlyItsOwnListShort) {
  struct Case {
    int Directory;
    const char* Name;
  };
  for (Case c : {Case{0, "exports"}, Case{1, "imports"}, Case{2, "resources"}, Case{6, "debug"}}) {
    PeImageBuilder builder = FullImage(false);
    TBytes image = builder.Build();
    PatchU32(image, builder.Layout().OptionalHeaderOffset + 96 + 8 * c.Directory, 0x7FFFFFF0);
    TPEReader reader;
    reader.LoadFromBytes(image);
    SCOPED_TRACE(c.Name);
    EXPECT_TRUE(reader.Valid());
    EXPECT_EQ(reader.ExportCount(), c.Directory == 0 ? 0 : 2);
    EXPECT_EQ(reader.ImportCount(), c.Directory == 1 ? 1 : 2);  // the delay imports stay
    EXPECT_EQ(reader.ResourceCount(), c.Directory == 2 ? 0 : 3);
    EXPECT_EQ(reader.FormCount(), c.Directory == 2 ? 0 : 1);
    EXPECT_EQ(reader.DebugCount(), c.Directory == 6 ? 0 : 2);
    EXPECT_EQ(reader.ClassCount(), 1);
    EXPECT_EQ(reader.TLSCount(), 6);
    EXPECT_EQ(reader.ExceptionCount(), 1);
  }
}

TEST(DamagedImage, OverlappingDirectoriesAndSections) {
  PeImageBuilder builder = FullImage(false);
  TBytes image = builder.Build();
  Cardinal directories = builder.Layout().OptionalHeaderOffset + 96;
  // The import directory points at the export directory, and the TLS one at the resources.
  PatchU32(image, directories + 8, image[directories] | image[directories + 1] << 8 | image[directories + 2] << 16);
  PatchU32(image, directories + 9 * 8, image[directories + 16] | image[directories + 17] << 8);
  // The second section claims the first one's addresses too.
  Cardinal table = builder.Layout().SectionTableOffset;
  PatchU32(image, table + 40 + 12, 0x1000);
  PatchU32(image, table + 40 + 8, 0x100000);
  TPEReader reader;
  reader.LoadFromBytes(image);
  EXPECT_TRUE(reader.Valid());
}

TEST(DamagedImage, UnterminatedNamesAndDataOutsideTheFile) {
  PeImageBuilder builder(false);
  builder.AddResources({RcData(u"TFORM1", Bytes("TPF0\x06TForm1"))});
  builder.AddImports({{"KERNEL32.dll", {{"Sleep", 1}}}});
  TBytes image = builder.Build();
  // The resource's data entry points past the end.
  Cardinal rsrc = SectionOffset(builder, ".rsrc", image);
  PatchU32(image, rsrc + 3 * 24, 0x7FFF0000);
  // The module name runs to the end of the file without a zero.
  Cardinal idata = SectionOffset(builder, ".idata", image);
  Cardinal nameRva = image[idata + 12] | image[idata + 13] << 8 | image[idata + 14] << 16;
  Cardinal nameAt = idata + (nameRva - builder.Layout().Sections[1].Rva);
  std::fill(image.begin() + nameAt, image.end(), 'A');
  TPEReader reader;
  reader.LoadFromBytes(image);
  ASSERT_EQ(reader.ResourceCount(), 1);
  EXPECT_EQ(reader.Resources()[0].RawDataAddress, nullptr);
  EXPECT_EQ(reader.FormCount(), 0);
  EXPECT_EQ(reader.ImportCount(), 0);
}

}  // namespace
