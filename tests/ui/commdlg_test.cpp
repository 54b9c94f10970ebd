// The common dialogs: answered by the application's hook, the system's file
// buffer read right, the modeless find dialog driven for real through the
// application's message loop, and the dialogs read from a form.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include "ui/commdlg.h"
#include "ui/uitest.h"

class TCommonDialogsForm : public TForm {
  KST_CLASS(TCommonDialogsForm, TForm)
 public:
  using TForm::TForm;
  TOpenDialog* od = nullptr;
  TSaveDialog* sd = nullptr;
  TReplaceDialog* rd = nullptr;
  TFontDialog* fd = nullptr;
  TColorDialog* cd = nullptr;
  TPrintDialog* pd = nullptr;
  int Finds = 0;
  int Replaces = 0;
  void rdFind(TObject*) { ++Finds; }
  void rdReplace(TObject*) { ++Replaces; }
};

KST_CLASS_IMPL(TCommonDialogsForm, "UiTests")

void TCommonDialogsForm::Describe(TClassBuilder<TCommonDialogsForm>& c) {
  c.Field(u"od", &TCommonDialogsForm::od);
  c.Field(u"sd", &TCommonDialogsForm::sd);
  c.Field(u"rd", &TCommonDialogsForm::rd);
  c.Field(u"fd", &TCommonDialogsForm::fd);
  c.Field(u"cd", &TCommonDialogsForm::cd);
  c.Field(u"pd", &TCommonDialogsForm::pd);
  c.Method(u"rdFind", &TCommonDialogsForm::rdFind);
  c.Method(u"rdReplace", &TCommonDialogsForm::rdReplace);
}

namespace {

using CommonDialogsTest = UiTest;

TEST_F(CommonDialogsTest, OpenAndSaveDialogsAreAnsweredByTheHook) {
  TFormPtr<TForm> form = MakeForm<TForm>(nullptr);
  auto* od = new TOpenDialog(form.get());
  od->SetFilter(u"Delphi Form files|*.dfm|All files|*.*");
  od->SetOptions({ofHideReadOnly, ofAllowMultiSelect, ofPathMustExist, ofFileMustExist, ofEnableSizing});
  auto* sd = new TSaveDialog(form.get());
  sd->SetDefaultExt(u"dfm");
  sd->SetOptions({ofOverwritePrompt, ofHideReadOnly, ofEnableSizing});

  std::vector<TCommonDialog*> asked;
  DWORD openFlags = 0, saveFlags = 0;
  bool confirm = true;
  FApp->CommonDialogHook = [&](TCommonDialog& d) {
    asked.push_back(&d);
    if (&d == sd) {
      saveFlags = sd->SystemFlags();
      sd->SetFileName(u"C:\\forms\\copy.dfm");
      return confirm;
    }
    openFlags = od->SystemFlags();
    od->Files().Clear();
    od->Files().Add(u"C:\\forms\\a.dfm");
    od->Files().Add(u"C:\\forms\\b.dfm");
    od->SetFileName(u"C:\\forms\\a.dfm");
    od->SetFilterIndex(2);
    return confirm;
  };
  ASSERT_TRUE(od->Execute());
  EXPECT_EQ(od->Files().Count(), 2);
  EXPECT_EQ(od->Files()[1], u"C:\\forms\\b.dfm");
  EXPECT_EQ(od->FilterIndex(), 2);
  const DWORD wanted = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  EXPECT_EQ(openFlags & wanted, wanted);
  EXPECT_EQ(openFlags & OFN_OVERWRITEPROMPT, 0u);

  ASSERT_TRUE(sd->Execute());
  EXPECT_EQ(sd->FileName(), u"C:\\forms\\copy.dfm");
  EXPECT_NE(saveFlags & OFN_OVERWRITEPROMPT, 0u);
  confirm = false;
  EXPECT_FALSE(sd->Execute());
  EXPECT_EQ(asked, (std::vector<TCommonDialog*>{od, sd, sd}));

  // The other dialogs too never reach the system while the hook answers.
  auto* fd = new TFontDialog(form.get());
  auto* cd = new TColorDialog(form.get());
  auto* pd = new TPrintDialog(form.get());
  for (TCommonDialog* d : std::initializer_list<TCommonDialog*>{fd, cd, pd}) {
    confirm = true;
    EXPECT_TRUE(d->Execute());
    EXPECT_EQ(asked.back(), d);
  }
}

// Answers the next system dialog of this thread as a person would: types
// the text into its file name box and presses OK once it is shown.
class TDialogTypist {
 public:
  explicit TDialogTypist(std::wstring text) : FText(std::move(text)) {
    Current() = this;
    FHook = SetWindowsHookExW(WH_CBT, &TDialogTypist::Proc, nullptr, GetCurrentThreadId());
  }
  ~TDialogTypist() {
    UnhookWindowsHookEx(FHook);
    Current() = nullptr;
  }
  int Answered = 0;

