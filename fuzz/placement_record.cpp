// Placement texts from outside (registry values anyone can edit): the words
// are read without a fault, a restored rectangle is either refused or one a
// window can be given, and a position written back reads as the same words.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "rtl/unicode.h"
#include "services/placementrecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const TPlacementOptions options = TPlacementOptions::FromBits(data[0] & 0x0F);
  const String text = UTF8ToString(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));

  const TPlacementWords words(text);
  for (int n = 0; n <= 5; ++n) (void)words.Word(n, -1);

  const TRect current = Rect(50, 60, 250, 160);
  if (const std::optional<TRect> rect = RestoredNormalRect(text, options, current)) {
    // Refused later only for an empty area, never for its coordinates.
    if (rect->Left < -32767 || rect->Right > 32767 || rect->Top < -32767 || rect->Bottom > 32767) std::abort();
  }

  const TPlacementWords again(
      FormatPlacementWords(words.Word(1, 0), words.Word(2, 0), words.Word(3, 0), words.Word(4, 0)));
  for (int n = 1; n <= 4; ++n)
    if (again.Word(n, 1) != words.Word(n, 0)) std::abort();
  (void)WindowStateOfShowCmd(words.Word(1, 0));
  return 0;
}
