// The editor control's portable core: the text, its undo lists, the caret,
// the selection, the view and the commands of one editor, behind the window
// interface it owns (codeedit/edithost.h). The Win32 control and the tests'
// stand-in window both drive it.
//
// The core is composed of four parts, each over the one shared state:
// - TCodeEditCore (this file): state, options, properties, the paint lock
//   with its deferred work, status notification, Modified, the buffer's and
//   undo lists' events, metrics, word wrap and buffer sharing;
// - TCodeEditCaret (codeedit/editcaret.h): caret, selection, view and
//   coordinate conversions, words;
// - TCodeEditText (codeedit/edittext.h): text modification, undo and redo,
//   block indent;
// - TCodeEditCommands (codeedit/editcommands.h): the command pipeline and
//   every built-in command.
#pragma once

#include <array>
#include <exception>
#include <memory>
#include <vector>

#include "codeedit/appearance.h"
#include "codeedit/buffer.h"
#include "codeedit/chains.h"
#include "codeedit/edithost.h"
#include "codeedit/highlighter.h"
#include "codeedit/keystrokes.h"
#include "codeedit/marks.h"
#include "codeedit/search.h"
#include "codeedit/types.h"
#include "codeedit/undo.h"
#include "codeedit/wordwrap.h"
#include "rtl/events.h"

enum TCodeEditorOption {
  eoAltSetsColumnMode,
  eoAutoIndent,
  eoAutoSizeMaxScrollWidth,
  eoDisableScrollArrows,
  eoDragDropEditing,
  eoDropFiles,
  eoEnhanceHomeKey,
  eoEnhanceEndKey,
  eoGroupUndo,
  eoHalfPageScroll,
  eoHideShowScrollbars,
  eoKeepCaretX,
  eoNoCaret,
  eoNoSelection,
  eoRightMouseMovesCursor,
  eoScrollByOneLess,
  eoScrollHintFollows,
  eoScrollPastEof,
  eoScrollPastEol,
  eoShowScrollHint,
  eoShowSpecialChars,
  eoSmartTabDelete,
  eoSmartTabs,
  eoSpecialLineDefaultFg,
  eoTabIndent,
  eoTabsToSpaces,
  eoTrimTrailingSpaces
};
using TCodeEditorOptions = TSet<TCodeEditorOption>;
inline constexpr TCodeEditorOptions CodeEditDefaultOptions = TCodeEditorOptions::FromBits(0x026C0192);

enum TCodeStateFlag {
  sfCaretChanged,
  sfScrollbarChanged,
  sfLinesChanging,
  sfIgnoreNextChar,
  sfCaretVisible,
  sfDblClicked,
  sfPossibleGutterClick,
  sfWaitForDragging,
  sfInsideRedo,
  sfGutterDragging
};
using TCodeStateFlags = TSet<TCodeStateFlag>;

enum TCodeStatusChange {
  scAll,
  scCaretX,
  scCaretY,
  scLeftChar,
  scTopLine,
  scInsertMode,
  scModified,
  scSelection,
  scReadOnly
};
using TCodeStatusChanges = TSet<TCodeStatusChange>;

enum TCodeEditCaretType { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum TCodeReplaceAction { raCancel, raSkip, raReplace, raReplaceAll };
enum TCodeScrollHintFormat { shfTopLineOnly, shfTopToBottom };
enum TCodeFontSmoothMethod { fsmNone, fsmAntiAlias, fsmClearType };

using TStatusChangeEvent = TDelegate<void(TObject* Sender, TCodeStatusChanges Changes)>;
using TProcessCommandEvent = TDelegate<void(TObject* Sender, TCodeEditorCommand& Command, Char& AChar, void* Data)>;
using TContextHelpEvent = TDelegate<void(TObject* Sender, String word)>;
using TPlaceMarkEvent = TDelegate<void(TObject* Sender, TCodeEditMark*& Mark)>;

class TCodeEditCaret;
class TCodeEditText;
class TCodeEditCommands;

class TCodeEditCore : public TObject, public ICodeWordWrapHost, public ICodeEditMarkHost {
 public:
  // `sender` is what the events name as their sender (the control).
  TCodeEditCore(ICodeEditHost& host, TObject* sender);
  ~TCodeEditCore() override;
  TCodeEditCore(const TCodeEditCore&) = delete;
  TCodeEditCore& operator=(const TCodeEditCore&) = delete;

