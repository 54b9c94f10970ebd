#include "app/objectscan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/inspectorrows.h"
#include "classes/reflection.h"
#include "formfile/formconvert.h"
#include "rtl/streams.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"
#include "support/form_corpus.h"

namespace {

struct Lines : TStringList {
  explicit Lines(const String& text) { SetTextStr(text); }
};

// A registry knowing a control class and a non-visual one.
struct TestClasses {
  TClassInfo Persistent{u"TPersistent", u"Classes", nullptr, {}};
  TClassInfo Component{u"TComponent", u"Classes", &Persistent, {}};
  TClassInfo Control{u"TControl", u"Controls", &Component, {}};
  TClassInfo Button{u"TButton", u"StdCtrls", &Control, {}};
  TClassInfo Form{u"TForm", u"Forms", &Control, {}};
  TClassInfo Timer{u"TTimer", u"ExtCtrls", &Component, {}};
  TClassRegistry Registry;
  TestClasses() { Registry.RegisterClasses({&Control, &Button, &Form, &Timer}); }
};

TEST(ObjectScan, HeaderKeywordMustBeginTheLine) {
  struct Case {
    const char16_t* Line;
    THeaderKeyword Keyword;
  } cases[] = {
      {u"object Form1: TForm1", THeaderKeyword::Object},
      {u"  inherited Panel1: TPanel", THeaderKeyword::Inherited},
      {u"inherited X: TSomeobjectY", THeaderKeyword::Inherited},
      {u"    inline Frame1: TFrame1", THeaderKeyword::Inline},
      {u"Caption = 'object'", THeaderKeyword::None},
      {u"objects = <", THeaderKeyword::None},
      {u"object", THeaderKeyword::None},
      {u"end", THeaderKeyword::None},
      {u"", THeaderKeyword::None},
  };
  for (const Case& c : cases) EXPECT_EQ(ObjectHeaderKeyword(c.Line), c.Keyword) << std::string(StringToUTF8(c.Line));
}

TEST(ObjectScan, LabelSplitsNameAndClass) {
  struct Case {
    const char16_t* Label;
    const char16_t* Name;
    const char16_t* Class;
  } cases[] = {
      {u"Button1: TButton", u"Button1", u"TButton"},
      {u"TButton", u"", u"TButton"},
      {u"Button1: TButton [2]", u"Button1", u"TButton"},
      {u"A: B: C", u"A", u"B: C"},
  };
  for (const Case& c : cases) {
    TObjectLabel label = SplitObjectLabel(c.Label);
    EXPECT_EQ(label.Name, c.Name) << std::string(StringToUTF8(c.Label));
    EXPECT_EQ(label.ClassName, c.Class) << std::string(StringToUTF8(c.Label));
  }
  EXPECT_EQ(SplitObjectLabel(u"X: T" + String(400, u'y')).ClassName.size(), 255u);
}

TEST(ObjectScan, ObjectsCollectionsAndItems) {
  TestClasses classes;
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  Caption = 'object'\r\n"
      u"  object Button1: TButton\r\n"
      u"    Caption = 'OK'\r\n"
      u"  end\r\n"
      u"  object ListView1: TListView\r\n"
      u"    Columns = <\r\n"
      u"      item\r\n"
      u"        Width = 50\r\n"
      u"      end\r\n"
      u"      item\r\n"
      u"      end>\r\n"
      u"  end\r\n"
      u"  object Timer1: TTimer\r\n"
      u"  end\r\n"
      u"end\r\n");
  std::vector<TScannedNode> nodes = ScanObjectLines(text, &classes.Registry);
  ASSERT_EQ(nodes.size(), 7u);

  EXPECT_EQ(nodes[0].Parent, -1);
  EXPECT_EQ(nodes[0].Data.Name, u"Form1");
  EXPECT_EQ(nodes[0].Data.Kind, okRootObject);
  EXPECT_EQ(nodes[0].Data.ImageIndex, oiRoot);

  EXPECT_EQ(nodes[1].Parent, 0);
  EXPECT_EQ(nodes[1].Line, 2);
  EXPECT_EQ(nodes[1].Data.ClassName, u"TButton");
  EXPECT_EQ(nodes[1].Data.UnitName, u"StdCtrls");
  EXPECT_EQ(nodes[1].Data.ImageIndex, oiControl);
  EXPECT_EQ(nodes[1].Data.Kind, okObject);

