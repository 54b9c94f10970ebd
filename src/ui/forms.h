// Forms and the application: scrolling containers, forms (MDI too) read from
// their form resources, frames, the application object with its message
// loop, exception handling, idle work and hints, and the screen.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "rtl/stringlist.h"
#include "ui/controls.h"

class TClassRegistry;
class TApplication;
class TMainMenu;
class TMenuItem;
class TScreen;

// The application object and the screen; the program's start-up code (and
// each test) makes one TApplication, which makes the screen.
extern TApplication* Application;
extern TScreen* Screen;

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TTileMode { tbHorizontal, tbVertical };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = TDelegate<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TDelegate<void(TObject* Sender, bool& CanClose)>;
using TIdleEvent = TDelegate<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = TDelegate<void(TObject* Sender, const Exception& E)>;
using TShowHintEvent = TDelegate<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;

const TTypeInfo& DescribeType(TypeTag<TScrollBarKind>);
const TTypeInfo& DescribeType(TypeTag<TFormStyle>);
const TTypeInfo& DescribeType(TypeTag<TBorderIcon>);
const TTypeInfo& DescribeType(TypeTag<TBorderIcons>);
const TTypeInfo& DescribeType(TypeTag<TPosition>);
const TTypeInfo& DescribeType(TypeTag<TWindowState>);
const TTypeInfo& DescribeType(TypeTag<TCloseAction>);
const TTypeInfo& DescribeType(TypeTag<TTileMode>);
const TTypeInfo& DescribeType(TypeTag<TCloseEvent>);
const TTypeInfo& DescribeType(TypeTag<TCloseQueryEvent>);

class TScrollingWinControl;

// One scroll bar of a scrolling control.
class TControlScrollBar : public TPersistent {
  KST_CLASS(TControlScrollBar, TPersistent)
 public:
  TControlScrollBar(TScrollingWinControl* control = nullptr, TScrollBarKind kind = sbHorizontal)
      : FControl(control), FKind(kind) {}
  TScrollBarKind Kind() const { return FKind; }
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer value) { FIncrement = value; }
  Integer Position() const { return FPosition; }
  void SetPosition(Integer value);
  Integer Range() const { return FRange; }
  void SetRange(Integer value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool Tracking() const { return FTracking; }
  void SetTracking(bool value) { FTracking = value; }
  // Whether the bar is shown now (range bigger than the client).
  bool IsScrollBarVisible() const;
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override;

 private:
  friend class TScrollingWinControl;
  Integer ControlSize() const;
  void Update();
  void ScrollMessage(TMessage& message);
  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  Integer FIncrement = 8;
  Integer FPosition = 0;
  Integer FRange = 0;
  bool FVisible = true;
  bool FTracking = false;
  bool FShown = false;
};

// A window control whose children may extend beyond it and are scrolled.
class TScrollingWinControl : public TWinControl {
  KST_CLASS(TScrollingWinControl, TWinControl)
 public:
  explicit TScrollingWinControl(TComponent* owner);
  ~TScrollingWinControl() override;
  TControlScrollBar& HorzScrollBar() const { return *FHorzScrollBar; }
  TControlScrollBar& VertScrollBar() const { return *FVertScrollBar; }
  TControlScrollBar* GetHorzScrollBar() const { return FHorzScrollBar.get(); }
  TControlScrollBar* GetVertScrollBar() const { return FVertScrollBar.get(); }
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool value);
  // Scrolls so that the control is inside the client area.
  void ScrollInView(TControl* control);
  void AlignControls(TControl* control, TRect& rect) override;

 protected:
  friend class TControlScrollBar;
  void CalcAutoRange();
  void UpdateScrollBars();
  void AdjustClientRect(TRect& rect) const override;
  void Dispatch(TMessage& message) override;
  void CreateWnd() override;

 private:
  std::unique_ptr<TControlScrollBar> FHorzScrollBar;
  std::unique_ptr<TControlScrollBar> FVertScrollBar;
  bool FAutoScroll = false;
  bool FUpdatingScrollBars = false;
};

class TScrollBox : public TScrollingWinControl {
  KST_CLASS(TScrollBox, TScrollingWinControl)
 public:
  explicit TScrollBox(TComponent* owner);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TFormBorderStyle FBorderStyle = bsSingle;
};

