// The settings components on real windows under the real registry: a form
// read from its form file keeps its place, size, state, listed properties,
// named values and recent-files menu across a restart, and values a registry
// editor spoilt give a sane window.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "rtl/numbers.h"
#include "rtl/unicode.h"
#include "services/registrystorage.h"
#include "services/win32/formstorage.h"
#include "services/win32/mrumanager.h"
#include "support/win32/harness.h"
#include "ui/actnlist.h"
#include "ui/comctrls.h"
#include "ui/extctrls.h"
#include "ui/menus.h"
#include "ui/registration.h"
#include "ui/stdctrls.h"

class TPlacementForm : public TForm {
  KST_CLASS(TPlacementForm, TForm)
 public:
  using TForm::TForm;
  TPanel* Panel1 = nullptr;
  TEdit* Edit1 = nullptr;
  TEdit* Edit2 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* FileMenu = nullptr;
  TSvAppRegistryStorage* AppStorage = nullptr;
  TSvFormStorage* FormStorage = nullptr;
  TSvMRUManager* MRUMan = nullptr;

  // What the form was like when its own OnShow ran.
  bool VisibleAtShow = true;
  TRect BoundsAtShow;
  TWinControl* ActiveAtShow = nullptr;
  std::vector<String> Clicked;

  void FormShow(TObject*) {
    VisibleAtShow = IsWindowVisible(Handle()) != FALSE;
    RECT r{};
    GetWindowRect(Handle(), &r);
    BoundsAtShow = FromRECT(r);
    ActiveAtShow = ActiveControl();
  }
  void MRUManClick(TObject*, const String& recentName, const String&, Integer) { Clicked.push_back(recentName); }
};

KST_CLASS_IMPL(TPlacementForm, "ServicesTests")

void TPlacementForm::Describe(TClassBuilder<TPlacementForm>& c) {
  c.Field(u"Panel1", &TPlacementForm::Panel1);
  c.Field(u"Edit1", &TPlacementForm::Edit1);
  c.Field(u"Edit2", &TPlacementForm::Edit2);
  c.Field(u"MainMenu1", &TPlacementForm::MainMenu1);
  c.Field(u"FileMenu", &TPlacementForm::FileMenu);
  c.Field(u"AppStorage", &TPlacementForm::AppStorage);
  c.Field(u"FormStorage", &TPlacementForm::FormStorage);
  c.Field(u"MRUMan", &TPlacementForm::MRUMan);
  c.Method(u"FormShow", &TPlacementForm::FormShow);
  c.Method(u"MRUManClick", &TPlacementForm::MRUManClick);
}

namespace {

constexpr wchar_t kFormKey[] = L"Software\\Kestrum Tests\\Placement\\PlacementForm";
constexpr wchar_t kTestsKey[] = L"Software\\Kestrum Tests\\Placement";

// The registry read and written with the system's own calls, past the store.
struct RawValue {
  DWORD Type = REG_NONE;
  std::vector<BYTE> Data;
  std::wstring Text() const {
    std::wstring text(reinterpret_cast<const wchar_t*>(Data.data()), Data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }
  DWORD Number() const {
    DWORD value = 0;
    if (Data.size() >= sizeof value) memcpy(&value, Data.data(), sizeof value);
    return value;
  }
};

std::optional<RawValue> ReadRaw(const std::wstring& key, const std::wstring& name) {
  RawValue value;
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &value.Type, nullptr,
                   &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.Data.resize(size);
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &value.Type,
                   value.Data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.Data.resize(size);
  return value;
}

void WriteRawText(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void WriteRawNumber(const std::wstring& key, const std::wstring& name, DWORD number) {
  RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_DWORD, &number, sizeof number);
}

std::wstring DesktopTag() {
  return L"(" + std::to_wstring(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + L"x" +
         std::to_wstring(GetSystemMetrics(SM_CYVIRTUALSCREEN)) + L")";
}

TRect WindowRect(TCustomForm& form) {
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  return FromRECT(r);
}

class FormSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestsKey);
    RegisterUiClasses(FRegistry);
    RegisterSettingsStoreClasses(FRegistry);
    RegisterFormStorageClasses(FRegistry);
    FApp = std::make_unique<TApplication>(nullptr, FRegistry);
    FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
    FApp->MessageBoxHook = [](const TMessageBoxRequest&) { return IDOK; };
  }
  void TearDown() override {
    FApp.reset();
    harness::PumpMessages();
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Kestrum Tests");
  }

  TFormPtr<TPlacementForm> Open() {
    auto form = MakeForm<TPlacementForm>(FApp.get());
    form->Show();
    harness::PumpMessages();
    return form;
  }
  // Lets the display's answers to moves and sizes come in.
  static void Settle() {
    for (int i = 0; i < 5; ++i) {
      harness::PumpMessages();
      Sleep(20);
    }
    harness::PumpMessages();
  }
  // Closes the way the user does: the close question, then the window goes.
  void CloseAndFree(TFormPtr<TPlacementForm>& form) {
    EXPECT_TRUE(form->CloseQuery());
    form.reset();
    harness::PumpMessages();
  }

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  std::vector<String> FExceptions;
};

