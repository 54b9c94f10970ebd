// The expand panel: a container with a round button and a label at its top.
// Collapsing shrinks it to its header strip and hides its children;
// expanding gives back its full height and shows them. The form holding it
// can grow and shrink with it.
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "panelkit/win32/collection.h"

class TPxExpandPanel : public TPxCollectionControl {
  KST_CLASS(TPxExpandPanel, TPxCollectionControl)
 public:
  static constexpr Integer kButtonSize = 19;
  // The header reaches this far below the button's top.
  static constexpr Integer kHeaderBelowButtonTop = 29;

  explicit TPxExpandPanel(TComponent* owner);
  ~TPxExpandPanel() override;

  Integer ButtonLeft() const { return FButtonLeft; }
  void SetButtonLeft(Integer value) { FButtonLeft = value; }
  Integer ButtonTop() const { return FButtonTop; }
  void SetButtonTop(Integer value) { FButtonTop = value; }
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool value);
  const String& ExpandedText() const { return FExpandedText; }
  void SetExpandedText(const String& value);
  const String& CollapsedText() const { return FCollapsedText; }
  void SetCollapsedText(const String& value);
  TPxMargins* GetInnerMargins() const { return FInnerMargins.get(); }
  void SetInnerMargins(const TPxMargins* value);
  bool ResizeForm() const { return FResizeForm; }
  void SetResizeForm(bool value) { FResizeForm = value; }
  // The height an expansion gives back.
  Integer FullHeight() const { return FFullHeight; }
  bool Hover() const { return FHover; }
  bool Down() const { return FDown; }

  TRect GetButtonRect() const;
  Integer HeaderHeight() const { return FButtonTop + kHeaderBelowButtonTop; }
  void AdjustClientRect(TRect& rect) const override;

  TNotifyEvent OnCollapse;
  TNotifyEvent OnExpand;

 protected:
  void DefineProperties(TFiler& filer) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;
  virtual void DoCollapse();
  virtual void DoExpand();

 private:
  void MarginsChanged(TObject*);
  void RepaintButton();
  void DrawButton(TCanvas& canvas);

  Integer FButtonLeft = 10;
  Integer FButtonTop = 10;
  bool FDown = false;
  Integer FFullHeight = 145;
  bool FHover = false;
  bool FExpanded = true;
  std::unique_ptr<TPxMargins> FInnerMargins;
  String FExpandedText;
  String FCollapsedText;
  bool FResizeForm = false;
};