  EXPECT_EQ(nodes[2].Data.Name, u"ListView1");
  EXPECT_EQ(nodes[2].Data.UnitName, u"");  // not registered
  EXPECT_EQ(nodes[3].Parent, 2);
  EXPECT_EQ(nodes[3].Data.Name, u"Columns");
  EXPECT_EQ(nodes[3].Data.ClassName, u"TCollection");
  EXPECT_EQ(nodes[3].Data.Kind, okCollection);
  EXPECT_EQ(nodes[3].Data.ImageIndex, oiCollection);
  EXPECT_EQ(nodes[4].Parent, 3);
  EXPECT_EQ(nodes[4].Data.Name, u"0 - item");
  EXPECT_EQ(nodes[4].Data.ClassName, u"TCollectionItem");
  EXPECT_EQ(nodes[4].Data.Kind, okCollectionItem);
  EXPECT_EQ(nodes[5].Data.Name, u"1 - item");
  EXPECT_EQ(nodes[5].Parent, 3);

  // A non-visual component is no control: its class descends from TComponent only.
  EXPECT_EQ(nodes[6].Parent, 0);
  EXPECT_EQ(nodes[6].Data.ImageIndex, oiOther);
  EXPECT_EQ(nodes[6].Data.UnitName, u"ExtCtrls");
}

TEST(ObjectScan, DepthStepsAndSecondRoot) {
  // A child four blanks deeper still hangs below the last node; a second
  // object at the root's depth right after the root hangs below it.
  Lines text(
      u"object A: TForm\r\n"
      u"      object B: TPanel\r\n"
      u"        object C: TPanel\r\n"
      u"        end\r\n"
      u"      end\r\n"
      u"  object D: TPanel\r\n"
      u"  end\r\n"
      u"end\r\n");
  std::vector<TScannedNode> nodes = ScanObjectLines(text, nullptr);
  ASSERT_EQ(nodes.size(), 4u);
  EXPECT_EQ(nodes[1].Parent, 0);
  EXPECT_EQ(nodes[2].Parent, 1);
  // From depth 4 up to depth 1: three steps up from C's parent B run out at the top.
  EXPECT_EQ(nodes[3].Parent, -1);

  std::vector<TScannedNode> twoRoots = ScanObjectLines(Lines(u"object A: TForm\r\nobject B: TForm\r\n"), nullptr);
  ASSERT_EQ(twoRoots.size(), 2u);
  EXPECT_EQ(twoRoots[1].Parent, 0);
}

TEST(ObjectScan, FramesHoldTheirChildren) {
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  object Panel1: TPanel\r\n"
      u"  end\r\n"
      u"  inline Frame1: TFrame1\r\n"
      u"    inherited Edit1: TEdit\r\n"
      u"    end\r\n"
      u"  end\r\n"
      u"end\r\n");
  std::vector<TScannedNode> nodes = ScanObjectLines(text, nullptr);
  ASSERT_EQ(nodes.size(), 4u);
  EXPECT_EQ(nodes[2].Data.Name, u"Frame1");
  EXPECT_EQ(nodes[2].Parent, 0);
  EXPECT_EQ(nodes[3].Data.Name, u"Edit1");
  EXPECT_EQ(nodes[3].Parent, 2);
}

TEST(ObjectScan, LiveObjectsNameCollectionsAndItems) {
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  object StatusBar1: TStatusBar\r\n"
      u"    Panels = <\r\n"
      u"      item\r\n"
      u"      end\r\n"
      u"      item\r\n"
      u"      end>\r\n"
      u"  end\r\n"
      u"end\r\n");
  TLiveObjectLookups live;
  live.CollectionTypeName = [](const String& component, const String& property) -> String {
    return component == u"StatusBar1" && property == u"Panels" ? u"TStatusPanels" : u"";
  };
  live.CollectionItem = [](const String&, const String&, Integer index) -> std::optional<TObjectLabel> {
    if (index == 0) return TObjectLabel{u"Time: now", u"TStatusPanel"};
    throw Exception(u"no such item");
  };
  std::vector<TScannedNode> nodes = ScanObjectLines(text, nullptr, live);
  ASSERT_EQ(nodes.size(), 5u);
  EXPECT_EQ(nodes[2].Data.ClassName, u"TStatusPanels");
  EXPECT_EQ(nodes[3].Data.Name, u"0 - Time_ now");
  EXPECT_EQ(nodes[3].Data.ClassName, u"TStatusPanel");
  // A failed lookup leaves the default label and still counts the item.
  EXPECT_EQ(nodes[4].Data.Name, u"1 - item");
}

