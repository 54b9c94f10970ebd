#include "support/win32/realinput.h"

#include <vector>

namespace harness {

namespace {

INPUT KeyInput(UINT virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  switch (virtualKey) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_HOME:
    case VK_END: case VK_INSERT: case VK_DELETE:
      input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
    default: break;
  }
  return input;
}

void Send(std::vector<INPUT>& inputs) {
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  SettleInput();
}

// The point in the absolute coordinates mouse input takes (0 to 65535 over the primary screen).
INPUT ScreenMouseInput(POINT p, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Rounded up, so that scaling back down lands on the pixel itself.
  input.mi.dx = static_cast<LONG>((LONGLONG{p.x} * 65536 + width - 1) / width);
  input.mi.dy = static_cast<LONG>((LONGLONG{p.y} * 65536 + height - 1) / height);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  return input;
}

INPUT MouseInput(HWND window, int x, int y, DWORD flags) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return ScreenMouseInput(p, flags);
}

DWORD DownFlag(MouseButton button) {
  switch (button) {
    case MouseButton::Left: return MOUSEEVENTF_LEFTDOWN;
    case MouseButton::Right: return MOUSEEVENTF_RIGHTDOWN;
    case MouseButton::Middle: return MOUSEEVENTF_MIDDLEDOWN;
  }
  return MOUSEEVENTF_LEFTDOWN;
}

DWORD UpFlag(MouseButton button) {
  switch (button) {
    case MouseButton::Left: return MOUSEEVENTF_LEFTUP;
    case MouseButton::Right: return MOUSEEVENTF_RIGHTUP;
    case MouseButton::Middle: return MOUSEEVENTF_MIDDLEUP;
  }
  return MOUSEEVENTF_LEFTUP;
}

void ModifierInputs(std::vector<INPUT>& inputs, Modifiers modifiers, bool up) {
  if (modifiers.ctrl) inputs.push_back(KeyInput(VK_CONTROL, up));
  if (modifiers.shift) inputs.push_back(KeyInput(VK_SHIFT, up));
  if (modifiers.alt) inputs.push_back(KeyInput(VK_MENU, up));
}

}  // namespace

void SettleInput() {
  // Injected input reaches the queue through the window system; a few rounds
  // let every message it causes (and those they post) run.
  for (int round = 0; round < 5; ++round) {
    PumpMessages();
    Sleep(5);
  }
  PumpMessages();
}

void InputMouseAtScreen(POINT screen, DWORD buttonFlags) {
  INPUT input = ScreenMouseInput(screen, buttonFlags);
  SendInput(1, &input, sizeof(INPUT));
}

void BringToFront(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  SetForegroundWindow(top);
  SetActiveWindow(top);
  SettleInput();
}

void InputKey(UINT virtualKey, Modifiers modifiers) {
  std::vector<INPUT> inputs;
  ModifierInputs(inputs, modifiers, false);
  inputs.push_back(KeyInput(virtualKey, false));
  inputs.push_back(KeyInput(virtualKey, true));
  ModifierInputs(inputs, modifiers, true);
  Send(inputs);
}

void InputMouseMove(HWND window, int x, int y) {
  std::vector<INPUT> inputs{MouseInput(window, x, y, 0)};
  Send(inputs);
}

void InputMouseDown(HWND window, int x, int y, MouseButton button) {
  std::vector<INPUT> inputs{MouseInput(window, x, y, 0), MouseInput(window, x, y, DownFlag(button))};
  Send(inputs);
}

void InputMouseUp(HWND window, int x, int y, MouseButton button) {
  std::vector<INPUT> inputs{MouseInput(window, x, y, 0), MouseInput(window, x, y, UpFlag(button))};
  Send(inputs);
}

void InputClick(HWND window, int x, int y, MouseButton button) {
  InputMouseDown(window, x, y, button);
  InputMouseUp(window, x, y, button);
}

void InputDrag(HWND window, int fromX, int fromY, int toX, int toY, int steps) {
  InputMouseDown(window, fromX, fromY);
  if (steps < 1) steps = 1;
  for (int i = 1; i <= steps; ++i)
    InputMouseMove(window, fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
  InputMouseUp(window, toX, toY);
}

void InputWheel(HWND window, int x, int y, int notches, Modifiers modifiers) {
  std::vector<INPUT> inputs;
  ModifierInputs(inputs, modifiers, false);
  inputs.push_back(MouseInput(window, x, y, 0));
  INPUT wheel = MouseInput(window, x, y, MOUSEEVENTF_WHEEL);
  wheel.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
  inputs.push_back(wheel);
  ModifierInputs(inputs, modifiers, true);
  Send(inputs);
}

}  // namespace harness
