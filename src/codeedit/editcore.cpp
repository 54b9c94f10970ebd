#include "codeedit/editcore.h"

#include <algorithm>
#include <limits>

#include "codeedit/editcaret.h"
#include "codeedit/editcommands.h"
#include "codeedit/edittext.h"
#include "codeedit/textutils.h"
#include "rtl/exceptions.h"

namespace {

constexpr Integer MaxScrollWidthLimit = std::numeric_limits<Integer>::max() - 1;

}  // namespace

TCodeEditCore::TCodeEditCore(ICodeEditHost& host, TObject* sender)
    : fHost(host),
      fSender(sender ? sender : this),
      fOrigLines(std::make_unique<TCodeEditStringList>(host.CellMetrics())),
      fLines(fOrigLines.get()),
      fOrigUndoList(std::make_unique<TCodeEditUndoList>()),
      fOrigRedoList(std::make_unique<TCodeEditUndoList>()),
      fUndoList(fOrigUndoList.get()),
      fRedoList(fOrigRedoList.get()),
      fGutter(std::make_unique<TCodeGutter>()),
      fSelectedColor(std::make_unique<TCodeSelectedColor>()),
      fBookMarkOpt(std::make_unique<TCodeBookMarkOpt>(this)),
      fKeyStrokes(std::make_unique<TCodeEditKeyStrokes>(this)),
      fKbdHandler(std::make_unique<TCodeEditKbdHandler>()),
      fMarkList(std::make_unique<TCodeEditMarkList>(this)),
      fCaret(std::make_unique<TCodeEditCaret>(*this)),
      fText(std::make_unique<TCodeEditText>(*this)),
      fCommands(std::make_unique<TCodeEditCommands>(*this)) {
  WireBuffer(*fLines);
  fUndoList->SetOnAddedUndo(TNotifyEvent(this, &TCodeEditCore::UndoListAdded));
  fRedoList->SetOnAddedUndo(TNotifyEvent(this, &TCodeEditCore::UndoListAdded));
  fSelectedColor->OnChange = [this](TObject*) { fCaret->InvalidateSelection(); };
  fBookMarkOpt->OnChange = [this](TObject*) { fCaret->InvalidateGutter(); };
  fGutter->OnChange = [this](TObject*) { GutterSettingsChanged(); };
  fMarkList->OnChange = [this](TObject*) { fCaret->InvalidateGutter(); };
  fGutterWidth = fGutter->Width();
  fTextOffset = fGutterWidth + 2;
  fKeyStrokes->ResetDefaults();
  EditorFontChanged();
}

TCodeEditCore::~TCodeEditCore() {
  fDestroying = true;
  SetHighlighter(nullptr);
  if (fChainedEditor || fLines != fOrigLines.get()) RemoveLinesPointer();
  fWordWrapPlugin.reset();
}

void TCodeEditCore::WireBuffer(TCodeEditStringList& buffer) {
  buffer.OnChange = TNotifyEvent(this, &TCodeEditCore::BufferChanged);
  buffer.OnChanging = TNotifyEvent(this, &TCodeEditCore::BufferChanging);
  buffer.OnCleared = TNotifyEvent(this, &TCodeEditCore::BufferCleared);
  buffer.OnDeleted = TStringListChangeEvent(this, &TCodeEditCore::BufferLinesDeleted);
  buffer.OnInserted = TStringListChangeEvent(this, &TCodeEditCore::BufferLinesInserted);
  buffer.OnPutted = TStringListChangeEvent(this, &TCodeEditCore::BufferLinesPut);
}

// ---- Paint lock and status ----

