#include "winbar/win32/mdichildren.h"

#include <algorithm>

TMDIChildHooks::~TMDIChildHooks() {
  for (TSaved& saved : FSaved) {
    if (saved.Child->OnActivate == FActivate) saved.Child->OnActivate = saved.OnActivate;
    if (saved.Child->OnDestroy == FDestroy) saved.Child->OnDestroy = saved.OnDestroy;
    saved.Child->RemoveWindowProcHook(saved.CaptionHook);
    saved.Child->RemoveFreeNotification(FHolder);
  }
}

void TMDIChildHooks::Hook(TCustomForm* child, const TNotifyEvent& activate, const TNotifyEvent& destroy,
                          const std::function<void(TCustomForm*)>& captionChanged) {
  FActivate = activate;
  FDestroy = destroy;
  TSaved saved{child, child->OnActivate, child->OnDestroy,
               TWndProcHook([child, captionChanged](TMessage& message, const TWndProcNext& next) {
                 next(message);
                 if (message.Msg == CM_TEXTCHANGED) captionChanged(child);
               })};
  child->OnActivate = activate;
  child->OnDestroy = destroy;
  child->AddWindowProcHook(saved.CaptionHook);
  child->FreeNotification(FHolder);
  FSaved.push_back(std::move(saved));
}

const TMDIChildHooks::TSaved* TMDIChildHooks::Find(const TObject* child) const {
  auto it = std::find_if(FSaved.begin(), FSaved.end(), [child](const TSaved& s) { return s.Child == child; });
  return it == FSaved.end() ? nullptr : &*it;
}

std::optional<TMDIChildHooks::TSaved> TMDIChildHooks::Release(const TObject* child) {
  auto it = std::find_if(FSaved.begin(), FSaved.end(), [child](const TSaved& s) { return s.Child == child; });
  if (it == FSaved.end()) return std::nullopt;
  TSaved saved = std::move(*it);
  FSaved.erase(it);
  saved.Child->RemoveWindowProcHook(saved.CaptionHook);
  saved.Child->RemoveFreeNotification(FHolder);
  return saved;
}

bool TMDIChildHooks::Forget(const TObject* child) {
  auto it = std::find_if(FSaved.begin(), FSaved.end(), [child](const TSaved& s) { return s.Child == child; });
  if (it == FSaved.end()) return false;
  FSaved.erase(it);
  return true;
}

void ActivateMDIChild(TCustomForm* child) {
  if (!child) return;
  HWND window = child->Handle();
  if (child->WindowState() == wsMinimized) child->SetWindowState(wsNormal);
  SendMessageW(window, WM_NCACTIVATE, 1, 0);
  HWND client = GetParent(window);
  if (client) SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
  if (child->Visible() && child->Enabled()) child->SetFocus();
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CloseMDIChildren(TCustomForm* form) {
  if (!form) return;
  for (int i = form->MDIChildCount() - 1; i >= 0; --i) form->MDIChildren(i)->Close();
}

void MinimizeMDIChildren(TCustomForm* form) {
  if (!form) return;
  for (int i = form->MDIChildCount() - 1; i >= 0; --i) form->MDIChildren(i)->SetWindowState(wsMinimized);
  form->ArrangeIcons();
}
