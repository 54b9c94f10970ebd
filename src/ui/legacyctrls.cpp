#include "ui/legacyctrls.h"

#include <algorithm>
#include <cmath>

#include "classes/reflection.h"
#include "rtl/numbers.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPage, "ExtCtrls")
KST_CLASS_IMPL(TNotebook, "ExtCtrls")
KST_CLASS_IMPL(TGauge, "Gauges")
KST_CLASS_IMPL(TPaintBox, "ExtCtrls")
KST_CLASS_IMPL(TCalendar, "Calendar")
KST_CLASS_IMPL(TMaskEdit, "Mask")
KST_CLASS_IMPL(TCheckListBox, "CheckLst")

const TTypeInfo& DescribeType(TypeTag<TGaugeKind>) {
  static const TEnumTypeInfo t(u"TGaugeKind", u"Gauges",
                               {u"gkText", u"gkHorizontalBar", u"gkVerticalBar", u"gkPie", u"gkNeedle"});
  return t;
}

// ---------------------------------------------------------------------------
// Notebook

void TPage::Describe(TClassBuilder<TPage>& c) {
  publish::Caption(c);
  c.Property(u"HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0);
}

TPage::TPage(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = {csAcceptsControls};
  SetAlign(alClient);
  SetParentColor(true);
  SetVisible(false);
}

void TPage::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

void TNotebook::Describe(TClassBuilder<TNotebook>& c) {
  publish::WinControlBundle(c);
  c.Property(u"PageIndex", &TNotebook::PageIndex, &TNotebook::SetPageIndex).Default(0);
  c.Property(u"OnPageChanged", &TNotebook::OnPageChanged);
}

TNotebook::TNotebook(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = {csAcceptsControls};
  SetBounds(Left(), Top(), 150, 150);
}

std::vector<TPage*> TNotebook::Pages() const {
  std::vector<TPage*> pages;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* page = dynamic_cast<TPage*>(Controls(i))) pages.push_back(page);
  return pages;
}

void TNotebook::SetPageIndex(Integer index) {
  FPageIndex = index;
  if (!ComponentState().Contains(csLoading)) ShowPage();
}

void TNotebook::ShowPage() {
  const std::vector<TPage*> pages = Pages();
  for (size_t i = 0; i < pages.size(); ++i) pages[i]->SetVisible(static_cast<Integer>(i) == FPageIndex);
}

void TNotebook::Loaded() {
  TCustomControl::Loaded();
  ShowPage();
}

void TNotebook::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

// ---------------------------------------------------------------------------
// Paint box

void TPaintBox::Describe(TClassBuilder<TPaintBox>& c) {
  publish::GraphicControlBundle(c);
  c.Property(u"OnPaint", &TPaintBox::OnPaint);
}

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(Left(), Top(), 105, 105);
}

void TPaintBox::Paint() {
  if (OnPaint) OnPaint(this);
}

// ---------------------------------------------------------------------------
// Gauge

void TGauge::Describe(TClassBuilder<TGauge>& c) {
  publish::GraphicControlBundle(c);
  c.Property(u"BackColor", &TGauge::BackColor, &types::Color()).Default(clWhite);
  c.Property(u"BorderStyle", &TGauge::BorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"ForeColor", &TGauge::ForeColor, &types::Color()).Default(clBlack);
  c.Property(u"Kind", &TGauge::Kind).Default(gauges::gkHorizontalBar);
  c.Property(u"MaxValue", &TGauge::MaxValue).Default(100);
  c.Property(u"MinValue", &TGauge::MinValue).Default(0);
  c.Property(u"Progress", &TGauge::Progress);
  c.Property(u"ShowText", &TGauge::ShowText).Default(1);
}

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(Left(), Top(), 100, 100);
}

Integer TGauge::PercentDone() const {
  if (MaxValue <= MinValue) return 0;
  const double share = double(std::clamp(Progress, MinValue, MaxValue) - MinValue) / double(MaxValue - MinValue);
  return static_cast<Integer>(share * 100);
}

void TGauge::Paint() {
  TCanvas& canvas = Canvas();
  TRect box = ClientRect();
  if (BorderStyle == bsSingle) {
    canvas.Brush().SetColor(clBlack);
    canvas.FrameRect(box);
    box.Inflate(-1, -1);
  }
  canvas.Brush().SetColor(BackColor);
  canvas.FillRect(box);
  const Integer percent = PercentDone();
  canvas.Brush().SetColor(ForeColor);
  switch (Kind) {
    case gauges::gkHorizontalBar:
      canvas.FillRect(Rect(box.Left, box.Top, box.Left + box.Width() * percent / 100, box.Bottom));
      break;
    case gauges::gkVerticalBar:
      canvas.FillRect(Rect(box.Left, box.Bottom - box.Height() * percent / 100, box.Right, box.Bottom));
      break;
    case gauges::gkPie:
    case gauges::gkNeedle: {
      canvas.Pen().SetColor(ForeColor);
      const double angle = 3.14159265358979 * (Kind == gauges::gkPie ? 2.0 : 1.0) * percent / 100.0;
      const Integer cx = (box.Left + box.Right) / 2, cy = Kind == gauges::gkPie ? (box.Top + box.Bottom) / 2 : box.Bottom;
      const Integer rx = box.Width() / 2, ry = Kind == gauges::gkPie ? box.Height() / 2 : box.Height();
      const Integer x = cx + static_cast<Integer>(std::lround(std::cos(3.14159265358979 - angle) * rx));
      const Integer y = cy - static_cast<Integer>(std::lround(std::sin(3.14159265358979 - angle) * ry));
      if (Kind == gauges::gkPie) {
        if (percent > 0) Pie(canvas.Handle(), box.Left, box.Top, box.Right, box.Bottom, x, y, box.Left, cy);
      } else {
        canvas.MoveTo(cx, cy);
        canvas.LineTo(x, y);
      }
      break;
    }
    case gauges::gkText: break;
  }
  if (ShowText) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(&Font());
    const String text = IntToStr(percent) + u"%";
    canvas.TextOut((box.Left + box.Right - canvas.TextWidth(text)) / 2,
                   (box.Top + box.Bottom - canvas.TextHeight(text)) / 2, text);
    canvas.Brush().SetStyle(bsSolid);
  }
}

