#include "app/win32/editorform.h"

#include <algorithm>

#include "app/editorstatus.h"
#include "app/inspectorrows.h"
#include "app/objectinspector.h"
#include "app/previewreader.h"
#include "app/win32/mainform.h"
#include "app/win32/typedialog.h"
#include "codeedit/dfmhighlighter.h"
#include "codeedit/editcaret.h"
#include "codeedit/editsearch.h"
#include "codeedit/edittext.h"
#include "codeedit/search.h"
#include "codeedit/win32/codeedit.h"
#include "livetree/win32/livetreecontrol.h"
#include "panelkit/win32/headerpanel.h"
#include "panelkit/win32/pagecontrol.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/streams.h"
#include "rtl/sysstr.h"
#include "classes/collection.h"
#include "classes/propaccess.h"
#include "classes/reflection.h"
#include "ui/clipbrd.h"
#include "ui/dialogs.h"
#include "ui/pngimage.h"

KST_CLASS_IMPL(Tmdi_kst_Editor, "Kestrum_Editor")

void Tmdi_kst_Editor::Describe(TClassBuilder<Tmdi_kst_Editor>& c) {
  using E = Tmdi_kst_Editor;
  c.Field(u"Splitter1", &E::Splitter1);
  c.Field(u"Splitter2", &E::Splitter2);
  c.Field(u"ESplitter", &E::ESplitter);
  c.Field(u"TreePanel", &E::TreePanel);
  c.Field(u"Tree", &E::Tree);
  c.Field(u"OIPanel", &E::OIPanel);
  c.Field(u"pcOI", &E::pcOI);
  c.Field(u"TabSheet3", &E::TabSheet3);
  c.Field(u"TabSheet4", &E::TabSheet4);
  c.Field(u"PxTabSheet3", &E::PxTabSheet3);
  c.Field(u"TabSheet5", &E::TabSheet5);
  c.Field(u"OIPTree", &E::OIPTree);
  c.Field(u"OIETree", &E::OIETree);
  c.Field(u"HTree", &E::HTree);
  c.Field(u"ImagePanel", &E::ImagePanel);
  c.Field(u"PropTitle", &E::PropTitle);
  c.Field(u"ImageTitle", &E::ImageTitle);
  c.Field(u"ScrollBox1", &E::ScrollBox1);
  c.Field(u"Image", &E::Image);
  c.Field(u"EditorPanel", &E::EditorPanel);
  c.Field(u"pc", &E::pc);
  c.Field(u"PxTabSheet1", &E::PxTabSheet1);
  c.Field(u"PxTabSheet2", &E::PxTabSheet2);
  c.Field(u"DFM", &E::DFM);
  c.Field(u"PreviewPanel", &E::PreviewPanel);
  c.Field(u"VirtualDesktop", &E::VirtualDesktop);
  c.Field(u"EList", &E::EList);
  c.Field(u"sb", &E::sb);
  c.Field(u"MainMenu", &E::MainMenu);
  c.Field(u"mmEdit", &E::mmEdit);
  c.Field(u"mmUndo", &E::mmUndo);
  c.Field(u"mmCopy", &E::mmCopy);
  c.Field(u"mmCut", &E::mmCut);
  c.Field(u"mmPaste", &E::mmPaste);
  c.Field(u"mmData", &E::mmData);
  c.Field(u"mmPreview", &E::mmPreview);
  c.Field(u"EditMenu", &E::EditMenu);
  c.Field(u"pmUndo", &E::pmUndo);
  c.Field(u"pmCopy", &E::pmCopy);
  c.Field(u"pmCut", &E::pmCut);
  c.Field(u"pmPaste", &E::pmPaste);
  c.Field(u"pmPreview", &E::pmPreview);
  c.Field(u"TreeMenu", &E::TreeMenu);
  c.Field(u"ImageMenu", &E::ImageMenu);
  c.Field(u"rd", &E::rd);
  c.Field(u"spd", &E::spd);
  c.Field(u"spd1", &E::spd1);
  c.Field(u"odd", &E::odd);
  c.Field(u"img", &E::img);
  c.Field(u"FormStorage", &E::FormStorage);
  c.Method(u"FormCreate", &E::FormCreate);
  c.Method(u"FormActivate", &E::FormActivate);
  c.Method(u"FormClose", &E::FormClose);
  c.Method(u"DFMChange", &E::DFMChange);
  c.Method(u"DFMStatusChange", &E::DFMStatusChange);
  c.Method(u"pcChange", &E::pcChange);
  c.Method(u"cmUndo", &E::cmUndo);
  c.Method(u"cmCopy", &E::cmCopy);
  c.Method(u"cmCut", &E::cmCut);
  c.Method(u"cmPaste", &E::cmPaste);
  c.Method(u"cmReplace", &E::cmReplace);
  c.Method(u"cmFindnext", &E::cmFindnext);
  c.Method(u"cmGoto", &E::cmGoto);
  c.Method(u"cmCBLocate", &E::cmCBLocate);
  c.Method(u"cmExpand", &E::cmExpand);
  c.Method(u"cmCollapse", &E::cmCollapse);
  c.Method(u"cmPreview", &E::cmPreview);
  c.Method(u"cmRescan", &E::cmRescan);
  c.Method(u"mmSaveFormImageClick", &E::mmSaveFormImageClick);
  c.Method(u"cmLoadData", &E::cmLoadData);
  c.Method(u"rdFind", &E::rdFind);
  c.Method(u"rdReplace", &E::rdReplace);
  c.Method(u"EditMenuPopup", &E::EditMenuPopup);
  c.Method(u"TreeGetText", &E::TreeGetText);
  c.Method(u"TreeGetImageIndex", &E::TreeGetImageIndex);
  c.Method(u"TreeFocusChanged", &E::TreeFocusChanged);
  c.Method(u"TreeIncrementalSearch", &E::TreeIncrementalSearch);
  c.Method(u"OITreeGetText", &E::OITreeGetText);
  c.Method(u"OITreePaintText", &E::OITreePaintText);
  c.Method(u"OITreeCompareNodes", &E::OITreeCompareNodes);
  c.Method(u"OIPTreeDblClick", &E::OIPTreeDblClick);
  c.Method(u"OIPTreeFocusChanged", &E::OIPTreeFocusChanged);
  c.Method(u"HTreeGetText", &E::HTreeGetText);
  c.Method(u"HTreePaintText", &E::HTreePaintText);
  c.Method(u"HTreeDblClick", &E::HTreeDblClick);
  c.Method(u"ImageDblClick", &E::ImageDblClick);
  c.Method(u"pmSaveClick", &E::pmSaveClick);
  c.Method(u"ObjectEnter", &E::ObjectEnter);
  c.Method(u"ObjectMouseMove", &E::ObjectMouseMove);
}

