#include "app/win32/mainform.h"

#include <algorithm>

#include "app/extractinfo.h"
#include "app/objectinspector.h"
#include "app/win32/aboutbox.h"
#include "app/packagelist.h"
#include "app/strutils.h"
#include "app/win32/editorform.h"
#include "app/win32/extractdialog.h"
#include "app/win32/prefsdialog.h"
#include "app/win32/tableclasses.h"
#include "app/win32/typedialog.h"
#include "classes/reflection.h"
#include "codeedit/win32/codeedit.h"
#include "livetree/win32/livetreecontrol.h"
#include "panelkit/win32/headerpanel.h"
#include "panelkit/win32/registration.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"
#include "services/commandline.h"
#include "services/instancetable.h"
#include "services/rawregistry.h"
#include "services/registrystorage.h"
#include "services/win32/appservices.h"
#include "services/win32/dragdrop.h"
#include "services/win32/formstorage.h"
#include "services/win32/mrumanager.h"
#include "services/win32/svappinst.h"
#include "services/win32/utwin32.h"
#include "ui/dialogs.h"
#include "ui/registration.h"
#include "winbar/win32/mdibuttongroup.h"
#include "winbar/win32/registration.h"

Twnd_kst_Main* wnd_kst_Main = nullptr;

KST_CLASS_IMPL(Twnd_kst_Main, "Kestrum_Main")

