// Share modes are the system's business on Windows; natively files are not locked.
#include <gtest/gtest.h>

#include "rtl/exceptions.h"
#include "rtl/files.h"
#include "rtl/streams.h"
#include "rtl/temp_folder.h"

namespace {

bool CanOpen(const String& name, Word mode) {
  try {
    TFileStream second(name, mode);
    return true;
  } catch (const EFOpenError&) {
    return false;
  }
}

TEST(FileStreamShareModes, AreMappedToTheSystemsSharing) {
  TempFolder folder;
  const String name = folder.File(u"shared.bin");
  { TFileStream create(name, fmCreate); }
  struct Case {
    Word first;
    Word second;
    bool allowed;
  } cases[] = {
      {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
      {fmOpenRead | fmShareCompat, fmOpenRead | fmShareDenyNone, false},
      {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyWrite, true},
      {fmOpenRead | fmShareDenyWrite, fmOpenWrite | fmShareDenyNone, false},
      {fmOpenRead | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true},
      {fmOpenWrite | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false},
      {fmCreate | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
  };
  for (const Case& c : cases) {
    TFileStream first(name, c.first);
    EXPECT_EQ(CanOpen(name, c.second), c.allowed) << std::hex << c.first << " then " << c.second;
  }
}

}  // namespace
