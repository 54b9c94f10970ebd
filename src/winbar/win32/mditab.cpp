#include "winbar/win32/mditab.h"

#include <algorithm>

#include "ui/publish.h"
#include "winbar/win32/buttongroup.h"

KST_CLASS_IMPL(TMDITab, "Obrix_MDITab")

const TTypeInfo& DescribeType(TypeTag<TTabGetImageEvent>) {
  static const TMethodTypeInfo t(u"TTabGetImageEvent", u"Obrix_MDITab", mkProcedure,
                                 {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{0, u"TabIndex", u"Integer"},
                                  TMethodParam{ParamFlagBit(pfVar), u"ImageIndex", u"Integer"}});
  return t;
}

void TMDITab::Describe(TClassBuilder<TMDITab>& c) {
  c.Property(u"About", &TMDITab::About, &TMDITab::SetAbout).Stored(false);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"Caption", &TMDITab::TabCaption, &TMDITab::SetTabCaption);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"HotTrack", &TMDITab::HotTrack, &TMDITab::SetHotTrack).Default(0);
  c.Property(u"Images", &TMDITab::Images, &TMDITab::SetImages);
  c.Property(u"MultiLine", &TMDITab::MultiLine, &TMDITab::SetMultiLine).Default(0);
  c.Property(u"OwnerDraw", &TMDITab::OwnerDraw, &TMDITab::SetOwnerDraw).Default(0);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"RaggedRight", &TMDITab::RaggedRight, &TMDITab::SetRaggedRight).Default(0);
  c.Property(u"ScrollOpposite", &TMDITab::ScrollOpposite, &TMDITab::SetScrollOpposite).Default(0);
  c.Property(u"ShowOnChange", &TMDITab::ShowOnChange, &TMDITab::SetShowOnChange);
  publish::ShowHint(c);
  c.Property(u"Style", &TMDITab::Style, &TMDITab::SetStyle).Default(tsTabs);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  c.Property(u"OnChange", &TMDITab::OnChange);
  c.Property(u"OnChanging", &TMDITab::OnChanging);
  c.Property(u"OnDrawTab", &TMDITab::OnDrawTab);
  c.Property(u"OnGetImageIndex", &TMDITab::OnGetImageIndex);
  c.Property(u"OnMouseDown", &TMDITab::OnTabMouseDown);
  c.Property(u"OnMouseMove", &TMDITab::OnTabMouseMove);
  publish::FocusEvents(c);
  publish::ResizeEvents(c);
}

TMDITab::TMDITab(TComponent* owner)
    : TCustomTabControl(CheckMDIOwner<TMDITab>(owner, u"MDITab")), FAbout(kWinbarAbout), FHooks(this) {
  if (ComponentState().Contains(csDesigning)) {
    SetStyle(tsFlatButtons);
    SetHotTrack(true);
    SetShowHint(true);
    SetHeight(22);
    SetAlign(alTop);
    SetCursor(crHandPoint);
    FShow = true;
  }
}

TMDITab::~TMDITab() {
  SetPopupMenu(nullptr);
}

TCustomForm* TMDITab::OwnerForm() const {
  return dynamic_cast<TCustomForm*>(Owner());
}

void TMDITab::AddTab(TCustomForm* child, Integer imageIndex, const String& hint) {
  if (!child || GetChildIndex(child) >= 0) return;
  FGlyphs.push_back(imageIndex);
  FHints.push_back(hint);
  child->SetHint(hint);
  FHooks.Hook(child, TNotifyEvent(this, &TMDITab::ChildActivated), TNotifyEvent(this, &TMDITab::ChildDestroyed),
              [this](TCustomForm* changed) { ChildCaptionChanged(changed); });
  Integer index = Tabs().AddObject(child->Caption(), child);
  SetTabIndex(index);
  Change();
}

void TMDITab::CloseAll() {
  CloseMDIChildren(OwnerForm());
}

void TMDITab::MinimizeAll() {
  MinimizeMDIChildren(OwnerForm());
}