  TCodeEditCaret& Caret() noexcept { return *fCaret; }
  TCodeEditText& Editing() noexcept { return *fText; }
  TCodeEditCommands& Commands() noexcept { return *fCommands; }
  ICodeEditHost& Host() noexcept { return fHost; }
  TObject* Sender() const noexcept { return fSender; }

  // ---- Text ----
  TCodeEditStringList& Lines() noexcept { return *fLines; }
  void SetLines(const TStrings& value) { fLines->Assign(value); }
  String Text() const { return fLines->GetTextStr(); }
  void SetText(const String& value) { fLines->SetTextStr(value); }
  String LineText() const;
  void SetLineText(const String& value);
  void ClearAll();

  // ---- Paint lock and status ----
  void BeginUpdate() { IncPaintLock(); }
  void EndUpdate() { DecPaintLock(); }
  Integer PaintLock() const noexcept { return fPaintLock; }
  TCodeStateFlags StateFlags() const noexcept { return fStateFlags; }
  void StatusChanged(TCodeStatusChanges changes);
  void FireStatusChange();
  TCodeStatusChanges PendingStatusChanges() const noexcept { return fStatusChanges; }
  // Tells the window to paint its transient marks; counted notifications
  // nest, and only the outermost pair goes out.
  void FirePaintTransient(TTransientType type, bool counted);

  // ---- Undo ----
  TCodeEditUndoList& UndoList() noexcept { return *fUndoList; }
  TCodeEditUndoList& RedoList() noexcept { return *fRedoList; }
  bool Modified() const noexcept { return fModified; }
  void SetModified(bool value);
  bool CanUndo() const { return !ReadOnly() && fUndoList->CanUndo(); }
  bool CanRedo() const { return !ReadOnly() && fRedoList->CanUndo(); }
  bool CanPaste() const { return !ReadOnly() && fHost.CanPasteText(); }
  void ClearUndo();
  void LockUndo();
  void UnlockUndo();
  void BeginUndoBlock() { fUndoList->BeginBlock(); }
  void EndUndoBlock() { fUndoList->EndBlock(); }
  Integer MaxUndo() const noexcept { return fUndoList->MaxUndoActions(); }
  void SetMaxUndo(Integer value);

