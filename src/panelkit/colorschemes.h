// The colour schemes of the panel kit: a fixed table from which a control
// takes its colours by role rather than storing them, and the process-wide
// scheme that controls with no scheme of their own follow.
#pragma once

#include <array>

#include "rtl/types.h"
#include "rtl/uitypes.h"

enum TColorScheme { csDefault, csBlack, csBlue, csSilver, csBlue2010, csSilver2010, csBlack2010 };
// The schemes a scheme component can switch to (no csDefault).
using TColorSchemes = TColorScheme;

inline constexpr int kSchemeCount = 7;
inline constexpr int kSchemeRoleCount = 24;

// The colour of a role (0 to 23) in a scheme; csDefault stands for the
// current scheme. A role or scheme outside the table gives black.
TColor SchemeColor(Byte role, TColorScheme scheme);

// The scheme controls with csDefault follow; csBlue until a scheme component
// switches it.
TColorScheme CurrentColorScheme();
void SetCurrentColorScheme(TColorScheme scheme);

// The class library's colour identifiers in the order the colour pickers list them.
extern const std::array<const char16_t*, 52> ColorIdents;

// A colour name of the web and its value as "#RRGGBB".
struct THtmlColor {
  const char16_t* Name;
  const char16_t* Value;
};
// "transparent" first, then the 140 colour keywords of HTML and CSS in
// alphabetical order, lower case.
extern const std::array<THtmlColor, 141> HtmlColors;
