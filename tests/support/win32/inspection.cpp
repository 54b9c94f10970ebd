#include "support/win32/inspection.h"

#include <cstdlib>

void SaveForInspection(const harness::Bitmap32& picture, const wchar_t* name) {
  const wchar_t* folder = _wgetenv(L"KESTRUM_SCREENSHOTS");
  if (!folder || !*folder) return;
  picture.SaveBmp(std::wstring(folder) + L"\\" + name);
}

harness::Bitmap32 CaptureScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  return harness::PaintInto(w, h, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}
