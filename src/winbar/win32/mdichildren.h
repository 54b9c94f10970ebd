// What the window bar and the tab strip share about the document windows of
// a multiple-document main form: the owner checks, and the handlers they put
// into each document window (activation, destruction, caption changes) with
// the window's own handlers kept to be called and given back.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "ui/forms.h"

// The owner of a window bar or tab strip named `name`: raises Exception
// unless it is a multiple-document main form holding no other control of
// that kind. Runs before the control adds itself to the owner, so it never
// meets itself.
template <class Control>
TComponent* CheckMDIOwner(TComponent* owner, const String& name) {
  auto* form = dynamic_cast<TCustomForm*>(owner);
  if (!form) throw Exception(name + u" can be put only on Form.");
  if (form->FormStyle() != fsMDIForm) throw Exception(name + u" can be put only on MDIForm.");
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (dynamic_cast<Control*>(form->Components(i))) throw Exception(u"Only one " + name + u" can be put on MDIForm.");
  return owner;
}

class TMDIChildHooks {
 public:
  struct TSaved {
    TCustomForm* Child = nullptr;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDestroy;
    TWndProcHook CaptionHook;
  };

  // `holder` is told (Notification) of a window that goes without its
  // destruction handler running, as windows freed by their owner do.
  explicit TMDIChildHooks(TComponent* holder) : FHolder(holder) {}
  TMDIChildHooks(const TMDIChildHooks&) = delete;
  TMDIChildHooks& operator=(const TMDIChildHooks&) = delete;
  // Gives every window still hooked its own handlers back: a bar that goes
  // before its windows leaves nothing of itself in them.
  ~TMDIChildHooks();

  // Puts the handlers in, keeping the window's own; `captionChanged` runs
  // after each change of the window's caption.
  void Hook(TCustomForm* child, const TNotifyEvent& activate, const TNotifyEvent& destroy,
            const std::function<void(TCustomForm*)>& captionChanged);
  const TSaved* Find(const TObject* child) const;
  // Takes the window out (its caption is no longer followed) and gives back
  // what was kept for it.
  std::optional<TSaved> Release(const TObject* child);
  // Drops a window that is being freed, without touching it; false when it was not hooked.
  bool Forget(const TObject* child);

 private:
  TComponent* FHolder;
  std::vector<TSaved> FSaved;
  TNotifyEvent FActivate;
  TNotifyEvent FDestroy;
};

// Asks every document window of the form to close, the last first.
void CloseMDIChildren(TCustomForm* form);
// Minimises every document window of the form, the last first, then arranges the icons.
void MinimizeMDIChildren(TCustomForm* form);

// Brings a document window to the front as the active one, restoring it
// when minimised and drawing its caption active at once.
void ActivateMDIChild(TCustomForm* child);
