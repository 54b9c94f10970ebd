#include "rtl/files.h"

#include <string>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/files_platform.h"
#include "rtl/format.h"
#include "rtl/numbers.h"

namespace {

bool IsDelimiterChar(Char c) {
  return c == u'\\' || c == u'/';
}

// Index of the last character that is a separator, the drive colon or (when
// asked) a dot; npos when there is none.
size_t LastPathDelimiter(StringView name, bool withDot) {
  for (size_t i = name.size(); i-- > 0;) {
    Char c = name[i];
    if (IsDelimiterChar(c) || c == DriveDelim || (withDot && c == u'.')) return i;
  }
  return StringView::npos;
}

}  // namespace

namespace files_platform {

[[noreturn]] void RaiseCreateError(const String& fileName, int errorCode) {
  throw EFCreateError(Format(u"Cannot create file \"%s\". %s", {ExpandFileName(fileName), SysErrorMessage(errorCode)}));
}

[[noreturn]] void RaiseOpenError(const String& fileName, int errorCode) {
  throw EFOpenError(Format(u"Cannot open file \"%s\". %s", {ExpandFileName(fileName), SysErrorMessage(errorCode)}));
}

}  // namespace files_platform

bool IsPathDelimiter(StringView path, size_t index) {
  return index < path.size() && IsDelimiterChar(path[index]);
}

String ExtractFileDrive(const String& fileName) {
  if (fileName.size() >= 2 && fileName[1] == DriveDelim) return fileName.substr(0, 2);
  if (fileName.size() >= 2 && IsDelimiterChar(fileName[0]) && IsDelimiterChar(fileName[1])) {
    // "\\server\share": up to (not including) the separator after the share name.
    size_t separators = 0;
    size_t i = 2;
    for (; i < fileName.size(); ++i) {
      if (IsDelimiterChar(fileName[i]) && ++separators == 2) break;
    }
    return fileName.substr(0, i);
  }
  return String();
}

String ExtractFilePath(const String& fileName) {
  size_t i = LastPathDelimiter(fileName, false);
  return i == StringView::npos ? String() : fileName.substr(0, i + 1);
}

String ExtractFileDir(const String& fileName) {
  size_t i = LastPathDelimiter(fileName, false);
  if (i == StringView::npos) return String();
  // Drop the separator unless it is the root of a drive or of the whole name.
  if (i > 0 && IsDelimiterChar(fileName[i]) && !IsDelimiterChar(fileName[i - 1]) && fileName[i - 1] != DriveDelim)
    return fileName.substr(0, i);
  return fileName.substr(0, i + 1);
}

String ExtractFileName(const String& fileName) {
  size_t i = LastPathDelimiter(fileName, false);
  return i == StringView::npos ? fileName : fileName.substr(i + 1);
}

String ExtractFileExt(const String& fileName) {
  size_t i = LastPathDelimiter(fileName, true);
  return i != StringView::npos && fileName[i] == u'.' ? fileName.substr(i) : String();
}

String ChangeFileExt(const String& fileName, const String& extension) {
  size_t i = LastPathDelimiter(fileName, true);
  if (i == StringView::npos || fileName[i] != u'.') return fileName + extension;
  return fileName.substr(0, i) + extension;
}

String IncludeTrailingPathDelimiter(const String& path) {
  if (!path.empty() && IsDelimiterChar(path.back())) return path;
  return path + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& path) {
  if (!path.empty() && IsDelimiterChar(path.back())) return path.substr(0, path.size() - 1);
  return path;
}

bool ForceDirectories(const String& directory) {
  if (directory.empty()) return false;
  // Walk up to the first folder that exists (iteratively: names can be long),
  // then create the missing ones top down.
  std::vector<String> missing;
  String current = ExcludeTrailingPathDelimiter(directory);
  while (current.size() >= 3 && !DirectoryExists(current) && ExtractFilePath(current) != current) {
    missing.push_back(current);
    String parent = ExcludeTrailingPathDelimiter(ExtractFilePath(current));
    if (parent.size() >= current.size()) break;
    current = parent;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (!CreateDir(*it) && !DirectoryExists(*it)) return false;
  }
  return true;
}

void RaiseLastOSError() {
  RaiseLastOSError(GetLastOSError());
}

void RaiseLastOSError(int errorCode) {
  throw EOSError(Format(u"System Error.  Code: %d.\r\n%s", {errorCode, SysErrorMessage(errorCode)}));
}

void SaveFileAtomically(const String& fileName, const std::function<void(TStream& stream)>& writeContent,
                        const String& backupName) {
  // Renaming and replacing pass over the read-only mark that writing in
  // place would respect: the user's protection of the file must hold.
  if (FileIsReadOnly(fileName)) files_platform::RaiseCreateError(fileName, files_platform::AccessDeniedError());
  // A fresh name beside the target, so the final rename stays on one volume.
  String tempName;
  THandle handle = InvalidHandle;
  int createError = 0;
  for (unsigned attempt = 0; attempt < 1000 && handle == InvalidHandle; ++attempt) {
    tempName = fileName + u".~" + IntToStr(attempt) + u".tmp";
    handle = files_platform::CreateNewFile(tempName);
    // The system's reason is read before any other call can replace it.
    if (handle == InvalidHandle) createError = GetLastOSError();
    if (handle == InvalidHandle && !FileExists(tempName)) break;
  }
  if (handle == InvalidHandle) files_platform::RaiseCreateError(fileName, createError);

  try {
    THandleStream stream(handle);
    writeContent(stream);
    if (!FileFlush(handle)) files_platform::RaiseCreateError(fileName, GetLastOSError());
  } catch (...) {
    FileClose(handle);
    DeleteFile(tempName);
    throw;
  }
  FileClose(handle);
  // The older backup is only moved aside, not deleted, until the new file is
  // in its place: a save that fails at the last step leaves everything as it
  // was, the backup included.
  bool backedUp = false;
  String oldBackup;
  if (!backupName.empty() && FileExists(fileName)) {
    bool backupFree = !FileExists(backupName);
    if (!backupFree) {
      for (unsigned attempt = 0; attempt < 1000 && oldBackup.empty(); ++attempt) {
        const String aside = backupName + u".~" + IntToStr(attempt) + u".tmp";
        if (FileExists(aside)) continue;
        if (!RenameFile(backupName, aside)) break;
        oldBackup = aside;
      }
      backupFree = !oldBackup.empty();
    }
    if (backupFree) backedUp = RenameFile(fileName, backupName);
    if (!backedUp && !oldBackup.empty() && RenameFile(oldBackup, backupName)) oldBackup.clear();
  }
  if (!files_platform::ReplaceWith(tempName, fileName)) {
    int error = GetLastOSError();
    DeleteFile(tempName);
    if (backedUp) RenameFile(backupName, fileName);
    if (!oldBackup.empty()) RenameFile(oldBackup, backupName);
    files_platform::RaiseCreateError(fileName, error);
  }
  if (!oldBackup.empty()) DeleteFile(oldBackup);
}
