// The program's main window and editor windows driven as a person would:
// menu commands and messages, with the message boxes and the common
// dialogs answered by the application's test hooks and the "Save as"
// question answered by a click while it is shown.
#include "ui/winapi.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <vector>

#include "app/formdocument.h"
#include "app/win32/aboutbox.h"
#include "app/win32/editorform.h"
#include "app/win32/mainform.h"
#include "app/win32/prefsdialog.h"
#include "app/win32/typedialog.h"
#include "classes/reflection.h"
#include "codeedit/editcaret.h"
#include "codeedit/edittext.h"
#include "codeedit/win32/codeedit.h"
#include "livetree/win32/livetreecontrol.h"
#include "panelkit/win32/headerpanel.h"
#include "panelkit/win32/pagecontrol.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"
#include "services/fileversion.h"
#include "services/win32/mrumanager.h"
#include "services/win32/servicesuitest.h"
#include "support/win32/harness.h"
#include "ui/dialogs.h"
#include "winbar/win32/mdibuttongroup.h"

namespace {

namespace fs = std::filesystem;

const char kFormText[] =
    "object Form1: TForm1\r\n"
    "  Left = 10\r\n"
    "  Caption = 'Caf\xE9'\r\n"
    "  object Button1: TButton\r\n"
    "    Caption = 'OK'\r\n"
    "  end\r\n"
    "end\r\n";

TBytes Bytes(const std::string& text) {
  return TBytes(text.begin(), text.end());
}

TBytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const TBytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

String PathString(const fs::path& path) {
  return FromWStr(path.wstring().c_str());
}

// The lines of the test form as the program reads them.
std::unique_ptr<TStringList> FormLines() {
  auto lines = std::make_unique<TStringList>();
  TBytesStream stream(Bytes(kFormText));
  lines->LoadFromStream(stream);
  return lines;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterKestrumClasses(FRegistry);
    FApp = std::make_unique<TApplication>(nullptr, FRegistry);
    FApp->SetTitle(u"Kestrum");
    FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
    FApp->MessageBoxHook = [this](const TMessageBoxRequest& request) {
      FExceptions.push_back(request.Text);
      return IDOK;
    };
    FApp->MessageDlgHook = [this](const TMessageDlgRequest& request) {
      FDialogs.push_back(request);
      return FDialogAnswer;
    };
    FApp->CommonDialogHook = [this](TCommonDialog& dialog) {
      ++FCommonDialogs;
      if (FChosenFile.empty()) return false;
      if (auto* open = dynamic_cast<TOpenDialog*>(&dialog)) {
        open->SetFileName(FChosenFile);
        open->Files().Clear();
        open->Files().Add(FChosenFile);
      }
      return true;
    };
    FFolder = fs::temp_directory_path() / ("kestrum_app_" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(FFolder);
    fs::create_directories(FFolder);
    ClearSettings();
  }

  void TearDown() override {
    if (FMain) FMain->Free();
    FMain = nullptr;
    FApp.reset();
    harness::PumpMessages();
    for (const auto& entry : fs::recursive_directory_iterator(FFolder))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(FFolder);
    ClearSettings();
  }

  static void ClearSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Obrix\\Kestrum\\6.x"); }

  void StartMain() {
    FMain = CreateForm<Twnd_kst_Main>(FApp.get());
    FApp->SetMainForm(FMain);
    FMain->Show();
    Pump();
  }

  void Pump() {
    for (int i = 0; i < 3; ++i) FApp->ProcessMessages();
  }

  fs::path WriteForm(const char* name, TDataFormat format) {
    const fs::path path = FFolder / name;
    WriteBytes(path, format == dfText ? Bytes(kFormText) : FormFileBytes(*FormLines(), format));
    return path;
  }

  // Types one character into the editor as the keyboard would.
  static void Type(Tmdi_kst_Editor& editor, wchar_t c) { harness::SendChar(editor.DFM->Handle(), c); }
  // Makes "Left = 10" read "Left = 105": a change every encoding can hold.
  static void ChangeLeft(Tmdi_kst_Editor& editor) {
    harness::SendKey(editor.DFM->Handle(), VK_DOWN);
    harness::SendKey(editor.DFM->Handle(), VK_END);
    Type(editor, L'5');
  }
  static String ChangedText() {
    String text = FormLines()->Text();
    text.replace(text.find(u"Left = 10"), 9, u"Left = 105");
    return text;
  }

  // Answers the next "Save as" encoding question with the item and OK.
  static void AnswerTypeDialog(int item) {
    FTypeItem = item;
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* dialog = dynamic_cast<TdlgType*>(Screen->Forms(i)); dialog && dialog->Visible()) {
          KillTimer(nullptr, id);
          dialog->rgType->SetItemIndex(FTypeItem);
          dialog->SetModalResult(mrOk);
          return;
        }
    });
  }

  // Runs the step on the preferences dialog once it shows, then ends it
  // with the step's answer.
  static void AnswerPrefs(std::function<TModalResult(Tdlg_kst_Prefs&)> step) {
    FPrefsStep = std::move(step);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* dialog = dynamic_cast<Tdlg_kst_Prefs*>(Screen->Forms(i)); dialog && dialog->Visible()) {
          KillTimer(nullptr, id);
          dialog->SetModalResult(FPrefsStep(*dialog));
          return;
        }
    });
  }
  static inline std::function<TModalResult(Tdlg_kst_Prefs&)> FPrefsStep;

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  Twnd_kst_Main* FMain = nullptr;
  fs::path FFolder;
  std::vector<String> FExceptions;
  std::vector<TMessageDlgRequest> FDialogs;
  TModalResult FDialogAnswer = mrNo;
  String FChosenFile;
  int FCommonDialogs = 0;
  static inline int FTypeItem = 0;
};

struct EncodingCase {
  const char* Name;
  TDataFormat Format;
};
const EncodingCase kEncodings[] = {{"text.dfm", dfText}, {"binary.dfm", dfBinary}, {"resource.dfm", dfResource}};

TEST_F(ProgramTest, StartsWithItsCommandsEnabledAsNoDocumentIsOpen) {
  StartMain();
  EXPECT_EQ(FMain->Caption(), u"Kestrum");
  EXPECT_FALSE(FMain->lProgress->Visible()) << "the start-up work ran";
  // The tool bar's and the window bar's glyphs come from the form.
  EXPECT_EQ(FMain->ImageList->Count(), 20);
  EXPECT_EQ(FMain->ilWin->Count(), 6);
  for (TAction* action : {FMain->acSave, FMain->acSaveAs, FMain->acClose, FMain->acCloseAll, FMain->acMinAll,
                          FMain->acCascade, FMain->acTileHor, FMain->acTileVer, FMain->acUndo, FMain->acCopy,
                          FMain->acCut, FMain->acPaste, FMain->acFind, FMain->acGoto, FMain->acPreview,
                          FMain->acRescan})
    EXPECT_FALSE(action->Enabled());
  for (TAction* action : {FMain->acNew, FMain->acOpen, FMain->acExtract, FMain->acPackInfo, FMain->acPrefs,
                          FMain->acExit, FMain->acAbout})
    EXPECT_TRUE(action->Enabled());
}

