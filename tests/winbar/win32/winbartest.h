// What the window bar's tests share: an application whose registry knows the
// window library's and the window bar's classes and the test forms, with
// exceptions and message boxes recorded instead of shown.
#pragma once

#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/forms.h"
#include "winbar/win32/calendar.h"
#include "winbar/win32/categorybuttons.h"
#include "winbar/win32/formwallpaper.h"
#include "winbar/win32/gauge.h"
#include "winbar/win32/mdibuttongroup.h"
#include "winbar/win32/mditab.h"
#include "winbar/win32/onoffswitch.h"
#include "winbar/win32/thumbnail.h"
#include "winbar/win32/wheelscrollbox.h"

#include "support/win32/harness.h"

class TWinbarMainForm : public TForm {
  KST_CLASS(TWinbarMainForm, TForm)
 public:
  using TForm::TForm;
  TMDIButtonGroup* mdibg = nullptr;
  TMDITab* tabs = nullptr;
};

class TWinbarChildForm : public TForm {
  KST_CLASS(TWinbarChildForm, TForm)
 public:
  using TForm::TForm;
  int Activations = 0;
  bool ThrowOnDestroy = false;
  // Counts the windows whose own destruction handler ran.
  static inline int Destroyed = 0;
  void FormActivate(TObject*) { ++Activations; }
  void FormClose(TObject*, TCloseAction& action) { action = caFree; }
  void FormDestroy(TObject*);
};

class TWinbarExtrasForm : public TForm {
  KST_CLASS(TWinbarExtrasForm, TForm)
 public:
  using TForm::TForm;
  TFormWallpaper* Wallpaper = nullptr;
  TButtonGroupEx* Group = nullptr;
  TMGauge* Gauge = nullptr;
  TMGauge* Pie = nullptr;
  TMGauge* Needle = nullptr;
  TOnOffSwitch* Switch = nullptr;
  TRoundOnOffSwitch* Round = nullptr;
};

class TWinbarCategoryForm : public TForm {
  KST_CLASS(TWinbarCategoryForm, TForm)
 public:
  using TForm::TForm;
  TCategoryButtonsEx* Palette = nullptr;
  TCategoryButtonsEx* Grid = nullptr;
  std::vector<String> Clicked;
  void PaletteButtonClicked(TObject*, TButtonItem* button) { Clicked.push_back(button->Caption()); }
};

class TWinbarPlatformForm : public TForm {
  KST_CLASS(TWinbarPlatformForm, TForm)
 public:
  using TForm::TForm;
  TCategoryButtons* Tools = nullptr;
};

class TWinbarGridsForm : public TForm {
  KST_CLASS(TWinbarGridsForm, TForm)
 public:
  using TForm::TForm;
  TMCalendar* Calendar = nullptr;
  TMWeekView* WeekView = nullptr;
  TMDrawGrid* DrawGrid = nullptr;
  TImageThumbnail* Thumb = nullptr;
  TThumbnail* Plain = nullptr;
  TWheelScrollBox* Box = nullptr;
};

class WinbarTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void Pump() { FApp->ProcessMessages(); }

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  std::vector<String> FExceptions;
};

using harness::CaptureScreen;
using harness::SaveForInspection;
// Paints a graphic control (on its own) into a picture of its size.
harness::Bitmap32 PaintGraphic(TGraphicControl& control, const std::function<void(TCanvas&)>& paint);
