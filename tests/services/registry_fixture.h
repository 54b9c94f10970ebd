// The registry tests run against every registry the build has: the in-memory
// one everywhere and, in the Windows build, the real one below a key of its
// own under HKEY_CURRENT_USER that the test deletes again.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "services/rawregistry.h"

// UTF-16 little-endian bytes of a text, with or without a terminating zero.
TBytes Utf16Bytes(StringView text, bool terminated = true);

class TTestRegistry {
 public:
  virtual ~TTestRegistry() = default;
  virtual TRawRegistry& Registry() = 0;
  // Handles the registry gave out and are still open, when it can tell.
  virtual long OpenHandles() const { return -1; }

  TRegHandle Root = kHKeyCurrentUser;
  // A key below Root that belongs to this test alone.
  String BaseKey;
};

struct TRegistryKind {
  const char* Name;
  std::function<std::unique_ptr<TTestRegistry>()> Make;
};

std::unique_ptr<TTestRegistry> MakeMemoryTestRegistry();

class RegistryTest : public ::testing::TestWithParam<TRegistryKind> {
 protected:
  void SetUp() override { FTest = GetParam().Make(); }
  void TearDown() override {
    const long open = FTest->OpenHandles();
    if (open >= 0) {
      EXPECT_EQ(open, 0) << "registry handles left open";
    }
    FTest.reset();
  }

  TRawRegistry& Registry() { return FTest->Registry(); }
  TRegHandle Root() const { return FTest->Root; }
  const String& Base() const { return FTest->BaseKey; }
  String Key(StringView relative) const { return relative.empty() ? Base() : Base() + u"\\" + String(relative); }

  // Sets a value of any type below Base() (creating the key).
  void SetRaw(StringView keyBelowBase, StringView name, Cardinal type, const TBytes& data);
  // The value's type and bytes; false when it is missing.
  bool GetRaw(StringView keyBelowBase, StringView name, Cardinal& type, TBytes& data);
  bool KeyExists(StringView keyBelowBase);
  // The value's type (99 when missing) and its bytes read as text.
  Cardinal RawType(StringView keyBelowBase, StringView name);
  String RawText(StringView keyBelowBase, StringView name);

  std::unique_ptr<TTestRegistry> FTest;
};

inline std::string RegistryKindName(const ::testing::TestParamInfo<TRegistryKind>& info) {
  return info.param.Name;
}