void Twnd_kst_Main::Describe(TClassBuilder<Twnd_kst_Main>& c) {
  using M = Twnd_kst_Main;
  c.Field(u"ToolBar1", &M::ToolBar1);
  c.Field(u"mdibg", &M::mdibg);
  c.Field(u"CBSplitter", &M::CBSplitter);
  c.Field(u"CBPanel", &M::CBPanel);
  c.Field(u"eSearch", &M::eSearch);
  c.Field(u"CBTree", &M::CBTree);
  c.Field(u"lProgress", &M::lProgress);
  c.Field(u"MainMenu", &M::MainMenu);
  c.Field(u"mmFile", &M::mmFile);
  c.Field(u"mmWin", &M::mmWin);
  c.Field(u"ActionList", &M::ActionList);
  c.Field(u"acNew", &M::acNew);
  c.Field(u"acOpen", &M::acOpen);
  c.Field(u"acSave", &M::acSave);
  c.Field(u"acSaveAs", &M::acSaveAs);
  c.Field(u"acClose", &M::acClose);
  c.Field(u"acCloseAll", &M::acCloseAll);
  c.Field(u"acExtract", &M::acExtract);
  c.Field(u"acPackInfo", &M::acPackInfo);
  c.Field(u"acPrefs", &M::acPrefs);
  c.Field(u"acExit", &M::acExit);
  c.Field(u"acAbout", &M::acAbout);
  c.Field(u"acCascade", &M::acCascade);
  c.Field(u"acTileHor", &M::acTileHor);
  c.Field(u"acTileVer", &M::acTileVer);
  c.Field(u"acMinAll", &M::acMinAll);
  c.Field(u"acUndo", &M::acUndo);
  c.Field(u"acCopy", &M::acCopy);
  c.Field(u"acCut", &M::acCut);
  c.Field(u"acPaste", &M::acPaste);
  c.Field(u"acFind", &M::acFind);
  c.Field(u"acGoto", &M::acGoto);
  c.Field(u"acPreview", &M::acPreview);
  c.Field(u"acRescan", &M::acRescan);
  c.Field(u"WinActionList", &M::WinActionList);
  c.Field(u"wacTitle", &M::wacTitle);
  c.Field(u"wacRestore", &M::wacRestore);
  c.Field(u"wacMinimize", &M::wacMinimize);
  c.Field(u"wacMaximize", &M::wacMaximize);
  c.Field(u"wacMinAll", &M::wacMinAll);
  c.Field(u"wacCloseAll", &M::wacCloseAll);
  c.Field(u"wacClose", &M::wacClose);
  c.Field(u"wacAutoSize", &M::wacAutoSize);
  c.Field(u"WinPopup", &M::WinPopup);
  c.Field(u"ImageList", &M::ImageList);
  c.Field(u"ilWin", &M::ilWin);
  c.Field(u"od", &M::od);
  c.Field(u"sd", &M::sd);
  c.Field(u"ode", &M::ode);
  c.Field(u"odp", &M::odp);
  c.Field(u"pd", &M::pd);
  c.Field(u"AppInstances", &M::AppInstances);
  c.Field(u"AppRegistryStorage", &M::AppRegistryStorage);
  c.Field(u"FormStorage", &M::FormStorage);
  c.Field(u"MRUMan", &M::MRUMan);
  c.Field(u"DropTarget", &M::DropTarget);
  c.Method(u"FormCreate", &M::FormCreate);
  c.Method(u"FormShow", &M::FormShow);
  c.Method(u"FormCloseQuery", &M::FormCloseQuery);
  c.Method(u"FormClose", &M::FormClose);
  c.Method(u"cmNew", &M::cmNew);
  c.Method(u"cmOpen", &M::cmOpen);
  c.Method(u"cmSave", &M::cmSave);
  c.Method(u"cmSaveAs", &M::cmSaveAs);
  c.Method(u"cmClose", &M::cmClose);
  c.Method(u"cmCloseAll", &M::cmCloseAll);
  c.Method(u"cmExtractfromEXE", &M::cmExtractfromEXE);
  c.Method(u"cmPackageInformation", &M::cmPackageInformation);
  c.Method(u"cmPrefs", &M::cmPrefs);
  c.Method(u"cmExit", &M::cmExit);
  c.Method(u"cmAbout", &M::cmAbout);
  c.Method(u"cmCascade", &M::cmCascade);
  c.Method(u"cmTileHor", &M::cmTileHor);
  c.Method(u"cmTileVer", &M::cmTileVer);
  c.Method(u"cmMinAll", &M::cmMinAll);
  c.Method(u"cmUndo", &M::cmUndo);
  c.Method(u"cmCopy", &M::cmCopy);
  c.Method(u"cmCut", &M::cmCut);
  c.Method(u"cmPaste", &M::cmPaste);
  c.Method(u"cmFind", &M::cmFind);
  c.Method(u"cmGoto", &M::cmGoto);
  c.Method(u"cmPreview", &M::cmPreview);
  c.Method(u"cmRescan", &M::cmRescan);
  c.Method(u"CBPanelChange", &M::CBPanelChange);
  c.Method(u"eSearchChange", &M::eSearchChange);
  c.Method(u"WinBarMenuPopup", &M::WinBarMenuPopup);
  c.Method(u"wacTitleExecute", &M::wacTitleExecute);
  c.Method(u"wacStateExecute", &M::wacStateExecute);
  c.Method(u"wacMinAllExecute", &M::wacMinAllExecute);
  c.Method(u"wacCloseAllExecute", &M::wacCloseAllExecute);
  c.Method(u"wacCloseExecute", &M::wacCloseExecute);
  c.Method(u"mdibgMouseWheel", &M::mdibgMouseWheel);
  c.Method(u"AppInstancesCmdLineReceived", &M::AppInstancesCmdLineReceived);
  c.Method(u"MRUManClick", &M::MRUManClick);
  c.Method(u"DropTargetDragDrop", &M::DropTargetDragDrop);
  c.Method(u"FormStorageRestorePlacement", &M::FormStorageRestorePlacement);
  c.Method(u"FormStorageSavePlacement", &M::FormStorageSavePlacement);
}

Twnd_kst_Main::Twnd_kst_Main(TComponent* owner) : TForm(owner) {
  wnd_kst_Main = this;
}

Twnd_kst_Main::~Twnd_kst_Main() {
  if (wnd_kst_Main == this) wnd_kst_Main = nullptr;
}

