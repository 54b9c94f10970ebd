#include "codeedit/paintplan.h"

#include <algorithm>

#include "codeedit/editcaret.h"
#include "codeedit/textutils.h"
#include "codeedit/wordwrap.h"

namespace {

constexpr Char kSpaceGlyph = u'\u2219';
constexpr Char kLineEndGlyph = u'\u00B6';

struct TCell {
  Char Glyph = u' ';
  TColor Foreground = clNone;
  TColor Background = clNone;
  TFontStyles Style;
  bool Selected = false;
};

bool SameLook(const TCell& a, const TCodePaintRun& run) {
  return a.Foreground == run.Foreground && a.Background == run.Background && a.Style == run.Style &&
         a.Selected == run.Selected;
}

// The visible selection as display positions, ordered; columns ordered too
// in column mode.
struct TShownSelection {
  bool Shown = false;
  TCodeSelectionMode Mode = smNormal;
  TDisplayCoord Start, End;

  bool Covers(Integer column, Integer row) const {
    if (!Shown || row < Start.Row || row > End.Row) return false;
    switch (Mode) {
      case smLine: return true;
      case smColumn: return column >= Start.Column && column < End.Column;
      default: return (row > Start.Row || column >= Start.Column) && (row < End.Row || column < End.Column);
    }
  }
};

TShownSelection FindVisibleSelection(TCodeEditCore& core, bool focused) {
  TShownSelection selection;
  TCodeEditCaret& caret = core.Caret();
  if ((core.HideSelection() && !focused) || !caret.SelAvail()) return selection;
  selection.Shown = true;
  selection.Mode = caret.ActiveSelectionMode();
  selection.Start = caret.BufferToDisplayPos(caret.BlockBegin());
  selection.End = caret.BufferToDisplayPos(caret.BlockEnd());
  if (selection.Mode == smColumn && selection.End.Column < selection.Start.Column)
    std::swap(selection.Start.Column, selection.End.Column);
  return selection;
}

TColor LineBackColor(TCodeEditCore& core, const TCodePaintColors& colors, bool caretLine) {
  if (caretLine && core.ActiveLineColor() != clNone) return core.ActiveLineColor();
  if (TCodeCustomHighlighter* highlighter = core.Highlighter())
    if (TCodeHighlighterAttributes* white = highlighter->WhitespaceAttribute(); white && white->Background() != clNone)
      return white->Background();
  return colors.Window;
}

// The cells `From` .. `To` - 1 (0-based display indexes) of a line's display
// text in its token colours; cells outside stay unbuilt, so that a long line
// costs what the window shows of it.
struct TLineCells {
  Integer From = 0, To = 0;
  // The line's cells: its display width, and the line-end glyph when shown.
  Integer Length = 0;
  std::vector<TCell> Cells;

