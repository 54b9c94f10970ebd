#include "winbar/win32/calendar.h"

#include <uxtheme.h>

#include <vsstyle.h>
#include <vssym32.h>
#include <algorithm>

#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "winbar/graphutils.h"
#include "winbar/win32/buttongroup.h"

KST_CLASS_IMPL(TMCustomDrawGrid, "Obrix_Calendar")
KST_CLASS_IMPL(TMDrawGrid, "Obrix_Calendar")
KST_CLASS_IMPL(TMDateGrid, "Obrix_Calendar")
KST_CLASS_IMPL(TMCalendar, "Obrix_Calendar")
KST_CLASS_IMPL(TMWeekView, "Obrix_Calendar")

namespace {


// A vertical gradient, one line of blended colour per row.
void FillVerticalGradient(TCanvas& canvas, const TRect& r, TColor top, TColor bottom) {
  const Integer height = r.Bottom - r.Top;
  if (height <= 0 || r.Right <= r.Left) return;
  const Integer a = ColorToRGB(top), b = ColorToRGB(bottom);
  for (Integer y = 0; y < height; ++y) {
    const Integer alpha = height > 1 ? 255 - (255 * y) / (height - 1) : 255;
    canvas.Brush().SetColor(BlendRGB(a, b, alpha));
    canvas.FillRect(Rect(r.Left, r.Top + y, r.Right, r.Top + y + 1));
  }
}

void Embolden(TFont& font) {
  TFontStyles style = font.Style();
  style.Include(fsBold);
  font.SetStyle(style);
}

TDateTime Today() {
  return DateOf(Date());
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TOnGetCellParams>) {
  static const TMethodTypeInfo t(u"TOnGetCellParams", u"Obrix_Calendar", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"ACol", u"Integer"), Param(u"ARow", u"Integer"),
                                  Param(u"AColor", u"TColor", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOnCalendarGetCellParams>) {
  static const TMethodTypeInfo t(u"TOnCalendarGetCellParams", u"Obrix_Calendar", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"ACol", u"Integer"), Param(u"ARow", u"Integer"),
                                  Param(u"ADate", u"TDateTime"), Param(u"AColor", u"TColor", kVarParam),
                                  Param(u"ATextColor", u"TColor", kVarParam), Param(u"AText", u"string", kVarParam),
                                  Param(u"AWordWrap", u"Boolean", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOnCalendarSelectCell>) {
  static const TMethodTypeInfo t(u"TOnCalendarSelectCell", u"Obrix_Calendar", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"ACol", u"Integer"), Param(u"ARow", u"Integer"),
                                  Param(u"ADate", u"TDateTime")});
  return t;
}
const TOrdinalTypeInfo& DayOfWeekType() {
  static const TOrdinalTypeInfo t(tkInteger, u"TDayOfWeek", u"Obrix_Calendar", otUByte, 0, 6);
  return t;
}

// ---------------------------------------------------------------------------
// The draw grid with a highlight colour

namespace {

template <class T>
void PublishGridLook(TClassBuilder<T>& c) {
  c.Property(u"About", &T::About);
  c.Property(u"GradientEndColor", &T::GradientEndColor, &T::SetGradientEndColor, &types::Color());
  c.Property(u"GradientStartColor", &T::GradientStartColor, &T::SetGradientStartColor, &types::Color());
  c.Property(u"HighlightColor", &T::HighlightColor, &T::SetHighlightColor, &types::Color()).Default(clYellow);
}

}  // namespace

void TMCustomDrawGrid::Describe(TClassBuilder<TMCustomDrawGrid>&) {}

void TMDrawGrid::Describe(TClassBuilder<TMDrawGrid>& c) {
  PublishDrawGrid(c);
  PublishGridLook(c);
  c.Property(u"OnGetCellParams", &TMDrawGrid::OnGetCellParams);
}

TMCustomDrawGrid::TMCustomDrawGrid(TComponent* owner) : TCustomDrawGrid(owner), FAbout(kWinbarAbout) {
  SetDrawingStyle(gdsGradient);
}

void TMCustomDrawGrid::SetHighlightColor(TColor value) {
  FHC = value;
  Invalidate();
}
void TMCustomDrawGrid::SetGradientStartColor(TColor value) {
  FGradientStartColor = value;
  Invalidate();
}
void TMCustomDrawGrid::SetGradientEndColor(TColor value) {
  FGradientEndColor = value;
  Invalidate();
}

TSize TMCustomDrawGrid::MeasureText(const TFont& font, const String& text) const {
  HDC dc = GetDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font().Assign(&font);
  const TSize size = canvas.TextExtent(text);
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  return size;
}

void TMCustomDrawGrid::CellColor(Integer col, Integer row, TGridDrawState state) {
  TColor color = Canvas().Brush().Color();
  if (IsSelectedState(state) && !IsFixedCell(col, row)) color = FHC;
  if (OnGetCellParams && CanFireEvents()) OnGetCellParams(this, col, row, color);
  Canvas().Brush().SetColor(color);
}

void TMCustomDrawGrid::DrawCellHighlight(const TRect& rect, TGridDrawState state, Integer col, Integer row) {
  TCanvas& canvas = Canvas();
  if (Options().Contains(goRowSelect)) state.Include(gdRowSelected);
  const bool rowSelected = state.Contains(gdRowSelected);
  const bool firstCol = col == FixedCols(), lastCol = col == ColCount() - 1;
  switch (DrawingStyle()) {
    case gdsThemed: {
      canvas.FillRect(rect);
      HTHEME theme = HandleAllocated() ? OpenThemeData(Handle(), L"MENU") : nullptr;
      if (theme) {
        TRect part = rect;
        if (rowSelected) {
          if (!firstCol) part.Left -= 4;
          if (!lastCol) part.Right += 4;
        }
        RECT r{part.Left, part.Top, part.Right, part.Bottom};
        DrawThemeBackground(theme, canvas.Handle(), MENU_POPUPITEM, MPI_HOT, &r, nullptr);
        COLORREF text = 0;
        if (SUCCEEDED(GetThemeColor(theme, MENU_POPUPITEM, MPI_HOT, TMT_TEXTCOLOR, &text)))
          canvas.Font().SetColor(static_cast<TColor>(text));
        CloseThemeData(theme);
      } else {
        CellColor(col, row, state);
        canvas.FillRect(rect);
      }
      break;
    }
    case gdsClassic:
      CellColor(col, row, state);
      canvas.FillRect(rect);
      break;
    case gdsGradient: {
      CellColor(col, row, state);
      const TColor color = canvas.Brush().Color();
      canvas.FrameRect(rect);
      TRect inner = rect;
      if (rowSelected) {
        inner.Top += 1;
        inner.Bottom -= 1;
        inner.Left = firstCol ? rect.Left + 1 : rect.Left - 2;
        inner.Right = lastCol ? rect.Right - 1 : rect.Right + 2;
      } else {
        inner = Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
      }
      FillVerticalGradient(canvas, inner, ColorShadow(color, -10), ColorShadow(color, 50));
      canvas.Brush().SetColor(color);
      break;
    }
  }
  canvas.Brush().SetStyle(bsClear);
}

void TMCustomDrawGrid::DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) {
  TCanvas& canvas = Canvas();
  const TColor brush = canvas.Brush().Color();
  if (IsFixedCell(col, row) && DrawingStyle() == gdsGradient) {
    FillVerticalGradient(canvas, rect, FGradientStartColor, FGradientEndColor);
    canvas.Brush().SetColor(brush);
  }
  if (IsSelectedState(state) && !IsFixedCell(col, row)) {
    DrawCellHighlight(rect, state, col, row);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(brush);
  }
  DrawGridCell(col, row, state, rect);
  canvas.Brush().SetStyle(bsSolid);
}

