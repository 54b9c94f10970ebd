// The file system layer on Windows: the wide-character API throughout.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/files.h"
#include "rtl/files_platform.h"

namespace {

const wchar_t* Wide(const String& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

HANDLE ToHandle(THandle handle) {
  return reinterpret_cast<HANDLE>(handle);
}
THandle FromHandle(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? InvalidHandle : reinterpret_cast<THandle>(handle);
}

// As on the platform, the compatibility mode shares nothing, like the exclusive one.
DWORD ShareMode(Word mode) {
  switch (mode & 0xF0) {
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;  // fmShareCompat, fmShareExclusive
  }
}

DWORD Attributes(const String& name) {
  if (name.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(Wide(name));
}

// One ReadFile/WriteFile moves at most this much; larger counts loop.
constexpr Int64 kMaxChunk = 0x40000000;

}  // namespace

bool FileExists(const String& fileName) {
  DWORD attributes = Attributes(fileName);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& directory) {
  DWORD attributes = Attributes(directory);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileIsReadOnly(const String& fileName) {
  DWORD attributes = Attributes(fileName);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool FileSetReadOnly(const String& fileName, bool readOnly) {
  DWORD attributes = Attributes(fileName);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  attributes = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
  return SetFileAttributesW(Wide(fileName), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

bool CreateDir(const String& directory) {
  return !directory.empty() && CreateDirectoryW(Wide(directory), nullptr);
}

bool RemoveDir(const String& directory) {
  return !directory.empty() && RemoveDirectoryW(Wide(directory));
}

bool DeleteFile(const String& fileName) {
  return !fileName.empty() && DeleteFileW(Wide(fileName));
}

bool RenameFile(const String& oldName, const String& newName) {
  return !oldName.empty() && !newName.empty() && MoveFileW(Wide(oldName), Wide(newName));
}

String GetCurrentDir() {
  DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return String();
  String result(needed, u'\0');
  DWORD length = GetCurrentDirectoryW(needed, reinterpret_cast<wchar_t*>(result.data()));
  result.resize(std::min<DWORD>(length, needed));
  return result;
}

bool SetCurrentDir(const String& directory) {
  return !directory.empty() && SetCurrentDirectoryW(Wide(directory));
}

String ExpandFileName(const String& fileName) {
  if (fileName.empty()) return fileName;
  DWORD needed = GetFullPathNameW(Wide(fileName), 0, nullptr, nullptr);
  if (needed == 0) return fileName;
  String result(needed, u'\0');
  DWORD length = GetFullPathNameW(Wide(fileName), needed, reinterpret_cast<wchar_t*>(result.data()), nullptr);
  if (length == 0 || length >= needed) return fileName;
  result.resize(length);
  return result;
}

THandle FileOpen(const String& fileName, Word mode) {
  static constexpr DWORD kAccess[3] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  if ((mode & 3) > fmOpenReadWrite || (mode & 0xF0) > fmShareDenyNone) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return InvalidHandle;
  }
  if (fileName.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return InvalidHandle;
  }
  return FromHandle(CreateFileW(Wide(fileName), kAccess[mode & 3], ShareMode(mode), nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

THandle FileCreate(const String& fileName, Word mode) {
  if (fileName.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return InvalidHandle;
  }
  DWORD share = (mode & 0xF0) <= fmShareDenyNone ? ShareMode(mode) : 0;
  return FromHandle(CreateFileW(Wide(fileName), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

Int64 FileRead(THandle handle, void* buffer, Int64 count) {
  if (count <= 0) return 0;
  Int64 total = 0;
  auto* out = static_cast<char*>(buffer);
  while (total < count) {
    DWORD done = 0;
    DWORD chunk = static_cast<DWORD>(std::min(count - total, kMaxChunk));
    if (!ReadFile(ToHandle(handle), out + total, chunk, &done, nullptr)) return total > 0 ? total : -1;
    if (done == 0) break;
    total += done;
  }
  return total;
}

Int64 FileWrite(THandle handle, const void* buffer, Int64 count) {
  if (count <= 0) return 0;
  Int64 total = 0;
  const auto* in = static_cast<const char*>(buffer);
  while (total < count) {
    DWORD done = 0;
    DWORD chunk = static_cast<DWORD>(std::min(count - total, kMaxChunk));
    if (!WriteFile(ToHandle(handle), in + total, chunk, &done, nullptr)) return total > 0 ? total : -1;
    if (done == 0) break;
    total += done;
  }
  return total;
}

Int64 FileSeek(THandle handle, Int64 offset, int origin) {
  if (origin < 0 || origin > 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER result;
  if (!SetFilePointerEx(ToHandle(handle), distance, &result, static_cast<DWORD>(origin))) return -1;
  return result.QuadPart;
}

bool FileSetSize(THandle handle, Int64 size) {
  if (size < 0) return false;
  LARGE_INTEGER current{};
  LARGE_INTEGER zero{};
  if (!SetFilePointerEx(ToHandle(handle), zero, &current, FILE_CURRENT)) return false;
  LARGE_INTEGER target;
  target.QuadPart = size;
  bool ok = SetFilePointerEx(ToHandle(handle), target, nullptr, FILE_BEGIN) && SetEndOfFile(ToHandle(handle));
  DWORD error = GetLastError();
  SetFilePointerEx(ToHandle(handle), current, nullptr, FILE_BEGIN);
  SetLastError(error);
  return ok;
}

bool FileFlush(THandle handle) {
  return FlushFileBuffers(ToHandle(handle));
}

void FileClose(THandle handle) {
  if (handle != InvalidHandle) CloseHandle(ToHandle(handle));
}

int GetLastOSError() {
  return static_cast<int>(GetLastError());
}

String SysErrorMessage(int errorCode) {
  wchar_t* buffer = nullptr;
  DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(errorCode), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  String message;
  if (buffer) {
    message.assign(reinterpret_cast<const Char*>(buffer), length);
    LocalFree(buffer);
  }
  while (!message.empty() && (message.back() <= u' ' || message.back() == u'.')) message.pop_back();
  return message;
}

namespace files_platform {

THandle CreateNewFile(const String& fileName) {
  return FromHandle(CreateFileW(Wide(fileName), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

int AccessDeniedError() {
  return ERROR_ACCESS_DENIED;
}

bool ReplaceWith(const String& source, const String& target) {
  return MoveFileExW(Wide(source), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// Large pages need a privilege a user normally lacks; blocks stay as they are.
void PreferLargePages(void* /*block*/, size_t /*size*/) noexcept {}

}  // namespace files_platform
