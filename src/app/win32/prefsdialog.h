// The preferences dialog: the three preference flags, the shell's file types
// of the form-file extensions, the package list (its page's tab is hidden)
// and the registered classes with their ancestry.
#pragma once

#include "ui/winapi.h"

#include "app/filetypes.h"
#include "ui/comctrls.h"
#include "ui/commdlg.h"
#include "ui/extctrls.h"
#include "ui/forms.h"
#include "ui/imglist.h"
#include "ui/morectrls.h"
#include "ui/stdctrls.h"
#include "ui/tabs.h"

class TClassRegistry;
struct TKestrumPrefs;

// What the package page and the class list are filled from: the main
// window's package list and its errors, and the registry of classes.
class TPrefsSource {
 public:
  virtual ~TPrefsSource() = default;
  virtual TStrings& PackageList() = 0;
  // The message of the package's load failure; empty when it loaded.
  virtual String PackageError(const String& path) = 0;
  virtual bool PackageLoaded(const String& path) = 0;
  // The package's own description; empty when it has none or cannot be read.
  virtual String PackageDescription(const String& path) = 0;
  // The details of a tab of the package page: 0 header, 1 classes, 2 flags;
  // with the number of classes for the second.
  virtual String PackageDetails(const String& path, int tab, Integer& classCount) = 0;
  // Registers the package's classes; how many were new.
  virtual Integer InstallPackage(const String& path) = 0;
  // Unloads the package and registers the remaining ones again.
  virtual void RemovePackage(const String& path) = 0;
  virtual void SavePackages() = 0;
  virtual const TClassRegistry& Classes() = 0;
};

class Tdlg_kst_Prefs : public TForm {
  KST_CLASS(Tdlg_kst_Prefs, TForm)
 public:
  using TForm::TForm;
  TPageControl* pc = nullptr;
  TTabSheet *tsGen = nullptr, *tsPkg = nullptr, *tsRC = nullptr;
  TLabel* Label1 = nullptr;
  TListView* RFTList = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TCheckBox *cbxShowTypeCol = nullptr, *cbxShowCNCol = nullptr, *cbxFont = nullptr;
  TListView* BPLList = nullptr;
  TButton *bAdd = nullptr, *bDel = nullptr, *bOK = nullptr, *bCancel = nullptr;
  TPanel* Panel1 = nullptr;
  TMemo* Memo = nullptr;
  TTabSet* ts = nullptr;
  TLabel* lUnit = nullptr;
  TButtonedEdit* eSearch = nullptr;
  TListBox* Box = nullptr;
  TTreeView* Tree = nullptr;
  TOpenDialog* opd = nullptr;
  TImageList* ImageList1 = nullptr;

  // Set before the dialog shows.
  TPrefsSource* Source = nullptr;
  const TFileTypeKey* FileTypes = nullptr;
  String ProgramPath;

  void RefreshPackages();
  void RefreshClasses();

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void pcChange(TObject* sender);
  void tsClick(TObject* sender);
  void cmAdd(TObject* sender);
  void cmDel(TObject* sender);
  void BPLListSelectItem(TObject* sender, TListItem* item, bool selected);
  void eSearchChange(TObject* sender);
  void eSearchLeftButtonClick(TObject* sender);
  void eSearchRightButtonClick(TObject* sender);
  void BoxClick(TObject* sender);

 private:
  void ShowPackageDetails();
};

// Runs the dialog on the flags; on OK writes the file types of the ticked
// and unticked extensions, saves the package list, takes the flags and
// returns true.
bool ShowPreferences(TKestrumPrefs& prefs, TPrefsSource& source, const TFileTypeKey& fileTypes,
                     const String& programPath);
