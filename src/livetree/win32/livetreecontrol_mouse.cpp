// The window side of the mouse modes: capture and cursor position for the
// selection rectangle and auto-scrolling, the panning window with its
// direction cursors, and the tree's hint window that can fade or slide in.
#include "ui/winapi.h"

#include <algorithm>
#include <array>

#include "livetree/win32/livetreecontrol.h"
#include "ui/forms.h"

namespace ltcontrol {

namespace {

constexpr COLORREF PanningTransparent = RGB(255, 0, 255);
constexpr int PanningSize = 32;
constexpr wchar_t PanningClassName[] = L"LTPanningWindow";

// The arrows a panning picture shows.
struct TPanningArrows {
  bool North = false, South = false, East = false, West = false;
};

TPanningArrows ArrowsOf(TLTPanningImage image) {
  switch (image) {
    case piMoveAll: return {true, true, true, true};
    case piMoveEW: return {false, false, true, true};
    case piMoveNS: return {true, true, false, false};
    case piMoveN: return {true, false, false, false};
    case piMoveS: return {false, true, false, false};
    case piMoveE: return {false, false, true, false};
    case piMoveW: return {false, false, false, true};
    case piMoveNE: return {true, false, true, false};
    case piMoveNW: return {true, false, false, true};
    case piMoveSE: return {false, true, true, false};
    case piMoveSW: return {false, true, false, true};
  }
  return {};
}

// Paints a panning picture onto the transparent colour: a disc with a dot
// in the middle for the window, arrows alone for the cursors.
void PaintPanningPicture(HDC dc, TLTPanningImage image, bool disc) {
  RECT all{0, 0, PanningSize, PanningSize};
  HBRUSH transparent = CreateSolidBrush(PanningTransparent);
  FillRect(dc, &all, transparent);
  DeleteObject(transparent);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  if (disc) Ellipse(dc, 0, 0, PanningSize, PanningSize);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Ellipse(dc, 13, 13, 19, 19);
  const TPanningArrows arrows = ArrowsOf(image);
  auto arrow = [&](std::array<POINT, 3> points) { Polygon(dc, points.data(), 3); };
  if (arrows.North) arrow({POINT{16, 2}, POINT{10, 9}, POINT{22, 9}});
  if (arrows.South) arrow({POINT{16, 29}, POINT{10, 22}, POINT{22, 22}});
  if (arrows.West) arrow({POINT{2, 16}, POINT{9, 10}, POINT{9, 22}});
  if (arrows.East) arrow({POINT{29, 16}, POINT{22, 10}, POINT{22, 22}});
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

// A picture as a bitmap of the screen's format.
HBITMAP MakePanningBitmap(TLTPanningImage image, bool disc) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, PanningSize, PanningSize);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  PaintPanningPicture(memory, image, disc);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// The region of a picture's pixels that are not the transparent colour, one
// run of each pixel row at a time.
HRGN PanningRegion(HBITMAP bitmap) {
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (int y = 0; y < PanningSize; ++y) {
    int x = 0;
    while (x < PanningSize) {
      while (x < PanningSize && GetPixel(memory, x, y) == PanningTransparent) ++x;
      int start = x;
      while (x < PanningSize && GetPixel(memory, x, y) != PanningTransparent) ++x;
      if (x > start) {
        HRGN run = CreateRectRgn(start, y, x, y + 1);
        CombineRgn(region, region, run, RGN_OR);
        DeleteObject(run);
      }
    }
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  return region;
}

// A cursor of the arrows, its hot spot in the middle.
HCURSOR MakePanningCursor(TLTPanningImage image) {
  HBITMAP colour = MakePanningBitmap(image, false);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, colour);
  // Monochrome rows are word aligned: 32 pixels are 4 bytes.
  std::array<BYTE, PanningSize * PanningSize / 8> maskBits{};
  for (int y = 0; y < PanningSize; ++y)
    for (int x = 0; x < PanningSize; ++x)
      if (GetPixel(memory, x, y) == PanningTransparent) {
        maskBits[static_cast<size_t>(y * PanningSize / 8 + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
        // Where the screen shows through, the colour must not change it.
        SetPixel(memory, x, y, RGB(0, 0, 0));
      }
  SelectObject(memory, old);
  DeleteDC(memory);
  HBITMAP mask = CreateBitmap(PanningSize, PanningSize, 1, 1, maskBits.data());
  ICONINFO info{FALSE, PanningSize / 2, PanningSize / 2, mask, colour};
  HCURSOR cursor = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return cursor;
}

LRESULT CALLBACK PanningWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (bitmap != nullptr) {
      HDC memory = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(memory, bitmap);
      BitBlt(dc, 0, 0, PanningSize, PanningSize, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteDC(memory);
    }
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TPoint TBaseLiveTree::CursorPos() const {
  POINT p{};
  if (!TWinControl::HandleAllocated() || !GetCursorPos(&p)) return {};
  ::ScreenToClient(const_cast<TBaseLiveTree*>(this)->Handle(), &p);
  return Point(p.x, p.y);
}

Integer TBaseLiveTree::DragThreshold() const {
  return GetSystemMetrics(SM_CXDRAG);
}

Integer TBaseLiveTree::HorizontalIncrement() const {
  return FScrollBarOptions->HorizontalIncrement();
}

Integer TBaseLiveTree::VerticalIncrement() const {
  return FScrollBarOptions->VerticalIncrement();
}

void TBaseLiveTree::InvalidateArea(const TRect& r) {
  if (!TWinControl::HandleAllocated()) return;
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  ::InvalidateRect(Handle(), &rc, FALSE);
}

void TBaseLiveTree::PaintNow() {
  if (TWinControl::HandleAllocated()) ::UpdateWindow(Handle());
}

void TBaseLiveTree::CaptureMouse(bool capture) {
  if (!TWinControl::HandleAllocated()) return;
  if (capture)
    SetCapture(Handle());
  else if (GetCapture() == Handle())
    ReleaseCapture();
}

void TBaseLiveTree::ShowPanningWindow(TPoint p, TLTPanningImage image) {
  HidePanningWindow();
  if (!TWinControl::HandleAllocated()) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW known{};
  if (!GetClassInfoW(instance, PanningClassName, &known)) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = PanningClassName;
    RegisterClassW(&windowClass);
  }
  POINT screen{p.X - PanningSize / 2, p.Y - PanningSize / 2};
  ::ClientToScreen(Handle(), &screen);
  FPanningWindow = CreateWindowExW(WS_EX_TOOLWINDOW, PanningClassName, nullptr, WS_POPUP, screen.x, screen.y,
                                   PanningSize, PanningSize, Handle(), nullptr, instance, nullptr);
  if (FPanningWindow == nullptr) return;
  FPanningImage = MakePanningBitmap(image, true);
  SetWindowLongPtrW(FPanningWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(FPanningImage));
  SetWindowLongPtrW(FPanningWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PanningWindowProc));
  // The window owns the region from here.
  SetWindowRgn(FPanningWindow, PanningRegion(FPanningImage), FALSE);
  ShowWindow(FPanningWindow, SW_SHOWNOACTIVATE);
  ::UpdateWindow(FPanningWindow);
}

void TBaseLiveTree::HidePanningWindow() {
  if (FPanningWindow != nullptr) DestroyWindow(FPanningWindow);
  FPanningWindow = nullptr;
  if (FPanningImage != nullptr) DeleteObject(FPanningImage);
  FPanningImage = nullptr;
  bool hadCursor = false;
  for (HCURSOR& cursor : FPanningCursors) {
    if (cursor != nullptr) {
      hadCursor = true;
      DestroyCursor(cursor);
    }
    cursor = nullptr;
  }
  // The tree's own cursor comes back.
  if (hadCursor && TWinControl::HandleAllocated())
    SendMessageW(Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TBaseLiveTree::SetPanningCursor(TLTPanningImage image) {
  HCURSOR& cursor = FPanningCursors[static_cast<size_t>(image)];
  if (cursor == nullptr) cursor = MakePanningCursor(image);
  FPanningCursorImage = image;
  ::SetCursor(cursor);
}

THintAnimationType TBaseLiveTree::SystemHintAnimation() const {
  BOOL animation = FALSE, fade = FALSE;
  if (!SystemParametersInfoW(SPI_GETTOOLTIPANIMATION, 0, &animation, 0) || !animation) return hatNone;
  SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0);
  return fade ? hatFade : hatSlide;
}

// ---------------------------------------------------------------------------
// The hint window

void TLiveTreeHintWindow::Describe(TClassBuilder<TLiveTreeHintWindow>&) {}

const void* TLiveTreeHintWindow::ClassId() {
  static const char id = 0;
  return &id;
}

void TLiveTreeHintWindow::ActivateHintData(TRect rect, const String& hint, void* data) {
  auto* tree = static_cast<TBaseLiveTree*>(data);
  THintAnimationType animation = tree != nullptr ? tree->Model().EffectiveHintAnimation() : hatNone;
  // A hint already on screen only changes its text and place.
  if (animation == hatNone || (HandleAllocated() && IsWindowVisible(Handle()))) {
    FShownWith = hatNone;
    THintWindow::ActivateHint(rect, hint);
    return;
  }
  SetCaption(hint);
  rect.Bottom += 4;
  TRect work = Screen != nullptr ? Screen->WorkAreaRect() : rect;
  if (rect.Bottom > work.Bottom) rect.Offset(0, work.Bottom - rect.Bottom);
  if (rect.Right > work.Right) rect.Offset(work.Right - rect.Right, 0);
  if (rect.Left < work.Left) rect.Offset(work.Left - rect.Left, 0);
  if (rect.Top < work.Top) rect.Offset(0, work.Top - rect.Top);
  SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
  HWND window = Handle();
  SetWindowPos(window, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(), SWP_NOACTIVATE);
  // Fading runs twice as long as sliding, as the animation duration says.
  DWORD duration = tree->Model().AnimationDuration() * (animation == hatFade ? 2 : 1);
  DWORD flags = animation == hatFade ? AW_BLEND : AW_SLIDE | AW_VER_POSITIVE;
  if (AnimateWindow(window, duration, flags) && IsWindowVisible(window)) {
    FShownWith = animation;
  } else {
    // Without the system's animation the hint simply appears.
    FShownWith = hatNone;
    ShowWindow(window, SW_SHOWNOACTIVATE);
  }
  Invalidate();
}

}  // namespace ltcontrol
