#include "app/classtable.h"

#include <algorithm>
#include <map>

#include "app/packagelist.h"
#include "classes/collection.h"
#include "classes/reflection.h"
#include "pe/imagelayout.h"
#include "pe/pereader.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"

namespace {

const char16_t* const kStartupTable[] = {
    // Graphics
    u"TBrush", u"TCanvas", u"TPen", u"TIcon", u"TPicture", u"TMetafile", u"TMetafileCanvas", u"TFont", u"TBitmap",
    u"TGraphic", u"TGraphicsObject",
    // Classes
    u"TCollection", u"TCollectionItem", u"TStringList", u"TStrings",
    // Controls
    u"TImageList",
    // Forms
    u"TControlScrollBar", u"TApplication", u"TScreen", u"TFrame", u"TScrollBox",
    // Clipbrd
    u"TClipboard",
    // Menus
    u"TMenuItem", u"TMainMenu", u"TPopupMenu",
    // ActnList
    u"TActionList",
    // ActnMan
    u"TActionManager",
    // ActnCtrls
    u"TActionToolBar",
    // ActnMenus
    u"TActionMainMenuBar",
    // StdCtrls
    u"TScrollBar", u"TLabel", u"TEdit", u"TMemo", u"TButton", u"TCheckBox", u"TRadioButton", u"TListBox",
    u"TComboBox", u"TGroupBox", u"TStaticText",
    // ExtCtrls
    u"THeader", u"TRadioGroup", u"TPanel", u"TImage", u"TShape", u"TBevel", u"TSplitter", u"TControlBar",
    u"TColorBox", u"TLabeledEdit", u"TGridPanel", u"TFlowPanel", u"TCategoryPanelGroup", u"TButtonedEdit",
    u"TColorListBox", u"TLinkLabel", u"TNotebook", u"TTimer", u"TPaintBox",
    // ComCtrls
    u"THeaderSection", u"THeaderSections", u"TIconOptions", u"TStatusPanel", u"TStatusPanels", u"TListColumn",
    u"TListItem", u"TListItems", u"TTreeNode", u"TParaAttributes", u"TTreeNodes", u"TToolButton", u"TTabSheet",
    u"TTabControl", u"TPageControl", u"TRichEdit", u"TTrackBar", u"TProgressBar", u"TUpDown", u"THotKey",
    u"TAnimate", u"TDateTimePicker", u"TMonthCalendar", u"TTreeView", u"TListView", u"THeaderControl",
    u"TStatusBar", u"TToolBar", u"TCoolBar", u"TPageScroller", u"TComboBoxEx",
    // Buttons
    u"TBitBtn", u"TSpeedButton",
    // Grids
    u"TStringGrid", u"TDrawGrid",
    // Mask
    u"TMaskEdit",
    // CheckLst
    u"TCheckListBox",
    // ValEdit
    u"TValueListEditor",
    // Spin
    u"TSpinButton", u"TSpinEdit",
    // Tabs
    u"TTabSet", u"TScroller",
    // TabNotBk
    u"TTabbedNotebook",
    // Outline
    u"TOutlineNode", u"TOutline",
    // Calendar
    u"TCalendar",
    // ColorGrd
    u"TColorGrid",
    // DirOutln
    u"TDirectoryOutline",
    // FileCtrl
    u"TFileListBox", u"TDirectoryListBox", u"TDriveComboBox", u"TFilterComboBox",
    // Gauges
    u"TGauge",
    // ButtonGroup
    u"TButtonGroup",
    // CategoryButtons
    u"TCategoryButtons",
    // Dialogs
    u"TOpenDialog", u"TSaveDialog", u"TFontDialog", u"TColorDialog", u"TPrintDialog", u"TPrinterSetupDialog",
    u"TFindDialog", u"TReplaceDialog",
    // ExtDlgs
    u"TOpenPictureDialog", u"TSavePictureDialog",
    // ShellCtrls
    u"TShellComboBox", u"TShellListView", u"TShellTreeView",
    // MPlayer
    u"TMediaPlayer",
    // OleCtnrs
    u"TOleContainer",
    // SHDocVw
    u"TWebBrowser",
    // DdeMan
    u"TDdeClientConv", u"TDdeClientItem", u"TDdeServerConv", u"TDdeServerItem",
    // DB
    u"TParams", u"TAutoIncField", u"TBCDField", u"TField", u"TBlobField", u"TBooleanField", u"TBytesField",
    u"TFloatField", u"TGraphicField", u"TCurrencyField", u"TDateField", u"TDateTimeField", u"TSmallintField",
    u"TIntegerField", u"TStringField", u"TMemoField", u"TTimeField", u"TVarBytesField", u"TWordField",
    u"TDataSource",
    // DBCtrls
    u"TDBNavigator", u"TDBText", u"TDBEdit", u"TDBMemo", u"TDBImage", u"TDBListBox", u"TDBComboBox", u"TDBCheckBox",
    u"TDBRadioGroup", u"TDBLookupListBox", u"TDBLookupComboBox", u"TDBRichEdit",
    // DBGrids
    u"TColumn", u"TColumnTitle", u"TDBGrid",
    // DBCGrids
    u"TDBCtrlGrid",
    // dblookup
    u"TDBLookupList", u"TDBLookupCombo",
    // DBTables
    u"TTable", u"TQuery", u"TStoredProc", u"TDatabase", u"TSession", u"TBatchMove", u"TUpdateSQL", u"TNestedTable",
    // Chart
    u"TChart",
    // DBChart
    u"TDBChart",
    // XMLDoc
    u"TXMLDocument",
    // HTTPApp
    u"TWebDispatcher",
    // HTTPProd
    u"TPageProducer",
    // DBWeb
    u"TDataSetTableProducer",
    // DSProd
    u"TDataSetPageProducer",
    // DBBdeWeb
    u"TQueryTableProducer",
    // DBXpressWeb
    u"TSQLQueryTableProducer",
    // Sockets
    u"TTcpClient", u"TTcpServer", u"TUdpSocket",
    // ScktComp
    u"TClientSocket", u"TServerSocket",
    // text editor
    u"TCodeEdit", u"TCodeMemo", u"TCodeEditSearch",
    // tree view
    u"TLiveTreeOptions", u"TLiveTreeColumn", u"TLiveTreeColumns", u"TLTHeader", u"TScrollBarOptions", u"TLTColors",
    u"TClipboardFormats", u"TBaseLiveTree", u"TLTEdit", u"TLiveStringTree", u"TLiveDrawTree",
    // PxCollection
    u"TPxMargins", u"TPxAlertWindow", u"TPxFlipContainer", u"TPxFlipPanel", u"TPxLabel", u"TPxLinkLabel",
    u"TPxHtmlLabel", u"TPxSplitter", u"TPxGlyphButton", u"TPxHeaderPanel", u"TPxImage", u"TPxGlyph", u"TPxButton",
    u"TPxOptionButton", u"TPxPanel", u"TPxGroupHeader", u"TPxInfoPanel", u"TPxPathControl", u"TPxProgressBar",
    u"TPxExpandPanel", u"TPxIconList", u"TPxToolbar",
    // PxEdit
    u"TPxEdit", u"TPxNumberEdit", u"TPxButtonEdit", u"TPxImagePathEdit", u"TPxFolderEdit", u"TPxPopupEdit",
    u"TPxComboBox", u"TPxFontComboBox", u"TPxCheckBox", u"TPxRadioButton", u"TPxDatePicker", u"TPxColorPicker",
    u"TPxMemo", u"TPxSpinEdit", u"TPxTimeEdit", u"TPxCalcEdit", u"TPxMonthCalendar", u"TPxTimePicker",
    // PxPageControl
    u"TPxNotebook", u"TPxPageControl", u"TPxTabSheet", u"TPxGlyphPageControl",
    // PxToolBox
    u"TPxToolBox", u"TPxOutlookBarItem", u"TPxOutlookBar",
    // PxThemesSupport
    u"TPxColorScheme",
    // PxStdCtrls
    u"TPxTabControl",
    // PxLinkMenu
    u"TPxLinkMenu",
    // PxStatusBar
    u"TPxStatusBar",
    // Obrix_Calendar
    u"TMDrawGrid", u"TMCalendar", u"TMWeekView",
    // Obrix_OnOffSwitch
    u"TOnOffSwitch", u"TRoundOnOffSwitch",
    // Obrix_ButtonGroup
    u"TButtonGroupEx",
    // Obrix_MDIButtonGroup
    u"TMDIButtonGroup",
    // Obrix_CategoryButtons
    u"TCategoryButtonsEx",
    // Obrix_MDITab
    u"TMDITab",
    // Obrix_Gauge
    u"TMGauge",
    // Obrix_WheelScrollBox
    u"TWheelScrollBox",
    // Obrix_FormWallpaper
    u"TFormWallpaper",
    // Obrix_ThumbnailCtrl
    u"TImageThumbnail",
    // the classes that stand twice
    u"TFont", u"TScrollBar", u"THeader", u"TStaticText", u"TColorBox", u"TLabeledEdit", u"TValueListEditor",
    u"TTabSet",
};

const char16_t* const kFurther[] = {u"TGauge",         u"TChart",           u"TButtonGroup",   u"TActionManager",
                                    u"TPopupActionBar", u"TActionMainMenuBar", u"TActionToolBar", u"TActionList",
                                    u"TAction",        u"TCategoryButtons", u"TDBGrid",        u"TDBEdit"};

constexpr std::size_t kMaxImportName = 4096;

// The class name of an imported class table, "@Unit@TClass@" (the last name
// before the closing "@"); empty for anything else.
String ImportedClassName(const AnsiString& symbol) {
  if (symbol.size() < 3 || symbol.front() != '@' || symbol.back() != '@') return String();
  const std::size_t start = symbol.rfind('@', symbol.size() - 2) + 1;
  if (start <= 1) return String();
  return String(symbol.begin() + static_cast<std::ptrdiff_t>(start), symbol.end() - 1);
}

// The names imported through each import-address slot of an image, by the
// slot's address. Reads only what lies in the file; a fault ends the walk
// with what was found.
std::map<UInt64, String> ImportSlots(const peimage::ImageLayout& layout) {
  std::map<UInt64, String> slots;
  try {
    const peimage::DataDirectory directory = layout.Directory(peimage::kImportDirectory);
    if (directory.VirtualAddress == 0) return slots;
    peimage::ByteCursor descriptors = layout.CursorAt(layout.RvaToOffset(directory.VirtualAddress));
    // Each descriptor and thunk takes file bytes, so the walk ends with them.
    std::size_t budget = layout.Bytes().size() / 4;
    const bool is64 = layout.Is64();
    const UInt64 thunkSize = is64 ? 8 : 4;
    const UInt64 byOrdinal = is64 ? 0x8000000000000000ull : 0x80000000ull;
    for (;;) {
      const Cardinal originalThunks = descriptors.U32();
      descriptors.Skip(8);
      const Cardinal name = descriptors.U32();
      const Cardinal firstThunk = descriptors.U32();
      if (originalThunks == 0 && name == 0 && firstThunk == 0) break;
      const Cardinal names = originalThunks != 0 ? originalThunks : firstThunk;
      peimage::ByteCursor thunks = layout.CursorAt(layout.RvaToOffset(names));
      for (UInt64 index = 0;; ++index) {
        if (budget-- == 0) return slots;
        const UInt64 thunk = is64 ? thunks.U64() : thunks.U32();
        if (thunk == 0) break;
        if (thunk & byOrdinal) continue;
        if (thunk > 0xFFFFFFFFull) continue;  // no name record lies there
        peimage::ByteCursor hintName = layout.CursorAt(layout.RvaToOffset(static_cast<Cardinal>(thunk)) + 2);
        const String className = ImportedClassName(hintName.ZString(kMaxImportName));
        if (!className.empty()) slots[layout.ImageBase() + firstThunk + thunkSize * index] = className;
      }
      if (budget-- == 0) break;
    }
  } catch (const EImageFault&) {
    // A damaged import directory leaves the slots found before it.
  }
  return slots;
}

String PackageErrorMessage(const String& path, const String& reason) {
  return Format(u"Can't load package %s. %s", {ExtractFileName(path), reason});
}

}  // namespace

