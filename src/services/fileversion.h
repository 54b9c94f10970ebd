// A file's version information: the fixed record and the string tables of its
// version resource, and a few path routines around it.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "classes/typinfo.h"
#include "rtl/object.h"
#include "rtl/stringlist.h"
#include "rtl/versionflags.h"
#include "services/utilbase.h"

KST_DECLARE_EXCEPTION(EUtFileVersionInfoError, EUtError);

inline constexpr char16_t kUtFileNotExists[] = u"The file %s does not exist";
inline constexpr char16_t kUtNoVersionInfo[] = u"File contains no version information";
inline constexpr char16_t kUtNoValueSupplied[] = u"No value was supplied";
inline constexpr char16_t kUtValueNotFound[] = u"The value %s was not found.";
inline constexpr char16_t kUtIllegalLanguageIndex[] = u"Illegal language index";

// The fixed part of a version resource, 52 bytes.
struct TVSFixedFileInfo {
  Cardinal dwSignature = 0;
  Cardinal dwStrucVersion = 0;
  Cardinal dwFileVersionMS = 0;
  Cardinal dwFileVersionLS = 0;
  Cardinal dwProductVersionMS = 0;
  Cardinal dwProductVersionLS = 0;
  Cardinal dwFileFlagsMask = 0;
  Cardinal dwFileFlags = 0;
  Cardinal dwFileOS = 0;
  Cardinal dwFileType = 0;
  Cardinal dwFileSubtype = 0;
  Cardinal dwFileDateMS = 0;
  Cardinal dwFileDateLS = 0;
};
inline constexpr Cardinal kVSFixedFileInfoSize = 52;
inline constexpr Cardinal kVSFixedFileInfoSignature = 0xFEEF04BD;

// A set of TFileFlag, bit n for flag n.
using TFileFlags = unsigned;
constexpr bool HasFileFlag(TFileFlags flags, TFileFlag flag) {
  return (flags & (1u << flag)) != 0;
}

// A language and its code page, the language in the low half when packed.
struct TLangIdRec {
  Word LangId = 0;
  Word CodePage = 0;
  friend bool operator==(const TLangIdRec&, const TLangIdRec&) = default;
};

// Where version blocks come from: the platform reads a file's resource; tests
// hand in bytes.
class IVersionInfoSource {
 public:
  virtual ~IVersionInfoSource() = default;
  virtual bool FileExists(const String& fileName) const = 0;
  // The file's version block; false when the file has none.
  virtual bool ReadVersionBlock(const String& fileName, TBytes& block) const = 0;
};
// The platform's version resources (none outside Windows).
const IVersionInfoSource& PlatformVersionInfoSource();

// The twelve standard string keys, numbered from 1.
enum TVersionKey {
  vkComments = 1,
  vkCompanyName,
  vkFileDescription,
  vkFileVersion,
  vkInternalName,
  vkLegalCopyright,
  vkLegalTradeMarks,
  vkOriginalFilename,
  vkProductName,
  vkProductVersion,
  vkSpecialBuild,
  vkPrivateBuild
};
const char16_t* VersionKeyName(TVersionKey key);

class TUtFileVersionInfo : public TObject {
 public:
  // Raises EUtFileVersionInfoError "The file %s does not exist" or "File
  // contains no version information".
  explicit TUtFileVersionInfo(const String& fileName, const IVersionInfoSource& source = PlatformVersionInfoSource());
  // Parses a version block held in memory (a copy is kept).
  static std::unique_ptr<TUtFileVersionInfo> Attach(const Byte* data, size_t size);