// The data of a resource of a module, as a read-only stream.
class TResourceStream : public TCustomMemoryStream {
 public:
  // EResNotFound "Resource %s not found" when the module has none of that name.
  TResourceStream(HINSTANCE instance, const String& name, const wchar_t* type);
  Int64 Write(const void*, Int64) override { throw EStreamError(u"Stream write error"); }
};

// Reads the form resources of the instance's class and of its ancestors
// below `base` (the most basic first) into it: components are created and
// owned, published fields filled and events bound by name. False when none
// of those classes has a resource.
bool InitInheritedComponent(TComponent& instance, const TClassInfo& base);
// Reads the form resource of that name (RCDATA) into the instance; false
// when the module has no such resource.
bool ReadComponentResource(TComponent& instance, const String& resourceName);

class TCustomForm : public TScrollingWinControl {
  KST_CLASS(TCustomForm, TScrollingWinControl)
 public:
  // A form without its components: AfterConstruction reads them (the
  // creation helpers below call it). A plain TForm has no resource and is
  // an empty form.
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the form's resources (every class but TForm itself must have
  // one: EResNotFound "Resource %s not found"), then OnCreate.
  virtual void AfterConstruction();
  // OnDestroy (while the whole object is there), then deletes the form.
  void Free();
  // Frees the form once the messages now waiting have been handled.
  void Release();

