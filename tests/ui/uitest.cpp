#include "ui/uitest.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "classes/reader.h"
#include "formfile/formresource.h"
#include "rtl/streams.h"

KST_CLASS_IMPL(TSwatchControl, "UiTests")
KST_CLASS_IMPL(TShadeControl, "UiTests")
KST_CLASS_IMPL(TLayoutForm, "UiTests")
KST_CLASS_IMPL(TPaintForm, "UiTests")
KST_CLASS_IMPL(TMDIParentForm, "UiTests")
KST_CLASS_IMPL(TMDIChildForm, "UiTests")
KST_CLASS_IMPL(TDialogForm, "UiTests")
KST_CLASS_IMPL(TTestFrame, "UiTests")

void TSwatchControl::Describe(TClassBuilder<TSwatchControl>& c) {
  c.Property(u"Align", &TControl::Align, &TControl::SetAlign);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor);
}

TSwatchControl::TSwatchControl(TComponent* owner) : TCustomControl(owner) {
  FControlStyle.Include(csAcceptsControls);
  FControlStyle.Include(csOpaque);
}

void TSwatchControl::Paint() {
  ++PaintCount;
  Canvas().Brush().SetColor(clRed);
  Canvas().FillRect(Rect(0, 0, Width() / 2, Height()));
  Canvas().Brush().SetColor(clBlue);
  Canvas().FillRect(Rect(Width() / 2, 0, Width(), Height()));
}

void TShadeControl::Describe(TClassBuilder<TShadeControl>&) {}

TShadeControl::TShadeControl(TComponent* owner) : TCustomControl(owner) {
  SetParentBackground(true);
}

void TShadeControl::Paint() {
  Canvas().Brush().SetColor(clLime);
  Integer cx = Width() / 2, cy = Height() / 2;
  Canvas().FillRect(Rect(cx - 5, cy - 5, cx + 5, cy + 5));
}

void TLayoutForm::Describe(TClassBuilder<TLayoutForm>& c) {
  c.Field(u"PanelTop", &TLayoutForm::PanelTop);
  c.Field(u"PanelTop2", &TLayoutForm::PanelTop2);
  c.Field(u"PanelBottom", &TLayoutForm::PanelBottom);
  c.Field(u"PanelLeft", &TLayoutForm::PanelLeft);
  c.Field(u"PanelRight", &TLayoutForm::PanelRight);
  c.Field(u"PanelClient", &TLayoutForm::PanelClient);
  c.Field(u"PanelNested", &TLayoutForm::PanelNested);
  c.Field(u"ButtonTop", &TLayoutForm::ButtonTop);
  c.Field(u"ButtonOK", &TLayoutForm::ButtonOK);
  c.Field(u"ButtonNested", &TLayoutForm::ButtonNested);
  c.Field(u"LabelLeft", &TLayoutForm::LabelLeft);
  c.Field(u"LabelHello", &TLayoutForm::LabelHello);
  c.Method(u"FormCreate", &TLayoutForm::FormCreate);
  c.Method(u"FormShow", &TLayoutForm::FormShow);
  c.Method(u"FormClose", &TLayoutForm::FormClose);
  c.Method(u"ButtonOKClick", &TLayoutForm::ButtonOKClick);
  c.Method(u"ButtonTopClick", &TLayoutForm::ButtonTopClick);
}

void TLayoutForm::FormShow(TObject*) {
  ++Shown;
  VisibleWhenShown = HandleAllocated() && IsWindowVisible(Handle());
}

void TLayoutForm::ButtonTopClick(TObject*) {
  ++TopClicks;
  if (AbortOnTop) throw EAbort(u"silent");
  if (ThrowOnTop) throw EConvertError(u"The handler failed");
}

void TPaintForm::Describe(TClassBuilder<TPaintForm>& c) {
  c.Field(u"Swatch", &TPaintForm::Swatch);
  c.Field(u"Shade", &TPaintForm::Shade);
  c.Field(u"LabelOver", &TPaintForm::LabelOver);
}

