// Editor commands and the keystroke table that maps keys to them. Commands
// have names ("ecUndo") through which forms store keystroke tables.
#pragma once

#include <memory>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/object.h"
#include "rtl/uitypes.h"

class TStream;

using TCodeEditorCommand = Word;

inline constexpr TCodeEditorCommand ecNone = 0;
inline constexpr TCodeEditorCommand ecLeft = 1;
inline constexpr TCodeEditorCommand ecRight = 2;
inline constexpr TCodeEditorCommand ecUp = 3;
inline constexpr TCodeEditorCommand ecDown = 4;
inline constexpr TCodeEditorCommand ecWordLeft = 5;
inline constexpr TCodeEditorCommand ecWordRight = 6;
inline constexpr TCodeEditorCommand ecLineStart = 7;
inline constexpr TCodeEditorCommand ecLineEnd = 8;
inline constexpr TCodeEditorCommand ecPageUp = 9;
inline constexpr TCodeEditorCommand ecPageDown = 10;
inline constexpr TCodeEditorCommand ecPageLeft = 11;
inline constexpr TCodeEditorCommand ecPageRight = 12;
inline constexpr TCodeEditorCommand ecPageTop = 13;
inline constexpr TCodeEditorCommand ecPageBottom = 14;
inline constexpr TCodeEditorCommand ecEditorTop = 15;
inline constexpr TCodeEditorCommand ecEditorBottom = 16;
inline constexpr TCodeEditorCommand ecGotoXY = 17;

// Each selecting movement is the plain movement plus this.
inline constexpr TCodeEditorCommand ecSelection = 100;
inline constexpr TCodeEditorCommand ecSelLeft = ecLeft + ecSelection;
inline constexpr TCodeEditorCommand ecSelRight = ecRight + ecSelection;
inline constexpr TCodeEditorCommand ecSelUp = ecUp + ecSelection;
inline constexpr TCodeEditorCommand ecSelDown = ecDown + ecSelection;
inline constexpr TCodeEditorCommand ecSelWordLeft = ecWordLeft + ecSelection;
inline constexpr TCodeEditorCommand ecSelWordRight = ecWordRight + ecSelection;
inline constexpr TCodeEditorCommand ecSelLineStart = ecLineStart + ecSelection;
inline constexpr TCodeEditorCommand ecSelLineEnd = ecLineEnd + ecSelection;
inline constexpr TCodeEditorCommand ecSelPageUp = ecPageUp + ecSelection;
inline constexpr TCodeEditorCommand ecSelPageDown = ecPageDown + ecSelection;
inline constexpr TCodeEditorCommand ecSelPageLeft = ecPageLeft + ecSelection;
inline constexpr TCodeEditorCommand ecSelPageRight = ecPageRight + ecSelection;
inline constexpr TCodeEditorCommand ecSelPageTop = ecPageTop + ecSelection;
inline constexpr TCodeEditorCommand ecSelPageBottom = ecPageBottom + ecSelection;
inline constexpr TCodeEditorCommand ecSelEditorTop = ecEditorTop + ecSelection;
inline constexpr TCodeEditorCommand ecSelEditorBottom = ecEditorBottom + ecSelection;
inline constexpr TCodeEditorCommand ecSelGotoXY = ecGotoXY + ecSelection;

inline constexpr TCodeEditorCommand ecSelWord = 198;
inline constexpr TCodeEditorCommand ecSelectAll = 199;
inline constexpr TCodeEditorCommand ecCopy = 201;
inline constexpr TCodeEditorCommand ecScrollUp = 211;
inline constexpr TCodeEditorCommand ecScrollDown = 212;
inline constexpr TCodeEditorCommand ecScrollLeft = 213;
inline constexpr TCodeEditorCommand ecScrollRight = 214;
inline constexpr TCodeEditorCommand ecInsertMode = 221;
inline constexpr TCodeEditorCommand ecOverwriteMode = 222;
inline constexpr TCodeEditorCommand ecToggleMode = 223;
inline constexpr TCodeEditorCommand ecNormalSelect = 231;
inline constexpr TCodeEditorCommand ecColumnSelect = 232;
inline constexpr TCodeEditorCommand ecLineSelect = 233;
inline constexpr TCodeEditorCommand ecMatchBracket = 250;
inline constexpr TCodeEditorCommand ecCommentBlock = 251;
inline constexpr TCodeEditorCommand ecGotoMarker0 = 301;  // to ecGotoMarker9 = 310
inline constexpr TCodeEditorCommand ecGotoMarker9 = 310;
inline constexpr TCodeEditorCommand ecSetMarker0 = 351;  // to ecSetMarker9 = 360
inline constexpr TCodeEditorCommand ecSetMarker9 = 360;
inline constexpr TCodeEditorCommand ecContextHelp = 490;
inline constexpr TCodeEditorCommand ecDeleteLastChar = 501;
inline constexpr TCodeEditorCommand ecDeleteChar = 502;
inline constexpr TCodeEditorCommand ecDeleteWord = 503;
inline constexpr TCodeEditorCommand ecDeleteLastWord = 504;
inline constexpr TCodeEditorCommand ecDeleteBOL = 505;
inline constexpr TCodeEditorCommand ecDeleteEOL = 506;
inline constexpr TCodeEditorCommand ecDeleteLine = 507;
inline constexpr TCodeEditorCommand ecClearAll = 508;
inline constexpr TCodeEditorCommand ecLineBreak = 509;
inline constexpr TCodeEditorCommand ecInsertLine = 510;
inline constexpr TCodeEditorCommand ecChar = 511;
inline constexpr TCodeEditorCommand ecImeStr = 550;
inline constexpr TCodeEditorCommand ecUndo = 601;
inline constexpr TCodeEditorCommand ecRedo = 602;
inline constexpr TCodeEditorCommand ecCut = 603;
inline constexpr TCodeEditorCommand ecPaste = 604;
inline constexpr TCodeEditorCommand ecBlockIndent = 610;
inline constexpr TCodeEditorCommand ecBlockUnindent = 611;
inline constexpr TCodeEditorCommand ecTab = 612;
inline constexpr TCodeEditorCommand ecShiftTab = 613;
inline constexpr TCodeEditorCommand ecUpperCase = 620;
inline constexpr TCodeEditorCommand ecLowerCase = 621;
inline constexpr TCodeEditorCommand ecToggleCase = 622;
inline constexpr TCodeEditorCommand ecTitleCase = 623;
inline constexpr TCodeEditorCommand ecUpperCaseBlock = 625;
inline constexpr TCodeEditorCommand ecLowerCaseBlock = 626;
inline constexpr TCodeEditorCommand ecToggleCaseBlock = 627;
inline constexpr TCodeEditorCommand ecString = 630;
inline constexpr TCodeEditorCommand ecAutoCompletion = 650;
// The first value of commands that an application defines.
inline constexpr TCodeEditorCommand ecUserFirst = 1001;

