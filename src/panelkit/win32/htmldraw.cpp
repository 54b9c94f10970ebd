#include "panelkit/win32/htmldraw.h"

#include <map>
#include <memory>

#include "panelkit/win32/providers.h"
#include "rtl/files.h"
#include "ui/jpeg.h"

namespace {

void ApplyStyle(TCanvas& canvas, const THtmlStyle& style) {
  TFont& font = canvas.Font();
  if (!style.FontName.empty()) font.SetName(style.FontName);
  font.SetSize(style.Size);
  font.SetColor(style.Color);
  font.SetStyle(style.Style);
}

class TCanvasMeasurer : public THtmlMeasurer {
 public:
  explicit TCanvasMeasurer(TCanvas& canvas) : FCanvas(canvas) {}

  TSize TextExtent(StringView text, const THtmlStyle& style) override {
    ApplyStyle(FCanvas, style);
    return GetWideTextExtent(FCanvas, String(text));
  }

  std::optional<TSize> PictureExtent(const String& fileName) override {
    TGraphic* picture = Picture(fileName);
    if (!picture) return std::nullopt;
    return TSize{picture->Width(), picture->Height()};
  }

  // The picture read for the name, or null when there is none to show.
  TGraphic* Picture(const String& fileName) {
    const auto found = FPictures.find(fileName);
    if (found != FPictures.end()) return found->second.get();
    std::unique_ptr<TGraphic> picture;
    if (FileExists(fileName)) {
      if (fileName.ends_with(u".bmp"))
        picture = std::make_unique<TBitmap>();
      else
        picture = std::make_unique<TJPEGImage>();
      try {
        picture->LoadFromFile(fileName);
        if (picture->Empty()) picture.reset();
      } catch (const std::exception&) {
        // A damaged picture is shown like a missing one: the paint goes on.
        picture.reset();
      }
    }
    return FPictures.emplace(fileName, std::move(picture)).first->second.get();
  }

 private:
  TCanvas& FCanvas;
  std::map<String, std::unique_ptr<TGraphic>> FPictures;
};

}  // namespace

void DrawHtmlText(TCanvas& canvas, const TRect& rect, const String& text, THtmlInfo& info, TWrapKind wrap,
                  THtmlMode mode, TPoint offset, TPoint hitPoint) {
  const String startName = canvas.Font().Name();
  const Integer startSize = canvas.Font().Size();
  const TColor startColor = canvas.Font().Color();
  const TFontStyles startStyle = canvas.Font().Style();
  const TColor baseBackground = canvas.Brush().Color();

  THtmlRequest request;
  request.Rect = rect;
  request.Text = text;
  request.StartStyle = THtmlStyle{baseBackground, startName, startSize, startColor, startStyle};
  request.Wrap = wrap;
  request.Mode = mode;
  request.Offset = offset;
  request.HitPoint = hitPoint;

  TCanvasMeasurer measurer(canvas);
  const THtmlLayout layout = LayoutHtmlText(request, measurer, info);
  if (mode == hmPaint) {
    for (const THtmlRun& run : layout.Runs) {
      ApplyStyle(canvas, run.Style);
      if (run.Style.BackgroundColor == baseBackground) {
        canvas.Brush().SetStyle(bsClear);
      } else {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(run.Style.BackgroundColor);
      }
      canvas.TextOut(run.Origin.X, run.Origin.Y, run.Text);
    }
    for (const THtmlPicture& picture : layout.Pictures)
      if (TGraphic* graphic = measurer.Picture(picture.FileName))
        canvas.Draw(picture.Origin.X, picture.Origin.Y, *graphic);
  }
  canvas.Font().SetName(startName);
  canvas.Font().SetSize(startSize);
  canvas.Font().SetColor(startColor);
  canvas.Font().SetStyle(startStyle);
  canvas.Brush().SetColor(baseBackground);
  canvas.Brush().SetStyle(bsSolid);
}
