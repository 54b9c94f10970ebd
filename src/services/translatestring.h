// Macro expansion: names between delimiters (%APPL_NAME%, %DATE% ...) replaced
// by values from the program file, its version information, the clock, the
// screen and the form that owns the component.
#pragma once

#include "rtl/events.h"
#include "services/machine.h"
#include "services/svcomponent.h"

// Called after each macro lookup with the upper-cased, trimmed name; it may
// change the value and whether the name counts as a macro.
using TSvProcessCommandEvent =
    TDelegate<void(TObject* sender, const String& command, String& commandResult, bool& changed)>;
const TTypeInfo& DescribeType(TypeTag<TSvProcessCommandEvent>);

// A separator the formats have not set.
inline constexpr Char kSvNoSeparator = 255;

inline constexpr char16_t kSvDefaultRootReplaced[] =
    u"The Default Root Value \"%0:s\" has been replaced with \"%1:s\".\r\n"
    u"Please change the value in the FileVersionInfo Project Properties.";

class TSvTranslateString : public TSvComponent {
  KST_CLASS(TSvTranslateString, TSvComponent)
 public:
  explicit TSvTranslateString(TComponent* owner);

  // The text with every known macro replaced.
  String TranslateString(const String& inString);
  // The same; changed tells whether any macro was replaced.
  String TranslateString(const String& inString, bool& changed);
  // The value of one macro and whether it is one, after OnProcessCommand.
  bool ExpandMacro(const String& command, String& value);

  const String& DateFormat() const { return FDateFormat; }
  // Also sets DateSeparator while that is unset.
  void SetDateFormat(const String& value);
  Char DateSeparator() const { return FDateSeparator; }
  void SetDateSeparator(Char value) { FDateSeparator = value; }
  const String& DateTimeFormat() const { return FDateTimeFormat; }
  void SetDateTimeFormat(const String& value) { FDateTimeFormat = value; }
  const String& LeftDelimiter() const { return FLeftDelimiter; }
  void SetLeftDelimiter(const String& value) { FLeftDelimiter = value; }
  const String& RightDelimiter() const { return FRightDelimiter; }
  void SetRightDelimiter(const String& value) { FRightDelimiter = value; }
  const String& TimeFormat() const { return FTimeFormat; }
  // Also sets TimeSeparator while that is unset.
  void SetTimeFormat(const String& value);
  Char TimeSeparator() const { return FTimeSeparator; }
  void SetTimeSeparator(Char value) { FTimeSeparator = value; }
  TSvProcessCommandEvent OnProcessCommand;

  // The program's version values, read once each; without version
  // information an information box names the fallback that is used instead.
  String VersionProductName();
  String VersionCompanyName();
  String VersionFileVersion();
  String VersionProductVersion();
  // The first form on the owner chain: its Name and its Caption.
  String OwnerFormName() const;
  String OwnerFormCaption() const;

  // The machine the values come from; the platform's unless replaced.
  ISvMachine& Machine() const { return *FMachine; }
  void SetMachine(ISvMachine* machine) { FMachine = machine != nullptr ? machine : &PlatformMachine(); }

 private:
  struct TCachedValue {
    bool Handled = false;
    String Value;
  };
  String VersionValue(TCachedValue& cache, TVersionKey key, const char16_t* macroName, const char16_t* fallback);
  const TComponent* OwnerForm() const;

  TCachedValue FAppName;
  TCachedValue FCompanyName;
  TCachedValue FFileVersion;
  TCachedValue FProductVersion;
  String FDateFormat = u"dd_mm_yyyy";
  Char FDateSeparator = kSvNoSeparator;
  String FDateTimeFormat = u"dd_mm_yyyy hh_nn_ss";
  String FLeftDelimiter = u"%";
  String FRightDelimiter = u"%";
  String FTimeFormat = u"hh_nn_ss";
  Char FTimeSeparator = kSvNoSeparator;
  ISvMachine* FMachine = &PlatformMachine();
};