// ---------------------------------------------------------------------------
// Calendar

void TCalendar::Describe(TClassBuilder<TCalendar>& c) {
  publish::WinControlBundle(c);
  c.Property(u"BorderStyle", &TCalendar::BorderStyle, &TCalendar::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"Day", &TCalendar::Day, &TCalendar::SetDay);
  c.Property(u"GridLineWidth", &TCalendar::GridLineWidth, &TCalendar::SetGridLineWidth).Default(1);
  c.Property(u"Month", &TCalendar::Month, &TCalendar::SetMonth);
  c.Property(u"ReadOnly", &TCalendar::ReadOnly).Default(0);
  c.Property(u"StartOfWeek", &TCalendar::StartOfWeek, &TCalendar::SetStartOfWeek).Default(1);
  c.Property(u"UseCurrentDate", &TCalendar::UseCurrentDate).Default(1);
  c.Property(u"Year", &TCalendar::Year, &TCalendar::SetYear);
  c.Property(u"OnChange", &TCalendar::OnChange);
}

TCalendar::TCalendar(TComponent* owner) : TCustomDrawGrid(owner) {
  Word year, month, day;
  DecodeDate(Date(), year, month, day);
  FYear = year;
  FMonth = month;
  FDay = day;
  SetColCount(7);
  SetRowCount(7);
  SetFixedCols(0);
  SetFixedRows(1);
  SetScrollBars(ssNone);
  SetDefaultColWidth(40);
  SetDefaultRowHeight(18);
}

void TCalendar::SetDay(Integer value) {
  FDay = std::clamp<Integer>(value, 1, DaysInAMonth(static_cast<Word>(FYear), static_cast<Word>(FMonth)));
  Invalidate();
}
void TCalendar::SetMonth(Integer value) {
  FMonth = std::clamp<Integer>(value, 1, 12);
  Invalidate();
}
void TCalendar::SetYear(Integer value) {
  FYear = std::clamp<Integer>(value, 1, 9999);
  Invalidate();
}
void TCalendar::SetStartOfWeek(Integer value) {
  FStartOfWeek = ((value % 7) + 7) % 7;
  Invalidate();
}

String TCalendar::CellText(Integer col, Integer row) const {
  static const Char* const names[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  if (col < 0 || col > 6 || row < 0 || row > 6) return String();
  if (row == 0) return names[(col + FStartOfWeek) % 7];
  Word year, month, day, weekDay;
  TDateTime first;
  if (!TryEncodeDate(static_cast<Word>(FYear), static_cast<Word>(FMonth), 1, first)) return String();
  DecodeDateFully(first, year, month, day, weekDay);
  const Integer lead = ((weekDay - 1) - FStartOfWeek + 7) % 7;
  const Integer number = (row - 1) * 7 + col - lead + 1;
  if (number < 1 || number > DaysInAMonth(static_cast<Word>(FYear), static_cast<Word>(FMonth))) return String();
  return IntToStr(number);
}

void TCalendar::DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) {
  TCustomDrawGrid::DrawCell(col, row, rect, state);
  const String text = CellText(col, row);
  if (text.empty()) return;
  Canvas().Brush().SetStyle(bsClear);
  Canvas().TextOut((rect.Left + rect.Right - Canvas().TextWidth(text)) / 2,
                   (rect.Top + rect.Bottom - Canvas().TextHeight(text)) / 2, text);
  Canvas().Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// Masked edit, check list box

void TMaskEdit::Describe(TClassBuilder<TMaskEdit>& c) {
  c.Property(u"EditMask", &TMaskEdit::EditMask);
}

void TCheckListBox::Describe(TClassBuilder<TCheckListBox>& c) {
  c.Property(u"AllowGrayed", &TCheckListBox::AllowGrayed).Default(0);
  c.Property(u"Flat", &TCheckListBox::Flat).Default(1);
  c.Property(u"OnClickCheck", &TCheckListBox::OnClickCheck);
}

void RegisterLegacyControlClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TPage::StaticClass(), &TNotebook::StaticClass(), &TGauge::StaticClass(), &TPaintBox::StaticClass(),
                            &TCalendar::StaticClass(), &TMaskEdit::StaticClass(), &TCheckListBox::StaticClass()},
                           u"ui");
  registry.RegisterType(DescribeType(TypeTag<TGaugeKind>{}));
}
