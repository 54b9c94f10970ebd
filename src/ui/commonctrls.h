// Further classes of the common-controls family, each one of the system's
// own windows: the progress bar, track bar, up-down, hot key, date picker,
// month calendar, animation, tab control and rich edit. The values forms
// store are kept and given to the window when it is made.
#pragma once

#include "rtl/datetime.h"
#include "ui/controls.h"
#include "ui/stdctrls.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };
enum TProgressBarStyle { pbstNormal, pbstMarquee };
enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TUDAlignButton { udLeft, udRight };
enum TUDOrientation { udHorizontal, udVertical };
enum THKModifier { hkShift, hkCtrl, hkAlt, hkExt };
using THKModifiers = TSet<THKModifier>;
enum THKInvalidKey { hcNone, hcShift, hcCtrl, hcAlt, hcShiftCtrl, hcShiftAlt, hcCtrlAlt, hcShiftCtrlAlt };
using THKInvalidKeys = TSet<THKInvalidKey>;
enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };
enum TDTDateMode { dmComboBox, dmUpDown };
enum TCommonAVI {
  aviNone,
  aviFindFolder,
  aviFindFile,
  aviFindComputer,
  aviCopyFiles,
  aviCopyFile,
  aviRecycleFile,
  aviEmptyRecycle,
  aviDeleteFile
};
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };

const TTypeInfo& DescribeType(TypeTag<TProgressBarOrientation>);
const TTypeInfo& DescribeType(TypeTag<TProgressBarStyle>);
const TTypeInfo& DescribeType(TypeTag<TTrackBarOrientation>);
const TTypeInfo& DescribeType(TypeTag<TTickMark>);
const TTypeInfo& DescribeType(TypeTag<TTickStyle>);
const TTypeInfo& DescribeType(TypeTag<TUDAlignButton>);
const TTypeInfo& DescribeType(TypeTag<TUDOrientation>);
const TTypeInfo& DescribeType(TypeTag<THKModifiers>);
const TTypeInfo& DescribeType(TypeTag<THKInvalidKeys>);
const TTypeInfo& DescribeType(TypeTag<TDateTimeKind>);
const TTypeInfo& DescribeType(TypeTag<TDTDateFormat>);
const TTypeInfo& DescribeType(TypeTag<TDTDateMode>);
const TTypeInfo& DescribeType(TypeTag<TCommonAVI>);
const TTypeInfo& DescribeType(TypeTag<TTabPosition>);
const TTypeInfo& DescribeType(TypeTag<TTabStyle>);

// One of the system's common-control windows, made of the named window
// class once the classes of its group are ready.
class TCommonControl : public TWinControl {
  KST_CLASS(TCommonControl, TWinControl)
 public:
  TCommonControl(TComponent* owner, const wchar_t* windowClass, DWORD commonClasses);
  explicit TCommonControl(TComponent* owner) : TCommonControl(owner, L"STATIC", 0) {}

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // Gives the window the kept values (called once it exists).
  virtual void ApplyToWindow() {}
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

 private:
  const wchar_t* FWindowClass;
  DWORD FCommonClasses;
};

class TProgressBar : public TCommonControl {
  KST_CLASS(TProgressBar, TCommonControl)
 public:
  explicit TProgressBar(TComponent* owner);
  Integer Min = 0, Max = 100, Position = 0, Step = 10;
  bool Smooth = false;
  TProgressBarOrientation Orientation = pbHorizontal;
  TProgressBarStyle Style = pbstNormal;

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyToWindow() override;
};

class TTrackBar : public TCommonControl {
  KST_CLASS(TTrackBar, TCommonControl)
 public:
  explicit TTrackBar(TComponent* owner);
  Integer Min = 0, Max = 10, Position = 0, Frequency = 1, LineSize = 1, PageSize = 2;
  Integer SelStart = 0, SelEnd = 0, ThumbLength = 20;
  TTrackBarOrientation Orientation = trHorizontal;
  TTickMark TickMarks = tmBottomRight;
  TTickStyle TickStyle = tsAuto;
  bool SliderVisible = true, ShowSelRange = true;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyToWindow() override;
};

class TUpDown : public TCommonControl {
  KST_CLASS(TUpDown, TCommonControl)
 public:
  explicit TUpDown(TComponent* owner);
  Integer Min = 0, Max = 100, Position = 0, Increment = 1;
  TUDAlignButton AlignButton = udRight;
  TUDOrientation Orientation = udVertical;
  bool ArrowKeys = true, Thousands = true, Wrap = false;
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* control);

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyToWindow() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TWinControl* FAssociate = nullptr;
};

class THotKey : public TCommonControl {
  KST_CLASS(THotKey, TCommonControl)
 public:
  explicit THotKey(TComponent* owner);
  TShortCut HotKey = 0;
  THKInvalidKeys InvalidKeys{hcNone, hcShift};
  THKModifiers Modifiers{hkAlt};

 protected:
  void ApplyToWindow() override;
};

enum TDTCalAlignment { dtaLeft, dtaRight };
const TTypeInfo& DescribeType(TypeTag<TDTCalAlignment>);

