// A window stand-in for the tree model in tests: it records what the model
// asks of its window, keeps the window timers in a manual queue and runs the
// cache builder's hand-overs when the test says so.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "livetree/basetree.h"

class TFakeLiveTreeHost : public ILiveTreeHost {
 public:
  bool Window = true;
  bool Shown = true;
  bool HasFocus = false;
  Integer Height = 400;
  Integer Width = 300;

  // Fixed-width text: every character is CharWidth pixels wide (one more in
  // bold) and every line LineHeight pixels high.
  static constexpr Integer CharWidth = 7;
  static constexpr Integer LineHeight = 14;
  // Image list sizes by kind; absent lists are (0, 0).
  std::map<TLTImageListKind, TSize> ImageLists;
  // The font of the one canvas events receive.
  TLiveTreeFont CanvasFontValue;
  int HeaderInvalidations = 0;
  int HeaderFrameChanges = 0;
  int HorizontalScrollBarUpdates = 0;
  TPoint Scrolled;  // the sum of the content scrolls

  int Invalidations = 0;
  int NodeInvalidations = 0;
  int ScrollBarUpdates = 0;
  int HintCancels = 0;
  std::vector<bool> RedrawSwitches;
  std::map<int, Cardinal> Timers;  // running timers and their intervals
  std::atomic<int> Wakes{0};
  TBaseLiveTree* Tree = nullptr;

  bool HandleAllocated() const override { return Window; }
  bool Visible() const override { return Shown; }
  bool Focused() const override { return HasFocus; }
  void Invalidate() override { ++Invalidations; }
  void InvalidateNode(PLiveNode) override { ++NodeInvalidations; }
  void InvalidateToBottom(PLiveNode) override { ++Invalidations; }
  void UpdateScrollBars(bool) override { ++ScrollBarUpdates; }
  void UpdateVerticalScrollBar(bool) override { ++ScrollBarUpdates; }
  void StartTimer(int id, Cardinal milliseconds) override { Timers[id] = milliseconds; }
  void StopTimer(int id) override { Timers.erase(id); }
  void SetRedraw(bool on) override { RedrawSwitches.push_back(on); }
  void WakeInterfaceThread() override { ++Wakes; }
  TCanvas* Canvas() override { return reinterpret_cast<TCanvas*>(&CanvasFontValue); }
  Integer ClientHeight() const override { return Height; }
  void CancelHint() override { ++HintCancels; }
  Integer ClientWidth() const override { return Width; }
  TSize TextExtent(const TLiveTreeFont& font, StringView text) override;
  TSize WrappedTextExtent(const TLiveTreeFont& font, StringView text, Integer width) override;
  Integer FontHeight(const TLiveTreeFont&) override { return LineHeight; }
  TSize ImageListSize(TLTImageListKind kind) override;
  TLiveTreeFont CanvasFont(TCanvas* canvas) override;
  void SetCanvasFont(TCanvas* canvas, const TLiveTreeFont& font) override;
  void ScrollContent(Integer dx, Integer dy) override {
    Scrolled.X += dx;
    Scrolled.Y += dy;
  }
  void UpdateHorizontalScrollBar(bool) override { ++HorizontalScrollBarUpdates; }
  void InvalidateHeader(const TRect&) override { ++HeaderInvalidations; }
  void HeaderFrameChanged() override { ++HeaderFrameChanges; }
  // Where the mouse is, in client coordinates.
  TPoint Cursor;
  TPoint CursorPos() const override { return Cursor; }
  void Beep() override { ++Beeps; }
  int Beeps = 0;
  // The in-place editor: whether one opens, the cell it opened on, and the
  // text an accepted edit gives the node (through the tree's text).
  bool EditorOpens = true;
  PLiveNode EditedNode = nullptr;
  TColumnIndex EditedColumn = NoColumn;
  std::vector<bool> EditEnds;  // Accept of every end
  bool BeginNodeEdit(PLiveNode node, TColumnIndex column) override {
    EditedNode = node;
    EditedColumn = column;
    return EditorOpens;
  }
  bool EndNodeEdit(bool accept) override {
    EditEnds.push_back(accept);
    return true;
  }

  // The font a handler sees on the canvas it receives.
  static TLiveTreeFont& FontOf(TCanvas* canvas) { return *reinterpret_cast<TLiveTreeFont*>(canvas); }

  bool TimerRunning(int id) const { return Timers.count(id) != 0; }
  // The timer's interval passed: the window hands it to the tree.
  void FireTimer(int id);
  // Runs what the builder thread waits for on the interface thread.
  bool RunInterfaceCalls();
  // Runs the builder's hand-overs until it neither works on nor has queued
  // the tree.
  void WaitForBuilder();
};

// Drops every event handler of the tree, so that a tree outliving the
// records its handlers write into reports nothing on its destruction.
void DetachTreeEvents(TBaseLiveTree& tree);

// Checks every structural invariant of the tree and its selection; returns
// an empty text when all hold, else what is broken.
std::string CheckTreeInvariants(TBaseLiveTree& tree);

// Builds nodes from a text like "A(B,C),D" under Parent; each node's data
// (NodeDataSize must be at least a pointer) holds its index in Names.
struct TTestTreeBuilder {
  std::map<std::string, PLiveNode> Nodes;
  std::map<PLiveNode, std::string> Names;

  void Build(TBaseLiveTree& tree, const std::string& text, PLiveNode parent = nullptr);
  PLiveNode operator[](const std::string& name) const { return Nodes.at(name); }
  std::string Name(PLiveNode node) const;
  // Names of the nodes, joined by spaces ("-" for nil).
  std::string Join(const std::vector<PLiveNode>& nodes) const;
};
