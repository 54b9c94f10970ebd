// Mini-HTML texts from anywhere (label captions in form files): laid out in
// every mode without a fault, every run and picture within the text's extent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "panelkit/htmltext.h"
#include "rtl/unicode.h"

namespace {

class TCharacterMeasurer : public THtmlMeasurer {
 public:
  TSize TextExtent(StringView text, const THtmlStyle& style) override {
    return TSize{static_cast<Integer>(text.size()) * (style.Style.Contains(fsBold) ? 7 : 6), style.Size * 2};
  }
  std::optional<TSize> PictureExtent(const String& fileName) override {
    if (fileName.size() % 2) return std::nullopt;
    return TSize{16, 16};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Integer width = data[0];
  const String text = UTF8ToString(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  TCharacterMeasurer measurer;
  for (THtmlMode mode : {hmPaint, hmMeasure, hmHitTest}) {
    THtmlRequest request;
    request.Rect = Rect(0, 0, width, 100);
    request.Text = text;
    request.Mode = mode;
    request.HitPoint = TPoint{width / 2, 8};
    THtmlInfo info;
    const THtmlLayout layout = LayoutHtmlText(request, measurer, info);
    if (info.Size.cx < 0 || info.Size.cy < 0) std::abort();
    if (mode != hmPaint) continue;
    for (const THtmlRun& run : layout.Runs)
      if (run.Text.empty() || run.Origin.X + run.Extent.cx > info.Size.cx ||
          run.Origin.Y + run.Extent.cy > info.Size.cy)
        std::abort();
    for (const THtmlPicture& picture : layout.Pictures)
      if (picture.Origin.X + picture.Extent.cx > info.Size.cx) std::abort();
  }
  return 0;
}