// The 101 command names in their fixed order; lookups take the first match.
const std::vector<TIdentMapEntry>& EditorCommandNames();
// Name to value (case ignored); False for a name not in the table.
bool CommandByIdent(StringView ident, Integer& command);
// Value to name; False for a value without a name.
bool IdentOfCommand(Integer command, String& ident);
// The name, or the value in decimal when it has none.
String CommandDisplayText(TCodeEditorCommand command);

KST_DECLARE_EXCEPTION(ECodeKeyError, Exception);

class TCodeEditKeyStrokes;

class TCodeEditKeyStroke : public TObject {
 public:
  explicit TCodeEditKeyStroke(TCodeEditKeyStrokes* collection = nullptr) : FCollection(collection) {}

  Word Key() const noexcept { return FKey; }
  void SetKey(Word value) noexcept { FKey = value; }
  TShiftState Shift() const noexcept { return FShift; }
  void SetShift(TShiftState value) noexcept { FShift = value; }
  Word Key2() const noexcept { return FKey2; }
  void SetKey2(Word value) noexcept { FKey2 = value; }
  TShiftState Shift2() const noexcept { return FShift2; }
  void SetShift2(TShiftState value) noexcept { FShift2 = value; }
  TCodeEditorCommand Command() const noexcept { return FCommand; }
  void SetCommand(TCodeEditorCommand value) noexcept { FCommand = value; }

  TShortCut ShortCut() const;
  // ECodeKeyError "Shortcut already exists" when another item of the
  // collection already has the pair (value, ShortCut2); 0 never raises.
  void SetShortCut(TShortCut value);
  TShortCut ShortCut2() const;
  void SetShortCut2(TShortCut value);

  void Assign(const TCodeEditKeyStroke& source);
  // "ecUndo - Ctrl+Z", for collection editors.
  String GetDisplayName() const;
  TCodeEditKeyStrokes* Collection() const noexcept { return FCollection; }

  // Five 16-bit little-endian values: Key, Shift, Key2, Shift2, Command.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

 private:
  TCodeEditKeyStrokes* FCollection;
  Word FKey = 0;
  TShiftState FShift;
  Word FKey2 = 0;
  TShiftState FShift2;
  TCodeEditorCommand FCommand = ecNone;
};

class TCodeEditKeyStrokes : public TObject {
 public:
  explicit TCodeEditKeyStrokes(TObject* owner = nullptr) : FOwner(owner) {}
  TCodeEditKeyStrokes(const TCodeEditKeyStrokes&) = delete;
  TCodeEditKeyStrokes& operator=(const TCodeEditKeyStrokes&) = delete;

  TObject* Owner() const noexcept { return FOwner; }
  Integer Count() const noexcept { return static_cast<Integer>(FItems.size()); }
  TCodeEditKeyStroke& Items(Integer index) const;

  TCodeEditKeyStroke& Add();
  TCodeEditKeyStroke& AddKey(TCodeEditorCommand command, Word key, TShiftState shift);
  void Delete(Integer index);
  void Clear();
  void Assign(const TCodeEditKeyStrokes& source);

  Integer FindCommand(TCodeEditorCommand command) const;
  Integer FindKeycode(Word code, TShiftState shift) const;
  Integer FindKeycode2(Word code1, TShiftState shift1, Word code2, TShiftState shift2) const;
  Integer FindShortcut(TShortCut shortCut) const;
  Integer FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const;

  // A 32-bit little-endian signed count, then that many records of ten
  // bytes. Loading replaces the items only when the whole table was read.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  // The 82 default keystrokes in their fixed order.
  void ResetDefaults();

 private:
  TObject* FOwner;
  std::vector<std::unique_ptr<TCodeEditKeyStroke>> FItems;
};