Tmdi_kst_Editor::Tmdi_kst_Editor(TComponent* owner)
    : TForm(owner),
      FErrBox(std::make_unique<TStringList>()),
      FUCL(std::make_unique<TStringList>()),
      FFileLines(std::make_unique<TStringList>()) {}

Tmdi_kst_Editor::~Tmdi_kst_Editor() {
  FDestroying = true;
  // The trees and the inspector must not reach into a preview that goes.
  FObject = nullptr;
  if (MOI) MOI->SetComponent(nullptr);
  // The records of the nodes go with this object, before the trees do.
  for (ltcontrol::TLiveStringTree* tree : {Tree, OIPTree, OIETree, HTree})
    if (tree) {
      tree->SetOnFocusChanged({});
      tree->Model().OnHeaderClick = nullptr;
      ClearTree(tree);
    }
  if (FPreviewForm) {
    TForm* preview = FPreviewForm;
    FPreviewForm = nullptr;
    preview->OnClose = {};
    preview->Free();
  }
  // The editor's events must not reach a window that is going.
  if (DFM) {
    DFM->Core().OnChange = {};
    DFM->Core().OnStatusChange = {};
    DFM->Core().SetHighlighter(nullptr);
    DFM->Core().SetSearchEngine(nullptr);
  }
  PostControlsUpdate();
}

void Tmdi_kst_Editor::FormCreate(TObject*) {
  FCurrentLine = -1;
  FErrBox->Clear();
  FUCL->Clear();
  MOI = new TMObjectInspector(this);
  MOI->SetFilter(tkAny);
  // The editor window's settings go through the main window's store.
  if (wnd_kst_Main) wnd_kst_Main->ShareSettingsStore(FormStorage);
  FHighlighter = std::make_unique<TCodeDfmHighlighter>();
  FHighlighter->CommentAttri()->SetForeground(clGreen);
  FHighlighter->NumberAttri()->SetForeground(clBlue);
  FHighlighter->StringAttri()->SetForeground(clRed);
  FSearch = std::make_unique<TCodeEditSearch>();
  DFM->Core().SetHighlighter(FHighlighter.get());
  DFM->Core().SetSearchEngine(FSearch.get());
  for (ltcontrol::TLiveStringTree* tree : {Tree, HTree, OIPTree, OIETree})
    tree->Model().SetNodeDataSize(static_cast<Integer>(sizeof(TObjectNodeData*)));
  Tree->Model().SetIncrementalSearchStart(ssAlwaysStartOver);
  Tree->Model().SetIncrementalSearchTimeout(500);
  OIPTree->Model().OnHeaderClick = [this](::TLTHeader* sender, const TLTHeaderHitInfo& hitInfo) {
    OIPTreeHeaderClick(sender, hitInfo);
  };
  pc->SetActivePageIndex(0);
  pcOI->SetActivePageIndex(0);
  SetPrefs();
  FTreeWidth = TreePanel->Width();
  FOIWidth = OIPanel->Width();
  // A splitter moved by the user sets the width that panel goes back to.
  Splitter1->OnMoved = TNotifyEvent([this](TObject*) { FTreeWidth = TreePanel->Width(); });
  Splitter2->OnMoved = TNotifyEvent([this](TObject*) { FOIWidth = OIPanel->Width(); });
  if (FormStorage) {
    // The settings keep the user's widths, not the narrowed ones; a width
    // the settings do not hold stays the form's.
    FormStorage->BeforeRestorePlacement = TNotifyEvent([this](TObject*) { RestoreSidePanels(); });
    FormStorage->AfterRestorePlacement = TNotifyEvent([this](TObject*) {
      FTreeWidth = TreePanel->Width();
      FOIWidth = OIPanel->Width();
      FitSidePanels();
    });
    FormStorage->BeforeSavePlacement = TNotifyEvent([this](TObject*) { RestoreSidePanels(); });
    FormStorage->AfterSavePlacement = TNotifyEvent([this](TObject*) { FitSidePanels(); });
  }
  FitSidePanels();
}

void Tmdi_kst_Editor::Resize() {
  TForm::Resize();
  FitSidePanels();
}

void Tmdi_kst_Editor::FitSidePanels() {
  if (FFitting || FDestroying || !TreePanel || !OIPanel || FTreeWidth <= 0 || FOIWidth <= 0) return;
  const Integer width = ClientWidth();
  if (width <= 0) return;
  // The source and preview keep two fifths of the window, and half of a
  // narrow one up to 300 pixels.
  const Integer centre = std::max(width * 2 / 5, std::min(width / 2, 300));
  Integer splitters = 0;
  for (TSplitter* splitter : {Splitter1, Splitter2})
    if (splitter && splitter->Visible()) splitters += splitter->Width();
  const Integer room = std::max(0, width - centre - splitters);
  Integer tree = FTreeWidth, inspector = FOIWidth;
  if (tree + inspector > room) {
    // Both give way in proportion, each keeping a sliver to grab.
    constexpr Integer kSliver = 8;
    tree = std::max(kSliver, static_cast<Integer>(static_cast<long long>(room) * FTreeWidth / (FTreeWidth + FOIWidth)));
    inspector = std::max(kSliver, room - tree);
  }
  FFitting = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } done{FFitting};
  if (TreePanel->Width() != tree) TreePanel->SetWidth(tree);
  if (OIPanel->Width() != inspector) OIPanel->SetWidth(inspector);
}

void Tmdi_kst_Editor::RestoreSidePanels() {
  if (!TreePanel || !OIPanel || FTreeWidth <= 0 || FOIWidth <= 0) return;
  FFitting = true;
  TreePanel->SetWidth(FTreeWidth);
  OIPanel->SetWidth(FOIWidth);
  FFitting = false;
}

void Tmdi_kst_Editor::SetFilename(const String& path) {
  FFilename = path;
  SetCaption(ExtractFileName(path));
  LoadDataFile();
}

void Tmdi_kst_Editor::LoadDataFile() {
  // Read aside first: a file that does not convert leaves the editor as it was.
  auto lines = std::make_unique<TStringList>();
  FDataFormat = LoadFormFile(FFilename, *lines);
  FFileLines = std::move(lines);
  DFM->SetLines(FFileLines.get());
  DFM->Core().ClearUndo();
  DFM->SetModified(false);
  DFMChange(DFM);
  cmRescan(nullptr);
  DFMStatusChange(DFM, {});
}

