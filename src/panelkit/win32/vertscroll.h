// A control that scrolls its content vertically, one position a pixel,
// through the kit's scroll-bar model shown as the window's own scroll bar;
// descendants say how far the content moves for a change of position.
#pragma once

#include "ui/winapi.h"

#include "panelkit/scrollmodel.h"
#include "ui/controls.h"

class TPxVertScrollControl : public TCustomControl {
  KST_CLASS(TPxVertScrollControl, TCustomControl)
 public:
  explicit TPxVertScrollControl(TComponent* owner);

  TScrollBarModel& VertScrollBar() { return FVertScrollBar; }
  const TScrollBarModel& VertScrollBar() const { return FVertScrollBar; }
  // Shows the model's range, page and position on the window's bar.
  void UpdateVertScrollBar();

 protected:
  // How many pixels the content moves down for a change of position;
  // nothing moves for an idle change (set from code).
  virtual Integer GetVertScrollDelta(Integer oldPosition, Integer newPosition);
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;

 private:
  void ScrollContent(Integer oldPosition, Integer newPosition);
  TScrollBarModel FVertScrollBar;
};
