// The shared instance table, the names of the shared objects and the
// command line that a second start hands over.
#include "services/instancetable.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

namespace {

struct Table {
  std::array<Byte, kInstanceTableSize + 16> Bytes{};  // room behind it to catch overruns
  TInstanceTable View{Bytes.data()};
  void SetRawCount(Word count) {
    Bytes[2] = static_cast<Byte>(count);
    Bytes[3] = static_cast<Byte>(count >> 8);
  }
};

TEST(InstanceTable, RegistersInOrderAndTheFirstFixesTheLimit) {
  Table t;
  EXPECT_TRUE(t.View.Register(100, 2));
  EXPECT_TRUE(t.View.Register(200, 65535));  // the limit stays 2
  EXPECT_FALSE(t.View.Register(300, 0));     // one too many, still listed
  EXPECT_EQ(t.View.Maximum(), 2);
  EXPECT_EQ(t.View.Count(), 3);
  EXPECT_EQ(t.View.ProcessIdAt(0), 100u);
  EXPECT_EQ(t.View.ProcessIdAt(2), 300u);
  EXPECT_EQ(t.View.ProcessIdAt(3), 0u);
  EXPECT_EQ(t.View.ProcessIdAt(-1), 0u);
  // Little-endian layout as other processes read it.
  EXPECT_EQ(t.Bytes[0], 2);
  EXPECT_EQ(t.Bytes[2], 3);
  EXPECT_EQ(t.Bytes[4], 100);
  EXPECT_EQ(t.Bytes[8], 200);
}

TEST(InstanceTable, RemovingFromTheMiddleKeepsTheOrder) {
  Table t;
  for (Cardinal id : {1u, 2u, 3u, 2u}) t.View.Register(id, 0);
  EXPECT_TRUE(t.View.Remove(2));
  EXPECT_EQ(t.View.Count(), 3);
  EXPECT_EQ(t.View.ProcessIdAt(0), 1u);
  EXPECT_EQ(t.View.ProcessIdAt(1), 3u);
  EXPECT_EQ(t.View.ProcessIdAt(2), 2u);
  EXPECT_FALSE(t.View.Remove(42));
  EXPECT_EQ(t.View.IndexOf(3), 1);
  EXPECT_EQ(t.View.IndexOf(42), -1);
}

TEST(InstanceTable, ADamagedCountIsClampedToTheRoomThereIs) {
  Table t;
  t.SetRawCount(60000);
  EXPECT_EQ(t.View.Count(), kInstanceTableCapacity);
  EXPECT_EQ(t.View.IndexOf(77), -1);
  EXPECT_FALSE(t.View.Register(77, 0));  // full: not taken
  EXPECT_EQ(t.View.IndexOf(77), -1);
  t.Bytes[4] = 5;
  EXPECT_TRUE(t.View.Remove(5));
  EXPECT_EQ(t.View.Count(), kInstanceTableCapacity - 1);
  for (size_t i = kInstanceTableSize; i < t.Bytes.size(); ++i) EXPECT_EQ(t.Bytes[i], 0) << i;
}

TEST(InstanceTable, AFullTableTakesNoMore) {
  Table t;
  for (int i = 0; i < kInstanceTableCapacity; ++i) t.View.Register(static_cast<Cardinal>(i + 1), 0);
  EXPECT_FALSE(t.View.Register(9999, 0));
  EXPECT_EQ(t.View.Count(), kInstanceTableCapacity);
  for (size_t i = kInstanceTableSize; i < t.Bytes.size(); ++i) EXPECT_EQ(t.Bytes[i], 0) << i;
}

TEST(InstanceAppId, NamesFollowTheProgramPathInAnyCase) {
  EXPECT_EQ(InstanceAppId(u"", u"C:\\Tools\\Kestrum.exe"), u"UTC:_TOOLS_KESTRUM.EXE");
  EXPECT_EQ(InstanceAppId(u"", u"c:\\tools\\kestrum.EXE"), InstanceAppId(u"", u"C:\\Tools\\Kestrum.exe"));
  EXPECT_NE(InstanceAppId(u"", u"C:\\Copy\\Kestrum.exe"), InstanceAppId(u"", u"C:\\Tools\\Kestrum.exe"));
  EXPECT_EQ(InstanceAppId(u"My\\App", u"C:\\x.exe"), u"UtMy_App");
}

TEST(InstanceAppId, PathsThatDifferOnlyInSeparatorsAndUnderscoresKeepApart) {
  const char16_t* paths[] = {u"C:\\x_y\\kestrum.exe", u"C:\\x\\y\\kestrum.exe", u"C:\\x\\_y\\kestrum.exe",
                             u"C:\\x_\\y\\kestrum.exe", u"C:\\x|_y\\kestrum.exe", u"C:\\x|\\y\\kestrum.exe"};
  std::set<String> ids;
  for (const char16_t* path : paths) {
    const String id = InstanceAppId(u"", path);
    EXPECT_EQ(id.find(u'\\'), String::npos);
    ids.insert(id);
  }
  EXPECT_EQ(ids.size(), std::size(paths));
  EXPECT_NE(InstanceAppId(u"My\\App", u""), InstanceAppId(u"My_App", u""));
}

TEST(InstanceAppId, LongPathsStayWithinTheLimitAndApart) {
  const String folder = u"C:\\" + String(300, u'd') + u"\\";
  const String a = InstanceAppId(u"", folder + u"a\\kestrum.exe");
  const String b = InstanceAppId(u"", folder + u"b\\kestrum.exe");
  EXPECT_EQ(a.size(), kInstanceAppIdMaxLength);
  EXPECT_EQ(b.size(), kInstanceAppIdMaxLength);
  EXPECT_NE(a, b);
  EXPECT_EQ(a, InstanceAppId(u"", folder + u"A\\KESTRUM.EXE"));
  EXPECT_EQ(a.substr(0, 6), u"UTC:_D");
}

TEST(CommandLine, SplitsAsTheRuntimeLibraryDoes) {
  struct Case {
    const char16_t* Line;
    std::vector<String> Arguments;
  } cases[] = {
      {u"prog.exe", {u"prog.exe"}},
      {u"  \"C:\\My Files\\prog.exe\"  a.dfm\t\"b c.dfm\" ", {u"C:\\My Files\\prog.exe", u"a.dfm", u"b c.dfm"}},
      {u"p x\"y z\"w", {u"p", u"xy zw"}},
      {u"p \"unterminated", {u"p", u"unterminated"}},
      {u"p \"\"", {u"p", u""}},
      {u"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.Line), c.Arguments) << String(c.Line).size();
}

TEST(CommandLine, ForwardedFilesAreJoinedAsTheProgramJoinsThemAndAbsolute) {
  const std::set<String> existing{u"C:\\work\\forms\\a.dfm", u"C:\\work\\other\\b c.dfm", u"D:\\x\\c.dfm",
                                  u"C:\\top.dfm", u"\\\\srv\\share\\d.dfm"};
  const auto exists = [&](const String& name) { return existing.count(name) > 0; };
  // Every argument goes: what names no file too, for the opener to report.
  const std::vector<String> arguments{u"prog.exe",        u"a.dfm",     u"..\\other\\b",          u"c.dfm",
                                      u"D:\\x\\.\\c.dfm", u"\\top.dfm", u"\\\\srv\\share\\d.dfm", u"-debug"};
  EXPECT_EQ(CommandLineFileNames(arguments, u"C:\\work\\forms", exists),
            (std::vector<String>{u"C:\\work\\forms\\a.dfm", u"C:\\work\\other\\b c.dfm", u"D:\\x\\c.dfm",
                                 u"C:\\top.dfm", u"\\\\srv\\share\\d.dfm", u"C:\\work\\forms\\-debug"}));
  EXPECT_TRUE(CommandLineFileNames({u"prog.exe"}, u"C:\\", exists).empty());
  EXPECT_TRUE(CommandLineFileNames({}, u"C:\\", exists).empty());
}

TEST(CommandLine, TravelsAsLinesEachEndedByCrLf) {
  const String text = CommandLineText({u"C:\\a.dfm", u"C:\\b.dfm"});
  EXPECT_EQ(text, u"C:\\a.dfm\r\nC:\\b.dfm\r\n");
  EXPECT_EQ(CommandLineText({}), u"");
  EXPECT_EQ(CopyDataString(text.data(), text.size() * 2), text);
  const Byte odd[] = {'A', 0, 'B'};
  EXPECT_EQ(CopyDataString(odd, sizeof odd), u"A");
  EXPECT_EQ(CopyDataString(nullptr, 0), u"");
}

}  // namespace
