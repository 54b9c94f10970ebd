// The program's multiple-document main window: it opens form files from
// every road (open dialog, recent files, command line, dropped files, a
// second start of the program), owns the File and Windows commands and the
// tool bar, drives the window bar of open documents and keeps the settings.
#pragma once

#include "ui/winapi.h"

#include "app/classbrowser.h"
#include "app/classtable.h"

#include "ui/actnlist.h"
#include "ui/comctrls.h"
#include "ui/commdlg.h"
#include "ui/extctrls.h"
#include "ui/forms.h"
#include "ui/imglist.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"
#include "ui/toolbar.h"

#include "services/dropformats.h"

class TMDIButtonGroup;
class TPxHeaderPanel;
class TSvAppInstances;
class TSvAppRegistryStorage;
class TSvFormStorage;
class TSvMRUManager;
class TSvDropTarget;
class Tmdi_kst_Editor;

// The private message that runs the heavy start-up work once the window shows.
constexpr UINT WM_STARTUP = WM_USER + 100;
// Asks the main window to refresh its actions once the sender's work is done.
constexpr UINT WM_UPDATECONTROLS = WM_USER + 101;
// Opens the files of a drop once the drop has returned to the program that
// dragged them.
constexpr UINT WM_OPENDROPPED = WM_USER + 102;

// The three preference flags of the application, shared by every window.
struct TKestrumPrefs {
  bool ShowTypeCol = false;
  bool ShowCNCol = false;
  bool SmallFont = false;
};

class Twnd_kst_Main : public TForm {
  KST_CLASS(Twnd_kst_Main, TForm)
 public:
  explicit Twnd_kst_Main(TComponent* owner);
  ~Twnd_kst_Main() override;

  TToolBar* ToolBar1 = nullptr;
  TMDIButtonGroup* mdibg = nullptr;
  TSplitter* CBSplitter = nullptr;
  TPxHeaderPanel* CBPanel = nullptr;
  TEdit* eSearch = nullptr;
  TTreeView* CBTree = nullptr;
  TLabel* lProgress = nullptr;
  TMainMenu* MainMenu = nullptr;
  TMenuItem* mmFile = nullptr;
  TMenuItem* mmWin = nullptr;
  TActionList* ActionList = nullptr;
  TAction *acNew = nullptr, *acOpen = nullptr, *acSave = nullptr, *acSaveAs = nullptr, *acClose = nullptr,
          *acCloseAll = nullptr, *acExtract = nullptr, *acPackInfo = nullptr, *acPrefs = nullptr, *acExit = nullptr,
          *acAbout = nullptr, *acCascade = nullptr, *acTileHor = nullptr, *acTileVer = nullptr, *acMinAll = nullptr,
          *acUndo = nullptr, *acCopy = nullptr, *acCut = nullptr, *acPaste = nullptr, *acFind = nullptr,
          *acGoto = nullptr, *acPreview = nullptr, *acRescan = nullptr;
  TActionList* WinActionList = nullptr;
  TAction *wacTitle = nullptr, *wacRestore = nullptr, *wacMinimize = nullptr, *wacMaximize = nullptr,
          *wacMinAll = nullptr, *wacCloseAll = nullptr, *wacClose = nullptr, *wacAutoSize = nullptr;
  TPopupMenu* WinPopup = nullptr;
  TImageList* ImageList = nullptr;
  TImageList* ilWin = nullptr;
  TOpenDialog* od = nullptr;
  TSaveDialog* sd = nullptr;
  TOpenDialog* ode = nullptr;
  TOpenDialog* odp = nullptr;
  TPrintDialog* pd = nullptr;
  TSvAppInstances* AppInstances = nullptr;
  TSvAppRegistryStorage* AppRegistryStorage = nullptr;
  TSvFormStorage* FormStorage = nullptr;
  TSvMRUManager* MRUMan = nullptr;
  TSvDropTarget* DropTarget = nullptr;

  // Module handles, package paths and "path=error" lines, used while no
  // package set is handed over (tests that make the window alone).
  std::vector<HMODULE> FPHL;
  std::unique_ptr<TStringList> PackageList;
  std::unique_ptr<TStringList> ErrorList;
  // The packages read at start-up; the start-up code owns them because the
  // classes they register must live as long as the class registry.
  TPackageSet* Packages = nullptr;