std::span<const char16_t* const> StartupClassTable() {
  return kStartupTable;
}

std::span<const char16_t* const> FurtherClasses() {
  return kFurther;
}

void RegisterClassNames(TClassRegistry& registry, const TClassRegistry& catalogue,
                        std::span<const char16_t* const> names, std::vector<String>* missing) {
  for (const char16_t* name : names) {
    if (const TClassInfo* cls = catalogue.FindClass(name)) {
      RegClass(registry, *cls);
    } else if (missing && std::find(missing->begin(), missing->end(), name) == missing->end()) {
      missing->emplace_back(name);
    }
  }
}

bool RegClass(TClassRegistry& registry, const TClassInfo& cls) {
  if (registry.IsRegistered(cls.ClassName())) return false;
  return registry.RegisterClass(cls);
}

std::vector<TPackageClass> PackageClasses(const TPEReader& reader) {
  std::vector<TPackageClass> classes;
  if (reader.ClassCount() == 0) return classes;
  const peimage::ImageLayout layout(reader.ImageData());
  const std::map<UInt64, String> imports = ImportSlots(layout);
  // A parent of the same module: the link points at its self pointer.
  std::map<UInt64, String> bySelfPointer;
  for (int i = 0; i < reader.ClassCount(); ++i) bySelfPointer[reader.Classes(i).SelfPointer] = reader.Classes(i).Name;
  for (int i = 0; i < reader.ClassCount(); ++i) {
    const TClassItem& item = reader.Classes(i);
    TPackageClass cls{item.Name, String()};
    if (auto imported = imports.find(item.ParentLink); imported != imports.end()) {
      cls.Parent = imported->second;
    } else if (auto own = bySelfPointer.find(item.ParentLink); item.ParentLink != 0 && own != bySelfPointer.end()) {
      cls.Parent = own->second;
    }
    classes.push_back(std::move(cls));
  }
  return classes;
}

