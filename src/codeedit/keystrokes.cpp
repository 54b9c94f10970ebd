#include "codeedit/keystrokes.h"

#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"
#include "rtl/sysstr.h"

namespace {

std::vector<TIdentMapEntry> BuildCommandNames() {
  std::vector<TIdentMapEntry> names = {
      {ecNone, u"ecNone"},
      {ecLeft, u"ecLeft"},
      {ecRight, u"ecRight"},
      {ecUp, u"ecUp"},
      {ecDown, u"ecDown"},
      {ecWordLeft, u"ecWordLeft"},
      {ecWordRight, u"ecWordRight"},
      {ecLineStart, u"ecLineStart"},
      {ecLineEnd, u"ecLineEnd"},
      {ecPageUp, u"ecPageUp"},
      {ecPageDown, u"ecPageDown"},
      {ecPageLeft, u"ecPageLeft"},
      {ecPageRight, u"ecPageRight"},
      {ecPageTop, u"ecPageTop"},
      {ecPageBottom, u"ecPageBottom"},
      {ecEditorTop, u"ecEditorTop"},
      {ecEditorBottom, u"ecEditorBottom"},
      {ecGotoXY, u"ecGotoXY"},
      {ecSelLeft, u"ecSelLeft"},
      {ecSelRight, u"ecSelRight"},
      {ecSelUp, u"ecSelUp"},
      {ecSelDown, u"ecSelDown"},
      {ecSelWordLeft, u"ecSelWordLeft"},
      {ecSelWordRight, u"ecSelWordRight"},
      {ecSelLineStart, u"ecSelLineStart"},
      {ecSelLineEnd, u"ecSelLineEnd"},
      {ecSelPageUp, u"ecSelPageUp"},
      {ecSelPageDown, u"ecSelPageDown"},
      {ecSelPageLeft, u"ecSelPageLeft"},
      {ecSelPageRight, u"ecSelPageRight"},
      {ecSelPageTop, u"ecSelPageTop"},
      {ecSelPageBottom, u"ecSelPageBottom"},
      {ecSelEditorTop, u"ecSelEditorTop"},
      {ecSelEditorBottom, u"ecSelEditorBottom"},
      {ecSelGotoXY, u"ecSelGotoXY"},
      {ecSelWord, u"ecSelWord"},
      {ecSelectAll, u"ecSelectAll"},
      {ecDeleteLastChar, u"ecDeleteLastChar"},
      {ecDeleteChar, u"ecDeleteChar"},
      {ecDeleteWord, u"ecDeleteWord"},
      {ecDeleteLastWord, u"ecDeleteLastWord"},
      {ecDeleteBOL, u"ecDeleteBOL"},
      {ecDeleteEOL, u"ecDeleteEOL"},
      {ecDeleteLine, u"ecDeleteLine"},
      {ecClearAll, u"ecClearAll"},
      {ecLineBreak, u"ecLineBreak"},
      {ecInsertLine, u"ecInsertLine"},
      {ecChar, u"ecChar"},
      {ecImeStr, u"ecImeStr"},
      {ecUndo, u"ecUndo"},
      {ecRedo, u"ecRedo"},
      {ecCut, u"ecCut"},
      {ecCopy, u"ecCopy"},
      {ecPaste, u"ecPaste"},
      {ecScrollUp, u"ecScrollUp"},
      {ecScrollDown, u"ecScrollDown"},
      {ecScrollLeft, u"ecScrollLeft"},
      {ecScrollRight, u"ecScrollRight"},
      {ecInsertMode, u"ecInsertMode"},
      {ecOverwriteMode, u"ecOverwriteMode"},
      {ecToggleMode, u"ecToggleMode"},
      {ecBlockIndent, u"ecBlockIndent"},
      {ecBlockUnindent, u"ecBlockUnindent"},
      {ecTab, u"ecTab"},
      {ecShiftTab, u"ecShiftTab"},
      {ecMatchBracket, u"ecMatchBracket"},
      {ecCommentBlock, u"ecCommentBlock"},
      {ecNormalSelect, u"ecNormalSelect"},
      {ecColumnSelect, u"ecColumnSelect"},
      {ecLineSelect, u"ecLineSelect"},
      {ecAutoCompletion, u"ecAutoCompletion"},
      {ecUserFirst, u"ecUserFirst"},
      {ecContextHelp, u"ecContextHelp"},
  };
  static constexpr const char16_t* gotoNames[] = {
      u"ecGotoMarker0", u"ecGotoMarker1", u"ecGotoMarker2", u"ecGotoMarker3", u"ecGotoMarker4",
      u"ecGotoMarker5", u"ecGotoMarker6", u"ecGotoMarker7", u"ecGotoMarker8", u"ecGotoMarker9"};
  static constexpr const char16_t* setNames[] = {u"ecSetMarker0", u"ecSetMarker1", u"ecSetMarker2", u"ecSetMarker3",
                                                 u"ecSetMarker4", u"ecSetMarker5", u"ecSetMarker6", u"ecSetMarker7",
                                                 u"ecSetMarker8", u"ecSetMarker9"};
  for (int i = 0; i < 10; ++i) names.push_back({ecGotoMarker0 + i, gotoNames[i]});
  for (int i = 0; i < 10; ++i) names.push_back({ecSetMarker0 + i, setNames[i]});
  names.insert(names.end(), {{ecUpperCase, u"ecUpperCase"},
                             {ecLowerCase, u"ecLowerCase"},
                             {ecToggleCase, u"ecToggleCase"},
                             {ecTitleCase, u"ecTitleCase"},
                             {ecUpperCaseBlock, u"ecUpperCaseBlock"},
                             {ecLowerCaseBlock, u"ecLowerCaseBlock"},
                             {ecToggleCaseBlock, u"ecToggleCaseBlock"},
                             {ecString, u"ecString"}});
  return names;
}

}  // namespace