TEST_F(FormSettingsTest, TheComponentsLoadFromTheFormFileWithTheirProperties) {
  auto form = MakeForm<TPlacementForm>(FApp.get());
  TSvFormStorage& storage = *form->FormStorage;
  EXPECT_EQ(storage.AppStorage(), form->AppStorage);
  EXPECT_EQ(storage.AppStoragePath(), u"PlacementForm\\");
  EXPECT_EQ(storage.Options(), (TPlacementOptions{fpState, fpSize, fpLocation, fpActiveControl}));
  EXPECT_EQ(storage.VersionCheck(), fpvcCheckGreaterEqual);
  // The blanks round the dot go; lines naming no component or no property too.
  ASSERT_EQ(storage.StoredProps()->Count(), 2);
  EXPECT_EQ(storage.StoredProps()->Objects(0), form->Panel1);
  EXPECT_EQ(storage.StoredProps()->Objects(1), form->Edit1);
  ASSERT_EQ(storage.StoredValues()->Count(), 2);
  EXPECT_EQ(storage.StoredValue(u"ShowTypeCol").VarType(), varBoolean);
  EXPECT_TRUE(storage.StoredValue(u"Nothing").IsNull());

  TSvMRUManager& mru = *form->MRUMan;
  EXPECT_EQ(mru.IniStorage(), &storage);
  EXPECT_EQ(mru.RecentMenu(), form->FileMenu);
  EXPECT_EQ(mru.AccelDelimiter(), adSpace);
  EXPECT_EQ(mru.Capacity(), 10);
  EXPECT_EQ(mru.StoragePath(), u"PlacementForm\\TPlacementForm.MRUMan");
  // The placement has the form's events; the form's own OnShow still runs after it.
  EXPECT_TRUE(form->OnShow);
  form->Show();
  harness::PumpMessages();
  EXPECT_TRUE(storage.Restored());
}

