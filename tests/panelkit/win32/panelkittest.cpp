#include "panelkit/win32/panelkittest.h"

#include <cstdlib>

#include "rtl/unicode.h"

KST_CLASS_IMPL(TPageKitForm, "PanelKitTests")

void TPageKitForm::Describe(TClassBuilder<TPageKitForm>& c) {
  c.Field(u"pc", &TPageKitForm::pc);
  c.Field(u"PxTabSheet1", &TPageKitForm::PxTabSheet1);
  c.Field(u"PxTabSheet2", &TPageKitForm::PxTabSheet2);
  c.Field(u"PxTabSheet3", &TPageKitForm::PxTabSheet3);
  c.Field(u"gpc", &TPageKitForm::gpc);
  c.Field(u"GlyphSheet1", &TPageKitForm::GlyphSheet1);
  c.Field(u"GlyphSheet2", &TPageKitForm::GlyphSheet2);
  c.Field(u"nb", &TPageKitForm::nb);
  c.Field(u"Scheme", &TPageKitForm::Scheme);
  c.Method(u"pcChange", &TPageKitForm::pcChange);
  c.Method(u"pcChanging", &TPageKitForm::pcChanging);
  c.Method(u"pcTabClick", &TPageKitForm::pcTabClick);
  c.Method(u"PageHide", &TPageKitForm::PageHide);
  c.Method(u"PageShow", &TPageKitForm::PageShow);
  c.Method(u"gpcChange", &TPageKitForm::gpcChange);
}

std::string TPageKitForm::Name(TObject* sender) {
  auto* component = dynamic_cast<TComponent*>(sender);
  if (!component) return "?";
  std::string name;
  for (char16_t ch : component->Name()) name += static_cast<char>(ch);
  return name;
}

void PanelKitTest::SetUp() {
  SetCurrentColorScheme(csBlue);
  RegisterUiClasses(FRegistry);
  RegisterPanelKitClasses(FRegistry);
  FRegistry.RegisterClasses({&TPageKitForm::StaticClass()});
  FApp = std::make_unique<TApplication>(nullptr, FRegistry);
  FApp->SetTitle(u"Kestrum panel kit tests");
  FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
}

void PanelKitTest::TearDown() {
  for (const String& message : FExceptions)
    ADD_FAILURE() << "exception in a window procedure: " << StringToUTF8(message);
  FApp.reset();
  harness::PumpMessages();
  SetCurrentColorScheme(csBlue);
  EXPECT_TRUE(RepaintList().empty()) << "every control left the repaint list";
}

void PanelKitTest::Pump() {
  FApp->ProcessMessages();
}

TPageKitForm& PanelKitTest::Form() {
  if (!FForm) {
    FForm = CreateForm<TPageKitForm>(FApp.get());
    FForm->Show();
    Pump();
    FForm->LoadEvents = std::move(FForm->Events);
    FForm->Events.clear();
  }
  return *FForm;
}

void SavePicture(const harness::Bitmap32& picture, const wchar_t* name) {
  const wchar_t* folder = _wgetenv(L"KESTRUM_SCREENSHOTS");
  if (!folder || !*folder) return;
  picture.SaveBmp(std::wstring(folder) + L"\\" + name);
}

TPoint Centre(const TRect& r) {
  return Point(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
}

std::unique_ptr<TImageList> MakeIcons(Integer count, Integer size) {
  auto images = std::make_unique<TImageList>(nullptr);
  images->SetWidth(size);
  images->SetHeight(size);
  for (Integer i = 0; i < count; ++i) {
    TBitmap icon(size, size, pf24bit);
    icon.Canvas().Brush().SetColor(RGB(200, 40 * i % 256, 40));
    icon.Canvas().FillRect(Rect(0, 0, size, size));
    images->Add(&icon, nullptr);
  }
  return images;
}