const std::vector<TIdentMapEntry>& EditorCommandNames() {
  static const std::vector<TIdentMapEntry> names = BuildCommandNames();
  return names;
}

bool CommandByIdent(StringView ident, Integer& command) {
  for (const TIdentMapEntry& entry : EditorCommandNames()) {
    if (SameText(ident, entry.Name)) {
      command = entry.Value;
      return true;
    }
  }
  return false;
}

bool IdentOfCommand(Integer command, String& ident) {
  for (const TIdentMapEntry& entry : EditorCommandNames()) {
    if (entry.Value == command) {
      ident = entry.Name;
      return true;
    }
  }
  return false;
}

String CommandDisplayText(TCodeEditorCommand command) {
  String name;
  if (IdentOfCommand(command, name)) return name;
  return IntToStr(command);
}

TShortCut TCodeEditKeyStroke::ShortCut() const {
  return ::ShortCut(FKey, FShift);
}

TShortCut TCodeEditKeyStroke::ShortCut2() const {
  return ::ShortCut(FKey2, FShift2);
}

void TCodeEditKeyStroke::SetShortCut(TShortCut value) {
  if (value != 0 && FCollection) {
    const Integer found = FCollection->FindShortcut2(value, ShortCut2());
    if (found >= 0 && &FCollection->Items(found) != this) throw ECodeKeyError(u"Shortcut already exists");
  }
  ShortCutToKey(value, FKey, FShift);
}

void TCodeEditKeyStroke::SetShortCut2(TShortCut value) {
  if (value != 0 && FCollection) {
    const Integer found = FCollection->FindShortcut2(ShortCut(), value);
    if (found >= 0 && &FCollection->Items(found) != this) throw ECodeKeyError(u"Shortcut already exists");
  }
  ShortCutToKey(value, FKey2, FShift2);
}

void TCodeEditKeyStroke::Assign(const TCodeEditKeyStroke& source) {
  FCommand = source.FCommand;
  FKey = source.FKey;
  FKey2 = source.FKey2;
  FShift = source.FShift;
  FShift2 = source.FShift2;
}

String TCodeEditKeyStroke::GetDisplayName() const {
  String result = CommandDisplayText(FCommand) + u" - " + ShortCutToText(ShortCut());
  if (ShortCut() != 0) result += u" " + ShortCutToText(ShortCut2());
  return result;
}

