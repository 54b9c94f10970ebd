// One editor window: one form-file document shown as highlighted text, with
// the object tree, the inspector panel, the preview page, the messages list
// and the status bar around it. It loads a file of any of the three
// encodings and saves it back in the encoding it was read in.
#pragma once

#include "ui/winapi.h"

#include <memory>
#include <vector>

#include "app/formdocument.h"
#include "app/objectscan.h"
#include "livetree/livetreetypes.h"
#include "codeedit/editcore.h"
#include "ui/comctrls.h"
#include "ui/commdlg.h"
#include "ui/extctrls.h"
#include "ui/extdlgs.h"
#include "ui/forms.h"
#include "ui/imglist.h"
#include "ui/menus.h"
#include "ui/statusbar.h"
#include "services/win32/formstorage.h"

class TCodeEdit;
class TCodeDfmHighlighter;
class TCodeEditSearch;
namespace ltcontrol {
class TLiveStringTree;
}
class TPxPageControl;
class TPxTabSheet;
class TPxHeaderPanel;
class TMObjectInspector;
namespace ltcontrol {
class TBaseLiveTree;
}
struct TLTHeaderHitInfo;
class TLTHeader;

class Tmdi_kst_Editor : public TForm {
  KST_CLASS(Tmdi_kst_Editor, TForm)
 public:
  explicit Tmdi_kst_Editor(TComponent* owner);
  ~Tmdi_kst_Editor() override;

  TSplitter *Splitter1 = nullptr, *Splitter2 = nullptr, *ESplitter = nullptr;
  TPanel* TreePanel = nullptr;
  ltcontrol::TLiveStringTree* Tree = nullptr;
  TPxHeaderPanel* OIPanel = nullptr;
  TPxPageControl* pcOI = nullptr;
  TPxTabSheet *TabSheet3 = nullptr, *TabSheet4 = nullptr, *PxTabSheet3 = nullptr, *TabSheet5 = nullptr;
  ltcontrol::TLiveStringTree *OIPTree = nullptr, *OIETree = nullptr, *HTree = nullptr;
  TPanel *ImagePanel = nullptr, *PropTitle = nullptr, *ImageTitle = nullptr;
  TScrollBox* ScrollBox1 = nullptr;
  TImage* Image = nullptr;
  TPanel* EditorPanel = nullptr;
  TPxPageControl* pc = nullptr;
  TPxTabSheet *PxTabSheet1 = nullptr, *PxTabSheet2 = nullptr;
  TCodeEdit* DFM = nullptr;
  TPanel* PreviewPanel = nullptr;
  TScrollBox* VirtualDesktop = nullptr;
  TListView* EList = nullptr;
  TStatusBar* sb = nullptr;
  TMainMenu* MainMenu = nullptr;
  TMenuItem *mmEdit = nullptr, *mmUndo = nullptr, *mmCopy = nullptr, *mmCut = nullptr, *mmPaste = nullptr,
            *mmData = nullptr, *mmPreview = nullptr;
  TPopupMenu* EditMenu = nullptr;
  TMenuItem *pmUndo = nullptr, *pmCopy = nullptr, *pmCut = nullptr, *pmPaste = nullptr, *pmPreview = nullptr;
  TPopupMenu *TreeMenu = nullptr, *ImageMenu = nullptr;
  TReplaceDialog* rd = nullptr;
  TSavePictureDialog* spd = nullptr;
  TSaveDialog* spd1 = nullptr;
  TOpenDialog* odd = nullptr;
  TImageList* img = nullptr;
  TSvFormStorage* FormStorage = nullptr;

  const String& Filename() const { return FFilename; }
  // Binds the window to the file and loads it; raises when a binary or
  // resource-wrapped file cannot be converted.
  void SetFilename(const String& path);
  TDataFormat DataFormat() const { return FDataFormat; }
  bool Modified() const { return FModified; }
  // The window has agreed to close (its close question was answered and any
  // save it asked for succeeded); it goes once its release arrives.
  bool Closed() const { return FClosed; }
  const TStrings& ErrBox() const { return *FErrBox; }
  TStrings& ErrBoxLines() { return *FErrBox; }

