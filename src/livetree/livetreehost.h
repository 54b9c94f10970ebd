// What the tree model needs of its window. The Win32 control implements it;
// tests use a fake. The model never touches the window system itself.
#pragma once

#include "livetree/livetreetypes.h"

class TCanvas;

class ILiveTreeHost {
 public:
  virtual ~ILiveTreeHost() = default;

  // Whether the window exists; without one nothing is painted or scrolled.
  virtual bool HandleAllocated() const = 0;
  // Whether the window is shown (redraw switching is skipped for hidden ones).
  virtual bool Visible() const = 0;
  virtual bool Focused() const = 0;

  // Repaint requests. The model has already checked that no update is open.
  virtual void Invalidate() = 0;
  virtual void InvalidateNode(PLiveNode node) = 0;
  // From the node's row down to the bottom of the client area (nil: all).
  virtual void InvalidateToBottom(PLiveNode node) = 0;

  // The scroll ranges follow the tree's total height and width.
  virtual void UpdateScrollBars(bool repaint) = 0;
  virtual void UpdateVerticalScrollBar(bool repaint) = 0;

  // Window timers 1 to 8; a fired timer calls TBaseLiveTree::TimerFired on the
  // interface thread.
  virtual void StartTimer(int id, Cardinal milliseconds) = 0;
  virtual void StopTimer(int id) = 0;

  // Window redrawing on and off around update brackets.
  virtual void SetRedraw(bool on) = 0;

  // The cache builder thread has a call waiting that must run on the interface
  // thread: arrange for TBaseLiveTree::DispatchHandOvers to run there soon
  // (the control posts itself a message). Called from the builder thread.
  virtual void WakeInterfaceThread() = 0;

  // The canvas measuring events receive; may be nil.
  virtual TCanvas* Canvas() = 0;

  // Client area height in pixels.
  virtual Integer ClientHeight() const = 0;

  // An open hint is cancelled (structure changes under it).
  virtual void CancelHint() = 0;
};

// The host of a tree without a window: nothing to paint, scroll or time.
class TNullLiveTreeHost : public ILiveTreeHost {
 public:
  bool HandleAllocated() const override { return false; }
  bool Visible() const override { return false; }
  bool Focused() const override { return false; }
  void Invalidate() override {}
  void InvalidateNode(PLiveNode) override {}
  void InvalidateToBottom(PLiveNode) override {}
  void UpdateScrollBars(bool) override {}
  void UpdateVerticalScrollBar(bool) override {}
  void StartTimer(int, Cardinal) override {}
  void StopTimer(int) override {}
  void SetRedraw(bool) override {}
  void WakeInterfaceThread() override {}
  TCanvas* Canvas() override { return nullptr; }
  Integer ClientHeight() const override { return 0; }
  void CancelHint() override {}
};