namespace {

Word ReadWord(TStream& stream) {
  Byte bytes[2];
  stream.ReadBuffer(bytes, 2);
  return static_cast<Word>(bytes[0] | (bytes[1] << 8));
}

void WriteWord(TStream& stream, Word value) {
  const Byte bytes[2] = {static_cast<Byte>(value & 0xFF), static_cast<Byte>(value >> 8)};
  stream.WriteBuffer(bytes, 2);
}

}  // namespace

void TCodeEditKeyStroke::LoadFromStream(TStream& stream) {
  FKey = ReadWord(stream);
  FShift = TShiftState::FromBits(ReadWord(stream));
  FKey2 = ReadWord(stream);
  FShift2 = TShiftState::FromBits(ReadWord(stream));
  FCommand = ReadWord(stream);
}

void TCodeEditKeyStroke::SaveToStream(TStream& stream) const {
  WriteWord(stream, FKey);
  WriteWord(stream, static_cast<Word>(FShift.Bits()));
  WriteWord(stream, FKey2);
  WriteWord(stream, static_cast<Word>(FShift2.Bits()));
  WriteWord(stream, FCommand);
}

void TCodeEditKeyStrokes::LoadFromStream(TStream& stream) {
  const Word low = ReadWord(stream);
  const Word high = ReadWord(stream);
  const auto count = static_cast<Integer>(static_cast<Cardinal>(low) | (static_cast<Cardinal>(high) << 16));
  std::vector<std::unique_ptr<TCodeEditKeyStroke>> items;
  for (Integer i = 0; i < count; ++i) {
    auto item = std::make_unique<TCodeEditKeyStroke>(this);
    item->LoadFromStream(stream);
    items.push_back(std::move(item));
  }
  FItems = std::move(items);
}

void TCodeEditKeyStrokes::SaveToStream(TStream& stream) const {
  const auto count = static_cast<Cardinal>(Count());
  WriteWord(stream, static_cast<Word>(count & 0xFFFF));
  WriteWord(stream, static_cast<Word>(count >> 16));
  for (const auto& item : FItems) item->SaveToStream(stream);
}

TCodeEditKeyStroke& TCodeEditKeyStrokes::Items(Integer index) const {
  if (index < 0 || index >= Count()) throw EListError(Format(kListIndexError, {index}));
  return *FItems[static_cast<size_t>(index)];
}

TCodeEditKeyStroke& TCodeEditKeyStrokes::Add() {
  FItems.push_back(std::make_unique<TCodeEditKeyStroke>(this));
  return *FItems.back();
}

TCodeEditKeyStroke& TCodeEditKeyStrokes::AddKey(TCodeEditorCommand command, Word key, TShiftState shift) {
  auto item = std::make_unique<TCodeEditKeyStroke>(this);
  item->SetKey(key);
  item->SetShift(shift);
  item->SetKey2(0);
  item->SetShift2({});
  item->SetCommand(command);
  FItems.push_back(std::move(item));
  return *FItems.back();
}

void TCodeEditKeyStrokes::Delete(Integer index) {
  Items(index);
  FItems.erase(FItems.begin() + index);
}

void TCodeEditKeyStrokes::Clear() {
  FItems.clear();
}

void TCodeEditKeyStrokes::Assign(const TCodeEditKeyStrokes& source) {
  if (&source == this) return;
  Clear();
  for (const auto& item : source.FItems) Add().Assign(*item);
}

Integer TCodeEditKeyStrokes::FindCommand(TCodeEditorCommand command) const {
  for (Integer i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)]->Command() == command) return i;
  return -1;
}

Integer TCodeEditKeyStrokes::FindKeycode(Word code, TShiftState shift) const {
  for (Integer i = 0; i < Count(); ++i) {
    const auto& item = *FItems[static_cast<size_t>(i)];
    if (item.Key2() == 0 && item.Key() == code && item.Shift() == shift) return i;
  }
  return -1;
}

Integer TCodeEditKeyStrokes::FindKeycode2(Word code1, TShiftState shift1, Word code2, TShiftState shift2) const {
  for (Integer i = 0; i < Count(); ++i) {
    const auto& item = *FItems[static_cast<size_t>(i)];
    if (item.Key() == code1 && item.Shift() == shift1 && item.Key2() == code2 && item.Shift2() == shift2) return i;
  }
  return -1;
}