  TKestrumPrefs& Prefs() { return FPrefs; }
  // Opens one form file in a new editor window; the window, or none when
  // the file is missing or cannot be read.
  Tmdi_kst_Editor* OpenFile(const String& path);
  // The enabled state of the actions from the active editor window.
  void SetControls();
  // SetControls once the messages waiting now are handled, however often asked.
  void PostControlsUpdate();
  Tmdi_kst_Editor* ActiveEditor() const;
  // Points a window's form storage at the main window's settings store.
  void ShareSettingsStore(TSvFormStorage* storage);
  int EditorCount() const;

  // The class browser: one top-level node per registered type, with
  // "Origin", "Methods (%d)", "Properties (%d)" and "Fields (%d)" below it
  // where they have children; the panel's caption counts the types. Built
  // once at start-up.
  void CreateCBTree();
  // The top-level node of the first matching type (see FindBrowserType); none when no type matches.
  TTreeNode* FindNode(StringView text, bool partial) const;
  // Expands the panel and selects the type of that unit and class; false when it is not listed.
  bool LocateType(const String& unitName, const String& className);

  // Handlers bound by name from the form.
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormClose(TObject* sender, TCloseAction& action);
  void cmNew(TObject* sender);
  void cmOpen(TObject* sender);
  void cmSave(TObject* sender);
  void cmSaveAs(TObject* sender);
  void cmClose(TObject* sender);
  void cmCloseAll(TObject* sender);
  void cmExtractfromEXE(TObject* sender);
  void cmPackageInformation(TObject* sender);
  void cmPrefs(TObject* sender);
  void cmExit(TObject* sender);
  void cmAbout(TObject* sender);
  void cmCascade(TObject* sender);
  void cmTileHor(TObject* sender);
  void cmTileVer(TObject* sender);
  void cmMinAll(TObject* sender);
  void cmUndo(TObject* sender);
  void cmCopy(TObject* sender);
  void cmCut(TObject* sender);
  void cmPaste(TObject* sender);
  void cmFind(TObject* sender);
  void cmGoto(TObject* sender);
  void cmPreview(TObject* sender);
  void cmRescan(TObject* sender);
  void CBPanelChange(TObject* sender);
  void eSearchChange(TObject* sender);
  void WinBarMenuPopup(TObject* sender);
  void wacTitleExecute(TObject* sender);
  void wacStateExecute(TObject* sender);
  void wacMinAllExecute(TObject* sender);
  void wacCloseAllExecute(TObject* sender);
  void wacCloseExecute(TObject* sender);
  void mdibgMouseWheel(TObject* sender, TShiftState shift, Integer wheelDelta, TPoint mousePos, bool& handled);
  void AppInstancesCmdLineReceived(TObject* sender, TStrings* cmdLine);
  void MRUManClick(TObject* sender, const String& recentName, const String& caption, Integer userData);
  void DropTargetDragDrop(TSvDropTarget* sender, TSvDropEffect& effect, TShiftState shift, Integer x, Integer y);
  void FormStorageRestorePlacement(TObject* sender);
  void FormStorageSavePlacement(TObject* sender);

 protected:
  void Dispatch(TMessage& message) override;
  void Loaded() override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;

 private:
  // Names taken from drops, waiting to be opened.
  std::vector<String> FDroppedFiles;
  void WMStartup();
  // The document window of the window bar's hot button, or none.
  TCustomForm* HotChild() const;
  void RevealCBNode(TTreeNode* node);
  TKestrumPrefs FPrefs;
  // The class browser's types and their top-level nodes, index for index.
  std::vector<TBrowserType> FCBTypes;
  std::vector<TTreeNode*> FCBTypeNodes;
  bool FControlsUpdatePosted = false;
};

// The single main window, which editor windows and dialogs reach.
extern Twnd_kst_Main* wnd_kst_Main;

// Shows the main window's class browser at the class of that unit, when it lists it.
bool LocateInClassBrowser(const String& unitName, const String& className);

// Makes every class the program's forms hold known by name.
void RegisterKestrumClasses(TClassRegistry& registry);