  // ---- Options and simple properties ----
  TCodeEditorOptions Options() const noexcept { return fOptions; }
  void SetOptions(TCodeEditorOptions value);
  bool HasOption(TCodeEditorOption option) const noexcept { return fOptions.Contains(option); }
  bool ReadOnly() const noexcept { return fReadOnly; }
  void SetReadOnly(bool value);
  bool InsertMode() const noexcept { return fInserting; }
  void SetInsertMode(bool value);
  TCodeEditCaretType InsertCaret() const noexcept { return fInsertCaret; }
  void SetInsertCaret(TCodeEditCaretType value);
  TCodeEditCaretType OverwriteCaret() const noexcept { return fOverwriteCaret; }
  void SetOverwriteCaret(TCodeEditCaretType value);
  Integer TabWidth() const noexcept { return fTabWidth; }
  void SetTabWidth(Integer value);
  Integer MaxScrollWidth() const noexcept { return fMaxScrollWidth; }
  void SetMaxScrollWidth(Integer value);
  Integer ExtraLineSpacing() const noexcept { return fExtraLineSpacing; }
  void SetExtraLineSpacing(Integer value);
  Integer RightEdge() const noexcept { return fRightEdge; }
  void SetRightEdge(Integer value);
  TColor RightEdgeColor() const noexcept { return fRightEdgeColor; }
  void SetRightEdgeColor(TColor value);
  TColor ActiveLineColor() const noexcept { return fActiveLineColor; }
  void SetActiveLineColor(TColor value);
  bool HideSelection() const noexcept { return fHideSelection; }
  void SetHideSelection(bool value);
  bool WantTabs() const noexcept { return fWantTabs; }
  void SetWantTabs(bool value) noexcept { fWantTabs = value; }
  bool WantReturns() const noexcept { return fWantReturns; }
  void SetWantReturns(bool value) noexcept { fWantReturns = value; }
  bool AlwaysShowCaret() const noexcept { return fAlwaysShowCaret; }
  void SetAlwaysShowCaret(bool value);
  TColor ScrollHintColor() const noexcept { return fScrollHintColor; }
  void SetScrollHintColor(TColor value) noexcept { fScrollHintColor = value; }
  TCodeScrollHintFormat ScrollHintFormat() const noexcept { return fScrollHintFormat; }
  void SetScrollHintFormat(TCodeScrollHintFormat value) noexcept { fScrollHintFormat = value; }
  const TCodeCharSet& AdditionalIdentChars() const noexcept { return fAdditionalIdentChars; }
  void SetAdditionalIdentChars(const TCodeCharSet& value) { fAdditionalIdentChars = value; }
  const TCodeCharSet& AdditionalWordBreakChars() const noexcept { return fAdditionalWordBreakChars; }
  void SetAdditionalWordBreakChars(const TCodeCharSet& value) { fAdditionalWordBreakChars = value; }

  // ---- Owned appearance objects, keystrokes, chains, marks ----
  TCodeGutter& Gutter() noexcept { return *fGutter; }
  TCodeSelectedColor& SelectedColor() noexcept { return *fSelectedColor; }
  TCodeBookMarkOpt& BookMarkOptions() noexcept { return *fBookMarkOpt; }
  TCodeEditKeyStrokes& Keystrokes() noexcept { return *fKeyStrokes; }
  void SetKeystrokes(const TCodeEditKeyStrokes* value);
  void AddKey(TCodeEditorCommand command, Word key, TShiftState shift, Word key2 = 0, TShiftState shift2 = {});
  void SetDefaultKeystrokes() { fKeyStrokes->ResetDefaults(); }
  TCodeEditKbdHandler& KbdHandler() noexcept { return *fKbdHandler; }
  TCodeEditMarkList& Marks() noexcept { return *fMarkList; }
  TCodeEditMark* BookMark(Integer number) const;
  // Places bookmark `number` (0..9) at the position, asking OnPlaceBookmark.
  void SetBookMark(Integer number, Integer x, Integer y);
  void ClearBookMark(Integer number);
  bool GetBookMark(Integer number, Integer& x, Integer& y) const;

  // ---- Highlighter and search engine (owned by others) ----
  TCodeCustomHighlighter* Highlighter() const noexcept { return fHighlighter; }
  void SetHighlighter(TCodeCustomHighlighter* value);
  TCodeEditSearchCustom* SearchEngine() const noexcept { return fSearchEngine; }
  void SetSearchEngine(TCodeEditSearchCustom* value) noexcept { fSearchEngine = value; }

  // ---- Word wrap ----
  bool WordWrap() const noexcept { return fWordWrapPlugin != nullptr; }
  void SetWordWrap(bool value);
  TCodeWordWrapPlugin* WordWrapPlugin() const noexcept { return fWordWrapPlugin.get(); }

