// The file system layer on POSIX systems. Names are converted to UTF-8 with
// '\' read as '/', so the Windows-style names the program builds work here too.
// Share modes are not enforced: files are not locked.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/files.h"
#include "rtl/files_platform.h"
#include "rtl/unicode.h"

namespace {

std::string NativeName(const String& fileName) {
  std::string name = StringToUTF8(fileName);
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

int ToDescriptor(THandle handle) {
  return static_cast<int>(handle);
}

bool StatName(const String& fileName, struct stat& info) {
  if (fileName.empty()) return false;
  return ::stat(NativeName(fileName).c_str(), &info) == 0;
}

// A single read()/write() moves at most this much on Linux; larger counts loop.
constexpr Int64 kMaxChunk = 0x40000000;

bool IsWindowsAbsolute(const String& name) {
  if (name.size() >= 2 && name[1] == u':' &&
      ((name[0] >= u'A' && name[0] <= u'Z') || (name[0] >= u'a' && name[0] <= u'z')))
    return true;
  return name.size() >= 2 && (name[0] == u'\\' || name[0] == u'/') && name[0] == name[1];
}

// Resolves "." and ".." and doubled separators in `rest`, which follows `root`.
String ResolveDots(const String& root, StringView rest, Char delimiter) {
  std::vector<StringView> parts;
  size_t start = 0;
  bool trailing = false;
  while (start <= rest.size()) {
    size_t end = rest.find_first_of(u"\\/", start);
    if (end == StringView::npos) end = rest.size();
    StringView part = rest.substr(start, end - start);
    trailing = part.empty() && end == rest.size() && !parts.empty();
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  String result = root;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) result += delimiter;
    result += parts[i];
  }
  if (trailing && !parts.empty()) result += delimiter;
  return result;
}

}  // namespace

bool FileExists(const String& fileName) {
  struct stat info;
  return StatName(fileName, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const String& directory) {
  struct stat info;
  return StatName(directory, info) && S_ISDIR(info.st_mode);
}

// Judged by the mode bits, not by access(): the superuser may write anything.
bool FileIsReadOnly(const String& fileName) {
  struct stat info;
  return StatName(fileName, info) && !S_ISDIR(info.st_mode) && !(info.st_mode & S_IWUSR);
}

bool FileSetReadOnly(const String& fileName, bool readOnly) {
  struct stat info;
  if (!StatName(fileName, info)) return false;
  const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
  const mode_t mode = readOnly ? (info.st_mode & ~writable) : (info.st_mode | S_IWUSR);
  return ::chmod(NativeName(fileName).c_str(), mode & 07777) == 0;
}

bool CreateDir(const String& directory) {
  return !directory.empty() && ::mkdir(NativeName(directory).c_str(), 0777) == 0;
}

bool RemoveDir(const String& directory) {
  return !directory.empty() && ::rmdir(NativeName(directory).c_str()) == 0;
}

bool DeleteFile(const String& fileName) {
  return !fileName.empty() && ::unlink(NativeName(fileName).c_str()) == 0;
}

bool RenameFile(const String& oldName, const String& newName) {
  if (oldName.empty() || newName.empty()) return false;
  std::string from = NativeName(oldName);
  std::string to = NativeName(newName);
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the no-replace flag: check first (not race-free, as good as it gets there).
  struct stat info;
  if (::lstat(to.c_str(), &info) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

String GetCurrentDir() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return String();
    buffer.resize(buffer.size() * 2);
  }
  return UTF8ToString(buffer.data());
}

bool SetCurrentDir(const String& directory) {
  return !directory.empty() && ::chdir(NativeName(directory).c_str()) == 0;
}

String ExpandFileName(const String& fileName) {
  if (fileName.empty()) return fileName;
  if (IsWindowsAbsolute(fileName)) {
    if (fileName[1] == u':') {
      String root = fileName.substr(0, 2) + u'\\';
      return ResolveDots(root, StringView(fileName).substr(2), u'\\');
    }
    // UNC: "\\server\share" is the root that ".." cannot climb above.
    String drive = ExtractFileDrive(fileName);
    for (Char& c : drive)
      if (c == u'/') c = u'\\';
    StringView rest = StringView(fileName).substr(drive.size());
    return ResolveDots(drive + u'\\', rest, u'\\');
  }
  if (fileName[0] == u'/' || fileName[0] == u'\\') return ResolveDots(u"/", fileName, u'/');
  return ResolveDots(u"/", GetCurrentDir() + u'/' + fileName, u'/');
}

THandle FileOpen(const String& fileName, Word mode) {
  int access;
  switch (mode & 3) {
    case fmOpenRead: access = O_RDONLY; break;
    case fmOpenWrite: access = O_WRONLY; break;
    case fmOpenReadWrite: access = O_RDWR; break;
    default: errno = EINVAL; return InvalidHandle;
  }
  if ((mode & 0xF0) > fmShareDenyNone || fileName.empty()) {
    errno = fileName.empty() ? ENOENT : EINVAL;
    return InvalidHandle;
  }
  int fd = ::open(NativeName(fileName).c_str(), access | O_CLOEXEC);
  if (fd < 0) return InvalidHandle;
  // A folder opens on POSIX but is no file to stream; refuse as Windows does.
  struct stat info;
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return InvalidHandle;
  }
  return fd;
}

