// The version resource of an executable: fixed version numbers and flags, and
// the string tables per translation. Read from the file's own bytes; written
// back through the platform's resource update (Windows only).
#pragma once

#include <array>
#include <initializer_list>
#include <vector>

#include "pe/imagecursor.h"
#include "rtl/object.h"
#include "rtl/types.h"
#include "rtl/versionflags.h"

struct TVersionNumber {
  Integer Major = 0;
  Integer Minor = 0;
  Integer Release = 0;
  Integer Build = 0;
  bool operator==(const TVersionNumber&) const = default;
};

// As a 32-bit value the language is the low half.
struct TTranslation {
  Word Lang = 0;
  Word CodePage = 0;
  bool operator==(const TTranslation&) const = default;
};

struct TVersionStringValue {
  String Name;
  String Value;
};

struct TStringFileInfo {
  TTranslation Translation;
  std::vector<TVersionStringValue> Values;
};
using TStringVersionInfo = std::vector<TStringFileInfo>;

struct TResItem {
  String Name;
  Cardinal Lang = 0;
  Cardinal CodePage = 0;
  Cardinal RawDataSize = 0;
};
using TResList = std::vector<TResItem>;

class TVersionFileFlags {
 public:
  constexpr TVersionFileFlags() = default;
  constexpr TVersionFileFlags(std::initializer_list<TFileFlag> flags) {
    for (TFileFlag flag : flags) Include(flag);
  }
  constexpr bool Contains(TFileFlag flag) const { return (FBits >> flag) & 1; }
  constexpr void Include(TFileFlag flag) { FBits = static_cast<Byte>(FBits | (1u << flag)); }
  constexpr void Exclude(TFileFlag flag) { FBits = static_cast<Byte>(FBits & ~(1u << flag)); }
  constexpr bool operator==(const TVersionFileFlags&) const = default;

 private:
  Byte FBits = 0;
};

// Indexes of the ten named strings.
enum TVersionStringIndex {
  viCompanyName,
  viFileDescription,
  viFileVersion,
  viInternalName,
  viLegalCopyright,
  viLegalTrademarks,
  viOriginalFilename,
  viProductName,
  viProductVersion,
  viComments
};

class TVersionInformation : public TObject {
 public:
  TVersionInformation() = default;
  // Reads the file itself.
  explicit TVersionInformation(const String& fileName);

  // Reads from an image already in memory and records the file it came from,
  // which RefreshData and SaveData use.
  void ReadFromImage(peimage::ImageBytes image, const String& fileName);
  // Assigning a name that differs (without regard to case) reads that file.
  void SetFileName(const String& fileName);
  const String& FileName() const { return FFilename; }
  // Reads the file again.
  void RefreshData();
  // Writes the version resource back into the file. Returns false, keeping
  // Modified and the file, when there is nothing read, no language to write
  // under, a length that the resource cannot hold, or the platform refuses
  // the update.
  bool SaveData();
  // The version resource as SaveData writes it; empty when a block or value
  // is longer than its 16-bit length field can say.
  TBytes BuildResource() const;

  bool Valid() const { return FValid; }
  bool Modified() const { return FModified; }
  const TResList& Resources() const { return FRL; }
  const TStringVersionInfo& StringTables() const { return FVI; }

  TTranslation ResourceLanguage() const;
  void SetResourceLanguage(TTranslation value);
  TTranslation Translation() const;
  void SetTranslation(TTranslation value);
  TVersionNumber ProductVersionNumber() const { return FPVN; }
  void SetProductVersionNumber(const TVersionNumber& value);
  TVersionNumber FileVersionNumber() const { return FFVN; }
  void SetFileVersionNumber(const TVersionNumber& value);
  TVersionFileFlags FileFlags() const { return FFF; }
  void SetFileFlags(TVersionFileFlags value);
  Cardinal FileOS() const { return FOS; }
  Cardinal FileType() const { return FType; }
  int ItemCount() const { return FVI.empty() ? 0 : static_cast<int>(FVI.front().Values.size()); }

  // The ten named strings of the first table (empty when absent).
  String GetString(TVersionStringIndex index) const;
  void SetString(TVersionStringIndex index, const String& value);
  String CompanyName() const { return GetString(viCompanyName); }
  String FileDescription() const { return GetString(viFileDescription); }
  String FileVersion() const { return GetString(viFileVersion); }
  String InternalName() const { return GetString(viInternalName); }
  String LegalCopyright() const { return GetString(viLegalCopyright); }
  String LegalTrademarks() const { return GetString(viLegalTrademarks); }
  String OriginalFilename() const { return GetString(viOriginalFilename); }
  String ProductName() const { return GetString(viProductName); }
  String ProductVersion() const { return GetString(viProductVersion); }
  String Comments() const { return GetString(viComments); }

  // Replaces the value of the first string of that name (without regard to
  // case) in that table; sets Modified even when the name is not there.
  void SetStringFileInfoValue(int table, const String& name, const String& value);

 private:
  void Clear();
  void ReadFile();
  void Parse(peimage::ImageBytes resource);
  void StoreFixedVersion(int offset, const TVersionNumber& value);

  TBytes FHeader;  // the version resource as read
  String FFilename;
  bool FModified = false;
  TVersionNumber FFVN, FPVN;
  TVersionFileFlags FFF;
  Cardinal FOS = 0;
  Cardinal FType = 0;
  bool FValid = false;
  TStringVersionInfo FVI;
  TResList FRL;
  std::array<Byte, 52> FFixedInfo{};
};

namespace peimage {
// The platform's resource update: writes one VERSION resource (id 1) in the
// given language into the file. False when the platform has no such update
// or refuses it.
bool UpdateVersionResource(const String& fileName, Word language, const TBytes& resource);
// True when that many bytes fit the buffer's memory and fill at least half of
// it: refilling the buffer in place then neither grows it nor keeps much
// memory idle. Touching fresh memory for a large image costs more than the
// copy or the read into it.
inline bool FitsForReuse(const TBytes& buffer, UInt64 size) {
  return size <= buffer.capacity() && size >= buffer.capacity() / 2;
}
// Reads a whole file, into the buffer's own memory when it fits for reuse;
// false when the file cannot be read.
bool ReadWholeFile(const String& fileName, TBytes& bytes);
}  // namespace peimage