void TCodeEditCore::DecPaintLock() {
  if (fPaintLock <= 0) throw EAssertionFailed(u"Assertion failed: paint lock is not held");
  --fPaintLock;
  if (fPaintLock != 0 || !fHost.HandleAllocated()) return;
  if (fStateFlags.Contains(sfScrollbarChanged)) {
    fStateFlags.Exclude(sfScrollbarChanged);
    fHost.UpdateScrollBars();
  }
  if (fUpdatePending) {
    fUpdatePending = false;
    fHost.UpdateNow();
  }
  if (WordWrap() && (fStatusChanges.Contains(scCaretX) || fStatusChanges.Contains(scCaretY)) && fCharsInWindow > 0 &&
      fCaret->DisplayX() > fCharsInWindow + 1) {
    if (fCaretAtEOL) {
      fCaretAtEOL = false;
    } else if (fStatusChanges.Contains(scCaretY)) {
      TDisplayCoord d = fCaret->DisplayXY();
      d.Column = fCharsInWindow + 1;
      fCaretX = fCaret->DisplayToBufferPos(d).Char;
      fStatusChanges.Include(scCaretX);
      fCaret->UpdateLastCaretX();
    }
    fStateFlags.Include(sfCaretChanged);
  }
  if (fStateFlags.Contains(sfCaretChanged)) fCaret->UpdateCaret();
  if (!fStatusChanges.Empty()) FireStatusChange();
}

void TCodeEditCore::ScrollBarsChanged() {
  if (fPaintLock > 0 || fStateFlags.Contains(sfLinesChanging)) {
    fStateFlags.Include(sfScrollbarChanged);
    return;
  }
  fStateFlags.Exclude(sfScrollbarChanged);
  fHost.UpdateScrollBars();
}

void TCodeEditCore::UpdateWindowNow() {
  if (fPaintLock > 0)
    fUpdatePending = true;
  else
    fHost.UpdateNow();
}

void TCodeEditCore::StatusChanged(TCodeStatusChanges changes) {
  fStatusChanges += changes;
  if (fPaintLock == 0) FireStatusChange();
}

void TCodeEditCore::FireStatusChange() {
  if (!OnStatusChange) return;
  const TCodeStatusChanges changes = fStatusChanges;
  fStatusChanges = {};
  OnStatusChange(fSender, changes);
}

void TCodeEditCore::FirePaintTransient(TTransientType type, bool counted) {
  if (counted) {
    if (type == ttBefore) {
      if (fPaintTransientLock++ != 0) return;
    } else {
      if (fPaintTransientLock <= 0 || --fPaintTransientLock != 0) return;
    }
  } else if (fPaintTransientLock != 0) {
    return;
  }
  fHost.PaintTransient(type);
}

// ---- Text ----

String TCodeEditCore::LineText() const {
  if (fCaretY >= 1 && fCaretY <= fLines->GetCount()) return fLines->Get(fCaretY - 1);
  return {};
}

void TCodeEditCore::SetLineText(const String& value) {
  if (fCaretY >= 1 && fCaretY <= std::max(1, fLines->GetCount())) {
    if (fCaretY > fLines->GetCount())
      fLines->Add(value);
    else
      fLines->Put(fCaretY - 1, value);
  }
}

void TCodeEditCore::ClearAll() {
  fLines->Clear();
  fMarkList->Clear();
  fBookMarks.fill(nullptr);
  fUndoList->Clear();
  fRedoList->Clear();
  SetModified(false);
}

// ---- Undo ----

void TCodeEditCore::SetModified(bool value) {
  if (value == fModified) return;
  fModified = value;
  if (!value && fOptions.Contains(eoGroupUndo) && fUndoList->CanUndo()) fUndoList->AddGroupBreak();
  fUndoList->SetInitialState(!value);
  StatusChanged({scModified});
}

void TCodeEditCore::UndoListAdded(TObject* sender) {
  SetModified(!fUndoList->InitialState());
  auto* list = static_cast<TCodeEditUndoList*>(sender);
  if (list == fUndoList && !list->InsideRedo() && list->PeekItem() && list->PeekItem()->ChangeReason() != crGroupBreak)
    fRedoList->Clear();
  if (list->BlockCount() == 0) FireChange();
}

void TCodeEditCore::ClearUndo() {
  fUndoList->Clear();
  fRedoList->Clear();
}

void TCodeEditCore::LockUndo() {
  fUndoList->Lock();
  fRedoList->Lock();
}

void TCodeEditCore::UnlockUndo() {
  fUndoList->Unlock();
  fRedoList->Unlock();
}

void TCodeEditCore::SetMaxUndo(Integer value) {
  if (value < 0) return;
  fUndoList->SetMaxUndoActions(value);
  fRedoList->SetMaxUndoActions(value);
}

// ---- Options and properties ----