TEST_F(FormSettingsTest, AFormClosedReopensWithItsPlaceAndSizeBeforeItIsVisible) {
  auto form = Open();
  form->SetBounds(150, 130, 500, 380);
  harness::PumpMessages();
  CloseAndFree(form);

  // The real registry holds the record.
  const auto normPos = ReadRaw(kFormKey, L"NormPos");
  ASSERT_TRUE(normPos.has_value());
  EXPECT_EQ(normPos->Type, static_cast<DWORD>(REG_SZ));
  const std::wstring expected = L"150,130,650,510";
  EXPECT_EQ(normPos->Text(), expected);
  EXPECT_EQ(ReadRaw(kFormKey, L"NormPos" + DesktopTag())->Text(), expected);
  EXPECT_EQ(ReadRaw(kFormKey, L"ShowCmd")->Number(), static_cast<DWORD>(SW_SHOWNORMAL));
  EXPECT_EQ(ReadRaw(kFormKey, L"PixelsPerInch")->Number(), 96u);
  EXPECT_EQ(ReadRaw(kFormKey, L"FormVersion")->Number(), 0u);
  ASSERT_TRUE(ReadRaw(kFormKey, L"MinMaxPos").has_value());

  form = Open();
  EXPECT_FALSE(form->VisibleAtShow);
  EXPECT_EQ(form->BoundsAtShow, Rect(150, 130, 650, 510));
  EXPECT_EQ(WindowRect(*form), Rect(150, 130, 650, 510));
  EXPECT_EQ(form->Position(), poDesigned);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(FormSettingsTest, AMaximisedFormReopensMaximisedOverItsNormalPlace) {
  auto form = Open();
  form->SetBounds(200, 150, 400, 300);
  // The display answers a move later than the window system: let it, before maximising.
  Settle();
  form->SetWindowState(wsMaximized);
  Settle();
  CloseAndFree(form);
  EXPECT_EQ(ReadRaw(kFormKey, L"ShowCmd")->Number(), static_cast<DWORD>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(ReadRaw(kFormKey, L"NormPos")->Text(), L"200,150,600,450");

  form = Open();
  EXPECT_EQ(form->WindowState(), wsMaximized);
  Settle();
  // Where the system puts a window of its kind maximised: the frame just
  // outside the screen, nothing clipped.
  HWND reference = CreateWindowExW(static_cast<DWORD>(GetWindowLongW(form->Handle(), GWL_EXSTYLE)), L"STATIC", L"",
                                   static_cast<DWORD>(GetWindowLongW(form->Handle(), GWL_STYLE)) & ~WS_VISIBLE, 10,
                                   10, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(reference, SW_SHOWMAXIMIZED);
  Settle();
  RECT expected{};
  GetWindowRect(reference, &expected);
  DestroyWindow(reference);
  EXPECT_EQ(WindowRect(*form), FromRECT(expected));
  form->SetWindowState(wsNormal);
  harness::PumpMessages();
  EXPECT_EQ(WindowRect(*form), Rect(200, 150, 600, 450));
}

TEST_F(FormSettingsTest, AFormStoredOffScreenReopensOnTheWorkArea) {
  WriteRawText(kFormKey, L"NormPos", L"5000,4000,5400,4300");
  WriteRawText(kFormKey, L"NormPos" + DesktopTag(), L"5000,4000,5400,4300");
  WriteRawNumber(kFormKey, L"PixelsPerInch", 96);
  WriteRawNumber(kFormKey, L"ShowCmd", SW_SHOWNORMAL);
  auto form = Open();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const TRect r = WindowRect(*form);
  EXPECT_EQ(r.Left, 120);
  EXPECT_EQ(r.Top, 100);
  EXPECT_LE(r.Right, work.right);
  EXPECT_LE(r.Bottom, work.bottom);
}

TEST_F(FormSettingsTest, AFormWhoseOwnPlaceIsOffScreenIsBroughtOntoTheWorkArea) {
  WriteRawText(kFormKey, L"NormPos", L"garbage");
  auto form = MakeForm<TPlacementForm>(FApp.get());
  form->SetBounds(-3000, -2500, 360, 280);
  form->Show();
  harness::PumpMessages();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const TRect r = WindowRect(*form);
  EXPECT_GE(r.Left, work.left);
  EXPECT_GE(r.Top, work.top);
  EXPECT_GT(r.Width(), 0);
  EXPECT_GT(r.Height(), 0);
}

struct MalformedCase {
  const wchar_t* Name;
  bool Number;
  const wchar_t* Text;
  DWORD Value;
};

TEST_F(FormSettingsTest, MalformedRegistryValuesGiveASaneWindow) {
  const MalformedCase cases[] = {
      {L"NormPos", false, L"abc", 0},
      {L"NormPos", false, L"0,0,0,0", 0},
      {L"NormPos", false, L"300,300,100,100", 0},
      {L"NormPos", false, L"100,300,500,200", 0},
      {L"NormPos", false, L"-2147483648,0,2147483647,100", 0},
      {L"NormPos", false, L"99999999999999999999,1,2,3", 0},
      {L"NormPos", false, L",,,,,,,,,,,,,,,,,,,,", 0},
      {L"NormPos", true, nullptr, 12345},
      {L"MinMaxPos", false, L"-32000,-32000,x,y", 0},
      {L"MinMaxPos", true, nullptr, 7},
      {L"ShowCmd", false, L"maximised", 0},
      {L"ShowCmd", true, nullptr, 12345},
      {L"ShowCmd", true, nullptr, 0},
      {L"Flags", true, nullptr, 0xFFFFFFFF},
      {L"Flags", false, L"x", 0},
      {L"PixelsPerInch", true, nullptr, 0},
      {L"PixelsPerInch", false, L"ninety-six", 0},
      {L"FormVersion", false, L"new", 0},
      {L"ActiveControl", false, L"Panel1.Nothing", 0},
      {L"ActiveControl", true, nullptr, 3},
      {L"Panel1_Width", false, L"wide", 0},
      {L"Panel1_Width", true, nullptr, 0x7FFFFFFF},
      {L"ShowTypeCol", false, L"perhaps", 0},
      {L"Counter", false, L"many", 0},
  };
  // One window reads every case (showing a window costs the display a
  // while); the first showing reads the same way, as the tests above show.
  auto form = Open();
  for (const MalformedCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestsKey);
    // A good record first, then the one spoilt value over it.
    WriteRawText(kFormKey, L"NormPos", L"100,100,500,400");
    WriteRawNumber(kFormKey, L"PixelsPerInch", 96);
    WriteRawNumber(kFormKey, L"ShowCmd", SW_SHOWNORMAL);
    if (c.Number)
      WriteRawNumber(kFormKey, c.Name, c.Value);
    else
      WriteRawText(kFormKey, c.Name, c.Text);
    form->FormStorage->RestoreFormPlacement();
    harness::PumpMessages();
    const TRect r = WindowRect(*form);
    EXPECT_GT(r.Width(), 0);
    EXPECT_GT(r.Height(), 0);
    EXPECT_NE(MonitorFromPoint(POINT{r.Left + 10, r.Top + 10}, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_NE(form->WindowState(), wsMinimized);
    EXPECT_GT(form->Panel1->Width(), 0);
  }
  // Spoilt values read as defaults: nothing even reaches the error box.
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(FormSettingsTest, ListedPropertiesAndNamedValuesSurviveARestart) {
  auto form = Open();
  form->Panel1->SetWidth(180);
  form->Edit1->SetText(u"kept text");
  form->FormStorage->SetStoredValue(u"ShowTypeCol", true);
  form->FormStorage->SetStoredValue(u"Counter", 41);
  form->FormStorage->SetStoredValue(u"Added", u"new value");
  form->SetActiveControl(form->Edit2);
  CloseAndFree(form);
  EXPECT_EQ(ReadRaw(kFormKey, L"Panel1_Width")->Number(), 180u);
  EXPECT_EQ(ReadRaw(kFormKey, L"Edit1_Text")->Text(), L"kept text");
  EXPECT_EQ(ReadRaw(kFormKey, L"ActiveControl")->Text(), L"Edit2");
  EXPECT_TRUE(ReadRaw(kFormKey, L"Added").has_value());

  form = Open();
  EXPECT_EQ(form->Panel1->Width(), 180);
  EXPECT_EQ(form->Edit1->Text(), u"kept text");
  EXPECT_EQ(form->FormStorage->StoredValue(u"ShowTypeCol").VarType(), varBoolean);
  EXPECT_TRUE(form->FormStorage->StoredValue(u"ShowTypeCol").AsBoolean());
  EXPECT_EQ(form->FormStorage->StoredValue(u"Counter").VarType(), varInteger);
  EXPECT_EQ(form->FormStorage->StoredValue(u"Counter").AsInteger(), 41);
  EXPECT_EQ(form->ActiveAtShow, form->Edit2);
  EXPECT_EQ(form->ActiveControl(), form->Edit2);
  EXPECT_EQ(GetFocus(), form->Edit2->Handle());
}

// The form of the file with a memo, a list view and a pop-up menu made in
// code, all listed in its stored properties.
TFormPtr<TPlacementForm> FormWithLists(TApplication* app) {
  auto form = MakeForm<TPlacementForm>(app);
  auto* memo = new TMemo(form.get());
  memo->SetName(u"Memo1");
  memo->SetParent(form.get());
  memo->Lines().SetText(u"design\r\n");
  auto* list = new TListView(form.get());
  list->SetName(u"ListView1");
  list->SetParent(form.get());
  list->Columns().Add()->SetCaption(u"Design");
  auto* menu = new TPopupMenu(form.get());
  menu->SetName(u"Popup1");
  TStringList lines;
  lines.SetText(u"Memo1.Lines\r\nListView1.Columns\r\nEdit2.PopupMenu\r\n");
  form->FormStorage->SetStoredProps(&lines);
  return form;
}

TMemo& Memo1(TPlacementForm& form) {
  return *static_cast<TMemo*>(form.FindComponent(u"Memo1"));
}
TListView& ListView1(TPlacementForm& form) {
  return *static_cast<TListView*>(form.FindComponent(u"ListView1"));
}

TEST_F(FormSettingsTest, ListsCollectionsAndReferencesComeBackAfterARestart) {
  auto form = FormWithLists(FApp.get());
  form->Show();
  harness::PumpMessages();
  Memo1(*form).Lines().Clear();  // an emptied list stays empty
  ListView1(*form).Columns().Clear();
  for (const char16_t* caption : {u"Name", u"Size"}) ListView1(*form).Columns().Add()->SetCaption(caption);
  form->Edit2->SetPopupMenu(static_cast<TPopupMenu*>(form->FindComponent(u"Popup1")));
  CloseAndFree(form);

  form = FormWithLists(FApp.get());
  EXPECT_EQ(form->Edit2->PopupMenu(), nullptr);
  form->Show();
  harness::PumpMessages();
  EXPECT_EQ(Memo1(*form).Lines().Count(), 0);
  ASSERT_EQ(ListView1(*form).Columns().Count(), 2);
  EXPECT_EQ(ListView1(*form).Columns().Items(1)->Caption(), u"Size");
  EXPECT_EQ(form->Edit2->PopupMenu(), form->FindComponent(u"Popup1"));
  Memo1(*form).Lines().SetText(u"one\r\ntwo\r\n");
  CloseAndFree(form);

  form = FormWithLists(FApp.get());
  form->Show();
  harness::PumpMessages();
  ASSERT_EQ(Memo1(*form).Lines().Count(), 2);
  EXPECT_EQ(Memo1(*form).Lines()[1], u"two");
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(FormSettingsTest, ADamagedStoredValueCostsOnlyItself) {
  auto form = Open();
  form->FormStorage->SetStoredValue(u"Ratio", 2.5);
  form->FormStorage->SetStoredValue(u"Later", u"kept");
  CloseAndFree(form);
  const BYTE spoilt[3] = {1, 2, 3};
  RegSetKeyValueW(HKEY_CURRENT_USER, kFormKey, L"Ratio", REG_BINARY, spoilt, sizeof spoilt);

  form = MakeForm<TPlacementForm>(FApp.get());
  form->FormStorage->SetStoredValue(u"Ratio", 1.0);
  form->FormStorage->SetStoredValue(u"Later", u"design");
  int restoreEvents = 0;
  form->FormStorage->OnRestorePlacement = TNotifyEvent([&](TObject*) { ++restoreEvents; });
  form->FormStorage->AfterRestorePlacement = TNotifyEvent([&](TObject*) { ++restoreEvents; });
  form->Show();
  harness::PumpMessages();
  EXPECT_EQ(form->FormStorage->StoredValue(u"Ratio").AsDouble(), 1.0);
  EXPECT_EQ(form->FormStorage->StoredValue(u"Later").AsString(), u"kept");
  EXPECT_EQ(restoreEvents, 2);
  EXPECT_TRUE(FExceptions.empty()) << StringToUTF8(FExceptions.empty() ? String() : FExceptions[0]);
}

TEST_F(FormSettingsTest, ABarePlacementOnAFormNeverShownLeavesTheStoredPlaceAlone) {
  auto form = Open();
  form->SetBounds(150, 130, 500, 380);
  harness::PumpMessages();
  CloseAndFree(form);
  const auto stored = ReadRaw(kFormKey, L"NormPos");
  ASSERT_TRUE(stored.has_value());
  {
    auto bare = MakeForm<TPlacementForm>(FApp.get());
    auto* placement = new TSvFormPlacement(bare.get());
    placement->SetAppStorage(bare->AppStorage);
    placement->SetAppStoragePath(u"PlacementForm");
    placement->SaveFormPlacement();
  }
  harness::PumpMessages();
  EXPECT_EQ(ReadRaw(kFormKey, L"NormPos")->Text(), stored->Text());
}

TEST_F(FormSettingsTest, AFormClosedBeforeItWasShownWritesOnlyItsVersion) {
  auto form = MakeForm<TPlacementForm>(FApp.get());
  form->Panel1->SetWidth(77);
  form->FormStorage->SaveFormPlacement();
  form.reset();
  EXPECT_TRUE(ReadRaw(kFormKey, L"FormVersion").has_value());
  EXPECT_FALSE(ReadRaw(kFormKey, L"NormPos").has_value());
  EXPECT_FALSE(ReadRaw(kFormKey, L"Panel1_Width").has_value());
}

TEST_F(FormSettingsTest, AnotherVersionRestoresNothingButTheNextSaveWritesAll) {
  WriteRawNumber(kFormKey, L"FormVersion", 3);
  WriteRawText(kFormKey, L"NormPos", L"100,100,500,400");
  WriteRawNumber(kFormKey, L"PixelsPerInch", 96);
  WriteRawNumber(kFormKey, L"Panel1_Width", 150);
  auto form = MakeForm<TPlacementForm>(FApp.get());
  form->FormStorage->SetVersion(4);
  form->FormStorage->SetVersionCheck(fpvcCheckEqual);
  form->Show();
  harness::PumpMessages();
  EXPECT_EQ(WindowRect(*form).Left, 120);
  EXPECT_EQ(form->Panel1->Width(), 120);
  CloseAndFree(form);
  EXPECT_EQ(ReadRaw(kFormKey, L"FormVersion")->Number(), 4u);
  EXPECT_EQ(ReadRaw(kFormKey, L"Panel1_Width")->Number(), 120u);
}

std::vector<std::wstring> MenuCaptions(TMenuItem& menu) {
  std::vector<std::wstring> captions;
  HMENU handle = menu.Handle();
  const int count = GetMenuItemCount(handle);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    GetMenuStringW(handle, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(handle, static_cast<UINT>(i), TRUE, &info);
    captions.push_back((info.fType & MFT_SEPARATOR) != 0 ? L"-" : text);
  }
  return captions;
}

TEST_F(FormSettingsTest, TheRecentFilesMenuShowsTheOpenedFilesAndSurvivesARestart) {
  auto form = Open();
  for (const char16_t* path : {u"C:\\forms\\Unit1.dfm", u"C:\\forms\\Main.dfm", u"C:\\forms\\About.dfm"}) {
    form->MRUMan->Add(path, 0);
    form->MRUMan->Save();
  }
  const std::vector<std::wstring> expected = {
      L"&Open...", L"E&xit", L"-", L"&1 C:\\forms\\About.dfm", L"&2 C:\\forms\\Main.dfm", L"&3 C:\\forms\\Unit1.dfm"};
  EXPECT_EQ(MenuCaptions(*form->FileMenu), expected);
  // Opening a listed file again changes nothing with duplicates ignored.
  form->MRUMan->Add(u"c:\\FORMS\\unit1.dfm", 0);
  EXPECT_EQ(MenuCaptions(*form->FileMenu), expected);
  CloseAndFree(form);
  EXPECT_EQ(ReadRaw(std::wstring(kFormKey) + L"\\TPlacementForm.MRUMan", L"Item_0")->Text(), L"C:\\forms\\About.dfm");

  form = Open();
  EXPECT_EQ(MenuCaptions(*form->FileMenu), expected);
  // A click names its file, also after the menu was rebuilt under it.
  form->MRUMan->SetRemoveOnSelect(true);
  form->MRUMan->Items()[2]->Click();
  EXPECT_EQ(form->Clicked, (std::vector<String>{u"C:\\forms\\Main.dfm"}));
  EXPECT_EQ(MenuCaptions(*form->FileMenu).size(), expected.size() - 1);
  EXPECT_EQ(form->MRUMan->Strings().Count(), 2);
}

TEST_F(FormSettingsTest, AnOverlongStoredListIsCutToTheLimitWithLetterShortCuts) {
  const std::wstring key = std::wstring(kFormKey) + L"\\TPlacementForm.MRUMan";
  for (int i = 0; i < 40; ++i) WriteRawText(key, L"Item_" + std::to_wstring(i), L"D:\\f" + std::to_wstring(i));
  WriteRawText(key, L"User_0", L"not a number");
  auto form = MakeForm<TPlacementForm>(FApp.get());
  form->MRUMan->SetCapacity(12);
  form->Show();
  harness::PumpMessages();
  const std::vector<std::wstring> captions = MenuCaptions(*form->FileMenu);
  ASSERT_EQ(captions.size(), 2u + 1u + 12u);
  EXPECT_EQ(captions[3], L"&1 D:\\f0");
  EXPECT_EQ(captions[11], L"&9 D:\\f8");
  EXPECT_EQ(captions[12], L"&A D:\\f9");
  EXPECT_EQ(captions[14], L"&C D:\\f11");
}

TEST_F(FormSettingsTest, LongPathsAreShortenedInTheMenu) {
  auto form = Open();
  TSvMRUManager& mru = *form->MRUMan;
  const String longPath = u"C:\\Projects\\Customer Relations\\Version 2\\Sources\\Forms\\MainWindow.dfm";
  mru.Add(longPath, 0);
  mru.SetMaxLength(20);
  const std::wstring middle = MenuCaptions(*form->FileMenu).back();
  EXPECT_NE(middle.find(L"..."), std::wstring::npos);
  EXPECT_LT(middle.size(), longPath.size());
  mru.SetStartEllipsis(true);
  EXPECT_EQ(MenuCaptions(*form->FileMenu).back(), L"&1 ...Forms\\MainWindow.dfm");

  // A look at the window with its File menu open, as a person sees it.
  const wchar_t* folder = _wgetenv(L"KESTRUM_SCREENSHOTS");
  if (folder != nullptr && *folder != 0) {
    mru.SetStartEllipsis(false);
    for (const char16_t* path : {u"C:\\forms\\About.dfm", u"C:\\forms\\Main.dfm"}) mru.Add(path, 0);
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    static std::wstring shotPath;
    shotPath = std::wstring(folder) + L"\\placement-menu.bmp";
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      const int w = 700, h = 400;
      harness::Bitmap32 picture = harness::PaintInto(w, h, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, w, h, screen, 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screen);
      });
      picture.SaveBmp(shotPath);
      EndMenu();
    });
    TrackPopupMenu(form->FileMenu->Handle(), TPM_RETURNCMD, r.left + 10, r.top + 30, 0, form->Handle(), nullptr);
  }
}

}  // namespace

namespace {

TEST_F(FormSettingsTest, APositionFromAnotherPixelDensityIsLeftButTheStateStillApplies) {
  WriteRawText(kFormKey, L"NormPos", L"300,200,700,500");
  WriteRawNumber(kFormKey, L"PixelsPerInch", 120);
  WriteRawNumber(kFormKey, L"ShowCmd", SW_SHOWMAXIMIZED);
  auto form = Open();
  EXPECT_EQ(form->WindowState(), wsMaximized);
  form->SetWindowState(wsNormal);
  Settle();
  EXPECT_EQ(WindowRect(*form).Left, 120);
  EXPECT_EQ(WindowRect(*form).Top, 100);
}

TEST_F(FormSettingsTest, ThePositionKeptForThisDesktopSizeWinsOverTheLatest) {
  WriteRawText(kFormKey, L"NormPos", L"300,200,700,500");
  WriteRawText(kFormKey, L"NormPos(640x480)", L"10,10,200,200");
  WriteRawNumber(kFormKey, L"PixelsPerInch", 96);
  {
    auto form = Open();
    EXPECT_EQ(WindowRect(*form), Rect(300, 200, 700, 500));
  }
  WriteRawText(kFormKey, L"NormPos" + DesktopTag(), L"40,50,340,350");
  auto form = Open();
  EXPECT_EQ(WindowRect(*form), Rect(40, 50, 340, 350));
}

TEST_F(FormSettingsTest, PreventResizeTakesTheSizingBordersAndTheMaximiseButton) {
  auto form = Open();
  form->FormStorage->SetPreventResize(true);
  Settle();
  EXPECT_FALSE(form->BorderIcons().Contains(biMaximize));
  const TRect r = WindowRect(*form);
  // The bottom-right corner of the frame sizes no more.
  const LRESULT hit = SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.Right - 2, r.Bottom - 2));
  EXPECT_EQ(hit, HTNOWHERE);
  MINMAXINFO info{};
  SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, form->Width());
  EXPECT_EQ(info.ptMaxTrackSize.y, form->Height());
  form->FormStorage->SetPreventResize(false);
  EXPECT_TRUE(form->BorderIcons().Contains(biMaximize));
}

