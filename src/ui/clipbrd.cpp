#include "ui/clipbrd.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "rtl/format.h"
#include "ui/controls.h"

KST_CLASS_IMPL(TClipboard, "Clipbrd")

void TClipboard::Describe(TClassBuilder<TClipboard>&) {}

UINT RegisterClipboardFormat(const String& name) {
  UINT format = name.empty() ? 0 : RegisterClipboardFormatW(WStr(name));
  if (format == 0) throw EClipboardException(Format(u"Cannot register clipboard format '%s'", {name}));
  return format;
}

TClipboard::~TClipboard() {
  if (FOpenRefCount > 0) CloseClipboard();
  DeallocateHWnd(FWindow);
}

void TClipboard::Open() {
  if (FOpenRefCount == 0) {
    // The clipboard belongs to a window of ours while a session puts things
    // on it: the system refuses data from a session without an owner.
    if (!FWindow)
      FWindow = AllocateHWnd(
          TWndMethod([this](TMessage& m) { m.Result = DefWindowProcW(FWindow, m.Msg, m.WParam, m.LParam); }));
    // Another program may hold the clipboard for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 10 && !(opened = OpenClipboard(FWindow)); ++attempt) Sleep(10);
    if (!opened) throw EClipboardException(u"Cannot open clipboard");
    FEmptied = false;
  }
  ++FOpenRefCount;
}

void TClipboard::Close() {
  if (FOpenRefCount == 0) return;
  if (--FOpenRefCount == 0) CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  FEmptied = true;
  Close();
}

void TClipboard::Adding() {
  if (FOpenRefCount != 0 && !FEmptied) {
    EmptyClipboard();
    FEmptied = true;
  }
}

bool TClipboard::HasFormat(UINT format) const {
  return format != 0 && IsClipboardFormatAvailable(format);
}

void TClipboard::SetAsHandle(UINT format, HANDLE value) {
  Open();
  try {
    Adding();
    if (!SetClipboardData(format, value))
      throw EClipboardException(Format(u"Cannot put format %d on the clipboard", {static_cast<Integer>(format)}));
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

HANDLE TClipboard::GetAsHandle(UINT format) {
  Open();
  HANDLE result = GetClipboardData(format);
  Close();
  return result;
}

void TClipboard::SetBuffer(UINT format, const void* buffer, size_t size) {
  if (size > 0 && !buffer) throw EClipboardException(u"No data to put on the clipboard");
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size > 0 ? size : 1);
  if (!block) throw EOutOfMemory(u"Out of memory");
  void* data = GlobalLock(block);
  if (!data) {
    GlobalFree(block);
    throw EOutOfMemory(u"Out of memory");
  }
  if (size > 0) std::memcpy(data, buffer, size);
  GlobalUnlock(block);
  try {
    SetAsHandle(format, block);
  } catch (...) {
    // Not taken: still ours.
    GlobalFree(block);
    throw;
  }
}

std::vector<Byte> TClipboard::GetBuffer(UINT format) {
  std::vector<Byte> bytes;
  Open();
  if (HANDLE block = GetClipboardData(format)) {
    size_t size = GlobalSize(block);
    if (const void* data = size ? GlobalLock(block) : nullptr) {
      bytes.assign(static_cast<const Byte*>(data), static_cast<const Byte*>(data) + size);
      GlobalUnlock(block);
    }
  }
  Close();
  return bytes;
}

String TClipboard::AsText() {
  std::vector<Byte> bytes = GetBuffer(CF_UNICODETEXT);
  // The text ends at its null, or with the block when another program left it out.
  String text(bytes.size() / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * 2);
  size_t end = text.find(u'\0');
  if (end != String::npos) text.resize(end);
  return text;
}

void TClipboard::SetAsText(const String& text) {
  SetBuffer(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t));
}

void TClipboard::SetTextBuf(const Char* buffer) {
  SetAsText(buffer ? String(buffer) : String());
}

Integer TClipboard::GetTextBuf(Char* buffer, Integer bufSize) {
  if (!buffer || bufSize <= 0) return 0;
  const String text = AsText();
  const auto count = static_cast<Integer>(std::min<size_t>(text.size(), static_cast<size_t>(bufSize - 1)));
  std::memcpy(buffer, text.data(), static_cast<size_t>(count) * sizeof(Char));
  buffer[count] = u'\0';
  return count;
}

namespace {
// Every format the open clipboard holds, in the system's order.
std::vector<UINT> ClipboardFormatList() {
  std::vector<UINT> formats;
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
    formats.push_back(format);
  return formats;
}
}  // namespace

Integer TClipboard::FormatCount() {
  Open();
  const auto count = static_cast<Integer>(ClipboardFormatList().size());
  Close();
  return count;
}

UINT TClipboard::Formats(Integer index) {
  Open();
  const std::vector<UINT> formats = ClipboardFormatList();
  Close();
  if (index < 0 || static_cast<size_t>(index) >= formats.size())
    throw EListError(Format(u"List index out of bounds (%d)", {index}));
  return formats[static_cast<size_t>(index)];
}

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}
