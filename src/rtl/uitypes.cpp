#include "rtl/uitypes.h"

#include "rtl/numbers.h"

TShortCut ShortCut(Word key, TShiftState shift) {
  if ((key & 0xFF00) != 0) return scNone;
  TShortCut result = key;
  if (shift.Contains(ssShift)) result |= scShift;
  if (shift.Contains(ssCtrl)) result |= scCtrl;
  if (shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, Word& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = {};
  if ((shortCut & scShift) != 0) shift.Include(ssShift);
  if ((shortCut & scCtrl) != 0) shift.Include(ssCtrl);
  if ((shortCut & scAlt) != 0) shift.Include(ssAlt);
}

namespace {

String KeyName(Word key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<Char>(key));
  // Built by appending: putting a literal in front of a temporary string
  // trips a false overlap warning in optimised builds.
  if (key >= 0x70 && key <= 0x87) return String(u"F").append(IntToStr(key - 0x6F));
  if (key >= 0x60 && key <= 0x69) return String(u"Num ").append(1, static_cast<Char>(u'0' + key - 0x60));
  switch (key) {
    case 0x08: return u"BkSp";
    case 0x09: return u"Tab";
    case 0x0D: return u"Enter";
    case 0x1B: return u"Esc";
    case 0x20: return u"Space";
    case 0x21: return u"PgUp";
    case 0x22: return u"PgDn";
    case 0x23: return u"End";
    case 0x24: return u"Home";
    case 0x25: return u"Left";
    case 0x26: return u"Up";
    case 0x27: return u"Right";
    case 0x28: return u"Down";
    case 0x2D: return u"Ins";
    case 0x2E: return u"Del";
    case 0x6A: return u"Num *";
    case 0x6B: return u"Num +";
    case 0x6D: return u"Num -";
    case 0x6E: return u"Num .";
    case 0x6F: return u"Num /";
    case 0xBA: return u";";
    case 0xBB: return u"=";
    case 0xBC: return u",";
    case 0xBD: return u"-";
    case 0xBE: return u".";
    case 0xBF: return u"/";
    case 0xC0: return u"`";
    case 0xDB: return u"[";
    case 0xDC: return u"\\";
    case 0xDD: return u"]";
    case 0xDE: return u"'";
    default: return {};
  }
}

}  // namespace

String ShortCutToText(TShortCut shortCut) {
  String name = KeyName(shortCut & 0xFF);
  if (name.empty()) return {};
  String prefix;
  if ((shortCut & scShift) != 0) prefix += u"Shift+";
  if ((shortCut & scCtrl) != 0) prefix += u"Ctrl+";
  if ((shortCut & scAlt) != 0) prefix += u"Alt+";
  return prefix + name;
}
