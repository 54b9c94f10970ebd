// Controls: the visual components. TControl has bounds, alignment, colour,
// font, hint, cursor, mouse events and a replaceable window procedure;
// TWinControl owns a window of the system, children, focus and keyboard;
// TCustomControl paints itself through a canvas; TGraphicControl is drawn on
// its parent's window.
//
// Every window of the library runs the one window procedure of
// controls.cpp: it finds the control of the window, passes the message
// through the control's hooks and its WindowProc, and never lets an
// exception out (the application's HandleException gets it).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "classes/component.h"
#include "ui/graphics.h"
#include "ui/keptprops.h"
#include "ui/messages.h"

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TBasicActionLink;
class TStrings;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking,
  csDesignerHide,
  csPanning,
  csRecreating,
  csAligning,
  csGlassPaint,
  csPrintClient
};
using TControlState = TSet<TControlStateItem>;

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
  csPannable,
  csAlignWithMargins,
  csGestures,
  csPaintBlackOpaqueOnGlass,
  csOverrideStylePaint
};
using TControlStyle = TSet<TControlStyleItem>;

using TTabOrder = SmallInt;
using TModalResult = Integer;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;
inline constexpr TModalResult mrClose = 8;
inline constexpr TModalResult mrHelp = 9;
inline constexpr TModalResult mrTryAgain = 10;
inline constexpr TModalResult mrContinue = 11;
inline constexpr TModalResult mrAll = 12;
inline constexpr TModalResult mrNoToAll = 13;
inline constexpr TModalResult mrYesToAll = 14;

// The standard cursors beyond those of the run-time library.
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crSize = -22;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