TPackageSet::TPackageSet(TClassRegistry& registry) : FRegistry(registry) {}

TPackageSet::~TPackageSet() {
  UnInstallPackages();
}

void TPackageSet::LoadPackages(const String& iniFileName) {
  LoadPackageList(iniFileName, PackageList);
}

void TPackageSet::SavePackages(const String& iniFileName) const {
  SavePackageList(iniFileName, PackageList);
}

int TPackageSet::AddedClasses(const String& path) const {
  for (const auto& [package, count] : FAdded)
    if (SameText(package, path)) return count;
  return -1;
}

int TPackageSet::InstallPackage(const String& path) {
  int count = 0;
  struct TRecord {
    TPackageSet& Self;
    const String& Path;
    int& Count;
    ~TRecord() {
      std::erase_if(Self.FAdded, [&](const auto& entry) { return SameText(entry.first, Path); });
      Self.FAdded.emplace_back(Path, Count);
    }
  } record{*this, path, count};
  try {
    TPEReader reader;
    if (!FileExists(path)) throw Exception(PackageErrorMessage(path, u"The specified module could not be found."));
    reader.SetFileName(path);
    if (!reader.Valid() || !reader.IsPackageInfo())
      throw Exception(PackageErrorMessage(path, u"It holds no package information."));
    if (std::find_if(FLoaded.begin(), FLoaded.end(), [&](const String& p) { return SameText(p, path); }) ==
        FLoaded.end())
      FLoaded.push_back(path);
    std::vector<TPackageClass> classes = PackageClasses(reader);
    std::map<String, String> parents;  // upper-case name: parent
    for (const TPackageClass& cls : classes) parents.emplace(UpperCase(cls.Name), cls.Parent);
    auto parentOf = [&](const String& name) {
      auto found = parents.find(UpperCase(name));
      return found == parents.end() ? String() : found->second;
    };
    // Ancestors of the package first, so each class stands in for its nearest
    // ancestor, wherever the linker put the class tables. A cycle ends the
    // walk after as many steps as there are classes.
    const std::size_t limit = classes.size();
    std::vector<std::pair<std::size_t, TPackageClass>> ordered;
    for (TPackageClass& cls : classes) {
      std::size_t steps = 0;
      for (String parent = cls.Parent; !parent.empty() && steps <= limit; parent = parentOf(parent)) ++steps;
      ordered.emplace_back(steps, std::move(cls));
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [steps, cls] : ordered) {
      try {
        if (FRegistry.IsRegistered(cls.Name)) continue;
        // The nearest registered ancestor, through the package's own classes.
        const TClassInfo* ancestor = nullptr;
        String parent = cls.Parent;
        for (std::size_t step = 0; !parent.empty() && step <= limit; ++step) {
          if ((ancestor = FRegistry.FindClass(parent)) != nullptr) break;
          parent = parentOf(parent);
        }
        if (!ancestor) continue;
        auto standIn = std::make_unique<TClassInfo>(
            cls.Name, ancestor->UnitName(), ancestor,
            [ancestor](TComponent* owner) { return ancestor->Create(owner); }, TClassInfo::Describer(),
            [ancestor](TCollection* collection) { return ancestor->CreateItem(*collection); });
        if (FRegistry.RegisterClass(*standIn, path)) {
          FStandIns.push_back(std::move(standIn));
          ++count;
        }
      } catch (const Exception& e) {
        ErrorList.Add(PackageErrorLine(path, e.Message()));
      }
    }
    // A package that loads but gives the previews nothing must not pass for
    // one that works: the packages page shows this line for it.
    // (Installed again, its classes are already there under its own name.)
    const bool supplies = std::any_of(ordered.begin(), ordered.end(),
                                      [&](const auto& entry) { return SameText(FRegistry.ModuleOf(entry.second.Name), path); });
    if (!supplies && PackageErrorOf(ErrorList, path).empty())
      ErrorList.Add(PackageErrorLine(path, u"No new class registered."));
  } catch (const Exception& e) {
    ErrorList.Add(PackageErrorLine(path, e.Message()));
  }
  return count;
}

