// Files, folders and path names.
//
// Path texts follow the Windows rules on every build: '\' and '/' both
// separate folders, "C:" is a drive and "\\server\share" a network share, so
// the pure path routines give the same answers natively and on Windows. The
// native file system layer reads '\' in a name as '/'.
#pragma once

#include <functional>

#include "rtl/streams.h"
#include "rtl/types.h"

// <windows.h> maps these names to its own functions; ours are the system's.
#ifdef DeleteFile
#undef DeleteFile
#endif
#ifdef GetCurrentDir
#undef GetCurrentDir
#endif

inline constexpr Char PathDelim = u'\\';
inline constexpr Char DriveDelim = u':';
inline constexpr Char PathSep = u';';

// ---- Path texts (no file system access) ----

// True when the character at `index` (0-based) is '\' or '/'.
bool IsPathDelimiter(StringView path, size_t index);
// "C:" for "C:\a\b", "\\server\share" for "\\server\share\a", else "".
String ExtractFileDrive(const String& fileName);
// Everything up to and including the last separator or the drive's colon.
String ExtractFilePath(const String& fileName);
// The path without its final separator, unless that separator is the root ("C:\", "\").
String ExtractFileDir(const String& fileName);
// The part after the last separator or drive colon.
String ExtractFileName(const String& fileName);
// The extension with its dot ("" when the name part has no dot).
String ExtractFileExt(const String& fileName);
// The name with its extension replaced (or added, or removed for an empty extension).
String ChangeFileExt(const String& fileName, const String& extension);
String IncludeTrailingPathDelimiter(const String& path);
String ExcludeTrailingPathDelimiter(const String& path);

// ---- File system ----

// True for an existing file that is not a folder.
bool FileExists(const String& fileName);
bool DirectoryExists(const String& directory);
bool CreateDir(const String& directory);
bool RemoveDir(const String& directory);
// Creates the folder and every missing parent; true when it exists afterwards.
bool ForceDirectories(const String& directory);
// A file marked read-only (the owner may not write it); false when there is none.
bool FileIsReadOnly(const String& fileName);
// Marks a file read-only or writable; false when it cannot.
bool FileSetReadOnly(const String& fileName, bool readOnly);
// Deletes a file (never a folder); false when it cannot.
bool DeleteFile(const String& fileName);
// Renames or moves; fails when the new name exists (on every build).
bool RenameFile(const String& oldName, const String& newName);
String GetCurrentDir();
bool SetCurrentDir(const String& directory);
// The full path: relative names are taken from the current folder and "."
// and ".." are resolved. Windows-style names ("C:\x") keep the Windows rules
// natively; native absolute names ("/tmp/x") are native paths.
String ExpandFileName(const String& fileName);

// ---- Handles: the thin layer the file streams stand on ----

// InvalidHandle on failure; GetLastOSError() then tells why.
THandle FileOpen(const String& fileName, Word mode);
// Creates or truncates for reading and writing; `mode` may carry a share mode.
THandle FileCreate(const String& fileName, Word mode = 0);
// -1 on failure, else the bytes moved.
Int64 FileRead(THandle handle, void* buffer, Int64 count);
Int64 FileWrite(THandle handle, const void* buffer, Int64 count);
// origin 0, 1, 2 as soBeginning, soCurrent, soEnd; -1 on failure.
Int64 FileSeek(THandle handle, Int64 offset, int origin);
bool FileSetSize(THandle handle, Int64 size);
// Hands the file's data to the disk.
bool FileFlush(THandle handle);
void FileClose(THandle handle);

// The calling thread's last operating-system error code.
int GetLastOSError();
// The system's text for an error code, without trailing blanks or full stop.
String SysErrorMessage(int errorCode);
// EOSError "System Error.  Code: %d.\r\n%s" for the last error.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(int errorCode);

// ---- Saving without losing the old file ----

// Writes a new file beside `fileName` through `writeContent`, then puts it in
// the place of the old file in one step. When writing or replacing fails, the
// temporary file is removed, the old file stays as it was and the error
// propagates (EFCreateError "Cannot create file \"%s\". %s" for the system's
// refusals, or whatever `writeContent` raised).
//
// With a backup name, the old file is moved there once the new file is
// complete, just before the new one takes its place; a previous backup is
// moved aside meanwhile and deleted only after the new file is in place.
// When that last step fails the old file and the previous backup are moved
// back. A backup that cannot be made is no reason to refuse the save.
void SaveFileAtomically(const String& fileName, const std::function<void(TStream& stream)>& writeContent,
                        const String& backupName = {});