TCustomForm* TMDITab::GetMDIChild(Integer index) const {
  if (index < 0 || index >= Tabs().Count()) return nullptr;
  return dynamic_cast<TCustomForm*>(Tabs().Objects(index));
}

Integer TMDITab::GetChildIndex(const TObject* child) const {
  return child ? Tabs().IndexOfObject(child) : -1;
}

Integer TMDITab::MinimizedCount() const {
  Integer count = 0;
  for (Integer i = 0; i < Tabs().Count(); ++i)
    if (TCustomForm* child = GetMDIChild(i); child && child->WindowState() == wsMinimized) ++count;
  return count;
}

Integer TMDITab::GetImageIndex(Integer tabIndex) {
  Integer image = tabIndex >= 0 && tabIndex < static_cast<Integer>(FGlyphs.size()) ? FGlyphs[tabIndex] : -1;
  OnGetImageIndex(this, tabIndex, image);
  return image;
}

void TMDITab::Change() {
  if (TCustomForm* child = GetMDIChild(TabIndex())) {
    ActivateMDIChild(child);
    if (FShow) SetVisible(true);
  }
  TCustomTabControl::Change();
}

void TMDITab::ChildActivated(TObject* sender) {
  if (!dynamic_cast<TMDITab*>(sender)) {
    Integer index = GetChildIndex(sender);
    if (index >= 0 && index != TabIndex()) SetTabIndex(index);
  }
  TCustomTabControl::Change();
  if (const TMDIChildHooks::TSaved* saved = FHooks.Find(sender)) saved->OnActivate(saved->Child);
}

void TMDITab::ChildDestroyed(TObject* sender) {
  if (!dynamic_cast<TCustomForm*>(sender)) return;
  Integer index = GetChildIndex(sender);
  std::optional<TMDIChildHooks::TSaved> saved = FHooks.Release(sender);
  RemoveTab(index);
  try {
    if (saved) saved->OnDestroy(saved->Child);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TMDITab::RemoveTab(Integer index) {
  if (index < 0) return;
  // The selection stays with its window: the tabs after the removed one move
  // down by one, the selected among them too.
  const TCustomForm* selected = index != TabIndex() ? GetMDIChild(TabIndex()) : nullptr;
  Tabs().Delete(index);
  FGlyphs.erase(FGlyphs.begin() + index);
  FHints.erase(FHints.begin() + index);
  if (selected) {
    const Integer moved = GetChildIndex(selected);
    if (moved != TabIndex()) SetTabIndex(moved);
  }
}

void TMDITab::Notification(TComponent* component, TOperation operation) {
  TCustomTabControl::Notification(component, operation);
  // A window freed by its owner runs no destruction handler: its tab goes here.
  if (operation == opRemove && FHooks.Forget(component)) RemoveTab(GetChildIndex(component));
}

void TMDITab::ChildCaptionChanged(TCustomForm* child) {
  Integer index = GetChildIndex(child);
  if (index >= 0) Tabs().Put(index, child->Caption());
}

void TMDITab::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  OnTabMouseDown(this, button, shift, x, y);
}

void TMDITab::MouseMove(TShiftState shift, Integer x, Integer y) {
  Integer index = IndexOfTabAt(x, y);
  SetHint(index >= 0 && index < static_cast<Integer>(FHints.size()) ? FHints[index] : String());
  OnTabMouseMove(this, shift, x, y);
}

void TMDITab::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT:
      FCaption = message.LParam ? String(reinterpret_cast<const char16_t*>(message.LParam)) : String();
      message.Result = TRUE;
      return;
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char16_t*>(message.LParam);
      size_t room = static_cast<size_t>(message.WParam);
      if (!buffer || room == 0) {
        message.Result = 0;
        return;
      }
      size_t count = std::min(FCaption.size(), room - 1);
      std::copy_n(FCaption.data(), count, buffer);
      buffer[count] = 0;
      message.Result = static_cast<LRESULT>(count);
      return;
    }
    case WM_GETTEXTLENGTH: message.Result = static_cast<LRESULT>(FCaption.size()); return;
    default: break;
  }
  TCustomTabControl::Dispatch(message);
}