  bool CanUndo() const;
  bool CanPaste() const;
  bool HasSelection() const;

  void LoadDataFile();
  // Starts a document from the lines (none: empty and unchanged).
  void New(const TStrings* lines);
  // Writes the document to its own file in its own encoding, with a backup;
  // an unnamed document asks for a name. False when nothing was written.
  bool cmSave();
  // Writes a copy in a chosen encoding to a chosen file.
  void cmSaveAs();
  void UpdateModifiedPanel();
  // The enabled state of the "Edit" menu's Undo, Copy, Cut and Paste.
  void UpdateEditCommands();
  void UpdateMessages();
  void SetPrefs();

  // ---- Object tree ----
  // Lists the unknown classes, rebuilds the preview, then the tree from the
  // lines; the number of nodes.
  Integer ScanObjects(const TStrings& lines);
  Integer ObjectCount() const { return FObjectCount; }
  const String& FormClass() const { return FFormClass; }
  const TStrings& UnknownClasses() const { return *FUCL; }
  // The first node, in pre-order, of that name (without regard to case); none when there is none.
  PLiveNode FindObjectNode(StringView name) const;
  // Focuses and selects the node, which shows its object.
  void SelectNode(PLiveNode node);
  // The live object of the focused node; none when the preview did not build it.
  TObject* CurrentObject() const { return FObject; }
  // The record behind a node of any of the window's four trees.
  static TObjectNodeData* NodeData(ltcontrol::TBaseLiveTree* tree, PLiveNode node);

  // ---- Inspector views ----
  void InspectObject(TObject* object, const String& name);
  void FillHierarchyTree(const TClassInfo* cls);