void TCodeEditCore::SetOptions(TCodeEditorOptions value) {
  if (value == fOptions) return;
  const TCodeEditorOptions old = fOptions;
  fOptions = value;
  fCaret->SetCaretXY(fCaret->CaretXY());
  if (fOptions.Contains(eoScrollPastEol)) {
    const TBufferCoord anchor = fBlockBegin, moving = fBlockEnd;
    fCaret->SetBlockBegin(anchor);
    fCaret->SetBlockEnd(moving);
  }
  if (fOptions.Contains(eoShowSpecialChars) != fShowSpecChar) {
    fShowSpecChar = fOptions.Contains(eoShowSpecialChars);
    fHost.Invalidate();
  }
  const TCodeEditorOptions scrollOptions{eoDisableScrollArrows, eoHideShowScrollbars, eoScrollPastEof, eoScrollPastEol};
  if (!((old * scrollOptions) == (fOptions * scrollOptions))) fHost.UpdateScrollBars();
}

void TCodeEditCore::SetReadOnly(bool value) {
  fReadOnly = value;
  StatusChanged({scReadOnly});
}

void TCodeEditCore::SetInsertMode(bool value) {
  if (value == fInserting) return;
  fInserting = value;
  if (!fHost.Designing()) fCaret->CreateCaretShape();
  StatusChanged({scInsertMode});
}

void TCodeEditCore::SetInsertCaret(TCodeEditCaretType value) {
  if (value == fInsertCaret) return;
  fInsertCaret = value;
  fCaret->CreateCaretShape();
}

void TCodeEditCore::SetOverwriteCaret(TCodeEditCaretType value) {
  if (value == fOverwriteCaret) return;
  fOverwriteCaret = value;
  fCaret->CreateCaretShape();
}

void TCodeEditCore::SetTabWidth(Integer value) {
  value = ClampInt(value, 1, 256);
  if (value == fTabWidth) return;
  fTabWidth = value;
  fLines->SetTabWidth(value);
  fHost.Invalidate();
  if (fWordWrapPlugin) {
    fWordWrapPlugin->Reset();
    fCaret->InvalidateGutter();
  }
}

void TCodeEditCore::SetMaxScrollWidth(Integer value) {
  value = ClampInt(value, 1, MaxScrollWidthLimit);
  if (value == fMaxScrollWidth) return;
  fMaxScrollWidth = value;
  if (fOptions.Contains(eoScrollPastEol)) fHost.UpdateScrollBars();
}

void TCodeEditCore::SetExtraLineSpacing(Integer value) {
  fExtraLineSpacing = value;
  EditorFontChanged();
}

void TCodeEditCore::SetRightEdge(Integer value) {
  if (value == fRightEdge) return;
  fRightEdge = value;
  fHost.Invalidate();
}

void TCodeEditCore::SetRightEdgeColor(TColor value) {
  if (value == fRightEdgeColor) return;
  fRightEdgeColor = value;
  if (!fHost.HandleAllocated()) return;
  const Integer x = fRightEdge * fCharWidth + fTextOffset;
  fHost.InvalidateRect(Rect(x - 1, 0, x + 1, fHost.ClientHeight()));
}

void TCodeEditCore::SetActiveLineColor(TColor value) {
  if (value == fActiveLineColor) return;
  fActiveLineColor = value;
  fCaret->InvalidateLine(fCaretY);
}

void TCodeEditCore::SetHideSelection(bool value) {
  if (value == fHideSelection) return;
  fHideSelection = value;
  fCaret->InvalidateSelection();
}

void TCodeEditCore::SetAlwaysShowCaret(bool value) {
  if (value == fAlwaysShowCaret) return;
  fAlwaysShowCaret = value;
  if (fDestroying || fHost.Focused()) return;
  if (value) {
    fCaret->CreateCaretShape();
  } else {
    fCaret->HideCaret();
    fHost.DestroyCaret();
  }
}

void TCodeEditCore::SetKeystrokes(const TCodeEditKeyStrokes* value) {
  if (!value)
    fKeyStrokes->Clear();
  else
    fKeyStrokes->Assign(*value);
}