THandle FileCreate(const String& fileName, Word /*mode*/) {
  if (fileName.empty()) {
    errno = ENOENT;
    return InvalidHandle;
  }
  int fd = ::open(NativeName(fileName).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return fd < 0 ? InvalidHandle : fd;
}

Int64 FileRead(THandle handle, void* buffer, Int64 count) {
  if (count <= 0) return 0;
  Int64 total = 0;
  auto* out = static_cast<char*>(buffer);
  while (total < count) {
    ssize_t n = ::read(ToDescriptor(handle), out + total, static_cast<size_t>(std::min(count - total, kMaxChunk)));
    if (n < 0) {
      if (errno == EINTR) continue;
      return total > 0 ? total : -1;
    }
    if (n == 0) break;
    total += n;
  }
  return total;
}

Int64 FileWrite(THandle handle, const void* buffer, Int64 count) {
  if (count <= 0) return 0;
  Int64 total = 0;
  const auto* in = static_cast<const char*>(buffer);
  while (total < count) {
    ssize_t n = ::write(ToDescriptor(handle), in + total, static_cast<size_t>(std::min(count - total, kMaxChunk)));
    if (n < 0) {
      if (errno == EINTR) continue;
      return total > 0 ? total : -1;
    }
    if (n == 0) break;
    total += n;
  }
  return total;
}

Int64 FileSeek(THandle handle, Int64 offset, int origin) {
  int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
  if (whence < 0) {
    errno = EINVAL;
    return -1;
  }
  off_t result = ::lseek(ToDescriptor(handle), static_cast<off_t>(offset), whence);
  return result < 0 ? -1 : static_cast<Int64>(result);
}

bool FileSetSize(THandle handle, Int64 size) {
  return size >= 0 && ::ftruncate(ToDescriptor(handle), static_cast<off_t>(size)) == 0;
}

bool FileFlush(THandle handle) {
  return ::fsync(ToDescriptor(handle)) == 0;
}

void FileClose(THandle handle) {
  if (handle != InvalidHandle) ::close(ToDescriptor(handle));
}

int GetLastOSError() {
  return errno;
}

String SysErrorMessage(int errorCode) {
  char buffer[256];
  // The GNU variant may return a static text instead of filling the buffer.
  const char* text = ::strerror_r(errorCode, buffer, sizeof buffer);
  String message = UTF8ToString(text ? text : "");
  while (!message.empty() && (message.back() <= u' ' || message.back() == u'.')) message.pop_back();
  return message;
}

namespace files_platform {

THandle CreateNewFile(const String& fileName) {
  int fd = ::open(NativeName(fileName).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  return fd < 0 ? InvalidHandle : fd;
}

int AccessDeniedError() {
  return EACCES;
}

bool ReplaceWith(const String& source, const String& target) {
  std::string to = NativeName(target);
  // Keep the permissions of the file being replaced.
  struct stat info;
  if (::stat(to.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      errno = EISDIR;
      return false;
    }
    ::chmod(NativeName(source).c_str(), info.st_mode & 07777);
  }
  return ::rename(NativeName(source).c_str(), to.c_str()) == 0;
}

void PreferLargePages(void* block, size_t size) noexcept {
#ifdef MADV_HUGEPAGE
  // Only the part made of whole large pages can use them.
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  if (size < 2 * kLargePage) return;
  auto start = reinterpret_cast<std::uintptr_t>(block);
  std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
  std::uintptr_t last = (start + size) & ~(kLargePage - 1);
  // Only a hint: where the system declines, the block works as it is.
  if (last > first) (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)block;
  (void)size;
#endif
}

}  // namespace files_platform