void TMCustomDrawGrid::DrawGridCell(Integer col, Integer row, TGridDrawState state, const TRect& rect) {
  TCanvas& canvas = Canvas();
  const TColor saved = canvas.Brush().Color();
  TColor color = saved;
  if (OnGetCellParams && CanFireEvents()) OnGetCellParams(this, col, row, color);
  if (!IsSelectedState(state) && !IsFixedCell(col, row)) {
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
  }
  TCustomDrawGrid::DrawCell(col, row, rect, state);
  canvas.Brush().SetColor(saved);
}

// ---------------------------------------------------------------------------
// What the month sheet and the week view share

namespace {

template <class T>
void PublishDateGrid(TClassBuilder<T>& c) {
  publish::WinControlBundle(c);
  PublishGridLook(c);
  c.Property(u"BorderStyle", &T::BorderStyle, &T::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"DateFont", &T::GetDateFont, &T::SetDateFont);
  c.Property(u"DrawingStyle", &T::DrawingStyle, &T::SetDrawingStyle);
  c.Property(u"FixedColor", &T::FixedColor, &T::SetFixedColor, &types::Color()).Default(clBtnFace);
  c.Property(u"GridLineWidth", &T::GridLineWidth, &T::SetGridLineWidth).Default(1);
  c.Property(u"LongDayNames", &T::LongDayNames, &T::SetLongDayNames).Default(0);
  c.Property(u"Options", &T::Options, &T::SetOptions);
  c.Property(u"UseCurrentDate", &T::UseCurrentDate, &T::SetUseCurrentDate).Default(1);
  c.Property(u"WeekNumbers", &T::WeekNumbers, &T::SetWeekNumbers).Default(1);
  // Read and written through the date, never stored.
  c.Property(u"Year", &T::Year, &T::SetYear).Stored(false);
  c.Property(u"Month", &T::Month, &T::SetMonth).Stored(false);
  c.Property(u"Day", &T::Day, &T::SetDay).Stored(false);
  c.Property(u"Week", &T::Week, &T::SetWeek).Stored(false);
  c.Property(u"OnChange", &T::OnChange);
  c.Property(u"OnDrawCell", &T::OnDrawCell);
  c.Property(u"OnGetCellParams", &T::OnGetCellParams);
  c.Property(u"OnSelectCell", &T::OnSelectCell);
  publish::ResizeEvents(c);
}

}  // namespace