using TMouseEvent = TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = TDelegate<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = TDelegate<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = TDelegate<void(TObject* Sender, Char& Key)>;
using TMouseWheelEvent =
    TDelegate<void(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = TDelegate<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = TDelegate<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TCanResizeEvent = TDelegate<void(TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize)>;
// Files dropped on a window from the shell: their full paths and the client
// point of the drop.
using TDropFilesEvent = TDelegate<void(TObject* Sender, const TStrings& Files, TPoint DropPos)>;

const TTypeInfo& DescribeType(TypeTag<TAlign>);
const TTypeInfo& DescribeType(TypeTag<TAnchorKind>);
const TTypeInfo& DescribeType(TypeTag<TAnchors>);
const TTypeInfo& DescribeType(TypeTag<TFormBorderStyle>);
const TTypeInfo& DescribeType(TypeTag<TBevelCut>);
const TTypeInfo& DescribeType(TypeTag<TMouseButton>);
const TTypeInfo& DescribeType(TypeTag<TMouseEvent>);
const TTypeInfo& DescribeType(TypeTag<TMouseMoveEvent>);
const TTypeInfo& DescribeType(TypeTag<TKeyEvent>);
const TTypeInfo& DescribeType(TypeTag<TKeyPressEvent>);
const TTypeInfo& DescribeType(TypeTag<TMouseWheelEvent>);
const TTypeInfo& DescribeType(TypeTag<TMouseWheelUpDownEvent>);
const TTypeInfo& DescribeType(TypeTag<TContextPopupEvent>);
const TTypeInfo& DescribeType(TypeTag<TCanResizeEvent>);
// TBorderStyle: the two values of TFormBorderStyle that controls have.
const TEnumTypeInfo& BorderStyleType();
// TModalResult: an integer type of its own for the inspector.
const TOrdinalTypeInfo& ModalResultType();

// The shortest and longest a control may be (0: no limit).
class TSizeConstraints : public TPersistent {
  KST_CLASS(TSizeConstraints, TPersistent)
 public:
  explicit TSizeConstraints(TControl* control = nullptr) : FControl(control) {}
  Integer MinWidth() const { return FMinWidth; }
  Integer MinHeight() const { return FMinHeight; }
  Integer MaxWidth() const { return FMaxWidth; }
  Integer MaxHeight() const { return FMaxHeight; }
  void SetMinWidth(Integer v);
  void SetMinHeight(Integer v);
  void SetMaxWidth(Integer v);
  void SetMaxHeight(Integer v);
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override;
  TNotifyEvent OnChange;

 private:
  void Changed();
  TControl* FControl;
  Integer FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// What the hint machinery asks a control with CM_HINTSHOW (LParam points at
// it); the control may change any part or answer non-zero to cancel.
class THintWindow;
struct THintInfo {
  TControl* HintControl = nullptr;
  std::function<THintWindow*()> HintWindowClass;  // makes the window; empty: the application's
  const void* HintWindowClassId = nullptr;        // identity of that class, to reuse the window
  TPoint HintPos;                                 // screen
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;  // control's client coordinates: moving out re-asks
  TPoint CursorPos;  // control's client coordinates
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;
};

// The part of a hint before the first '|', and the part after it.
String GetShortHint(const String& hint);
String GetLongHint(const String& hint);

// A hook in a control's window-procedure chain: it sees the message and
// passes it on with `next` (or handles it and does not).
class TWndProcNext;
using TWndProcHook = TDelegate<void(TMessage& message, const TWndProcNext& next)>;

class TWndProcNext {
 public:
  void operator()(TMessage& message) const;

 private:
  friend class TControl;
  struct Node;
  TControl* FControl = nullptr;
  const std::vector<std::shared_ptr<Node>>* FChain = nullptr;
  size_t FIndex = 0;
};

class TControl : public TComponent {
  KST_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // ---- Place ----
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  Integer Left() const { return FLeft; }
  Integer Top() const { return FTop; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void SetLeft(Integer value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(Integer value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(Integer value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(Integer value) { SetBounds(FLeft, FTop, FWidth, value); }
  virtual void SetBounds(Integer left, Integer top, Integer width, Integer height);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect() const;
  Integer ClientWidth() const { return ClientRect().Width(); }
  Integer ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(Integer value);
  virtual void SetClientHeight(Integer value);
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // From this control's client coordinates to an ancestor's (default: the parent).
  TPoint ClientToParent(TPoint p, TWinControl* ancestor = nullptr) const;
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors anchors);
  TSizeConstraints& Constraints() const { return *FConstraints; }
  TSizeConstraints* GetConstraints() const { return FConstraints.get(); }
  // Records where an anchored control stands relative to its parent's size.
  void UpdateAnchorRules();

  // ---- State ----
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool enabled);
  String Caption() const { return GetText(); }
  void SetCaption(const String& text) { SetText(text); }
  String Text() const { return GetText(); }
  virtual String GetText() const;
  virtual void SetText(const String& text);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  TFont& Font() const { return *FFont; }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* font) { FFont->Assign(font); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& hint) { FHint = hint; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);
  // The action whose caption, hint and state the control shows and which a
  // click runs (unless OnClick was set to something else).
  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer value) { FHelpContext = value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState state) { FControlState = state; }
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle style) { FControlStyle = style; }
  bool MouseCapture() const;
  void SetMouseCapture(bool capture);
  bool IsRightToLeft() const { return false; }

  // ---- Painting ----
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // ---- Messages ----
  // Sends the message through the control's hooks and WindowProc.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  void Perform(TMessage& message) { MainWndProc(message); }
  // The window procedure: by default the control's own WndProc; a caller
  // may put another in its place (and must put back what it found).
  const TWndMethod& WindowProc() const { return FWindowProc; }
  void SetWindowProc(const TWndMethod& method);
  // Hooks in front of WindowProc, the newest first; removed by identity in
  // any order, also while a message is on its way through them.
  void AddWindowProcHook(const TWndProcHook& hook);
  void RemoveWindowProcHook(const TWndProcHook& hook);
  // What WindowProc is unless replaced: mouse and hint bookkeeping, then Dispatch.
  virtual void WndProc(TMessage& message);
  // Hands each message to its handler; messages without one to DefaultHandler.
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  // Sends the message to every child control (TWinControl), or does nothing.
  virtual void Broadcast(TMessage&) {}

  virtual void Click();
  virtual void DblClick();

  // A caption that was the old name follows the name.
  void SetName(const String& name) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  // Events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TContextPopupEvent OnContextPopup;
  TCanResizeEvent OnCanResize;
  // What forms store that the library keeps without acting on it.
  TKeptControlProperties Kept;

 protected:
  friend class TWinControl;
  // Puts the control on top of its siblings or beneath them; a control that
  // must react to its place (a page that comes to the front) overrides it.
  virtual void SetZOrder(bool topMost);
  // Reads what newer designers store beside the published properties (the
  // design-time size, explicit bounds, the non-visual flag): nothing to keep.
  void DefineProperties(TFiler& filer) override;
  friend class TWndProcNext;
  void MainWndProc(TMessage& message);
  void InvokeWindowProc(TMessage& message) { FWindowProc(message); }

  virtual void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y);
  virtual void MouseMove(TShiftState shift, Integer x, Integer y);
  virtual bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos);
  virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
  virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
  virtual void DoContextPopup(TPoint mousePos, bool& handled);
  virtual void Resize();
  // The action changed (or was set): the control takes what it shows from it.
  virtual void ActionChange(TBasicAction* action);
  virtual bool CanResize(Integer& newWidth, Integer& newHeight);
  void ConstrainedResize(Integer& width, Integer& height);
  // Asks the parent to align its children again (this one first).
  virtual void RequestAlign();
  void Changed();
  // Whether events may reach handlers (not while the control or its form goes).
  bool CanFireEvents() const;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Sets the bounds as alignment and anchoring decide, without recording
  // new anchor rules.
  void SetAlignedBounds(Integer left, Integer top, Integer width, Integer height);
  // Updates the stored bounds from the window (TWinControl) after the
  // system moved it.
  void SetBoundsFromWindow(const TRect& r);

  // Message handlers.
  virtual void WMLButtonDown(TMessage& message);
  virtual void WMLButtonUp(TMessage& message);
  virtual void WMLButtonDblClk(TMessage& message);
  virtual void WMRButtonDown(TMessage& message);
  virtual void WMRButtonUp(TMessage& message);
  virtual void WMRButtonDblClk(TMessage& message);
  virtual void WMMButtonDown(TMessage& message);
  virtual void WMMButtonUp(TMessage& message);
  virtual void WMMButtonDblClk(TMessage& message);
  virtual void WMMouseMove(TMessage& message);
  virtual void WMMouseWheel(TMessage& message);
  virtual void WMCancelMode(TMessage& message);
  virtual void WMContextMenu(TMessage& message);
  virtual void CMEnabledChanged(TMessage& message);
  virtual void CMVisibleChanged(TMessage& message);
  virtual void CMFontChanged(TMessage& message);
  virtual void CMColorChanged(TMessage& message);
  virtual void CMParentFontChanged(TMessage& message);
  virtual void CMParentColorChanged(TMessage& message);
  virtual void CMParentShowHintChanged(TMessage& message);
  virtual void CMTextChanged(TMessage& message);
  virtual void CMMouseEnter(TMessage& message);
  virtual void CMMouseLeave(TMessage& message);
  virtual void CMHintShow(TMessage& message);
  virtual void CMMouseWheel(TMessage& message);

  String FText;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;

 private:
  void DoMouseDown(TMessage& message, TMouseButton button, TShiftState shift);
  void DoMouseUp(TMessage& message, TMouseButton button);
  void FontChanged(TObject*);
  void ConstraintsChanged(TObject*);
  void ApplyAnchorRules();
  void ActionLinkChanged(TObject*);

  TWinControl* FParent = nullptr;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TRect FAnchorBounds;
  TSize FAnchorParentSize;
  bool FAnchorsRecorded = false;
  std::unique_ptr<TSizeConstraints> FConstraints;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FUpdatingParentFont = false;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TPopupMenu* FPopupMenu = nullptr;
  std::unique_ptr<TBasicActionLink> FActionLink;
  Integer FHelpContext = 0;
  TWndMethod FWindowProc;
  std::vector<std::shared_ptr<TWndProcNext::Node>> FHooks;
};

