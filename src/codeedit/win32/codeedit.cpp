#include "ui/winapi.h"

#include "codeedit/win32/codeedit.h"

#include <imm.h>

#include <algorithm>

#include "classes/filer.h"
#include "classes/reflection.h"
#include "codeedit/editcaret.h"
#include "codeedit/editcommands.h"
#include "codeedit/edittext.h"
#include "codeedit/paintplan.h"
#include "rtl/codepage.h"
#include "rtl/sysstr.h"
#include "ui/clipbrd.h"
#include "ui/graphics.h"
#include "ui/publish.h"

namespace {

bool SameStroke(const TCodeEditKeyStroke& a, const TCodeEditKeyStroke& b) {
  return a.ShortCut() == b.ShortCut() && a.ShortCut2() == b.ShortCut2() && a.Command() == b.Command();
}

bool Contains(const TCodeEditKeyStrokes& strokes, const TCodeEditKeyStroke& stroke) {
  for (Integer i = 0; i < strokes.Count(); ++i)
    if (SameStroke(strokes.Items(i), stroke)) return true;
  return false;
}

bool KeystrokesDiffer(const TCodeEditKeyStrokes& a, const TCodeEditKeyStrokes& b) {
  if (a.Count() != b.Count()) return true;
  for (Integer i = 0; i < a.Count(); ++i)
    if (!SameStroke(a.Items(i), b.Items(i))) return true;
  return false;
}

// The items of `strokes` that `other` lacks, as a collection of keystroke items.
void WriteMissing(TWriter& writer, const TCodeEditKeyStrokes& strokes, const TCodeEditKeyStrokes& other) {
  std::vector<const TCodeEditKeyStroke*> items;
  for (Integer i = 0; i < strokes.Count(); ++i)
    if (!Contains(other, strokes.Items(i))) items.push_back(&strokes.Items(i));
  writer.WriteCollection(static_cast<Integer>(items.size()), [&](Integer index) {
    const TCodeEditKeyStroke& item = *items[static_cast<size_t>(index)];
    String name;
    writer.WriteStr(std::string_view("Command"));
    if (IdentOfCommand(item.Command(), name))
      writer.WriteIdent(name);
    else
      writer.WriteInteger(static_cast<Integer>(item.Command()));
    writer.WriteStr(std::string_view("ShortCut"));
    writer.WriteInteger(static_cast<Integer>(item.ShortCut()));
    if (item.ShortCut2() != 0) {
      writer.WriteStr(std::string_view("ShortCut2"));
      writer.WriteInteger(static_cast<Integer>(item.ShortCut2()));
    }
  });
}

// Reads the collection of keystroke items that comes next, if one does.
void ReadKeystrokeItems(TReader& reader, const std::function<void(const TCodeEditKeyStroke&)>& take) {
  if (reader.NextValue() != vaCollection) {
    reader.SkipValue();
    return;
  }
  reader.ReadCollection([] {},
                        [&] {
                          TCodeEditKeyStroke item;
                          while (!reader.EndOfList()) {
                            const String name = reader.ReadStr();
                            if (SameText(name, u"Command")) {
                              Integer command = 0;
                              if (reader.NextValue() == vaIdent) {
                                if (!CommandByIdent(reader.ReadIdent(), command)) TReader::PropValueError();
                              } else {
                                command = reader.ReadInteger();
                              }
                              if (command < 0 || command > 0xFFFF) TReader::PropValueError();
                              item.SetCommand(static_cast<TCodeEditorCommand>(command));
                            } else if (SameText(name, u"ShortCut") || SameText(name, u"ShortCut2")) {
                              Word key = 0;
                              TShiftState shift;
                              ShortCutToKey(static_cast<TShortCut>(reader.ReadInteger()), key, shift);
                              if (name.size() == 8) {
                                item.SetKey(key);
                                item.SetShift(shift);
                              } else {
                                item.SetKey2(key);
                                item.SetShift2(shift);
                              }
                            } else {
                              reader.SkipValue();
                            }
                          }
                          take(item);
                        });
}

}  // namespace

// ---- Types of the published properties ----