void Tmdi_kst_Editor::New(const TStrings* lines) {
  if (lines) {
    DFM->GetLines()->Clear();
    DFM->GetLines()->AddStrings(*lines);
    cmRescan(nullptr);
    DFM->SetModified(true);
    DFMChange(DFM);
    UpdateModifiedPanel();
  }
  Tree->SetVisible(true);
  DFM->SetVisible(true);
}

void Tmdi_kst_Editor::DFMChange(TObject*) {
  if (FDestroying) return;
  FModified = DFM->Modified();
  UpdateModifiedPanel();
  PostControlsUpdate();
}

void Tmdi_kst_Editor::UpdateModifiedPanel() {
  sb->Panels().Items(2)->SetText(FModified ? u"Modified" : u"");
}

void Tmdi_kst_Editor::PostControlsUpdate() {
  if (wnd_kst_Main) wnd_kst_Main->PostControlsUpdate();
}

void Tmdi_kst_Editor::Dispatch(TMessage& message) {
  TForm::Dispatch(message);
  // The "Windows" menu lists the document by its caption: a new caption
  // (the file's name once it has loaded) is listed at once, not only when
  // the next window is made.
  if (message.Msg == WM_SETTEXT && FormStyle() == fsMDIChild && wnd_kst_Main && wnd_kst_Main->ClientHandle()) {
    SendMessageW(wnd_kst_Main->ClientHandle(), WM_MDIREFRESHMENU, 0, 0);
    DrawMenuBar(wnd_kst_Main->Handle());
  }
}

void Tmdi_kst_Editor::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation == opRemove && component == FPreviewForm) {
    FPreviewForm = nullptr;
    FObject = nullptr;
  }
  if (auto* form = dynamic_cast<TCustomForm*>(component); form && form != this && form->FormStyle() == fsMDIChild)
    PostControlsUpdate();
}

bool Tmdi_kst_Editor::WriteDocument(const String& path, TDataFormat format, bool makeBackup) {
  // The lines keep the character encoding the file was read in.
  FFileLines->SetTextStr(DFM->Text());
  try {
    SaveFormFile(path, *FFileLines, format, makeBackup);
    return true;
  } catch (const Exception& e) {
    Application->ShowException(e);
    return false;
  }
}

bool Tmdi_kst_Editor::cmSave() {
  if (FFilename.empty()) {
    cmSaveAs();
    return !FFilename.empty() && !FModified;
  }
  if (!WriteDocument(FFilename, FDataFormat, true)) return false;
  DFM->SetModified(false);
  DFMChange(DFM);
  return true;
}

void Tmdi_kst_Editor::cmSaveAs() {
  TDataFormat format = dfText;
  if (!TdlgType::Choose(format)) return;
  TSaveDialog* sd = wnd_kst_Main->sd;
  sd->SetFileName(FFilename);
  if (!sd->Execute()) return;
  const String path = sd->FileName();
  // Only Save keeps a backup: a copy written elsewhere leaves the older
  // backup of the chosen name alone.
  if (!WriteDocument(path, format, false)) return;
  // A copy: the document stays bound to its own file. An unnamed one takes
  // the name, so that it is saved from now on.
  if (FFilename.empty()) {
    FFilename = path;
    FDataFormat = format;
    SetCaption(ExtractFileName(path));
    DFM->SetModified(false);
    DFMChange(DFM);
    sb->Panels().Items(4)->SetText(FFilename);
  }
}

void Tmdi_kst_Editor::FormClose(TObject*, TCloseAction& action) {
  FClosed = false;
  if (FModified &&
      MessageDlg(u"Save changes to file " + FFilename + u"?", mtConfirmation, {mbYes, mbNo}) == mrYes) {
    // Written without a backup; an unnamed document asks for its name. A
    // save that fails, or a name that is not given, keeps the window and its text.
    const bool saved = FFilename.empty() ? cmSave() : WriteDocument(FFilename, FDataFormat, false);
    if (!saved) {
      action = caNone;
      return;
    }
  }
  action = caFree;
  FClosed = true;
  FErrBox->Clear();
  FUCL->Clear();
}

void Tmdi_kst_Editor::FormActivate(TObject*) {
  FCurrentLine = 0;  // shown afresh: the tree follows the caret again
  DFMStatusChange(DFM, {});
}

void Tmdi_kst_Editor::DFMStatusChange(TObject*, TCodeStatusChanges) {
  if (FDestroying || !DFM) return;
  TCodeEditCore& core = DFM->Core();
  TCodeEditCaret& caret = core.Caret();
  // Typing within a line moves the caret to no other object: the object
  // tree follows only a change of line.
  const bool lineChanged = FCurrentLine != caret.CaretY();
  if (lineChanged) {
    if (FCurrentLine > 0) caret.InvalidateLine(FCurrentLine);
    caret.InvalidateLine(caret.CaretY());
  }
  FCurrentLine = caret.CaretY();
  TCaretStatus status;
  status.Column = caret.CaretX();
  status.Line = caret.CaretY();
  const TStrings& lines = *DFM->GetLines();
  status.CharCode =
      status.Line >= 1 && status.Line <= lines.Count() ? CharCodeAt(lines.Strings(status.Line - 1), status.Column) : 0;
  status.LineCount = lines.Count();
  status.SelectionLength = static_cast<Integer>(core.Editing().SelText().size());
  sb->Panels().Items(1)->SetText(CaretStatusText(status));
  sb->Panels().Items(3)->SetText(core.InsertMode() ? u"Insert" : u"Overwrite");
  sb->Panels().Items(4)->SetText(FFilename);
  UpdateModifiedPanel();
  UpdateEditCommands();
  PostControlsUpdate();
  if (lineChanged && ActiveControl() == DFM) TrackCaret();
}

void Tmdi_kst_Editor::UpdateEditCommands() {
  if (FDestroying || !DFM) return;
  TCodeEditCore& core = DFM->Core();
  mmUndo->SetEnabled(core.CanUndo());
  mmPaste->SetEnabled(core.CanPaste());
  const bool selection = core.Caret().SelAvail();
  mmCopy->SetEnabled(selection);
  mmCut->SetEnabled(selection);
}

void Tmdi_kst_Editor::pcChange(TObject*) {
  if (pc->ActivePageIndex() == 1) PreviewForm();
}

bool Tmdi_kst_Editor::CanUndo() const {
  return DFM->Core().CanUndo();
}

bool Tmdi_kst_Editor::CanPaste() const {
  return DFM->Core().CanPaste();
}

