#include "services/translatestring.h"

#include "classes/propaccess.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"

KST_CLASS_IMPL(TSvComponent, "SvBaseUtils")
KST_CLASS_IMPL(TSvTranslateString, "SvTranslateString")

void TSvComponent::Describe(TClassBuilder<TSvComponent>&) {}

const TTypeInfo& DescribeType(TypeTag<TSvProcessCommandEvent>) {
  static const TMethodTypeInfo type(u"TProcessCommandEvent", u"SvTranslateString", mkProcedure,
                                    {{0, u"Sender", u"TObject"},
                                     {ParamFlagBit(pfConst), u"Command", u"string"},
                                     {ParamFlagBit(pfVar), u"CommandResult", u"string"},
                                     {ParamFlagBit(pfVar), u"Changed", u"Boolean"}});
  return type;
}

void TSvTranslateString::Describe(TClassBuilder<TSvTranslateString>& c) {
  c.Property(u"DateFormat", &TSvTranslateString::DateFormat, &TSvTranslateString::SetDateFormat);
  c.Property(u"DateSeparator", &TSvTranslateString::DateSeparator, &TSvTranslateString::SetDateSeparator);
  c.Property(u"DateTimeFormat", &TSvTranslateString::DateTimeFormat, &TSvTranslateString::SetDateTimeFormat);
  c.Property(u"LeftDelimiter", &TSvTranslateString::LeftDelimiter, &TSvTranslateString::SetLeftDelimiter);
  c.Property(u"RightDelimiter", &TSvTranslateString::RightDelimiter, &TSvTranslateString::SetRightDelimiter);
  c.Property(u"TimeFormat", &TSvTranslateString::TimeFormat, &TSvTranslateString::SetTimeFormat);
  c.Property(u"TimeSeparator", &TSvTranslateString::TimeSeparator, &TSvTranslateString::SetTimeSeparator);
  c.Property(u"OnProcessCommand", &TSvTranslateString::OnProcessCommand);
}

namespace {

// The separator a format shows: its first character that is neither a digit
// nor a letter (letters are the format's own elements).
Char SeparatorOf(StringView format) {
  for (const Char c : format) {
    if (!IsDigitChar(c) && !IsLetterChar(c)) return c;
  }
  return kSvNoSeparator;
}

bool IsFormClass(const TClassInfo* cls) {
  for (; cls != nullptr; cls = cls->ClassParent()) {
    if (cls->ClassName() == u"TCustomForm") return true;
  }
  return false;
}

String ProgramFileName(const String& path) {
  return ChangeFileExt(ExtractFileName(path), String());
}

}  // namespace

TSvTranslateString::TSvTranslateString(TComponent* owner) : TSvComponent(owner) {}

void TSvTranslateString::SetDateFormat(const String& value) {
  FDateFormat = value;
  if (FDateSeparator == kSvNoSeparator) FDateSeparator = SeparatorOf(value);
}

void TSvTranslateString::SetTimeFormat(const String& value) {
  FTimeFormat = value;
  if (FTimeSeparator == kSvNoSeparator) FTimeSeparator = SeparatorOf(value);
}

String TSvTranslateString::TranslateString(const String& inString) {
  bool changed = false;
  return TranslateString(inString, changed);
}

String TSvTranslateString::TranslateString(const String& inString, bool& changed) {
  changed = false;
  const String& left = FLeftDelimiter;
  const String& right = FRightDelimiter;
  if (left.empty() || right.empty()) return inString;
  String result;
  String rest = inString;
  while (!rest.empty()) {
    const size_t open = rest.find(left);
    if (open == String::npos) {
      result += rest;
      break;
    }
    result.append(rest, 0, open);
    // Only one character of each delimiter is taken off.
    rest.erase(0, open + 1);
    const size_t close = rest.find(right);
    if (close == String::npos) {
      result += left + rest;
      break;
    }
    const String name = rest.substr(0, close);
    String value;
    if (ExpandMacro(name, value)) {
      result += value;
      rest.erase(0, close + 1);
      changed = true;
    } else {
      // The closing delimiter stays and may open the next macro.
      result += name;
      rest.erase(0, close);
    }
  }
  return result;
}

