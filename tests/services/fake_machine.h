// A machine for tests: a fixed clock, screen and program file, version blocks
// handed in, and the information boxes it was asked to show.
#pragma once

#include <map>
#include <vector>

#include "rtl/datetime.h"
#include "services/machine.h"

class TFakeVersionSource final : public IVersionInfoSource {
 public:
  // An empty block: the file exists but has no version information.
  std::map<String, TBytes> Files;
  mutable int Reads = 0;

  bool FileExists(const String& fileName) const override { return Files.count(fileName) != 0; }
  bool ReadVersionBlock(const String& fileName, TBytes& block) const override {
    ++Reads;
    const auto found = Files.find(fileName);
    if (found == Files.end() || found->second.empty()) return false;
    block = found->second;
    return true;
  }
};

class TFakeMachine final : public ISvMachine {
 public:
  String Program = u"C:\\Program Files\\Obrix\\Kestrum.exe";
  TDateTime Clock = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
  TSvScreenSize Screen{1920, 1080};
  TSvScreenSize Desktop{3840, 1080};
  TFormatSettings Locale;
  TFakeVersionSource Versions;
  mutable std::vector<String> Shown;

  String ProgramPath() const override { return Program; }
  TDateTime Now() const override { return Clock; }
  TSvScreenSize ScreenSize() const override { return Screen; }
  TSvScreenSize DesktopSize() const override { return Desktop; }
  TFormatSettings DefaultLocaleFormats() const override { return Locale; }
  const IVersionInfoSource& VersionSource() const override { return Versions; }
  void ShowInformation(const String& text) const override { Shown.push_back(text); }
};
