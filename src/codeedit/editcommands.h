// The editor's commands: keys become commands through the keystroke table,
// every command passes the application's events and the registered command
// hooks, and the built-in commands move the caret, select and edit.
#pragma once

#include <memory>
#include <vector>

#include "codeedit/chains.h"
#include "codeedit/keystrokes.h"
#include "codeedit/types.h"
#include "rtl/uitypes.h"

class TCodeEditCore;

class TCodeEditCommands {
 public:
  explicit TCodeEditCommands(TCodeEditCore& core) : E(core) {}

  // The events, the hooks and the built-in command, in that order.
  void CommandProcessor(TCodeEditorCommand command, Char aChar, void* data);
  void ExecuteCommand(TCodeEditorCommand command, Char aChar, void* data);
  // The command bound to the key (with a possible first stroke before it).
  TCodeEditorCommand KeyToCommand(Word key, TShiftState shift);

  void RegisterCommandHandler(const THookedCommandEvent& handler, void* handlerData);
  void UnregisterCommandHandler(const THookedCommandEvent& handler);
  void NotifyCommandHooks(bool afterProcessing, TCodeEditorCommand& command, Char& aChar, void* data);

  // A line break at the caret, as redo repeats it: the indentation a line
  // break typed after it was recorded on its own and is redone on its own.
  void RedoLineBreak() { LineBreak(ecLineBreak, false); }

  // ---- Caret movement ----
  void MoveCaretAndSelect(const TBufferCoord& from, const TBufferCoord& to, bool select);
  void MoveCaretHorizontally(Integer n, bool select);
  void MoveCaretVertically(Integer n, bool select);
  void GoLineStart(bool select);
  void GoLineEnd(bool select);

 private:
  void FireProcessCommand(TCodeEditorCommand& command, Char& aChar, void* data);
  bool ExecuteMovement(TCodeEditorCommand command, void* data);
  void DeleteLastChar();
  void DeleteChar();
  void DeleteToWordEndOrLineEnd(TCodeEditorCommand command);
  void DeleteToWordStartOrLineStart(TCodeEditorCommand command);
  void DeleteLine();
  void LineBreak(TCodeEditorCommand command, bool retypeIndent = true);
  void TypeChar(Char c);
  void TypeString(const Char* text);
  void TypeTab();
  void TypeShiftTab();
  void ConvertCase(TCodeEditorCommand command);
  void SetMarker(Integer number, void* data);
  // The selection deleted with its undo item (crDelete or crDeleteAfterCursor).
  void DeleteSelectionRecorded(TCodeSelectionMode mode);
  // Leading blanks of the text as the auto indent counts them (tabs one
  // each, or TabWidth with `tabsCount`), at most 32; 0 without eoAutoIndent.
  Integer LeftSpaces(StringView text, bool tabsCount) const;

  void ScrollCaretRight();

  TCodeEditCore& E;
  std::vector<std::unique_ptr<THookedCommandHandlerEntry>> fHookedCommandHandlers;
  Word fLastKey = 0;
  TShiftState fLastShiftState;
};