void TMDateGrid::Describe(TClassBuilder<TMDateGrid>&) {}

TMDateGrid::TMDateGrid(TComponent* owner)
    : TMCustomDrawGrid(owner), FDate(Today()), FDF(std::make_unique<TFont>()) {
  FDF->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
  SetColCount(8);
  SetFixedCols(1);
  SetFixedRows(1);
  SetScrollBars(ssNone);
  TGridOptions options = Options();
  options.Exclude(goRangeSelect);
  options.Include(goDrawFocusSelected);
  SetOptions(options);
}

TMDateGrid::~TMDateGrid() {
  FDF->OnChange = TNotifyEvent();
}

void TMDateGrid::SetDateFont(const TFont* value) {
  if (value) FDF->Assign(value);
}

void TMDateGrid::SetGridDate(TDateTime value) {
  FDate = value;
  UpdateCalendar();
  DoChange();
}

void TMDateGrid::SetDatePart(Integer index, Integer value) {
  TDateTime date = 0;
  if (!ReplaceDatePart(FDate, index, value, date)) return;
  FDate = date;
  FUseCurrentDate = false;
  UpdateCalendar();
  DoChange();
}

void TMDateGrid::SetUseCurrentDate(bool value) {
  if (value == FUseCurrentDate) return;
  FUseCurrentDate = value;
  if (value) {
    FDate = Today();
    UpdateCalendar();
  }
}

void TMDateGrid::SetWeekNumbers(bool value) {
  if (value == FWN) return;
  FWN = value;
  SetColCount(ColCount() + (value ? 1 : -1));
  SetFixedCols(value ? 1 : 0);
  UpdateCalendar();
}

void TMDateGrid::DoChange() {
  if (OnChange && CanFireEvents()) OnChange(this);
}

void TMDateGrid::Loaded() {
  TMCustomDrawGrid::Loaded();
  if (FUseCurrentDate) FDate = Today();
  UpdateCalendar();
}

void TMDateGrid::Resize() {
  SizeCells();
  TMCustomDrawGrid::Resize();
}

