// The system clipboard: text, and formats of the program's own registered by
// name, put and taken as memory blocks or as bytes.
#pragma once

#include "ui/winapi.h"

#include <vector>

#include "classes/persistent.h"
#include "classes/reflection.h"
#include "rtl/exceptions.h"

KST_DECLARE_EXCEPTION(EClipboardException, Exception);

// The number of a format registered by name (the same number for every
// program that registers that name).
UINT RegisterClipboardFormat(const String& name);

class TClipboard : public TPersistent {
  KST_CLASS(TClipboard, TPersistent)
 public:
  TClipboard() = default;
  ~TClipboard() override;
  TClipboard(const TClipboard&) = delete;
  TClipboard& operator=(const TClipboard&) = delete;

  // A session: everything between the outermost Open and its Close is one
  // opening of the system clipboard, and the first thing put in a session
  // replaces what the clipboard held. Open raises EClipboardException
  // "Cannot open clipboard" when another program keeps it.
  void Open();
  void Close();
  void Clear();

  bool HasFormat(UINT format) const;
  // Text as CF_UNICODETEXT (the system converts it to the other text formats).
  String AsText();
  void SetAsText(const String& text);
  // The text up to its first null, as a null-ended buffer.
  void SetTextBuf(const Char* buffer);
  // Copies at most bufSize - 1 code units of the text and a null; returns
  // how many it copied (0, and nothing written, for no buffer).
  Integer GetTextBuf(Char* buffer, Integer bufSize);
  // The formats the clipboard holds, in the order the system lists them.
  Integer FormatCount();
  UINT Formats(Integer index);
  // A memory block (GlobalAlloc) that the clipboard then owns.
  void SetAsHandle(UINT format, HANDLE value);
  // The clipboard's block of that format, which stays the clipboard's.
  HANDLE GetAsHandle(UINT format);
  // Bytes in a memory block of their own.
  void SetBuffer(UINT format, const void* buffer, size_t size);
  // The bytes of the format's block (empty when there is none). The system
  // may round a block's size up, so a format whose length matters carries it.
  std::vector<Byte> GetBuffer(UINT format);

 private:
  // The first put of a session empties the clipboard.
  void Adding();
  HWND FWindow = nullptr;
  int FOpenRefCount = 0;
  bool FEmptied = false;
};

// The application's clipboard.
TClipboard& Clipboard();
