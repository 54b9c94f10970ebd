// Questions about the editor's text: which highlighter token lies at a
// position, where the bracket matching the one at a position is; and going
// to a line with it centred.
#pragma once

#include "codeedit/editcore.h"

// The token covering the position, its attribute, start column and kind;
// false (empty token, nil attribute) without a highlighter or off the text.
bool GetHighlighterAttriAtRowColEx(TCodeEditCore& core, const TBufferCoord& pos, String& token,
                                   TCodeHighlighterAttributes*& attribute, Integer& tokenStart, Integer& tokenKind);
bool GetHighlighterAttriAtRowCol(TCodeEditCore& core, const TBufferCoord& pos, String& token,
                                 TCodeHighlighterAttributes*& attribute);

// The position of the bracket matching the one at `pos`, or (0, 0). Brackets
// inside string and comment tokens do not count.
TBufferCoord GetMatchingBracketEx(TCodeEditCore& core, const TBufferCoord& pos);
// Moves the caret to the matching bracket; without one the caret stays.
void FindMatchingBracket(TCodeEditCore& core);

void GotoLineAndCenter(TCodeEditCore& core, Integer line);