TEST_F(ProgramTest, OpensEveryEncodingAsTextWithItsButtonAndRecentEntry) {
  StartMain();
  for (const EncodingCase& c : kEncodings) {
    const fs::path path = WriteForm(c.Name, c.Format);
    FChosenFile = PathString(path);
    FMain->acOpen->Execute();
    Pump();
    Tmdi_kst_Editor* editor = FMain->ActiveEditor();
    ASSERT_NE(editor, nullptr) << c.Name;
    EXPECT_EQ(editor->Caption(), FromWStr(path.filename().wstring().c_str()));
    EXPECT_EQ(editor->DataFormat(), c.Format) << c.Name;
    TStringList onDisk;
    LoadFormFile(PathString(path), onDisk);
    EXPECT_EQ(editor->DFM->GetLines()->Text() + u"\r\n", onDisk.Text()) << c.Name;
    EXPECT_NE(onDisk.Text().find(u"object Button1: TButton"), String::npos);
    EXPECT_FALSE(editor->Modified());
  }
  EXPECT_EQ(FMain->mdibg->MDIChildCount(), 3);
  EXPECT_EQ(FMain->MRUMan->Strings().Count(), 3);
  EXPECT_TRUE(FMain->acSaveAs->Enabled());
  EXPECT_FALSE(FMain->acSave->Enabled());
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(ProgramTest, SavesEachEncodingInItselfAfterABackupOfTheOldFile) {
  StartMain();
  for (const EncodingCase& c : kEncodings) {
    const fs::path path = WriteForm(c.Name, c.Format);
    const TBytes before = ReadBytes(path);
    Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(path));
    ASSERT_NE(editor, nullptr);
    ChangeLeft(*editor);
    Pump();
    EXPECT_TRUE(editor->Modified());
    EXPECT_TRUE(FMain->acSave->Enabled());
    FMain->acSave->Execute();
    Pump();
    EXPECT_FALSE(editor->Modified());
    EXPECT_FALSE(FMain->acSave->Enabled());
    TStringList expected;
    expected.SetTextStr(ChangedText());
    EXPECT_EQ(ReadBytes(path), FormFileBytes(expected, c.Format)) << c.Name;
    fs::path backup = path;
    backup.replace_extension(".~dfm");
    EXPECT_EQ(ReadBytes(backup), before) << c.Name;
  }
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(ProgramTest, SaveAsWritesACopyInTheChosenEncodingAndTheDocumentStaysBound) {
  StartMain();
  const fs::path path = WriteForm("source.dfm", dfText);
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(path));
  ASSERT_NE(editor, nullptr);
  ChangeLeft(*editor);
  Pump();
  // Item order of the question: Text, Binary, Resource.
  const struct {
    int Item;
    const char* Name;
    TDataFormat Format;
  } targets[] = {{1, "copy_binary.dfm", dfBinary}, {2, "copy_resource.dfm", dfResource}, {0, "copy_text.dfm", dfText}};
  // A file already there is replaced; an older backup of that name stays as it was.
  const TBytes older = Bytes("an older file");
  const TBytes olderBackup = Bytes("an older backup");
  WriteBytes(FFolder / "copy_resource.dfm", older);
  WriteBytes(FFolder / "copy_resource.~dfm", olderBackup);
  TStringList changed;
  changed.SetTextStr(ChangedText());
  for (const auto& t : targets) {
    FChosenFile = PathString(FFolder / t.Name);
    AnswerTypeDialog(t.Item);
    FMain->acSaveAs->Execute();
    Pump();
    EXPECT_EQ(ReadBytes(FFolder / t.Name), FormFileBytes(changed, t.Format)) << t.Name;
  }
  EXPECT_EQ(ReadBytes(FFolder / "copy_resource.~dfm"), olderBackup) << "Save as makes no backup";
  EXPECT_FALSE(fs::exists(FFolder / "copy_binary.~dfm"));
  EXPECT_EQ(editor->Caption(), u"source.dfm");
  EXPECT_EQ(editor->Filename(), PathString(path));
  EXPECT_EQ(editor->DataFormat(), dfText);
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(ReadBytes(path), Bytes(kFormText)) << "the document's own file is untouched";
}

TEST_F(ProgramTest, CancellingTheSaveAsQuestionWritesNothing) {
  StartMain();
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(WriteForm("keep.dfm", dfText)));
  ASSERT_NE(editor, nullptr);
  FChosenFile.clear();
  AnswerTypeDialog(1);
  FMain->acSaveAs->Execute();
  Pump();
  EXPECT_EQ(FCommonDialogs, 1) << "the file dialog was asked and cancelled";
  EXPECT_EQ(std::distance(fs::directory_iterator(FFolder), fs::directory_iterator()), 1);
}

