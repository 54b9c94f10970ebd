#include "services/placementrecord.h"

#include <limits>

#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"

const TTypeInfo& DescribeType(TypeTag<TPlacementOption>) {
  static const TEnumTypeInfo t(u"TPlacementOption", u"SvFormPlacement",
                               {u"fpState", u"fpSize", u"fpLocation", u"fpActiveControl"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPlacementOptions>) {
  static const TSetTypeInfo t(u"TPlacementOptions", u"SvFormPlacement",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TPlacementOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSvFormPlacementVersionCheck>) {
  static const TEnumTypeInfo t(u"TSvFormPlacementVersionCheck", u"SvFormPlacement",
                               {u"fpvcNocheck", u"fpvcCheckGreaterEqual", u"fpvcCheckEqual"});
  return t;
}

bool PlacementVersionPasses(TSvFormPlacementVersionCheck check, Integer stored, Integer version) {
  switch (check) {
    case fpvcNocheck: return true;
    case fpvcCheckGreaterEqual: return stored >= version;
    case fpvcCheckEqual: return stored == version;
  }
  return false;
}

bool ContainsFormNameMacro(const String& path) {
  return ContainsText(path, kFormNameMacro);
}

String ReplaceFormNameMacro(const String& path, const String& formName) {
  return StringReplace(path, kFormNameMacro, formName, rfIgnoreCase);
}

String ScreenSizeTag(Integer desktopWidth, Integer desktopHeight) {
  return Format(u"(%dx%d)", {desktopWidth, desktopHeight});
}

String FormatPlacementWords(Integer a, Integer b, Integer c, Integer d) {
  return Format(u"%d,%d,%d,%d", {a, b, c, d});
}

TPlacementWords::TPlacementWords(const String& text) : FEmpty(text.empty()) {
  size_t i = 0;
  const auto isSeparator = [](Char c) { return c == u' ' || c == u','; };
  while (i < text.size()) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    if (i >= text.size()) break;
    size_t end = i;
    while (end < text.size() && !isSeparator(text[end])) ++end;
    Integer value = 0;
    if (TryStrToInt(StringView(text).substr(i, end - i), value))
      FWords.emplace_back(value);
    else
      FWords.emplace_back(std::nullopt);
    i = end;
  }
}

std::optional<Integer> TPlacementWords::At(int number) const {
  if (number < 1 || static_cast<size_t>(number) > FWords.size()) return std::nullopt;
  return FWords[static_cast<size_t>(number - 1)];
}

Integer TPlacementWords::Word(int number, Integer defaultValue) const {
  return At(number).value_or(defaultValue);
}

std::optional<TStoredWindowState> WindowStateOfShowCmd(Integer showCmd) {
  switch (showCmd) {
    case 1:
    case 5:
    case 9: return TStoredWindowState::Normal;
    case 2:
    case 6:
    case 7: return TStoredWindowState::Minimized;
    case 3: return TStoredWindowState::Maximized;
    default: return std::nullopt;
  }
}

namespace {
// Window coordinates beyond this are no place any desktop has; the window
// system keeps its own coordinates in 16 bits in several places.
constexpr Int64 kWindowCoordinateLimit = 32767;

bool FitsWindowCoordinate(Int64 value) {
  return value >= -kWindowCoordinateLimit && value <= kWindowCoordinateLimit;
}
}  // namespace

std::optional<TRect> RestoredNormalRect(const String& normPos, TPlacementOptions options, const TRect& current) {
  const TPlacementWords words(normPos);
  if (words.Empty()) return std::nullopt;
  const Int64 width = Int64{current.Right} - current.Left;
  const Int64 height = Int64{current.Bottom} - current.Top;
  Int64 left = current.Left;
  Int64 top = current.Top;
  if (options.Contains(fpLocation)) {
    left = words.Word(1, current.Left);
    top = words.Word(2, current.Top);
  }
  // The stored size counts only where both of its words are there: a word
  // that is missing or spoilt leaves the form's own width or height.
  Int64 storedWidth = width;
  Int64 storedHeight = height;
  if (options.Contains(fpSize)) {
    if (words.At(1) && words.At(3)) storedWidth = Int64{*words.At(3)} - *words.At(1);
    if (words.At(2) && words.At(4)) storedHeight = Int64{*words.At(4)} - *words.At(2);
  }
  // Worked out in 64 bits: sums of stored words can leave the 32-bit range.
  const Int64 right = left + storedWidth;
  const Int64 bottom = top + storedHeight;
  for (Int64 v : {left, top, right, bottom})
    if (!FitsWindowCoordinate(v)) return std::nullopt;
  return TRect{static_cast<Integer>(left), static_cast<Integer>(top), static_cast<Integer>(right),
               static_cast<Integer>(bottom)};
}

bool IsUsableWindowRect(const TRect& rect) {
  for (Int64 v : {rect.Left, rect.Top, rect.Right, rect.Bottom})
    if (!FitsWindowCoordinate(v)) return false;
  return rect.Left < rect.Right && rect.Top < rect.Bottom;
}

Integer SanitizedPlacementFlags(Integer flags) {
  // Use the stored minimised position, restore to maximised, asynchronous.
  return flags & 0x7;
}
