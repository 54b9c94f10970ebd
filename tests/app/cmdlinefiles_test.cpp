#include <gtest/gtest.h>

#include <set>

#include "app/cmdlinefiles.h"

namespace {

std::vector<String> Files(const std::vector<String>& arguments, std::set<String> existing) {
  return JoinCommandLineFiles(arguments, [&](const String& path) { return existing.count(path) > 0; });
}

TEST(CommandLineFiles, HalvesOfAPathWithABlankOpenOneFile) {
  EXPECT_EQ(Files({u"C:\\My", u"Forms\\a.dfm"}, {u"C:\\My Forms\\a.dfm"}), std::vector<String>{u"C:\\My Forms\\a.dfm"});
}

TEST(CommandLineFiles, AFolderHalfWithoutAFileOpensNothing) {
  EXPECT_TRUE(Files({u"C:\\My", u"Forms\\b.dfm"}, {u"C:\\My Forms\\a.dfm"}).empty());
}

TEST(CommandLineFiles, AnExistingFirstHalfOpensAndTheSecondIsTriedAlone) {
  EXPECT_EQ(Files({u"a.dfm", u"b.dfm", u"junk"}, {u"a.dfm", u"b.dfm"}), (std::vector<String>{u"a.dfm", u"b.dfm"}));
}

}  // namespace