void Twnd_kst_Main::Loaded() {
  TForm::Loaded();
  // The form cannot name its own window as the drop target's control.
  if (DropTarget) DropTarget->SetControl(this);
}

void Twnd_kst_Main::Dispatch(TMessage& message) {
  if (message.Msg == WM_STARTUP) {
    WMStartup();
    return;
  }
  if (message.Msg == WM_UPDATECONTROLS) {
    FControlsUpdatePosted = false;
    SetControls();
    return;
  }
  if (message.Msg == WM_CLIPBOARDUPDATE) {
    // "Paste" follows the clipboard at once, also after a copy that moved no caret.
    SetControls();
    for (int i = 0; i < MDIChildCount(); ++i)
      if (auto* editor = dynamic_cast<Tmdi_kst_Editor*>(MDIChildren(i))) editor->UpdateEditCommands();
    return;
  }
  if (message.Msg == WM_OPENDROPPED) {
    std::vector<String> files;
    files.swap(FDroppedFiles);
    for (const String& file : files) OpenFile(file);
    return;
  }
  TForm::Dispatch(message);
}

void Twnd_kst_Main::CreateWnd() {
  TForm::CreateWnd();
  AddClipboardFormatListener(Handle());
}

void Twnd_kst_Main::DestroyWindowHandle() {
  if (HandleAllocated()) RemoveClipboardFormatListener(Handle());
  TForm::DestroyWindowHandle();
}

void Twnd_kst_Main::FormCreate(TObject*) {
  FPHL.clear();
  PackageList = std::make_unique<TStringList>();
  ErrorList = std::make_unique<TStringList>();
  PostMessageW(Handle(), WM_STARTUP, 0, 0);
}

void Twnd_kst_Main::WMStartup() {
  struct TRestore {
    Twnd_kst_Main* Self;
    ~TRestore() {
      if (Self->lProgress) Self->lProgress->SetVisible(false);
      Screen->SetCursor(crDefault);
    }
  };
  TRestore restore{this};
  SetControls();
  Screen->SetCursor(crHourGlass);
  CBPanelChange(nullptr);
  Update();
  // The start-up class table and the packages are registered before the
  // window is made, so that its forms find their classes.
  CreateCBTree();
  SetControls();
}

void Twnd_kst_Main::FormShow(TObject*) {
  for (const String& path : ProcessCommandLineFileNames()) OpenFile(path);
}

void Twnd_kst_Main::FormCloseQuery(TObject*, bool& canClose) {
  cmCloseAll(nullptr);
  // A document that could not be saved (or whose name was not given) stays
  // open, and so does the program, with that document in front.
  Tmdi_kst_Editor* kept = nullptr;
  for (int i = 0; i < MDIChildCount(); ++i)
    if (auto* editor = dynamic_cast<Tmdi_kst_Editor*>(MDIChildren(i)); editor && !editor->Closed() && !kept)
      kept = editor;
  canClose = kept == nullptr;
  if (kept) {
    kept->BringToFront();
    if (kept->CanFocus()) kept->SetFocus();
  }
}

void Twnd_kst_Main::FormClose(TObject*, TCloseAction&) {}

Tmdi_kst_Editor* Twnd_kst_Main::ActiveEditor() const {
  return dynamic_cast<Tmdi_kst_Editor*>(ActiveMDIChild());
}

int Twnd_kst_Main::EditorCount() const {
  int count = 0;
  for (int i = 0; i < MDIChildCount(); ++i)
    if (dynamic_cast<Tmdi_kst_Editor*>(MDIChildren(i))) ++count;
  return count;
}