  void Close();
  virtual bool CloseQuery();
  void Show();
  // Shows the form modally and returns its ModalResult; EInvalidOperation
  // "Cannot make a visible window modal" when it is shown already.
  virtual TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  TFormState FormState() const { return FFormState; }
  bool Active() const { return FActive; }

  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  // Called when a control of the form gets the focus: runs OnExit and
  // OnEnter along the way; false while the form cannot take it.
  bool SetFocusedControl(TWinControl* control);
  // A control that goes or hides gives up being the active control.
  void DefocusControl(TWinControl* control, bool removing);
  void FocusControl(TWinControl* control);

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition position);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle style);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool value) { FKeyPreview = value; }
  TIcon& Icon() const { return *FIcon; }
  TIcon* GetIcon() const { return FIcon.get(); }
  TCanvas& Canvas() const { return *FCanvas; }
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer value) { FPixelsPerInch = value; }
  Integer TextHeight() const { return FTextHeight; }
  void SetTextHeight(Integer value) { FTextHeight = value; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool value) { FScaled = value; }
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }

  // ---- Menus ----
  // The menu bar (an MDI document's menu joins the frame's bar instead).
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  // The item of an MDI frame's menu under which the system lists the documents.
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* item);
  // Runs the menu item or action whose short-cut the key-down message
  // stands for: an MDI document's own first, then its frame's; an MDI
  // frame asks its active document first. True when one ran.
  virtual bool IsShortCut(const TMessage& message);

  TRect ClientRect() const override;
  void SetClientWidth(Integer value) override;
  void SetClientHeight(Integer value) override;
  void SetVisible(bool visible) override;

  // ---- Multiple documents ----
  HWND ClientHandle() const { return FClientHandle; }
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  // The document windows, the active one first.
  TCustomForm* MDIChildren(int index) const;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode mode) { FTileMode = mode; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void DefaultHandler(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void Destroying() override;
  // The form's controls, then (as root) the components it owns that are no controls.
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWindowHandle() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void PaintWindow(HDC dc) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();
  void CMShowingChanged(TMessage& message) override;
  void CMDialogKey(TMessage& message) override;

 public:
  void SetFocus() override;

 private:
  friend class TApplication;
  void CloseModal();
  void SetActive(bool active);
  void SetWindowFocus();
  void ApplyPosition();
  void CreateClientWindow();
  bool IsShortCutHere(const TMessage& message);
  // Shows the menu on the window (or, for an MDI document, in the frame's bar).
  void ApplyMenu();
  void MergeMenu(bool merge);
  bool MenuMessage(TMessage& message);

  TMainMenu* FMenu = nullptr;
  TMenuItem* FWindowMenu = nullptr;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDefaultPosOnly;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  TFormState FFormState;
  TTileMode FTileMode = tbHorizontal;
  bool FKeyPreview = false;
  bool FActive = false;
  bool FDestroyFired = false;
  bool FInDestructor = false;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  HWND FClientHandle = nullptr;
  WNDPROC FClientDefProc = nullptr;
  std::unique_ptr<TIcon> FIcon;
  std::unique_ptr<TControlCanvas> FCanvas;
  Integer FPixelsPerInch;
  Integer FTextHeight = 13;
  bool FScaled = true;
  bool FOldCreateOrder = false;
  Integer FPendingClientWidth = -1;
  Integer FPendingClientHeight = -1;
  int FFocusCount = 0;
  static LRESULT CALLBACK ClientWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
};

class TForm : public TCustomForm {
  KST_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

// A container with a form resource of its own, placed on forms.
class TFrame : public TScrollingWinControl {
  KST_CLASS(TFrame, TScrollingWinControl)
 public:
  explicit TFrame(TComponent* owner);
  // Reads the frame's resources (every class but TFrame must have one).
  virtual void AfterConstruction();
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
};

// Makes a form or frame of class F (reading its resources); the caller or
// the owner frees it.
template <class F>
F* CreateForm(TComponent* owner) {
  auto* form = new F(owner);
  try {
    form->AfterConstruction();
  } catch (...) {
    delete form;
    throw;
  }
  return form;
}

// Frees a form through Free (OnDestroy first), for unique_ptr.
struct TFormDeleter {
  void operator()(TCustomForm* form) const { form->Free(); }
};
template <class F>
using TFormPtr = std::unique_ptr<F, TFormDeleter>;
template <class F>
TFormPtr<F> MakeForm(TComponent* owner = nullptr) {
  return TFormPtr<F>(CreateForm<F>(owner));
}

// The window that shows hints.
class THintWindow : public TCustomControl {
  KST_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* owner);
  // Shows the hint in the rectangle (screen coordinates).
  virtual void ActivateHint(TRect rect, const String& hint);
  virtual void ActivateHintData(TRect rect, const String& hint, void* data);
  // The rectangle (from 0, 0) the hint needs, at most maxWidth wide.
  virtual TRect CalcHintRect(Integer maxWidth, const String& hint, void* data);
  // Whether the message ends the hint.
  virtual bool IsHintMsg(const MSG& message);
  // Hides the window (it is made again when shown).
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
};

struct TMessageDlgRequest;
class TCommonDialog;

struct TMessageBoxRequest {
  HWND Owner = nullptr;
  String Text;
  String Caption;
  UINT Flags = 0;
};

class TApplication : public TComponent {
  KST_CLASS(TApplication, TComponent)
 public:
  // Becomes the global Application (and makes Screen); forms read with the registry.
  TApplication(TComponent* owner, const TClassRegistry& registry);
  ~TApplication() override;

  const TClassRegistry& ClassRegistry() const { return *FRegistry; }
  // The module whose resources hold the forms (default: the program).
  HINSTANCE ResourceModule() const { return FResourceModule; }
  void SetResourceModule(HINSTANCE module) { FResourceModule = module; }

  // The hidden window of the application (owner of message boxes without a form).
  HWND Handle();
  const String& Title() const { return FTitle; }
  void SetTitle(const String& title);
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* form) { FMainForm = form; }
  // Makes a form owned by the application; the first becomes the main form.
  template <class F>
  void CreateForm(F*& reference) {
    reference = ::CreateForm<F>(this);
    if (!FMainForm) FMainForm = reference;
  }

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Handles every message waiting, then returns.
  void ProcessMessages();
  // Handles one message, or idles and waits for one.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void Minimize();
  void Restore();

  // The current exception (inside a catch) goes to OnException, or is shown
  // in a message box; the silent abort shows nothing.
  void HandleException(TObject* sender);
  void ShowException(const Exception& e);
  TExceptionEvent OnException;

  // A message box owned by the active form; MessageBoxHook answers instead
  // when set (tests).
  int MessageBox(const String& text, const String& caption, UINT flags);
  // The same owned by the given window.
  int MessageBox(const String& text, const String& caption, UINT flags, HWND owner);
  std::function<int(const TMessageBoxRequest&)> MessageBoxHook;
  // Answers message dialogs (dialogs.h) instead of showing them (tests).
  std::function<TModalResult(const TMessageDlgRequest&)> MessageDlgHook;
  // Answers the common dialogs (commdlg.h) instead of showing them (tests):
  // fills the dialog's fields and returns whether it was confirmed.
  std::function<bool(TCommonDialog&)> CommonDialogHook;

  // Idle work: OnIdle and the added handlers run when the queue is empty.
  TIdleEvent OnIdle;
  void AddIdleHandler(const TIdleEvent& handler);
  void RemoveIdleHandler(const TIdleEvent& handler);

  // ---- Hints ----
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value);
  Integer HintPause() const { return FHintPause; }
  void SetHintPause(Integer value) { FHintPause = value; }
  Integer HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(Integer value) { FHintShortPause = value; }
  Integer HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(Integer value) { FHintHidePause = value; }
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor color) { FHintColor = color; }
  // Makes hint windows (default: THintWindow).
  std::function<THintWindow*()> HintWindowClass;
  THintWindow* HintWindowInstance() const { return FHintWindow; }
  TControl* HintControl() const { return FHintControl; }
  // Shows the hint of the control under the cursor position (screen) now.
  void ActivateHint(TPoint cursorPos);
  void CancelHint();
  void HideHint();
  // The mouse moved over a control: starts, moves or ends the hint.
  void HintMouseMessage(TControl* control, const TMessage& message);
  // The long part of the hint of the control under the mouse.
  const String& Hint() const { return FHint; }
  void SetHint(const String& hint);
  TNotifyEvent OnHint;
  TShowHintEvent OnShowHint;

  // Modeless dialog windows whose keys IsDialogMessage handles.
  HWND DialogHandle() const { return FDialogHandle; }
  void SetDialogHandle(HWND window) { FDialogHandle = window; }

  // Bookkeeping of the control under the mouse and of controls that go.
  void ControlDestroyed(TControl* control);
  void MouseMovedOver(TControl* control);
  TControl* MouseControl() const { return FMouseControl; }

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  // Command numbers of menu items, unique among the windows of the program
  // (a frame's bar holds its documents' items too); 0 when all are taken.
  Word AllocateMenuCommand();
  void ReleaseMenuCommand(Word command);

 private:
  bool ProcessMessage(MSG& msg);
  bool IsKeyMsg(MSG& msg);
  bool IsDlgMsg(MSG& msg);
  bool IsMDIMsg(MSG& msg);
  bool IsHintMsg(MSG& msg);
  void Idle(const MSG& msg);
  void DoMouseIdle();
  void WndProc(TMessage& message);
  void StartHintTimer(Integer pause, int mode);
  void StopHintTimer();
  void HintTimerExpired();

  const TClassRegistry* FRegistry;
  HINSTANCE FResourceModule;
  HWND FHandle = nullptr;
  String FTitle;
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FHandleCreated = false;
  std::vector<TIdleEvent> FIdleHandlers;
  bool FShowHint = true;
  Integer FHintPause = 500;
  Integer FHintShortPause = 50;
  Integer FHintHidePause = 2500;
  TColor FHintColor = clInfoBk;
  THintWindow* FHintWindow = nullptr;
  const void* FHintWindowClassId = nullptr;
  TControl* FHintControl = nullptr;
  TRect FHintCursorRect;
  bool FHintActive = false;
  int FHintTimerMode = 0;
  String FHint;
  HWND FDialogHandle = nullptr;
  TControl* FMouseControl = nullptr;
  std::vector<bool> FMenuCommands;
  size_t FNextMenuCommand = 0;
  std::unique_ptr<TScreen> FScreen;
};

