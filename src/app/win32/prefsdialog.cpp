#include "app/win32/prefsdialog.h"

#include "app/win32/mainform.h"
#include "classes/reflection.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"
#include "ui/messageboxes.h"

KST_CLASS_IMPL(Tdlg_kst_Prefs, "Kestrum_Prefs")

void Tdlg_kst_Prefs::Describe(TClassBuilder<Tdlg_kst_Prefs>& c) {
  using P = Tdlg_kst_Prefs;
  c.Field(u"pc", &P::pc);
  c.Field(u"tsGen", &P::tsGen);
  c.Field(u"tsPkg", &P::tsPkg);
  c.Field(u"tsRC", &P::tsRC);
  c.Field(u"Label1", &P::Label1);
  c.Field(u"RFTList", &P::RFTList);
  c.Field(u"GroupBox1", &P::GroupBox1);
  c.Field(u"cbxShowTypeCol", &P::cbxShowTypeCol);
  c.Field(u"cbxShowCNCol", &P::cbxShowCNCol);
  c.Field(u"cbxFont", &P::cbxFont);
  c.Field(u"BPLList", &P::BPLList);
  c.Field(u"bAdd", &P::bAdd);
  c.Field(u"bDel", &P::bDel);
  c.Field(u"bOK", &P::bOK);
  c.Field(u"bCancel", &P::bCancel);
  c.Field(u"Panel1", &P::Panel1);
  c.Field(u"Memo", &P::Memo);
  c.Field(u"ts", &P::ts);
  c.Field(u"lUnit", &P::lUnit);
  c.Field(u"eSearch", &P::eSearch);
  c.Field(u"Box", &P::Box);
  c.Field(u"Tree", &P::Tree);
  c.Field(u"opd", &P::opd);
  c.Field(u"ImageList1", &P::ImageList1);
  c.Method(u"FormCreate", &P::FormCreate);
  c.Method(u"FormShow", &P::FormShow);
  c.Method(u"FormClose", &P::FormClose);
  c.Method(u"pcChange", &P::pcChange);
  c.Method(u"tsClick", &P::tsClick);
  c.Method(u"cmAdd", &P::cmAdd);
  c.Method(u"cmDel", &P::cmDel);
  c.Method(u"BPLListSelectItem", &P::BPLListSelectItem);
  c.Method(u"eSearchChange", &P::eSearchChange);
  c.Method(u"eSearchLeftButtonClick", &P::eSearchLeftButtonClick);
  c.Method(u"eSearchRightButtonClick", &P::eSearchRightButtonClick);
  c.Method(u"BoxClick", &P::BoxClick);
}

namespace {

String ExtensionOf(const TListItem& item) {
  return u"." + item.Caption();
}

bool NamesProgram(const String& command, const String& programPath) {
  return !command.empty() && SameText(command, programPath);
}

}  // namespace

void Tdlg_kst_Prefs::FormCreate(TObject*) {
  pc->SetActivePageIndex(0);
}

void Tdlg_kst_Prefs::FormShow(TObject*) {
  if (FileTypes) {
    TListItems& items = RFTList->Items();
    for (int i = 0; i < items.Count(); ++i) {
      TListItem* item = items.Item(i);
      item->SetChecked(NamesProgram(GetFileTypeCommand(*FileTypes, ExtensionOf(*item)), ProgramPath));
    }
  }
  RefreshPackages();
}

void Tdlg_kst_Prefs::FormClose(TObject*, TCloseAction&) {
  BPLList->OnSelectItem = {};
}

void Tdlg_kst_Prefs::RefreshPackages() {
  if (!Source) return;
  const TLVSelectItemEvent selected = BPLList->OnSelectItem;
  BPLList->OnSelectItem = {};
  TListItems& items = BPLList->Items();
  items.BeginUpdate();
  items.Clear();
  TStrings& paths = Source->PackageList();
  for (int i = 0; i < paths.Count(); ++i) {
    const String path = paths.Strings(i);
    String caption = FileExists(path) ? Source->PackageDescription(path) : String();
    if (caption.empty()) caption = ExtractFileName(path);
    TListItem* item = items.Add();
    item->SetCaption(caption);
    item->SubItems().Add(path);
    item->SetImageIndex(Source->PackageLoaded(path) ? 1 : 0);
  }
  items.EndUpdate();
  tsPkg->SetCaption(Format(u" Packages (%d) ", {items.Count()}));
  BPLList->OnSelectItem = selected;
}

void Tdlg_kst_Prefs::BPLListSelectItem(TObject*, TListItem* item, bool) {
  Memo->Lines().Clear();
  if (!Source || !item || item->SubItems().Count() == 0) return;
  const String error = Source->PackageError(item->SubItems().Strings(0));
  if (!error.empty()) {
    Memo->Lines().SetText(error);
    return;
  }
  ShowPackageDetails();
}

void Tdlg_kst_Prefs::ShowPackageDetails() {
  TListItem* item = BPLList->Selected();
  if (!Source || !item || item->SubItems().Count() == 0) return;
  Integer classes = 0;
  const int tab = ts->TabIndex();
  Memo->Lines().SetText(Source->PackageDetails(item->SubItems().Strings(0), tab, classes));
  if (tab == 1) ts->Tabs().SetStrings(1, Format(u"Classes (%d)", {classes}));
  Memo->SetSelStart(0);
}

