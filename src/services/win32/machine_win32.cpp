#include <windows.h>

#include "services/machine.h"
#include "services/win32/utwin32.h"

namespace {

class TWindowsMachine final : public ISvMachine {
 public:
  String ProgramPath() const override { return ModulePath(nullptr); }
  TDateTime Now() const override { return ::Now(); }
  TSvScreenSize ScreenSize() const override {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  TSvScreenSize DesktopSize() const override {
    return {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  }
  TFormatSettings DefaultLocaleFormats() const override { return LocaleFormatSettings(kLocaleSystemDefault); }
  const IVersionInfoSource& VersionSource() const override { return PlatformVersionInfoSource(); }
  void ShowInformation(const String& text) const override {
    const std::wstring message(text.begin(), text.end());
    MessageBoxW(GetActiveWindow(), message.c_str(), L"Information", MB_OK | MB_ICONINFORMATION);
  }
};

}  // namespace

ISvMachine& PlatformMachine() {
  static TWindowsMachine machine;
  return machine;
}