  const TCell* At(Integer index) const {
    return index >= From && index < To ? &Cells[static_cast<size_t>(index - From)] : nullptr;
  }
};

TLineCells LineCells(TCodeEditCore& core, const TCodePaintColors& colors, Integer line, bool caretLine, TColor lineBack,
                     Integer from, Integer to) {
  TCodeEditStringList& lines = core.Lines();
  const bool special = core.HasOption(eoShowSpecialChars);
  TLineCells result;
  const Integer width = lines.ExpandedTextLength(line - 1);
  result.Length = width + (special ? 1 : 0);
  result.From = std::clamp<Integer>(from, 0, result.Length);
  result.To = std::clamp<Integer>(to, result.From, result.Length);
  if (result.From == result.To) return result;
  const String shown = lines.ExpandedText(line - 1);
  const Integer textTo = std::min<Integer>(result.To, static_cast<Integer>(shown.size()));
  result.Cells.resize(static_cast<size_t>(result.To - result.From));
  for (Integer i = result.From; i < result.To; ++i) {
    TCell& cell = result.Cells[static_cast<size_t>(i - result.From)];
    cell.Glyph = i < textTo ? (shown[static_cast<size_t>(i)] == u'\t' ? u' ' : shown[static_cast<size_t>(i)]) : u' ';
    cell.Foreground = colors.Font;
    cell.Background = lineBack;
  }
  // The line-end glyph takes its look from the last token; only then is the
  // line scanned to its end.
  const bool endShown = special && result.To == result.Length;
  TCodeCustomHighlighter* highlighter = core.Highlighter();
  TCodeHighlighterAttributes* lastAttribute = nullptr;
  if (highlighter && highlighter->Enabled()) {
    if (line == 1)
      highlighter->ResetRange();
    else
      highlighter->SetRange(lines.LineRange(line - 2));
    // The highlighter steps through the display form one character at a
    // time: it scans the form with the tabs expanded, so that a tab's cells
    // are as many characters and the tokens after it land on their columns.
    highlighter->SetLineExpandedAtWideGlyphs(WithoutFillers(shown), shown, line - 1);
    const bool activeLine = caretLine && core.ActiveLineColor() != clNone;
    while (!highlighter->GetEol()) {
      const Integer position = std::max<Integer>(highlighter->GetExpandedTokenPos(), 0);
      if (position >= textTo && !endShown) break;
      TCodeHighlighterAttributes* attribute = highlighter->GetTokenAttribute();
      lastAttribute = attribute;
      highlighter->Next();
      // The token ends where the next one starts (or at the end of the text).
      const Integer next = highlighter->GetEol() ? static_cast<Integer>(shown.size())
                                                 : std::max<Integer>(highlighter->GetExpandedTokenPos(), position);
      if (!attribute) continue;
      for (Integer i = std::max(position, result.From); i < std::min(next, textTo); ++i) {
        TCell& cell = result.Cells[static_cast<size_t>(i - result.From)];
        if (attribute->Foreground() != clNone) cell.Foreground = attribute->Foreground();
        if (attribute->Background() != clNone && !activeLine) cell.Background = attribute->Background();
        cell.Style = attribute->Style();
      }
    }
  }
  if (special) {
    for (Integer i = result.From; i < textTo; ++i) {
      TCell& cell = result.Cells[static_cast<size_t>(i - result.From)];
      if (cell.Glyph == u' ') cell.Glyph = kSpaceGlyph;
    }
    if (endShown) {
      TCell& end = result.Cells.back();
      end = TCell{};
      end.Glyph = kLineEndGlyph;
      end.Foreground = colors.Font;
      end.Background = lineBack;
      TCodeHighlighterAttributes* look = nullptr;
      if (highlighter && highlighter->Enabled())
        look = lastAttribute && lastAttribute == highlighter->CommentAttribute() ? lastAttribute
                                                                                 : highlighter->WhitespaceAttribute();
      if (look && look->Foreground() != clNone) end.Foreground = look->Foreground();
      if (look && look->Background() != clNone && !(caretLine && core.ActiveLineColor() != clNone))
        end.Background = look->Background();
    }
  }
  return result;
}

// Where the row starts in its line's display text, and how many cells it
// holds (the last row of a line up to the line's end, line-end glyph included).
void RowExtent(TCodeEditCore& core, Integer row, Integer line, Integer lineCells, Integer& start, Integer& count) {
  start = 0;
  count = lineCells;
  TCodeWordWrapPlugin* wrap = core.WordWrapPlugin();
  if (!wrap) return;
  TCodeEditCaret& caret = core.Caret();
  const Integer rows = wrap->RowCount();
  if (row < 1 || row > rows) return;
  for (Integer r = caret.LineToRow(line); r < row && r <= rows; ++r) start += wrap->GetRowLength(r);
  const bool lastRow = row == rows || caret.RowToLine(row + 1) != line;
  count = lastRow ? std::max<Integer>(lineCells - start, 0) : wrap->GetRowLength(row);
}

}  // namespace

