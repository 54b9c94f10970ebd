#include "panelkit/win32/pxstatusbar.h"

#include "panelkit/navlayout.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxStatusPanel, "PxStatusBar")
KST_CLASS_IMPL(TPxStatusBar, "PxStatusBar")

void TPxPanelPainter::Paint() {
  if (!FCanvas) return;
  const TColorScheme scheme = CurrentColorScheme();
  DrawGlass(*FCanvas, FClientRect, SchemeColor(4, scheme), SchemeColor(3, scheme), FClientRect.Bottom / 3);
}

void TPxStatusPanel::Describe(TClassBuilder<TPxStatusPanel>& c) {
  c.Property(u"Width", &TPxStatusPanel::Width, &TPxStatusPanel::SetWidth).Default(50);
}

TPxStatusPanel::TPxStatusPanel(TComponent* owner) : TComponent(owner) {}

TPxStatusPanel::~TPxStatusPanel() = default;

std::unique_ptr<TPxPanelPainter> TPxStatusPanel::CreatePainter() {
  return std::make_unique<TPxPanelPainter>(this);
}

TPxPanelPainter& TPxStatusPanel::Painter() {
  if (!FPainter) FPainter = CreatePainter();
  return *FPainter;
}

TPxStatusBarPanels::~TPxStatusBarPanels() {
  Clear();
}

TPxStatusPanel* TPxStatusBarPanels::Items(Integer index) const {
  if (index < 0 || index >= Count()) throw EListError(u"List index out of bounds");
  return FList[static_cast<size_t>(index)];
}

TPxStatusPanel* TPxStatusBarPanels::Add(const TClassInfo& panelClass) {
  if (!panelClass.InheritsFrom(TPxStatusPanel::StaticClass()) || !panelClass.CanCreate())
    throw EInvalidOperation(u"Not a status panel class: " + panelClass.ClassName());
  auto* panel = static_cast<TPxStatusPanel*>(panelClass.Create(nullptr));
  FList.push_back(panel);
  if (FStatusBar) panel->Painter().SetCanvas(&FStatusBar->Canvas());
  return panel;
}

void TPxStatusBarPanels::Clear() {
  std::vector<TPxStatusPanel*> panels;
  panels.swap(FList);
  for (TPxStatusPanel* panel : panels) delete panel;
}

void TPxStatusBar::Describe(TClassBuilder<TPxStatusBar>& c) {
  publish::Align(c);
  c.Property(u"ColorScheme", &TPxStatusBar::ColorScheme, &TPxStatusBar::SetColorScheme).Default(csDefault);
  publish::Constraints(c);
}

TPxStatusBar::TPxStatusBar(TComponent* owner)
    : TCustomControl(owner), FPanels(std::make_unique<TPxStatusBarPanels>(this)) {}

TPxStatusBar::~TPxStatusBar() = default;

TRect TPxStatusBar::GetPanelRect(Integer index) const {
  std::vector<Integer> widths;
  for (Integer i = 0; i < FPanels->Count(); ++i) widths.push_back(FPanels->Items(i)->Width());
  return StatusPanelRect(widths, index, ClientHeight());
}

void TPxStatusBar::Paint() {
  TCustomControl::Paint();
  for (Integer i = 0; i < FPanels->Count(); ++i) {
    TPxPanelPainter& painter = FPanels->Items(i)->Painter();
    painter.SetCanvas(&Canvas());
    painter.SetClientRect(GetPanelRect(i));
    painter.Paint();
  }
}
