// The mini-HTML texts on a canvas: painted, measured, or asked for the link
// under a point. The canvas's font and brush colour are the starting style.
#pragma once

#include "ui/winapi.h"

#include "panelkit/htmltext.h"
#include "ui/graphics.h"

// Pictures are read from their files at each call; a file that cannot be
// read is skipped like a missing one. The canvas's font and brush are as
// they were on return.
void DrawHtmlText(TCanvas& canvas, const TRect& rect, const String& text, THtmlInfo& info, TWrapKind wrap,
                  THtmlMode mode, TPoint offset = {}, TPoint hitPoint = {});
