// Integer types whose values have names in forms: colours, cursors and font
// character sets. A form stores clBtnFace, crHandPoint or DEFAULT_CHARSET as
// identifiers; the reader maps them to numbers and the writer back.
#pragma once

#include "classes/reflection.h"
#include "rtl/uitypes.h"

namespace types {
const TOrdinalTypeInfo& Color();        // TColor, with the colour names
const TOrdinalTypeInfo& Cursor();       // TCursor, with the cursor names
const TOrdinalTypeInfo& FontCharset();  // TFontCharset, with the character set names
}  // namespace types

bool IdentToColor(StringView ident, Integer& color);
bool ColorToIdent(Integer color, String& ident);
bool IdentToCursor(StringView ident, Integer& cursor);
bool CursorToIdent(Integer cursor, String& ident);
bool IdentToCharset(StringView ident, Integer& charset);
bool CharsetToIdent(Integer charset, String& ident);

// Font styles and shift states, as published properties and event parameters have them.
const TTypeInfo& DescribeType(TypeTag<TFontStyle>);
const TTypeInfo& DescribeType(TypeTag<TFontStyles>);
const TTypeInfo& DescribeType(TypeTag<TShiftStateItem>);
const TTypeInfo& DescribeType(TypeTag<TShiftState>);