  // The standard values of the current language, without regard to the key's
  // case; empty when absent.
  String GetVersionValue(TVersionKey key) const;
  String Comments() const { return GetVersionValue(vkComments); }
  String CompanyName() const { return GetVersionValue(vkCompanyName); }
  String FileDescription() const { return GetVersionValue(vkFileDescription); }
  String FileVersion() const { return GetVersionValue(vkFileVersion); }
  String InternalName() const { return GetVersionValue(vkInternalName); }
  String LegalCopyright() const { return GetVersionValue(vkLegalCopyright); }
  String LegalTradeMarks() const { return GetVersionValue(vkLegalTradeMarks); }
  String OriginalFilename() const { return GetVersionValue(vkOriginalFilename); }
  String ProductName() const { return GetVersionValue(vkProductName); }
  String ProductVersion() const { return GetVersionValue(vkProductVersion); }
  String SpecialBuild() const { return GetVersionValue(vkSpecialBuild); }
  String PrivateBuild() const { return GetVersionValue(vkPrivateBuild); }
  // Raises "No value was supplied" for an empty name, "The value %s was not
  // found." for one the current language lacks.
  String GetCustomFieldValue(const String& fieldName) const;
  // "Key=Value" lines of the current language.
  const TStrings& Items() const { return FItems; }

  // "%u.%u.%u.%u" of the fixed record's versions.
  String BinFileVersion() const;
  String BinProductVersion() const;
  const TVSFixedFileInfo& FixedInfo() const { return FFixedInfo; }
  Cardinal FileOS() const { return FFixedInfo.dwFileOS; }
  Cardinal FileType() const { return FFixedInfo.dwFileType; }
  Cardinal FileSubType() const { return FFixedInfo.dwFileSubtype; }
  TFileFlags FileFlags() const { return FFileFlags; }

  // Parts of the "FileVersion" ("ProductVersion") text, commas read as dots:
  // before the first dot, between the first and second, between the second
  // and third, after the last; each trimmed.
  String FileVersionMajor() const;
  String FileVersionMinor() const;
  String FileVersionRelease() const;
  String FileVersionBuild() const;
  String ProductVersionMajor() const;
  String ProductVersionMinor() const;
  String ProductVersionRelease() const;
  String ProductVersionBuild() const;

  Integer LanguageCount() const { return static_cast<Integer>(FLanguages.size()); }
  const TLangIdRec& Languages(Integer index) const { return FLanguages.at(static_cast<size_t>(index)); }
  Integer TranslationCount() const { return static_cast<Integer>(FTranslations.size()); }
  const TLangIdRec& Translations(Integer index) const { return FTranslations.at(static_cast<size_t>(index)); }
  Integer LanguageIndex() const { return FLanguageIndex; }
  // Outside 0 .. LanguageCount - 1 raises "Illegal language index".
  void SetLanguageIndex(Integer index);
  bool TranslationMatchesLanguages(bool exact = true) const;

 private:
  struct TItem {
    String Key;
    String Value;
    Integer Language;
  };
  class TParser;
  friend bool ReadFixedVersionRecord(const String& fileName, TVSFixedFileInfo& fixedInfo,
                                     const IVersionInfoSource& source);

  TUtFileVersionInfo() = default;
  void Parse(TBytes block);
  void FillItems();
  String VersionPart(TVersionKey key, int part) const;

  TBytes FBuffer;
  TVSFixedFileInfo FFixedInfo;
  TFileFlags FFileFlags = 0;
  std::vector<TItem> FItemList;
  TStringList FItems;
  std::vector<TLangIdRec> FLanguages;
  Integer FLanguageIndex = 0;
  std::vector<TLangIdRec> FTranslations;
};

// "%.4x%.4x" of the language and the code page.
String VersionLanguageId(const TLangIdRec& langIdRec);
bool FileHasVersionInfo(const String& fileName, const IVersionInfoSource& source = PlatformVersionInfoSource());
// The fixed record, when the file has a version block whose root value is
// exactly 52 bytes.
bool ReadFixedVersionRecord(const String& fileName, TVSFixedFileInfo& fixedInfo,
                            const IVersionInfoSource& source = PlatformVersionInfoSource());

// "{%.8x-%.4x-%.4x-%.2x%.2x-%.2x%.2x%.2x%.2x%.2x%.2x}" of a GUID in its
// memory layout (the first three fields little-endian).
String GuidText(const TGUID& guid);
