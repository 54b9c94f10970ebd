#include "support/win32/harness.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

namespace harness {

namespace {

const wchar_t* HostClassName() {
  static const wchar_t* name = RegisterTestClass(L"KestrumTestHost", DefWindowProcW);
  return name;
}

LPARAM PointParam(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

WPARAM MouseKeyFlags(Modifiers modifiers, UINT buttonFlag) {
  WPARAM flags = buttonFlag;
  if (modifiers.ctrl) flags |= MK_CONTROL;
  if (modifiers.shift) flags |= MK_SHIFT;
  return flags;
}

}  // namespace

const wchar_t* RegisterTestClass(const wchar_t* name, WNDPROC proc) {
  static std::map<std::wstring, std::wstring> registered;
  auto it = registered.find(name);
  if (it != registered.end()) return it->second.c_str();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error("RegisterClassExW failed");
  return registered.emplace(name, name).first->second.c_str();
}

HostWindow::HostWindow(int clientWidth, int clientHeight, const wchar_t* caption) {
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
  FHandle = CreateWindowExW(0, HostClassName(), caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!FHandle) throw std::runtime_error("cannot create the host window");
  ShowWindow(FHandle, SW_SHOWNORMAL);
  UpdateWindow(FHandle);
  PumpMessages();
}

HostWindow::~HostWindow() {
  if (FHandle) DestroyWindow(FHandle);
  PumpMessages();
}

HWND HostWindow::CreateChild(const wchar_t* className, DWORD style, int x, int y, int width, int height,
                             const wchar_t* text, DWORD exStyle) const {
  HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, FHandle,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  PumpMessages();
  return child;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SetModifiers(Modifiers modifiers) {
  BYTE state[256]{};
  auto set = [&](int vk, bool down) { state[vk] = down ? 0x80 : 0; };
  set(VK_CONTROL, modifiers.ctrl);
  set(VK_LCONTROL, modifiers.ctrl);
  set(VK_SHIFT, modifiers.shift);
  set(VK_LSHIFT, modifiers.shift);
  set(VK_MENU, modifiers.alt);
  set(VK_LMENU, modifiers.alt);
  SetKeyboardState(state);
}

void SendKey(HWND window, UINT virtualKey, Modifiers modifiers, wchar_t character) {
  SetModifiers(modifiers);
  UINT scan = MapVirtualKeyW(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
  LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  LPARAM up = down | (1u << 30) | (1u << 31);
  UINT downMessage = modifiers.alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  UINT upMessage = modifiers.alt ? WM_SYSKEYUP : WM_KEYUP;
  if (modifiers.alt) {
    down |= 1 << 29;
    up |= 1 << 29;
  }
  SendMessageW(window, downMessage, virtualKey, down);
  if (character) SendMessageW(window, modifiers.alt ? WM_SYSCHAR : WM_CHAR, character, down);
  SendMessageW(window, upMessage, virtualKey, up);
  SetModifiers({});
}

void SendChar(HWND window, wchar_t character) {
  SendMessageW(window, WM_CHAR, character, 1);
}

void SendMouseDown(HWND window, int x, int y, MouseButton button, Modifiers modifiers) {
  SetModifiers(modifiers);
  switch (button) {
    case MouseButton::Left:
      SendMessageW(window, WM_LBUTTONDOWN, MouseKeyFlags(modifiers, MK_LBUTTON), PointParam(x, y));
      break;
    case MouseButton::Right:
      SendMessageW(window, WM_RBUTTONDOWN, MouseKeyFlags(modifiers, MK_RBUTTON), PointParam(x, y));
      break;
    case MouseButton::Middle:
      SendMessageW(window, WM_MBUTTONDOWN, MouseKeyFlags(modifiers, MK_MBUTTON), PointParam(x, y));
      break;
  }
}

void SendMouseUp(HWND window, int x, int y, MouseButton button, Modifiers modifiers) {
  switch (button) {
    case MouseButton::Left: SendMessageW(window, WM_LBUTTONUP, MouseKeyFlags(modifiers, 0), PointParam(x, y)); break;
    case MouseButton::Right: SendMessageW(window, WM_RBUTTONUP, MouseKeyFlags(modifiers, 0), PointParam(x, y)); break;
    case MouseButton::Middle: SendMessageW(window, WM_MBUTTONUP, MouseKeyFlags(modifiers, 0), PointParam(x, y)); break;
  }
  SetModifiers({});
}

void SendMouseMove(HWND window, int x, int y, Modifiers modifiers) {
  SetModifiers(modifiers);
  SendMessageW(window, WM_MOUSEMOVE, MouseKeyFlags(modifiers, 0), PointParam(x, y));
  SetModifiers({});
}

void SendClick(HWND window, int x, int y, MouseButton button, Modifiers modifiers) {
  SendMouseDown(window, x, y, button, modifiers);
  SendMouseUp(window, x, y, button, modifiers);
}

void SendDoubleClick(HWND window, int x, int y, Modifiers modifiers) {
  SendClick(window, x, y, MouseButton::Left, modifiers);
  SetModifiers(modifiers);
  SendMessageW(window, WM_LBUTTONDBLCLK, MouseKeyFlags(modifiers, MK_LBUTTON), PointParam(x, y));
  SendMouseUp(window, x, y, MouseButton::Left, modifiers);
}

Bitmap32::Bitmap32(int width, int height, std::vector<std::uint32_t> pixels)
    : FWidth(width), FHeight(height), FPixels(std::move(pixels)) {}

std::uint32_t Bitmap32::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) throw std::out_of_range("pixel outside the bitmap");
  return FPixels[static_cast<size_t>(y) * FWidth + x] & 0x00FFFFFF;
}

COLORREF Bitmap32::PixelColor(int x, int y) const {
  std::uint32_t p = Pixel(x, y);
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool Bitmap32::SaveBmp(const std::wstring& path) const {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = FWidth;
  info.biHeight = -FHeight;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  DWORD imageSize = static_cast<DWORD>(FPixels.size() * 4);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + imageSize;
  // GDI leaves the fourth byte zero; viewers that honour it would show a
  // blank picture, so the file says every pixel is opaque.
  std::vector<std::uint32_t> opaque(FPixels);
  for (std::uint32_t& p : opaque) p |= 0xFF000000u;
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  bool ok = fwrite(&file, sizeof file, 1, f) == 1 && fwrite(&info, sizeof info, 1, f) == 1 &&
            (imageSize == 0 || fwrite(opaque.data(), imageSize, 1, f) == 1);
  return fclose(f) == 0 && ok;
}

Bitmap32 PaintInto(int width, int height, const std::function<void(HDC)>& paint) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!dc || !bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    throw std::runtime_error("cannot create a memory bitmap");
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  paint(dc);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(p, p + static_cast<size_t>(width) * height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return Bitmap32(width, height, std::move(pixels));
}

Bitmap32 PaintClient(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return PaintInto(r.right - r.left, r.bottom - r.top, [&](HDC dc) {
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  });
}

Bitmap32 CaptureScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  return PaintInto(w, h, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

void SaveForInspection(const Bitmap32& picture, const wchar_t* name) {
  const wchar_t* folder = _wgetenv(L"KESTRUM_SCREENSHOTS");
  if (folder == nullptr || *folder == 0) return;
  picture.SaveBmp(std::wstring(folder) + L"\\" + name);
}

}  // namespace harness
