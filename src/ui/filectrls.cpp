#include "ui/filectrls.h"

#include <algorithm>
#include <vector>

#include "classes/reflection.h"
#include "rtl/files.h"
#include "rtl/sysstr.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TFileListBox, "FileCtrl")
KST_CLASS_IMPL(TDirectoryListBox, "FileCtrl")
KST_CLASS_IMPL(TDriveComboBox, "FileCtrl")
KST_CLASS_IMPL(TFilterComboBox, "FileCtrl")

const TTypeInfo& DescribeType(TypeTag<TTextCase>) {
  static const TEnumTypeInfo t(u"TTextCase", u"FileCtrl", {u"tcLowerCase", u"tcUpperCase"});
  return t;
}

namespace {

// The names in a folder that match a pattern: files, or folders (without
// "." and ".."), sorted without regard to case.
std::vector<String> ListFolder(const String& folder, const String& pattern, bool folders) {
  std::vector<String> names;
  WIN32_FIND_DATAW data;
  const String query = IncludeTrailingPathDelimiter(folder) + pattern;
  HANDLE find = FindFirstFileExW(WStr(query), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    String name = FromWStr(data.cFileName);
    if (isFolder != folders || name == u"." || name == u"..") continue;
    names.push_back(std::move(name));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end(), [](const String& a, const String& b) { return CompareText(a, b) < 0; });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

String CurrentOr(const String& folder) {
  return folder.empty() ? GetCurrentDir() : folder;
}

}  // namespace

// ---------------------------------------------------------------------------
// File list

void TFileListBox::Describe(TClassBuilder<TFileListBox>& c) {
  c.Property(u"FileEdit", &TFileListBox::FileEdit, &TFileListBox::SetFileEdit);
  c.Property(u"Mask", &TFileListBox::Mask, &TFileListBox::SetMask);
  c.Property(u"ShowGlyphs", &TFileListBox::ShowGlyphs).Default(0);
  c.Property(u"OnChange", &TFileListBox::OnChange);
}

TFileListBox::TFileListBox(TComponent* owner) : TListBox(owner) {}
TFileListBox::~TFileListBox() {
  SetFileEdit(nullptr);
}
void TFileListBox::SetMask(const String& mask) {
  FMask = mask;
  Update();
}
void TFileListBox::SetDirectory(const String& directory) {
  FDirectory = directory;
  Update();
}
void TFileListBox::Update() {
  if (ComponentState().Contains(csLoading)) return;
  std::vector<String> names;
  String rest = FMask.empty() ? String(u"*.*") : FMask;
  while (!rest.empty()) {
    size_t semicolon = rest.find(u';');
    String pattern = Trim(rest.substr(0, semicolon));
    rest = semicolon == String::npos ? String() : rest.substr(semicolon + 1);
    if (pattern.empty()) continue;
    for (String& name : ListFolder(CurrentOr(FDirectory), pattern, false)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), [](const String& a, const String& b) { return CompareText(a, b) < 0; });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  Items().BeginUpdate();
  Items().Clear();
  for (const String& name : names) Items().Add(name);
  Items().EndUpdate();
}
void TFileListBox::Loaded() {
  TListBox::Loaded();
  Update();
}
void TFileListBox::Notification(TComponent* component, TOperation operation) {
  TListBox::Notification(component, operation);
  if (operation == opRemove && component == FFileEdit) FFileEdit = nullptr;
}

// ---------------------------------------------------------------------------
// Folder list

void TDirectoryListBox::Describe(TClassBuilder<TDirectoryListBox>& c) {
  c.Property(u"DirLabel", &TDirectoryListBox::DirLabel, &TDirectoryListBox::SetDirLabel);
  c.Property(u"FileList", &TDirectoryListBox::FileList, &TDirectoryListBox::SetFileList);
  c.Property(u"OnChange", &TDirectoryListBox::OnChange);
}

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TListBox(owner) {}
TDirectoryListBox::~TDirectoryListBox() {
  SetFileList(nullptr);
  SetDirLabel(nullptr);
}
void TDirectoryListBox::SetDirectory(const String& directory) {
  FDirectory = directory;
  Update();
}
void TDirectoryListBox::SetFileList(TFileListBox* list) {
  FollowComponent(*this, FFileList, list);
}
void TDirectoryListBox::SetDirLabel(TLabel* label) {
  FollowComponent(*this, FDirLabel, label);
}
void TDirectoryListBox::Update() {
  if (ComponentState().Contains(csLoading)) return;
  const String folder = ExcludeTrailingPathDelimiter(CurrentOr(FDirectory));
  Items().BeginUpdate();
  Items().Clear();
  // The path's folders from its root, each indented one step further.
  String path;
  String indent;
  String rest = folder;
  while (!rest.empty()) {
    size_t slash = rest.find_first_of(u"\\/");
    String part = rest.substr(0, slash);
    rest = slash == String::npos ? String() : rest.substr(slash + 1);
    if (part.empty()) continue;
    path += part + u"\\";
    Items().Add(indent + (path.size() == part.size() + 1 ? path : part));
    indent += u"  ";
  }
  for (const String& name : ListFolder(folder, u"*", true)) Items().Add(indent + name);
  Items().EndUpdate();
  if (FDirLabel) FDirLabel->SetText(folder);
}
void TDirectoryListBox::Loaded() {
  TListBox::Loaded();
  Update();
}
void TDirectoryListBox::Notification(TComponent* component, TOperation operation) {
  TListBox::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FFileList) FFileList = nullptr;
  if (component == FDirLabel) FDirLabel = nullptr;
}