void Tdlg_kst_Prefs::tsClick(TObject*) {
  ShowPackageDetails();
}

void Tdlg_kst_Prefs::cmAdd(TObject*) {
  if (!Source || !opd->Execute()) return;
  const String path = opd->FileName();
  TStrings& paths = Source->PackageList();
  bool listed = false;
  for (int i = 0; i < paths.Count() && !listed; ++i) listed = SameText(paths.Strings(i), path);
  if (!listed) {
    paths.Add(path);
    const Integer count = Source->InstallPackage(path);
    if (count > 0)
      Information(Format(u"%s: %d new classes registered.", {ExtractFileName(path), count}));
    else
      Warning(u"No new class registered.");
  }
  RefreshPackages();
}

void Tdlg_kst_Prefs::cmDel(TObject*) {
  TListItem* item = BPLList->Selected();
  if (Source && item && item->SubItems().Count() > 0 && Confirmation(u"Remove selected package?")) {
    const String path = item->SubItems().Strings(0);
    TStrings& paths = Source->PackageList();
    for (int i = paths.Count() - 1; i >= 0; --i)
      if (SameText(paths.Strings(i), path)) paths.Delete(i);
    Source->RemovePackage(path);
    RefreshPackages();
  }
  Memo->Lines().Clear();
}

void Tdlg_kst_Prefs::pcChange(TObject*) {
  if (pc->ActivePage() == tsRC) RefreshClasses();
}

void Tdlg_kst_Prefs::RefreshClasses() {
  if (!Source) return;
  Box->Items().BeginUpdate();
  Box->Items().Clear();
  for (const TClassInfo* cls : Source->Classes().Classes()) Box->Items().Add(cls->ClassName());
  Box->Items().EndUpdate();
  tsRC->SetCaption(Format(u" Registered Classes (%d) ", {Box->Items().Count()}));
}

void Tdlg_kst_Prefs::eSearchChange(TObject*) {
  const String wanted = UpperCase(eSearch->Text());
  Integer found = -1;
  if (!wanted.empty())
    for (int i = 0; i < Box->Items().Count() && found < 0; ++i)
      if (UpperCase(Box->Items().Strings(i)).find(wanted) != String::npos) found = i;
  Box->SetItemIndex(found);
  if (found >= 0) BoxClick(Box);
}

void Tdlg_kst_Prefs::eSearchLeftButtonClick(TObject* sender) {
  eSearchChange(sender);
}

void Tdlg_kst_Prefs::eSearchRightButtonClick(TObject*) {
  eSearch->SetText(u"");
  eSearchChange(eSearch);
}

void Tdlg_kst_Prefs::BoxClick(TObject*) {
  TTreeNodes& nodes = Tree->Items();
  nodes.BeginUpdate();
  nodes.Clear();
  const Integer index = Box->ItemIndex();
  const TClassInfo* cls = Source && index >= 0 ? Source->Classes().FindClass(Box->Items().Strings(index)) : nullptr;
  if (cls) {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = cls; c; c = c->ClassParent()) chain.push_back(c);
    TTreeNode* parent = nullptr;
    // The chosen class at the top, each ancestor the only child of the one before.
    for (const TClassInfo* c : chain) parent = nodes.AddChild(parent, c->ClassName());
    lUnit->SetCaption(Format(u"Declared in %s.pas and has %d properties.",
                             {cls->UnitName(), static_cast<Integer>(cls->AllProperties().size())}));
  }
  nodes.EndUpdate();
  Tree->FullExpand();
}

bool ShowPreferences(TKestrumPrefs& prefs, TPrefsSource& source, const TFileTypeKey& fileTypes,
                     const String& programPath) {
  auto dialog = MakeForm<Tdlg_kst_Prefs>(Application);
  dialog->Source = &source;
  dialog->FileTypes = &fileTypes;
  dialog->ProgramPath = programPath;
  dialog->cbxShowTypeCol->SetChecked(prefs.ShowTypeCol);
  dialog->cbxShowCNCol->SetChecked(prefs.ShowCNCol);
  dialog->cbxFont->SetChecked(prefs.SmallFont);
  if (dialog->ShowModal() != mrOk) return false;
  TListItems& items = dialog->RFTList->Items();
  for (int i = 0; i < items.Count(); ++i) {
    const TListItem& item = *items.Item(i);
    const String extension = ExtensionOf(item);
    const bool ours = NamesProgram(GetFileTypeCommand(fileTypes, extension), programPath);
    const String description = item.SubItems().Count() > 0 ? item.SubItems().Strings(0) : String();
    if (item.Checked() && !ours)
      RegisterFileType(fileTypes, extension, {}, description, programPath, programPath + u",1");
    else if (!item.Checked() && ours)
      UnregisterFileType(fileTypes, extension);
  }
  source.SavePackages();
  prefs.ShowTypeCol = dialog->cbxShowTypeCol->Checked();
  prefs.ShowCNCol = dialog->cbxShowCNCol->Checked();
  prefs.SmallFont = dialog->cbxFont->Checked();
  return true;
}