void TPackageSet::InstallPackages(const TClassRegistry& catalogue) {
  ErrorList.Clear();
  for (Integer i = 0; i < PackageList.Count(); ++i) InstallPackage(PackageList[i]);
  RegisterClassNames(FRegistry, catalogue, FurtherClasses());
}

void TPackageSet::RemovePackage(const String& path) {
  FRegistry.UnRegisterModuleClasses(path);
  std::erase_if(FAdded, [&](const auto& entry) { return SameText(entry.first, path); });
  std::erase_if(FLoaded, [&](const String& loaded) {
    if (!SameText(loaded, path)) return false;
    FRegistry.UnRegisterModuleClasses(loaded);
    return true;
  });
}

void TPackageSet::UnInstallPackages() {
  for (const String& path : FLoaded) FRegistry.UnRegisterModuleClasses(path);
  FLoaded.clear();
  FAdded.clear();
  FStandIns.clear();
}

void RegisterStartupClasses(TClassRegistry& registry, const TClassRegistry& catalogue, TPackageSet& packages,
                            const String& programPath) {
  RegisterClassNames(registry, catalogue, StartupClassTable());
  packages.LoadPackages(PackageIniFileName(programPath));
  packages.InstallPackages(catalogue);
}

void RegisterTableClasses(TClassRegistry& registry, const TClassRegistry& catalogue) {
  RegisterClassNames(registry, catalogue, StartupClassTable());
  RegisterClassNames(registry, catalogue, FurtherClasses());
}
