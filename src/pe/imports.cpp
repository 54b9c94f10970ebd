// Export, import and delay-import directories, and the linker guess the import
// descriptors give.
#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "pe/imageparsers.h"
#include "rtl/codepage.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"

namespace peimage {

namespace {

constexpr Cardinal kOrdinalFlag32 = 0x80000000u;
constexpr UInt64 kOrdinalFlag64 = 0x8000000000000000ull;

// Adds functions to the import list so that every module is listed once
// (without regard to case) and every function name once per module.
class ImportList {
 public:
  ImportList(const ImageLayout& layout, TImportData& imports) : FLayout(layout), FImports(imports) {
    for (std::size_t i = 0; i < FImports.size(); ++i) {
      FModules.emplace(UpperCase(FImports[i].Name), i);
      for (const TExportItem& function : FImports[i].Functions) FNames[i].insert(function.Name);
    }
    // However many descriptors point at the same thunks, the work stays in
    // proportion to the file.
    FThunkBudget = layout.Bytes().size() / 4 + 4096;
  }

  std::size_t Module(const String& name) {
    auto [it, added] = FModules.emplace(UpperCase(name), FImports.size());
    if (added) FImports.push_back(TImportItem{name, {}});
    return it->second;
  }

  // Walks the thunks at a file offset until a zero thunk.
  void AddThunks(std::size_t module, UInt64 offset, bool wide, bool absoluteNames) {
    ByteCursor cursor = FLayout.CursorAt(offset);
    for (;;) {
      if (FThunkBudget-- == 0) RaiseFault();
      UInt64 thunk = wide ? cursor.U64() : cursor.U32();
      if (thunk == 0) break;
      TExportItem function;
      if (wide ? (thunk & kOrdinalFlag64) != 0 : (thunk & kOrdinalFlag32) != 0) {
        auto value = static_cast<Cardinal>(thunk & 0x7FFFFFFFu);
        function.Name = IntToHex(value, 8);
        function.Ordinal = static_cast<Word>(thunk & 0xFFFF);
        function.Address = value;
      } else {
        UInt64 record = absoluteNames ? FLayout.VaToOffset(thunk) : FLayout.RvaToOffset(thunk);
        ByteCursor name = FLayout.CursorAt(record);
        function.Ordinal = name.U16();
        function.Name = AnsiToString(name.ZString(kMaxNameLength));
        function.Address = static_cast<Cardinal>(record);
      }
      if (function.Name.empty() || !FNames[module].insert(function.Name).second) continue;
      FImports[module].Functions.push_back(std::move(function));
    }
  }

 private:
  const ImageLayout& FLayout;
  TImportData& FImports;
  std::unordered_map<String, std::size_t> FModules;
  std::unordered_map<std::size_t, std::unordered_set<String>> FNames;
  UInt64 FThunkBudget;
};

String ModuleName(const ImageLayout& layout, UInt64 offset) {
  return AnsiToString(layout.CursorAt(offset).ZString(kMaxNameLength));
}

}  // namespace

void ReadExports(const ImageLayout& layout, TExportData& exports) {
  DataDirectory directory = layout.Directory(kExportDirectory);
  if (directory.Size == 0) return;
  ByteCursor cursor = layout.CursorAt(layout.RvaToOffset(directory.VirtualAddress) + 16);
  Cardinal base = cursor.U32();
  Cardinal functionCount = cursor.U32();
  Cardinal nameCount = cursor.U32();
  UInt64 functionTable = layout.RvaToOffset(cursor.U32());
  UInt64 nameTable = layout.RvaToOffset(cursor.U32());
  UInt64 ordinalTable = layout.RvaToOffset(cursor.U32());

  // Only the part of the function table that lies in the file sizes anything.
  ByteCursor functions = layout.CursorAt(functionTable);
  functionCount = static_cast<Cardinal>(std::min<UInt64>(functionCount, functions.Remaining() / 4));
  std::vector<std::optional<String>> names(functionCount);
  // Names whose table entries fall outside the file are left unread.
  UInt64 readableNames = nameCount;
  ByteCursor probe = layout.CursorAt(nameTable);
  readableNames = std::min(readableNames, probe.Remaining() / 4);
  probe.Seek(ordinalTable);
  readableNames = std::min(readableNames, probe.Remaining() / 2);
  for (UInt64 j = 0; j < readableNames; ++j) {
    Word position = cursor.U16At(ordinalTable + 2 * j);
    if (position >= functionCount || names[position]) continue;
    try {
      UInt64 nameOffset = layout.RvaToOffset(cursor.U32At(nameTable + 4 * j));
      names[position] = AnsiToString(layout.CursorAt(nameOffset).ZString(kMaxNameLength));
    } catch (const EImageFault&) {
      // An unreadable name: the function is listed under its position.
    }
  }
  for (Cardinal i = 0; i < functionCount; ++i) {
    Cardinal address = functions.U32();
    if (address == 0) continue;
    TExportItem item;
    item.Name = names[i] ? *names[i] : IntToStr(Int64{i} + 1);
    item.Ordinal = static_cast<Word>(base + i);
    item.Address = address;
    exports.push_back(std::move(item));
  }
}

void ReadImports(const ImageLayout& layout, TImportData& imports, String& linker) {
  DataDirectory directory = layout.Directory(kImportDirectory);
  if (directory.Size == 0 || directory.VirtualAddress == 0) return;
  ImportList list(layout, imports);
  ByteCursor cursor = layout.CursorAt(layout.RvaToOffset(directory.VirtualAddress));
  for (;;) {
    Cardinal originalFirstThunk = cursor.U32();
    cursor.Skip(8);  // time stamp, forwarder chain
    Cardinal name = cursor.U32();
    Cardinal firstThunk = cursor.U32();
    if (name == 0) break;
    std::size_t module = list.Module(ModuleName(layout, layout.RvaToOffset(name)));
    Cardinal thunks = originalFirstThunk != 0 ? originalFirstThunk : firstThunk;
    linker = originalFirstThunk != 0 ? u"Microsoft" : u"Borland";
    list.AddThunks(module, layout.RvaToOffset(thunks), layout.Is64(), layout.Is64());
  }
}

void ReadDelayImports(const ImageLayout& layout, TImportData& imports) {
  DataDirectory directory = layout.Directory(kDelayImportDirectory);
  if (directory.Size == 0 || directory.VirtualAddress == 0) return;
  ImportList list(layout, imports);
  ByteCursor cursor = layout.CursorAt(layout.RvaToOffset(directory.VirtualAddress));
  for (;;) {
    cursor.U32();  // attributes
    Cardinal name = cursor.U32();
    cursor.Skip(8);  // module handle, address table
    Cardinal nameTable = cursor.U32();
    cursor.Skip(12);  // bound and unload tables, time stamp
    if (name == 0) break;
    std::size_t module = list.Module(ModuleName(layout, layout.VaToOffset(name)));
    list.AddThunks(module, layout.VaToOffset(nameTable), layout.Is64(), true);
  }
}

}  // namespace peimage