TEST_F(FormSettingsTest, WithPreventResizeAPopUpReachesTheMainMenuFirstAndSizingIsGreyed) {
  auto form = Open();
  form->FormStorage->SetPreventResize(true);
  auto* action = new TAction(form.get());
  int updates = 0;
  action->OnUpdate = TNotifyEvent([&](TObject*) { ++updates; });
  auto* item = new TMenuItem(form.get());
  item->SetAction(action);
  form->FileMenu->Add(item);
  HMENU system = GetSystemMenu(form->Handle(), FALSE);
  ASSERT_NE(system, nullptr);
  // A pop-up flagged as the system menu's: the main menu is told first.
  SendMessageW(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(form->FileMenu->Handle()),
               MAKELPARAM(0, TRUE));
  EXPECT_GT(updates, 0);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE)), 1);
  EXPECT_TRUE(GetMenuState(system, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(system, SC_MAXIMIZE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(FormSettingsTest, TheMinMaxInfoSetsTheTrackingSizes) {
  auto form = Open();
  TSvWinMinMaxInfo& info = *form->FormStorage->MinMaxInfo();
  info.SetValue(TSvWinMinMaxInfo::MinTrackWidth, 300);
  info.SetValue(TSvWinMinMaxInfo::MaxTrackHeight, 500);
  MINMAXINFO asked{};
  asked.ptMaxTrackSize = POINT{4000, 3000};
  SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&asked));
  EXPECT_EQ(asked.ptMinTrackSize.x, 300);
  EXPECT_EQ(asked.ptMaxTrackSize.y, 500);
  EXPECT_EQ(asked.ptMaxTrackSize.x, 4000);
  form->SetBounds(form->Left(), form->Top(), 100, 100);
  Settle();
  EXPECT_GE(WindowRect(*form).Width(), 300);
}

// A File menu of a few commands, built in code, with the manager beside it.
class RecentMenuTest : public FormSettingsTest {
 protected:
  void SetUp() override {
    FormSettingsTest::SetUp();
    FForm = MakeForm<TForm>(FApp.get());
    FMenu = new TMainMenu(FForm.get());
    FFile = new TMenuItem(FForm.get());
    FFile->SetCaption(u"&File");
    FMenu->Items()->Add(FFile);
    for (const char16_t* caption : {u"&Open...", u"Recent", u"E&xit"}) {
      auto* item = new TMenuItem(FForm.get());
      item->SetCaption(caption);
      FFile->Add(item);
    }
    FManager = new TSvMRUManager(FForm.get());
    FManager->SetName(u"MRU");
  }
  void TearDown() override {
    FForm.reset();
    FormSettingsTest::TearDown();
  }
  std::vector<String> Captions(TMenuItem& menu) const {
    std::vector<String> captions;
    for (int i = 0; i < menu.Count(); ++i) captions.push_back(menu.Items(i)->Caption());
    return captions;
  }
  TFormPtr<TForm> FForm;
  TMainMenu* FMenu = nullptr;
  TMenuItem* FFile = nullptr;
  TSvMRUManager* FManager = nullptr;
};

TEST_F(RecentMenuTest, SiblingEntriesFollowTheirItemAndSeparatorsSplitGroups) {
  FManager->SetMenuLocation(mruSibling);
  FManager->SetRecentMenu(FFile->Items(1));
  FManager->SetSeparateSize(2);
  for (const char16_t* name : {u"c.dfm", u"b.dfm", u"a.dfm"}) FManager->Add(name, 0);
  EXPECT_EQ(Captions(*FFile), (std::vector<String>{u"&Open...", u"Recent", u"-", u"&1\ta.dfm", u"&2\tb.dfm", u"-",
                                                   u"&3\tc.dfm", u"E&xit"}));
  EXPECT_TRUE(FManager->IsMenuEnabled());
  FManager->Clear();
  EXPECT_EQ(Captions(*FFile), (std::vector<String>{u"&Open...", u"Recent", u"E&xit"}));
  EXPECT_FALSE(FFile->Items(1)->Enabled());
}

TEST_F(RecentMenuTest, ItemDataCaptionsHintsAndAccelerators) {
  FManager->SetRecentMenu(FFile->Items(1));
  FManager->SetStartAccel(9);
  FManager->OnGetItemData = TGetItemEvent([](TObject*, String& caption, TShortCut& shortCut, Integer userData) {
    caption += u"|hint " + IntToStr(userData);
    shortCut = static_cast<TShortCut>(0x4000 + 'A' + userData);
  });
  FManager->Add(u"x.dfm", 1);
  FManager->Add(u"y.dfm", 2);
  TMenuItem& recent = *FFile->Items(1);
  ASSERT_EQ(recent.Count(), 2);
  EXPECT_EQ(recent.Items(0)->Caption(), u"&9\ty.dfm");
  EXPECT_EQ(recent.Items(0)->Hint(), u"hint 2");
  EXPECT_EQ(recent.Items(1)->Caption(), u"&A\tx.dfm");
  EXPECT_EQ(recent.Items(1)->ShortCut(), 0x4000 + 'A' + 1);
  FManager->SetShowAccelChar(false);
  EXPECT_EQ(recent.Items(0)->Caption(), u"y.dfm");
}

TEST_F(RecentMenuTest, AnAddIsOneChangeAndOneRebuildAndAmpersandsShow) {
  FManager->SetRecentMenu(FFile->Items(1));
  FManager->SetCapacity(2);
  int changes = 0;
  int rebuilds = 0;
  Integer largest = 0;
  FManager->OnChange = TNotifyEvent([&](TObject*) {
    ++changes;
    largest = std::max(largest, FManager->Strings().Count());
  });
  FManager->OnAfterUpdate = TNotifyEvent([&](TObject*) { ++rebuilds; });
  for (const char16_t* name : {u"a.dfm", u"b.dfm", u"R&D\\Sales & Marketing.dfm"}) FManager->Add(name, 7);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(rebuilds, 3);
  EXPECT_EQ(largest, 2);
  EXPECT_EQ(Captions(*FFile->Items(1)),
            (std::vector<String>{u"&1\tR&&D\\Sales && Marketing.dfm", u"&2\tb.dfm"}));
  EXPECT_EQ(FManager->Strings().UserData(0), 7);
}

TEST_F(RecentMenuTest, DuplicatesAreIgnoredAcceptedOrRefused) {
  FManager->SetRecentMenu(FFile);
  FManager->Add(u"a.dfm", 0);
  FManager->Add(u"b.dfm", 0);
  FManager->Add(u"A.DFM", 0);
  EXPECT_EQ(FManager->Strings()[0], u"b.dfm");
  FManager->SetDuplicates(dupError);
  try {
    FManager->Add(u"a.dfm", 0);
    ADD_FAILURE() << "no exception";
  } catch (const ESvcException& e) {
    EXPECT_EQ(e.Message(), u"Duplicates not allowed in MRU list");
  }
  EXPECT_EQ(FManager->Strings().Count(), 2);
  FManager->SetDuplicates(dupAccept);
  FManager->Add(u"a.dfm", 0);
  EXPECT_EQ(FManager->Strings()[0], u"a.dfm");
}

TEST_F(RecentMenuTest, AMenuFreedBeforeTheManagerTakesItsEntriesAlong) {
  FManager->SetRecentMenu(FFile->Items(1));
  FManager->Add(u"a.dfm", 0);
  ASSERT_EQ(FManager->Items().size(), 1u);
  delete FFile->Items(1);
  EXPECT_EQ(FManager->RecentMenu(), nullptr);
  EXPECT_TRUE(FManager->Items().empty());
  FManager->Add(u"b.dfm", 0);
  EXPECT_EQ(FManager->Strings().Count(), 2);
}

}  // namespace