const TTypeInfo& DescribeType(TypeTag<TCodeEditorOption>) {
  static const TEnumTypeInfo t(u"TCodeEditorOption", u"CodeEdit",
                               {u"eoAltSetsColumnMode",
                                u"eoAutoIndent",
                                u"eoAutoSizeMaxScrollWidth",
                                u"eoDisableScrollArrows",
                                u"eoDragDropEditing",
                                u"eoDropFiles",
                                u"eoEnhanceHomeKey",
                                u"eoEnhanceEndKey",
                                u"eoGroupUndo",
                                u"eoHalfPageScroll",
                                u"eoHideShowScrollbars",
                                u"eoKeepCaretX",
                                u"eoNoCaret",
                                u"eoNoSelection",
                                u"eoRightMouseMovesCursor",
                                u"eoScrollByOneLess",
                                u"eoScrollHintFollows",
                                u"eoScrollPastEof",
                                u"eoScrollPastEol",
                                u"eoShowScrollHint",
                                u"eoShowSpecialChars",
                                u"eoSmartTabDelete",
                                u"eoSmartTabs",
                                u"eoSpecialLineDefaultFg",
                                u"eoTabIndent",
                                u"eoTabsToSpaces",
                                u"eoTrimTrailingSpaces"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCodeEditorOptions>) {
  static const TSetTypeInfo t(u"TCodeEditorOptions", u"CodeEdit",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TCodeEditorOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCodeSelectionMode>) {
  static const TEnumTypeInfo t(u"TCodeSelectionMode", u"CodeEdit", {u"smNormal", u"smLine", u"smColumn"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCodeEditCaretType>) {
  static const TEnumTypeInfo t(u"TCodeEditCaretType", u"CodeEdit",
                               {u"ctVerticalLine", u"ctHorizontalLine", u"ctHalfBlock", u"ctBlock"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCodeScrollHintFormat>) {
  static const TEnumTypeInfo t(u"TCodeScrollHintFormat", u"CodeEdit", {u"shfTopLineOnly", u"shfTopToBottom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCodeFontSmoothMethod>) {
  static const TEnumTypeInfo t(u"TCodeFontSmoothMethod", u"CodeEdit", {u"fsmNone", u"fsmAntiAlias", u"fsmClearType"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCodeStatusChange>) {
  static const TEnumTypeInfo t(u"TCodeStatusChange", u"CodeEdit",
                               {u"scAll", u"scCaretX", u"scCaretY", u"scLeftChar", u"scTopLine", u"scInsertMode",
                                u"scModified", u"scSelection", u"scReadOnly"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCodeStatusChanges>) {
  static const TSetTypeInfo t(u"TCodeStatusChanges", u"CodeEdit",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TCodeStatusChange>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TStatusChangeEvent>) {
  static const TMethodTypeInfo t(u"TStatusChangeEvent", u"CodeEdit", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Changes", u"TCodeStatusChanges")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TProcessCommandEvent>) {
  static const TMethodTypeInfo t(u"TProcessCommandEvent", u"CodeEdit", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Command", u"TCodeEditorCommand", kVarParam),
                                  Param(u"AChar", u"Char", kVarParam), Param(u"Data", u"Pointer")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TContextHelpEvent>) {
  static const TMethodTypeInfo t(u"TContextHelpEvent", u"CodeEdit", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"word", u"string")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPlaceMarkEvent>) {
  static const TMethodTypeInfo t(u"TPlaceMarkEvent", u"CodeEdit", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Mark", u"TCodeEditMark", kVarParam)});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TCodeGutterBorderStyle>) {
  static const TEnumTypeInfo t(u"TCodeGutterBorderStyle", u"CodeEdit", {u"gbsNone", u"gbsMiddle", u"gbsRight"});
  return t;
}

// ---- Appearance objects ----

KST_CLASS_IMPL(TCodeEditGutter, "CodeEdit")
KST_CLASS_IMPL(TCodeEditSelectedColor, "CodeEdit")
KST_CLASS_IMPL(TCodeEditBookMarkOpt, "CodeEdit")

TCodeEditGutter::TCodeEditGutter(TPersistent* owner, TCodeGutter& gutter)
    : TOwnedPersistent(owner), FGutter(gutter), FFont(std::make_unique<TFont>()) {
  FFont->SetName(u"Courier New");
  FFont->SetSize(8);
  FFont->OnChange = [this](TObject*) { FGutter.OnChange(&FGutter); };
}

void TCodeEditGutter::SetFont(const TFont* value) {
  if (value) FFont->Assign(value);
}

void TCodeEditGutter::Describe(TClassBuilder<TCodeEditGutter>& c) {
  using G = TCodeEditGutter;
  c.Property(
       u"AutoSize", [](const G& o) { return o.Gutter().AutoSize(); }, [](G& o, bool v) { o.Gutter().SetAutoSize(v); })
      .Default(0);
  c.Property(
       u"BorderStyle", [](const G& o) { return o.Gutter().BorderStyle(); },
       [](G& o, TCodeGutterBorderStyle v) { o.Gutter().SetBorderStyle(v); })
      .Default(gbsMiddle);
  c.Property(
       u"Color", [](const G& o) { return o.Gutter().Color(); }, [](G& o, TColor v) { o.Gutter().SetColor(v); },
       &types::Color())
      .Default(clBtnFace);
  c.Property(
       u"BorderColor", [](const G& o) { return o.Gutter().BorderColor(); },
       [](G& o, TColor v) { o.Gutter().SetBorderColor(v); }, &types::Color())
      .Default(clWindow);
  c.Property(
       u"Cursor", [](const G& o) { return o.Gutter().Cursor(); }, [](G& o, TCursor v) { o.Gutter().SetCursor(v); },
       &types::Cursor())
      .Default(crDefault);
  c.Property(
       u"DigitCount", [](const G& o) { return o.Gutter().DigitCount(); },
       [](G& o, Integer v) { o.Gutter().SetDigitCount(v); })
      .Default(4);
  c.Property(u"Font", &G::GetFont, &G::SetFont);
  c.Property(
       u"LeadingZeros", [](const G& o) { return o.Gutter().LeadingZeros(); },
       [](G& o, bool v) { o.Gutter().SetLeadingZeros(v); })
      .Default(0);
  c.Property(
       u"LeftOffset", [](const G& o) { return o.Gutter().LeftOffset(); },
       [](G& o, Integer v) { o.Gutter().SetLeftOffset(v); })
      .Default(16);
  c.Property(
       u"RightOffset", [](const G& o) { return o.Gutter().RightOffset(); },
       [](G& o, Integer v) { o.Gutter().SetRightOffset(v); })
      .Default(2);
  c.Property(
       u"ShowLineNumbers", [](const G& o) { return o.Gutter().ShowLineNumbers(); },
       [](G& o, bool v) { o.Gutter().SetShowLineNumbers(v); })
      .Default(0);
  c.Property(
       u"UseFontStyle", [](const G& o) { return o.Gutter().UseFontStyle(); },
       [](G& o, bool v) { o.Gutter().SetUseFontStyle(v); })
      .Default(1);
  c.Property(
       u"Visible", [](const G& o) { return o.Gutter().Visible(); }, [](G& o, bool v) { o.Gutter().SetVisible(v); })
      .Default(1);
  c.Property(
       u"Width", [](const G& o) { return o.Gutter().Width(); }, [](G& o, Integer v) { o.Gutter().SetWidth(v); })
      .Default(30);
  c.Property(
       u"ZeroStart", [](const G& o) { return o.Gutter().ZeroStart(); },
       [](G& o, bool v) { o.Gutter().SetZeroStart(v); })
      .Default(0);
  c.Property(
       u"LineNumberStart", [](const G& o) { return o.Gutter().LineNumberStart(); },
       [](G& o, Integer v) { o.Gutter().SetLineNumberStart(v); })
      .Default(1);
  c.Property(
       u"Gradient", [](const G& o) { return o.Gutter().Gradient(); }, [](G& o, bool v) { o.Gutter().SetGradient(v); })
      .Default(0);
  c.Property(
       u"GradientStartColor", [](const G& o) { return o.Gutter().GradientStartColor(); },
       [](G& o, TColor v) { o.Gutter().SetGradientStartColor(v); }, &types::Color())
      .Default(clWindow);
  c.Property(
       u"GradientEndColor", [](const G& o) { return o.Gutter().GradientEndColor(); },
       [](G& o, TColor v) { o.Gutter().SetGradientEndColor(v); }, &types::Color())
      .Default(clBtnFace);
  c.Property(
       u"GradientSteps", [](const G& o) { return o.Gutter().GradientSteps(); },
       [](G& o, Integer v) { o.Gutter().SetGradientSteps(v); })
      .Default(48);
}

void TCodeEditSelectedColor::Describe(TClassBuilder<TCodeEditSelectedColor>& c) {
  using S = TCodeEditSelectedColor;
  c.Property(
       u"Background", [](const S& o) { return o.Colors().Background(); },
       [](S& o, TColor v) { o.Colors().SetBackground(v); }, &types::Color())
      .Default(clHighlight);
  c.Property(
       u"Foreground", [](const S& o) { return o.Colors().Foreground(); },
       [](S& o, TColor v) { o.Colors().SetForeground(v); }, &types::Color())
      .Default(clHighlightText);
}

void TCodeEditBookMarkOpt::Describe(TClassBuilder<TCodeEditBookMarkOpt>& c) {
  using B = TCodeEditBookMarkOpt;
  c.Property(
       u"DrawBookmarksFirst", [](const B& o) { return o.Options().DrawBookmarksFirst(); },
       [](B& o, bool v) { o.Options().SetDrawBookmarksFirst(v); })
      .Default(1);
  c.Property(
       u"EnableKeys", [](const B& o) { return o.Options().EnableKeys; },
       [](B& o, bool v) { o.Options().EnableKeys = v; })
      .Default(1);
  c.Property(
       u"GlyphsVisible", [](const B& o) { return o.Options().GlyphsVisible(); },
       [](B& o, bool v) { o.Options().SetGlyphsVisible(v); })
      .Default(1);
  c.Property(
       u"LeftMargin", [](const B& o) { return o.Options().LeftMargin(); },
       [](B& o, Integer v) { o.Options().SetLeftMargin(v); })
      .Default(2);
  c.Property(
       u"Xoffset", [](const B& o) { return o.Options().Xoffset(); }, [](B& o, Integer v) { o.Options().SetXoffset(v); })
      .Default(12);
}

// ---- The control ----

KST_CLASS_IMPL(TCustomCodeEdit, "CodeEdit")
KST_CLASS_IMPL(TCodeEdit, "CodeEdit")

void TCustomCodeEdit::Describe(TClassBuilder<TCustomCodeEdit>& c) {
  c.Property(u"Cursor", &TControl::Cursor, &TControl::SetCursor, &types::Cursor()).Default(crIBeam);
}

TCustomCodeEdit::TCustomCodeEdit(TComponent* owner) : TCustomControl(owner) {
  // First: setting up the control below already reaches the core.
  FCore = std::make_unique<TCodeEditCore>(static_cast<ICodeEditHost&>(*this), this);
  FGutter = std::make_unique<TCodeEditGutter>(this, FCore->Gutter());
  FSelectedColor = std::make_unique<TCodeEditSelectedColor>(this, FCore->SelectedColor());
  FBookMarkOptions = std::make_unique<TCodeEditBookMarkOpt>(this, FCore->BookMarkOptions());
  FControlStyle += TControlStyle{csOpaque, csSetCaption};
  SetBounds(0, 0, 200, 150);
  SetCursor(crIBeam);
  SetColor(clWindow);
  SetParentColor(false);
  SetParentFont(false);
  Font().SetName(u"Courier New");
  Font().SetSize(10);
  SetTabStop(true);
}

TCustomCodeEdit::~TCustomCodeEdit() = default;

void TCustomCodeEdit::SetSearchEngine(TCodeEditSearchCustom* value) {
  TCodeEditSearchCustom* old = FCore->SearchEngine();
  if (value == old) return;
  if (old) old->RemoveFreeNotification(this);
  FCore->SetSearchEngine(value);
  if (value) value->FreeNotification(this);
}

void TCustomCodeEdit::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component && component == FCore->SearchEngine()) FCore->SetSearchEngine(nullptr);
}

void TCustomCodeEdit::SetLines(const TStrings* value) {
  if (value) FCore->Lines().Assign(*value);
}

void TCustomCodeEdit::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TCustomCodeEdit::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  RecreateWnd();
}

TCodeSelectionMode TCustomCodeEdit::SelectionMode() const {
  return FCore->Caret().SelectionMode();
}

void TCustomCodeEdit::SetSelectionMode(TCodeSelectionMode value) {
  FCore->Caret().SetSelectionMode(value);
}

void TCustomCodeEdit::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
  params.Style |= WS_CLIPCHILDREN;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomCodeEdit::CreateWnd() {
  TCustomControl::CreateWnd();
  FShownBars = {};
  ChooseTextFont();
  FCore->EditorFontChanged();
  UpdateScrollBars();
}

void TCustomCodeEdit::Loaded() {
  TCustomControl::Loaded();
  FCore->Loaded();
}

void TCustomCodeEdit::Resize() {
  TCustomControl::Resize();
  if (FCore) FCore->ViewSizeChanged();
}

namespace {

// The focus messages pass through the command pipeline under numbers of no
// command of their own: handlers and hooks see them, nothing is executed.
constexpr TCodeEditorCommand kFocusReceived = 480;
constexpr TCodeEditorCommand kFocusLost = 481;
constexpr UINT_PTR kDragScrollTimer = 1;

}  // namespace

void TCustomCodeEdit::Dispatch(TMessage& message) {
  if (!FCore) {
    TCustomControl::Dispatch(message);
    return;
  }
  switch (message.Msg) {
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(message);
      ChooseTextFont();
      FCore->EditorFontChanged();
      return;
    case WM_SETFOCUS:
      TCustomControl::Dispatch(message);
      FCore->Commands().CommandProcessor(kFocusReceived, 0, nullptr);
      FCore->Caret().CreateCaretShape();
      if (FCore->HideSelection() && FCore->Caret().SelAvail()) FCore->Caret().InvalidateSelection();
      return;
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(message);
      FCore->Commands().CommandProcessor(kFocusLost, 0, nullptr);
      if (!Focused() && !FCore->AlwaysShowCaret()) {
        FCore->Caret().HideCaret();
        ::DestroyCaret();
        if (FCore->HideSelection() && FCore->Caret().SelAvail()) FCore->Caret().InvalidateSelection();
      }
      return;
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (FCore->WantTabs()) message.Result |= DLGC_WANTTAB;
      if (FCore->WantReturns()) message.Result |= DLGC_WANTALLKEYS;
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      TCustomControl::Dispatch(message);
      if (HandleKey(static_cast<Word>(message.WParam))) message.Result = 0;
      return;
    case WM_CHAR:
      TCustomControl::Dispatch(message);
      HandleChar(static_cast<Char>(message.WParam));
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      TCustomControl::Dispatch(message);
      MouseSelect(static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam)),
                  message.Msg == WM_LBUTTONDBLCLK ? 2 : 1);
      return;
    case WM_MOUSEMOVE:
      TCustomControl::Dispatch(message);
      if (FMouseSelecting)
        MouseDrag(static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam)));
      return;
    case WM_LBUTTONUP:
      TCustomControl::Dispatch(message);
      StopDragScroll();
      if (FMouseSelecting) {
        FMouseSelecting = false;
        ::ReleaseCapture();
      }
      return;
    case WM_MOUSEWHEEL: {
      const Integer notches = GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA;
      UINT lines = 3;
      ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      const Integer step = lines == WHEEL_PAGESCROLL ? FCore->LinesInWindow() : static_cast<Integer>(lines);
      FCore->Caret().SetTopLine(FCore->Caret().TopLine() - notches * step);
      message.Result = 0;
      return;
    }
    case WM_VSCROLL:
    case WM_HSCROLL: Scrolled(message.Msg == WM_VSCROLL, LOWORD(message.WParam)); return;
    case WM_SETTEXT:
      // Always UTF-16: the window is a wide window.
      FCore->SetText(message.LParam ? String(reinterpret_cast<const Char*>(message.LParam)) : String());
      message.Result = TRUE;
      return;
    case WM_GETTEXTLENGTH: message.Result = static_cast<LRESULT>(FCore->Text().size()); return;
    case WM_GETTEXT: {
      const String text = FCore->Text();
      const size_t room = static_cast<size_t>(message.WParam);
      if (!message.LParam || room == 0) {
        message.Result = 0;
        return;
      }
      const size_t count = std::min(text.size(), room - 1);
      Char* target = reinterpret_cast<Char*>(message.LParam);
      std::copy_n(text.data(), count, target);
      target[count] = 0;
      message.Result = static_cast<LRESULT>(count);
      return;
    }
    case WM_COPY: FCore->Commands().CommandProcessor(ecCopy, 0, nullptr); return;
    case WM_CUT: FCore->Commands().CommandProcessor(ecCut, 0, nullptr); return;
    case WM_PASTE: FCore->Commands().CommandProcessor(ecPaste, 0, nullptr); return;
    case WM_TIMER:
      if (message.WParam == kDragScrollTimer) {
        DragScrollTick();
        return;
      }
      TCustomControl::Dispatch(message);
      return;
    case WM_CLEAR:
      if (!FCore->ReadOnly()) FCore->Editing().SetSelText(String());
      return;
    case WM_UNDO: FCore->Editing().Undo(); return;
    case WM_SYSCHAR:
      // Alt+Backspace has done its work as a key; its character is no text.
      if (message.WParam == VK_BACK && (message.LParam & (1 << 29)) != 0) return;
      TCustomControl::Dispatch(message);
      return;
    case WM_IME_COMPOSITION:
      if ((message.LParam & GCS_RESULTSTR) != 0) TypeImeResult();
      TCustomControl::Dispatch(message);
      return;
    case WM_IME_CHAR: return;  // the composition's result arrived whole
    case WM_IME_NOTIFY:
      if (message.WParam == IMN_SETOPENSTATUS) SetImeFont();
      TCustomControl::Dispatch(message);
      return;
    case WM_CAPTURECHANGED:
      // Taking the capture again, as a press does, keeps the drag.
      if (reinterpret_cast<HWND>(message.LParam) != Handle()) {
        FMouseSelecting = false;
        StopDragScroll();
      }
      TCustomControl::Dispatch(message);
      return;
    default: TCustomControl::Dispatch(message);
  }
}

void TCustomCodeEdit::TypeImeResult() {
  HIMC context = ::ImmGetContext(Handle());
  if (context == nullptr) return;
  const LONG bytes = ::ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  String text;
  if (bytes > 0) {
    text.resize(static_cast<size_t>(bytes) / sizeof(Char));
    const LONG read = ::ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
    text.resize(read > 0 ? static_cast<size_t>(read) / sizeof(Char) : 0);
  }
  ::ImmReleaseContext(Handle(), context);
  if (!text.empty()) FCore->Commands().CommandProcessor(ecImeStr, 0, text.data());
}

void TCustomCodeEdit::SetImeFont() {
  HIMC context = ::ImmGetContext(Handle());
  if (context == nullptr) return;
  LOGFONTW font{};
  if (::GetObjectW(Font().Handle(), sizeof font, &font) == sizeof font) ::ImmSetCompositionFontW(context, &font);
  ::ImmReleaseContext(Handle(), context);
}

namespace {

TShiftState KeyboardShift() {
  TShiftState shift;
  if (::GetKeyState(VK_SHIFT) < 0) shift += TShiftState{ssShift};
  if (::GetKeyState(VK_CONTROL) < 0) shift += TShiftState{ssCtrl};
  if (::GetKeyState(VK_MENU) < 0) shift += TShiftState{ssAlt};
  return shift;
}

}  // namespace

bool TCustomCodeEdit::HandleKey(Word key) {
  const TCodeEditorCommand command = FCore->Commands().KeyToCommand(key, KeyboardShift());
  if (command == ecNone) return false;
  // The character the key also produces (already queued by the message
  // loop's translation) is the command's, not typed text.
  MSG pending{};
  ::PeekMessageW(&pending, Handle(), WM_CHAR, WM_CHAR, PM_REMOVE);
  FCore->Commands().CommandProcessor(command, 0, nullptr);
  return true;
}

void TCustomCodeEdit::HandleChar(Char c) {
  if (c >= 32 && c != 127) FCore->Commands().CommandProcessor(ecChar, c, nullptr);
}

TBufferCoord TCustomCodeEdit::PixelToBuffer(Integer x, Integer y) const {
  TCodeEditCaret& caret = FCore->Caret();
  return caret.DisplayToBufferPos(caret.PixelsToNearestRowColumn(x, y));
}

void TCustomCodeEdit::MouseSelect(Integer x, Integer y, int clicks) {
  if (CanFocus() && !Focused()) SetFocus();
  if (x < FCore->GutterWidth()) return;
  TCodeEditCaret& caret = FCore->Caret();
  const TDisplayCoord cell = caret.PixelsToNearestRowColumn(x, y);
  const TBufferCoord pos = caret.DisplayToBufferPos(cell);
  if (clicks == 2) {
    caret.SetWordBlock(pos);
    return;
  }
  const TShiftState shift = KeyboardShift();
  if (shift.Contains(ssAlt) && FCore->HasOption(eoAltSetsColumnMode))
    caret.SetActiveSelectionMode(smColumn);
  else
    caret.SetActiveSelectionMode(caret.SelectionMode());
  TCodeEditPaintLock lock(*FCore);
  if (shift.Contains(ssShift))
    caret.SetCaretAndSelection(pos, caret.Anchor(), pos);
  else
    caret.SetCaretXY(pos);
  // Right of a wrapped row's end, the caret stays at the end of that row
  // rather than at the start of the next, which is the same text position.
  if (FCore->WordWrap()) caret.MoveCaretToDisplay(cell);
  FMouseSelecting = true;
  ::SetCapture(Handle());
}

void TCustomCodeEdit::MouseDrag(Integer x, Integer y) {
  TCodeEditCaret& caret = FCore->Caret();
  const TBufferCoord pos = PixelToBuffer(std::max(x, FCore->GutterWidth() + 2), y);
  if (pos != caret.CaretXY()) caret.SetCaretAndSelection(pos, caret.Anchor(), pos);
  UpdateDragScroll(x, y);
}

void TCustomCodeEdit::UpdateDragScroll(Integer x, Integer y) {
  FDragPoint = TPoint{x, y};
  const Integer w = std::max<Integer>(FCore->CharWidth(), 1), h = std::max<Integer>(FCore->LineHeight(), 1);
  const Integer left = FCore->GutterWidth(), right = left + FCore->CharsInWindow() * w;
  const Integer top = 0, bottom = FCore->LinesInWindow() * h;
  FScrollDeltaX = x < left ? (x - left) / w - 1 : (x >= right ? (x - right) / w + 1 : 0);
  FScrollDeltaY = y < top ? (y - top) / h - 1 : (y >= bottom ? (y - bottom) / h + 1 : 0);
  if (FMouseSelecting && (FScrollDeltaX != 0 || FScrollDeltaY != 0))
    ::SetTimer(Handle(), kDragScrollTimer, 100, nullptr);
  else
    StopDragScroll();
}

void TCustomCodeEdit::DragScrollTick() {
  if (!FMouseSelecting) {
    StopDragScroll();
    return;
  }
  TCodeEditCaret& caret = FCore->Caret();
  TCodeEditPaintLock lock(*FCore);
  if (FScrollDeltaX != 0) caret.SetLeftChar(caret.LeftChar() + FScrollDeltaX);
  if (FScrollDeltaY != 0) caret.SetTopLine(caret.TopLine() + FScrollDeltaY);
  // The pointer's place taken into the text, at the edge it passed.
  const Integer w = std::max<Integer>(FCore->CharWidth(), 1), h = std::max<Integer>(FCore->LineHeight(), 1);
  const Integer left = FCore->GutterWidth() + 2, right = FCore->GutterWidth() + FCore->CharsInWindow() * w - 1;
  const Integer bottom = std::max<Integer>(FCore->LinesInWindow() * h - 1, 0);
  const Integer x = std::clamp<Integer>(FDragPoint.X, left, std::max(left, right));
  const Integer y = std::clamp<Integer>(FDragPoint.Y, 0, bottom);
  const TBufferCoord pos = PixelToBuffer(x, y);
  if (pos != caret.CaretXY()) caret.SetCaretAndSelection(pos, caret.Anchor(), pos);
}

void TCustomCodeEdit::StopDragScroll() {
  FScrollDeltaX = FScrollDeltaY = 0;
  if (HandleAllocated()) ::KillTimer(Handle(), kDragScrollTimer);
}

void TCustomCodeEdit::Scrolled(bool vertical, Word code) {
  TCodeEditCaret& caret = FCore->Caret();
  const Integer page = vertical ? FCore->LinesInWindow() : FCore->CharsInWindow();
  const Integer current = vertical ? caret.TopLine() : caret.LeftChar();
  Integer target = current;
  switch (code) {
    case SB_LINEUP: target = current - 1; break;
    case SB_LINEDOWN: target = current + 1; break;
    case SB_PAGEUP: target = current - page; break;
    case SB_PAGEDOWN: target = current + page; break;
    case SB_TOP: target = 1; break;
    case SB_BOTTOM: target = vertical ? caret.DisplayLineCount() : FCore->MaxScrollWidth(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      ::GetScrollInfo(Handle(), vertical ? SB_VERT : SB_HORZ, &info);
      target = info.nTrackPos;
      break;
    }
    default: return;
  }
  if (vertical)
    caret.SetTopLine(target);
  else
    caret.SetLeftChar(target);
}

void TCustomCodeEdit::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  TCodeEditKeyStrokes defaults;
  defaults.ResetDefaults();
  const TCodeEditKeyStrokes& own = FCore->Keystrokes();
  const bool differ = KeystrokesDiffer(own, defaults);
  filer.DefineProperty(
      u"RemovedKeystrokes", [this](TReader& reader) { ReadRemovedKeystrokes(reader); },
      [&own](TWriter& writer) {
        TCodeEditKeyStrokes base;
        base.ResetDefaults();
        WriteMissing(writer, base, own);
      },
      differ);
  filer.DefineProperty(
      u"AddedKeystrokes", [this](TReader& reader) { ReadAddedKeystrokes(reader); },
      [&own](TWriter& writer) {
        TCodeEditKeyStrokes base;
        base.ResetDefaults();
        WriteMissing(writer, own, base);
      },
      differ);
}

void TCustomCodeEdit::ReadRemovedKeystrokes(TReader& reader) {
  TCodeEditKeyStrokes& own = FCore->Keystrokes();
  ReadKeystrokeItems(reader, [&own](const TCodeEditKeyStroke& item) {
    const Integer index = own.FindShortcut2(item.ShortCut(), item.ShortCut2());
    if (index >= 0 && own.Items(index).Command() == item.Command()) own.Delete(index);
  });
}

void TCustomCodeEdit::ReadAddedKeystrokes(TReader& reader) {
  TCodeEditKeyStrokes& own = FCore->Keystrokes();
  ReadKeystrokeItems(reader, [&own](const TCodeEditKeyStroke& item) { own.Add().Assign(item); });
}

namespace {

void FillSolid(HDC dc, const TRect& r, TColor color) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
  ::SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(color)));
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// Vertical bands blending from `from` at the left to `to` at the right.
void FillGradient(HDC dc, const TRect& r, TColor from, TColor to, Integer steps) {
  const Integer a = ColorToRGB(from), b = ColorToRGB(to);
  steps = std::max<Integer>(steps, 2);
  const Integer width = r.Width();
  for (Integer i = 0; i < steps; ++i) {
    const Integer left = r.Left + width * i / steps, right = r.Left + width * (i + 1) / steps;
    const auto mix = [&](int shift) {
      const Integer ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
      return (ca + (cb - ca) * i / (steps - 1)) << shift;
    };
    FillSolid(dc, {left, r.Top, right, r.Bottom}, static_cast<TColor>(mix(0) | mix(8) | mix(16)));
  }
}

// The built-in bookmark glyph: a small flag with the bookmark's number.
void DrawMarkGlyph(HDC dc, const TCodePaintMark& mark, Integer x, Integer top, Integer rowHeight) {
  const Integer width = 11, height = std::min<Integer>(14, rowHeight);
  const Integer y = top + (rowHeight - height) / 2;
  FillSolid(dc, {x, y, x + width, y + height}, mark.Bookmark ? static_cast<TColor>(0x00A0FF) : clTeal);
  FillSolid(dc, {x + 1, y + 1, x + width - 1, y + height - 1}, mark.Bookmark ? static_cast<TColor>(0x80E0FF) : clAqua);
  if (!mark.Bookmark || mark.ImageIndex < 0 || mark.ImageIndex > 9) return;
  const wchar_t digit = static_cast<wchar_t>(L'0' + mark.ImageIndex);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  RECT rect{x, y, x + width, y + height};
  ::DrawTextW(dc, &digit, 1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::SetBkMode(dc, OPAQUE);
}

}  // namespace

// Carries out the core's paint plan: the gutter, then the text rows run by run.
void TCustomCodeEdit::Paint() {
  TCanvas& canvas = Canvas();
  HDC dc = canvas.Handle();
  RECT clip{};
  if (::GetClipBox(dc, &clip) == ERROR || clip.right <= clip.left) clip = {0, 0, ClientWidth(), ClientHeight()};
  const TRect area{clip.left, clip.top, clip.right, clip.bottom};
  const TCodePaintPlan plan = MakePaintPlan(*FCore, {Font().Color(), Color()}, area, Focused());
  FCore->Caret().HideCaret();
  try {
    PaintGutter(dc, area, plan);
    PaintText(dc, area, plan);
  } catch (...) {
    FCore->Caret().UpdateCaret();
    throw;
  }
  FCore->Caret().UpdateCaret();
}

void TCustomCodeEdit::PaintGutter(HDC dc, const TRect& area, const TCodePaintPlan& plan) {
  const Integer gutterWidth = FCore->GutterWidth();
  if (gutterWidth <= 0 || area.Left >= gutterWidth) return;
  const TCodeGutter& gutter = FCore->Gutter();
  const Integer rowHeight = std::max<Integer>(FCore->LineHeight(), 1);
  const TRect band{area.Left, area.Top, std::min(area.Right, gutterWidth), area.Bottom};
  if (gutter.Gradient())
    FillGradient(dc, {0, band.Top, gutterWidth, band.Bottom}, gutter.GradientStartColor(), gutter.GradientEndColor(),
                 gutter.GradientSteps());
  else
    FillSolid(dc, band, gutter.Color());
  TFont& numberFont = *FGutter->GetFont();
  HGDIOBJ oldFont = ::SelectObject(dc, (gutter.UseFontStyle() ? numberFont : Font()).Handle());
  ::SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(gutter.UseFontStyle() ? numberFont.Color() : Font().Color())));
  ::SetBkMode(dc, TRANSPARENT);
  for (const TCodePaintRow& row : plan.Rows) {
    if (row.LineNumber.empty()) continue;
    const std::wstring text(row.LineNumber.begin(), row.LineNumber.end());
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const Integer x = gutterWidth - gutter.RightOffset() - size.cx - 2;
    ::TextOutW(dc, x, row.Top + (rowHeight - size.cy) / 2, text.c_str(), static_cast<int>(text.size()));
  }
  ::SetBkMode(dc, OPAQUE);
  ::SelectObject(dc, oldFont);
  const Integer margin = FCore->BookMarkOptions().LeftMargin();
  for (const TCodePaintRow& row : plan.Rows)
    for (const TCodePaintMark& mark : row.Marks) DrawMarkGlyph(dc, mark, margin + mark.XOffset, row.Top, rowHeight);
  if (gutter.BorderStyle() != gbsNone && band.Right >= gutterWidth - 2) {
    if (gutter.BorderStyle() == gbsMiddle) {
      FillSolid(dc, {gutterWidth - 2, band.Top, gutterWidth - 1, band.Bottom}, gutter.BorderColor());
      FillSolid(dc, {gutterWidth - 1, band.Top, gutterWidth, band.Bottom}, gutter.Color());
    } else {
      FillSolid(dc, {gutterWidth - 1, band.Top, gutterWidth, band.Bottom}, gutter.BorderColor());
    }
  }
}

HFONT TCustomCodeEdit::StyledFont(TFontStyles style) {
  const auto bits = static_cast<size_t>(style.Bits() & 15);
  if (!FStyledFonts[bits]) {
    auto font = std::make_unique<TFont>();
    font->Assign(&TextFont());
    font->SetStyle(style);
    FStyledFonts[bits] = std::move(font);
  }
  return FStyledFonts[bits]->Handle();
}

void TCustomCodeEdit::PaintText(HDC dc, const TRect& area, const TCodePaintPlan& plan) {
  const Integer gutterWidth = FCore->GutterWidth();
  const Integer textLeft = gutterWidth + 2;
  if (area.Right <= gutterWidth) return;
  const Integer cellWidth = std::max<Integer>(FCore->CharWidth(), 1);
  const Integer rowHeight = std::max<Integer>(FCore->LineHeight(), 1);
  if (area.Left < textLeft)
    FillSolid(dc, {std::max(gutterWidth, area.Left), area.Top, textLeft, area.Bottom}, plan.EmptyBackground);
  const Integer left = std::max(textLeft, area.Left);
  HGDIOBJ oldFont = ::SelectObject(dc, StyledFont({}));
  std::vector<INT> advances;
  Integer bottom = 0;
  for (const TCodePaintRow& row : plan.Rows) {
    Integer x = 0;
    TColor lastBackground = plan.EmptyBackground;
    for (const TCodePaintRun& run : row.Runs) {
      x = (run.Column - 1) * cellWidth + FCore->TextOffset();
      const Integer right = x + static_cast<Integer>(run.Text.size()) * cellWidth;
      const RECT rect{std::max(x, left), row.Top, std::min(right, area.Right), row.Top + rowHeight};
      x = right;
      lastBackground = run.Background;
      if (rect.right <= rect.left) continue;
      ::SelectObject(dc, StyledFont(run.Style));
      ::SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(run.Foreground)));
      ::SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(run.Background)));
      // Every glyph advances one cell, whatever the font's own widths are.
      advances.assign(run.Text.size(), cellWidth);
      const std::wstring text(run.Text.begin(), run.Text.end());
      ::ExtTextOutW(dc, (run.Column - 1) * cellWidth + FCore->TextOffset(), row.Top, ETO_OPAQUE | ETO_CLIPPED, &rect,
                    text.c_str(), static_cast<UINT>(text.size()), advances.data());
    }
    FillSolid(dc, {std::max(x, left), row.Top, area.Right, row.Top + rowHeight}, lastBackground);
    bottom = row.Top + rowHeight;
  }
  ::SelectObject(dc, oldFont);
  FillSolid(dc, {left, std::max(bottom, area.Top), area.Right, area.Bottom}, plan.EmptyBackground);
  if (plan.RightEdgeX >= 0)
    FillSolid(dc, {plan.RightEdgeX, area.Top, plan.RightEdgeX + 1, area.Bottom}, FCore->RightEdgeColor());
}

// ---- The window for the core ----

Integer TCustomCodeEdit::ClientWidth() const {
  return ClientRect().Width();
}

Integer TCustomCodeEdit::ClientHeight() const {
  return ClientRect().Height();
}

void TCustomCodeEdit::InvalidateRect(const TRect& rect) {
  if (!TWinControl::HandleAllocated()) return;
  const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  ::InvalidateRect(const_cast<TCustomCodeEdit*>(this)->Handle(), &r, FALSE);
}

void TCustomCodeEdit::ScrollArea(Integer dx, Integer dy, const TRect& area) {
  if (!TWinControl::HandleAllocated()) return;
  const RECT r{area.Left, area.Top, area.Right, area.Bottom};
  ScrollWindowEx(Handle(), dx, dy, &r, &r, nullptr, nullptr, SW_INVALIDATE);
}

void TCustomCodeEdit::UpdateNow() {
  if (TWinControl::HandleAllocated()) UpdateWindow(Handle());
}

void TCustomCodeEdit::UpdateScrollBars() {
  if (!TWinControl::HandleAllocated()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  // A bar whose content fits is disabled, unless the options say to hide it.
  if (!FCore->HasOption(eoHideShowScrollbars)) info.fMask |= SIF_DISABLENOSCROLL;
  const Integer rows = FCore->Caret().DisplayLineCount();
  info.nMin = 1;
  info.nMax = std::max(rows, 1);
  info.nPage = static_cast<UINT>(std::max(FCore->LinesInWindow(), 1));
  info.nPos = FCore->Caret().TopLine();
  // Setting a bar costs a redraw of it: a bar already showing these values is left alone.
  const auto set = [&](int bar, TShownBar& shown) {
    const TShownBar wanted{info.nMax, info.nPage, info.nPos, info.fMask};
    if (wanted == shown) return;
    shown = wanted;
    SetScrollInfo(Handle(), bar, &info, TRUE);
  };
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) set(SB_VERT, FShownBars[0]);
  // Lines longer than the scroll width can still be scrolled through.
  info.nMax = std::max(FCore->MaxScrollWidth(), FCore->Lines().LengthOfLongestLine());
  info.nPage = static_cast<UINT>(std::max(FCore->CharsInWindow(), 1));
  info.nPos = FCore->Caret().LeftChar();
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) set(SB_HORZ, FShownBars[1]);
}

void TCustomCodeEdit::CreateCaret(Integer width, Integer height) {
  if (TWinControl::HandleAllocated()) ::CreateCaret(Handle(), nullptr, width, height);
}

void TCustomCodeEdit::DestroyCaret() {
  ::DestroyCaret();
}

void TCustomCodeEdit::SetCaretPos(Integer x, Integer y) {
  ::SetCaretPos(x, y);
}

bool TCustomCodeEdit::ShowCaret() {
  return TWinControl::HandleAllocated() && ::ShowCaret(Handle()) != FALSE;
}

void TCustomCodeEdit::HideCaret() {
  if (TWinControl::HandleAllocated()) ::HideCaret(Handle());
}

UINT CodeEditBlockTypeFormat() {
  static const UINT format = RegisterClipboardFormat(u"CodeEdit Control Block Type");
  return format;
}

// The text and the block telling its selection mode go in one clipboard
// session, so that no other program sees the text without its mode.
void TCustomCodeEdit::CopyText(const String& text, TCodeSelectionMode mode) {
  if (text.empty()) return;
  TClipboard& clipboard = Clipboard();
  clipboard.Open();
  try {
    clipboard.SetAsText(text);
    // The mode byte, then the text in the ANSI code page cut to the text's
    // length in code units and a terminating zero.
    std::vector<char> block(text.size() + 2, 0);
    block[0] = static_cast<char>(mode);
    const std::wstring wide(text.begin(), text.end());
    ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), block.data() + 1,
                          static_cast<int>(text.size()), nullptr, nullptr);
    block.back() = 0;
    clipboard.SetBuffer(CodeEditBlockTypeFormat(), block.data(), block.size());
  } catch (...) {
    clipboard.Close();
    throw;
  }
  clipboard.Close();
}