  // ---- Metrics ----
  Integer CharWidth() const noexcept { return fCharWidth; }
  Integer LineHeight() const noexcept { return fTextHeight; }
  Integer CharsInWindow() const override { return fCharsInWindow; }
  Integer LinesInWindow() const noexcept { return fLinesInWindow; }
  Integer GutterWidth() const noexcept { return fGutterWidth; }
  Integer TextOffset() const noexcept { return fTextOffset; }
  // The font or its glyph widths changed: measure the cell and lay out again.
  void EditorFontChanged();
  // The window's size changed (or the font, with `fontChanged`).
  void ViewSizeChanged(bool fontChanged = false);
  void GutterSettingsChanged();
  // After the control was read from a form.
  void Loaded();
  void SetLoading(bool value) noexcept { fLoading = value; }
  bool Loading() const noexcept { return fLoading; }

  // ---- Buffer sharing ----
  void SetLinesPointer(TCodeEditCore& editor);
  void RemoveLinesPointer();
  void HookTextBuffer(TCodeEditStringList& buffer, TCodeEditUndoList& undo, TCodeEditUndoList& redo);
  void UnHookTextBuffer();
  TCodeEditCore* ChainedEditor() const noexcept { return fChainedEditor; }

  // ---- Events ----
  TNotifyEvent OnChange;
  TStatusChangeEvent OnStatusChange;
  TProcessCommandEvent OnProcessCommand;
  TProcessCommandEvent OnProcessUserCommand;
  TProcessCommandEvent OnCommandProcessed;
  TContextHelpEvent OnContextHelp;
  TPlaceMarkEvent OnPlaceBookmark;
  TPlaceMarkEvent OnClearBookmark;

 private:
  friend class TCodeEditCaret;
  friend class TCodeEditText;
  friend class TCodeEditCommands;

  void IncPaintLock() { ++fPaintLock; }
  void DecPaintLock();
  // The scroll bars are out of date: refreshed now, or once when the paint
  // lock is released (an update holds it for all its changes).
  void ScrollBarsChanged();
  // The window's invalid parts are wanted on screen: painted now, or once
  // when the paint lock is released.
  void UpdateWindowNow();
  void FireChange() { OnChange(fSender); }

  // The word-wrap plugin's view of the editor.
  TCodeEditStringList& WrapLines() override { return *fLines; }
  bool IsWordBreakChar(Char c) const override;
  // The marks' view of the editor.
  TCodeEditMarkList& MarkList() override { return *fMarkList; }
  void InvalidateGutterLines(Integer firstLine, Integer lastLine) override;
  void FirePlaceBookmark(std::unique_ptr<TCodeEditMark>& mark) override;

  void WireBuffer(TCodeEditStringList& buffer);
  void UndoListAdded(TObject* sender);
  void BufferChanging(TObject* sender);
  void BufferChanged(TObject* sender);
  void BufferCleared(TObject* sender);
  void BufferLinesDeleted(TObject* sender, Integer index, Integer count);
  void BufferLinesInserted(TObject* sender, Integer index, Integer count);
  void BufferLinesPut(TObject* sender, Integer index, Integer count);
  void HighlighterAttrChanged(TObject* sender);
  void HighlighterChanged();
  void MeasureCharCell();
  void ApplyGutterWidth(Integer value);
  void SharedBufferChanged();
  void GrowMaxScrollWidthTo(Integer index);
  // Scans the highlighter ranges from line `index` until they agree again;
  // returns the last line scanned.
  Integer RescanRangesFrom(Integer index);
  void RescanAllRanges();

  ICodeEditHost& fHost;
  TObject* fSender;

  std::unique_ptr<TCodeEditStringList> fOrigLines;
  TCodeEditStringList* fLines;
  std::unique_ptr<TCodeEditUndoList> fOrigUndoList, fOrigRedoList;
  TCodeEditUndoList* fUndoList;
  TCodeEditUndoList* fRedoList;