bool Tmdi_kst_Editor::HasSelection() const {
  return DFM->Core().Caret().SelAvail();
}

void Tmdi_kst_Editor::cmUndo(TObject*) {
  DFM->Core().Editing().Undo();
}

void Tmdi_kst_Editor::cmCopy(TObject*) {
  DFM->Core().Editing().CopyToClipboard();
}

void Tmdi_kst_Editor::cmCut(TObject*) {
  DFM->Core().Editing().CutToClipboard();
}

void Tmdi_kst_Editor::cmPaste(TObject*) {
  DFM->Core().Editing().PasteFromClipboard();
}

void Tmdi_kst_Editor::cmReplace(TObject*) {
  rd->SetFindText(DFM->Core().Caret().WordAtCursor());
  rd->Execute();
}

void Tmdi_kst_Editor::Search(TCodeSearchOptions options, const String& replace) {
  if (SearchReplace(DFM->Core(), rd->FindText(), replace, options) == 0)
    MessageDlg(u"Text not found.", mtInformation, {mbOK});
}

void Tmdi_kst_Editor::rdFind(TObject*) {
  TCodeSearchOptions options;
  const TFindOptions found = rd->Options();
  if (!found.Contains(frDown)) options.Include(ssoBackwards);
  if (found.Contains(frMatchCase)) options.Include(ssoMatchCase);
  if (found.Contains(frWholeWord)) options.Include(ssoWholeWord);
  Search(options, {});
}

void Tmdi_kst_Editor::rdReplace(TObject*) {
  TCodeSearchOptions options{ssoReplace};
  const TFindOptions found = rd->Options();
  if (found.Contains(frMatchCase)) options.Include(ssoMatchCase);
  if (found.Contains(frWholeWord)) options.Include(ssoWholeWord);
  if (found.Contains(frReplaceAll)) options.Include(ssoReplaceAll);
  Search(options, rd->ReplaceText());
}

void Tmdi_kst_Editor::cmFindnext(TObject*) {
  TFindOptions options = rd->Options();
  options.Include(frDown);
  rd->SetOptions(options);
  rdFind(rd);
  if (DFM->CanFocus()) DFM->SetFocus();
}


void Tmdi_kst_Editor::cmLoadData(TObject*) {
  if (!odd->Execute()) return;
  TBytesStream data;
  data.LoadFromFile(odd->FileName());
  const TBytes& bytes = data.Bytes();
  const String text = HexDataText(bytes.data(), bytes.size());
  Clipboard().SetAsText(text);
  DFM->Core().Editing().PasteFromClipboard();
}

void Tmdi_kst_Editor::EditMenuPopup(TObject*) {
  pmPreview->SetEnabled(mmPreview->Enabled());
  pmUndo->SetEnabled(mmUndo->Enabled());
  pmPaste->SetEnabled(DFM->Core().CanPaste());
  const bool selection = DFM->Core().Caret().SelAvail();
  pmCopy->SetEnabled(selection);
  pmCut->SetEnabled(selection);
}

void Tmdi_kst_Editor::UpdateMessages() {
  TListItems& items = EList->Items();
  items.Clear();
  for (int i = 0; i < FErrBox->Count(); ++i) {
    const TMessageItem message = MessageItem(FErrBox->Strings(i));
    TListItem* item = items.Add();
    item->SetCaption(message.Caption);
    item->SetImageIndex(message.ImageIndex);
  }
  EList->Columns().Items(0)->SetCaption(MessagesCaption(FErrBox->Count()));
  const bool any = FErrBox->Count() > 0;
  EList->SetVisible(any);
  ESplitter->SetVisible(any);
  if (any) ESplitter->SetTop(EList->Top() - ESplitter->Height());
  sb->SetTop(ClientHeight());
}

namespace {

void SetColumnVisible(ltcontrol::TLiveStringTree* tree, TColumnIndex column, bool visible) {
  ::TLiveTreeColumns& columns = tree->Model().Header().Columns();
  if (column >= columns.Count()) return;
  ::TLiveTreeColumn* item = columns.Items(column);
  const TLTColumnOptions options = item->Options();
  item->SetOptions(visible ? options + TLTColumnOptions{coVisible} : options - TLTColumnOptions{coVisible});
}

}  // namespace

void Tmdi_kst_Editor::SetPrefs() {
  if (!wnd_kst_Main) return;
  const TKestrumPrefs& prefs = wnd_kst_Main->Prefs();
  SetColumnVisible(Tree, 1, prefs.ShowCNCol);
  // The Type columns describe a live object: without one they stay hidden.
  const bool showType = prefs.ShowTypeCol && FObject;
  SetColumnVisible(OIPTree, 1, showType);
  SetColumnVisible(OIETree, 1, showType);
  TFont& font = DFM->Font();
  font.SetSize(prefs.SmallFont ? 8 : 10);
}

// ---- Object tree ----

namespace {

// The registry previews build from: the package set's, never the program's
// own; a main window made without one (tests) falls back to the application's.
const TClassRegistry& Registry() {
  if (wnd_kst_Main && wnd_kst_Main->Packages) return wnd_kst_Main->Packages->Registry();
  return Application->ClassRegistry();
}


struct TCursorBack {
  ~TCursorBack() { Screen->SetCursor(crDefault); }
};

}  // namespace

TObjectNodeData* Tmdi_kst_Editor::NodeData(ltcontrol::TBaseLiveTree* tree, PLiveNode node) {
  if (!tree || !node || tree->Model().NodeDataSize() < static_cast<Integer>(sizeof(TObjectNodeData*))) return nullptr;
  auto* slot = tree->Model().GetNodeData<TObjectNodeData*>(node);
  return slot ? *slot : nullptr;
}

std::vector<std::unique_ptr<TObjectNodeData>>& Tmdi_kst_Editor::NodeStore(ltcontrol::TLiveStringTree* tree) {
  if (tree == Tree) return FTreeData;
  if (tree == OIPTree) return FPropData;
  if (tree == OIETree) return FEventData;
  return FOriginData;
}

PLiveNode Tmdi_kst_Editor::AddNode(ltcontrol::TLiveStringTree* tree, PLiveNode parent, const TObjectNodeData& data) {
  auto& store = NodeStore(tree);
  store.push_back(std::make_unique<TObjectNodeData>(data));
  return tree->Model().AddChild(parent, store.back().get());
}

void Tmdi_kst_Editor::ClearTree(ltcontrol::TLiveStringTree* tree) {
  // The nodes go first: their events still read the records.
  tree->Model().Clear();
  NodeStore(tree).clear();
}

