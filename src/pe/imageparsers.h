// The parsers behind TPEReader, one per directory or listing. Each appends to
// its output as it goes, so a fault (EImageFault) part-way leaves what was found
// before it; the reader runs each inside its own guard.
#pragma once

#include <vector>

#include "pe/imagelayout.h"
#include "pe/pereader.h"

namespace peimage {

// Limits for hostile images.
constexpr int kMaxResourceDepth = 16;
constexpr std::size_t kMaxResourceEntries = 1 << 20;
constexpr std::size_t kMaxNameLength = 4096;
constexpr std::size_t kMinStringRun = 5;
constexpr std::size_t kMaxStringRun = 1024;

void ReadResources(const ImageLayout& layout, TResourceData& resources);
void ReadForms(const TResourceData& resources, std::vector<String>& forms);
bool HasPackageInfo(const TResourceData& resources);
// The data of the first resource of that type and name, if it lies in the file.
const TResourceItem* FindResource(const TResourceData& resources, Integer type, StringView name);
// PACKAGEINFO: flags, required packages, contained units. A fault clears the
// list being read; what came before stays.
void ReadPackageInfo(ImageBytes data, Integer& flags, std::vector<String>& required, std::vector<String>& units);
// DESCRIPTION: a zero-terminated UTF-16 text.
String ReadDescription(ImageBytes data);

void ReadExports(const ImageLayout& layout, TExportData& exports);
void ReadImports(const ImageLayout& layout, TImportData& imports, String& linker);
void ReadDelayImports(const ImageLayout& layout, TImportData& imports);

void ReadDebugDirectory(const ImageLayout& layout, TDebugData& entries);
void ReadExceptionDirectory(const ImageLayout& layout, TExceptionData& entries);
void ReadLoadConfig(const ImageLayout& layout, std::vector<String>& lines);
void ReadTls(const ImageLayout& layout, std::vector<String>& lines);
void ReadClrHeader(const ImageLayout& layout, std::vector<String>& header, std::vector<String>& metadataHeader,
                   TMetadataStreams& streams, TMetadataTables& tables);

void ReadDosHeader(const ImageLayout& layout, std::vector<String>& lines);
void ReadFileHeader(const ImageLayout& layout, std::vector<String>& lines);
void ReadOptionalHeader(const ImageLayout& layout, std::vector<String>& lines);

// Replace the list's content with the printable runs of the bytes, reusing
// the strings already in it.
void ScanStrings(ImageBytes bytes, std::vector<String>& strings);
void ScanWideStrings(ImageBytes bytes, std::vector<String>& strings);

void ScanClasses(const ImageLayout& layout, std::vector<TClassItem>& classes);

// A time stamp of the image (seconds since 1970) as days since 1899-12-30.
double UnixTimeToDateTime(Cardinal seconds);

}  // namespace peimage