void TMDIParentForm::Describe(TClassBuilder<TMDIParentForm>& c) {
  c.Field(u"PanelBar", &TMDIParentForm::PanelBar);
}

void TMDIChildForm::Describe(TClassBuilder<TMDIChildForm>& c) {
  c.Field(u"PanelDoc", &TMDIChildForm::PanelDoc);
  c.Method(u"FormActivate", &TMDIChildForm::FormActivate);
  c.Method(u"FormClose", &TMDIChildForm::FormClose);
}

void TDialogForm::Describe(TClassBuilder<TDialogForm>& c) {
  c.Field(u"ButtonOK", &TDialogForm::ButtonOK);
  c.Field(u"ButtonCancel", &TDialogForm::ButtonCancel);
  c.Method(u"FormKeyDown", &TDialogForm::FormKeyDown);
}

void TTestFrame::Describe(TClassBuilder<TTestFrame>& c) {
  c.Field(u"FrameButton", &TTestFrame::FrameButton);
  c.Method(u"FrameButtonClick", &TTestFrame::FrameButtonClick);
}

void UiTest::SetUp() {
  RegisterUiClasses(FRegistry);
  FRegistry.RegisterClasses({&TSwatchControl::StaticClass(), &TShadeControl::StaticClass()});
  FApp = std::make_unique<TApplication>(nullptr, FRegistry);
  FApp->SetTitle(u"Kestrum tests");
  FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
  FApp->MessageBoxHook = [this](const TMessageBoxRequest& request) {
    FBoxes.push_back(request);
    return FBoxAnswer;
  };
}

void UiTest::TearDown() {
  FApp.reset();
  harness::PumpMessages();
}

void UiTest::Pump() {
  FApp->ProcessMessages();
}

std::vector<String> ReadFormText(const std::string& text, TComponent& root, const TClassRegistry& registry) {
  std::vector<String> errors;
  try {
    TBytesStream textStream(TBytes(text.begin(), text.end()));
    TBytesStream resource;
    FormTextToResource(textStream, resource);
    resource.SetPosition(0);
    ReadResHeader(resource);
    TComponentReader reader(resource, registry);
    reader.OnError = [&errors](TComponentReader&, const String& message, bool& handled) {
      errors.push_back(message);
      handled = true;
    };
    reader.OnFindMethod = [](TComponentReader&, const String&, std::any& method, bool& error) {
      method.reset();
      error = false;
    };
    reader.ReadRootComponent(&root);
  } catch (const Exception& e) {
    errors.push_back(u"Reader: " + e.Message());
  }
  return errors;
}

// A build that records source paths relative to its build folder runs from
// there (ctest) or from the checkout's root.
std::string FixtureText(const char* name) {
  const std::filesystem::path path = std::filesystem::path(__FILE__).parent_path() / "data" / name;
  std::filesystem::path fromRoot;
  for (const auto& part : path)
    if (part != ".." && part != ".") fromRoot /= part;
  std::error_code error;
  std::ifstream file(std::filesystem::exists(path, error) ? path : fromRoot, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TForm* FixtureFormTest::ShowFixture(const char* name) {
  const std::string text = FixtureText(name);
  EXPECT_FALSE(text.empty()) << name;
  auto* form = new TForm(FApp.get());
  const std::vector<String> errors = ReadFormText(text, *form, FRegistry);
  std::string report;
  for (const String& error : errors) report += "\n  " + std::string(StringToUTF8(error));
  EXPECT_TRUE(errors.empty()) << name << ":" << report;
  form->Show();
  Pump();
  UpdateWindow(form->Handle());
  Pump();
  return form;
}

COLORREF FixtureFormTest::ScreenPixel(const harness::Bitmap32& shot, TForm* form, TControl* control, Integer x,
                                      Integer y) {
  const TPoint at = control->ClientToScreen(Point(x, y));
  RECT window;
  GetWindowRect(form->Handle(), &window);
  return shot.PixelColor(at.X - window.left, at.Y - window.top);
}
