#include "winbar/win32/wheelscrollbox.h"

#include <windowsx.h>

#include "winbar/win32/buttongroup.h"

KST_CLASS_IMPL(TWheelScrollBox, "Obrix_WheelScrollBox")

void TWheelScrollBox::Describe(TClassBuilder<TWheelScrollBox>& c) {
  c.Property(u"About", &TWheelScrollBox::About);
}

TWheelScrollBox::TWheelScrollBox(TComponent* owner) : TScrollBox(owner), FAbout(kWinbarAbout) {}

void TWheelScrollBox::Dispatch(TMessage& m) {
  if (m.Msg != WM_MOUSEWHEEL || !HandleAllocated()) {
    TScrollBox::Dispatch(m);
    return;
  }
  // A wheel turned over another window is not ours to scroll, nor to pass on.
  const POINT pointer{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  RECT box{};
  GetWindowRect(Handle(), &box);
  if (!PtInRect(&box, pointer)) return;
  bool handled = true;
  const Integer steps = FWheel.Feed(GET_WHEEL_DELTA_WPARAM(m.WParam), GET_KEYSTATE_WPARAM(m.WParam) != 0, handled);
  if (steps != 0) {
    TControlScrollBar& bar = VertScrollBar();
    bar.SetPosition(bar.Position() + steps * bar.Increment());
  }
  m.Result = handled ? 1 : 0;
}