 private:
  static TDialogTypist*& Current() {
    static TDialogTypist* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    TDialogTypist* self = Current();
    auto window = reinterpret_cast<HWND>(wParam);
    wchar_t className[16]{};
    if (self && code == HCBT_ACTIVATE && GetClassNameW(window, className, 16) && std::wstring(className) == L"#32770") {
      HWND box = GetDlgItem(window, cmb13) ? GetDlgItem(window, cmb13) : GetDlgItem(window, edt1);
      if (box && !self->FText.empty()) SetWindowTextW(box, self->FText.c_str());
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
      ++self->Answered;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  std::wstring FText;
  HHOOK FHook = nullptr;
};

TEST_F(CommonDialogsTest, TheSystemsOpenDialogGivesSeveralFiles) {
  wchar_t temp[MAX_PATH]{};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"kestrum-open-dialog";
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const wchar_t* name : {L"\\a.dfm", L"\\b c.dfm"}) {
    HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
  }
  TFormPtr<TForm> form = MakeForm<TForm>(nullptr);
  auto* od = new TOpenDialog(form.get());
  od->SetFilter(u"Delphi Form files|*.dfm|All files|*.*");
  od->SetFilterIndex(2);
  od->SetInitialDir(FromWStr(folder.c_str()));
  od->SetOptions({ofHideReadOnly, ofAllowMultiSelect, ofPathMustExist, ofFileMustExist, ofEnableSizing});
  {
    TDialogTypist typist(L"\"a.dfm\" \"b c.dfm\"");
    ASSERT_TRUE(od->Execute(form->Handle()));
    EXPECT_EQ(typist.Answered, 1);
  }
  String base = FromWStr(folder.c_str()) + u"\\";
  ASSERT_EQ(od->Files().Count(), 2);
  EXPECT_EQ(od->Files()[0], base + u"a.dfm");
  EXPECT_EQ(od->Files()[1], base + u"b c.dfm");
  EXPECT_EQ(od->FileName(), base + u"a.dfm");
  EXPECT_EQ(od->FilterIndex(), 2);

  // One file, chosen with a longer name given first: nothing of it is left.
  od->SetOptions({ofHideReadOnly, ofFileMustExist});
  od->SetFileName(base + u"a-much-longer-name-than-the-one-chosen.dfm");
  {
    TDialogTypist typist(L"a.dfm");
    ASSERT_TRUE(od->Execute(form->Handle()));
  }
  EXPECT_EQ(od->FileName(), base + u"a.dfm");
  EXPECT_EQ(od->Files().Count(), 1);
  for (const wchar_t* name : {L"\\a.dfm", L"\\b c.dfm"}) DeleteFileW((folder + name).c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(CommonDialogsTest, TheSystemsFontAndColourDialogsGiveBackWhatTheyWereGiven) {
  TFormPtr<TForm> form = MakeForm<TForm>(nullptr);
  auto* fd = new TFontDialog(form.get());
  // A face the dialog lists here.
  ASSERT_GT(Screen->Fonts().Count(), 0);
  const String face = Screen->Fonts()[Screen->Fonts().Count() - 1];
  fd->Font().SetName(face);
  fd->Font().SetHeight(-13);
  fd->Font().SetStyle({fsBold, fsItalic});
  fd->Font().SetColor(clRed);
  {
    TDialogTypist typist(L"");
    ASSERT_TRUE(fd->Execute(form->Handle()));
    EXPECT_EQ(typist.Answered, 1);
  }
  EXPECT_EQ(fd->Font().Name(), face);
  EXPECT_EQ(fd->Font().Height(), -13);
  EXPECT_EQ(fd->Font().Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(fd->Font().Color(), static_cast<TColor>(0x0000FF));

  auto* cd = new TColorDialog(form.get());
  cd->SetColor(static_cast<TColor>(0x123456));
  cd->CustomColors()->Add(u"ColorB=00FF00");
  {
    TDialogTypist typist(L"");
    ASSERT_TRUE(cd->Execute(form->Handle()));
  }
  EXPECT_EQ(cd->Color(), static_cast<TColor>(0x123456));
  ASSERT_EQ(cd->CustomColors()->Count(), 16);
  EXPECT_EQ(cd->CustomColors()->Values(u"ColorA"), u"FFFFFF");
  EXPECT_EQ(cd->CustomColors()->Values(u"ColorB"), u"00FF00");
}

TEST_F(CommonDialogsTest, TheFileBufferOfTheSystemDialogIsReadRight) {
  struct Case {
    const char* what;
    std::wstring buffer;
    std::vector<String> files;
  } cases[] = {
      {"one file", std::wstring(L"C:\\forms\\Main.dfm\0\0", 19), {u"C:\\forms\\Main.dfm"}},
      {"several in a folder",
       std::wstring(L"C:\\forms\0a.dfm\0b c.dfm\0\u00DCber.dfm\0\0", 36),
       {u"C:\\forms\\a.dfm", u"C:\\forms\\b c.dfm", u"C:\\forms\\\u00DCber.dfm"}},
      {"several at a root", std::wstring(L"C:\\\0a.dfm\0b.dfm\0\0", 17), {u"C:\\a.dfm", u"C:\\b.dfm"}},
      {"no closing null", std::wstring(L"C:\\x.dfm", 8), {u"C:\\x.dfm"}},
      {"nothing", std::wstring(L"\0\0", 2), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseOpenFileNames(c.buffer.data(), c.buffer.size()), c.files) << c.what;
  EXPECT_TRUE(ParseOpenFileNames(nullptr, 10).empty());

  EXPECT_EQ(SystemFilter(u"Delphi Form files|*.dfm|All files|*.*"),
            String(u"Delphi Form files\0*.dfm\0All files\0*.*\0\0", 39));
  EXPECT_EQ(SystemFilter(u"Packages|*.bpl;*.dpl|Dangling"), String(u"Packages\0*.bpl;*.dpl\0\0", 22));
  EXPECT_EQ(SystemFilter(u""), u"");
}

TEST_F(CommonDialogsTest, TheFindDialogReportsThroughTheApplicationsLoop) {
  // A form with text to search in and a default button that must not hear
  // the dialog's Enter.
  TFormPtr<TForm> form = MakeForm<TForm>(nullptr);
  form->SetCaption(u"Needle in a haystack");
  auto* button = new TButton(form.get());
  button->SetParent(form.get());
  button->SetDefault(true);
  int buttonClicks = 0;
  button->OnClick = TNotifyEvent([&](TObject*) { ++buttonClicks; });
  form->HandleNeeded();

  auto* find = new TFindDialog(form.get());
  find->SetFindText(u"hay");
  find->SetOptions({frDown, frMatchCase});
  struct Report {
    String Text;
    TFindOptions Options;
  };
  std::vector<Report> reports;
  int closes = 0;
  find->OnFind = TNotifyEvent([&](TObject*) { reports.push_back({find->FindText(), find->Options()}); });
  find->OnClose = TNotifyEvent([&](TObject*) { ++closes; });
  ASSERT_TRUE(find->Execute(form->Handle()));
  HWND dialog = find->Handle();
  ASSERT_TRUE(dialog && IsWindow(dialog));
  Pump();
  wchar_t shown[64]{};
  GetDlgItemTextW(dialog, edt1, shown, 64);
  EXPECT_EQ(FromWStr(shown), u"hay");
  EXPECT_EQ(IsDlgButtonChecked(dialog, chx2), static_cast<UINT>(BST_CHECKED)) << "match case";
  EXPECT_EQ(GetWindow(dialog, GW_OWNER) ? GetWindow(GetWindow(dialog, GW_OWNER), GW_OWNER) : nullptr, form->Handle())
      << "in front of the form that opened it";

  // Typed text and Find Next pressed.
  SetDlgItemTextW(dialog, edt1, L"Z\u00FCrich");
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  Pump();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].Text, u"Z\u00FCrich");
  EXPECT_TRUE(reports[0].Options.Contains(frFindNext));
  EXPECT_TRUE(reports[0].Options.Contains(frDown));
  EXPECT_TRUE(reports[0].Options.Contains(frMatchCase));
  EXPECT_FALSE(reports[0].Options.Contains(frWholeWord));

  // Enter in the dialog's edit: the loop hands it to the dialog, not to the form.
  SetActiveWindow(dialog);
  Pump();
  EXPECT_EQ(FApp->DialogHandle(), dialog);
  CheckDlgButton(dialog, chx1, BST_CHECKED);
  CheckDlgButton(dialog, chx2, BST_UNCHECKED);
  CheckRadioButton(dialog, rad1, rad2, rad1);
  PostMessageW(GetDlgItem(dialog, edt1), WM_KEYDOWN, VK_RETURN, 1);
  Pump();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ((reports[1].Options * TFindOptions{frDown, frMatchCase, frWholeWord}), (TFindOptions{frWholeWord}));
  EXPECT_EQ(buttonClicks, 0);
  // Tab moves within the dialog: the form that owns it does not take the key.
  SetFocus(GetDlgItem(dialog, edt1));
  PostMessageW(GetDlgItem(dialog, edt1), WM_KEYDOWN, VK_TAB, 1);
  Pump();
  EXPECT_NE(GetFocus(), GetDlgItem(dialog, edt1));
  EXPECT_TRUE(IsChild(dialog, GetFocus()));

  // Executed again while open: the same window, showing the new text.
  find->SetFindText(u"straw");
  EXPECT_TRUE(find->Execute());
  EXPECT_EQ(find->Handle(), dialog);
  GetDlgItemTextW(dialog, edt1, shown, 64);
  EXPECT_EQ(FromWStr(shown), u"straw");

  find->CloseDialog();
  Pump();
  EXPECT_EQ(find->Handle(), nullptr);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(FApp->DialogHandle(), nullptr);
  EXPECT_EQ(find->FindText(), u"straw");
}

TEST_F(CommonDialogsTest, TheReplaceDialogReportsReplaceAll) {
  TFormPtr<TForm> form = MakeForm<TForm>(nullptr);
  form->HandleNeeded();
  auto* replace = new TReplaceDialog(form.get());
  replace->SetFindText(u"old");
  replace->SetReplaceText(u"new");
  std::vector<TFindOptions> replaced;
  String with;
  replace->OnReplace = TNotifyEvent([&](TObject*) {
    replaced.push_back(replace->Options());
    with = replace->ReplaceText();
  });
  ASSERT_TRUE(replace->Execute(form->Handle()));
  HWND dialog = replace->Handle();
  SetDlgItemTextW(dialog, edt2, L"newer");
  PostMessageW(GetDlgItem(dialog, psh2), BM_CLICK, 0, 0);
  Pump();
  ASSERT_EQ(replaced.size(), 1u);
  EXPECT_TRUE(replaced[0].Contains(frReplaceAll));
  EXPECT_EQ(with, u"newer");
  // The owner's window made again takes the dialog along; it opens again.
  form->RecreateWnd();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(replace->Handle(), nullptr);
  ASSERT_TRUE(replace->Execute(form->Handle()));
  dialog = replace->Handle();
  EXPECT_TRUE(IsWindow(dialog));
  wchar_t shown[16]{};
  GetDlgItemTextW(dialog, edt2, shown, 16);
  EXPECT_EQ(FromWStr(shown), u"newer");
  // Freed while open: the window goes with it.
  delete replace;
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(FApp->DialogHandle(), nullptr);
}

TEST_F(CommonDialogsTest, FormsReadTheDialogsAsTheDesignerWritesThem) {
  TFormPtr<TCommonDialogsForm> form = MakeForm<TCommonDialogsForm>(nullptr);
  ASSERT_TRUE(form->od && form->sd && form->rd && form->fd && form->cd && form->pd);
  EXPECT_EQ(form->od->Filter(), u"Delphi Form files|*.dfm|All files|*.*");
  EXPECT_EQ(form->od->Options(),
            (TOpenOptions{ofHideReadOnly, ofAllowMultiSelect, ofPathMustExist, ofFileMustExist, ofEnableSizing}));
  EXPECT_EQ(form->od->FilterIndex(), 1);
  EXPECT_EQ(form->od->DesignInfo(), 8 | (16 << 16)) << "left in the low word, top in the high";
  EXPECT_EQ(form->sd->DefaultExt(), u"dfm");
  EXPECT_TRUE(form->sd->Options().Contains(ofOverwritePrompt));
  EXPECT_EQ(form->rd->Options(), (TFindOptions{frDown, frMatchCase}));
  form->rd->OnFind(form->rd);
  form->rd->OnReplace(form->rd);
  EXPECT_EQ(form->Finds, 1);
  EXPECT_EQ(form->Replaces, 1);
  EXPECT_EQ(form->fd->Font().Name(), u"Courier New");
  EXPECT_EQ(form->fd->Font().Style(), TFontStyles{fsBold});
  EXPECT_EQ(form->cd->Color(), clRed);
  EXPECT_EQ(form->cd->CustomColors()->Values(u"ColorB"), u"00FF00");
  EXPECT_EQ(form->pd->Copies(), 2);
  EXPECT_EQ(form->pd->Options(), (TPrintDialogOptions{poPageNums, poSelection}));
  EXPECT_EQ(form->pd->SystemFlags() & (PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE),
            static_cast<DWORD>(PD_HIDEPRINTTOFILE));
}

}  // namespace
