// The window bar of a multiple-document main form: a glass-style button
// for each document window, in the order they were added. A click brings
// the window to the front; activating a window selects its button; a
// window's new caption shows on its button; destroying a window removes it.
#pragma once

#include "winbar/win32/buttongroup.h"
#include "winbar/win32/mdichildren.h"

enum TMDIAction { mdiNone, mdiAdd, mdiOpen, mdiActivate, mdiClose };

using TOnMDIChangeEvent = TDelegate<void(TObject* Sender, TMDIAction Action)>;
using TOnMDIBeforeChangeEvent = TDelegate<void(TObject* Sender, Integer& AIndex, TMDIAction& Action)>;

const TTypeInfo& DescribeType(TypeTag<TMDIAction>);
const TTypeInfo& DescribeType(TypeTag<TOnMDIChangeEvent>);
const TTypeInfo& DescribeType(TypeTag<TOnMDIBeforeChangeEvent>);

class TMDIButtonGroup : public TButtonGroupEx {
  KST_CLASS(TMDIButtonGroup, TButtonGroupEx)
 public:
  // Exception unless the owner is a multiple-document main form without a bar.
  explicit TMDIButtonGroup(TComponent* owner);
  ~TMDIButtonGroup() override;

  // Adds a button for the window (none for nil or a window that has one)
  // and selects it.
  void AddButton(TCustomForm* child, Integer imageIndex, const String& hint);
  // Asks every document window of the owner to close, the last first.
  void CloseAll();
  // Minimises every document window of the owner, the last first, then arranges the icons.
  void MinimizeAll();
  // Frees every document window of the owner, the last first, after its OnClose.
  void DestroyAll();
  TCustomForm* GetMDIChild(Integer index) const;
  Integer GetChildIndex(const TObject* child) const;
  TCustomForm* ActiveMDIChild() const { return GetMDIChild(ItemIndex()); }
  Integer MDIChildCount() const;
  Integer MinimizedCount() const;

  TOnMDIChangeEvent OnChange;
  TOnMDIBeforeChangeEvent OnBeforeChange;

 protected:
  void DoItemClicked(Integer index) override;
  void ResizeButtons() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomForm* OwnerForm() const;
  void ChildActivated(TObject* sender);
  void ChildDestroyed(TObject* sender);
  void ChildCaptionChanged(TCustomForm* child);
  // Removes the button of a window that went and selects the owner's active window's.
  void RemoveButton(Integer index);

  TMDIChildHooks FHooks;
};