Tmdi_kst_Editor* Twnd_kst_Main::OpenFile(const String& path) {
  if (!FileExists(path)) {
    MessageDlg(u"Cannot open file " + path + u".", mtError, {mbOK});
    SetControls();
    return nullptr;
  }
  auto* editor = CreateForm<Tmdi_kst_Editor>(this);
  try {
    editor->SetFilename(path);
  } catch (const Exception& e) {
    // A file that cannot be read opens nothing: no window without its button.
    editor->Free();
    // Names and values read from a damaged file are quoted shortened.
    MessageDlg(Format(u"Cannot open file %s.\n%s", {path, MessageBoxText(e.Message())}), mtError, {mbOK});
    SetControls();
    return nullptr;
  }
  MRUMan->Add(path, 0);
  MRUMan->Save();
  mdibg->AddButton(editor, 5, path);
  SetControls();
  return editor;
}

void Twnd_kst_Main::PostControlsUpdate() {
  // Every keystroke asks; one update per turn of the message loop serves them all.
  if (FControlsUpdatePosted || !HandleAllocated()) return;
  FControlsUpdatePosted = PostMessageW(Handle(), WM_UPDATECONTROLS, 0, 0);
}

void Twnd_kst_Main::SetControls() {
  if (!acSave) return;
  Tmdi_kst_Editor* active = ActiveEditor();
  const bool open = EditorCount() > 0 && active;
  acSave->SetEnabled(open && active->Modified());
  for (TAction* action : {acSaveAs, acClose, acCloseAll, acMinAll, acCascade, acTileHor, acTileVer, acFind, acGoto,
                          acPreview, acRescan})
    action->SetEnabled(open);
  acUndo->SetEnabled(open && active->CanUndo());
  const bool selection = open && active->HasSelection();
  acCopy->SetEnabled(selection);
  acCut->SetEnabled(selection);
  acPaste->SetEnabled(open && active->CanPaste());
}

void Twnd_kst_Main::ShareSettingsStore(TSvFormStorage* storage) {
  if (storage && FormStorage) storage->SetAppStorage(FormStorage->AppStorage());
}

void Twnd_kst_Main::cmNew(TObject*) {
  auto* editor = CreateForm<Tmdi_kst_Editor>(this);
  editor->SetCaption(u"Untitled");
  mdibg->AddButton(editor, 5, editor->Caption());
  editor->New(nullptr);
  SetControls();
}

void Twnd_kst_Main::cmOpen(TObject*) {
  if (!od->Execute()) return;
  std::vector<String> files;
  for (int i = 0; i < od->Files().Count(); ++i) files.push_back(od->Files().Strings(i));
  for (const String& file : files) OpenFile(file);
}

void Twnd_kst_Main::cmSave(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmSave();
}

void Twnd_kst_Main::cmSaveAs(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmSaveAs();
}

void Twnd_kst_Main::cmClose(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->Close();
}

void Twnd_kst_Main::cmCloseAll(TObject*) {
  mdibg->CloseAll();
}

void Twnd_kst_Main::cmExtractfromEXE(TObject*) {
  if (ode->Execute()) ShowExtractDialog(ode->FileName(), false);
}

void Twnd_kst_Main::cmPackageInformation(TObject*) {
  if (odp->Execute()) ShowExtractDialog(odp->FileName(), true);
}