Integer TCodeEditKeyStrokes::FindShortcut(TShortCut shortCut) const {
  for (Integer i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)]->ShortCut() == shortCut) return i;
  return -1;
}

Integer TCodeEditKeyStrokes::FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const {
  for (Integer i = 0; i < Count(); ++i) {
    const auto& item = *FItems[static_cast<size_t>(i)];
    if (item.ShortCut() == shortCut && item.ShortCut2() == shortCut2) return i;
  }
  return -1;
}

void TCodeEditKeyStrokes::ResetDefaults() {
  Clear();
  constexpr Word vkBack = 8, vkTab = 9, vkReturn = 13, vkPrior = 33, vkNext = 34, vkEnd = 35, vkHome = 36, vkLeft = 37,
                 vkUp = 38, vkRight = 39, vkDown = 40, vkInsert = 45, vkDelete = 46, vkF1 = 112;
  const TShiftState none, shift{ssShift}, ctrl{ssCtrl}, shiftCtrl{ssShift, ssCtrl}, alt{ssAlt},
      shiftAlt{ssShift, ssAlt};
  const auto movement = [&](Word key, TCodeEditorCommand plain, TCodeEditorCommand withCtrl, bool shiftCtrlToo) {
    AddKey(plain, key, none);
    AddKey(plain + ecSelection, key, shift);
    AddKey(withCtrl, key, ctrl);
    if (shiftCtrlToo) AddKey(withCtrl + ecSelection, key, shiftCtrl);
  };
  movement(vkUp, ecUp, ecScrollUp, false);
  movement(vkDown, ecDown, ecScrollDown, false);
  movement(vkLeft, ecLeft, ecWordLeft, true);
  movement(vkRight, ecRight, ecWordRight, true);
  movement(vkNext, ecPageDown, ecPageBottom, true);
  movement(vkPrior, ecPageUp, ecPageTop, true);
  movement(vkHome, ecLineStart, ecEditorTop, true);
  movement(vkEnd, ecLineEnd, ecEditorBottom, true);
  AddKey(ecToggleMode, vkInsert, none);
  AddKey(ecCopy, vkInsert, ctrl);
  AddKey(ecCut, vkDelete, shift);
  AddKey(ecPaste, vkInsert, shift);
  AddKey(ecDeleteChar, vkDelete, none);
  AddKey(ecDeleteLastChar, vkBack, none);
  AddKey(ecDeleteLastChar, vkBack, shift);
  AddKey(ecDeleteLastWord, vkBack, ctrl);
  AddKey(ecUndo, vkBack, alt);
  AddKey(ecRedo, vkBack, shiftAlt);
  AddKey(ecLineBreak, vkReturn, none);
  AddKey(ecLineBreak, vkReturn, shift);
  AddKey(ecTab, vkTab, none);
  AddKey(ecShiftTab, vkTab, shift);
  AddKey(ecContextHelp, vkF1, none);
  AddKey(ecSelectAll, 'A', ctrl);
  AddKey(ecCopy, 'C', ctrl);
  AddKey(ecPaste, 'V', ctrl);
  AddKey(ecCut, 'X', ctrl);
  AddKey(ecBlockIndent, 'I', shiftCtrl);
  AddKey(ecBlockUnindent, 'U', shiftCtrl);
  AddKey(ecLineBreak, 'M', ctrl);
  AddKey(ecInsertLine, 'N', ctrl);
  AddKey(ecDeleteWord, 'T', ctrl);
  AddKey(ecDeleteLine, 'Y', ctrl);
  AddKey(ecDeleteEOL, 'Y', shiftCtrl);
  AddKey(ecUndo, 'Z', ctrl);
  AddKey(ecRedo, 'Z', shiftCtrl);
  for (Word i = 0; i < 10; ++i) AddKey(ecGotoMarker0 + i, '0' + i, ctrl);
  for (Word i = 0; i < 10; ++i) AddKey(ecSetMarker0 + i, '0' + i, shiftCtrl);
  AddKey(ecNormalSelect, 'N', shiftCtrl);
  AddKey(ecColumnSelect, 'C', shiftCtrl);
  AddKey(ecLineSelect, 'L', shiftCtrl);
  AddKey(ecMatchBracket, 'B', shiftCtrl);
}
