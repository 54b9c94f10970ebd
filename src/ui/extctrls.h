// Extra controls: the panel, the timer, the radio group, the bevel, the
// splitter and the image.
#pragma once

#include "ui/controls.h"
#include "ui/stdctrls.h"

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };
enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

const TTypeInfo& DescribeType(TypeTag<TBevelShape>);
const TTypeInfo& DescribeType(TypeTag<TBevelStyle>);
const TTypeInfo& DescribeType(TypeTag<TResizeStyle>);

// Draws a 3-D frame of the given width inside the rectangle, which shrinks by it.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, Integer width);

// A container with a bevelled border and a centred caption.
class TPanel : public TCustomControl {
  KST_CLASS(TPanel, TCustomControl)
 public:
  explicit TPanel(TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut value);
  Integer BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(Integer value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool value);

  void AdjustClientRect(TRect& rect) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;

 private:
  void BoundsChanged();
  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  Integer FBevelWidth = 1;
  Integer FBorderWidth = 0;
  TFormBorderStyle FBorderStyle = bsNone;
  bool FShowCaption = true;
};

// Fires OnTimer every Interval milliseconds while enabled.
class TTimer : public TComponent {
  KST_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(const TNotifyEvent& handler);

 protected:
  void Loaded() override;
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& message);
  bool FEnabled = true;
  Cardinal FInterval = 1000;
  TNotifyEvent FOnTimer;
  HWND FWindow = nullptr;
  bool FRunning = false;
};

// A group box of radio buttons made from Items; ItemIndex is the checked one.
class TCustomRadioGroup : public TCustomGroupBox {
  KST_CLASS(TCustomRadioGroup, TCustomGroupBox)
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;

  TStrings& Items() const { return *FItems; }
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* items);
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer value);
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer value);
  // The radio button of an item.
  TRadioButton* Buttons(Integer index) const;
  Integer ButtonCount() const { return static_cast<Integer>(FButtons.size()); }

 protected:
  void Loaded() override;
  void Dispatch(TMessage& message) override;

 private:
  void ItemsChanged(TObject*);
  void ButtonClick(TObject* sender);
  void UpdateButtons();
  void ArrangeButtons();
  std::unique_ptr<TStringList> FItems;
  std::vector<TRadioButton*> FButtons;
  Integer FItemIndex = -1;
  Integer FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
  KST_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

// A line or frame drawn in 3-D.
class TBevel : public TGraphicControl {
  KST_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle value);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// A bar between aligned controls that resizes the control before it (the
// one it is aligned against) when dragged with the mouse.
class TSplitter : public TGraphicControl {
  KST_CLASS(TSplitter, TGraphicControl)
 public:
  explicit TSplitter(TComponent* owner);
  ~TSplitter() override;

  // The smallest size the resized control, and the room on the other side, may have.
  Integer MinSize() const { return FMinSize; }
  void SetMinSize(Integer value) { FMinSize = std::max(1, value); }
  TResizeStyle ResizeStyle() const { return FResizeStyle; }
  void SetResizeStyle(TResizeStyle value) { FResizeStyle = value; }
  bool Beveled() const { return FBeveled; }
  void SetBeveled(bool value);
  // The control the splitter resizes (nullptr: none beside it).
  TControl* ResizeControl() const { return FControl; }

  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void RequestAlign() override;

 private:
  TControl* FindControl() const;
  bool Vertical() const { return Align() == alLeft || Align() == alRight; }
  // The new size of the control for a mouse at this point of the parent.
  Integer CalcSplitSize(Integer x, Integer y) const;
  void DrawLine();
  void UpdateSize();
  void StopSizing();
  TControl* FControl = nullptr;
  Integer FMinSize = 30;
  TResizeStyle FResizeStyle = rsPattern;
  bool FBeveled = false;
  TPoint FDownPos;
  Integer FNewSize = 0;
  Integer FOldSize = 0;
  Integer FMaxSize = 0;
  bool FSizing = false;
  bool FLineVisible = false;
  Integer FLinePos = 0;
};

// Shows a picture: as it is, centred, stretched (keeping proportions or not).
class TImage : public TGraphicControl {
  KST_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture& Picture() const { return *FPicture; }
  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(const TPicture* picture);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  bool Center() const { return FCenter; }
  void SetCenter(bool value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // Where the picture is drawn, in client coordinates.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged(TObject*);
  std::unique_ptr<TPicture> FPicture;
  bool FAutoSize = false;
  bool FStretch = false;
  bool FCenter = false;
  bool FProportional = false;
  bool FTransparent = false;
};
