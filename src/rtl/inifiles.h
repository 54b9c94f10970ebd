// INI files: sections of name=value lines.
//
// Section and key names compare without regard to case; the first section and
// the first key of a name are the ones read and written. Keys and values are
// trimmed of blanks. Lines the reader does not understand (comments, blank
// lines, garbage, lines before the first section, duplicate keys) are kept as
// they are when the file is written back. Line breaks in written keys and
// values become spaces, so a value can never add lines of its own.
#pragma once

#include <memory>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/formatsettings.h"
#include "rtl/object.h"
#include "rtl/types.h"

class TEncoding;
class TStrings;

namespace ini_detail {

// The parsed file: every line kept, the sections and keys found in them.
class IniDocument {
 public:
  void Parse(const String& text);
  void Parse(const std::vector<String>& lines);
  String Text() const;
  void Clear();

  // nullptr when the section or key is missing.
  const String* Find(StringView section, StringView key) const;
  void Write(StringView section, StringView key, StringView value);
  bool DeleteKey(StringView section, StringView key);
  bool EraseSection(StringView section);
  std::vector<String> SectionNames() const;
  std::vector<String> Keys(StringView section) const;
  // "key=value" for every key of the section, duplicates included.
  std::vector<String> Pairs(StringView section) const;

 private:
  struct Entry {
    String FText;  // the line as in the file
    String FKey;   // empty for lines that hold no key
    String FValue;
  };
  struct Section {
    String FHeader;
    String FName;
    std::vector<Entry> FEntries;
  };
  Section* FindSection(StringView name);
  const Section* FindSection(StringView name) const;

  std::vector<String> FPrologue;  // lines before the first section
  std::vector<Section> FSections;
};

}  // namespace ini_detail

class TCustomIniFile : public TObject {
 public:
  explicit TCustomIniFile(const String& fileName) : FFileName(fileName) {}
  const String& FileName() const { return FFileName; }

  virtual String ReadString(const String& section, const String& ident, const String& defaultValue) = 0;
  virtual void WriteString(const String& section, const String& ident, const String& value) = 0;
  // Decimal, "$" hexadecimal or "0x" hexadecimal; anything else gives the default.
  virtual Integer ReadInteger(const String& section, const String& ident, Integer defaultValue);
  virtual void WriteInteger(const String& section, const String& ident, Integer value);
  // An integer other than 0 is true; a value that is no integer gives the default.
  virtual bool ReadBool(const String& section, const String& ident, bool defaultValue);
  // Writes "1" or "0".
  virtual void WriteBool(const String& section, const String& ident, bool value);
  // Numbers in the given settings (the process default unless given); a value
  // that is no number gives the default.
  virtual double ReadFloat(const String& section, const String& ident, double defaultValue,
                           const TFormatSettings& settings = FormatSettings());
  virtual void WriteFloat(const String& section, const String& ident, double value,
                          const TFormatSettings& settings = FormatSettings());

  // Each fills `strings` afresh: the key names of the section; the names of
  // all sections; "key=value" for each key of the section.
  virtual void ReadSection(const String& section, TStrings& strings) = 0;
  virtual void ReadSections(TStrings& strings) = 0;
  virtual void ReadSectionValues(const String& section, TStrings& strings) = 0;
  // As on the platform: a section exists when it holds at least one key.
  virtual bool SectionExists(const String& section);
  virtual bool ValueExists(const String& section, const String& ident);
  virtual void EraseSection(const String& section) = 0;
  virtual void DeleteKey(const String& section, const String& ident) = 0;
  // Writes pending changes to the file.
  virtual void UpdateFile() = 0;

 protected:
  void SetFileName(const String& fileName) { FFileName = fileName; }

 private:
  String FFileName;
};

// The whole file in memory; UpdateFile writes it (through a temporary file, so
// a failed write leaves the old file as it was and raises EFCreateError).
class TMemIniFile : public TCustomIniFile {
 public:
  // Reads the file when it exists (bytes in `encoding`, or as its byte order
  // mark says, else the current ANSI code page). An empty name makes an INI
  // file in memory only.
  explicit TMemIniFile(const String& fileName, TEncoding* encoding = nullptr);
  ~TMemIniFile() override;

  String ReadString(const String& section, const String& ident, const String& defaultValue) override;
  void WriteString(const String& section, const String& ident, const String& value) override;
  void ReadSection(const String& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const String& section, TStrings& strings) override;
  void EraseSection(const String& section) override;
  void DeleteKey(const String& section, const String& ident) override;
  void UpdateFile() override;

  void Clear();
  // The file's lines as they would be written, and their replacement.
  void GetStrings(TStrings& strings) const;
  void SetStrings(const TStrings& strings);
  // Another file name; with `reload` its content replaces the present one.
  void Rename(const String& fileName, bool reload);
  TEncoding* Encoding() const { return FEncoding; }
  void SetEncoding(TEncoding* encoding) { FEncoding = encoding; }
  // When true, the destructor writes unsaved changes (errors are swallowed there).
  bool AutoSave() const { return FAutoSave; }
  void SetAutoSave(bool autoSave) { FAutoSave = autoSave; }
  bool Modified() const { return FModified; }

 private:
  void Load();
  ini_detail::IniDocument FDocument;
  TEncoding* FEncoding;
  bool FWritePreamble = true;
  bool FAutoSave = false;
  bool FModified = false;
};

// Reads and writes through to the file at every call, as the system's profile
// routines do: reads see the file as it is now, and every write updates the
// file at once. A value enclosed in matching quotes is read without them. A
// write that fails raises EIniFileException "Unable to write to %s" and leaves
// the file as it was.
class TIniFile : public TCustomIniFile {
 public:
  explicit TIniFile(const String& fileName) : TCustomIniFile(fileName) {}

  String ReadString(const String& section, const String& ident, const String& defaultValue) override;
  void WriteString(const String& section, const String& ident, const String& value) override;
  void ReadSection(const String& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const String& section, TStrings& strings) override;
  void EraseSection(const String& section) override;
  void DeleteKey(const String& section, const String& ident) override;
  // Every write is already in the file.
  void UpdateFile() override {}

 private:
  struct Loaded;
  Loaded Load() const;
  void Save(const Loaded& loaded);
};