namespace {

TEST_F(FormSettingsTest, AMainWindowClosedMinimisedReopensThroughTheMinimiseCommand) {
  auto form = Open();
  FApp->SetMainForm(form.get());
  FApp->Minimize();
  Settle();
  CloseAndFree(form);
  EXPECT_EQ(ReadRaw(kFormKey, L"ShowCmd")->Number(), static_cast<DWORD>(SW_SHOWMINIMIZED));

  form = MakeForm<TPlacementForm>(FApp.get());
  FApp->SetMainForm(form.get());
  form->Show();
  // Shown first as a normal window, then minimised by the command.
  EXPECT_NE(form->WindowState(), wsMinimized);
  Settle();
  EXPECT_TRUE(IsIconic(form->Handle()));
  form.reset();
}

}  // namespace

namespace {

TEST_F(RecentMenuTest, AListStoredWithTwinNamesReadsOnceEvenWhenDuplicatesAreErrors) {
  TSvAppRegistryStorage store(nullptr);
  store.SetRoot(u"Software\\Kestrum Tests\\Placement");
  store.WriteString(u"Twins\\Item_0", u"a.dfm");
  store.WriteString(u"Twins\\Item_1", u"A.DFM");
  store.WriteString(u"Twins\\Item_2", u"b.dfm");
  FManager->SetRecentMenu(FFile);
  FManager->SetDuplicates(dupError);
  FManager->LoadFromAppStorage(&store, u"Twins");
  EXPECT_EQ(FManager->Strings().ToStringArray(), (std::vector<String>{u"A.DFM", u"b.dfm"}));
}

}  // namespace

