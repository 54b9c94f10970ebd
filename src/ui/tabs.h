// The tab set: a row of tabs hanging from the top edge of a strip, drawn by
// the control itself in the classic way, each tab a trapezoid with the
// selected one joined to what lies above it.
#pragma once

#include <memory>
#include <vector>

#include "rtl/stringlist.h"
#include "ui/controls.h"

// Asked before the selected tab changes; clearing AllowChange keeps the old one.
using TTabChangeEvent = TDelegate<void(TObject* Sender, Integer NewTab, bool& AllowChange)>;

const TTypeInfo& DescribeType(TypeTag<TTabChangeEvent>);

class TTabSet : public TCustomControl {
  KST_CLASS(TTabSet, TCustomControl)
 public:
  explicit TTabSet(TComponent* owner);
  ~TTabSet() override;

  TStrings& Tabs() const { return *FTabs; }
  TStrings* GetTabs() const { return FTabs.get(); }
  void SetTabs(TStrings* value);
  // The selected tab, -1 when none.
  Integer TabIndex() const { return FTabIndex; }
  void SetTabIndex(Integer value);
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor value);
  TColor SelectedColor() const { return FSelectedColor; }
  void SetSelectedColor(TColor value);
  TColor UnselectedColor() const { return FUnselectedColor; }
  void SetUnselectedColor(TColor value);
  Integer StartMargin() const { return FStartMargin; }
  void SetStartMargin(Integer value);
  Integer EndMargin() const { return FEndMargin; }
  void SetEndMargin(Integer value);
  Integer TabHeight() const { return FTabHeight; }
  void SetTabHeight(Integer value);

  // The tab under a client point, -1 when none.
  Integer ItemAtPos(TPoint pos);
  // Where a tab stands in the client area (empty when it is not shown).
  TRect ItemRect(Integer index);
  // Makes the tab the selected one as a click does: asks OnChange first.
  bool SelectTab(Integer index);

  TTabChangeEvent OnChange;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;

 private:
  struct TabPlace {
    Integer Left;
    Integer Right;
  };
  void TabsChanged(TObject*);
  std::vector<TabPlace> Layout();

  std::unique_ptr<TStringList> FTabs;
  Integer FTabIndex = -1;
  TColor FBackgroundColor = clBtnFace;
  TColor FSelectedColor = clBtnFace;
  TColor FUnselectedColor = clWindow;
  Integer FStartMargin = 5;
  Integer FEndMargin = 5;
  Integer FTabHeight = 20;
};
