#include "panelkit/win32/themes.h"

#include <algorithm>

#include "ui/controls.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxColorScheme, "PxThemesSupport")

const TTypeInfo& DescribeType(TypeTag<TColorScheme>) {
  static const TEnumTypeInfo t(
      u"TColorScheme", u"PxThemesSupport",
      {u"csDefault", u"csBlack", u"csBlue", u"csSilver", u"csBlue2010", u"csSilver2010", u"csBlack2010"});
  return t;
}

const TEnumTypeInfo& ColorSchemesType() {
  static const TEnumTypeInfo t(u"TColorSchemes", u"PxThemesSupport",
                               static_cast<const TEnumTypeInfo&>(DescribeType(TypeTag<TColorScheme>{})), csBlack,
                               csBlack2010);
  return t;
}

namespace {

template <class F>
void Bind(HMODULE module, const char* name, F& target) {
  target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

TThemeEntryPoints LoadThemeLibrary() {
  TThemeEntryPoints e;
  e.Module = LoadLibraryW(L"uxtheme.dll");
  if (!e.Module) return e;
  Bind(e.Module, "CloseThemeData", e.CloseThemeData);
  Bind(e.Module, "DrawThemeBackground", e.DrawThemeBackground);
  Bind(e.Module, "DrawThemeEdge", e.DrawThemeEdge);
  Bind(e.Module, "GetThemeSysSize", e.GetThemeSysSize);
  Bind(e.Module, "IsThemeActive", e.IsThemeActive);
  Bind(e.Module, "IsAppThemed", e.IsAppThemed);
  Bind(e.Module, "OpenThemeData", e.OpenThemeData);
  return e;
}

// The controls that follow the schemes, in the order they joined. Lives as
// long as the process: controls may leave it from static destructors.
std::vector<TControl*>& Members() {
  static std::vector<TControl*> members;
  return members;
}

}  // namespace

const TThemeEntryPoints& ThemeEntryPoints() {
  static const TThemeEntryPoints entryPoints = LoadThemeLibrary();
  return entryPoints;
}

bool IsThemed() {
  const TThemeEntryPoints& e = ThemeEntryPoints();
  if (!e.Module || !e.IsAppThemed || !e.IsThemeActive) return false;
  return e.IsAppThemed() && e.IsThemeActive();
}

void DrawThemeElement(HWND window, HDC dc, const TRect& rect, const String& className, int part, int state) {
  const TThemeEntryPoints& e = ThemeEntryPoints();
  if (!e.OpenThemeData || !e.DrawThemeBackground || !e.CloseThemeData) return;
  HTHEME theme = e.OpenThemeData(window, WStr(className));
  if (!theme) return;
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  e.DrawThemeBackground(theme, dc, part, state, &r, &r);
  e.CloseThemeData(theme);
}

void AddToRepaintList(TControl* control) {
  if (control) Members().push_back(control);
}

void RemoveFromRepaintList(TControl* control) {
  auto& members = Members();
  auto it = std::find(members.begin(), members.end(), control);
  if (it != members.end()) members.erase(it);
}

const std::vector<TControl*>& RepaintList() {
  return Members();
}

void TPxColorScheme::Describe(TClassBuilder<TPxColorScheme>& c) {
  c.Property(u"ColorScheme", &TPxColorScheme::ColorScheme, &TPxColorScheme::SetColorScheme, &ColorSchemesType())
      .Default(csBlue);
  c.Property(u"OnChange", &TPxColorScheme::OnChange);
}

TPxColorScheme::TPxColorScheme(TComponent* owner) : TComponent(owner), FColorScheme(CurrentColorScheme()) {}

void TPxColorScheme::SetColorScheme(TColorSchemes value) {
  if (value < csBlack || value > csBlack2010) return;
  FColorScheme = value;
  if (value != CurrentColorScheme()) {
    SetCurrentColorScheme(value);
    if (OnChange) OnChange(this);
  }
  // A copy: a repaint may make a control leave the list.
  const std::vector<TControl*> members = Members();
  for (TControl* control : members) {
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->HandleAllocated()) {
      TRect client = windowed->ClientRect();
      RECT r{client.Left, client.Top, client.Right, client.Bottom};
      RedrawWindow(windowed->Handle(), &r, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_FRAME);
    } else {
      control->Invalidate();
    }
  }
}
