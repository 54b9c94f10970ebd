#include "codeedit/paintplan.h"

#include <algorithm>

#include "codeedit/editcaret.h"
#include "codeedit/textutils.h"

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

// The cells of a line's display text in its token colours.
std::vector<TCell> LineCells(TCodeEditCore& core, const TCodePaintColors& colors, Integer line, bool caretLine,
                             TColor lineBack) {
  TCodeEditStringList& lines = core.Lines();
  const String text = lines.Get(line - 1);
  const String shown = lines.ExpandedText(line - 1);
  std::vector<TCell> cells(shown.size());
  for (size_t i = 0; i < shown.size(); ++i) {
    cells[i].Glyph = shown[i] == u'\t' ? u' ' : shown[i];
    cells[i].Foreground = colors.Font;
    cells[i].Background = lineBack;
  }
  TCodeCustomHighlighter* highlighter = core.Highlighter();
  TCodeHighlighterAttributes* lastAttribute = nullptr;
  if (highlighter && highlighter->Enabled()) {
    if (line == 1)
      highlighter->ResetRange();
    else
      highlighter->SetRange(lines.LineRange(line - 2));
    highlighter->SetLineExpandedAtWideGlyphs(text, shown, line - 1);
    while (!highlighter->GetEol()) {
      const Integer position = std::max<Integer>(highlighter->GetExpandedTokenPos(), 0);
      const Integer length = static_cast<Integer>(highlighter->GetExpandedToken().size());
      TCodeHighlighterAttributes* attribute = highlighter->GetTokenAttribute();
      lastAttribute = attribute;
      for (Integer i = position; i < position + length && i < static_cast<Integer>(cells.size()); ++i) {
        TCell& cell = cells[static_cast<size_t>(i)];
        if (!attribute) continue;
        if (attribute->Foreground() != clNone) cell.Foreground = attribute->Foreground();
        const bool activeLine = caretLine && core.ActiveLineColor() != clNone;
        if (attribute->Background() != clNone && !activeLine) cell.Background = attribute->Background();
        cell.Style = attribute->Style();
      }
      highlighter->Next();
    }
  }
  if (core.HasOption(eoShowSpecialChars)) {
    for (TCell& cell : cells)
      if (cell.Glyph == u' ') cell.Glyph = kSpaceGlyph;
    TCell end;
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
    cells.push_back(end);
  }
  return cells;
}

// Where the row starts in its line's display text, and how many cells it holds.
void RowExtent(TCodeEditCore& core, Integer row, Integer line, Integer lineCells, Integer& start, Integer& count) {
  start = 0;
  count = lineCells;
  if (!core.WordWrap()) return;
  TCodeEditCaret& caret = core.Caret();
  const String text = core.Lines().Get(line - 1);
  const auto offsetOf = [&](Integer aRow) {
    const Integer bufferChar = caret.DisplayToBufferPos({1, aRow}).Char;
    const Integer chars = std::clamp<Integer>(bufferChar - 1, 0, static_cast<Integer>(text.size()));
    return ExpandedTextWidth(StringView(text).substr(0, static_cast<size_t>(chars)), core.TabWidth());
  };
  start = offsetOf(row);
  if (row < caret.DisplayLineCount() && caret.RowToLine(row + 1) == line)
    count = offsetOf(row + 1) - start;
  else
    count = lineCells - start;
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
  Integer cachedLine = 0;
  std::vector<TCell> lineCells;
  for (Integer row = firstRow; row <= lastRow; ++row) {
    TCodePaintRow& out = plan.Rows.emplace_back();
    out.Row = row;
    out.Line = caret.RowToLine(row);
    out.Top = (row - topLine) * rowHeight;
    out.FirstOfLine = caret.LineToRow(out.Line) == row;
    out.CaretLine = caret.CaretY() == out.Line;
    const TColor lineBack = LineBackColor(core, colors, out.CaretLine);
    if (cachedLine != out.Line) {
      lineCells = LineCells(core, colors, out.Line, out.CaretLine, lineBack);
      cachedLine = out.Line;
    }
    Integer start = 0, count = 0;
    RowExtent(core, row, out.Line, static_cast<Integer>(lineCells.size()), start, count);
    // The line-end glyph belongs to the line's last row only.
    for (Integer column = plan.FirstColumn; column <= plan.LastColumn; ++column) {
      TCell cell;
      const Integer index = start + column - 1;
      if (column - 1 < count && index < static_cast<Integer>(lineCells.size()))
        cell = lineCells[static_cast<size_t>(index)];
      else {
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