// What a window is created with; CreateParams fills it.
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSW WindowClass{};
  String WinClassName;
};

class TWinControl : public TControl {
  KST_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, made (with the parents' windows) on first use.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // A window of the system (no control of ours) that parents this control.
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND parent);
  void SetParent(TWinControl* parent) override;
  bool Showing() const { return FShowing; }

  // The children: graphic controls first, then window controls, each in z-order.
  int ControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }
  TControl* Controls(int index) const;
  int WinControlCount() const { return static_cast<int>(FWinControls.size()); }
  bool ContainsControl(const TControl* control) const;
  // The topmost visible (enabled, unless allowed) child at a client point.
  TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  void DisableAlign();
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel != 0; }
  void Realign();
  // Aligns the children (the given one first among equals) within the rectangle.
  virtual void AlignControls(TControl* control, TRect& rect);
  // The part of the client area that aligned children share.
  virtual void AdjustClientRect(TRect& rect) const;
  void AlignControl(TControl* control);

  // ---- Focus and keyboard ----
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  TTabOrder TabOrder() const;
  void SetTabOrder(TTabOrder order);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value);
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  TBrush& Brush() const { return *FBrush; }
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
  bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  void SetParentBackground(bool value);

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void SetEnabled(bool enabled) override;
  String GetText() const override;
  void SetText(const String& text) override;
  // Destroys the window and makes it again as CreateParams now say,
  // keeping text, bounds, children and focus.
  void RecreateWnd();
  // Paints the control and its children into a device context at (x, y).
  void PaintTo(HDC dc, Integer x, Integer y);
  // Paints what the control shows behind a child: its background and own
  // painting, moved so that the child's top-left lands at the origin.
  void PaintBackgroundOf(const TControl& child, HDC dc);
  void Broadcast(TMessage& message) override;
  void NotifyControls(UINT msg);
  // Streaming: the children this root owns, in the order of Controls; a
  // child's position among its siblings.
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void ScrollBy(Integer deltaX, Integer deltaY);
  void UpdateControlState();
  // Whether files dropped on the window from the shell reach OnDropFiles.
  bool AcceptFiles() const { return FAcceptFiles; }
  void SetAcceptFiles(bool value);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TDropFilesEvent OnDropFiles;

  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  // Runs the key events of a key message (KeyPreview of the form first);
  // true when a handler consumed the key.
  bool DoKeyDown(TMessage& message);
  bool DoKeyUp(TMessage& message);
  bool DoKeyPress(TMessage& message);

 protected:
  friend class TControl;
  // Asked before a control becomes a child: a container that holds only
  // some kinds of control raises an error, and the control stays where it was.
  virtual void ValidateInsert(TControl* control);
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void CreateHandle();
  virtual void DestroyHandle();
  // Makes the window a superclass of a system window class.
  void CreateSubClass(TCreateParams& params, const wchar_t* controlClassName);
  // The control that the next window made on this thread belongs to.
  static void SetCreationControl(TWinControl* control);
  void UpdateShowing();
  void UpdateBounds();
  HWND PrecedingWindow(const TWinControl* control) const;

  virtual void PaintWindow(HDC dc);
  void PaintHandler(HDC dc, bool erase);
  void PaintControls(HDC dc, TControl* first);
  virtual void EraseBackground(HDC dc);
  // Whether this control lets the parent's painting show through (its
  // background is then painted by the parent).
  virtual bool IsTransparent() const { return ParentBackground(); }

  virtual void KeyDown(Word& key, TShiftState shift);
  virtual void KeyUp(Word& key, TShiftState shift);
  virtual void KeyPress(Char& key);
  virtual void DoEnter();
  virtual void DoExit();
  void Resize() override;
  void Loaded() override;

  // Message handlers.
  virtual void WMPaint(TMessage& message);
  virtual void WMPrintClient(TMessage& message);
  virtual void WMEraseBkgnd(TMessage& message);
  virtual void WMSize(TMessage& message);
  virtual void WMWindowPosChanged(TMessage& message);
  virtual void WMSetFocus(TMessage& message);
  virtual void WMKillFocus(TMessage& message);
  virtual void WMSetCursor(TMessage& message);
  virtual void WMKeyDown(TMessage& message);
  virtual void WMKeyUp(TMessage& message);
  virtual void WMChar(TMessage& message);
  virtual void WMCommand(TMessage& message);
  virtual void WMNotify(TMessage& message);
  virtual void WMCtlColor(TMessage& message);
  virtual void WMDrawItem(TMessage& message);
  virtual void WMMeasureItem(TMessage& message);
  virtual void WMScroll(TMessage& message);
  virtual void WMNCDestroy(TMessage& message);
  virtual void WMDropFiles(TMessage& message);
  virtual void CNKeyDown(TMessage& message);
  virtual void CNChar(TMessage& message);
  virtual void CNCtlColor(TMessage& message);
  virtual void CMDialogKey(TMessage& message);
  virtual void CMDialogChar(TMessage& message);
  virtual void CMFocusChanged(TMessage& message);
  virtual void CMShowingChanged(TMessage& message);
  virtual void CMEnter(TMessage& message);
  virtual void CMExit(TMessage& message);
  virtual void CMRecreateWnd(TMessage& message);
  void CMEnabledChanged(TMessage& message) override;
  void CMVisibleChanged(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void CMColorChanged(TMessage& message) override;
  void CMTextChanged(TMessage& message) override;

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  bool FShowing = false;

 private:
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  bool ReflectToChild(TMessage& message, HWND child, UINT reflected);
  void UpdateTabOrder(TTabOrder order);

  HWND FParentWindow = nullptr;
  std::vector<TControl*> FControls;        // graphic controls, in z-order
  std::vector<TWinControl*> FWinControls;  // window controls, in z-order
  std::vector<TWinControl*> FTabList;
  std::unique_ptr<TBrush> FBrush;
  int FAlignLevel = 0;
  bool FTabStop = false;
  bool FDoubleBuffered = false;
  bool FAcceptFiles = false;
  TTabOrder FLoadedTabOrder = -1;  // as read, sorted out once all siblings are there
};