Integer TMDateGrid::HeaderHeight() const {
  return MeasureText(Font(), u"W").cy + 10;
}

Integer TMDateGrid::WeekColumnWidth() const {
  return FWN ? MeasureText(Font(), u"00").cx + 10 : 0;
}

String TMDateGrid::DayName(Integer weekday) const {
  const TFormatSettings& settings = FormatSettings();
  const Integer i = std::clamp<Integer>(weekday, 1, 7) - 1;
  return FLDN ? settings.LongDayNames[i] : settings.ShortDayNames[i];
}

void TMDateGrid::CellColor(Integer col, Integer row, TGridDrawState state) {
  TColor color = Canvas().Brush().Color();
  const TDateTime date = CellDate(col, row);
  if (IsSelectedState(state))
    color = HighlightColor();
  else if (date > 0)
    color = DayColor(date, color);
  TColor text = Canvas().Font().Color();
  String extra;
  bool wrap = true;
  if (OnGetCellParams && CanFireEvents()) OnGetCellParams(this, col, row, date, color, text, extra, wrap);
  Canvas().Brush().SetColor(color);
}

void TMDateGrid::DrawExtraText(const String& text, const TRect& rect, Integer textHeight, const TFont& font,
                               TColor color, bool wordWrap) {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&font);
  canvas.Font().SetColor(color);
  canvas.Brush().SetStyle(bsClear);
  TRect area = Rect(rect.Left + 5, rect.Top + textHeight + 5, rect.Right, rect.Bottom);
  canvas.DrawText(text, area, wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

void TMDateGrid::FinishCell(const TFont& font, TColor brush, Integer col, Integer row, const TRect& rect,
                            TGridDrawState state) {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&font);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(brush);
  TCustomDrawGrid::DrawCell(col, row, rect, state);
}

// ---------------------------------------------------------------------------
// The month sheet

void TMCalendar::Describe(TClassBuilder<TMCalendar>& c) {
  PublishDateGrid(c);
  auto color = [&c](const char16_t* name, Integer index, TColor initial) {
    c.Property(
         name, [index](const TMCalendar& o) { return o.IndexedColor(index); },
         [index](TMCalendar& o, TColor v) { o.SetIndexedColor(index, v); }, &types::Color())
        .Default(initial);
  };
  color(u"CellEmptyColor", 1, clBtnFace);
  color(u"CellTodayColor", 2, 0xD5F3FF);
  color(u"CellWeekendColor", 3, 0xFFF0CA);
  color(u"WeekNumberColor", 4, 0x808080);
  color(u"DateBandColor", 5, 0xF0CAA6);
  color(u"DateBandBorderColor", 6, 0xFFFFFF);
  color(u"DateBandTodayColor", 7, 0x0080FF);
  color(u"DateBandTodayBorderColor", 8, 0xD5F3FF);
  color(u"DateFontTodayColor", 9, 0xFFFFFF);
  color(u"CellInnerBorderColor", 10, 0x808080);
  color(u"DateBandWeekendColor", 11, 0xF5DCC5);
  color(u"DateBandWeekendBorderColor", 12, 0xFFF0CA);
  color(u"DateFontWeekendColor", 13, 0x808080);
  c.Property(u"CellInnerBorder", &TMCalendar::CellInnerBorder, &TMCalendar::SetCellInnerBorder).Default(0);
  c.Property(u"DateBand", &TMCalendar::DateBand, &TMCalendar::SetDateBand).Default(1);
  c.Property(u"DateFontBoldToday", &TMCalendar::DateFontBoldToday, &TMCalendar::SetDateFontBoldToday).Default(1);
  c.Property(u"ExtraColumn", &TMCalendar::ExtraColumn, &TMCalendar::SetExtraColumn).Default(0);
  c.Property(u"ExtraColumnCaption", &TMCalendar::ExtraColumnCaption, &TMCalendar::SetExtraColumnCaption);
  c.Property(u"ExtraColumnColor", &TMCalendar::ExtraColumnColor, &TMCalendar::SetExtraColumnColor, &types::Color())
      .Default(clInfoBk);
  c.Property(u"FixedCellHeight", &TMCalendar::FixedCellHeight, &TMCalendar::SetFixedCellHeight, &types::Cardinal())
      .Default(0);
  c.Property(u"FullCellDate", &TMCalendar::FullCellDate, &TMCalendar::SetFullCellDate).Default(0);
  c.Property(u"StartOfWeek", &TMCalendar::StartOfWeek, &TMCalendar::SetStartOfWeek, &DayOfWeekType()).Default(1);
}

