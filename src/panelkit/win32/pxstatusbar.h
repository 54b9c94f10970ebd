// The kit's minimal status bar: panels of fixed widths side by side from
// the left, each painted by its painter as a glass band in the current
// colour scheme. Panels are made in code through the bar's panel list.
#pragma once

#include "ui/winapi.h"

#include <memory>
#include <vector>

#include "panelkit/colorschemes.h"
#include "ui/controls.h"

class TPxStatusPanel;
class TPxStatusBar;

class TPxPanelPainter : public TObject {
 public:
  explicit TPxPanelPainter(TPxStatusPanel* panel) : FPanel(panel) {}
  TCanvas* Canvas() const { return FCanvas; }
  void SetCanvas(TCanvas* canvas) { FCanvas = canvas; }
  const TRect& ClientRect() const { return FClientRect; }
  void SetClientRect(const TRect& rect) { FClientRect = rect; }
  TPxStatusPanel* Panel() const { return FPanel; }
  virtual void Paint();

 private:
  TCanvas* FCanvas = nullptr;
  TRect FClientRect;
  TPxStatusPanel* FPanel;
};

class TPxStatusPanel : public TComponent {
  KST_CLASS(TPxStatusPanel, TComponent)
 public:
  explicit TPxStatusPanel(TComponent* owner);
  ~TPxStatusPanel() override;
  Integer Width() const { return FWidth; }
  void SetWidth(Integer value) { FWidth = value; }
  // Made on first use from the class's own painter choice.
  TPxPanelPainter& Painter();

 protected:
  // Descendants answer a painter of their own.
  virtual std::unique_ptr<TPxPanelPainter> CreatePainter();

 private:
  std::unique_ptr<TPxPanelPainter> FPainter;
  Integer FWidth = 50;
};

class TPxStatusBarPanels : public TObject {
 public:
  explicit TPxStatusBarPanels(TPxStatusBar* statusBar) : FStatusBar(statusBar) {}
  ~TPxStatusBarPanels() override;
  TPxStatusBarPanels(const TPxStatusBarPanels&) = delete;
  TPxStatusBarPanels& operator=(const TPxStatusBarPanels&) = delete;
  Integer Count() const { return static_cast<Integer>(FList.size()); }
  TPxStatusPanel* Items(Integer index) const;
  // A panel of the class asked for (a TPxStatusPanel or a descendant; any
  // other class raises), appended and given the bar's canvas.
  TPxStatusPanel* Add(const TClassInfo& panelClass);
  void Clear();

 private:
  std::vector<TPxStatusPanel*> FList;  // owned
  TPxStatusBar* FStatusBar;
};

class TPxStatusBar : public TCustomControl {
  KST_CLASS(TPxStatusBar, TCustomControl)
 public:
  explicit TPxStatusBar(TComponent* owner);
  ~TPxStatusBar() override;
  TPxStatusBarPanels& Panels() const { return *FPanels; }
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme value) { FColorScheme = value; }
  TRect GetPanelRect(Integer index) const;

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TPxStatusBarPanels> FPanels;
  TColorScheme FColorScheme = csDefault;
};
