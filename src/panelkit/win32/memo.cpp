#include "panelkit/win32/memo.h"

#include "panelkit/win32/edits.h"
#include "panelkit/win32/themes.h"
#include "rtl/format.h"

KST_CLASS_IMPL(TPxMemo, "PxEdit")

void TPxMemo::Describe(TClassBuilder<TPxMemo>& c) {
  c.Property(u"Margin", &TPxMemo::Margin, &TPxMemo::SetMargin).Default(0);
}

TPxMemo::TPxMemo(TComponent* owner) : TMemo(owner) {}

void TPxMemo::SetMargin(Integer value) {
  FMargin = value;
  ApplyEditRect();
  Realign();
}

void TPxMemo::Add(const String& line) {
  Lines().Add(line);
}

void TPxMemo::Add(StringView format, std::initializer_list<TVarRec> values) {
  Lines().Add(Format(format, values));
}

TRect TPxMemo::GetEditRect() const {
  return TRect(FMargin, 0, ClientWidth() - FMargin - 1, ClientHeight() + 1);
}

void TPxMemo::ApplyEditRect() {
  if (!HandleAllocated()) return;
  // The rectangle alone places the text: no margins of the window's own on top.
  SendMessageW(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  const RECT r = ToRECT(GetEditRect());
  SendMessageW(FHandle, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TPxMemo::CreateWnd() {
  TMemo::CreateWnd();
  ApplyEditRect();
}

void TPxMemo::Dispatch(TMessage& m) {
  TMemo::Dispatch(m);
  if (m.Msg == WM_NCPAINT && IsThemed() && BorderStyle() == bsSingle && HandleAllocated())
    PaintThemedEditFrame(FHandle);
}