TMCalendar::TMCalendar(TComponent* owner) : TMDateGrid(owner) {
  SetRowCount(7);
  UpdateCalendar();
}

TColor* TMCalendar::ColorField(Integer index) {
  TColor* const fields[] = {&FEC,   &FTC,   &FWC,   &FWNC, &FDBC,   &FDBBC, &FDBTC,
                            &FDBTBC, &FDBTFC, &FCIBC, &FDBWC, &FDBWBC, &FDFWC};
  return fields[std::clamp<Integer>(index, 1, 13) - 1];
}

void TMCalendar::SetIndexedColor(Integer index, TColor value) {
  if (index < 1 || index > 13) return;
  Change(*ColorField(index), value);
}

void TMCalendar::SetStartOfWeek(Integer value) {
  value = std::clamp<Integer>(value, 0, 6);
  if (value == FStartOfWeek) return;
  FStartOfWeek = value;
  UpdateCalendar();
}

void TMCalendar::SetFixedCellHeight(Integer value) {
  value = std::clamp<Integer>(value, 0, 32767);
  if (value == FFCH) return;
  FFCH = value;
  SizeCells();
  Repaint();
}

void TMCalendar::SetExtraColumn(bool value) {
  if (value == FXC) return;
  FXC = value;
  SetColCount(ColCount() + (value ? 1 : -1));
  UpdateCalendar();
}

void TMCalendar::SetExtraColumnCaption(const String& value) {
  FXCT = value;
  if (FXC) Invalidate();
}

void TMCalendar::SetExtraColumnColor(TColor value) {
  FXCC = value;
  if (FXC) Invalidate();
}

TMonthSheet TMCalendar::Sheet() const {
  Word year = 0, month = 0, day = 0;
  DecodeDate(FDate, year, month, day);
  if (year == 0) year = month = 1;
  return TMonthSheet{year, month, FStartOfWeek, WeekNumbers(), FXC};
}

TDateTime TMCalendar::CellToDate(Integer col, Integer row) const {
  const TMonthSheet sheet = Sheet();
  if (sheet.IsExtraColumn(col)) return -1;
  const Integer day = sheet.CellDay(col, row);
  TDateTime date = 0;
  if (day == 0 || !TryEncodeDate(sheet.Year, sheet.Month, static_cast<Word>(day), date)) return 0;
  return date;
}

Integer TMCalendar::CellToWeekNum(Integer col, Integer row) const {
  const TMonthSheet sheet = Sheet();
  if (sheet.IsExtraColumn(col)) col = sheet.FirstDayColumn();
  const TDateTime date = CellToDate(col, row);
  return date > 0 ? WeekOfTheYear(date) : 0;
}

Integer TMCalendar::DateToCol(TDateTime date) const {
  for (Integer row = FixedRows(); row < RowCount(); ++row)
    for (Integer col = FixedCols(); col < ColCount(); ++col)
      if (!Sheet().IsExtraColumn(col) && CellToDate(col, row) == DateOf(date)) return col;
  return -1;
}

Integer TMCalendar::DateToRow(TDateTime date) const {
  for (Integer row = FixedRows(); row < RowCount(); ++row)
    for (Integer col = FixedCols(); col < ColCount(); ++col)
      if (!Sheet().IsExtraColumn(col) && CellToDate(col, row) == DateOf(date)) return row;
  return -1;
}

