// Pictures of what a test built, for a person to look at.
#pragma once

#include "support/win32/harness.h"

// Saves a picture when KESTRUM_SCREENSHOTS names a folder.
void SaveForInspection(const harness::Bitmap32& picture, const wchar_t* name);
// What the screen shows inside the window's rectangle.
harness::Bitmap32 CaptureScreen(HWND window);