TComponent* Tmdi_kst_Editor::PreviewComponent(StringView name) const {
  if (!FPreviewForm || name.empty()) return nullptr;
  // Frames own their own components: the search goes through them too.
  std::vector<const TComponent*> owners{FPreviewForm};
  for (size_t i = 0; i < owners.size(); ++i) {
    if (SameText(owners[i]->Name(), name) && owners[i] != FPreviewForm) return const_cast<TComponent*>(owners[i]);
    if (TComponent* found = owners[i]->FindComponent(name)) return found;
    for (int j = 0; j < owners[i]->ComponentCount(); ++j)
      if (owners[i]->Components(j)->ComponentCount() > 0) owners.push_back(owners[i]->Components(j));
  }
  return nullptr;
}

TObject* Tmdi_kst_Editor::HeldObject(TObject* instance, StringView property) {
  if (!instance) return nullptr;
  MOI->SetComponent(instance);
  const TPropInfo* prop = MOI->GetProperty(property);
  return prop && prop->Kind() == tkClass ? GetObjectProp(*instance, *prop) : nullptr;
}

TLiveObjectLookups Tmdi_kst_Editor::PreviewLookups() {
  TLiveObjectLookups live;
  live.CollectionTypeName = [this](const String& component, const String& property) -> String {
    TComponent* owner = PreviewComponent(component);
    if (!owner) return {};
    MOI->SetComponent(owner);
    return MOI->GetPropertyType(property);
  };
  live.CollectionItem = [this](const String& component, const String& collection,
                               Integer index) -> std::optional<TObjectLabel> {
    auto* items = dynamic_cast<TCollection*>(HeldObject(PreviewComponent(component), collection));
    if (!items || index < 0 || index >= items->Count()) return std::nullopt;
    TCollectionItem* item = items->Items(index);
    return TObjectLabel{item->DisplayName(), ClassOf(*item).ClassName()};
  };
  return live;
}

Integer Tmdi_kst_Editor::ScanObjects(const TStrings& lines) {
  ListUnknownClasses(lines, Registry(), *FUCL);
  FreePreview();
  RebuildPreview();
  std::vector<TScannedNode> nodes;
  try {
    nodes = ScanObjectLines(lines, &Registry(), PreviewLookups());
  } catch (const std::exception&) {
    // A scan that fails shows no objects rather than a broken tree.
    nodes.clear();
  }
  MOI->SetComponent(nullptr);
  ::TBaseLiveTree& model = Tree->Model();
  model.BeginUpdate();
  ClearTree(Tree);
  FFormClass.clear();
  std::vector<PLiveNode> added;
  added.reserve(nodes.size());
  for (const TScannedNode& node : nodes) {
    added.push_back(AddNode(Tree, node.Parent >= 0 ? added[node.Parent] : nullptr, node.Data));
    if (node.Data.Kind == okRootObject) FFormClass = node.Data.ClassName;
  }
  model.EndUpdate();
  FObjectCount = static_cast<Integer>(model.TotalCount());
  pc->SetActivePageIndex(0);
  return FObjectCount;
}

void Tmdi_kst_Editor::cmRescan(TObject*) {
  TCursorBack back;
  Screen->SetCursor(crHourGlass);
  const Integer count = ScanObjects(*DFM->GetLines());
  // Also after a scan that finds nothing: the count of the last scan would be wrong.
  sb->Panels().Items(0)->SetText(Format(u"Object count: %d", {count}));
  if (count > 0) {
    SelectNode(Tree->Model().GetFirst());
    Tree->Model().FullExpand();
    Tree->SetVisible(true);
    DFM->Core().Caret().SetCaretXY({1, 1});
    if (DFM->CanFocus()) DFM->SetFocus();
  } else {
    OIPanel->SetCaption(u"No object selected");
    FillHierarchyTree(nullptr);
  }
  UpdateMessages();
}

PLiveNode Tmdi_kst_Editor::FindObjectNode(StringView name) const {
  ::TBaseLiveTree& model = Tree->Model();
  for (PLiveNode node = model.GetFirst(); node; node = model.GetNext(node))
    if (const TObjectNodeData* data = NodeData(Tree, node); data && SameText(data->Name, name)) return node;
  return nullptr;
}

void Tmdi_kst_Editor::SelectNode(PLiveNode node) {
  if (!node) return;
  ::TBaseLiveTree& model = Tree->Model();
  model.ClearSelection();
  model.SetSelected(node, true);
  // Focusing the node that has the focus already reports nothing: its object is shown anew.
  if (model.FocusedNode() == node)
    TreeFocusChanged(Tree, node, model.FocusedColumn());
  else
    model.SetFocusedNode(node);
  model.ScrollIntoView(node, false);
}

void Tmdi_kst_Editor::TreeGetText(ltcontrol::TBaseLiveTree*, PLiveNode node, TColumnIndex column, TLSTTextType,
                                  String& cellText) {
  const TObjectNodeData* data = NodeData(Tree, node);
  if (!data) return;
  if (column == 1) {
    cellText = data->ClassName;
    return;
  }
  const Cardinal children = Tree->Model().GetChildCount(node);
  cellText = children > 0 ? Format(u"%s (%d)", {data->Name, static_cast<Integer>(children)}) : data->Name;
}

void Tmdi_kst_Editor::TreeGetImageIndex(ltcontrol::TBaseLiveTree*, PLiveNode node, TLTImageKind kind,
                                        TColumnIndex column, bool&, Integer& imageIndex) {
  if (kind == ikOverlay || column > 0) return;
  if (const TObjectNodeData* data = NodeData(Tree, node)) imageIndex = data->ImageIndex;
}

void Tmdi_kst_Editor::TreeIncrementalSearch(ltcontrol::TBaseLiveTree*, PLiveNode node, const String& searchText,
                                            Integer& result) {
  const TObjectNodeData* data = NodeData(Tree, node);
  result = data && IncrementalSearchMatches(searchText, data->Name) ? 0 : 1;
}