  // Caret, selection and view (kept by TCodeEditCaret).
  Integer fCaretX = 1, fCaretY = 1;
  Integer fLastCaretX = 1;
  bool fCaretAtEOL = false;
  TBufferCoord fBlockBegin{1, 1};
  TBufferCoord fBlockEnd{1, 1};
  TCodeSelectionMode fSelectionMode = smNormal;
  TCodeSelectionMode fActiveSelectionMode = smNormal;
  Integer fLeftChar = 1, fTopLine = 1;
  Integer fCharsInWindow = 0, fLinesInWindow = 0;
  Integer fCharWidth = 0, fTextHeight = 0;
  Integer fTextOffset = 0;
  Integer fGutterWidth = 0;
  TPoint fCaretOffset;
  TRect fInvalidateRect;

  Integer fMaxScrollWidth = 1024;
  Integer fTabWidth = 8;
  Integer fPaintLock = 0;
  bool fUpdatePending = false;
  Integer fPaintTransientLock = 0;
  TCodeStateFlags fStateFlags;
  TCodeStatusChanges fStatusChanges;
  TCodeEditorOptions fOptions = CodeEditDefaultOptions;
  bool fModified = false;
  bool fReadOnly = false;
  bool fInserting = true;
  bool fShowSpecChar = false;
  bool fLoading = false;
  bool fDestroying = false;
  TCodeEditCaretType fInsertCaret = ctVerticalLine;
  TCodeEditCaretType fOverwriteCaret = ctBlock;
  Integer fExtraLineSpacing = 0;
  Integer fRightEdge = 80;
  TColor fRightEdgeColor = clSilver;
  TColor fActiveLineColor = clNone;
  TColor fScrollHintColor = clInfoBk;
  TCodeScrollHintFormat fScrollHintFormat = shfTopLineOnly;
  bool fHideSelection = false;
  bool fWantTabs = false;
  bool fWantReturns = true;
  bool fAlwaysShowCaret = false;
  TCodeCharSet fAdditionalIdentChars;
  TCodeCharSet fAdditionalWordBreakChars;

  std::unique_ptr<TCodeGutter> fGutter;
  std::unique_ptr<TCodeSelectedColor> fSelectedColor;
  std::unique_ptr<TCodeBookMarkOpt> fBookMarkOpt;
  std::unique_ptr<TCodeEditKeyStrokes> fKeyStrokes;
  std::unique_ptr<TCodeEditKbdHandler> fKbdHandler;
  std::unique_ptr<TCodeEditMarkList> fMarkList;
  std::array<TCodeEditMark*, 10> fBookMarks{};
  std::unique_ptr<TCodeWordWrapPlugin> fWordWrapPlugin;
  TCodeCustomHighlighter* fHighlighter = nullptr;
  TCodeEditSearchCustom* fSearchEngine = nullptr;

  // Buffer sharing: the other editor, and the shared buffer's own handlers.
  TCodeEditCore* fChainedEditor = nullptr;
  TNotifyEvent fChainListCleared, fChainListChanging, fChainListChanged;
  TStringListChangeEvent fChainListDeleted, fChainListInserted, fChainListPutted;
  TNotifyEvent fChainUndoAdded, fChainRedoAdded;

  std::unique_ptr<TCodeEditCaret> fCaret;
  std::unique_ptr<TCodeEditText> fText;
  std::unique_ptr<TCodeEditCommands> fCommands;
};

// Holds the editor's paint lock for a scope, however the scope ends.
class TCodeEditPaintLock {
 public:
  explicit TCodeEditPaintLock(TCodeEditCore& core) : FCore(core), FUnwinding(std::uncaught_exceptions()) {
    FCore.BeginUpdate();
  }
  // A failure of the deferred work passes on, unless another one is already
  // on its way out.
  ~TCodeEditPaintLock() noexcept(false) {
    if (std::uncaught_exceptions() == FUnwinding) {
      FCore.EndUpdate();
      return;
    }
    try {
      FCore.EndUpdate();
    } catch (...) {
    }
  }
  TCodeEditPaintLock(const TCodeEditPaintLock&) = delete;
  TCodeEditPaintLock& operator=(const TCodeEditPaintLock&) = delete;

 private:
  TCodeEditCore& FCore;
  int FUnwinding;
};