TEST_F(ProgramTest, FilesOfEveryEncodingDroppedOnTheMainWindowOpenAsText) {
  StartMain();
  std::vector<String> names;
  for (const EncodingCase& c : kEncodings) names.push_back(PathString(WriteForm(c.Name, c.Format)));
  names.push_back(PathString(FFolder / "not-there.dfm"));
  // Nothing of another program may come between the mouse and the window.
  SetWindowPos(FMain->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(FMain->Handle());
  Pump();
  RECT r;
  GetWindowRect(FMain->Handle(), &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  TestDataObject data;
  data.AddFiles(names);
  TestDropSource source;
  DWORD effect = 0;
  EXPECT_EQ(DoDragDrop(&data, &source, DROPEFFECT_COPY, &effect), DRAGDROP_S_DROP);
  // The drop returned to the dragging program before anything was opened.
  EXPECT_EQ(FMain->MDIChildCount(), 0);
  EXPECT_TRUE(FDialogs.empty());
  Pump();
  ASSERT_EQ(FMain->MDIChildCount(), 3);
  EXPECT_EQ(FMain->mdibg->MDIChildCount(), 3);
  for (const EncodingCase& c : kEncodings) {
    Tmdi_kst_Editor* editor = nullptr;
    for (int i = 0; i < FMain->MDIChildCount(); ++i)
      if (auto* e = dynamic_cast<Tmdi_kst_Editor*>(FMain->MDIChildren(i)); e && e->Filename() == PathString(FFolder / c.Name))
        editor = e;
    ASSERT_NE(editor, nullptr) << c.Name;
    EXPECT_EQ(editor->DataFormat(), c.Format) << c.Name;
    TStringList onDisk;
    LoadFormFile(editor->Filename(), onDisk);
    EXPECT_EQ(editor->DFM->GetLines()->Text() + u"\r\n", onDisk.Text()) << c.Name;
    EXPECT_NE(onDisk.Text().find(u"object Button1: TButton"), String::npos);
  }
  // The name that is not there gives its own error box; the others opened.
  ASSERT_EQ(FDialogs.size(), 1u);
  EXPECT_EQ(FDialogs[0].Msg, u"Cannot open file " + names.back() + u".");
}

TEST_F(ProgramTest, ADamagedBinaryOrResourceFileIsRefusedWithAnErrorBox) {
  StartMain();
  const struct {
    const char* Name;
    std::string Bytes;
  } damaged[] = {{"damaged_binary.dfm", std::string("TPF0\x05TFo", 8)},
                 {"damaged_resource.dfm", std::string("\xFF\x0A\x00\xFF\xFF", 5)}};
  // A property name of raw bytes followed by an unknown value tag.
  std::string garbage("TPF0\x06TForm1\x05" "Form1\xF0", 17);
  for (int i = 0; i < 240; ++i) garbage.push_back(static_cast<char>((i * 37 + 11) % 256));
  garbage += std::string("\x7E\x00\x00", 3);
  for (const auto& d : damaged) {
    const fs::path path = FFolder / d.Name;
    WriteBytes(path, Bytes(d.Bytes));
    FDialogs.clear();
    EXPECT_EQ(FMain->OpenFile(PathString(path)), nullptr) << d.Name;
    Pump();
    ASSERT_EQ(FDialogs.size(), 1u) << d.Name;
    EXPECT_EQ(FDialogs[0].DlgType, mtError);
    EXPECT_EQ(FDialogs[0].Msg.rfind(u"Cannot open file " + PathString(path) + u".", 0), 0u) << d.Name;
  }
  // The box stays narrow and quotes no raw bytes.
  const fs::path path = FFolder / "garbage_binary.dfm";
  WriteBytes(path, Bytes(garbage));
  FDialogs.clear();
  EXPECT_EQ(FMain->OpenFile(PathString(path)), nullptr);
  Pump();
  ASSERT_EQ(FDialogs.size(), 1u);
  const String& text = FDialogs[0].Msg;
  EXPECT_EQ(text.rfind(u"Cannot open file " + PathString(path) + u".", 0), 0u);
  const String reason = text.substr(text.find(u'\n') + 1);
  EXPECT_LE(reason.size(), 160u) << StringToUTF8(reason);
  EXPECT_TRUE(std::none_of(reason.begin(), reason.end(), [](Char c) { return c < u' ' || c == u'\uFFFD'; }))
      << StringToUTF8(reason);
  EXPECT_EQ(FMain->MDIChildCount(), 0);
  EXPECT_EQ(FMain->mdibg->MDIChildCount(), 0);
}

TEST_F(ProgramTest, AMissingFileGivesItsErrorBoxAndTheOthersStillOpen) {
  StartMain();
  const String missing = PathString(FFolder / "missing.dfm");
  EXPECT_EQ(FMain->OpenFile(missing), nullptr);
  ASSERT_EQ(FDialogs.size(), 1u);
  EXPECT_EQ(FDialogs[0].Msg, u"Cannot open file " + missing + u".");
  EXPECT_NE(FMain->OpenFile(PathString(WriteForm("there.dfm", dfText))), nullptr);
}

TEST_F(ProgramTest, AFailedSaveKeepsTheOldFileAndTheChanges) {
  StartMain();
  const fs::path path = WriteForm("locked.dfm", dfBinary);
  const String name = PathString(path);
  const TBytes before = ReadBytes(path);
  Tmdi_kst_Editor* editor = FMain->OpenFile(name);
  ASSERT_NE(editor, nullptr);
  ChangeLeft(*editor);
  Pump();
  // The user marked the file read-only: the mark holds.
  ASSERT_TRUE(FileSetReadOnly(name, true));
  FMain->acSave->Execute();
  Pump();
  ASSERT_EQ(FExceptions.size(), 1u);
  EXPECT_EQ(FExceptions[0].rfind(u"Cannot create file \"" + name + u"\". ", 0), 0u) << StringToUTF8(FExceptions[0]);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_TRUE(FileIsReadOnly(name));
  EXPECT_TRUE(editor->Modified());
  EXPECT_TRUE(FMain->acSave->Enabled());
  EXPECT_EQ(std::distance(fs::directory_iterator(FFolder), fs::directory_iterator()), 1) << "no backup, no half-written file";
  // Yes to the close question: the save fails again; the window stays with its text.
  const String edited = editor->DFM->GetLines()->Text();
  EXPECT_NE(edited.find(u"Left = 105"), String::npos);
  FDialogAnswer = mrYes;
  editor->Close();
  Pump();
  EXPECT_EQ(FDialogs.size(), 1u);
  EXPECT_EQ(FExceptions.size(), 2u);
  ASSERT_EQ(FMain->MDIChildCount(), 1);
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(editor->DFM->GetLines()->Text(), edited);
  EXPECT_EQ(ReadBytes(path), before);
  ASSERT_TRUE(FileSetReadOnly(name, false));

  // Another program holds the file without sharing: it cannot be replaced.
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  FExceptions.clear();
  FMain->acSave->Execute();
  Pump();
  CloseHandle(held);
  EXPECT_FALSE(FExceptions.empty()) << "the failure is reported";
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_TRUE(editor->Modified());
  // A text that does not convert leaves the file as it was, too.
  editor->DFM->SetEditText(u"object Broken: TForm1\r\n  Left = \r\n");
  FExceptions.clear();
  FMain->acSave->Execute();
  Pump();
  EXPECT_FALSE(FExceptions.empty());
  EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(ProgramTest, AFailedSaveKeepsTheOlderBackup) {
  StartMain();
  const fs::path path = WriteForm("held.dfm", dfText);
  fs::path backup = path;
  backup.replace_extension(".~dfm");
  const TBytes olderBackup = Bytes("the original");
  WriteBytes(backup, olderBackup);
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(path));
  ASSERT_NE(editor, nullptr);
  ChangeLeft(*editor);
  Pump();
  // Another program holds the file without sharing: neither the move to the
  // backup nor the replacement can happen.
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  FMain->acSave->Execute();
  Pump();
  CloseHandle(held);
  EXPECT_EQ(FExceptions.size(), 1u) << "the failure is reported";
  EXPECT_EQ(ReadBytes(path), Bytes(kFormText));
  EXPECT_EQ(ReadBytes(backup), olderBackup) << "the older backup is not lost";
  EXPECT_EQ(std::distance(fs::directory_iterator(FFolder), fs::directory_iterator()), 2) << "nothing left behind";
  EXPECT_TRUE(editor->Modified());
  // Once the file is free, Save makes the backup from the file it replaces.
  FMain->acSave->Execute();
  Pump();
  EXPECT_EQ(ReadBytes(backup), Bytes(kFormText));
  EXPECT_EQ(std::distance(fs::directory_iterator(FFolder), fs::directory_iterator()), 2);
}

// Closing the main window with a document whose save fails, or whose name
// is not given, keeps the program open with that document in front.
TEST_F(ProgramTest, ExitKeepsTheProgramOpenWhileADocumentIsNotSaved) {
  StartMain();
  const fs::path path = WriteForm("readonly.dfm", dfText);
  const String name = PathString(path);
  Tmdi_kst_Editor* locked = FMain->OpenFile(name);
  ASSERT_NE(locked, nullptr);
  ChangeLeft(*locked);
  Tmdi_kst_Editor* clean = FMain->OpenFile(PathString(WriteForm("clean.dfm", dfText)));
  ASSERT_NE(clean, nullptr);
  Pump();
  ASSERT_TRUE(FileSetReadOnly(name, true));
  FDialogAnswer = mrYes;
  FMain->acExit->Execute();
  Pump();
  EXPECT_FALSE(FApp->Terminated()) << "the program stays";
  EXPECT_TRUE(FMain->Visible());
  ASSERT_EQ(FMain->MDIChildCount(), 1) << "the unchanged document closed";
  EXPECT_EQ(FMain->ActiveEditor(), locked);
  EXPECT_TRUE(locked->Modified());
  EXPECT_NE(locked->DFM->GetLines()->Text().find(u"Left = 105"), String::npos);
  ASSERT_EQ(FExceptions.size(), 1u);
  EXPECT_EQ(FExceptions[0].rfind(u"Cannot create file \"" + name + u"\". ", 0), 0u);
  ASSERT_TRUE(FileSetReadOnly(name, false));

  // An unnamed document whose "Save as" is cancelled keeps the program open too.
  FDialogAnswer = mrNo;
  locked->Close();
  Pump();
  FMain->acNew->Execute();
  Pump();
  Tmdi_kst_Editor* unnamed = FMain->ActiveEditor();
  ASSERT_NE(unnamed, nullptr);
  Type(*unnamed, L'x');
  Pump();
  FDialogAnswer = mrYes;
  FChosenFile.clear();
  AnswerTypeDialog(0);
  FMain->acExit->Execute();
  Pump();
  EXPECT_FALSE(FApp->Terminated());
  ASSERT_EQ(FMain->MDIChildCount(), 1);
  EXPECT_TRUE(unnamed->Modified());
  // No to the question: the program ends.
  FDialogAnswer = mrNo;
  FMain->acExit->Execute();
  Pump();
  EXPECT_TRUE(FApp->Terminated());
}

// The system's replace dialog, opened by the main window's Find action and
// filled in and pressed as a person would.
TEST_F(ProgramTest, FindAndReplaceRunThroughTheReplaceDialog) {
  StartMain();
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(WriteForm("search.dfm", dfText)));
  ASSERT_NE(editor, nullptr);
  editor->DFM->SetFocus();
  Pump();
  FApp->CommonDialogHook = nullptr;
  ASSERT_TRUE(FMain->acFind->Enabled());
  FMain->acFind->Execute();
  Pump();
  HWND dialog = editor->rd->Handle();
  ASSERT_TRUE(dialog && IsWindow(dialog));
  wchar_t shown[64] = {};
  GetDlgItemTextW(dialog, edt1, shown, 64);
  EXPECT_EQ(FromWStr(shown), u"object") << "the word at the caret";
  const auto press = [&](const wchar_t* find, const wchar_t* replace, int button) {
    SetDlgItemTextW(dialog, edt1, find);
    SetDlgItemTextW(dialog, edt2, replace);
    PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    Pump();
  };
  const auto notFoundBoxes = [&] {
    return std::count_if(FDialogs.begin(), FDialogs.end(), [](const TMessageDlgRequest& r) {
      return r.Msg == u"Text not found." && r.DlgType == mtInformation && r.Buttons == TMsgDlgButtons{mbOK};
    });
  };

  press(L"button1", L"", IDOK);
  EXPECT_EQ(editor->DFM->Core().Editing().SelText(), u"Button1") << "found regardless of case";
  EXPECT_EQ(notFoundBoxes(), 0);
  press(L"nowhere", L"", IDOK);
  EXPECT_EQ(notFoundBoxes(), 1);
  EXPECT_FALSE(editor->Modified());

  harness::SendKey(editor->DFM->Handle(), VK_HOME, {.ctrl = true});
  press(L"Caption", L"Hint", psh2);
  String expected = FormLines()->Text();
  for (size_t at; (at = expected.find(u"Caption")) != String::npos;) expected.replace(at, 7, u"Hint");
  EXPECT_EQ(editor->DFM->GetLines()->Text() + u"\r\n", expected);
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(notFoundBoxes(), 1);
  press(L"Caption", L"Hint", psh2);
  EXPECT_EQ(notFoundBoxes(), 2) << "nothing left to replace";
  EXPECT_EQ(FDialogs.size(), 2u);
  editor->rd->CloseDialog();
  Pump();
}

TEST_F(ProgramTest, LoadAndPasteDataPastesTheFileAsHexadecimalLines) {
  StartMain();
  FMain->acNew->Execute();
  Pump();
  Tmdi_kst_Editor* editor = FMain->ActiveEditor();
  ASSERT_NE(editor, nullptr);
  std::string bytes;
  for (int i = 0; i < 33; ++i) bytes += static_cast<char>(i * 7 + 200);
  const fs::path data = FFolder / "data.bin";
  WriteBytes(data, Bytes(bytes));
  FChosenFile = PathString(data);
  editor->cmLoadData(nullptr);
  Pump();
  const TStrings& lines = *editor->DFM->GetLines();
  ASSERT_GE(lines.Count(), 2);
  EXPECT_EQ(lines.Strings(0).size(), 64u);
  EXPECT_EQ(lines.Strings(0).substr(0, 6), u"C8CFD6");
  EXPECT_EQ(lines.Strings(1), u"A8");
  EXPECT_TRUE(editor->Modified());
}

TEST_F(ProgramTest, ClosingAModifiedDocumentAsksOnceAndSavesOnYes) {
  StartMain();
  const fs::path path = WriteForm("ask.dfm", dfText);
  // The answer Yes writes the file without a backup: the older one stays.
  const TBytes olderBackup = Bytes("an older backup");
  WriteBytes(FFolder / "ask.~dfm", olderBackup);
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(path));
  ASSERT_NE(editor, nullptr);
  Type(*editor, L'q');
  Pump();
  FDialogAnswer = mrYes;
  FMain->acClose->Execute();
  Pump();
  ASSERT_EQ(FDialogs.size(), 1u);
  EXPECT_EQ(FDialogs[0].Msg, u"Save changes to file " + PathString(path) + u"?");
  EXPECT_EQ(FDialogs[0].DlgType, mtConfirmation);
  EXPECT_EQ(FMain->MDIChildCount(), 0);
  EXPECT_EQ(FMain->mdibg->MDIChildCount(), 0);
  TStringList reread;
  LoadFormFile(PathString(path), reread);
  EXPECT_EQ(reread.Text(), u"q" + FormLines()->Text());
  EXPECT_EQ(ReadBytes(FFolder / "ask.~dfm"), olderBackup);

  // Unchanged: no question.
  FDialogs.clear();
  ASSERT_NE(FMain->OpenFile(PathString(path)), nullptr);
  FMain->acClose->Execute();
  Pump();
  EXPECT_TRUE(FDialogs.empty());
  EXPECT_EQ(FMain->MDIChildCount(), 0);
}

