// Calendar grids on the owner-drawn grid: a draw grid with a highlight
// colour and a per-cell colour event, a month sheet (day names, one row per
// week, week numbers, a summary column, date bands in the day cells) and a
// one-week view. The layout arithmetic lives in winbar/calendarlayout.
#pragma once

#include <memory>

#include "rtl/datetime.h"
#include "ui/grids.h"
#include "winbar/calendarlayout.h"

using TOnGetCellParams = TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, TColor& AColor)>;
using TOnCalendarGetCellParams = TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, TDateTime ADate,
                                                TColor& AColor, TColor& ATextColor, String& AText, bool& AWordWrap)>;
using TOnCalendarSelectCell = TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, TDateTime ADate)>;

const TTypeInfo& DescribeType(TypeTag<TOnGetCellParams>);
const TTypeInfo& DescribeType(TypeTag<TOnCalendarGetCellParams>);
const TTypeInfo& DescribeType(TypeTag<TOnCalendarSelectCell>);
// TDayOfWeek: 0 (Sunday) to 6.
const TOrdinalTypeInfo& DayOfWeekType();

class TMCustomDrawGrid : public TCustomDrawGrid {
  KST_CLASS(TMCustomDrawGrid, TCustomDrawGrid)
 public:
  explicit TMCustomDrawGrid(TComponent* owner);

  TColor HighlightColor() const { return FHC; }
  void SetHighlightColor(TColor value);
  TColor GradientStartColor() const { return FGradientStartColor; }
  void SetGradientStartColor(TColor value);
  TColor GradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor value);
  const String& About() const { return FAbout; }

  TOnGetCellParams OnGetCellParams;

 protected:
  // Everything but the fixed cells and the header goes through these: the
  // highlight of the selected cell, then the cell itself.
  void DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) final;
  // Sets the brush to the cell's colour.
  virtual void CellColor(Integer col, Integer row, TGridDrawState state);
  virtual void DrawCellHighlight(const TRect& rect, TGridDrawState state, Integer col, Integer row);
  virtual void DrawGridCell(Integer col, Integer row, TGridDrawState state, const TRect& rect);
  static bool IsSelectedState(TGridDrawState state) {
    return state.Contains(gdSelected) || state.Contains(gdFocused) || state.Contains(gdRowSelected);
  }
  bool IsFixedCell(Integer col, Integer row) const { return col < FixedCols() || row < FixedRows(); }
  // The text height of "W" (width of "00") in the control's font, measured
  // without needing the window.
  TSize MeasureText(const TFont& font, const String& text) const;

 private:
  String FAbout;
  TColor FHC = clYellow;
  TColor FGradientStartColor = clWhite;
  TColor FGradientEndColor = clBtnFace;
};

class TMDrawGrid : public TMCustomDrawGrid {
  KST_CLASS(TMDrawGrid, TMCustomDrawGrid)
 public:
  using TMCustomDrawGrid::TMCustomDrawGrid;
};

// What the month sheet and the week view share: a date that the Year,
// Month, Day and Week parts change, today's date by default.
class TMDateGrid : public TMCustomDrawGrid {
  KST_CLASS(TMDateGrid, TMCustomDrawGrid)
 public:
  explicit TMDateGrid(TComponent* owner);
  ~TMDateGrid() override;

