#include "winbar/win32/mdibuttongroup.h"

KST_CLASS_IMPL(TMDIButtonGroup, "Obrix_MDIButtonGroup")

const TTypeInfo& DescribeType(TypeTag<TMDIAction>) {
  static const TEnumTypeInfo t(u"TMDIAction", u"Obrix_MDIButtonGroup",
                               {u"mdiNone", u"mdiAdd", u"mdiOpen", u"mdiActivate", u"mdiClose"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOnMDIChangeEvent>) {
  static const TMethodTypeInfo t(u"TOnMDIChangeEvent", u"Obrix_MDIButtonGroup", mkProcedure,
                                 {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{0, u"Action", u"TMDIAction"}});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOnMDIBeforeChangeEvent>) {
  static const TMethodTypeInfo t(
      u"TOnMDIBeforeChangeEvent", u"Obrix_MDIButtonGroup", mkProcedure,
      {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{ParamFlagBit(pfVar), u"AIndex", u"Integer"},
       TMethodParam{ParamFlagBit(pfVar), u"Action", u"TMDIAction"}});
  return t;
}

void TMDIButtonGroup::Describe(TClassBuilder<TMDIButtonGroup>& c) {
  c.Property(u"OnChange", &TMDIButtonGroup::OnChange);
  c.Property(u"OnBeforeChange", &TMDIButtonGroup::OnBeforeChange);
}

TMDIButtonGroup::TMDIButtonGroup(TComponent* owner)
    : TButtonGroupEx(CheckMDIOwner<TMDIButtonGroup>(owner, u"MDIButtonGroup")), FHooks(this) {
  SetHotButtonColor(kInitialHotButtonColor);
  SetSelectedButtonColor(clInfoBk);
  SetRegularButtonColor(ColorHighlight(clBtnFace, 15));
  SetButtonWidth(100);
  SetButtonHeight(22);
  SetHeight(22);
  SetBorderStyle(bsNone);
  SetButtonOptions({gboGroupStyle, gboShowCaptions});
  SetShowHint(true);
}

TMDIButtonGroup::~TMDIButtonGroup() {
  SetPopupMenu(nullptr);
}

TCustomForm* TMDIButtonGroup::OwnerForm() const {
  return dynamic_cast<TCustomForm*>(Owner());
}

void TMDIButtonGroup::AddButton(TCustomForm* child, Integer imageIndex, const String& hint) {
  if (!child || GetChildIndex(child) >= 0) return;
  TGrpButtonItem* item = Items().Add();
  item->SetCaption(child->Caption());
  item->SetHint(hint);
  item->SetImageIndex(imageIndex);
  item->SetData(child);
  child->SetHint(hint);
  FHooks.Hook(child, TNotifyEvent(this, &TMDIButtonGroup::ChildActivated),
              TNotifyEvent(this, &TMDIButtonGroup::ChildDestroyed),
              [this](TCustomForm* changed) { ChildCaptionChanged(changed); });
  SetItemIndex(item->Index());
  Invalidate();
  ScrollIntoView(ItemIndex());
  if (CanFireEvents()) OnChange(this, mdiAdd);
}

void TMDIButtonGroup::CloseAll() {
  CloseMDIChildren(OwnerForm());
}

void TMDIButtonGroup::MinimizeAll() {
  MinimizeMDIChildren(OwnerForm());
}

void TMDIButtonGroup::DestroyAll() {
  TCustomForm* form = OwnerForm();
  if (!form) return;
  for (int i = form->MDIChildCount() - 1; i >= 0; --i) {
    TCustomForm* child = form->MDIChildren(i);
    TCloseAction action = caFree;
    child->OnClose(child, action);
    child->Free();
  }
}

TCustomForm* TMDIButtonGroup::GetMDIChild(Integer index) const {
  if (index < 0 || index >= Items().Count()) return nullptr;
  return dynamic_cast<TCustomForm*>(Items().Items(index)->Data());
}

Integer TMDIButtonGroup::GetChildIndex(const TObject* child) const {
  if (!child) return -1;
  for (int i = 0; i < Items().Count(); ++i)
    if (Items().Items(i)->Data() == child) return i;
  return -1;
}

Integer TMDIButtonGroup::MDIChildCount() const {
  Integer count = 0;
  for (int i = 0; i < Items().Count(); ++i)
    if (GetMDIChild(i)) ++count;
  return count;
}

Integer TMDIButtonGroup::MinimizedCount() const {
  Integer count = 0;
  for (int i = 0; i < Items().Count(); ++i)
    if (TCustomForm* child = GetMDIChild(i); child && child->WindowState() == wsMinimized) ++count;
  return count;
}

void TMDIButtonGroup::ChildActivated(TObject* sender) {
  if (!dynamic_cast<TMDIButtonGroup*>(sender)) SetItemIndex(GetChildIndex(sender));
  // The window's own handler belongs to the window that was activated,
  // wherever its button stands now.
  if (const TMDIChildHooks::TSaved* saved = FHooks.Find(sender)) saved->OnActivate(saved->Child);
  if (ItemIndex() < 0) return;
  ScrollIntoView(ItemIndex());
  if (CanFireEvents()) OnChange(this, mdiOpen);
}

void TMDIButtonGroup::ChildDestroyed(TObject* sender) {
  if (!dynamic_cast<TCustomForm*>(sender)) return;
  Integer index = GetChildIndex(sender);
  std::optional<TMDIChildHooks::TSaved> saved = FHooks.Release(sender);
  // The button goes whatever the window's own handler does: it must not
  // outlive its window.
  RemoveButton(index);
  try {
    if (saved) saved->OnDestroy(saved->Child);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TMDIButtonGroup::RemoveButton(Integer index) {
  if (index >= 0) Items().Delete(index);
  TCustomForm* form = OwnerForm();
  SetItemIndex(form && !form->ComponentState().Contains(csDestroying) ? GetChildIndex(form->ActiveMDIChild()) : -1);
  Invalidate();
  if (CanFireEvents()) OnChange(this, mdiClose);
}

void TMDIButtonGroup::Notification(TComponent* component, TOperation operation) {
  TButtonGroupEx::Notification(component, operation);
  // A window freed by its owner runs no destruction handler: its button goes here.
  if (operation == opRemove && FHooks.Forget(component)) RemoveButton(GetChildIndex(component));
}

void TMDIButtonGroup::ChildCaptionChanged(TCustomForm* child) {
  Integer index = GetChildIndex(child);
  if (index >= 0) Items().Items(index)->SetCaption(child->Caption());
}

void TMDIButtonGroup::DoItemClicked(Integer index) {
  TMDIAction action = mdiActivate;
  Integer target = index;
  OnBeforeChange(this, target, action);
  if (action == mdiNone) return;
  SetItemIndex(target);
  ActivateMDIChild(GetMDIChild(target));
  TButtonGroupEx::DoItemClicked(index);
  Invalidate();
  if (CanFireEvents()) OnChange(this, mdiActivate);
}

void TMDIButtonGroup::ResizeButtons() {
  TButtonGroupEx::ResizeButtons();
  if (AutoSize()) return;
  Integer single = AutoSizeHeight(Allowance(), 1, ButtonHeight());
  if (Height() != single) SetHeight(single);
  TButtonGroup::ResizeButtons();
}
