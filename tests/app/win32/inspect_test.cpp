// The editor window's object tree, inspector pages, class browser and
// preview, driven under Wine as a person would: a form file opened in the
// program, nodes chosen, the caret moved, controls of the preview clicked.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "app/classbrowser.h"
#include "app/win32/editorform.h"
#include "app/win32/mainform.h"
#include "classes/collection.h"
#include "classes/reflection.h"
#include "codeedit/editcaret.h"
#include "codeedit/edittext.h"
#include "codeedit/win32/codeedit.h"
#include "livetree/win32/livetreecontrol.h"
#include "panelkit/win32/headerpanel.h"
#include "panelkit/win32/pagecontrol.h"
#include "support/win32/harness.h"
#include "ui/dialogs.h"

namespace {

namespace fs = std::filesystem;

// A form of registered classes and one that is not: a disabled button with
// a handler, a label, a status bar with a collection of two panels.
const char kSample[] =
    "object Form1: TForm1\r\n"                       // 1
    "  Left = 0\r\n"                                 // 2
    "  Top = 0\r\n"                                  // 3
    "  Caption = 'Sample'\r\n"                       // 4
    "  ClientHeight = 200\r\n"                       // 5
    "  ClientWidth = 320\r\n"                        // 6
    "  FormStyle = fsMDIChild\r\n"                   // 7
    "  ActiveControl = Button1\r\n"                  // 8
    "  OnCreate = FormCreate\r\n"                    // 9
    "  object Button1: TButton\r\n"                  // 10
    "    Left = 8\r\n"                               // 11
    "    Top = 40\r\n"                               // 12
    "    Width = 120\r\n"                            // 13
    "    Height = 40\r\n"                            // 14
    "    Caption = 'OK'\r\n"                         // 15
    "    Enabled = False\r\n"                        // 16
    "    OnClick = Button1Click\r\n"                 // 17
    "  end\r\n"                                      // 18
    "  object Label1: TLabel\r\n"                    // 19
    "    Left = 8\r\n"                               // 20
    "    Top = 8\r\n"                                // 21
    "    Caption = 'A label'\r\n"                    // 22
    "  end\r\n"                                      // 23
    "  object Mystery1: TMystery\r\n"                // 24
    "    Left = 200\r\n"                             // 25
    "  end\r\n"                                      // 26
    "  object StatusBar1: TStatusBar\r\n"            // 27
    "    Panels = <\r\n"                             // 28
    "      item\r\n"                                 // 29
    "        Text = 'one'\r\n"                       // 30
    "        Width = 50\r\n"                         // 31
    "      end\r\n"                                  // 32
    "      item\r\n"                                 // 33
    "        Width = 60\r\n"                         // 34
    "      end>\r\n"                                 // 35
    "  end\r\n"                                      // 36
    "end\r\n";                                       // 37

class InspectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterKestrumClasses(FRegistry);
    FApp = std::make_unique<TApplication>(nullptr, FRegistry);
    FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
    FApp->MessageBoxHook = [this](const TMessageBoxRequest& request) {
      FExceptions.push_back(request.Text);
      return IDOK;
    };
    FApp->MessageDlgHook = [](const TMessageDlgRequest&) { return mrNo; };
    FApp->CommonDialogHook = [](TCommonDialog&) { return false; };
    FFolder = fs::temp_directory_path() / ("kestrum_inspect_" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(FFolder);
    StartMain();
  }

  // The main window as the program shows it, its start-up work done.
  void StartMain() {
    FMain = CreateForm<Twnd_kst_Main>(FApp.get());
    FApp->SetMainForm(FMain);
    FMain->SetBounds(0, 0, 1000, 700);
    FMain->Show();
    Pump();
  }

  // Closes the main window, which saves its settings, and starts it again.
  void RestartMain() {
    FMain->Close();
    Pump();
    FMain->Free();
    FMain = nullptr;
    Pump();
    StartMain();
  }

