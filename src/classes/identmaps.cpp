#include "classes/identmaps.h"

namespace {

constexpr Integer kSystemColor = static_cast<Integer>(0xFF000000u);

std::vector<TIdentMapEntry> ColorNames() {
  return {
      {0x000000, u"clBlack"},
      {0x000080, u"clMaroon"},
      {0x008000, u"clGreen"},
      {0x008080, u"clOlive"},
      {0x800000, u"clNavy"},
      {0x800080, u"clPurple"},
      {0x808000, u"clTeal"},
      {0x808080, u"clGray"},
      {0xC0C0C0, u"clSilver"},
      {0x0000FF, u"clRed"},
      {0x00FF00, u"clLime"},
      {0x00FFFF, u"clYellow"},
      {0xFF0000, u"clBlue"},
      {0xFF00FF, u"clFuchsia"},
      {0xFFFF00, u"clAqua"},
      {0xFFFFFF, u"clWhite"},
      {0xC0DCC0, u"clMoneyGreen"},
      {0xF0CAA6, u"clSkyBlue"},
      {0xF0FBFF, u"clCream"},
      {0xA4A0A0, u"clMedGray"},
      {kSystemColor | 10, u"clActiveBorder"},
      {kSystemColor | 2, u"clActiveCaption"},
      {kSystemColor | 12, u"clAppWorkSpace"},
      {kSystemColor | 1, u"clBackground"},
      {kSystemColor | 15, u"clBtnFace"},
      {kSystemColor | 20, u"clBtnHighlight"},
      {kSystemColor | 16, u"clBtnShadow"},
      {kSystemColor | 18, u"clBtnText"},
      {kSystemColor | 9, u"clCaptionText"},
      {0x20000000, u"clDefault"},
      {kSystemColor | 27, u"clGradientActiveCaption"},
      {kSystemColor | 28, u"clGradientInactiveCaption"},
      {kSystemColor | 17, u"clGrayText"},
      {kSystemColor | 13, u"clHighlight"},
      {kSystemColor | 14, u"clHighlightText"},
      {kSystemColor | 26, u"clHotLight"},
      {kSystemColor | 11, u"clInactiveBorder"},
      {kSystemColor | 3, u"clInactiveCaption"},
      {kSystemColor | 19, u"clInactiveCaptionText"},
      {kSystemColor | 24, u"clInfoBk"},
      {kSystemColor | 23, u"clInfoText"},
      {kSystemColor | 4, u"clMenu"},
      {kSystemColor | 30, u"clMenuBar"},
      {kSystemColor | 29, u"clMenuHighlight"},
      {kSystemColor | 7, u"clMenuText"},
      {0x1FFFFFFF, u"clNone"},
      {kSystemColor | 0, u"clScrollBar"},
      {kSystemColor | 21, u"cl3DDkShadow"},
      {kSystemColor | 22, u"cl3DLight"},
      {kSystemColor | 5, u"clWindow"},
      {kSystemColor | 6, u"clWindowFrame"},
      {kSystemColor | 8, u"clWindowText"},
  };
}

std::vector<TIdentMapEntry> CursorNames() {
  // -22 is named crSizeAll when written; crSize is still read.
  return {
      {0, u"crDefault"},     {-1, u"crNone"},       {-2, u"crArrow"},      {-3, u"crCross"},
      {-4, u"crIBeam"},      {-22, u"crSizeAll"},   {-6, u"crSizeNESW"},   {-7, u"crSizeNS"},
      {-8, u"crSizeNWSE"},   {-9, u"crSizeWE"},     {-10, u"crUpArrow"},   {-11, u"crHourGlass"},
      {-12, u"crDrag"},      {-13, u"crNoDrop"},    {-14, u"crHSplit"},    {-15, u"crVSplit"},
      {-16, u"crMultiDrag"}, {-17, u"crSQLWait"},   {-18, u"crNo"},        {-19, u"crAppStart"},
      {-20, u"crHelp"},      {-21, u"crHandPoint"}, {-22, u"crSize"},
  };
}

std::vector<TIdentMapEntry> CharsetNames() {
  return {
      {0, u"ANSI_CHARSET"},         {1, u"DEFAULT_CHARSET"},      {2, u"SYMBOL_CHARSET"},
      {77, u"MAC_CHARSET"},         {128, u"SHIFTJIS_CHARSET"},   {129, u"HANGEUL_CHARSET"},
      {130, u"JOHAB_CHARSET"},      {134, u"GB2312_CHARSET"},     {136, u"CHINESEBIG5_CHARSET"},
      {161, u"GREEK_CHARSET"},      {162, u"TURKISH_CHARSET"},    {163, u"VIETNAMESE_CHARSET"},
      {177, u"HEBREW_CHARSET"},     {178, u"ARABIC_CHARSET"},     {186, u"BALTIC_CHARSET"},
      {204, u"RUSSIAN_CHARSET"},    {222, u"THAI_CHARSET"},       {238, u"EASTEUROPE_CHARSET"},
      {255, u"OEM_CHARSET"},
  };
}

}  // namespace

namespace types {

const TOrdinalTypeInfo& Color() {
  static const TOrdinalTypeInfo t(tkInteger, u"TColor", u"Graphics", otSLong, -2147483647 - 1, 2147483647,
                                  ColorNames());
  return t;
}
const TOrdinalTypeInfo& Cursor() {
  static const TOrdinalTypeInfo t(tkInteger, u"TCursor", u"Controls", otSWord, -32768, 32767, CursorNames());
  return t;
}
const TOrdinalTypeInfo& FontCharset() {
  static const TOrdinalTypeInfo t(tkInteger, u"TFontCharset", u"Graphics", otUByte, 0, 255, CharsetNames());
  return t;
}

}  // namespace types

bool IdentToColor(StringView ident, Integer& color) { return types::Color().IdentToInt(ident, color); }
bool ColorToIdent(Integer color, String& ident) { return types::Color().IntToIdent(color, ident); }
bool IdentToCursor(StringView ident, Integer& cursor) { return types::Cursor().IdentToInt(ident, cursor); }
bool CursorToIdent(Integer cursor, String& ident) { return types::Cursor().IntToIdent(cursor, ident); }
bool IdentToCharset(StringView ident, Integer& charset) { return types::FontCharset().IdentToInt(ident, charset); }
bool CharsetToIdent(Integer charset, String& ident) { return types::FontCharset().IntToIdent(charset, ident); }

const TTypeInfo& DescribeType(TypeTag<TFontStyle>) {
  static const TEnumTypeInfo t(u"TFontStyle", u"Graphics", {u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFontStyles>) {
  static const TSetTypeInfo t(u"TFontStyles", u"Graphics",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TFontStyle>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TShiftStateItem>) {
  static const TEnumTypeInfo t(u"TShiftStateItem", u"Classes",
                               {u"ssShift", u"ssAlt", u"ssCtrl", u"ssLeft", u"ssRight", u"ssMiddle", u"ssDouble",
                                u"ssTouch", u"ssPen", u"ssCommand"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TShiftState>) {
  static const TSetTypeInfo t(u"TShiftState", u"Classes",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TShiftStateItem>{})));
  return t;
}
