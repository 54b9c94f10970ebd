// A string tree on the fake host whose nodes show the names they were added
// with, for tests that drive the tree as a user would.
#pragma once

#include <gtest/gtest.h>

#include <map>

#include "livetree/stringtree.h"
#include "support/livetree_fakehost.h"

class NamedTreeTest : public ::testing::Test {
 protected:
  NamedTreeTest() {
    host.Tree = &tree;
    host.Height = 100;
    tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
    tree.OnGetText = [this](TBaseLiveTree*, PLiveNode node, TColumnIndex, TLSTTextType type, String& text) {
      if (type == ttNormal && names.count(node)) text = names[node];
    };
  }
  ~NamedTreeTest() override {
    DetachTreeEvents(tree);
    tree.OnGetText = nullptr;
  }
  PLiveNode Add(const String& name, PLiveNode parent = nullptr) {
    PLiveNode node = tree.AddChild(parent);
    names[node] = name;
    return node;
  }

  TFakeLiveTreeHost host;
  TLiveStringTree tree{&host};
  std::map<PLiveNode, String> names;
};
