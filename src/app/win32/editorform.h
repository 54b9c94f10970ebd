// One editor window: one form-file document shown as highlighted text, with
// the object tree, the inspector panel, the preview page, the messages list
// and the status bar around it. It loads a file of any of the three
// encodings and saves it back in the encoding it was read in.
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "app/formdocument.h"
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
  void UpdateMessages();
  void SetPrefs();

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

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& message) override;

 private:
  // Writes the text to the file in the encoding; false (after an error box)
  // when it could not be written.
  bool WriteDocument(const String& path, TDataFormat format, bool makeBackup);
  // Asks the main window to refresh its actions, later: the window may be on its way out.
  void PostControlsUpdate();
  void Search(TCodeSearchOptions options, const String& replace);

  Integer FCurrentLine = -1;
  String FFilename;
  String FFormClass;
  bool FModified = false;
  Integer FObjectCount = 0;
  std::unique_ptr<TStringList> FErrBox;
  std::unique_ptr<TStringList> FUCL;
  TObject* FObject = nullptr;
  TDataFormat FDataFormat = dfText;
  TMObjectInspector* MOI = nullptr;
  // The lines as last read from the file: they keep its character encoding for saving.
  std::unique_ptr<TStringList> FFileLines;
  std::unique_ptr<TCodeDfmHighlighter> FHighlighter;
  std::unique_ptr<TCodeEditSearch> FSearch;
  bool FDestroying = false;
};