void Tmdi_kst_Editor::TreeFocusChanged(ltcontrol::TBaseLiveTree*, PLiveNode node, TColumnIndex) {
  FObject = nullptr;
  const TObjectNodeData* data = NodeData(Tree, node);
  if (!data) return;
  const TObjectNodeData* shown = data;
  const TClassInfo* cls = nullptr;
  ::TBaseLiveTree& model = Tree->Model();
  try {
    const PLiveNode parent = model.NodeParent(node);
    if (!parent) {
      // A top-level node stands for the preview form itself.
      FObject = FPreviewForm;
      if (FPreviewForm) cls = &ClassOf(*FPreviewForm);
    } else {
      cls = Registry().FindClass(data->ClassName);
      const TObjectNodeData* parentData = NodeData(Tree, parent);
      if (data->Kind == okObject) {
        FObject = PreviewComponent(data->Name);
      } else if (data->Kind == okCollection && parentData) {
        FObject = HeldObject(PreviewComponent(parentData->Name), data->Name);
      } else if (data->Kind == okCollectionItem && parentData) {
        shown = parentData;
        const TObjectNodeData* ownerData = NodeData(Tree, model.NodeParent(parent));
        auto* items =
            dynamic_cast<TCollection*>(HeldObject(ownerData ? PreviewComponent(ownerData->Name) : nullptr, shown->Name));
        const auto index = static_cast<int>(node->Index);
        if (items && index < items->Count()) FObject = items->Items(index);
      }
      // Collections and items take their class from the live object when
      // the registry does not list it.
      if (!cls && FObject && data->Kind != okObject) cls = &ClassOf(*FObject);
    }
    if (!cls) FObject = nullptr;
  } catch (const std::exception&) {
    // The preview did not build it.
  }
  OIPanel->SetCaption(Format(u"%s: %s", {shown->Name, shown->ClassName}));
  InspectObject(FObject, shown->Name);
  FillHierarchyTree(cls);
  if (!TabSheet5->TabVisible()) pcOI->SetActivePageIndex(0);
  if (pc->ActivePageIndex() == 0)
    if (auto* control = dynamic_cast<TControl*>(FObject); control && control != FPreviewForm) control->SetVisible(true);
}

void Tmdi_kst_Editor::TrackCaret() {
  if (Tree->Model().TotalCount() == 0) return;
  const std::optional<String> name = EnclosingObjectName(*DFM->GetLines(), DFM->Core().Caret().CaretY() - 1);
  if (!name) return;
  const PLiveNode node = FindObjectNode(*name);
  if (node && node != Tree->Model().FocusedNode()) SelectNode(node);
}

void Tmdi_kst_Editor::cmGoto(TObject*) {
  ::TBaseLiveTree& model = Tree->Model();
  PLiveNode node = model.FocusedNode();
  if (!node) return;
  const TObjectNodeData* data = NodeData(Tree, node);
  // Collections and items are found by the object that holds them, also
  // when the preview named them after their live type or class.
  if (data && (data->Kind == okCollection || SameText(data->ClassName, u"TCollection")))
    data = NodeData(Tree, model.NodeParent(node));
  else if (data && (data->Kind == okCollectionItem || SameText(data->ClassName, u"TCollectionItem")))
    data = NodeData(Tree, model.NodeParent(model.NodeParent(node)));
  if (!data) return;
  TCodeEditCore& core = DFM->Core();
  core.Caret().SetCaretXY({1, 1});
  try {
    SearchReplace(core, Format(u"%s: %s", {data->Name, data->ClassName}), {}, {});
  } catch (const Exception&) {
    // Not found: the caret stays at the top.
  }
  pc->SetActivePageIndex(0);
  if (DFM->CanFocus()) DFM->SetFocus();
}

void Tmdi_kst_Editor::cmExpand(TObject*) {
  Tree->Model().FullExpand();
}

void Tmdi_kst_Editor::cmCollapse(TObject*) {
  Tree->Model().FullCollapse();
}

void Tmdi_kst_Editor::cmCBLocate(TObject*) {
  if (const TObjectNodeData* data = NodeData(Tree, Tree->Model().FocusedNode()))
    LocateInClassBrowser(data->UnitName, data->ClassName);
}

// ---- Inspector views ----

void Tmdi_kst_Editor::InspectObject(TObject* object, const String& name) {
  TabSheet5->SetTabVisible(false);
  if (!object && name.empty()) return;
  FillPropertyTree(object, name);
  FillEventTree(object, name);
}

void Tmdi_kst_Editor::FillPropertyTree(TObject* object, const String& name) {
  const bool showType = object && wnd_kst_Main && wnd_kst_Main->Prefs().ShowTypeCol;
  SetColumnVisible(OIPTree, 1, showType);
  std::vector<TInspectorRow> rows;
  try {
    rows = PropertyRows(*MOI, object, name, *DFM->GetLines());
  } catch (const Exception&) {
    rows.clear();
  }
  ::TBaseLiveTree& model = OIPTree->Model();
  model.BeginUpdate();
  ClearTree(OIPTree);
  std::vector<PLiveNode> added;
  added.reserve(rows.size());
  for (const TInspectorRow& row : rows) added.push_back(AddNode(OIPTree, row.Parent >= 0 ? added[row.Parent] : nullptr, row.Data));
  model.EndUpdate();
  TabSheet3->SetCaption(Format(u" Properties (%d)", {static_cast<Integer>(model.TotalCount())}));
}

void Tmdi_kst_Editor::FillEventTree(TObject* object, const String& name) {
  ::TBaseLiveTree& model = OIETree->Model();
  TabSheet4->SetTabVisible(object != nullptr);
  if (!object) {
    ClearTree(OIETree);
    return;
  }
  SetColumnVisible(OIETree, 1, wnd_kst_Main && wnd_kst_Main->Prefs().ShowTypeCol);
  std::vector<TInspectorRow> rows;
  try {
    rows = EventRows(*MOI, object, name, *DFM->GetLines());
  } catch (const Exception&) {
    rows.clear();
  }
  model.BeginUpdate();
  ClearTree(OIETree);
  for (const TInspectorRow& row : rows) AddNode(OIETree, nullptr, row.Data);
  model.EndUpdate();
  TabSheet4->SetCaption(Format(u" Events (%d)", {static_cast<Integer>(model.TotalCount())}));
}

void Tmdi_kst_Editor::OITreeGetText(ltcontrol::TBaseLiveTree* sender, PLiveNode node, TColumnIndex column,
                                    TLSTTextType, String& cellText) {
  const TObjectNodeData* data = NodeData(sender, node);
  if (!data) return;
  switch (column) {
    case 1: cellText = data->ClassName; break;
    case 2: cellText = data->ValueText; break;
    default: cellText = data->Name; break;
  }
}

void Tmdi_kst_Editor::OITreePaintText(ltcontrol::TBaseLiveTree* sender, TCanvas* targetCanvas, PLiveNode node,
                                      TColumnIndex column, TLSTTextType) {
  const TObjectNodeData* data = NodeData(sender, node);
  if (!data || !targetCanvas) return;
  TFont& font = targetCanvas->Font();
  const bool selected = sender->Model().Selected(node);
  if (column == 1) font.SetColor(selected ? clWhite : clGray);
  if (column == 2) font.SetColor(selected ? clWhite : clNavy);
  // What the form text sets is bold.
  if (data->TextIndex >= 0) font.SetStyle(font.Style() + TFontStyles{fsBold});
}

