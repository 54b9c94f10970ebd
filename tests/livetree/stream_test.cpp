// The tree stream: golden bytes, round trips, the readers' errors on damaged
// streams, and copying and moving nodes between trees.
#include <gtest/gtest.h>

#include <functional>

#include "livetree/basetree.h"
#include "livetree/livetreestreamio.h"
#include "rtl/streams.h"
#include "rtl/unicode.h"
#include "support/livetree_fakehost.h"

namespace {

using namespace LiveTreeStreamIO;

// A tree whose nodes carry a name (an index into Names) and save it as their
// caller data.
struct NamedTree {
  TFakeLiveTreeHost Host;
  TBaseLiveTree Tree{&Host};
  std::vector<std::string> Names;
  bool SaveNames = true;

  NamedTree() {
    Host.Tree = &Tree;
    Tree.SetNodeDataSize(sizeof(Integer));
    Tree.TreeOptions().SetAutoOptions(Tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
    Tree.OnSaveNode = [this](TBaseLiveTree*, PLiveNode node, TStream& stream) {
      if (SaveNames) WriteInteger(stream, *Tree.GetNodeData<Integer>(node));
    };
    Tree.OnLoadNode = [this](TBaseLiveTree*, PLiveNode node, TStream& stream) {
      *Tree.GetNodeData<Integer>(node) = ReadInteger(stream);
    };
  }
  ~NamedTree() { DetachTreeEvents(Tree); }

  // Builds nodes from "A(B,C),D" under Parent.
  void Build(const std::string& text, PLiveNode parent = nullptr) {
    std::vector<PLiveNode> parents{parent};
    PLiveNode last = nullptr;
    std::string name;
    auto flush = [&] {
      if (name.empty()) return;
      last = Tree.AddChild(parents.back());
      *Tree.GetNodeData<Integer>(last) = Id(name);
      name.clear();
    };
    for (char c : text) {
      if (c == '(') {
        flush();
        parents.push_back(last);
      } else if (c == ')') {
        flush();
        parents.pop_back();
      } else if (c == ',') {
        flush();
      } else {
        name += c;
      }
    }
    flush();
  }
  Integer Id(const std::string& name) {
    for (size_t i = 0; i < Names.size(); ++i)
      if (Names[i] == name) return static_cast<Integer>(i);
    Names.push_back(name);
    return static_cast<Integer>(Names.size() - 1);
  }
  std::string Name(PLiveNode node) {
    Integer id = *Tree.GetNodeData<Integer>(node);
    return id >= 0 && static_cast<size_t>(id) < Names.size() ? Names[static_cast<size_t>(id)] : "?";
  }
  PLiveNode Find(const std::string& name) {
    for (PLiveNode run = Tree.GetFirstNoInit(); run; run = Tree.GetNextNoInit(run))
      if (Name(run) == name) return run;
    return nullptr;
  }
  // The structure as "A(B,C),D".
  std::string Describe(PLiveNode parent = nullptr) {
    std::string result;
    if (parent == nullptr) parent = Tree.RootNode();
    for (PLiveNode child = parent->FirstChild; child; child = child->NextSibling) {
      if (!result.empty()) result += ',';
      result += Name(child);
      if (child->FirstChild != nullptr) result += '(' + Describe(child) + ')';
    }
    return result;
  }
  TBytes Save(PLiveNode node = nullptr) {
    TBytesStream stream;
    Tree.SaveToStream(stream, node);
    return stream.Bytes();
  }
};

const TBytes Identifier{0x45, 0x20, 0x56, 0x00, 0x54, 0x00, 0x02, 0x00, 0x20, 0x00, 0x46, 0x20};

TBytes Concat(std::initializer_list<TBytes> parts) {
  TBytes result;
  for (const TBytes& part : parts) result.insert(result.end(), part.begin(), part.end());
  return result;
}

TBytes Le32(Integer value) {
  Cardinal bits = static_cast<Cardinal>(value);
  return {static_cast<Byte>(bits), static_cast<Byte>(bits >> 8), static_cast<Byte>(bits >> 16),
          static_cast<Byte>(bits >> 24)};
}

// A bare node chunk as the writer produces it.
TBytes BareNode(Word states, Integer children = 0, TBytes nested = {}) {
  TBytes base = Concat({Le32(2),
                        Le32(17 + static_cast<Integer>(nested.size())),
                        Le32(children),
                        Le32(18),
                        {static_cast<Byte>(states), static_cast<Byte>(states >> 8), 50, 0, 0},
                        Le32(0),
                        nested});
  return Concat({Le32(1), Le32(static_cast<Integer>(base.size())), base});
}

template <typename F>
int HelpContextOf(F&& action) {
  try {
    action();
  } catch (const ELiveTreeError& e) {
    return e.HelpContext();
  }
  return 0;
}

TEST(TreeStream, EmptyTreeAndBareNodeGoldenBytes) {
  NamedTree empty;
  EXPECT_EQ(empty.Save(), Concat({Identifier, Le32(0)}));
  EXPECT_EQ(empty.Save().size(), 16u);

  NamedTree one;
  one.SaveNames = false;
  one.Build("A");
  TBytes bytes = one.Save();
  EXPECT_EQ(bytes, Concat({Identifier, Le32(1), BareNode(0x81)}));
  EXPECT_EQ(bytes.size(), 16u + 33u) << "no caller-data chunk when nothing was written";

  one.SaveNames = true;
  TBytes withData = one.Save();
  EXPECT_EQ(withData, Concat({Identifier, Le32(1), Le32(1), Le32(25 + 12), TBytes(bytes.begin() + 24, bytes.end()),
                              Le32(4), Le32(4), Le32(0)}));
}

TEST(TreeStream, RoundTripKeepsStructureStatesAndData) {
  NamedTree source;
  source.Build("A(B(C),D),E(F)");
  source.Tree.ToggleNode(source.Find("A"));
  source.Tree.SetCheckType(source.Find("D"), ctCheckBox);
  source.Tree.SetCheckState(source.Find("D"), csCheckedNormal);
  source.Tree.SetNodeHeight(source.Find("E"), 30);
  TBytes bytes = source.Save();
  NamedTree target;
  target.Names = source.Names;
  TBytesStream stream(bytes);
  target.Tree.LoadFromStream(stream);
  EXPECT_EQ(target.Describe(), "A(B(C),D),E(F)");
  EXPECT_TRUE(target.Tree.Expanded(target.Find("A")));
  EXPECT_FALSE(target.Tree.Expanded(target.Find("E")));
  EXPECT_EQ(target.Find("D")->CheckState, csCheckedNormal);
  EXPECT_EQ(target.Find("D")->CheckType, ctCheckBox);
  EXPECT_EQ(target.Find("E")->Height(), 30);
  EXPECT_EQ(CheckTreeInvariants(target.Tree), "");
  TBytes again = target.Save();
  ASSERT_EQ(again.size(), bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) ASSERT_EQ(again[i], bytes[i]) << "saving the loaded tree differs at " << i;
}

TEST(TreeStream, SavedNodeLoadsAtTheTopLevel) {
  NamedTree source;
  source.Build("A(B(C),D),E");
  TBytes bytes = source.Save(source.Find("B"));
  EXPECT_EQ(TBytes(bytes.begin() + 12, bytes.begin() + 16), Le32(1));
  NamedTree target;
  target.Names = source.Names;
  TBytesStream stream(bytes);
  target.Tree.LoadFromStream(stream);
  EXPECT_EQ(target.Describe(), "B(C)");
}

TEST(TreeStream, TrailingCallerDataBelongsToTheTreeEvent) {
  NamedTree source;
  source.Build("A,B");
  source.Tree.OnSaveTree = [](TBaseLiveTree*, TStream& stream) { WriteInteger(stream, 4711); };
  TBytes bytes = source.Save();
  NamedTree target;
  target.Names = source.Names;
  Integer trailing = 0;
  int copied = 0;
  target.Tree.OnLoadTree = [&](TBaseLiveTree*, TStream& stream) { trailing = ReadInteger(stream); };
  target.Tree.OnNodeCopied = [&](TBaseLiveTree*, PLiveNode node) { copied += node == nullptr; };
  TBytesStream stream(bytes);
  target.Tree.LoadFromStream(stream);
  EXPECT_EQ(target.Describe(), "A,B");
  EXPECT_EQ(trailing, 4711);
  EXPECT_EQ(copied, 1);
}

TEST(TreeStream, OldVersionsReadChunksToTheEnd) {
  // Version 1: no count, a 12-byte body with a one-byte state set.
  TBytes body = Concat({Le32(0), Le32(18), {0x81, 50, 0, 0}});
  TBytes node = Concat({Le32(1), Le32(20), Le32(2), Le32(12), body});
  TBytes identifier = Identifier;
  identifier[6] = 1;
  NamedTree tree;
  tree.Tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  TBytesStream stream(Concat({identifier, node, node, node}));
  tree.Tree.LoadFromStream(stream);
  EXPECT_EQ(tree.Tree.RootNodeCount(), 3u);
  PLiveNode first = tree.Tree.GetFirst();
  EXPECT_TRUE(first->Has(vsVisible));
  EXPECT_TRUE(first->Has(vsSelected)) << "bit 7 of the old byte also selects";
  EXPECT_EQ(tree.Tree.SelectedCount(), 3);
  EXPECT_EQ(CheckTreeInvariants(tree.Tree), "");
}

TEST(TreeStream, SelectionNeedsMultiSelect) {
  NamedTree source;
  source.Tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  source.Build("A,B(C)");
  source.Tree.ToggleNode(source.Find("B"));
  source.Tree.SetSelected(source.Find("A"), true);
  source.Tree.SetSelected(source.Find("C"), true);
  TBytes bytes = source.Save();
  for (bool multi : {false, true}) {
    NamedTree target;
    target.Names = source.Names;
    if (multi) target.Tree.TreeOptions().SetSelectionOptions({toMultiSelect});
    TBytesStream stream(bytes);
    target.Tree.LoadFromStream(stream);
    EXPECT_EQ(target.Tree.SelectedCount(), multi ? 2 : 0);
    EXPECT_EQ(CheckTreeInvariants(target.Tree), "") << multi;
  }
}

TEST(TreeStream, ReadOnlyTreesReadNothing) {
  NamedTree source;
  source.Build("A,B");
  TBytes bytes = source.Save();
  NamedTree target;
  target.Build("X");
  target.Tree.TreeOptions().SetMiscOptions(target.Tree.TreeOptions().MiscOptions() + TLTMiscOptions{toReadOnly});
  TBytesStream stream(bytes);
  target.Tree.LoadFromStream(stream);
  target.Tree.AddFromStream(stream, target.Tree.RootNode());
  EXPECT_EQ(target.Describe(), "X");
  EXPECT_EQ(stream.Position(), 0);
}

// Damaged streams: each case is a stream and the error it raises.
struct DamageCase {
  const char* name;
  std::function<TBytes()> bytes;
  int helpContext;  // 0: the stream's own read error
};

class TreeStreamDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(TreeStreamDamage, RaisesTheFormatErrors) {
  NamedTree tree;
  tree.Id("nameless");  // loaded nodes without data read as this one
  tree.Build("Old");
  TBytesStream stream(GetParam().bytes());
  if (GetParam().helpContext == 0) {
    EXPECT_THROW(tree.Tree.LoadFromStream(stream), EReadError);
  } else {
    EXPECT_EQ(HelpContextOf([&] { tree.Tree.LoadFromStream(stream); }), GetParam().helpContext);
  }
  EXPECT_EQ(tree.Tree.UpdateCount(), 0u) << "the update bracket is closed";
  EXPECT_EQ(tree.Find("Old"), nullptr) << "the tree was emptied first";
  EXPECT_EQ(CheckTreeInvariants(tree.Tree), "");
}

TBytes WithUnit(Integer unit, Byte value) {
  TBytes bytes = Concat({Identifier, Le32(0)});
  bytes[static_cast<size_t>(unit) * 2] = value;
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TreeStreamDamage,
    ::testing::Values(
        DamageCase{"short identifier", [] { return TBytes(Identifier.begin(), Identifier.begin() + 11); }, 2004},
        DamageCase{"wrong start", [] { return WithUnit(0, 0x44); }, 2002},
        DamageCase{"wrong end", [] { return WithUnit(5, 0x47); }, 2002},
        DamageCase{"version 3", [] { return WithUnit(3, 3); }, 2003},
        DamageCase{"missing count", [] { return Identifier; }, 0},
        DamageCase{"no anchor",
                   [] {
                     return Concat({Identifier, Le32(1), Le32(2), Le32(0)});
                   },
                   2005},
        DamageCase{"short anchor header",
                   [] {
                     return Concat({Identifier, Le32(1), Le32(1)});
                   },
                   2005},
        DamageCase{"anchor beyond the end",
                   [] {
                     return Concat({Identifier, Le32(1), Le32(1), Le32(100)});
                   },
                   2006},
        DamageCase{"short body",
                   [] {
                     TBytes node = BareNode(0x81);
                     return Concat({Identifier, Le32(1), Le32(1), Le32(16), TBytes(node.begin() + 8, node.end() - 9)});
                   },
                   2006},
        DamageCase{"parts end after the node",
                   [] {
                     TBytes node = BareNode(0x81);
                     node[4] = 24;  // one byte short: the body runs past the declared end
                     return Concat({Identifier, Le32(1), node});
                   },
                   2006},
        DamageCase{"parts end before the node",
                   [] {
                     TBytes node = BareNode(0x81);
                     node[4] = 27;  // two stray bytes follow the parts
                     return Concat({Identifier, Le32(1), node, {0, 0}});
                   },
                   2006},
        DamageCase{"children beyond the node",
                   [] {
                     return Concat({Identifier, Le32(1), BareNode(0x81, 1000)});
                   },
                   2006},
        DamageCase{"nested child without anchor",
                   [] {
                     return Concat({Identifier, Le32(1), BareNode(0x81, 1, Concat({Le32(3), Le32(0)}))});
                   },
                   2005},
        DamageCase{"caller data beyond the node",
                   [] {
                     TBytes node = BareNode(0x81);
                     TBytes extra = Concat({Le32(4), Le32(50)});
                     node[4] = static_cast<Byte>(node[4] + extra.size());
                     return Concat({Identifier, Le32(1), node, extra});
                   },
                   2006}),
    [](const ::testing::TestParamInfo<DamageCase>& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST(TreeStream, UnknownPartsAreSkippedAndCodeUnitFourIsFree) {
  TBytes node = BareNode(0x81);
  TBytes unknown = Concat({Le32(77), Le32(3), {1, 2, 3}});
  node[4] = static_cast<Byte>(node[4] + unknown.size());
  TBytes identifier = Identifier;
  identifier[8] = 0x99;
  NamedTree tree;
  TBytesStream stream(Concat({identifier, Le32(1), node, unknown}));
  tree.Tree.LoadFromStream(stream);
  EXPECT_EQ(tree.Tree.RootNodeCount(), 1u);
}

TEST(TreeStream, AddFromStreamReadsTheIdentifierExactly) {
  NamedTree tree;
  tree.Build("A");
  TBytesStream shortStream(TBytes(Identifier.begin(), Identifier.begin() + 5));
  EXPECT_THROW(tree.Tree.AddFromStream(shortStream, tree.Tree.RootNode()), EReadError);
  TBytesStream wrong(WithUnit(1, 0x57));
  EXPECT_EQ(HelpContextOf([&] { tree.Tree.AddFromStream(wrong, tree.Tree.RootNode()); }), 2003);

  NamedTree source;
  source.Build("X(Y),Z");
  TBytesStream stream(source.Save());
  tree.Names = source.Names;
  tree.Id("A");
  PLiveNode a = tree.Tree.GetFirst();
  *tree.Tree.GetNodeData<Integer>(a) = tree.Id("A");
  PLiveNode reported = nullptr;
  tree.Tree.OnNodeCopied = [&](TBaseLiveTree*, PLiveNode node) { reported = node; };
  tree.Tree.AddFromStream(stream, a);
  EXPECT_EQ(tree.Describe(), "A(X(Y),Z)");
  EXPECT_EQ(reported, a);
  EXPECT_EQ(CheckTreeInvariants(tree.Tree), "");
}

TEST(TreeStream, ChildrenOfUninitialisedNodesAreWritten) {
  NamedTree source;
  source.Tree.TreeOptions().SetMiscOptions(source.Tree.TreeOptions().MiscOptions() - TLTMiscOptions{toInitOnSave});
  source.Build("A,B");
  PLiveNode a = source.Find("A");
  // Children made by count on a node that was never initialised.
  a->Exclude({vsInitialized});
  source.Tree.SetChildCount(a, 2);
  ASSERT_FALSE(a->Has(vsInitialized));
  NamedTree target;
  target.Names = source.Names;
  target.Tree.TreeOptions().SetMiscOptions(target.Tree.TreeOptions().MiscOptions() - TLTMiscOptions{toInitOnSave});
  source.SaveNames = false;
  TBytesStream stream(source.Save());
  target.Tree.LoadFromStream(stream);
  EXPECT_EQ(target.Tree.RootNodeCount(), 2u) << "the children are not taken for siblings";
  EXPECT_EQ(target.Tree.RootNode()->FirstChild->ChildCount, 2u);
  EXPECT_EQ(CheckTreeInvariants(target.Tree), "");
}

TEST(TreeStream, TransientStatesFromOutsideAreDropped) {
  // A node whose stored states claim it is being deleted, checked, cut,
  // measured and toggled.
  Word states = 0x81 | (1 << vsDeleting) | (1 << vsChecking) | (1 << vsCutOrCopy) | (1 << vsClearing) |
                (1 << vsToggling) | (1 << vsHeightMeasured) | (1 << vsOnFreeNodeCallRequired);
  NamedTree tree;
  int freed = 0;
  tree.Tree.OnFreeNode = [&](TBaseLiveTree*, PLiveNode) { ++freed; };
  TBytesStream stream(Concat({Identifier, Le32(2), BareNode(states), BareNode(0x81)}));
  tree.Tree.LoadFromStream(stream);
  PLiveNode first = tree.Tree.GetFirst();
  EXPECT_EQ(first->GetStates(), (TLiveNodeStates{vsInitialized, vsVisible}));
  EXPECT_EQ(CheckTreeInvariants(tree.Tree), "");
  tree.Tree.DeleteNode(first);
  EXPECT_EQ(tree.Tree.RootNodeCount(), 1u) << "a node that claimed to be deleting is really deleted";
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(CheckTreeInvariants(tree.Tree), "");
}

// ---- Between trees ----

TEST(TreeCopy, CopyToAnotherTreeKeepsOrderAndData) {
  NamedTree source, target;
  source.Build("A(B,C(D)),E");
  target.Names = source.Names;
  target.Build("X,Y");
  PLiveNode copy = source.Tree.CopyTo(source.Find("A"), target.Find("X"), amInsertAfter, false);
  EXPECT_EQ(target.Name(copy), "A");
  EXPECT_EQ(target.Describe(), "X,A(B,C(D)),Y");
  PLiveNode result = source.Tree.CopyTo(source.Find("A"), target.Find("Y"), amAddChildFirst, true);
  EXPECT_EQ(result, target.Find("Y")) << "children only returns the target";
  EXPECT_EQ(target.Describe(), "X,A(B,C(D)),Y(B,C(D))");
  EXPECT_EQ(source.Describe(), "A(B,C(D)),E") << "the source stays";
  EXPECT_EQ(CheckTreeInvariants(target.Tree), "");
  EXPECT_EQ(CheckTreeInvariants(source.Tree), "");
}

TEST(TreeCopy, CopyWithinOneTreeGoesThroughTheStream) {
  NamedTree tree;
  tree.Build("A(B),C");
  tree.Tree.CopyTo(tree.Find("A"), tree.Find("A"), amAddChildLast, false);
  EXPECT_EQ(tree.Describe(), "A(B,A(B)),C");
  tree.Tree.CopyTo(tree.Find("C"), static_cast<PLiveNode>(nullptr), amAddChildLast, false);
  EXPECT_EQ(tree.Describe(), "C,A(B,A(B)),C") << "nil is the root, first";
  EXPECT_EQ(CheckTreeInvariants(tree.Tree), "");
}

TEST(TreeCopy, RefusedCopiesLeaveTheTargetUnchanged) {
  NamedTree source, target;
  source.Build("A(B,C)");
  target.Names = source.Names;
  target.Build("X");
  source.Tree.OnNodeCopying = [](TBaseLiveTree*, PLiveNode, PLiveNode, bool& allowed) { allowed = false; };
  EXPECT_EQ(source.Tree.CopyTo(source.Find("A"), &target.Tree, amAddChildLast, false), nullptr);
  EXPECT_EQ(source.Tree.CopyTo(source.Find("A"), target.Find("X"), amAddChildLast, true), target.Find("X"));
  EXPECT_EQ(target.Describe(), "X");
  EXPECT_EQ(CheckTreeInvariants(target.Tree), "");
}

TEST(TreeCopy, MoveToAnotherTreeRemovesTheSource) {
  NamedTree source, target;
  source.Build("A(B,C),D");
  target.Names = source.Names;
  target.Build("X");
  std::vector<std::string> moved;
  source.Tree.OnNodeMoved = [&](TBaseLiveTree*, PLiveNode node) { moved.push_back(target.Name(node)); };
  PLiveNode reported = source.Find("D");
  source.Tree.OnStructureChange = [&](TBaseLiveTree*, PLiveNode node, TChangeReason reason) {
    if (reason == crNodeMoved) reported = node;
  };
  source.Tree.MoveTo(source.Find("A"), target.Find("X"), amInsertBefore, false);
  EXPECT_EQ(target.Describe(), "A(B,C),X");
  EXPECT_EQ(source.Describe(), "D");
  EXPECT_EQ(moved, (std::vector<std::string>{"A"}));
  EXPECT_EQ(reported, nullptr) << "the moved node no longer exists in the source";
  source.Tree.MoveTo(source.Find("D"), &target.Tree, amAddChildLast, false);
  EXPECT_EQ(target.Describe(), "A(B,C),X,D");
  target.Tree.MoveTo(target.Find("A"), source.Tree.RootNode(), amAddChildLast, true);
  EXPECT_EQ(source.Describe(), "B,C");
  EXPECT_EQ(target.Describe(), "A,X,D");
  EXPECT_EQ(CheckTreeInvariants(target.Tree), "");
  EXPECT_EQ(CheckTreeInvariants(source.Tree), "");
}

TEST(TreeCopy, RandomTreesRoundTripThroughTheStream) {
  std::uint32_t seed = 12345;
  auto next = [&seed](std::uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  for (int round = 0; round < 20; ++round) {
    NamedTree source;
    for (int i = 0; i < 60; ++i) {
      std::vector<PLiveNode> all{nullptr};
      for (PLiveNode run = source.Tree.GetFirstNoInit(); run; run = source.Tree.GetNextNoInit(run)) all.push_back(run);
      PLiveNode parent = all[next(static_cast<std::uint32_t>(all.size()))];
      PLiveNode node = source.Tree.AddChild(parent);
      *source.Tree.GetNodeData<Integer>(node) = source.Id("n" + std::to_string(i));
      if (next(4) == 0 && parent != nullptr) source.Tree.ToggleNode(parent);
    }
    NamedTree target;
    target.Names = source.Names;
    TBytesStream stream(source.Save());
    target.Tree.LoadFromStream(stream);
    ASSERT_EQ(target.Describe(), source.Describe());
    ASSERT_EQ(target.Tree.VisibleCount(), source.Tree.VisibleCount());
    ASSERT_EQ(CheckTreeInvariants(target.Tree), "");
  }
}

TEST(TreeStream, HiddenFirstChildInChildrenAboveOrder) {
  NamedTree source;
  source.Build("Z,A(B,C)");
  source.Tree.ToggleNode(source.Find("A"));
  source.Find("B")->Exclude({vsVisible});
  TBytes bytes = source.Save();
  NamedTree target;
  target.Names = source.Names;
  target.Tree.TreeOptions().SetPaintOptions(target.Tree.TreeOptions().PaintOptions() +
                                            TLTPaintOptions{toChildrenAbove});
  TBytesStream stream(bytes);
  target.Tree.LoadFromStream(stream);
  ASSERT_EQ(CheckTreeInvariants(target.Tree), "");
  auto walk = [&](PLiveNode first, const std::function<PLiveNode(PLiveNode)>& step) {
    std::string names;
    for (PLiveNode run = first; run != nullptr && names.size() < 40; run = step(run))
      names += (names.empty() ? "" : " ") + target.Name(run);
    return names;
  };
  TBaseLiveTree& tree = target.Tree;
  EXPECT_EQ(walk(tree.GetFirstVisible(), [&](PLiveNode n) { return tree.GetNextVisible(n); }), "Z C A");
  EXPECT_EQ(walk(tree.GetFirstVisibleNoInit(), [&](PLiveNode n) { return tree.GetNextVisibleNoInit(n); }), "Z C A");
  EXPECT_EQ(walk(tree.GetLastVisible(), [&](PLiveNode n) { return tree.GetPreviousVisible(n); }), "A C Z");
  Integer top = -1;
  PLiveNode third = tree.GetNodeAt(0, 2 * 18 + 1, true, top);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(target.Name(third), "A");
  EXPECT_EQ(top, 36);
}

}  // namespace
