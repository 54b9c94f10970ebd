#include <unistd.h>

#include "rtl/files.h"
#include "rtl/unicode.h"
#include "services/machine.h"

namespace {

class TFileVersionSource final : public IVersionInfoSource {
 public:
  bool FileExists(const String& fileName) const override { return ::FileExists(fileName); }
  // Version resources exist only in Windows executables.
  bool ReadVersionBlock(const String&, TBytes&) const override { return false; }
};

// A machine without a screen or message boxes.
class TPosixMachine final : public ISvMachine {
 public:
  String ProgramPath() const override {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    return length > 0 ? UTF8ToString(std::string_view(buffer, static_cast<size_t>(length))) : String();
  }
  TDateTime Now() const override { return ::Now(); }
  TSvScreenSize ScreenSize() const override { return {}; }
  TSvScreenSize DesktopSize() const override { return {}; }
  TFormatSettings DefaultLocaleFormats() const override { return LocaleFormatSettings(kLocaleSystemDefault); }
  const IVersionInfoSource& VersionSource() const override { return PlatformVersionInfoSource(); }
  void ShowInformation(const String&) const override {}
};

}  // namespace

const IVersionInfoSource& PlatformVersionInfoSource() {
  static const TFileVersionSource source;
  return source;
}

ISvMachine& PlatformMachine() {
  static TPosixMachine machine;
  return machine;
}
