// Charts as the designer shows them before any series has data: the panel,
// its title, the frame of the plot area and the legend box.
#pragma once

#include <memory>

#include "rtl/stringlist.h"
#include "ui/db.h"
#include "ui/extctrls.h"

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
const TTypeInfo& DescribeType(TypeTag<TLegendAlignment>);

class TChartTitle : public TPersistent {
  KST_CLASS(TChartTitle, TPersistent)
 public:
  explicit TChartTitle(TPersistent* owner);
  ~TChartTitle() override;
  TStrings* GetText() const { return FText.get(); }
  void SetText(const TStrings* lines);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* font);
  TAlignment Alignment = taCenter;
  bool Visible = true;
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
  std::unique_ptr<TStringList> FText;
  std::unique_ptr<TFont> FFont;
};

class TChartLegend : public TPersistent {
  KST_CLASS(TChartLegend, TPersistent)
 public:
  explicit TChartLegend(TPersistent* owner) : FOwner(owner) {}
  TLegendAlignment Alignment = laRight;
  bool Visible = true;
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

class TChart : public TPanel {
  KST_CLASS(TChart, TPanel)
 public:
  explicit TChart(TComponent* owner);
  ~TChart() override;
  TChartTitle* GetTitle() const { return FTitle.get(); }
  void SetTitle(const TChartTitle* title);
  TChartTitle* GetFoot() const { return FFoot.get(); }
  void SetFoot(const TChartTitle* title);
  TChartLegend* GetLegend() const { return FLegend.get(); }
  void SetLegend(const TChartLegend* legend);
  bool View3D = true;
  // The plot area's frame and the legend's box, in client coordinates (the
  // legend's is empty when it is hidden).
  TRect PlotRect() const;
  TRect LegendRect() const;

 protected:
  void Paint() override;

 private:
  Integer TitleHeight() const;
  std::unique_ptr<TChartTitle> FTitle, FFoot;
  std::unique_ptr<TChartLegend> FLegend;
};

class TDBChart : public TChart {
  KST_CLASS(TDBChart, TChart)
 public:
  using TChart::TChart;
  bool AutoRefresh = true;
};

void RegisterChartClasses(TClassRegistry& registry);
