#include "support/livetree_fakehost.h"

#include <algorithm>
#include <sstream>

#include "livetree/livetreeworker.h"

void TFakeLiveTreeHost::FireTimer(int id) {
  if (TimerRunning(id) && Tree != nullptr) Tree->TimerFired(id);
}

bool TFakeLiveTreeHost::RunInterfaceCalls() {
  return Tree != nullptr && Tree->DispatchHandOvers();
}

void TFakeLiveTreeHost::WaitForBuilder() {
  TWorkerThread* worker = TWorkerThread::Instance();
  if (worker == nullptr || Tree == nullptr) return;
  while (worker->WaitForHandOver(Tree)) {
  }
}

TSize TFakeLiveTreeHost::TextExtent(const TLiveTreeFont& font, StringView text) {
  Integer width = CharWidth + (font.Style.Contains(fsBold) ? 1 : 0);
  return TSize{static_cast<Integer>(text.size()) * width, LineHeight};
}

TSize TFakeLiveTreeHost::WrappedTextExtent(const TLiveTreeFont& font, StringView text, Integer width) {
  // Greedy breaking at spaces; a word wider than the line stands alone.
  Integer charWidth = CharWidth + (font.Style.Contains(fsBold) ? 1 : 0);
  Integer lines = text.empty() ? 0 : 1, lineWidth = 0, widest = 0;
  size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    size_t end = text.find(u' ', start);
    if (end == StringView::npos) end = text.size();
    Integer word = static_cast<Integer>(end - start) * charWidth;
    Integer needed = lineWidth == 0 ? word : lineWidth + charWidth + word;
    if (lineWidth > 0 && needed > width) {
      ++lines;
      lineWidth = word;
    } else {
      lineWidth = needed;
    }
    widest = std::max(widest, lineWidth);
    start = end + 1;
  }
  return TSize{widest, lines * LineHeight};
}

TSize TFakeLiveTreeHost::ImageListSize(TLTImageListKind kind) {
  auto found = ImageLists.find(kind);
  return found == ImageLists.end() ? TSize{} : found->second;
}

TLiveTreeFont TFakeLiveTreeHost::CanvasFont(TCanvas* canvas) {
  return canvas != nullptr ? FontOf(canvas) : TLiveTreeFont{};
}

void TFakeLiveTreeHost::SetCanvasFont(TCanvas* canvas, const TLiveTreeFont& font) {
  if (canvas != nullptr) FontOf(canvas) = font;
}

void DetachTreeEvents(TBaseLiveTree& tree) {
  tree.OnAddToSelection = nullptr;
  tree.OnChange = nullptr;
  tree.OnChecked = nullptr;
  tree.OnChecking = nullptr;
  tree.OnCollapsed = nullptr;
  tree.OnCollapsing = nullptr;
  tree.OnCompareNodes = nullptr;
  tree.OnDragAllowed = nullptr;
  tree.OnEditCancelled = nullptr;
  tree.OnEdited = nullptr;
  tree.OnEditing = nullptr;
  tree.OnEndOperation = nullptr;
  tree.OnExpanded = nullptr;
  tree.OnExpanding = nullptr;
  tree.OnFocusChanged = nullptr;
  tree.OnFocusChanging = nullptr;
  tree.OnFreeNode = nullptr;
  tree.OnGetCellIsEmpty = nullptr;
  tree.OnGetHelpContext = nullptr;
  tree.OnGetNodeDataSize = nullptr;
  tree.OnHotChange = nullptr;
  tree.OnIncrementalSearch = nullptr;
  tree.OnInitChildren = nullptr;
  tree.OnInitNode = nullptr;
  tree.OnMeasureItem = nullptr;
  tree.OnNodeCopied = nullptr;
  tree.OnNodeCopying = nullptr;
  tree.OnNodeMoved = nullptr;
  tree.OnNodeMoving = nullptr;
  tree.OnRemoveFromSelection = nullptr;
  tree.OnResetNode = nullptr;
  tree.OnScroll = nullptr;
  tree.OnShowScrollBar = nullptr;
  tree.OnStartOperation = nullptr;
  tree.OnStateChange = nullptr;
  tree.OnStructureChange = nullptr;
  tree.OnUpdating = nullptr;
  tree.OnGetImageIndex = nullptr;
  tree.OnKeyAction = nullptr;
  tree.OnBeforeCellPaint = nullptr;
  tree.OnSaveNode = nullptr;
  tree.OnLoadNode = nullptr;
  tree.OnSaveTree = nullptr;
  tree.OnLoadTree = nullptr;
  tree.OnColumnResize = nullptr;
  tree.OnAfterAutoFitColumn = nullptr;
  tree.OnAfterAutoFitColumns = nullptr;
  tree.OnBeforeAutoFitColumn = nullptr;
  tree.OnBeforeAutoFitColumns = nullptr;
  tree.OnBeforeGetMaxColumnWidth = nullptr;
  tree.OnAfterGetMaxColumnWidth = nullptr;
  tree.OnCanSplitterResizeColumn = nullptr;
  tree.OnHeaderClick = nullptr;
  tree.OnHeaderDblClick = nullptr;
}

