// What the window library's tests share: an application with a registry of
// the library's classes and the test forms, exceptions and message boxes
// recorded instead of shown, and the test forms read from their resources.
#pragma once

// The library's door to the system's headers comes first: it takes back the
// names the system's headers would otherwise rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "rtl/numbers.h"
#include "rtl/unicode.h"
#include "ui/extctrls.h"
#include "ui/forms.h"
#include "ui/registration.h"
#include "ui/stdctrls.h"

#include "support/win32/harness.h"

// Paints its left half red and its right half blue.
class TSwatchControl : public TCustomControl {
  KST_CLASS(TSwatchControl, TCustomControl)
 public:
  explicit TSwatchControl(TComponent* owner);
  int PaintCount = 0;

 protected:
  void Paint() override;
};

// Lets its parent show through and paints a green square in its middle.
class TShadeControl : public TCustomControl {
  KST_CLASS(TShadeControl, TCustomControl)
 public:
  explicit TShadeControl(TComponent* owner);

 protected:
  void Paint() override;
};

class TLayoutForm : public TForm {
  KST_CLASS(TLayoutForm, TForm)
 public:
  using TForm::TForm;
  TPanel* PanelTop = nullptr;
  TPanel* PanelTop2 = nullptr;
  TPanel* PanelBottom = nullptr;
  TPanel* PanelLeft = nullptr;
  TPanel* PanelRight = nullptr;
  TPanel* PanelClient = nullptr;
  TPanel* PanelNested = nullptr;
  TButton* ButtonTop = nullptr;
  TButton* ButtonOK = nullptr;
  TButton* ButtonNested = nullptr;
  TLabel* LabelLeft = nullptr;
  TLabel* LabelHello = nullptr;

  int Created = 0;
  int Shown = 0;
  bool VisibleWhenShown = true;
  int OKClicks = 0;
  int TopClicks = 0;
  bool ThrowOnTop = false;
  bool AbortOnTop = false;

  void FormCreate(TObject*) { ++Created; }
  void FormShow(TObject*);
  void FormClose(TObject*, TCloseAction& action) { action = caHide; }
  void ButtonOKClick(TObject*) { ++OKClicks; }
  void ButtonTopClick(TObject*);
};

class TPaintForm : public TForm {
  KST_CLASS(TPaintForm, TForm)
 public:
  using TForm::TForm;
  TSwatchControl* Swatch = nullptr;
  TShadeControl* Shade = nullptr;
  TLabel* LabelOver = nullptr;
};

class TMDIParentForm : public TForm {
  KST_CLASS(TMDIParentForm, TForm)
 public:
  using TForm::TForm;
  TPanel* PanelBar = nullptr;
};

class TMDIChildForm : public TForm {
  KST_CLASS(TMDIChildForm, TForm)
 public:
  using TForm::TForm;
  TPanel* PanelDoc = nullptr;
  int Activations = 0;
  void FormActivate(TObject*) { ++Activations; }
  void FormClose(TObject*, TCloseAction& action) { action = caFree; }
};

class TDialogForm : public TForm {
  KST_CLASS(TDialogForm, TForm)
 public:
  using TForm::TForm;
  TButton* ButtonOK = nullptr;
  TButton* ButtonCancel = nullptr;
  std::vector<Word> PreviewedKeys;
  void FormKeyDown(TObject*, Word& key, TShiftState) { PreviewedKeys.push_back(key); }
};

class TTestFrame : public TFrame {
  KST_CLASS(TTestFrame, TFrame)
 public:
  using TFrame::TFrame;
  TButton* FrameButton = nullptr;
  int Clicks = 0;
  void FrameButtonClick(TObject*) { ++Clicks; }
};

// Reads a form's text into the root through the component reader with the
// registry's classes, as the preview does: handlers stay unbound, and every
// failure is returned instead of stopping the reading.
std::vector<String> ReadFormText(const std::string& text, TComponent& root, const TClassRegistry& registry);

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Handles every waiting message through the application's loop.
  void Pump();

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  std::vector<String> FExceptions;
  std::vector<TMessageBoxRequest> FBoxes;
  int FBoxAnswer = IDOK;
};

using harness::CaptureScreen;
using harness::SaveForInspection;

// A fixture form of tests/ui/data, as text (empty when it cannot be read).
std::string FixtureText(const char* name);

// Tests that read the fixture forms of tests/ui/data as the preview does.
class FixtureFormTest : public UiTest {
 protected:
  // Reads the fixture into a new form and shows it.
  TForm* ShowFixture(const char* name);
  template <class C>
  C* Find(TForm* form, const char16_t* name) {
    auto* found = dynamic_cast<C*>(form->FindComponent(name));
    EXPECT_NE(found, nullptr) << StringToUTF8(name);
    return found;
  }
  // The colour of a point of a control, as the screen shows it.
  COLORREF ScreenPixel(const harness::Bitmap32& shot, TForm* form, TControl* control, Integer x, Integer y);
};