void TCodeEditCore::AddKey(TCodeEditorCommand command, Word key, TShiftState shift, Word key2, TShiftState shift2) {
  TCodeEditKeyStroke& stroke = fKeyStrokes->Add();
  stroke.SetCommand(command);
  stroke.SetKey(key);
  stroke.SetShift(shift);
  stroke.SetKey2(key2);
  stroke.SetShift2(shift2);
}

// ---- Marks ----

void TCodeEditCore::InvalidateGutterLines(Integer firstLine, Integer lastLine) {
  fCaret->InvalidateGutterLines(firstLine, lastLine);
}

void TCodeEditCore::FirePlaceBookmark(std::unique_ptr<TCodeEditMark>& mark) {
  if (!OnPlaceBookmark) return;
  TCodeEditMark* asked = mark.get();
  OnPlaceBookmark(fSender, asked);
  if (asked != mark.get()) {
    // The handler may only cancel: a mark it made elsewhere is not ours to own.
    if (!asked) mark.reset();
  }
}

TCodeEditMark* TCodeEditCore::BookMark(Integer number) const {
  if (number < 0 || number > 9) return nullptr;
  return fBookMarks[static_cast<size_t>(number)];
}

void TCodeEditCore::SetBookMark(Integer number, Integer x, Integer y) {
  if (number < 0 || number > 9 || y < 1 || y > fLines->GetCount()) return;
  auto mark = std::make_unique<TCodeEditMark>(this);
  mark->SetLine(y);
  mark->SetChar(x);
  mark->SetImageIndex(number);
  mark->SetBookmarkNumber(number);
  mark->SetVisible(true);
  mark->SetInternalImage(!fBookMarkOpt->BookmarkImages());
  // Asked before the old bookmark goes: a refused mark leaves it where it was.
  FirePlaceBookmark(mark);
  if (!mark) return;
  ClearBookMark(number);
  fBookMarks[static_cast<size_t>(number)] = fMarkList->Add(std::move(mark));
}

void TCodeEditCore::ClearBookMark(Integer number) {
  TCodeEditMark* mark = BookMark(number);
  if (!mark) return;
  TCodeEditMark* asked = mark;
  OnClearBookmark(fSender, asked);
  fBookMarks[static_cast<size_t>(number)] = nullptr;
  fMarkList->Remove(mark);
}

bool TCodeEditCore::GetBookMark(Integer number, Integer& x, Integer& y) const {
  const TCodeEditMark* mark = BookMark(number);
  if (!mark) return false;
  x = mark->Char();
  y = mark->Line();
  return true;
}

// ---- Highlighter ----

bool TCodeEditCore::IsWordBreakChar(Char c) const {
  return fCaret->IsWordBreakChar(c);
}

void TCodeEditCore::SetHighlighter(TCodeCustomHighlighter* value) {
  if (value == fHighlighter) return;
  const TNotifyEvent hook(this, &TCodeEditCore::HighlighterAttrChanged);
  if (fHighlighter) fHighlighter->UnhookAttrChangeEvent(hook);
  if (value) value->HookAttrChangeEvent(hook);
  fHighlighter = value;
  if (!fDestroying) HighlighterChanged();
}

void TCodeEditCore::HighlighterAttrChanged(TObject*) {
  HighlighterChanged();
}

void TCodeEditCore::HighlighterChanged() {
  MeasureCharCell();
  if (fHighlighter) {
    fLines->BeginUpdate();
    try {
      RescanAllRanges();
    } catch (...) {
      fLines->EndUpdate();
      throw;
    }
    fLines->EndUpdate();
  } else {
    fHost.Invalidate();
  }
  ViewSizeChanged(true);
}

Integer TCodeEditCore::RescanRangesFrom(Integer index) {
  if (!fHighlighter || index < 0 || index >= fLines->GetCount()) return index;
  if (index == 0)
    fHighlighter->ResetRange();
  else
    fHighlighter->SetRange(fLines->LineRange(index - 1));
  Integer line = index;
  for (;;) {
    fHighlighter->SetLine(fLines->LineText(line), line);
    fHighlighter->NextToEol();
    const TCodeRange range = fHighlighter->GetRange();
    if (fLines->LineRange(line) == range) break;
    fLines->SetLineRange(line, range);
    if (line + 1 >= fLines->GetCount()) break;
    ++line;
  }
  return line;
}