class TScreen : public TComponent {
  KST_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;

  // The cursor for the whole application (crDefault: each control's own).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);
  // The cursor handle of a cursor number; the standard numbers are the
  // system's cursors, others are added with SetCursors.
  HCURSOR Cursors(Integer index) const;
  void SetCursors(Integer index, HCURSOR cursor);

  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int index) const { return FForms.at(static_cast<size_t>(index)); }
  int CustomFormCount() const { return FormCount(); }
  TCustomForm* CustomForms(int index) const { return Forms(index); }
  TCustomForm* ActiveCustomForm() const { return FActiveForm; }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  TCustomForm* FocusedForm() const { return FFocusedForm; }

  // Font families of the screen, sorted.
  TStrings& Fonts();
  TRect WorkAreaRect() const;
  Integer Width() const;
  Integer Height() const;
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  TFont& HintFont() const { return *FHintFont; }
  TFont& MenuFont() const { return *FMenuFont; }
  TFont& IconFont() const { return *FIconFont; }

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void SetFocusedForm(TCustomForm* form);
  void UpdateActive(TCustomForm* form, TWinControl* control);

  TCursor FCursor = crDefault;
  std::vector<std::pair<Integer, HCURSOR>> FCursors;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  std::unique_ptr<TStringList> FFonts;
  Integer FPixelsPerInch;
  std::unique_ptr<TFont> FHintFont;
  std::unique_ptr<TFont> FMenuFont;
  std::unique_ptr<TFont> FIconFont;
};
