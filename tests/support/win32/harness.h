// Win32 test harness: a host window for controls under test, synthetic mouse
// and key input with modifier state, and painting a window into a 32-bit
// memory bitmap whose pixels a test can read or save for a person to look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace harness {

// A visible top-level window with the given client size; controls under test
// are created as its children. Destroyed with the object.
class HostWindow {
 public:
  explicit HostWindow(int clientWidth = 400, int clientHeight = 300, const wchar_t* caption = L"Test host");
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND Handle() const { return FHandle; }
  // Creates a child window of a registered class inside the host.
  HWND CreateChild(const wchar_t* className, DWORD style, int x, int y, int width, int height,
                   const wchar_t* text = L"", DWORD exStyle = 0) const;

 private:
  HWND FHandle = nullptr;
};

// Registers a window class once per process and returns its name.
const wchar_t* RegisterTestClass(const wchar_t* name, WNDPROC proc);

// Runs every message waiting for this thread.
void PumpMessages();

struct Modifiers {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
};

// Sets the thread's keyboard state so that GetKeyState sees these modifiers
// (and no mouse buttons) until the next call.
void SetModifiers(Modifiers modifiers);

// Sends the key-down (and WM_CHAR for printable keys when `character` is set),
// then key-up, with the modifiers held meanwhile and released afterwards.
void SendKey(HWND window, UINT virtualKey, Modifiers modifiers = {}, wchar_t character = 0);
void SendChar(HWND window, wchar_t character);

enum class MouseButton { Left, Right, Middle };
void SendMouseDown(HWND window, int x, int y, MouseButton button = MouseButton::Left, Modifiers modifiers = {});
void SendMouseUp(HWND window, int x, int y, MouseButton button = MouseButton::Left, Modifiers modifiers = {});
void SendMouseMove(HWND window, int x, int y, Modifiers modifiers = {});
void SendClick(HWND window, int x, int y, MouseButton button = MouseButton::Left, Modifiers modifiers = {});
void SendDoubleClick(HWND window, int x, int y, Modifiers modifiers = {});

// A top-down 32-bit picture, pixels as 0x00RRGGBB.
class Bitmap32 {
 public:
  Bitmap32() = default;
  Bitmap32(int width, int height, std::vector<std::uint32_t> pixels);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  std::uint32_t Pixel(int x, int y) const;
  // The same colour as a COLORREF (0x00BBGGRR), to compare with RGB().
  COLORREF PixelColor(int x, int y) const;
  // Writes a BMP file; returns false when it cannot.
  bool SaveBmp(const std::wstring& path) const;

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint32_t> FPixels;
};

// Paints the client area of a window into a memory bitmap through
// WM_PRINTCLIENT (what a control paints on request into a given DC).
Bitmap32 PaintClient(HWND window);
// Paints by calling `paint` with a memory DC of the given size, for controls
// that offer their own paint-to-DC entry.
Bitmap32 PaintInto(int width, int height, const std::function<void(HDC)>& paint);
// What the screen shows inside the window's rectangle.
Bitmap32 CaptureScreen(HWND window);
// Saves a picture for a person to look at when KESTRUM_SCREENSHOTS names a folder.
void SaveForInspection(const Bitmap32& picture, const wchar_t* name);

}  // namespace harness