  void TearDown() override {
    if (FMain) FMain->Free();
    FApp.reset();
    harness::PumpMessages();
    fs::remove_all(FFolder);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Obrix\\Kestrum\\6.x");
    EXPECT_EQ(FExceptions.size(), 0u) << "no error box and no unhandled failure";
  }

  void Pump() {
    for (int i = 0; i < 3; ++i) FApp->ProcessMessages();
  }

  Tmdi_kst_Editor* Open(const char* text = kSample) {
    const fs::path path = FFolder / "sample.dfm";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    Tmdi_kst_Editor* editor = FMain->OpenFile(FromWStr(path.wstring().c_str()));
    Pump();
    return editor;
  }

  static TObjectNodeData* Data(ltcontrol::TLiveStringTree* tree, PLiveNode node) {
    return Tmdi_kst_Editor::NodeData(tree, node);
  }

  static String FocusedName(Tmdi_kst_Editor& editor) {
    const TObjectNodeData* data = Data(editor.Tree, editor.Tree->Model().FocusedNode());
    return data ? data->Name : String(u"<none>");
  }

  // The top-level property row of that name.
  static PLiveNode Row(ltcontrol::TLiveStringTree* tree, StringView name) {
    ::TBaseLiveTree& model = tree->Model();
    for (PLiveNode node = model.GetFirst(); node; node = model.GetNextSibling(node))
      if (Data(tree, node)->Name == name) return node;
    return nullptr;
  }

  static String CellText(ltcontrol::TLiveStringTree* tree, PLiveNode node, TColumnIndex column) {
    String text;
    tree->OnGetText()(tree, node, column, ttNormal, text);
    return text;
  }

  // Whether the view paints the row's cell bold.
  static bool PaintsBold(ltcontrol::TLiveStringTree* tree, PLiveNode node) {
    TBitmap bitmap;
    bitmap.SetSize(8, 8);
    bitmap.Canvas().Font().SetStyle({});
    tree->OnPaintText()(tree, &bitmap.Canvas(), node, 0, ttNormal);
    return bitmap.Canvas().Font().Style().Contains(fsBold);
  }

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  Twnd_kst_Main* FMain = nullptr;
  fs::path FFolder;
  std::vector<String> FExceptions;
};

TEST_F(InspectTest, ScanFillsTheTreeWithObjectsCollectionsAndItems) {
  Tmdi_kst_Editor* editor = Open();
  ASSERT_NE(editor, nullptr);
  // Form1, Button1, Label1, Mystery1, StatusBar1, Panels and its two items.
  EXPECT_EQ(editor->ObjectCount(), 8);
  EXPECT_EQ(editor->sb->Panels().Items(0)->Text(), u"Object count: 8");
  EXPECT_EQ(editor->FormClass(), u"TForm1");
  ASSERT_EQ(editor->UnknownClasses().Count(), 1);
  EXPECT_EQ(editor->UnknownClasses()[0], u"TMystery");

  ltcontrol::TLiveStringTree* tree = editor->Tree;
  PLiveNode root = tree->Model().GetFirst();
  EXPECT_EQ(CellText(tree, root, 0), u"Form1 (4)");
  EXPECT_EQ(Data(tree, root)->ImageIndex, oiRoot);
  EXPECT_EQ(FocusedName(*editor), u"Form1") << "the first node is chosen after a scan";
  PLiveNode button = editor->FindObjectNode(u"button1");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(CellText(tree, button, 1), u"TButton");
  EXPECT_EQ(Data(tree, button)->ImageIndex, oiControl);
  EXPECT_EQ(Data(tree, button)->UnitName, TButton::StaticClass().UnitName());
  // The collection and its items are named after the live objects of the preview.
  PLiveNode panels = editor->FindObjectNode(u"Panels");
  ASSERT_NE(panels, nullptr);
  EXPECT_EQ(CellText(tree, panels, 0), u"Panels (2)");
  EXPECT_EQ(CellText(tree, panels, 1), u"TStatusPanels");
  PLiveNode item = tree->Model().GetFirstChild(panels);
  EXPECT_EQ(Data(tree, item)->ClassName, u"TStatusPanel");
  EXPECT_EQ(Data(tree, item)->Kind, okCollectionItem);
}

