#include "panelkit/win32/vertscroll.h"

KST_CLASS_IMPL(TPxVertScrollControl, "PxScrollControl")

void TPxVertScrollControl::Describe(TClassBuilder<TPxVertScrollControl>&) {}

TPxVertScrollControl::TPxVertScrollControl(TComponent* owner) : TCustomControl(owner) {
  FVertScrollBar.OnScrollContent = [this](Integer oldPosition, Integer newPosition) {
    ScrollContent(oldPosition, newPosition);
  };
}

Integer TPxVertScrollControl::GetVertScrollDelta(Integer oldPosition, Integer newPosition) {
  return FVertScrollBar.ScrollKind() == rkIdle ? 0 : oldPosition - newPosition;
}

void TPxVertScrollControl::ScrollContent(Integer oldPosition, Integer newPosition) {
  if (!HandleAllocated()) return;
  const Integer delta = GetVertScrollDelta(oldPosition, newPosition);
  if (delta != 0)
    ScrollWindowEx(Handle(), 0, delta, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  else
    Invalidate();
  UpdateVertScrollBar();
}

void TPxVertScrollControl::CreateWnd() {
  TCustomControl::CreateWnd();
  ShowScrollBar(Handle(), SB_BOTH, FALSE);
}

void TPxVertScrollControl::UpdateVertScrollBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = FVertScrollBar.Max();
  info.nPage = static_cast<UINT>(FVertScrollBar.PageSize());
  info.nPos = FVertScrollBar.Position();
  if (FVertScrollBar.Visible()) {
    ShowScrollBar(Handle(), SB_VERT, TRUE);
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
  } else {
    ShowScrollBar(Handle(), SB_VERT, FALSE);
  }
}

void TPxVertScrollControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_VSCROLL) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(Handle(), SB_VERT, &info);
    FVertScrollBar.Scroll(static_cast<TScrollRequest>(LOWORD(m.WParam)), info.nTrackPos);
    UpdateVertScrollBar();
    m.Result = 0;
    return;
  }
  TCustomControl::Dispatch(m);
}