// A canvas on a control: the control's window, or the parent's window
// clipped to a graphic control. Its device context is let go after every
// message and made again on use.
class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* control) : FControl(control) {}
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl;
  HWND FWindow = nullptr;
  HDC FContext = nullptr;
};

// Lets go of every control canvas's device context (after each message).
void FreeDeviceContexts();

class TCustomControl : public TWinControl {
  KST_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas& Canvas() const { return *FCanvas; }
  TCanvas* GetCanvas() const { return FCanvas.get(); }

 protected:
  // Paints the client area on Canvas (whose context is the paint's).
  virtual void Paint();
  void PaintWindow(HDC dc) override;
  void WMPaint(TMessage& message) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TGraphicControl : public TControl {
  KST_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas& Canvas() const { return *FCanvas; }
  TCanvas* GetCanvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint();
  void Dispatch(TMessage& message) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// The mouse as the system reports it.
class TMouse {
 public:
  TPoint CursorPos() const;
  void SetCursorPos(TPoint p);
  // The window that has the mouse captured (nullptr: none).
  HWND Capture() const { return GetCapture(); }
  bool WheelPresent() const { return GetSystemMetrics(SM_MOUSEWHEELPRESENT) != 0; }
  // Lines one wheel notch scrolls (-1: a page).
  Integer WheelScrollLines() const;
  // How far the mouse moves before a press becomes a drag.
  Integer DragThreshold() const { return FDragThreshold; }
  void SetDragThreshold(Integer value) { FDragThreshold = value; }
  bool DragImmediate() const { return FDragImmediate; }
  void SetDragImmediate(bool value) { FDragImmediate = value; }

 private:
  Integer FDragThreshold = 5;
  bool FDragImmediate = true;
};
extern TMouse Mouse;

// The control of a window of this library, or nullptr.
TWinControl* FindControl(HWND window);
// The control under a screen point (a graphic child when there is one).
TControl* FindDragTarget(TPoint screenPos, bool allowDisabled);
// The control whose window is under a screen point.
TWinControl* FindWindowControl(TPoint screenPos);
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The form a control sits on (the topmost form of its parents).
TCustomForm* GetParentForm(const TControl* control, bool topForm = true);
// The one window procedure of the library's windows.
LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// A hidden window whose messages go to a method (timers, releasers): the
// method's exceptions go to the application's handler. Other programs may
// look for the window by a class name of its own.
HWND AllocateHWnd(const TWndMethod& method, const wchar_t* className = nullptr);
void DeallocateHWnd(HWND window);