TCodePaintPlan MakePaintPlan(TCodeEditCore& core, const TCodePaintColors& colors, const TRect& area, bool focused) {
  TCodePaintPlan plan;
  TCodeEditCaret& caret = core.Caret();
  const Integer cellWidth = std::max<Integer>(core.CharWidth(), 1);
  const Integer rowHeight = std::max<Integer>(core.LineHeight(), 1);
  const Integer gutterWidth = core.GutterWidth();
  const Integer leftChar = caret.LeftChar();
  const Integer topLine = caret.TopLine();

  plan.FirstColumn = area.Left > gutterWidth + 2 ? leftChar + (area.Left - gutterWidth - 2) / cellWidth : leftChar;
  plan.LastColumn = leftChar + (area.Right - gutterWidth - 3 + cellWidth) / cellWidth;
  plan.LastColumn = std::max(plan.LastColumn, plan.FirstColumn);
  const Integer rowCount = caret.DisplayLineCount();
  const Integer firstRow = std::max(topLine, topLine + area.Top / rowHeight);
  const Integer lastRow = std::min(topLine + (area.Bottom + rowHeight - 1) / rowHeight, rowCount);
  plan.EmptyBackground = LineBackColor(core, colors, false);
  if (core.RightEdge() > 0) {
    const Integer x = core.RightEdge() * cellWidth + core.TextOffset();
    if (x >= gutterWidth + 2 && x >= area.Left && x < area.Right) plan.RightEdgeX = x;
  }

  const TShownSelection selection = FindVisibleSelection(core, focused);
  const TCodeGutter& gutter = core.Gutter();
  const TCodeBookMarkOpt& bookmarks = core.BookMarkOptions();
  // The rows first, then each line's cells once over the columns its
  // visible rows show.
  struct TRowPlace {
    Integer Start = 0, Count = 0;
    TColor Back = clNone;
  };
  std::vector<TRowPlace> places;
  for (Integer row = firstRow; row <= lastRow; ++row) {
    TCodePaintRow& out = plan.Rows.emplace_back();
    out.Row = row;
    out.Line = caret.RowToLine(row);
    out.Top = (row - topLine) * rowHeight;
    out.FirstOfLine = caret.LineToRow(out.Line) == row;
    out.CaretLine = caret.CaretY() == out.Line;
    TRowPlace& place = places.emplace_back();
    place.Back = LineBackColor(core, colors, out.CaretLine);
    const Integer lineCells =
        core.Lines().ExpandedTextLength(out.Line - 1) + (core.HasOption(eoShowSpecialChars) ? 1 : 0);
    RowExtent(core, row, out.Line, lineCells, place.Start, place.Count);
  }
  TLineCells lineCells;
  Integer cachedLine = 0;
  for (size_t i = 0; i < plan.Rows.size(); ++i) {
    TCodePaintRow& out = plan.Rows[i];
    const Integer row = out.Row;
    const TRowPlace& place = places[i];
    const TColor lineBack = place.Back;
    if (cachedLine != out.Line) {
      Integer from = 0, to = 0;
      bool any = false;
      for (size_t j = i; j < plan.Rows.size() && plan.Rows[j].Line == out.Line; ++j) {
        const Integer first = places[j].Start + plan.FirstColumn - 1;
        const Integer last = places[j].Start + std::min(plan.LastColumn, places[j].Count);
        from = any ? std::min(from, first) : first;
        to = any ? std::max(to, last) : last;
        any = true;
      }
      lineCells = LineCells(core, colors, out.Line, out.CaretLine, lineBack, from, to);
      cachedLine = out.Line;
    }
    const Integer start = place.Start, count = place.Count;
    // The line-end glyph belongs to the line's last row only.
    for (Integer column = plan.FirstColumn; column <= plan.LastColumn; ++column) {
      TCell cell;
      const Integer index = start + column - 1;
      const TCell* built = column - 1 < count ? lineCells.At(index) : nullptr;
      if (built) {
        cell = *built;
      } else {
        cell.Foreground = colors.Font;
        cell.Background = lineBack;
      }
      if (selection.Covers(column, row)) {
        cell.Selected = true;
        cell.Foreground = core.SelectedColor().Foreground();
        cell.Background = core.SelectedColor().Background();
      }
      if (!out.Runs.empty() && SameLook(cell, out.Runs.back())) {
        out.Runs.back().Text.push_back(cell.Glyph);
        continue;
      }
      out.Runs.push_back({String(1, cell.Glyph), column, cell.Foreground, cell.Background, cell.Style, cell.Selected});
    }
    if (gutter.ShowLineNumbers() && out.FirstOfLine) out.LineNumber = gutter.FormatLineNumber(out.Line);
    if (bookmarks.GlyphsVisible() && out.FirstOfLine) {
      TCodeEditMarks marks{};
      core.Marks().GetMarksForLine(out.Line, marks);
      Integer offset = 0;
      for (const bool bookmarkPass : {bookmarks.DrawBookmarksFirst(), !bookmarks.DrawBookmarksFirst()})
        for (TCodeEditMark* mark : marks)
          if (mark && mark->Visible() && mark->IsBookmark() == bookmarkPass) {
            out.Marks.push_back({mark->ImageIndex(), mark->IsBookmark(), mark->InternalImage(), offset});
            offset += bookmarks.Xoffset();
          }
    }
  }
  return plan;
}
