// The placement record of a window as the settings keep it: the options that
// say which parts are kept, the texts of the stored positions and the rules
// that turn stored values back into a window's rectangle and state. Stored
// values come from the registry, which anyone can edit, so every reader here
// takes any text and answers with a default or "unusable", never a fault.
#pragma once

#include <optional>
#include <vector>

#include "classes/reflection.h"
#include "rtl/geometry.h"
#include "rtl/sets.h"

enum TPlacementOption { fpState, fpSize, fpLocation, fpActiveControl };
using TPlacementOptions = TSet<TPlacementOption>;
inline constexpr TPlacementOptions kDefaultPlacementOptions{fpState, fpSize, fpLocation};

enum TSvFormPlacementVersionCheck { fpvcNocheck, fpvcCheckGreaterEqual, fpvcCheckEqual };

const TTypeInfo& DescribeType(TypeTag<TPlacementOption>);
const TTypeInfo& DescribeType(TypeTag<TPlacementOptions>);
const TTypeInfo& DescribeType(TypeTag<TSvFormPlacementVersionCheck>);

// The value names below a window's folder.
inline constexpr char16_t kPlacementFormVersion[] = u"FormVersion";
inline constexpr char16_t kPlacementActiveControl[] = u"ActiveControl";
inline constexpr char16_t kPlacementShowCmd[] = u"ShowCmd";
inline constexpr char16_t kPlacementFlags[] = u"Flags";
inline constexpr char16_t kPlacementPixelsPerInch[] = u"PixelsPerInch";
inline constexpr char16_t kPlacementMinMaxPos[] = u"MinMaxPos";
inline constexpr char16_t kPlacementNormPos[] = u"NormPos";
inline constexpr char16_t kFormNameMacro[] = u"%FORM_NAME%";

// Only the active control: no placement values at all.
inline bool IsActiveControlOnly(TPlacementOptions options) {
  return options == TPlacementOptions{fpActiveControl};
}
inline bool KeepsPosition(TPlacementOptions options) {
  return options.Contains(fpSize) || options.Contains(fpLocation);
}

// Whether a stored version lets the settings be read.
bool PlacementVersionPasses(TSvFormPlacementVersionCheck check, Integer stored, Integer version);

// The first "%FORM_NAME%" (in any letter case) replaced by the name; the path
// unchanged without one.
bool ContainsFormNameMacro(const String& path);
String ReplaceFormNameMacro(const String& path, const String& formName);

// "(1920x1080)": the tag after a position name that keeps one position per
// desktop size.
String ScreenSizeTag(Integer desktopWidth, Integer desktopHeight);
// "a,b,c,d" as the positions are stored.
String FormatPlacementWords(Integer a, Integer b, Integer c, Integer d);

// The words of a stored position, taken by place and separated by blanks and
// commas; a missing or malformed word (not a 32-bit integer) gives the default.
class TPlacementWords {
 public:
  explicit TPlacementWords(const String& text);
  bool Empty() const { return FEmpty; }
  // number counts from 1.
  Integer Word(int number, Integer defaultValue) const;
  // None for a missing or malformed word.
  std::optional<Integer> At(int number) const;

 private:
  bool FEmpty;
  std::vector<std::optional<Integer>> FWords;
};

// The window states in the order the window library numbers them.
enum class TStoredWindowState { Normal, Minimized, Maximized };
// The state a stored show command stands for; none for a command that names no state.
std::optional<TStoredWindowState> WindowStateOfShowCmd(Integer showCmd);

// The normal rectangle that a stored "NormPos" gives a window whose bounds
// are now `current` (left, top, right, bottom), kept as the options say:
// the location from the stored left and top, the size from the stored width
// and height. None when the text is empty or the result does not fit the
// coordinates of a window.
std::optional<TRect> RestoredNormalRect(const String& normPos, TPlacementOptions options, const TRect& current);

// A rectangle a window can be given: not empty, and every coordinate within
// what the window system takes.
bool IsUsableWindowRect(const TRect& rect);

// The flag bits of a stored placement that mean something to the window
// system; others are dropped.
Integer SanitizedPlacementFlags(Integer flags);