TEST_F(ProgramTest, AnUnnamedDocumentAnsweredYesAsksForAName) {
  StartMain();
  FMain->acNew->Execute();
  Pump();
  Tmdi_kst_Editor* editor = FMain->ActiveEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Caption(), u"Untitled");
  for (wchar_t c : std::wstring(L"object A: TForm\rend\r")) Type(*editor, c);
  Pump();
  FDialogAnswer = mrYes;
  // No name given: the window stays with its text.
  FChosenFile.clear();
  AnswerTypeDialog(0);
  editor->Close();
  Pump();
  ASSERT_EQ(FMain->MDIChildCount(), 1);
  EXPECT_TRUE(editor->Modified());
  // A name given: written there, then closed.
  FChosenFile = PathString(FFolder / "named.dfm");
  AnswerTypeDialog(0);
  editor->Close();
  Pump();
  EXPECT_EQ(FMain->MDIChildCount(), 0);
  TStringList reread;
  LoadFormFile(FChosenFile, reread);
  EXPECT_EQ(reread.Strings(0).substr(0, 9), u"object A:");
}

TEST_F(ProgramTest, ClosingTheMainWindowAsksForEachModifiedDocumentAndClosesOnNo) {
  StartMain();
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(WriteForm("one.dfm", dfText)));
  ASSERT_NE(editor, nullptr);
  FMain->OpenFile(PathString(WriteForm("two.dfm", dfText)));
  Type(*editor, L'w');
  Pump();
  FDialogAnswer = mrNo;
  FMain->acExit->Execute();
  Pump();
  EXPECT_EQ(FDialogs.size(), 1u);
  EXPECT_EQ(ReadBytes(FFolder / "one.dfm"), Bytes(kFormText));
}

TEST_F(ProgramTest, PlacementAndRecentFilesComeBackAfterARestart) {
  StartMain();
  const String first = PathString(WriteForm("first.dfm", dfText));
  const String second = PathString(WriteForm("second.dfm", dfText));
  FMain->OpenFile(first);
  FMain->OpenFile(second);
  FMain->OpenFile(first);  // already listed: the order stays
  FMain->SetBounds(33, 44, 700, 500);
  FMain->Prefs().SmallFont = true;
  Pump();
  FMain->Close();
  Pump();
  FMain->Free();
  FMain = nullptr;
  Pump();

  StartMain();
  EXPECT_EQ(FMain->BoundsRect(), Rect(33, 44, 733, 544));
  EXPECT_TRUE(FMain->Prefs().SmallFont);
  TStrings& recent = FMain->MRUMan->Strings();
  ASSERT_EQ(recent.Count(), 2);
  EXPECT_EQ(recent.Strings(0), second);
  EXPECT_EQ(recent.Strings(1), first);
}

String RegistryDefault(const std::wstring& key) {
  wchar_t buffer[512] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return u"<none>";
  return FromWStr(buffer);
}

