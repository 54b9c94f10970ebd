#include "app/win32/extractdialog.h"

#include "app/extractinfo.h"
#include "app/win32/editorform.h"
#include "app/win32/mainform.h"
#include "codeedit/dfmhighlighter.h"
#include "codeedit/win32/codeedit.h"
#include "panelkit/win32/pagecontrol.h"
#include "pe/pereader.h"
#include "services/win32/formstorage.h"
#include "winbar/win32/mdibuttongroup.h"

KST_CLASS_IMPL(Tdlg_kst_Extract, "Kestrum_Extract")

void Tdlg_kst_Extract::Describe(TClassBuilder<Tdlg_kst_Extract>& c) {
  using D = Tdlg_kst_Extract;
  c.Field(u"Label1", &D::Label1);
  c.Field(u"Panel", &D::Panel);
  c.Field(u"pc", &D::pc);
  c.Field(u"tsRes", &D::tsRes);
  c.Field(u"tsInfo", &D::tsInfo);
  c.Field(u"Box", &D::Box);
  c.Field(u"Splitter1", &D::Splitter1);
  c.Field(u"DFM", &D::DFM);
  c.Field(u"Memo", &D::Memo);
  c.Field(u"ts", &D::ts);
  c.Field(u"pBottom", &D::pBottom);
  c.Field(u"bOpen", &D::bOpen);
  c.Field(u"bOK", &D::bOK);
  c.Field(u"bClose", &D::bClose);
  c.Field(u"od", &D::od);
  c.Field(u"FormStorage", &D::FormStorage);
  c.Method(u"FormCreate", &D::FormCreate);
  c.Method(u"FormDestroy", &D::FormDestroy);
  c.Method(u"tsClick", &D::tsClick);
  c.Method(u"bOpenClick", &D::bOpenClick);
  c.Method(u"BoxClick", &D::BoxClick);
  c.Method(u"BoxDblClick", &D::BoxDblClick);
}

Tdlg_kst_Extract::Tdlg_kst_Extract(TComponent* owner) : TForm(owner) {}

Tdlg_kst_Extract::~Tdlg_kst_Extract() {
  // The text view goes with the form's components, after the highlighter.
  if (DFM) DFM->Core().SetHighlighter(nullptr);
}

void Tdlg_kst_Extract::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation == opRemove && component == FLastLoaded) FLastLoaded = nullptr;
}

void Tdlg_kst_Extract::FormCreate(TObject*) {
  pc->SetActivePageIndex(0);
  FPE = std::make_unique<TPEReader>();
  FHighlighter = std::make_unique<TCodeDfmHighlighter>();
  FHighlighter->CommentAttri()->SetForeground(clGreen);
  FHighlighter->NumberAttri()->SetForeground(clBlue);
  FHighlighter->StringAttri()->SetForeground(clRed);
  DFM->Core().SetHighlighter(FHighlighter.get());
  if (wnd_kst_Main) wnd_kst_Main->ShareSettingsStore(FormStorage);
}

void Tdlg_kst_Extract::FormDestroy(TObject*) {
  if (DFM) DFM->Core().SetHighlighter(nullptr);
  FPE.reset();
}

void Tdlg_kst_Extract::RefreshData(const String& path) {
  FPE->SetFileName(path);
  if (!FPE->Valid()) {
    // A 16-bit executable is named for what it is, not shown as an empty dialog.
    if (const String text = SixteenBitImageText(*FPE); !text.empty()) {
      Box->Items().Clear();
      DFM->GetLines()->Clear();
      Memo->GetLines()->Clear();
      bOK->SetEnabled(false);
      bOK->SetVisible(false);
      Panel->SetVisible(false);
      Label1->SetCaption(text);
      SetCaption(ExtractDialogCaption(FPI, path));
    }
    return;
  }
  Label1->SetCaption(u"No form resources found");
  tsInfo->SetCaption(InfoPageCaption(FPE->PackageDescription()));
  Box->Items().BeginUpdate();
  Box->Items().Clear();
  for (int i = 0; i < FPE->FormCount(); ++i) Box->Items().Add(FPE->Forms(i));
  Box->Items().EndUpdate();
  DFM->GetLines()->Clear();
  bOK->SetEnabled(false);
  tsRes->SetCaption(ResourcesPageCaption(FPE->FormCount()));
  tsClick(nullptr);
  tsRes->SetTabVisible(!FPI);
  Panel->SetVisible(FPE->FormCount() > 0 || FPI);
  bOK->SetVisible(!FPI);
  SetCaption(ExtractDialogCaption(FPI, FPE->FileName()));
  if (!tsRes->TabVisible()) pc->SetActivePageIndex(1);
}

void Tdlg_kst_Extract::tsClick(TObject*) {
  const Integer index = ts->TabIndex();
  if (index < 0 || index > 3) return;
  const auto tab = static_cast<TExtractInfoTab>(index);
  TStrings& lines = *Memo->GetLines();
  ExtractInfoLines(*FPE, tab, lines);
  ts->Tabs().SetStrings(index, ExtractInfoTabCaption(tab, lines.Count()));
  Memo->SetSelStart(0);
}

void Tdlg_kst_Extract::bOpenClick(TObject*) {
  if (od->Execute()) RefreshData(od->FileName());
}

void Tdlg_kst_Extract::BoxClick(TObject*) {
  bOK->SetEnabled(false);
  const Integer index = Box->ItemIndex();
  if (index < 0) return;
  try {
    TResourceItem item;
    FPE->GetResourceByName(Box->Items()[index], item);
    FormResourceToStrings(item, *DFM->GetLines());
    bOK->SetEnabled(true);
  } catch (const Exception& e) {
    Application->ShowException(e);
  }
}

void Tdlg_kst_Extract::BoxDblClick(TObject*) {
  const Integer index = Box->ItemIndex();
  if (index < 0 || !wnd_kst_Main) return;
  const String caption = Box->Items()[index];
  auto* editor = CreateForm<Tmdi_kst_Editor>(wnd_kst_Main);
  editor->SetCaption(caption);
  wnd_kst_Main->mdibg->AddButton(editor, 5, caption);
  editor->New(DFM->GetLines());
  if (FLastLoaded) FLastLoaded->RemoveFreeNotification(this);
  FLastLoaded = editor;
  editor->FreeNotification(this);
  wnd_kst_Main->SetControls();
}

void ShowExtractDialog(const String& path, bool packageInfoOnly) {
  auto dialog = MakeForm<Tdlg_kst_Extract>(Application->MainForm());
  dialog->FPI = packageInfoOnly;
  dialog->RefreshData(path);
  dialog->ShowModal();
}
