#include "rtl/inifiles.h"

#include <algorithm>
#include <utility>

#include "rtl/encoding.h"
#include "rtl/files.h"
#include "rtl/floattext.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"
#include "rtl/sysstr.h"

namespace {

// Names compare by the simple case mapping, the same in every build.
bool SameName(StringView a, StringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && CharToUpper(a[i]) != CharToUpper(b[i])) return false;
  return true;
}

// A written name or value must stay on its line.
String OneLine(StringView text) {
  String line(text);
  for (Char& c : line)
    if (c == u'\r' || c == u'\n') c = u' ';
  return line;
}

// The system's profile routines read a value in matching quotes without them.
String Unquoted(const String& value) {
  if (value.size() >= 2 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

bool IsBlankLine(StringView line) {
  return Trim(line).empty();
}

void FillStrings(TStrings& strings, const std::vector<String>& lines) {
  strings.BeginUpdate();
  try {
    strings.Clear();
    for (const String& line : lines) strings.Add(line);
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

// The text of a file and how it was stored.
struct FileText {
  String FText;
  TEncoding* FEncoding = nullptr;
  bool FHadPreamble = false;
};

FileText ReadFileText(const String& fileName, TEncoding* encoding, TEncoding* defaultEncoding) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  TBytes bytes = file.ReadAllBytes();
  Integer preamble = TEncoding::GetBufferEncoding(bytes, encoding, defaultEncoding);
  FileText result;
  result.FEncoding = encoding;
  result.FHadPreamble = preamble > 0;
  result.FText = encoding->GetString(bytes.data() + preamble, bytes.size() - static_cast<size_t>(preamble));
  return result;
}

void WriteFileText(const String& fileName, const String& text, TEncoding* encoding, bool withPreamble) {
  SaveFileAtomically(fileName, [&](TStream& stream) {
    if (withPreamble) {
      TBytes preamble = encoding->GetPreamble();
      stream.WriteBuffer(preamble.data(), static_cast<Int64>(preamble.size()));
    }
    TBytes bytes = encoding->GetBytes(text);
    stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
  });
}

}  // namespace

// ---- The document ----

namespace ini_detail {

void IniDocument::Clear() {
  FPrologue.clear();
  FSections.clear();
}

void IniDocument::Parse(const String& text) {
  TStringList lines;
  lines.SetText(text);
  Parse(lines.ToStringArray());
}

void IniDocument::Parse(const std::vector<String>& lines) {
  Clear();
  for (const String& line : lines) {
    String trimmed = Trim(line);
    if (!trimmed.empty() && trimmed[0] == u'[') {
      // "[name]", or "[name] text" where the text after the bracket is ignored.
      size_t close = trimmed.back() == u']' ? trimmed.size() - 1 : trimmed.find(u']');
      if (close != String::npos) {
        FSections.push_back(Section{line, Trim(StringView(trimmed).substr(1, close - 1)), {}});
        continue;
      }
    }
    if (FSections.empty()) {
      FPrologue.push_back(line);
      continue;
    }
    Entry entry{line, String(), String()};
    size_t equals = trimmed.find(u'=');
    if (!trimmed.empty() && trimmed[0] != u';' && equals != String::npos) {
      entry.FKey = Trim(StringView(trimmed).substr(0, equals));
      if (!entry.FKey.empty()) entry.FValue = Trim(StringView(trimmed).substr(equals + 1));
    }
    FSections.back().FEntries.push_back(std::move(entry));
  }
}

String IniDocument::Text() const {
  size_t size = 0;
  for (const String& line : FPrologue) size += line.size() + 2;
  for (const Section& section : FSections) {
    size += section.FHeader.size() + 2;
    for (const Entry& entry : section.FEntries) size += entry.FText.size() + 2;
  }
  String text;
  text.reserve(size);
  auto addLine = [&text](const String& line) {
    text += line;
    text += u"\r\n";
  };
  for (const String& line : FPrologue) addLine(line);
  for (const Section& section : FSections) {
    addLine(section.FHeader);
    for (const Entry& entry : section.FEntries) addLine(entry.FText);
  }
  return text;
}

IniDocument::Section* IniDocument::FindSection(StringView name) {
  for (Section& section : FSections)
    if (SameName(section.FName, name)) return &section;
  return nullptr;
}

const IniDocument::Section* IniDocument::FindSection(StringView name) const {
  return const_cast<IniDocument*>(this)->FindSection(name);
}

const String* IniDocument::Find(StringView section, StringView key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return nullptr;
  for (const Entry& entry : found->FEntries)
    if (!entry.FKey.empty() && SameName(entry.FKey, key)) return &entry.FValue;
  return nullptr;
}

void IniDocument::Write(StringView section, StringView key, StringView value) {
  String sectionName = Trim(OneLine(section));
  String keyName = Trim(OneLine(key));
  String valueText = Trim(OneLine(value));
  Section* found = FindSection(sectionName);
  if (found == nullptr) {
    // A new section goes to the end, after a blank line.
    const String* last = nullptr;
    if (!FSections.empty()) {
      const Section& lastSection = FSections.back();
      last = lastSection.FEntries.empty() ? &lastSection.FHeader : &lastSection.FEntries.back().FText;
    } else if (!FPrologue.empty()) {
      last = &FPrologue.back();
    }
    if (last != nullptr && !IsBlankLine(*last)) {
      if (FSections.empty()) {
        FPrologue.emplace_back();
      } else {
        FSections.back().FEntries.push_back(Entry{});
      }
    }
    FSections.push_back(Section{u"[" + sectionName + u"]", sectionName, {}});
    found = &FSections.back();
  }
  size_t insertAt = 0;
  for (size_t i = 0; i < found->FEntries.size(); ++i) {
    Entry& entry = found->FEntries[i];
    if (entry.FKey.empty()) continue;
    if (SameName(entry.FKey, keyName)) {
      entry.FValue = valueText;
      entry.FText = entry.FKey + u"=" + valueText;
      return;
    }
    insertAt = i + 1;
  }
  // A new key follows the section's last key, before any blank lines or comments after it.
  found->FEntries.insert(found->FEntries.begin() + static_cast<std::ptrdiff_t>(insertAt),
                         Entry{keyName + u"=" + valueText, keyName, valueText});
}

bool IniDocument::DeleteKey(StringView section, StringView key) {
  Section* found = FindSection(section);
  if (found == nullptr) return false;
  auto& entries = found->FEntries;
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const Entry& entry) { return !entry.FKey.empty() && SameName(entry.FKey, key); });
  if (it == entries.end()) return false;
  entries.erase(it);
  return true;
}

bool IniDocument::EraseSection(StringView section) {
  size_t before = FSections.size();
  std::erase_if(FSections, [&](const Section& s) { return SameName(s.FName, section); });
  return FSections.size() != before;
}

std::vector<String> IniDocument::SectionNames() const {
  std::vector<String> names;
  for (const Section& section : FSections) {
    bool seen = std::any_of(names.begin(), names.end(), [&](const String& n) { return SameName(n, section.FName); });
    if (!seen) names.push_back(section.FName);
  }
  return names;
}

std::vector<String> IniDocument::Keys(StringView section) const {
  std::vector<String> keys;
  if (const Section* found = FindSection(section))
    for (const Entry& entry : found->FEntries)
      if (!entry.FKey.empty()) keys.push_back(entry.FKey);
  return keys;
}

std::vector<String> IniDocument::Pairs(StringView section) const {
  std::vector<String> pairs;
  if (const Section* found = FindSection(section))
    for (const Entry& entry : found->FEntries)
      if (!entry.FKey.empty()) pairs.push_back(entry.FKey + u"=" + entry.FValue);
  return pairs;
}

}  // namespace ini_detail

