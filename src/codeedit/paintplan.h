// What the editor paints, decided without a window: the visible rows of the
// text area with their runs of equally drawn characters (token colours,
// selection, caret line, special characters), the rest of each row, the
// right edge, and the gutter's line numbers and mark glyphs. The window only
// carries the plan out on its canvas, so the decisions are testable natively.
#pragma once

#include <vector>

#include "codeedit/editcore.h"

// Characters that are drawn alike: one text output.
struct TCodePaintRun {
  String Text;
  // Display column (1-based) of the first character.
  Integer Column = 1;
  TColor Foreground = clNone;
  TColor Background = clNone;
  TFontStyles Style;
  bool Selected = false;
};

struct TCodePaintMark {
  Integer ImageIndex = 0;
  bool Bookmark = false;
  bool InternalImage = false;
  // Pixels right of the bookmark margin.
  Integer XOffset = 0;
};

struct TCodePaintRow {
  Integer Row = 0;
  Integer Line = 0;
  // Pixel top of the row in the window.
  Integer Top = 0;
  // The first row of its line (later rows continue a wrapped line).
  bool FirstOfLine = true;
  bool CaretLine = false;
  // Covering the columns of the painted range in order; the cells after
  // the text are runs of spaces.
  std::vector<TCodePaintRun> Runs;
  // The gutter's line number (empty on continuation rows or without numbers).
  String LineNumber;
  std::vector<TCodePaintMark> Marks;
};

struct TCodePaintPlan {
  // Display columns painted (1-based, inclusive).
  Integer FirstColumn = 1, LastColumn = 1;
  std::vector<TCodePaintRow> Rows;
  // Background of the area below the last row.
  TColor EmptyBackground = clWindow;
  // x of the right edge line, or -1 when none is drawn.
  Integer RightEdgeX = -1;
};

// The colours the window contributes: its font colour and background.
struct TCodePaintColors {
  TColor Font = clWindowText;
  TColor Window = clWindow;
};

// The plan of the window area `area` (pixels). `focused`: whether the window has
// the focus (a hidden selection shows only then).
TCodePaintPlan MakePaintPlan(TCodeEditCore& core, const TCodePaintColors& colors, const TRect& area, bool focused);