void TCodeEditCore::RescanAllRanges() {
  if (!fHighlighter) return;
  fHighlighter->ResetRange();
  for (Integer i = 0; i < fLines->GetCount(); ++i) {
    fHighlighter->SetLine(fLines->LineText(i), i);
    fHighlighter->NextToEol();
    fLines->SetLineRange(i, fHighlighter->GetRange());
  }
}

// ---- Metrics ----

void TCodeEditCore::EditorFontChanged() {
  fLines->FontChanged();
  MeasureCharCell();
  ViewSizeChanged(true);
}

void TCodeEditCore::MeasureCharCell() {
  bool used[4] = {false, false, false, false};
  const auto note = [&](TFontStyles style) {
    used[(style.Contains(fsBold) ? 1 : 0) + (style.Contains(fsItalic) ? 2 : 0)] = true;
  };
  if (fHighlighter && fHighlighter->AttrCount() > 0) {
    for (Integer i = 0; i < fHighlighter->AttrCount(); ++i)
      if (auto* attribute = fHighlighter->AttributeAt(i)) note(attribute->Style());
  } else {
    note({});
  }
  static const TFontStyles combinations[4] = {{}, {fsBold}, {fsItalic}, {fsBold, fsItalic}};
  Integer width = 0, height = 0;
  for (int i = 0; i < 4; ++i) {
    if (!used[i]) continue;
    const TSize cell = fHost.MeasureCell(combinations[i]);
    width = std::max(width, cell.cx);
    height = std::max(height, cell.cy);
  }
  fCharWidth = width;
  fTextHeight = height + fExtraLineSpacing;
}

void TCodeEditCore::ViewSizeChanged(bool fontChanged) {
  if (!fHost.HandleAllocated() || fCharWidth == 0) return;
  fCharsInWindow = std::max(fHost.ClientWidth() - fGutterWidth - 2, 0) / fCharWidth;
  fLinesInWindow = fTextHeight > 0 ? fHost.ClientHeight() / fTextHeight : 0;
  if (fWordWrapPlugin) {
    fWordWrapPlugin->DisplayChanged();
    fHost.Invalidate();
  }
  if (fontChanged) {
    if (fGutter->ShowLineNumbers())
      GutterSettingsChanged();
    else
      fHost.UpdateScrollBars();
    fCaret->CreateCaretShape();
    fStateFlags.Exclude(sfCaretChanged);
    fHost.Invalidate();
  } else {
    fHost.UpdateScrollBars();
  }
  fStateFlags.Exclude(sfScrollbarChanged);
  if (!fOptions.Contains(eoScrollPastEol)) fCaret->SetLeftChar(fCaret->LeftChar());
  if (!fOptions.Contains(eoScrollPastEof)) fCaret->SetTopLine(fCaret->TopLine());
}

void TCodeEditCore::GutterSettingsChanged() {
  if (fLoading) return;
  if (fGutter->ShowLineNumbers() && fGutter->AutoSize()) fGutter->AutoSizeDigitCount(fLines->GetCount());
  const Integer width = fGutter->RealGutterWidth(fCharWidth);
  if (width == fGutterWidth)
    fCaret->InvalidateGutter();
  else
    ApplyGutterWidth(width);
}

void TCodeEditCore::ApplyGutterWidth(Integer value) {
  value = std::max(value, 0);
  if (value == fGutterWidth) return;
  fGutterWidth = value;
  fTextOffset = fGutterWidth + 2 - (fLeftChar - 1) * fCharWidth;
  if (!fHost.HandleAllocated()) return;
  if (fCharWidth > 0) fCharsInWindow = std::max(fHost.ClientWidth() - fGutterWidth - 2, 0) / fCharWidth;
  if (fWordWrapPlugin) fWordWrapPlugin->DisplayChanged();
  fHost.UpdateScrollBars();
  fHost.Invalidate();
}

void TCodeEditCore::Loaded() {
  fLoading = false;
  GutterSettingsChanged();
  fHost.UpdateScrollBars();
}

// ---- Word wrap ----