TEST_F(ProgramTest, PreferencesAssociateTheFormFilesAndSetTheFlags) {
  for (const wchar_t* key : {L"Software\\Classes\\.dfm", L"Software\\Classes\\DFM_auto_file",
                             L"Software\\Classes\\.fmx", L"Software\\Classes\\FMX_auto_file"})
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
  StartMain();
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(WriteForm("prefs.dfm", dfText)));
  ASSERT_NE(editor, nullptr);
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const String program = FromWStr(self);

  // Tick "DFM" and the smaller font; confirm.
  bool tickedBefore = true;
  AnswerPrefs([&](Tdlg_kst_Prefs& d) {
    tickedBefore = d.RFTList->Items().Item(0)->Checked();
    EXPECT_EQ(d.RFTList->Items().Item(1)->Caption(), u"FMX");
    EXPECT_FALSE(d.tsPkg->TabVisible());
    d.RFTList->Items().Item(0)->SetChecked(true);
    d.cbxFont->SetChecked(true);
    return mrOk;
  });
  FMain->acPrefs->Execute();
  Pump();
  EXPECT_FALSE(tickedBefore);
  EXPECT_EQ(RegistryDefault(L"Software\\Classes\\.dfm"), u"DFM_auto_file");
  EXPECT_EQ(RegistryDefault(L"Software\\Classes\\DFM_auto_file"), u"Delphi Form");
  EXPECT_EQ(RegistryDefault(L"Software\\Classes\\DFM_auto_file\\DefaultIcon"), program + u",1");
  EXPECT_EQ(RegistryDefault(L"Software\\Classes\\DFM_auto_file\\shell\\open\\command"), u"\"" + program + u"\" \"%1\"");
  EXPECT_EQ(RegistryDefault(L"Software\\Classes\\.fmx"), u"<none>");
  EXPECT_TRUE(FMain->Prefs().SmallFont);
  EXPECT_EQ(editor->DFM->Font().Size(), 8) << "open windows take the flags";

  // Cancel changes nothing, whatever was ticked.
  AnswerPrefs([](Tdlg_kst_Prefs& d) {
    d.RFTList->Items().Item(0)->SetChecked(false);
    d.cbxFont->SetChecked(false);
    return mrCancel;
  });
  FMain->acPrefs->Execute();
  Pump();
  EXPECT_TRUE(FMain->Prefs().SmallFont);
  EXPECT_EQ(RegistryDefault(L"Software\\Classes\\.dfm"), u"DFM_auto_file");

  // Shown ticked again; unticked and confirmed, both keys go.
  AnswerPrefs([&](Tdlg_kst_Prefs& d) {
    tickedBefore = d.RFTList->Items().Item(0)->Checked();
    d.RFTList->Items().Item(0)->SetChecked(false);
    return mrOk;
  });
  FMain->acPrefs->Execute();
  Pump();
  EXPECT_TRUE(tickedBefore);
  EXPECT_EQ(RegistryDefault(L"Software\\Classes\\.dfm"), u"<none>");
  EXPECT_EQ(RegistryDefault(L"Software\\Classes\\DFM_auto_file"), u"<none>");
  EXPECT_TRUE(FExceptions.empty());
}

bool ColumnShown(ltcontrol::TLiveStringTree* tree, TColumnIndex column) {
  return tree->Model().Header().Columns().Items(column)->Options().Contains(coVisible);
}

// "OK" in the preferences applies the three flags to every open editor and
// rebuilds its preview where it stands: no window changes its page.
TEST_F(ProgramTest, PreferencesActOnEveryOpenEditorAndLeaveItsPage) {
  StartMain();
  Tmdi_kst_Editor* first = FMain->OpenFile(PathString(WriteForm("first.dfm", dfText)));
  Tmdi_kst_Editor* second = FMain->OpenFile(PathString(WriteForm("second.dfm", dfText)));
  ASSERT_TRUE(first && second);
  second->ToggleSourcePreviewPage();
  Pump();
  ASSERT_EQ(second->pc->ActivePageIndex(), 1);
  for (Tmdi_kst_Editor* editor : {first, second}) {
    EXPECT_FALSE(ColumnShown(editor->Tree, 1)) << "the class-name column is hidden by default";
    EXPECT_FALSE(ColumnShown(editor->OIPTree, 1));
  }
  for (const bool on : {true, false}) {
    AnswerPrefs([on](Tdlg_kst_Prefs& d) {
      d.cbxShowCNCol->SetChecked(on);
      d.cbxShowTypeCol->SetChecked(on);
      d.cbxFont->SetChecked(on);
      return mrOk;
    });
    FMain->acPrefs->Execute();
    Pump();
    EXPECT_EQ(first->pc->ActivePageIndex(), 0);
    EXPECT_EQ(second->pc->ActivePageIndex(), 1);
    for (Tmdi_kst_Editor* editor : {first, second}) {
      EXPECT_EQ(ColumnShown(editor->Tree, 1), on);
      ASSERT_NE(editor->CurrentObject(), nullptr);
      EXPECT_EQ(ColumnShown(editor->OIPTree, 1), on);
      EXPECT_EQ(ColumnShown(editor->OIETree, 1), on);
      EXPECT_EQ(editor->DFM->Font().Size(), on ? 8 : 10);
    }
  }
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(ProgramTest, PreferencesListTheRegisteredClassesAndFindOneByPartOfItsName) {
  StartMain();
  String selected, unit, top;
  int chainDepth = 0;
  String caption;
  AnswerPrefs([&](Tdlg_kst_Prefs& d) {
    d.pc->SetActivePage(d.tsRC);
    d.pcChange(d.pc);
    caption = d.tsRC->Caption();
    d.eSearch->SetText(u"btn");
    d.eSearchChange(d.eSearch);
    if (d.Box->ItemIndex() >= 0) selected = d.Box->Items().Strings(d.Box->ItemIndex());
    unit = d.lUnit->Caption();
    if (d.Tree->Items().Count()) top = d.Tree->Items().Item(0)->Text();
    for (TTreeNode* node = d.Tree->Items().Count() ? d.Tree->Items().Item(0) : nullptr; node;
         node = node->Count() ? node->Item(0) : nullptr)
      ++chainDepth;
    return mrCancel;
  });
  FMain->acPrefs->Execute();
  Pump();
  EXPECT_EQ(caption, Format(u" Registered Classes (%d) ", {FRegistry.Count()}));
  EXPECT_NE(UpperCase(selected).find(u"BTN"), String::npos);
  EXPECT_EQ(unit.rfind(u"Declared in ", 0), 0u);
  EXPECT_GT(chainDepth, 2) << "the class above its ancestors";
  EXPECT_EQ(top, selected) << "the chosen class at the top";
}

TEST_F(ProgramTest, TheWindowBarMenuNamesTheHotDocumentOrNone) {
  StartMain();
  FMain->OpenFile(PathString(WriteForm("bar.dfm", dfText)));
  Pump();
  // Before any press the bar's hot button is its first.
  FMain->WinBarMenuPopup(nullptr);
  EXPECT_EQ(FMain->wacTitle->Caption(), u"bar.dfm");
  EXPECT_TRUE(FMain->wacClose->Enabled());
  // A right press away from every button leaves no hot button.
  TMDIButtonGroup& bar = *FMain->mdibg;
  const TRect last = bar.GetButtonRect(bar.Items().Count() - 1);
  // (The press alone: a release would open the menu itself.)
  SendMessageW(bar.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(bar.ClientWidth() - 2, last.Top + 2));
  ReleaseCapture();
  Pump();
  ASSERT_EQ(bar.HotButtonIndex(), -1);
  FMain->WinBarMenuPopup(nullptr);
  EXPECT_EQ(FMain->wacTitle->Caption(), u"<none>");
  EXPECT_FALSE(FMain->wacClose->Enabled());
  EXPECT_TRUE(FMain->wacCloseAll->Enabled());
}

TEST_F(ProgramTest, TheStatusBarTellsTheCaretAndTheMode) {
  StartMain();
  const fs::path path = WriteForm("status.dfm", dfText);
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(path));
  ASSERT_NE(editor, nullptr);
  editor->DFM->SetFocus();
  Pump();
  EXPECT_EQ(editor->sb->Panels().Items(1)->Text(), u"Col: 1  Ln: 1  Chr: 111(6Fh)  Cnt: 7  Sel: 0");
  EXPECT_EQ(editor->sb->Panels().Items(3)->Text(), u"Insert");
  EXPECT_EQ(editor->sb->Panels().Items(4)->Text(), PathString(path));
  harness::SendKey(editor->DFM->Handle(), VK_INSERT);
  Pump();
  EXPECT_EQ(editor->sb->Panels().Items(3)->Text(), u"Overwrite");
}