  // ---- Preview ----
  // Rebuilds the preview from the text and refreshes the messages; the page
  // shown stays as it is.
  void PreviewForm();
  // Shows the "Preview" page when the "Source" page is shown, else the
  // "Source" page (the "Preview Form" command); showing the preview rebuilds it.
  void ToggleSourcePreviewPage();
  TForm* Preview() const { return FPreviewForm; }

  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void DFMChange(TObject* sender);
  void DFMStatusChange(TObject* sender, TCodeStatusChanges changes);
  void pcChange(TObject* sender);
  void cmUndo(TObject* sender);
  void cmCopy(TObject* sender);
  void cmCut(TObject* sender);
  void cmPaste(TObject* sender);
  void cmReplace(TObject* sender);
  void cmFindnext(TObject* sender);
  void cmGoto(TObject* sender);
  void cmCBLocate(TObject* sender);
  void cmExpand(TObject* sender);
  void cmCollapse(TObject* sender);
  void cmPreview(TObject* sender);
  void cmRescan(TObject* sender);
  void mmSaveFormImageClick(TObject* sender);
  void cmLoadData(TObject* sender);
  void rdFind(TObject* sender);
  void rdReplace(TObject* sender);
  void EditMenuPopup(TObject* sender);
  void TreeGetText(ltcontrol::TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, TLSTTextType textType,
                   String& cellText);
  void TreeGetImageIndex(ltcontrol::TBaseLiveTree* sender, PLiveNode node, TLTImageKind kind, TColumnIndex column,
                         bool& ghosted, Integer& imageIndex);
  void TreeFocusChanged(ltcontrol::TBaseLiveTree* sender, PLiveNode node, TColumnIndex column);
  void TreeIncrementalSearch(ltcontrol::TBaseLiveTree* sender, PLiveNode node, const String& searchText,
                             Integer& result);
  void OITreeGetText(ltcontrol::TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, TLSTTextType textType,
                     String& cellText);
  void OITreePaintText(ltcontrol::TBaseLiveTree* sender, TCanvas* targetCanvas, PLiveNode node, TColumnIndex column,
                       TLSTTextType textType);
  void OITreeCompareNodes(ltcontrol::TBaseLiveTree* sender, PLiveNode node1, PLiveNode node2, TColumnIndex column,
                          Integer& result);
  void OIPTreeDblClick(TObject* sender);
  void OIPTreeFocusChanged(ltcontrol::TBaseLiveTree* sender, PLiveNode node, TColumnIndex column);
  void OIPTreeHeaderClick(TLTHeader* sender, const TLTHeaderHitInfo& hitInfo);
  void HTreeGetText(ltcontrol::TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, TLSTTextType textType,
                    String& cellText);
  void HTreePaintText(ltcontrol::TBaseLiveTree* sender, TCanvas* targetCanvas, PLiveNode node, TColumnIndex column,
                      TLSTTextType textType);
  void HTreeDblClick(TObject* sender);
  void ImageDblClick(TObject* sender);
  void pmSaveClick(TObject* sender);
  void ObjectEnter(TObject* sender);
  void ObjectMouseMove(TObject* sender, TShiftState shift, Integer x, Integer y);

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& message) override;
  void Resize() override;

 private:
  // Writes the text to the file in the encoding; false (after an error box)
  // when it could not be written.
  bool WriteDocument(const String& path, TDataFormat format, bool makeBackup);
  // Asks the main window to refresh its actions, later: the window may be on its way out.
  void PostControlsUpdate();
  void Search(TCodeSearchOptions options, const String& replace);
  // A node of the tree carrying a copy of the record, which the window keeps.
  PLiveNode AddNode(ltcontrol::TLiveStringTree* tree, PLiveNode parent, const TObjectNodeData& data);
  // Empties the tree and drops the records of its nodes.
  void ClearTree(ltcontrol::TLiveStringTree* tree);
  std::vector<std::unique_ptr<TObjectNodeData>>& NodeStore(ltcontrol::TLiveStringTree* tree);
  // Forgets every live object of the preview: the current object, the
  // inspector's and the views' value objects. Run before the preview goes.
  void DropLiveObjects();
  void FreePreview();
  // Builds a new preview in place of none, collecting its message lines.
  void RebuildPreview();
  void HookPreviewControls(TComponent* owner);
  // A component of the preview by name, searched through frames too; none when the preview has none.
  TComponent* PreviewComponent(StringView name) const;
  // The object a property of the component holds; none when there is none.
  TObject* HeldObject(TObject* instance, StringView property);
  TLiveObjectLookups PreviewLookups();
  void FillPropertyTree(TObject* object, const String& name);
  void FillEventTree(TObject* object, const String& name);
  void ShowImageOf(const TObjectNodeData* data);
  void TrackCaret();
  // Narrows the object tree and the inspector panel, in proportion, so that
  // the source and preview keep a usable share of a small window; they go
  // back to the widths the user gave them as the window grows.
  void FitSidePanels();
  // The side panels at the widths the user gave them, for saving them.
  void RestoreSidePanels();

  Integer FCurrentLine = -1;
  String FFilename;
  String FFormClass;
  bool FModified = false;
  Integer FObjectCount = 0;
  std::unique_ptr<TStringList> FErrBox;
  std::unique_ptr<TStringList> FUCL;
  TObject* FObject = nullptr;
  TForm* FPreviewForm = nullptr;
  std::vector<std::unique_ptr<TObjectNodeData>> FTreeData, FPropData, FEventData, FOriginData;
  TDataFormat FDataFormat = dfText;
  TMObjectInspector* MOI = nullptr;
  // The lines as last read from the file: they keep its character encoding for saving.
  std::unique_ptr<TStringList> FFileLines;
  std::unique_ptr<TCodeDfmHighlighter> FHighlighter;
  std::unique_ptr<TCodeEditSearch> FSearch;
  bool FDestroying = false;
  bool FClosed = false;
  // The widths the user gave the side panels (by the splitters or the
  // settings); 0 until the form has made them.
  Integer FTreeWidth = 0;
  Integer FOIWidth = 0;
  bool FFitting = false;
};