void Tmdi_kst_Editor::OITreeCompareNodes(ltcontrol::TBaseLiveTree* sender, PLiveNode node1, PLiveNode node2,
                                         TColumnIndex column, Integer& result) {
  const TObjectNodeData* a = NodeData(sender, node1);
  const TObjectNodeData* b = NodeData(sender, node2);
  if (!a || !b) return;
  switch (column) {
    case 0: result = AnsiCompareStr(a->Name, b->Name); break;
    case 1: result = AnsiCompareStr(a->ClassName, b->ClassName); break;
    case 2: result = AnsiCompareStr(a->ValueText, b->ValueText); break;
    default: break;
  }
}

void Tmdi_kst_Editor::OIPTreeHeaderClick(::TLTHeader*, const TLTHeaderHitInfo& hitInfo) {
  if (hitInfo.Column < 0) return;
  ::TBaseLiveTree& model = OIPTree->Model();
  if (model.SortColumn() == hitInfo.Column) {
    model.SetSortDirection(model.SortDirection() == sdAscending ? sdDescending : sdAscending);
  } else {
    model.SetSortDirection(sdAscending);
    model.SetSortColumn(hitInfo.Column);
  }
  model.SortTree(model.SortColumn(), model.SortDirection());
}

void Tmdi_kst_Editor::OIPTreeDblClick(TObject*) {
  if (TabSheet5->TabVisible()) pcOI->SetActivePage(TabSheet5);
}

void Tmdi_kst_Editor::OIPTreeFocusChanged(ltcontrol::TBaseLiveTree*, PLiveNode node, TColumnIndex) {
  ShowImageOf(NodeData(OIPTree, node));
}

void Tmdi_kst_Editor::ShowImageOf(const TObjectNodeData* data) {
  Image->Picture().SetGraphic(nullptr);
  try {
    TObject* value = data ? data->ValueObject : nullptr;
    TGraphic* graphic = dynamic_cast<TGraphic*>(value);
    if (auto* picture = dynamic_cast<TPicture*>(value)) graphic = picture->Graphic();
    if (graphic && !graphic->Empty()) {
      Image->Picture().Assign(graphic);
      const Integer width = graphic->Width();
      const Integer height = graphic->Height();
      String title = Format(u"Image: %d x %d", {width, height});
      String filter = u"Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Metafiles (*.wmf)|*.wmf";
      if (dynamic_cast<TBitmap*>(graphic)) {
        title = Format(u"Bitmap: %d x %d", {width, height});
        filter = u"Bitmaps (*.bmp)|*.bmp";
      } else if (auto* metafile = dynamic_cast<TMetafile*>(graphic)) {
        title = Format(u"Metafile: %d x %d", {width, height});
        // Offered in the kind it was read as, which is the kind it saves as.
        filter = metafile->Enhanced() ? u"Enhanced Metafiles (*.emf)|*.emf" : u"Metafiles (*.wmf)|*.wmf";
      } else if (dynamic_cast<TPngImage*>(graphic)) {
        filter = u"Portable Network Graphics (*.png)|*.png";
      } else if (dynamic_cast<TIcon*>(graphic)) {
        title = Format(u"Icon: %d x %d", {width, height});
        filter = u"Icons (*.ico)|*.ico";
      }
      ImageTitle->SetCaption(title);
      spd1->SetFilter(filter);
    }
    if (data) PropTitle->SetCaption(Format(u"%s: %s", {data->Name, data->ClassName}));
    TabSheet5->SetTabVisible(Image->Picture().Graphic() != nullptr);
  } catch (const Exception&) {
    TabSheet5->SetTabVisible(false);
  }
}

void Tmdi_kst_Editor::ImageDblClick(TObject*) {
  const bool fit = !Image->AutoSize();
  Image->SetAutoSize(fit);
  Image->SetStretch(fit);
  Image->SetWidth(fit ? Image->Picture().Width() : ScrollBox1->ClientWidth());
}

void Tmdi_kst_Editor::pmSaveClick(TObject*) {
  if (spd1->Execute()) Image->Picture().SaveToFile(spd1->FileName());
}

void Tmdi_kst_Editor::FillHierarchyTree(const TClassInfo* cls) {
  ::TBaseLiveTree& model = HTree->Model();
  model.BeginUpdate();
  ClearTree(HTree);
  if (cls) {
    PLiveNode parent = nullptr;
    for (const TClassInfo* run = cls; run; run = run->ClassParent()) {
      TObjectNodeData data;
      data.ClassName = run->ClassName();
      data.UnitName = run->UnitName();
      parent = AddNode(HTree, parent, data);
    }
  } else {
    TObjectNodeData data;
    data.ClassName = u"<No info available>";
    AddNode(HTree, nullptr, data);
  }
  model.EndUpdate();
  model.FullExpand();
}

void Tmdi_kst_Editor::HTreeGetText(ltcontrol::TBaseLiveTree*, PLiveNode node, TColumnIndex, TLSTTextType,
                                   String& cellText) {
  if (const TObjectNodeData* data = NodeData(HTree, node)) cellText = data->ClassName;
}

void Tmdi_kst_Editor::HTreePaintText(ltcontrol::TBaseLiveTree*, TCanvas* targetCanvas, PLiveNode node, TColumnIndex,
                                     TLSTTextType) {
  if (targetCanvas && node && HTree->Model().GetNodeLevel(node) == 0)
    targetCanvas->Font().SetStyle(targetCanvas->Font().Style() + TFontStyles{fsBold});
}

void Tmdi_kst_Editor::HTreeDblClick(TObject*) {
  const TObjectNodeData* data = NodeData(HTree, HTree->Model().FocusedNode());
  if (data && !data->UnitName.empty()) LocateInClassBrowser(data->UnitName, data->ClassName);
}

// ---- Preview ----

void Tmdi_kst_Editor::DropLiveObjects() {
  FObject = nullptr;
  if (MOI) MOI->SetComponent(nullptr);
  ClearTree(OIPTree);
  ClearTree(OIETree);
}

void Tmdi_kst_Editor::FreePreview() {
  DropLiveObjects();
  if (!FPreviewForm) return;
  TForm* preview = FPreviewForm;
  FPreviewForm = nullptr;
  try {
    preview->OnClose = {};
    preview->RemoveFreeNotification(this);
    preview->Free();
  } catch (const Exception&) {
  }
}