// The source and preview of a document keep a usable share of a small
// window: in a 900-pixel main window with the class browser open, and with
// two documents tiled. The side panels give way, stay resizable, and come
// back to the widths the user gave them when there is room again.
TEST_F(ProgramTest, SourceAndPreviewKeepTheirShareOfSmallWindows) {
  StartMain();
  FMain->SetBounds(0, 0, 900, 700);
  FMain->CBPanel->SetExpanded(true);
  Pump();
  Tmdi_kst_Editor* first = FMain->OpenFile(PathString(WriteForm("first.dfm", dfText)));
  ASSERT_NE(first, nullptr);
  Pump();
  const auto expectUsable = [](Tmdi_kst_Editor& editor, const char* where) {
    const Integer width = editor.ClientWidth();
    EXPECT_GE(editor.pc->Width(), width * 2 / 5) << where << ": of " << width;
    EXPECT_GT(editor.TreePanel->Width(), 30) << where;
    EXPECT_GT(editor.OIPanel->Width(), 30) << where;
    EXPECT_LT(editor.TreePanel->Width(), 250) << where;
    EXPECT_LT(editor.OIPanel->Width(), 274) << where;
  };
  FMain->Update();
  harness::SaveForInspection(harness::CaptureScreen(FMain->Handle()), L"kestrum_900_classbrowser");
  expectUsable(*first, "900 pixels with the class browser");

  Tmdi_kst_Editor* second = FMain->OpenFile(PathString(WriteForm("second.dfm", dfText)));
  ASSERT_NE(second, nullptr);
  FMain->CBPanel->SetExpanded(false);
  FMain->SetBounds(0, 0, 1000, 700);
  FMain->cmTileVer(nullptr);
  Pump();
  FMain->Update();
  harness::SaveForInspection(harness::CaptureScreen(FMain->Handle()), L"kestrum_tiled");
  expectUsable(*first, "tiled, first");
  expectUsable(*second, "tiled, second");

  // With room again the panels have the widths of the form.
  second->SetWindowState(wsMaximized);
  FMain->SetBounds(0, 0, 1400, 800);
  Pump();
  EXPECT_EQ(second->TreePanel->Width(), 250);
  EXPECT_EQ(second->OIPanel->Width(), 274);

  // A splitter still sets the tree's width, and that width comes back after the window was small.
  const int x = second->Splitter1->Left() + 1, y = second->Splitter1->Top() + 100;
  harness::SendMouseDown(second->Handle(), x, y);
  harness::SendMouseMove(second->Handle(), x + 20, y);
  harness::SendMouseMove(second->Handle(), x + 40, y);
  harness::SendMouseUp(second->Handle(), x + 40, y);
  Pump();
  EXPECT_EQ(second->TreePanel->Width(), 290);
  FMain->SetBounds(0, 0, 700, 700);
  Pump();
  expectUsable(*second, "700 pixels");
  FMain->SetBounds(0, 0, 1400, 800);
  Pump();
  EXPECT_EQ(second->TreePanel->Width(), 290);
  EXPECT_EQ(second->OIPanel->Width(), 274);
}

// Enter and Escape close the about box as it opens, whatever has the focus
// in it (the keys go through the message loop, as typed ones do).
TEST_F(ProgramTest, EnterAndEscapeCloseTheAboutBox) {
  StartMain();
  for (UINT key : {UINT(VK_RETURN), UINT(VK_ESCAPE)}) {
    static UINT sKey;
    static int sTicks;
    static bool sForced;
    sKey = key;
    sTicks = 0;
    sForced = false;
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* box = dynamic_cast<TdlgAbout*>(Screen->Forms(i)); box && box->Visible()) {
          if (sTicks++ == 0) {
            HWND focus = GetFocus();
            PostMessageW(focus ? focus : box->Handle(), WM_KEYDOWN, sKey, 1);
            PostMessageW(focus ? focus : box->Handle(), WM_KEYUP, sKey, 0xC0000001);
          } else if (sTicks > 40) {
            // Still open: ended here so that the test goes on.
            sForced = true;
            box->SetModalResult(mrCancel);
            KillTimer(nullptr, id);
          }
          return;
        }
      if (sTicks > 0) KillTimer(nullptr, id);
    });
    FMain->cmAbout(nullptr);
    EXPECT_FALSE(sForced) << (key == VK_RETURN ? "Enter" : "Escape") << " closes the box";
    Pump();
  }
}

// The texts of the entries of the main menu's "Windows" menu.
std::vector<std::wstring> WindowsMenuEntries(HWND mainWindow) {
  std::vector<std::wstring> entries;
  HMENU bar = GetMenu(mainWindow);
  for (int i = 0; bar && i < GetMenuItemCount(bar); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(bar, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    if (std::wstring(text).find(L"Windows") == std::wstring::npos) continue;
    HMENU menu = GetSubMenu(bar, i);
    for (int j = 0; menu && j < GetMenuItemCount(menu); ++j) {
      wchar_t entry[260] = {};
      GetMenuStringW(menu, static_cast<UINT>(j), entry, 260, MF_BYPOSITION);
      entries.push_back(entry);
    }
  }
  return entries;
}

// The "Windows" menu names the newest document by its file at once.
TEST_F(ProgramTest, TheWindowsMenuNamesTheNewestDocument) {
  StartMain();
  FMain->OpenFile(PathString(WriteForm("named.dfm", dfText)));
  Pump();
  const std::vector<std::wstring> entries = WindowsMenuEntries(FMain->Handle());
  const auto lists = [&](const wchar_t* name) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const std::wstring& e) { return e.find(name) != std::wstring::npos; });
  };
  EXPECT_TRUE(lists(L"named.dfm"));
  EXPECT_FALSE(lists(L"Untitled"));
}

// "Paste" on the tool bar and in the "Edit" menu follows the clipboard at
// once: Ctrl+C with a selection enables it without a caret move.
TEST_F(ProgramTest, PasteIsEnabledAsSoonAsTextIsCopied) {
  StartMain();
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(WriteForm("paste.dfm", dfText)));
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  editor->DFM->SetFocus();
  harness::SendKey(editor->DFM->Handle(), VK_RIGHT, {false, true, false});
  Pump();
  ASSERT_FALSE(FMain->acPaste->Enabled());
  ASSERT_FALSE(editor->mmPaste->Enabled());
  harness::SendKey(editor->DFM->Handle(), 'C', {true, false, false});
  for (int i = 0; i < 20 && !FMain->acPaste->Enabled(); ++i) {
    Sleep(50);
    Pump();
  }
  EXPECT_TRUE(FMain->acPaste->Enabled());
  EXPECT_TRUE(editor->mmPaste->Enabled());
}

