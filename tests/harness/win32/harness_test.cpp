// The harness itself: a window paints a known colour into a memory bitmap, and
// a key message arrives with the Ctrl state that GetKeyState reports.
#include <gtest/gtest.h>

#include "support/win32/harness.h"

namespace {

constexpr COLORREF kPaintColor = RGB(0x12, 0x80, 0xE0);

void PaintSwatch(HWND window, HDC dc) {
  RECT r;
  GetClientRect(window, &r);
  HBRUSH brush = CreateSolidBrush(kPaintColor);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  // A white square in the top-left corner, so position is checked too.
  RECT corner{0, 0, 10, 10};
  FillRect(dc, &corner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

LRESULT CALLBACK SwatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      PaintSwatch(window, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintSwatch(window, reinterpret_cast<HDC>(wParam));
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

struct KeyRecord {
  UINT key = 0;
  bool ctrlHeld = false;
  bool shiftHeld = false;
  wchar_t character = 0;
};
KeyRecord lastKey;

LRESULT CALLBACK KeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) {
    lastKey.key = static_cast<UINT>(wParam);
    lastKey.ctrlHeld = GetKeyState(VK_CONTROL) < 0;
    lastKey.shiftHeld = GetKeyState(VK_SHIFT) < 0;
    return 0;
  }
  if (message == WM_CHAR) {
    lastKey.character = static_cast<wchar_t>(wParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(Harness, PaintsAWindowIntoAMemoryBitmap) {
  harness::HostWindow host(200, 120);
  HWND swatch = host.CreateChild(harness::RegisterTestClass(L"TestSwatch", SwatchProc), 0, 10, 10, 80, 50);
  ASSERT_NE(swatch, nullptr);
  harness::Bitmap32 picture = harness::PaintClient(swatch);
  ASSERT_EQ(picture.Width(), 80);
  ASSERT_EQ(picture.Height(), 50);
  EXPECT_EQ(picture.PixelColor(40, 25), kPaintColor);
  EXPECT_EQ(picture.PixelColor(79, 49), kPaintColor);
  EXPECT_EQ(picture.PixelColor(5, 5), RGB(255, 255, 255));
  EXPECT_EQ(picture.Pixel(40, 25), 0x001280E0u);
}

TEST(Harness, KeyArrivesWithCtrlHeld) {
  harness::HostWindow host;
  HWND target = host.CreateChild(harness::RegisterTestClass(L"TestKeys", KeyProc), 0, 0, 0, 50, 50);
  harness::SendKey(target, 'C', {.ctrl = true});
  EXPECT_EQ(lastKey.key, UINT('C'));
  EXPECT_TRUE(lastKey.ctrlHeld);
  EXPECT_FALSE(lastKey.shiftHeld);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "the modifier is released after the key";

  harness::SendKey(target, 'A', {.shift = true}, L'A');
  EXPECT_FALSE(lastKey.ctrlHeld);
  EXPECT_TRUE(lastKey.shiftHeld);
  EXPECT_EQ(lastKey.character, L'A');
}

}  // namespace