// ---------------------------------------------------------------------------
// Drives

void TDriveComboBox::Describe(TClassBuilder<TDriveComboBox>& c) {
  c.Property(u"DirList", &TDriveComboBox::DirList, &TDriveComboBox::SetDirList);
  c.Property(u"TextCase", &TDriveComboBox::TextCase).Default(tcLowerCase);
}

TDriveComboBox::TDriveComboBox(TComponent* owner) : TComboBox(owner) {
  SetStyle(csDropDownList);
}
TDriveComboBox::~TDriveComboBox() {
  SetDirList(nullptr);
}
void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
  FollowComponent(*this, FDirList, list);
}
void TDriveComboBox::Update() {
  if (ComponentState().Contains(csLoading)) return;
  wchar_t buffer[512] = {};
  const DWORD length = GetLogicalDriveStringsW(511, buffer);
  const String current = ExtractFileDrive(GetCurrentDir());
  Items().BeginUpdate();
  Items().Clear();
  Integer selected = -1;
  for (const wchar_t* drive = buffer; length > 0 && *drive; drive += wcslen(drive) + 1) {
    String name = ExcludeTrailingPathDelimiter(FromWStr(drive));
    if (!current.empty() && SameText(name, current)) selected = Items().Count();
    Items().Add(TextCase == tcUpperCase ? UpperCase(name) : LowerCase(name));
  }
  Items().EndUpdate();
  SetItemIndex(selected);
}
void TDriveComboBox::Loaded() {
  TComboBox::Loaded();
  Update();
}
void TDriveComboBox::Notification(TComponent* component, TOperation operation) {
  TComboBox::Notification(component, operation);
  if (operation == opRemove && component == FDirList) FDirList = nullptr;
}

// ---------------------------------------------------------------------------
// Filters

void TFilterComboBox::Describe(TClassBuilder<TFilterComboBox>& c) {
  c.Property(u"FileList", &TFilterComboBox::FileList, &TFilterComboBox::SetFileList);
  c.Property(u"Filter", &TFilterComboBox::Filter, &TFilterComboBox::SetFilter);
  c.Property(u"OnChange", &TFilterComboBox::OnChange);
}

TFilterComboBox::TFilterComboBox(TComponent* owner) : TComboBox(owner) {
  SetStyle(csDropDownList);
  SetFilter(FFilter);
}
TFilterComboBox::~TFilterComboBox() {
  SetFileList(nullptr);
}
void TFilterComboBox::SetFilter(const String& filter) {
  FFilter = filter;
  Items().BeginUpdate();
  Items().Clear();
  // Descriptions and patterns alternate; the descriptions are listed.
  String rest = filter;
  for (bool description = true; !rest.empty(); description = !description) {
    size_t bar = rest.find(u'|');
    if (description) Items().Add(rest.substr(0, bar));
    rest = bar == String::npos ? String() : rest.substr(bar + 1);
  }
  Items().EndUpdate();
  SetItemIndex(Items().Count() > 0 ? 0 : -1);
}
void TFilterComboBox::SetFileList(TFileListBox* list) {
  FollowComponent(*this, FFileList, list);
}
void TFilterComboBox::Notification(TComponent* component, TOperation operation) {
  TComboBox::Notification(component, operation);
  if (operation == opRemove && component == FFileList) FFileList = nullptr;
}

void RegisterFileControlClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TFileListBox::StaticClass(), &TDirectoryListBox::StaticClass(),
                            &TDriveComboBox::StaticClass(), &TFilterComboBox::StaticClass()},
                           u"ui");
  registry.RegisterType(DescribeType(TypeTag<TTextCase>{}));
}
