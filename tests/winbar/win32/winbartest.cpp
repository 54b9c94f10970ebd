#include "winbar/win32/winbartest.h"

#include <cstdlib>

#include "rtl/numbers.h"
#include "ui/registration.h"
#include "winbar/win32/registration.h"

KST_CLASS_IMPL(TWinbarMainForm, "WinbarTests")
KST_CLASS_IMPL(TWinbarChildForm, "WinbarTests")
KST_CLASS_IMPL(TWinbarExtrasForm, "WinbarTests")
KST_CLASS_IMPL(TWinbarCategoryForm, "WinbarTests")
KST_CLASS_IMPL(TWinbarGridsForm, "WinbarTests")
KST_CLASS_IMPL(TWinbarPlatformForm, "WinbarTests")

void TWinbarMainForm::Describe(TClassBuilder<TWinbarMainForm>& c) {
  c.Field(u"mdibg", &TWinbarMainForm::mdibg);
  c.Field(u"tabs", &TWinbarMainForm::tabs);
}

void TWinbarChildForm::Describe(TClassBuilder<TWinbarChildForm>& c) {
  c.Method(u"FormActivate", &TWinbarChildForm::FormActivate);
  c.Method(u"FormClose", &TWinbarChildForm::FormClose);
  c.Method(u"FormDestroy", &TWinbarChildForm::FormDestroy);
}

void TWinbarChildForm::FormDestroy(TObject*) {
  ++Destroyed;
  if (ThrowOnDestroy) throw EConvertError(u"The window's own handler failed");
}

void TWinbarExtrasForm::Describe(TClassBuilder<TWinbarExtrasForm>& c) {
  c.Field(u"Wallpaper", &TWinbarExtrasForm::Wallpaper);
  c.Field(u"Group", &TWinbarExtrasForm::Group);
  c.Field(u"Gauge", &TWinbarExtrasForm::Gauge);
  c.Field(u"Pie", &TWinbarExtrasForm::Pie);
  c.Field(u"Needle", &TWinbarExtrasForm::Needle);
  c.Field(u"Switch", &TWinbarExtrasForm::Switch);
  c.Field(u"Round", &TWinbarExtrasForm::Round);
}

void TWinbarCategoryForm::Describe(TClassBuilder<TWinbarCategoryForm>& c) {
  c.Field(u"Palette", &TWinbarCategoryForm::Palette);
  c.Field(u"Grid", &TWinbarCategoryForm::Grid);
  c.Method(u"PaletteButtonClicked", &TWinbarCategoryForm::PaletteButtonClicked);
}

void TWinbarPlatformForm::Describe(TClassBuilder<TWinbarPlatformForm>& c) {
  c.Field(u"Tools", &TWinbarPlatformForm::Tools);
}

void TWinbarGridsForm::Describe(TClassBuilder<TWinbarGridsForm>& c) {
  c.Field(u"Calendar", &TWinbarGridsForm::Calendar);
  c.Field(u"WeekView", &TWinbarGridsForm::WeekView);
  c.Field(u"DrawGrid", &TWinbarGridsForm::DrawGrid);
  c.Field(u"Thumb", &TWinbarGridsForm::Thumb);
  c.Field(u"Plain", &TWinbarGridsForm::Plain);
  c.Field(u"Box", &TWinbarGridsForm::Box);
}

void WinbarTest::SetUp() {
  RegisterUiClasses(FRegistry);
  RegisterWinbarClasses(FRegistry);
  TWinbarChildForm::Destroyed = 0;
  FApp = std::make_unique<TApplication>(nullptr, FRegistry);
  FApp->SetTitle(u"Kestrum window bar tests");
  FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
  FApp->MessageBoxHook = [](const TMessageBoxRequest&) { return IDOK; };
}

void WinbarTest::TearDown() {
  FApp.reset();
  harness::PumpMessages();
}

harness::Bitmap32 PaintGraphic(TGraphicControl& control, const std::function<void(TCanvas&)>& paint) {
  return harness::PaintInto(control.Width(), control.Height(), [&](HDC dc) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    paint(canvas);
    canvas.SetHandle(nullptr);
  });
}
