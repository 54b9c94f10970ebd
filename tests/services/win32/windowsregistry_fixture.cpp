#include "services/win32/windowsregistry_fixture.h"

#include <windows.h>

#include <atomic>

#include "rtl/numbers.h"
#include "services/win32/windowsregistry.h"

namespace {

constexpr wchar_t kTestsKey[] = L"Software\\Kestrum Tests";

class TWindowsTestRegistry final : public TTestRegistry {
 public:
  TWindowsTestRegistry() {
    static std::atomic<int> counter{0};
    BaseKey = u"Software\\Kestrum Tests\\" + IntToStr(GetCurrentProcessId()) + u"-" + IntToStr(GetTickCount64()) +
              u"-" + IntToStr(++counter);
  }
  ~TWindowsTestRegistry() override {
    const std::wstring key(BaseKey.begin(), BaseKey.end());
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    // The common parent goes when no other test uses it.
    RegDeleteKeyW(HKEY_CURRENT_USER, kTestsKey);
  }
  TRawRegistry& Registry() override { return FRegistry; }

 private:
  TWindowsRegistry FRegistry;
};

}  // namespace

std::unique_ptr<TTestRegistry> MakeWindowsTestRegistry() {
  return std::make_unique<TWindowsTestRegistry>();
}

INSTANTIATE_TEST_SUITE_P(Windows, RegistryTest, ::testing::Values(TRegistryKind{"Windows", MakeWindowsTestRegistry}),
                         RegistryKindName);
