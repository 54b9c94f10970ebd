#include "services/commandline.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::vector<String> Join(const std::vector<String>& arguments, const std::set<String>& existing) {
  return JoinFileArguments(arguments, [&](const String& path) { return existing.count(path) > 0; });
}

TEST(CommandLine, SplitPathsAreJoinedAgain) {
  const std::set<String> files = {u"C:\\My Forms\\main.dfm", u"C:\\a.dfm", u"C:\\My"};
  // Two halves of a path with a blank open as one file.
  EXPECT_EQ(Join({u"C:\\My", u"Forms\\main.dfm"}, {u"C:\\My Forms\\main.dfm"}),
            (std::vector<String>{u"C:\\My Forms\\main.dfm"}));
  // The first half alone names a file: it opens, and the second half is tried alone.
  EXPECT_EQ(Join({u"C:\\My", u"Forms\\main.dfm"}, files), (std::vector<String>{u"C:\\My", u"Forms\\main.dfm"}));
  // Two whole files open in their order.
  EXPECT_EQ(Join({u"C:\\a.dfm", u"C:\\My Forms\\main.dfm"}, files),
            (std::vector<String>{u"C:\\a.dfm", u"C:\\My Forms\\main.dfm"}));
  // Words that complete no file are items of their own, for the opener to
  // report, and take no later file along.
  EXPECT_EQ(Join({u"C:\\Nothing", u"here.dfm"}, files), (std::vector<String>{u"C:\\Nothing", u"here.dfm"}));
  EXPECT_TRUE(Join({}, files).empty());
  EXPECT_EQ(Join({u"-x", u"C:\\a.dfm"}, files), (std::vector<String>{u"-x", u"C:\\a.dfm"}));
  EXPECT_EQ(Join({u"C:\\missing.dfm", u"", u"C:\\My", u"Forms\\main.dfm"}, {u"C:\\My Forms\\main.dfm"}),
            (std::vector<String>{u"C:\\missing.dfm", u"C:\\My Forms\\main.dfm"}));
}

}  // namespace
