// What the settings services ask of the machine they run on: the program file,
// the clock, the screen, the system locale's formats, version resources and an
// information box. The program uses the platform's; tests hand in a fake.
#pragma once

#include "rtl/datetime.h"
#include "rtl/formatsettings.h"
#include "services/fileversion.h"

struct TSvScreenSize {
  Integer Width = 0;
  Integer Height = 0;
};

class ISvMachine {
 public:
  virtual ~ISvMachine() = default;
  // The full path of the program file.
  virtual String ProgramPath() const = 0;
  virtual TDateTime Now() const = 0;
  // The primary screen and the virtual desktop, in pixels.
  virtual TSvScreenSize ScreenSize() const = 0;
  virtual TSvScreenSize DesktopSize() const = 0;
  // The formats of the system's default locale.
  virtual TFormatSettings DefaultLocaleFormats() const = 0;
  virtual const IVersionInfoSource& VersionSource() const = 0;
  // An information message with one OK button.
  virtual void ShowInformation(const String& text) const = 0;
};

ISvMachine& PlatformMachine();