TEST_F(InspectTest, ChoosingANodeShowsTheTextsValuesInBold) {
  Tmdi_kst_Editor* editor = Open();
  ASSERT_NE(editor, nullptr);
  editor->SelectNode(editor->FindObjectNode(u"Button1"));
  auto* button = dynamic_cast<TButton*>(editor->CurrentObject());
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Name(), u"Button1");
  EXPECT_EQ(editor->OIPanel->Caption(), u"Button1: TButton");

  ltcontrol::TLiveStringTree* props = editor->OIPTree;
  PLiveNode caption = Row(props, u"Caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(CellText(props, caption, 2), u"OK") << "the value as written, without its quotes";
  EXPECT_TRUE(PaintsBold(props, caption));
  PLiveNode left = Row(props, u"Left");
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(CellText(props, left, 2), u"8");
  EXPECT_TRUE(PaintsBold(props, left));
  PLiveNode cursor = Row(props, u"Cursor");
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(CellText(props, cursor, 2), u"crDefault");
  EXPECT_FALSE(PaintsBold(props, cursor)) << "the text does not set it";
  EXPECT_TRUE(editor->TabSheet3->Caption().starts_with(u" Properties ("));

  ltcontrol::TLiveStringTree* events = editor->OIETree;
  EXPECT_TRUE(editor->TabSheet4->TabVisible());
  PLiveNode click = Row(events, u"OnClick");
  ASSERT_NE(click, nullptr);
  EXPECT_EQ(CellText(events, click, 2), u"Button1Click");
  EXPECT_TRUE(PaintsBold(events, click));

  // An object the preview could not build: its text lines alone, no events.
  editor->SelectNode(editor->FindObjectNode(u"Mystery1"));
  EXPECT_EQ(editor->CurrentObject(), nullptr);
  EXPECT_FALSE(editor->TabSheet4->TabVisible());
  PLiveNode mysteryLeft = Row(props, u"Left");
  ASSERT_NE(mysteryLeft, nullptr);
  EXPECT_EQ(CellText(props, mysteryLeft, 2), u"200");
  EXPECT_FALSE(PaintsBold(props, mysteryLeft));
  const TObjectNodeData* none = Data(editor->HTree, editor->HTree->Model().GetFirst());
  EXPECT_EQ(none->ClassName, u"<No info available>");
}

TEST_F(InspectTest, MovingTheCaretSelectsTheEnclosingObject) {
  Tmdi_kst_Editor* editor = Open();
  ASSERT_NE(editor, nullptr);
  editor->SetActiveControl(editor->DFM);
  TCodeEditCaret& caret = editor->DFM->Core().Caret();
  struct Case {
    Integer Line;
    const char16_t* Node;
  };
  // A property line of Label1; the line after Button1's end belongs to the
  // nearest header above; an item line to its status bar.
  for (const Case& c : {Case{21, u"Label1"}, Case{18, u"Button1"}, Case{31, u"StatusBar1"}, Case{2, u"Form1"}}) {
    caret.SetCaretXY({3, c.Line});
    Pump();
    EXPECT_EQ(FocusedName(*editor), c.Node) << "line " << c.Line;
  }
}

