#include "services/registry_fixture.h"

#include "services/memoryregistry.h"
#include "services/registryaccess.h"

namespace {

class TMemoryTestRegistry final : public TTestRegistry {
 public:
  TMemoryTestRegistry() { BaseKey = u"Software\\Kestrum Tests"; }
  TRawRegistry& Registry() override { return FRegistry; }
  long OpenHandles() const override { return static_cast<long>(FRegistry.OpenHandleCount()); }

 private:
  TMemoryRegistry FRegistry;
};

}  // namespace

TBytes Utf16Bytes(StringView text, bool terminated) {
  TBytes bytes;
  for (const Char c : text) {
    bytes.push_back(static_cast<Byte>(c));
    bytes.push_back(static_cast<Byte>(c >> 8));
  }
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::unique_ptr<TTestRegistry> MakeMemoryTestRegistry() {
  return std::make_unique<TMemoryTestRegistry>();
}

void RegistryTest::SetRaw(StringView keyBelowBase, StringView name, Cardinal type, const TBytes& data) {
  WriteRegistryData(Registry(), Root(), Key(keyBelowBase), name, type, data.data(),
                    static_cast<Cardinal>(data.size()));
}

bool RegistryTest::GetRaw(StringView keyBelowBase, StringView name, Cardinal& type, TBytes& data) {
  TRegHandle key = 0;
  if (Registry().OpenKey(Root(), Key(keyBelowBase), kKeyRead, key) != kErrorSuccess) return false;
  Cardinal size = 0;
  bool found = Registry().QueryValue(key, name, type, nullptr, size) == kErrorSuccess;
  if (found) {
    data.assign(size, 0);
    found = size == 0 || Registry().QueryValue(key, name, type, data.data(), size) == kErrorSuccess;
  }
  Registry().CloseKey(key);
  return found;
}

bool RegistryTest::KeyExists(StringView keyBelowBase) {
  return RegistryKeyExists(Registry(), Root(), Key(keyBelowBase));
}

Cardinal RegistryTest::RawType(StringView keyBelowBase, StringView name) {
  Cardinal type = 0;
  TBytes data;
  return GetRaw(keyBelowBase, name, type, data) ? type : 99;
}

String RegistryTest::RawText(StringView keyBelowBase, StringView name) {
  Cardinal type = 0;
  TBytes data;
  if (!GetRaw(keyBelowBase, name, type, data)) return u"<missing>";
  String text;
  for (size_t i = 0; i + 1 < data.size(); i += 2) text += static_cast<Char>(data[i] | (data[i + 1] << 8));
  if (!text.empty() && text.back() == 0) text.pop_back();
  return text;
}

INSTANTIATE_TEST_SUITE_P(Memory, RegistryTest,
                         ::testing::Values(TRegistryKind{"Memory", MakeMemoryTestRegistry}), RegistryKindName);
