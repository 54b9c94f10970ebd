#include "image_builder.h"

#include <algorithm>
#include <map>

namespace imagebuilder {

namespace {

constexpr Cardinal kSectionAlignment = 0x1000;
constexpr Cardinal kFileAlignment = 0x200;

Cardinal AlignUp(Cardinal value, Cardinal alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

bool IsNamed(const ResourceKey& key) {
  return std::holds_alternative<String>(key);
}

// Named entries first, then ids ascending, as resource compilers sort them.
bool KeyLess(const ResourceKey& a, const ResourceKey& b) {
  if (IsNamed(a) != IsNamed(b)) return IsNamed(a);
  if (IsNamed(a)) return std::get<String>(a) < std::get<String>(b);
  return std::get<Word>(a) < std::get<Word>(b);
}

struct KeyOrder {
  bool operator()(const ResourceKey& a, const ResourceKey& b) const { return KeyLess(a, b); }
};

}  // namespace

void ByteWriter::U16(Word value) {
  U8(static_cast<Byte>(value & 0xFF));
  U8(static_cast<Byte>(value >> 8));
}
void ByteWriter::U32(Cardinal value) {
  U16(static_cast<Word>(value & 0xFFFF));
  U16(static_cast<Word>(value >> 16));
}
void ByteWriter::U64(UInt64 value) {
  U32(static_cast<Cardinal>(value));
  U32(static_cast<Cardinal>(value >> 32));
}
void ByteWriter::Align(std::size_t alignment) {
  while (FBytes.size() % alignment) FBytes.push_back(0);
}
void ByteWriter::Ansi(std::string_view text, bool zero) {
  FBytes.insert(FBytes.end(), text.begin(), text.end());
  if (zero) U8(0);
}
void ByteWriter::Wide(StringView text, bool zero) {
  for (Char c : text) U16(c);
  if (zero) U16(0);
}
void ByteWriter::PatchU16(std::size_t at, Word value) {
  FBytes[at] = static_cast<Byte>(value & 0xFF);
  FBytes[at + 1] = static_cast<Byte>(value >> 8);
}
void ByteWriter::PatchU32(std::size_t at, Cardinal value) {
  PatchU16(at, static_cast<Word>(value & 0xFFFF));
  PatchU16(at + 2, static_cast<Word>(value >> 16));
}
void ByteWriter::PatchU64(std::size_t at, UInt64 value) {
  PatchU32(at, static_cast<Cardinal>(value));
  PatchU32(at + 4, static_cast<Cardinal>(value >> 32));
}

PeImageBuilder::PeImageBuilder(bool is64)
    : ImageBase(is64 ? 0x140000000ull : 0x400000ull), Machine(is64 ? 0x8664 : 0x14C), FIs64(is64) {}

std::size_t PeImageBuilder::AddSection(std::string name, TBytes data, Cardinal characteristics, Cardinal virtualSize) {
  Cardinal size = virtualSize ? virtualSize : static_cast<Cardinal>(data.size());
  FSections.push_back(Section{std::move(name), std::move(data), size, characteristics, FNextRva});
  FNextRva = AlignUp(FNextRva + std::max<Cardinal>(size, 1), kSectionAlignment);
  return FSections.size() - 1;
}

void PeImageBuilder::SetDirectory(int index, Cardinal rva, Cardinal size) {
  FDirectories[index] = {rva, size};
}

Cardinal PeImageBuilder::AddDirectorySection(int index, std::string name, TBytes data) {
  Cardinal rva = FNextRva;
  auto size = static_cast<Cardinal>(data.size());
  AddSection(std::move(name), std::move(data));
  SetDirectory(index, rva, size);
  return rva;
}

void PeImageBuilder::AddFileOffsetFixup(std::size_t section, std::size_t offset, Cardinal rva) {
  FFixups.push_back(Fixup{section, offset, rva});
}

void PeImageBuilder::AddResources(const std::vector<ResourceEntry>& entries) {
  using Languages = std::vector<const ResourceEntry*>;
  using Names = std::map<ResourceKey, Languages, KeyOrder>;
  std::map<ResourceKey, Names, KeyOrder> tree;
  for (const ResourceEntry& entry : entries) tree[entry.Type][entry.Name].push_back(&entry);
  for (auto& [type, names] : tree)
    for (auto& [name, languages] : names)
      std::stable_sort(languages.begin(), languages.end(),
                       [](const ResourceEntry* a, const ResourceEntry* b) { return a->Language < b->Language; });

  // Directories first, then data entries, then name strings, then data.
  Cardinal directories = 16 + 8 * static_cast<Cardinal>(tree.size());
  std::size_t nameDirectories = 0, dataEntries = 0;
  for (auto& [type, names] : tree) {
    directories += 16 + 8 * static_cast<Cardinal>(names.size());
    nameDirectories += names.size();
    for (auto& [name, languages] : names) dataEntries += languages.size();
  }
  directories += 16 * static_cast<Cardinal>(nameDirectories);
  for (auto& [type, names] : tree)
    for (auto& [name, languages] : names) directories += 8 * static_cast<Cardinal>(languages.size());
  Cardinal dataEntryStart = directories;
  Cardinal stringStart = dataEntryStart + 16 * static_cast<Cardinal>(dataEntries);

  ByteWriter strings;
  auto keyField = [&](const ResourceKey& key) -> Cardinal {
    if (!IsNamed(key)) return std::get<Word>(key);
    const String& text = std::get<String>(key);
    Cardinal at = stringStart + static_cast<Cardinal>(strings.Size());
    strings.U16(static_cast<Word>(text.size()));
    strings.Wide(text, false);
    return 0x80000000u | at;
  };
  // Field values first (the strings need their places before the data starts).
  ByteWriter dirs;
  std::vector<const ResourceEntry*> order;
  Cardinal nextDirectory = 16 + 8 * static_cast<Cardinal>(tree.size());
  auto header = [&](std::size_t named, std::size_t ids) {
    dirs.Zeros(12);
    dirs.U16(static_cast<Word>(named));
    dirs.U16(static_cast<Word>(ids));
  };
  auto counts = [](const auto& map) {
    std::size_t named = 0;
    for (auto& [key, value] : map) named += IsNamed(key);
    return std::pair(named, map.size() - named);
  };
  auto [typeNamed, typeIds] = counts(tree);
  header(typeNamed, typeIds);
  for (auto& [type, names] : tree) {
    dirs.U32(keyField(type));
    dirs.U32(0x80000000u | nextDirectory);
    nextDirectory += 16 + 8 * static_cast<Cardinal>(names.size());
  }
  Cardinal nextData = dataEntryStart;
  std::vector<std::pair<const Languages*, Cardinal>> languageDirs;
  for (auto& [type, names] : tree) {
    auto [named, ids] = counts(names);
    header(named, ids);
    for (auto& [name, languages] : names) {
      dirs.U32(keyField(name));
      dirs.U32(0x80000000u | nextDirectory);
      languageDirs.emplace_back(&languages, nextDirectory);
      nextDirectory += 16 + 8 * static_cast<Cardinal>(languages.size());
    }
  }
  for (auto& [languages, at] : languageDirs) {
    header(0, languages->size());
    for (const ResourceEntry* entry : *languages) {
      dirs.U32(entry->Language);
      dirs.U32(nextData);
      nextData += 16;
      order.push_back(entry);
    }
  }
  strings.Align(8);
  Cardinal dataStart = stringStart + static_cast<Cardinal>(strings.Size());
  Cardinal rva = FNextRva;
  ByteWriter section;
  section.Bytes(dirs.Data());
  ByteWriter data;
  for (const ResourceEntry* entry : order) {
    section.U32(rva + dataStart + static_cast<Cardinal>(data.Size()));
    section.U32(static_cast<Cardinal>(entry->Data.size()));
    section.U32(entry->CodePage);
    section.U32(0);
    data.Bytes(entry->Data);
    data.Align(8);
  }
  section.Bytes(strings.Data());
  section.Bytes(data.Data());
  AddDirectorySection(2, ".rsrc", section.Take());
}

void PeImageBuilder::AddImports(const std::vector<ImportModule>& modules, bool originalThunks) {
  Cardinal rva = FNextRva;
  Cardinal thunk = ThunkSize();
  Cardinal descriptors = 20 * static_cast<Cardinal>(modules.size() + 1);
  Cardinal tables = descriptors;
  std::vector<Cardinal> lookupAt, addressAt;
  Cardinal cursor = tables;
  for (const ImportModule& module : modules) {
    Cardinal size = thunk * static_cast<Cardinal>(module.Functions.size() + 1);
    lookupAt.push_back(cursor);
    cursor += size;
    addressAt.push_back(cursor);
    cursor += size;
  }
  // Hint-and-name records and module names after the tables.
  ByteWriter names;
  std::vector<std::vector<UInt64>> thunkValues;
  std::vector<Cardinal> moduleNameAt;
  for (const ImportModule& module : modules) {
    std::vector<UInt64> values;
    for (const ImportFunction& function : module.Functions) {
      if (function.Name.empty()) {
        values.push_back((FIs64 ? 0x8000000000000000ull : 0x80000000ull) | function.Ordinal);
        continue;
      }
      names.Align(2);
      values.push_back(rva + cursor + names.Size());
      names.U16(function.Hint);
      names.Ansi(function.Name);
    }
    thunkValues.push_back(values);
    moduleNameAt.push_back(cursor + static_cast<Cardinal>(names.Size()));
    names.Ansi(module.Name);
  }
  ByteWriter out;
  for (std::size_t i = 0; i < modules.size(); ++i) {
    out.U32(originalThunks ? rva + lookupAt[i] : 0);
    out.U32(0);
    out.U32(0);
    out.U32(rva + moduleNameAt[i]);
    out.U32(rva + addressAt[i]);
  }
  out.Zeros(20);
  for (std::size_t i = 0; i < modules.size(); ++i) {
    for (int copy = 0; copy < 2; ++copy) {
      for (UInt64 value : thunkValues[i]) FIs64 ? out.U64(value) : out.U32(static_cast<Cardinal>(value));
      out.Zeros(thunk);
    }
  }
  out.Bytes(names.Data());
  Cardinal size = descriptors;
  AddSection(".idata", out.Take());
  SetDirectory(1, rva, size);
}

void PeImageBuilder::AddDelayImports(const std::vector<ImportModule>& modules, bool absoluteAddresses) {
  Cardinal rva = FNextRva;
  Cardinal thunk = ThunkSize();
  UInt64 base = absoluteAddresses ? ImageBase : 0;
  Cardinal descriptors = 32 * static_cast<Cardinal>(modules.size() + 1);
  Cardinal cursor = descriptors;
  std::vector<Cardinal> nameTableAt, handleAt;
  for (const ImportModule& module : modules) {
    handleAt.push_back(cursor);
    cursor += 8;
    nameTableAt.push_back(cursor);
    cursor += thunk * static_cast<Cardinal>(module.Functions.size() + 1);
  }
  ByteWriter names;
  std::vector<std::vector<UInt64>> values;
  std::vector<Cardinal> moduleNameAt;
  for (const ImportModule& module : modules) {
    std::vector<UInt64> moduleValues;
    for (const ImportFunction& function : module.Functions) {
      names.Align(2);
      moduleValues.push_back(base + rva + cursor + names.Size());
      names.U16(function.Hint);
      names.Ansi(function.Name);
    }
    values.push_back(moduleValues);
    moduleNameAt.push_back(cursor + static_cast<Cardinal>(names.Size()));
    names.Ansi(module.Name);
  }
  ByteWriter out;
  for (std::size_t i = 0; i < modules.size(); ++i) {
    out.U32(absoluteAddresses ? 0 : 1);
    out.U32(static_cast<Cardinal>(base + rva + moduleNameAt[i]));
    out.U32(static_cast<Cardinal>(base + rva + handleAt[i]));
    out.U32(static_cast<Cardinal>(base + rva + nameTableAt[i]));  // the address table shares the names here
    out.U32(static_cast<Cardinal>(base + rva + nameTableAt[i]));
    out.Zeros(12);
  }
  out.Zeros(32);
  for (std::size_t i = 0; i < modules.size(); ++i) {
    out.Zeros(8);
    for (UInt64 value : values[i]) FIs64 ? out.U64(value) : out.U32(static_cast<Cardinal>(value));
    out.Zeros(thunk);
  }
  out.Bytes(names.Data());
  AddSection(".didat", out.Take());
  SetDirectory(13, rva, descriptors);
}

void PeImageBuilder::AddExports(const std::string& moduleName, Cardinal ordinalBase,
                                const std::vector<ExportFunction>& functions) {
  Cardinal rva = FNextRva;
  std::vector<std::pair<std::string, Word>> named;
  for (std::size_t i = 0; i < functions.size(); ++i)
    if (!functions[i].Name.empty()) named.emplace_back(functions[i].Name, static_cast<Word>(i));
  std::sort(named.begin(), named.end());
  Cardinal functionTable = 40;
  Cardinal nameTable = functionTable + 4 * static_cast<Cardinal>(functions.size());
  Cardinal ordinalTable = nameTable + 4 * static_cast<Cardinal>(named.size());
  Cardinal stringsAt = ordinalTable + 2 * static_cast<Cardinal>(named.size());
  ByteWriter strings;
  Cardinal moduleNameAt = stringsAt;
  strings.Ansi(moduleName);
  std::vector<Cardinal> nameAt;
  for (auto& [name, position] : named) {
    nameAt.push_back(stringsAt + static_cast<Cardinal>(strings.Size()));
    strings.Ansi(name);
  }
  ByteWriter out;
  out.Zeros(12);
  out.U32(rva + moduleNameAt);
  out.U32(ordinalBase);
  out.U32(static_cast<Cardinal>(functions.size()));
  out.U32(static_cast<Cardinal>(named.size()));
  out.U32(rva + functionTable);
  out.U32(rva + nameTable);
  out.U32(rva + ordinalTable);
  for (const ExportFunction& function : functions) out.U32(function.Rva);
  for (Cardinal at : nameAt) out.U32(rva + at);
  for (auto& [name, position] : named) out.U16(position);
  out.Bytes(strings.Data());
  AddDirectorySection(0, ".edata", out.Take());
}

void PeImageBuilder::AddDebugEntries(const std::array<Byte, 16>& guid, Cardinal age, const std::string& pdbName) {
  Cardinal rva = FNextRva;
  ByteWriter out;
  // Two entries, then an entry of type 0 that the reader skips, then the data.
  Cardinal codeViewAt = 3 * 28;
  ByteWriter codeView;
  codeView.Ansi("RSDS", false);
  for (Byte b : guid) codeView.U8(b);
  codeView.U32(age);
  codeView.Ansi(pdbName);
  Cardinal miscAt = AlignUp(codeViewAt + static_cast<Cardinal>(codeView.Size()), 4);
  ByteWriter misc;
  misc.U32(1);
  misc.U32(32);
  misc.U8(0);
  misc.Zeros(3);
  misc.Ansi("misc.dbg");
  misc.Align(4);
  auto entry = [&](Cardinal type, Cardinal size, Cardinal at) {
    out.U32(0);
    out.U32(TimeStamp);
    out.U16(0);
    out.U16(0);
    out.U32(type);
    out.U32(size);
    out.U32(at ? rva + at : 0);
    out.U32(0);  // file offset, fixed up
  };
  entry(2, static_cast<Cardinal>(codeView.Size()), codeViewAt);
  entry(4, static_cast<Cardinal>(misc.Size()), miscAt);
  entry(0, 0, 0);
  out.Bytes(codeView.Data());
  out.Align(4);
  out.Bytes(misc.Data());
  std::size_t section = AddSection(".debug", out.Take());
  SetDirectory(6, rva, 3 * 28);
  AddFileOffsetFixup(section, 24, rva + codeViewAt);
  AddFileOffsetFixup(section, 28 + 24, rva + miscAt);
}

void PeImageBuilder::AddExceptionEntries(const std::vector<std::array<Cardinal, 3>>& entries) {
  ByteWriter out;
  for (const auto& entry : entries)
    for (Cardinal value : entry) out.U32(value);
  AddDirectorySection(3, ".pdata", out.Take());
}

void PeImageBuilder::AddTls(UInt64 start, UInt64 end, UInt64 index, UInt64 callbacks, Cardinal zeroFill,
                            Cardinal characteristics) {
  ByteWriter out;
  for (UInt64 value : {start, end, index, callbacks}) FIs64 ? out.U64(value) : out.U32(static_cast<Cardinal>(value));
  out.U32(zeroFill);
  out.U32(characteristics);
  AddDirectorySection(9, ".tls", out.Take());
}

void PeImageBuilder::AddLoadConfig(Cardinal first) {
  ByteWriter out;
  Cardinal value = first;
  auto pointer = [&] { FIs64 ? out.U64(value++) : out.U32(value++); };
  out.U32(FIs64 ? 112 : 72);
  out.U32(TimeStamp);
  out.U16(1);
  out.U16(2);
  for (int i = 0; i < 3; ++i) out.U32(value++);
  for (int i = 0; i < 5; ++i) pointer();
  if (FIs64) {
    pointer();         // affinity
    out.U32(value++);  // heap flags
  } else {
    out.U32(value++);  // heap flags
    out.U32(value++);  // affinity
  }
  out.U16(0x0102);
  out.U16(0x0304);
  for (int i = 0; i < 4; ++i) pointer();
  AddDirectorySection(10, ".lcfg", out.Take());
}

std::vector<UInt64> PeImageBuilder::AddClassTables(const std::vector<FakeClass>& classes, std::string sectionName,
                                                     unsigned selfSlots) {
  Cardinal rva = FNextRva;
  auto codeVa = static_cast<UInt64>(ImageBase + rva);
  const unsigned slot = FIs64 ? 8 : 4;
  const unsigned below = slot * selfSlots;  // bytes from the self pointer to the class reference
  ByteWriter out;
  out.Zeros(16);  // some code before the first table
  auto pointer = [&](UInt64 value) { FIs64 ? out.U64(value) : out.U32(static_cast<Cardinal>(value)); };
  // Every table's place first, so a parent link may point forward.
  std::vector<UInt64> starts;
  std::size_t at = out.Size();
  for (const FakeClass& fake : classes) {
    starts.push_back(codeVa + at);
    at += (below + 2 * slot + 1 + fake.Name.size() + slot - 1) / slot * slot + 2 * slot;
  }
  std::vector<UInt64> references;
  for (const FakeClass& fake : classes) {
    UInt64 p = codeVa + out.Size();
    UInt64 reference = p + below;
    UInt64 nameAt = reference + 2 * slot;
    pointer(reference);                                 // self pointer
    pointer(fake.InterfaceTable);                       // interface table
    pointer(0);                                         // automation table
    pointer(0);                                         // initialisation table
    pointer(0);                                         // type information
    pointer(fake.FieldTable);                           // field table
    pointer(0);                                         // method table
    pointer(0);                                         // dynamic method table
    pointer(fake.NamePointer ? UInt64{*fake.NamePointer} : nameAt);  // class name
    pointer(0);                                         // instance size
    pointer(fake.ParentIndex >= 0 ? starts.at(static_cast<std::size_t>(fake.ParentIndex)) : UInt64{fake.Parent});
    out.Zeros(below - 11 * slot);
    out.Zeros(2 * slot);  // the first virtual methods
    out.U8(static_cast<Byte>(fake.Name.size()));
    out.Ansi(fake.Name, false);
    out.Align(slot);
    out.Zeros(2 * slot);
    references.push_back(reference);
  }
  AddSection(std::move(sectionName), out.Take(), kCodeSection);
  return references;
}

TBytes PeImageBuilder::Build() {
  Word optionalSize = FIs64 ? 240 : 224;
  Cardinal headersEnd = NewHeaderOffset + 24 + optionalSize + 40 * static_cast<Cardinal>(FSections.size());
  Cardinal sizeOfHeaders = AlignUp(headersEnd, kFileAlignment);
  FLayout = BuiltLayout();
  FLayout.NewHeaderOffset = NewHeaderOffset;
  FLayout.OptionalHeaderOffset = NewHeaderOffset + 24;
  FLayout.SectionTableOffset = NewHeaderOffset + 24 + optionalSize;
  Cardinal fileOffset = sizeOfHeaders;
  for (const Section& section : FSections) {
    auto raw = AlignUp(static_cast<Cardinal>(section.Data.size()), kFileAlignment);
    FLayout.Sections.push_back(SectionLayout{section.Rva, raw ? fileOffset : 0, raw});
    fileOffset += raw;
  }
  auto fileOffsetOf = [&](Cardinal rva) -> Cardinal {
    for (std::size_t i = 0; i < FSections.size(); ++i)
      if (rva >= FSections[i].Rva && rva < FSections[i].Rva + FSections[i].VirtualSize)
        return FLayout.Sections[i].FileOffset + (rva - FSections[i].Rva);
    return rva;
  };

  ByteWriter out;
  TBytes dos = DosImage(NewHeaderOffset);
  dos.resize(std::clamp<std::size_t>(NewHeaderOffset, 64, dos.size()));
  out.Bytes(dos);
  out.Zeros(NewHeaderOffset - out.Size());
  out.Ansi("PE", true);
  out.U8(0);
  out.U16(Machine);
  out.U16(NumberOfSectionsField.value_or(static_cast<Word>(FSections.size())));
  out.U32(TimeStamp);
  out.U32(0);
  out.U32(0);
  out.U16(SizeOfOptionalHeaderField ? SizeOfOptionalHeaderField : optionalSize);
  out.U16(Characteristics);
  // Optional header.
  Cardinal codeSize = 0, dataSize = 0, codeBase = 0, dataBase = 0;
  for (std::size_t i = 0; i < FSections.size(); ++i) {
    if (FSections[i].Characteristics & 0x20) {
      codeSize += FLayout.Sections[i].RawSize;
      if (!codeBase) codeBase = FSections[i].Rva;
    } else {
      dataSize += FLayout.Sections[i].RawSize;
      if (!dataBase) dataBase = FSections[i].Rva;
    }
  }
  out.U16(FIs64 ? 0x20B : 0x10B);
  out.U8(2);
  out.U8(40);
  out.U32(codeSize);
  out.U32(dataSize);
  out.U32(0);
  out.U32(codeBase);
  out.U32(codeBase);
  if (FIs64) {
    out.U64(ImageBase);
  } else {
    out.U32(dataBase);
    out.U32(static_cast<Cardinal>(ImageBase));
  }
  out.U32(kSectionAlignment);
  out.U32(kFileAlignment);
  out.U16(4);
  out.U16(0);
  out.U16(1);
  out.U16(2);
  out.U16(5);
  out.U16(2);
  out.U32(0);
  out.U32(FNextRva);
  out.U32(sizeOfHeaders);
  out.U32(0);
  out.U16(Subsystem);
  out.U16(0x8140);
  for (UInt64 value : {0x200000ull, 0x1000ull, 0x100000ull, 0x1000ull})
    FIs64 ? out.U64(value) : out.U32(static_cast<Cardinal>(value));
  out.U32(0);
  out.U32(16);
  for (auto [rva, size] : FDirectories) {
    out.U32(rva);
    out.U32(size);
  }
  for (std::size_t i = 0; i < FSections.size(); ++i) {
    std::string name = FSections[i].Name.substr(0, 8);
    out.Ansi(name, false);
    out.Zeros(8 - name.size());
    out.U32(FSections[i].VirtualSize);
    out.U32(FSections[i].Rva);
    out.U32(FLayout.Sections[i].RawSize);
    out.U32(FLayout.Sections[i].FileOffset);
    out.Zeros(12);
    out.U32(FSections[i].Characteristics);
  }
  out.Zeros(sizeOfHeaders - out.Size());
  for (std::size_t i = 0; i < FSections.size(); ++i) {
    std::size_t start = out.Size();
    out.Bytes(FSections[i].Data);
    out.Zeros(FLayout.Sections[i].RawSize - FSections[i].Data.size());
    for (const Fixup& fixup : FFixups)
      if (fixup.Section == i) out.PatchU32(start + fixup.Offset, fileOffsetOf(fixup.Rva));
  }
  return out.Take();
}

TBytes DosImage(Cardinal newHeader, const TBytes& tail) {
  ByteWriter out;
  out.Ansi("MZ", false);
  out.U16(0x90);  // bytes on last page
  out.U16(3);     // pages
  out.U16(0);     // relocations
  out.U16(4);     // header paragraphs
  out.U16(0);
  out.U16(0xFFFF);
  out.U16(0);
  out.U16(0xB8);
  out.U16(0);
  out.U16(0);
  out.U16(0);
  out.U16(0x40);  // relocation table
  out.U16(0);
  out.Zeros(8 + 4 + 20);
  out.U32(newHeader);
  // A stub that says the program needs the other system.
  out.Ansi("This program cannot be run in DOS mode.", true);
  out.Bytes(tail);
  return out.Take();
}

TBytes NeImage() {
  ByteWriter out;
  out.Bytes(DosImage(0x80));
  out.Zeros(0x80 - out.Size());
  out.Ansi("NE", false);
  out.U8(5);       // linker version
  out.U8(10);      // revision
  out.U16(0x100);  // entry table
  out.U16(4);
  out.U32(0x12345678);  // checksum
  out.U16(0x8300);      // flags
  out.U16(0);
  out.U16(0x400);  // heap
  out.U16(0x800);  // stack
  out.U32(0);
  out.U32(0);
  out.U16(1);  // segments
  out.U16(0);
  out.U16(8);
  out.U16(0x40);
  out.U16(0x48);
  out.U16(0x60);
  out.U16(0x70);
  out.U16(0x72);
  out.U32(0x200);
  out.U16(0);
  out.U16(4);  // alignment shift
  out.U16(0);
  out.U8(2);  // Windows
  out.U8(8);
  out.U16(0);
  out.U16(0);
  out.U16(0);
  out.U16(0x030A);  // expected Windows 3.10
  out.Zeros(0x100);
  return out.Take();
}

TBytes LeImage() {
  ByteWriter out;
  out.Bytes(DosImage(0x80));
  out.Zeros(0x80 - out.Size());
  out.Ansi("LE", false);
  out.U8(0);
  out.U8(0);
  out.U32(0);  // format level
  out.U16(2);  // 386
  out.U16(4);  // Windows 386
  for (int i = 0; i < 40; ++i) out.U32(static_cast<Cardinal>(i));
  out.Zeros(12);
  out.U32(0x1000);
  out.U32(0x20);
  out.U16(0x1234);
  out.U16(0x030A);
  out.Zeros(0x40);
  return out.Take();
}

ResourceEntry RcData(const String& name, TBytes data, Word language) {
  return ResourceEntry{Word{10}, name, language, std::move(data), 0};
}

TBytes PackageInfo(Integer flags, const std::vector<std::string>& required, const std::vector<std::string>& units) {
  ByteWriter out;
  out.U32(static_cast<Cardinal>(flags));
  out.U32(static_cast<Cardinal>(required.size()));
  for (const std::string& name : required) {
    out.U8(0x5A);
    out.Ansi(name);
  }
  out.U32(static_cast<Cardinal>(units.size()));
  for (const std::string& name : units) {
    out.U8(0x10);
    out.U8(0x5A);
    out.Ansi(name);
  }
  return out.Take();
}

TBytes Description(const String& text) {
  ByteWriter out;
  out.Wide(text);
  return out.Take();
}

TBytes VersionResource(const std::array<Word, 4>& fileVersion, const std::array<Word, 4>& productVersion,
                       Cardinal flags, const std::vector<VersionStrings>& tables, bool blockPerTable,
                       bool withTranslations) {
  ByteWriter out;
  auto open = [&](StringView key, Word valueLength, Word type) {
    out.Align(4);
    std::size_t start = out.Size();
    out.U16(0);
    out.U16(valueLength);
    out.U16(type);
    out.Wide(key);
    out.Align(4);
    return start;
  };
  auto close = [&](std::size_t start) { out.PatchU16(start, static_cast<Word>(out.Size() - start)); };
  std::size_t root = open(u"VS_VERSION_INFO", 52, 0);
  out.U32(0xFEEF04BD);
  out.U32(0x00010000);
  out.U32(Cardinal{fileVersion[0]} << 16 | fileVersion[1]);
  out.U32(Cardinal{fileVersion[2]} << 16 | fileVersion[3]);
  out.U32(Cardinal{productVersion[0]} << 16 | productVersion[1]);
  out.U32(Cardinal{productVersion[2]} << 16 | productVersion[3]);
  out.U32(0x3F);
  out.U32(flags);
  out.U32(0x40004);  // NT, Windows32
  out.U32(1);        // application
  out.Zeros(12);
  std::size_t fileInfo = open(u"StringFileInfo", 0, 1);
  static const char16_t kHex[] = u"0123456789ABCDEF";
  for (const VersionStrings& table : tables) {
    if (blockPerTable && &table != &tables.front()) {
      close(fileInfo);
      fileInfo = open(u"StringFileInfo", 0, 1);
    }
    Cardinal value = Cardinal{table.Language} << 16 | table.CodePage;
    String key;
    for (int shift = 28; shift >= 0; shift -= 4) key.push_back(kHex[(value >> shift) & 15]);
    std::size_t tableAt = open(key, 0, 1);
    for (auto& [name, text] : table.Values) {
      std::size_t entry = open(name, static_cast<Word>(text.size() + 1), 1);
      out.Wide(text);
      close(entry);
    }
    close(tableAt);
  }
  close(fileInfo);
  if (withTranslations) {
    std::size_t varInfo = open(u"VarFileInfo", 0, 1);
    std::size_t translation = open(u"Translation", static_cast<Word>(4 * tables.size()), 0);
    for (const VersionStrings& table : tables) {
      out.U16(table.Language);
      out.U16(table.CodePage);
    }
    close(translation);
    close(varInfo);
  }
  close(root);
  return out.Take();
}

}  // namespace imagebuilder