  // Index 1 Year, 2 Month, 3 Day, 4 Week (ISO).
  Integer DatePart(Integer index) const { return CalendarDatePart(FDate, index); }
  // Values below 1 or out of range, or equal to the current part, are
  // ignored; a day the new month or year lacks raises EConvertError and
  // keeps the date.
  void SetDatePart(Integer index, Integer value);
  Integer Year() const { return DatePart(1); }
  void SetYear(Integer value) { SetDatePart(1, value); }
  Integer Month() const { return DatePart(2); }
  void SetMonth(Integer value) { SetDatePart(2, value); }
  Integer Day() const { return DatePart(3); }
  void SetDay(Integer value) { SetDatePart(3, value); }
  Integer Week() const { return DatePart(4); }
  void SetWeek(Integer value) { SetDatePart(4, value); }
  void PrevMonth() { SetGridDate(StepMonthKeepingDay(FDate, -1)); }
  void NextMonth() { SetGridDate(StepMonthKeepingDay(FDate, 1)); }
  void PrevYear() { SetGridDate(StepYearKeepingDay(FDate, -1)); }
  void NextYear() { SetGridDate(StepYearKeepingDay(FDate, 1)); }
  bool UseCurrentDate() const { return FUseCurrentDate; }
  void SetUseCurrentDate(bool value);
  bool WeekNumbers() const { return FWN; }
  void SetWeekNumbers(bool value);
  bool LongDayNames() const { return FLDN; }
  void SetLongDayNames(bool value) { Change(FLDN, value); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }
  TFont& DateFont() const { return *FDF; }
  TFont* GetDateFont() const { return FDF.get(); }
  void SetDateFont(const TFont* value);
  // Lays the grid out for the date and makes its day the current cell.
  virtual void UpdateCalendar() {}

  TNotifyEvent OnChange;
  TOnCalendarGetCellParams OnGetCellParams;
  TOnCalendarSelectCell OnSelectCell;

 protected:
  // Stores the date, lays the grid out again and reports the change.
  void SetGridDate(TDateTime value);
  void Loaded() override;
  void Resize() override;
  virtual void SizeCells() {}
  void DoChange();
  template <class V>
  void Change(V& field, const V& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  // The colour of an unselected day cell in the highlight step.
  virtual TColor DayColor(TDateTime, TColor color) const { return color; }
  virtual TDateTime CellDate(Integer, Integer) const { return 0; }
  void CellColor(Integer col, Integer row, TGridDrawState state) override;
  Integer HeaderHeight() const;
  Integer WeekColumnWidth() const;
  String DayName(Integer weekday) const;
  // The caller's extra text below the cell's own, in the cell's font.
  void DrawExtraText(const String& text, const TRect& rect, Integer textHeight, const TFont& font, TColor color,
                     bool wordWrap);
  // Puts the font and brush back and fires OnDrawCell.
  void FinishCell(const TFont& font, TColor brush, Integer col, Integer row, const TRect& rect, TGridDrawState state);

  TDateTime FDate;
  bool FReadOnly = false;
  bool FUpdating = false;
  bool FUseCurrentDate = true;
  bool FWN = true;
  bool FLDN = false;
  std::unique_ptr<TFont> FDF;
};

class TMCalendar : public TMDateGrid {
  KST_CLASS(TMCalendar, TMDateGrid)
 public:
  explicit TMCalendar(TComponent* owner);

  TDateTime CalendarDate() const { return FDate; }
  void SetCalendarDate(TDateTime value) { SetGridDate(value); }
  Integer StartOfWeek() const { return FStartOfWeek; }
  void SetStartOfWeek(Integer value);
  bool FullCellDate() const { return FFCD; }
  void SetFullCellDate(bool value) { Change(FFCD, value); }
  bool DateBand() const { return FDDB; }
  void SetDateBand(bool value) { Change(FDDB, value); }
  bool DateFontBoldToday() const { return FDFBT; }
  void SetDateFontBoldToday(bool value) { Change(FDFBT, value); }
  bool CellInnerBorder() const { return FCIB; }
  void SetCellInnerBorder(bool value) { Change(FCIB, value); }
  Integer FixedCellHeight() const { return FFCH; }
  void SetFixedCellHeight(Integer value);
  bool ExtraColumn() const { return FXC; }
  void SetExtraColumn(bool value);
  const String& ExtraColumnCaption() const { return FXCT; }
  void SetExtraColumnCaption(const String& value);
  TColor ExtraColumnColor() const { return FXCC; }
  void SetExtraColumnColor(TColor value);
  // Index 1 CellEmptyColor ... 13 DateFontWeekendColor.
  TColor IndexedColor(Integer index) const { return *ColorField(index); }
  void SetIndexedColor(Integer index, TColor value);