// Category buttons: each category (an item) holds a collection of its own
// buttons. After a category's buttons the categories go on counting, and
// are named by the live object; the buttons are not asked of the object,
// whose properties are not theirs.
TEST(ObjectScan, CollectionsInsideItemsEndWithTheirItem) {
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  object CategoryButtons1: TCategoryButtons\r\n"
      u"    Categories = <\r\n"
      u"      item\r\n"
      u"        Caption = 'First'\r\n"
      u"        Items = <\r\n"
      u"          item\r\n"
      u"            Caption = 'a'\r\n"
      u"          end\r\n"
      u"          item\r\n"
      u"            Caption = 'b'\r\n"
      u"          end>\r\n"
      u"      end\r\n"
      u"      item\r\n"
      u"        Caption = 'Second'\r\n"
      u"        Items = <\r\n"
      u"          item\r\n"
      u"          end>\r\n"
      u"      end>\r\n"
      u"  end\r\n"
      u"  object Panel1: TPanel\r\n"
      u"  end\r\n"
      u"end\r\n");
  TLiveObjectLookups live;
  live.CollectionTypeName = [](const String& component, const String& property) -> String {
    return component == u"CategoryButtons1" && property == u"Categories" ? u"TButtonCategories" : u"";
  };
  live.CollectionItem = [](const String& component, const String& collection,
                           Integer index) -> std::optional<TObjectLabel> {
    if (component != u"CategoryButtons1" || collection != u"Categories" || index > 1) return std::nullopt;
    return TObjectLabel{index == 0 ? u"First" : u"Second", u"TButtonCategory"};
  };
  std::vector<TScannedNode> nodes = ScanObjectLines(text, nullptr, live);
  struct Expected {
    const char16_t* Name;
    const char16_t* Class;
    Integer Parent;
  };
  const Expected expected[] = {
      {u"Form1", u"TForm1", -1},           {u"CategoryButtons1", u"TCategoryButtons", 0},
      {u"Categories", u"TButtonCategories", 1}, {u"0 - First", u"TButtonCategory", 2},
      {u"Items", u"TCollection", 3},       {u"0 - item", u"TCollectionItem", 4},
      {u"1 - item", u"TCollectionItem", 4}, {u"1 - Second", u"TButtonCategory", 2},
      {u"Items", u"TCollection", 7},       {u"0 - item", u"TCollectionItem", 8},
      {u"Panel1", u"TPanel", 0},
  };
  ASSERT_EQ(nodes.size(), std::size(expected));
  for (size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_EQ(nodes[i].Data.Name, expected[i].Name) << i;
    EXPECT_EQ(nodes[i].Data.ClassName, expected[i].Class) << i;
    EXPECT_EQ(nodes[i].Parent, expected[i].Parent) << i;
  }
}

TEST(ObjectScan, StringValuesAreNoCollections) {
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  Caption = 'a = <b'\r\n"
      u"  Hint = 'item'\r\n"
      u"  Items = <>\r\n"
      u"end\r\n");
  std::vector<TScannedNode> nodes = ScanObjectLines(text, nullptr);
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[1].Data.Name, u"Items");
  EXPECT_EQ(nodes[1].Data.Kind, okCollection);
}

TEST(ObjectScan, UnknownClassesListedOnceAndNeverTheRoot) {
  TestClasses classes;
  Lines text(
      u"object Form1: TMyForm\r\n"
      u"  object A: TFancy\r\n"
      u"  end\r\n"
      u"  object B: TFANCY\r\n"
      u"  end\r\n"
      u"  object C: TButton\r\n"
      u"  end\r\n"
      u"  inline F: TMyFrame\r\n"
      u"  end\r\n"
      u"end\r\n");
  TStringList unknown;
  unknown.Add(u"stale");
  ListUnknownClasses(text, classes.Registry, unknown);
  ASSERT_EQ(unknown.Count(), 2);
  EXPECT_EQ(unknown[0], u"TFancy");
  EXPECT_EQ(unknown[1], u"TMyFrame");
}