// What one typed character costs in the program's editor window, handlers of
// the change and the painting they cause included, on a form of 300 lines
// and of 25,000: the figure is printed, and it must not grow with the form.
TEST_F(ProgramTest, TypingCostsTheSameInSmallAndLargeForms) {
  StartMain();
  FMain->SetBounds(0, 0, 1000, 700);
  double perKey[2] = {};
  const int components[2] = {40, 3500};
  for (int size = 0; size < 2; ++size) {
    std::string text = "object Form1: TForm1\r\n  Caption = 'Typing'\r\n";
    for (int i = 0; i < components[size]; ++i)
      text += "  object Button" + std::to_string(i) + ": TButton\r\n    Left = " + std::to_string(i) +
              "\r\n    Top = 8\r\n    Width = 75\r\n    Height = 25\r\n    Caption = 'Go'\r\n  end\r\n";
    text += "end\r\n";
    const fs::path path = FFolder / ("typing" + std::to_string(size) + ".dfm");
    WriteBytes(path, Bytes(text));
    Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(path));
    ASSERT_NE(editor, nullptr);
    editor->SetWindowState(wsMaximized);
    editor->DFM->SetFocus();
    editor->DFM->Core().Caret().SetCaretXY({20, editor->DFM->GetLines()->Count() / 2});
    Pump();
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    constexpr int kKeys = 40;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kKeys; ++i) {
      Type(*editor, L'a' + i % 26);
      Pump();
      UpdateWindow(FMain->Handle());
    }
    QueryPerformanceCounter(&end);
    perKey[size] = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / kKeys;
    editor->DFM->SetModified(false);
    editor->Close();
    Pump();
  }
  std::printf("keystroke: %.1f ms on %d lines, %.1f ms on %d lines\n", perKey[0], 2 + 6 * components[0] + 1,
              perKey[1], 2 + 6 * components[1] + 1);
}

// A right-click on a window-bar button opens its menu with the window-bar
// icons, and the button's hint does not stay on top of the menu.
TEST_F(ProgramTest, TheWindowBarMenuShowsItsIconsAndHidesTheHint) {
  StartMain();
  FMain->SetBounds(0, 0, 1000, 700);
  ASSERT_NE(FMain->OpenFile(PathString(WriteForm("bar.dfm", dfText))), nullptr);
  Pump();
  const TPoint onButton = FMain->mdibg->ClientToScreen({20, 10});
  FApp->ActivateHint(onButton);
  Pump();
  THintWindow* hint = FApp->HintWindowInstance();
  ASSERT_TRUE(hint && hint->HandleAllocated() && IsWindowVisible(hint->Handle())) << "the button's hint shows";
  static harness::Bitmap32 sMenu;
  static bool sHintShown;
  sMenu = {};
  sHintShown = true;
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    KillTimer(nullptr, id);
    THintWindow* shown = Application->HintWindowInstance();
    sHintShown = shown && shown->HandleAllocated() && IsWindowVisible(shown->Handle());
    RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    sMenu = harness::CaptureScreen(menu);
    EndMenu();
  });
  harness::SendClick(FMain->mdibg->Handle(), 20, 10, harness::MouseButton::Right);
  Pump();
  ASSERT_GT(sMenu.Width(), 0) << "the menu opened";
  harness::SaveForInspection(sMenu, L"kestrum_winbar_menu");
  EXPECT_FALSE(sHintShown);
  // The icons stand in the menu's left column; the red cross of "Close" is the easiest to tell.
  int red = 0;
  for (int y = 0; y < sMenu.Height(); ++y)
    for (int x = 0; x < std::min(24, sMenu.Width()); ++x) {
      const std::uint32_t pixel = sMenu.Pixel(x, y);
      red += ((pixel >> 16) & 0xFF) > 150 && ((pixel >> 8) & 0xFF) < 90 && (pixel & 0xFF) < 90;
    }
  EXPECT_GT(red, 4) << "the icon of Close";
}

TEST_F(ProgramTest, ScreenshotOfTheMainWindowWithTwoDocuments) {
  StartMain();
  FMain->SetBounds(0, 0, 1000, 700);
  FMain->OpenFile(PathString(WriteForm("first.dfm", dfText)));
  // The second has a class the program does not know: one line of messages.
  const fs::path second = FFolder / "second.dfm";
  std::string text = kFormText;
  text.insert(text.rfind("end"), "  object Thing1: TMystery\r\n  end\r\n");
  WriteBytes(second, Bytes(text));
  Tmdi_kst_Editor* editor = FMain->OpenFile(PathString(second));
  ASSERT_NE(editor, nullptr);
  Pump();
  FMain->Update();
  Sleep(200);
  Pump();
  harness::SaveForInspection(harness::CaptureScreen(FMain->Handle()), L"kestrum_main");
  EXPECT_EQ(FMain->mdibg->MDIChildCount(), 2);
  EXPECT_EQ(FMain->ActiveEditor(), editor);
  // The node images and the message icons come from the form.
  EXPECT_EQ(editor->img->Count(), 7);
  editor->SelectNode(editor->FindObjectNode(u"Button1"));
  Pump();
  const struct {
    TPxTabSheet* Page;
    const wchar_t* Name;
  } pages[] = {{editor->TabSheet3, L"kestrum_editor_properties"},
               {editor->TabSheet4, L"kestrum_editor_events"},
               {editor->PxTabSheet3, L"kestrum_editor_origin"}};
  for (const auto& page : pages) {
    editor->pcOI->SetActivePage(page.Page);
    Pump();
    editor->Update();
    harness::SaveForInspection(harness::CaptureScreen(editor->Handle()), page.Name);
  }
  editor->pc->SetActivePageIndex(1);
  Pump();
  EXPECT_TRUE(editor->EList->Visible());
  editor->Update();
  harness::SaveForInspection(harness::CaptureScreen(editor->Handle()), L"kestrum_editor_preview");
}

}  // namespace

// The program itself, started as a person starts it: with files on its
// command line, and twice, the second start handing its files to the first.
namespace {

fs::path KestrumExe() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path().parent_path() / L"kestrum.exe";
}

struct TProgram {
  PROCESS_INFORMATION Info{};
  bool Start(const std::wstring& arguments) {
    const fs::path exe = KestrumExe();
    std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &Info) != 0;
  }
  ~TProgram() {
    if (!Info.hProcess) return;
    if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(Info.hProcess, 9);
    CloseHandle(Info.hProcess);
    CloseHandle(Info.hThread);
  }
};

// The first visible top-level window of the process whose title begins so.
HWND WindowOf(DWORD processId, const wchar_t* titleStart) {
  struct Search {
    DWORD Process;
    const wchar_t* Title;
    HWND Found;
  } search{processId, titleStart, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        if (owner == s.Process && IsWindowVisible(window) && std::wstring(title).rfind(s.Title, 0) == 0) {
          s.Found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND MainWindowOf(DWORD processId) {
  return WindowOf(processId, L"Kestrum");
}

std::vector<std::wstring> DocumentTitles(HWND mainWindow) {
  std::vector<std::wstring> titles;
  HWND client = FindWindowExW(mainWindow, nullptr, L"MDICLIENT", nullptr);
  for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t title[260] = {};
    GetWindowTextW(child, title, 260);
    titles.push_back(title);
  }
  return titles;
}

// The names of the main window's documents once they all show (a window
// being made shows "Untitled" until its file has loaded).
std::vector<std::wstring> WaitForDocuments(HWND mainWindow, const std::vector<std::wstring>& expected) {
  std::vector<std::wstring> titles;
  for (int i = 0; i < 200; ++i) {
    titles = DocumentTitles(mainWindow);
    std::vector<std::wstring> sorted = titles, wanted = expected;
    std::sort(sorted.begin(), sorted.end());
    std::sort(wanted.begin(), wanted.end());
    if (sorted == wanted) break;
    Sleep(100);
  }
  return titles;
}

HWND WaitForMainWindow(const TProgram& program) {
  HWND main = nullptr;
  for (int i = 0; i < 200 && !main; ++i) {
    Sleep(100);
    main = MainWindowOf(program.Info.dwProcessId);
  }
  return main;
}

class ProgramProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FFolder = fs::temp_directory_path() / ("kestrum_run_" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(FFolder);
    fs::create_directories(FFolder);
  }
  void TearDown() override { fs::remove_all(FFolder); }
  std::wstring Quoted(const char* name) const { return L"\"" + (FFolder / name).wstring() + L"\""; }
  void Write(const char* name, TDataFormat format) {
    auto lines = FormLines();
    WriteBytes(FFolder / name, format == dfText ? Bytes(kFormText) : FormFileBytes(*lines, format));
  }
  static void CloseProgram(TProgram& program, HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(program.Info.hProcess, 20000), WAIT_OBJECT_0);
  }
  fs::path FFolder;
};