namespace {

TEST_F(FormSettingsTest, TheFormNameInThePathIsResolvedForFormsAndFrames) {
  auto form = MakeForm<TForm>(FApp.get());
  form->SetName(u"Owner1");
  auto* frame = new TFrame(form.get());
  frame->SetName(u"Frame1");
  auto* onForm = new TSvFormPlacement(form.get());
  auto* onFrame = new TSvFormPlacement(frame);
  auto* elsewhere = new TSvFormPlacement(nullptr);
  for (TSvFormPlacement* placement : {onForm, onFrame, elsewhere}) placement->SetAppStoragePath(u"x\\%form_name%");
  EXPECT_EQ(onForm->AppStoragePath(), u"x\\Owner1\\");
  EXPECT_EQ(onFrame->AppStoragePath(), u"x\\Owner1.Frame1\\");
  EXPECT_EQ(elsewhere->AppStoragePath(), u"x\\%form_name%\\");
  EXPECT_EQ(onForm->Options(), kDefaultPlacementOptions);
  EXPECT_EQ(onFrame->Options(), TPlacementOptions{});
  delete elsewhere;
}

TEST_F(FormSettingsTest, TypedValuesLiveBelowTheFormsFolderAndNeedAStoreAndAName) {
  auto form = MakeForm<TPlacementForm>(FApp.get());
  TSvFormStorage& storage = *form->FormStorage;
  storage.WriteInteger(u"Count", 7);
  storage.WriteString(u"Text", u"words");
  storage.WriteBoolean(u"Flag", true);
  storage.WriteFloat(u"Ratio", 0.25);
  storage.WriteInteger(u"", 99);
  EXPECT_EQ(ReadRaw(kFormKey, L"Count")->Number(), 7u);
  EXPECT_EQ(storage.ReadString(u"Text"), u"words");
  EXPECT_TRUE(storage.ReadBoolean(u"Flag", false));
  EXPECT_DOUBLE_EQ(storage.ReadFloat(u"Ratio", 0), 0.25);
  EXPECT_EQ(storage.ReadInteger(u"", 5), 5);
  storage.DeleteValue(u"Count");
  EXPECT_EQ(storage.ReadInteger(u"Count", -1), -1);

  storage.SetAppStorage(nullptr);
  EXPECT_EQ(storage.ReadString(u"Text", u"default"), u"default");
  storage.WriteString(u"Text", u"lost");
  storage.SaveFormPlacement();
  storage.SetAppStorage(form->AppStorage);
  EXPECT_EQ(storage.ReadString(u"Text"), u"words");
  storage.EraseSections();
  EXPECT_FALSE(ReadRaw(kFormKey, L"Text").has_value());
}

TEST_F(FormSettingsTest, AStoreFreedFirstLeavesThePlacementWithoutOne) {
  auto form = MakeForm<TPlacementForm>(FApp.get());
  delete form->AppStorage;
  EXPECT_EQ(form->FormStorage->AppStorage(), nullptr);
  EXPECT_FALSE(form->FormStorage->IsActive());
  form->Show();
  harness::PumpMessages();
  EXPECT_TRUE(FExceptions.empty());
}

}  // namespace
