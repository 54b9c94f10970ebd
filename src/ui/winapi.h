// The one door to the Win32 headers for the window library. The headers map
// many names to their A/W variants with macros; several of those names are
// also names of ours (TCanvas::TextOut, TApplication::MessageBox, the
// streams' and string lists' GetObject, ...). Everything that includes
// <windows.h> includes this file instead, and calls the W functions by their
// full names.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

// clang-format off
#include <windows.h>
#include <objidl.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#include "rtl/geometry.h"

#undef CreateFont
#undef CreateWindow
#undef DeleteFile
#undef DrawText
#undef FindResource
#undef FindText
#undef FindWindow
#undef GetClassName
#undef GetCurrentTime
#undef GetMessage
#undef GetObject
#undef GetUserName
#undef LoadBitmap
#undef LoadCursor
#undef LoadIcon
#undef LoadImage
#undef LoadString
#undef RegisterClass
#undef RegisterClipboardFormat
#undef ReplaceText
#undef MessageBox
#undef TextOut
#undef Yield
#ifdef GetCurrentDir
#undef GetCurrentDir
#endif

// The window library's names for the records the headers call RECT and POINT.
inline RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}
inline TRect FromRECT(const RECT& r) {
  return TRect{static_cast<Integer>(r.left), static_cast<Integer>(r.top), static_cast<Integer>(r.right),
               static_cast<Integer>(r.bottom)};
}
inline POINT ToPOINT(const TPoint& p) {
  return POINT{p.X, p.Y};
}
inline TPoint FromPOINT(const POINT& p) {
  return TPoint{static_cast<Integer>(p.x), static_cast<Integer>(p.y)};
}

// Text as the API takes it: wchar_t and char16_t are the same UTF-16 units here.
inline const wchar_t* WStr(const String& s) {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline wchar_t* WBuf(String& s) {
  return reinterpret_cast<wchar_t*>(s.data());
}
inline String FromWStr(const wchar_t* s) {
  return s ? String(reinterpret_cast<const char16_t*>(s)) : String();
}
inline String FromWStr(const wchar_t* s, size_t length) {
  return String(reinterpret_cast<const char16_t*>(s), length);
}
