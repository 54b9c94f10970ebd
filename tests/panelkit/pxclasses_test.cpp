// The flat tree: order and counts as nodes are added, inserted, freed and
// sorted, siblings, children by index, and the small free helpers.
#include <gtest/gtest.h>

#include <string>

#include "panelkit/pxclasses.h"
#include "rtl/exceptions.h"
#include "rtl/formatsettings.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"

namespace {

std::string Order(const TPxTreeNodes& nodes) {
  std::string result;
  for (Integer i = 0; i < nodes.Count(); ++i) {
    if (!result.empty()) result += ' ';
    const TPxTreeNode* node = nodes.Node(i);
    result += std::string(static_cast<size_t>(node->Level()), '.') + StringToUTF8(node->Text());
  }
  return result;
}

TPxTreeNode* Add(TPxTreeNodes& nodes, TPxTreeNode* parent, const char16_t* text) {
  TPxTreeNode* node = nodes.AddChild(parent);
  node->SetText(text);
  return node;
}

class TreeNodesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    first = Add(nodes, nullptr, u"first");
    second = Add(nodes, nullptr, u"second");
    third = Add(nodes, nullptr, u"third");
    child = Add(nodes, first, u"child");
  }
  TPxTreeNodes nodes;
  TPxTreeNode* first = nullptr;
  TPxTreeNode* second = nullptr;
  TPxTreeNode* third = nullptr;
  TPxTreeNode* child = nullptr;
};

TEST_F(TreeNodesTest, ChildrenFollowTheirParents) {
  EXPECT_EQ(Order(nodes), "first .child second third");
  EXPECT_EQ(first->Count(), 1);
  EXPECT_EQ(nodes.GetItemCount(nullptr), 3);
  EXPECT_EQ(child->Parent(), first);
  EXPECT_TRUE(child->Hidden()) << "the parent is collapsed";
  EXPECT_EQ(third->AbsoluteIndex(), 3);

  auto firstChild = std::make_unique<TPxTreeNode>();
  firstChild->SetText(u"early");
  nodes.AddItem(first, std::move(firstChild), apFirst);
  auto top = std::make_unique<TPxTreeNode>();
  top->SetText(u"zero");
  nodes.AddItem(nullptr, std::move(top), apFirst);
  EXPECT_EQ(Order(nodes), "zero first .early .child second third");
  EXPECT_EQ(nodes.GetItemCount(nullptr), 4);
  EXPECT_EQ(nodes.GetChildNode(first, 1), child);
}

TEST_F(TreeNodesTest, SiblingsAndChildrenByIndex) {
  EXPECT_EQ(third->GetFirstSibling(), first);
  EXPECT_EQ(first->GetLastSibling(), third);
  EXPECT_EQ(child->GetFirstSibling(), child);
  EXPECT_EQ(nodes.GetChildNode(first, 0), child);
  for (Integer bad : {1, -1}) {
    try {
      nodes.GetChildNode(first, bad);
      ADD_FAILURE() << "no error for " << bad;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), u"Index out of bounds (" + IntToStr(bad) + u") for TPxTreeNodes.");
    }
  }
}

TEST_F(TreeNodesTest, InsertingTakesTheItemsParent) {
  EXPECT_EQ(nodes.Insert(first, u"nope"), nullptr) << "a top-level item takes no sibling this way";
  EXPECT_EQ(nodes.Insert(nullptr, u"nope"), nullptr);
  TPxTreeNode* before = nodes.Insert(child, u"before");
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(Order(nodes), "first .before .child second third");
  EXPECT_EQ(first->Count(), 2);
  EXPECT_EQ(before->Parent(), first);
}

TEST_F(TreeNodesTest, FreeingANodeTakesItsSubtreeAndCountsRight) {
  Add(nodes, child, u"grandchild");
  Add(nodes, first, u"child2");
  std::vector<std::string> deleted;
  nodes.OnDeleted = [&](TPxTreeNodes*, TPxTreeNode* item) { deleted.push_back(StringToUTF8(item->Text())); };
  EXPECT_EQ(Order(nodes), "first .child ..grandchild .child2 second third");
  nodes.Free(child);
  EXPECT_EQ(Order(nodes), "first .child2 second third");
  EXPECT_EQ(first->Count(), 1);
  EXPECT_EQ(deleted, (std::vector<std::string>{"grandchild", "child"}));
  nodes.Delete(0);
  EXPECT_EQ(Order(nodes), "second third");
  EXPECT_EQ(nodes.GetItemCount(nullptr), 2) << "a freed top-level node leaves the count";
  nodes.Clear();
  EXPECT_TRUE(nodes.Empty());
  EXPECT_EQ(nodes.GetItemCount(nullptr), 0);
}

TEST_F(TreeNodesTest, SortingKeepsEverySubtreeTogether) {
  Add(nodes, child, u"Zulu");
  Add(nodes, child, u"alpha");
  Add(nodes, third, u"b");
  Add(nodes, third, u"A");
  TPxTreeNode* moved = Add(nodes, nullptr, u"Apple");
  Add(nodes, moved, u"core");
  nodes.Sort();
  EXPECT_EQ(Order(nodes), "Apple .core first .child ..alpha ..Zulu second third .A .b");
  EXPECT_EQ(nodes.GetChildNode(third, 0)->Text(), u"A");
  EXPECT_EQ(third->Count(), 2);
}

TEST_F(TreeNodesTest, FindsNodesByData) {
  int data = 0;
  second->SetData(&data);
  EXPECT_EQ(nodes.Find(&data), second);
  EXPECT_EQ(nodes.GetNodeOf(&data), second);
  int other = 0;
  EXPECT_EQ(nodes.Find(&other), nullptr);
  nodes.ClearChildren(first);
  EXPECT_EQ(Order(nodes), "first second third");
  EXPECT_FALSE(first->HasChildren());
}

TEST(PxHelpersTest, ClampAndListValues) {
  struct Case {
    Integer Value, Expected;
  } cases[] = {{300, 255}, {-4, 0}, {17, 17}};
  for (const Case& c : cases) {
    Integer value = c.Value;
    ClampValue(value, 0, 255);
    EXPECT_EQ(value, c.Expected);
  }
  const std::vector<String> lines = {u"name=value", u"novalue", u"empty="};
  EXPECT_EQ(GetListValue(lines, 0), u"value");
  EXPECT_EQ(GetListValue(lines, 1), u"ovalue");
  EXPECT_EQ(GetListValue(lines, 2), u"");
  EXPECT_EQ(GetListValue(lines, -1), u"");
  EXPECT_EQ(GetListValue(lines, 3), u"");
}

TEST(PxHelpersTest, LocaleSettingsFollowTheProcessSettings) {
  const TFormatSettings saved = FormatSettings();
  FormatSettings().DateSeparator = u'.';
  FormatSettings().LongDayNames[0] = u"Sonntag";
  EXPECT_EQ(LocalSettings().DateSeparator(), u'.');
  EXPECT_EQ(LocalSettings().LongDayName(1), u"Sonntag");
  EXPECT_EQ(LocalSettings().LongDayName(7), u"Saturday");
  EXPECT_EQ(LocalSettings().LongMonthName(12), u"December");
  for (Integer outside : {0, 8, -1}) EXPECT_EQ(LocalSettings().LongDayName(outside), u"");
  EXPECT_EQ(LocalSettings().LongMonthName(13), u"");
  EXPECT_EQ(LocalSettings().TimeSeparator(), u':');
  FormatSettings() = saved;
}

}  // namespace