// ---- TCustomIniFile ----

Integer TCustomIniFile::ReadInteger(const String& section, const String& ident, Integer defaultValue) {
  String text = ReadString(section, ident, String());
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    // "0x1F" becomes "$1F" in place.
    text.erase(0, 1);
    text[0] = u'$';
  }
  return StrToIntDef(text, defaultValue);
}

void TCustomIniFile::WriteInteger(const String& section, const String& ident, Integer value) {
  WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const String& section, const String& ident, bool defaultValue) {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& section, const String& ident, bool value) {
  WriteString(section, ident, value ? u"1" : u"0");
}

double TCustomIniFile::ReadFloat(const String& section, const String& ident, double defaultValue,
                                 const TFormatSettings& settings) {
  String text = ReadString(section, ident, String());
  double value = defaultValue;
  if (text.empty() || !TryStrToFloat(text, value, settings)) return defaultValue;
  return value;
}

void TCustomIniFile::WriteFloat(const String& section, const String& ident, double value,
                                const TFormatSettings& settings) {
  WriteString(section, ident, FloatToStr(value, settings));
}

bool TCustomIniFile::SectionExists(const String& section) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& section, const String& ident) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.IndexOf(ident) >= 0;
}

// ---- TMemIniFile ----

TMemIniFile::TMemIniFile(const String& fileName, TEncoding* encoding) : TCustomIniFile(fileName), FEncoding(encoding) {
  Load();
}

TMemIniFile::~TMemIniFile() {
  if (FAutoSave && FModified) {
    try {
      UpdateFile();
    } catch (...) {
      // A destructor cannot report; the caller who wants to know calls UpdateFile.
    }
  }
}

