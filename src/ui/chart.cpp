#include "ui/chart.h"

#include <algorithm>

#include "classes/reflection.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TChartTitle, "Chart")
KST_CLASS_IMPL(TChartLegend, "Chart")
KST_CLASS_IMPL(TChart, "Chart")
KST_CLASS_IMPL(TDBChart, "DBChart")

const TTypeInfo& DescribeType(TypeTag<TLegendAlignment>) {
  static const TEnumTypeInfo t(u"TLegendAlignment", u"Chart", {u"laLeft", u"laRight", u"laTop", u"laBottom"});
  return t;
}

void TChartTitle::Describe(TClassBuilder<TChartTitle>& c) {
  c.Property(u"Alignment", &TChartTitle::Alignment).Default(taCenter);
  c.Property(u"Font", &TChartTitle::GetFont, &TChartTitle::SetFont);
  c.Property(u"Text", &TChartTitle::GetText, &TChartTitle::SetText);
  c.Property(u"Visible", &TChartTitle::Visible).Default(1);
}
TChartTitle::TChartTitle(TPersistent* owner)
    : FOwner(owner), FText(std::make_unique<TStringList>()), FFont(std::make_unique<TFont>()) {
  FFont->SetColor(clBlue);
}
TChartTitle::~TChartTitle() = default;
void TChartTitle::SetText(const TStrings* lines) {
  if (lines) FText->Assign(*lines);
}
void TChartTitle::SetFont(const TFont* font) {
  if (font) FFont->Assign(font);
}

void TChartLegend::Describe(TClassBuilder<TChartLegend>& c) {
  c.Property(u"Alignment", &TChartLegend::Alignment).Default(laRight);
  c.Property(u"Visible", &TChartLegend::Visible).Default(1);
}

void TChart::Describe(TClassBuilder<TChart>& c) {
  c.Property(u"Foot", &TChart::GetFoot, &TChart::SetFoot);
  c.Property(u"Legend", &TChart::GetLegend, &TChart::SetLegend);
  c.Property(u"Title", &TChart::GetTitle, &TChart::SetTitle);
  c.Property(u"View3D", &TChart::View3D).Default(1);
}
void TDBChart::Describe(TClassBuilder<TDBChart>& c) {
  c.Property(u"AutoRefresh", &TDBChart::AutoRefresh).Default(1);
}

TChart::TChart(TComponent* owner)
    : TPanel(owner),
      FTitle(std::make_unique<TChartTitle>(this)),
      FFoot(std::make_unique<TChartTitle>(this)),
      FLegend(std::make_unique<TChartLegend>(this)) {
  FControlStyle.Exclude(csSetCaption);
  SetShowCaption(false);
  SetBounds(Left(), Top(), 400, 250);
  FTitle->GetText()->Add(u"TChart");
}
TChart::~TChart() = default;
void TChart::SetTitle(const TChartTitle* title) {
  if (!title) return;
  FTitle->SetText(title->GetText());
  FTitle->SetFont(title->GetFont());
  FTitle->Alignment = title->Alignment;
  FTitle->Visible = title->Visible;
  Invalidate();
}
void TChart::SetFoot(const TChartTitle* title) {
  if (!title) return;
  FFoot->SetText(title->GetText());
  FFoot->SetFont(title->GetFont());
  FFoot->Alignment = title->Alignment;
  FFoot->Visible = title->Visible;
  Invalidate();
}
void TChart::SetLegend(const TChartLegend* legend) {
  if (!legend) return;
  FLegend->Alignment = legend->Alignment;
  FLegend->Visible = legend->Visible;
  Invalidate();
}

Integer TChart::TitleHeight() const {
  if (!FTitle->Visible || FTitle->GetText()->Count() == 0) return 4;
  return 8 + std::abs(FTitle->GetFont()->Height()) * 3 / 2 * static_cast<Integer>(FTitle->GetText()->Count());
}

TRect TChart::LegendRect() const {
  if (!FLegend->Visible) return Rect(0, 0, 0, 0);
  const TRect client = ClientRect();
  const Integer top = TitleHeight();
  switch (FLegend->Alignment) {
    case laLeft: return Rect(client.Left + 8, top + 8, client.Left + 72, top + 48);
    case laTop: return Rect(client.Right / 2 - 32, top, client.Right / 2 + 32, top + 24);
    case laBottom: return Rect(client.Right / 2 - 32, client.Bottom - 28, client.Right / 2 + 32, client.Bottom - 4);
    case laRight: break;
  }
  return Rect(client.Right - 72, top + 8, client.Right - 8, top + 48);
}

TRect TChart::PlotRect() const {
  TRect plot = ClientRect();
  plot.Left += 40;
  plot.Top = TitleHeight() + 4;
  plot.Right -= 16;
  plot.Bottom -= 28;
  if (FLegend->Visible) {
    const TRect legend = LegendRect();
    switch (FLegend->Alignment) {
      case laLeft: plot.Left = legend.Right + 40; break;
      case laRight: plot.Right = legend.Left - 8; break;
      case laTop: plot.Top = legend.Bottom + 4; break;
      case laBottom: plot.Bottom = legend.Top - 20; break;
    }
  }
  if (plot.Right < plot.Left) plot.Right = plot.Left;
  if (plot.Bottom < plot.Top) plot.Bottom = plot.Top;
  return plot;
}

void TChart::Paint() {
  TPanel::Paint();
  TCanvas& canvas = Canvas();
  if (FTitle->Visible) {
    canvas.Font().Assign(FTitle->GetFont());
    canvas.Brush().SetStyle(bsClear);
    Integer y = 6;
    for (Integer i = 0; i < FTitle->GetText()->Count(); ++i) {
      const String& line = (*FTitle->GetText())[i];
      const Integer width = canvas.TextWidth(line);
      Integer x = (ClientWidth() - width) / 2;
      if (FTitle->Alignment == taLeftJustify) x = 8;
      if (FTitle->Alignment == taRightJustify) x = ClientWidth() - width - 8;
      canvas.TextOut(x, y, line);
      y += canvas.TextHeight(line);
    }
    canvas.Brush().SetStyle(bsSolid);
  }
  canvas.Pen().SetColor(clBlack);
  canvas.Pen().SetStyle(psSolid);
  canvas.Brush().SetStyle(bsClear);
  const TRect plot = PlotRect();
  canvas.Rectangle(plot.Left, plot.Top, plot.Right, plot.Bottom);
  if (FLegend->Visible) {
    const TRect legend = LegendRect();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clWhite);
    canvas.Rectangle(legend.Left, legend.Top, legend.Right, legend.Bottom);
  }
  canvas.Brush().SetStyle(bsSolid);
}

void RegisterChartClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TChartTitle::StaticClass(), &TChartLegend::StaticClass(), &TChart::StaticClass(),
                            &TDBChart::StaticClass()},
                           u"ui");
  registry.RegisterType(DescribeType(TypeTag<TLegendAlignment>{}));
}