namespace {

struct Checker {
  TBaseLiveTree& Tree;
  std::ostringstream Problems;
  Cardinal SelectedFlags = 0;
  Cardinal Shown = 0;

  bool Filtered(PLiveNode node) const { return Tree.GetEffectivelyFiltered(node); }

  void Fail(PLiveNode node, const std::string& what) { Problems << "node " << node << ": " << what << "\n"; }

  // Returns the node's expected total height; AncestorsShown tells whether
  // every ancestor below the root is expanded and visible.
  void Check(PLiveNode node, bool ancestorsShown, Cardinal depth) {
    bool isRoot = node == Tree.RootNode();
    TLiveNodeStates states = node->GetStates();
    if (states.Contains(vsSelected)) ++SelectedFlags;
    for (TLiveNodeState transient : {vsChecking, vsDeleting, vsClearing, vsToggling})
      if (states.Contains(transient)) Fail(node, "transient state left set");
    if (!isRoot && ancestorsShown && Tree.GetEffectivelyVisible(node)) ++Shown;
    if (depth > 10000) {
      Fail(node, "too deep");
      return;
    }
    Cardinal count = 0, totalCount = 1;
    Int64 totalHeight = (!isRoot && Filtered(node)) ? 0 : node->Height();
    PLiveNode previous = nullptr;
    bool childrenShown = (isRoot || (ancestorsShown && states.Contains(vsExpanded) && states.Contains(vsVisible)));
    for (PLiveNode child = node->FirstChild; child; child = child->NextSibling) {
      if (child->Parent != node) Fail(child, "parent link");
      if (child->PrevSibling != previous) Fail(child, "previous sibling link");
      if (child->Index != count) Fail(child, "index " + std::to_string(child->Index) + " at " + std::to_string(count));
      Check(child, childrenShown, depth + 1);
      totalCount += child->TotalCount;
      if (states.Contains(vsExpanded) && child->Has(vsVisible)) totalHeight += child->TotalHeight;
      previous = child;
      ++count;
      if (count > 100000000) break;
    }
    if (node->LastChild != previous) Fail(node, "last child link");
    if (count != node->ChildCount)
      Fail(node, "child count " + std::to_string(node->ChildCount) + " but " + std::to_string(count) + " children");
    if (node->TotalCount != totalCount) Fail(node, "total count");
    if (node->TotalHeight != totalHeight)
      Fail(node, "total height " + std::to_string(node->TotalHeight) + " expected " + std::to_string(totalHeight));
    if (count > 0 && !states.Contains(vsHasChildren)) Fail(node, "children without vsHasChildren");
    if (!isRoot && count == 0 && states.Contains(vsExpanded)) Fail(node, "expanded without children");
  }
};

}  // namespace

std::string CheckTreeInvariants(TBaseLiveTree& tree) {
  Checker checker{tree, {}, 0, 0};
  PLiveNode root = tree.RootNode();
  if (root->NextSibling != root || root->PrevSibling != root) checker.Fail(root, "root sibling links");
  checker.Check(root, true, 0);
  if (checker.Shown != tree.VisibleCount())
    checker.Problems << "visible count " << tree.VisibleCount() << " but " << checker.Shown << " shown\n";
  const TNodeArray& selection = tree.SelectionArray();
  for (size_t i = 0; i < selection.size(); ++i) {
    auto address = reinterpret_cast<std::uintptr_t>(selection[i]);
    if (address & 1u) {
      checker.Problems << "flagged selection entry left\n";
      continue;
    }
    if (i > 0 && reinterpret_cast<std::uintptr_t>(selection[i - 1]) >= address)
      checker.Problems << "selection not ascending\n";
    if (!selection[i]->Has(vsSelected)) checker.Problems << "selection entry without vsSelected\n";
  }
  if (checker.SelectedFlags != selection.size())
    checker.Problems << checker.SelectedFlags << " nodes selected but " << selection.size() << " in the array\n";
  for (TLiveTreeState transient : {tsIterating, tsToggling, tsCheckPropagation, tsExpanding, tsCollapsing})
    if (tree.TreeStates().Contains(transient)) checker.Problems << "tree state left set\n";
  return checker.Problems.str();
}

void TTestTreeBuilder::Build(TBaseLiveTree& tree, const std::string& text, PLiveNode parent) {
  std::vector<PLiveNode> parents{parent};
  PLiveNode last = nullptr;
  std::string name;
  auto flush = [&] {
    if (name.empty()) return;
    last = tree.AddChild(parents.back());
    *tree.GetNodeData<std::size_t>(last) = Names.size();
    Nodes[name] = last;
    Names[last] = name;
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
    } else if (c != ' ') {
      name += c;
    }
  }
  flush();
}

std::string TTestTreeBuilder::Name(PLiveNode node) const {
  if (node == nullptr) return "-";
  auto found = Names.find(node);
  return found == Names.end() ? "?" : found->second;
}

std::string TTestTreeBuilder::Join(const std::vector<PLiveNode>& nodes) const {
  std::string result;
  for (PLiveNode node : nodes) {
    if (!result.empty()) result += ' ';
    result += Name(node);
  }
  return result;
}