  // The sheet of the shown month.
  TMonthSheet Sheet() const;
  // -1 in the summary column, 0 where no day is shown, else the date.
  TDateTime CellToDate(Integer col, Integer row) const;
  Integer CellToWeekNum(Integer col, Integer row) const;
  Integer DateToCol(TDateTime date) const;
  Integer DateToRow(TDateTime date) const;
  // The text a cell shows of its own (day number, day name, week number).
  String CellText(Integer col, Integer row) const;
  void UpdateCalendar() override;
  // Sets Height for rows of FixedCellHeight, then repaints.
  void Repaint() override;

 protected:
  void SizeCells() override;
  bool SelectCell(Integer col, Integer row) override;
  void Click() override;
  TColor DayColor(TDateTime date, TColor color) const override;
  TDateTime CellDate(Integer col, Integer row) const override { return CellToDate(col, row); }
  void DrawGridCell(Integer col, Integer row, TGridDrawState state, const TRect& rect) override;

 private:
  TColor* ColorField(Integer index);
  const TColor* ColorField(Integer index) const { return const_cast<TMCalendar*>(this)->ColorField(index); }

  Integer FMonthOffset = 1;
  Integer FStartOfWeek = 1;
  TColor FWC = 0xFFF0CA;
  TColor FEC = clBtnFace;
  bool FFCD = false;
  TColor FWNC = 0x808080;
  TColor FTC = 0xD5F3FF;
  TColor FDBC = 0xF0CAA6;
  bool FDDB = true;
  TColor FDBBC = 0xFFFFFF;
  TColor FDBTBC = 0xD5F3FF;
  TColor FDBTC = 0x0080FF;
  TColor FDBTFC = 0xFFFFFF;
  bool FDFBT = true;
  bool FCIB = false;
  TColor FCIBC = 0x808080;
  TColor FDBWC = 0xF5DCC5;
  TColor FDBWBC = 0xFFF0CA;
  TColor FDFWC = 0x808080;
  Integer FFCH = 0;
  String FXCT = u"Summary";
  bool FXC = false;
  TColor FXCC = clInfoBk;
};

class TMWeekView : public TMDateGrid {
  KST_CLASS(TMWeekView, TMDateGrid)
 public:
  explicit TMWeekView(TComponent* owner);

  TDateTime WeekDate() const { return FDate; }
  void SetWeekDate(TDateTime value) { SetGridDate(value); }
  void PrevWeek() { SetGridDate(FDate - 7); }
  void NextWeek() { SetGridDate(FDate + 7); }
  TColor WeekendColor() const { return FWC; }
  void SetWeekendColor(TColor value) { Change(FWC, value); }
  TColor WeekNumberColor() const { return FWNC; }
  void SetWeekNumberColor(TColor value) { Change(FWNC, value); }
  TColor TodayColor() const { return FTC; }
  void SetTodayColor(TColor value) { Change(FTC, value); }

  TDateTime CellToDate(Integer col, Integer row) const;
  String CellText(Integer col, Integer row) const;
  void UpdateCalendar() override;

 protected:
  void SizeCells() override;
  bool SelectCell(Integer col, Integer row) override;
  void Click() override;
  TColor DayColor(TDateTime date, TColor color) const override;
  TDateTime CellDate(Integer col, Integer row) const override { return CellToDate(col, row); }
  void DrawGridCell(Integer col, Integer row, TGridDrawState state, const TRect& rect) override;

 private:
  TColor FWC = 0xFFF0CA;
  TColor FWNC = 0x808080;
  TColor FTC = 0xD5F3FF;
};
