#include "panelkit/win32/edittest.h"

KST_CLASS_IMPL(TEditKitForm, "PanelKitTests")

void TEditKitForm::Describe(TClassBuilder<TEditKitForm>& c) {
  c.Field(u"edit", &TEditKitForm::edit);
  c.Field(u"secret", &TEditKitForm::secret);
  c.Field(u"number", &TEditKitForm::number);
  c.Field(u"spin", &TEditKitForm::spin);
  c.Field(u"priced", &TEditKitForm::priced);
  c.Field(u"check", &TEditKitForm::check);
  c.Field(u"group", &TEditKitForm::group);
  c.Field(u"radio1", &TEditKitForm::radio1);
  c.Field(u"radio2", &TEditKitForm::radio2);
  c.Field(u"radio3", &TEditKitForm::radio3);
  c.Field(u"buttonEdit", &TEditKitForm::buttonEdit);
  c.Field(u"folder", &TEditKitForm::folder);
  c.Field(u"imagePath", &TEditKitForm::imagePath);
  c.Field(u"combo", &TEditKitForm::combo);
  c.Field(u"fonts", &TEditKitForm::fonts);
  c.Field(u"memo", &TEditKitForm::memo);
  c.Method(u"buttonEditButtonClick", &TEditKitForm::buttonEditButtonClick);
  c.Method(u"comboSelect", &TEditKitForm::comboSelect);
  c.Method(u"editCustomPreviewDraw", &TEditKitForm::editCustomPreviewDraw);
  c.Method(u"spinSpin", &TEditKitForm::spinSpin);
  c.Method(u"ToggleChange", &TEditKitForm::ToggleChange);
}

void TEditKitForm::editCustomPreviewDraw(TObject* sender, const TRect& rect) {
  // A red swatch, so a picture shows where the preview box is.
  TCanvas& canvas = static_cast<TPxEdit*>(sender)->Info().Canvas();
  canvas.Brush().SetColor(clRed);
  canvas.FillRect(rect);
}

void TEditKitForm::spinSpin(TObject*, TSpinButtonSet buttons) {
  Events.push_back(buttons.Contains(pxedit::sbUp) ? "spin:up" : "spin:down");
}

void TEditKitForm::ToggleChange(TObject* sender) {
  auto* toggle = static_cast<TPxCustomToggle*>(sender);
  std::string name;
  for (char16_t ch : toggle->Name()) name += static_cast<char>(ch);
  Events.push_back(name + (toggle->Checked() ? ":on" : ":off"));
}

void EditKitTest::SetUp() {
  PanelKitTest::SetUp();
  FRegistry.RegisterClasses({&TEditKitForm::StaticClass()});
}

TEditKitForm& EditKitTest::Edits() {
  if (!FEdits) {
    FEdits = CreateForm<TEditKitForm>(FApp.get());
    FEdits->Show();
    Pump();
    FEdits->Events.clear();
  }
  return *FEdits;
}

void EditKitTest::Type(TWinControl& control, const std::wstring& characters) {
  for (wchar_t ch : characters) harness::SendChar(control.Handle(), ch);
  Pump();
}

harness::Bitmap32 ScreenPicture(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  harness::PumpMessages();
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  return harness::PaintInto(width, height, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}
