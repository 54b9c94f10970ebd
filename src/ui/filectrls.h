// The file controls: a list of the files of a folder, the folders along a
// path, the drives and the filters of a file dialog. They list the real file
// system and only read it: nothing is opened, created or changed.
#pragma once

#include "ui/db.h"
#include "ui/stdctrls.h"

class TFileListBox;
class TDirectoryListBox;

// The files of Directory that match Mask (one or more patterns separated by
// ";"), sorted; folders are not listed.
class TFileListBox : public TListBox {
  KST_CLASS(TFileListBox, TListBox)
 public:
  explicit TFileListBox(TComponent* owner);
  ~TFileListBox() override;
  const String& Mask() const { return FMask; }
  void SetMask(const String& mask);
  const String& Directory() const { return FDirectory; }
  void SetDirectory(const String& directory);
  TCustomEdit* FileEdit() const { return FFileEdit; }
  void SetFileEdit(TCustomEdit* edit) { FollowComponent(*this, FFileEdit, edit); }
  bool ShowGlyphs = false;
  TNotifyEvent OnChange;
  // Lists the folder again.
  void Update();

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  String FMask = u"*.*";
  String FDirectory;
  TCustomEdit* FFileEdit = nullptr;
};

// The folders from the drive's root down to Directory, then its subfolders.
class TDirectoryListBox : public TListBox {
  KST_CLASS(TDirectoryListBox, TListBox)
 public:
  explicit TDirectoryListBox(TComponent* owner);
  ~TDirectoryListBox() override;
  const String& Directory() const { return FDirectory; }
  void SetDirectory(const String& directory);
  TFileListBox* FileList() const { return FFileList; }
  void SetFileList(TFileListBox* list);
  TLabel* DirLabel() const { return FDirLabel; }
  void SetDirLabel(TLabel* label);
  TNotifyEvent OnChange;
  void Update();

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  String FDirectory;
  TFileListBox* FFileList = nullptr;
  TLabel* FDirLabel = nullptr;
};

enum TTextCase { tcLowerCase, tcUpperCase };
const TTypeInfo& DescribeType(TypeTag<TTextCase>);

// The drives of the system, the current folder's drive selected.
class TDriveComboBox : public TComboBox {
  KST_CLASS(TDriveComboBox, TComboBox)
 public:
  explicit TDriveComboBox(TComponent* owner);
  ~TDriveComboBox() override;
  TDirectoryListBox* DirList() const { return FDirList; }
  void SetDirList(TDirectoryListBox* list);
  TTextCase TextCase = tcLowerCase;
  void Update();

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDirectoryListBox* FDirList = nullptr;
};

// The descriptions of a dialog filter ("Text files|*.txt|...").
class TFilterComboBox : public TComboBox {
  KST_CLASS(TFilterComboBox, TComboBox)
 public:
  explicit TFilterComboBox(TComponent* owner);
  ~TFilterComboBox() override;
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& filter);
  TFileListBox* FileList() const { return FFileList; }
  void SetFileList(TFileListBox* list);
  TNotifyEvent OnChange;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  String FFilter = u"All files (*.*)|*.*";
  TFileListBox* FFileList = nullptr;
};

void RegisterFileControlClasses(TClassRegistry& registry);
