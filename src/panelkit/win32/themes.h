// The visual-styles binding, made at run time so that a system without the
// styles library draws the classic look; the scheme component that switches
// the process-wide colour scheme and repaints the controls that follow it.
#pragma once

#include "ui/winapi.h"

#include <uxtheme.h>

#include "classes/component.h"
#include "panelkit/colorschemes.h"

class TControl;

const TTypeInfo& DescribeType(TypeTag<TColorScheme>);
// TColorSchemes: the schemes without csDefault, the scheme component's property type.
const TEnumTypeInfo& ColorSchemesType();

// The styles library's entry points as bound by name; null where the
// library or the entry point is missing.
struct TThemeEntryPoints {
  HMODULE Module = nullptr;
  HRESULT(WINAPI* CloseThemeData)(HTHEME) = nullptr;
  HRESULT(WINAPI* DrawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
  HRESULT(WINAPI* DrawThemeEdge)(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*) = nullptr;
  int(WINAPI* GetThemeSysSize)(HTHEME, int) = nullptr;
  BOOL(WINAPI* IsThemeActive)() = nullptr;
  BOOL(WINAPI* IsAppThemed)() = nullptr;
  HTHEME(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
};

// Binds the library the first time it is asked (loading "uxtheme.dll" by
// name); never unloads it.
const TThemeEntryPoints& ThemeEntryPoints();
// True when the library is there and both the application and the system
// have visual styles on; false (never an error) when anything is missing.
bool IsThemed();
// The edit controls paint nothing of a button face when this is true; it never is.
inline bool IsPaintSuppressed() {
  return false;
}
// Draws one element of a styles class, part and state, clipped to the rectangle.
void DrawThemeElement(HWND window, HDC dc, const TRect& rect, const String& className, int part, int state);

// Controls that follow the schemes join this list when made and leave it
// when freed; the scheme component repaints them.
void AddToRepaintList(TControl* control);
void RemoveFromRepaintList(TControl* control);
// The list in the order the controls joined (for tests).
const std::vector<TControl*>& RepaintList();

class TPxColorScheme : public TComponent {
  KST_CLASS(TPxColorScheme, TComponent)
 public:
  explicit TPxColorScheme(TComponent* owner);
  TColorSchemes ColorScheme() const { return FColorScheme; }
  // Makes the scheme current (OnChange only on a real change) and repaints
  // every control of the repaint list either way.
  void SetColorScheme(TColorSchemes value);
  TNotifyEvent OnChange;

 private:
  TColorSchemes FColorScheme = csBlue;
};