String TMCalendar::CellText(Integer col, Integer row) const {
  const TMonthSheet sheet = Sheet();
  const bool weekColumn = WeekNumbers() && col == 0;
  if (row == 0) {
    if (weekColumn) return u"#";
    if (sheet.IsExtraColumn(col)) return FXCT;
    return DayName(sheet.HeaderWeekday(col));
  }
  if (weekColumn) {
    const Integer day = sheet.WeekNumberDay(row);
    if (day == 0) return String();
    return IntToStr(WeekOfTheYear(EncodeDate(sheet.Year, sheet.Month, static_cast<Word>(day))));
  }
  const Integer day = sheet.CellDay(col, row);
  return day > 0 ? IntToStr(day) : String();
}

void TMCalendar::UpdateCalendar() {
  FUpdating = true;
  const TMonthSheet sheet = Sheet();
  FMonthOffset = sheet.MonthOffset();
  if (ColCount() != sheet.ColCount()) SetColCount(sheet.ColCount());
  SetFixedCols(sheet.FirstDayColumn());
  const TPoint cell = sheet.DayCell(CalendarDatePart(FDate, 3));
  SizeCells();
  FocusCell(std::min(cell.X, ColCount() - 1), std::min(cell.Y, RowCount() - 1));
  FUpdating = false;
  Repaint();
}

void TMCalendar::SizeCells() {
  const TMonthSheet sheet = Sheet();
  if (RowCount() != sheet.RowCount()) SetRowCount(sheet.RowCount());
  TRect client = ClientRect();
  if (client.Right <= 0 || client.Bottom <= 0) client = Rect(0, 0, Width(), Height());
  const TSheetSizes sizes = SheetCellSizes(client.Right, client.Bottom, ColCount(), RowCount(), GridLineWidth(),
                                           WeekColumnWidth(), HeaderHeight(), FFCH);
  SetDefaultColWidth(sizes.DefaultColWidth);
  SetDefaultRowHeight(sizes.RowHeight);
  if (WeekNumbers()) SetColWidths(0, sizes.WeekColumnWidth);
  SetRowHeights(0, sizes.HeaderHeight);
}

void TMCalendar::Repaint() {
  if (FFCH != 0) {
    const Integer height =
        FixedCellSheetHeight(MeasureText(Font(), u"W").cy, FFCH, RowCount(), GridLineWidth());
    if (height != Height()) SetBounds(Left(), Top(), Width(), height);
  }
  TMDateGrid::Repaint();
}

bool TMCalendar::SelectCell(Integer col, Integer row) {
  if (FReadOnly && !FUpdating) return false;
  const TMonthSheet sheet = Sheet();
  if (sheet.CellDay(col, row) == 0) return false;
  if (!TMDateGrid::SelectCell(col, row)) return false;
  if (OnSelectCell && CanFireEvents()) OnSelectCell(this, col, row, CellToDate(col, row));
  return true;
}

void TMCalendar::Click() {
  TMDateGrid::Click();
  if (const Integer day = Sheet().CellDay(Col(), Row()); day > 0) SetDay(day);
}

TColor TMCalendar::DayColor(TDateTime date, TColor color) const {
  if (IsWeekend(date)) color = FWC;
  if (date == Today()) color = FTC;
  return color;
}