void TCodeEditCore::SetWordWrap(bool value) {
  if (value == WordWrap()) return;
  fHost.Invalidate();
  const bool caretWasInView = fCaret->CaretInView();
  const Integer topLine = fCaret->RowToLine(fTopLine);
  if (value) {
    fWordWrapPlugin = std::make_unique<TCodeWordWrapPlugin>(this);
    fCaret->SetLeftChar(1);
  } else {
    fWordWrapPlugin.reset();
  }
  fCaret->SetTopLine(fCaret->LineToRow(topLine));
  fHost.UpdateScrollBars();
  if (fOptions.Contains(eoScrollPastEol)) {
    const TBufferCoord anchor = fBlockBegin, moving = fBlockEnd;
    fCaret->SetCaretAndSelection(fCaret->CaretXY(), anchor, moving);
  }
  if (caretWasInView) fCaret->EnsureCursorPosVisible();
}

// ---- Buffer events ----

void TCodeEditCore::BufferChanging(TObject*) {
  fStateFlags.Include(sfLinesChanging);
}

void TCodeEditCore::BufferChanged(TObject*) {
  fStateFlags.Exclude(sfLinesChanging);
  if (!fHost.HandleAllocated()) return;
  ScrollBarsChanged();
  const TCodeSelectionMode mode = fActiveSelectionMode;
  fCaret->SetBlockBegin(fCaret->CaretXY());
  fActiveSelectionMode = mode;
  if (!fInvalidateRect.IsEmpty()) fHost.InvalidateRect(fInvalidateRect);
  fInvalidateRect = {};
  if (fGutter->ShowLineNumbers() && fGutter->AutoSize()) fGutter->AutoSizeDigitCount(fLines->GetCount());
  if (!fOptions.Contains(eoScrollPastEof)) fCaret->SetTopLine(fTopLine);
}

void TCodeEditCore::BufferCleared(TObject*) {
  if (fWordWrapPlugin) fWordWrapPlugin->Reset();
  fUndoList->Clear();
  fRedoList->Clear();
  fInvalidateRect = {};
  fHost.Invalidate();
  fCaret->SetCaretXY({1, 1});
  fCaret->SetTopLine(1);
  fCaret->SetLeftChar(1);
  StatusChanged({scAll});
}

void TCodeEditCore::BufferLinesDeleted(TObject*, Integer index, Integer count) {
  if (fHighlighter && fLines->GetCount() > 0) RescanRangesFrom(index);
  if (fWordWrapPlugin) fWordWrapPlugin->LinesDeleted(index, count);
  fCaret->InvalidateLines(index + 1, std::numeric_limits<Integer>::max());
  fCaret->InvalidateGutterLines(index + 1, std::numeric_limits<Integer>::max());
}

void TCodeEditCore::BufferLinesInserted(TObject*, Integer index, Integer count) {
  if (fHighlighter && fLines->GetCount() > 0) {
    Integer line = index;
    do {
      line = RescanRangesFrom(line) + 1;
    } while (line < index + count && line < fLines->GetCount());
  }
  if (fWordWrapPlugin) fWordWrapPlugin->LinesInserted(index, count);
  fCaret->InvalidateLines(index + 1, std::numeric_limits<Integer>::max());
  fCaret->InvalidateGutterLines(index + 1, std::numeric_limits<Integer>::max());
  if (fOptions.Contains(eoAutoSizeMaxScrollWidth)) GrowMaxScrollWidthTo(index);
}

void TCodeEditCore::BufferLinesPut(TObject*, Integer index, Integer count) {
  if (fWordWrapPlugin) {
    if (fWordWrapPlugin->LinesPutted(index, count) != 0) {
      fCaret->InvalidateGutterLines(index + 1, std::numeric_limits<Integer>::max());
      fCaret->InvalidateLines(index + 1, std::numeric_limits<Integer>::max());
    } else {
      fCaret->InvalidateGutterLine(index + 1);
    }
  }
  if (fHighlighter) {
    const Integer last = RescanRangesFrom(index);
    const Integer through =
        fLines != fOrigLines.get() ? std::numeric_limits<Integer>::max() : std::max(index + 1, last + 1);
    fCaret->InvalidateLines(index + 1, through);
  } else {
    fCaret->InvalidateLine(index + 1);
  }
  if (fOptions.Contains(eoAutoSizeMaxScrollWidth)) GrowMaxScrollWidthTo(index);
}