TEST_F(InspectTest, DoubleClickGoesToTheDeclaration) {
  Tmdi_kst_Editor* editor = Open();
  ASSERT_NE(editor, nullptr);
  editor->SelectNode(editor->FindObjectNode(u"Label1"));
  editor->cmGoto(nullptr);
  TCodeEditCaret& caret = editor->DFM->Core().Caret();
  EXPECT_EQ(caret.BlockBegin().Line, 19);
  EXPECT_EQ(editor->DFM->Core().Editing().SelText(), u"Label1: TLabel");
  // An item is found by the object that holds its collection.
  editor->SelectNode(editor->Tree->Model().GetFirstChild(editor->FindObjectNode(u"Panels")));
  editor->cmGoto(nullptr);
  EXPECT_EQ(editor->DFM->Core().Editing().SelText(), u"StatusBar1: TStatusBar");
}

TEST_F(InspectTest, OriginShowsTheAncestryAndOpensTheClassBrowser) {
  Tmdi_kst_Editor* editor = Open();
  ASSERT_NE(editor, nullptr);
  editor->SelectNode(editor->FindObjectNode(u"Button1"));
  ::TBaseLiveTree& origin = editor->HTree->Model();
  std::vector<String> chain;
  for (PLiveNode node = origin.GetFirst(); node; node = origin.GetNext(node))
    chain.push_back(Data(editor->HTree, node)->ClassName);
  std::vector<String> expected;
  for (const TClassInfo* c = &TButton::StaticClass(); c; c = c->ClassParent()) expected.push_back(c->ClassName());
  EXPECT_EQ(chain, expected);
  EXPECT_TRUE(PaintsBold(editor->HTree, origin.GetFirst()));
  EXPECT_FALSE(PaintsBold(editor->HTree, origin.GetFirstChild(origin.GetFirst())));

  // A double-click on an ancestor opens the collapsed browser panel at it.
  ASSERT_FALSE(FMain->CBPanel->Expanded());
  EXPECT_FALSE(FMain->CBTree->Visible());
  PLiveNode control = origin.GetFirst();
  while (control && Data(editor->HTree, control)->ClassName != u"TWinControl") control = origin.GetNext(control);
  ASSERT_NE(control, nullptr);
  origin.SetFocusedNode(control);
  editor->HTreeDblClick(editor->HTree);
  Pump();
  EXPECT_TRUE(FMain->CBPanel->Expanded());
  EXPECT_TRUE(FMain->CBTree->Visible());
  ASSERT_NE(FMain->CBTree->Selected(), nullptr);
  EXPECT_EQ(FMain->CBTree->Selected()->Text(), TWinControl::StaticClass().UnitName() + u".TWinControl");

  // "Locate in Class Browser" on the object tree's node, the panel collapsed again.
  FMain->CBPanel->SetExpanded(false);
  Pump();
  EXPECT_FALSE(FMain->CBTree->Visible());
  editor->cmCBLocate(nullptr);
  Pump();
  EXPECT_TRUE(FMain->CBPanel->Expanded());
  EXPECT_TRUE(FMain->CBTree->Visible());
  ASSERT_NE(FMain->CBTree->Selected(), nullptr);
  EXPECT_EQ(FMain->CBTree->Selected()->Text(), TButton::StaticClass().UnitName() + u".TButton");
  // A class the browser does not list leaves it as it was.
  EXPECT_FALSE(LocateInClassBrowser(u"Nowhere", u"TMystery"));
  EXPECT_EQ(FMain->CBTree->Selected()->Text(), TButton::StaticClass().UnitName() + u".TButton");
}