HWND ChildWithText(HWND parent, const std::wstring& start) {
  std::pair<const std::wstring*, HWND> search{&start, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<std::pair<const std::wstring*, HWND>*>(data);
        // Asked of the window itself: another process's text is not cached.
        wchar_t text[64] = {};
        SendMessageW(child, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
        if (std::wstring(text).rfind(*s.first, 0) != 0) return TRUE;
        s.second = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

// The program's about box shows what its own version record says: the box
// as the program shows it is compared, label by label, with the same box
// made here and given the record's texts.
TEST_F(ProgramProcessTest, TheAboutBoxShowsTheProgramsOwnVersionRecord) {
  TUtFileVersionInfo record(FromWStr(KestrumExe().wstring().c_str()));
  ASSERT_FALSE(record.ProductName().empty());
  ASSERT_FALSE(record.FileVersion().empty());
  TProgram program;
  ASSERT_TRUE(program.Start(L""));
  HWND main = WaitForMainWindow(program);
  ASSERT_NE(main, nullptr);
  // F1, the key of "About...".
  PostMessageW(main, WM_KEYDOWN, VK_F1, 0x003B0001);
  PostMessageW(main, WM_KEYUP, VK_F1, 0xC03B0001);
  HWND box = nullptr;
  for (int i = 0; i < 100 && !box; ++i) {
    Sleep(100);
    box = WindowOf(program.Info.dwProcessId, L"About....");
  }
  ASSERT_NE(box, nullptr);
  Sleep(500);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
  const harness::Bitmap32 shown = harness::CaptureScreen(box);
  harness::SaveForInspection(shown, L"kestrum_about");
  RECT boxRect{};
  GetWindowRect(box, &boxRect);
  EXPECT_NE(ChildWithText(box, L"Kestrum opens, edits"), nullptr) << "the notice";
  HWND ok = ChildWithText(box, L"OK");
  ASSERT_NE(ok, nullptr);
  PostMessageW(ok, BM_CLICK, 0, 0);
  for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(100);
  EXPECT_FALSE(IsWindow(box)) << "OK closes the box";

  TClassRegistry registry;
  RegisterKestrumClasses(registry);
  TApplication app(nullptr, registry);
  TFormPtr<TdlgAbout> reference = MakeForm<TdlgAbout>(nullptr);
  reference->Fill(0, {});
  reference->lProduct->SetCaption(record.ProductName());
  reference->lVer->SetCaption(u"Version " + record.FileVersion());
  reference->lCR->SetCaption(record.LegalCopyright());
  reference->lDesc->SetCaption(record.Comments().empty() ? record.FileDescription() : record.Comments());
  reference->SetBounds(boxRect.left, boxRect.top, boxRect.right - boxRect.left, boxRect.bottom - boxRect.top);
  reference->Show();
  for (int i = 0; i < 3; ++i) app.ProcessMessages();
  reference->Update();
  Sleep(300);
  for (int i = 0; i < 3; ++i) app.ProcessMessages();
  const harness::Bitmap32 expected = harness::CaptureScreen(reference->Handle());
  RECT referenceRect{};
  GetWindowRect(reference->Handle(), &referenceRect);
  ASSERT_EQ(expected.Width(), shown.Width());
  ASSERT_EQ(expected.Height(), shown.Height());
  for (TLabel* label : {reference->lProduct, reference->lVer, reference->lCR, reference->lDesc}) {
    const TPoint origin = label->ClientToScreen({0, 0});
    const int left = origin.X - referenceRect.left, top = origin.Y - referenceRect.top;
    int differences = 0;
    std::vector<std::uint32_t> colours;
    for (int y = top; y < top + label->Height(); ++y)
      for (int x = left; x < left + label->Width(); ++x) {
        if (expected.Pixel(x, y) != shown.Pixel(x, y)) ++differences;
        if (colours.size() < 2 && std::find(colours.begin(), colours.end(), expected.Pixel(x, y)) == colours.end())
          colours.push_back(expected.Pixel(x, y));
      }
    EXPECT_EQ(differences, 0) << StringToUTF8(label->Name()) << ": " << StringToUTF8(label->Caption());
    if (!label->Caption().empty()) {
      EXPECT_EQ(colours.size(), 2u) << StringToUTF8(label->Name()) << " shows its text";
    }
  }
  CloseProgram(program, main);
}

TEST_F(ProgramProcessTest, FilesOfEveryEncodingOnTheCommandLineOpenAndASplitPathIsJoined) {
  for (const EncodingCase& c : kEncodings) Write(c.Name, c.Format);
  Write("with blank.dfm", dfText);
  TProgram program;
  // The last path comes in two arguments, split at its blank.
  const std::wstring split = (FFolder / "with").wstring() + L" blank.dfm";
  // A name that is no file is reported and takes none of the later files along.
  ASSERT_TRUE(program.Start(Quoted("text.dfm") + L" " + Quoted("binary.dfm") + L" " + Quoted("missing.dfm") + L" " +
                            Quoted("resource.dfm") + L" " + split));
  HWND box = nullptr;
  for (int i = 0; i < 200 && !box; ++i) {
    Sleep(100);
    box = WindowOf(program.Info.dwProcessId, L"Error");
  }
  ASSERT_NE(box, nullptr) << "the missing file is reported";
  // Its wording is checked in process; here the box is answered as a user
  // would, and the files after the missing one still open.
  HWND ok = FindWindowExW(box, nullptr, nullptr, L"OK");
  ASSERT_NE(ok, nullptr);
  PostMessageW(ok, BM_CLICK, 0, 0);
  HWND main = WaitForMainWindow(program);
  ASSERT_NE(main, nullptr);
  const std::vector<std::wstring> expected{L"text.dfm", L"binary.dfm", L"resource.dfm", L"with blank.dfm"};
  std::vector<std::wstring> titles = WaitForDocuments(main, expected);
  std::sort(titles.begin(), titles.end());
  std::vector<std::wstring> wanted = expected;
  std::sort(wanted.begin(), wanted.end());
  EXPECT_EQ(titles, wanted);
  CloseProgram(program, main);
}

TEST_F(ProgramProcessTest, ASecondStartHandsItsFilesToTheFirst) {
  Write("first.dfm", dfText);
  Write("second.dfm", dfBinary);
  Write("third.dfm", dfResource);
  TProgram first;
  ASSERT_TRUE(first.Start(Quoted("first.dfm")));
  HWND main = WaitForMainWindow(first);
  ASSERT_NE(main, nullptr) << "the first instance shows its window";
  TProgram second;
  ASSERT_TRUE(second.Start(Quoted("second.dfm") + L" " + Quoted("third.dfm")));
  EXPECT_EQ(WaitForSingleObject(second.Info.hProcess, 20000), WAIT_OBJECT_0) << "the second start ends";
  EXPECT_EQ(MainWindowOf(second.Info.dwProcessId), nullptr);
  std::vector<std::wstring> titles = WaitForDocuments(main, {L"first.dfm", L"second.dfm", L"third.dfm"});
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(titles, (std::vector<std::wstring>{L"first.dfm", L"second.dfm", L"third.dfm"}));
  CloseProgram(first, main);
}

}  // namespace
