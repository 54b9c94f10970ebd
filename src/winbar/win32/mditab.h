// The tab strip of a multiple-document main form: a tab for each document
// window, showing its caption. Selecting a tab brings the window to the
// front; activating a window selects its tab; a window's new caption shows
// on its tab; destroying a window removes its tab.
#pragma once

#include <vector>

#include "winbar/win32/mdichildren.h"
#include "winbar/win32/tabcontrol.h"

using TTabGetImageEvent = TDelegate<void(TObject* Sender, Integer TabIndex, Integer& ImageIndex)>;

const TTypeInfo& DescribeType(TypeTag<TTabGetImageEvent>);

class TMDITab : public TCustomTabControl {
  KST_CLASS(TMDITab, TCustomTabControl)
 public:
  // Exception unless the owner is a multiple-document main form without a strip.
  explicit TMDITab(TComponent* owner);
  ~TMDITab() override;

  const String& About() const { return FAbout; }
  void SetAbout(const String&) {}
  // The control's own text, kept apart from the tabs.
  const String& TabCaption() const { return FCaption; }
  void SetTabCaption(const String& value) { FCaption = value; }
  bool ShowOnChange() const { return FShow; }
  void SetShowOnChange(bool value) { FShow = value; }

  // Adds a tab for the window (none for nil or a window that has one) and selects it.
  void AddTab(TCustomForm* child, Integer imageIndex, const String& hint);
  void CloseAll();
  void MinimizeAll();
  TCustomForm* GetMDIChild(Integer index) const;
  Integer GetChildIndex(const TObject* child) const;
  Integer GetTabAtPos(TPoint p) { return IndexOfTabAt(p.X, p.Y); }
  TCustomForm* ActiveMDIChild() const { return GetMDIChild(TabIndex()); }
  Integer MDIChildCount() const { return Tabs().Count(); }
  Integer MinimizedCount() const;
  Integer GetImageIndex(Integer tabIndex) override;

  TTabGetImageEvent OnGetImageIndex;
  TMouseEvent OnTabMouseDown;
  TMouseMoveEvent OnTabMouseMove;

 protected:
  void Change() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomForm* OwnerForm() const;
  void ChildActivated(TObject* sender);
  void ChildDestroyed(TObject* sender);
  void ChildCaptionChanged(TCustomForm* child);
  void RemoveTab(Integer index);

  String FCaption;
  String FAbout;
  bool FShow = false;
  std::vector<Integer> FGlyphs;
  std::vector<String> FHints;
  TMDIChildHooks FHooks;
};
