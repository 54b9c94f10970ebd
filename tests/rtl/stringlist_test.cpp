#include "rtl/stringlist.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "rtl/encoding.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"
#include "rtl/temp_folder.h"
#include "rtl/unicode.h"

namespace {

std::vector<String> Lines(const TStrings& list) {
  return list.ToStringArray();
}

String StringListErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EStringListError& e) {
    return e.Message();
  }
  return u"<no exception>";
}

// ---- Text ----

struct TextCase {
  String text;
  std::vector<String> lines;
  String textBack;  // Text after setting `text`
};

class StringListText : public ::testing::TestWithParam<TextCase> {};

TEST_P(StringListText, SplitsAndJoins) {
  const TextCase& c = GetParam();
  TStringList list;
  list.SetText(c.text);
  EXPECT_EQ(Lines(list), c.lines);
  EXPECT_EQ(list.Text(), c.textBack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringListText,
    ::testing::Values(TextCase{u"", {}, u""},                                       //
                      TextCase{u"a", {u"a"}, u"a\r\n"},                             //
                      TextCase{u"a\r\nb\r\n", {u"a", u"b"}, u"a\r\nb\r\n"},         // final break ends the line
                      TextCase{u"a\nb", {u"a", u"b"}, u"a\r\nb\r\n"},               //
                      TextCase{u"a\rb", {u"a", u"b"}, u"a\r\nb\r\n"},               // lone CR
                      TextCase{u"a\n\rb", {u"a", u"", u"b"}, u"a\r\n\r\nb\r\n"},    // LF CR is two breaks
                      TextCase{u"\r\n", {u""}, u"\r\n"},                            //
                      TextCase{u"\r\n\r\n", {u"", u""}, u"\r\n\r\n"},               // empty lines
                      TextCase{u"a\r\n\r\n", {u"a", u""}, u"a\r\n\r\n"},            //
                      TextCase{u"a\r\r\nb", {u"a", u"", u"b"}, u"a\r\n\r\nb\r\n"},  //
                      TextCase{String(u"x\0y", 3), {String(u"x\0y", 3)}, String(u"x\0y\r\n", 5)}));  // NUL is kept

TEST(StringList, TextHonoursLineBreakAndTrailingLineBreak) {
  TStringList list;
  list.SetTrailingLineBreak(false);
  list.SetText(u"a\r\nb\r\n");
  EXPECT_EQ(list.Text(), u"a\r\nb");
  list.SetLineBreak(u"|");
  EXPECT_EQ(list.Text(), u"a|b");
  list.SetText(u"x|y\r\nz|");
  EXPECT_EQ(Lines(list), (std::vector<String>{u"x", u"y\r\nz"}));
  TStringList empty;
  empty.Add(u"");
  EXPECT_EQ(empty.Text(), u"\r\n");
}

// ---- CommaText and DelimitedText ----

struct CommaCase {
  std::vector<String> lines;
  const char16_t* commaText;
};

class StringListCommaText : public ::testing::TestWithParam<CommaCase> {};

TEST_P(StringListCommaText, QuotesWhereNeededAndReadsBack) {
  const CommaCase& c = GetParam();
  TStringList list;
  list.AddStrings(c.lines);
  EXPECT_EQ(list.CommaText(), c.commaText);
  TStringList back;
  back.SetCommaText(c.commaText);
  EXPECT_EQ(Lines(back), c.lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringListCommaText,
                         ::testing::Values(CommaCase{{}, u""},                                     //
                                           CommaCase{{u""}, u"\"\""},                              //
                                           CommaCase{{u"a", u"b"}, u"a,b"},                        //
                                           CommaCase{{u"a b", u"c"}, u"\"a b\",c"},                // blank
                                           CommaCase{{u"say \"hi\""}, u"\"say \"\"hi\"\"\""},      // doubled
                                           CommaCase{{u"x,y"}, u"\"x,y\""},                        //
                                           CommaCase{{u"a", u"", u"b"}, u"a,,b"},                  //
                                           CommaCase{{u"a", u""}, u"a,"},                          //
                                           CommaCase{{u"tab\there"}, u"\"tab\there\""},            //
                                           CommaCase{{u"\u00E9l\u00E8ve"}, u"\u00E9l\u00E8ve"}));  //

TEST(StringList, CommaTextReadsLooseInput) {
  struct Case {
    const char16_t* text;
    std::vector<String> lines;
  } cases[] = {
      {u"a b", {u"a", u"b"}},                  // blanks separate
      {u"  a ,  b  ", {u"a", u"b"}},           // and are trimmed
      {u",", {u"", u""}},                      //
      {u"\"a b\"c,d", {u"a b", u"c", u"d"}},   // text after a closing quote is a new item
      {u"\"unterminated", {u"unterminated"}},  //
      {u"\"\"\"\"", {u"\""}},                  //
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetCommaText(c.text);
    EXPECT_EQ(Lines(list), c.lines) << StringToUTF8(c.text);
  }
  for (bool strict : {false, true}) {
    TStringList list;
    list.SetStrictDelimiter(strict);
    list.SetDelimitedText(String(u"a,b\0 c,d", 8));  // the text ends at a NUL, as on the platform
    EXPECT_EQ(Lines(list), (std::vector<String>{u"a", u"b"}));
  }
}

TEST(StringList, EmptyItemsSurviveABlankDelimiter) {
  TStringList list;
  list.SetDelimiter(u' ');
  list.AddStrings(std::vector<String>{u"", u"x", u""});
  EXPECT_EQ(list.DelimitedText(), u"\"\" x \"\"");  // unquoted, loose reading would drop them
  TStringList back;
  back.SetDelimiter(u' ');
  back.SetDelimitedText(list.DelimitedText());
  EXPECT_TRUE(back.Equals(list));
}

TEST(StringList, DelimitedTextWithStrictDelimiterKeepsBlanks) {
  TStringList list;
  list.SetDelimiter(u';');
  list.SetQuoteChar(u'\'');
  list.SetStrictDelimiter(true);
  list.SetDelimitedText(u" a b ;'c;d';");
  EXPECT_EQ(Lines(list), (std::vector<String>{u" a b ", u"c;d", u""}));
  EXPECT_EQ(list.DelimitedText(), u" a b ;'c;d';");
  list.SetStrictDelimiter(false);
  EXPECT_EQ(list.DelimitedText(), u"' a b ';'c;d';");
}

// ---- Names and values ----

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText(u"Width=10\r\nplain\r\nCaption=a=b\r\nEmpty=\r\n");
  EXPECT_EQ(list.Names(0), u"Width");
  EXPECT_EQ(list.Names(1), u"");
  EXPECT_EQ(list.ValueFromIndex(1), u"");  // no separator, no value
  EXPECT_EQ(list.Values(u"caption"), u"a=b");
  EXPECT_EQ(list.IndexOfName(u"WIDTH"), 0);
  EXPECT_EQ(list.IndexOfName(u"Empty"), 3);
  EXPECT_EQ(list.IndexOfName(u"plain"), -1);
  list.SetValues(u"Width", u"20");
  list.SetValues(u"Height", u"5");
  list.SetValues(u"Caption", u"");  // an empty value removes the line
  EXPECT_EQ(list.Text(), u"Width=20\r\nplain\r\nEmpty=\r\nHeight=5\r\n");
  list.SetNameValueSeparator(u':');
  list.SetValueFromIndex(1, u"x");
  EXPECT_EQ(list[1], u":x");
}

// ---- Sorting and duplicates ----

TEST(StringList, SortedListsOrderAndHandleDuplicates) {
  TStringList list;
  list.AddStrings(std::vector<String>{u"pear", u"Apple", u"fig"});
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<String>{u"Apple", u"fig", u"pear"}));
  EXPECT_EQ(list.Add(u"APPLE"), 0);  // dupIgnore (the default) returns the existing line
  EXPECT_EQ(list.Count(), 3);
  Integer index = -1;
  EXPECT_FALSE(list.Find(u"grape", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(list.IndexOf(u"FIG"), 1);

  list.SetDuplicates(dupError);
  EXPECT_EQ(StringListErrorOf([&] { list.Add(u"pear"); }), u"String list does not allow duplicates");
  EXPECT_EQ(StringListErrorOf([&] { list.Insert(0, u"x"); }), u"Operation not allowed on sorted list");
  EXPECT_EQ(StringListErrorOf([&] { list.Put(0, u"x"); }), u"Operation not allowed on sorted list");

  list.SetDuplicates(dupAccept);
  list.Add(u"fig");
  list.Add(u"FIG");
  EXPECT_TRUE(list.Find(u"Fig", index));
  EXPECT_EQ(index, 1);  // the first of the equal lines
  EXPECT_EQ(list.Count(), 5);

  list.SetCaseSensitive(true);  // re-sorts
  EXPECT_EQ(list.IndexOf(u"Fig"), -1);
  EXPECT_NE(list.IndexOf(u"FIG"), -1);
}

TEST(StringList, CustomSortSeesTheUnchangedList) {
  TStringList list;
  list.AddStrings(std::vector<String>{u"ccc", u"a", u"bb", u"dd"});
  list.CustomSort([](TStringList& l, Integer a, Integer b) {
    return static_cast<int>(l[a].size()) - static_cast<int>(l[b].size());
  });
  EXPECT_EQ(Lines(list), (std::vector<String>{u"a", u"bb", u"dd", u"ccc"}));  // stable for equal keys
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList list;
  list.Add(u"a");
  EXPECT_EQ(StringListErrorOf([&] { list.Get(1); }), u"List index out of bounds (1)");
  EXPECT_EQ(StringListErrorOf([&] { list.Delete(-1); }), u"List index out of bounds (-1)");
  EXPECT_EQ(StringListErrorOf([&] { list.Insert(2, u"x"); }), u"List index out of bounds (2)");
  EXPECT_EQ(StringListErrorOf([&] { list.Exchange(0, 5); }), u"List index out of bounds (5)");
  EXPECT_EQ(StringListErrorOf([&] { list.SetCapacity(0); }), u"List capacity out of bounds (0)");
  list.Insert(1, u"b");  // Insert at Count appends
  EXPECT_EQ(list.Text(), u"a\r\nb\r\n");
}

// ---- Objects, moves, events ----

struct Tracked : TObject {
  explicit Tracked(int& alive) : FAlive(alive) { ++FAlive; }
  ~Tracked() override { --FAlive; }
  int& FAlive;
};

TEST(StringList, OwnsObjectsDeletesThemButMoveKeepsThem) {
  int alive = 0;
  {
    TStringList list(true);
    list.AddObject(u"a", new Tracked(alive));
    list.AddObject(u"b", new Tracked(alive));
    list.AddObject(u"c", new Tracked(alive));
    TObject* b = list.Objects(1);
    list.Move(1, 0);
    EXPECT_EQ(list.Objects(0), b);
    EXPECT_EQ(list.IndexOfObject(b), 0);
    EXPECT_EQ(alive, 3);
    list.Delete(0);
    EXPECT_EQ(alive, 2);
  }
  EXPECT_EQ(alive, 0);
}

TEST(StringList, UpdateBracketsFireOneChangePair) {
  TStringList list;
  std::vector<std::string> events;
  list.OnChanging = [&](TObject*) { events.push_back("changing"); };
  list.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    events.push_back("change");
  };
  list.Add(u"a");
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
  events.clear();
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(u"b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_TRUE(events.size() == 1);
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
  events.clear();
  list.SetText(u"x\r\ny\r\nz");
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
}

TEST(StringList, AssignEqualsExchange) {
  TStringList source;
  source.SetText(u"one\r\ntwo");
  source.SetDelimiter(u';');
  TStringList copy;
  copy.Add(u"old");
  copy.Assign(source);
  EXPECT_TRUE(copy.Equals(source));
  EXPECT_EQ(copy.DelimitedText(), u"one;two");
  copy.Exchange(0, 1);
  EXPECT_FALSE(copy.Equals(source));
  EXPECT_EQ(copy.Text(), u"two\r\none\r\n");
  copy.AddStrings(copy);  // adding itself doubles it once
  EXPECT_EQ(copy.Count(), 4);
}

// ---- A subclass with its own store uses the base class's services ----

class VectorStrings : public TStrings {
 public:
  String Get(Integer index) const override { return FLines.at(static_cast<size_t>(index)); }
  Integer GetCount() const override { return static_cast<Integer>(FLines.size()); }
  void Insert(Integer index, const String& s) override { FLines.insert(FLines.begin() + index, s); }
  void Delete(Integer index) override { FLines.erase(FLines.begin() + index); }
  void Clear() override { FLines.clear(); }
  std::vector<String> FLines;
};

TEST(Strings, SubclassGetsTextValuesAndStreams) {
  VectorStrings strings;
  strings.SetText(u"a=1\nb=2");
  EXPECT_EQ(strings.FLines, (std::vector<String>{u"a=1", u"b=2"}));
  strings.SetValues(u"A", u"3");
  EXPECT_EQ(strings.Text(), u"A=3\r\nb=2\r\n");  // the name as given
  strings.Exchange(0, 1);
  strings.Move(1, 0);
  EXPECT_EQ(strings.CommaText(), u"A=3,b=2");
  TMemoryStream stream;
  strings.SaveToStream(stream, TEncoding::UTF8());
  EXPECT_EQ(stream.Size(), 3 + 10);
}

// ---- Streams and files with encodings ----

struct EncodingCase {
  const char* name;
  TBytes bytes;
  Cardinal codePage;  // of the detected encoding
};

class StringListLoad : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(StringListLoad, DetectsTheByteOrderMark) {
  const EncodingCase& c = GetParam();
  TBytesStream stream(c.bytes);
  TStringList list;
  list.LoadFromStream(stream);
  EXPECT_EQ(list.Text(), u"\u00E9\r\nb\r\n");
  ASSERT_NE(list.Encoding(), nullptr);
  EXPECT_EQ(list.Encoding()->CodePage(), c.codePage);
  // Saving without an encoding uses the one found, with its preamble.
  TMemoryStream saved;
  list.SaveToStream(saved);
  TBytes expected = c.bytes;
  if (c.codePage == 65001 && expected[0] != 0xEF) expected.insert(expected.begin(), {0xEF, 0xBB, 0xBF});
  EXPECT_EQ(TBytes(saved.Memory(), saved.Memory() + saved.Size()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringListLoad,
    ::testing::Values(EncodingCase{"ansi", {0xE9, '\r', '\n', 'b', '\r', '\n'}, 1252},
                      EncodingCase{"utf8", {0xEF, 0xBB, 0xBF, 0xC3, 0xA9, '\r', '\n', 'b', '\r', '\n'}, 65001},
                      EncodingCase{"utf16le", {0xFF, 0xFE, 0xE9, 0, '\r', 0, '\n', 0, 'b', 0, '\r', 0, '\n', 0}, 1200},
                      EncodingCase{"utf16be", {0xFE, 0xFF, 0, 0xE9, 0, '\r', 0, '\n', 0, 'b', 0, '\r', 0, '\n'}, 1201}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StringList, LoadsWithAGivenEncodingAndSkipsItsPreamble) {
  TBytesStream withBom(TBytes{0xEF, 0xBB, 0xBF, 'x'});
  TStringList list;
  list.LoadFromStream(withBom, TEncoding::UTF8());
  EXPECT_EQ(list[0], u"x");
  TBytesStream withoutBom(TBytes{0xC3, 0xA9});
  list.LoadFromStream(withoutBom, TEncoding::UTF8());
  EXPECT_EQ(list[0], u"\u00E9");
  TMemoryStream saved;
  list.SetWriteBOM(false);
  list.SaveToStream(saved);
  EXPECT_EQ(saved.Size(), 4);  // the text and CR LF, no preamble
}

TEST(StringList, FilesRoundTripAndMissingFilesRaise) {
  TempFolder folder;
  TStringList list;
  list.SetText(u"\u00E9t\u00E9\r\nline 2");
  list.SaveToFile(folder.File(u"list.txt"), TEncoding::Unicode());
  TStringList back;
  back.LoadFromFile(folder.File(u"list.txt"));
  EXPECT_TRUE(back.Equals(list));
  EXPECT_EQ(back.Encoding(), TEncoding::Unicode());
  EXPECT_THROW(back.LoadFromFile(folder.File(u"missing.txt")), EFOpenError);
  EXPECT_TRUE(back.Equals(list));  // unchanged by the failure
}

}  // namespace