TEST(ObjectScan, CaretFindsTheNearestHeaderAbove) {
  Lines text(
      u"object Form1: TForm1\r\n"
      u"  object Button1: TButton\r\n"
      u"    Caption = 'OK'\r\n"
      u"  end\r\n"
      u"  Width = 10\r\n"
      u"end\r\n");
  EXPECT_EQ(EnclosingObjectName(text, 2), u"Button1");
  EXPECT_EQ(EnclosingObjectName(text, 4), u"Button1");  // below the child's end still
  EXPECT_EQ(EnclosingObjectName(text, 0), u"Form1");
  EXPECT_EQ(EnclosingObjectName(text, 99), u"Button1");
  EXPECT_FALSE(EnclosingObjectName(Lines(u"  Width = 1\r\n"), 0));
  EXPECT_FALSE(EnclosingObjectName(TStringList(), 0));

  std::vector<TScannedNode> nodes = ScanObjectLines(text, nullptr);
  EXPECT_EQ(FindObjectNode(nodes, u"BUTTON1"), 1);
  EXPECT_EQ(FindObjectNode(nodes, u"Missing"), -1);
}

TEST(ObjectScan, IncrementalSearchComparesTheCommonPrefix) {
  EXPECT_TRUE(IncrementalSearchMatches(u"btn", u"BtnOK"));
  EXPECT_TRUE(IncrementalSearchMatches(u"BtnOKAndMore", u"BtnOK"));
  EXPECT_FALSE(IncrementalSearchMatches(u"bx", u"BtnOK"));
}

// Every real form: one node per object, inherited and inline header, one
// per collection and per item, and neither the scan nor the collection of an
// object's property lines reaches beyond the text.
TEST(ObjectScan, CorpusFormsGiveOneNodePerHeader) {
  std::vector<formfile_test::CorpusFile> files = formfile_test::CorpusFiles();
  ASSERT_FALSE(files.empty());
  Integer allCollections = 0;
  Integer allItems = 0;
  for (const formfile_test::CorpusFile& file : files) {
    std::string data = formfile_test::ReadWholeFile(file.File);
    std::string textBytes = data;
    if (formfile_test::DetectEncoding(data) == formfile_test::TFormEncoding::Binary) {
      TBytesStream input(TBytes(data.begin(), data.end()));
      TBytesStream output;
      FormBinaryToText(input, output);
      textBytes.assign(output.Bytes().begin(), output.Bytes().end());
    } else if (formfile_test::DetectEncoding(data) != formfile_test::TFormEncoding::Text) {
      continue;
    }
    TStringList lines;
    lines.SetTextStr(UTF8ToString(textBytes));
    Integer headers = 0;
    Integer collections = 0;
    Integer items = 0;
    std::vector<String> names;
    for (Integer i = 0; i < lines.Count(); ++i) {
      const String line = Trim(lines[i]);
      if (IsObjectHeader(line)) {
        ++headers;
        if (names.size() < 20) names.push_back(ObjectHeaderLabel(line)->Name);
      }
      // "Name = <" or "Name.Path = <>": a collection property.
      const size_t mark = line.find(u" = <");
      collections += mark != String::npos && mark > 0 &&
                     std::all_of(line.begin(), line.begin() + mark, [](Char c) {
                       return c == u'_' || c == u'.' || (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') ||
                              (c >= u'A' && c <= u'Z');
                     });
      items += line == u"item";
    }
    std::vector<TScannedNode> nodes = ScanObjectLines(lines, nullptr);
    Integer objects = 0;
    Integer collectionNodes = 0;
    Integer itemNodes = 0;
    for (const TScannedNode& node : nodes) {
      ASSERT_LT(node.Line, lines.Count()) << file.Path;
      ASSERT_LT(node.Parent, static_cast<Integer>(&node - nodes.data())) << file.Path;
      objects += node.Data.Kind == okObject || node.Data.Kind == okRootObject;
      collectionNodes += node.Data.Kind == okCollection;
      itemNodes += node.Data.Kind == okCollectionItem;
    }
    EXPECT_EQ(objects, headers) << file.Path;
    EXPECT_GT(objects, 0) << file.Path;
    EXPECT_EQ(collectionNodes, collections) << file.Path;
    EXPECT_EQ(itemNodes, items) << file.Path;
    allCollections += collections;
    allItems += items;
    // The property lines of the form's objects: every line collected is one of the text's.
    TStringList properties;
    for (const String& name : names) {
      ReadObjectProperties(lines, name, properties);
      EXPECT_LE(properties.Count(), lines.Count()) << file.Path;
    }
  }
  EXPECT_GT(allCollections, 0);
  EXPECT_GT(allItems, 0);
}

}  // namespace
