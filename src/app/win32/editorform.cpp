#include "app/win32/editorform.h"

#include "app/editorstatus.h"
#include "app/objectinspector.h"
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
#include "ui/clipbrd.h"
#include "ui/dialogs.h"

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
}

Tmdi_kst_Editor::Tmdi_kst_Editor(TComponent* owner)
    : TForm(owner),
      FErrBox(std::make_unique<TStringList>()),
      FUCL(std::make_unique<TStringList>()),
      FFileLines(std::make_unique<TStringList>()) {}

Tmdi_kst_Editor::~Tmdi_kst_Editor() {
  FDestroying = true;
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
  pc->SetActivePageIndex(0);
  pcOI->SetActivePageIndex(0);
  SetPrefs();
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
  if (wnd_kst_Main && wnd_kst_Main->HandleAllocated()) PostMessageW(wnd_kst_Main->Handle(), WM_UPDATECONTROLS, 0, 0);
}

void Tmdi_kst_Editor::Dispatch(TMessage& message) {
  TForm::Dispatch(message);
}

void Tmdi_kst_Editor::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
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
  if (!WriteDocument(path, format, true)) return;
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
  if (FModified &&
      MessageDlg(u"Save changes to file " + FFilename + u"?", mtConfirmation, {mbYes, mbNo}) == mrYes) {
    // A save that fails, or a name that is not given, keeps the window and its text.
    if (!cmSave()) {
      action = caNone;
      return;
    }
  }
  action = caFree;
  FErrBox->Clear();
  FUCL->Clear();
}

void Tmdi_kst_Editor::FormActivate(TObject*) {
  DFMStatusChange(DFM, {});
}

void Tmdi_kst_Editor::DFMStatusChange(TObject*, TCodeStatusChanges) {
  if (FDestroying || !DFM) return;
  TCodeEditCore& core = DFM->Core();
  TCodeEditCaret& caret = core.Caret();
  if (FCurrentLine > 0) caret.InvalidateLine(FCurrentLine);
  caret.InvalidateLine(caret.CaretY());
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
  mmUndo->SetEnabled(core.CanUndo());
  mmPaste->SetEnabled(core.CanPaste());
  const bool selection = caret.SelAvail();
  mmCopy->SetEnabled(selection);
  mmCut->SetEnabled(selection);
  PostControlsUpdate();
}

void Tmdi_kst_Editor::pcChange(TObject*) {}

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

void Tmdi_kst_Editor::cmGoto(TObject*) {}
void Tmdi_kst_Editor::cmCBLocate(TObject*) {}
void Tmdi_kst_Editor::cmExpand(TObject*) {}
void Tmdi_kst_Editor::cmCollapse(TObject*) {}
void Tmdi_kst_Editor::cmPreview(TObject*) {}
void Tmdi_kst_Editor::mmSaveFormImageClick(TObject*) {}

void Tmdi_kst_Editor::cmRescan(TObject*) {
  UpdateMessages();
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

void Tmdi_kst_Editor::SetPrefs() {
  if (!wnd_kst_Main) return;
  const TKestrumPrefs& prefs = wnd_kst_Main->Prefs();
  TFont& font = DFM->Font();
  font.SetSize(prefs.SmallFont ? 8 : 10);
}