namespace {

// The preferences dialog's view of the main window's package lists and of
// the application's classes.
class TMainPrefsSource : public TPrefsSource {
 public:
  explicit TMainPrefsSource(Twnd_kst_Main& main) : FMain(main) {}
  TStrings& PackageList() override { return FMain.Packages ? FMain.Packages->PackageList : *FMain.PackageList; }
  String PackageError(const String& path) override {
    return PackageErrorOf(FMain.Packages ? FMain.Packages->ErrorList : *FMain.ErrorList, path);
  }
  // No package runs as code here: a package counts as loaded once the
  // package set has read it.
  bool PackageLoaded(const String& path) override {
    if (!FMain.Packages) return false;
    const std::vector<String>& read = FMain.Packages->FPHL();
    return std::any_of(read.begin(), read.end(), [&](const String& p) { return SameText(p, path); });
  }
  String PackageDescription(const String& path) override { return PackageFileDescription(path); }
  String PackageDetails(const String& path, int tab, Integer& classCount) override {
    TStringList lines;
    PackageDetailLines(path, tab, lines);
    classCount = lines.Count();
    return lines.Text();
  }
  Integer InstallPackage(const String& path) override {
    return FMain.Packages ? FMain.Packages->InstallPackage(path) : 0;
  }
  // The dialog has taken the path off the list: the package's classes leave
  // the registry and the remaining packages are installed again.
  void RemovePackage(const String& path) override {
    if (!FMain.Packages) return;
    FMain.Packages->RemovePackage(path);
    FMain.Packages->InstallPackages(Application->ClassRegistry());
  }
  void SavePackages() override { SavePackageList(PackageIniFileName(ModulePath(nullptr)), PackageList()); }
  const TClassRegistry& Classes() override {
    return FMain.Packages ? FMain.Packages->Registry() : Application->ClassRegistry();
  }

 private:
  Twnd_kst_Main& FMain;
};

}  // namespace

void Twnd_kst_Main::cmPrefs(TObject*) {
  TMainPrefsSource source(*this);
  const TFileTypeKey fileTypes{PlatformRegistry()};
  if (!ShowPreferences(FPrefs, source, fileTypes, ModulePath(nullptr))) return;
  for (int i = 0; i < MDIChildCount(); ++i)
    if (auto* editor = dynamic_cast<Tmdi_kst_Editor*>(MDIChildren(i))) {
      editor->SetPrefs();
      // A rebuild in place: each window keeps the page it shows.
      editor->PreviewForm();
    }
}

void Twnd_kst_Main::cmExit(TObject*) {
  Close();
}

void Twnd_kst_Main::cmAbout(TObject*) {
  ShowAboutDialog(0, {});
}

void Twnd_kst_Main::cmCascade(TObject*) {
  Cascade();
}

void Twnd_kst_Main::cmTileHor(TObject*) {
  SetTileMode(tbHorizontal);
  Tile();
}

void Twnd_kst_Main::cmTileVer(TObject*) {
  SetTileMode(tbVertical);
  Tile();
}

void Twnd_kst_Main::cmMinAll(TObject*) {
  mdibg->MinimizeAll();
}

void Twnd_kst_Main::cmUndo(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmUndo(nullptr);
}

void Twnd_kst_Main::cmCopy(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmCopy(nullptr);
}

void Twnd_kst_Main::cmCut(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmCut(nullptr);
}

void Twnd_kst_Main::cmPaste(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmPaste(nullptr);
}

void Twnd_kst_Main::cmFind(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmReplace(nullptr);
}

void Twnd_kst_Main::cmGoto(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmGoto(nullptr);
}

void Twnd_kst_Main::cmPreview(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmPreview(nullptr);
}

void Twnd_kst_Main::cmRescan(TObject*) {
  if (Tmdi_kst_Editor* editor = ActiveEditor()) editor->cmRescan(nullptr);
}

TCustomForm* Twnd_kst_Main::HotChild() const {
  return mdibg->GetMDIChild(mdibg->HotButtonIndex());
}

void Twnd_kst_Main::WinBarMenuPopup(TObject*) {
  // The hint of the button under the mouse would stay on top of its own menu.
  Application->CancelHint();
  Application->HideHint();
  TCustomForm* hot = HotChild();
  wacTitle->SetCaption(hot ? hot->Caption() : String(u"<none>"));
  for (TAction* action : {wacTitle, wacMinimize, wacMaximize, wacClose, wacRestore}) action->SetEnabled(hot != nullptr);
}

void Twnd_kst_Main::wacTitleExecute(TObject*) {
  if (TCustomForm* hot = HotChild()) {
    hot->BringToFront();
    hot->SetFocus();
  }
}

