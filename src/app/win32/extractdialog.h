// The extraction dialog: opens an executable, library or package with the
// image reader and lists its form resources with the selected form's text,
// or only its package information; a form is loaded as a new unnamed
// document of the main window.
#pragma once

#include <memory>

#include "ui/commdlg.h"
#include "ui/extctrls.h"
#include "ui/forms.h"
#include "ui/stdctrls.h"
#include "ui/tabs.h"

class TCodeDfmHighlighter;
class TCodeMemo;
class TPEReader;
class TPxPageControl;
class TPxTabSheet;
class TSvFormStorage;
class Tmdi_kst_Editor;

class Tdlg_kst_Extract : public TForm {
  KST_CLASS(Tdlg_kst_Extract, TForm)
 public:
  explicit Tdlg_kst_Extract(TComponent* owner);
  ~Tdlg_kst_Extract() override;

  TLabel* Label1 = nullptr;
  TPanel* Panel = nullptr;
  TPxPageControl* pc = nullptr;
  TPxTabSheet *tsRes = nullptr, *tsInfo = nullptr;
  TListBox* Box = nullptr;
  TSplitter* Splitter1 = nullptr;
  TCodeMemo* DFM = nullptr;
  TMemo* Memo = nullptr;
  TTabSet* ts = nullptr;
  TPanel* pBottom = nullptr;
  TButton *bOpen = nullptr, *bOK = nullptr, *bClose = nullptr;
  TOpenDialog* od = nullptr;
  TSvFormStorage* FormStorage = nullptr;

  // False: the form resources are listed; true: the package information only.
  bool FPI = false;
  const TPEReader& PE() const { return *FPE; }
  // The editor window the last load made, for whoever asked for it.
  Tmdi_kst_Editor* LastLoaded() const { return FLastLoaded; }

  // Reads the file and shows what it holds; a file that cannot be read
  // leaves the dialog as it was.
  void RefreshData(const String& path);

  void FormCreate(TObject* sender);
  void FormDestroy(TObject* sender);
  void tsClick(TObject* sender);
  void bOpenClick(TObject* sender);
  void BoxClick(TObject* sender);
  void BoxDblClick(TObject* sender);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TPEReader> FPE;
  std::unique_ptr<TCodeDfmHighlighter> FHighlighter;
  Tmdi_kst_Editor* FLastLoaded = nullptr;
};

// Shows the dialog modally on the file, then frees it.
void ShowExtractDialog(const String& path, bool packageInfoOnly);