void TCodeEditCore::GrowMaxScrollWidthTo(Integer index) {
  const Integer width = fLines->ExpandedTextLength(index);
  if (width > fMaxScrollWidth) SetMaxScrollWidth(width);
}

// ---- Buffer sharing ----

void TCodeEditCore::HookTextBuffer(TCodeEditStringList& buffer, TCodeEditUndoList& undo, TCodeEditUndoList& redo) {
  if (fChainedEditor || fLines != fOrigLines.get())
    throw EAssertionFailed(u"Assertion failed: the editor already uses another buffer");
  const bool wrapped = WordWrap();
  SetWordWrap(false);
  fChainListCleared = buffer.OnCleared;
  fChainListChanging = buffer.OnChanging;
  fChainListChanged = buffer.OnChange;
  fChainListDeleted = buffer.OnDeleted;
  fChainListInserted = buffer.OnInserted;
  fChainListPutted = buffer.OnPutted;
  fChainUndoAdded = undo.OnAddedUndo();
  fChainRedoAdded = redo.OnAddedUndo();
  // The owner's handler first, then this editor's own.
  buffer.OnCleared = [this](TObject* s) {
    fChainListCleared(s);
    BufferCleared(s);
  };
  buffer.OnChanging = [this](TObject* s) {
    fChainListChanging(s);
    BufferChanging(s);
  };
  buffer.OnChange = [this](TObject* s) {
    fChainListChanged(s);
    BufferChanged(s);
  };
  buffer.OnDeleted = [this](TObject* s, Integer i, Integer n) {
    fChainListDeleted(s, i, n);
    BufferLinesDeleted(s, i, n);
  };
  buffer.OnInserted = [this](TObject* s, Integer i, Integer n) {
    fChainListInserted(s, i, n);
    BufferLinesInserted(s, i, n);
  };
  buffer.OnPutted = [this](TObject* s, Integer i, Integer n) {
    fChainListPutted(s, i, n);
    BufferLinesPut(s, i, n);
  };
  undo.SetOnAddedUndo([this](TObject* s) {
    fChainUndoAdded(s);
    UndoListAdded(s);
  });
  redo.SetOnAddedUndo([this](TObject* s) {
    fChainRedoAdded(s);
    UndoListAdded(s);
  });
  fLines = &buffer;
  fUndoList = &undo;
  fRedoList = &redo;
  SharedBufferChanged();
  SetWordWrap(wrapped);
}

void TCodeEditCore::UnHookTextBuffer() {
  if (fLines == fOrigLines.get()) return;
  const bool wrapped = WordWrap();
  SetWordWrap(false);
  fLines->OnCleared = fChainListCleared;
  fLines->OnChanging = fChainListChanging;
  fLines->OnChange = fChainListChanged;
  fLines->OnDeleted = fChainListDeleted;
  fLines->OnInserted = fChainListInserted;
  fLines->OnPutted = fChainListPutted;
  fUndoList->SetOnAddedUndo(fChainUndoAdded);
  fRedoList->SetOnAddedUndo(fChainRedoAdded);
  fChainListCleared = fChainListChanging = fChainListChanged = nullptr;
  fChainListDeleted = fChainListInserted = fChainListPutted = nullptr;
  fChainUndoAdded = fChainRedoAdded = nullptr;
  fLines = fOrigLines.get();
  fUndoList = fOrigUndoList.get();
  fRedoList = fOrigRedoList.get();
  SharedBufferChanged();
  SetWordWrap(wrapped);
}

void TCodeEditCore::SetLinesPointer(TCodeEditCore& editor) {
  if (&editor == this) return;
  HookTextBuffer(*editor.fLines, *editor.fUndoList, *editor.fRedoList);
  fChainedEditor = &editor;
}

void TCodeEditCore::RemoveLinesPointer() {
  fChainedEditor = nullptr;
  UnHookTextBuffer();
}

void TCodeEditCore::SharedBufferChanged() {
  fHost.Invalidate();
  if (fOptions.Contains(eoAutoSizeMaxScrollWidth)) {
    const Integer longest = fLines->LengthOfLongestLine();
    if (longest > fMaxScrollWidth) SetMaxScrollWidth(longest);
  }
  fHost.UpdateScrollBars();
  fCaret->SetCaretXY(fCaret->CaretXY());
}