void Twnd_kst_Main::wacStateExecute(TObject* sender) {
  TCustomForm* hot = HotChild();
  auto* action = dynamic_cast<TComponent*>(sender);
  if (!hot || !action) return;
  static constexpr TWindowState states[] = {wsNormal, wsMinimized, wsMaximized};
  const Integer tag = action->Tag();
  if (tag >= 0 && tag <= 2) hot->SetWindowState(states[tag]);
}

void Twnd_kst_Main::wacMinAllExecute(TObject* sender) {
  cmMinAll(sender);
}

void Twnd_kst_Main::wacCloseAllExecute(TObject* sender) {
  cmCloseAll(sender);
}

void Twnd_kst_Main::wacCloseExecute(TObject*) {
  if (TCustomForm* hot = HotChild()) hot->Close();
}

void Twnd_kst_Main::mdibgMouseWheel(TObject*, TShiftState, Integer, TPoint, bool&) {
  throw EAbort(u"");
}

void Twnd_kst_Main::AppInstancesCmdLineReceived(TObject*, TStrings* cmdLine) {
  std::vector<String> files;
  for (int i = 0; i < cmdLine->Count(); ++i) files.push_back(cmdLine->Strings(i));
  for (const String& file : files) OpenFile(file);
}

void Twnd_kst_Main::MRUManClick(TObject*, const String& recentName, const String&, Integer) {
  struct TCursorBack {
    ~TCursorBack() { Screen->SetCursor(crDefault); }
  } back;
  Screen->SetCursor(crHourGlass);
  OpenFile(recentName);
}

void Twnd_kst_Main::DropTargetDragDrop(TSvDropTarget* sender, TSvDropEffect&, TShiftState, Integer, Integer) {
  // Only the names are taken here: the dragging program waits for the drop
  // to return, and opening many files takes long.
  TStringList names;
  sender->GetFilenames(&names);
  for (int i = 0; i < names.Count(); ++i) FDroppedFiles.push_back(names.Strings(i));
  if (names.Count() > 0) PostMessageW(Handle(), WM_OPENDROPPED, 0, 0);
}

namespace {
bool StoredFlag(const Variant& value) {
  try {
    return value.AsBoolean();
  } catch (const Exception&) {
    // A broken settings value counts as the default.
    return false;
  }
}
}  // namespace

void Twnd_kst_Main::FormStorageRestorePlacement(TObject*) {
  FPrefs.ShowTypeCol = StoredFlag(FormStorage->StoredValue(u"ShowTypeCol"));
  FPrefs.ShowCNCol = StoredFlag(FormStorage->StoredValue(u"ShowCNCol"));
  FPrefs.SmallFont = StoredFlag(FormStorage->StoredValue(u"SmallFont"));
}

void Twnd_kst_Main::FormStorageSavePlacement(TObject*) {
  FormStorage->SetStoredValue(u"ShowTypeCol", Variant(FPrefs.ShowTypeCol));
  FormStorage->SetStoredValue(u"ShowCNCol", Variant(FPrefs.ShowCNCol));
  FormStorage->SetStoredValue(u"SmallFont", Variant(FPrefs.SmallFont));
}

void RegisterKestrumClasses(TClassRegistry& registry) {
  RegisterUiClasses(registry);
  RegisterSettingsStoreClasses(registry);
  RegisterFormStorageClasses(registry);
  RegisterAppServiceClasses(registry);
  RegisterCodeEditClasses(registry);
  RegisterLiveTreeClasses(registry);
  RegisterPanelKitClasses(registry);
  RegisterWinbarClasses(registry);
  RegisterObjectInspectorClasses(registry);
  RegisterLibraryTableClasses(registry);
  registry.RegisterClasses({&Twnd_kst_Main::StaticClass(), &Tmdi_kst_Editor::StaticClass(),
                            &TdlgType::StaticClass(), &TdlgAbout::StaticClass(),
                            &Tdlg_kst_Extract::StaticClass(), &Tdlg_kst_Prefs::StaticClass()});
}