// The colours of a drop-down or month calendar.
class TMonthCalColors : public TPersistent {
  KST_CLASS(TMonthCalColors, TPersistent)
 public:
  explicit TMonthCalColors(TPersistent* owner) : FOwner(owner) {}
  TColor BackColor = clWindow, TextColor = clWindowText, TitleBackColor = clActiveCaption,
         TitleTextColor = clWhite, MonthBackColor = clWhite, TrailingTextColor = clInactiveCaptionText;
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

class TDateTimePicker : public TCommonControl {
  KST_CLASS(TDateTimePicker, TCommonControl)
 public:
  explicit TDateTimePicker(TComponent* owner);
  TDateTime Date = 0, Time = 0;
  TDateTimeKind Kind = dtkDate;
  TDTDateFormat DateFormat = dfShort;
  TDTDateMode DateMode = dmComboBox;
  bool ShowCheckbox = false, Checked = true, ParseInput = false;
  TDTCalAlignment CalAlignment = dtaLeft;
  String Format;
  TNotifyEvent OnChange, OnUserInput, OnCloseUp, OnDropDown;
  TMonthCalColors* GetCalColors() const { return FCalColors.get(); }
  void SetCalColors(const TMonthCalColors* colors);

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyToWindow() override;

 private:
  std::unique_ptr<TMonthCalColors> FCalColors = std::make_unique<TMonthCalColors>(this);
};

class TMonthCalendar : public TCommonControl {
  KST_CLASS(TMonthCalendar, TCommonControl)
 public:
  explicit TMonthCalendar(TComponent* owner);
  TDateTime Date = 0;
  bool MultiSelect = false, ShowToday = true, ShowTodayCircle = true, WeekNumbers = false;
  TNotifyEvent OnClick2;

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyToWindow() override;
};

// Shows the system's built-in animations only: a file named in a form is
// kept as text and never opened.
class TAnimate : public TCommonControl {
  KST_CLASS(TAnimate, TCommonControl)
 public:
  explicit TAnimate(TComponent* owner);
  bool Active = false, AutoSize = true, Center = true, Transparent = true;
  TCommonAVI CommonAVI = aviNone;
  String FileName;
  Integer Repetitions = 0, StartFrame = 1, StopFrame = 0;

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TTabControl : public TCommonControl {
  KST_CLASS(TTabControl, TCommonControl)
 public:
  explicit TTabControl(TComponent* owner);
  ~TTabControl() override;
  TStrings* GetTabs() const { return FTabs.get(); }
  void SetTabs(const TStrings* tabs);
  Integer TabIndex() const;
  void SetTabIndex(Integer index);
  bool HotTrack = false, MultiLine = false, RaggedRight = false;
  TTabPosition TabPosition = tpTop;
  TTabStyle Style = tsTabs;
  Integer TabHeight = 0, TabWidth = 0;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyToWindow() override;
  void AdjustClientRect(TRect& rect) const override;

 private:
  std::unique_ptr<TStringList> FTabs;
  Integer FTabIndex = -1;
};

class TRichEdit;

enum TNumberingStyle { nsNone, nsBullet };
const TTypeInfo& DescribeType(TypeTag<TNumberingStyle>);

// The paragraph formatting of a rich edit's selection: what is read is the
// first selected paragraph's, what is set applies to every selected one.
// Indents and tab stops are in points, as the control's twips divided by 20.
class TParaAttributes : public TPersistent {
  KST_CLASS(TParaAttributes, TPersistent)
 public:
  // Without a rich edit it reads as an empty paragraph and ignores changes.
  explicit TParaAttributes(TRichEdit* richEdit = nullptr) : FRichEdit(richEdit) {}
  static constexpr Integer kMaxTabStops = 32;

  TAlignment Alignment() const;
  void SetAlignment(TAlignment value);
  Integer FirstIndent() const;
  void SetFirstIndent(Integer value);
  Integer LeftIndent() const;
  void SetLeftIndent(Integer value);
  Integer RightIndent() const;
  void SetRightIndent(Integer value);
  TNumberingStyle Numbering() const;
  void SetNumbering(TNumberingStyle value);
  // Tab stop `index` (0 to kMaxTabStops - 1; another raises EListError).
  Integer Tab(Integer index) const;
  void SetTab(Integer index, Integer value);
  Integer TabCount() const;
  void SetTabCount(Integer value);
  void Assign(const TPersistent* source) override;

 private:
  struct ParaFormat;
  ParaFormat Get() const;
  void Set(ParaFormat& format) const;
  // Sets the indent the mask names (start, offset or right), in points.
  void SetIndent(DWORD mask, Integer points) const;
  TRichEdit* FRichEdit;
};

// The system's rich edit window holding the form's lines as plain text.
class TRichEdit : public TMemo {
  KST_CLASS(TRichEdit, TMemo)
 public:
  explicit TRichEdit(TComponent* owner);
  ~TRichEdit() override;
  bool PlainText = false, HideScrollBars = true;
  Integer Zoom = 100;
  TParaAttributes* Paragraph() const { return FParagraph.get(); }

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  std::unique_ptr<TParaAttributes> FParagraph;
};