void TMCalendar::DrawGridCell(Integer col, Integer row, TGridDrawState state, const TRect& rect) {
  TCanvas& canvas = Canvas();
  const TMonthSheet sheet = Sheet();
  TFont savedFont;
  savedFont.Assign(&canvas.Font());
  const TColor savedBrush = canvas.Brush().Color();
  const bool header = row == 0;
  const bool weekColumn = WeekNumbers() && col == 0;
  const bool extra = sheet.IsExtraColumn(col);
  const Integer day = sheet.CellDay(col, row);
  const TDateTime date = CellToDate(col, row);
  const bool today = day > 0 && date == Today();
  const bool weekend = day > 0 && IsWeekend(date);

  if (weekColumn) canvas.Font().SetColor(FWNC);
  TColor cellColor = canvas.Brush().Color();
  TColor textColor = canvas.Font().Color();
  String text = CellText(col, row);
  if (day > 0) {
    if (today) cellColor = FTC;
    if (weekend) cellColor = FWC;
    if (FFCD) text = FormatDateTime(u"ddddd", date);
  }
  if (!header && !weekColumn) {
    if (extra)
      cellColor = FXCC;
    else if (day == 0)
      cellColor = FEC;
  }
  String extraText;
  bool wordWrap = true;
  if (OnGetCellParams && CanFireEvents())
    OnGetCellParams(this, col, row, date, cellColor, textColor, extraText, wordWrap);
  canvas.Font().SetColor(textColor);

  const Integer b = FCIB ? 1 : 0;
  if (!header && !weekColumn) {
    if (!IsSelectedState(state)) {
      canvas.Brush().SetColor(cellColor);
      canvas.FillRect(rect);
    }
    if (FCIB && day > 0) {
      canvas.Pen().SetColor(FCIBC);
      canvas.Pen().SetWidth(1);
      canvas.Brush().SetStyle(bsClear);
      canvas.Rectangle(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
      canvas.Brush().SetStyle(bsSolid);
    }
  }
  const Integer normalTextHeight = canvas.TextHeight(u"W");
  if (FDDB && !header && !weekColumn && !extra && day > 0) {
    canvas.Font().Assign(FDF.get());
    TColor bandColor = FDBC, bandBorder = FDBBC;
    if (today) {
      bandColor = FDBTC;
      bandBorder = FDBTBC;
      canvas.Font().SetColor(FDBTFC);
      if (FDFBT) Embolden(canvas.Font());
    } else if (weekend) {
      bandColor = FDBWC;
      bandBorder = FDBWBC;
      canvas.Font().SetColor(FDFWC);
    }
    canvas.Brush().SetColor(bandColor);
    canvas.Pen().SetColor(bandBorder);
    canvas.Pen().SetWidth(1);
    canvas.RoundRect(rect.Left + b + 1, rect.Top + b + 1, rect.Right - b - 1,
                     rect.Top + b + 5 + canvas.TextHeight(u"W"), 10, 10);
  }
  canvas.Brush().SetStyle(bsClear);
  if (!text.empty()) {
    if (header || weekColumn)
      canvas.TextRect(rect, rect.Left + 5, rect.Top + 2, text);
    else if (!extra)
      canvas.TextRect(rect, rect.Left + b + 5, rect.Top + b + 2, text);
  }
  if (!extraText.empty() && !header && !weekColumn) {
    const Integer eighth = sheet.RawDay(sheet.FirstDayColumn() + 7, row);
    const bool hasDay = extra ? eighth >= 1 && eighth <= sheet.DaysInMonth() : !text.empty();
    if (hasDay) DrawExtraText(extraText, rect, normalTextHeight, savedFont, textColor, wordWrap);
  }
  FinishCell(savedFont, savedBrush, col, row, rect, state);
}

// ---------------------------------------------------------------------------
// The week view

void TMWeekView::Describe(TClassBuilder<TMWeekView>& c) {
  PublishDateGrid(c);
  c.Property(u"TodayColor", &TMWeekView::TodayColor, &TMWeekView::SetTodayColor, &types::Color()).Default(0xD5F3FF);
  c.Property(u"WeekendColor", &TMWeekView::WeekendColor, &TMWeekView::SetWeekendColor, &types::Color())
      .Default(0xFFF0CA);
  c.Property(u"WeekNumberColor", &TMWeekView::WeekNumberColor, &TMWeekView::SetWeekNumberColor, &types::Color())
      .Default(0x808080);
}

TMWeekView::TMWeekView(TComponent* owner) : TMDateGrid(owner) {
  SetRowCount(2);
  UpdateCalendar();
}

TDateTime TMWeekView::CellToDate(Integer col, Integer row) const {
  const Integer first = WeekNumbers() ? 1 : 0;
  if (row < 1 || col < first) return 0;
  return IsoWeekMonday(FDate) + (col - first);
}

String TMWeekView::CellText(Integer col, Integer row) const {
  const Integer first = WeekNumbers() ? 1 : 0;
  const TDateTime monday = IsoWeekMonday(FDate);
  if (row == 0) {
    if (col < first) return u"#";
    const TDateTime date = monday + (col - first);
    return DayName(DayOfWeek(date)) + u" " + FormatDateTime(u"ddddd", date);
  }
  if (col < first) return IntToStr(WeekOfTheYear(monday));
  return String();
}

void TMWeekView::UpdateCalendar() {
  FUpdating = true;
  const Integer cols = WeekNumbers() ? 8 : 7;
  if (ColCount() != cols) SetColCount(cols);
  SetFixedCols(WeekNumbers() ? 1 : 0);
  SizeCells();
  FocusCell(std::min<Integer>(DayOfTheWeek(FDate) - (WeekNumbers() ? 0 : 1), ColCount() - 1), 1);
  FUpdating = false;
  Repaint();
}

void TMWeekView::SizeCells() {
  if (RowCount() != 2) SetRowCount(2);
  TRect client = ClientRect();
  if (client.Right <= 0 || client.Bottom <= 0) client = Rect(0, 0, Width(), Height());
  const Integer header = HeaderHeight();
  const TSheetSizes sizes =
      SheetCellSizes(client.Right, client.Bottom, ColCount(), 2, GridLineWidth(), WeekColumnWidth(), header, 0);
  SetDefaultColWidth(sizes.DefaultColWidth);
  SetDefaultRowHeight(std::max<Integer>(client.Bottom - header - 2 * GridLineWidth(), 0));
  if (WeekNumbers()) SetColWidths(0, sizes.WeekColumnWidth);
  SetRowHeights(0, header);
}

bool TMWeekView::SelectCell(Integer col, Integer row) {
  if (FReadOnly && !FUpdating) return false;
  if (row < 1 || (WeekNumbers() && col < 1)) return false;
  if (!TMDateGrid::SelectCell(col, row)) return false;
  if (OnSelectCell && CanFireEvents()) OnSelectCell(this, col, row, CellToDate(col, row));
  return true;
}

void TMWeekView::Click() {
  TMDateGrid::Click();
  const TDateTime date = CellToDate(Col(), Row());
  if (date > 0 && date != DateOf(FDate)) {
    FDate = date;
    FUseCurrentDate = false;
    UpdateCalendar();
    DoChange();
  }
}

TColor TMWeekView::DayColor(TDateTime date, TColor color) const {
  if (IsWeekend(date)) color = FWC;
  if (date == Today()) color = FTC;
  return color;
}

void TMWeekView::DrawGridCell(Integer col, Integer row, TGridDrawState state, const TRect& rect) {
  TCanvas& canvas = Canvas();
  TFont savedFont;
  savedFont.Assign(&canvas.Font());
  const TColor savedBrush = canvas.Brush().Color();
  const bool weekColumn = WeekNumbers() && col == 0;
  const TDateTime date = CellToDate(col, row);
  if (weekColumn) canvas.Font().SetColor(FWNC);
  TColor cellColor = canvas.Brush().Color();
  if (date > 0 && date == Today()) {
    cellColor = FTC;
    Embolden(canvas.Font());
  }
  if (date > 0 && IsWeekend(date)) cellColor = FWC;
  TColor textColor = canvas.Font().Color();
  String extraText;
  bool wordWrap = true;
  if (OnGetCellParams && CanFireEvents())
    OnGetCellParams(this, col, row, date, cellColor, textColor, extraText, wordWrap);
  canvas.Font().SetColor(textColor);
  if (date > 0 && !IsSelectedState(state)) {
    canvas.Brush().SetColor(cellColor);
    canvas.FillRect(rect);
  }
  canvas.Brush().SetStyle(bsClear);
  const String text = CellText(col, row);
  const Integer textHeight = canvas.TextHeight(u"W");
  if (!text.empty()) {
    const Integer y = weekColumn && row > 0 ? rect.Top + (rect.Bottom - rect.Top - textHeight) / 2 : rect.Top + 5;
    canvas.TextRect(rect, rect.Left + 5, y, text);
  }
  if (!extraText.empty() && date > 0) DrawExtraText(extraText, rect, textHeight, savedFont, textColor, wordWrap);
  FinishCell(savedFont, savedBrush, col, row, rect, state);
}
