// The palette tab control: a row of named tabs (the palettes) over a row of
// square buttons of the active palette, each standing for a component class
// with an image and a hint; a click on a button reports its index.
// Palettes and buttons are made in code, not read from forms.
#pragma once

#include "ui/winapi.h"

#include <memory>
#include <vector>

#include "panelkit/navlayout.h"
#include "ui/controls.h"
#include "ui/extctrls.h"
#include "ui/forms.h"
#include "ui/imglist.h"

enum TTabsBackgroundStyle { tbsSolid, tbsVertGradient };
const TTypeInfo& DescribeType(TypeTag<TTabsBackgroundStyle>);

using TButtonClickEvent = TDelegate<void(TObject* Sender, Integer Index)>;
const TMethodTypeInfo& ButtonClickEventType();

class TPxTabButtons;

class TPxPalleteButton : public TObject {
 public:
  explicit TPxPalleteButton(TPxTabButtons* owner) : FOwner(owner) {}
  TPxTabButtons* Owner() const { return FOwner; }
  const TClassInfo* ReferenceType() const { return FReferenceType; }
  void SetReferenceType(const TClassInfo* value) { FReferenceType = value; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value) { FImageIndex = value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& value) { FHint = value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value) { FShowHint = value; }
  // The position in its palette, -1 when absent.
  Integer Index() const;

 private:
  TPxTabButtons* FOwner;
  String FHint;
  Integer FImageIndex = -1;
  const TClassInfo* FReferenceType = nullptr;
  bool FShowHint = false;
};

class TPxTabButtons : public TObject {
 public:
  TPxTabButtons() = default;
  ~TPxTabButtons() override = default;
  TPxTabButtons(const TPxTabButtons&) = delete;
  TPxTabButtons& operator=(const TPxTabButtons&) = delete;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value) { FCaption = value; }
  Integer Count() const { return static_cast<Integer>(FButtons.size()); }
  TPxPalleteButton* Buttons(Integer index) const;
  TPxPalleteButton* AddButton(const TClassInfo* referenceType, Integer imageIndex);
  Integer IndexOf(const TPxPalleteButton* button) const;

 private:
  std::vector<std::unique_ptr<TPxPalleteButton>> FButtons;
  String FCaption;
};

class TPxButtonHint : public THintWindow {
  KST_CLASS(TPxButtonHint, THintWindow)
 public:
  explicit TPxButtonHint(TComponent* owner);
  TPxPalleteButton* Button() const { return FButton; }
  void SetButton(TPxPalleteButton* value) { FButton = value; }

 private:
  TPxPalleteButton* FButton = nullptr;
};

class TPxTabControl : public TCustomControl {
  KST_CLASS(TPxTabControl, TCustomControl)
 public:
  explicit TPxTabControl(TComponent* owner);
  ~TPxTabControl() override;

  Integer ActiveIndex() const { return FActiveIndex; }
  void SetActiveIndex(Integer value) { FActiveIndex = value; }
  TTabsBackgroundStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TTabsBackgroundStyle value);
  Integer ButtonHeight() const { return FMetrics.ButtonHeight; }
  void SetButtonHeight(Integer value);
  Integer ButtonWidth() const { return FMetrics.ButtonWidth; }
  void SetButtonWidth(Integer value) { FMetrics.ButtonWidth = value; }
  Integer Count() const { return static_cast<Integer>(FPalettes.size()); }
  // Watched: a freed image list is let go of.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  Integer LeftIndent() const { return FLeftIndent; }
  void SetLeftIndent(Integer value);
  Integer Margin() const { return FMetrics.Margin; }
  void SetMargin(Integer value);
  Integer TabHeight() const { return FMetrics.TabHeight; }
  void SetTabHeight(Integer value);
  Integer TopIndent() const { return FMetrics.TopIndent; }
  void SetTopIndent(Integer value);
  Integer HoverButton() const { return FHoverButton; }
  Integer DownButton() const { return FDownButton; }
  TPxButtonHint& HintWindow() const { return *FHintWindow; }
  TTimer& HintTimer() const { return *FHintTimer; }
  TTimer& HintHideTimer() const { return *FHintHideTimer; }

  TPxTabButtons* Palettes(Integer index) const;
  // Null when the palette cannot be made.
  TPxTabButtons* Add(const String& caption);
  // To the palette of that name (exact case), made when missing.
  TPxPalleteButton* AddButton(const String& paletteName, const TClassInfo* referenceType, Integer imageIndex);
  TPxTabButtons* GetPaletteByName(const String& name) const;
  bool TabExist(Integer index) const;
  bool ButtonExist(Integer index) const;
  TRect GetTabsRect() const;
  TRect GetButtonsRect() const;
  TRect GetButtonRect(Integer index) const;
  Integer GetButtonAtPos(Integer x, Integer y) const;
  Integer GetTabAtPos(Integer x, Integer y);
  bool CanAutoSize(Integer& newWidth, Integer& newHeight);

  TButtonClickEvent OnButtonClick;

 protected:
  void ApplyAutoSize();
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;
  virtual void DoButtonClick(Integer index);

 private:
  TPaletteMetrics Metrics() const;
  TPxTabButtons* ActivePalette() const;
  void RefreshButton(Integer index);
  void DrawTab(TCanvas& canvas, const TRect& rect, const String& caption, bool active);
  void ShowButtonHint();
  void CancelHints();
  void HintTimerElapsed(TObject*);
  void HintHideTimerElapsed(TObject*);

  Integer FActiveIndex = 0;
  TPaletteMetrics FMetrics;
  Integer FDownButton = -1;
  std::unique_ptr<TTimer> FHintHideTimer;
  std::unique_ptr<TTimer> FHintTimer;
  std::unique_ptr<TPxButtonHint> FHintWindow;
  Integer FHoverButton = -1;
  TCustomImageList* FImages = nullptr;
  Integer FLeftIndent = 2;
  std::vector<std::unique_ptr<TPxTabButtons>> FPalettes;
  TTabsBackgroundStyle FBackgroundStyle = tbsSolid;
  bool FAutoSize = false;
};
