// Further controls of the extra, standard, button and spin families: the
// shape, the control bar, the link label, the edit with buttons, the static
// text, the speed button and the spin edit.
#pragma once

#include <memory>

#include "ui/controls.h"
#include "ui/graphics.h"
#include "ui/stdctrls.h"

class TCustomImageList;
class TPopupMenu;

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };
enum TSysLinkType { sltURL, sltID };
using TSysLinkEvent = TDelegate<void(TObject* Sender, const String& Link, TSysLinkType LinkType)>;
const TTypeInfo& DescribeType(TypeTag<TShapeType>);
const TTypeInfo& DescribeType(TypeTag<TStaticBorderStyle>);
const TTypeInfo& DescribeType(TypeTag<TSysLinkType>);
const TTypeInfo& DescribeType(TypeTag<TSysLinkEvent>);

// A rectangle, rounded rectangle or ellipse drawn with the pen and brush.
class TShape : public TGraphicControl {
  KST_CLASS(TShape, TGraphicControl)
 public:
  explicit TShape(TComponent* owner);
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType value);
  TPen* GetPen() const { return FPen.get(); }
  void SetPen(const TPen* pen);
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(const TBrush* brush);

 protected:
  void Paint() override;

 private:
  void StyleChanged(TObject*) { Invalidate(); }
  TShapeType FShape = stRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};

// A text in a window of its own, with an optional border.
class TStaticText : public TWinControl {
  KST_CLASS(TStaticText, TWinControl)
 public:
  explicit TStaticText(TComponent* owner);
  TAlignment Alignment = taLeftJustify;
  bool AutoSize = true, ShowAccelChar = true, Transparent = true;
  TStaticBorderStyle BorderStyle = sbsNone;

 protected:
  void CreateParams(TCreateParams& params) override;
};

// A flat button drawn on its parent: a caption and a glyph, and in a group
// the one that stays down.
class TSpeedButton : public TGraphicControl {
  KST_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;
  bool AllowAllUp = false, Flat = false, Transparent = true;
  Integer GroupIndex = 0, Margin = -1, Spacing = 4, NumGlyphs = 1;
  TButtonLayout Layout = blGlyphLeft;
  bool Down() const { return FDown; }
  void SetDown(bool value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* glyph);
  void Click() override;

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TBitmap> FGlyph;
  bool FDown = false;
};

// A label whose text may hold <a> links: the links show underlined in the
// link colour and report a click through OnLinkClick; nothing is opened.
class TLinkLabel : public TCustomControl {
  KST_CLASS(TLinkLabel, TCustomControl)
 public:
  explicit TLinkLabel(TComponent* owner);
  bool AutoSize = false, UseVisualStyle = false;
  TSysLinkEvent OnLinkClick;
  // The caption without its tags, and the part of it that is a link.
  struct Part {
    String Text;
    String Link;  // empty outside a link
  };
  static std::vector<Part> Parse(const String& caption);

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;

 private:
  std::vector<std::pair<TRect, String>> FLinkRects;
};

// A band container for tool bars.
class TControlBar : public TCustomControl {
  KST_CLASS(TControlBar, TCustomControl)
 public:
  explicit TControlBar(TComponent* owner);
  bool AutoDock = true, AutoDrag = true, AutoSize = false, RowSnap = true;
  Integer RowSize = 26;
  TBevelCut BevelInner = bvRaised, BevelOuter = bvLowered;

 protected:
  void Paint() override;
};

// The image of one end of a TButtonedEdit.
class TEditButton : public TPersistent {
  KST_CLASS(TEditButton, TPersistent)
 public:
  explicit TEditButton(TControl* control = nullptr) : FControl(control) {}
  Integer DisabledImageIndex = -1, HotImageIndex = -1, ImageIndex = -1, PressedImageIndex = -1;
  bool Enabled = true, Visible = false;
  String Hint;
  TPopupMenu* DropDownMenu = nullptr;
  TPersistent* GetOwner() const override;
  void Assign(const TPersistent* source) override;

 private:
  TControl* FControl;
};

// An edit with an image button at either end.
class TButtonedEdit : public TEdit {
  KST_CLASS(TButtonedEdit, TEdit)
 public:
  explicit TButtonedEdit(TComponent* owner);
  ~TButtonedEdit() override;
  TEditButton* GetLeftButton() const { return FLeftButton.get(); }
  void SetLeftButton(const TEditButton* button);
  TEditButton* GetRightButton() const { return FRightButton.get(); }
  void SetRightButton(const TEditButton* button);
  String TextHint;
  TNotifyEvent OnLeftButtonClick, OnRightButtonClick;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TEditButton> FLeftButton, FRightButton;
};

// An edit of a whole number between MinValue and MaxValue (its arrows are
// not drawn yet).
class TSpinEdit : public TEdit {
  KST_CLASS(TSpinEdit, TEdit)
 public:
  explicit TSpinEdit(TComponent* owner);
  Integer MinValue = 0, MaxValue = 0, Increment = 1;
  bool EditorEnabled = true;
  Integer Value() const;
  void SetValue(Integer value);
};
