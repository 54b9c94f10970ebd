// The drop target over the system's OLE drag and drop: a real drag loop
// dropping files on a form read from its form file, and the callbacks
// driven one by one.
#include "ui/winapi.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rtl/streams.h"
#include "rtl/stringlist.h"
#include "services/win32/dragdrop.h"
#include "services/win32/servicesuitest.h"
#include "services/win32/wndprochook.h"
#include "ui/extctrls.h"
#include "ui/stdctrls.h"

class TDropForm : public TForm {
  KST_CLASS(TDropForm, TForm)
 public:
  using TForm::TForm;
  TLabel* LabelDropped = nullptr;
  TSvDropTarget* DropTarget = nullptr;
  TSvWindowHook* WindowHook = nullptr;

  std::vector<TSvDropEffect> Entered;
  std::vector<String> DroppedNames;
  Integer DroppedCount = -1;
  TPoint DropPoint;
  std::vector<String> FilesAfterDrop;
  bool DropRunning = false;
  bool FilesDeliveredDuringDrop = false;
  int HookedPaints = 0;

  void DropTargetDragEnter(TSvDropTarget*, TSvDropEffect& effect) { Entered.push_back(effect); }
  void DropTargetDragDrop(TSvDropTarget* sender, TSvDropEffect&, TShiftState, Integer x, Integer y) {
    DropRunning = true;
    TStringList names;
    DroppedCount = sender->GetFilenames(&names);
    for (int i = 0; i < names.Count(); ++i) DroppedNames.push_back(names.Strings(i));
    DropPoint = {x, y};
    DropRunning = false;
  }
  void DropTargetFilesDropped(TSvDropTarget*, TStrings* files) {
    if (DropRunning) FilesDeliveredDuringDrop = true;
    String text = u"Dropped:";
    for (int i = 0; i < files->Count(); ++i) {
      FilesAfterDrop.push_back(files->Strings(i));
      text += u"\n" + files->Strings(i);
    }
    LabelDropped->SetCaption(text);
  }
  void WindowHookBeforeMessage(TObject*, TMessage& message, bool&) {
    if (message.Msg == WM_PAINT) ++HookedPaints;
  }
};

KST_CLASS_IMPL(TDropForm, "ServicesTests")

void TDropForm::Describe(TClassBuilder<TDropForm>& c) {
  c.Field(u"LabelDropped", &TDropForm::LabelDropped);
  c.Field(u"DropTarget", &TDropForm::DropTarget);
  c.Field(u"WindowHook", &TDropForm::WindowHook);
  c.Method(u"DropTargetDragEnter", &TDropForm::DropTargetDragEnter);
  c.Method(u"DropTargetDragDrop", &TDropForm::DropTargetDragDrop);
  c.Method(u"DropTargetFilesDropped", &TDropForm::DropTargetFilesDropped);
  c.Method(u"WindowHookBeforeMessage", &TDropForm::WindowHookBeforeMessage);
}