TEST_F(InspectTest, TheMainWindowsBrowserListsTheTypesAndFollowsTheSearch) {
  // Built at start-up; the panel starts collapsed with its contents hidden.
  const std::vector<TBrowserType> types = BrowserTypes(FRegistry);
  EXPECT_EQ(FMain->CBPanel->Caption(), ClassBrowserCaption(static_cast<Integer>(types.size())));
  EXPECT_FALSE(FMain->CBPanel->Expanded());
  EXPECT_FALSE(FMain->CBTree->Visible() || FMain->eSearch->Visible() || FMain->CBSplitter->Visible());
  std::vector<String> listed;
  for (TTreeNode* node = FMain->CBTree->Items().GetFirstNode(); node; node = node->GetNextSibling())
    listed.push_back(node->Text());
  ASSERT_EQ(listed.size(), types.size()) << "the caption counts the types, not their members";
  for (size_t i = 0; i < types.size(); ++i) EXPECT_EQ(listed[i], types[i].QualifiedName);
  for (const String& name : listed) EXPECT_FALSE(name.starts_with(u"Kestrum_")) << "the program's own windows";
  harness::SaveForInspection(harness::CaptureScreen(FMain->Handle()), L"kestrum_main_class_browser_collapsed");

  // A click on the collapsed strip's body opens it.
  harness::SendClick(FMain->CBPanel->Handle(), 10, 200);
  Pump();
  EXPECT_TRUE(FMain->CBPanel->Expanded());
  EXPECT_TRUE(FMain->CBTree->Visible() && FMain->eSearch->Visible() && FMain->CBSplitter->Visible());
  FMain->eSearch->SetFocus();
  for (wchar_t c : std::wstring(L"tstatusb")) harness::SendChar(FMain->eSearch->Handle(), c);
  Pump();
  ASSERT_NE(FMain->CBTree->Selected(), nullptr);
  const Integer index = FindBrowserType(types, u"tstatusb", true);
  ASSERT_GE(index, 0);
  EXPECT_EQ(FMain->CBTree->Selected()->Text(), types[index].QualifiedName);
  EXPECT_TRUE(FMain->CBTree->Selected()->Text().ends_with(u".TStatusBar"));
  EXPECT_EQ(FMain->FindNode(u"tstatusb", true), FMain->CBTree->Selected());
  // A class's members below it.
  TTreeNode* first = FMain->CBTree->Selected()->GetFirstChild();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Text(), u"Origin");
  // A text nothing matches leaves the selection.
  harness::SendChar(FMain->eSearch->Handle(), L'#');
  Pump();
  EXPECT_EQ(FMain->CBTree->Selected()->Text(), types[index].QualifiedName);

  FMain->CBTree->Selected()->Expand(false);
  FMain->Update();
  Sleep(200);
  Pump();
  harness::SaveForInspection(harness::CaptureScreen(FMain->Handle()), L"kestrum_main_class_browser");
}

TEST_F(InspectTest, TheBrowserPanelKeepsItsStateAndWidthOverARestart) {
  FMain->CBPanel->SetExpanded(true);
  Pump();
  FMain->CBPanel->SetWidth(400);
  Pump();
  ASSERT_TRUE(FMain->CBPanel->Expanded());
  RestartMain();
  EXPECT_TRUE(FMain->CBPanel->Expanded());
  EXPECT_EQ(FMain->CBPanel->Width(), 400);
  EXPECT_TRUE(FMain->CBTree->Visible());
  EXPECT_TRUE(FMain->eSearch->Visible());

  FMain->CBPanel->SetExpanded(false);
  Pump();
  RestartMain();
  EXPECT_FALSE(FMain->CBPanel->Expanded());
  EXPECT_FALSE(FMain->CBTree->Visible());
}

TEST_F(InspectTest, PreviewShowsTheControlsAndAClickSelectsTheNode) {
  Tmdi_kst_Editor* editor = Open();
  ASSERT_NE(editor, nullptr);
  editor->pc->SetActivePageIndex(1);
  Pump();
  TForm* preview = editor->Preview();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->FormStyle(), fsNormal);
  EXPECT_EQ(preview->Caption(), u"Sample");
  auto* button = dynamic_cast<TButton*>(preview->FindComponent(u"Button1"));
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->Enabled()) << "disabled controls react in the preview";
  EXPECT_EQ(button->Hint(), u"Button1: TButton\r\nOrigin: 8, 40\r\nSize: 120 x 40");
  // The unknown class is the one message; the handler names are none.
  ASSERT_EQ(editor->ErrBox().Count(), 1);
  EXPECT_NE(editor->ErrBox()[0].find(u"TMystery"), String::npos);
  EXPECT_TRUE(editor->EList->Visible());

  Sleep(100);
  Pump();
  harness::SaveForInspection(harness::CaptureScreen(editor->Handle()), L"kestrum_inspect_preview");
  const harness::Bitmap32 desktop = harness::PaintClient(editor->VirtualDesktop->Handle());
  EXPECT_GT(desktop.Width(), 0);

  harness::SendClick(button->Handle(), 10, 10);
  Pump();
  EXPECT_EQ(FocusedName(*editor), u"Button1");
  EXPECT_EQ(editor->CurrentObject(), button);

  harness::SendMouseMove(button->Handle(), 5, 7);
  Pump();
  EXPECT_EQ(editor->sb->Panels().Items(1)->Text(), u"Button1: TButton   X: 5   Y: 7");
}

