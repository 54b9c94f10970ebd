// Controls of the platform's older palettes that real forms still hold: the
// notebook of pages without tabs, the gauge, the month calendar grid, the
// masked edit and the check list box.
#pragma once

#include <memory>
#include <vector>

#include "rtl/datetime.h"
#include "ui/grids.h"
#include "ui/stdctrls.h"

// One page of a notebook; forms write it without a name.
class TPage : public TCustomControl {
  KST_CLASS(TPage, TCustomControl)
 public:
  explicit TPage(TComponent* owner);

 protected:
  void Paint() override;
};

// Pages on top of each other; PageIndex tells which one shows.
class TNotebook : public TCustomControl {
  KST_CLASS(TNotebook, TCustomControl)
 public:
  explicit TNotebook(TComponent* owner);
  Integer PageIndex() const { return FPageIndex; }
  void SetPageIndex(Integer index);
  // The pages in their order.
  std::vector<TPage*> Pages() const;
  TComponent* GetChildOwner() override { return this; }
  TNotifyEvent OnPageChanged;

 protected:
  void Loaded() override;
  void Paint() override;

 private:
  void ShowPage();
  Integer FPageIndex = 0;
};

// A surface the program paints in its OnPaint handler (which the preview
// never binds: it shows the parent through).
class TPaintBox : public TGraphicControl {
  KST_CLASS(TPaintBox, TGraphicControl)
 public:
  explicit TPaintBox(TComponent* owner);
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};

// In a namespace of its own: the window bar's gauge has kinds of the same names.
namespace gauges {
enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
}
using gauges::TGaugeKind;
const TTypeInfo& DescribeType(TypeTag<TGaugeKind>);

// A progress gauge drawn by the library: a bar, pie or needle with the
// percentage in its middle.
class TGauge : public TGraphicControl {
  KST_CLASS(TGauge, TGraphicControl)
 public:
  explicit TGauge(TComponent* owner);
  Integer MinValue = 0, MaxValue = 100, Progress = 0;
  TColor ForeColor = clBlack, BackColor = clWhite;
  TGaugeKind Kind = gauges::gkHorizontalBar;
  TFormBorderStyle BorderStyle = bsSingle;
  bool ShowText = true;
  // The share done, 0 to 100.
  Integer PercentDone() const;

 protected:
  void Paint() override;
};

// A month as a grid of days under the names of the week days.
class TCalendar : public TCustomDrawGrid {
  KST_CLASS(TCalendar, TCustomDrawGrid)
 public:
  explicit TCalendar(TComponent* owner);
  Integer Day() const { return FDay; }
  void SetDay(Integer value);
  Integer Month() const { return FMonth; }
  void SetMonth(Integer value);
  Integer Year() const { return FYear; }
  void SetYear(Integer value);
  // 0 = Sunday ... 6 = Saturday, as forms store it.
  Integer StartOfWeek() const { return FStartOfWeek; }
  void SetStartOfWeek(Integer value);
  bool UseCurrentDate = true, ReadOnly = false;
  TNotifyEvent OnChange;
  // The text of a cell: a week day's short name, a day's number or "".
  String CellText(Integer col, Integer row) const;

 protected:
  void DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) override;

 private:
  Integer FDay, FMonth, FYear, FStartOfWeek = 1;
};

// An edit with an input mask; the preview shows its text as it stands.
class TMaskEdit : public TEdit {
  KST_CLASS(TMaskEdit, TEdit)
 public:
  using TEdit::TEdit;
  String EditMask;
};

// A list box whose items carry a check box each.
class TCheckListBox : public TListBox {
  KST_CLASS(TCheckListBox, TListBox)
 public:
  using TListBox::TListBox;
  bool AllowGrayed = false, Flat = true;
  TNotifyEvent OnClickCheck;
};

void RegisterLegacyControlClasses(TClassRegistry& registry);
