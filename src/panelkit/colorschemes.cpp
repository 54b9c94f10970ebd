#include "panelkit/colorschemes.h"

namespace {

using Row = std::array<TColor, kSchemeRoleCount>;

// One row per scheme, in the enumeration's order; csDefault has no colours.
constexpr std::array<Row, kSchemeCount> kSchemeColors = {{
    {},
    // csBlack
    {0x000000, 0x0A0A0A, 0x5C534C, 0xF2F1F0, 0xE1D6D2, 0x3C8CFB, 0xFFFFFF, 0xC9C2BD, 0xEBEBEB, 0x000000, 0xA49991, 0xC9C2BD,
     0xF2F1F0, 0xB6ADA7, 0xC9B0A7, 0, 0, 0, 0xA0A09E, 0xA2E7FF, 0x69BDFF, 0x3C8CFB, 0xF2F1F0, 0xCEC8C4},
    // csBlue
    {0x000000, 0xCE9266, 0xCF9365, 0xFFEFE3, 0xF0D9C2, 0x000000, 0xFFFFFF, 0xFFD2AF, 0xEEE7DD, 0x8B4215, 0xFFC69A, 0xFFD2AF,
     0xFFEFE3, 0xCF9365, 0xC9B0A7, 0, 0, 0, 0xE9CFB8, 0xA2E7FF, 0x69BDFF, 0x3C8CFB, 0xFFEFE3, 0xFFD6B6},
    // csSilver
    {0x000000, 0xA69F9B, 0x74706F, 0xF2F1F0, 0xE1D6D2, 0x000000, 0xFFFFFF, 0xE7DFDA, 0xEBEBEB, 0x8B4215, 0x8F6D6E, 0xE7DFDA,
     0xF8F7F6, 0x74706F, 0xC9B0A7, 0, 0, 0, 0xC2B7B2, 0xC2EEFF, 0x6FC0FF, 0x3E80FE, 0xBFA7A8, 0x977778},
    // csBlue2010
    {0x000000, 0xCE9266, 0xBD9D84, 0xE5D0BF, 0xF0D9C2, 0x000000, 0xFBF5EF, 0xFAECE1, 0xF5F2F0, 0x8B4215, 0xBD9D84, 0xE7DFDA,
     0xF8F7F6, 0xBD9D84, 0xF0CDA7, 0, 0, 0, 0xC2B7B2, 0xC2EEFF, 0x6FC0FF, 0x3E80FE, 0xBFA7A8, 0x977778},
    // csSilver2010
    {0x000000, 0xA69F9B, 0xB5ACA5, 0xE0DBD6, 0xE1D6D2, 0x000000, 0xF9F7F5, 0xF6F2EF, 0xEBEBEB, 0x8B4215, 0xB5ACA5, 0xE7DFDA,
     0xF8F7F6, 0xB5ACA5, 0xF0CDA7, 0, 0, 0, 0xC2B7B2, 0xC2EEFF, 0x6FC0FF, 0x3E80FE, 0xBFA7A8, 0x977778},
    // csBlack2010
    {0x000000, 0xA69F9B, 0x3B3B3B, 0x858585, 0xE1D6D2, 0x000000, 0xF9F7F5, 0xF6F2EF, 0xF5F2F0, 0x8B4215, 0xB5ACA5, 0xE7DFDA,
     0xF8F7F6, 0x3B3B3B, 0xF0CDA7, 0, 0, 0, 0xC2B7B2, 0xC2EEFF, 0x6FC0FF, 0x3E80FE, 0xBFA7A8, 0x977778},
}};

// The one process-wide setting the controls share; only the scheme
// component changes it.
TColorScheme gCurrentScheme = csBlue;

}  // namespace

TColor SchemeColor(Byte role, TColorScheme scheme) {
  if (scheme == csDefault) scheme = gCurrentScheme;
  auto row = static_cast<int>(scheme);
  if (row < 0 || row >= kSchemeCount || role >= kSchemeRoleCount) return clBlack;
  return kSchemeColors[static_cast<size_t>(row)][role];
}

TColorScheme CurrentColorScheme() {
  return gCurrentScheme;
}

void SetCurrentColorScheme(TColorScheme scheme) {
  if (static_cast<int>(scheme) < 0 || static_cast<int>(scheme) >= kSchemeCount) return;
  gCurrentScheme = scheme;
}

const std::array<const char16_t*, 52> ColorIdents = {
    u"clBlack",         u"clMaroon",
    u"clGreen",         u"clOlive",
    u"clNavy",          u"clPurple",
    u"clTeal",          u"clGray",
    u"clSilver",        u"clRed",
    u"clLime",          u"clYellow",
    u"clBlue",          u"clFuchsia",
    u"clAqua",          u"clWhite",
    u"clMoneyGreen",    u"clSkyBlue",
    u"clCream",         u"clMedGray",
    u"clActiveBorder",  u"clActiveCaption",
    u"clAppWorkSpace",  u"clBackground",
    u"clBtnFace",       u"clBtnHighlight",
    u"clBtnShadow",     u"clBtnText",
    u"clCaptionText",   u"clDefault",
    u"clGradientActiveCaption", u"clGradientInactiveCaption",
    u"clGrayText",      u"clHighlight",
    u"clHighlightText", u"clHotLight",
    u"clInactiveBorder", u"clInactiveCaption",
    u"clInactiveCaptionText", u"clInfoBk",
    u"clInfoText",      u"clMenu",
    u"clMenuBar",       u"clMenuHighlight",
    u"clMenuText",      u"clNone",
    u"clScrollBar",     u"cl3DDkShadow",
    u"cl3DLight",       u"clWindow",
    u"clWindowFrame",   u"clWindowText",
};