void Tmdi_kst_Editor::RebuildPreview() {
  auto text = std::make_unique<TStringList>();
  text->AddStrings(*DFM->GetLines());
  AdjustPreviewText(*text);
  FErrBox->Clear();
  struct TRefresh {
    Tmdi_kst_Editor* Self;
    ~TRefresh() { Self->UpdateMessages(); }
  } refresh{this};
  auto* preview = new TForm(VirtualDesktop);
  preview->SetParent(VirtualDesktop);
  FPreviewForm = preview;
  preview->FreeNotification(this);
  ReadPreview(*text, *preview, Registry(), *FErrBox);
  try {
    HookPreviewControls(preview);
    preview->SetShowHint(true);
    preview->SetHint(Format(u"%s: %s\r\nOrigin: %d, %d; Size: %d x %d",
                            {preview->Name(), ClassOf(*preview).ClassName(), preview->Left(), preview->Top(),
                             preview->Width(), preview->Height()}));
    preview->OnClick = TNotifyEvent(this, &Tmdi_kst_Editor::ObjectEnter);
    preview->OnMouseMove = TMouseMoveEvent(this, &Tmdi_kst_Editor::ObjectMouseMove);
    preview->SetPosition(poDesigned);
    preview->SetLeft(10);
    preview->SetTop(10);
    preview->SetWindowState(wsNormal);
    preview->Show();
  } catch (const Exception& e) {
    FErrBox->Add(u"ERROR=FormShow: " + e.Message());
  }
}

void Tmdi_kst_Editor::PreviewForm() {
  FreePreview();
  RebuildPreview();
  // The views showed objects of the old preview: the focused node shows the new ones.
  if (PLiveNode node = Tree->Model().FocusedNode()) TreeFocusChanged(Tree, node, Tree->Model().FocusedColumn());
}

void Tmdi_kst_Editor::HookPreviewControls(TComponent* owner) {
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    auto* control = dynamic_cast<TControl*>(owner->Components(i));
    if (!control) continue;
    MOI->SetComponent(control);
    const TNotifyEvent enter(this, &Tmdi_kst_Editor::ObjectEnter);
    if (MOI->GetProperty(u"OnClick"))
      MOI->SetEventValue(u"OnClick", std::any(enter));
    else if (MOI->GetProperty(u"OnDblClick"))
      MOI->SetEventValue(u"OnDblClick", std::any(enter));
    if (MOI->GetProperty(u"OnMouseMove"))
      MOI->SetEventValue(u"OnMouseMove", std::any(TMouseMoveEvent(this, &Tmdi_kst_Editor::ObjectMouseMove)));
    MOI->SetPropertyValue(u"ShowHint", String(u"True"));
    MOI->SetPropertyValue(u"Hint", Format(u"%s: %s\r\nOrigin: %d, %d\r\nSize: %d x %d",
                                          {control->Name(), ClassOf(*control).ClassName(), control->Left(),
                                           control->Top(), control->Width(), control->Height()}));
    // Disabled controls of the design react to the hooks too.
    MOI->SetPropertyValue(u"Enabled", String(u"True"));
    if (control->ComponentCount() > 0) HookPreviewControls(control);
  }
  MOI->SetComponent(nullptr);
}

void Tmdi_kst_Editor::ObjectEnter(TObject* sender) {
  auto* component = dynamic_cast<TComponent*>(sender);
  if (!component) return;
  if (PLiveNode node = FindObjectNode(component->Name())) SelectNode(node);
}

void Tmdi_kst_Editor::ObjectMouseMove(TObject* sender, TShiftState, Integer x, Integer y) {
  auto* component = dynamic_cast<TComponent*>(sender);
  sb->Panels().Items(1)->SetText(
      component ? Format(u"%s: %s   X: %d   Y: %d", {component->Name(), ClassOf(*component).ClassName(), x, y})
                : Format(u"X: %d   Y: %d", {x, y}));
}

void Tmdi_kst_Editor::cmPreview(TObject*) {
  ToggleSourcePreviewPage();
}

void Tmdi_kst_Editor::ToggleSourcePreviewPage() {
  pc->SetActivePageIndex(pc->ActivePageIndex() == 0 ? 1 : 0);
}

namespace {

// The window lies wholly inside every parent's client area and nothing else
// covers it: the screen then shows all of it.
bool WholeWindowOnScreen(HWND window) {
  if (!IsWindowVisible(window)) return false;
  RECT bounds{};
  GetWindowRect(window, &bounds);
  for (HWND parent = GetParent(window); parent; parent = GetParent(parent)) {
    RECT client{};
    GetClientRect(parent, &client);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (bounds.left < client.left || bounds.top < client.top || bounds.right > client.right ||
        bounds.bottom > client.bottom)
      return false;
  }
  const auto covered = [window](LONG x, LONG y) {
    const HWND found = WindowFromPoint(POINT{x, y});
    return found != window && !IsChild(window, found);
  };
  for (const POINT& corner : {POINT{bounds.left, bounds.top}, POINT{bounds.right - 1, bounds.top},
                              POINT{bounds.left, bounds.bottom - 1}, POINT{bounds.right - 1, bounds.bottom - 1},
                              POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2}})
    if (covered(corner.x, corner.y)) return false;
  return true;
}

}  // namespace

void Tmdi_kst_Editor::mmSaveFormImageClick(TObject*) {
  // The image is of the form as drawn: from the Source page its page is
  // shown first, which builds and draws it.
  if (pc->ActivePageIndex() != 1) {
    pc->SetActivePageIndex(1);
    if (!FPreviewForm) PreviewForm();
    Application->ProcessMessages();
  }
  if (!FPreviewForm || !FPreviewForm->HandleAllocated()) return;
  spd->SetFileName(FPreviewForm->Name() + u".bmp");
  if (!spd->Execute()) return;
  // Opaque, as on the screen: a 32-bit picture would carry an alpha channel
  // that alpha-aware viewers take for transparency.
  TBitmap image(FPreviewForm->Width(), FPreviewForm->Height(), pf24bit);
  HDC dc = image.Canvas().Handle();
  // Where the whole form is on the screen, the screen is copied: frame, title
  // bar and controls exactly as drawn. Otherwise it paints itself.
  const HWND form = FPreviewForm->Handle();
  if (WholeWindowOnScreen(form)) {
    RECT bounds{};
    GetWindowRect(form, &bounds);
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top, screen, bounds.left, bounds.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  } else {
    FPreviewForm->PaintTo(dc, 0, 0);
  }
  image.SaveToFile(spd->FileName());
}