TEST_F(InspectTest, APicturePropertyShowsOnTheImagePage) {
  Tmdi_kst_Editor* editor = Open(
      "object Form1: TForm1\r\n"
      "  object Image1: TImage\r\n"
      "    Left = 4\r\n"
      "  end\r\n"
      "end\r\n");
  ASSERT_NE(editor, nullptr);
  PLiveNode node = editor->FindObjectNode(u"Image1");
  editor->SelectNode(node);
  auto* image = dynamic_cast<TImage*>(editor->CurrentObject());
  ASSERT_NE(image, nullptr);
  image->Picture().Bitmap().SetSize(16, 8);
  editor->SelectNode(node);
  ::TBaseLiveTree& props = editor->OIPTree->Model();
  props.SetFocusedNode(Row(editor->OIPTree, u"Picture"));
  EXPECT_TRUE(editor->TabSheet5->TabVisible());
  EXPECT_EQ(editor->ImageTitle->Caption(), u"Bitmap: 16 x 8");
  EXPECT_EQ(editor->PropTitle->Caption(), u"Picture: TPicture");
  EXPECT_EQ(editor->Image->Picture().Width(), 16);
  editor->OIPTreeDblClick(editor->OIPTree);
  EXPECT_EQ(editor->pcOI->ActivePage(), editor->TabSheet5);
  // A property that holds no picture hides the page again.
  props.SetFocusedNode(Row(editor->OIPTree, u"Left"));
  EXPECT_FALSE(editor->TabSheet5->TabVisible());
}

TEST_F(InspectTest, RebuildingThePreviewLeavesNothingPointingAtTheOldOne) {
  Tmdi_kst_Editor* editor = Open();
  ASSERT_NE(editor, nullptr);
  // An item of a collection: an object only the old preview held.
  editor->SelectNode(editor->Tree->Model().GetFirstChild(editor->FindObjectNode(u"Panels")));
  TObject* old = editor->CurrentObject();
  ASSERT_NE(dynamic_cast<TCollectionItem*>(old), nullptr);
  editor->pc->SetActivePageIndex(1);
  Pump();
  auto* bar = dynamic_cast<TStatusBar*>(editor->Preview()->FindComponent(u"StatusBar1"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(editor->CurrentObject(), bar->Panels().Items(0)) << "chosen again in the new preview";
  for (PLiveNode node = editor->OIPTree->Model().GetFirst(); node; node = editor->OIPTree->Model().GetNext(node))
    EXPECT_NE(Data(editor->OIPTree, node)->ValueObject, old);

  // A rescan that finds nothing.
  editor->DFM->GetLines()->Clear();
  editor->cmRescan(nullptr);
  Pump();
  EXPECT_EQ(editor->sb->Panels().Items(0)->Text(), u"Object count: 0");
  EXPECT_EQ(editor->ObjectCount(), 0);
  EXPECT_EQ(editor->CurrentObject(), nullptr);
  EXPECT_EQ(editor->OIPTree->Model().TotalCount(), 0u);
  EXPECT_EQ(editor->OIPanel->Caption(), u"No object selected");
}

}  // namespace