namespace {

class DropTargetTest : public ServicesUiTest {
 protected:
  void SetUp() override {
    ServicesUiTest::SetUp();
    FRegistry.RegisterClass(TDropForm::StaticClass());
    FForm = MakeForm<TDropForm>(FApp.get());
  }
  void TearDown() override {
    FForm.reset();
    ServicesUiTest::TearDown();
  }
  TFormPtr<TDropForm> FForm;
};

const std::vector<String> kThreeFiles{u"C:\\forms\\Main.dfm", u"C:\\forms\\About Box.dfm", u"D:\\x\\\u00c9dit.dfm"};

TEST_F(DropTargetTest, TheFormFileWiresTheTargetAndTheHookToTheForm) {
  ASSERT_NE(FForm->DropTarget, nullptr);
  EXPECT_EQ(FForm->DropTarget->Control(), FForm.get());
  EXPECT_TRUE(FForm->DropTarget->AcceptDrag());
  ASSERT_NE(FForm->WindowHook, nullptr);
  EXPECT_EQ(FForm->WindowHook->Control(), FForm.get());
  FForm->Show();
  FForm->Invalidate();
  FForm->Update();
  Pump();
  EXPECT_GT(FForm->HookedPaints, 0);
}

TEST_F(DropTargetTest, FilesDroppedThroughTheSystemsDragLoopReachTheEvents) {
  FForm->Show();
  // Nothing of another program may come between the mouse and the form.
  SetWindowPos(FForm->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(FForm->Handle());
  Pump();
  RECT r;
  GetWindowRect(FForm->Handle(), &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  TestDataObject data;
  data.AddFiles(kThreeFiles);
  TestDropSource source;
  DWORD effect = 0;
  const HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  EXPECT_EQ(result, DRAGDROP_S_DROP);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(FForm->Entered, std::vector<TSvDropEffect>{deCopy});
  EXPECT_EQ(FForm->DroppedCount, 3);
  EXPECT_EQ(FForm->DroppedNames, kThreeFiles);
  EXPECT_EQ(FForm->DropPoint, (TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  EXPECT_EQ(FForm->DropTarget->DataObject(), nullptr);
  EXPECT_EQ(data.References(), 1u);
  // The files are handed over once the drop has returned.
  EXPECT_TRUE(FForm->FilesAfterDrop.empty());
  Pump();
  EXPECT_EQ(FForm->FilesAfterDrop, kThreeFiles);
  EXPECT_FALSE(FForm->FilesDeliveredDuringDrop);
  FForm->Update();
  SaveScreenForInspection(FForm->Handle(), L"drop-form.bmp");
}

// Drives the registered target's callbacks as the system does.
class DropCallbacksTest : public ServicesUiTest {
 protected:
  void SetUp() override {
    ServicesUiTest::SetUp();
    FForm = MakeForm<TForm>(FApp.get());
    FTarget = new TSvDropTarget(FForm.get());
    FTarget->SetControl(FForm.get());
    FTarget->OnDragEnter =
        TSvDragEvent([this](TSvDropTarget*, TSvDropEffect& e) { FLog += "enter" + std::to_string(e) + " "; });
    FTarget->OnDragOver = TSvDragEvent([this](TSvDropTarget*, TSvDropEffect& e) {
      FLog += "over ";
      e = deMove;
    });
    FTarget->OnDragLeave = TSvDragLeaveEvent([this](TSvDropTarget*) { FLog += "leave "; });
    FTarget->OnDragDrop = TSvDragDropEvent([this](TSvDropTarget* t, TSvDropEffect&, TShiftState, Integer, Integer) {
      FLog += "drop ";
      FCount = t->GetFilenames(nullptr);
    });
  }
  void TearDown() override {
    FForm.reset();
    ServicesUiTest::TearDown();
  }
  IDropTarget& Target() { return *FTarget->DropTargetInterface(); }
  TFormPtr<TForm> FForm;
  TSvDropTarget* FTarget = nullptr;
  std::string FLog;
  Integer FCount = -1;
};

TEST_F(DropCallbacksTest, TheWindowIsRegisteredWithTheSystem) {
  // A second registration of the same window is refused: ours is there.
  EXPECT_EQ(RegisterDragDrop(FForm->Handle(), &Target()), DRAGDROP_E_ALREADYREGISTERED);
  FTarget->SetAcceptDrag(false);
  EXPECT_EQ(RevokeDragDrop(FForm->Handle()), DRAGDROP_E_NOTREGISTERED);
  FTarget->SetAcceptDrag(true);
  EXPECT_EQ(RegisterDragDrop(FForm->Handle(), &Target()), DRAGDROP_E_ALREADYREGISTERED);
}

TEST_F(DropCallbacksTest, TextIsAcceptedWithCopyAndGivesNoFileNames) {
  TestDataObject data;
  data.AddText(u"some text");
  DWORD effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
  EXPECT_EQ(Target().DragEnter(&data, 0, POINTL{1, 2}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(Target().DragOver(0, POINTL{1, 2}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
  EXPECT_EQ(Target().Drop(&data, 0, POINTL{1, 2}, &effect), S_OK);
  EXPECT_EQ(FLog, "enter1 over drop ");
  EXPECT_EQ(FCount, 0);
  EXPECT_EQ(data.References(), 1u);
}

TEST_F(DropCallbacksTest, ARefusedDragShowsNoEffectAndOnlyLeaves) {
  FTarget->OnDragAccept = TSvDragAcceptEvent([](TSvDropTarget*, bool& accept) { accept = false; });
  TestDataObject data;
  data.AddFiles(kThreeFiles);
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(Target().DragEnter(&data, 0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  effect = DROPEFFECT_COPY;
  Target().DragOver(0, POINTL{}, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(Target().DragLeave(), S_OK);
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(Target().Drop(&data, 0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(FLog, "leave ");
  EXPECT_EQ(data.References(), 1u);
}

TEST_F(DropCallbacksTest, AFailingHandlerGivesUnexpectedAndStillReleasesTheData) {
  FTarget->OnDragDrop = TSvDragDropEvent(
      [](TSvDropTarget*, TSvDropEffect&, TShiftState, Integer, Integer) { throw EConvertError(u"bad"); });
  TestDataObject data;
  data.AddFiles(kThreeFiles);
  DWORD effect = DROPEFFECT_COPY;
  Target().DragEnter(&data, 0, POINTL{}, &effect);
  EXPECT_EQ(Target().Drop(&data, 0, POINTL{}, &effect), static_cast<HRESULT>(0x8000FFFF));
  EXPECT_EQ(data.References(), 1u);
  EXPECT_EQ(FTarget->DataObject(), nullptr);
}

TEST_F(DropCallbacksTest, DamagedFileListsAndDescriptorsAreReadWithinTheirData) {
  TestDataObject data;
  // A file list whose names run to the end of the data without an end.
  std::vector<Byte> list(sizeof(DROPFILES), 0);
  reinterpret_cast<DROPFILES*>(list.data())->pFiles = sizeof(DROPFILES);
  reinterpret_cast<DROPFILES*>(list.data())->fWide = TRUE;
  for (Char c : String(u"C:\\cut")) {
    list.push_back(static_cast<Byte>(c));
    list.push_back(0);
  }
  data.AddBytes(CF_HDROP, list);
  // A descriptor group that claims a million files and holds one.
  std::vector<Byte> group(4 + kFileDescriptorSize, 0);
  const Cardinal claimed = 1000000;
  std::memcpy(group.data(), &claimed, 4);
  const char16_t name[] = u"virtual.txt";
  std::memcpy(group.data() + 4 + kFileDescriptorNameOffset, name, sizeof name);
  data.AddBytes(RegisteredFormat(L"FileGroupDescriptorW"), group);
  data.SetContents({'a', 'b', 'c'});
  DWORD effect = DROPEFFECT_COPY;
  Target().DragEnter(&data, 0, POINTL{}, &effect);
  EXPECT_EQ(FTarget->GetFilenames(nullptr), 0);
  EXPECT_EQ(FTarget->GetFileDescrCount(), 1);
  TStringList names;
  EXPECT_EQ(FTarget->GetFileDescrNames(&names), 1);
  EXPECT_EQ(names.Text(), u"virtual.txt\r\n");
  TMemoryStream content;
  content.WriteBuffer("<", 1);
  EXPECT_TRUE(FTarget->GetFileContent(0, &content));
  EXPECT_EQ(content.Size(), 4);
  EXPECT_EQ(std::memcmp(content.Memory(), "<abc", 4), 0);
  const int asked = data.Requests(RegisteredFormat(L"FileContents"));
  EXPECT_FALSE(FTarget->GetFileContent(1, &content));
  EXPECT_FALSE(FTarget->GetFileContent(0, nullptr));
  EXPECT_EQ(data.Requests(RegisteredFormat(L"FileContents")), asked);
  Target().DragLeave();
  EXPECT_EQ(FTarget->GetFileDescrCount(), 0);  // no drag: nothing
  EXPECT_EQ(data.References(), 1u);
}

TEST_F(DropCallbacksTest, AWindowMadeAnewIsRegisteredAgain) {
  FForm->RecreateWnd();
  // A second registration of the new window is refused: ours is there.
  EXPECT_EQ(RegisterDragDrop(FForm->Handle(), &Target()), DRAGDROP_E_ALREADYREGISTERED);
  FTarget->SetAcceptDrag(false);
  EXPECT_EQ(RevokeDragDrop(FForm->Handle()), DRAGDROP_E_NOTREGISTERED);
  FForm->RecreateWnd();
  EXPECT_EQ(RevokeDragDrop(FForm->Handle()), DRAGDROP_E_NOTREGISTERED) << "not accepting: not registered";
  FTarget->SetAcceptDrag(true);
  EXPECT_EQ(RegisterDragDrop(FForm->Handle(), &Target()), DRAGDROP_E_ALREADYREGISTERED);
}

TEST_F(DropCallbacksTest, AControlThatGoesLeavesTheTargetWithoutOne) {
  TWinControl* panel = new TPanel(FForm.get());
  panel->SetParent(FForm.get());
  FTarget->SetControl(panel);
  EXPECT_EQ(RegisterDragDrop(FForm->Handle(), &Target()), S_OK);  // the form was let go
  RevokeDragDrop(FForm->Handle());
  delete panel;
  EXPECT_EQ(FTarget->Control(), nullptr);
}

}  // namespace