// A block whose mode byte is none of the three modes leaves the mode as
// given (the editor's selection mode) rather than refusing the paste.
bool TCustomCodeEdit::PasteText(String& text, TCodeSelectionMode& mode) {
  TClipboard& clipboard = Clipboard();
  if (!clipboard.HasFormat(CF_UNICODETEXT) && !clipboard.HasFormat(CF_TEXT)) return false;
  clipboard.Open();
  try {
    text = clipboard.AsText();
    if (clipboard.HasFormat(CodeEditBlockTypeFormat())) {
      const std::vector<Byte> block = clipboard.GetBuffer(CodeEditBlockTypeFormat());
      if (!block.empty() && block[0] <= smColumn) mode = static_cast<TCodeSelectionMode>(block[0]);
    }
  } catch (...) {
    clipboard.Close();
    throw;
  }
  clipboard.Close();
  return true;
}

bool TCustomCodeEdit::CanPasteText() {
  return Clipboard().HasFormat(CF_UNICODETEXT) || Clipboard().HasFormat(CF_TEXT);
}

// A proportional font is told by its pitch flags, not by comparing its
// average and widest glyphs: substitutes for fixed fonts may differ there.
void TCustomCodeEdit::ChooseTextFont() {
  FStyledFonts = {};
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, Font().Handle());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  // The flag named fixed pitch is set for variable-pitch fonts.
  if (!(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH)) {
    FFixedFont.reset();
    return;
  }
  FFixedFont = std::make_unique<TFont>();
  FFixedFont->Assign(&Font());
  FFixedFont->SetPitch(fpFixed);
}