void TMemIniFile::Load() {
  FDocument.Clear();
  FWritePreamble = true;
  if (FileName().empty() || !FileExists(FileName())) return;
  FileText file = ReadFileText(FileName(), FEncoding, TEncoding::ANSI());
  FEncoding = file.FEncoding;
  FWritePreamble = file.FHadPreamble;
  FDocument.Parse(file.FText);
}

String TMemIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
  const String* value = FDocument.Find(section, ident);
  return value ? *value : defaultValue;
}

void TMemIniFile::WriteString(const String& section, const String& ident, const String& value) {
  FDocument.Write(section, ident, value);
  FModified = true;
}

void TMemIniFile::ReadSection(const String& section, TStrings& strings) {
  FillStrings(strings, FDocument.Keys(section));
}

void TMemIniFile::ReadSections(TStrings& strings) {
  FillStrings(strings, FDocument.SectionNames());
}

void TMemIniFile::ReadSectionValues(const String& section, TStrings& strings) {
  FillStrings(strings, FDocument.Pairs(section));
}

void TMemIniFile::EraseSection(const String& section) {
  if (FDocument.EraseSection(section)) FModified = true;
}

void TMemIniFile::DeleteKey(const String& section, const String& ident) {
  if (FDocument.DeleteKey(section, ident)) FModified = true;
}

void TMemIniFile::UpdateFile() {
  if (FileName().empty()) return;
  TEncoding* encoding = FEncoding ? FEncoding : TEncoding::ANSI();
  WriteFileText(FileName(), FDocument.Text(), encoding, FWritePreamble);
  FModified = false;
}

void TMemIniFile::Clear() {
  FDocument.Clear();
  FModified = true;
}

void TMemIniFile::GetStrings(TStrings& strings) const {
  strings.SetText(FDocument.Text());
}

void TMemIniFile::SetStrings(const TStrings& strings) {
  FDocument.Parse(strings.ToStringArray());
  FModified = true;
}

void TMemIniFile::Rename(const String& fileName, bool reload) {
  SetFileName(fileName);
  if (reload) {
    Load();
    FModified = false;
  }
}

// ---- TIniFile ----

struct TIniFile::Loaded {
  ini_detail::IniDocument FDocument;
  TEncoding* FEncoding = nullptr;
  bool FWritePreamble = false;
};

TIniFile::Loaded TIniFile::Load() const {
  Loaded loaded;
  loaded.FEncoding = TEncoding::ANSI();
  if (FileName().empty() || !FileExists(FileName())) return loaded;
  try {
    FileText file = ReadFileText(FileName(), nullptr, TEncoding::ANSI());
    loaded.FEncoding = file.FEncoding;
    loaded.FWritePreamble = file.FHadPreamble;
    loaded.FDocument.Parse(file.FText);
  } catch (const EFOpenError&) {
    // A file that cannot be read reads as empty, as the system's profile routines do.
  }
  return loaded;
}

void TIniFile::Save(const Loaded& loaded) {
  try {
    WriteFileText(FileName(), loaded.FDocument.Text(), loaded.FEncoding, loaded.FWritePreamble);
  } catch (const EStreamError&) {
    throw EIniFileException(Format(u"Unable to write to %s", {FileName()}));
  } catch (const EOSError&) {
    throw EIniFileException(Format(u"Unable to write to %s", {FileName()}));
  }
}

String TIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
  Loaded loaded = Load();
  const String* found = loaded.FDocument.Find(section, ident);
  return found ? Unquoted(*found) : defaultValue;
}

void TIniFile::WriteString(const String& section, const String& ident, const String& value) {
  Loaded loaded = Load();
  loaded.FDocument.Write(section, ident, value);
  Save(loaded);
}

void TIniFile::ReadSection(const String& section, TStrings& strings) {
  FillStrings(strings, Load().FDocument.Keys(section));
}

void TIniFile::ReadSections(TStrings& strings) {
  FillStrings(strings, Load().FDocument.SectionNames());
}

void TIniFile::ReadSectionValues(const String& section, TStrings& strings) {
  // Each key with the value ReadString gives it, as the platform builds it.
  Loaded loaded = Load();
  std::vector<String> lines;
  for (const String& key : loaded.FDocument.Keys(section)) {
    const String* value = loaded.FDocument.Find(section, key);
    lines.push_back(key + u"=" + (value ? Unquoted(*value) : String()));
  }
  FillStrings(strings, lines);
}

void TIniFile::EraseSection(const String& section) {
  Loaded loaded = Load();
  if (loaded.FDocument.EraseSection(section)) Save(loaded);
}

void TIniFile::DeleteKey(const String& section, const String& ident) {
  Loaded loaded = Load();
  if (loaded.FDocument.DeleteKey(section, ident)) Save(loaded);
}
