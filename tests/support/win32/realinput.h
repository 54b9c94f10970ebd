// Real input: keys and mouse actions put into the system's input queue with
// SendInput, so that they reach the window a user's would (the focused
// window, the window under the cursor, a window that captured the mouse) and
// pass through the message loop, the keyboard state and capture as a user's
// do. The window a test types into must be the foreground window.
#pragma once

#include <windows.h>

#include "support/win32/harness.h"

namespace harness {

// Makes the window's top-level window the foreground window, for keys.
void BringToFront(HWND window);
// Presses and releases a key with the modifiers held meanwhile.
void InputKey(UINT virtualKey, Modifiers modifiers = {});
// Moves the cursor onto a point of the window's client area.
void InputMouseMove(HWND window, int x, int y);
void InputMouseDown(HWND window, int x, int y, MouseButton button = MouseButton::Left);
void InputMouseUp(HWND window, int x, int y, MouseButton button = MouseButton::Left);
void InputClick(HWND window, int x, int y, MouseButton button = MouseButton::Left);
// Presses at one point, moves in steps to the other and releases there.
void InputDrag(HWND window, int fromX, int fromY, int toX, int toY, int steps = 8);
// Turns the wheel by the given notches (positive away from the user) over a point.
void InputWheel(HWND window, int x, int y, int notches, Modifiers modifiers = {});
// Runs the messages the input caused until the queue is quiet.
void SettleInput();
// One mouse action at a point of the screen (button flags such as
// MOUSEEVENTF_LEFTDOWN, or none to move only), without waiting for what it
// causes: usable from another thread while a modal loop owns the window's.
void InputMouseAtScreen(POINT screen, DWORD buttonFlags = 0);

}  // namespace harness