TSize TCustomCodeEdit::MeasureCell(TFontStyles style) {
  HDC dc = ::GetDC(nullptr);
  TFont font;
  font.Assign(&TextFont());
  font.SetStyle(style);
  HGDIOBJ old = ::SelectObject(dc, font.Handle());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ABC widths{};
  Integer advance = metrics.tmAveCharWidth;
  if (::GetCharABCWidthsW(dc, L'M', L'M', &widths))
    advance = widths.abcA + static_cast<Integer>(widths.abcB) + widths.abcC + metrics.tmOverhang;
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return {std::max<Integer>(advance, 1), std::max<Integer>(std::abs(metrics.tmHeight), 1)};
}

// ---- The published control ----

void TCodeEdit::SetFontSmoothing(TCodeFontSmoothMethod value) {
  if (value == FFontSmoothing) return;
  FFontSmoothing = value;
  static const BYTE qualities[] = {NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY, CLEARTYPE_QUALITY};
  LOGFONTW font{};
  GetObjectW(Font().Handle(), sizeof font, &font);
  font.lfQuality = qualities[value];
  Font().SetHandle(CreateFontIndirectW(&font));
}

void TCodeEdit::Describe(TClassBuilder<TCodeEdit>& c) {
  using E = TCodeEdit;
  c.Property(
       u"ActiveLineColor", [](const E& o) { return o.Core().ActiveLineColor(); },
       [](E& o, TColor v) { o.Core().SetActiveLineColor(v); }, &types::Color())
      .Default(clNone);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BookMarkOptions", &E::GetBookMarkOptions);
  c.Property(u"BorderStyle", &E::BorderStyle, &E::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(
       u"ExtraLineSpacing", [](const E& o) { return o.Core().ExtraLineSpacing(); },
       [](E& o, Integer v) { o.Core().SetExtraLineSpacing(v); })
      .Default(0);
  publish::Font(c);
  c.Property(u"FontSmoothing", &E::FontSmoothing, &E::SetFontSmoothing).Default(fsmNone);
  c.Property(u"Gutter", &E::GetGutter);
  c.Property(
       u"HideSelection", [](const E& o) { return o.Core().HideSelection(); },
       [](E& o, bool v) { o.Core().SetHideSelection(v); })
      .Default(0);
  c.Property(
       u"InsertCaret", [](const E& o) { return o.Core().InsertCaret(); },
       [](E& o, TCodeEditCaretType v) { o.Core().SetInsertCaret(v); })
      .Default(ctVerticalLine);
  c.Property(
       u"InsertMode", [](const E& o) { return o.Core().InsertMode(); }, [](E& o, bool v) { o.Core().SetInsertMode(v); })
      .Default(1);
  c.Property(u"Lines", &E::GetLines, &E::SetLines);
  c.Property(
       u"MaxScrollWidth", [](const E& o) { return o.Core().MaxScrollWidth(); },
       [](E& o, Integer v) { o.Core().SetMaxScrollWidth(v); })
      .Default(1024);
  c.Property(
       u"MaxUndo", [](const E& o) { return o.Core().MaxUndo(); }, [](E& o, Integer v) { o.Core().SetMaxUndo(v); })
      .Default(1024);
  c.Property(u"Options", &E::Options, &E::SetOptions).Default(static_cast<Integer>(CodeEditDefaultOptions.Bits()));
  c.Property(
       u"OverwriteCaret", [](const E& o) { return o.Core().OverwriteCaret(); },
       [](E& o, TCodeEditCaretType v) { o.Core().SetOverwriteCaret(v); })
      .Default(ctBlock);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(
       u"ReadOnly", [](const E& o) { return o.Core().ReadOnly(); }, [](E& o, bool v) { o.Core().SetReadOnly(v); })
      .Default(0);
  c.Property(
       u"RightEdge", [](const E& o) { return o.Core().RightEdge(); }, [](E& o, Integer v) { o.Core().SetRightEdge(v); })
      .Default(80);
  c.Property(
       u"RightEdgeColor", [](const E& o) { return o.Core().RightEdgeColor(); },
       [](E& o, TColor v) { o.Core().SetRightEdgeColor(v); }, &types::Color())
      .Default(clSilver);
  c.Property(
       u"ScrollHintColor", [](const E& o) { return o.Core().ScrollHintColor(); },
       [](E& o, TColor v) { o.Core().SetScrollHintColor(v); }, &types::Color())
      .Default(clInfoBk);
  c.Property(
       u"ScrollHintFormat", [](const E& o) { return o.Core().ScrollHintFormat(); },
       [](E& o, TCodeScrollHintFormat v) { o.Core().SetScrollHintFormat(v); })
      .Default(shfTopLineOnly);
  c.Property(u"ScrollBars", &E::ScrollBars, &E::SetScrollBars).Default(ssBoth);
  c.Property(u"SearchEngine", &E::SearchEngine, &E::SetSearchEngine);
  c.Property(u"SelectedColor", &E::GetSelectedColor);
  c.Property(u"SelectionMode", &E::SelectionMode, &E::SetSelectionMode).Default(smNormal);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &E::TabStop, &E::SetTabStop).Default(1);
  c.Property(
       u"TabWidth", [](const E& o) { return o.Core().TabWidth(); }, [](E& o, Integer v) { o.Core().SetTabWidth(v); })
      .Default(8);
  publish::Visible(c);
  c.Property(
       u"WantReturns", [](const E& o) { return o.Core().WantReturns(); },
       [](E& o, bool v) { o.Core().SetWantReturns(v); })
      .Default(1);
  c.Property(
       u"WantTabs", [](const E& o) { return o.Core().WantTabs(); }, [](E& o, bool v) { o.Core().SetWantTabs(v); })
      .Default(0);
  c.Property(u"WordWrap", &E::WordWrap, &E::SetWordWrap).Default(0);
  c.Property(
      u"OnChange", [](const E& o) { return o.Core().OnChange; },
      [](E& o, const TNotifyEvent& v) { o.Core().OnChange = v; });
  c.Property(
      u"OnCommandProcessed", [](const E& o) { return o.Core().OnCommandProcessed; },
      [](E& o, const TProcessCommandEvent& v) { o.Core().OnCommandProcessed = v; });
  c.Property(
      u"OnContextHelp", [](const E& o) { return o.Core().OnContextHelp; },
      [](E& o, const TContextHelpEvent& v) { o.Core().OnContextHelp = v; });
  c.Property(
      u"OnClearBookmark", [](const E& o) { return o.Core().OnClearBookmark; },
      [](E& o, const TPlaceMarkEvent& v) { o.Core().OnClearBookmark = v; });
  c.Property(
      u"OnPlaceBookmark", [](const E& o) { return o.Core().OnPlaceBookmark; },
      [](E& o, const TPlaceMarkEvent& v) { o.Core().OnPlaceBookmark = v; });
  c.Property(
      u"OnProcessCommand", [](const E& o) { return o.Core().OnProcessCommand; },
      [](E& o, const TProcessCommandEvent& v) { o.Core().OnProcessCommand = v; });
  c.Property(
      u"OnProcessUserCommand", [](const E& o) { return o.Core().OnProcessUserCommand; },
      [](E& o, const TProcessCommandEvent& v) { o.Core().OnProcessUserCommand = v; });
  c.Property(
      u"OnStatusChange", [](const E& o) { return o.Core().OnStatusChange; },
      [](E& o, const TStatusChangeEvent& v) { o.Core().OnStatusChange = v; });
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

// ---- The memo ----

namespace {
// The rich edit's message for the selected text, which the memo answers too.
constexpr UINT kGetSelText = WM_USER + 62;
}  // namespace

KST_CLASS_IMPL(TCodeMemo, "CodeEdit")

void TCodeMemo::Describe(TClassBuilder<TCodeMemo>&) {}

void TCodeMemo::Dispatch(TMessage& message) {
  if (!HandleEditMessage(message)) TCodeEdit::Dispatch(message);
}

bool TCodeMemo::HandleEditMessage(TMessage& message) {
  TCodeEditCore& core = Core();
  TCodeEditCaret& caret = core.Caret();
  TCodeEditStringList& lines = core.Lines();
  switch (message.Msg) {
    case EM_GETSEL: {
      const Integer start = caret.SelStart(), end = caret.SelEnd();
      if (message.WParam) *reinterpret_cast<DWORD*>(message.WParam) = static_cast<DWORD>(start);
      if (message.LParam) *reinterpret_cast<DWORD*>(message.LParam) = static_cast<DWORD>(end);
      // The answer holds two 16-bit positions; past those, -1 sends the
      // caller to the 32-bit positions above.
      message.Result = start > 0xFFFF || end > 0xFFFF ? static_cast<LRESULT>(-1)
                                                      : MAKELRESULT(static_cast<WORD>(start), static_cast<WORD>(end));
      return true;
    }
    case EM_SETSEL: {
      // As the standard edit control: a start of -1 takes the selection away,
      // an end of -1 (or any negative) is the end of the text; 0 to -1
      // selects everything.
      const auto start = static_cast<int>(message.WParam), end = static_cast<int>(message.LParam);
      message.Result = 0;
      if (start == -1) {
        caret.SetCaretXY(caret.CaretXY());
        return true;
      }
      if (start == 0 && end == -1) {
        caret.SelectAll();
        return true;
      }
      const Integer total = static_cast<Integer>(core.Text().size());
      caret.SetSelStart(start < 0 ? total : start);
      caret.SetSelEnd(end < 0 ? total : end);
      return true;
    }
    case EM_GETMODIFY: message.Result = core.Modified(); return true;
    case EM_SETMODIFY: core.SetModified(message.WParam != 0); return true;
    case EM_GETLINECOUNT: message.Result = lines.GetCount(); return true;
    case kGetSelText: {
      const String text = core.Editing().SelText();
      if (!message.LParam) {
        message.Result = 0;
        return true;
      }
      // A window made ANSI (subclassed by an ANSI window procedure) is asked
      // by ANSI code, which reads bytes of the ANSI code page.
      if (!::IsWindowUnicode(Handle())) {
        const AnsiString bytes = StringToAnsi(text);
        char* target = reinterpret_cast<char*>(message.LParam);
        std::copy(bytes.begin(), bytes.end(), target);
        target[bytes.size()] = 0;
        message.Result = static_cast<LRESULT>(bytes.size());
        return true;
      }
      Char* target = reinterpret_cast<Char*>(message.LParam);
      std::copy(text.begin(), text.end(), target);
      target[text.size()] = 0;
      message.Result = static_cast<LRESULT>(text.size());
      return true;
    }
    case EM_REPLACESEL:
      ReplaceSelection(message.LParam ? String(reinterpret_cast<const Char*>(message.LParam)) : String(),
                       message.WParam != 0);
      message.Result = 0;
      return true;
    case EM_GETLINE: {
      const auto index = static_cast<Integer>(message.WParam);
      message.Result = 0;
      if (index < 0 || index >= lines.GetCount() || !message.LParam) return true;
      Char* target = reinterpret_cast<Char*>(message.LParam);
      const String line = lines.Get(index);
      const size_t count = std::min<size_t>(line.size(), static_cast<size_t>(*reinterpret_cast<const WORD*>(target)));
      std::copy_n(line.data(), count, target);
      message.Result = static_cast<LRESULT>(count);
      return true;
    }
    case EM_CANUNDO: message.Result = core.CanUndo(); return true;
    case EM_UNDO:
      message.Result = core.CanUndo();
      if (message.Result) core.Editing().Undo();
      return true;
    // The edit control counts lines from 0.
    case EM_GETFIRSTVISIBLELINE: message.Result = caret.RowToLine(caret.TopLine()) - 1; return true;
    case EM_CHARFROMPOS: {
      const Integer x = static_cast<short>(LOWORD(message.LParam)), y = static_cast<short>(HIWORD(message.LParam));
      TBufferCoord pos = caret.DisplayToBufferPos(caret.PixelsToRowColumn(x, y));
      Integer line = pos.Line - 1, character = 0;
      if (line < lines.GetCount()) {
        character = std::min<Integer>(pos.Char - 1, static_cast<Integer>(lines.Get(line).size()));
      } else {
        line = std::max<Integer>(lines.GetCount() - 1, 0);
        character = static_cast<Integer>(lines.GetCount() > 0 ? lines.Get(line).size() : 0);
      }
      for (Integer i = 0; i < line; ++i) character += static_cast<Integer>(lines.Get(i).size()) + 2;
      message.Result = MAKELRESULT(static_cast<WORD>(character), static_cast<WORD>(line));
      return true;
    }
    default: return false;
  }
}

void TCodeMemo::ReplaceSelection(const String& text, bool canUndo) {
  TCodeEditCore& core = Core();
  if (core.ReadOnly()) return;
  if (!canUndo) core.LockUndo();
  core.BeginUndoBlock();
  try {
    core.Editing().SetSelText(text);
  } catch (...) {
    core.EndUndoBlock();
    if (!canUndo) core.UnlockUndo();
    throw;
  }
  core.EndUndoBlock();
  if (!canUndo) {
    core.UnlockUndo();
    // The older items would be applied at positions this change has moved:
    // as the standard edit control does, a change that cannot be undone
    // empties the undo list.
    core.ClearUndo();
  }
  core.Caret().EnsureCursorPosVisible();
}

void RegisterCodeEditClasses(TClassRegistry& registry) {
  registry.RegisterClasses(
      {&TCodeEditGutter::StaticClass(), &TCodeEditSelectedColor::StaticClass(), &TCodeEditBookMarkOpt::StaticClass(),
       &TCustomCodeEdit::StaticClass(), &TCodeEdit::StaticClass(), &TCodeMemo::StaticClass(),
       &TCodeEditSearchCustom::StaticClass(), &TCodeEditSearch::StaticClass()},
      u"codeedit");
  registry.RegisterType(DescribeType(TypeTag<TCodeGutterBorderStyle>{}));
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TCodeEditorOptions>{}), &DescribeType(TypeTag<TCodeSelectionMode>{}),
        &DescribeType(TypeTag<TCodeEditCaretType>{}), &DescribeType(TypeTag<TCodeScrollHintFormat>{}),
        &DescribeType(TypeTag<TCodeFontSmoothMethod>{}), &DescribeType(TypeTag<TCodeStatusChanges>{}),
        &DescribeType(TypeTag<TStatusChangeEvent>{}), &DescribeType(TypeTag<TProcessCommandEvent>{}),
        &DescribeType(TypeTag<TContextHelpEvent>{}), &DescribeType(TypeTag<TPlaceMarkEvent>{})})
    registry.RegisterType(*type);
}