bool TSvTranslateString::ExpandMacro(const String& command, String& value) {
  const String name = AnsiUpperCase(Trim(command));
  bool handled = true;
  value.clear();
  if (name == u"APPL_NAME") {
    value = VersionProductName();
    if (value.empty()) value = ProgramFileName(FMachine->ProgramPath());
  } else if (name == u"COMPANY_NAME") {
    value = VersionCompanyName();
  } else if (name == u"FILEVERSION") {
    value = VersionFileVersion();
  } else if (name == u"PRODUCTVERSION") {
    value = VersionProductVersion();
  } else if (name == u"DATE") {
    value = FormatDateTime(FDateFormat, FMachine->Now());
  } else if (name == u"TIME") {
    value = FormatDateTime(FTimeFormat, FMachine->Now());
  } else if (name == u"DATETIME") {
    value = FormatDateTime(FDateTimeFormat, FMachine->Now());
  } else if (name == u"EXENAME") {
    value = FMachine->ProgramPath();
  } else if (name == u"FILENAME") {
    value = ProgramFileName(FMachine->ProgramPath());
  } else if (name == u"FULLDIREXE") {
    value = ExcludeTrailingPathDelimiter(ExtractFilePath(FMachine->ProgramPath()));
  } else if (name == u"FORMNAME") {
    value = OwnerFormName();
  } else if (name == u"FORMCAPTION") {
    value = OwnerFormCaption();
  } else if (name == u"SCREENSIZE") {
    const TSvScreenSize size = FMachine->ScreenSize();
    value = Format(u"%dx%d", {size.Width, size.Height});
  } else if (name == u"DESKTOPSIZE") {
    const TSvScreenSize size = FMachine->DesktopSize();
    value = Format(u"%dx%d", {size.Width, size.Height});
  } else {
    handled = false;
  }
  if (OnProcessCommand) OnProcessCommand(this, name, value, handled);
  return handled;
}

String TSvTranslateString::VersionValue(TCachedValue& cache, TVersionKey key, const char16_t* macroName,
                                        const char16_t* fallback) {
  if (cache.Handled) return cache.Value;
  try {
    const TUtFileVersionInfo info(FMachine->ProgramPath(), FMachine->VersionSource());
    cache.Value = info.GetVersionValue(key);
  } catch (const EUtFileVersionInfoError&) {
    cache.Value = fallback;
    FMachine->ShowInformation(Format(kSvDefaultRootReplaced, {macroName, fallback}));
  }
  cache.Handled = true;
  return cache.Value;
}

String TSvTranslateString::VersionProductName() {
  return VersionValue(FAppName, vkProductName, u"APPL_NAME", u"MySvcApplication");
}

String TSvTranslateString::VersionCompanyName() {
  return VersionValue(FCompanyName, vkCompanyName, u"COMPANY_NAME", u"MyCompany");
}

String TSvTranslateString::VersionFileVersion() {
  return VersionValue(FFileVersion, vkFileVersion, u"FILEVERSION", u"0.0.0.0");
}

String TSvTranslateString::VersionProductVersion() {
  return VersionValue(FProductVersion, vkProductVersion, u"PRODUCTVERSION", u"0.0.0.0");
}

const TComponent* TSvTranslateString::OwnerForm() const {
  for (const TComponent* owner = Owner(); owner != nullptr; owner = owner->Owner()) {
    if (IsFormClass(owner->ClassType())) return owner;
  }
  return nullptr;
}

String TSvTranslateString::OwnerFormName() const {
  const TComponent* form = OwnerForm();
  return form != nullptr ? form->Name() : String();
}

String TSvTranslateString::OwnerFormCaption() const {
  const TComponent* form = OwnerForm();
  if (form == nullptr) return String();
  const TPropInfo* caption = GetPropInfo(*form, u"Caption");
  if (caption == nullptr) return String();
  switch (caption->Kind()) {
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString: return GetStrProp(*form, *caption);
    default: return String();
  }
}
